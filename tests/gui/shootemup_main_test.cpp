// The shoot'em-up "Main parameters" dialog on a real project: defaults, presets, resource
// location, the level list, the immediate "Use custom font", hidden fields passing through,
// and the "Edit sprite" buttons.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "editors/shootemup/main_parameters.h"
#include "model/catalogue.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/sound_pair.h"
#include "model/layouts/bitmaps.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qb;
using qbtest::Cancel;
using qbtest::Child;
using qbtest::Ok;

namespace {

namespace mp = layout::shootemup_main;

class ShootEmUpMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindPixbridge(qbtest::BinDir().string());
        project = qbtest::NewProject("Shooter", game::ShootEmUp);
        main = qbtest::ObjectOfType(project, 1);
        ui::SetTreeRefresher([this](std::int32_t id, int index) { refreshed.emplace_back(id, index); });
    }
    void TearDown() override { ui::SetTreeRefresher(nullptr); }

    std::int32_t NewOf(std::uint32_t type, const std::string& name) {
        return qbtest::NewItemOfType(project, type, name);
    }

    RecordView Record() { return qbtest::Object(project, main).record(); }
    Bytes& Bytes_() { return qbtest::Object(project, main).lpDatiOggetto; }
    void Edit(const std::function<void(QDialog*)>& act) { qbtest::Edit(project, main, act); }

    qbtest::TempAppFolder app;
    int project = -1;
    std::int32_t main = 0;
    std::vector<std::pair<std::int32_t, int>> refreshed;
};

