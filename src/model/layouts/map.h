#pragma once
// Background map record (type 6): a grid of W x H tiles, 16 + 4 * W * H bytes, and the 32-bit map
// cell that names one tile of a backgrounds bitmap item.
#include <cstddef>
#include <cstdint>

namespace qb::layout::map {

constexpr std::size_t kWidth = 0;     // u32: W, tiles across
constexpr std::size_t kHeight = 4;    // u32: H, tiles down
constexpr std::size_t kTileSize = 8;  // u32: pixels
constexpr std::size_t kCells = 12;    // W * H map cells, row after row from the top, each row from the left
constexpr std::size_t kCellSize = 4;
constexpr std::size_t kFixedBytes = 16;  // the three words and the zero word behind the cells
constexpr std::size_t kMinimumSize = kFixedBytes;

// New maps: 20 x 200 tiles of 32 pixels; in a platform game 32 x 16 tiles of 16 pixels.
constexpr std::uint32_t kNewWidth = 20, kNewHeight = 200, kNewTileSize = 32;
constexpr std::uint32_t kNewPlatformWidth = 32, kNewPlatformHeight = 16, kNewPlatformTileSize = 16;

// Record size for W x H cells (64-bit so that stored dimensions cannot overflow it).
constexpr std::uint64_t SizeFor(std::uint64_t width, std::uint64_t height) {
    return kFixedBytes + kCellSize * width * height;
}
// Offset of the cell of column x, row y in a map W cells wide.
constexpr std::uint64_t CellOffset(std::uint64_t x, std::uint64_t y, std::uint64_t width) {
    return kCells + kCellSize * (y * width + x);
}
// Offset of the zero word behind the cells.
constexpr std::uint64_t TrailerOffset(std::uint64_t width, std::uint64_t height) {
    return kCells + kCellSize * width * height;
}

static_assert(SizeFor(kNewWidth, kNewHeight) == 16016);
static_assert(SizeFor(kNewPlatformWidth, kNewPlatformHeight) == 2064);

} // namespace qb::layout::map

namespace qb::layout::map_cell {

// Bits 16..31: backgrounds bitmap item ID; bits 8..15: tile column; bits 0..7: tile row.
constexpr std::uint32_t kEmpty = 0;
constexpr std::uint32_t Make(std::uint32_t tileSetId, std::uint32_t column, std::uint32_t row) {
    return ((tileSetId & 0xFFFFu) << 16) | ((column & 0xFFu) << 8) | (row & 0xFFu);
}
constexpr std::uint32_t TileSetId(std::uint32_t cell) { return cell >> 16; }
constexpr std::uint32_t Column(std::uint32_t cell) { return (cell >> 8) & 0xFFu; }
constexpr std::uint32_t Row(std::uint32_t cell) { return cell & 0xFFu; }

static_assert(Make(3, 2, 1) == 3u * 65536 + 2 * 256 + 1);

} // namespace qb::layout::map_cell
