#include "build/encoding.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb {

namespace {

constexpr char kImageCharacters[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-";

struct ScrambleTables {
    std::array<char, 256> forward{};
    std::array<char, 256> backward{};
};

unsigned char Rotate(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c == 'z' ? 'a' : c + 1;
    if (c >= 'A' && c <= 'Z') return c == 'Z' ? 'A' : c + 1;
    if (c >= '0' && c <= '9') return c == '9' ? '0' : c + 1;
    return c;
}

ScrambleTables MakeScrambleTables() {
    ScrambleTables t;
    for (unsigned b = 0; b < 256; ++b) {
        unsigned char c = static_cast<unsigned char>(b);
        // Stage 1.
        if (c == 13) c = '?';
        else if (c == '?') c = 13;
        // Stage 2, on the result of stage 1.
        if (c == 10) c = '!';
        else if (c == '!') c = 10;
        else c = Rotate(c);
        t.forward[b] = static_cast<char>(c);
    }
    // The two stages are a permutation of the byte values, so the inverse is a table too.
    for (unsigned b = 0; b < 256; ++b)
        t.backward[static_cast<unsigned char>(t.forward[b])] = static_cast<char>(b);
    return t;
}

const ScrambleTables& Tables() {
    static const ScrambleTables tables = MakeScrambleTables();
    return tables;
}

// The two characters for each 12-bit colour (R4 G4 B4), first character in the low byte.
std::array<std::uint16_t, 4096> MakePixelTable() {
    std::array<std::uint16_t, 4096> table{};
    for (unsigned rgb = 0; rgb < 4096; ++rgb) {
        const unsigned r = rgb >> 8, g = (rgb >> 4) & 15, b = rgb & 15;
        const auto p = static_cast<unsigned char>(kImageCharacters[r * 4 + (g >> 2)]);
        const auto q = static_cast<unsigned char>(kImageCharacters[(g & 3) * 16 + b]);
        table[rgb] = static_cast<std::uint16_t>(p | (q << 8));
    }
    return table;
}

const std::array<std::uint16_t, 4096>& PixelTable() {
    static const auto table = MakePixelTable();
    return table;
}

inline unsigned Key12(std::uint32_t rgb) {
    return ((rgb >> 12) & 0xF00) | ((rgb >> 8) & 0xF0) | ((rgb >> 4) & 0xF);
}

} // namespace

std::string FormatDecimal8(std::uint64_t value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
    return digits;
}

bool ParseDecimal8(std::string_view text, std::uint32_t& value) {
    if (text.size() != 8) return false;
    std::uint32_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint32_t>(c - '0');
    }
    value = v;
    return true;
}

#if defined(__SSE2__)
namespace {
// A mask of the bytes of x that lie in 0 .. last (unsigned).
inline __m128i AtMost(__m128i x, char last) {
    return _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(last)), x);
}
inline __m128i AddWhere(__m128i delta, __m128i mask, int value) {
    return _mm_add_epi8(delta, _mm_and_si128(mask, _mm_set1_epi8(static_cast<char>(value))));
}
// The scramble of 16 bytes at once (the project file copy is megabytes long), as the
// difference each byte moves by: +1 for letters and digits, back to the first one after 'z',
// 'Z' and '9', and the CR/'?' and LF/'!' swaps.
inline __m128i Scramble16(__m128i c) {
    const __m128i folded = _mm_or_si128(c, _mm_set1_epi8(0x20));  // 'A'..'Z' -> 'a'..'z'
    const __m128i letter = AtMost(_mm_sub_epi8(folded, _mm_set1_epi8('a')), 25);
    const __m128i digit = AtMost(_mm_sub_epi8(c, _mm_set1_epi8('0')), 9);
    __m128i delta = _mm_and_si128(_mm_or_si128(letter, digit), _mm_set1_epi8(1));
    delta = AddWhere(delta, _mm_cmpeq_epi8(folded, _mm_set1_epi8('z')), -26);
    delta = AddWhere(delta, _mm_cmpeq_epi8(c, _mm_set1_epi8('9')), -10);
    delta = AddWhere(delta, _mm_cmpeq_epi8(c, _mm_set1_epi8(13)), '?' - 13);
    delta = AddWhere(delta, _mm_cmpeq_epi8(c, _mm_set1_epi8('?')), 13 - '?');
    delta = AddWhere(delta, _mm_cmpeq_epi8(c, _mm_set1_epi8(10)), '!' - 10);
    delta = AddWhere(delta, _mm_cmpeq_epi8(c, _mm_set1_epi8('!')), 10 - '!');
    return _mm_add_epi8(c, delta);
}
} // namespace
#endif

void ScrambleProjectText(char* bytes, std::size_t length) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= length; i += 16) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i), Scramble16(c));
    }
#endif
    const auto& table = Tables().forward;
    for (; i < length; ++i) bytes[i] = table[static_cast<unsigned char>(bytes[i])];
}

void UnscrambleProjectText(char* bytes, std::size_t length) {
    const auto& table = Tables().backward;
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = table[static_cast<unsigned char>(bytes[i])];
}

char ImageCharacter(unsigned value) { return kImageCharacters[value & 63]; }

int ImageCharacterValue(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '-') return 63;
    return -1;
}

void EncodePixel(std::uint32_t rgb, char out[2]) {
    const std::uint16_t pair = PixelTable()[Key12(rgb)];
    out[0] = static_cast<char>(pair & 0xFF);
    out[1] = static_cast<char>(pair >> 8);
}

void EncodePixels(const std::uint32_t* pixels, std::size_t count, char* out) {
    // The block of a large picture is tens of megabytes: two pixels per 32-bit store.
    const std::uint16_t* table = PixelTable().data();
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        const std::uint32_t lo = table[Key12(pixels[i])], hi = table[Key12(pixels[i + 1])];
        const std::uint32_t both = lo | (hi << 16);
        std::uint8_t bytes[4] = {static_cast<std::uint8_t>(both), static_cast<std::uint8_t>(both >> 8),
                                 static_cast<std::uint8_t>(both >> 16),
                                 static_cast<std::uint8_t>(both >> 24)};
        std::memcpy(out + 2 * i, bytes, 4);
    }
    if (i < count) EncodePixel(pixels[i], out + 2 * i);
}

bool DecodePixel(char p, char q, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) {
    const int pv = ImageCharacterValue(p), qv = ImageCharacterValue(q);
    if (pv < 0 || qv < 0) return false;
    const unsigned r4 = static_cast<unsigned>(pv) >> 2;
    const unsigned g4 = ((static_cast<unsigned>(pv) & 3) << 2) | (static_cast<unsigned>(qv) >> 4);
    const unsigned b4 = static_cast<unsigned>(qv) & 15;
    red = static_cast<std::uint8_t>(r4 * 17);
    green = static_cast<std::uint8_t>(g4 * 17);
    blue = static_cast<std::uint8_t>(b4 * 17);
    return true;
}

} // namespace qb