QLineEdit* Line(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
bool Checked(QDialog* d, const char* name) { return Child<QAbstractButton>(d, name)->isChecked(); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
QStringList Levels(QDialog* d) {
    QStringList rows;
    auto* list = Child<QListWidget>(d, "levelsListWidget");
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

} // namespace

TEST_F(ShootEmUpMainTest, NewProjectOpensWithItsDefaults) {
    Edit([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Main parameters");
        EXPECT_EQ(Line(d, "typeOfProjectLineEdit")->text(), "Vertical Shot'em up");
        EXPECT_TRUE(Line(d, "typeOfProjectLineEdit")->isReadOnly());
        EXPECT_EQ(Line(d, "projectNameLineEdit")->text(), "Shooter");
        EXPECT_TRUE(Checked(d, "area640x480RadioButton"));
        EXPECT_FALSE(Checked(d, "freeSizeCheckBox"));
        EXPECT_TRUE(Checked(d, "embeddedRadioButton"));
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        EXPECT_EQ(Line(d, "livesLineEdit")->text(), "3");
        EXPECT_EQ(Line(d, "playerInitialSpeedLineEdit")->text(), "8");
        EXPECT_EQ(Line(d, "playerMaxSpeedLineEdit")->text(), "12");
        EXPECT_EQ(Line(d, "startingHighLineEdit")->text(), "10000");
        EXPECT_EQ(Line(d, "livesXLineEdit")->text(), "558");
        EXPECT_TRUE(Checked(d, "highShownCheckBox"));
        EXPECT_TRUE(Checked(d, "livesShownCheckBox"));
        EXPECT_TRUE(Checked(d, "useCustomFontCheckBox"));
        EXPECT_FALSE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        EXPECT_TRUE(Checked(d, "verticalScrollRadioButton"));
        EXPECT_EQ(Child<QListWidget>(d, "levelsListWidget")->count(), 0);
        for (const char* hidden : {"scrollTypeGroupBox", "multiscrollDataGroupBox", "audioGroupBox",
                                   "audioSpritesGroupBox", "freeGameAreaGroupBox"})
            EXPECT_TRUE(Child<QGroupBox>(d, hidden)->isHidden()) << hidden;
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isHidden());
        Ok(d);
    });
    // OK on an untouched dialog changes nothing in the record.
    EXPECT_EQ(Bytes_(), DefaultMainParameters(game::ShootEmUp));
    ASSERT_EQ(refreshed.size(), 1u);
    EXPECT_EQ(refreshed[0], std::make_pair(main, project));
}

TEST_F(ShootEmUpMainTest, PresetsWriteTheirSizeAndAFreeSizeIsKept) {
    Edit([&](QDialog* d) {
        Click(d, "area800x600RadioButton");
        EXPECT_FALSE(Checked(d, "area640x480RadioButton"));
        EXPECT_EQ(Line(d, "gameAreaWidthLineEdit")->text(), "800");
        EXPECT_EQ(Line(d, "gameAreaHeightLineEdit")->text(), "600");
        Ok(d);
    });
    EXPECT_EQ(Record().i32(mp::kGameAreaWidth), 800);
    EXPECT_EQ(Record().i32(mp::kGameAreaHeight), 600);
    EXPECT_EQ(Record().u32(mp::kGameAreaPreset), layout::kArea800x600);

    Record().setU32(mp::kGameAreaPreset, layout::kAreaFree);
    Record().setI32(mp::kGameAreaWidth, 1000);
    Record().setI32(mp::kGameAreaHeight, 700);
    Edit([&](QDialog* d) {
        for (const char* preset : {"area550x400RadioButton", "area600x400RadioButton",
                                   "area640x480RadioButton", "area800x600RadioButton"})
            EXPECT_FALSE(Checked(d, preset)) << preset;
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kGameAreaPreset), layout::kAreaFree);
    EXPECT_EQ(Record().i32(mp::kGameAreaWidth), 1000);
    EXPECT_EQ(Record().i32(mp::kGameAreaHeight), 700);

    Edit([&](QDialog* d) {
        Click(d, "area550x400RadioButton");  // clears the free size
        EXPECT_FALSE(Checked(d, "freeSizeCheckBox"));
        Click(d, "freeSizeCheckBox");         // clears the presets again
        EXPECT_FALSE(Checked(d, "area550x400RadioButton"));
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kGameAreaPreset), layout::kAreaFree);
    EXPECT_EQ(Record().i32(mp::kGameAreaWidth), 550);
    EXPECT_EQ(Record().i32(mp::kGameAreaHeight), 400);

    Record().setU32(mp::kGameAreaPreset, 9);  // no button: checks nothing and keeps the value
    Edit([&](QDialog* d) { Ok(d); });
    EXPECT_EQ(Record().u32(mp::kGameAreaPreset), 9u);
}

TEST_F(ShootEmUpMainTest, ResourceLocationEnablesThePathBox) {
    Edit([&](QDialog* d) {
        Click(d, "specificPathRadioButton");
        EXPECT_TRUE(Line(d, "resourcePathLineEdit")->isEnabled());
        Line(d, "resourcePathLineEdit")->setText("http://www.example.com/game/");
        Line(d, "loadingDescriptionLineEdit")->setText("Loading...");
        Line(d, "commentsLineEdit")->setText(QString(400, 'c'));
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kResourceLocation), layout::kResourcesAtPath);
    EXPECT_EQ(Record().text(mp::kResourcePath, 260), "http://www.example.com/game/");
    EXPECT_EQ(Record().text(mp::kLoadingDescription, 260), "Loading...");
    EXPECT_EQ(Record().text(mp::kComments, 260), std::string(259, 'c'));

    Record().setU32(mp::kResourceLocation, layout::kResourcesBesideGame);
    Edit([&](QDialog* d) {
        EXPECT_TRUE(Checked(d, "samePathRadioButton"));
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kResourceLocation), layout::kResourcesBesideGame);
    Edit([&](QDialog* d) {
        Click(d, "embeddedRadioButton");
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kResourceLocation), layout::kResourcesEmbedded);
}

TEST_F(ShootEmUpMainTest, LevelListAddsMovesAndDeletesOnlyOnOk) {
    const std::int32_t first = NewOf(8, "First");
    const std::int32_t second = NewOf(8, "Second");
    const std::int32_t third = NewOf(8, "Third");
    auto add = [](QDialog* d, int entry) {
        Child<QComboBox>(d, "levelComboBox")->setCurrentIndex(entry);
        Click(d, "addLevelButton");
    };
    Edit([&](QDialog* d) {
        auto* combo = Child<QComboBox>(d, "levelComboBox");
        auto* list = Child<QListWidget>(d, "levelsListWidget");
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->currentIndex(), -1);
        Click(d, "addLevelButton");  // nothing chosen: nothing added
        EXPECT_TRUE(Levels(d).isEmpty());
        add(d, 1);
        EXPECT_EQ(combo->currentIndex(), -1);  // the choice is cleared after adding
        add(d, 0);
        add(d, 2);
        add(d, 0);  // a level may be listed twice
        EXPECT_EQ(Levels(d), (QStringList{"Second", "First", "Third", "First"}));

        list->setCurrentRow(-1);
        Click(d, "levelDownButton");  // nothing selected
        list->setCurrentRow(0);
        Click(d, "levelUpButton");  // already first
        list->setCurrentRow(3);
        Click(d, "levelDownButton");  // already last
        EXPECT_EQ(Levels(d), (QStringList{"Second", "First", "Third", "First"}));

        list->setCurrentRow(0);
        Click(d, "levelDownButton");
        EXPECT_EQ(Levels(d), (QStringList{"First", "Second", "Third", "First"}));
        EXPECT_EQ(list->currentRow(), 1);  // the moved entry stays selected
        list->setCurrentRow(2);
        Click(d, "levelUpButton");
        EXPECT_EQ(Levels(d), (QStringList{"First", "Third", "Second", "First"}));
        EXPECT_EQ(list->currentRow(), 1);

        list->setCurrentRow(0);
        Click(d, "deleteLevelButton");
        EXPECT_EQ(Levels(d), (QStringList{"Third", "Second", "First"}));
        EXPECT_EQ(list->currentRow(), -1);
        Click(d, "deleteLevelButton");  // nothing selected: nothing removed
        EXPECT_EQ(Levels(d).size(), 3);
        Cancel(d);
    });
    EXPECT_EQ(Record().u32(mp::kLevelCount), 0u);  // Cancel drops the working list

    Edit([&](QDialog* d) {
        add(d, 2);
        add(d, 0);
        add(d, 1);
        Child<QListWidget>(d, "levelsListWidget")->setCurrentRow(1);
        Click(d, "deleteLevelButton");
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kLevelCount), 2u);
    EXPECT_EQ(Record().u32(mp::kLevelList), static_cast<std::uint32_t>(third));
    EXPECT_EQ(Record().u32(mp::kLevelList + 4), static_cast<std::uint32_t>(second));
    // In use by the list now: the level cannot be deleted.
    EXPECT_FALSE(IsObjectDeletable(project, *FindObject(third, project)));
    EXPECT_TRUE(IsObjectDeletable(project, *FindObject(first, project)));
}

