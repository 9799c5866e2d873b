#include "app/panel_layout.h"

#include <QWidget>
#include <algorithm>

namespace qb::app {

PanelLayout::PanelLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

PanelLayout::~PanelLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

bool PanelLayout::addPanel(QWidget* panel, const QRect& placement) {
    if (!panel || entries_.size() >= kMaxPanels) return false;
    addChildWidget(panel);
    entries_.append({new QWidgetItem(panel), placement});
    invalidate();
    return true;
}

bool PanelLayout::setPlacement(QWidget* panel, const QRect& placement) {
    for (Entry& entry : entries_) {
        if (entry.item->widget() != panel) continue;
        entry.placement = placement;
        invalidate();
        if (QWidget* parent = parentWidget()) setGeometry(parent->rect());
        return true;
    }
    return false;
}

QRect PanelLayout::Place(const QRect& placement, const QRect& client) {
    const int x = placement.x();
    const int y = placement.y();
    int width = placement.width();
    int height = placement.height();
    if (width <= 0) width = client.width() - x + width;
    if (height <= 0) height = client.height() - y + height;
    return QRect(client.x() + x, client.y() + y, std::max(0, width), std::max(0, height));
}

QRect PanelLayout::freeArea(const QRect& client) const {
    int widest = 0;
    int highest = 0;
    for (const Entry& entry : entries_) {
        widest = std::max(widest, entry.placement.width());
        highest = std::max(highest, entry.placement.height());
    }
    QRect area = client;
    area.setLeft(client.left() + widest);
    area.setTop(client.top() + highest);
    return area;
}

void PanelLayout::addItem(QLayoutItem* item) {
    // Panels come in through addPanel with their rectangle; anything else fills the client area.
    if (!item) return;
    if (entries_.size() >= kMaxPanels) {
        delete item;
        return;
    }
    entries_.append({item, QRect(0, 0, 0, 0)});
}

QLayoutItem* PanelLayout::itemAt(int index) const {
    return index >= 0 && index < entries_.size() ? entries_[index].item : nullptr;
}

QLayoutItem* PanelLayout::takeAt(int index) {
    if (index < 0 || index >= entries_.size()) return nullptr;
    QLayoutItem* item = entries_[index].item;
    entries_.removeAt(index);
    return item;
}

int PanelLayout::count() const { return static_cast<int>(entries_.size()); }

QSize PanelLayout::sizeHint() const { return minimumSize(); }

QSize PanelLayout::minimumSize() const {
    // Enough for every panel that has a size of its own.
    int width = 0;
    int height = 0;
    for (const Entry& entry : entries_) {
        width = std::max(width, entry.placement.x() + std::max(0, entry.placement.width()));
        height = std::max(height, entry.placement.y() + std::max(0, entry.placement.height()));
    }
    return QSize(width, height);
}

void PanelLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    for (const Entry& entry : entries_) {
        // The rectangle is the panel's, whatever the panel would like: placed directly.
        const QRect placed = Place(entry.placement, rect);
        if (QWidget* widget = entry.item->widget())
            widget->setGeometry(placed);
        else
            entry.item->setGeometry(placed);
    }
}

} // namespace qb::app
