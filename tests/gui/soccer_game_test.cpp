// The soccer "Playing field" dialog with its map preview, and a soccer game made from New project
// to Compile through the main window and the dialogs, checked by the command-line validation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "build/gamefile.h"
#include "imaging/map_view.h"
#include "model/layouts/map.h"
#include "model/layouts/soccer_items.h"
#include "model/layouts/soccer_main.h"
#include "model/layouts/sprite_frame.h"
#include "model/projectfile.h"
#include "support/map_fixture.h"
#include "support/shell_support.h"
#include "toolkit/new_project_dialog.h"
#include "toolkit/sound_player.h"

namespace fs = std::filesystem;
using namespace qbtest;
using qb::app::Command;
namespace L = qb::layout::soccer_main;
namespace P = qb::layout::playing_field;
namespace T = qb::layout::team;
namespace cell = qb::layout::map_cell;

namespace {

QLineEdit* Line(QDialog* d, const QString& name) { return Child<QLineEdit>(d, name); }
void Click(QDialog* d, const QString& name) { Child<QAbstractButton>(d, name)->click(); }
QComboBox* Combo(QDialog* d, const QString& name) { return Child<QComboBox>(d, name); }

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
// A click, as on a cell of a sprite sheet, a tile set or a map.
void ClickAt(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}

QImage Preview(QDialog* d) { return Child<qb::ui::MapView>(d, "mapView")->area()->grab().toImage(); }

const char* const kSoundNames[] = {"kickSound",         "dribbleSound",       "poleSound",
                                   "enterStadiumSound", "goalSound",          "singleWhistleSound",
                                   "tripleWhistleSound", "musicSound"};

// "Playing field" on a project made through the model.
class PlayingFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        qb::BindPixbridge(BinDir().string());
        qb::ui::SetTreeRefresher([this](std::int32_t id, int index) { refreshed.emplace_back(id, index); });
    }
    void TearDown() override { qb::ui::SetTreeRefresher(nullptr); }
    qb::Bytes& bytes() { return Object(project, field).lpDatiOggetto; }
    qb::RecordView record() { return Object(project, field).record(); }

    TempAppFolder app;
    int project = NewProject("Field", qb::game::Soccer);
    std::int32_t field = NewItemOfType(project, 308);
    std::vector<std::pair<std::int32_t, int>> refreshed;
};

TEST_F(PlayingFieldTest, ANewFieldOpensWithItsDefaultsAndAllSoundsOff) {
    ASSERT_NE(field, 0);
    EXPECT_EQ(bytes().size(), P::kSize);
    NewItemOfType(project, 5, "Whistle");
    Edit(project, field, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Playing field");
        EXPECT_EQ(Line(d, "itemNameLineEdit")->text(), "Rooms informations");
        const std::pair<const char*, const char*> numbers[] = {
            {"playingAreaXLineEdit", "10"}, {"playingAreaYLineEdit", "400"},
            {"goalAreaXLineEdit", "100"},   {"pileAreaXLineEdit", "0"},
            {"halfAreaXLineEdit", "0"},     {"areaYLineEdit", "0"},
            {"cpuKickXLineEdit", "0"},      {"cpuKickYLineEdit", "0"}};
        for (const auto& [name, value] : numbers) EXPECT_EQ(Line(d, name)->text(), value) << name;
        for (const char* sound : kSoundNames) {
            EXPECT_FALSE(Child<QCheckBox>(d, QString(sound) + "CheckBox")->isChecked()) << sound;
            EXPECT_FALSE(Combo(d, QString(sound) + "ComboBox")->isEnabled()) << sound;
            EXPECT_EQ(Combo(d, QString(sound) + "ComboBox")->count(), 1) << sound;
        }
        EXPECT_EQ(Combo(d, "backgroundMapComboBox")->currentIndex(), -1);
        auto* view = Child<qb::ui::MapView>(d, "mapView");
        EXPECT_EQ(view->state(), qb::ui::MapViewState::SetUp);
        EXPECT_EQ(view->area()->size(), QSize(320, 320));
        // Every field's label names its field (a play button's message names none).
        for (QLabel* label : d->findChildren<QLabel*>())
            if (!qobject_cast<qb::ui::SoundPlayer*>(label->parentWidget()))
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
        Cancel(d);
    });
}