TEST_F(ShootEmUpMainTest, TheHundredAndFirstLevelIsRefused) {
    const std::int32_t level = NewOf(8, "Level");
    Record().setU32(mp::kLevelCount, 100);
    for (std::size_t i = 0; i < 100; ++i) Record().setU32(mp::kLevelList + 4 * i, static_cast<std::uint32_t>(level));
    Edit([&](QDialog* d) {
        EXPECT_EQ(Levels(d).size(), 100);
        Child<QComboBox>(d, "levelComboBox")->setCurrentIndex(0);
        Click(d, "addLevelButton");
        EXPECT_EQ(Levels(d).size(), 100);
        Ok(d);
    });
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], "Maximum number of levels (100) is reached!");
    EXPECT_EQ(app.messages.captions[0], "Quillbox");
    EXPECT_EQ(Record().u32(mp::kLevelCount), 100u);
    EXPECT_EQ(Record().u32(mp::kPlayerShip), 0u);  // the list did not run into the next field
}

TEST_F(ShootEmUpMainTest, DamagedLevelCountsAndDeletedLevelsDoNotStopTheEditor) {
    const std::int32_t level = NewOf(8, "Kept");
    Record().setU32(mp::kLevelCount, 70000);
    Record().setU32(mp::kLevelList, static_cast<std::uint32_t>(level));
    Record().setU32(mp::kLevelList + 4, 4242);  // no such item
    Edit([&](QDialog* d) {
        const QStringList rows = Levels(d);
        ASSERT_EQ(rows.size(), 100);
        EXPECT_EQ(rows[0], "Kept");
        EXPECT_NE(rows[1], "");
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kLevelCount), 100u);
    EXPECT_EQ(Record().u32(mp::kLevelList + 4), 4242u);
}

TEST_F(ShootEmUpMainTest, UseCustomFontIsWrittenAtOnceAndSurvivesCancel) {
    Edit([&](QDialog* d) {
        Click(d, "useCustomFontCheckBox");
        EXPECT_EQ(Record().u32(mp::kUseCustomFont), 0u);  // before any OK
        EXPECT_TRUE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        Cancel(d);
    });
    EXPECT_EQ(Record().u32(mp::kUseCustomFont), 0u);
    Edit([&](QDialog* d) {
        EXPECT_FALSE(Checked(d, "useCustomFontCheckBox"));
        Click(d, "useCustomFontCheckBox");
        EXPECT_EQ(Record().u32(mp::kUseCustomFont), 1u);
        EXPECT_FALSE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        Cancel(d);
    });
    EXPECT_EQ(Record().u32(mp::kUseCustomFont), 1u);
    // Saved at once, as the jigsaw's: after Cancel the file agrees with the record.
    EXPECT_EQ(qbtest::SavedRecord(project, main), Bytes_());
    // Opening alone writes nothing, even for an odd stored value.
    Record().setU32(mp::kUseCustomFont, 7);
    Edit([&](QDialog* d) { Cancel(d); });
    EXPECT_EQ(Record().u32(mp::kUseCustomFont), 7u);
}

