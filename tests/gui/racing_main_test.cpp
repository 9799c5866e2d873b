// The racing "Main parameters" and "Car data" dialogs on a real project: defaults, the circuit
// order and its limits, numbers, combos and sounds stored on OK, the resource location, the
// sprite buttons whose picks survive Cancel, the logo count kept to its ten frames, and damaged
// or foreign values in the record.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "model/catalogue.h"
#include "model/layouts/racing_items.h"
#include "model/layouts/racing_main.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qb;
using qbtest::Cancel;
using qbtest::Child;
using qbtest::Ok;

namespace {

namespace M = layout::racing_main;
namespace C = layout::car;

class RacingEditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindPixbridge(qbtest::BinDir().string());
        project = qbtest::NewProject("Rally", game::Racing);
        main = qbtest::ObjectOfType(project, 100);
        ui::SetTreeRefresher([this](std::int32_t id, int index) { refreshed.emplace_back(id, index); });
    }
    void TearDown() override { ui::SetTreeRefresher(nullptr); }

    std::int32_t NewOf(std::uint32_t type, const std::string& name) {
        return qbtest::NewItemOfType(project, type, name);
    }
    RecordView Record(std::int32_t id) { return qbtest::Object(project, id).record(); }
    Bytes& BytesOf(std::int32_t id) { return qbtest::Object(project, id).lpDatiOggetto; }
    void Edit(std::int32_t id, const std::function<void(QDialog*)>& act) {
        qbtest::Edit(project, id, act);
    }

    qbtest::TempAppFolder app;
    int project = -1;
    std::int32_t main = 0;
    std::vector<std::pair<std::int32_t, int>> refreshed;
};

