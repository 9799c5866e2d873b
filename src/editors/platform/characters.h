#pragma once
// The characters and collectables of a platform game: "Willy data" (type 209), the player;
// "Enemies data" (type 207), what patrols the rooms; "Items data" (type 214), what Willy
// collects. Each loads its record into its controls, stores them on OK (then saves the project
// and rebuilds the tree) and leaves the record alone on Cancel, except for what the sprite
// animation editor confirmed, which is in the record and project.ini at once.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/layouts/platform_items.h"
#include "toolkit/item_editor.h"

class QLineEdit;

namespace qb::ui {

// The jump offsets as "Array Y jump offset:" shows them: decimal numbers joined by ",".
using JumpOffsets = std::array<std::int32_t, layout::willy::kJumpOffsetSlots>;
std::string FormatJumpOffsets(const JumpOffsets& offsets, std::size_t count);
// Reads numbers (runs of digits and minus signs), each followed by at most one ",", from the
// first 999 characters of text, stopping at anything else and after the hundredth number.
// Answers how many were read into offsets.
std::size_t ParseJumpOffsets(std::string_view text, JumpOffsets& offsets);

class WillyDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit WillyDialog(QWidget* owner);

private:
    void editSprites(std::size_t offset);

    QLineEdit* spriteCount_ = nullptr;
};

class PlatformEnemyDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit PlatformEnemyDialog(QWidget* owner);
};

class PlatformItemDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit PlatformItemDialog(QWidget* owner);
};

} // namespace qb::ui
