#pragma once
// Picture-backed records: Fonts bitmap (2), Sprites bitmap (3), Backgrounds bitmap (4 and 104)
// and Splash bitmap (13). Each begins with the full path of its PNG in the project folder.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/record.h"

namespace qb::layout {

namespace file_backed {
constexpr std::size_t kPath = 0;  // char[260]: full path of the item's file, zero-terminated
constexpr std::size_t kPathSize = kPathField;
} // namespace file_backed

namespace font_bitmap {
constexpr std::size_t kSize = 268;
constexpr std::size_t kPath = file_backed::kPath;  // char[260]
constexpr std::size_t kFontSize = 260;             // i32: 16, matching the default font picture
constexpr std::size_t kInterletter = 264;          // i32: spacing between letters
constexpr std::int32_t kNewFontSize = 16;
static_assert(kInterletter + 4 == kSize);
} // namespace font_bitmap

namespace sprites_bitmap {
constexpr std::size_t kSize = 276;
constexpr std::size_t kPath = file_backed::kPath;  // char[260]
constexpr std::size_t kCellSize = 260;             // i32: square cells of this many pixels from the top left
constexpr std::size_t kAlpha = 264;                // u32: sprites use the alpha channel, 1/0
constexpr std::size_t kRotation = 268;             // u32: rotation active, 1/0
constexpr std::size_t kRotationAngles = 272;       // i32: number of rotation angles (hidden)
constexpr std::int32_t kNewCellSize = 32;
constexpr std::int32_t kNewRotationAngles = 16;
static_assert(kRotationAngles + 4 == kSize);
} // namespace sprites_bitmap

namespace backgrounds_bitmap {
constexpr std::size_t kSize = 268;
constexpr std::size_t kPath = file_backed::kPath;  // char[260]
constexpr std::size_t kTileSize = 260;             // i32: square tiles of this many pixels
constexpr std::size_t kGroundKind = 264;           // u32: kind of ground of the whole picture (type 104)
constexpr std::int32_t kNewTileSize = 32;
static_assert(kGroundKind + 4 == kSize);

// Kinds of ground. Type 104 offers all of them; type 4 names only the first two (walkable
// ground, square wall) and never changes the stored value.
constexpr std::uint32_t kTrackAsphalt = 0;
constexpr std::uint32_t kTrackDirt = 1;
constexpr std::uint32_t kTrackWall = 2;
constexpr std::uint32_t kPlatformNothing = 3;  // the "background" kind the map painter may overwrite
constexpr std::uint32_t kPlatformGround = 4;
constexpr std::uint32_t kPlatformSlopeLeft = 5;
constexpr std::uint32_t kPlatformSlopeRight = 6;
constexpr std::uint32_t kPlatformConveyorLeft = 7;
constexpr std::uint32_t kPlatformConveyorRight = 8;
constexpr std::uint32_t kPlatformWall = 9;
constexpr std::uint32_t kPlatformWallUp = 10;
constexpr std::uint32_t kPlatformWallDown = 11;
constexpr std::uint32_t kTrackGrass = 12;
constexpr std::uint32_t kGroundKindCount = 13;
} // namespace backgrounds_bitmap

namespace splash_bitmap {
constexpr std::size_t kSize = 2808;
constexpr std::size_t kPath = file_backed::kPath;  // char[260]
constexpr std::size_t kText = 260;                 // char[2000]: scrolling text, lines end in CR LF
constexpr std::size_t kTextSize = 2000;
constexpr std::size_t kScrollSpeed = 2260;         // i32: text scroll speed
constexpr std::size_t kSound = 2264;               // sound pair, ID with all 32 bits
constexpr std::size_t kFlashingText = 2272;        // char[256]
constexpr std::size_t kFlashingTextSize = 256;
constexpr std::size_t kLinkActive = 2528;          // u32: web link active, 1/0
constexpr std::size_t kLinkXi = 2532;              // i32: link area left
constexpr std::size_t kLinkYi = 2536;              // i32: top
constexpr std::size_t kLinkXf = 2540;              // i32: right
constexpr std::size_t kLinkYf = 2544;              // i32: bottom
constexpr std::size_t kLink = 2548;                // char[260]: link address
constexpr std::size_t kLinkSize = kPathField;
constexpr const char* kNewText = "insert text here!";
constexpr std::int32_t kNewScrollSpeed = 2;
static_assert(kText + kTextSize == kScrollSpeed);
static_assert(kSound + sound_pair::kSize == kFlashingText);
static_assert(kFlashingText + kFlashingTextSize == kLinkActive);
static_assert(kLink + kLinkSize == kSize);
} // namespace splash_bitmap

} // namespace qb::layout
