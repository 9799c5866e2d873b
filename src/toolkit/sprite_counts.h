#pragma once
// The "Number of sprites" boxes of an item editor and the buttons that open the sprite animation
// editor on the animations they count.
//
// Each box is bound to its count field and enables its buttons exactly when its text reads as a
// number from 1 to its maximum; the dialog's OK is enabled exactly when every box is valid, so a
// count out of range can never be stored. The rule runs whenever a box changes, also when the
// editor fills it on opening: a stored count the record cannot hold shows as stored, with its
// buttons and OK disabled.
//
//     SpriteCounts counts(this);
//     QLineEdit* n = counts.add(NumberEdit("spritesLineEdit"), layout::explosion::kSpriteCount, 30,
//                               {editSprites});
//     counts.editSprites(editSprites, n, layout::explosion::kSprites, 30);
#include <QObject>
#include <cstddef>
#include <functional>
#include <vector>

#include "imaging/sprite_animation_editor.h"

class QLineEdit;
class QPushButton;

namespace qb::ui {

class ItemEditorDialog;

class SpriteCounts : public QObject {
public:
    explicit SpriteCounts(ItemEditorDialog* dialog);

    // Binds box to the i32 count at offset and gives it its rule over buttons; answers box.
    QLineEdit* add(QLineEdit* box, std::size_t offset, int max, std::vector<QPushButton*> buttons);
    // button opens the sprite animation editor on the run of frames at offset, N being the
    // number in box when it is clicked (never more than capacity, the frames the run has room for),
    // in the variant variant() answers then (the plain one without it).
    void editSprites(QPushButton* button, QLineEdit* box, std::size_t offset, int capacity,
                     std::function<SpriteEditorVariant()> variant = {});

    // The number a box's text reads as, when it lies in 1..max; 0 otherwise.
    static int ValidCount(const QLineEdit* box, int max);

private:
    struct Count {
        QLineEdit* box;
        int max;
        std::vector<QPushButton*> buttons;
    };
    void apply();

    ItemEditorDialog* dialog_;
    std::vector<Count> counts_;
};

} // namespace qb::ui
