// The curling "Main parameters": a new project's defaults, every number row on its own field,
// the number lists, the combos and sounds, the counted sprite buttons that store at once, and
// damaged records.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

#include "editors/curling/main_parameters.h"
#include "model/catalogue.h"
#include "model/layouts/curling_main.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace M = qb::layout::curling_main;

namespace {

struct CurlingMainTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Shells", qb::game::Curling);
    std::int32_t main = ObjectOfType(project, 500);
    qb::RecordView record() { return Object(project, main).record(); }
};

// The edits that hold one number each, as the record's table lists them.
const std::size_t kNumberOffsets[] = {
    M::kGameWidth, M::kGameHeight, M::kPlayerAreaWidth, M::kPlayerAreaHeight, M::kPlayerAreaX,
    M::kPlayerAreaY, M::kOpponentAreaWidth, M::kOpponentAreaHeight, M::kOpponentAreaX,
    M::kOpponentAreaY, M::kOpponentNameX, M::kOpponentNameY, M::kOpponentScoreX,
    M::kOpponentScoreY, M::kOpponentGridColumns, M::kOpponentGridRows, M::kOpponentGridSpacingX,
    M::kOpponentGridSpacingY, M::kLogoCount, M::kExtraInfoX, M::kExtraInfoAllTimeX,
    M::kExtraInfoAllTimeY, M::kExtraInfoInterline, M::kPlayerCountX, M::kPlayerCountY,
    M::kDiscCount, M::kNextDiscX, M::kNextDiscY, M::kNextDiscDistanceX, M::kCentrePoints,
    M::kScoringRadius, M::kDiscRadius, M::kFriction, M::kKickPower, M::kKickDiscY, M::kBarMaxY,
    M::kBarMinY, M::kCentreX, M::kCentreY, M::kBarMaxX, M::kBarMinX, M::kMaxMouseSpeed,
    M::kPhysicsCycles, M::kMinMouseSpeed, M::kFixedDiscsFirstRow, M::kFixedDiscDistanceX,
    M::kFixedDiscDistanceY, M::kFixedDiscInitY, M::kSlotSpriteCount, M::kSlotFirstX,
    M::kSlotFirstY, M::kSlotOffsetX, M::kMaxBallSpeed, M::kGravity, M::kRandomWind,
    M::kKickBallX, M::kAllTimeOffsetX, M::kScoreX, M::kScoreY, M::kHighScoreX, M::kHighScoreY,
    M::kNextDiscDistanceY, M::kBonusSpriteCount, M::kBonusX, M::kBonusY, M::kBonusOffsetY,
    M::kMaxBonusValue, M::kSublevelCount};

// The line edits that are not one number.
bool IsNumberEdit(const QLineEdit* e) {
    static const std::set<QString> others = {
        "typeOfProjectLineEdit", "projectNameLineEdit", "resourcePathLineEdit",
        "descriptionWhileLoadingLineEdit", "reelOrder1LineEdit", "reelOrder2LineEdit",
        "reelOrder3LineEdit", "slotPointsLineEdit"};
    return !e->objectName().isEmpty() && !others.count(e->objectName()) &&
           e->objectName().endsWith("LineEdit");
}

void Type(QDialog* d, const char* name, const QString& text) { Child<QLineEdit>(d, name)->setText(text); }

