#include "model/references.h"

#include <algorithm>
#include <string>

#include "model/catalogue.h"
#include "model/layouts/ads_multiplayer.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/jigsaw_main.h"
#include "model/layouts/level.h"
#include "model/layouts/map.h"
#include "model/layouts/pachinko.h"
#include "model/layouts/platform_items.h"
#include "model/layouts/platform_main.h"
#include "model/layouts/racing_items.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/ship.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/soccer_items.h"
#include "model/layouts/soccer_main.h"
#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb {

namespace {

namespace L = layout;
constexpr std::size_t kFrame = L::sprite_frame::kSize;
constexpr std::size_t kPair = L::sound_pair::kSize;

// Builders of table entries, so that the table reads field by field.
struct Builder {
    std::uint32_t referrer;
    bool inUse;

    // One word naming an item of type (or of either type).
    Reference item(const char* what, std::size_t offset, std::uint32_t type,
                   std::uint32_t other = 0, IdBits bits = IdBits::Low16) const {
        Reference r{referrer, what, {type, other}, inUse};
        r.bits = bits;
        r.first = offset;
        return r;
    }
    // A run of `room` sprite frames, all used, or as many as the word at countAt says.
    Reference frames(const char* what, std::size_t first, std::size_t room,
                     std::size_t countAt = kNoWord, std::uint32_t perCount = 1) const {
        Reference r{referrer, what, {3, 0}, inUse};
        r.first = first;
        r.field = L::sprite_frame::kSheetId;
        r.stride = kFrame;
        r.room = room;
        if (countAt != kNoWord) {
            r.count = RunCount::CountAt;
            r.countAt = countAt;
            r.perCount = perCount;
        }
        return r;
    }
    // An optional sound pair: read while switched on (flag exactly 1).
    Reference sound(const char* what, std::size_t pair) const {
        Reference r{referrer, what, {5, 0}, inUse};
        r.bits = IdBits::Whole32;
        r.first = pair;
        r.field = L::sound_pair::kSoundId;
        r.stride = kPair;
        r.when = {pair + L::sound_pair::kEnabled, 1, true};
        r.soundPair = true;
        return r;
    }
    // A run of u32 IDs (stride 4) or of elements holding an ID word at field.
    Reference list(const char* what, std::size_t first, std::size_t room, std::size_t countAt,
                   std::uint32_t type, std::size_t stride = 4, std::size_t field = 0,
                   std::uint32_t other = 0, IdBits bits = IdBits::Low16) const {
        Reference r{referrer, what, {type, other}, inUse};
        r.bits = bits;
        r.first = first;
        r.field = field;
        r.stride = stride;
        r.room = room;
        r.count = countAt == kNoWord ? RunCount::Fixed : RunCount::CountAt;
        r.countAt = countAt == kNoWord ? 0 : countAt;
        return r;
    }
};

Reference When(Reference r, std::size_t offset, std::uint32_t value, bool equal = true) {
    r.when = {offset, value, equal};
    return r;
}

std::vector<Reference> BuildTable() {
    std::vector<Reference> t;
    auto add = [&t](std::initializer_list<Reference> refs) { t.insert(t.end(), refs); };

    {   // 1 Shoot'em-up Main parameters
        namespace M = L::shootemup_main;
        const Builder b{1, true};
        add({b.list("level list", M::kLevelList, M::kLevelListSlots, M::kLevelCount, 8),
             b.item("player's ship", M::kPlayerShip, 9),
             b.item("player's fire", M::kPlayerFire, 10),
             b.item("start splash", M::kSplashStart, 13),
             b.item("end splash", M::kSplashEnd, 13),
             When(b.item("default font", M::kDefaultFont, 2), M::kUseCustomFont, 0),
             b.frames("score text sprite", M::kScoreTextSprite, 1),
             b.frames("lives text sprite", M::kLivesTextSprite, 1),
             b.frames("high text sprite", M::kHighTextSprite, 1),
             b.frames("music on/off sprites", M::kMusicOnOffSprites, M::kOnOffFrames),
             b.frames("sound on/off sprites", M::kFxOnOffSprites, M::kOnOffFrames),
             b.sound("background sound", M::kBackgroundSound),
             Builder{1, false}.frames("game-over sprite", M::kGameOverSprite, 1)});
    }
    {   // 6 Background map: each cell names a backgrounds bitmap in its high half
        namespace P = L::map;
        Reference cells{6, "map tiles", {4, 104}, true};
        cells.bits = IdBits::High16;
        cells.first = P::kCells;
        cells.stride = P::kCellSize;
        cells.room = kUnbounded;
        cells.count = RunCount::MapCells;
        t.push_back(cells);
    }
    {   // 7 Enemies data
        namespace E = L::enemy;
        const Builder b{7, true};
        // Vectorial animation 1 is the high half; it keeps its item while the enemy loops
        // (animation type 3), and is named, without keeping it, otherwise.
        add({When(b.item("vectorial animation 1", E::kVectorialAnimations, 11, 0, IdBits::High16),
                  E::kAnimationType, E::kLoopAnimation2),
             When(Builder{7, false}.item("vectorial animation 1", E::kVectorialAnimations, 11, 0,
                                         IdBits::High16),
                  E::kAnimationType, E::kLoopAnimation2, false),
             b.item("vectorial animation 2", E::kVectorialAnimations, 11),
             b.frames("sprites", E::kSprites, E::kSpriteSlots, E::kSpriteCount),
             b.item("enemy used as fire", E::kFireEnemy, 7),
             b.item("explosion animation", E::kExplosion, 12),
             b.sound("fire sound", E::kFireSound),
             b.sound("shield sound", E::kShieldSound),
             b.item("beat animation", E::kBeatAnimation, 12)});
    }
    {   // 8 Level data
        namespace V = L::level;
        const Builder b{8, true};
        Reference entries = b.list("waves", V::kEntries, kUnbounded, V::kEntryCount, 7,
                                   V::kEntrySize, V::entry::kSubject, 14);
        Reference sound = b.sound("level sound", V::kEntries);
        sound.count = RunCount::BehindRun;
        sound.countAt = V::kEntryCount;
        sound.stride = V::kEntrySize;
        add({b.item("background map", V::kBackgroundMap, 6), entries, sound});
    }
    {   // 9 User ship data
        namespace S = L::ship;
        const Builder b{9, true};
        add({b.frames("straight sprites", S::kStraightSprites, S::kSpriteSlots, S::kStraightCount),
             b.frames("left sprites", S::kLeftSprites, S::kSpriteSlots, S::kTurnCount),
             b.frames("right sprites", S::kRightSprites, S::kSpriteSlots, S::kTurnCount),
             b.item("explosion animation", S::kExplosion, 12)});
    }
    {   // 10 User ship fire data
        namespace F = L::ship_fire;
        const Builder b{10, true};
        add({b.item("vectorial animation", F::kWord0, 11),
             b.frames("sprites", F::kSprites, F::kSpriteSlots, F::kSpriteCount),
             When(b.item("next power", F::kNextPower, 10, 0, IdBits::Whole32),
                  F::kNextPowerSelected, 1),
             b.sound("fire sound", F::kSound)});
    }
    {   // 12 Explosion animations
        namespace X = L::explosion;
        const Builder b{12, true};
        add({b.frames("sprites", X::kSprites, X::kSpriteSlots, X::kSpriteCount),
             b.sound("explosion sound", X::kSound)});
    }
    {   // 13 Splash bitmap
        add({Builder{13, true}.sound("splash sound", L::splash_bitmap::kSound)});
    }
    {   // 14 Bonus data
        namespace B = L::bonus;
        const Builder b{14, true};
        add({b.item("vectorial animation", B::kVectorialAnimation, 11),
             b.frames("sprites", B::kSprites, B::kSpriteSlots, B::kSpriteCount),
             When(b.item("shot", B::kShot, 10), B::kBonusType, B::kChangeShot),
             b.sound("bonus sound", B::kSound)});
    }
    {   // 100 Racing Main parameters
        namespace M = L::racing_main;
        const Builder b{100, true}, n{100, false};
        add({n.list("circuits", M::kCircuits, M::kCircuitSlots, M::kCircuitCount, 108),
             n.item("player's vehicle", M::kPlayerVehicle, 109),
             n.item("enemy vehicle", M::kEnemyVehicle, 109),
             b.item("start splash", M::kSplashStart, 13),
             b.item("default font", M::kDefaultFont, 2),
             b.item("info font", M::kInfoFont, 2),
             b.frames("'Current lap' sprite", M::kCurrentLapTextSprite, 1),
             b.frames("'Best lap' sprite", M::kBestLapTextSprite, 1),
             b.frames("'Laps to go' sprite", M::kLapsToGoTextSprite, 1),
             b.frames("logo sprites", M::kLogoSprites, M::kLogoSlots, M::kLogoCount),
             b.frames("extra info sprite", M::kExtraInfoSprite, 1),
             b.frames("music on/off sprites", M::kMusicOnOffSprites, M::kOnOffFrames),
             b.frames("sound on/off sprites", M::kFxOnOffSprites, M::kOnOffFrames),
             b.sound("background sound", M::kBackgroundSound),
             b.sound("music", M::kMusic)});
    }
    {   // 108 Tracks data
        add({Builder{108, false}.item("background map", L::track::kBackgroundMap, 6)});
    }
    {   // 109 Vehicle data: one switch for its four sounds
        namespace C = L::car;
        const Builder n{109, false};
        add({n.frames("sprites", C::kSprites, C::kSpriteSlots),
             When(n.item("stop sound", C::kStopSound, 5), C::kSoundEnabled, 1),
             When(n.item("acceleration sound", C::kAccelerationSound, 5), C::kSoundEnabled, 1),
             When(n.item("deceleration sound", C::kDecelerationSound, 5), C::kSoundEnabled, 1),
             When(n.item("curve sound", C::kCurveSound, 5), C::kSoundEnabled, 1)});
    }
    {   // 121 Server data / Multiplayer data
        add({Builder{121, false}.item("opponents' font", L::server::kOpponentFont, 2)});
    }
    {   // 200 Platform game Main parameters
        namespace M = L::platform_main;
        const Builder b{200, true}, n{200, false};
        add({b.item("start splash", M::kSplashStart, 13),
             b.item("default font", M::kDefaultFont, 2),
             b.frames("life sprite", M::kLifeSprite, 1),
             b.frames("logo sprites", M::kLogoSprites, M::kLogoSlots, M::kLogoCount),
             n.item("main sprite", M::kMainSprite, 209),
             b.frames("information area sprites", M::kInfoBackgroundSprites,
                      M::kInfoBackgroundFrames),
             b.item("game-over splash", M::kGameOverSplash, 13),
             b.item("game-finished splash", M::kGameFinishedSplash, 13),
             b.sound("starting sound", M::kStartingSound),
             n.item("other players' sprite", M::kOtherPlayersSprite, 209),
             b.frames("music on/off sprites", M::kMusicOnOffSprites, M::kOnOffFrames),
             b.frames("sound on/off sprites", M::kFxOnOffSprites, M::kOnOffFrames)});
    }
    {   // 207 Platform Enemies data
        namespace P = L::platform_enemy;
        const Builder n{207, false};
        add({n.frames("forward sprites", P::kForwardSprites, P::kSpriteSlots, P::kForwardCount),
             n.frames("backward sprites", P::kBackwardSprites, P::kSpriteSlots, P::kBackwardCount),
             n.sound("first frame sound", P::kFirstFrameSound),
             n.sound("direction change sound", P::kDirectionChangeSound)});
    }
    {   // 208 Rooms data
        namespace R = L::room;
        const Builder n{208, false};
        add({n.item("background map", R::kBackgroundMap, 6),
             n.list("enemies", R::kElements, R::kElementSlots, R::kElementCount, 207,
                    R::kElementSize, R::element::kEnemy),
             n.list("items", R::kElements, R::kElementSlots, R::kElementCount, 214,
                    R::kElementSize, R::element::kItem)});
    }
    {   // 209 Willy data
        namespace W = L::willy;
        const Builder b{209, true}, n{209, false};
        add({b.item("explosion animation", W::kExplosion, 12),
             n.frames("left sprites", W::kLeftSprites, W::kSpriteSlots, W::kSpriteCount),
             n.frames("right sprites", W::kRightSprites, W::kSpriteSlots, W::kSpriteCount),
             n.sound("jump sound", W::kJumpSound),
             n.sound("fall sound", W::kFallSound),
             n.sound("life lost sound", W::kLifeLostSound),
             n.sound("item collected sound", W::kItemCollectedSound)});
    }
    {   // 214 Items data
        add({Builder{214, false}.frames("sprite", L::platform_item::kSprite, 1)});
    }
    {   // 300 Soccer Main parameters
        namespace M = L::soccer_main;
        const Builder b{300, true}, n{300, false};
        constexpr std::size_t kRun = M::kRunningSlots, kAnim = M::kAnimationSlots;
        add({b.item("start splash", M::kSplashStart, 13),
             n.item("player's team", M::kPlayerTeam, 301),
             n.list("opponents", M::kOpponents, M::kOpponentSlots, M::kOpponentCount, 301),
             n.item("playing field", M::kPlayingField, 308),
             b.frames("player running sprites", M::kPlayerRunSprites, kRun, M::kPlayerRunFrames,
                      M::kDirections),
             b.frames("player celebration sprites", M::kPlayerCelebrationSprites, kAnim,
                      M::kPlayerCelebrationFrames),
             b.frames("opponent running sprites", M::kOpponentRunSprites, kRun,
                      M::kOpponentRunFrames, M::kDirections),
             b.frames("opponent celebration sprites", M::kOpponentCelebrationSprites, kAnim,
                      M::kOpponentCelebrationFrames),
             b.frames("ball sprite", M::kBallSprite, 1),
             b.item("win splash", M::kSplashWin, 13),
             b.item("lose splash", M::kSplashLose, 13),
             b.item("default font", M::kDefaultFont, 2),
             b.frames("goalkeeper running sprites", M::kGoalkeeperRunSprites, kRun,
                      M::kGoalkeeperRunFrames, M::kDirections),
             b.frames("goalkeeper celebration sprites", M::kGoalkeeperCelebrationSprites, kAnim,
                      M::kGoalkeeperCelebrationFrames),
             b.frames("marker sprites", M::kMarkerSprites, kAnim, M::kMarkerFrames),
             b.frames("ball shadow sprite", M::kBallShadowSprite, 1),
             b.frames("arrow sprites", M::kArrowSprites, kAnim, M::kArrowFrames),
             b.item("player score font", M::kPlayerScoreFont, 2),
             b.item("opponent score font", M::kOpponentScoreFont, 2)});
    }
    {   // 308 Playing field data
        namespace P = L::playing_field;
        const Builder n{308, false};
        add({n.item("background map", P::kBackgroundMap, 6),
             n.sound("kick sound", P::kKickSound),
             n.sound("dribble sound", P::kDribbleSound),
             n.sound("pole sound", P::kPoleSound),
             n.sound("enter stadium sound", P::kEnterStadiumSound),
             n.sound("goal sound", P::kGoalSound),
             n.sound("single whistle sound", P::kSingleWhistleSound),
             n.sound("triple whistle sound", P::kTripleWhistleSound),
             n.sound("music", P::kMusicSound)});
    }
    {   // 500 Curling game Main parameters
        namespace M = L::curling_main;
        const Builder b{500, true}, n{500, false};
        add({b.item("start splash", M::kSplashStart, 13),
             b.frames("logo sprites", M::kLogoSprites, M::kLogoSlots, M::kLogoCount),
             b.frames("music on/off sprites", M::kMusicOnOffSprites, M::kOnOffFrames),
             b.frames("sound on/off sprites", M::kFxOnOffSprites, M::kOnOffFrames),
             b.item("background map", M::kBackgroundMap0, 6),
             b.frames("disc sprite", M::kDiscSprite, 1),
             b.frames("bar sprites", M::kBarSprites, M::kBarFrames),
             b.frames("next disc sprite", M::kNextDiscSprite, 1),
             b.frames("mini background sprite", M::kMiniBackgroundSprite, 1),
             b.frames("mini disc sprite", M::kMiniDiscSprite, 1),
             b.frames("mini bar sprite", M::kMiniBarSprite, 1),
             b.sound("collision sound", M::kCollisionSound),
             b.sound("music", M::kMusic),
             b.item("other players' font", M::kOtherPlayersFont, 2),
             b.item("default font", M::kDefaultFont, 2),
             b.list("further background maps", M::kBackgroundMaps, M::kBackgroundMapSlots,
                    kNoWord, 6),
             b.sound("background sound", M::kBackgroundSound),
             b.sound("points sound", M::kPointsSound),
             b.frames("green disc sprite", M::kGreenDiscSprite, 1),
             b.frames("slot sprites", M::kSlotSprites, M::kSlotSpriteSlots, M::kSlotSpriteCount),
             b.sound("slot start sound", M::kSlotStartSound),
             b.sound("slot cycle sound", M::kSlotCycleSound),
             b.sound("slot end sound", M::kSlotEndSound),
             b.sound("slot win sound", M::kSlotWinSound),
             n.item("pachinko board", M::kPachinkoBoard, 508),
             b.sound("next ball sound", M::kNextBallSound),
             b.sound("balls over sound", M::kBallsOverSound),
             b.item("layer 2 map", M::kLayer2Map, 6),
             b.item("layer 2 alpha map", M::kLayer2AlphaMap, 6),
             b.sound("pull spring sound", M::kPullSpringSound),
             b.sound("push spring sound", M::kPushSpringSound),
             b.frames("bonus sprite", M::kBonusSprite, 1),
             b.sound("game over sound", M::kGameOverSound),
             b.sound("level completed sound", M::kLevelCompletedSound),
             b.sound("game finished sound", M::kGameFinishedSound)});
    }
    {   // 507 Pachinko element
        namespace P = L::pachinko_element;
        const Builder n{507, false};
        add({n.frames("deactivated sprite", P::kDeactivatedSprite, 1),
             n.frames("animation sprites", P::kAnimationSprites, P::kAnimationSlots,
                      P::kAnimationCount),
             n.sound("collision sound", P::kCollisionSound),
             n.frames("activated sprite", P::kActivatedSprite, 1)});
    }
    {   // 508 Pachinko game data
        namespace P = L::pachinko_board;
        const Builder n{508, false};
        add({n.item("background map", P::kBackgroundMap, 6),
             n.list("pieces", P::kPieces, P::kPieceSlots, P::kPieceCount, 507, P::kPieceSize,
                    P::piece::kElement, 0, IdBits::Whole32)});
    }
    {   // 600 Jigsaw Main parameters
        namespace M = L::jigsaw_main;
        const Builder b{600, true};
        add({b.item("start splash", M::kSplashStart, 13),
             When(b.item("default font", M::kDefaultFont, 2), M::kUseCustomFont, 0),
             b.item("background with jigsaw", M::kBackgroundWithJigsaw, 4),
             b.item("background without jigsaw", M::kBackgroundWithoutJigsaw, 4),
             b.sound("background sound", M::kBackgroundSound),
             b.sound("pick sound", M::kPickSound),
             b.sound("place sound", M::kPlaceSound),
             b.sound("start sound", M::kStartSound),
             b.sound("finish sound", M::kFinishSound)});
    }
    std::stable_sort(t.begin(), t.end(), [](const Reference& a, const Reference& b) {
        return a.referrerType < b.referrerType;
    });
    return t;
}

const std::vector<Reference>& Table() {
    static const std::vector<Reference> kTable = BuildTable();
    return kTable;
}

// Each referring type's slice of the table, looked up directly for the small codes.
struct Slices {
    static constexpr std::uint32_t kCodes = 601;
    std::uint32_t begin[kCodes] = {};
    std::uint32_t end[kCodes] = {};
};

const Slices& TableSlices() {
    static const Slices kSlices = [] {
        Slices s;
        const auto& t = Table();
        for (std::uint32_t i = 0; i < t.size(); ++i) {
            const std::uint32_t type = t[i].referrerType;
            if (type >= Slices::kCodes) continue;
            if (s.begin[type] == s.end[type]) s.begin[type] = i;
            s.end[type] = i + 1;
        }
        return s;
    }();
    return kSlices;
}

bool WordIs(const ConstRecordView& r, std::uint64_t offset, std::uint32_t value) {
    return offset <= r.size() && r.size() - offset >= 4 &&
           r.u32(static_cast<std::size_t>(offset)) == value;
}

// The signed word at offset, 0 where the record does not hold it.
std::int64_t SignedWord(const ConstRecordView& r, std::size_t offset) {
    return r.holds(offset, 4) ? r.i32(offset) : 0;
}

} // namespace

