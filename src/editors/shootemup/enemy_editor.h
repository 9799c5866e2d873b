#pragma once
// "Enemies data" (type 7): one kind of enemy — its sprite animation and how it is animated, the
// one or two vectorial animations it moves along, its shield, points, explosion and beat
// animation, the enemy it fires and its sounds.
//
// "Have to destroy it to complete level" goes together with the type of animation that loops
// "Vectorial animation 2": checking it forces that type and locks the others, clearing it moves
// that type back to "Sprite cycle animation". The directional type forces 8 sprites, picked in
// the directional sprite animation editor (frame f is direction f). Groups the dialog does not
// offer (shield audio, multiscroll, background collision) still load and store their fields.
#include "toolkit/item_editor.h"

namespace qb::ui {

class EnemyEditorDialog : public ItemEditorDialog {
public:
    explicit EnemyEditorDialog(QWidget* owner);
};

} // namespace qb::ui