TEST_F(ShootEmUpMainTest, ShownFlagsSwitchTheirControls) {
    Edit([&](QDialog* d) {
        Click(d, "highShownCheckBox");
        for (const char* name : {"highTextXLineEdit", "highTextYLineEdit", "highXLineEdit",
                                 "highYLineEdit", "startingHighLineEdit"})
            EXPECT_FALSE(Line(d, name)->isEnabled()) << name;
        EXPECT_FALSE(Child<QPushButton>(d, "highEditSpriteButton")->isEnabled());
        EXPECT_TRUE(Line(d, "livesTextXLineEdit")->isEnabled());
        Click(d, "livesShownCheckBox");
        for (const char* name : {"livesTextXLineEdit", "livesTextYLineEdit", "livesXLineEdit", "livesYLineEdit"})
            EXPECT_FALSE(Line(d, name)->isEnabled()) << name;
        EXPECT_FALSE(Child<QPushButton>(d, "livesEditSpriteButton")->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(d, "scoreEditSpriteButton")->isEnabled());
        Line(d, "startingHighLineEdit")->setText("+250 points");  // disabled boxes still store
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kHighShown), 0u);
    EXPECT_EQ(Record().u32(mp::kLivesShown), 0u);
    EXPECT_EQ(Record().i32(mp::kStartingHigh), 250);
    Edit([&](QDialog* d) {
        EXPECT_FALSE(Line(d, "highXLineEdit")->isEnabled());
        Click(d, "highShownCheckBox");
        EXPECT_TRUE(Line(d, "highXLineEdit")->isEnabled());
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kHighShown), 1u);
}

TEST_F(ShootEmUpMainTest, NumbersItemsAndProjectNameAreStoredOnOk) {
    NewOf(13, "Title");
    const std::int32_t end = NewOf(13, "The end");
    const std::int32_t font = NewOf(2, "Font");
    const std::int32_t ship = NewOf(9, "Ship");
    const std::int32_t fire = NewOf(10, "Fire");
    Record().setU32(mp::kSplashStart, 9999);  // an item that is gone shows no choice, stores 0
    Edit([&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "splashTitleComboBox")->currentIndex(), -1);
        Child<QComboBox>(d, "splashEndComboBox")->setCurrentIndex(1);
        Child<QComboBox>(d, "defaultFontComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "playerSpritesComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "playerFireComboBox")->setCurrentIndex(0);
        Line(d, "livesLineEdit")->setText(" -5");
        Line(d, "scoreDigitsLineEdit")->setText("8");
        Line(d, "scoreTextXLineEdit")->setText("11");
        Line(d, "highYLineEdit")->setText("77");
        Line(d, "livesTextYLineEdit")->setText("x");
        Line(d, "invisibilitySecondsLineEdit")->setText("4s");
        Line(d, "projectNameLineEdit")->setText("Renamed shooter");
        Ok(d);
    });
    EXPECT_EQ(Record().u32(mp::kSplashStart), 0u);
    EXPECT_EQ(Record().u32(mp::kSplashEnd), static_cast<std::uint32_t>(end));
    EXPECT_EQ(Record().u32(mp::kDefaultFont), static_cast<std::uint32_t>(font));  // stored though disabled
    EXPECT_EQ(Record().u32(mp::kPlayerShip), static_cast<std::uint32_t>(ship));
    EXPECT_EQ(Record().u32(mp::kPlayerFire), static_cast<std::uint32_t>(fire));
    EXPECT_EQ(Record().i32(mp::kLives), -5);
    EXPECT_EQ(Record().i32(mp::kScoreDigits), 8);
    EXPECT_EQ(Record().i32(mp::kScoreTextX), 11);
    EXPECT_EQ(Record().i32(mp::kHighY), 77);
    EXPECT_EQ(Record().i32(mp::kLivesTextY), 0);
    EXPECT_EQ(Record().i32(mp::kInvisibilitySeconds), 4);
    EXPECT_EQ(ProjectAt(project)->sNomeProgetto, "Renamed shooter");
    EXPECT_NE(qbtest::ReadFile(app.projects() / "Shooter" / "project.ini").find("Renamed shooter"),
              std::string::npos);
}

