#include "model/commands.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <system_error>

#include "model/catalogue.h"
#include "model/folders.h"
#include "model/history.h"
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
#include "model/layouts/sprite_frame.h"
#include "model/layouts/vectorial.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "platform/messages.h"
#include "platform/temporaries.h"

#include <unistd.h>

namespace qb {

namespace fs = std::filesystem;
namespace L = layout;

namespace {

constexpr const char* kMainParametersDescription = "Main parameters";
constexpr const char* kDuplicateDescription = "duplicate";
constexpr const char* kCopyPrefix = "CopyOf_";
// Folder names on Linux hold at most 255 bytes, and the copy's path must fit a path field;
// leave room for MakeUniquePath's "_N".
constexpr std::size_t kMaxCopyFolderName = 240;
constexpr std::size_t kUniqueSuffixRoom = 6;

Bytes Zeroed(std::size_t size) { return Bytes(size, 0); }

void Put(RecordView& r, std::initializer_list<std::pair<std::size_t, std::int32_t>> values) {
    for (const auto& [offset, value] : values) r.setI32(offset, value);
}

Bytes ShootEmUpMainDefaults() {
    namespace M = L::shootemup_main;
    Bytes bytes = Zeroed(M::kSize);
    RecordView r(bytes);
    Put(r, {{M::kPlayerInitialSpeed, 8},
            {M::kInvisibilitySeconds, 2},
            {M::kLives, 3},
            {M::kResourceLocation, static_cast<std::int32_t>(L::kResourcesEmbedded)},
            {M::kGameAreaWidth, 640},
            {M::kGameAreaHeight, 480},
            {M::kScoreDigits, 6},
            {M::kScoreTextX, 10},
            {M::kScoreTextY, 10},
            {M::kScoreX, 26},
            {M::kScoreY, 50},
            {M::kLivesTextX, 500},
            {M::kLivesTextY, 10},
            {M::kLivesX, 558},
            {M::kLivesY, 50},
            {M::kHighShown, 1},
            {M::kHighTextX, 300},
            {M::kHighTextY, 10},
            {M::kHighX, 284},
            {M::kHighY, 50},
            {M::kStartingHigh, 10000},
            {M::kPlayerMaxSpeed, 12},
            {M::kLivesShown, 1},
            {M::kUseCustomFont, 1},
            {M::kGameAreaPreset, static_cast<std::int32_t>(L::kArea640x480)}});
    return bytes;
}

Bytes RacingMainDefaults() {
    namespace M = L::racing_main;
    Bytes bytes = Zeroed(M::kSize);
    RecordView r(bytes);
    Put(r, {{M::kGameAreaWidth, 320},   {M::kGameAreaHeight, 320},
            {M::kCurrentLapTextX, 10},  {M::kCurrentLapTextY, 10},
            {M::kCurrentLapX, 10},      {M::kCurrentLapY, 30},
            {M::kBestLapTextX, 100},    {M::kBestLapTextY, 10},
            {M::kBestLapX, 100},        {M::kBestLapY, 30},
            {M::kLapsToGoTextX, 100},   {M::kLapsToGoTextY, 10},
            {M::kLapsToGoX, 100},       {M::kLapsToGoY, 30}});
    return bytes;
}

Bytes PlatformMainDefaults() {
    namespace M = L::platform_main;
    Bytes bytes = Zeroed(M::kSize);
    RecordView r(bytes);
    Put(r, {{M::kInitX, 100},      {M::kInitY, 32},        {M::kGameWidth, 512},
            {M::kGameHeight, 256}, {M::kInfoHeight, 128},  {M::kLifeX, 16},
            {M::kLifeY, 64},       {M::kLifeDistance, 64}, {M::kItemCountX, 256},
            {M::kItemCountY, 128}, {M::kTimeX, 400},       {M::kTimeY, 128}});
    return bytes;
}

Bytes SoccerMainDefaults() {
    namespace M = L::soccer_main;
    Bytes bytes = Zeroed(M::kSize);
    RecordView r(bytes);
    Put(r, {{M::kGameWidth, 512},
            {M::kGameHeight, 512},
            {M::kEnteringSpeed, 30},
            {M::kPlayTime, 300},
            {M::kCelebrationTime, 5},
            {M::kWhistleToAction, 2}});
    return bytes;
}

Bytes CurlingMainDefaults() {
    namespace M = L::curling_main;
    Bytes bytes = Zeroed(M::kSize);
    RecordView r(bytes);
    Put(r, {{M::kGameWidth, 600}, {M::kGameHeight, 800}});
    return bytes;
}

Bytes JigsawMainDefaults() {
    namespace M = L::jigsaw_main;
    Bytes bytes = Zeroed(M::kSize);
    RecordView r(bytes);
    Put(r, {{M::kResourceLocation, static_cast<std::int32_t>(L::kResourcesEmbedded)},
            {M::kGameAreaWidth, 640},
            {M::kGameAreaHeight, 480},
            {M::kGameAreaPreset, static_cast<std::int32_t>(L::kArea640x480)},
            {M::kUseCustomFont, 1},
            {M::kTimeX, 280},
            {M::kTimeY, 32},
            {M::kPuzzleX, 96},
            {M::kPuzzleY, 112},
            {M::kPuzzleWidth, 448},
            {M::kPuzzleHeight, 256},
            {M::kPiecesAcross, 7},
            {M::kPiecesDown, 4}});
    return bytes;
}

// The game type whose Main parameters object has that type, or kGameTypeCount.
std::uint32_t GameTypeOfMainType(std::uint32_t type) {
    for (const GameTypeInfo& info : GameTypes())
        if (info.mainType == type) return info.code;
    return kGameTypeCount;
}

// Whether path names a file directly inside folder. Item files always live there (the loader
// rebases them there); a path edited by hand to point anywhere else must never make Delete item
// remove a file outside the project, nor the project file itself.
bool IsItemFileOfFolder(const std::string& path, const std::string& folder) {
    if (path.empty() || folder.empty()) return false;
    const fs::path file = fs::path(path).lexically_normal();
    if (!file.is_absolute() || !file.has_filename()) return false;
    if (file.filename() == kProjectFileName) return false;
    // Compared as written, never through links: the file lies in the folder itself. A link
    // there is removed itself; what it names is never touched.
    const fs::path dir = (fs::path(folder) / "").lexically_normal();
    if ((file.parent_path() / "").lexically_normal() != dir) return false;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    return !ec && (fs::is_regular_file(status) || fs::is_symlink(status));
}

// --- The in-use rules ------------------------------------------------------------------------

// A referring record, read only where it holds the word asked for.
class Referrer {
public:
    explicit Referrer(const ObjectRecord& o) : r_(o.record()) {}

