#pragma once
// The map painter's edits on a copy of a map's cells: stamping a block of tiles, erasing, tiling
// the whole map with a block, and flood-filling a region. Each edit touches only cells the map's
// record holds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/map_tiles.h"

namespace qb {
struct ProjectRecord;
}

namespace qb::ui {

// A block of tiles picked on a tile set: columns firstColumn..lastColumn and rows
// firstRow..lastRow of the tile set's picture. An eraser block has a size and makes empty cells.
struct TileBlock {
    std::uint32_t tileSetId = 0;  // low 16 bits of the item ID; 0 with erase
    int firstColumn = 0, firstRow = 0, lastColumn = 0, lastRow = 0;
    bool erase = false;

    int width() const { return lastColumn - firstColumn + 1; }
    int height() const { return lastRow - firstRow + 1; }
    // The cell that tile (dx, dy) of the block writes.
    std::uint32_t cell(int dx, int dy) const;
    static TileBlock Eraser(int width, int height);
};

// The kind of ground of every backgrounds bitmap item of a project, for "Overwrite only
// background": a cell is background when it is empty, when its tile set has the kind "nothing"
// (3), or when its tile set no longer exists.
class GroundKinds {
public:
    static GroundKinds Of(const ProjectRecord& project);
    bool background(std::uint32_t cell) const;

private:
    std::vector<std::int32_t> kinds_;  // 65536 entries by the low 16 bits of the ID; -1 = none
};

struct CellChange {
    std::size_t index;  // y * W + x
    std::uint32_t before;
    std::uint32_t after;
};

// The cells of a map as they were, kept for undo. Maps are mostly made of repeated rows (empty
// ones, or a tiled pattern), so each row is kept once: a large map costs little to keep.
class CellSnapshot {
public:
    static CellSnapshot Take(const MapCells& map);
    // Puts the cells back (the map must still hold as many cells).
    void restore(MapCells& map) const;

private:
    std::size_t chunk_ = 1;               // cells per row kept
    std::size_t count_ = 0;               // cells in all
    std::vector<std::uint32_t> rowAt_;    // for each row of the map: where its cells are kept
    std::vector<std::uint32_t> kept_;     // the distinct rows, one after the other
};

// Stamps the block with its top-left tile at cell (x, y); cells outside the map are skipped, and
// with onlyBackground so are cells that are not background. Appends what changed to changes
// (when given).
void StampBlock(MapCells& map, const TileBlock& block, std::int64_t x, std::int64_t y,
                const GroundKinds* onlyBackground, std::vector<CellChange>* changes);
// Tiles the whole map with the block from the top-left corner (nothing for W or H of 0).
void FillMap(MapCells& map, const TileBlock& block, const GroundKinds* onlyBackground);
// Fills the cells connected (across and down) to (x, y) that hold the same value as it with the
// block, tiled from (x, y).
void FloodFill(MapCells& map, const TileBlock& block, std::int64_t x, std::int64_t y,
               const GroundKinds* onlyBackground, std::vector<CellChange>* changes);

} // namespace qb::ui
