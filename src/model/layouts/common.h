#pragma once
// Values shared by the Main parameters records of several game types.
#include <cstddef>
#include <cstdint>

#include "model/record.h"

namespace qb::layout {

// Text fields of 260 bytes (paths, loading descriptions, comments): 259 characters and the zero.
constexpr std::size_t kTextField = kPathField;

// Resource location ("Compiling"): where the compiled game finds its pictures and sounds.
constexpr std::uint32_t kResourcesBesideGame = 0;
constexpr std::uint32_t kResourcesAtPath = 1;
constexpr std::uint32_t kResourcesEmbedded = 2;  // shoot'em-up and jigsaw only

// Game area presets of the shoot'em-up and jigsaw.
constexpr std::uint32_t kAreaFree = 0;
constexpr std::uint32_t kArea550x400 = 1;
constexpr std::uint32_t kArea600x400 = 2;
constexpr std::uint32_t kArea640x480 = 3;
constexpr std::uint32_t kArea800x600 = 4;

} // namespace qb::layout
