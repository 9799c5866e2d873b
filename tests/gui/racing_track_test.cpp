// The racing "Track data" dialog on a real project: new-track values, the orientation rule,
// markers added, changed and deleted in the record and undone by Cancel, picking points from
// the map, the markers drawn over it, and damaged marker counts or map fields; and a racing
// game made through the main window and its dialogs, then compiled.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "build/gamefile.h"
#include "build/validate.h"
#include "editors/racing/track_data.h"
#include "imaging/map_view.h"
#include "model/catalogue.h"
#include "model/layouts/racing_items.h"
#include "model/layouts/racing_main.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"
#include "support/map_fixture.h"
#include "support/shell_support.h"
#include "toolkit/new_project_dialog.h"

namespace fs = std::filesystem;

using namespace qb;
using qbtest::Cancel;
using qbtest::Child;
using qbtest::Ok;

namespace {

namespace T = layout::track;

class TrackDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindPixbridge(qbtest::BinDir().string());
        project = qbtest::NewProject("Circuits", game::Racing);
        track = qbtest::NewItemOfType(project, 108, "");
        ui::SetTreeRefresher([](std::int32_t, int) {});
    }
    void TearDown() override { ui::SetTreeRefresher(nullptr); }

    // A map of 20 x 200 tiles of 32 pixels with a usable tile set; every cell shows a tile.
    std::int32_t AddTrackMap(const std::string& name) {
        const std::int32_t tiles = qbtest::AddTileSet(project, 320, 320, 32, 0, 104);
        const std::int32_t map = qbtest::AddMap(project, 20, 200, 32, name);
        Bytes& cells = qbtest::Object(project, map).lpDatiOggetto;
        for (std::uint32_t y = 0; y < 200; ++y)
            for (std::uint32_t x = 0; x < 20; ++x)
                qbtest::SetCell(cells, x, y, layout::map_cell::Make(static_cast<std::uint32_t>(tiles), 5, 5));
        return map;
    }

    RecordView Record() { return qbtest::Object(project, track).record(); }
    Bytes& Bytes_() { return qbtest::Object(project, track).lpDatiOggetto; }
    void Edit(const std::function<void(QDialog*)>& act) { qbtest::Edit(project, track, act); }

    qbtest::TempAppFolder app;
    int project = -1;
    std::int32_t track = 0;
};

