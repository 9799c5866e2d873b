#pragma once
// "Playing field" (type 308): the field's background map, shown in a MapView preview, the sizes
// of the playing, goal and pile areas, eight optional sounds, the area the game scrolls over and
// the computer's first kick. OK saves and rebuilds the tree.
#include "toolkit/item_editor.h"

namespace qb::ui {

class MapView;

class PlayingFieldDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit PlayingFieldDialog(QWidget* owner);
    ~PlayingFieldDialog() override;

    MapView* mapView() const { return view_; }

private:
    MapView* view_ = nullptr;
};

} // namespace qb::ui
