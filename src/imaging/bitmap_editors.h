#pragma once
// The picture item editors: "Sprites bitmap parameters" (type 3) and "Background bitmap
// parameters" (types 4 and 104).
//
// Neither chooses a file: the PNG was copied into the project folder with the item, and
// "Edit bitmap" starts the image program of the preferences on it. On OK the record and the
// item's name are stored, the project saved and the tree rebuilt; when the dialog goes away
// (OK or Cancel) the preview is repainted, so it shows the picture as it is now.
#include <cstdint>

#include "toolkit/item_editor.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace qb::ui {

// Edits the current object (a Sprites bitmap item).
class SpritesBitmapDialog : public ItemEditorDialog {
public:
    explicit SpritesBitmapDialog(QWidget* owner);
};

// Edits the current object, a Backgrounds bitmap item of type 4 or 104. Type 104 offers the
// thirteen kinds of ground; type 4 keeps its two hidden, so its stored kind never changes.
class BackgroundBitmapDialog : public ItemEditorDialog {
public:
    BackgroundBitmapDialog(QWidget* owner, std::uint32_t type);
};

} // namespace qb::ui