// Picks the first cell of the first sheet for each frame the sprite editor shows, then saves.
void PickAndSave(QDialog* sprites, int frames) {
    QWidget* view = Child<QWidget>(sprites, "sheetView");
    for (int f = 0; f < frames; ++f) {
        const QPoint at(f * 32 + 5, 5);
        for (auto type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, QPointF(at), QPointF(view->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(view, &e);
        }
        Child<QPushButton>(sprites, "nextFrameButton")->click();
    }
    Child<QPushButton>(sprites, "okAndSaveButton")->click();
}

TEST_F(CurlingMainTest, ANewProjectOpensWithItsDefaultsAndCancelKeepsEverything) {
    ASSERT_NE(main, 0);
    const qb::Bytes before = Object(project, main).lpDatiOggetto;
    const std::string iniBefore = ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini");
    Edit(project, main, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Main parameters");
        EXPECT_EQ(Child<QLineEdit>(d, "typeOfProjectLineEdit")->text(), "Curling game");
        EXPECT_EQ(Child<QLineEdit>(d, "projectNameLineEdit")->text(), "Shells");
        EXPECT_TRUE(Child<QRadioButton>(d, "shuffleDiscRadioButton")->isChecked());
        EXPECT_EQ(Child<QRadioButton>(d, "shuffleDiscRadioButton")->text(),
                  "Shuffle disc (shuffle shell in Mario64 DS)");
        // Two compiling choices, both shown; the path only with the second.
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isVisibleTo(d));
        EXPECT_FALSE(Child<QLineEdit>(d, "resourcePathLineEdit")->isEnabled());
        if (auto* embedded = d->findChild<QRadioButton*>("embeddedRadioButton")) {
            EXPECT_FALSE(embedded->isVisibleTo(d));
        }
        int numbers = 0;
        for (QLineEdit* e : d->findChildren<QLineEdit*>()) {
            if (!IsNumberEdit(e)) continue;
            ++numbers;
            const QString expected = e->objectName() == "gameWidthLineEdit"    ? "600"
                                     : e->objectName() == "gameHeightLineEdit" ? "800"
                                                                               : "0";
            EXPECT_EQ(e->text(), expected) << e->objectName().toStdString();
        }
        EXPECT_EQ(numbers, static_cast<int>(std::size(kNumberOffsets)));
        int sounds = 0;
        for (QCheckBox* box : d->findChildren<QCheckBox*>()) {
            if (box->objectName().endsWith("SoundCheckBox") || box->objectName() == "musicCheckBox") {
                ++sounds;
                EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
            }
        }
        EXPECT_EQ(sounds, 15);
        for (QComboBox* c : d->findChildren<QComboBox*>()) {
            if (c->objectName().endsWith("SoundComboBox") || c->objectName() == "musicComboBox") {
                EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
            }
        }
        // Every label of this editor's own rows names its field (the shared rows are the
        // toolkit's).
        const std::set<QString> shared = {"typeOfProjectLabel", "projectNameLabel",
                                          "gameWidthLabel", "gameHeightLabel"};
        for (QLabel* label : d->findChildren<QLabel*>()) {
            if (label->objectName().endsWith("Label") && !shared.count(label->objectName())) {
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
            }
        }

        Child<QRadioButton>(d, "peggleRadioButton")->click();
        Type(d, "discCountLineEdit", "7");
        Type(d, "reelOrder1LineEdit", "1,2");
        Child<QCheckBox>(d, "pullSpringSoundCheckBox")->click();
        Child<QLineEdit>(d, "projectNameLineEdit")->setText("Not this");
        Cancel(d);
    });
    EXPECT_EQ(Object(project, main).lpDatiOggetto, before);
    EXPECT_EQ(qb::ProjectAt(project)->sNomeProgetto, "Shells");
    EXPECT_EQ(ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini"), iniBefore);
}

