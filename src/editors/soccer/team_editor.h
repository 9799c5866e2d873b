#pragma once
// "Team data" (type 301): a soccer team's shirt colour, speeds, distances and kick power, and
// its players' roles and places in the formation. OK saves and rebuilds the tree.
#include "toolkit/item_editor.h"

namespace qb::ui {

class TeamDataDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit TeamDataDialog(QWidget* owner);
};

} // namespace qb::ui
