#pragma once
// PanelLayout: the placement table of the main window's child panels.
//
// Each entry is a panel and its rectangle in the main window's client area. A width or height of
// 0 or less reaches the right (bottom) edge, less a margin of that many pixels: the command
// panel is (0, 0, 0, 73), across the top; the tree panel (0, 73, 208, 0), down the left side.
// The free area (where the picture preview is painted) is what lies right of the widest and
// below the highest panel rectangle, counting only the rectangles' own values.
#include <QLayout>
#include <QList>
#include <QRect>

namespace qb::app {

class PanelLayout final : public QLayout {
public:
    static constexpr int kMaxPanels = 20;

    explicit PanelLayout(QWidget* parent = nullptr);
    ~PanelLayout() override;

    // Appends a panel with its rectangle; false (nothing added) when the table is full.
    bool addPanel(QWidget* panel, const QRect& placement);
    // Gives a panel of the table another rectangle; false when it is not in the table.
    bool setPlacement(QWidget* panel, const QRect& placement);
    // The rectangle a placement gives in a client area.
    static QRect Place(const QRect& placement, const QRect& client);
    // The free area in a client area.
    QRect freeArea(const QRect& client) const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        QRect placement;
    };
    QList<Entry> entries_;
};

} // namespace qb::app
