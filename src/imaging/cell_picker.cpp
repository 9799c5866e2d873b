#include "imaging/cell_picker.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace qb::ui {

namespace {

// The outline pulses from its lower bound in steps of 68 and back; a step that would leave
// [0, 255] turns round and the colour stays for that tick (0, 68, 136, 204, 204, 136, ...).
constexpr int kOutlineStep = 68;
constexpr int kOutlineLow = 0;
constexpr int kOutlineHigh = 255;
constexpr int kOutlineWidth = 2;
constexpr int kOutlineTickMs = 100;

const QColor kEmptyArea(64, 64, 64);

// Floor division for pointer positions, which may lie left of or above the view while dragging.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

class CellPickerView : public QWidget {
public:
    CellPickerView(CellPicker* picker, int side) : QWidget(picker), picker_(picker) {
        setFixedSize(side, side);
        setMouseTracking(true);
        // Every pixel is painted each time: scrolling needs no erase and does not flicker.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        picker_->paint(painter);
    }
    void mouseMoveEvent(QMouseEvent* e) override { picker_->pointerMoved(e->position().toPoint()); }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) picker_->pointerPressed(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) picker_->pointerReleased(e->position().toPoint());
    }
    void leaveEvent(QEvent*) override { picker_->pointerLeft(); }
    void wheelEvent(QWheelEvent* e) override {
        const QPoint delta = e->angleDelta();
        const int amount = delta.y() != 0 ? delta.y() : delta.x();
        if (amount == 0) return;
        picker_->wheel(amount > 0 ? -1 : 1, (e->modifiers() & Qt::ShiftModifier) || delta.y() == 0);
        e->accept();
    }

private:
    CellPicker* picker_;
};

CellPicker::CellPicker(QWidget* parent, const QString& prefix, const QString& accessibleName, int viewSize)
    : QWidget(parent), viewSize_(std::max(1, viewSize)) {
    setObjectName(prefix + "Picker");
    view_ = new CellPickerView(this, viewSize_);
    view_->setObjectName(prefix + "View");
    view_->setAccessibleName(accessibleName);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName(prefix + "HorizontalScrollBar");
    horizontal_->setAccessibleName(accessibleName + " across");
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName(prefix + "VerticalScrollBar");
    vertical_->setAccessibleName(accessibleName + " down");
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        // A page step moves by one cell, like a line step.
        bar->setRange(0, 0);
        bar->setSingleStep(1);
        bar->setPageStep(1);
    }
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(view_, 0, 0);
    grid->addWidget(vertical_, 0, 1);
    grid->addWidget(horizontal_, 1, 0);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int v) {
        scrollColumn_ = v;
        view_->update();
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int v) {
        scrollRow_ = v;
        view_->update();
    });

    timer_ = new QTimer(this);
    timer_->setObjectName("outlineTimer");
    timer_->setInterval(kOutlineTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });
    resetSelection();
}

QWidget* CellPicker::view() const { return view_; }

void CellPicker::startOutline() { timer_->start(); }
void CellPicker::stopOutline() { timer_->stop(); }

void CellPicker::setPicture(const QImage* picture, int cellSize) {
    picture_ = picture;
    cell_ = cellSize;
    int columns = 0, rows = 0;
    if (pickable()) {
        columns = std::max(0, (picture_->width() - viewSize_) / cell_);
        rows = std::max(0, (picture_->height() - viewSize_) / cell_);
    }
    scrollColumn_ = scrollRow_ = 0;
    for (auto [bar, max] : {std::pair{horizontal_, columns}, std::pair{vertical_, rows}}) {
        QSignalBlocker quiet(bar);
        bar->setRange(0, max);
        bar->setValue(0);
    }
    resetSelection();
    view_->update();
}

void CellPicker::resetSelection() {
    selection_ = QRect();
    drawnSelection_ = QRect();
    dragging_ = false;
    outlineValue_ = kOutlineLow;
    outlineStep_ = kOutlineStep;
}

