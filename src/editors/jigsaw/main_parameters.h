#pragma once
// "Main parameters" of a jigsaw project (type 600): resource location, game area, splash and
// font, the two backgrounds, the puzzle grid, the elapsed-time position, five optional sounds
// and comments. OK saves the project but leaves the tree as it is; "Use custom font" is written
// into the record (and saved) the moment it is clicked, so Cancel keeps it.
#include "toolkit/item_editor.h"

namespace qb::ui {

class JigsawMainParametersDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit JigsawMainParametersDialog(QWidget* owner);

private:
    void useCustomFontClicked(bool checked);
};

} // namespace qb::ui
