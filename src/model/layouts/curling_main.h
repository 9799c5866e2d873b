#pragma once
// Curling game Main parameters record (type 500): shuffle disc, disc smash, pachinko and peggle.
// Item IDs in the low 16 bits; 0 = none. A number list is a run of i32 slots whose used length
// is kept in a separate field.
#include <cstddef>

#include "model/layouts/common.h"
#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb::layout::curling_main {

constexpr std::size_t kSize = 1928;

constexpr std::uint32_t kShuffleDisc = 0, kDiscSmash = 1, kPachinko = 2, kPeggle = 3;  // kGameKind

constexpr std::size_t kResourceLocation = 0;       // u32: kResourcesBesideGame or kResourcesAtPath
constexpr std::size_t kResourcePath = 4;           // char[260]
constexpr std::size_t kLoadingDescription = 264;   // char[260]
constexpr std::size_t kGameWidth = 524;            // i32
constexpr std::size_t kGameHeight = 528;           // i32
constexpr std::size_t kSplashStart = 532;          // u32: Splash bitmap (type 13)
// Player game area.
constexpr std::size_t kPlayerAreaWidth = 536;      // i32: x size
constexpr std::size_t kPlayerAreaHeight = 540;     // i32: y size
constexpr std::size_t kPlayerAreaX = 544;          // i32
constexpr std::size_t kPlayerAreaY = 548;          // i32
// Opponent game area.
constexpr std::size_t kOpponentAreaWidth = 552;    // i32
constexpr std::size_t kOpponentAreaHeight = 556;   // i32
constexpr std::size_t kOpponentAreaX = 560;        // i32
constexpr std::size_t kOpponentAreaY = 564;        // i32
constexpr std::size_t kOpponentNameX = 568;        // i32
constexpr std::size_t kOpponentNameY = 572;        // i32
constexpr std::size_t kOpponentScoreX = 576;       // i32
constexpr std::size_t kOpponentScoreY = 580;       // i32
constexpr std::size_t kOpponentGridColumns = 584;  // i32
constexpr std::size_t kOpponentGridRows = 588;     // i32
constexpr std::size_t kOpponentGridSpacingX = 592; // i32
constexpr std::size_t kOpponentGridSpacingY = 596; // i32
constexpr std::size_t kLogoCount = 600;            // i32: logo sprites used, 0..10
constexpr std::size_t kLogoSprites = 604;          // 10 sprite frames
constexpr std::size_t kLogoSlots = 10;
constexpr std::size_t kMusicOnOffSprites = 684;    // 2 sprite frames
constexpr std::size_t kFxOnOffSprites = 700;       // 2 sprite frames
constexpr std::size_t kOnOffFrames = 2;
constexpr std::size_t kBackgroundMap0 = 716;       // u32: background map (type 6) for 0 opponents
constexpr std::size_t kDiscSprite = 720;           // sprite frame
constexpr std::size_t kBarSprites = 728;           // 3 sprite frames
constexpr std::size_t kBarFrames = 3;
constexpr std::size_t kNextDiscSprite = 752;       // sprite frame
constexpr std::size_t kMiniBackgroundSprite = 760; // sprite frame
constexpr std::size_t kMiniDiscSprite = 768;       // sprite frame
constexpr std::size_t kMiniBarSprite = 776;        // sprite frame
constexpr std::size_t kUnused784 = 784;            // 16 bytes, zero
constexpr std::size_t kCollisionSound = 800;       // sound pair
constexpr std::size_t kMusic = 808;                // sound pair
constexpr std::size_t kGameKind = 816;             // u32: kShuffleDisc..kPeggle
constexpr std::size_t kOtherPlayersFont = 820;     // u32: Fonts bitmap (type 2) for other players' names
// Extra information area.
constexpr std::size_t kExtraInfoX = 824;           // i32
constexpr std::size_t kExtraInfoAllTimeX = 828;    // i32
constexpr std::size_t kExtraInfoAllTimeY = 832;    // i32
constexpr std::size_t kExtraInfoInterline = 836;   // i32
constexpr std::size_t kPlayerCountX = 840;         // i32: number of players
constexpr std::size_t kPlayerCountY = 844;         // i32
// Specific game parameters 1 (shuffle disc / disc smash).
constexpr std::size_t kDiscCount = 848;            // i32
constexpr std::size_t kNextDiscX = 852;            // i32
constexpr std::size_t kNextDiscY = 856;            // i32
constexpr std::size_t kNextDiscDistanceX = 860;    // i32
constexpr std::size_t kCentrePoints = 864;         // i32: points in the centre
constexpr std::size_t kScoringRadius = 868;        // i32: maximum radius that scores
constexpr std::size_t kDiscRadius = 872;           // i32
constexpr std::size_t kFriction = 876;             // i32: ten-thousandths
constexpr std::size_t kKickPower = 880;            // i32: percent
constexpr std::size_t kKickDiscY = 884;            // i32: y of the disc to kick
constexpr std::size_t kBarMaxY = 888;              // i32
constexpr std::size_t kBarMinY = 892;              // i32
constexpr std::size_t kCentreX = 896;              // i32
constexpr std::size_t kCentreY = 900;              // i32
constexpr std::size_t kDefaultFont = 904;          // u32: Fonts bitmap (type 2)
constexpr std::size_t kBackgroundMaps = 908;       // 9 x u32: further background maps (type 6), in order
constexpr std::size_t kBackgroundMapSlots = 9;
constexpr std::size_t kBackgroundSound = 944;      // sound pair
constexpr std::size_t kBarMaxX = 952;              // i32
constexpr std::size_t kBarMinX = 956;              // i32
constexpr std::size_t kMaxMouseSpeed = 960;        // i32
constexpr std::size_t kPhysicsCycles = 964;        // i32: physics subdivision cycles
constexpr std::size_t kMinMouseSpeed = 968;        // i32
constexpr std::size_t kPointsSound = 972;          // sound pair
// Specific game parameters 2 (disc smash).
constexpr std::size_t kFixedDiscsFirstRow = 980;   // i32
constexpr std::size_t kFixedDiscDistanceX = 984;   // i32
constexpr std::size_t kFixedDiscDistanceY = 988;   // i32
constexpr std::size_t kFixedDiscInitY = 992;       // i32
constexpr std::size_t kGreenDiscSprite = 996;      // sprite frame
// Specific game parameters 3 (pachinko's slot).
constexpr std::size_t kSlotSpriteCount = 1004;     // i32: 0..20
constexpr std::size_t kSlotSprites = 1008;         // 20 sprite frames
constexpr std::size_t kSlotSpriteSlots = 20;
constexpr std::size_t kReelOrder1 = 1168;          // number list, 40 slots
constexpr std::size_t kReelOrder2 = 1328;          // number list, 40 slots
constexpr std::size_t kReelOrder3 = 1488;          // number list, 40 slots
constexpr std::size_t kReelOrderSlots = 40;
constexpr std::size_t kSlotStartSound = 1648;      // sound pair
constexpr std::size_t kSlotCycleSound = 1656;      // sound pair
constexpr std::size_t kSlotEndSound = 1664;        // sound pair
constexpr std::size_t kSlotWinSound = 1672;        // sound pair
constexpr std::size_t kSlotPoints = 1680;          // number list, 20 slots: points per slot sprite
constexpr std::size_t kSlotPointsSlots = 20;
constexpr std::size_t kSlotFirstX = 1760;          // i32: first slot centre
constexpr std::size_t kSlotFirstY = 1764;          // i32
constexpr std::size_t kSlotOffsetX = 1768;         // i32
// Specific game parameters 4 (pachinko).
constexpr std::size_t kPachinkoBoard = 1772;       // u32: Pachinko game data (type 508)
constexpr std::size_t kMaxBallSpeed = 1776;        // i32
constexpr std::size_t kGravity = 1780;             // i32: ten-thousandths
constexpr std::size_t kRandomWind = 1784;          // i32
constexpr std::size_t kNextBallSound = 1788;       // sound pair
constexpr std::size_t kBallsOverSound = 1796;      // sound pair: pachinko game-over sound
constexpr std::size_t kKickBallX = 1804;           // i32: x of the ball to kick
constexpr std::size_t kLayer2Map = 1808;           // u32: background map (type 6), layer 2 of background 0
constexpr std::size_t kLayer2AlphaMap = 1812;      // u32: background map (type 6), alpha of that layer
constexpr std::size_t kReelOrder1Length = 1816;    // i32: used length of kReelOrder1
constexpr std::size_t kReelOrder2Length = 1820;    // i32
constexpr std::size_t kReelOrder3Length = 1824;    // i32
constexpr std::size_t kSlotPointsLength = 1828;    // i32: used length of kSlotPoints
constexpr std::size_t kAllTimeOffsetX = 1832;      // i32
constexpr std::size_t kScoreX = 1836;              // i32
constexpr std::size_t kScoreY = 1840;              // i32
constexpr std::size_t kHighScoreX = 1844;          // i32
constexpr std::size_t kHighScoreY = 1848;          // i32
constexpr std::size_t kPullSpringSound = 1852;     // sound pair
constexpr std::size_t kPushSpringSound = 1860;     // sound pair
constexpr std::size_t kNextDiscDistanceY = 1868;   // i32 (group 1)
// X bonus.
constexpr std::size_t kBonusSpriteCount = 1872;    // i32
constexpr std::size_t kBonusX = 1876;              // i32
constexpr std::size_t kBonusY = 1880;              // i32
constexpr std::size_t kBonusOffsetY = 1884;        // i32
constexpr std::size_t kMaxBonusValue = 1888;       // i32
constexpr std::size_t kBonusSprite = 1892;         // sprite frame
constexpr std::size_t kGameOverSound = 1900;       // sound pair ("Audio GAME OVER")
constexpr std::size_t kLevelCompletedSound = 1908; // sound pair
constexpr std::size_t kGameFinishedSound = 1916;   // sound pair
constexpr std::size_t kSublevelCount = 1924;       // i32

static_assert(kLogoSprites + kLogoSlots * sprite_frame::kSize == kMusicOnOffSprites);
static_assert(kBarSprites + kBarFrames * sprite_frame::kSize == kNextDiscSprite);
static_assert(kBackgroundMaps + kBackgroundMapSlots * 4 == kBackgroundSound);
static_assert(kSlotSprites + kSlotSpriteSlots * sprite_frame::kSize == kReelOrder1);
static_assert(kReelOrder3 + kReelOrderSlots * 4 == kSlotStartSound);
static_assert(kSlotPoints + kSlotPointsSlots * 4 == kSlotFirstX);
static_assert(kGameFinishedSound + sound_pair::kSize == kSublevelCount);
static_assert(kSublevelCount + 4 == kSize);

} // namespace qb::layout::curling_main
