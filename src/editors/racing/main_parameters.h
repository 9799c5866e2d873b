#pragma once
// "Main parameters" of a racing project (type 100): the order in which the circuits are raced,
// the player's and the enemies' cars, the game area, where the compiled game finds its
// resources, splash and fonts, the lap texts shown in the game with their sprites and places,
// the extra info area, the logo sprites, the camera, and the starting sound and music.
//
// The record is edited in place on OK; Cancel drops the working race order and everything
// typed. The sprite frames picked through the "Edit sprite" buttons reach the record at once
// (the sprite animation editor saves the project itself), and so does the logo count that
// "Edit sprites" reads before it opens the editor.
#include "toolkit/item_editor.h"

class QLineEdit;

namespace qb::ui {

class RacingMainParametersDialog : public ItemEditorDialog {
public:
    explicit RacingMainParametersDialog(QWidget* owner);

private:
    // Stores the logo count (cut to the 10 frames the record holds) and opens the sprite
    // animation editor on that many logo frames.
    void editLogoSprites();

    QLineEdit* logoCount_ = nullptr;
};

} // namespace qb::ui
