#pragma once
// Reading a built game back: the 16-byte trailer at its end, the scrambled project file copy
// and the embedded pictures in front of it.
//
//   [engine template][project copy: S][pictures: E][E: 8 digits][S: 8 digits]
//
// Nothing is trusted: the trailer must be 16 digits, S + E + 16 must fit the file, and the
// pictures block must consist of whole entries of valid characters that add up to exactly E.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

constexpr std::size_t kTrailerSize = 16;

struct EmbeddedPictureEntry {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t pixelOffset = 0;  // into GameFileContents::pictureBlock, 2 characters a pixel
};

struct GameFileContents {
    std::uint64_t fileSize = 0;
    std::uint32_t projectSize = 0;   // S
    std::uint32_t pictureSize = 0;   // E
    std::string projectText;         // the project file, unscrambled
    std::string pictureBlock;        // the E bytes as stored
    std::vector<EmbeddedPictureEntry> pictures;
};

// Parses the 16 trailer bytes into E and S.
bool ParseTrailer(std::string_view trailer, std::uint32_t& pictureSize,
                  std::uint32_t& projectSize);
// Splits an embedded pictures block into its entries; false with a reason when the block does
// not consist of whole, well-formed entries.
bool ParsePictureBlock(std::string_view block, std::vector<EmbeddedPictureEntry>& entries,
                       std::string* error);
// A whole game file held in memory.
bool ParseGameFile(std::string_view file, GameFileContents& out, std::string* error);
// Reads only the appended part of a game file from disk (at most S + E + 16 bytes, both sizes
// below 10^8); false with a reason when the file is not a built game or its trailer lies.
bool ReadGameFile(const std::string& path, GameFileContents& out, std::string* error);

// One row of a picture as 8-bit RGB triples (each 4-bit channel widened by repeating it).
void DecodePictureRow(const GameFileContents& game, const EmbeddedPictureEntry& entry,
                      std::uint32_t row, std::uint8_t* rgbOut);

} // namespace qb