TEST_F(PlayingFieldTest, ThePreviewShowsTheChosenMapAndOnlyOkStoresIt) {
    const std::int32_t tiles = AddTileSet(project, 320, 320, 32, 0, 104);
    const std::int32_t grass = AddMap(project, 12, 10, 32, "Grass");
    const std::int32_t clay = AddMap(project, 12, 10, 32, "Clay");
    SetCell(Object(project, grass).lpDatiOggetto, 0, 0, cell::Make(tiles, 2, 1));
    SetCell(Object(project, clay).lpDatiOggetto, 0, 0, cell::Make(tiles, 5, 3));
    record().setU32(P::kBackgroundMap, static_cast<std::uint32_t>(grass));
    const qb::Bytes before = bytes();

    Edit(project, field, [&](QDialog* d) {
        auto* view = Child<qb::ui::MapView>(d, "mapView");
        EXPECT_EQ(Combo(d, "backgroundMapComboBox")->currentText(), "Grass");
        EXPECT_EQ(view->mapItemId(), grass);
        EXPECT_EQ(Preview(d).pixel(5, 5), TileColour(0, 2, 1));
        // The preview is a picture only: clicks and moves in it change nothing.
        ClickAt(view->area(), {40, 40});
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(1);
        EXPECT_EQ(view->mapItemId(), clay);
        EXPECT_EQ(Preview(d).pixel(5, 5), TileColour(0, 5, 3));
        EXPECT_EQ(bytes(), before);
        Cancel(d);
    });
    EXPECT_EQ(bytes(), before);

    Edit(project, field, [&](QDialog* d) {
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(1);
        Ok(d);
    });
    EXPECT_EQ(record().u32(P::kBackgroundMap), static_cast<std::uint32_t>(clay));
    EXPECT_EQ(SavedRecord(project, field), bytes());
}

TEST_F(PlayingFieldTest, OkStoresEveryFieldAndEverySoundPair) {
    const std::int32_t a = NewItemOfType(project, 5, "Kick");
    const std::int32_t b = NewItemOfType(project, 5, "Crowd");
    ASSERT_NE(b, 0);
    // A switched-off sound keeps its sound.
    record().setU32(P::kPoleSound + 4, static_cast<std::uint32_t>(b));
    Edit(project, field, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Wembley");
        const std::pair<const char*, const char*> typed[] = {
            {"playingAreaXLineEdit", "608"}, {"playingAreaYLineEdit", " 512 px"},
            {"goalAreaXLineEdit", "-96"},    {"pileAreaXLineEdit", "8"},
            {"halfAreaXLineEdit", "304"},    {"areaYLineEdit", "256"},
            {"cpuKickXLineEdit", "-3"},      {"cpuKickYLineEdit", "x"}};
        for (const auto& [name, text] : typed) Line(d, name)->setText(text);
        EXPECT_EQ(Combo(d, "poleSoundComboBox")->currentText(), "Crowd");
        int i = 0;
        for (const char* sound : kSoundNames) {
            if (i % 2 == 0) {
                Click(d, QString(sound) + "CheckBox");
                EXPECT_TRUE(Combo(d, QString(sound) + "ComboBox")->isEnabled()) << sound;
                Combo(d, QString(sound) + "ComboBox")->setCurrentIndex(i % 4 == 0 ? 0 : 1);
            }
            ++i;
        }
        Ok(d);
    });
    qb::Bytes expected(P::kSize, 0);
    qb::RecordView e(expected);
    const std::pair<std::size_t, std::int32_t> values[] = {
        {P::kPlayingAreaX, 608}, {P::kPlayingAreaY, 512}, {P::kGoalAreaX, -96}, {P::kPileAreaX, 8},
        {P::kHalfAreaX, 304},    {P::kAreaY, 256},        {P::kCpuKickX, -3},   {P::kCpuKickY, 0}};
    for (const auto& [offset, value] : values) e.setI32(offset, value);
    const std::size_t pairs[] = {P::kKickSound,       P::kDribbleSound,        P::kPoleSound,
                                 P::kEnterStadiumSound, P::kGoalSound,         P::kSingleWhistleSound,
                                 P::kTripleWhistleSound, P::kMusicSound};
    for (std::size_t i = 0; i < 8; i += 2) {
        e.setU32(pairs[i], 1);
        e.setU32(pairs[i] + 4, static_cast<std::uint32_t>(i % 4 == 0 ? a : b));
    }
    e.setU32(P::kPoleSound + 4, static_cast<std::uint32_t>(b));
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(Object(project, field).sDescrizione, "Wembley");
    EXPECT_EQ(SavedRecord(project, field), expected);
    ASSERT_FALSE(refreshed.empty());
    EXPECT_EQ(refreshed.back(), std::make_pair(field, project));

    // Unticking a sound disables its combo again and stores 0 with the sound kept.
    Edit(project, field, [&](QDialog* d) {
        Click(d, "kickSoundCheckBox");
        EXPECT_FALSE(Combo(d, "kickSoundComboBox")->isEnabled());
        Ok(d);
    });
    EXPECT_EQ(record().u32(P::kKickSound), 0u);
    EXPECT_EQ(record().u32(P::kKickSound + 4), static_cast<std::uint32_t>(a));
}

