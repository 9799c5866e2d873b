#pragma once
// Shoot'em-up Enemies data record (type 7). Item IDs in the low 16 bits unless noted; 0 = none.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout::enemy {

constexpr std::size_t kSize = 948;
constexpr std::size_t kOlderSize = 884;  // records of older versions end before kReserved

constexpr std::size_t kVectorialAnimations = 0;   // u32: high 16 bits animation 1, low 16 bits animation 2 (type 11)
constexpr std::size_t kVectorialAnimation1 = 2;   // u16: the high half of kVectorialAnimations
constexpr std::size_t kVectorialAnimation2 = 0;   // u16: the low half
constexpr std::size_t kAnimationType = 4;         // u32: kSpriteCycle..kSpriteCycleWithLoop
constexpr std::size_t kDestroyToComplete = 8;     // u32: has to be destroyed to complete the level, 1/0
constexpr std::size_t kSpriteCount = 12;          // i32: sprites used, 1..100
constexpr std::size_t kShield = 16;               // i32: shield power, 0 = no collision
constexpr std::size_t kSprites = 20;              // 100 sprite frames
constexpr std::size_t kSpriteSlots = 100;
constexpr std::size_t kFireEnemy = 820;           // u32: Enemies data (type 7) used as this enemy's fire
constexpr std::size_t kMirrorFire = 824;          // u32: mirror enemy fire, 1/0
constexpr std::size_t kExplosion = 828;           // u32: Explosion animations (type 12)
constexpr std::size_t kPoints = 832;              // i32
constexpr std::size_t kFireSound = 836;           // sound pair, ID with all 32 bits
constexpr std::size_t kShieldSound = 844;         // sound pair (hidden)
constexpr std::size_t kTouchBottomRestarts = 852; // u32: touching the bottom restarts the level, 1/0
constexpr std::size_t kExitTimeout = 856;         // i32: multiscroll initial exit timeout, FPS (hidden)
constexpr std::size_t kExitTimeoutDecrease = 860; // i32: decrease at each exit (hidden)
constexpr std::size_t kExitEvenIfVisible = 864;   // u32: 1/0 (hidden)
constexpr std::size_t kExitMode = 868;            // u32: 0 at every point, 1 at a random point (hidden)
constexpr std::size_t kMinimumTimeout = 872;      // i32 (hidden)
constexpr std::size_t kBeatAnimation = 876;       // u32: Explosion animations (type 12)
constexpr std::size_t kSpriteRadius = 880;        // i32: background collision radius (hidden)
constexpr std::size_t kReserved = 884;            // 64 bytes, zero, kept as stored
constexpr std::size_t kReservedSize = 64;

// kAnimationType values.
constexpr std::uint32_t kSpriteCycle = 0;
constexpr std::uint32_t kBackgroundSpriteCycle = 1;  // no collision with the ship
constexpr std::uint32_t kDirectional = 2;            // 8 directions
constexpr std::uint32_t kLoopAnimation2 = 3;         // sprite cycle looping vectorial animation 2
constexpr std::uint32_t kSpriteCycleWithLoop = 4;

constexpr std::int32_t kNewSpriteCount = 8;
constexpr std::int32_t kNewShield = 1;

static_assert(kSprites + kSpriteSlots * sprite_frame::kSize == kFireEnemy);
static_assert(kShieldSound + sound_pair::kSize == kTouchBottomRestarts);
static_assert(kReserved + kReservedSize == kSize);

} // namespace qb::layout::enemy
