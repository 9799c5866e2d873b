#pragma once
// "Main parameters" of a curling-game project (type 500). One game type serves four games,
// chosen in "Type of game": shuffle disc, disc smash, pachinko and peggle. The record holds what
// the four share (game area, compiling, titles and fonts, player and opponent areas, extra
// information, logos, sounds) and one block per game; the pachinko boards are items of their
// own (type 508) chosen in "Table objects  data:".
//
// The record is edited in place on OK, which saves the project and leaves the tree as it is.
// The sprite frames picked through the sprite buttons reach the record and the project file at
// once, and so do the two frame counts that "Edit sprites" and "Slot sprites" read before opening
// the sprite editor: Cancel keeps them.
//
// The fixed blocks of the record bound what is typed: the logo count is kept within 0..10 and
// the slot sprite count within 0..20, and a number list keeps its first 40 (reel orders) or 20
// (slot points) numbers.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "toolkit/item_editor.h"

namespace qb::ui {

class CurlingMainParametersDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit CurlingMainParametersDialog(QWidget* owner);
};

// A number list as typed: numbers of digits and minus signs, each followed by at most one ",";
// reading stops at the first character where a number should start and cannot, and after
// capacity numbers.
std::vector<std::int32_t> ParseNumberList(std::string_view text, std::size_t capacity);

} // namespace qb::ui