QLineEdit* Line(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QComboBox* Combo(QDialog* d, const char* name) { return Child<QComboBox>(d, name); }
bool Checked(QDialog* d, const char* name) { return Child<QAbstractButton>(d, name)->isChecked(); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
QStringList Rows(QDialog* d) {
    QStringList rows;
    auto* list = Child<QListWidget>(d, "circuitsListWidget");
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}
void AddCircuit(QDialog* d, int entry) {
    Combo(d, "circuitComboBox")->setCurrentIndex(entry);
    Click(d, "addCircuitButton");
}

// In the open sprite animation editor: picks, for each frame in turn, the single cell of the
// given column on row 0 of the first sheet, then presses "OK and save".
void PickColumns(QDialog* sprites, const std::vector<int>& columns) {
    QWidget* view = Child<QWidget>(sprites, "sheetView");
    for (int column : columns) {
        const QPoint at(column * 32 + 5, 5);
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

// The eight bytes of a frame picking the single cell (column, 0) of the sheet.
void ExpectFrame(RecordView r, std::size_t at, std::int32_t sheet, int column) {
    EXPECT_EQ(r.u32(at), static_cast<std::uint32_t>(sheet)) << at;
    EXPECT_EQ(r.u8(at + 4), 0) << at;
    EXPECT_EQ(r.u8(at + 5), column) << at;
    EXPECT_EQ(r.u8(at + 6), 0) << at;
    EXPECT_EQ(r.u8(at + 7), column) << at;
}

} // namespace

TEST_F(RacingEditorsTest, MainParametersOpenWithTheNewProjectValuesAndKeepThemOnOk) {
    Edit(main, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Main parameters");
        EXPECT_EQ(Line(d, "typeOfProjectLineEdit")->text(), "Racing game");
        EXPECT_EQ(Line(d, "projectNameLineEdit")->text(), "Rally");
        EXPECT_EQ(Line(d, "gameWidthLineEdit")->text(), "320");
        EXPECT_EQ(Line(d, "gameHeightLineEdit")->text(), "320");
        EXPECT_EQ(Child<QLabel>(d, "gameWidthLabel")->text(),
                  "Width + Width Extra info area (>= 320):");
        for (const char* name : {"currentLapTextXLineEdit", "currentLapTextYLineEdit",
                                 "currentLapXLineEdit", "currentLapYLineEdit", "bestLapTextXLineEdit",
                                 "bestLapTextYLineEdit", "bestLapXLineEdit", "bestLapYLineEdit",
                                 "lapsToGoTextXLineEdit", "lapsToGoTextYLineEdit",
                                 "lapsToGoXLineEdit", "lapsToGoYLineEdit"})
            EXPECT_FALSE(Line(d, name)->text().isEmpty()) << name;
        EXPECT_EQ(Line(d, "currentLapTextXLineEdit")->text() + "/" +
                      Line(d, "currentLapTextYLineEdit")->text() + "/" +
                      Line(d, "currentLapXLineEdit")->text() + "/" +
                      Line(d, "currentLapYLineEdit")->text(),
                  "10/10/10/30");
        EXPECT_EQ(Line(d, "bestLapTextXLineEdit")->text() + "/" + Line(d, "bestLapYLineEdit")->text(),
                  "100/30");
        EXPECT_EQ(Line(d, "lapsToGoTextXLineEdit")->text() + "/" +
                      Line(d, "lapsToGoTextYLineEdit")->text() + "/" +
                      Line(d, "lapsToGoXLineEdit")->text() + "/" + Line(d, "lapsToGoYLineEdit")->text(),
                  "100/10/100/30");
        // Two resource locations, both offered; the path box only with a specific path.
        EXPECT_TRUE(Checked(d, "samePathRadioButton"));
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isVisibleTo(d));
        EXPECT_FALSE(Child<QRadioButton>(d, "embeddedRadioButton")->isVisibleTo(d));
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        EXPECT_EQ(Rows(d).size(), 0);
        EXPECT_FALSE(Checked(d, "enableBackgroundSoundCheckBox"));
        EXPECT_FALSE(Combo(d, "backgroundSoundComboBox")->isEnabled());
        EXPECT_FALSE(Combo(d, "musicComboBox")->isEnabled());
        for (const char* group :
             {"projectGroupBox", "gameAreaGroupBox", "circuitsGroupBox", "compilingGroupBox",
              "playerDefaultsGroupBox", "generalGroupBox", "extraInfoAreaGroupBox", "audioGroupBox",
              "lapsToGoGroupBox", "currentLapTextsGroupBox", "bestLapTextsGroupBox",
              "frameRateGroupBox", "connectionGroupBox"})
            EXPECT_TRUE(Child<QGroupBox>(d, group)->isVisibleTo(d)) << group;
        Ok(d);
    });
    EXPECT_EQ(BytesOf(main), DefaultMainParameters(game::Racing));
    ASSERT_EQ(refreshed.size(), 1u);
    EXPECT_EQ(refreshed[0], std::make_pair(main, project));
}

TEST_F(RacingEditorsTest, CircuitOrderIsEditedOnACopyThatOkStores) {
    const std::int32_t monza = NewOf(108, "Monza");
    const std::int32_t imola = NewOf(108, "Imola");
    NewOf(109, "Not a track");
    Edit(main, [&](QDialog* d) {
        auto* list = Child<QListWidget>(d, "circuitsListWidget");
        EXPECT_EQ(Combo(d, "circuitComboBox")->count(), 2);  // tracks only
        Click(d, "addCircuitButton");  // no track chosen: nothing
        EXPECT_TRUE(Rows(d).isEmpty());
        AddCircuit(d, 0);
        EXPECT_EQ(Combo(d, "circuitComboBox")->currentIndex(), -1);
        AddCircuit(d, 1);
        AddCircuit(d, 0);  // the same track twice
        EXPECT_EQ(Rows(d), (QStringList{"Monza", "Imola", "Monza"}));
        list->setCurrentRow(0);
        Click(d, "circuitUpButton");  // first row
        list->setCurrentRow(2);
        Click(d, "circuitDownButton");  // last row
        list->setCurrentRow(-1);
        Click(d, "circuitUpButton");
        Click(d, "circuitDownButton");
        Click(d, "deleteCircuitButton");
        EXPECT_EQ(Rows(d), (QStringList{"Monza", "Imola", "Monza"}));
        list->setCurrentRow(1);
        Click(d, "circuitUpButton");
        EXPECT_EQ(Rows(d), (QStringList{"Imola", "Monza", "Monza"}));
        EXPECT_EQ(list->currentRow(), 0);
        Ok(d);
    });
    EXPECT_EQ(Record(main).i32(M::kCircuitCount), 3);
    EXPECT_EQ(Record(main).u32(M::kCircuits), static_cast<std::uint32_t>(imola));
    EXPECT_EQ(Record(main).u32(M::kCircuits + 4), static_cast<std::uint32_t>(monza));
    EXPECT_EQ(Record(main).u32(M::kCircuits + 8), static_cast<std::uint32_t>(monza));

    // Reordering and then Cancel leaves the stored order.
    const Bytes before = BytesOf(main);
    Edit(main, [&](QDialog* d) {
        Child<QListWidget>(d, "circuitsListWidget")->setCurrentRow(0);
        Click(d, "circuitDownButton");
        Click(d, "deleteCircuitButton");
        Cancel(d);
    });
    EXPECT_EQ(BytesOf(main), before);
    EXPECT_EQ(qbtest::SavedRecord(project, main), before);

    // One row deleted from a one-row list leaves count 0.
    Record(main).setI32(M::kCircuitCount, 1);
    Edit(main, [&](QDialog* d) {
        Child<QListWidget>(d, "circuitsListWidget")->setCurrentRow(0);
        Click(d, "deleteCircuitButton");
        EXPECT_TRUE(Rows(d).isEmpty());
        Ok(d);
    });
    EXPECT_EQ(Record(main).i32(M::kCircuitCount), 0);
}

TEST_F(RacingEditorsTest, TheHundredAndFirstCircuitIsRefusedAndDamagedCountsAreContained) {
    const std::int32_t track = NewOf(108, "Track");
    Record(main).setI32(M::kCircuitCount, 99);
    for (std::size_t i = 0; i < 100; ++i) Record(main).setU32(M::kCircuits + 4 * i, static_cast<std::uint32_t>(track));
    Edit(main, [&](QDialog* d) {
        AddCircuit(d, 0);  // the 100th
        EXPECT_EQ(Rows(d).size(), 100);
        EXPECT_TRUE(app.messages.texts.empty());
        AddCircuit(d, 0);  // the 101st
        EXPECT_EQ(Rows(d).size(), 100);
        Ok(d);
    });
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], "Maximum number of levels (100) is reached!");
    EXPECT_EQ(app.messages.captions[0], "Quillbox");
    EXPECT_EQ(Record(main).i32(M::kCircuitCount), 100);
    EXPECT_EQ(Record(main).u32(M::kPlayerVehicle), 0u);  // the list stayed inside its slots

    // A count beyond the slots reads as full, a negative one as empty; a gone track keeps its
    // place and is named by its ID.
    Record(main).setI32(M::kCircuitCount, 5000);
    Record(main).setU32(M::kCircuits + 4, 4242);
    Edit(main, [&](QDialog* d) {
        const QStringList rows = Rows(d);
        ASSERT_EQ(rows.size(), 100);
        EXPECT_EQ(rows[0], "Track");
        EXPECT_EQ(rows[1], "(no track with ID 4242)");
        Ok(d);
    });
    EXPECT_EQ(Record(main).i32(M::kCircuitCount), 100);
    EXPECT_EQ(Record(main).u32(M::kCircuits + 4), 4242u);
    Record(main).setI32(M::kCircuitCount, -3);
    Edit(main, [&](QDialog* d) {
        EXPECT_TRUE(Rows(d).isEmpty());
        Cancel(d);
    });
}

