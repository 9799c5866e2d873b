// "Room data": the rules that enable and show the composing controls, points picked on the map,
// the elements drawn over it, Add new / Change / Delete on the working copy, the record OK
// writes, damaged rooms; and a platform game of two connected rooms made through the main
// window and its dialogs, then compiled.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "build/build.h"
#include "build/gamefile.h"
#include "build/validate.h"
#include "editors/platform/room.h"
#include "imaging/map_view.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/layouts/platform_items.h"
#include "model/layouts/platform_main.h"
#include "support/map_fixture.h"
#include "support/shell_support.h"
#include "toolkit/new_project_dialog.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace R = qb::layout::room;
namespace El = qb::layout::room::element;

namespace {

QLineEdit* LineEdit(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QString Text(QDialog* d, const char* name) { return LineEdit(d, name)->text(); }
void Type(QDialog* d, const char* name, const QString& text) { LineEdit(d, name)->setText(text); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
bool Enabled(QDialog* d, const char* name) { return Child<QWidget>(d, name)->isEnabled(); }
bool Shown(QDialog* d, const char* name) { return Child<QWidget>(d, name)->isVisibleTo(d); }
QPushButton* OkButton(QDialog* d) {
    return Child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok);
}
QWidget* MapArea(QDialog* d) { return Child<QWidget>(d, "mapViewArea"); }

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void Hover(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
void LeftClick(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}

bool Near(QRgb a, QColor b) {
    return std::abs(qRed(a) - b.red()) < 8 && std::abs(qGreen(a) - b.green()) < 8 &&
           std::abs(qBlue(a) - b.blue()) < 8;
}

// A platform project with a 16-pixel tile set and a map of its 32 x 16 tiles.
struct RoomFixture : ::testing::Test {
    RoomFixture() {
        qb::BindPixbridge(BinDir().string());
        tiles = AddTileSet(project, 320, 320, 16, 1, 104);
        map = NewItemOfType(project, 6, "Hall map");
        // A new platform map is 32 x 16 tiles of 16 pixels.
        qb::RecordView r = Object(project, map).record();
        EXPECT_EQ(r.u32(qb::layout::map::kWidth), 32u);
        EXPECT_EQ(r.u32(qb::layout::map::kHeight), 16u);
        EXPECT_EQ(r.i32(qb::layout::map::kTileSize), 16);
        for (std::uint32_t x = 0; x < 32; ++x)
            SetCell(Object(project, map).lpDatiOggetto, x, 15,
                    qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), 1, 2));
    }
    TempAppFolder app;
    int project = NewProject("Rooms", qb::game::Platform);
    std::int32_t tiles = 0, map = 0;
    std::int32_t enemy = NewItemOfType(project, 207, "Robot");
    std::int32_t item = NewItemOfType(project, 214, "Tap");
    std::int32_t room = NewItemOfType(project, 208);
    qb::RecordView record() { return Object(project, room).record(); }
};

TEST_F(RoomFixture, RulesOfTheComposingControls) {
    EXPECT_EQ(Object(project, room).sDescrizione, "Rooms informations");
    Edit(project, room, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Room data");
        EXPECT_FALSE(OkButton(d)->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>(d, "enemieRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "horizontalRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "noShotRadioButton")->isChecked());
        EXPECT_EQ(Text(d, "shotTimeoutLineEdit"), "5000");
        EXPECT_TRUE(Child<QCheckBox>(d, "fitPositionCheckBox")->isChecked());
        for (const char* zero : {"xInitLineEdit", "yInitLineEdit", "xEndLineEdit", "yEndLineEdit",
                                 "percentInitLineEdit"})
            EXPECT_EQ(Text(d, zero), "0") << zero;
        EXPECT_FALSE(Shown(d, "speedLineEdit"));
        EXPECT_FALSE(Shown(d, "xScreenPositionLineEdit"));
        EXPECT_FALSE(Shown(d, "bonusTypeComboBox"));
        for (const char* off : {"addNewPushButton", "xInitLineEdit", "chooseInitFromMapPushButton",
                                "verticalRadioButton", "shotTimeoutLineEdit", "xEndLineEdit"})
            EXPECT_FALSE(Enabled(d, off)) << off;

        // A map enables OK; an enemy as well enables "Add new" and the enemy's controls.
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        EXPECT_TRUE(OkButton(d)->isEnabled());
        EXPECT_FALSE(Enabled(d, "addNewPushButton"));
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        EXPECT_TRUE(Enabled(d, "addNewPushButton"));
        for (const char* on : {"xInitLineEdit", "yInitLineEdit", "chooseInitFromMapPushButton",
                               "chooseEndFromMapPushButton", "verticalRadioButton",
                               "horizontalRadioButton", "noShotRadioButton", "shotRadioButton",
                               "shotTimeoutLineEdit", "percentInitLineEdit",
                               "reversedDirectionCheckBox", "xEndLineEdit"})
            EXPECT_TRUE(Enabled(d, on)) << on;
        EXPECT_FALSE(Enabled(d, "yEndLineEdit"));
        Click(d, "verticalRadioButton");
        EXPECT_TRUE(Enabled(d, "yEndLineEdit"));
        EXPECT_FALSE(Enabled(d, "xEndLineEdit"));

        // "Bonus" shows its own combo and hides what only enemies have.
        Click(d, "bonusRadioButton");
        EXPECT_TRUE(Shown(d, "bonusTypeComboBox"));
        for (const char* hidden : {"enemieTypeComboBox", "verticalRadioButton",
                                   "horizontalRadioButton", "xEndLineEdit", "yEndLineEdit",
                                   "chooseEndFromMapPushButton", "percentInitLineEdit",
                                   "reversedDirectionCheckBox", "shotGroupBox"})
            EXPECT_FALSE(Shown(d, hidden)) << hidden;
        EXPECT_FALSE(Enabled(d, "addNewPushButton"));
        EXPECT_FALSE(Enabled(d, "xInitLineEdit"));
        Child<QComboBox>(d, "bonusTypeComboBox")->setCurrentIndex(0);
        EXPECT_TRUE(Enabled(d, "addNewPushButton"));
        EXPECT_TRUE(Enabled(d, "xInitLineEdit"));
        EXPECT_TRUE(Enabled(d, "chooseInitFromMapPushButton"));

        // No map again: OK and "Add new" go off.
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(-1);
        EXPECT_FALSE(OkButton(d)->isEnabled());
        EXPECT_FALSE(Enabled(d, "addNewPushButton"));
        // Enter in an edit does not get past the disabled OK.
        QTest::keyClick(LineEdit(d, "roomCodeLineEdit"), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        Cancel(d);
    });
}

TEST_F(RoomFixture, PointsPickedOnTheMap) {
    Edit(project, room, [&](QDialog* d) {
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        auto* view = Child<qb::ui::MapView>(d, "mapView");
        ASSERT_EQ(view->state(), qb::ui::MapViewState::Showing);
        QWidget* area = MapArea(d);
        // Nothing is written while neither button is down.
        Hover(area, {37, 50});
        EXPECT_EQ(Text(d, "xInitLineEdit"), "0");

        // Fit: a cursor 37 right of and 50 below the corner gives x = L + 40, y = T - 48, with
        // L = 0 and T = 16 x 16.
        Click(d, "chooseInitFromMapPushButton");
        Hover(area, {37, 50});
        EXPECT_EQ(Text(d, "xInitLineEdit"), "40");
        EXPECT_EQ(Text(d, "yInitLineEdit"), QString::number(256 - 48));
        EXPECT_EQ(Text(d, "xEndLineEdit"), "0");
        // Scrolled three tiles across: L = 48.
        view->horizontalBar()->setValue(3);
        Hover(area, {37, 50});
        EXPECT_EQ(Text(d, "xInitLineEdit"), "88");
        // Without fit the cursor's own point, its y counted one more.
        Click(d, "fitPositionCheckBox");
        Click(d, "chooseEndFromMapPushButton");  // both down at once
        Hover(area, {37, 50});
        EXPECT_EQ(Text(d, "xInitLineEdit"), "85");
        EXPECT_EQ(Text(d, "yInitLineEdit"), QString::number(256 - 51));
        EXPECT_EQ(Text(d, "xEndLineEdit"), "85");
        EXPECT_EQ(Text(d, "yEndLineEdit"), QString::number(256 - 51));
        // A left click lets both go; the last point stays.
        LeftClick(area, {37, 50});
        EXPECT_FALSE(Child<QPushButton>(d, "chooseInitFromMapPushButton")->isChecked());
        EXPECT_FALSE(Child<QPushButton>(d, "chooseEndFromMapPushButton")->isChecked());
        Hover(area, {200, 200});
        EXPECT_EQ(Text(d, "xInitLineEdit"), "85");
        Cancel(d);
    });
}

TEST_F(RoomFixture, ElementsAddedChangedDeletedAndWhatOkWrites) {
    const qb::Bytes before = Object(project, room).lpDatiOggetto;
    Edit(project, room, [&](QDialog* d) {
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        // A vertical enemy that shoots.
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        Click(d, "verticalRadioButton");
        Type(d, "xInitLineEdit", "72");
        Type(d, "yInitLineEdit", "100");
        Type(d, "yEndLineEdit", "200");
        Type(d, "xEndLineEdit", "999");  // disabled, but added as the controls hold it
        Type(d, "percentInitLineEdit", "25");
        Click(d, "reversedDirectionCheckBox");
        Click(d, "shotRadioButton");
        Type(d, "shotTimeoutLineEdit", "1500");
        Click(d, "addNewPushButton");
        // The controls are reset.
        EXPECT_TRUE(Child<QRadioButton>(d, "horizontalRadioButton")->isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "enemieTypeComboBox")->currentIndex(), -1);
        EXPECT_EQ(Text(d, "shotTimeoutLineEdit"), "5000");
        EXPECT_EQ(Text(d, "yEndLineEdit"), "0");
        // A bonus.
        Click(d, "bonusRadioButton");
        Child<QComboBox>(d, "bonusTypeComboBox")->setCurrentIndex(0);
        Type(d, "xInitLineEdit", "24");
        Type(d, "yInitLineEdit", "32");
        Click(d, "addNewPushButton");
        // A horizontal enemy.
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        Type(d, "xInitLineEdit", "16");
        Type(d, "yInitLineEdit", "40");
        Type(d, "xEndLineEdit", "200");
        Click(d, "addNewPushButton");
        auto* list = Child<QListWidget>(d, "elementsListWidget");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), "Vertical enemie ");
        EXPECT_EQ(list->item(1)->text(), "Bonus ");
        EXPECT_EQ(list->item(2)->text(), "Horizontal enemie ");

