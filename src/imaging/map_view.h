#pragma once
// MapView: the read-only scrolling view of a background map (item type 6) that the level, track,
// room, playing-field and pachinko editors draw their own things on.
//
// Embedding it in a host editor:
//
//     auto* view = new MapView(this);          // 320 x 320 area with its two scroll bars;
//     layout->addWidget(view);                 // fixed size, lay it out like any widget
//     MapViewInit(*view);                      // when the dialog opens (current project)
//     MapViewShow(*view, storedMapId);         // once, then whenever the map choice changes
//     view->setOverlay([this](QPainter& p, const MapView& v) { ... });   // drawn after the map
//     connect(view, &MapView::mapPressed, this,
//             [this, view](QPoint mapPixel, QPoint cell, Qt::MouseButton b, Qt::KeyboardModifiers) {
//         ...; view->update();                           // repaint: map, then the overlay
//     });
//     // or, in view pixels: MapView::pressed / moved / released with view->cellAt(position) and
//     // view->mapPixelAt(position).
//     ...
//     MapViewRelease(*view);                   // when the dialog closes (the destructor does too)
//
// The scroll bars belong to the view and scroll it by one tile per line or page step (the mouse
// wheel scrolls too: down and up, with Shift across); `scrolled` tells the host. Positions given
// to the host are in view pixels, (0, 0) at the area's top-left corner. An overlay draws in the
// same coordinates: a map pixel (mx, my) is at mx - firstColumn * tileSize, my - firstRow *
// tileSize (mapToView). The overlay is drawn in every state, so a host with no map still shows its
// own things on the empty area.
//
// The view shows the map as it was when MapViewShow was called with its ID: edits made elsewhere
// are not seen until another map is shown and then this one again. It never changes the map.
// Nothing is shown (state SetUp) for ID 0, an ID that is not a map, a map with no usable tile set
// (see TileSets::LoadUsable) or a tile size of 0 or less. Cells a damaged record does not hold,
// empty cells and cells whose tile set is not loaded are white.
#include <QPoint>
#include <QWidget>
#include <QAbstractSlider>
#include <cstdint>
#include <functional>

#include "imaging/map_tiles.h"

class QPainter;
class QScrollBar;

namespace qb::ui {

constexpr int kMapViewSize = 320;

enum class MapViewState { Off = 0, SetUp = 1, Showing = 2 };

class MapViewArea;

class MapView : public QWidget {
    Q_OBJECT
public:
    // viewSize: the side of the square area in pixels.
    explicit MapView(QWidget* parent = nullptr, int viewSize = kMapViewSize);
    ~MapView() override;

    MapViewState state() const { return state_; }
    std::int32_t mapItemId() const { return mapItemId_; }
    // The shown map's copy (empty before a map is shown) and its tile sets.
    const MapCells& map() const { return map_; }
    const TileSets& tileSets() const { return tiles_; }
    const Bytes& mapRecord() const { return mapRecord_; }  // the record as it was when shown

    // What hosts read to draw their overlay and convert positions; all 0 unless showing.
    int tileSize() const { return state_ == MapViewState::Showing ? map_.tileSize : 0; }
    int mapWidth() const { return state_ == MapViewState::Showing ? map_.columns() : 0; }   // W
    int mapHeight() const { return state_ == MapViewState::Showing ? map_.rows() : 0; }     // H
    int firstColumn() const { return firstColumn_; }
    int firstRow() const { return firstRow_; }
    int viewSize() const { return viewSize_; }

    // The map cell (column, row) and the map pixel under a view position; (-1, -1) when no map is
    // shown. The cell may lie outside the map (check against W and H).
    QPoint cellAt(QPoint viewPosition) const;
    QPoint mapPixelAt(QPoint viewPosition) const;
    // Where a map pixel is in the view (may lie outside the area).
    QPoint mapToView(QPoint mapPixel) const;

    // The view area and the scroll bars, named "mapViewArea", "mapViewHorizontalScrollBar" and
    // "mapViewVerticalScrollBar" (the view itself is "mapView").
    QWidget* area() const;
    QScrollBar* horizontalBar() const { return horizontal_; }
    QScrollBar* verticalBar() const { return vertical_; }

    // Drawn over the map at every repaint, in view pixels.
    using Overlay = std::function<void(QPainter& painter, const MapView& view)>;
    void setOverlay(Overlay overlay) { overlay_ = std::move(overlay); }

signals:
    // Mouse on the area, in view pixels.
    void pressed(QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // The same press in map coordinates, only while a map is shown: the map pixel and the map
    // cell (column, row) under the pointer.
    void mapPressed(QPoint mapPixel, QPoint cell, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void moved(QPoint position, Qt::MouseButtons buttons);
    void released(QPoint position, Qt::MouseButton button);
    // The first visible column or row changed.
    void scrolled(int firstColumn, int firstRow);

protected:
    // Draws the host's overlay; a subclass may draw here instead of setting one.
    virtual void paintOverlay(QPainter& painter);

private:
    friend class MapViewArea;
    friend void MapViewInit(MapView&, int);
    friend void MapViewShow(MapView&, std::int32_t);
    friend void MapViewScroll(MapView&, Qt::Orientation, QAbstractSlider::SliderAction);
    friend void MapViewPaint(MapView&, QPainter&);
    friend void MapViewRelease(MapView&);

    void setRanges();
    void wheel(int steps, bool across);

    int viewSize_;
    MapViewState state_ = MapViewState::Off;
    int projectIndex_ = -1;
    std::int32_t mapItemId_ = 0;
    Bytes mapRecord_;  // the map item's record as it was when shown
    MapCells map_;
    TileSets tiles_;
    int firstColumn_ = 0;
    int firstRow_ = 0;
    Overlay overlay_;
    MapViewArea* area_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
};

// Set up with no map (state SetUp) in the project at projectIndex (the current project unless
// given): when the host dialog opens.
void MapViewInit(MapView& view, int projectIndex = -1);
// Shows the map item of that ID, unless the view is off or already shows it: releases the shown
// map, then, for a map with at least one usable tile set, copies it, loads the tile sets and
// scrolls to (0, 0); otherwise stays set up with no map. Repaints the view.
void MapViewShow(MapView& view, std::int32_t mapItemId);
// One scroll action on one of the view's bars (the bars call this themselves): line and page
// steps move by one tile, the thumb sets the position, to minimum and maximum go to the ends.
// Only while showing a map.
void MapViewScroll(MapView& view, Qt::Orientation bar, QAbstractSlider::SliderAction action);
// Draws the visible part of the map into painter (view pixels from its origin): nothing unless
// showing; the rows below the map are white, the columns right of it are not drawn.
void MapViewPaint(MapView& view, QPainter& painter);
// Frees the map copy and the tile sets; state Off.
void MapViewRelease(MapView& view);

} // namespace qb::ui
