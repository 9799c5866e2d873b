#include "platform/numbers.h"

#include <limits>

namespace qb {

std::int32_t ParseSignedDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseSignedDecimal(std::string_view text, std::size_t maxChars) {
    return ParseSignedDecimal(text.substr(0, maxChars));
}

std::string FormatSignedDecimal(std::int32_t value) { return std::to_string(value); }

StrictNumber ParseStrictDecimal(std::string_view text, std::int64_t min, std::int64_t max,
                                std::int64_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return StrictNumber::NotANumber;
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;  // magnitude of INT64_MIN
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return StrictNumber::NotANumber;
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        // Past kLimit the value is out of every range; keep reading only to check the syntax.
        magnitude = magnitude > (kLimit - digit) / 10u ? kLimit + 1u : magnitude * 10u + digit;
    }
    if (magnitude > kLimit || (magnitude == kLimit && !negative)) return StrictNumber::OutOfRange;
    const std::int64_t value = magnitude == kLimit ? std::numeric_limits<std::int64_t>::min()
                               : negative          ? -static_cast<std::int64_t>(magnitude)
                                                   : static_cast<std::int64_t>(magnitude);
    if (value < min || value > max) return StrictNumber::OutOfRange;
    out = value;
    return StrictNumber::Ok;
}

} // namespace qb
