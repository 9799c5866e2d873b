#pragma once
// Jigsaw Main parameters record (type 600). Item IDs in the low 16 bits, sound IDs whole; 0 = none.
#include <cstddef>

#include "model/layouts/common.h"
#include "model/layouts/sound_pair.h"

namespace qb::layout::jigsaw_main {

constexpr std::size_t kSize = 888;

constexpr std::size_t kResourceLocation = 0;          // u32: kResourcesBesideGame/AtPath/Embedded
constexpr std::size_t kResourcePath = 4;              // char[260]
constexpr std::size_t kGameAreaWidth = 264;           // i32
constexpr std::size_t kGameAreaHeight = 268;          // i32
constexpr std::size_t kGameAreaPreset = 272;          // u32: kAreaFree..kArea800x600 (the build ignores it)
constexpr std::size_t kLoadingDescription = 276;      // char[260]
constexpr std::size_t kSplashStart = 536;             // u32: Splash bitmap (type 13)
constexpr std::size_t kDefaultFont = 540;             // u32: Fonts bitmap (type 2)
constexpr std::size_t kUseCustomFont = 544;           // u32: 1/0
constexpr std::size_t kTimeX = 548;                   // i32: elapsed-time display
constexpr std::size_t kTimeY = 552;                   // i32
constexpr std::size_t kBackgroundWithJigsaw = 556;    // u32: Backgrounds bitmap (type 4) cut into pieces
constexpr std::size_t kBackgroundWithoutJigsaw = 560; // u32: Backgrounds bitmap (type 4)
constexpr std::size_t kComments = 564;                // char[260]
constexpr std::size_t kPuzzleX = 824;                 // i32: puzzle area, pixels from the left
constexpr std::size_t kPuzzleY = 828;                 // i32: pixels from the top
constexpr std::size_t kPuzzleWidth = 832;             // i32
constexpr std::size_t kPuzzleHeight = 836;            // i32
constexpr std::size_t kPiecesAcross = 840;            // i32: pieces per row
constexpr std::size_t kPiecesDown = 844;              // i32: pieces per column
constexpr std::size_t kBackgroundSound = 848;         // sound pair
constexpr std::size_t kPickSound = 856;               // sound pair
constexpr std::size_t kPlaceSound = 864;              // sound pair
constexpr std::size_t kStartSound = 872;              // sound pair
constexpr std::size_t kFinishSound = 880;             // sound pair

static_assert(kComments + kTextField == kPuzzleX);
static_assert(kFinishSound + sound_pair::kSize == kSize);

} // namespace qb::layout::jigsaw_main
