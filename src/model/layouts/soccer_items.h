#pragma once
// Soccer game items: Team data (type 301) and Playing field data (type 308) records.
#include <cstddef>
#include <cstdint>

#include "model/layouts/sound_pair.h"
#include "model/record.h"

namespace qb::layout {

namespace team {
constexpr std::size_t kSize = 436;
constexpr std::size_t kShirtColour = 0;        // i32: T-shirt colour
constexpr std::size_t kPlayersSpeed = 4;       // i32
constexpr std::size_t kUserPlayerSpeed = 8;    // i32: the player the user controls
constexpr std::size_t kGoalkeeperSpeed = 12;   // i32
constexpr std::size_t kPassDistance = 16;      // i32: opponent distance for a pass
constexpr std::size_t kKickDistance = 20;      // i32: the user's player
constexpr std::size_t kDribbleDistance = 24;   // i32: the user's player
constexpr std::size_t kGoalKickDistance = 28;  // i32: distance at which a player kicks at goal
constexpr std::size_t kKickPower = 32;         // i32
constexpr std::size_t kPlayerCount = 36;       // i32: players in the team, 0..11
constexpr std::size_t kPlayers = 40;           // 11 x 12-byte players, player 1 first
constexpr std::size_t kPlayerSlots = 11;
constexpr std::size_t kPlayerSize = 12;
constexpr std::size_t kDescription = 172;      // char[260]
constexpr std::size_t kDescriptionSize = kPathField;
constexpr std::size_t kHandPassPower = 432;    // i32: hand lateral pass power
namespace player {
constexpr std::size_t kRole = 0;  // i32
constexpr std::size_t kX = 4;     // i32: x position in the formation
constexpr std::size_t kY = 8;     // i32: y position in the formation
} // namespace player
constexpr std::int32_t kNewSpeed = 30, kNewPassDistance = 40, kNewKickDistance = 100,
                       kNewDribbleDistance = 80, kNewGoalKickDistance = 120, kNewKickPower = 50,
                       kNewPlayerCount = 11;
static_assert(kPlayers + kPlayerSlots * kPlayerSize == kDescription);
static_assert(kDescription + kDescriptionSize == kHandPassPower);
static_assert(kHandPassPower + 4 == kSize);
} // namespace team

namespace playing_field {
constexpr std::size_t kSize = 100;
constexpr std::size_t kBackgroundMap = 0;        // u32: Playing field map (type 6)
constexpr std::size_t kPlayingAreaX = 4;         // i32: x size of the playing area, pixels
constexpr std::size_t kPlayingAreaY = 8;         // i32: y size of the playing area
constexpr std::size_t kGoalAreaX = 12;           // i32: x size of the goal area
constexpr std::size_t kPileAreaX = 16;           // i32: x size of the pile area
constexpr std::size_t kKickSound = 20;           // sound pair
constexpr std::size_t kDribbleSound = 28;        // sound pair
constexpr std::size_t kPoleSound = 36;           // sound pair
constexpr std::size_t kEnterStadiumSound = 44;   // sound pair
constexpr std::size_t kGoalSound = 52;           // sound pair
constexpr std::size_t kSingleWhistleSound = 60;  // sound pair
constexpr std::size_t kTripleWhistleSound = 68;  // sound pair
constexpr std::size_t kMusicSound = 76;          // sound pair
constexpr std::size_t kSoundPairCount = 8;
constexpr std::size_t kHalfAreaX = 84;           // i32: half the x size of the area (game default 304)
constexpr std::size_t kAreaY = 88;               // i32: y size of the area (game default 256)
constexpr std::size_t kCpuKickX = 92;            // i32: computer's initial kick vector
constexpr std::size_t kCpuKickY = 96;            // i32
constexpr std::int32_t kNewPlayingAreaX = 10, kNewPlayingAreaY = 400, kNewGoalAreaX = 100;
static_assert(kKickSound + kSoundPairCount * sound_pair::kSize == kHalfAreaX);
static_assert(kCpuKickY + 4 == kSize);
} // namespace playing_field

} // namespace qb::layout
