// make_swf: writes a minimal valid SWF movie (one empty frame on a background colour).
//
//   make_swf OUTPUT WIDTH HEIGHT [RRGGBB]
//
// The engine templates shipped in assets/ are such movies: they stand in for the real game
// engines, which users who own them drop into the application folder. A build appends its data
// behind the movie, which players ignore, so a game built on a stand-in is a well-formed file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = static_cast<std::uint8_t>((current_ << 1) | ((value >> i) & 1u));
            if (++used_ == 8) flush();
        }
    }
    void align() {
        if (used_ == 0) return;
        current_ = static_cast<std::uint8_t>(current_ << (8 - used_));
        flush();
    }
    std::vector<std::uint8_t> bytes;

private:
    void flush() {
        bytes.push_back(current_);
        current_ = 0;
        used_ = 0;
    }
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// Bits needed for a signed field holding every value (SWF RECT fields are signed).
int SignedBits(std::int32_t value) {
    int n = 1;
    while (n < 31 && (value >= (1 << (n - 1)) || value < -(1 << (n - 1)))) ++n;
    return n;
}

void U16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void U32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A tag with a short header (payloads below 63 bytes).
void Tag(std::vector<std::uint8_t>& out, std::uint32_t code, const std::vector<std::uint8_t>& body) {
    U16(out, (code << 6) | static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

std::vector<std::uint8_t> Movie(std::int32_t width, std::int32_t height, std::uint32_t rgb) {
    constexpr std::uint8_t kVersion = 10;
    constexpr std::int32_t kTwipsPerPixel = 20;
    const std::int32_t xMax = width * kTwipsPerPixel, yMax = height * kTwipsPerPixel;

    BitWriter rect;
    const int nbits = std::max(SignedBits(xMax), SignedBits(yMax));
    rect.bits(static_cast<std::uint32_t>(nbits), 5);
    rect.bits(0, nbits);
    rect.bits(static_cast<std::uint32_t>(xMax), nbits);
    rect.bits(0, nbits);
    rect.bits(static_cast<std::uint32_t>(yMax), nbits);
    rect.align();

    std::vector<std::uint8_t> body = rect.bytes;
    U16(body, 24u << 8);  // frame rate 24.0 (8.8 fixed point)
    U16(body, 1);         // one frame
    Tag(body, 69, {0, 0, 0, 0});  // FileAttributes: no network, no ActionScript 3
    Tag(body, 9, {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                  static_cast<std::uint8_t>(rgb)});  // SetBackgroundColor
    Tag(body, 1, {});  // ShowFrame
    Tag(body, 0, {});  // End

    std::vector<std::uint8_t> movie = {'F', 'W', 'S', kVersion};
    U32(movie, static_cast<std::uint32_t>(8 + body.size()));
    movie.insert(movie.end(), body.begin(), body.end());
    return movie;
}

bool ParseInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    long width = 0, height = 0;
    if (argc < 4 || argc > 5 || !ParseInt(argv[2], 1, 8191, width) ||
        !ParseInt(argv[3], 1, 8191, height)) {
        std::fprintf(stderr, "usage: make_swf OUTPUT WIDTH HEIGHT [RRGGBB]  (1..8191 pixels)\n");
        return 2;
    }
    std::uint32_t rgb = 0xFFFFFF;
    if (argc == 5) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(argv[4], &end, 16);
        if (end == argv[4] || *end != '\0' || v > 0xFFFFFF) {
            std::fprintf(stderr, "make_swf: colour must be six hex digits\n");
            return 2;
        }
        rgb = static_cast<std::uint32_t>(v);
    }
    const std::vector<std::uint8_t> movie =
        Movie(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), rgb);
    FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(movie.data(), 1, movie.size(), out) != movie.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "make_swf: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