TEST_F(RacingEditorsTest, MainParametersStoreEveryControlOnOk) {
    const std::int32_t splash = NewOf(13, "Title");
    NewOf(2, "Small font");
    const std::int32_t font = NewOf(2, "Big font");
    NewOf(109, "Red car");
    const std::int32_t blue = NewOf(109, "Blue car");
    const std::int32_t engine = NewOf(5, "Engine");
    const std::int32_t music = NewOf(5, "Music");
    const std::int32_t track = NewOf(108, "Track");
    // A field naming an item of another type shows no choice and stores none.
    Record(main).setU32(M::kEnemyVehicle, static_cast<std::uint32_t>(track));
    Edit(main, [&](QDialog* d) {
        EXPECT_EQ(Combo(d, "enemyVehicleSpritesComboBox")->currentIndex(), -1);
        Combo(d, "vehicleSpritesComboBox")->setCurrentIndex(1);
        Combo(d, "splashTitleComboBox")->setCurrentIndex(0);
        Combo(d, "defaultFontComboBox")->setCurrentIndex(1);
        Combo(d, "infoFontComboBox")->setCurrentIndex(0);
        Click(d, "enableMusicCheckBox");
        EXPECT_TRUE(Combo(d, "musicComboBox")->isEnabled());
        Combo(d, "musicComboBox")->setCurrentIndex(1);
        Combo(d, "backgroundSoundComboBox")->setCurrentIndex(0);  // chosen, but switched off
        Click(d, "specificPathRadioButton");
        EXPECT_TRUE(Line(d, "resourcePathLineEdit")->isEnabled());
        Line(d, "resourcePathLineEdit")->setText("http://www.example.com/rally/");
        Line(d, "descriptionWhileLoadingLineEdit")->setText("Warming up the tyres");
        Line(d, "projectNameLineEdit")->setText("Rally 2");
        Line(d, "gameWidthLineEdit")->setText("480");
        Line(d, "gameHeightLineEdit")->setText("-5");
        Line(d, "bestLapXLineEdit")->setText("two hundred");  // no digits: 0
        Line(d, "lapsToGoYLineEdit")->setText(" +44px");
        Line(d, "framesSkippedLineEdit")->setText("2");
        Line(d, "maxCameraDistanceLineEdit")->setText("150");  // "max 100" is guidance only
        Line(d, "extraInfoWidthLineEdit")->setText("160");
        Line(d, "infoTextXLineEdit")->setText("330");
        Line(d, "infoSessionYLineEdit")->setText("40");
        Line(d, "infoAllTimeYLineEdit")->setText("120");
        Line(d, "infoInterlineLineEdit")->setText("18");
        Click(d, "infiniteLapsCheckBox");
        Click(d, "cameraMoveableCheckBox");
        Ok(d);
    });
    RecordView r = Record(main);
    EXPECT_EQ(r.u32(M::kPlayerVehicle), static_cast<std::uint32_t>(blue));
    EXPECT_EQ(r.u32(M::kEnemyVehicle), 0u);
    EXPECT_EQ(r.u32(M::kSplashStart), static_cast<std::uint32_t>(splash));
    EXPECT_EQ(r.u32(M::kDefaultFont), static_cast<std::uint32_t>(font));
    EXPECT_EQ(r.u32(M::kMusic), 1u);
    EXPECT_EQ(r.u32(M::kMusic + 4), static_cast<std::uint32_t>(music));
    EXPECT_EQ(r.u32(M::kBackgroundSound), 0u);
    EXPECT_EQ(r.u32(M::kBackgroundSound + 4), static_cast<std::uint32_t>(engine));
    EXPECT_EQ(r.u32(M::kResourceLocation), layout::kResourcesAtPath);
    EXPECT_EQ(r.text(M::kResourcePath, 260), "http://www.example.com/rally/");
    EXPECT_EQ(r.text(M::kLoadingDescription, 260), "Warming up the tyres");
    EXPECT_EQ(ProjectAt(project)->sNomeProgetto, "Rally 2");
    EXPECT_EQ(r.i32(M::kGameAreaWidth), 480);
    EXPECT_EQ(r.i32(M::kGameAreaHeight), -5);
    EXPECT_EQ(r.i32(M::kBestLapX), 0);
    EXPECT_EQ(r.i32(M::kLapsToGoY), 44);
    EXPECT_EQ(r.i32(M::kFramesSkipped), 2);
    EXPECT_EQ(r.i32(M::kMaxCameraDistance), 150);
    EXPECT_EQ(r.i32(M::kExtraInfoWidth), 160);
    EXPECT_EQ(r.u32(M::kInfoFont), static_cast<std::uint32_t>(qbtest::ObjectOfType(project, 2)));
    EXPECT_EQ(r.i32(M::kInfoTextX), 330);
    EXPECT_EQ(r.i32(M::kInfoSessionY), 40);
    EXPECT_EQ(r.i32(M::kInfoAllTimeY), 120);
    EXPECT_EQ(r.i32(M::kInfoInterline), 18);
    EXPECT_EQ(r.u32(M::kInfiniteLaps), 1u);
    EXPECT_EQ(r.u32(M::kOnlyMultiplayer), 0u);
    EXPECT_EQ(r.u32(M::kCameraMoveable), 1u);
    EXPECT_EQ(qbtest::SavedRecord(project, main), BytesOf(main));

    // The stored mode 1 opens with the path box enabled; back to mode 0 disables it.
    Edit(main, [&](QDialog* d) {
        EXPECT_TRUE(Checked(d, "specificPathRadioButton"));
        EXPECT_TRUE(Line(d, "resourcePathLineEdit")->isEnabled());
        Click(d, "samePathRadioButton");
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        Click(d, "openProjectFolderButton");
        Ok(d);
    });
    EXPECT_EQ(Record(main).u32(M::kResourceLocation), layout::kResourcesBesideGame);
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(fs::path(app.desktop.opened[0]), app.projects() / "Rally");
}