QLineEdit* Line(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
bool Checked(QDialog* d, const char* name) { return Child<QAbstractButton>(d, name)->isChecked(); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
QStringList Rows(QDialog* d) {
    QStringList rows;
    auto* list = Child<QListWidget>(d, "markersListWidget");
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

// Describes a marker in the "New parameter" controls and presses "Add new".
void AddMarker(QDialog* d, bool vertical, const char* kind, int sx, int sy, int ex, int ey) {
    Click(d, vertical ? "verticalRadioButton" : "horizontalRadioButton");
    Click(d, kind);
    Line(d, "startXLineEdit")->setText(QString::number(sx));
    Line(d, "startYLineEdit")->setText(QString::number(sy));
    Line(d, "endXLineEdit")->setText(QString::number(ex));
    Line(d, "endYLineEdit")->setText(QString::number(ey));
    Click(d, "addNewButton");
}

struct Stored {
    std::uint32_t flags;
    std::int32_t sx, sy, ex, ey;
};
Stored MarkerIn(RecordView r, int i) {
    const std::size_t at = T::kMarkers + T::kMarkerSize * static_cast<std::size_t>(i);
    return {r.u32(at), r.i32(at + 4), r.i32(at + 8), r.i32(at + 12), r.i32(at + 16)};
}

// Colours compared with room for the platform's rendering.
bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 24 && std::abs(qGreen(a) - qGreen(b)) <= 24 &&
           std::abs(qBlue(a) - qBlue(b)) <= 24;
}

void Mouse(QWidget* area, QEvent::Type type, QPoint at) {
    const bool move = type == QEvent::MouseMove;
    QMouseEvent e(type, QPointF(at), QPointF(area->mapToGlobal(at)), move ? Qt::NoButton : Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(area, &e);
}

} // namespace

TEST_F(TrackDataTest, MarkersAreAddedChangedAndDeletedAndOkKeepsThem) {
    const std::int32_t map = AddTrackMap("Seaside map");
    Edit([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Track data");
        EXPECT_EQ(Line(d, "itemNameLineEdit")->text(), "Track data");
        EXPECT_TRUE(Rows(d).isEmpty());
        EXPECT_TRUE(Checked(d, "horizontalRadioButton"));
        EXPECT_TRUE(Checked(d, "startLineRadioButton"));
        for (const char* e : {"startXLineEdit", "startYLineEdit", "endXLineEdit", "endYLineEdit"})
            EXPECT_EQ(Line(d, e)->text(), "0") << e;
        EXPECT_EQ(Line(d, "maxLapTimeLineEdit")->text(), "120");
        EXPECT_FALSE(Line(d, "maxLapTimeLineEdit")->isVisibleTo(d));
        EXPECT_EQ(Line(d, "lapCountLineEdit")->text(), "0");
        EXPECT_TRUE(Line(d, "endXLineEdit")->isEnabled());
        EXPECT_FALSE(Line(d, "endYLineEdit")->isEnabled());
        for (QLabel* label : d->findChildren<QLabel*>())
            EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
        Click(d, "verticalRadioButton");
        EXPECT_FALSE(Line(d, "endXLineEdit")->isEnabled());
        EXPECT_TRUE(Line(d, "endYLineEdit")->isEnabled());
        Click(d, "horizontalRadioButton");

        auto* view = Child<ui::MapView>(d, "mapView");
        EXPECT_EQ(view->state(), ui::MapViewState::SetUp);  // no map chosen yet
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        EXPECT_EQ(view->state(), ui::MapViewState::Showing);
        EXPECT_EQ(view->mapItemId(), map);

        AddMarker(d, false, "startLineRadioButton", 10, 6300, 200, 1);
        // Added: the controls are reset.
        EXPECT_TRUE(Checked(d, "horizontalRadioButton"));
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "0");
        AddMarker(d, true, "boxEnterExitRadioButton", 40, 6000, 7, 6100);
        AddMarker(d, false, "boxStartPositionRadioButton", -5, 5900, 60, 2);
        EXPECT_EQ(Rows(d), (QStringList{"start line", "box enter/exit", "box start position"}));

        auto* list = Child<QListWidget>(d, "markersListWidget");
        list->setCurrentRow(-1);
        Click(d, "changeButton");  // nothing selected: nothing happens
        Click(d, "deleteButton");
        EXPECT_EQ(Rows(d).size(), 3);
        list->setCurrentRow(1);
        Click(d, "changeButton");
        EXPECT_EQ(Rows(d), (QStringList{"start line", "box start position"}));
        EXPECT_TRUE(Checked(d, "verticalRadioButton"));
        EXPECT_TRUE(Checked(d, "boxEnterExitRadioButton"));
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "40");
        EXPECT_EQ(Line(d, "startYLineEdit")->text(), "6000");
        EXPECT_EQ(Line(d, "endXLineEdit")->text(), "7");
        EXPECT_EQ(Line(d, "endYLineEdit")->text(), "6100");
        EXPECT_FALSE(Line(d, "endXLineEdit")->isEnabled());
        Line(d, "endYLineEdit")->setText("6150");
        Click(d, "addNewButton");  // back, at the end
        EXPECT_EQ(Rows(d), (QStringList{"start line", "box start position", "box enter/exit"}));

        AddMarker(d, false, "startLineRadioButton", 1, 2, 3, 4);
        list->setCurrentRow(3);
        Click(d, "deleteButton");
        EXPECT_EQ(Rows(d).size(), 3);
        Line(d, "lapCountLineEdit")->setText("5 laps");
        Line(d, "itemNameLineEdit")->setText("Seaside");
        Ok(d);
    });
    RecordView r = Record();
    EXPECT_EQ(qbtest::Object(project, track).sDescrizione, "Seaside");
    EXPECT_EQ(r.u32(T::kBackgroundMap), static_cast<std::uint32_t>(map));
    EXPECT_EQ(r.i32(T::kMaxLapTime), 120);
    EXPECT_EQ(r.i32(T::kLapCount), 5);
    EXPECT_EQ(r.i32(T::kMarkerCount), 3);
    // The first word: bit 0 vertical, bit 16 box enter/exit, bit 17 box start position.
    const Stored first = MarkerIn(r, 0), second = MarkerIn(r, 1), third = MarkerIn(r, 2);
    EXPECT_EQ(first.flags, 0u);
    EXPECT_EQ(std::make_tuple(first.sx, first.sy, first.ex, first.ey), std::make_tuple(10, 6300, 200, 1));
    EXPECT_EQ(second.flags, 1u << 17);
    EXPECT_EQ(std::make_tuple(second.sx, second.sy, second.ex, second.ey), std::make_tuple(-5, 5900, 60, 2));
    EXPECT_EQ(third.flags, (1u << 16) | 1u);
    EXPECT_EQ(std::make_tuple(third.sx, third.sy, third.ex, third.ey), std::make_tuple(40, 6000, 7, 6150));
    EXPECT_EQ(qbtest::SavedRecord(project, track), Bytes_());
}

