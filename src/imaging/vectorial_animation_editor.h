#pragma once
// "Edit vectorial animation" (type 11): an enemy's movement path drawn with the mouse on a
// 320 x 320 area that stands for the game screen.
//
// The path starts at the point of its type of animation and goes through the vectors in drawing
// order, each the end point of a leg with that leg's speed. A left click on the area appends a
// vector; "<-" takes the last one back and "->" brings it back again, so the editor keeps a
// working array larger than the path in use. OK replaces the record with the vectors in use
// (16 + 8 x count bytes); the ones taken back are dropped.
//
// The area reaches a little beyond the screen's right and bottom edges: a click there appends its
// point as it is, so a path may end off the screen.
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/item_editor.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qb::ui {

constexpr int kPathScreenSize = 320;  // the game screen the path is drawn on
constexpr int kPathAreaMargin = 24;   // the area beyond its right and bottom edges

// Where a path of that type of animation starts; the screen's centre for an unknown type.
QPoint PathStartPoint(std::uint32_t type);

struct PathVector {
    std::uint32_t speed = 0;  // low 16 bits only
    std::uint32_t point = 0;  // x * 65536 + y
};

class VectorialAnimationDialog;

// The drawing area: white screen in a black border, the start square, the legs with the squares
// of their end points, and the line to the pointer while it moves over the area.
class PathArea : public QWidget {
public:
    explicit PathArea(VectorialAnimationDialog* editor);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;

private:
    VectorialAnimationDialog* editor_;
};

class VectorialAnimationDialog : public ItemEditorDialog {
public:
    explicit VectorialAnimationDialog(QWidget* owner);

    // What the area shows and does.
    std::uint32_t currentType() const { return type_; }
    int vectorCount() const { return count_; }
    const std::vector<PathVector>& workingVectors() const { return vectors_; }
    bool pointerOver() const { return pointerOver_; }
    QPoint pointer() const { return pointer_; }
    void appendPoint(QPoint p);
    void pointerMoved(QPoint p);
    void pointerLeft();

private:
    void loadPath(RecordView& r);
    void storePath(RecordView& r);
    void chooseType(std::uint32_t type);
    void takeBack();
    void bringBack();
    // Shows the speed of the last vector in use, or empties and disables the box.
    void showActualSpeed();
    void actualSpeedEdited();

    std::uint32_t type_ = 0;
    std::uint32_t storedType_ = 0;
    std::vector<PathVector> vectors_;  // capacity = its size
    int count_ = 0;
    bool pointerOver_ = false;
    QPoint pointer_;
    bool showingSpeed_ = false;

    PathArea* area_ = nullptr;
    std::array<QRadioButton*, 5> types_{};
    QLineEdit* scale_ = nullptr;
    QLineEdit* actualSpeed_ = nullptr;
    QLineEdit* nextSpeed_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
};

} // namespace qb::ui
