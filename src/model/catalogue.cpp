#include "model/catalogue.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "model/layouts/ads_multiplayer.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/jigsaw_main.h"
#include "model/layouts/level.h"
#include "model/layouts/map.h"
#include "model/layouts/music_main.h"
#include "model/layouts/pachinko.h"
#include "model/layouts/platform_items.h"
#include "model/layouts/platform_main.h"
#include "model/layouts/racing_items.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/ship.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/soccer_items.h"
#include "model/layouts/soccer_main.h"
#include "model/layouts/sound.h"
#include "model/layouts/vectorial.h"

namespace qb {

namespace {

namespace L = layout;

constexpr std::array<GameTypeInfo, kGameTypeCount> kGameTypes{{
    {game::ShootEmUp, "Shot'em up", "Vertical Shot'em up", 1, L::shootemup_main::kSize, true},
    {game::Racing, "Racing game", "Racing game", 100, L::racing_main::kSize, true},
    {game::Platform, "Jet Set Willy Remake", "Old platform game", 200, L::platform_main::kSize,
     true},
    {game::Soccer, "Soccer game", "Soccer game", 300, L::soccer_main::kSize, true},
    {game::Music, "Music game", "", 400, L::music_main::kSize, false},
    {game::Curling, "Curling game", "Curling game", 500, L::curling_main::kSize, true},
    {game::Jigsaw, "Jigsaw", "Jigsaw game", 600, L::jigsaw_main::kSize, true},
}};

// Descriptions of new file-backed items are the copied file's title, hence "".
constexpr ObjectTypeInfo kObjectTypes[] = {
    {0, "", 0, 0, ""},
    {1, "Main parameters", L::shootemup_main::kSize, L::shootemup_main::kSize, "Main parameters"},
    {2, "", L::font_bitmap::kSize, L::font_bitmap::kSize, "Fonts bitmap parameters"},
    {3, "", L::sprites_bitmap::kSize, L::sprites_bitmap::kSize, "Sprites bitmap parameters"},
    {4, "", L::backgrounds_bitmap::kSize, L::backgrounds_bitmap::kSize,
     "Background bitmap parameters"},
    {5, "", L::sound::kSize, L::sound::kSize, "Sound parameters"},
    // The size of a new map depends on the game type (NewRecordSize); this is the usual one.
    {6, "background map",
     static_cast<std::uint32_t>(L::map::SizeFor(L::map::kNewWidth, L::map::kNewHeight)),
     L::map::kMinimumSize, "Background map parameters"},
    {7, "Sprites informations", L::enemy::kSize, L::enemy::kOlderSize, "Enemies data"},
    // Level data grows to 16 + 40 x its entry count (MinimumSizeOnLoad).
    {8, "Level data", L::level::kNewSize, L::level::kFixedBytes, "Level data"},
    {9, "Sprites informations", L::ship::kSize, L::ship::kSize, "Ship data"},
    {10, "Sprites informations", L::ship_fire::kSize, L::ship_fire::kSize, "Ship fire data"},
    {11, "Vectorial animation", L::vectorial::kNewSize, 0, "Edit vectorial animation"},
    {12, "Sprites explosions", L::explosion::kSize, L::explosion::kSize, "Explosion data"},
    {13, "", L::splash_bitmap::kSize, L::splash_bitmap::kSize, "Splash bitmap parameters"},
    {14, "Sprites informations", L::bonus::kSize, L::bonus::kSize, "Bonus data"},
    {100, "Main parameters", L::racing_main::kSize, L::racing_main::kSize, "Main parameters"},
    {104, "", L::backgrounds_bitmap::kSize, L::backgrounds_bitmap::kSize,
     "Background bitmap parameters"},
    {108, "Track data", L::track::kSize, L::track::kSize, "Track data"},
    {109, "Sprites informations", L::car::kSize, L::car::kSize, "Car data"},
    {120, "Ads", L::ads::kSize, L::ads::kSize, "MochiAds parameters"},
    {121, "Server data", L::server::kSize, L::server::kSize, "Multiplayer data"},
    {200, "Main parameters", L::platform_main::kSize, L::platform_main::kSize, "Main parameters"},
    {207, "Sprites informations", L::platform_enemy::kSize, L::platform_enemy::kOlderSize,
     "Enemies data"},
    {208, "Rooms informations", L::room::kSize, L::room::kSize, "Room data"},
    {209, "Willy data", L::willy::kSize, L::willy::kSize, "Willy data"},
    {214, "Sprites informations", L::platform_item::kSize, L::platform_item::kOlderSize,
     "Items data"},
    {300, "Main parameters", L::soccer_main::kSize, L::soccer_main::kSize, "Main parameters"},
    {301, "Team data", L::team::kSize, L::team::kSize, "Team data"},
    {308, "Rooms informations", L::playing_field::kSize, L::playing_field::kSize,
     "Playing field"},
    {400, "Main parameters", L::music_main::kSize, 0, ""},
    {401, "", 0, 0, ""},  // cannot be created
    {500, "Main parameters", L::curling_main::kSize, L::curling_main::kSize, "Main parameters"},
    {507, "Pachinko element informations", L::pachinko_element::kSize,
     L::pachinko_element::kOlderSize, "Pachinko's element"},
    {508, "Pachinko data", L::pachinko_board::kSize, L::pachinko_board::kEditedSize,
     "Pachinko's and Peggle's data"},
    {600, "Main parameters", L::jigsaw_main::kSize, L::jigsaw_main::kSize, "Main parameters"},
};

constexpr GroupSpec kShootEmUpGroups[] = {
    {1, "Parameters"},        {2, "Fonts bitmap"},          {3, "Sprites bitmap"},
    {4, "Backgrounds bitmap"}, {5, "Audio data"},           {6, "Background map"},
    {7, "Enemies data"},      {8, "Level data"},            {9, "User ship data"},
    {10, "User ship fire data"}, {11, "Vectorial animations"}, {12, "Explosion animations"},
    {13, "Splash bitmap"},    {14, "Bonus data"},           {120, "Ads"},
    {121, "Server data"},
};
constexpr GroupSpec kRacingGroups[] = {
    {100, "Parameters"},  {2, "Fonts bitmap"},   {3, "Sprites bitmap"}, {104, "Backgrounds bitmap"},
    {5, "Audio data"},    {6, "Tracks map"},     {108, "Tracks data"},  {109, "Vehicle data"},
    {13, "Splash bitmap"}, {120, "Ads"},         {121, "Multiplayer data"},
};
constexpr GroupSpec kPlatformGroups[] = {
    {200, "Parameters"},   {2, "Fonts bitmap"},  {3, "Sprites bitmap"},
    {104, "Backgrounds bitmap"}, {5, "Audio data"}, {6, "Rooms map"},
    {208, "Rooms data"},   {209, "Willy data"},  {13, "Splash bitmap"},
    {120, "Ads"},          {121, "Multiplayer data"}, {12, "Explosion animations"},
    {207, "Enemies data"}, {214, "Items data"},
};
constexpr GroupSpec kSoccerGroups[] = {
    {300, "Parameters"},  {2, "Fonts bitmap"},        {3, "Sprites bitmap"},
    {104, "Backgrounds bitmap"}, {5, "Audio data"},   {6, "Playing field map"},
    {308, "Playing field data"}, {301, "Team data"},  {13, "Splash bitmap"},
    {120, "Ads"},         {121, "Multiplayer data"},
};
constexpr GroupSpec kMusicGroups[] = {
    {400, "Parameters"}, {401, "Musical levels"}, {4, "Backgrounds bitmap"},
    {2, "Fonts bitmap"}, {3, "Sprites bitmap"},   {5, "Audio data"},
    {13, "Splash bitmap"}, {120, "Ads"},          {121, "Multiplayer data"},
};
constexpr GroupSpec kCurlingGroups[] = {
    {500, "Parameters"},   {507, "Pachinko element"}, {508, "Pachinko game data"},
    {4, "Backgrounds bitmap"}, {6, "Backgrounds map"}, {2, "Fonts bitmap"},
    {3, "Sprites bitmap"}, {5, "Audio data"},         {13, "Splash bitmap"},
    {120, "Ads"},          {121, "Multiplayer data"},
};
constexpr GroupSpec kJigsawGroups[] = {
    {600, "Parameters"}, {2, "Fonts bitmap"}, {4, "Backgrounds bitmap"}, {5, "Audio data"},
    {13, "Splash bitmap"}, {120, "Ads"},      {121, "Server data"},
};

constexpr DefaultAsset kFontAsset{"FontDefault16.PNG", "Font", ".png"};
constexpr DefaultAsset kSpritesAsset{"SpritesDefault.png", "Sprites", ".png"};
constexpr DefaultAsset kBackgroundAsset{"BackgroundDefault.png", "BackGround", ".png"};
constexpr DefaultAsset kSoundAsset{"test.mp3", "AudioSound", ".mp3"};
constexpr DefaultAsset kSplashAsset{"SplashDefault.png", "Splash", ".png"};

bool In(std::uint32_t type, std::initializer_list<std::uint32_t> set) {
    return std::find(set.begin(), set.end(), type) != set.end();
}

} // namespace

const GameTypeInfo* FindGameType(std::uint32_t code) {
    return code < kGameTypes.size() ? &kGameTypes[code] : nullptr;
}

std::span<const GroupSpec> GroupsOfGameType(std::uint32_t gameType) {
    switch (gameType) {
    case game::ShootEmUp: return kShootEmUpGroups;
    case game::Racing: return kRacingGroups;
    case game::Platform: return kPlatformGroups;
    case game::Soccer: return kSoccerGroups;
    case game::Music: return kMusicGroups;
    case game::Curling: return kCurlingGroups;
    case game::Jigsaw: return kJigsawGroups;
    default: return {};
    }
}

const ObjectTypeInfo* FindObjectType(std::uint32_t type) {
    for (const ObjectTypeInfo& info : kObjectTypes)
        if (info.type == type) return &info;
    return nullptr;
}

std::span<const GameTypeInfo> GameTypes() { return kGameTypes; }
std::span<const ObjectTypeInfo> ObjectTypes() { return kObjectTypes; }

std::size_t MinimumSizeOnLoad(std::uint32_t type, std::uint32_t levelEntryCount) {
    if (type == 8) {
        // The count is a signed word: a negative one claims no entries.
        const auto count = static_cast<std::int32_t>(levelEntryCount);
        if (count <= 0) return layout::level::kFixedBytes;
        const auto entries = std::min<std::uint32_t>(static_cast<std::uint32_t>(count),
                                                     kMaxLevelEntriesOnLoad);
        return static_cast<std::size_t>(layout::level::SizeFor(entries));
    }
    const ObjectTypeInfo* info = FindObjectType(type);
    return info ? info->minimumOnLoad : 0;
}

bool IsFileBackedType(std::uint32_t type) { return In(type, {2, 3, 4, 5, 13, 104}); }

bool IsNewItemAllowed(std::uint32_t groupSubtype) {
    return (groupSubtype >= 2 && groupSubtype <= 14) ||
           In(groupSubtype, {104, 108, 109, 120, 121, 207, 208, 209, 214, 301, 308, 507, 508});
}

bool IsSingletonType(std::uint32_t type) { return type == 120 || type == 121; }

bool IsEditAllowed(std::uint32_t type) {
    return (type >= 1 && type <= 14) ||
           In(type, {100, 104, 108, 109, 120, 121, 200, 207, 208, 209, 214, 300, 301, 308, 500,
                     507, 508, 600});
}

bool IsCopyAllowed(std::uint32_t type) {
    return (type >= 6 && type <= 12) ||
           In(type, {14, 108, 109, 207, 208, 209, 214, 301, 308, 507, 508});
}

bool IsGroupedType(std::uint32_t type) { return IsEditAllowed(type); }

bool HasPreview(std::uint32_t type) { return In(type, {2, 3, 4, 13, 104}); }

bool IsMainParametersType(std::uint32_t type) {
    return In(type, {1, 100, 200, 300, 400, 500, 600});
}

const DefaultAsset* DefaultAssetOfType(std::uint32_t type) {
    switch (type) {
    case 2: return &kFontAsset;
    case 3: return &kSpritesAsset;
    case 4:
    case 104: return &kBackgroundAsset;
    case 5: return &kSoundAsset;
    case 13: return &kSplashAsset;
    default: return nullptr;
    }
}

std::size_t NewRecordSize(std::uint32_t type, std::uint32_t gameType) {
    if (!IsNewItemAllowed(type)) return 0;
    if (type == 6) {
        return gameType == game::Platform
                   ? static_cast<std::size_t>(layout::map::SizeFor(
                         layout::map::kNewPlatformWidth, layout::map::kNewPlatformHeight))
                   : static_cast<std::size_t>(
                         layout::map::SizeFor(layout::map::kNewWidth, layout::map::kNewHeight));
    }
    const ObjectTypeInfo* info = FindObjectType(type);
    return info ? info->newSize : 0;
}

} // namespace qb