        // "Change" brings an element back into the controls and out of the list.
        list->setCurrentRow(0);
        Click(d, "changePushButton");
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text(), "Bonus ");
        EXPECT_TRUE(Child<QRadioButton>(d, "verticalRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "shotRadioButton")->isChecked());
        EXPECT_TRUE(Child<QCheckBox>(d, "reversedDirectionCheckBox")->isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "enemieTypeComboBox")->currentIndex(), 0);
        EXPECT_EQ(Text(d, "yEndLineEdit"), "200");
        EXPECT_EQ(Text(d, "percentInitLineEdit"), "25");
        EXPECT_EQ(Text(d, "shotTimeoutLineEdit"), "1500");
        EXPECT_TRUE(Enabled(d, "yEndLineEdit"));
        Click(d, "addNewPushButton");  // back in, now last
        // "Change" and "Delete" without a selection do nothing.
        list->setCurrentRow(-1);
        Click(d, "changePushButton");
        Click(d, "deletePushButton");
        EXPECT_EQ(list->count(), 3);
        // Cancel drops the working copy.
        Cancel(d);
    });
    EXPECT_EQ(Object(project, room).lpDatiOggetto, before);

    Edit(project, room, [&](QDialog* d) {
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        Click(d, "verticalRadioButton");
        Type(d, "xInitLineEdit", "72");
        Type(d, "yInitLineEdit", "100");
        Type(d, "yEndLineEdit", "200");
        Type(d, "percentInitLineEdit", "25");
        Click(d, "shotRadioButton");
        Click(d, "addNewPushButton");
        Click(d, "bonusRadioButton");
        Child<QComboBox>(d, "bonusTypeComboBox")->setCurrentIndex(0);
        Type(d, "xInitLineEdit", "24");
        Type(d, "yInitLineEdit", "32");
        Click(d, "addNewPushButton");
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        Click(d, "addNewPushButton");
        // Delete moves the following ones up.
        Child<QListWidget>(d, "elementsListWidget")->setCurrentRow(1);
        Click(d, "deletePushButton");
        Type(d, "roomCodeLineEdit", "3");
        Type(d, "leftRoomLineEdit", "2");
        Type(d, "rightRoomLineEdit", "4");
        Type(d, "topRoomLineEdit", "-1");
        Type(d, "bottomRoomLineEdit", "77");  // no such room: stored as typed
        Type(d, "itemNameLineEdit", "Hall");
        Ok(d);
    });
    // The record exactly: header, then the two elements, then zeros.
    qb::Bytes expected(R::kSize, 0);
    qb::RecordView e(expected);
    e.setI32(R::kRoomCode, 3);
    e.setU32(R::kBackgroundMap, static_cast<std::uint32_t>(map));
    e.setI32(R::kElementCount, 2);
    e.setI32(R::kLeftRoom, 2);
    e.setI32(R::kTopRoom, -1);
    e.setI32(R::kRightRoom, 4);
    e.setI32(R::kBottomRoom, 77);
    std::size_t at = R::kElements;
    e.setI32(at + El::kKind, El::kVerticalEnemy);
    e.setU32(at + El::kEnemy, static_cast<std::uint32_t>(enemy));
    e.setI32(at + El::kInitX, 72);
    e.setI32(at + El::kInitY, 100);
    e.setI32(at + El::kEndY, 200);
    e.setU32(at + El::kShoots, 1);
    e.setI32(at + El::kShotTimeout, 5000);
    e.setI32(at + El::kStartPercent, 25);
    at += R::kElementSize;
    e.setI32(at + El::kKind, El::kHorizontalEnemy);
    e.setU32(at + El::kEnemy, static_cast<std::uint32_t>(enemy));
    e.setI32(at + El::kShotTimeout, 5000);
    EXPECT_EQ(Object(project, room).lpDatiOggetto, expected);
    EXPECT_EQ(Object(project, room).sDescrizione, "Hall");
    EXPECT_EQ(SavedRecord(project, room), expected);
}

