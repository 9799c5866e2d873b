#pragma once
// "Track data" (type 108): the background map a circuit is drawn on, the laps to drive, and the
// line markers placed on the map (the start line, the lines where a car enters or leaves the
// pit box, the box start positions).
//
// The markers are edited in the record itself while the dialog is open: "Add new" appends the
// marker described by the "New parameter" controls, "Change" takes the selected one back into
// those controls (it returns, at the end, with the next "Add new"), "Delete" removes it. A copy
// of the record taken at opening is put back by Cancel, so Cancel undoes every marker change.
//
// The map view shows the chosen map with the markers over it: the one being described in
// yellow, the stored ones in green, the selected one in red. While a "Choose from map" toggle is
// down, moving the mouse over the view writes the map point under it into that point's
// position edits; a click releases the toggle and keeps the point. Marker y positions count
// upward from the bottom edge of the map.
#include <QPoint>
#include <cstdint>

#include "model/record.h"
#include "toolkit/item_editor.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPainter;
class QPushButton;
class QRadioButton;

namespace qb::ui {

class MapView;

class TrackDataDialog : public ItemEditorDialog {
public:
    explicit TrackDataDialog(QWidget* owner);
    ~TrackDataDialog() override;

    // A marker as the record holds it (20 bytes).
    struct Marker {
        std::uint16_t orientation = 0;  // layout::track::marker::kHorizontal or kVertical
        std::uint16_t kind = 0;         // kStartLine, kBoxEnterExit or kBoxStartPosition
        std::int32_t startX = 0, startY = 0, endX = 0, endY = 0;
    };

    // The map point under a view position, y counted upward from the map's bottom edge.
    QPoint mapPointAt(QPoint viewPosition) const;

    void reject() override;

protected:
    void afterLoad() override;

private:
    void addMarker();
    void changeMarker();
    void deleteMarker();
    void resetNewParameter();
    void applyEnabling();
    void refillList(int select = -1);
    void pick(QPoint viewPosition);
    void drawMarkers(QPainter& painter);
    void drawMarker(QPainter& painter, const Marker& marker, Qt::GlobalColor colour);

    // How many markers the record has room for (50 in a whole record), and how many it holds:
    // its count kept within that room.
    int markerRoom();
    int markerCount();
    Marker markerAt(int index);
    void setMarker(RecordView& record, int index, const Marker& marker);
    Marker describedMarker() const;
    bool removeMarker(int index);

    Bytes backup_;
    MapView* view_ = nullptr;
    QComboBox* map_ = nullptr;
    QRadioButton* vertical_ = nullptr;
    QRadioButton* horizontal_ = nullptr;
    QRadioButton* startLine_ = nullptr;
    QRadioButton* boxEnterExit_ = nullptr;
    QRadioButton* boxStart_ = nullptr;
    QLineEdit* startX_ = nullptr;
    QLineEdit* startY_ = nullptr;
    QLineEdit* endX_ = nullptr;
    QLineEdit* endY_ = nullptr;
    QPushButton* chooseStart_ = nullptr;
    QPushButton* chooseEnd_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace qb::ui