    bool holds(std::uint64_t offset) const {
        return offset <= std::numeric_limits<std::size_t>::max() &&
               r_.holds(static_cast<std::size_t>(offset), 4);
    }
    std::uint32_t word(std::uint64_t offset) const {
        return holds(offset) ? r_.u32(static_cast<std::size_t>(offset)) : 0;
    }
    // lo(w(offset)) = id, only where the word is held.
    bool lowIs(std::uint64_t offset, std::int32_t id) const {
        return holds(offset) && static_cast<std::int32_t>(word(offset) & 0xFFFFu) == id;
    }
    bool wordIs(std::uint64_t offset, std::uint32_t value) const {
        return holds(offset) && word(offset) == value;
    }
    // An optional sound pair: enabled = 1 and lo(sound ID) = id.
    bool soundIs(std::uint64_t pair, std::int32_t id) const {
        return wordIs(pair + L::sound_pair::kEnabled, 1) &&
               lowIs(pair + L::sound_pair::kSoundId, id);
    }
    // How many of count elements of stride bytes from first the record holds, the count taken
    // as signed and never above the room the layout gives the run.
    std::size_t heldCount(std::int64_t count, std::size_t first, std::size_t stride,
                          std::size_t capacity = std::numeric_limits<std::size_t>::max()) const {
        if (count <= 0 || stride == 0 || r_.size() <= first) return 0;
        const std::uint64_t room = (r_.size() - first) / stride;
        return static_cast<std::size_t>(
            std::min<std::uint64_t>({static_cast<std::uint64_t>(count), room, capacity}));
    }
    // Sprite frames: the first count frames of a run name the sheet.
    bool framesUse(std::int64_t count, std::size_t first, std::size_t capacity,
                   std::int32_t id) const {
        const std::size_t n = heldCount(count, first, L::sprite_frame::kSize, capacity);
        for (std::size_t i = 0; i < n; ++i)
            if (lowIs(L::sprite_frame::At(first, i) + L::sprite_frame::kSheetId, id)) return true;
        return false;
    }
    std::int64_t signedWord(std::uint64_t offset) const {
        return static_cast<std::int32_t>(word(offset));
    }
    std::size_t size() const { return r_.size(); }

private:
    ConstRecordView r_;
};

// Level waves: an entry's second word names the Enemies data or Bonus data item it places, in
// its low 16 bits. Either kind of item is kept by any entry whose low half matches its ID.
bool LevelPlaces(const Referrer& r, std::int32_t id) {
    namespace V = L::level;
    const std::size_t n = r.heldCount(r.signedWord(V::kEntryCount), V::kEntries, V::kEntrySize);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t subject = V::EntryOffset(i) + V::entry::kSubject;
        if (r.lowIs(subject, id)) return true;
    }
    return false;
}

// What a Main parameters record names, field by field: the items the game reads through it.
enum class Ref : std::uint8_t {
    Item,    // a u32 whose low half is the ID of an item of `type`
    Frames,  // a run of sprite frames (Sprites bitmap items)
    Sound,   // an optional sound pair, in use while switched on
};
struct MainRef {
    Ref kind;
    std::uint32_t type;         // Item: the type named
    std::size_t offset;
    std::size_t slots = 1;      // Frames: room of the run
    std::size_t countAt = 0;    // Frames: where the used count is kept (0: all slots are used)
    std::size_t perCount = 1;   // Frames: frames per unit of the count (8 directions)
};

constexpr std::size_t kAll = 0;

// The fields of the Main parameters records of every game type but the shoot'em-up, whose
// fields the in-use rules below name one by one. The jigsaw's default font, which counts only
// while the custom font is not used, is looked at apart (MainRefersTo).
std::vector<MainRef> MainReferences(std::uint32_t mainType) {
    using R = Ref;
    switch (mainType) {
    case 100: {
        namespace M = L::racing_main;
        return {{R::Item, 13, M::kSplashStart},
                {R::Item, 2, M::kDefaultFont},
                {R::Item, 2, M::kInfoFont},
                {R::Frames, 3, M::kCurrentLapTextSprite, 1},
                {R::Frames, 3, M::kBestLapTextSprite, 1},
                {R::Frames, 3, M::kLapsToGoTextSprite, 1},
                {R::Frames, 3, M::kLogoSprites, M::kLogoSlots, M::kLogoCount},
                {R::Frames, 3, M::kExtraInfoSprite, 1},
                {R::Frames, 3, M::kMusicOnOffSprites, M::kOnOffFrames},
                {R::Frames, 3, M::kFxOnOffSprites, M::kOnOffFrames},
                {R::Sound, 5, M::kBackgroundSound},
                {R::Sound, 5, M::kMusic}};
    }
    case 200: {
        namespace M = L::platform_main;
        return {{R::Item, 13, M::kSplashStart},
                {R::Item, 13, M::kGameOverSplash},
                {R::Item, 13, M::kGameFinishedSplash},
                {R::Item, 2, M::kDefaultFont},
                {R::Frames, 3, M::kLifeSprite, 1},
                {R::Frames, 3, M::kLogoSprites, M::kLogoSlots, M::kLogoCount},
                {R::Frames, 3, M::kInfoBackgroundSprites, M::kInfoBackgroundFrames},
                {R::Frames, 3, M::kMusicOnOffSprites, M::kOnOffFrames},
                {R::Frames, 3, M::kFxOnOffSprites, M::kOnOffFrames},
                {R::Sound, 5, M::kStartingSound}};
    }
    case 300: {
        namespace M = L::soccer_main;
        constexpr std::size_t kRun = M::kRunningSlots, kAnim = M::kAnimationSlots;
        return {{R::Item, 13, M::kSplashStart},
                {R::Item, 13, M::kSplashWin},
                {R::Item, 13, M::kSplashLose},
                {R::Item, 2, M::kDefaultFont},
                {R::Item, 2, M::kPlayerScoreFont},
                {R::Item, 2, M::kOpponentScoreFont},
                {R::Frames, 3, M::kPlayerRunSprites, kRun, M::kPlayerRunFrames, M::kDirections},
                {R::Frames, 3, M::kPlayerCelebrationSprites, kAnim, M::kPlayerCelebrationFrames},
                {R::Frames, 3, M::kOpponentRunSprites, kRun, M::kOpponentRunFrames, M::kDirections},
                {R::Frames, 3, M::kOpponentCelebrationSprites, kAnim,
                 M::kOpponentCelebrationFrames},
                {R::Frames, 3, M::kBallSprite, 1},
                {R::Frames, 3, M::kGoalkeeperRunSprites, kRun, M::kGoalkeeperRunFrames,
                 M::kDirections},
                {R::Frames, 3, M::kGoalkeeperCelebrationSprites, kAnim,
                 M::kGoalkeeperCelebrationFrames},
                {R::Frames, 3, M::kMarkerSprites, kAnim, M::kMarkerFrames},
                {R::Frames, 3, M::kBallShadowSprite, 1},
                {R::Frames, 3, M::kArrowSprites, kAnim, M::kArrowFrames}};
    }
    case 500: {
        namespace M = L::curling_main;
        std::vector<MainRef> refs = {
            {R::Item, 13, M::kSplashStart},
            {R::Item, 2, M::kOtherPlayersFont},
            {R::Item, 2, M::kDefaultFont},
            {R::Item, 6, M::kBackgroundMap0},
            {R::Item, 6, M::kLayer2Map},
            {R::Item, 6, M::kLayer2AlphaMap},
            {R::Frames, 3, M::kLogoSprites, M::kLogoSlots, M::kLogoCount},
            {R::Frames, 3, M::kMusicOnOffSprites, M::kOnOffFrames},
            {R::Frames, 3, M::kFxOnOffSprites, M::kOnOffFrames},
            {R::Frames, 3, M::kDiscSprite, 1},
            {R::Frames, 3, M::kBarSprites, M::kBarFrames},
            {R::Frames, 3, M::kNextDiscSprite, 1},
            {R::Frames, 3, M::kMiniBackgroundSprite, 1},
            {R::Frames, 3, M::kMiniDiscSprite, 1},
            {R::Frames, 3, M::kMiniBarSprite, 1},
            {R::Frames, 3, M::kGreenDiscSprite, 1},
            {R::Frames, 3, M::kSlotSprites, M::kSlotSpriteSlots, M::kSlotSpriteCount},
            {R::Frames, 3, M::kBonusSprite, 1}};
        for (std::size_t i = 0; i < M::kBackgroundMapSlots; ++i)
            refs.push_back({R::Item, 6, M::kBackgroundMaps + 4 * i});
        for (std::size_t sound :
             {M::kCollisionSound, M::kMusic, M::kBackgroundSound, M::kPointsSound,
              M::kSlotStartSound, M::kSlotCycleSound, M::kSlotEndSound, M::kSlotWinSound,
              M::kNextBallSound, M::kBallsOverSound, M::kPullSpringSound, M::kPushSpringSound,
              M::kGameOverSound, M::kLevelCompletedSound, M::kGameFinishedSound})
            refs.push_back({R::Sound, 5, sound});
        return refs;
    }
    case 600: {
        namespace M = L::jigsaw_main;
        return {{R::Item, 13, M::kSplashStart},
                {R::Item, 4, M::kBackgroundWithJigsaw},
                {R::Item, 4, M::kBackgroundWithoutJigsaw},
                {R::Sound, 5, M::kBackgroundSound},
                {R::Sound, 5, M::kPickSound},
                {R::Sound, 5, M::kPlaceSound},
                {R::Sound, 5, M::kStartSound},
                {R::Sound, 5, M::kFinishSound}};
    }
    default: return {};
    }
}

// The references of each Main parameters type, worked out once.
const std::vector<MainRef>& MainReferencesOf(std::uint32_t mainType) {
    static const std::vector<MainRef> kNone;
    static const std::vector<std::pair<std::uint32_t, std::vector<MainRef>>> kTable = [] {
        std::vector<std::pair<std::uint32_t, std::vector<MainRef>>> t;
        for (std::uint32_t type : {100u, 200u, 300u, 500u, 600u})
            t.emplace_back(type, MainReferences(type));
        return t;
    }();
    for (const auto& [type, refs] : kTable)
        if (type == mainType) return refs;
    return kNone;
}

// Whether a Main parameters record (of type mainType) names the object.
bool MainRefersTo(const Referrer& r, std::uint32_t mainType, std::uint32_t targetType,
                  std::int32_t id) {
    // The default font counts only while the custom font is not used, as the shoot'em-up's.
    if (targetType == 2 && mainType == 600) {
        namespace M = L::jigsaw_main;
        if (r.wordIs(M::kUseCustomFont, 0) && r.lowIs(M::kDefaultFont, id)) return true;
    }
    for (const MainRef& ref : MainReferencesOf(mainType)) {
        switch (ref.kind) {
        case Ref::Item:
            if (ref.type == targetType && r.lowIs(ref.offset, id)) return true;
            break;
        case Ref::Sound:
            if (targetType == 5 && r.soundIs(ref.offset, id)) return true;
            break;
        case Ref::Frames: {
            if (targetType != 3) break;
            const std::int64_t count =
                ref.countAt == kAll
                    ? static_cast<std::int64_t>(ref.slots)
                    : r.signedWord(ref.countAt) * static_cast<std::int64_t>(ref.perCount);
            if (r.framesUse(count, ref.offset, ref.slots, id)) return true;
            break;
        }
        }
    }
    return false;
}

// Whether the referring record r, of type referrerType, keeps an object of type targetType and
// ID id in use.
bool RefersTo(const Referrer& r, std::uint32_t referrerType, std::uint32_t targetType,
              std::int32_t id) {
    if (referrerType != 1 && IsMainParametersType(referrerType))
        return MainRefersTo(r, referrerType, targetType, id);
    switch (targetType) {
    case 2:  // Fonts bitmap: the shoot'em-up default font, unless the custom font is used
        return referrerType == 1 && r.wordIs(L::shootemup_main::kUseCustomFont, 0) &&
               r.lowIs(L::shootemup_main::kDefaultFont, id);

    case 3:  // Sprites bitmap: sprite frames of the shoot'em-up records
        switch (referrerType) {
        case 1: {
            namespace M = L::shootemup_main;
            return r.framesUse(2, M::kFxOnOffSprites, 2, id) ||
                   r.framesUse(2, M::kMusicOnOffSprites, 2, id) ||
                   r.framesUse(1, M::kHighTextSprite, 1, id) ||
                   r.framesUse(1, M::kLivesTextSprite, 1, id) ||
                   r.framesUse(1, M::kScoreTextSprite, 1, id);
        }
        case 7: {
            namespace E = L::enemy;
            return r.framesUse(r.signedWord(E::kSpriteCount), E::kSprites, E::kSpriteSlots, id);
        }
        case 9: {
            namespace S = L::ship;
            const std::int64_t turns = r.signedWord(S::kTurnCount);
            return r.framesUse(turns, S::kRightSprites, S::kSpriteSlots, id) ||
                   r.framesUse(turns, S::kLeftSprites, S::kSpriteSlots, id) ||
                   r.framesUse(r.signedWord(S::kStraightCount), S::kStraightSprites,
                               S::kSpriteSlots, id);
        }
        case 10: {
            namespace F = L::ship_fire;
            return r.framesUse(r.signedWord(F::kSpriteCount), F::kSprites, F::kSpriteSlots, id);
        }
        case 12: {
            namespace X = L::explosion;
            return r.framesUse(r.signedWord(X::kSpriteCount), X::kSprites, X::kSpriteSlots, id);
        }
        case 14: {
            namespace B = L::bonus;
            return r.framesUse(r.signedWord(B::kSpriteCount), B::kSprites, B::kSpriteSlots, id);
        }
        default: return false;
        }

    case 4: {  // Backgrounds bitmap: a map cell names it in its high half
        if (referrerType != 6) return false;
        namespace P = L::map;
        const std::uint64_t cells =
            static_cast<std::uint64_t>(r.word(P::kWidth)) * r.word(P::kHeight);
        const std::size_t n = r.heldCount(static_cast<std::int64_t>(std::min<std::uint64_t>(
                                              cells, std::numeric_limits<std::int64_t>::max())),
                                          P::kCells, P::kCellSize);
        for (std::size_t i = 0; i < n; ++i)
            if (static_cast<std::int64_t>(L::map_cell::TileSetId(
                    r.word(P::kCells + i * P::kCellSize))) == id)
                return true;
        return false;
    }

    case 5:  // Audio data: sounds switched on
        switch (referrerType) {
        case 1: return r.soundIs(L::shootemup_main::kBackgroundSound, id);
        case 13: return r.soundIs(L::splash_bitmap::kSound, id);
        case 10: return r.soundIs(L::ship_fire::kSound, id);
        case 7: return r.soundIs(L::enemy::kShieldSound, id) || r.soundIs(L::enemy::kFireSound, id);
        case 12: return r.soundIs(L::explosion::kSound, id);
        case 14: return r.soundIs(L::bonus::kSound, id);
        case 8: {
            const std::int64_t n = r.signedWord(L::level::kEntryCount);
            return n >= 0 && r.soundIs(L::level::SoundOffset(static_cast<std::uint64_t>(n)), id);
        }
        default: return false;
        }

    case 6:  // Background map of a level
        return referrerType == 8 && r.lowIs(L::level::kBackgroundMap, id);

    case 7:  // Enemies data placed by a level, or fired by another enemy
        return (referrerType == 8 && LevelPlaces(r, id)) ||
               (referrerType == 7 && r.lowIs(L::enemy::kFireEnemy, id));

    case 8: {  // Level data in the shoot'em-up level list
        if (referrerType != 1) return false;
        namespace M = L::shootemup_main;
        const std::size_t n =
            r.heldCount(r.signedWord(M::kLevelCount), M::kLevelList, 4, M::kLevelListSlots);
        for (std::size_t i = 0; i < n; ++i)
            if (r.lowIs(M::kLevelList + 4 * i, id)) return true;
        return false;
    }

    case 9:  // User ship data: the player's ship
        return referrerType == 1 && r.lowIs(L::shootemup_main::kPlayerShip, id);

    case 10:  // User ship fire data
        switch (referrerType) {
        case 10:
            return r.wordIs(L::ship_fire::kNextPowerSelected, 1) &&
                   r.lowIs(L::ship_fire::kNextPower, id);
        case 1: return r.lowIs(L::shootemup_main::kPlayerFire, id);
        case 14:
            return r.wordIs(L::bonus::kBonusType, L::bonus::kChangeShot) &&
                   r.lowIs(L::bonus::kShot, id);
        default: return false;
        }

    case 11: {  // Vectorial animation
        switch (referrerType) {
        case 7: {
            // As stored by earlier versions: the high half counts only for animation type 3.
            const std::uint32_t both = r.word(L::enemy::kVectorialAnimations);
            const bool highInUse = r.wordIs(L::enemy::kAnimationType, L::enemy::kLoopAnimation2) &&
                                   static_cast<std::int32_t>(both >> 16) == id;
            return r.holds(L::enemy::kVectorialAnimations) &&
                   (highInUse || static_cast<std::int32_t>(both & 0xFFFFu) == id);
        }
        case 14: return r.lowIs(L::bonus::kVectorialAnimation, id);
        case 10: return r.lowIs(L::ship_fire::kWord0, id);
        default: return false;
        }
    }

    case 12:  // Explosion animation: of an enemy (its explosion or beat animation), the ship, Willy
        return (referrerType == 7 &&
                (r.lowIs(L::enemy::kExplosion, id) || r.lowIs(L::enemy::kBeatAnimation, id))) ||
               (referrerType == 9 && r.lowIs(L::ship::kExplosion, id)) ||
               (referrerType == 209 && r.lowIs(L::willy::kExplosion, id));

    case 13:  // Splash bitmap: start and end splash of the shoot'em-up
        return referrerType == 1 && (r.lowIs(L::shootemup_main::kSplashEnd, id) ||
                                     r.lowIs(L::shootemup_main::kSplashStart, id));

    case 14:  // Bonus data placed by a level
        return referrerType == 8 && LevelPlaces(r, id);

    default: return false;
    }
}

} // namespace

