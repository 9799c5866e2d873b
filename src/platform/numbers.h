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

} // namespace qb