namespace references_detail {

std::uint64_t ElementCount(const Reference& ref, const ConstRecordView& r, std::uint64_t& base) {
    base = ref.first;
    std::uint64_t n = 0;
    switch (ref.count) {
    case RunCount::Fixed: n = ref.room; break;
    case RunCount::CountAt: {
        const std::int64_t c = SignedWord(r, ref.countAt);
        n = c <= 0 ? 0 : static_cast<std::uint64_t>(c) * ref.perCount;
        break;
    }
    case RunCount::MapCells:
        n = static_cast<std::uint64_t>(r.u32(L::map::kWidth)) * r.u32(L::map::kHeight);
        if (!r.holds(L::map::kHeight, 4)) n = 0;
        break;
    case RunCount::BehindRun: {
        // One element, behind the stored number of run elements.
        const std::int64_t c = SignedWord(r, ref.countAt);
        if (c < 0) return 0;
        base = ref.first + static_cast<std::uint64_t>(c) * ref.stride;
        return 1;
    }
    }
    n = std::min<std::uint64_t>(n, ref.room);
    // Only the whole elements the record holds.
    if (base >= r.size() || ref.stride == 0) return 0;
    return std::min<std::uint64_t>(n, (r.size() - base) / ref.stride);
}

} // namespace references_detail

