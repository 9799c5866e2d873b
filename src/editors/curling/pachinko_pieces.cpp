#include "editors/curling/pachinko_pieces.h"

#include <algorithm>
#include <cstring>

namespace qb::ui {

namespace {
namespace B = layout::pachinko_board;
namespace P = layout::pachinko_board::piece;

constexpr std::size_t PieceOffset(int index) {
    return B::kPieces + static_cast<std::size_t>(index) * B::kPieceSize;
}
} // namespace

PachinkoPieces::PachinkoPieces(const ConstRecordView& record) : bytes_(B::kEditedSize, 0) {
    RecordView copy(bytes_);
    for (std::size_t at = 0; at < B::kEditedSize; at += 4) copy.setU32(at, record.u32(at));
    count_ = std::clamp<std::int32_t>(record.i32(B::kPieceCount), 0, kMaxPieces);
}

PachinkoPiece PachinkoPieces::at(int index) const {
    if (index < 0 || index >= count_) return {};
    const ConstRecordView r(bytes_);
    const std::size_t o = PieceOffset(index);
    return {r.u32(o + P::kElement), r.u32(o + P::kPlacement), r.i32(o + P::kInitX),
            r.i32(o + P::kInitY),   r.i32(o + P::kEndX),      r.i32(o + P::kEndY)};
}

void PachinkoPieces::put(int index, const PachinkoPiece& piece) {
    RecordView r(bytes_);
    const std::size_t o = PieceOffset(index);
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(o), B::kPieceSize, 0);
    r.setU32(o + P::kElement, piece.element);
    r.setU32(o + P::kPlacement, piece.placement);
    r.setI32(o + P::kInitX, piece.initX);
    r.setI32(o + P::kInitY, piece.initY);
    r.setI32(o + P::kEndX, piece.endX);
    r.setI32(o + P::kEndY, piece.endY);
}

bool PachinkoPieces::add(const PachinkoPiece& piece) {
    if (count_ >= kMaxPieces) return false;
    put(count_++, piece);
    return true;
}

bool PachinkoPieces::addGrid(const PachinkoPiece& piece, std::int32_t columns, std::int32_t rows,
                             std::int32_t offsetX, std::int32_t offsetY) {
    if (columns < 1 || rows < 1) return true;
    if (static_cast<std::int64_t>(columns) * rows > room()) return false;
    // Positions wrap like the 32-bit fields they go into.
    auto moved = [](std::int32_t value, std::int32_t steps, std::int32_t offset) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                         static_cast<std::uint32_t>(steps) * static_cast<std::uint32_t>(offset));
    };
    for (std::int32_t i = 0; i < columns; ++i)
        for (std::int32_t j = 0; j < rows; ++j) {
            PachinkoPiece copy = piece;
            copy.initX = moved(piece.initX, i, offsetX);
            copy.endX = moved(piece.endX, i, offsetX);
            copy.initY = moved(piece.initY, j, offsetY);
            copy.endY = moved(piece.endY, j, offsetY);
            put(count_++, copy);
        }
    return true;
}

void PachinkoPieces::remove(int index) {
    if (index < 0 || index >= count_) return;
    const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(PieceOffset(index + 1));
    const auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(PieceOffset(count_));
    std::copy(from, end, bytes_.begin() + static_cast<std::ptrdiff_t>(PieceOffset(index)));
    --count_;
    std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(PieceOffset(count_)), end, 0);
}

void PachinkoPieces::removeFrom(int index) {
    if (index < 0 || index >= count_) return;
    std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(PieceOffset(index)),
              bytes_.begin() + static_cast<std::ptrdiff_t>(PieceOffset(count_)), 0);
    count_ = index;
}

void PachinkoPieces::clear() { removeFrom(0); }

const Bytes& PachinkoPieces::bytes() {
    RecordView(bytes_).setI32(B::kPieceCount, count_);
    return bytes_;
}

} // namespace qb::ui
