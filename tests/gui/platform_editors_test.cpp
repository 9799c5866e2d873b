// The platform game's "Main parameters", "Willy data", "Enemies data" and "Items data": the
// defaults of new items, what OK stores and Cancel keeps, the sprite buttons with their counts,
// and records whose values no control has.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "editors/platform/characters.h"
#include "model/catalogue.h"
#include "model/layouts/platform_items.h"
#include "model/layouts/platform_main.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace M = qb::layout::platform_main;
namespace W = qb::layout::willy;
namespace E = qb::layout::platform_enemy;
namespace I = qb::layout::platform_item;

namespace {

struct PlatformFixture : ::testing::Test {
    PlatformFixture() { qb::BindPixbridge(BinDir().string()); }
    TempAppFolder app;
    int project = NewProject("Manic", qb::game::Platform);
    std::int32_t main = ObjectOfType(project, 200);
    qb::RecordView record(std::int32_t id) { return Object(project, id).record(); }
};

QLineEdit* LineEdit(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QString Text(QDialog* d, const char* name) { return LineEdit(d, name)->text(); }
void Type(QDialog* d, const char* name, const QString& text) { LineEdit(d, name)->setText(text); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }

// Clicks a sprite button of the host and runs act in the sprite animation editor it opens.
void InSpriteEditor(QDialog* host, const char* button, const std::function<void(QDialog*)>& act) {
    WithModalDialog([&] { Click(host, button); }, [&](QDialog* editor) {
        EXPECT_NE(editor, host) << "no sprite editor opened";
        if (editor == host) return host->reject();
        act(editor);
    });
}
QString FrameLabel(QDialog* editor) { return Child<QLabel>(editor, "frameLabel")->text(); }

// Picks the one cell under (x, y) of the sheet for the sprite editor's current frame.
void PickCell(QDialog* editor, int x = 5, int y = 5) {
    QWidget* view = Child<QWidget>(editor, "sheetView");
    const QPointF p(x, y);
    const QPointF global = QPointF(view->mapToGlobal(QPoint(x, y)));
    QMouseEvent move(QEvent::MouseMove, p, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent press(QEvent::MouseButtonPress, p, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QApplication::sendEvent(view, &press);
    QApplication::sendEvent(view, &release);
}

TEST_F(PlatformFixture, MainParametersOfANewProjectAndWhatOkStores) {
    ASSERT_NE(main, 0);
    EXPECT_EQ(qb::FindGameType(qb::game::Platform)->offered, true);
    const std::int32_t willy = NewItemOfType(project, 209, "Willy");
    const std::int32_t ghost = NewItemOfType(project, 209, "Ghost");
    const std::int32_t title = NewItemOfType(project, 13);
    const std::int32_t over = NewItemOfType(project, 13);
    const std::int32_t font = NewItemOfType(project, 2);
    const std::int32_t tune = NewItemOfType(project, 5);
    ASSERT_NE(tune, 0);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Main parameters");
        EXPECT_EQ(Text(d, "typeOfProjectLineEdit"), "Old platform game");
        EXPECT_EQ(Text(d, "projectNameLineEdit"), "Manic");
        const std::pair<const char*, const char*> numbers[] = {
            {"gameWidthLineEdit", "512"},  {"gameHeightLineEdit", "256"},
            {"infoHeightLineEdit", "128"}, {"initRoomLineEdit", "0"},
            {"initXLineEdit", "100"},      {"initYLineEdit", "32"},
            {"lifeXLineEdit", "16"},       {"lifeYLineEdit", "64"},
            {"lifeDistanceLineEdit", "64"}, {"itemCountXLineEdit", "256"},
            {"itemCountYLineEdit", "128"}, {"timeXLineEdit", "400"},
            {"timeYLineEdit", "128"},      {"livesLineEdit", "0"},
            {"maxTimeLineEdit", "0"},      {"roomNameYLineEdit", "0"},
            {"logoCountLineEdit", "0"}};
        for (const auto& [name, value] : numbers) EXPECT_EQ(Text(d, name), value) << name;
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isVisibleTo(d));
        EXPECT_FALSE(Child<QRadioButton>(d, "embeddedRadioButton")->isVisibleTo(d));
        EXPECT_FALSE(LineEdit(d, "resourcePathLineEdit")->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>(d, "fadeInZoomRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "fadeOutZoomRadioButton")->isChecked());
        EXPECT_FALSE(Child<QComboBox>(d, "startingSoundComboBox")->isEnabled());
        EXPECT_EQ(Child<QComboBox>(d, "mainSpriteComboBox")->count(), 2);
        for (const char* hidden : {"enableRecordsCheckBox", "enableMultiplayerCheckBox",
                                   "otherPlayersFontComboBox"})
            EXPECT_FALSE(Child<QWidget>(d, hidden)->isVisibleTo(d)) << hidden;
        for (const char* group : {"projectGroupBox", "gameAreaGroupBox", "initGroupBox",
                                  "compilingGroupBox", "othersGroupBox", "livesGroupBox",
                                  "fadeInTypeGroupBox", "fadeOutTypeGroupBox",
                                  "audioMusicaGroupBox", "infoGroupBox", "itemsGroupBox",
                                  "timeGroupBox", "roomNameGroupBox", "connectionGroupBox",
                                  "interactiveGroupBox", "audioGroupBox"})
            EXPECT_TRUE(Child<QGroupBox>(d, group)->isVisibleTo(d)) << group;

        Type(d, "gameWidthLineEdit", "600");
        Type(d, "gameHeightLineEdit", "300");
        Type(d, "infoHeightLineEdit", " +64px");
        Type(d, "initRoomLineEdit", "7");
        Type(d, "initXLineEdit", "-20");
        Type(d, "livesLineEdit", "5");
        Type(d, "maxTimeLineEdit", "abc");
        Type(d, "roomNameYLineEdit", "300");
        Type(d, "gameIdLineEdit", "MANIC2");  // longer than four: stored as typed
        Type(d, "descriptionWhileLoadingLineEdit", "Loading the mansion");
        Child<QRadioButton>(d, "specificPathRadioButton")->click();
        EXPECT_TRUE(LineEdit(d, "resourcePathLineEdit")->isEnabled());
        Type(d, "resourcePathLineEdit", "http://example.org/willy");
        Child<QRadioButton>(d, "fadeInSmoothScrollRadioButton")->click();
        Child<QRadioButton>(d, "fadeOutVerticalLinesRadioButton")->click();
        Child<QComboBox>(d, "mainSpriteComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "otherPlayersSpriteComboBox")->setCurrentIndex(1);
        Child<QComboBox>(d, "splashTitleComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "gameOverTitleComboBox")->setCurrentIndex(1);
        Child<QComboBox>(d, "defaultFontComboBox")->setCurrentIndex(0);
        Click(d, "enableSoundCheckBox");
        EXPECT_TRUE(Child<QComboBox>(d, "startingSoundComboBox")->isEnabled());
        Child<QComboBox>(d, "startingSoundComboBox")->setCurrentIndex(0);
        Ok(d);
    });
    qb::RecordView r = record(main);
    EXPECT_EQ(r.i32(M::kGameWidth), 600);
    EXPECT_EQ(r.i32(M::kGameHeight), 300);
    EXPECT_EQ(r.i32(M::kInfoHeight), 64);
    EXPECT_EQ(r.i32(M::kInitRoom), 7);
    EXPECT_EQ(r.i32(M::kInitX), -20);
    EXPECT_EQ(r.i32(M::kLives), 5);
    EXPECT_EQ(r.i32(M::kMaxTime), 0);
    EXPECT_EQ(r.i32(M::kRoomNameY), 300);
    EXPECT_EQ(r.i32(M::kTimeY), 128);  // the other "y position time" keeps its own field
    EXPECT_EQ(r.text(M::kGameId, 260), "MANIC2");
    EXPECT_EQ(r.text(M::kLoadingDescription, 260), "Loading the mansion");
    EXPECT_EQ(r.u32(M::kResourceLocation), 1u);
    EXPECT_EQ(r.text(M::kResourcePath, 260), "http://example.org/willy");
    EXPECT_EQ(r.u32(M::kFadeIn), 1u);
    EXPECT_EQ(r.u32(M::kFadeOut), 1u);
    EXPECT_EQ(r.u32(M::kMainSprite), static_cast<std::uint32_t>(willy));
    EXPECT_EQ(r.u32(M::kOtherPlayersSprite), static_cast<std::uint32_t>(ghost));
    EXPECT_EQ(r.u32(M::kSplashStart), static_cast<std::uint32_t>(title));
    EXPECT_EQ(r.u32(M::kGameOverSplash), static_cast<std::uint32_t>(over));
    EXPECT_EQ(r.u32(M::kGameFinishedSplash), 0u);
    EXPECT_EQ(r.u32(M::kDefaultFont), static_cast<std::uint32_t>(font));
    EXPECT_EQ(r.u32(M::kStartingSound), 1u);
    EXPECT_EQ(r.u32(M::kStartingSound + 4), static_cast<std::uint32_t>(tune));
    EXPECT_EQ(SavedRecord(project, main), Object(project, main).lpDatiOggetto);

    // Reopening shows what was stored; values no radio has and the hidden flags pass through;
    // Cancel keeps everything.
    record(main).setU32(M::kFadeIn, 7);
    record(main).setU32(M::kRecordsEnabled, 1);
    record(main).setU32(M::kUnused0, 0xDEADBEEFu);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_EQ(Text(d, "gameWidthLineEdit"), "600");
        EXPECT_EQ(Text(d, "gameHeightLineEdit"), "300");
        EXPECT_FALSE(Child<QRadioButton>(d, "fadeInZoomRadioButton")->isChecked());
        EXPECT_FALSE(Child<QRadioButton>(d, "fadeInSmoothScrollRadioButton")->isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "otherPlayersSpriteComboBox")->currentIndex(), 1);
        Ok(d);
    });
    EXPECT_EQ(record(main).u32(M::kFadeIn), 7u);
    EXPECT_EQ(record(main).u32(M::kRecordsEnabled), 1u);
    EXPECT_EQ(record(main).u32(M::kUnused0), 0xDEADBEEFu);
    const qb::Bytes before = Object(project, main).lpDatiOggetto;
    Edit(project, main, [&](QDialog* d) {
        Type(d, "gameWidthLineEdit", "1");
        Type(d, "projectNameLineEdit", "Not this");
        Click(d, "fadeInZoomRadioButton");
        Cancel(d);
    });
    EXPECT_EQ(Object(project, main).lpDatiOggetto, before);
    EXPECT_EQ(qb::ProjectAt(project)->sNomeProgetto, "Manic");
}

TEST_F(PlatformFixture, MainParametersSpriteButtonsAndTheLogoCount) {
    const std::int32_t sheet = NewItemOfType(project, 3);
    ASSERT_NE(sheet, 0);
    const qb::Bytes pastLogo = [&] {
        qb::Bytes b = Object(project, main).lpDatiOggetto;
        return qb::Bytes(b.begin() + M::kMainSprite, b.end());
    }();
    Edit(project, main, [&](QDialog* d) {
        const std::pair<const char*, const char*> buttons[] = {
            {"livesEditSpritePushButton", "Sprite 1 of 1"},
            {"backgroundEditBitmapPushButton", "Sprite 1 of 2"},
            {"musicOnOffSpritesPushButton", "Sprite 1 of 2"},
            {"fxOnOffSpritesPushButton", "Sprite 1 of 2"}};
        for (const auto& [button, label] : buttons)
            InSpriteEditor(d, button, [&](QDialog* e) {
                EXPECT_EQ(FrameLabel(e), label) << button;
                Click(e, "cancelButton");
            });
        // The lives sprite picked and confirmed is in the record at once.
        InSpriteEditor(d, "livesEditSpritePushButton", [&](QDialog* e) {
            PickCell(e);
            Click(e, "okAndSaveButton");
        });
        // A logo count above ten edits ten frames, and the count is stored at once.
        Type(d, "logoCountLineEdit", "15");
        InSpriteEditor(d, "logoEditSpritesPushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 10");
            Click(e, "cancelButton");
        });
        EXPECT_EQ(Text(d, "logoCountLineEdit"), "10");
        EXPECT_EQ(record(main).i32(M::kLogoCount), 10);
        Type(d, "logoCountLineEdit", "3");
        InSpriteEditor(d, "logoEditSpritesPushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 3");
            Click(e, "cancelButton");
        });
        // Below zero: nothing to edit, no editor; the count becomes 0.
        Type(d, "logoCountLineEdit", "-4");
        Click(d, "logoEditSpritesPushButton");
        EXPECT_EQ(record(main).i32(M::kLogoCount), 0);
        Type(d, "logoCountLineEdit", "2");
        InSpriteEditor(d, "logoEditSpritesPushButton", [&](QDialog* e) {
            PickCell(e);
            Click(e, "nextFrameButton");
            PickCell(e, 40, 5);
            Click(e, "okAndSaveButton");
        });
        Cancel(d);
    });
    qb::RecordView r = record(main);
    EXPECT_EQ(r.u32(M::kLifeSprite), static_cast<std::uint32_t>(sheet));
    EXPECT_EQ(r.i32(M::kLogoCount), 2);
    EXPECT_EQ(r.u32(M::kLogoSprites), static_cast<std::uint32_t>(sheet));
    EXPECT_EQ(r.u32(M::kLogoSprites + 8), static_cast<std::uint32_t>(sheet));
    EXPECT_EQ(r.u8(M::kLogoSprites + 8 + 7), 1u);  // the second frame is the next cell across
    EXPECT_EQ(r.u32(M::kLogoSprites + 16), 0u);
    const qb::Bytes& now = Object(project, main).lpDatiOggetto;
    EXPECT_EQ(qb::Bytes(now.begin() + M::kMainSprite, now.end()), pastLogo);
    EXPECT_EQ(SavedRecord(project, main), now);
}