std::span<const Reference> AllReferences() { return Table(); }

std::span<const Reference> ReferencesOf(std::uint32_t referrerType) {
    if (referrerType >= Slices::kCodes) return {};
    const Slices& s = TableSlices();
    return std::span<const Reference>(Table()).subspan(
        s.begin[referrerType], s.end[referrerType] - s.begin[referrerType]);
}

bool ReferenceLive(const Reference& ref, const ConstRecordView& r) {
    if (ref.soundPair) {
        std::uint64_t base = 0;
        if (references_detail::ElementCount(ref, r, base) == 0) return false;
        return WordIs(r, base + L::sound_pair::kEnabled, 1);
    }
    if (ref.when.offset == kNoWord) return true;
    if (!r.holds(ref.when.offset, 4)) return false;
    return (r.u32(ref.when.offset) == ref.when.value) == ref.when.equal;
}

bool ReferenceNames(const Reference& ref, const ConstRecordView& r, std::int32_t id) {
    return VisitIds(ref, r, [id](std::size_t, std::int32_t named) { return named == id; });
}

bool RefersToObject(const ObjectRecord& referrer, const ObjectRecord& target, bool inUseOnly) {
    if (&referrer == &target || referrer.lpDatiOggetto.empty()) return false;
    const ConstRecordView r = referrer.record();
    for (const Reference& ref : ReferencesOf(referrer.tipoOggetto)) {
        if (inUseOnly && !ref.inUse) continue;
        if (ref.mayName(target.tipoOggetto) && ReferenceNames(ref, r, target.IDoggetto))
            return true;
    }
    return false;
}

