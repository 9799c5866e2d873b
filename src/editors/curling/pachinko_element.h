#pragma once
// "Pachinko's element" (type 507): one kind of board piece of a pachinko or peggle game (a peg,
// a wall, a launcher, a hole, a slot-machine trigger, a decoration) with its type, the sprites
// shown while it is off and on and while it animates, with their offsets, its collision radius,
// score, brake and collision sound, and three rules of play.
//
// OK stores the controls into the record in place, saves the project and rebuilds the tree. The
// sprite frames picked through the three sprite buttons reach the record and the project file at
// once (Cancel keeps them); the animation count typed beside "Animations sprites" is stored only
// on OK. The record holds 100 animation frames: a count outside 0..100 is brought into that
// range, both for the sprite editor and on OK.
#include "toolkit/item_editor.h"

namespace qb::ui {

class PachinkoElementDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit PachinkoElementDialog(QWidget* owner);
};

} // namespace qb::ui