TEST_F(PlatformFixture, WillyDefaultsJumpOffsetsSpritesAndSounds) {
    const std::int32_t willy = NewItemOfType(project, 209);
    const std::int32_t sheet = NewItemOfType(project, 3);
    const std::int32_t boom = NewItemOfType(project, 12, "Boom");
    const std::int32_t hop = NewItemOfType(project, 5);
    ASSERT_NE(hop, 0);
    EXPECT_EQ(Object(project, willy).sDescrizione, "Willy data");
    Edit(project, willy, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Willy data");
        EXPECT_EQ(Text(d, "itemNameLineEdit"), "Willy data");
        EXPECT_EQ(Text(d, "walkingSpeedLineEdit"), "4");
        EXPECT_EQ(Text(d, "leftStartXLineEdit"), "5");
        EXPECT_EQ(Text(d, "jumpOffsetsLineEdit"), "");
        EXPECT_EQ(Text(d, "spriteCountLineEdit"), "0");
        EXPECT_FALSE(LineEdit(d, "virtualPixelLineEdit")->isVisibleTo(d));
        for (const char* sound : {"jump", "fall", "lifeLost", "itemCollected"}) {
            const QString prefix = QString::fromLatin1(sound);
            EXPECT_FALSE(Child<QCheckBox>(d, prefix + "EnableSoundCheckBox")->isChecked()) << sound;
            EXPECT_FALSE(Child<QComboBox>(d, prefix + "SoundComboBox")->isEnabled()) << sound;
        }
        // "Edit left sprites" stores the count at once and edits that many frames.
        Type(d, "spriteCountLineEdit", "3");
        InSpriteEditor(d, "editLeftSpritesPushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 3");
            Click(e, "cancelButton");
        });
        EXPECT_EQ(record(willy).i32(W::kSpriteCount), 3);
        // Above the forty frames a side holds: forty.
        Type(d, "spriteCountLineEdit", "99");
        InSpriteEditor(d, "editRightSpritesPushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 40");
            Click(e, "nextFrameButton");
            Click(e, "okAndSaveButton");
        });
        EXPECT_EQ(Text(d, "spriteCountLineEdit"), "40");

        Type(d, "jumpOffsetsLineEdit", "-4,-3,-2,0,2");
        Type(d, "roomEnteringXLineEdit", "12");
        Type(d, "maxFallHeightLineEdit", "48");
        Child<QComboBox>(d, "explosionAnimationComboBox")->setCurrentIndex(0);
        Click(d, "fallEnableSoundCheckBox");
        EXPECT_TRUE(Child<QComboBox>(d, "fallSoundComboBox")->isEnabled());
        EXPECT_FALSE(Child<QComboBox>(d, "jumpSoundComboBox")->isEnabled());
        Child<QComboBox>(d, "fallSoundComboBox")->setCurrentIndex(0);
        Ok(d);
    });
    qb::RecordView r = record(willy);
    EXPECT_EQ(r.i32(W::kSpriteCount), 40);
    EXPECT_EQ(r.i32(W::kJumpOffsetCount), 5);
    const std::int32_t jumps[] = {-4, -3, -2, 0, 2};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(r.i32(W::kJumpOffsets + 4 * i), jumps[i]);
    EXPECT_EQ(r.i32(W::kRoomEnteringX), 12);
    EXPECT_EQ(r.i32(W::kMaxFallHeight), 48);
    EXPECT_EQ(r.i32(W::kVirtualPixel), 16);
    EXPECT_EQ(r.u32(W::kExplosion), static_cast<std::uint32_t>(boom));
    EXPECT_EQ(r.u32(W::kFallSound), 1u);
    EXPECT_EQ(r.u32(W::kFallSound + 4), static_cast<std::uint32_t>(hop));
    EXPECT_EQ(r.u32(W::kJumpSound), 0u);
    (void)sheet;

    // Reopening shows the same text; text that stops early stores what came before.
    Edit(project, willy, [&](QDialog* d) {
        EXPECT_EQ(Text(d, "jumpOffsetsLineEdit"), "-4,-3,-2,0,2");
        Cancel(d);
    });
    const std::pair<QString, std::vector<std::int32_t>> texts[] = {
        {"5;6", {5}}, {"1, 2", {1}}, {"", {}}, {"7,,8", {7}}, {"10,-20,", {10, -20}}};
    for (const auto& [text, expected] : texts) {
        Edit(project, willy, [&](QDialog* d) {
            Type(d, "jumpOffsetsLineEdit", text);
            Ok(d);
        });
        EXPECT_EQ(record(willy).i32(W::kJumpOffsetCount), static_cast<std::int32_t>(expected.size()))
            << text.toStdString();
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(record(willy).i32(W::kJumpOffsets + 4 * i), expected[i]);
    }
    Edit(project, willy, [&](QDialog* d) {
        EXPECT_EQ(Text(d, "jumpOffsetsLineEdit"), "10,-20");
        Cancel(d);
    });

    // A hundred and fifty numbers: the hundred the record holds, nothing behind them.
    QStringList many;
    for (int i = 0; i < 150; ++i) many << QString::number(i + 1);
    Edit(project, willy, [&](QDialog* d) {
        Type(d, "jumpOffsetsLineEdit", many.join(','));
        Ok(d);
    });
    EXPECT_EQ(record(willy).i32(W::kJumpOffsetCount), 100);
    EXPECT_EQ(record(willy).i32(W::kJumpOffsets + 4 * 99), 100);
    EXPECT_EQ(record(willy).i32(W::kVirtualPixel), 16);
    // A damaged count shows at most the hundred offsets.
    record(willy).setI32(W::kJumpOffsetCount, 100000);
    Edit(project, willy, [&](QDialog* d) {
        EXPECT_EQ(Text(d, "jumpOffsetsLineEdit").count(','), 99);
        Cancel(d);
    });
}

