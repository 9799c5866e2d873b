// Scenes of the background map editors: "Background map parameters", the map painter on the
// default tile set (normal and satellite view) and MapView in a small host dialog.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "imaging/background_map_dialog.h"
#include "imaging/map_painter.h"
#include "imaging/map_view.h"
#include "model/commands.h"
#include "model/layouts/map.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace map = qb::layout::map;
namespace cell = qb::layout::map_cell;

std::int32_t NewItemOfType(int project, std::uint32_t type, const std::string& name = {}) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type) {
            const std::int32_t id = qb::NewItem(project, o.IDoggetto);
            if (qb::ObjectRecord* item = qb::FindObject(id, project); item && !name.empty())
                item->sDescrizione = name;
            return id;
        }
    return 0;
}

// A shoot'em-up project with the default tile set (32-pixel tiles, rows of grass, water,
// stones, bricks, sand, earth, planks, lava, ice and metal) and a 20 x 200 map painted with a
// river, a road, a brick fort and a lava pool on grass.
struct MapScene {
    int project = -1;
    std::int32_t tiles = 0;
    std::int32_t mapId = 0;
};

MapScene MakeMapScene(std::uint32_t w = 20, std::uint32_t h = 200) {
    MapScene s;
    s.project = qbshots::CreateSceneProject("Jungle run", 0);
    s.tiles = NewItemOfType(s.project, 4, "Terrain");
    s.mapId = NewItemOfType(s.project, 6, "Level 1 background");
    qb::Bytes& bytes = qb::FindObject(s.mapId, s.project)->lpDatiOggetto;
    bytes.assign(map::SizeFor(w, h), 0);
    qb::RecordView r(bytes);
    r.setU32(map::kWidth, w);
    r.setU32(map::kHeight, h);
    r.setU32(map::kTileSize, 32);
    const auto t = static_cast<std::uint32_t>(s.tiles);
    auto put = [&](std::uint32_t x, std::uint32_t y, std::uint32_t column, std::uint32_t row) {
        if (x < w && y < h) r.setU32(map::CellOffset(x, y, w), cell::Make(t, column, row));
    };
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x) put(x, y, (x + y) % 10, 0);       // grass
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::uint32_t river = 3 + (y / 6) % 5 + (y / 40) * 7 % (w > 30 ? w - 10 : 1);
        for (std::uint32_t dx = 0; dx < 3; ++dx) put(river + dx, y, (y + dx) % 10, 1);  // water
        put(12, y, y % 10, 2);                                                   // stone road
        put(13, y, (y + 5) % 10, 2);
    }
    // The fort, the lava pool and the ice and sand fields, again every 20 x 70 tiles on a larger map.
    for (std::uint32_t oy = 0; oy < h; oy += 70)
        for (std::uint32_t ox = 0; ox < w; ox += 20) {
            const std::uint32_t shift = (ox / 20) % 3 * 9;
            for (std::uint32_t y = 4; y < 8; ++y)
                for (std::uint32_t x = 15; x < 19; ++x) put(ox + x, oy + y + shift, (x * 3 + y) % 10, 3);
            for (std::uint32_t y = 5; y < 7; ++y)
                for (std::uint32_t x = 16; x < 18; ++x) put(ox + x, oy + y + shift, x % 10, 9);
            for (std::uint32_t y = 12; y < 15; ++y)
                for (std::uint32_t x = 0; x < 3; ++x) put(ox + x, oy + y + shift, (x + y) % 10, 7);
            for (std::uint32_t y = 20; y < 60; ++y)
                for (std::uint32_t x = 15; x < 20; ++x) put(ox + x, oy + y, (x + y) % 10, 8 - (y / 20) % 2 * 4);
        }
    qb::SetCurrentObject(s.project, s.mapId);
    return s;
}

void Send(QWidget* view, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(view->mapToGlobal(at)),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(view, &e);
}

const qbshots::ScreenshotRegistration kParameters("background_map_parameters", [](const std::string& out) {
    MakeMapScene();
    auto dialog = std::make_unique<qb::ui::BackgroundMapDialog>(nullptr);
    qbshots::SaveShot(dialog.get(), out, "background_map_parameters.png");
});

