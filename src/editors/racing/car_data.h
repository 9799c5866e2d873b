#pragma once
// "Car data" (Vehicle data, type 109): the 24 sprites of one car, its four sounds under one
// "Enable sound" switch, its collision radius and its driving parameters.
//
// OK stores every control and rebuilds the tree; Cancel stores nothing, except the sprites
// picked through "Edit sprites", which the sprite animation editor has already saved.
#include "toolkit/item_editor.h"

namespace qb::ui {

class CarDataDialog : public ItemEditorDialog {
public:
    explicit CarDataDialog(QWidget* owner);
};

} // namespace qb::ui