// --- Project creation --------------------------------------------------------------------------

Bytes DefaultMainParameters(std::uint32_t gameType) {
    switch (gameType) {
    case game::ShootEmUp: return ShootEmUpMainDefaults();
    case game::Racing: return RacingMainDefaults();
    case game::Platform: return PlatformMainDefaults();
    case game::Soccer: return SoccerMainDefaults();
    case game::Music: return Zeroed(L::music_main::kSize);
    case game::Curling: return CurlingMainDefaults();
    case game::Jigsaw: return JigsawMainDefaults();
    default: return {};
    }
}

int CreateProject(std::uint32_t gameType) {
    workspace& ws = Workspace();
    ProjectRecord project =
        InitProjectRecord(gameType, ws.pendingProjectName, ws.pendingProjectFolder);
    if (const GameTypeInfo* info = FindGameType(gameType)) {
        for (const GroupSpec& group : GroupsOfGameType(gameType))
            AddObject(project, 0, group.subtype, nullptr, 0, group.label, -1);
        AddObject(project, info->mainType, 1, DefaultMainParameters(gameType),
                  kMainParametersDescription, -1);
    }
    return AppendProject(std::move(project));
}

// --- New item ----------------------------------------------------------------------------------

Bytes NewItemRecord(std::uint32_t type, std::uint32_t gameType) {
    if (IsMainParametersType(type)) return DefaultMainParameters(GameTypeOfMainType(type));
    Bytes bytes = Zeroed(NewRecordSize(type, gameType));
    RecordView r(bytes);
    switch (type) {
    case 2: Put(r, {{L::font_bitmap::kFontSize, L::font_bitmap::kNewFontSize}}); break;
    case 3:
        Put(r, {{L::sprites_bitmap::kCellSize, L::sprites_bitmap::kNewCellSize},
                {L::sprites_bitmap::kRotationAngles, L::sprites_bitmap::kNewRotationAngles}});
        break;
    case 4:
    case 104: Put(r, {{L::backgrounds_bitmap::kTileSize, L::backgrounds_bitmap::kNewTileSize}}); break;
    case 6: {
        namespace P = L::map;
        const bool platform = gameType == game::Platform;
        r.setU32(P::kWidth, platform ? P::kNewPlatformWidth : P::kNewWidth);
        r.setU32(P::kHeight, platform ? P::kNewPlatformHeight : P::kNewHeight);
        r.setU32(P::kTileSize, platform ? P::kNewPlatformTileSize : P::kNewTileSize);
        break;
    }
    case 7:
        Put(r, {{L::enemy::kSpriteCount, L::enemy::kNewSpriteCount},
                {L::enemy::kShield, L::enemy::kNewShield}});
        break;
    case 9: {
        namespace S = L::ship;
        Put(r, {{S::kStraightCount, 1},
                {S::kTurnCount, 1},
                {S::kAreaXi, S::kNewAreaXi},
                {S::kAreaXf, S::kNewAreaXf},
                {S::kAreaYi, S::kNewAreaYi},
                {S::kAreaYf, S::kNewAreaYf}});
        break;
    }
    case 10: {
        namespace F = L::ship_fire;
        Put(r, {{F::kVerticalSpeed, F::kNewVerticalSpeed},
                {F::kMaxShots, F::kNewMaxShots},
                {F::kMinShotDistance, F::kNewMinShotDistance},
                {F::kSpriteCount, 1},
                {F::kDestructionPower, 1}});
        break;
    }
    case 11: Put(r, {{L::vectorial::kScale, L::vectorial::kNewScale}}); break;
    case 12: Put(r, {{L::explosion::kSpriteCount, 1}}); break;
    case 13:
        r.setText(L::splash_bitmap::kText, L::splash_bitmap::kTextSize,
                  L::splash_bitmap::kNewText);
        Put(r, {{L::splash_bitmap::kScrollSpeed, L::splash_bitmap::kNewScrollSpeed}});
        break;
    case 14:
        Put(r, {{L::bonus::kSpriteCount, 1},
                {L::bonus::kSpeed, L::bonus::kNewSpeed},
                {L::bonus::kScore, L::bonus::kNewScore}});
        break;
    case 108: Put(r, {{L::track::kMaxLapTime, L::track::kNewMaxLapTime}}); break;
    case 109: {
        namespace C = L::car;
        Put(r, {{C::kMaxSpeed, C::kNewMaxSpeed},
                {C::kAcceleration, C::kNewAcceleration},
                {C::kWakePlusSpeed, C::kNewWakePlusSpeed},
                {C::kRoadFriction, C::kNewRoadFriction},
                {C::kOffRoadFriction, C::kNewOffRoadFriction}});
        break;
    }
    case 121: r.setU32(L::server::kGenericManage, L::server::kNewGenericManage); break;
    case 207: {
        namespace P = L::platform_enemy;
        Put(r, {{P::kSpeed, 1}, {P::kForwardCount, 1}, {P::kBackwardCount, 1}});
        break;
    }
    case 209: {
        namespace W = L::willy;
        Put(r, {{W::kWalkingSpeed, W::kNewWalkingSpeed},
                {W::kVirtualPixel, W::kNewVirtualPixel},
                {W::kLeftStartX, W::kNewLeftStartX}});
        break;
    }
    case 301: {
        namespace T = L::team;
        Put(r, {{T::kPlayersSpeed, T::kNewSpeed},
                {T::kUserPlayerSpeed, T::kNewSpeed},
                {T::kGoalkeeperSpeed, T::kNewSpeed},
                {T::kPassDistance, T::kNewPassDistance},
                {T::kKickDistance, T::kNewKickDistance},
                {T::kDribbleDistance, T::kNewDribbleDistance},
                {T::kGoalKickDistance, T::kNewGoalKickDistance},
                {T::kKickPower, T::kNewKickPower},
                {T::kPlayerCount, T::kNewPlayerCount}});
        break;
    }
    case 308: {
        namespace P = L::playing_field;
        Put(r, {{P::kPlayingAreaX, P::kNewPlayingAreaX},
                {P::kPlayingAreaY, P::kNewPlayingAreaY},
                {P::kGoalAreaX, P::kNewGoalAreaX}});
        break;
    }
    case 507:
        r.setU32(L::pachinko_element::kType, L::pachinko_element::kNormalPeg);
        break;
    default: break;  // 5, 8, 120, 208, 214, 508: all zero
    }
    return bytes;
}

