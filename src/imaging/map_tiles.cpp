#include "imaging/map_tiles.h"

#include <QPainter>
#include <algorithm>
#include <climits>

#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/workspace.h"
#include "toolkit/item_types.h"
#include "toolkit/picture_image.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace map = layout::map;
namespace backgrounds = layout::backgrounds_bitmap;

// Scroll positions and pixel counts are ints; a stored W or H beyond this is cut for showing.
constexpr std::int64_t kMaxShownSide = INT_MAX / 2;

constexpr QRgb kWhite = 0xffffffffu;

} // namespace

int MapCells::columns() const { return static_cast<int>(std::clamp<std::int64_t>(width, 0, kMaxShownSide)); }
int MapCells::rows() const { return static_cast<int>(std::clamp<std::int64_t>(height, 0, kMaxShownSide)); }

MapCells ReadMapCells(const Bytes& record) {
    ConstRecordView r(record);
    MapCells m;
    m.width = r.u32(map::kWidth);
    m.height = r.u32(map::kHeight);
    m.tileSize = r.i32(map::kTileSize);
    // Only the cells the record holds, however large W x H claims to be.
    const std::uint64_t claimed = static_cast<std::uint64_t>(m.width) * static_cast<std::uint64_t>(m.height);
    const std::uint64_t held = record.size() > map::kCells ? (record.size() - map::kCells) / map::kCellSize : 0;
    const std::size_t count = static_cast<std::size_t>(std::min(claimed, held));
    m.cells.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = record.data() + map::kCells + i * map::kCellSize;
        m.cells[i] = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                     std::uint32_t(p[3]) << 24;
    }
    return m;
}

void WriteMapCells(const MapCells& m, Bytes& record) {
    if (record.size() <= map::kCells) return;
    const std::size_t room = (record.size() - map::kCells) / map::kCellSize;
    const std::size_t count = std::min(room, m.cells.size());
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = record.data() + map::kCells + i * map::kCellSize;
        const std::uint32_t v = m.cells[i];
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
        p[3] = static_cast<std::uint8_t>(v >> 24);
    }
}

void TileSets::drawCell(QPainter& painter, int x, int y, std::uint32_t cell) const {
    const int tile = tileSize_;
    if (tile <= 0) return;
    const TileSet* set = find(cell);
    const int column = static_cast<int>(layout::map_cell::Column(cell));
    const int row = static_cast<int>(layout::map_cell::Row(cell));
    if (!set || column >= set->tilesAcross || row >= set->tilesDown) {
        painter.fillRect(x, y, tile, tile, EmptyCellColour());
        return;
    }
    painter.drawImage(QPoint(x, y), set->image, QRect(column * tile, row * tile, tile, tile));
}

TileSets TileSets::FromImages(std::vector<TileSet> candidates, std::int32_t tileSize) {
    TileSets t;
    t.tileSize_ = tileSize;
    if (tileSize <= 0) return t;
    for (TileSet& s : candidates) {
        if (s.image.width() < kMinimumTileSetSide || s.image.height() < kMinimumTileSetSide) continue;
        if (s.image.format() != QImage::Format_RGB32) s.image = s.image.convertToFormat(QImage::Format_RGB32);
        s.tilesAcross = std::min(s.image.width() / tileSize, kMaxTilesPerSide);
        s.tilesDown = std::min(s.image.height() / tileSize, kMaxTilesPerSide);
        s.centres.resize(static_cast<std::size_t>(s.tilesAcross) * static_cast<std::size_t>(s.tilesDown));
        for (int row = 0; row < s.tilesDown; ++row) {
            const auto* line = reinterpret_cast<const QRgb*>(
                s.image.constScanLine(row * tileSize + tileSize / 2));
            for (int column = 0; column < s.tilesAcross; ++column)
                s.centres[static_cast<std::size_t>(row * s.tilesAcross + column)] =
                    line[column * tileSize + tileSize / 2];
        }
        t.sets_.push_back(std::move(s));
    }
    t.index_.assign(65536, -1);
    for (std::size_t i = t.sets_.size(); i-- > 0;)  // the first of two sets sharing low bits wins
        t.index_[static_cast<std::uint32_t>(t.sets_[i].id) & 0xFFFFu] = static_cast<int>(i);
    // Table 0 is all white; table i + 1 holds the centres of set i.
    t.colourTables_.assign(t.sets_.size() + 1, std::vector<QRgb>(65536, kWhite));
    for (std::size_t i = 0; i < t.sets_.size(); ++i) {
        const TileSet& set = t.sets_[i];
        std::vector<QRgb>& table = t.colourTables_[i + 1];
        for (int row = 0; row < set.tilesDown; ++row)
            for (int column = 0; column < set.tilesAcross; ++column)
                table[static_cast<std::size_t>(column) * 256 + static_cast<std::size_t>(row)] =
                    set.centres[static_cast<std::size_t>(row * set.tilesAcross + column)];
    }
    t.colourById_.resize(65536);
    for (std::size_t id = 0; id < 65536; ++id)
        t.colourById_[id] = t.colourTables_[static_cast<std::size_t>(t.index_[id] + 1)].data();
    return t;
}

