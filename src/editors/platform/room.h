#pragma once
// "Room data" (type 208): a room of a platform game. The room names its background map, its code
// and the codes of the rooms beyond its four edges, and holds up to 20 elements placed on the
// map: enemies patrolling a vertical or horizontal path and bonus items to collect.
//
// Elements are composed in the "New parameter" group and appended with "Add new"; "Change"
// moves a listed element back into the composing controls, "Delete" removes it. Positions can be
// typed or picked on the map view while a "Choose from map" button is down; a left click in the
// view lets both buttons go, keeping the last point. Map positions count x from the map's left
// and y upward from its bottom.
//
// All element editing works on a copy of the record; OK replaces the record with a fresh one of
// 1788 bytes made from the copy and the controls (an element count outside 0..20 in a damaged
// record becomes the number of elements the list holds), Cancel drops the copy. OK can be
// pressed only while a background map is chosen.
#include <QPoint>
#include <cstdint>

#include "model/layouts/platform_items.h"
#include "model/record.h"
#include "toolkit/item_editor.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qb::ui {

class MapView;

// One element of a room, as its 88 bytes hold it.
struct RoomElement {
    std::int32_t kind = layout::room::element::kHorizontalEnemy;
    std::int32_t initX = 0, initY = 0, endX = 0, endY = 0;
    std::int32_t percent = 0;
};

// Where the start of an element's path lies on the axis it moves along: initial + (end -
// initial) x percent / 100, the fraction dropped toward zero.
std::int64_t RoomElementStart(std::int32_t initial, std::int32_t end, std::int32_t percent);

// The map point a view position stands for: x = L + vx, y = T - (vy + 1), with L the pixels
// scrolled off the left and T the height in pixels from the first visible row to the map's
// bottom. With fit, the view point is snapped to the middle of its 16-pixel column and to the
// top of its 16-pixel row first.
QPoint RoomMapPoint(QPoint viewPosition, std::int64_t left, std::int64_t top, bool fit);

class RoomDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit RoomDialog(QWidget* owner);
    ~RoomDialog() override;

    static constexpr std::size_t kMaxElements = layout::room::kElementSlots;
    // The elements the working copy holds now.
    std::size_t elementCount() const { return count_; }

protected:
    bool validateAndFinish() override;
    void accept() override;

private:
    void resetComposing();
    void applyRules();
    void refillList(int select = -1);
    void addNew();
    void changeSelected();
    void deleteSelected();
    void mapChosen();
    void mouseMoved(QPoint position);
    void drawElements(QPainter& painter);
    RoomElement composing() const;
    std::int64_t viewLeft() const;
    std::int64_t viewTop() const;

    Bytes work_;            // the working copy of the whole record
    std::size_t count_ = 0; // elements in the working copy, 0..20

    MapView* view_ = nullptr;
    QComboBox* map_ = nullptr;
    QLineEdit* roomCode_ = nullptr;
    QLineEdit* leftRoom_ = nullptr;
    QLineEdit* rightRoom_ = nullptr;
    QLineEdit* topRoom_ = nullptr;
    QLineEdit* bottomRoom_ = nullptr;
    QCheckBox* fit_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* delete_ = nullptr;

    QWidget* composingGroup_ = nullptr;
    QRadioButton* enemy_ = nullptr;
    QRadioButton* bonus_ = nullptr;
    QLabel* enemyTypeLabel_ = nullptr;
    QComboBox* enemyType_ = nullptr;
    QLabel* bonusTypeLabel_ = nullptr;
    QComboBox* bonusType_ = nullptr;
    QRadioButton* vertical_ = nullptr;
    QRadioButton* horizontal_ = nullptr;
    QLineEdit* initX_ = nullptr;
    QLineEdit* initY_ = nullptr;
    QPushButton* chooseInit_ = nullptr;
    QLabel* endXLabel_ = nullptr;
    QLineEdit* endX_ = nullptr;
    QLabel* endYLabel_ = nullptr;
    QLineEdit* endY_ = nullptr;
    QPushButton* chooseEnd_ = nullptr;
    QLabel* percentLabel_ = nullptr;
    QLineEdit* percent_ = nullptr;
    QCheckBox* reversed_ = nullptr;
    QWidget* shotGroup_ = nullptr;
    QRadioButton* noShot_ = nullptr;
    QRadioButton* shot_ = nullptr;
    QLineEdit* shotTimeout_ = nullptr;
    QLineEdit* speed_ = nullptr;          // kept out of sight, not stored
    QLineEdit* screenX_ = nullptr;        // kept out of sight, not stored
    QPushButton* addNew_ = nullptr;
};

} // namespace qb::ui