std::int32_t NewItem(int projectIndex, std::int32_t groupObjectId) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return 0;
    const ObjectRecord* group = FindObject(*project, groupObjectId);
    if (!group || group->tipoOggetto != 0) return 0;
    const std::uint32_t type = group->sottoTipoOggetto;
    if (!IsNewItemAllowed(type)) return 0;
    if (IsSingletonType(type) && HasObjectOfType(projectIndex, type)) return 0;
    const ObjectTypeInfo* info = FindObjectType(type);
    if (!info) return 0;

    Bytes record = NewItemRecord(type, project->tipoGioco);
    std::string description(info->newDescription);
    std::string target;     // the item's new file
    std::string temporary;  // the copy of the default asset until the project names it
    if (const DefaultAsset* asset = DefaultAssetOfType(type)) {
        target = MakeUniquePath(project->sPathProgetto, asset->baseName, asset->extension);
        // A path that does not fit the record's field would name another file.
        if (target.empty() || target.size() > kMaxPathLength) {
            ShowMessage("The project folder's path is too long for a new file.");
            return 0;
        }
        // The copy gets its name once the project is saved: a command that fails or is killed
        // on the way leaves no picture that no item names (a stale temporary is removed by the
        // next save). A missing default asset leaves the item without its file.
        temporary = TemporaryNameFor(project->sPathProgetto, FileNameOfPath(target)) + "new";
        std::error_code ec;
        if (!fs::copy_file(JoinPath(AppFolder(), asset->assetFile), temporary,
                           fs::copy_options::none, ec)) {
            ::unlink(temporary.c_str());  // a copy that broke off (a full disk) goes too
            temporary.clear();
        }
        RecordView(record).setText(L::file_backed::kPath, L::file_backed::kPathSize, target);
        description = FileTitleOfPath(target);
    }
    const std::int32_t id = AddObject(*project, type, 0, record, description, -1);
    const ChangeLabel change("New item " + description, groupObjectId);
    if (!SaveProject(projectIndex)) {
        project->objects.pop_back();
        if (!temporary.empty()) ::unlink(temporary.c_str());
        return 0;
    }
    if (!temporary.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
        ::unlink(temporary.c_str());
    return id;
}

