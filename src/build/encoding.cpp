#include "build/encoding.h"

#include <array>
#include <cstring>

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

// The two characters for each 12-bit colour (R4 G4 B4).
std::array<std::array<char, 2>, 4096> MakePixelTable() {
    std::array<std::array<char, 2>, 4096> table{};
    for (unsigned rgb = 0; rgb < 4096; ++rgb) {
        const unsigned r = rgb >> 8, g = (rgb >> 4) & 15, b = rgb & 15;
        table[rgb][0] = kImageCharacters[r * 4 + (g >> 2)];
        table[rgb][1] = kImageCharacters[(g & 3) * 16 + b];
    }
    return table;
}

const std::array<std::array<char, 2>, 4096>& PixelTable() {
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

void ScrambleProjectText(char* bytes, std::size_t length) {
    const auto& table = Tables().forward;
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = table[static_cast<unsigned char>(bytes[i])];
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
    const auto& pair = PixelTable()[Key12(rgb)];
    out[0] = pair[0];
    out[1] = pair[1];
}

void EncodePixels(const std::uint32_t* pixels, std::size_t count, char* out) {
    const auto& table = PixelTable();
    for (std::size_t i = 0; i < count; ++i) std::memcpy(out + 2 * i, table[Key12(pixels[i])].data(), 2);
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
