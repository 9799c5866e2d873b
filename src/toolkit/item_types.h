#pragma once
// The object types the editors name: the ones they edit and the ones their combos list.
#include <cstdint>

namespace qb::ui {

constexpr std::uint32_t kShootEmUpMainType = 1;
constexpr std::uint32_t kFontsBitmapType = 2;
constexpr std::uint32_t kSpritesBitmapType = 3;
constexpr std::uint32_t kBackgroundsBitmapType = 4;
constexpr std::uint32_t kAudioType = 5;
constexpr std::uint32_t kBackgroundMapType = 6;
constexpr std::uint32_t kEnemiesDataType = 7;
constexpr std::uint32_t kLevelDataType = 8;
constexpr std::uint32_t kUserShipType = 9;
constexpr std::uint32_t kUserShipFireType = 10;
constexpr std::uint32_t kVectorialAnimationType = 11;
constexpr std::uint32_t kExplosionType = 12;
constexpr std::uint32_t kSplashBitmapType = 13;
constexpr std::uint32_t kBonusType = 14;
constexpr std::uint32_t kRacingMainType = 100;
constexpr std::uint32_t kRacingPlatformBackgroundsType = 104;  // with the thirteen ground kinds
constexpr std::uint32_t kTrackDataType = 108;
constexpr std::uint32_t kVehicleDataType = 109;
constexpr std::uint32_t kAdsType = 120;
constexpr std::uint32_t kServerType = 121;
constexpr std::uint32_t kPlatformMainType = 200;
constexpr std::uint32_t kPlatformEnemyType = 207;
constexpr std::uint32_t kRoomType = 208;
constexpr std::uint32_t kWillyType = 209;
constexpr std::uint32_t kPlatformItemType = 214;
constexpr std::uint32_t kSoccerMainType = 300;
constexpr std::uint32_t kTeamType = 301;
constexpr std::uint32_t kPlayingFieldType = 308;
constexpr std::uint32_t kCurlingMainType = 500;
constexpr std::uint32_t kPachinkoElementType = 507;
constexpr std::uint32_t kPachinkoBoardType = 508;
constexpr std::uint32_t kJigsawMainType = 600;

} // namespace qb::ui
