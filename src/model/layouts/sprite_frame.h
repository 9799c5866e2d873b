#pragma once
// The 8-byte sprite frame that every record showing a sprite holds in runs (sprite animations):
// a Sprites bitmap item and a rectangle of whole cells on it.
#include <cstddef>

namespace qb::layout::sprite_frame {

constexpr std::size_t kSize = 8;
constexpr std::size_t kSheetId = 0;      // u32: Sprites bitmap (type 3) ID in the low 16 bits; 0 = no sprite
constexpr std::size_t kLastRow = 4;      // u8: last cell row, inclusive
constexpr std::size_t kLastColumn = 5;   // u8: last cell column, inclusive
constexpr std::size_t kFirstRow = 6;     // u8
constexpr std::size_t kFirstColumn = 7;  // u8

// Offset of frame index within a run that starts at first.
constexpr std::size_t At(std::size_t first, std::size_t index) { return first + index * kSize; }

} // namespace qb::layout::sprite_frame