TEST_F(RoomFixture, ElementsAreDrawnOverTheMap) {
    // A vertical enemy from y 100 to 200 starting at 25 %: its tick is at map y 125. A bonus at
    // (24, 32), selected in the list.
    qb::RecordView r = record();
    r.setU32(R::kBackgroundMap, static_cast<std::uint32_t>(map));
    r.setI32(R::kElementCount, 2);
    r.setI32(R::kElements + El::kKind, El::kVerticalEnemy);
    r.setI32(R::kElements + El::kInitX, 72);
    r.setI32(R::kElements + El::kInitY, 100);
    r.setI32(R::kElements + El::kEndY, 200);
    r.setI32(R::kElements + El::kStartPercent, 25);
    const std::size_t b = R::kElements + R::kElementSize;
    r.setI32(b + El::kKind, El::kBonus);
    r.setI32(b + El::kInitX, 24);
    r.setI32(b + El::kInitY, 32);
    EXPECT_EQ(qb::ui::RoomElementStart(100, 200, 25), 125);
    EXPECT_EQ(qb::ui::RoomElementStart(200, 100, 25), 175);
    EXPECT_EQ(qb::ui::RoomElementStart(0, -150, 1), -1);  // the fraction dropped toward zero
    EXPECT_EQ(qb::ui::RoomElementStart(INT32_MIN, INT32_MAX, INT32_MAX),
              static_cast<std::int64_t>(INT32_MIN) +
                  (static_cast<std::int64_t>(UINT32_MAX) * INT32_MAX) / 100);
    constexpr int T = 256;
    Edit(project, room, [&](QDialog* d) {
        const QColor green(Qt::green), red(Qt::red), yellow(Qt::yellow);
        QImage shot = MapArea(d)->grab().toImage();
        // The path: x 72 from view y T-101 to T-201; the tick 16 wide at view y T-126.
        EXPECT_TRUE(Near(shot.pixel(72, T - 150), green));
        EXPECT_TRUE(Near(shot.pixel(66, T - 126), green));
        EXPECT_TRUE(Near(shot.pixel(78, T - 126), green));
        EXPECT_FALSE(Near(shot.pixel(66, T - 125), green));
        EXPECT_FALSE(Near(shot.pixel(66, T - 127), green));
        // The bonus's square: bottom edge at view y T-33, top edge 4 above.
        EXPECT_TRUE(Near(shot.pixel(22, T - 33), green));
        EXPECT_TRUE(Near(shot.pixel(26, T - 37), green));
        EXPECT_FALSE(Near(shot.pixel(24, T - 35), green));
        // Selected in the list: red.
        Child<QListWidget>(d, "elementsListWidget")->setCurrentRow(1);
        shot = MapArea(d)->grab().toImage();
        EXPECT_TRUE(Near(shot.pixel(22, T - 33), red));
        EXPECT_TRUE(Near(shot.pixel(72, T - 150), green));
        // The element being composed, once it has a position: yellow, horizontal, its tick
        // 16 high at the start.
        Type(d, "xInitLineEdit", "100");
        Type(d, "yInitLineEdit", "40");
        Type(d, "xEndLineEdit", "300");
        Type(d, "percentInitLineEdit", "50");
        shot = MapArea(d)->grab().toImage();
        EXPECT_TRUE(Near(shot.pixel(150, T - 41), yellow));
        EXPECT_TRUE(Near(shot.pixel(200, T - 41 - 10), yellow));
        EXPECT_FALSE(Near(shot.pixel(200, T - 41 - 20), yellow));
        // Positions far off the map draw nothing and break nothing.
        Type(d, "xInitLineEdit", "-2147483648");
        Type(d, "yInitLineEdit", "2147483647");
        Type(d, "xEndLineEdit", "2147483647");
        Type(d, "percentInitLineEdit", "2147483647");
        MapArea(d)->grab();
        Cancel(d);
    });
}