// --- Copy item, Delete item, Copy project ------------------------------------------------------

std::int32_t CopyItem(int projectIndex, std::int32_t objectId) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return 0;
    const ObjectRecord* object = FindObject(*project, objectId);
    if (!object || !IsCopyAllowed(object->tipoOggetto)) return 0;
    // Copy before appending: the append may move the object table.
    const std::uint32_t type = object->tipoOggetto;
    const Bytes data = object->lpDatiOggetto;
    const ChangeLabel change("Copy item " + object->sDescrizione, objectId);
    const std::int32_t id = AddObject(*project, type, 0, data, kDuplicateDescription, -1);
    // A copy that cannot be saved (or would make a file the loader refuses) is taken back.
    if (!SaveProject(projectIndex)) {
        project->objects.pop_back();
        return 0;
    }
    return id;
}

bool DeleteItem(int projectIndex, std::int32_t objectId) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return false;
    auto it = std::find_if(project->objects.begin(), project->objects.end(),
                           [&](const ObjectRecord& o) { return o.IDoggetto == objectId; });
    if (it == project->objects.end() || !IsObjectDeletable(projectIndex, *it)) return false;
    const auto position = it - project->objects.begin();
    std::string doomedFile;
    if (IsFileBackedType(it->tipoOggetto)) {
        const std::string path = it->record().text(L::file_backed::kPath, L::file_backed::kPathSize);
        // Two items whose paths name the same file share it: it stays while another names it.
        const std::string name = FileNameOfPath(path);
        const bool shared = std::any_of(
            project->objects.begin(), project->objects.end(), [&](const ObjectRecord& o) {
                return &o != &*it && IsFileBackedType(o.tipoOggetto) &&
                       FileNameOfPath(o.record().text(L::file_backed::kPath,
                                                      L::file_backed::kPathSize)) == name;
            });
        if (!shared && IsItemFileOfFolder(path, project->sPathProgetto)) doomedFile = path;
    }
    // The project is saved first and the file deleted after: a save that fails (a full disk)
    // puts the item back and loses nothing.
    const ChangeLabel change("Delete item " + it->sDescrizione, objectId);
    ObjectRecord removed = std::move(*it);
    project->objects.erase(it);
    if (!SaveProject(projectIndex)) {
        project->objects.insert(project->objects.begin() + position, std::move(removed));
        return false;
    }
    if (!doomedFile.empty()) ::unlink(doomedFile.c_str());  // a file that cannot go stays
    return true;
}