// The painter runs modally: the shot is taken from inside its loop, with a block of bricks
// picked, the pointer resting on the picker so that its outline pulses, and the block's preview
// on the map.
void ShootPainter(const std::string& out, const std::string& file, bool satellite) {
    // The satellite view is shown on a larger map, so that its small picture has something to
    // show.
    const MapScene s = satellite ? MakeMapScene(160, 300) : MakeMapScene();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QWidget* picker = dialog->findChild<QWidget*>("tilePickerView");
        QWidget* canvas = dialog->findChild<QWidget*>("mapCanvas");
        Send(picker, QEvent::MouseMove, {100, 100}, Qt::NoButton);
        Send(picker, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
        Send(picker, QEvent::MouseMove, {180, 120}, Qt::LeftButton);
        Send(picker, QEvent::MouseButtonRelease, {180, 120}, Qt::NoButton);
        if (satellite) {
            dialog->findChild<QScrollBar*>("mapHorizontalScrollBar")->setValue(60);
            dialog->findChild<QScrollBar*>("mapVerticalScrollBar")->setValue(24);
            dialog->findChild<QCheckBox*>("satelliteViewCheckBox")->setChecked(true);
        } else {
            dialog->findChild<QCheckBox*>("gridCheckBox")->setChecked(true);
            Send(canvas, QEvent::MouseMove, {7 * 32 + 10, 9 * 32 + 10}, Qt::NoButton);
        }
        Send(picker, QEvent::MouseMove, {40, 200}, Qt::NoButton);
        qbshots::SettleEvents(350);  // a few outline ticks
        qbshots::SaveShot(dialog, out, file);
        dialog->reject();
    });
    qb::ui::EditBackgroundMap(nullptr, s.project, s.mapId);
}

const qbshots::ScreenshotRegistration kPainter("map_painter", [](const std::string& out) {
    ShootPainter(out, "map_painter.png", false);
});

const qbshots::ScreenshotRegistration kSatellite("map_painter_satellite", [](const std::string& out) {
    ShootPainter(out, "map_painter_satellite.png", true);
});

// MapView as a host editor embeds it: the map, scrolled a little, with the host's own markers
// drawn on top and the cell last clicked framed.
const qbshots::ScreenshotRegistration kMapView("map_view_demo", [](const std::string& out) {
    const MapScene s = MakeMapScene();
    QDialog host;
    host.setObjectName("mapViewDemo");
    host.setWindowTitle("MapView demo");
    auto* layout = new QVBoxLayout(&host);
    auto* view = new qb::ui::MapView(&host);
    auto* caption = new QLabel("Enemies placed on the level's background map", &host);
    caption->setObjectName("captionLabel");
    layout->addWidget(caption);
    layout->addWidget(view);
    QPoint marked(-1, -1);
    view->setOverlay([&](QPainter& p, const qb::ui::MapView& v) {
        p.setRenderHint(QPainter::Antialiasing);
        const int tile = v.tileSize();
        for (QPoint enemy : {QPoint(3, 5), QPoint(8, 8), QPoint(5, 11), QPoint(14, 6)}) {
            const QPoint at = v.mapToView(enemy * tile + QPoint(tile / 2, tile / 2));
            p.setPen(QPen(Qt::black, 2));
            p.setBrush(QColor(220, 40, 40));
            p.drawEllipse(at, tile / 3, tile / 3);
        }
        if (marked.x() >= 0) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::yellow, 2));
            p.drawRect(QRect(v.mapToView(marked * tile), QSize(tile, tile)).adjusted(1, 1, -1, -1));
        }
    });
    QObject::connect(view, &qb::ui::MapView::pressed, &host,
                     [&](QPoint at, Qt::MouseButton, Qt::KeyboardModifiers) {
                         marked = view->cellAt(at);
                         view->update();
                     });
    qb::ui::MapViewInit(*view, s.project);
    qb::ui::MapViewShow(*view, s.mapId);
    qb::ui::MapViewScroll(*view, Qt::Vertical, QAbstractSlider::SliderSingleStepAdd);
    qb::ui::MapViewScroll(*view, Qt::Horizontal, QAbstractSlider::SliderSingleStepAdd);
    Send(view->area(), QEvent::MouseButtonPress, {5 * 32 + 4, 6 * 32 + 4}, Qt::LeftButton);
    qbshots::SaveShot(&host, out, "map_view_demo.png");
    qb::ui::MapViewRelease(*view);
});

} // namespace