TEST_F(RoomFixture, DamagedRoomsAndTheTwentyElementLimit) {
    // A count above 20 lists twenty; OK writes twenty and the full-size record.
    Object(project, room).lpDatiOggetto.resize(R::kSize + 40, 0xEE);
    record().setU32(R::kBackgroundMap, 0xFFFF0000u | static_cast<std::uint32_t>(map));
    record().setI32(R::kElementCount, 5000);
    Edit(project, room, [&](QDialog* d) {
        EXPECT_EQ(Child<QListWidget>(d, "elementsListWidget")->count(), 20);
        EXPECT_EQ(Child<QComboBox>(d, "backgroundMapComboBox")->currentIndex(), 0);
        // Twenty stored: "Add new" refuses with a message and writes nothing.
        Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
        Click(d, "addNewPushButton");
        EXPECT_EQ(Child<QListWidget>(d, "elementsListWidget")->count(), 20);
        Ok(d);
    });
    ASSERT_FALSE(app.messages.texts.empty());
    EXPECT_EQ(app.messages.texts.back(), "Maximum number of elements (20) is reached!");
    EXPECT_EQ(Object(project, room).dimDatiOggetto(), R::kSize);
    EXPECT_EQ(record().i32(R::kElementCount), 20);
    EXPECT_EQ(record().u32(R::kBackgroundMap), static_cast<std::uint32_t>(map));

    // A negative count lists nothing; a record cut short opens and OK writes a whole one.
    record().setI32(R::kElementCount, -7);
    Object(project, room).lpDatiOggetto.resize(30);
    Edit(project, room, [&](QDialog* d) {
        EXPECT_EQ(Child<QListWidget>(d, "elementsListWidget")->count(), 0);
        Child<QComboBox>(d, "bonusTypeComboBox");
        Click(d, "bonusRadioButton");
        Child<QComboBox>(d, "bonusTypeComboBox")->setCurrentIndex(0);
        Click(d, "addNewPushButton");
        Ok(d);
    });
    EXPECT_EQ(Object(project, room).dimDatiOggetto(), R::kSize);
    EXPECT_EQ(record().i32(R::kElementCount), 1);
    EXPECT_EQ(record().u32(R::kElements + El::kItem), static_cast<std::uint32_t>(item));
    EXPECT_EQ(record().u32(R::kElements + R::kElementSize), 0u);

    // A map that is gone: no selection, OK disabled.
    qb::DeleteObject(project, map);
    Edit(project, room, [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "backgroundMapComboBox")->currentIndex(), -1);
        EXPECT_FALSE(OkButton(d)->isEnabled());
        Cancel(d);
    });
}

} // namespace