TEST_F(CurlingMainTest, EveryNumberRowWritesItsOwnField) {
    std::map<QString, std::int32_t> typed;
    Edit(project, main, [&](QDialog* d) {
        std::int32_t value = 100;
        for (QLineEdit* e : d->findChildren<QLineEdit*>())
            if (IsNumberEdit(e)) {
                // The two frame counts stay within their blocks of 10 and 20 frames.
                const std::int32_t n = e->objectName() == "logoCountLineEdit"         ? 3
                                       : e->objectName() == "slotSpriteCountLineEdit" ? 4
                                                                                      : value++;
                typed[e->objectName()] = n;
                e->setText(QString::number(n));
            }
        Ok(d);
    });
    // Each listed field holds one of the typed numbers, each typed number exactly once.
    std::multiset<std::int32_t> found;
    for (std::size_t offset : kNumberOffsets) found.insert(record().i32(offset));
    std::multiset<std::int32_t> expected;
    for (const auto& [name, value] : typed) expected.insert(value);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(record().i32(M::kGameWidth), typed["gameWidthLineEdit"]);
    EXPECT_EQ(record().i32(M::kNextDiscDistanceY), typed["nextDiscDistanceYLineEdit"]);
    EXPECT_EQ(record().i32(M::kSublevelCount), typed["sublevelsLineEdit"]);
    EXPECT_EQ(record().i32(M::kOpponentGridSpacingY), typed["opponentDistanceYLineEdit"]);
    EXPECT_EQ(SavedRecord(project, main), Object(project, main).lpDatiOggetto);

    // Signed decimal, read from at most 29 characters.
    Edit(project, main, [&](QDialog* d) {
        Type(d, "frictionLineEdit", " -25x");
        Type(d, "gravityLineEdit", "");
        Type(d, "randomWindLineEdit", QString(29, '0') + "7");
        Ok(d);
    });
    EXPECT_EQ(record().i32(M::kFriction), -25);
    EXPECT_EQ(record().i32(M::kGravity), 0);
    EXPECT_EQ(record().i32(M::kRandomWind), 0);
}