TileSets TileSets::LoadUsable(const ProjectRecord& project, std::int32_t tileSize) {
    std::vector<TileSet> candidates;
    if (tileSize > 0) {
        for (const ObjectRecord& o : project.objects) {
            if (o.tipoOggetto != kBackgroundsBitmapType && o.tipoOggetto != kRacingPlatformBackgroundsType)
                continue;
            ConstRecordView r(o.lpDatiOggetto);
            if (r.i32(backgrounds::kTileSize) != tileSize) continue;
            TileSet s;
            s.id = o.IDoggetto;
            s.description = FromRecordText(o.sDescrizione);
            s.groundKind = r.u32(backgrounds::kGroundKind);
            s.image = LoadPictureImage(r.text(backgrounds::kPath, layout::file_backed::kPathSize));
            if (s.image.width() < kMinimumTileSetSide || s.image.height() < kMinimumTileSetSide)
                continue;  // decoded, then dropped
            candidates.push_back(std::move(s));
        }
    }
    return FromImages(std::move(candidates), tileSize);
}

void DrawMapCells(QPainter& painter, const MapCells& m, const TileSets& tiles, int firstColumn,
                  int firstRow, int columns, int rows) {
    const int tile = tiles.tileSize();
    if (tile <= 0 || !m.drawable()) return;
    const std::int64_t lastColumn = std::min<std::int64_t>(std::int64_t(firstColumn) + columns, m.width);
    const std::int64_t lastRow = std::min<std::int64_t>(std::int64_t(firstRow) + rows, m.height);
    for (std::int64_t y = std::max(0, firstRow); y < lastRow; ++y) {
        const int py = static_cast<int>((y - firstRow) * tile);
        for (std::int64_t x = std::max(0, firstColumn); x < lastColumn; ++x) {
            if (!m.holds(x, y)) continue;
            tiles.drawCell(painter, static_cast<int>((x - firstColumn) * tile), py, m.at(x, y));
        }
    }
}

QImage SatelliteImage(const MapCells& m, const TileSets& tiles, int maxSide) {
    QImage image;
    DrawSatelliteImage(m, tiles, maxSide, image);
    return image;
}

void DrawSatelliteImage(const MapCells& m, const TileSets& tiles, int maxSide, QImage& image) {
    const int w = static_cast<int>(std::clamp<std::int64_t>(m.width, 0, maxSide));
    const int h = static_cast<int>(std::clamp<std::int64_t>(m.height, 0, maxSide));
    if (w <= 0 || h <= 0) {
        image = QImage();
        return;
    }
    if (image.width() != w || image.height() != h || image.format() != QImage::Format_RGB32)
        image = QImage(w, h, QImage::Format_RGB32);
    if (image.isNull()) return;
    const std::uint64_t held = m.cells.size();
    // Maps use few distinct tiles: a small cache of cells met keeps the lookups in the first
    // level of the processor's cache. Slot 0 starts as the empty cell.
    constexpr int kBits = 12;
    struct Seen {
        std::uint32_t cell;
        QRgb colour;
    };
    std::vector<Seen> seen(std::size_t(1) << kBits, Seen{0, kWhite});
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::uint64_t start = static_cast<std::uint64_t>(y) * static_cast<std::uint64_t>(m.width);
        const int inside = static_cast<int>(std::clamp<std::uint64_t>(held > start ? held - start : 0, 0, w));
        const std::uint32_t* cells = m.cells.data() + (inside > 0 ? start : 0);
        for (int x = 0; x < inside; ++x) {
            const std::uint32_t c = cells[x];
            Seen& slot = seen[(c * 0x9E3779B1u) >> (32 - kBits)];
            if (slot.cell != c) slot = {c, tiles.centreColour(c)};
            line[x] = slot.colour;
        }
        std::fill(line + inside, line + w, kWhite);
    }
}

} // namespace qb::ui