TEST_F(PlayingFieldTest, MissingMapsAndUnusableMapsShowNothing) {
    const std::int32_t team = NewItemOfType(project, 301, "Not a map");
    const std::int32_t noTiles = AddMap(project, 12, 10, 32, "No tiles");  // no tile set at all
    for (const std::uint32_t stored : {4321u, static_cast<std::uint32_t>(team), static_cast<std::uint32_t>(noTiles)}) {
        record().setU32(P::kBackgroundMap, stored);
        Edit(project, field, [&](QDialog* d) {
            auto* view = Child<qb::ui::MapView>(d, "mapView");
            EXPECT_EQ(view->state(), qb::ui::MapViewState::SetUp) << stored;
            EXPECT_EQ(Combo(d, "backgroundMapComboBox")->currentIndex(),
                      stored == static_cast<std::uint32_t>(noTiles) ? 0 : -1);
            Ok(d);
        });
        // A map that is gone or is no map is stored as none; the map without tiles stays.
        EXPECT_EQ(record().u32(P::kBackgroundMap), stored == static_cast<std::uint32_t>(noTiles) ? stored : 0u);
    }
    // A short record neither grows nor is written past.
    bytes().resize(32);  // the dribble sound's flag, not its sound
    Edit(project, field, [&](QDialog* d) {
        Click(d, "dribbleSoundCheckBox");
        Line(d, "cpuKickYLineEdit")->setText("9");
        Ok(d);
    });
    EXPECT_EQ(bytes().size(), 32u);
    EXPECT_EQ(record().u32(P::kDribbleSound), 1u);
}

// A whole game through the main window.
class SoccerGameTest : public ShellTest {
protected:
    std::int32_t newItemIn(int project, std::uint32_t subtype) {
        select(GroupId(project, subtype), project);
        click(Command::NewItem);
        return current() ? current()->objectId : 0;
    }
    void editItem(std::int32_t id, int project, const std::function<void(QDialog*)>& act) {
        select(id, project);
        clickWithDialog(Command::EditItem, act);
    }
};

