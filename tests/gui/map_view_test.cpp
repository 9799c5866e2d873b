// MapView in a small host dialog like the level, track and room editors: what it shows, its
// scrolling, the host's overlay and mouse positions, and what it makes of damaged maps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "imaging/map_view.h"
#include "model/catalogue.h"
#include "platform/pictures.h"
#include "support/map_fixture.h"

using namespace qb;
using namespace qb::ui;
using qbtest::CellAt;
using qbtest::TileColour;

namespace {

namespace cell = layout::map_cell;

// A host: the view, an overlay that frames the cell last clicked, and that cell.
class DemoHost : public QDialog {
public:
    explicit DemoHost(int project) {
        auto* layout = new QVBoxLayout(this);
        view = new MapView(this);
        layout->addWidget(view);
        MapViewInit(*view, project);
        view->setOverlay([this](QPainter& p, const MapView& v) {
            if (marked.x() < 0 || v.tileSize() <= 0) return;
            const QPoint at = v.mapToView(marked * v.tileSize());
            p.fillRect(QRect(at, QSize(v.tileSize(), 3)), Qt::red);
        });
        connect(view, &MapView::pressed, this, [this](QPoint at, Qt::MouseButton, Qt::KeyboardModifiers) {
            marked = view->cellAt(at);
            view->update();
        });
        connect(view, &MapView::mapPressed, this, [this](QPoint pixel, QPoint cell, Qt::MouseButton, Qt::KeyboardModifiers) {
            pressedPixel = pixel;
            pressedCell = cell;
        });
    }
    ~DemoHost() override { MapViewRelease(*view); }
    QImage picture() { return view->area()->grab().toImage(); }

    MapView* view = nullptr;
    QPoint marked{-1, -1};
    QPoint pressedPixel{-1, -1}, pressedCell{-1, -1};
};

class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindPixbridge(qbtest::BinDir().string());
        project = qbtest::NewProject("Maps", game::ShootEmUp);
    }
    Bytes& Record(std::int32_t id) { return qbtest::Object(project, id).lpDatiOggetto; }

    qbtest::TempAppFolder app;
    int project = -1;
};

void Click(QWidget* w, QPoint p) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

} // namespace

