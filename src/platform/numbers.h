#pragma once
// The one parser for numbers typed into edit fields: signed decimal text, leading blanks and a
// sign accepted, reading stops at the first non-digit, no digits reads as 0. Values wrap modulo
// 2^32 like the 32-bit fields they go into.
#include <cstdint>
#include <string>
#include <string_view>

namespace qb {

std::int32_t ParseSignedDecimal(std::string_view text);
// The same after cutting the text to at most maxChars characters (edit boxes read with a
// limit).
std::int32_t ParseSignedDecimal(std::string_view text, std::size_t maxChars);
std::string FormatSignedDecimal(std::int32_t value);

// Strict reading for command-line arguments, where a typo must not silently become 0: an
// optional sign then decimal digits and nothing else, within [min, max].
enum class StrictNumber { Ok, NotANumber, OutOfRange };
StrictNumber ParseStrictDecimal(std::string_view text, std::int64_t min, std::int64_t max,
                                std::int64_t& out);

} // namespace qb