TEST(PlatformJumpOffsets, ParseAndFormat) {
    qb::ui::JumpOffsets offsets{};
    EXPECT_EQ(qb::ui::ParseJumpOffsets("-4,-3,-2,0,2", offsets), 5u);
    EXPECT_EQ(qb::ui::FormatJumpOffsets(offsets, 5), "-4,-3,-2,0,2");
    EXPECT_EQ(qb::ui::ParseJumpOffsets("x1,2", offsets), 0u);
    EXPECT_EQ(qb::ui::ParseJumpOffsets("3-4,5", offsets), 2u);  // a run is read as far as it is a number
    EXPECT_EQ(offsets[0], 3);
    EXPECT_EQ(offsets[1], 5);
    // Only the first 999 characters count.
    std::string text(997, '1');
    text += ",22";
    EXPECT_EQ(qb::ui::ParseJumpOffsets(text, offsets), 2u);
    EXPECT_EQ(offsets[1], 2);
}

TEST_F(PlatformFixture, EnemiesDataDefaultsCountsStylesAndSounds) {
    const std::int32_t enemy = NewItemOfType(project, 207);
    NewItemOfType(project, 3);
    const std::int32_t clank = NewItemOfType(project, 5);
    ASSERT_NE(clank, 0);
    EXPECT_EQ(Object(project, enemy).sDescrizione, "Sprites informations");
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Enemies data");
        EXPECT_TRUE(Child<QRadioButton>(d, "horizontalRadioButton")->isChecked());
        EXPECT_EQ(Text(d, "speedLineEdit"), "1");
        EXPECT_EQ(Text(d, "forwardSpriteCountLineEdit"), "1");
        EXPECT_EQ(Text(d, "backwardSpriteCountLineEdit"), "1");
        EXPECT_TRUE(Child<QRadioButton>(d, "separateAnimationRadioButton")->isChecked());
        EXPECT_FALSE(Child<QComboBox>(d, "firstFrameSoundComboBox")->isEnabled());
        // "Edit sprites" edits as many frames as typed; the count waits for OK.
        Type(d, "forwardSpriteCountLineEdit", "3");
        InSpriteEditor(d, "forwardEditSpritesPushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 3");
            Click(e, "nextFrameButton");
            Click(e, "nextFrameButton");
            Click(e, "okAndSaveButton");
        });
        EXPECT_EQ(record(enemy).i32(E::kForwardCount), 1);
        Type(d, "backwardSpriteCountLineEdit", "250");
        InSpriteEditor(d, "backwardEditSpritesPushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 100");
            Click(e, "cancelButton");
        });
        Click(d, "verticalRadioButton");
        Click(d, "sameCycleRadioButton");
        Click(d, "noCollisionCheckBox");
        Click(d, "shownUntilAllItemsCheckBox");
        Type(d, "speedLineEdit", "3");
        Click(d, "changeDirectionEnableSoundCheckBox");
        Child<QComboBox>(d, "changeDirectionSoundComboBox")->setCurrentIndex(0);
        Ok(d);
    });
    qb::RecordView r = record(enemy);
    EXPECT_EQ(r.i32(E::kForwardCount), 3);
    EXPECT_EQ(r.i32(E::kBackwardCount), 250);  // no range is checked on OK
    EXPECT_EQ(r.u32(E::kAnimationType), 1u);
    EXPECT_EQ(r.u32(E::kAnimationStyle), 1u);
    EXPECT_EQ(r.u32(E::kNoCollision), 1u);
    EXPECT_EQ(r.u32(E::kShownUntilAllItems), 1u);
    EXPECT_EQ(r.i32(E::kSpeed), 3);
    EXPECT_EQ(r.u32(E::kDirectionChangeSound), 1u);
    EXPECT_EQ(r.u32(E::kDirectionChangeSound + 4), static_cast<std::uint32_t>(clank));
    EXPECT_EQ(r.u32(E::kFirstFrameSound), 0u);

    // An animation type other than 0 reads as vertical and is stored as 1; a style no radio
    // has is kept; the reserved bytes pass through.
    record(enemy).setU32(E::kAnimationType, 5);
    record(enemy).setU32(E::kAnimationStyle, 9);
    record(enemy).setU32(E::kReserved, 0xABCDu);
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "verticalRadioButton")->isChecked());
        for (const char* style : {"separateAnimationRadioButton", "sameCycleRadioButton",
                                  "invertedAnimationRadioButton"})
            EXPECT_FALSE(Child<QRadioButton>(d, style)->isChecked()) << style;
        Ok(d);
    });
    EXPECT_EQ(record(enemy).u32(E::kAnimationType), 1u);
    EXPECT_EQ(record(enemy).u32(E::kAnimationStyle), 9u);
    EXPECT_EQ(record(enemy).u32(E::kReserved), 0xABCDu);

    // Cancel stores nothing typed.
    const qb::Bytes before = Object(project, enemy).lpDatiOggetto;
    Edit(project, enemy, [&](QDialog* d) {
        Click(d, "horizontalRadioButton");
        Type(d, "speedLineEdit", "99");
        Type(d, "itemNameLineEdit", "Robot");
        Cancel(d);
    });
    EXPECT_EQ(Object(project, enemy).lpDatiOggetto, before);
    EXPECT_EQ(Object(project, enemy).sDescrizione, "Sprites informations");
}

