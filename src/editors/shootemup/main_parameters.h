#pragma once
// "Main parameters" of a shoot'em-up project (type 1): the level list, the player's ship and
// fire, speeds and lives, where the compiled game finds its resources, the game area, splash
// screens and font, and the placement of the score, high-score and lives texts.
//
// The record is edited in place on OK. Two things reach it at once and survive Cancel: the
// sprite frames picked through the "Edit sprite" buttons (the sprite animation editor saves the
// project itself) and the "Use custom font" flag (saved with the next save of the project).
// The working copy of the level list is the only state Cancel drops.
#include "toolkit/item_editor.h"

namespace qb::ui {

class ShootEmUpMainDialog : public ItemEditorDialog {
public:
    explicit ShootEmUpMainDialog(QWidget* owner);
};

} // namespace qb::ui