void CellPicker::pointerMoved(QPoint p) {
    if (!pickable()) return;
    const int cell = cell_;
    const long long view = viewSize_;
    if (dragging_) {
        // The far corner follows the pointer, at least one cell from the start and at most to the
        // view's edge (a single cell wider than the view is still one cell).
        const int right = static_cast<int>(std::max(std::min((FloorDiv(p.x(), cell) + 1LL) * cell, view),
                                                    1LL * selection_.left() + cell));
        const int bottom = static_cast<int>(std::max(std::min((FloorDiv(p.y(), cell) + 1LL) * cell, view),
                                                     1LL * selection_.top() + cell));
        selection_ = QRect(QPoint(selection_.left(), selection_.top()), QPoint(right - 1, bottom - 1));
        return;
    }
    pointerInside_ = p.x() >= 0 && p.y() >= 0 && p.x() < viewSize_ && p.y() < viewSize_;
    if (!pointerInside_) return;
    selection_ = QRect((p.x() / cell) * cell, (p.y() / cell) * cell, cell, cell);
}

void CellPicker::pointerPressed(QPoint p) {
    if (!pickable() || p.x() < 0 || p.y() < 0 || p.x() >= viewSize_ || p.y() >= viewSize_) return;
    pointerMoved(p);  // the cell under the pointer is where the drag starts
    dragging_ = true;
}

void CellPicker::pointerReleased(QPoint p) {
    if (!dragging_) return;
    pointerMoved(p);
    dragging_ = false;
    if (!pickable() || selection_.isEmpty()) return;
    const int cell = cell_;
    // QRect's right() is inclusive; the selection's far edges lie one pixel beyond.
    emit picked(selection_.left() / cell + scrollColumn_, selection_.top() / cell + scrollRow_,
                (selection_.right() + 1) / cell + scrollColumn_ - 1,
                (selection_.bottom() + 1) / cell + scrollRow_ - 1);
}

void CellPicker::pointerLeft() {
    if (!dragging_) pointerInside_ = false;
}

void CellPicker::wheel(int steps, bool across) {
    QScrollBar* bar = across ? horizontal_ : vertical_;
    bar->setValue(bar->value() + steps);
}

QColor CellPicker::outlineColour() const {
    return dragging_ ? QColor(0, outlineValue_, 255) : QColor(outlineValue_, outlineValue_, outlineValue_);
}

void CellPicker::tick() {
    const bool wanted = pickable() && !selection_.isEmpty() && (pointerInside_ || dragging_);
    if (!wanted) {
        if (outlineShown_) {
            outlineShown_ = false;
            drawnSelection_ = QRect();
            view_->update();
        }
        return;
    }
    if (selection_ != drawnSelection_) {
        drawnSelection_ = selection_;
        outlineValue_ = kOutlineLow;
        outlineStep_ = kOutlineStep;
    }
    drawnColour_ = outlineColour();
    outlineShown_ = true;
    const int next = outlineValue_ + outlineStep_;
    if (next < kOutlineLow || next > kOutlineHigh)
        outlineStep_ = -outlineStep_;
    else
        outlineValue_ = next;
    view_->update();
}

void CellPicker::paint(QPainter& painter) {
    painter.fillRect(0, 0, viewSize_, viewSize_, kEmptyArea);
    if (picture_ && !picture_->isNull()) {
        const long long cell = std::max(0, cell_);
        const QRect source(static_cast<int>(scrollColumn_ * cell), static_cast<int>(scrollRow_ * cell),
                           viewSize_, viewSize_);
        const QRect visible = source.intersected(picture_->rect());
        if (!visible.isEmpty()) painter.drawImage(visible.topLeft() - source.topLeft(), *picture_, visible);
    }
    if (outlineShown_ && !drawnSelection_.isEmpty()) {
        const QRect& r = drawnSelection_;
        const int w = kOutlineWidth;
        painter.fillRect(r.left(), r.top(), r.width(), w, drawnColour_);
        painter.fillRect(r.left(), r.bottom() + 1 - w, r.width(), w, drawnColour_);
        painter.fillRect(r.left(), r.top(), w, r.height(), drawnColour_);
        painter.fillRect(r.right() + 1 - w, r.top(), w, r.height(), drawnColour_);
    }
}

} // namespace qb::ui
