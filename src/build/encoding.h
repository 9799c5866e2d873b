#pragma once
// The byte encodings of a built game: the 8-digit sizes of the trailer, the scramble applied to
// the project file copy, and the image character set of embedded pictures. The engine decodes
// all three, so none of them may change.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qb {

// Sizes the 8-digit trailer can hold: anything from kMaxTrailerValue + 1 on is refused by the
// build instead of being written with a ninth digit.
constexpr std::uint64_t kMaxTrailerValue = 99'999'999;

// The decimal digits of value, left-padded with 0 to 8 characters (5 -> "00000005"). Values
// above kMaxTrailerValue keep all their digits; callers refuse them first.
std::string FormatDecimal8(std::uint64_t value);
// Reads exactly 8 decimal digits; false for anything else.
bool ParseDecimal8(std::string_view text, std::uint32_t& value);

// In place: CR <-> '?', LF <-> '!', letters and digits to the next one (z -> a, Z -> A,
// 9 -> 0); every other byte stays.
void ScrambleProjectText(char* bytes, std::size_t length);
inline void ScrambleProjectText(std::string& text) { ScrambleProjectText(text.data(), text.size()); }
// The inverse of ScrambleProjectText.
void UnscrambleProjectText(char* bytes, std::size_t length);
inline void UnscrambleProjectText(std::string& text) {
    UnscrambleProjectText(text.data(), text.size());
}

// The image character set: 0..25 a-z, 26..51 A-Z, 52..61 0-9, 62 '+', 63 '-'.
char ImageCharacter(unsigned value);
// The value of a character of the set, or -1.
int ImageCharacterValue(char c);

// The two characters of a 0x00RRGGBB pixel: P = (R>>4)*4 + (G>>6), Q = ((G>>4)&3)*16 + (B>>4).
void EncodePixel(std::uint32_t rgb, char out[2]);
// Encodes count pixels into 2 * count characters.
void EncodePixels(const std::uint32_t* pixels, std::size_t count, char* out);
// The pixel two characters stand for, each 4-bit channel widened to 8 bits by repeating it;
// false when a character is not in the set.
bool DecodePixel(char p, char q, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);

} // namespace qb