TEST_F(SoccerGameTest, ASoccerGameMadeInTheDialogsValidatesAndCompiles) {
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        QTest::keyClicks(d->nameEdit(), "Cup final");
        ASSERT_TRUE(d->choice(qb::game::Soccer)->isVisibleTo(d));
        d->choice(qb::game::Soccer)->click();
        d->okButton()->click();
    });
    ASSERT_EQ(qb::Workspace().projects.size(), 1u);
    const int p = 0;
    ASSERT_EQ(qb::ProjectAt(p)->tipoGioco, qb::game::Soccer);
    const fs::path folder = qb::ProjectAt(p)->sPathProgetto;
    const std::int32_t main = ObjectOfType(p, 300);
    ASSERT_NE(main, 0);

    // Pictures and sounds start as copies of the default assets.
    const std::int32_t tiles = newItemIn(p, 104);
    const std::int32_t sheet = newItemIn(p, 3);
    const std::int32_t splash = newItemIn(p, 13);
    const std::int32_t font = newItemIn(p, 2);
    const std::int32_t whistle = newItemIn(p, 5);
    ASSERT_NE(whistle, 0);

    // The field map: 20 x 15 tiles, every one painted with the first tile of the tile set.
    const std::int32_t map = newItemIn(p, 6);
    editItem(map, p, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Background map parameters");
        Line(d, "itemNameLineEdit")->setText("Pitch");
        Line(d, "verticalPiecesLineEdit")->setText("15");
        Ok(d);
    });
    editItem(map, p, [&](QDialog* d) {
        WithModalDialog([&] { Click(d, "editMapButton"); }, [&](QDialog* painter) {
            ClickAt(Child<QWidget>(painter, "tilePickerView"), {5, 5});
            Click(painter, "fillButton");
            Click(painter, "okAndSaveButton");
        });
        Cancel(d);  // the painter saved the map itself
    });
    {
        const qb::Bytes& cells = Object(p, map).lpDatiOggetto;
        ASSERT_EQ(cells.size(), qb::layout::map::SizeFor(20, 15));
        EXPECT_EQ(CellAt(cells, 19, 14), cell::Make(static_cast<std::uint32_t>(tiles), 0, 0));
    }

    // Two teams.
    const std::int32_t lions = newItemIn(p, 301);
    const std::int32_t tigers = newItemIn(p, 301);
    editItem(lions, p, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Lions");
        Line(d, "shirtColourLineEdit")->setText("16711680");
        Line(d, "playerCountLineEdit")->setText("5");
        for (int i = 1; i <= 5; ++i) Line(d, QString("player%1XLineEdit").arg(i))->setText(QString::number(60 * i));
        Ok(d);
    });
    editItem(tigers, p, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Tigers");
        Line(d, "kickPowerLineEdit")->setText("70");
        Ok(d);
    });
    EXPECT_EQ(current()->label, "Tigers");  // the tree shows the new name, still selected

    // The playing field on the map, with a whistle.
    const std::int32_t field = newItemIn(p, 308);
    editItem(field, p, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Stadium");
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
        EXPECT_EQ(Child<qb::ui::MapView>(d, "mapView")->mapItemId(), map);
        EXPECT_NE(Preview(d).pixel(5, 5), qRgb(255, 255, 255));
        Click(d, "singleWhistleSoundCheckBox");
        Combo(d, "singleWhistleSoundComboBox")->setCurrentIndex(0);
        Ok(d);
    });

    // Main parameters: teams, opponents, field, screens, and the animations.
    editItem(main, p, [&](QDialog* d) {
        Combo(d, "playerTeamComboBox")->setCurrentIndex(0);
        Combo(d, "playingFieldComboBox")->setCurrentIndex(0);
        for (const char* combo : {"splashTitleComboBox", "splashWinComboBox", "splashLoseComboBox",
                                  "defaultFontComboBox", "playerScoreFontComboBox",
                                  "opponentScoreFontComboBox"})
            Combo(d, combo)->setCurrentIndex(0);
        for (int team : {1, 0}) {
            Combo(d, "opponentComboBox")->setCurrentIndex(team);
            Click(d, "addOpponentButton");
        }
        // One frame for each of the eight directions.
        Line(d, "playerRunningFramesLineEdit")->setText("1");
        WithModalDialog([&] { Click(d, "playerRunningEditButton"); }, [&](QDialog* sprites) {
            for (int direction = 0; direction < 8; ++direction) {
                ClickAt(Child<QWidget>(sprites, "sheetView"), {direction * 32 + 5, 5});
                Click(sprites, "nextFrameButton");
            }
            Click(sprites, "okAndSaveButton");
        });
        WithModalDialog([&] { Click(d, "ballSpriteEditButton"); }, [&](QDialog* sprites) {
            ClickAt(Child<QWidget>(sprites, "sheetView"), {5, 37});
            Click(sprites, "okAndSaveButton");
        });
        Line(d, "descriptionWhileLoadingLineEdit")->setText("Teams are coming out");
        Click(d, "specificPathRadioButton");
        Line(d, "resourcePathLineEdit")->setText("http://games.example.org/cup");
        Ok(d);
    });
    qb::RecordView r = Object(p, main).record();
    EXPECT_EQ(r.u32(L::kPlayerTeam), static_cast<std::uint32_t>(lions));
    EXPECT_EQ(r.i32(L::kOpponentCount), 2);
    EXPECT_EQ(r.u32(L::kOpponents), static_cast<std::uint32_t>(tigers));
    EXPECT_EQ(r.u32(L::kOpponents + 4), static_cast<std::uint32_t>(lions));
    EXPECT_EQ(r.u32(L::kPlayingField), static_cast<std::uint32_t>(field));
    EXPECT_EQ(r.u32(L::kSplashWin), static_cast<std::uint32_t>(splash));
    EXPECT_EQ(r.u32(L::kOpponentScoreFont), static_cast<std::uint32_t>(font));
    EXPECT_EQ(r.i32(L::kPlayerRunFrames), 1);
    for (std::size_t direction = 0; direction < 8; ++direction) {
        const std::size_t at = qb::layout::sprite_frame::At(L::kPlayerRunSprites, direction);
        EXPECT_EQ(r.u32(at), static_cast<std::uint32_t>(sheet)) << direction;
        EXPECT_EQ(r.u8(at + qb::layout::sprite_frame::kFirstColumn), direction) << direction;
    }
    EXPECT_EQ(r.u8(L::kBallSprite + qb::layout::sprite_frame::kFirstRow), 1);
    qb::RecordView f = Object(p, field).record();
    EXPECT_EQ(f.u32(P::kBackgroundMap), static_cast<std::uint32_t>(map));
    EXPECT_EQ(f.u32(P::kSingleWhistleSound + 4), static_cast<std::uint32_t>(whistle));
    EXPECT_EQ(Object(p, lions).record().i32(T::kPlayers + 4 * T::kPlayerSize + T::player::kX), 300);

    // What was saved is what the editors hold.
    const qb::ProjectRecord saved = SavedProject(p);
    ASSERT_EQ(saved.objects.size(), qb::ProjectAt(p)->objects.size());
    for (std::size_t i = 0; i < saved.objects.size(); ++i)
        EXPECT_EQ(saved.objects[i].lpDatiOggetto, qb::ProjectAt(p)->objects[i].lpDatiOggetto) << i;

    // The command-line validation finds nothing.
    QProcess cli;
    cli.start(QString::fromStdString((BinDir() / "quillbox-cli").string()),
              {"--app-folder", QString::fromStdString(app.path().string()), "validate",
               QString::fromStdString(folder.filename().string())});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(cli.readAllStandardError().toStdString(), "");

    // Compile: the game and its page in Release, the project inside the game file.
    select(-1, p);
    WithoutModalDialog([&] { click(Command::Compile); });
    EXPECT_TRUE(app.messages.texts.empty()) << app.messages.texts.front();
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(app.desktop.opened[0], (folder / "Release").string());
    qb::GameFileContents contents;
    std::string error;
    ASSERT_TRUE(qb::ReadGameFile((folder / "Release" / "Game.swf").string(), contents, &error)) << error;
    EXPECT_EQ(contents.projectText, ReadFile(folder / "project.ini"));
    EXPECT_NE(contents.projectText.find("descriptionWhileLoading=Teams are coming out"), std::string::npos);
    EXPECT_NE(contents.projectText.find("dimX=512"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "Game.HTML"));
    EXPECT_NE(contents.projectText.find("sPathExternalFiles=http://games.example.org/cup/"),
              std::string::npos);
    // Resources at a path: the pictures and sounds to upload there are copied beside the game.
    std::size_t copied = 0;
    for (const auto& entry : fs::directory_iterator(folder / "Release" / "RemoteData")) {
        EXPECT_TRUE(fs::exists(folder / entry.path().filename())) << entry.path();
        ++copied;
    }
    EXPECT_EQ(copied, 5u);  // the tile set, the sheet, the splash, the font and the whistle
}

} // namespace
