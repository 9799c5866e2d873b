#pragma once
// "Pachinko's and Peggle's data" (type 508): one pachinko or peggle board. A background map shown
// in the MapView, up to 500 pieces placed on it (each one an element item, type 507, at a fixed
// position or along a vertical or horizontal run), the level order, the number of balls and the
// completion bonus.
//
// Pieces are composed in the controls under the view ("Pachinko's Element:", the placement, the
// initial and end positions, typed or picked on the map while a "Choose from map" button is
// down) and added one at a time or as a grid ("Add multi", whose four numbers are kept in
// preferences.ini, section PEGMAPDATA). All piece editing works on a working copy of the first
// 24020 bytes of the record; OK replaces the record by that copy, 24020 bytes long, with the map,
// the level order, the balls and the bonus written in. Cancel drops the copy.
//
// Positions are map pixels with y counted upward from the bottom of the map. The board holds 500
// pieces: "Add one" and "Add multi" refuse, with a message, what would not fit.
#include <QImage>
#include <QLineEdit>
#include <QRect>
#include <array>
#include <cstdint>

#include "editors/curling/pachinko_pieces.h"
#include "toolkit/item_editor.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QListWidget;
class QPainter;
class QPushButton;
class QRadioButton;

namespace qb::ui {

class MapView;

class PachinkoBoardDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit PachinkoBoardDialog(QWidget* owner);
    ~PachinkoBoardDialog() override;

    MapView* mapView() const { return view_; }
    const PachinkoPieces& pieces() const { return pieces_; }
    // Draws the pieces over the view's map, as every repaint of the view does after the map.
    void paintPieces(QPainter& painter);

    // The message shown when "Add one" or "Add multi" would place more than 500 pieces.
    static constexpr const char* kBoardFullMessage = "The board holds at most 500 pieces.";

protected:
    bool validateAndFinish() override;

private:
    void applyEnablingRule();
    void mapChosen();
    void refillList(int select);
    PachinkoPiece composedPiece() const;
    void resetPositions();
    void addOne();
    void addMulti();
    void change();
    void deleteSelected();
    void deleteFromSelected();
    void deleteAll();
    void pick(QPoint viewPosition);

    PachinkoPieces pieces_;
    MapView* view_ = nullptr;
    QComboBox* map_ = nullptr;
    QComboBox* element_ = nullptr;
    QRadioButton* vertical_ = nullptr;
    QRadioButton* fixed_ = nullptr;
    QRadioButton* horizontal_ = nullptr;
    QLineEdit* initX_ = nullptr;
    QLineEdit* initY_ = nullptr;
    QLineEdit* endX_ = nullptr;
    QLineEdit* endY_ = nullptr;
    QPushButton* chooseInit_ = nullptr;
    QPushButton* chooseEnd_ = nullptr;
    QCheckBox* fit16_ = nullptr;
    QPushButton* addOne_ = nullptr;
    QPushButton* addMulti_ = nullptr;
    std::array<QLineEdit*, 4> multi_{};  // columns, rows, x offset, y offset
    QListWidget* list_ = nullptr;
    QLineEdit* levelOrder_ = nullptr;
    QLineEdit* balls_ = nullptr;
    QLineEdit* bonus_ = nullptr;
    // The pieces as last drawn over the map, the part of the layer they cover, and what they
    // were drawn from.
    struct LayerKey {
        std::uint64_t generation = 0;
        int selected = -1;
        std::int64_t left = 0, top = 0;
        int viewSize = 0;
        PachinkoPiece composing;
        bool operator==(const LayerKey&) const = default;
    };
    QImage layer_;
    QRect layerUsed_;
    LayerKey layerKey_;
    std::uint64_t piecesGeneration_ = 0;  // grows whenever the pieces may have changed
};

} // namespace qb::ui
