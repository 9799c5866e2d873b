#pragma once
// Shoot'em-up Explosion animations (type 12) and Bonus data (type 14) records.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout {

namespace explosion {
constexpr std::size_t kSize = 256;
constexpr std::size_t kSpriteCount = 0;      // i32: sprites used, 1..30
constexpr std::size_t kSprites = 4;          // 30 sprite frames
constexpr std::size_t kSpriteSlots = 30;
constexpr std::size_t kSound = 244;          // sound pair, ID with all 32 bits
constexpr std::size_t kRepeatedFrames = 252; // i32: number of frame repeated (hidden)
static_assert(kSprites + kSpriteSlots * sprite_frame::kSize == kSound);
static_assert(kRepeatedFrames + 4 == kSize);
} // namespace explosion

namespace bonus {
constexpr std::size_t kSize = 840;
constexpr std::size_t kVectorialAnimation = 0;  // u32: Vectorial animations (type 11), low 16 bits
constexpr std::size_t kSpriteCount = 4;         // i32: sprites used, 1..100
constexpr std::size_t kSprites = 8;             // 100 sprite frames
constexpr std::size_t kSpriteSlots = 100;
constexpr std::size_t kUnused808 = 808;         // u32: not used, stays zero
constexpr std::size_t kBonusType = 812;         // u32: kScoreIncreases..kLoseAllBonus
constexpr std::size_t kShot = 816;              // u32: User ship fire data (type 10), low 16 bits
constexpr std::size_t kRestartIfChanged = 820;  // u32: restart from 0 if changed, 1/0
constexpr std::size_t kScore = 824;             // i32
constexpr std::size_t kSpeed = 828;             // i32
constexpr std::size_t kSound = 832;             // sound pair, ID with all 32 bits

constexpr std::uint32_t kScoreIncreases = 0;
constexpr std::uint32_t kSpeedIncreases = 1;
constexpr std::uint32_t kChangeShot = 2;        // type of shot / increase power
constexpr std::uint32_t kLoseAllBonus = 3;

constexpr std::int32_t kNewScore = 100;
constexpr std::int32_t kNewSpeed = 1;

static_assert(kSprites + kSpriteSlots * sprite_frame::kSize == kUnused808);
static_assert(kSound + sound_pair::kSize == kSize);
} // namespace bonus

} // namespace qb::layout
