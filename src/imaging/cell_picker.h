#pragma once
// CellPicker: a square view of a picture cut into square cells, with its two scroll bars, on
// which the user picks a rectangle of whole cells. The sprite animation editor picks sprite
// frames on sprite sheets with it, the map painter blocks of tiles on tile sets.
//
// Hovering outlines the cell under the pointer; pressing starts a rectangle whose far corner
// follows the pointer, snapped to cells, at least one cell and never beyond the view; releasing
// emits `picked` with the rectangle's cells in picture coordinates (the scroll position added).
// The outline pulses on a 100 ms timer ("outlineTimer"): grey from black upwards while hovering,
// blue with a pulsing green while dragging, each channel stepping by 68 and turning round at the
// ends. The scroll bars move by one cell per line or page step; the mouse wheel scrolls too
// (Shift: across).
#include <QImage>
#include <QRect>
#include <QWidget>

class QScrollBar;
class QTimer;

namespace qb::ui {

class CellPickerView;

class CellPicker : public QWidget {
    Q_OBJECT
public:
    // Names its view, scroll bars and timer prefix + "View", prefix + "HorizontalScrollBar",
    // prefix + "VerticalScrollBar" and "outlineTimer".
    CellPicker(QWidget* parent, const QString& prefix, const QString& accessibleName, int viewSize = 320);

    // Shows a picture (not owned; null or a null image for none) cut into cells of that size,
    // from scroll position (0, 0), with no selection. A cell size of 0 or less offers nothing.
    void setPicture(const QImage* picture, int cellSize);
    void resetSelection();

    int scrollColumn() const { return scrollColumn_; }
    int scrollRow() const { return scrollRow_; }
    int cellSize() const { return cell_; }
    int viewSize() const { return viewSize_; }
    QWidget* view() const;
    QScrollBar* horizontalBar() const { return horizontal_; }
    QScrollBar* verticalBar() const { return vertical_; }
    // The selection in view pixels (empty for none), and whether a drag is going on.
    QRect selection() const { return selection_; }
    bool dragging() const { return dragging_; }
    // The outline's colour for the next tick.
    QColor outlineColour() const;

    void startOutline();
    void stopOutline();

signals:
    // The rectangle of cells picked, in picture cells (may lie beyond the picture when it does
    // not fill the view).
    void picked(int firstColumn, int firstRow, int lastColumn, int lastRow);

private:
    friend class CellPickerView;
    bool pickable() const { return cell_ > 0 && picture_ && !picture_->isNull(); }
    void pointerMoved(QPoint p);
    void pointerPressed(QPoint p);
    void pointerReleased(QPoint p);
    void pointerLeft();
    void wheel(int steps, bool across);
    void tick();
    void paint(class QPainter& painter);

    int viewSize_;
    const QImage* picture_ = nullptr;
    int cell_ = 0;
    int scrollColumn_ = 0;
    int scrollRow_ = 0;
    QRect selection_;       // in view pixels; empty = none
    QRect drawnSelection_;  // the selection the outline was last drawn for
    bool dragging_ = false;
    bool pointerInside_ = false;
    bool outlineShown_ = false;
    int outlineValue_ = 0;
    int outlineStep_ = 0;
    QColor drawnColour_;

    CellPickerView* view_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QTimer* timer_ = nullptr;
};

} // namespace qb::ui
