#pragma once
// What the map painter and MapView share: the copy of a background map record, the tile sets a
// map can be drawn from, and the drawing of map cells.
//
// A map cell names a tile by the backgrounds bitmap item it comes from and the tile's column and
// row in that picture (model/layouts/map.h). A map may only be drawn from tile sets whose tile
// size equals its own and whose picture is at least 320 x 320 pixels; LoadUsableTileSets is the
// one place that applies this rule.
#include <QColor>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/projectfile.h"
#include "model/record.h"

class QPainter;

namespace qb {
struct ProjectRecord;
}

namespace qb::ui {

// The largest map the editor makes: its record must load again, so 16 + 4 * W * H bytes stay
// within the loader's record limit (4194300 cells, 16 MiB).
constexpr std::uint64_t kMaxMapCells = (kMaxRecordSizeOnLoad - 16) / 4;

// A tile set is at least this wide and high.
constexpr int kMinimumTileSetSide = 320;
// Tiles beyond column or row 255 cannot be named by a map cell (one byte each).
constexpr int kMaxTilesPerSide = 256;

// The colour of empty cells and of cells whose tile cannot be drawn.
inline QColor EmptyCellColour() { return Qt::white; }

// A copy of a map record's W, H, tile size and cells. A damaged record (shorter than its W x H
// cells, or W x H beyond 32 bits) keeps the cells it holds; the others read as empty and can
// never be written.
struct MapCells {
    std::int64_t width = 0;      // W as stored (0 .. 2^32 - 1)
    std::int64_t height = 0;     // H as stored
    std::int32_t tileSize = 0;   // as stored; 0 or less shows nothing
    std::vector<std::uint32_t> cells;  // row after row; at most W * H, only what the record holds

    // W, H and the tile size allow drawing at all.
    bool drawable() const { return tileSize > 0 && width > 0 && height > 0; }
    bool holds(std::int64_t x, std::int64_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height &&
               static_cast<std::uint64_t>(y) * static_cast<std::uint64_t>(width) +
                       static_cast<std::uint64_t>(x) < cells.size();
    }
    std::uint32_t at(std::int64_t x, std::int64_t y) const {
        return holds(x, y) ? cells[static_cast<std::size_t>(y * width + x)] : 0;
    }
    // Sets a cell the record holds; false (nothing changed) for any other.
    bool set(std::int64_t x, std::int64_t y, std::uint32_t cell) {
        if (!holds(x, y)) return false;
        cells[static_cast<std::size_t>(y * width + x)] = cell;
        return true;
    }
    // W and H cut to what a scroll bar or pixel count can hold.
    int columns() const;
    int rows() const;
};

// The map as its record holds it now.
MapCells ReadMapCells(const Bytes& record);
// Writes the cells back at their offsets; cells the record does not hold are not written.
void WriteMapCells(const MapCells& map, Bytes& record);

// One usable tile set, decoded for this opening.
struct TileSet {
    std::int32_t id = 0;  // the backgrounds bitmap item
    QString description;
    QImage image;         // RGB32, at least 320 x 320
    std::uint32_t groundKind = 0;
    int tilesAcross = 0;  // whole tiles, at most 256
    int tilesDown = 0;
    std::vector<QRgb> centres;  // the centre pixel of each tile, row after row (satellite view)
};

class TileSets {
public:
    TileSets() = default;
    // Moved, never copied: the colour lookup points into the tables.
    TileSets(TileSets&&) = default;
    TileSets& operator=(TileSets&&) = default;
    TileSets(const TileSets&) = delete;
    TileSets& operator=(const TileSets&) = delete;

    const std::vector<TileSet>& sets() const { return sets_; }
    bool empty() const { return sets_.empty(); }
    int size() const { return static_cast<int>(sets_.size()); }
    int tileSize() const { return tileSize_; }
    const TileSet& operator[](int i) const { return sets_[static_cast<std::size_t>(i)]; }

    // The loaded tile set a cell names (null for an empty cell or a set that was not loaded).
    const TileSet* find(std::uint32_t cell) const {
        if (cell == 0 || index_.empty()) return nullptr;
        const int i = index_[cell >> 16];
        return i < 0 ? nullptr : &sets_[static_cast<std::size_t>(i)];
    }
    // The centre colour of the cell's tile (satellite view); white when it cannot be drawn.
    QRgb centreColour(std::uint32_t cell) const {
        if (cell == 0 || colourById_.empty()) return 0xffffffffu;
        return colourById_[cell >> 16][cell & 0xFFFFu];
    }
    // Draws the cell's tile with its top-left corner at (x, y), or a white square when the cell
    // is empty, names a tile set that was not loaded or a tile outside its picture.
    void drawCell(QPainter& painter, int x, int y, std::uint32_t cell) const;

    // Usable tile sets of the project for maps of tileSize, in object-table order: backgrounds
    // bitmap items (types 4 and 104) with that tile size whose picture is at least 320 x 320.
    // Pictures that fail the size test are decoded and then dropped. None for a tile size of 0
    // or less.
    static TileSets LoadUsable(const ProjectRecord& project, std::int32_t tileSize);
    // A table made of already decoded tile sets (the ones failing the rule are dropped).
    static TileSets FromImages(std::vector<TileSet> candidates, std::int32_t tileSize);

private:
    std::vector<TileSet> sets_;
    std::vector<int> index_;  // 65536 entries: low 16 bits of an item ID -> set
    // For the satellite view: by the low 16 bits of an item ID, the centre colours of its tiles
    // by column * 256 + row (the low 16 bits of a cell), white beyond its picture; all white for
    // IDs that are not loaded.
    std::vector<std::vector<QRgb>> colourTables_;
    std::vector<const QRgb*> colourById_;
    std::int32_t tileSize_ = 0;
};

// Draws the map cells of columns firstColumn .. firstColumn + columns - 1 and rows firstRow ..
// firstRow + rows - 1 from the painter's origin, one tile per cell, through TileSets::drawCell.
// Cells outside the map or not held by its record are left alone.
void DrawMapCells(QPainter& painter, const MapCells& map, const TileSets& tiles,
                  int firstColumn, int firstRow, int columns, int rows);

// The map at one pixel per cell (at most maxSide x maxSide cells from the top-left corner): each
// cell the centre colour of its tile, empty and undrawable cells white.
QImage SatelliteImage(const MapCells& map, const TileSets& tiles, int maxSide);
// The same into image, which is made the right size (RGB32) when it is not already.
void DrawSatelliteImage(const MapCells& map, const TileSets& tiles, int maxSide, QImage& image);

} // namespace qb::ui
