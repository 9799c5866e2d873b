#pragma once
// "Main parameters" of a platform game (type 200): where Willy starts, the game and information
// area sizes, where the compiled game finds its resources, the titles and font, lives, fades,
// the head-up display (items, time, room name), the logo, the multiplayer sprite and the music.
// OK saves the project and leaves the tree as it is.
//
// The sprite frames picked through the sprite buttons reach the record (and project.ini) the
// moment the sprite animation editor confirms them, as does the logo count when "Edit sprites"
// is pressed; Cancel does not undo them.
#include "toolkit/item_editor.h"

class QLineEdit;

namespace qb::ui {

class PlatformMainParametersDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit PlatformMainParametersDialog(QWidget* owner);

private:
    void editLogoSprites();

    QLineEdit* logoCount_ = nullptr;
};

} // namespace qb::ui
