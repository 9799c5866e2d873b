#pragma once
// Racing Main parameters record (type 100). Item IDs in the low 16 bits; 0 = none.
#include <cstddef>

#include "model/layouts/common.h"
#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout::racing_main {

constexpr std::size_t kSize = 1208;

constexpr std::size_t kCircuitCount = 0;             // i32: entries used in the race order, 0..100
constexpr std::size_t kCircuits = 4;                 // 100 x u32: Tracks data (type 108) IDs, first raced first
constexpr std::size_t kCircuitSlots = 100;
constexpr std::size_t kPlayerVehicle = 404;          // u32: Vehicle data (type 109)
constexpr std::size_t kResourceLocation = 408;       // u32: kResourcesBesideGame or kResourcesAtPath
constexpr std::size_t kResourcePath = 412;           // char[260]
constexpr std::size_t kGameAreaWidth = 672;          // i32: extra info area included
constexpr std::size_t kGameAreaHeight = 676;         // i32
constexpr std::size_t kLoadingDescription = 680;     // char[260]
constexpr std::size_t kSplashStart = 940;            // u32: Splash bitmap (type 13)
constexpr std::size_t kDefaultFont = 944;            // u32: Fonts bitmap (type 2)
constexpr std::size_t kCurrentLapTextSprite = 948;   // sprite frame of the text 'Current lap'
constexpr std::size_t kCurrentLapTextX = 956;        // i32
constexpr std::size_t kCurrentLapTextY = 960;        // i32
constexpr std::size_t kCurrentLapX = 964;            // i32: current lap number
constexpr std::size_t kCurrentLapY = 968;            // i32
constexpr std::size_t kBestLapTextSprite = 972;      // sprite frame of the text 'Best lap'
constexpr std::size_t kBestLapTextX = 980;           // i32
constexpr std::size_t kBestLapTextY = 984;           // i32
constexpr std::size_t kBestLapX = 988;               // i32: best lap value
constexpr std::size_t kBestLapY = 992;               // i32
constexpr std::size_t kEnemyVehicle = 996;           // u32: Vehicle data (type 109) of the enemy cars
constexpr std::size_t kLapsToGoTextSprite = 1000;    // sprite frame of the text 'Laps to go'
constexpr std::size_t kLapsToGoTextX = 1008;         // i32
constexpr std::size_t kLapsToGoTextY = 1012;         // i32
constexpr std::size_t kLapsToGoX = 1016;             // i32: laps-to-go number
constexpr std::size_t kLapsToGoY = 1020;             // i32
constexpr std::size_t kLogoCount = 1024;             // i32: logo sprites used, 0..10
constexpr std::size_t kLogoSprites = 1028;           // 10 sprite frames
constexpr std::size_t kLogoSlots = 10;
constexpr std::size_t kFramesSkipped = 1108;         // i32
constexpr std::size_t kInfiniteLaps = 1112;          // u32: 1/0
constexpr std::size_t kOnlyMultiplayer = 1116;       // u32: 1/0
constexpr std::size_t kCameraMoveable = 1120;        // u32: 1/0
constexpr std::size_t kMaxCameraDistance = 1124;     // i32: percent
constexpr std::size_t kExtraInfoWidth = 1128;        // i32: 0 = no extra info area
constexpr std::size_t kExtraInfoSprite = 1132;       // sprite frame of the extra info area
constexpr std::size_t kInfoFont = 1140;              // u32: Fonts bitmap (type 2) of the info texts
constexpr std::size_t kInfoTextX = 1144;             // i32
constexpr std::size_t kInfoSessionY = 1148;          // i32: initial text "current session"
constexpr std::size_t kInfoAllTimeY = 1152;          // i32: initial text "all time"
constexpr std::size_t kInfoInterline = 1156;         // i32
constexpr std::size_t kBackgroundSound = 1160;       // sound pair
constexpr std::size_t kMusic = 1168;                 // sound pair
constexpr std::size_t kMusicOnOffSprites = 1176;     // 2 sprite frames
constexpr std::size_t kFxOnOffSprites = 1192;        // 2 sprite frames
constexpr std::size_t kOnOffFrames = 2;

static_assert(kCircuits + kCircuitSlots * 4 == kPlayerVehicle);
static_assert(kLogoSprites + kLogoSlots * sprite_frame::kSize == kFramesSkipped);
static_assert(kMusic + sound_pair::kSize == kMusicOnOffSprites);
static_assert(kFxOnOffSprites + kOnOffFrames * sprite_frame::kSize == kSize);  // 1208 = 1192 + 16

} // namespace qb::layout::racing_main
