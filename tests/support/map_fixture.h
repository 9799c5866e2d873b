#pragma once
// Background maps and tile sets made through the model for the map tests: tile-set pictures whose
// every tile has its own colour, and map records of a chosen size.
#include <QImage>
#include <QString>
#include <cstdint>
#include <string>

#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/record.h"
#include "model/workspace.h"
#include "support/editor_fixture.h"

namespace qbtest {

// The colour of tile (column, row) of the test tile set numbered set.
inline QRgb TileColour(int set, int column, int row) {
    return qRgb((column * 9 + set * 3) % 256, (row * 7 + 1) % 256, 40 + set * 50);
}

inline bool WriteTileSetPicture(const std::string& path, int width, int height, int tile, int set) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = TileColour(set, x / tile, y / tile);
    }
    return image.save(QString::fromStdString(path), "PNG");
}

// A backgrounds bitmap item (type 4, or 104 in projects that have them) of that tile size whose
// picture is a generated tile set.
inline std::int32_t AddTileSet(int project, int width, int height, int tile, int set,
                               std::uint32_t type = 4, std::uint32_t groundKind = 0,
                               const std::string& name = {}) {
    const std::int32_t id = NewItemOfType(project, type, name);
    qb::ObjectRecord& o = Object(project, id);
    qb::RecordView r = o.record();
    r.setI32(qb::layout::backgrounds_bitmap::kTileSize, tile);
    r.setU32(qb::layout::backgrounds_bitmap::kGroundKind, groundKind);
    const std::string path = r.text(qb::layout::file_backed::kPath, qb::layout::file_backed::kPathSize);
    EXPECT_TRUE(WriteTileSetPicture(path, width, height, tile, set)) << path;
    return id;
}

// A background map item of W x H cells of that tile size, all empty.
inline std::int32_t AddMap(int project, std::uint32_t width, std::uint32_t height, std::int32_t tile,
                           const std::string& name = {}) {
    const std::int32_t id = NewItemOfType(project, 6, name);
    qb::ObjectRecord& o = Object(project, id);
    o.lpDatiOggetto.assign(qb::layout::map::SizeFor(width, height), 0);
    qb::RecordView r = o.record();
    r.setU32(qb::layout::map::kWidth, width);
    r.setU32(qb::layout::map::kHeight, height);
    r.setI32(qb::layout::map::kTileSize, tile);
    return id;
}

inline std::uint32_t CellAt(const qb::Bytes& record, std::uint64_t x, std::uint64_t y) {
    qb::ConstRecordView r(record);
    return r.u32(qb::layout::map::CellOffset(x, y, r.u32(qb::layout::map::kWidth)));
}
inline void SetCell(qb::Bytes& record, std::uint64_t x, std::uint64_t y, std::uint32_t cell) {
    qb::RecordView r(record);
    r.setU32(qb::layout::map::CellOffset(x, y, r.u32(qb::layout::map::kWidth)), cell);
}

} // namespace qbtest
