#pragma once
// The working copy of a pachinko board (type 508) while its editor is open: the first 24020
// bytes of the record, the pieces among them kept in list order.
//
// A piece is 48 bytes: the element's item ID (all 32 bits), the placement, the initial x and y
// in map pixels (y counted upward from the bottom of the map), the end x (horizontal pieces) and
// the end y (vertical pieces), then six zero words. The board holds 500 pieces; adding refuses
// what would not fit, and a damaged count is read as 0..500.
#include <cstddef>
#include <cstdint>

#include "model/layouts/pachinko.h"
#include "model/record.h"

namespace qb::ui {

struct PachinkoPiece {
    std::uint32_t element = 0;
    std::uint32_t placement = layout::pachinko_board::piece::kFixed;
    std::int32_t initX = 0, initY = 0;
    std::int32_t endX = 0, endY = 0;
    bool operator==(const PachinkoPiece&) const = default;
};

class PachinkoPieces {
public:
    static constexpr int kMaxPieces = static_cast<int>(layout::pachinko_board::kPieceSlots);

    // Takes the first 24020 bytes of a record (zeros where it is shorter).
    explicit PachinkoPieces(const ConstRecordView& record);

    int count() const { return count_; }
    int room() const { return kMaxPieces - count_; }
    PachinkoPiece at(int index) const;  // a zero piece outside 0..count-1

    // False, and nothing added, when the board is full.
    bool add(const PachinkoPiece& piece);
    // Copies of piece for columns x rows places, column by column (all rows of a column first),
    // moved by column x offsetX and row x offsetY. Columns or rows below 1 add nothing (true);
    // false, and nothing added, when they would not all fit.
    bool addGrid(const PachinkoPiece& piece, std::int32_t columns, std::int32_t rows,
                 std::int32_t offsetX, std::int32_t offsetY);
    // Removes the piece at index (the later ones move up); nothing outside 0..count-1.
    void remove(int index);
    // Removes the piece at index and every piece after it.
    void removeFrom(int index);
    void clear();

    // The working copy with the piece count written in: 24020 bytes.
    const Bytes& bytes();

private:
    void put(int index, const PachinkoPiece& piece);

    Bytes bytes_;
    int count_ = 0;
};

} // namespace qb::ui
