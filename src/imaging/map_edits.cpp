#include "imaging/map_edits.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/workspace.h"
#include "toolkit/item_types.h"

namespace qb::ui {

std::uint32_t TileBlock::cell(int dx, int dy) const {
    if (erase) return layout::map_cell::kEmpty;
    return layout::map_cell::Make(tileSetId, static_cast<std::uint32_t>(firstColumn + dx),
                                  static_cast<std::uint32_t>(firstRow + dy));
}

TileBlock TileBlock::Eraser(int width, int height) {
    TileBlock b;
    b.erase = true;
    b.lastColumn = std::max(1, width) - 1;
    b.lastRow = std::max(1, height) - 1;
    return b;
}

GroundKinds GroundKinds::Of(const ProjectRecord& project) {
    GroundKinds g;
    g.kinds_.assign(65536, -1);
    // The first item of each ID wins, as in the lookups of tile sets.
    for (auto it = project.objects.rbegin(); it != project.objects.rend(); ++it) {
        if (it->tipoOggetto != kBackgroundsBitmapType && it->tipoOggetto != kRacingPlatformBackgroundsType)
            continue;
        g.kinds_[static_cast<std::uint32_t>(it->IDoggetto) & 0xFFFFu] =
            static_cast<std::int32_t>(it->record().u32(layout::backgrounds_bitmap::kGroundKind) & 0x7FFFFFFFu);
    }
    return g;
}

bool GroundKinds::background(std::uint32_t cell) const {
    if (cell == layout::map_cell::kEmpty || kinds_.empty()) return true;
    const std::int32_t kind = kinds_[cell >> 16];
    return kind < 0 || static_cast<std::uint32_t>(kind) == layout::backgrounds_bitmap::kPlatformNothing;
}

namespace {

// Sets one cell by the rules of every edit, noting the change.
inline void Put(MapCells& map, std::size_t index, std::uint32_t value, const GroundKinds* onlyBackground,
                std::vector<CellChange>* changes) {
    std::uint32_t& target = map.cells[index];
    if (target == value) return;
    if (onlyBackground && !onlyBackground->background(target)) return;
    if (changes) changes->push_back({index, target, value});
    target = value;
}

} // namespace

CellSnapshot CellSnapshot::Take(const MapCells& map) {
    CellSnapshot s;
    // Rows of at most 4096 cells, so that a very wide map still finds repeats.
    s.chunk_ = static_cast<std::size_t>(std::clamp<std::int64_t>(map.width, 1, 4096));
    s.count_ = map.cells.size();
    const std::size_t chunks = (s.count_ + s.chunk_ - 1) / s.chunk_;
    s.rowAt_.resize(chunks);
    // A row is looked up by a few of its cells, then compared whole with the row found.
    std::unordered_map<std::uint64_t, std::uint32_t> seen;
    const std::uint32_t* cells = map.cells.data();
    for (std::size_t c = 0; c < chunks; ++c) {
        const std::size_t start = c * s.chunk_;
        const std::size_t length = std::min(s.chunk_, s.count_ - start);
        std::uint64_t key = length;
        for (std::size_t k = 0; k < 8; ++k)
            key = key * 0x100000001B3ull ^ cells[start + k * (length - 1) / 7];
        auto [it, added] = seen.try_emplace(key, 0u);
        if (!added) {
            const std::size_t at = it->second;
            if (at + length <= s.kept_.size() &&
                std::memcmp(s.kept_.data() + at, cells + start, length * sizeof(std::uint32_t)) == 0) {
                s.rowAt_[c] = static_cast<std::uint32_t>(at);
                continue;
            }
        }
        const std::size_t at = s.kept_.size();
        s.kept_.insert(s.kept_.end(), cells + start, cells + start + length);
        s.rowAt_[c] = static_cast<std::uint32_t>(at);
        if (added) it->second = static_cast<std::uint32_t>(at);
    }
    return s;
}

void CellSnapshot::restore(MapCells& map) const {
    const std::size_t count = std::min(count_, map.cells.size());
    for (std::size_t c = 0; c < rowAt_.size(); ++c) {
        const std::size_t start = c * chunk_;
        if (start >= count) break;
        const std::size_t length = std::min(chunk_, count - start);
        std::memcpy(map.cells.data() + start, kept_.data() + rowAt_[c], length * sizeof(std::uint32_t));
    }
}

void StampBlock(MapCells& map, const TileBlock& block, std::int64_t x, std::int64_t y,
                const GroundKinds* onlyBackground, std::vector<CellChange>* changes) {
    for (int dy = 0; dy < block.height(); ++dy)
        for (int dx = 0; dx < block.width(); ++dx) {
            const std::int64_t tx = x + dx, ty = y + dy;
            if (!map.holds(tx, ty)) continue;
            Put(map, static_cast<std::size_t>(ty * map.width + tx), block.cell(dx, dy), onlyBackground, changes);
        }
}

void FillMap(MapCells& map, const TileBlock& block, const GroundKinds* onlyBackground) {
    if (map.width <= 0 || map.height <= 0) return;
    const std::size_t width = static_cast<std::size_t>(map.width);
    const std::size_t held = map.cells.size();
    const int bw = block.width(), bh = block.height();
    // One row of the pattern for each row of the block, copied into every row it falls on.
    std::vector<std::uint32_t> pattern(width);
    for (int dy = 0; dy < bh; ++dy) {
        for (std::size_t x = 0, dx = 0; x < width; ++x) {
            pattern[x] = block.cell(static_cast<int>(dx), dy);
            if (++dx == static_cast<std::size_t>(bw)) dx = 0;
        }
        for (std::size_t y = static_cast<std::size_t>(dy); y < static_cast<std::size_t>(map.height); y += bh) {
            const std::size_t start = y * width;
            if (start >= held) break;
            const std::size_t count = std::min(width, held - start);
            if (!onlyBackground) {
                std::memcpy(map.cells.data() + start, pattern.data(), count * sizeof(std::uint32_t));
                continue;
            }
            for (std::size_t x = 0; x < count; ++x) Put(map, start + x, pattern[x], onlyBackground, nullptr);
        }
    }
}

void FloodFill(MapCells& map, const TileBlock& block, std::int64_t x, std::int64_t y,
               const GroundKinds* onlyBackground, std::vector<CellChange>* changes) {
    if (!map.holds(x, y)) return;
    const std::int64_t width = map.width;
    const std::uint32_t match = map.at(x, y);
    const std::int64_t bw = block.width(), bh = block.height();
    std::vector<bool> seen(map.cells.size(), false);
    std::vector<std::size_t> todo{static_cast<std::size_t>(y * width + x)};
    seen[todo.back()] = true;
    std::vector<std::size_t> region;
    while (!todo.empty()) {
        const std::size_t i = todo.back();
        todo.pop_back();
        region.push_back(i);
        const std::int64_t cx = static_cast<std::int64_t>(i) % width;
        const std::int64_t cy = static_cast<std::int64_t>(i) / width;
        const std::int64_t next[4][2] = {{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
        for (const auto& n : next) {
            if (!map.holds(n[0], n[1])) continue;
            const std::size_t j = static_cast<std::size_t>(n[1] * width + n[0]);
            if (seen[j] || map.cells[j] != match) continue;
            seen[j] = true;
            todo.push_back(j);
        }
    }
    // Written after the search, so the cells being filled do not change what is connected.
    for (std::size_t i : region) {
        const std::int64_t cx = static_cast<std::int64_t>(i) % width;
        const std::int64_t cy = static_cast<std::int64_t>(i) / width;
        const int dx = static_cast<int>(((cx - x) % bw + bw) % bw);
        const int dy = static_cast<int>(((cy - y) % bh + bh) % bh);
        Put(map, i, block.cell(dx, dy), onlyBackground, changes);
    }
}

} // namespace qb::ui
