#pragma once
// Shoot'em-up User ship data (type 9) and User ship fire data (type 10) records.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout {

namespace ship {
constexpr std::size_t kSize = 272;
constexpr std::size_t kStraightCount = 0;    // i32: straight sprites used, 1..10
constexpr std::size_t kTurnCount = 4;        // i32: turn sprites used, 1..10, left and right alike
constexpr std::size_t kStraightSprites = 8;  // 10 sprite frames
constexpr std::size_t kLeftSprites = 88;     // 10 sprite frames
constexpr std::size_t kRightSprites = 168;   // 10 sprite frames
constexpr std::size_t kSpriteSlots = 10;
constexpr std::size_t kExplosion = 248;      // u32: Explosion animations (type 12), low 16 bits
constexpr std::size_t kAreaXi = 252;         // i32: left edge of the ship's area, pixels
constexpr std::size_t kAreaXf = 256;         // i32: right edge
constexpr std::size_t kAreaYi = 260;         // i32: top edge
constexpr std::size_t kAreaYf = 264;         // i32: bottom edge
constexpr std::size_t kSpriteRadius = 268;   // i32: background collision radius (hidden)

constexpr std::int32_t kNewAreaXi = 16, kNewAreaXf = 624, kNewAreaYi = 16, kNewAreaYf = 464;

static_assert(kLeftSprites == kStraightSprites + kSpriteSlots * sprite_frame::kSize);
static_assert(kExplosion == kRightSprites + kSpriteSlots * sprite_frame::kSize);
static_assert(kSpriteRadius + 4 == kSize);
} // namespace ship

namespace ship_fire {
constexpr std::size_t kSize = 152;
constexpr std::size_t kWord0 = 0;                // u32: written 0, never edited; the in-use rules read its low half as a Vectorial animation ID
constexpr std::size_t kVerticalSpeed = 4;        // i32
constexpr std::size_t kMaxShots = 8;             // i32: shot sprites at the same time
constexpr std::size_t kMinShotDistance = 12;     // i32: minimal temporal distance between two shots
constexpr std::size_t kAutofire = 16;            // u32: 1/0
constexpr std::size_t kSpriteCount = 20;         // i32: sprites used, 1..10
constexpr std::size_t kSprites = 24;             // 10 sprite frames
constexpr std::size_t kSpriteSlots = 10;
constexpr std::size_t kNextPowerSelected = 104;  // u32: 1/0
constexpr std::size_t kNextPower = 108;          // u32: User ship fire data (type 10), all 32 bits
constexpr std::size_t kDestructionPower = 112;   // i32
constexpr std::size_t kSound = 116;              // sound pair, ID with all 32 bits
constexpr std::size_t kVerticalOffset = 124;     // i32
constexpr std::size_t kHorizontalSprites = 128;  // i32: number of horizontal sprites
constexpr std::size_t kHorizontalDistance = 132; // i32
constexpr std::size_t kVerticalDistance = 136;   // i32
constexpr std::size_t kHorizontalSpeed = 140;    // i32
constexpr std::size_t kLostFirePoints = 144;     // i32: points if fire is lost (hidden)
constexpr std::size_t kLoopSound = 148;          // u32: 1/0 (hidden)

constexpr std::int32_t kNewVerticalSpeed = 20, kNewMaxShots = 5, kNewMinShotDistance = 2;

static_assert(kNextPowerSelected == kSprites + kSpriteSlots * sprite_frame::kSize);
static_assert(kVerticalOffset == kSound + sound_pair::kSize);
static_assert(kLoopSound + 4 == kSize);
} // namespace ship_fire

} // namespace qb::layout