TEST_F(RacingEditorsTest, SpriteButtonsKeepTheirPicksThroughCancelAndLogosStayInTheirBlock) {
    const std::int32_t sheet = NewOf(3, "Sheet");
    struct Case {
        const char* button;
        std::size_t offset;
        int frames;
    };
    const Case cases[] = {{"currentLapEditSpriteButton", M::kCurrentLapTextSprite, 1},
                          {"bestLapEditSpriteButton", M::kBestLapTextSprite, 1},
                          {"lapsToGoEditSpriteButton", M::kLapsToGoTextSprite, 1},
                          {"extraInfoEditSpriteButton", M::kExtraInfoSprite, 1},
                          {"musicOnOffSpritesButton", M::kMusicOnOffSprites, 2},
                          {"fxOnOffSpritesButton", M::kFxOnOffSprites, 2}};
    int column = 0;
    for (const Case& c : cases) {
        Edit(main, [&](QDialog* d) {
            qbtest::WithModalDialog([&] { Click(d, c.button); },
                                    [&](QDialog* sprites) {
                                        EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                                  QString("Sprite 1 of %1").arg(c.frames));
                                        std::vector<int> columns;
                                        for (int f = 0; f < c.frames; ++f) columns.push_back(column + f);
                                        PickColumns(sprites, columns);
                                    });
            Cancel(d);
        });
        for (int f = 0; f < c.frames; ++f)
            ExpectFrame(Record(main), c.offset + 8 * static_cast<std::size_t>(f), sheet, column + f);
        column += c.frames;
    }
    EXPECT_EQ(qbtest::SavedRecord(project, main), BytesOf(main));

    // A logo count above ten opens the editor on the ten frames of the block and says so.
    Edit(main, [&](QDialog* d) {
        Line(d, "logoCountLineEdit")->setText("15");
        qbtest::WithModalDialog([&] { Click(d, "logoEditSpritesButton"); },
                                [&](QDialog* sprites) {
                                    EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                              "Sprite 1 of 10");
                                    PickColumns(sprites, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
                                });
        EXPECT_EQ(Line(d, "logoCountLineEdit")->text(), "10");
        Cancel(d);
    });
    EXPECT_EQ(Record(main).i32(M::kLogoCount), 10);
    for (int f = 0; f < 10; ++f)
        ExpectFrame(Record(main), M::kLogoSprites + 8 * static_cast<std::size_t>(f), sheet, f);
    EXPECT_EQ(Record(main).i32(M::kFramesSkipped), 0);  // nothing written behind the block

    // Three logos are stored at once, even when the editor is cancelled; a negative count
    // becomes 0 and opens nothing.
    Edit(main, [&](QDialog* d) {
        Line(d, "logoCountLineEdit")->setText("3");
        qbtest::WithModalDialog([&] { Click(d, "logoEditSpritesButton"); },
                                [&](QDialog* sprites) {
                                    EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                              "Sprite 1 of 3");
                                    sprites->reject();
                                });
        Cancel(d);
    });
    EXPECT_EQ(Record(main).i32(M::kLogoCount), 3);
    EXPECT_EQ(qbtest::SavedRecord(project, main), BytesOf(main));
    Edit(main, [&](QDialog* d) {
        Line(d, "logoCountLineEdit")->setText("-2");
        Click(d, "logoEditSpritesButton");  // no editor comes up for no frames
        EXPECT_EQ(Line(d, "logoCountLineEdit")->text(), "0");
        Ok(d);
    });
    EXPECT_EQ(Record(main).i32(M::kLogoCount), 0);
}

