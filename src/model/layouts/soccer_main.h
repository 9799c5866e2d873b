#pragma once
// Soccer Main parameters record (type 300). Item IDs in the low 16 bits; 0 = none.
// The running animations hold, for each of 8 directions (down, down-right, right, up-right, up,
// up-left, left, down-left), "frames per direction" consecutive sprite frames.
#include <cstddef>

#include "model/layouts/common.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout::soccer_main {

constexpr std::size_t kSize = 12316;

constexpr std::size_t kDirections = 8;
constexpr std::size_t kMaxFramesPerDirection = 50;
constexpr std::size_t kRunningSlots = kDirections * kMaxFramesPerDirection;  // 400 sprite frames
constexpr std::size_t kAnimationSlots = 50;       // celebration, marker and arrow runs

constexpr std::size_t kResourceLocation = 0;      // u32: kResourcesBesideGame or kResourcesAtPath
constexpr std::size_t kResourcePath = 4;          // char[260]
constexpr std::size_t kLoadingDescription = 264;  // char[260]
constexpr std::size_t kGameWidth = 524;           // i32
constexpr std::size_t kGameHeight = 528;          // i32
constexpr std::size_t kSplashStart = 532;         // u32: Splash bitmap (type 13)
constexpr std::size_t kEnteringSpeed = 536;       // i32: speed while entering the field at the beginning
constexpr std::size_t kPlayTime = 540;            // i32: total play time, seconds
constexpr std::size_t kCelebrationTime = 544;     // i32: after a goal, seconds
constexpr std::size_t kWhistleToAction = 548;     // i32: seconds
constexpr std::size_t kGameKind = 552;            // i32: 0 classic, 1 ball bounces on the borders
constexpr std::size_t kPlayerTeam = 556;          // u32: Team data (type 301)
constexpr std::size_t kOpponentCount = 560;       // i32: 0..20
constexpr std::size_t kOpponents = 564;           // 20 x u32: Team data IDs in match order
constexpr std::size_t kOpponentSlots = 20;
constexpr std::size_t kPlayingField = 644;        // u32: Playing field data (type 308)
constexpr std::size_t kPlayerRunFrames = 648;     // i32: frames per direction, 0..50
constexpr std::size_t kPlayerRunSprites = 652;    // 400 sprite frames
constexpr std::size_t kPlayerCelebrationFrames = 3852;     // i32: 0..50
constexpr std::size_t kPlayerCelebrationSprites = 3856;    // 50 sprite frames
constexpr std::size_t kOpponentRunFrames = 4256;           // i32: frames per direction
constexpr std::size_t kOpponentRunSprites = 4260;          // 400 sprite frames
constexpr std::size_t kOpponentCelebrationFrames = 7460;   // i32
constexpr std::size_t kOpponentCelebrationSprites = 7464;  // 50 sprite frames
constexpr std::size_t kBallSprite = 7864;                  // sprite frame
constexpr std::size_t kSplashWin = 7872;                   // u32: Splash bitmap (type 13)
constexpr std::size_t kSplashLose = 7876;                  // u32: Splash bitmap (type 13)
constexpr std::size_t kDefaultFont = 7880;                 // u32: Fonts bitmap (type 2)
constexpr std::size_t kGoalkeeperRunFrames = 7884;         // i32: frames per direction
constexpr std::size_t kGoalkeeperRunSprites = 7888;        // 400 sprite frames
constexpr std::size_t kGoalkeeperCelebrationFrames = 11088;   // i32
constexpr std::size_t kGoalkeeperCelebrationSprites = 11092;  // 50 sprite frames
constexpr std::size_t kMarkerFrames = 11492;               // i32: marker under the controlled player
constexpr std::size_t kMarkerSprites = 11496;              // 50 sprite frames
constexpr std::size_t kBallShadowSprite = 11896;           // sprite frame
constexpr std::size_t kArrowFrames = 11904;                // i32
constexpr std::size_t kArrowSprites = 11908;               // 50 sprite frames
constexpr std::size_t kPlayerScoreFont = 12308;            // u32: Fonts bitmap (type 2)
constexpr std::size_t kOpponentScoreFont = 12312;          // u32: Fonts bitmap (type 2)

constexpr std::size_t kRunningBytes = kRunningSlots * sprite_frame::kSize;
constexpr std::size_t kAnimationBytes = kAnimationSlots * sprite_frame::kSize;
static_assert(kOpponents + kOpponentSlots * 4 == kPlayingField);
static_assert(kPlayerRunSprites + kRunningBytes == kPlayerCelebrationFrames);
static_assert(kPlayerCelebrationSprites + kAnimationBytes == kOpponentRunFrames);
static_assert(kOpponentRunSprites + kRunningBytes == kOpponentCelebrationFrames);
static_assert(kOpponentCelebrationSprites + kAnimationBytes == kBallSprite);
static_assert(kGoalkeeperRunSprites + kRunningBytes == kGoalkeeperCelebrationFrames);
static_assert(kGoalkeeperCelebrationSprites + kAnimationBytes == kMarkerFrames);
static_assert(kMarkerSprites + kAnimationBytes == kBallShadowSprite);
static_assert(kArrowSprites + kAnimationBytes == kPlayerScoreFont);
static_assert(kOpponentScoreFont + 4 == kSize);

} // namespace qb::layout::soccer_main
