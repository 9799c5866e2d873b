#include "build/gamefile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "build/encoding.h"

namespace qb {

namespace {
void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}
} // namespace

bool ParseTrailer(std::string_view trailer, std::uint32_t& pictureSize,
                  std::uint32_t& projectSize) {
    if (trailer.size() != kTrailerSize) return false;
    return ParseDecimal8(trailer.substr(0, 8), pictureSize) &&
           ParseDecimal8(trailer.substr(8, 8), projectSize);
}

bool ParsePictureBlock(std::string_view block, std::vector<EmbeddedPictureEntry>& entries,
                       std::string* error) {
    entries.clear();
    std::size_t at = 0;
    while (at < block.size()) {
        if (block.size() - at < 16) {
            SetError(error, "the pictures block ends inside a picture header");
            return false;
        }
        EmbeddedPictureEntry entry;
        if (!ParseDecimal8(block.substr(at, 8), entry.width) ||
            !ParseDecimal8(block.substr(at + 8, 8), entry.height)) {
            SetError(error, "a picture header is not two 8-digit numbers");
            return false;
        }
        at += 16;
        // Both sides are below 10^8, so the product fits 64 bits.
        const std::uint64_t chars = 2ull * entry.width * entry.height;
        if (chars > block.size() - at) {
            SetError(error, "a picture is larger than the pictures block");
            return false;
        }
        entry.pixelOffset = at;
        const std::string_view pixels = block.substr(at, static_cast<std::size_t>(chars));
        for (char c : pixels) {
            if (ImageCharacterValue(c) < 0) {
                SetError(error, "a picture holds a character outside the image character set");
                return false;
            }
        }
        at += static_cast<std::size_t>(chars);
        entries.push_back(entry);
    }
    return true;
}

namespace {

// Checks the sizes against the file and fills out from the S + E appended bytes.
bool ParseAppended(std::string_view appended, std::uint32_t e, std::uint32_t s,
                   std::uint64_t fileSize, GameFileContents& out, std::string* error) {
    out = GameFileContents{};
    out.fileSize = fileSize;
    out.projectSize = s;
    out.pictureSize = e;
    out.projectText.assign(appended.substr(0, s));
    UnscrambleProjectText(out.projectText);
    out.pictureBlock.assign(appended.substr(s, e));
    std::string reason;
    if (!ParsePictureBlock(out.pictureBlock, out.pictures, &reason)) {
        SetError(error, "the trailer does not match the data in front of it: " + reason);
        out = GameFileContents{};
        return false;
    }
    return true;
}

bool CheckSizes(std::uint64_t fileSize, std::uint32_t e, std::uint32_t s, std::string* error) {
    if (static_cast<std::uint64_t>(s) + e + kTrailerSize > fileSize) {
        SetError(error, "the trailer claims more data (S=" + std::to_string(s) +
                            ", E=" + std::to_string(e) + ") than the file holds");
        return false;
    }
    return true;
}

} // namespace

bool ParseGameFile(std::string_view file, GameFileContents& out, std::string* error) {
    std::uint32_t e = 0, s = 0;
    if (file.size() < kTrailerSize ||
        !ParseTrailer(file.substr(file.size() - kTrailerSize), e, s)) {
        SetError(error, "not a built game: it does not end in a 16-digit trailer");
        return false;
    }
    if (!CheckSizes(file.size(), e, s, error)) return false;
    const std::size_t start = file.size() - kTrailerSize - s - e;
    return ParseAppended(file.substr(start, static_cast<std::size_t>(s) + e), e, s, file.size(),
                         out, error);
}

bool ReadGameFile(const std::string& path, GameFileContents& out, std::string* error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        SetError(error, "not a file: " + path);
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        SetError(error, "cannot read " + path);
        return false;
    }
    if (size < kTrailerSize) {
        SetError(error, "not a built game: " + path + " is shorter than a trailer");
        return false;
    }
    char trailer[kTrailerSize];
    in.seekg(static_cast<std::streamoff>(size - kTrailerSize));
    in.read(trailer, kTrailerSize);
    std::uint32_t e = 0, s = 0;
    if (in.gcount() != static_cast<std::streamsize>(kTrailerSize)) {
        SetError(error, "cannot read " + path);
        return false;
    }
    if (!ParseTrailer(std::string_view(trailer, kTrailerSize), e, s)) {
        SetError(error, "not a built game: " + path + " does not end in a 16-digit trailer");
        return false;
    }
    if (!CheckSizes(size, e, s, error)) return false;
    // Both sizes are below 10^8, so this read is bounded whatever the file claims.
    std::string appended(static_cast<std::size_t>(s) + e, '\0');
    in.seekg(static_cast<std::streamoff>(size - kTrailerSize - s - e));
    in.read(appended.data(), static_cast<std::streamsize>(appended.size()));
    if (in.gcount() != static_cast<std::streamsize>(appended.size())) {
        SetError(error, "cannot read " + path);
        return false;
    }
    return ParseAppended(appended, e, s, size, out, error);
}

void DecodePictureRow(const GameFileContents& game, const EmbeddedPictureEntry& entry,
                      std::uint32_t row, std::uint8_t* rgbOut) {
    const std::size_t rowChars = 2ull * entry.width;
    const std::size_t start = entry.pixelOffset + rowChars * row;
    if (row >= entry.height || start + rowChars > game.pictureBlock.size()) return;
    const char* p = game.pictureBlock.data() + start;
    for (std::uint32_t x = 0; x < entry.width; ++x) {
        std::uint8_t* rgb = rgbOut + 3ull * x;
        if (!DecodePixel(p[2 * x], p[2 * x + 1], rgb[0], rgb[1], rgb[2])) rgb[0] = rgb[1] = rgb[2] = 0;
    }
}

} // namespace qb