int CopyProject(int projectIndex) {
    ProjectRecord* source = ProjectAt(projectIndex);
    if (!source) return -1;
    WaitCursor wait;
    std::string name = kCopyPrefix + source->sNomeProgetto;
    SanitizeFileName(name);
    const std::string projects = ProjectsFolder();
    const std::size_t used = projects.size() + 1 + kUniqueSuffixRoom;
    const std::size_t room = used < kMaxPathLength ? kMaxPathLength - used : 0;
    name = CutText(name, std::min(room, kMaxCopyFolderName));
    const std::string folder = MakeUniquePath(projects, name, "");
    std::error_code ec;
    if (folder.empty() || !fs::create_directory(folder, ec) || ec) {
        ShowMessage("The folder of the copy could not be created.");
        return -1;
    }
    const std::string sourceFolder = source->sPathProgetto;
    std::vector<std::string> links;
    for (const char* pattern : {"*.png", "*.mp3", "*.ini"})
        CopyFilesByPattern(sourceFolder, folder, pattern, &links);

    // A copy that fails leaves nothing behind: the folder was made just now, by this command.
    const auto removeCopy = [&folder] {
        std::error_code removeEc;
        fs::remove_all(folder, removeEc);
    };
    const std::string folderName = fs::path(folder).filename().string();
    const int index = LoadProject(folderName);
    ProjectRecord* copy = ProjectAt(index);
    if (!copy) {
        removeCopy();
        return -1;
    }
    copy->sNomeProgetto = CutText(folderName, kMaxNameLength);
    const ChangeLabel change("Copy project " + source->sNomeProgetto);
    if (!SaveProject(index)) {
        CloseProject(index);
        removeCopy();
        return -1;
    }
    if (!links.empty()) {
        std::string text = "Not copied, being symbolic links:";
        for (std::size_t i = 0; i < links.size() && i < 10; ++i) text += (i ? ", " : " ") + links[i];
        if (links.size() > 10) text += " and " + std::to_string(links.size() - 10) + " more";
        ShowMessage(text + ".");
    }
    return index;
}

// --- Deletability ------------------------------------------------------------------------------

bool IsObjectDeletable(int projectIndex, const ObjectRecord& object) {
    const std::uint32_t type = object.tipoOggetto;
    // Groups, the Main parameters of every game type and the musical levels stay: a project
    // without its Main parameters could never get them back, and would no longer build.
    switch (type) {
    case 104: case 108: case 109: case 120: case 121: case 207: case 208: case 209:
    case 214: case 301: case 308: case 507: case 508:
        return true;
    default: break;
    }
    if (type < 2 || type > 14) return false;  // codes the catalogue does not name

    const std::int32_t id = object.IDoggetto;
    if (id == 0) return true;  // 0 means "none" in every reference field
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return true;
    for (const ObjectRecord& other : project->objects) {
        if (&other == &object || other.lpDatiOggetto.empty()) continue;
        if (RefersTo(Referrer(other), other.tipoOggetto, type, id)) return false;
    }
    return true;
}

} // namespace qb
