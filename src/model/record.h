#pragma once
// The one accessor for data records.
//
// A data record is a byte array with a fixed little-endian layout. Every field is read and
// written through these functions: reading past the end answers 0 (or an empty text), writing
// past it is refused and answers false. Nothing casts a struct over a record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

using Bytes = std::vector<std::uint8_t>;

class RecordView {
public:
    explicit RecordView(Bytes& bytes) : bytes_(&bytes) {}

    std::size_t size() const { return bytes_->size(); }
    bool holds(std::size_t offset, std::size_t width) const {
        return offset <= bytes_->size() && width <= bytes_->size() - offset;
    }

    std::uint8_t u8(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    // Low and high 16 bits of the word at offset; the high half is signed.
    std::uint16_t lo16(std::size_t offset) const { return static_cast<std::uint16_t>(u32(offset)); }
    std::int16_t hi16(std::size_t offset) const {
        return static_cast<std::int16_t>(u32(offset) >> 16);
    }
    // Zero-terminated text in a field of fieldSize bytes; the part of the field that lies inside
    // the record, up to its first zero byte.
    std::string text(std::size_t offset, std::size_t fieldSize) const;

    bool setU8(std::size_t offset, std::uint8_t value);
    bool setU16(std::size_t offset, std::uint16_t value);
    bool setU32(std::size_t offset, std::uint32_t value);
    bool setI32(std::size_t offset, std::int32_t value) {
        return setU32(offset, static_cast<std::uint32_t>(value));
    }
    // Cuts the text to fieldSize - 1 bytes, writes it and zero-fills the rest of the field.
    bool setText(std::size_t offset, std::size_t fieldSize, std::string_view value);
    // Copies raw bytes in or out (sprite frames, map cells); refused/zero past the end.
    bool setBytes(std::size_t offset, const std::uint8_t* data, std::size_t count);
    Bytes bytes(std::size_t offset, std::size_t count) const;

    Bytes& raw() { return *bytes_; }
    const Bytes& raw() const { return *bytes_; }

private:
    Bytes* bytes_;
};

// Read-only variant for records the caller must not change.
class ConstRecordView {
public:
    explicit ConstRecordView(const Bytes& bytes) : view_(const_cast<Bytes&>(bytes)) {}
    std::size_t size() const { return view_.size(); }
    bool holds(std::size_t offset, std::size_t width) const { return view_.holds(offset, width); }
    std::uint8_t u8(std::size_t o) const { return view_.u8(o); }
    std::uint16_t u16(std::size_t o) const { return view_.u16(o); }
    std::uint32_t u32(std::size_t o) const { return view_.u32(o); }
    std::int32_t i32(std::size_t o) const { return view_.i32(o); }
    std::uint16_t lo16(std::size_t o) const { return view_.lo16(o); }
    std::int16_t hi16(std::size_t o) const { return view_.hi16(o); }
    std::string text(std::size_t o, std::size_t n) const { return view_.text(o, n); }
    Bytes bytes(std::size_t o, std::size_t n) const { return view_.bytes(o, n); }

private:
    RecordView view_;
};

// Width of the common fields.
constexpr std::size_t kPathField = 260;        // file paths: 259 characters and the zero
constexpr std::size_t kDescriptionField = 255; // descriptions and names: 254 characters

} // namespace qb
