#pragma once
// Platform game Main parameters record (type 200). Item IDs in the low 16 bits; 0 = none.
#include <cstddef>

#include "model/layouts/common.h"
#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout::platform_main {

constexpr std::size_t kSize = 1040;

constexpr std::size_t kUnused0 = 0;                  // u32: not used by the editor
constexpr std::size_t kInitRoom = 4;                 // i32: starting room
constexpr std::size_t kInitX = 8;                    // i32: starting x
constexpr std::size_t kInitY = 12;                   // i32: starting y
constexpr std::size_t kResourceLocation = 16;        // u32: kResourcesBesideGame or kResourcesAtPath
constexpr std::size_t kResourcePath = 20;            // char[260]
constexpr std::size_t kGameWidth = 280;              // i32
constexpr std::size_t kGameHeight = 284;             // i32
constexpr std::size_t kInfoHeight = 288;             // i32: information area height (added to the game height by the build)
constexpr std::size_t kLoadingDescription = 292;     // char[260]
constexpr std::size_t kSplashStart = 552;            // u32: Splash bitmap (type 13)
constexpr std::size_t kDefaultFont = 556;            // u32: Fonts bitmap (type 2)
constexpr std::size_t kLifeSprite = 560;             // sprite frame written for each life
constexpr std::size_t kLifeX = 568;                  // i32: first life sprite
constexpr std::size_t kLifeY = 572;                  // i32
constexpr std::size_t kLifeDistance = 576;           // i32: x distance between life sprites
constexpr std::size_t kItemCountX = 580;             // i32
constexpr std::size_t kItemCountY = 584;             // i32
constexpr std::size_t kTimeX = 588;                  // i32
constexpr std::size_t kTimeY = 592;                  // i32
constexpr std::size_t kLogoCount = 596;              // i32: logo sprites used, 0..10
constexpr std::size_t kLogoSprites = 600;            // 10 sprite frames
constexpr std::size_t kLogoSlots = 10;
constexpr std::size_t kMainSprite = 680;             // u32: Willy data (type 209)
constexpr std::size_t kInfoBackgroundSprites = 684;  // 2 sprite frames: background of the information area
constexpr std::size_t kInfoBackgroundFrames = 2;
constexpr std::size_t kFadeIn = 700;                 // u32: 0 zoom, 1 smooth scroll
constexpr std::size_t kFadeOut = 704;                // u32: 0 zoom, 1 vertical black lines
constexpr std::size_t kGameOverSplash = 708;         // u32: Splash bitmap (type 13)
constexpr std::size_t kGameFinishedSplash = 712;     // u32: Splash bitmap (type 13)
constexpr std::size_t kLives = 716;                  // i32
constexpr std::size_t kRoomNameY = 720;              // i32
constexpr std::size_t kStartingSound = 724;          // sound pair
constexpr std::size_t kMaxTime = 732;                // i32: seconds
constexpr std::size_t kGameId = 736;                 // char[260]: game identifier of 4 characters
constexpr std::size_t kRecordsEnabled = 996;         // u32: 1/0 (hidden)
constexpr std::size_t kMultiplayerEnabled = 1000;    // u32: 1/0 (hidden)
constexpr std::size_t kOtherPlayersSprite = 1004;    // u32: Willy data (type 209)
constexpr std::size_t kMusicOnOffSprites = 1008;     // 2 sprite frames
constexpr std::size_t kFxOnOffSprites = 1024;        // 2 sprite frames
constexpr std::size_t kOnOffFrames = 2;

static_assert(kLogoSprites + kLogoSlots * sprite_frame::kSize == kMainSprite);
static_assert(kStartingSound + sound_pair::kSize == kMaxTime);
static_assert(kGameId + kTextField == kRecordsEnabled);
static_assert(kFxOnOffSprites + kOnOffFrames * sprite_frame::kSize == kSize);  // 1040 = 1024 + 16

} // namespace qb::layout::platform_main