TEST_F(MapViewTest, ShowsScrollsAndLetsTheHostDrawAndPoint) {
    const std::int32_t setA = qbtest::AddTileSet(project, 640, 640, 32, 0);
    const std::int32_t setB = qbtest::AddTileSet(project, 320, 320, 32, 1);
    qbtest::AddTileSet(project, 256, 640, 32, 2);  // too narrow: never used
    const std::int32_t map = qbtest::AddMap(project, 20, 200, 32);
    qbtest::SetCell(Record(map), 0, 0, cell::Make(setA, 3, 4));
    qbtest::SetCell(Record(map), 1, 0, cell::Make(setB, 9, 9));
    qbtest::SetCell(Record(map), 0, 1, cell::Make(setA, 40, 4));  // beyond its picture
    qbtest::SetCell(Record(map), 19, 199, cell::Make(setA, 19, 19));
    qbtest::SetCell(Record(map), 2, 0, cell::Make(999, 1, 1));    // no such tile set

    DemoHost host(project);
    host.show();
    MapView& v = *host.view;
    EXPECT_EQ(v.state(), MapViewState::SetUp);
    EXPECT_EQ(v.tileSize(), 0);
    MapViewShow(v, map);
    ASSERT_EQ(v.state(), MapViewState::Showing);
    EXPECT_EQ(v.tileSets().size(), 2);
    EXPECT_EQ(v.tileSize(), 32);
    EXPECT_EQ(v.mapWidth(), 20);
    EXPECT_EQ(v.mapHeight(), 200);
    EXPECT_EQ(v.horizontalBar()->maximum(), 10);   // 20 - 320 / 32
    EXPECT_EQ(v.verticalBar()->maximum(), 190);    // 200 - 320 / 32

    QImage shown = host.picture();
    EXPECT_EQ(shown.pixel(5, 5), TileColour(0, 3, 4));
    EXPECT_EQ(shown.pixel(31, 31), TileColour(0, 3, 4));
    EXPECT_EQ(shown.pixel(40, 10), TileColour(1, 9, 9));
    EXPECT_EQ(shown.pixel(10, 40), qRgb(255, 255, 255));   // tile outside the picture
    EXPECT_EQ(shown.pixel(70, 10), qRgb(255, 255, 255));   // tile set not loaded
    EXPECT_EQ(shown.pixel(300, 300), qRgb(255, 255, 255)); // empty

    // A page step moves by one tile, like a line step; the scroll bars go to their ends.
    MapViewScroll(v, Qt::Vertical, QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(v.firstRow(), 1);
    MapViewScroll(v, Qt::Vertical, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v.firstRow(), 2);
    MapViewScroll(v, Qt::Vertical, QAbstractSlider::SliderToMaximum);
    MapViewScroll(v, Qt::Horizontal, QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(v.firstRow(), 190);
    EXPECT_EQ(v.firstColumn(), 10);
    MapViewScroll(v, Qt::Vertical, QAbstractSlider::SliderSingleStepAdd);  // not beyond the end
    EXPECT_EQ(v.firstRow(), 190);
    shown = host.picture();
    EXPECT_EQ(shown.pixel(9 * 32 + 16, 9 * 32 + 16), TileColour(0, 19, 19));  // cell (19, 199)

    // The wheel scrolls by one tile, down and up, across with Shift.
    QWheelEvent up(QPointF(10, 10), QPointF(v.area()->mapToGlobal(QPoint(10, 10))), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v.area(), &up);
    QWheelEvent left(QPointF(10, 10), QPointF(v.area()->mapToGlobal(QPoint(10, 10))), QPoint(),
                     QPoint(0, 120), Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v.area(), &left);
    EXPECT_EQ(v.firstRow(), 189);
    EXPECT_EQ(v.firstColumn(), 9);

    // The host converts a press into a map cell and draws on top of the map.
    Click(v.area(), {70, 100});
    EXPECT_EQ(host.marked, QPoint(9 + 2, 189 + 3));
    EXPECT_EQ(v.mapPixelAt({70, 100}), QPoint(9 * 32 + 70, 189 * 32 + 100));
    EXPECT_EQ(host.pressedPixel, QPoint(9 * 32 + 70, 189 * 32 + 100));
    EXPECT_EQ(host.pressedCell, host.marked);
    shown = host.picture();
    EXPECT_EQ(shown.pixel(64 + 5, 96 + 1), qRgb(255, 0, 0));
    EXPECT_NE(shown.pixel(64 + 5, 96 + 5), qRgb(255, 0, 0));

    // The copy taken when shown: later edits are seen only after showing another map and back.
    qbtest::SetCell(Record(map), 19, 199, cell::Make(setB, 0, 0));
    MapViewShow(v, map);  // the same map: nothing happens
    EXPECT_EQ(v.firstRow(), 189);
    EXPECT_EQ(CellAt(v.mapRecord(), 19, 199), cell::Make(setA, 19, 19));
    MapViewShow(v, 0);
    EXPECT_EQ(v.state(), MapViewState::SetUp);
    EXPECT_EQ(v.mapItemId(), 0);
    EXPECT_EQ(v.verticalBar()->maximum(), 0);
    shown = host.picture();
    EXPECT_NE(shown.pixel(5, 5), TileColour(0, 3, 4));
    EXPECT_NE(shown.pixel(5, 5), qRgb(255, 255, 255));  // the host's own background
    MapViewShow(v, map);
    EXPECT_EQ(v.firstRow(), 0);
    EXPECT_EQ(v.map().at(19, 199), cell::Make(setB, 0, 0));

    MapViewRelease(v);
    EXPECT_EQ(v.state(), MapViewState::Off);
    MapViewShow(v, map);  // off: nothing
    EXPECT_EQ(v.state(), MapViewState::Off);
}

TEST_F(MapViewTest, SmallDamagedAndUnusableMapsNeverReadPastTheirRecord) {
    const std::int32_t set = qbtest::AddTileSet(project, 320, 320, 32, 0);
    qbtest::AddTileSet(project, 320, 320, 16, 1);
    const std::int32_t small = qbtest::AddMap(project, 8, 4, 32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) qbtest::SetCell(Record(small), x, y, cell::Make(set, x, y));

    DemoHost host(project);
    host.show();
    MapView& v = *host.view;
    MapViewShow(v, small);
    ASSERT_EQ(v.state(), MapViewState::Showing);
    EXPECT_EQ(v.horizontalBar()->maximum(), 0);
    EXPECT_EQ(v.verticalBar()->maximum(), 0);
    QImage shown = host.picture();
    EXPECT_EQ(shown.pixel(7 * 32 + 3, 3 * 32 + 3), TileColour(0, 7, 3));
    EXPECT_EQ(shown.pixel(7 * 32 + 3, 9 * 32 + 3), qRgb(255, 255, 255));  // below the map: white
    const QRgb host_background = shown.pixel(9 * 32 + 3, 3);               // right of it: not drawn
    EXPECT_NE(host_background, qRgb(255, 255, 255));
    EXPECT_NE(host_background, TileColour(0, 9, 0));

    // Hand-edited: W x H claims 4 x 3 but the record holds 5 cells and no trailer.
    const std::int32_t shortMap = qbtest::AddMap(project, 4, 3, 32);
    Bytes& r = Record(shortMap);
    for (int i = 0; i < 5; ++i) qbtest::SetCell(r, i % 4, i / 4, cell::Make(set, 1, 1));
    r.resize(12 + 5 * 4);
    MapViewShow(v, shortMap);
    ASSERT_EQ(v.state(), MapViewState::Showing);
    EXPECT_EQ(v.map().cells.size(), 5u);
    shown = host.picture();
    EXPECT_EQ(shown.pixel(5, 32 + 5), TileColour(0, 1, 1));            // the fifth cell, (0, 1)
    EXPECT_EQ(shown.pixel(32 + 5, 32 + 5), qRgb(255, 255, 255));       // (1, 1) is not held: white

    // W x H beyond 32 bits, in a record of 16 bytes.
    const std::int32_t huge = qbtest::AddMap(project, 1, 1, 32);
    RecordView(Record(huge)).setU32(layout::map::kWidth, 0xFFFFFFFFu);
    RecordView(Record(huge)).setU32(layout::map::kHeight, 0x10000u);
    MapViewShow(v, huge);
    ASSERT_EQ(v.state(), MapViewState::Showing);
    EXPECT_EQ(v.map().cells.size(), 2u);  // the one cell and the trailer word
    EXPECT_GE(v.horizontalBar()->maximum(), 0);
    v.horizontalBar()->setValue(v.horizontalBar()->maximum());
    v.verticalBar()->setValue(v.verticalBar()->maximum());
    shown = host.picture();
    EXPECT_EQ(shown.pixel(100, 100), qRgb(255, 255, 255));

    // Tile sizes of 0 or less, sets of another tile size only, and items that are not maps.
    for (std::int32_t tile : {0, -32, 64}) {
        const std::int32_t bad = qbtest::AddMap(project, 20, 20, tile);
        MapViewShow(v, bad);
        EXPECT_EQ(v.state(), MapViewState::SetUp) << tile;
        EXPECT_EQ(v.mapItemId(), 0);
        host.picture();
    }
    MapViewShow(v, set);
    EXPECT_EQ(v.state(), MapViewState::SetUp);
    MapViewShow(v, 4242);
    EXPECT_EQ(v.state(), MapViewState::SetUp);
    EXPECT_EQ(v.cellAt({10, 10}), QPoint(-1, -1));
}
