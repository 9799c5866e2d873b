#pragma once
// "Explosion data" (Explosion animations, type 12) and "Bonus data" (type 14).
//
// An explosion is a sprite animation of 1 to 30 frames with an optional sound; the hidden
// "Number of frame repeated:" passes its field through. A bonus moves along a vectorial animation
// as a sprite animation of 1 to 100 frames and has one of four effects; the effect chosen enables
// the controls that matter for it, and every control is stored on OK, enabled or not.
#include "toolkit/item_editor.h"

namespace qb::ui {

class ExplosionEditorDialog : public ItemEditorDialog {
public:
    explicit ExplosionEditorDialog(QWidget* owner);
};

class BonusEditorDialog : public ItemEditorDialog {
public:
    explicit BonusEditorDialog(QWidget* owner);
};

} // namespace qb::ui