TEST_F(ShootEmUpMainTest, HiddenFieldsPassThroughButAGoneSoundBecomesZero) {
    const std::int32_t sound = NewOf(5, "Music");
    RecordView r = Record();
    r.setU32(mp::kScrollType, 1);
    r.setI32(mp::kMapLimitLeft, 5);
    r.setI32(mp::kMapLimitRight, -6);
    r.setI32(mp::kMapLimitTop, 7);
    r.setI32(mp::kMapLimitBottom, 8);
    r.setU32(mp::kBackgroundSound + layout::sound_pair::kEnabled, 1);
    r.setU32(mp::kBackgroundSound + layout::sound_pair::kSoundId, static_cast<std::uint32_t>(sound));
    for (std::size_t i = 0; i < 8; ++i) r.setU8(mp::kGameOverSprite + i, static_cast<std::uint8_t>(0x10 + i));
    for (std::size_t i = 0; i < 32; ++i) r.setU8(mp::kMusicOnOffSprites + i, static_cast<std::uint8_t>(0x40 + i));
    const Bytes before = Bytes_();
    Edit([&](QDialog* d) {
        EXPECT_TRUE(Checked(d, "multiscrollRadioButton"));
        EXPECT_TRUE(Checked(d, "enableBackgroundSoundCheckBox"));
        EXPECT_EQ(Child<QComboBox>(d, "startingSoundComboBox")->currentIndex(), 0);
        Ok(d);
    });
    EXPECT_EQ(Bytes_(), before);

    // The switched-on background sound keeps its item from Delete item; a sound gone all the same
    // (a project file edited elsewhere) reads back as none.
    EXPECT_FALSE(DeleteItem(project, sound));
    qb::DeleteObject(project, sound);
    Edit([&](QDialog* d) { Ok(d); });
    Bytes expected = before;
    RecordView(expected).setU32(mp::kBackgroundSound + layout::sound_pair::kSoundId, 0);
    EXPECT_EQ(Bytes_(), expected);
}

TEST_F(ShootEmUpMainTest, OpenProjectFolderAsksTheDesktop) {
    Edit([&](QDialog* d) {
        Click(d, "openProjectFolderButton");
        Cancel(d);
    });
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(fs::path(app.desktop.opened[0]), app.projects() / "Shooter");
}

TEST_F(ShootEmUpMainTest, EditSpriteButtonsPickTheirOwnFrames) {
    const std::int32_t sheet = NewOf(3, "Sheet");
    struct Case {
        const char* button;
        std::size_t offset;
        int frames;
    };
    const Case cases[] = {{"scoreEditSpriteButton", mp::kScoreTextSprite, 1},
                          {"highEditSpriteButton", mp::kHighTextSprite, 1},
                          {"livesEditSpriteButton", mp::kLivesTextSprite, 1},
                          {"gameOverEditSpriteButton", mp::kGameOverSprite, 1},
                          {"musicOnOffSpritesButton", mp::kMusicOnOffSprites, 2},
                          {"fxOnOffSpritesButton", mp::kFxOnOffSprites, 2}};
    int column = 0;
    for (const Case& c : cases) {
        const Bytes before = Bytes_();
        Edit([&](QDialog* d) {
            qbtest::WithModalDialog([&] { Click(d, c.button); },
                                    [&](QDialog* sprites) {
                                        EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                                  QString("Sprite 1 of %1").arg(c.frames));
                                        QWidget* view = Child<QWidget>(sprites, "sheetView");
                                        for (int f = 0; f < c.frames; ++f) {
                                            const QPoint at(column * 32 + 5, 5);
                                            for (auto type : {QEvent::MouseMove, QEvent::MouseButtonPress,
                                                              QEvent::MouseButtonRelease}) {
                                                QMouseEvent e(type, QPointF(at), QPointF(view->mapToGlobal(at)),
                                                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                                                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                              Qt::NoModifier);
                                                QApplication::sendEvent(view, &e);
                                            }
                                            ++column;
                                            Child<QPushButton>(sprites, "nextFrameButton")->click();
                                        }
                                        Child<QPushButton>(sprites, "okAndSaveButton")->click();
                                    });
            Cancel(d);
        });
        Bytes expected = before;
        for (int f = 0; f < c.frames; ++f) {
            RecordView e(expected);
            const std::size_t at = c.offset + 8 * static_cast<std::size_t>(f);
            const auto cell = static_cast<std::uint8_t>(column - c.frames + f);
            e.setU32(at, static_cast<std::uint32_t>(sheet));
            e.setU8(at + 4, 0);
            e.setU8(at + 5, cell);
            e.setU8(at + 6, 0);
            e.setU8(at + 7, cell);
        }
        EXPECT_EQ(Bytes_(), expected) << c.button;
    }
}
