#pragma once
// "Main parameters" of a soccer game (type 300): game area, resource location, match timing, the
// player's team, the ordered opponents, the playing field, splash screens and fonts, and the
// sprite animations of players, opponents, goalkeepers, ball, shadow, marker and arrows.
//
// OK saves the project and leaves the tree as it is. The opponents are edited in a working copy
// that only OK stores. Each animation's "Edit" stores its frame count and saves at once, then
// opens the sprite animation editor, which saves what it confirms whatever happens here.
#include "toolkit/item_editor.h"

namespace qb::ui {

class OrderedItemList;

class SoccerMainParametersDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit SoccerMainParametersDialog(QWidget* owner);

    OrderedItemList* opponents() const { return opponents_; }

private:
    OrderedItemList* opponents_ = nullptr;
};

} // namespace qb::ui