TEST_F(RacingEditorsTest, CarDataEditsItsRecordOnOkOnly) {
    const std::int32_t car = NewOf(109, "");
    const std::int32_t sheet = NewOf(3, "Sheet");
    const std::int32_t brake = NewOf(5, "Brake");
    const std::int32_t vroom = NewOf(5, "Vroom");
    const std::int32_t tyres = NewOf(5, "Tyres");
    const char* combos[] = {"curveSoundComboBox", "accelerationSoundComboBox", "stopSoundComboBox",
                            "decelerationSoundComboBox"};
    Edit(car, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Car data");
        EXPECT_EQ(Line(d, "itemNameLineEdit")->text(), "Sprites informations");
        EXPECT_EQ(Line(d, "maxSpeedLineEdit")->text(), "120");
        EXPECT_EQ(Line(d, "accelerationLineEdit")->text(), "20");
        EXPECT_EQ(Line(d, "wakePlusSpeedLineEdit")->text(), "6");
        EXPECT_EQ(Line(d, "roadFrictionLineEdit")->text(), "10");
        EXPECT_EQ(Line(d, "offRoadFrictionLineEdit")->text(), "50");
        for (const char* zero : {"radiusLineEdit", "rotationDelayLineEdit", "curveGripLineEdit",
                                 "grassAccelerationLineEdit"})
            EXPECT_EQ(Line(d, zero)->text(), "0") << zero;
        EXPECT_FALSE(Checked(d, "enableSoundCheckBox"));
        for (const char* combo : combos) {
            EXPECT_FALSE(Combo(d, combo)->isEnabled()) << combo;
            EXPECT_EQ(Combo(d, combo)->count(), 3) << combo;
        }
        Click(d, "enableSoundCheckBox");
        for (const char* combo : combos) EXPECT_TRUE(Combo(d, combo)->isEnabled()) << combo;
        Combo(d, "curveSoundComboBox")->setCurrentIndex(2);
        Combo(d, "accelerationSoundComboBox")->setCurrentIndex(1);
        Combo(d, "stopSoundComboBox")->setCurrentIndex(0);
        Line(d, "itemNameLineEdit")->setText("Red car");
        Line(d, "maxSpeedLineEdit")->setText("-5");
        Line(d, "radiusLineEdit")->setText("14");
        Line(d, "offRoadFrictionLineEdit")->setText("150%");
        Line(d, "rotationDelayLineEdit")->setText("fast");
        Line(d, "curveGripLineEdit")->setText("7");
        Line(d, "grassAccelerationLineEdit")->setText("3");
        Ok(d);
    });
    RecordView r = Record(car);
    EXPECT_EQ(qbtest::Object(project, car).sDescrizione, "Red car");
    EXPECT_EQ(r.u32(C::kSoundEnabled), 1u);
    EXPECT_EQ(r.u32(C::kCurveSound), static_cast<std::uint32_t>(tyres));
    EXPECT_EQ(r.u32(C::kAccelerationSound), static_cast<std::uint32_t>(vroom));
    EXPECT_EQ(r.u32(C::kStopSound), static_cast<std::uint32_t>(brake));
    EXPECT_EQ(r.u32(C::kDecelerationSound), 0u);
    EXPECT_EQ(r.i32(C::kMaxSpeed), -5);
    EXPECT_EQ(r.i32(C::kAcceleration), 20);
    EXPECT_EQ(r.i32(C::kCollisionRadius), 14);
    EXPECT_EQ(r.i32(C::kOffRoadFriction), 150);
    EXPECT_EQ(r.i32(C::kRotationDelay), 0);
    EXPECT_EQ(r.i32(C::kCurveGrip), 7);
    EXPECT_EQ(r.i32(C::kGrassAcceleration), 3);
    ASSERT_FALSE(refreshed.empty());
    EXPECT_EQ(refreshed.back(), std::make_pair(car, project));

    // Clearing "Enable sound" stores the flag 0 and keeps the chosen sounds.
    Edit(car, [&](QDialog* d) {
        EXPECT_TRUE(Checked(d, "enableSoundCheckBox"));
        EXPECT_EQ(Combo(d, "curveSoundComboBox")->currentIndex(), 2);
        Click(d, "enableSoundCheckBox");
        for (const char* combo : combos) EXPECT_FALSE(Combo(d, combo)->isEnabled()) << combo;
        Ok(d);
    });
    EXPECT_EQ(Record(car).u32(C::kSoundEnabled), 0u);
    EXPECT_EQ(Record(car).u32(C::kCurveSound), static_cast<std::uint32_t>(tyres));
    EXPECT_EQ(Record(car).u32(C::kStopSound), static_cast<std::uint32_t>(brake));

    // Typed values go with Cancel; sprites picked meanwhile stay, saved.
    const Bytes before = BytesOf(car);
    Edit(car, [&](QDialog* d) {
        Line(d, "maxSpeedLineEdit")->setText("999");
        Line(d, "itemNameLineEdit")->setText("Renamed");
        qbtest::WithModalDialog([&] { Click(d, "editSpritesButton"); },
                                [&](QDialog* sprites) {
                                    EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                              "Sprite 1 of 24");
                                    PickColumns(sprites, {3, 4});
                                });
        Cancel(d);
    });
    Bytes expected = before;
    RecordView e(expected);
    for (int f = 0; f < 2; ++f) {
        const std::size_t at = 8 * static_cast<std::size_t>(f);
        e.setU32(at, static_cast<std::uint32_t>(sheet));
        e.setU8(at + 5, static_cast<std::uint8_t>(3 + f));
        e.setU8(at + 7, static_cast<std::uint8_t>(3 + f));
    }
    EXPECT_EQ(BytesOf(car), expected);
    EXPECT_EQ(qbtest::SavedRecord(project, car), expected);
    EXPECT_EQ(qbtest::Object(project, car).sDescrizione, "Red car");
}
