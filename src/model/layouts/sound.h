#pragma once
// Audio data record (type 5): the item's MP3 file, or one of the engine's library sounds.
#include <cstddef>
#include <cstdint>

#include "model/layouts/bitmaps.h"

namespace qb::layout::sound {

constexpr std::size_t kSize = 272;
constexpr std::size_t kPath = file_backed::kPath;  // char[260]: full path of the MP3 in the project folder
constexpr std::size_t kLoop = 260;                 // u32: loop sound, 1/0 (hidden)
constexpr std::size_t kSource = 264;               // u32: kSourceUser or kSourceLibrary
constexpr std::size_t kLibrarySound = 268;         // i32: kUserFire..kBonus, kNoLibrarySound when none
static_assert(kLibrarySound + 4 == kSize);

constexpr std::uint32_t kSourceUser = 0;     // the MP3 file
constexpr std::uint32_t kSourceLibrary = 1;  // an embedded library sound

constexpr std::int32_t kNoLibrarySound = -1;
constexpr std::int32_t kUserFire = 0, kEnemyFire = 1, kShieldFire = 2, kExplosion = 3, kBonus = 4;
constexpr std::int32_t kLibrarySoundCount = 5;

} // namespace qb::layout::sound
