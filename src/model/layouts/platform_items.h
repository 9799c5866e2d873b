#pragma once
// Platform game items: Enemies data (207), Rooms data (208), Willy data (209) and Items data
// (214) records. Item IDs in the low 16 bits; 0 = none.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout {

namespace platform_enemy {
constexpr std::size_t kSize = 1708;
constexpr std::size_t kOlderSize = 1644;            // records of older versions end before kReserved
constexpr std::size_t kAnimationType = 0;           // u32: 0 horizontal, 1 vertical
constexpr std::size_t kSpeed = 4;                   // i32
constexpr std::size_t kShownUntilAllItems = 8;      // u32: shown until all items are owned, 1/0
constexpr std::size_t kForwardCount = 12;           // i32: sprites moving left to right or bottom to top
constexpr std::size_t kForwardSprites = 16;         // 100 sprite frames
constexpr std::size_t kBackwardCount = 816;         // i32: sprites moving right to left or top to bottom
constexpr std::size_t kBackwardSprites = 820;       // 100 sprite frames
constexpr std::size_t kSpriteSlots = 100;
constexpr std::size_t kFirstFrameSound = 1620;      // sound pair
constexpr std::size_t kDirectionChangeSound = 1628; // sound pair
constexpr std::size_t kAnimationStyle = 1636;       // u32: 0 separate left/right, 1 same cycle, 2 original inverted
constexpr std::size_t kNoCollision = 1640;          // u32: 1/0
constexpr std::size_t kReserved = 1644;             // 64 bytes, zero
constexpr std::size_t kReservedSize = 64;
constexpr std::uint32_t kHorizontal = 0, kVertical = 1;
static_assert(kForwardSprites + kSpriteSlots * sprite_frame::kSize == kBackwardCount);
static_assert(kBackwardSprites + kSpriteSlots * sprite_frame::kSize == kFirstFrameSound);
static_assert(kReserved + kReservedSize == kSize);
} // namespace platform_enemy

namespace room {
constexpr std::size_t kSize = 1788;
constexpr std::size_t kRoomCode = 0;        // i32
constexpr std::size_t kBackgroundMap = 4;   // u32: background map (type 6)
constexpr std::size_t kElementCount = 8;    // i32: elements used, 0..20
constexpr std::size_t kLeftRoom = 12;       // i32: code of the room to the left
constexpr std::size_t kTopRoom = 16;        // i32: above
constexpr std::size_t kRightRoom = 20;      // i32: to the right
constexpr std::size_t kBottomRoom = 24;     // i32: below
constexpr std::size_t kElements = 28;       // 20 x 88-byte elements in list order
constexpr std::size_t kElementSlots = 20;
constexpr std::size_t kElementSize = 88;
static_assert(kElements + kElementSlots * kElementSize == kSize);

namespace element {
constexpr std::size_t kKind = 0;          // i32: kBonus, kVerticalEnemy, kHorizontalEnemy
constexpr std::size_t kEnemy = 4;         // u32: Enemies data (type 207); 0 for a bonus
constexpr std::size_t kInitX = 8;         // i32: map pixels
constexpr std::size_t kInitY = 12;        // i32: map pixels counted upward from the bottom
constexpr std::size_t kEndX = 16;         // i32: end of a horizontal enemy's path
constexpr std::size_t kEndY = 20;         // i32: end of a vertical enemy's path
constexpr std::size_t kZero24 = 24;       // i32: always 0
constexpr std::size_t kShoots = 28;       // u32: 0 no shot, 1 shot
constexpr std::size_t kShotTimeout = 32;  // i32: milliseconds
constexpr std::size_t kStartPercent = 36; // i32: starting point, percent of the way
constexpr std::size_t kItem = 40;         // u32: Items data (type 214); 0 for an enemy
constexpr std::size_t kZero44 = 44;       // 4 x i32, always 0
constexpr std::size_t kReversed = 60;     // u32: reversed direction, 1/0
constexpr std::size_t kZero64 = 64;       // 6 x i32, always 0
constexpr std::int32_t kBonus = 0, kVerticalEnemy = 1, kHorizontalEnemy = 2;
constexpr std::int32_t kResetShotTimeout = 5000;
} // namespace element
} // namespace room

namespace willy {
constexpr std::size_t kSize = 1104;
constexpr std::size_t kExplosion = 0;           // u32: Explosion animations (type 12)
constexpr std::size_t kSpriteCount = 4;         // i32: sprites per side
constexpr std::size_t kLeftSprites = 8;         // 40 sprite frames facing left
constexpr std::size_t kRightSprites = 328;      // 40 sprite frames facing right
constexpr std::size_t kSpriteSlots = 40;
constexpr std::size_t kWalkingSpeed = 648;      // i32
constexpr std::size_t kJumpOffsetCount = 652;   // i32: 0..100
constexpr std::size_t kJumpOffsets = 656;       // 100 x i32: y offset of each step of a jump
constexpr std::size_t kJumpOffsetSlots = 100;
constexpr std::size_t kVirtualPixel = 1056;     // i32: virtual pixel dimension (hidden)
constexpr std::size_t kLeftStartX = 1060;       // i32: x starting position at the left
constexpr std::size_t kRoomEnteringX = 1064;    // i32
constexpr std::size_t kMaxFallHeight = 1068;    // i32
constexpr std::size_t kJumpSound = 1072;        // sound pair
constexpr std::size_t kFallSound = 1080;        // sound pair
constexpr std::size_t kLifeLostSound = 1088;    // sound pair
constexpr std::size_t kItemCollectedSound = 1096;  // sound pair
constexpr std::int32_t kNewWalkingSpeed = 4, kNewVirtualPixel = 16, kNewLeftStartX = 5;
static_assert(kLeftSprites + kSpriteSlots * sprite_frame::kSize == kRightSprites);
static_assert(kRightSprites + kSpriteSlots * sprite_frame::kSize == kWalkingSpeed);
static_assert(kJumpOffsets + kJumpOffsetSlots * 4 == kVirtualPixel);
static_assert(kItemCollectedSound + sound_pair::kSize == kSize);
} // namespace willy

namespace platform_item {
constexpr std::size_t kSize = 76;
constexpr std::size_t kOlderSize = 12;     // records of older versions end before kReserved
constexpr std::size_t kSprite = 0;         // sprite frame
constexpr std::size_t kFirstColour = 8;    // i32: 0..6
constexpr std::size_t kReserved = 12;      // 64 bytes, zero
constexpr std::size_t kReservedSize = 64;
static_assert(kReserved + kReservedSize == kSize);
} // namespace platform_item

} // namespace qb::layout