TEST_F(TrackDataTest, CancelPutsBackTheRecordAsItWasAtOpening) {
    AddTrackMap("Map");
    Record().setI32(T::kMarkerCount, 1);
    Record().setU32(T::kMarkers, 1);
    Record().setI32(T::kMarkers + 4, 77);
    SaveProject(project);
    const Bytes before = Bytes_();
    Edit([&](QDialog* d) {
        EXPECT_EQ(Rows(d), QStringList{"start line"});
        AddMarker(d, false, "startLineRadioButton", 1, 2, 3, 4);
        AddMarker(d, true, "boxStartPositionRadioButton", 5, 6, 7, 8);
        Child<QListWidget>(d, "markersListWidget")->setCurrentRow(0);
        Click(d, "deleteButton");
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        Line(d, "lapCountLineEdit")->setText("9");
        Cancel(d);
    });
    EXPECT_EQ(Bytes_(), before);
    EXPECT_EQ(qbtest::SavedRecord(project, track), before);
}

TEST_F(TrackDataTest, PointsArePickedFromTheMapAndMarkersDrawnOverIt) {
    const std::int32_t map = AddTrackMap("Map");
    Record().setU32(T::kBackgroundMap, static_cast<std::uint32_t>(map));
    // Stored: a horizontal start line across the view, a vertical line just left of it.
    Record().setI32(T::kMarkerCount, 2);
    Record().setU32(T::kMarkers, 0);
    Record().setI32(T::kMarkers + 4, 10);        // x 10 .. 300
    Record().setI32(T::kMarkers + 8, 6400 - 100);  // 100 pixels below the top edge of the map
    Record().setI32(T::kMarkers + 12, 300);
    Record().setU32(T::kMarkers + 20, 1);
    Record().setI32(T::kMarkers + 20 + 4, 31);    // one pixel left of the view once scrolled
    Record().setI32(T::kMarkers + 20 + 8, 6000);
    Record().setI32(T::kMarkers + 20 + 16, 6390);
    Edit([&](QDialog* d) {
        auto* view = Child<ui::MapView>(d, "mapView");
        ASSERT_EQ(view->state(), ui::MapViewState::Showing);
        QWidget* area = view->area();
        // Scrolled one tile across and three down.
        view->horizontalBar()->setValue(1);
        view->verticalBar()->setValue(3);
        ASSERT_EQ(view->firstColumn(), 1);
        ASSERT_EQ(view->firstRow(), 3);

        QImage shown = area->grab().toImage();
        // The start line: map y 6300 is view y (200 - 3) * 32 - 6300 - 1 = 3; x 10..300 is
        // view x -22..268.
        EXPECT_TRUE(Near(shown.pixel(100, 3), qRgb(0, 255, 0)));
        EXPECT_TRUE(Near(shown.pixel(100, 5), qRgb(0, 0, 0)));   // its black edge
        EXPECT_FALSE(Near(shown.pixel(280, 3), qRgb(0, 255, 0)));  // ends at 268
        EXPECT_TRUE(Near(shown.pixel(0, 3), qRgb(0, 255, 0)));     // clipped at the left edge
        // The vertical marker at view x -1 lies wholly left of the view and is not drawn: its
        // black edge would show at x 0.
        for (int y = 0; y < 320; y += 7) EXPECT_FALSE(Near(shown.pixel(0, y), qRgb(0, 0, 0))) << y;
        Child<QListWidget>(d, "markersListWidget")->setCurrentRow(0);
        shown = area->grab().toImage();
        EXPECT_TRUE(Near(shown.pixel(100, 3), qRgb(255, 0, 0)));  // selected: red

        // "End" down: moving writes the end point only.
        Click(d, "chooseEndButton");
        EXPECT_TRUE(Checked(d, "chooseEndButton"));
        Mouse(area, QEvent::MouseMove, QPoint(50, 60));
        EXPECT_EQ(Line(d, "endXLineEdit")->text(), QString::number(32 + 50));
        EXPECT_EQ(Line(d, "endYLineEdit")->text(), QString::number((200 - 3) * 32 - 60));
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "0");
        EXPECT_EQ(Line(d, "startYLineEdit")->text(), "0");
        // "Start" releases "End".
        Click(d, "chooseStartButton");
        EXPECT_FALSE(Checked(d, "chooseEndButton"));
        Mouse(area, QEvent::MouseMove, QPoint(70, 300));
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "102");
        EXPECT_EQ(Line(d, "startYLineEdit")->text(), QString::number((200 - 3) * 32 - 300));
        EXPECT_EQ(Line(d, "endXLineEdit")->text(), "82");
        // The yellow marker being described: horizontal from (102, 6004) to (82, 6004).
        shown = area->grab().toImage();
        EXPECT_TRUE(Near(shown.pixel(60, 299), qRgb(255, 255, 0)));
        // A click fixes the point and releases the toggle.
        Mouse(area, QEvent::MouseButtonPress, QPoint(70, 300));
        Mouse(area, QEvent::MouseButtonRelease, QPoint(70, 300));
        EXPECT_FALSE(Checked(d, "chooseStartButton"));
        Mouse(area, QEvent::MouseMove, QPoint(10, 10));
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "102");
        Cancel(d);
    });
}

