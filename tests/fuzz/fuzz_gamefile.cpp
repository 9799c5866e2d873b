// Fuzzes the game-file reader behind inspect and extract: any bytes as a built game.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "build/encoding.h"
#include "build/gamefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    qb::GameFileContents game;
    std::string error;
    if (!qb::ParseGameFile(file, game, &error)) return 0;
    // What was accepted must be consistent with the trailer and decode row by row.
    if (game.projectText.size() != game.projectSize) __builtin_trap();
    if (game.pictureBlock.size() != game.pictureSize) __builtin_trap();
    std::uint64_t total = 0;
    std::vector<std::uint8_t> row;
    for (const qb::EmbeddedPictureEntry& entry : game.pictures) {
        total += 16 + 2ull * entry.width * entry.height;
        if (entry.height == 0) continue;  // no rows (a width alone may be anything)
        row.assign(3ull * entry.width, 0);
        for (std::uint32_t y = 0; y < entry.height; ++y)
            qb::DecodePictureRow(game, entry, y, row.data());
    }
    if (total != game.pictureSize) __builtin_trap();
    // The project copy scrambles back to the bytes in the file.
    std::string scrambled = game.projectText;
    qb::ScrambleProjectText(scrambled);
    const std::size_t start = size - 16 - game.pictureSize - game.projectSize;
    if (file.substr(start, game.projectSize) != scrambled) __builtin_trap();
    return 0;
}
