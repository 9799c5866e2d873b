#include "model/record.h"

#include <algorithm>
#include <cstring>

namespace qb {

std::uint8_t RecordView::u8(std::size_t offset) const {
    return holds(offset, 1) ? (*bytes_)[offset] : 0;
}

std::uint16_t RecordView::u16(std::size_t offset) const {
    if (!holds(offset, 2)) return 0;
    const auto* p = bytes_->data() + offset;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t RecordView::u32(std::size_t offset) const {
    if (!holds(offset, 4)) return 0;
    const auto* p = bytes_->data() + offset;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string RecordView::text(std::size_t offset, std::size_t fieldSize) const {
    if (offset >= bytes_->size()) return {};
    const std::size_t avail = std::min(fieldSize, bytes_->size() - offset);
    const auto* begin = reinterpret_cast<const char*>(bytes_->data() + offset);
    const void* zero = std::memchr(begin, 0, avail);
    const std::size_t len = zero ? static_cast<const char*>(zero) - begin : avail;
    return std::string(begin, len);
}

bool RecordView::setU8(std::size_t offset, std::uint8_t value) {
    if (!holds(offset, 1)) return false;
    (*bytes_)[offset] = value;
    return true;
}

bool RecordView::setU16(std::size_t offset, std::uint16_t value) {
    if (!holds(offset, 2)) return false;
    auto* p = bytes_->data() + offset;
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    return true;
}

bool RecordView::setU32(std::size_t offset, std::uint32_t value) {
    if (!holds(offset, 4)) return false;
    auto* p = bytes_->data() + offset;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return true;
}

bool RecordView::setText(std::size_t offset, std::size_t fieldSize, std::string_view value) {
    if (fieldSize == 0 || !holds(offset, fieldSize)) return false;
    const std::size_t len = std::min(value.size(), fieldSize - 1);
    auto* p = bytes_->data() + offset;
    std::memcpy(p, value.data(), len);
    std::memset(p + len, 0, fieldSize - len);
    return true;
}

bool RecordView::setBytes(std::size_t offset, const std::uint8_t* data, std::size_t count) {
    if (!holds(offset, count)) return false;
    if (count) std::memcpy(bytes_->data() + offset, data, count);
    return true;
}

Bytes RecordView::bytes(std::size_t offset, std::size_t count) const {
    Bytes out(count, 0);
    if (offset < bytes_->size()) {
        const std::size_t avail = std::min(count, bytes_->size() - offset);
        std::memcpy(out.data(), bytes_->data() + offset, avail);
    }
    return out;
}

} // namespace qb
