#pragma once
// Curling game items: Pachinko element (type 507) and Pachinko game data (type 508) records.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout {

namespace pachinko_element {
constexpr std::size_t kSize = 952;
constexpr std::size_t kOlderSize = 888;          // records of older versions end before kReserved
constexpr std::size_t kType = 0;                 // u32: type of element, 0..17
constexpr std::size_t kPaintDeactivated = 4;     // u32: paint while deactivated, 1/0
constexpr std::size_t kDeactivatedSprite = 8;    // sprite frame
constexpr std::size_t kDeactivatedOffsetX = 16;  // i32
constexpr std::size_t kDeactivatedOffsetY = 20;  // i32
constexpr std::size_t kAnimationCount = 24;      // i32: animation sprites used, 0..100
constexpr std::size_t kAnimationSprites = 28;    // 100 sprite frames
constexpr std::size_t kAnimationSlots = 100;
constexpr std::size_t kAnimationOffsetX = 828;   // i32
constexpr std::size_t kAnimationOffsetY = 832;   // i32
constexpr std::size_t kRadius = 836;             // i32: collision radius
constexpr std::size_t kScore = 840;              // i32
constexpr std::size_t kCollisionSound = 844;     // sound pair
constexpr std::size_t kBrake = 852;              // i32: ten-thousandths
constexpr std::size_t kPaintActivated = 856;     // u32: paint while activated, 1/0
constexpr std::size_t kActivatedSprite = 860;    // sprite frame
constexpr std::size_t kActivatedOffsetX = 868;   // i32
constexpr std::size_t kActivatedOffsetY = 872;   // i32
constexpr std::size_t kLightToPass = 876;        // u32: lighting it counts towards passing the level, 1/0
constexpr std::size_t kPointsOnlyIfOff = 880;    // u32: 1/0
constexpr std::size_t kIncrementsMultiplier = 884;  // u32: 1/0
constexpr std::size_t kReserved = 888;           // 64 bytes, zero
constexpr std::size_t kReservedSize = 64;
constexpr std::uint32_t kTypeCount = 18;
constexpr std::uint32_t kNormalPeg = 2;          // "chiodo normale (collisioni)": new elements
static_assert(kAnimationSprites + kAnimationSlots * sprite_frame::kSize == kAnimationOffsetX);
static_assert(kCollisionSound + sound_pair::kSize == kBrake);
static_assert(kReserved + kReservedSize == kSize);
} // namespace pachinko_element

namespace pachinko_board {
constexpr std::size_t kSize = 24084;             // a new item
constexpr std::size_t kEditedSize = 24020;       // what the board editor reads and writes
constexpr std::size_t kBackgroundMap = 0;        // u32: background map (type 6)
constexpr std::size_t kPieceCount = 4;           // i32: pieces placed, 0..500
constexpr std::size_t kPieces = 8;               // 500 x 48-byte pieces in list order
constexpr std::size_t kPieceSlots = 500;
constexpr std::size_t kPieceSize = 48;
constexpr std::size_t kLevelOrder = 24008;       // i32
constexpr std::size_t kBallCount = 24012;        // i32: number of balls
constexpr std::size_t kCompletionBonus = 24016;  // i32: bonus for completing the board
constexpr std::size_t kReserved = 24020;         // 64 bytes, present only in items never edited
constexpr std::size_t kReservedSize = 64;
static_assert(kPieces + kPieceSlots * kPieceSize == kLevelOrder);
static_assert(kCompletionBonus + 4 == kEditedSize);
static_assert(kReserved + kReservedSize == kSize);

namespace piece {
constexpr std::size_t kElement = 0;    // u32: Pachinko element (type 507), all 32 bits
constexpr std::size_t kPlacement = 4;  // u32: kVertical, kFixed, kHorizontal
constexpr std::size_t kInitX = 8;      // i32: map pixels
constexpr std::size_t kInitY = 12;     // i32: map pixels counted upward from the bottom
constexpr std::size_t kEndX = 16;      // i32: horizontal pieces
constexpr std::size_t kEndY = 20;      // i32: vertical pieces
constexpr std::size_t kZero24 = 24;    // 6 x i32, zero
constexpr std::uint32_t kVertical = 0, kFixed = 1, kHorizontal = 2;
} // namespace piece
} // namespace pachinko_board

} // namespace qb::layout