TEST_F(CurlingMainTest, ChoicesListsCombosAndSounds) {
    const std::int32_t map1 = NewItemOfType(project, 6, "Lane");
    const std::int32_t map2 = NewItemOfType(project, 6, "Table");
    const std::int32_t board = NewItemOfType(project, 508, "Board one");
    const std::int32_t font = NewItemOfType(project, 2);
    const std::int32_t splash = NewItemOfType(project, 13);
    const std::int32_t boom = NewItemOfType(project, 5);
    const std::int32_t spring = NewItemOfType(project, 5);
    ASSERT_NE(spring, 0);
    std::vector<std::int32_t> reel;
    for (int i = 0; i < 45; ++i) reel.push_back(i % 7 - 2);
    QStringList longList;
    for (std::int32_t n : reel) longList << QString::number(n);

    Edit(project, main, [&](QDialog* d) {
        Child<QRadioButton>(d, "pachinkoRadioButton")->click();
        Child<QRadioButton>(d, "specificPathRadioButton")->click();
        EXPECT_TRUE(Child<QLineEdit>(d, "resourcePathLineEdit")->isEnabled());
        Type(d, "resourcePathLineEdit", "http://games.example.org/shells");
        Type(d, "descriptionWhileLoadingLineEdit", "Wait");
        Type(d, "reelOrder1LineEdit", "0,1,2,1");
        Type(d, "reelOrder2LineEdit", "3, 1,2");  // stops at the blank
        Type(d, "reelOrder3LineEdit", longList.join(','));
        Type(d, "slotPointsLineEdit", "-5,10,,20");
        Child<QComboBox>(d, "tableObjectsDataComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "otherPlayersFontComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "splashTitleComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "backgroundMap0ComboBox")->setCurrentIndex(1);
        Child<QComboBox>(d, "backgroundMap9ComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "layer2AlphaMapComboBox")->setCurrentIndex(1);
        Child<QCheckBox>(d, "pullSpringSoundCheckBox")->click();
        EXPECT_TRUE(Child<QComboBox>(d, "pullSpringSoundComboBox")->isEnabled());
        Child<QComboBox>(d, "pullSpringSoundComboBox")->setCurrentIndex(1);
        Child<QCheckBox>(d, "gameFinishedSoundCheckBox")->click();
        Child<QComboBox>(d, "gameFinishedSoundComboBox")->setCurrentIndex(0);
        Child<QCheckBox>(d, "slotWinSoundCheckBox")->click();  // on, no sound chosen
        Ok(d);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.u32(M::kGameKind), M::kPachinko);
    EXPECT_EQ(r.u32(M::kResourceLocation), 1u);
    EXPECT_EQ(r.text(M::kResourcePath, 260), "http://games.example.org/shells");
    EXPECT_EQ(r.text(M::kLoadingDescription, 260), "Wait");
    EXPECT_EQ(r.i32(M::kReelOrder1Length), 4);
    const std::int32_t firstReel[] = {0, 1, 2, 1};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(r.i32(M::kReelOrder1 + 4 * i), firstReel[i]);
    EXPECT_EQ(r.i32(M::kReelOrder2Length), 1);
    EXPECT_EQ(r.i32(M::kReelOrder2), 3);
    EXPECT_EQ(r.i32(M::kReelOrder3Length), 40);  // the list holds 40
    for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(r.i32(M::kReelOrder3 + 4 * i), reel[i]) << i;
    EXPECT_EQ(r.u32(M::kSlotStartSound), 0u);  // the field behind the third list is untouched
    EXPECT_EQ(r.i32(M::kSlotPointsLength), 2);
    EXPECT_EQ(r.i32(M::kSlotPoints), -5);
    EXPECT_EQ(r.i32(M::kSlotPoints + 4), 10);
    EXPECT_EQ(r.u32(M::kPachinkoBoard), static_cast<std::uint32_t>(board));
    EXPECT_EQ(r.u32(M::kOtherPlayersFont), static_cast<std::uint32_t>(font));
    EXPECT_EQ(r.u32(M::kSplashStart), static_cast<std::uint32_t>(splash));
    EXPECT_EQ(r.u32(M::kBackgroundMap0), static_cast<std::uint32_t>(map2));
    EXPECT_EQ(r.u32(M::kBackgroundMaps + 8 * 4), static_cast<std::uint32_t>(map1));
    EXPECT_EQ(r.u32(M::kLayer2AlphaMap), static_cast<std::uint32_t>(map2));
    EXPECT_EQ(r.u32(M::kLayer2Map), 0u);
    EXPECT_EQ(r.u32(M::kPullSpringSound), 1u);
    EXPECT_EQ(r.u32(M::kPullSpringSound + 4), static_cast<std::uint32_t>(spring));
    EXPECT_EQ(r.u32(M::kGameFinishedSound), 1u);
    EXPECT_EQ(r.u32(M::kGameFinishedSound + 4), static_cast<std::uint32_t>(boom));
    EXPECT_EQ(r.u32(M::kSlotWinSound), 1u);
    EXPECT_EQ(r.u32(M::kSlotWinSound + 4), 0u);
    EXPECT_EQ(SavedRecord(project, main), Object(project, main).lpDatiOggetto);

    // Reopening shows what was stored; a type of game above 3 checks nothing and is kept.
    record().setU32(M::kGameKind, 9);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_EQ(Child<QLineEdit>(d, "reelOrder1LineEdit")->text(), "0,1,2,1");
        EXPECT_EQ(Child<QLineEdit>(d, "slotPointsLineEdit")->text(), "-5,10");
        EXPECT_EQ(Child<QComboBox>(d, "tableObjectsDataComboBox")->currentIndex(), 0);
        EXPECT_EQ(Child<QComboBox>(d, "pullSpringSoundComboBox")->currentIndex(), 1);
        for (const char* kind : {"shuffleDiscRadioButton", "discSmashRadioButton",
                                 "pachinkoRadioButton", "peggleRadioButton"})
            EXPECT_FALSE(Child<QRadioButton>(d, kind)->isChecked()) << kind;
        Type(d, "reelOrder2LineEdit", "");
        Ok(d);
    });
    EXPECT_EQ(record().u32(M::kGameKind), 9u);
    EXPECT_EQ(record().i32(M::kReelOrder2Length), 0);
}

TEST_F(CurlingMainTest, CountedSpriteButtonsStoreTheirCountAtOnceWithinTheirBlock) {
    qb::BindPixbridge(BinDir().string());
    NewItemOfType(project, 3, "Sheet");
    const fs::path ini = fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini";
    Edit(project, main, [&](QDialog* d) {
        Type(d, "slotSpriteCountLineEdit", "5");
        WithModalDialog([&] { Child<QPushButton>(d, "slotSpritesButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 5");
                            sprites->reject();
                        });
        EXPECT_EQ(record().i32(M::kSlotSpriteCount), 5);
        // 25 does not fit the 20 slot sprites.
        Type(d, "slotSpriteCountLineEdit", "25");
        WithModalDialog([&] { Child<QPushButton>(d, "slotSpritesButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 20");
                            sprites->reject();
                        });
        EXPECT_EQ(Child<QLineEdit>(d, "slotSpriteCountLineEdit")->text(), "20");
        // A negative logo count opens nothing and stores 0.
        record().setI32(M::kLogoCount, 4);
        Type(d, "logoCountLineEdit", "-3");
        Child<QPushButton>(d, "logoEditSpritesButton")->click();
        EXPECT_EQ(record().i32(M::kLogoCount), 0);
        // The bar takes three frames, picked and saved at once.
        WithModalDialog([&] { Child<QPushButton>(d, "barSpriteButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 3");
                            PickAndSave(sprites, 3);
                        });
        Type(d, "logoCountLineEdit", "12");
        Cancel(d);
    });
    EXPECT_EQ(record().i32(M::kSlotSpriteCount), 20);
    EXPECT_EQ(record().i32(M::kLogoCount), 0);
    const std::int32_t sheet = ObjectOfType(project, 3);
    for (std::size_t f = 0; f < 3; ++f) {
        EXPECT_EQ(record().u32(M::kBarSprites + 8 * f), static_cast<std::uint32_t>(sheet));
        EXPECT_EQ(record().u8(M::kBarSprites + 8 * f + 7), f);  // first column
    }
    EXPECT_EQ(record().u32(M::kNextDiscSprite), 0u);
    EXPECT_EQ(SavedRecord(project, main), Object(project, main).lpDatiOggetto);

    // OK brings a typed count into its block too.
    Edit(project, main, [&](QDialog* d) {
        Type(d, "logoCountLineEdit", "12");
        Ok(d);
    });
    EXPECT_EQ(record().i32(M::kLogoCount), 10);
}

TEST_F(CurlingMainTest, DamagedRecordsNeitherCrashNorSpill) {
    // List lengths far beyond their lists show no more than the lists hold.
    record().setI32(M::kReelOrder1Length, 100000);
    record().setI32(M::kSlotPointsLength, -4);
    record().setI32(M::kReelOrder1 + 4 * 39, 77);
    record().setI32(M::kReelOrder2, 55);  // the slot behind the first list
    Edit(project, main, [&](QDialog* d) {
        const QStringList shown = Child<QLineEdit>(d, "reelOrder1LineEdit")->text().split(',');
        EXPECT_EQ(shown.size(), 40);
        EXPECT_EQ(shown.last(), "77");
        EXPECT_EQ(Child<QLineEdit>(d, "slotPointsLineEdit")->text(), "");
        Cancel(d);
    });
    // A record cut short keeps its size whatever is stored.
    Object(project, main).lpDatiOggetto.resize(1200);
    Edit(project, main, [&](QDialog* d) {
        Type(d, "reelOrder3LineEdit", "1,2,3");
        Child<QRadioButton>(d, "peggleRadioButton")->click();
        Child<QCheckBox>(d, "pushSpringSoundCheckBox")->click();
        Type(d, "sublevelsLineEdit", "3");
        Ok(d);
    });
    EXPECT_EQ(Object(project, main).lpDatiOggetto.size(), 1200u);
    EXPECT_EQ(record().u32(M::kGameKind), M::kPeggle);
}

TEST(CurlingNumberList, ParsesAsTyped) {
    using qb::ui::ParseNumberList;
    EXPECT_EQ(ParseNumberList("3,1,2", 40), (std::vector<std::int32_t>{3, 1, 2}));
    EXPECT_EQ(ParseNumberList("", 40), (std::vector<std::int32_t>{}));
    EXPECT_EQ(ParseNumberList("4,", 40), (std::vector<std::int32_t>{4}));
    EXPECT_EQ(ParseNumberList(",4", 40), (std::vector<std::int32_t>{}));
    EXPECT_EQ(ParseNumberList("-7,1-2,8", 40), (std::vector<std::int32_t>{-7, 1, 8}));
    EXPECT_EQ(ParseNumberList("1,2,3,4", 3), (std::vector<std::int32_t>{1, 2, 3}));
}

} // namespace
