#pragma once
// "Ship data" (User ship data, type 9) and "Ship fire data" (User ship fire data, type 10): the
// player's ship with its straight, left-turn and right-turn sprite animations, and its weapons,
// each of which may name the next one as its upgrade.
//
// Both edit the record in place on OK. The sprite animations are picked in the sprite animation
// editor, which saves them at once: Cancel here does not undo them. Counts outside 1 to 10 keep
// the matching "Edit ..." buttons and OK disabled. Controls the dialogs hide (the ship's
// background-collision radius, the fire's points if lost and loop sound) still load and store
// their fields, so those pass through unchanged.
#include "toolkit/item_editor.h"

namespace qb::ui {

class ShipEditorDialog : public ItemEditorDialog {
public:
    explicit ShipEditorDialog(QWidget* owner);
};

class ShipFireEditorDialog : public ItemEditorDialog {
public:
    explicit ShipFireEditorDialog(QWidget* owner);
};

} // namespace qb::ui