TEST_F(TrackDataTest, DamagedCountsAndForeignMapsStayWithinTheRecord) {
    const std::int32_t car = qbtest::NewItemOfType(project, 109, "A car");
    Record().setU32(T::kBackgroundMap, static_cast<std::uint32_t>(car));  // not a map
    Record().setI32(T::kMarkerCount, 70);
    Record().setI32(T::kLapCount, 3);
    Edit([&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "backgroundMapComboBox")->currentIndex(), -1);
        EXPECT_EQ(Child<ui::MapView>(d, "mapView")->state(), ui::MapViewState::SetUp);
        EXPECT_EQ(Rows(d).size(), 50);
        AddMarker(d, true, "boxEnterExitRadioButton", 1, 2, 3, 4);  // no room
        EXPECT_EQ(Rows(d).size(), 50);
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "1");  // kept in the controls
        Ok(d);
    });
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(Record().i32(T::kMarkerCount), 50);  // stored as the list showed it
    EXPECT_EQ(Record().i32(T::kLapCount), 3);  // nothing written behind the markers
    EXPECT_EQ(Record().u32(T::kBackgroundMap), 0u);
    EXPECT_EQ(Bytes_().size(), T::kSize);

    Record().setI32(T::kMarkerCount, -4);
    Edit([&](QDialog* d) {
        EXPECT_TRUE(Rows(d).isEmpty());
        Child<QListWidget>(d, "markersListWidget")->setCurrentRow(0);
        Click(d, "deleteButton");
        Click(d, "changeButton");
        AddMarker(d, false, "startLineRadioButton", 8, 9, 10, 11);
        EXPECT_EQ(Rows(d), QStringList{"start line"});
        Ok(d);
    });
    EXPECT_EQ(Record().i32(T::kMarkerCount), 1);
    EXPECT_EQ(Record().i32(T::kMarkers + 4), 8);

    // A cut record with room for two markers claims five: two are listed, a third is refused.
    Bytes_().resize(T::kMarkers + 2 * T::kMarkerSize + 3);
    Record().setI32(T::kMarkerCount, 5);
    Edit([&](QDialog* d) {
        EXPECT_EQ(Rows(d).size(), 2);
        AddMarker(d, false, "startLineRadioButton", 1, 1, 1, 1);
        EXPECT_EQ(Rows(d).size(), 2);
        Ok(d);
    });
    EXPECT_EQ(Bytes_().size(), T::kMarkers + 2 * T::kMarkerSize + 3);
    EXPECT_EQ(Record().i32(T::kMarkerCount), 2);
}