TEST_F(PlatformFixture, ItemsDataAndRecordsOfOlderVersions) {
    const std::int32_t item = NewItemOfType(project, 214);
    const std::int32_t sheet = NewItemOfType(project, 3);
    ASSERT_NE(sheet, 0);
    Edit(project, item, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Items data");
        EXPECT_EQ(Text(d, "firstColourLineEdit"), "0");
        InSpriteEditor(d, "editSpritePushButton", [&](QDialog* e) {
            EXPECT_EQ(FrameLabel(e), "Sprite 1 of 1");
            PickCell(e, 40, 40);
            Click(e, "okAndSaveButton");
        });
        Type(d, "firstColourLineEdit", "6");
        Type(d, "itemNameLineEdit", "Tap");
        Ok(d);
    });
    EXPECT_EQ(record(item).u32(I::kSprite), static_cast<std::uint32_t>(sheet));
    EXPECT_EQ(record(item).u8(I::kSprite + 7), 1u);  // first column of the cell at (40, 40)
    EXPECT_EQ(record(item).i32(I::kFirstColour), 6);
    EXPECT_EQ(Object(project, item).sDescrizione, "Tap");
    EXPECT_EQ(SavedRecord(project, item), Object(project, item).lpDatiOggetto);

    // Records cut short in memory: the editors neither read nor write past them.
    Object(project, item).lpDatiOggetto.resize(4);
    Edit(project, item, [&](QDialog* d) {
        Type(d, "firstColourLineEdit", "3");
        Ok(d);
    });
    EXPECT_EQ(Object(project, item).lpDatiOggetto.size(), 4u);
    const std::int32_t enemy = NewItemOfType(project, 207);
    Object(project, enemy).lpDatiOggetto.resize(E::kOlderSize - 40);
    Edit(project, enemy, [&](QDialog* d) {
        Click(d, "firstFrameEnableSoundCheckBox");
        Type(d, "backwardSpriteCountLineEdit", "5");
        Ok(d);
    });
    EXPECT_EQ(Object(project, enemy).lpDatiOggetto.size(), E::kOlderSize - 40);
    EXPECT_EQ(record(enemy).i32(E::kBackwardCount), 5);
}

} // namespace
