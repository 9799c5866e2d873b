#include "imaging/map_view.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "model/layouts/map.h"
#include "model/workspace.h"
#include "toolkit/item_types.h"

namespace qb::ui {

class MapViewArea : public QWidget {
public:
    MapViewArea(MapView* view, int side) : QWidget(view), view_(view) {
        setObjectName("mapViewArea");
        setAccessibleName("Background map view");
        setFixedSize(side, side);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        MapViewPaint(*view_, painter);
        view_->paintOverlay(painter);
    }
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        emit view_->pressed(at, e->button(), e->modifiers());
        if (view_->state() == MapViewState::Showing)
            emit view_->mapPressed(view_->mapPixelAt(at), view_->cellAt(at), e->button(), e->modifiers());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        emit view_->moved(e->position().toPoint(), e->buttons());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        emit view_->released(e->position().toPoint(), e->button());
    }
    void wheelEvent(QWheelEvent* e) override {
        const QPoint delta = e->angleDelta();
        const int amount = delta.y() != 0 ? delta.y() : delta.x();
        if (amount == 0) return;
        const bool across = (e->modifiers() & Qt::ShiftModifier) || delta.y() == 0;
        view_->wheel(amount > 0 ? -1 : 1, across);
        e->accept();
    }

private:
    MapView* view_;
};

MapView::MapView(QWidget* parent, int viewSize) : QWidget(parent), viewSize_(std::max(1, viewSize)) {
    setObjectName("mapView");
    setAccessibleName("Background map");
    area_ = new MapViewArea(this, viewSize_);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName("mapViewHorizontalScrollBar");
    horizontal_->setAccessibleName("Scroll the map across");
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName("mapViewVerticalScrollBar");
    vertical_->setAccessibleName("Scroll the map down");
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setRange(0, 0);
        // A page step moves by one tile, like a line step.
        bar->setSingleStep(1);
        bar->setPageStep(1);
    }
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(area_, 0, 0);
    grid->addWidget(vertical_, 0, 1);
    grid->addWidget(horizontal_, 1, 0);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int v) {
        if (state_ != MapViewState::Showing) return;
        firstColumn_ = v;
        area_->update();
        emit scrolled(firstColumn_, firstRow_);
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int v) {
        if (state_ != MapViewState::Showing) return;
        firstRow_ = v;
        area_->update();
        emit scrolled(firstColumn_, firstRow_);
    });
}

MapView::~MapView() = default;

QWidget* MapView::area() const { return area_; }

void MapView::paintOverlay(QPainter& painter) {
    if (overlay_) overlay_(painter, *this);
}

QPoint MapView::cellAt(QPoint p) const {
    const int tile = tileSize();
    if (tile <= 0) return {-1, -1};
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return {floorDiv(p.x(), tile) + firstColumn_, floorDiv(p.y(), tile) + firstRow_};
}

QPoint MapView::mapPixelAt(QPoint p) const {
    const int tile = tileSize();
    if (tile <= 0) return {-1, -1};
    return {static_cast<int>(std::clamp<long long>(p.x() + 1LL * firstColumn_ * tile, INT_MIN, INT_MAX)),
            static_cast<int>(std::clamp<long long>(p.y() + 1LL * firstRow_ * tile, INT_MIN, INT_MAX))};
}

QPoint MapView::mapToView(QPoint m) const {
    const long long tile = tileSize();
    return {static_cast<int>(std::clamp<long long>(m.x() - firstColumn_ * tile, INT_MIN, INT_MAX)),
            static_cast<int>(std::clamp<long long>(m.y() - firstRow_ * tile, INT_MIN, INT_MAX))};
}

void MapView::setRanges() {
    int columns = 0, rows = 0;
    if (state_ == MapViewState::Showing && map_.tileSize > 0) {
        const int n = viewSize_ / map_.tileSize;
        columns = std::max(0, map_.columns() - n);
        rows = std::max(0, map_.rows() - n);
    }
    firstColumn_ = firstRow_ = 0;
    for (auto [bar, max] : {std::pair{horizontal_, columns}, std::pair{vertical_, rows}}) {
        QSignalBlocker quiet(bar);
        bar->setRange(0, max);
        bar->setValue(0);
    }
}

void MapView::wheel(int steps, bool across) {
    if (state_ != MapViewState::Showing) return;
    QScrollBar* bar = across ? horizontal_ : vertical_;
    bar->setValue(bar->value() + steps);
}

void MapViewInit(MapView& view, int projectIndex) {
    view.projectIndex_ = projectIndex >= 0 ? projectIndex : CurrentProjectIndex();
    view.state_ = MapViewState::SetUp;
    view.mapItemId_ = 0;
}

void MapViewShow(MapView& view, std::int32_t id) {
    if (view.state_ == MapViewState::Off || id == view.mapItemId_) return;
    if (view.state_ == MapViewState::Showing) {
        const int project = view.projectIndex_;
        MapViewRelease(view);
        MapViewInit(view, project);
    }
    ProjectRecord* project = ProjectAt(view.projectIndex_);
    ObjectRecord* item = id != 0 && project ? FindObject(*project, id) : nullptr;
    if (item && item->tipoOggetto == kBackgroundMapType) {
        MapCells map = ReadMapCells(item->lpDatiOggetto);
        TileSets tiles = TileSets::LoadUsable(*project, map.tileSize);
        if (!tiles.empty()) {
            view.state_ = MapViewState::Showing;
            view.mapItemId_ = id;
            view.mapRecord_ = item->lpDatiOggetto;
            view.map_ = std::move(map);
            view.tiles_ = std::move(tiles);
        }
    }
    view.setRanges();
    view.area_->update();
}

void MapViewScroll(MapView& view, Qt::Orientation bar, QAbstractSlider::SliderAction action) {
    if (view.state_ != MapViewState::Showing) return;
    (bar == Qt::Horizontal ? view.horizontal_ : view.vertical_)->triggerAction(action);
}

void MapViewPaint(MapView& view, QPainter& painter) {
    if (view.state_ != MapViewState::Showing) return;
    const int tile = view.map_.tileSize;
    if (tile <= 0) return;
    const int n = view.viewSize_ / tile;
    const int columns = std::min(n, view.map_.columns());
    // Every row of the shown columns is white first: the rows below the map stay so, and so do
    // cells a damaged record does not hold.
    painter.fillRect(0, 0, columns * tile, n * tile, EmptyCellColour());
    DrawMapCells(painter, view.map_, view.tiles_, view.firstColumn_, view.firstRow_, columns,
                 std::min(n, view.map_.rows()));
}

void MapViewRelease(MapView& view) {
    view.map_ = MapCells{};
    view.tiles_ = TileSets{};
    view.mapRecord_ = Bytes{};
    view.mapItemId_ = 0;
    view.state_ = MapViewState::Off;
    view.setRanges();
    view.area_->update();
}

} // namespace qb::ui