std::vector<std::int32_t> ItemUses(const ProjectRecord& project, std::int32_t id,
                                   bool inUseOnly) {
    std::vector<std::int32_t> uses;
    // 0 means "none" in every field: nothing refers to an item of ID 0.
    if (id == 0) return uses;
    const auto found = std::find_if(project.objects.begin(), project.objects.end(),
                                    [id](const ObjectRecord& o) { return o.IDoggetto == id; });
    if (found == project.objects.end()) return uses;
    const ObjectRecord* target = &*found;
    for (const ObjectRecord& other : project.objects)
        if (RefersToObject(other, *target, inUseOnly)) uses.push_back(other.IDoggetto);
    return uses;
}

std::string ItemTypeName(std::uint32_t type, std::uint32_t gameType) {
    if (IsMainParametersType(type)) return "Main parameters";
    // The folder the tree keeps such items in: the game type's own label first.
    for (const GroupSpec& group : GroupsOfGameType(gameType))
        if (group.subtype == type) return std::string(group.label);
    for (const GameTypeInfo& info : GameTypes())
        for (const GroupSpec& group : GroupsOfGameType(info.code))
            if (group.subtype == type) return std::string(group.label);
    if (const ObjectTypeInfo* info = FindObjectType(type); info && !info->editorTitle.empty())
        return std::string(info->editorTitle);
    return "type " + std::to_string(type);
}

} // namespace qb
