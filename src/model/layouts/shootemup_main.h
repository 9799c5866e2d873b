#pragma once
// Shoot'em-up Main parameters record (type 1): game-wide settings of a vertical shoot'em-up.
// Item ID fields hold the ID in the low 16 bits unless noted; 0 = none.
#include <cstddef>

#include "model/layouts/common.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout::shootemup_main {

constexpr std::size_t kSize = 1396;

constexpr std::size_t kLevelCount = 0;             // u32: entries used in the level list, 0..100
constexpr std::size_t kLevelList = 4;              // 100 x u32: Level data (type 8) IDs in play order
constexpr std::size_t kLevelListSlots = 100;
constexpr std::size_t kPlayerShip = 404;           // u32: User ship data (type 9)
constexpr std::size_t kPlayerInitialSpeed = 408;   // i32
constexpr std::size_t kPlayerFire = 412;           // u32: User ship fire data (type 10)
constexpr std::size_t kInvisibilitySeconds = 416;  // i32: seconds of invisibility at start
constexpr std::size_t kLives = 420;                // i32: number of lives
constexpr std::size_t kResourceLocation = 424;     // u32: kResourcesBesideGame/AtPath/Embedded
constexpr std::size_t kResourcePath = 428;         // char[260]: path used with kResourcesAtPath
constexpr std::size_t kGameAreaWidth = 688;        // i32: pixels
constexpr std::size_t kGameAreaHeight = 692;       // i32: pixels
constexpr std::size_t kLoadingDescription = 696;   // char[260]: shown while the game loads
constexpr std::size_t kSplashStart = 956;          // u32: Splash bitmap (type 13) shown at the start
constexpr std::size_t kDefaultFont = 960;          // u32: Fonts bitmap (type 2)
constexpr std::size_t kScoreDigits = 964;          // i32: digits of the score
constexpr std::size_t kScoreTextSprite = 968;      // sprite frame of the text 'Score'
constexpr std::size_t kScoreTextX = 976;           // i32
constexpr std::size_t kScoreTextY = 980;           // i32
constexpr std::size_t kScoreX = 984;               // i32: score value
constexpr std::size_t kScoreY = 988;               // i32
constexpr std::size_t kLivesTextSprite = 992;      // sprite frame of the text 'Lives'
constexpr std::size_t kLivesTextX = 1000;          // i32
constexpr std::size_t kLivesTextY = 1004;          // i32
constexpr std::size_t kLivesX = 1008;              // i32: lives value
constexpr std::size_t kLivesY = 1012;              // i32
constexpr std::size_t kHighShown = 1016;           // u32: high texts shown, 1/0
constexpr std::size_t kHighTextSprite = 1020;      // sprite frame of the text 'High'
constexpr std::size_t kHighTextX = 1028;           // i32
constexpr std::size_t kHighTextY = 1032;           // i32
constexpr std::size_t kHighX = 1036;               // i32: high-score value
constexpr std::size_t kHighY = 1040;               // i32
constexpr std::size_t kStartingHigh = 1044;        // i32: starting high score
constexpr std::size_t kSplashEnd = 1048;           // u32: Splash bitmap (type 13) shown at the end
constexpr std::size_t kPlayerMaxSpeed = 1052;      // i32
constexpr std::size_t kScrollType = 1056;          // u32: 0 vertical scroll, 1 multiscroll (hidden)
constexpr std::size_t kLivesShown = 1060;          // u32: lives texts shown, 1/0
constexpr std::size_t kGameOverSprite = 1064;      // sprite frame of the game-over sprite (hidden)
constexpr std::size_t kMapLimitLeft = 1072;        // i32: pixels from the left (hidden)
constexpr std::size_t kMapLimitRight = 1076;       // i32: pixels from the right (hidden)
constexpr std::size_t kMapLimitTop = 1080;         // i32: pixels from the top (hidden)
constexpr std::size_t kMapLimitBottom = 1084;      // i32: pixels from the bottom (hidden)
constexpr std::size_t kBackgroundSound = 1088;     // sound pair, ID with all 32 bits (hidden)
constexpr std::size_t kMusicOnOffSprites = 1096;   // 2 sprite frames (hidden)
constexpr std::size_t kFxOnOffSprites = 1112;      // 2 sprite frames (hidden)
constexpr std::size_t kOnOffFrames = 2;
constexpr std::size_t kUseCustomFont = 1128;       // u32: 1/0
constexpr std::size_t kGameAreaPreset = 1132;      // u32: kAreaFree..kArea800x600; picks the engine template
constexpr std::size_t kComments = 1136;            // char[260]

static_assert(kLevelList + kLevelListSlots * 4 == kPlayerShip);
static_assert(kFxOnOffSprites + kOnOffFrames * sprite_frame::kSize == kUseCustomFont);
static_assert(kComments + kTextField == kSize);

} // namespace qb::layout::shootemup_main