namespace {

using qb::app::Command;

// Picks the cell under (x, y) of the sprite editor's sheet for its current frame.
void PickCell(QDialog* editor, int x, int y) {
    QWidget* view = Child<QWidget>(editor, "sheetView");
    Hover(view, {x, y});
    LeftClick(view, {x, y});
}

// A platform game of two rooms side by side, each with an enemy and an item, made the way a
// person makes it: New project, New item and Edit item in the main window, the editors' dialogs.
class PlatformGameTest : public ShellTest {
protected:
    std::int32_t newItemIn(std::uint32_t subtype) {
        select(GroupId(project, subtype), project);
        click(Command::NewItem);
        return current() ? current()->objectId : 0;
    }
    void edit(std::int32_t id, const std::function<void(QDialog*)>& act) {
        select(id, project);
        clickWithDialog(Command::EditItem, act);
    }
    // Runs act in the sprite editor that a button of the host opens.
    void sprites(QDialog* host, const char* button, const std::function<void(QDialog*)>& act) {
        WithModalDialog([&] { Click(host, button); }, [&](QDialog* e) {
            EXPECT_NE(e, host);
            if (e == host) return host->reject();
            act(e);
        });
    }
    void pickOne(QDialog* host, const char* button, int x, int y) {
        sprites(host, button, [&](QDialog* e) {
            PickCell(e, x, y);
            Click(e, "okAndSaveButton");
        });
    }
    int project = -1;
};

TEST_F(PlatformGameTest, TwoConnectedRoomsMadeInTheEditorsCompileIntoAGame) {
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(d->choice(qb::game::Platform)->isVisibleTo(d));
        EXPECT_EQ(d->choice(qb::game::Platform)->text(), "Jet Set Willy Remake");
        QTest::keyClicks(d->nameEdit(), "Two rooms");
        d->choice(qb::game::Platform)->click();
        d->okButton()->click();
    });
    project = qb::Workspace().projectCount() - 1;
    ASSERT_EQ(project, 0);
    ASSERT_EQ(qb::ProjectAt(project)->tipoGioco, qb::game::Platform);

    // A tile set of 16-pixel tiles, a sprite sheet, and two 16-pixel maps.
    const std::int32_t tiles = newItemIn(104);
    edit(tiles, [&](QDialog* d) {
        Type(d, "pieceDimensionLineEdit", "16");
        Click(d, "groundKind4RadioButton");
        Ok(d);
    });
    const std::int32_t sheet = newItemIn(3);
    const std::int32_t hallMap = newItemIn(6);
    const std::int32_t cellarMap = newItemIn(6);
    ASSERT_NE(cellarMap, 0);
    // The floors of the two rooms, painted in the map painter: the first tile along the bottom
    // row, and in the hall a ledge of the second tile.
    for (std::int32_t m : {hallMap, cellarMap}) {
        edit(m, [&](QDialog* d) {
            EXPECT_EQ(Text(d, "pieceDimensionLineEdit"), "16");
            WithModalDialog([&] { Click(d, "editMapButton"); }, [&](QDialog* painter) {
                EXPECT_NE(painter, d);
                if (painter == d) return d->reject();
                QWidget* picker = Child<QWidget>(painter, "tilePickerView");
                QWidget* canvas = Child<QWidget>(painter, "mapCanvas");
                Hover(picker, {5, 5});
                LeftClick(picker, {5, 5});
                Mouse(canvas, QEvent::MouseButtonPress, {5, 15 * 16 + 5}, Qt::LeftButton, Qt::LeftButton);
                for (int x = 1; x < 32; ++x)
                    Mouse(canvas, QEvent::MouseMove, {x * 16 + 5, 15 * 16 + 5}, Qt::NoButton, Qt::LeftButton);
                Mouse(canvas, QEvent::MouseButtonRelease, {31 * 16 + 5, 15 * 16 + 5}, Qt::LeftButton, Qt::NoButton);
                if (m == hallMap) {
                    Hover(picker, {21, 5});
                    LeftClick(picker, {21, 5});
                    for (int x = 8; x < 12; ++x) LeftClick(canvas, {x * 16 + 5, 10 * 16 + 5});
                }
                Click(painter, "okAndSaveButton");
            });
            Cancel(d);  // the painter saved already
        });
        const qb::Bytes saved = SavedRecord(project, m);
        for (std::uint32_t x = 0; x < 32; ++x)
            EXPECT_EQ(CellAt(saved, x, 15), qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), 0, 0)) << x;
        EXPECT_EQ(CellAt(saved, 9, 10), m == hallMap ? qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), 1, 0) : 0u);
        EXPECT_EQ(CellAt(saved, 9, 14), 0u);
    }

    // An enemy, an item and Willy, with their sprites.
    const std::int32_t robot = newItemIn(207);
    edit(robot, [&](QDialog* d) {
        Type(d, "itemNameLineEdit", "Robot");
        pickOne(d, "forwardEditSpritesPushButton", 5, 5);
        pickOne(d, "backwardEditSpritesPushButton", 37, 5);
        Type(d, "speedLineEdit", "2");
        Ok(d);
    });
    const std::int32_t tap = newItemIn(214);
    edit(tap, [&](QDialog* d) {
        Type(d, "itemNameLineEdit", "Tap");
        pickOne(d, "editSpritePushButton", 70, 5);
        Ok(d);
    });
    const std::int32_t willy = newItemIn(209);
    edit(willy, [&](QDialog* d) {
        Type(d, "itemNameLineEdit", "Willy");
        Type(d, "spriteCountLineEdit", "1");
        pickOne(d, "editLeftSpritesPushButton", 5, 40);
        pickOne(d, "editRightSpritesPushButton", 37, 40);
        Type(d, "jumpOffsetsLineEdit", "-4,-4,-2,0,2,4,4");
        Ok(d);
    });

    // Two rooms side by side: the hall (code 1) and the cellar (code 2) to its right.
    struct RoomPlan {
        const char* name;
        int mapIndex;
        const char* code;
        const char* leftRoom;
        const char* rightRoom;
    };
    const RoomPlan plans[] = {{"Hall", 0, "1", "0", "2"}, {"Cellar", 1, "2", "1", "0"}};
    std::vector<std::int32_t> rooms;
    for (const RoomPlan& plan : plans) {
        const std::int32_t room = newItemIn(208);
        rooms.push_back(room);
        edit(room, [&](QDialog* d) {
            Type(d, "itemNameLineEdit", plan.name);
            Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(plan.mapIndex);
            auto* view = Child<qb::ui::MapView>(d, "mapView");
            EXPECT_EQ(view->state(), qb::ui::MapViewState::Showing);
            // A robot patrolling the floor, its path picked on the map.
            Child<QComboBox>(d, "enemieTypeComboBox")->setCurrentIndex(0);
            Click(d, "chooseInitFromMapPushButton");
            Hover(MapArea(d), {40, 220});
            LeftClick(MapArea(d), {40, 220});
            Click(d, "chooseEndFromMapPushButton");
            Hover(MapArea(d), {280, 220});
            LeftClick(MapArea(d), {280, 220});
            Click(d, "addNewPushButton");
            // A tap to collect.
            Click(d, "bonusRadioButton");
            Child<QComboBox>(d, "bonusTypeComboBox")->setCurrentIndex(0);
            Type(d, "xInitLineEdit", "160");
            Type(d, "yInitLineEdit", "64");
            Click(d, "addNewPushButton");
            Type(d, "roomCodeLineEdit", plan.code);
            Type(d, "leftRoomLineEdit", plan.leftRoom);
            Type(d, "rightRoomLineEdit", plan.rightRoom);
            Ok(d);
        });
    }
    // What the rooms hold: the map, the neighbours, the robot's path on the floor and the tap.
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        qb::RecordView r = Object(project, rooms[i]).record();
        EXPECT_EQ(Object(project, rooms[i]).sDescrizione, plans[i].name);
        EXPECT_EQ(r.u32(R::kBackgroundMap), static_cast<std::uint32_t>(i == 0 ? hallMap : cellarMap));
        EXPECT_EQ(r.i32(R::kRoomCode), static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(r.i32(R::kRightRoom), i == 0 ? 2 : 0);
        EXPECT_EQ(r.i32(R::kLeftRoom), i == 0 ? 0 : 1);
        EXPECT_EQ(r.i32(R::kElementCount), 2);
        EXPECT_EQ(r.i32(R::kElements + El::kKind), El::kHorizontalEnemy);
        EXPECT_EQ(r.u32(R::kElements + El::kEnemy), static_cast<std::uint32_t>(robot));
        EXPECT_EQ(r.i32(R::kElements + El::kInitX), 40);
        EXPECT_EQ(r.i32(R::kElements + El::kInitY), 256 - 208);
        EXPECT_EQ(r.i32(R::kElements + El::kEndX), 280);
        const std::size_t bonus = R::kElements + R::kElementSize;
        EXPECT_EQ(r.i32(bonus + El::kKind), El::kBonus);
        EXPECT_EQ(r.u32(bonus + El::kItem), static_cast<std::uint32_t>(tap));
    }

    // The game starts in the hall, with Willy.
    const std::int32_t main = MainParametersId(project);
    edit(main, [&](QDialog* d) {
        Type(d, "initRoomLineEdit", "1");
        Type(d, "initXLineEdit", "40");
        Type(d, "initYLineEdit", "16");
        Type(d, "livesLineEdit", "3");
        Child<QComboBox>(d, "mainSpriteComboBox")->setCurrentIndex(0);
        pickOne(d, "livesEditSpritePushButton", 5, 40);
        Ok(d);
    });
    qb::RecordView m = Object(project, main).record();
    EXPECT_EQ(m.i32(qb::layout::platform_main::kInitRoom), 1);
    EXPECT_EQ(m.u32(qb::layout::platform_main::kMainSprite), static_cast<std::uint32_t>(willy));
    EXPECT_EQ(m.u32(qb::layout::platform_main::kLifeSprite), static_cast<std::uint32_t>(sheet));

    // Validation finds nothing; Compile writes the game and opens the Release folder.
    const qb::BuildSettings settings = qb::ValidateProject(project);
    EXPECT_EQ(settings.error, "");
    EXPECT_EQ(settings.dimX, 512);
    EXPECT_EQ(settings.dimY, 256 + 128);
    // The command-line validation of the saved project agrees.
    QProcess cli;
    cli.start(QString::fromStdString((BinDir() / "quillbox-cli").string()),
              {"--app-folder", QString::fromStdString(app.path().string()), "validate",
               QString::fromStdString(fs::path(qb::ProjectAt(project)->sPathProgetto).filename().string())});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    select(-1, project);
    app.messages.texts.clear();
    click(Command::Compile);
    EXPECT_TRUE(app.messages.texts.empty()) << app.messages.texts.front();
    const fs::path folder = qb::ProjectAt(project)->sPathProgetto;
    const fs::path game = folder / "Release" / "Game.swf";
    ASSERT_TRUE(fs::exists(game));
    ASSERT_FALSE(app.desktop.opened.empty());
    EXPECT_EQ(fs::path(app.desktop.opened.back()), folder / "Release");
    qb::GameFileContents contents;
    std::string error;
    ASSERT_TRUE(qb::ReadGameFile(game.string(), contents, &error)) << error;
    EXPECT_EQ(contents.projectText, ReadFile(folder / "project.ini"));
    for (std::int32_t room : rooms)
        EXPECT_NE(contents.projectText.find(qb::EncodeHex(Object(project, room).lpDatiOggetto)
                                                .substr(0, qb::kHexPieceChars)),
                  std::string::npos);
    EXPECT_NE(contents.projectText.find("dimY=384"), std::string::npos);
    // The resources lie beside the game: none is embedded.
    EXPECT_TRUE(contents.pictures.empty());
}

} // namespace