// ---------------------------------------------------------------------------------------------
// A racing game made the way a person makes it, through the main window and the dialogs: New
// project, a tile set, a track map painted in the map painter, two tracks with their markers
// placed on the map, two cars, the circuits ordered in the Main parameters; then compiled.

namespace {

using qb::app::Command;

void Hover(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p); }
void LeftClick(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseButtonPress, p);
    Mouse(w, QEvent::MouseButtonRelease, p);
}

class RacingGameTest : public qbtest::ShellTest {
protected:
    std::int32_t newItemIn(std::uint32_t subtype) {
        select(qbtest::GroupId(project, subtype), project);
        click(Command::NewItem);
        return current() ? current()->objectId : 0;
    }
    void edit(std::int32_t id, const std::function<void(QDialog*)>& act) {
        select(id, project);
        clickWithDialog(Command::EditItem, act);
    }
    int project = -1;
};

TEST_F(RacingGameTest, ARaceOfTwoTracksMadeInTheEditorsCompilesIntoAGame) {
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(d->choice(qb::game::Racing)->isVisibleTo(d));
        EXPECT_EQ(d->choice(qb::game::Racing)->text(), "Racing game");
        QTest::keyClicks(d->nameEdit(), "Grand Prix");
        d->choice(qb::game::Racing)->click();
        d->okButton()->click();
    });
    project = qb::Workspace().projectCount() - 1;
    ASSERT_EQ(project, 0);
    ASSERT_EQ(qb::ProjectAt(project)->tipoGioco, qb::game::Racing);

    // A tile set (the default background, 32-pixel tiles), a sprite sheet and a track map whose
    // road is painted down the middle in the map painter.
    const std::int32_t tiles = newItemIn(104);
    const std::int32_t sheet = newItemIn(3);
    const std::int32_t map = newItemIn(6);
    ASSERT_NE(map, 0);
    edit(map, [&](QDialog* d) {
        qbtest::WithModalDialog([&] { Click(d, "editMapButton"); }, [&](QDialog* painter) {
            EXPECT_NE(painter, d);
            if (painter == d) return d->reject();
            QWidget* picker = Child<QWidget>(painter, "tilePickerView");
            QWidget* canvas = Child<QWidget>(painter, "mapCanvas");
            Hover(picker, {37, 5});  // tile (1, 0)
            LeftClick(picker, {37, 5});
            for (int row = 0; row < 20; ++row)
                for (int column : {9, 10}) {
                    Hover(canvas, {column * 32 + 5, row * 32 + 5});
                    LeftClick(canvas, {column * 32 + 5, row * 32 + 5});
                }
            Click(painter, "okAndSaveButton");
        });
        Cancel(d);  // the painter saved already
    });
    const Bytes painted = qbtest::SavedRecord(project, map);
    const std::uint32_t road = layout::map_cell::Make(static_cast<std::uint32_t>(tiles), 1, 0);
    EXPECT_EQ(qbtest::CellAt(painted, 9, 0), road);
    EXPECT_EQ(qbtest::CellAt(painted, 10, 19), road);
    EXPECT_EQ(qbtest::CellAt(painted, 8, 5), 0u);

    // Two tracks on that map: a start line picked on the map across the road, the box lines
    // typed in; the second track is a sprint with its start line only.
    const std::int32_t circuit = newItemIn(108);
    const std::int32_t sprint = newItemIn(108);
    edit(circuit, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Circuit");
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        auto* view = Child<ui::MapView>(d, "mapView");
        ASSERT_EQ(view->state(), ui::MapViewState::Showing);
        QWidget* area = view->area();
        // Across the road near the top of the view: from column 9 to the end of column 10.
        Click(d, "chooseStartButton");
        Hover(area, {288, 40});
        LeftClick(area, {288, 40});
        Click(d, "chooseEndButton");
        Hover(area, {351 - 32, 40});  // the view is 320 wide: pick within it
        LeftClick(area, {319, 40});
        EXPECT_FALSE(Checked(d, "chooseEndButton"));
        EXPECT_EQ(Line(d, "startXLineEdit")->text(), "288");
        EXPECT_EQ(Line(d, "startYLineEdit")->text(), QString::number(200 * 32 - 40));
        EXPECT_EQ(Line(d, "endXLineEdit")->text(), "319");
        Click(d, "addNewButton");
        AddMarker(d, true, "boxEnterExitRadioButton", 300, 6200, 0, 6260);
        AddMarker(d, false, "boxStartPositionRadioButton", 290, 6240, 330, 0);
        EXPECT_EQ(Rows(d), (QStringList{"start line", "box enter/exit", "box start position"}));
        Line(d, "lapCountLineEdit")->setText("3");
        Ok(d);
    });
    edit(sprint, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Sprint");
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        AddMarker(d, false, "startLineRadioButton", 288, 100, 352, 0);
        Line(d, "lapCountLineEdit")->setText("1");
        Ok(d);
    });
    {
        const Bytes saved = qbtest::SavedRecord(project, circuit);
        RecordView r(const_cast<Bytes&>(saved));
        EXPECT_EQ(r.u32(T::kBackgroundMap), static_cast<std::uint32_t>(map));
        EXPECT_EQ(r.i32(T::kMarkerCount), 3);
        EXPECT_EQ(r.i32(T::kLapCount), 3);
        const Stored start = MarkerIn(r, 0);
        EXPECT_EQ(std::make_tuple(start.flags, start.sx, start.sy, start.ex),
                  std::make_tuple(0u, 288, 6360, 319));
        EXPECT_EQ(MarkerIn(r, 1).flags, (1u << 16) | 1u);
        EXPECT_EQ(MarkerIn(r, 2).flags, 1u << 17);
    }

    // Two cars: the player's, tuned and with its sprites, and the enemies'.
    const std::int32_t red = newItemIn(109);
    const std::int32_t blue = newItemIn(109);
    edit(red, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Red car");
        Line(d, "maxSpeedLineEdit")->setText("140");
        Line(d, "radiusLineEdit")->setText("12");
        qbtest::WithModalDialog([&] { Click(d, "editSpritesButton"); }, [&](QDialog* e) {
            EXPECT_NE(e, d);
            if (e == d) return d->reject();
            QWidget* sheetView = Child<QWidget>(e, "sheetView");
            for (int f = 0; f < 24; ++f) {
                Hover(sheetView, {f % 8 * 32 + 5, f / 8 * 32 + 5});
                LeftClick(sheetView, {f % 8 * 32 + 5, f / 8 * 32 + 5});
                Click(e, "nextFrameButton");
            }
            Click(e, "okAndSaveButton");
        });
        Ok(d);
    });
    edit(blue, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Blue car");
        Ok(d);
    });
    EXPECT_EQ(qbtest::Object(project, red).record().u32(layout::car::kSprites + 8 * 23),
              static_cast<std::uint32_t>(sheet));
    EXPECT_EQ(qbtest::Object(project, red).record().i32(layout::car::kMaxSpeed), 140);

    // The race: the sprint, then the circuit twice; the red car for the player.
    const std::int32_t main = qbtest::MainParametersId(project);
    edit(main, [&](QDialog* d) {
        auto* combo = Child<QComboBox>(d, "circuitComboBox");
        ASSERT_EQ(combo->count(), 2);
        for (int entry : {0, 1, 0}) {
            combo->setCurrentIndex(entry);
            Click(d, "addCircuitButton");
        }
        Child<QListWidget>(d, "circuitsListWidget")->setCurrentRow(1);
        Click(d, "circuitUpButton");
        Child<QComboBox>(d, "vehicleSpritesComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "enemyVehicleSpritesComboBox")->setCurrentIndex(1);
        Ok(d);
    });
    {
        RecordView m = qbtest::Object(project, main).record();
        namespace M = layout::racing_main;
        EXPECT_EQ(m.i32(M::kCircuitCount), 3);
        EXPECT_EQ(m.u32(M::kCircuits), static_cast<std::uint32_t>(sprint));
        EXPECT_EQ(m.u32(M::kCircuits + 4), static_cast<std::uint32_t>(circuit));
        EXPECT_EQ(m.u32(M::kCircuits + 8), static_cast<std::uint32_t>(circuit));
        EXPECT_EQ(m.u32(M::kPlayerVehicle), static_cast<std::uint32_t>(red));
        EXPECT_EQ(m.u32(M::kEnemyVehicle), static_cast<std::uint32_t>(blue));
    }

    // Validation finds nothing, here and from the command line; Compile writes the game.
    const BuildSettings settings = ValidateProject(project);
    EXPECT_EQ(settings.error, "");
    EXPECT_EQ(settings.dimX, 320);
    EXPECT_EQ(settings.dimY, 320);
    QProcess cli;
    cli.start(QString::fromStdString((qbtest::BinDir() / "quillbox-cli").string()),
              {"--app-folder", QString::fromStdString(app.path().string()), "validate",
               QString::fromStdString(fs::path(ProjectAt(project)->sPathProgetto).filename().string())});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    select(-1, project);
    app.messages.texts.clear();
    click(Command::Compile);
    EXPECT_TRUE(app.messages.texts.empty()) << app.messages.texts.front();
    const fs::path folder = ProjectAt(project)->sPathProgetto;
    const fs::path game = folder / "Release" / "Game.swf";
    ASSERT_TRUE(fs::exists(game));
    ASSERT_FALSE(app.desktop.opened.empty());
    EXPECT_EQ(fs::path(app.desktop.opened.back()), folder / "Release");
    GameFileContents contents;
    std::string error;
    ASSERT_TRUE(ReadGameFile(game.string(), contents, &error)) << error;
    EXPECT_EQ(contents.projectText, qbtest::ReadFile(folder / "project.ini"));
    for (std::int32_t item : {circuit, sprint, red, main})
        EXPECT_NE(contents.projectText.find(
                      EncodeHex(qbtest::Object(project, item).lpDatiOggetto).substr(0, kHexPieceChars)),
                  std::string::npos)
            << item;
}

} // namespace
