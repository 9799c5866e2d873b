#include "build/validate.h"

#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/jigsaw_main.h"
#include "model/layouts/level.h"
#include "model/layouts/platform_main.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/ship.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/soccer_main.h"
#include "model/layouts/sound_pair.h"
#include "model/layouts/sprite_frame.h"

namespace qb {

namespace {

namespace L = layout;

// Where each Main parameters type keeps the settings the build copies.
struct MainSettingsLayout {
    std::uint32_t type;
    std::size_t width;
    std::size_t height;
    std::size_t extraHeight;  // added to the height (the platform game's information area)
    bool hasExtraHeight;
    std::size_t resourceLocation;
    std::size_t resourcePath;
    std::size_t loadingDescription;
    bool hasEngineTemplate;   // only the shoot'em-up picks its engine by game-area preset
    std::size_t engineTemplate;
};

constexpr MainSettingsLayout kMainLayouts[] = {
    {1, L::shootemup_main::kGameAreaWidth, L::shootemup_main::kGameAreaHeight, 0, false,
     L::shootemup_main::kResourceLocation, L::shootemup_main::kResourcePath,
     L::shootemup_main::kLoadingDescription, true, L::shootemup_main::kGameAreaPreset},
    {100, L::racing_main::kGameAreaWidth, L::racing_main::kGameAreaHeight, 0, false,
     L::racing_main::kResourceLocation, L::racing_main::kResourcePath,
     L::racing_main::kLoadingDescription, false, 0},
    {200, L::platform_main::kGameWidth, L::platform_main::kGameHeight,
     L::platform_main::kInfoHeight, true, L::platform_main::kResourceLocation,
     L::platform_main::kResourcePath, L::platform_main::kLoadingDescription, false, 0},
    {300, L::soccer_main::kGameWidth, L::soccer_main::kGameHeight, 0, false,
     L::soccer_main::kResourceLocation, L::soccer_main::kResourcePath,
     L::soccer_main::kLoadingDescription, false, 0},
    {500, L::curling_main::kGameWidth, L::curling_main::kGameHeight, 0, false,
     L::curling_main::kResourceLocation, L::curling_main::kResourcePath,
     L::curling_main::kLoadingDescription, false, 0},
    {600, L::jigsaw_main::kGameAreaWidth, L::jigsaw_main::kGameAreaHeight, 0, false,
     L::jigsaw_main::kResourceLocation, L::jigsaw_main::kResourcePath,
     L::jigsaw_main::kLoadingDescription, false, 0},
};

const MainSettingsLayout* FindMainLayout(std::uint32_t type) {
    for (const auto& layout : kMainLayouts)
        if (layout.type == type) return &layout;
    return nullptr;
}

constexpr const char* kSitePath = "#error 'site path not difined!': ";
constexpr const char* kNoShip = "#error 'no player's ship!': ";
constexpr const char* kNoShipFire = "#error 'no fire for player's ship!': ";
constexpr const char* kNoLevel = "#error 'at least one level!': ";
constexpr const char* kNoSplashTitle = "#error 'no splash title!': ";
constexpr const char* kNoSplashEnd = "#error 'no splash end!': ";
constexpr const char* kNoDefaultFont = "#error 'no default font!': ";
constexpr const char* kNoAnimation = "#error 'no animation': ";
constexpr const char* kNoExplosion = "#error 'no explosion': ";
constexpr const char* kNoShield = "#error 'no shield': ";
constexpr const char* kNoSprite = "#error 'no sprite': ";
constexpr const char* kNoSound = "#error 'no sound': ";
constexpr const char* kNoBackground = "#error 'no background': ";
constexpr const char* kNoNextPower = "#error 'no next power': ";
constexpr const char* kNoFire = "#error 'no fire': ";

// The plain sentence beside each message: what to do about it.
std::string Advice(Check check, const std::string& item) {
    const std::string q = "'" + item + "'";
    switch (check) {
    case Check::SitePath:
        return "Type the site path where the game finds its resources in " + q + ".";
    case Check::NoShip: return "Choose the player's ship in " + q + ".";
    case Check::NoShipFire: return "Choose the fire of the player's ship in " + q + ".";
    case Check::NoLevel: return "Add at least one level to the level list of " + q + ".";
    case Check::NoSplashTitle: return "Choose a title splash in " + q + ".";
    case Check::NoSplashEnd: return "Choose an end splash in " + q + ".";
    case Check::NoDefaultFont: return "Choose a default font in " + q + ", or use the custom font.";
    case Check::NoAnimation: return "Choose a vectorial animation for " + q + ".";
    case Check::NoExplosion: return "Choose an explosion for " + q + ".";
    case Check::NoShield: return "Choose a beat animation for " + q + ".";
    case Check::NoSprite: return "Choose a sprite sheet for the frames of " + q + ".";
    case Check::NoSound: return "Choose a sound for " + q + ", or switch its sound off.";
    case Check::NoBackground: return "Choose a background map for " + q + ".";
    case Check::NoNextPower: return "Choose the next power of " + q + ", or switch it off.";
    case Check::NoFire: return "Choose the shot that " + q + " gives.";
    case Check::GameArea: return "Make the game area of " + q + " at least 320 x 256.";
    }
    return {};
}

// One item's checks: each failure is added to the list, in check order.
class ItemChecks {
public:
    ItemChecks(const ObjectRecord& object, std::vector<Problem>& problems)
        : record_(object.record()), object_(object), problems_(problems) {}

    // W(N): the 16 bits at N. D(N): the 32 bits at N.
    std::uint16_t W(std::size_t offset) const { return record_.u16(offset); }
    std::int32_t D(std::size_t offset) const { return record_.i32(offset); }
    // The same at an offset computed from a stored count, which may point anywhere.
    std::uint16_t WAt(std::uint64_t offset) const {
        return offset < record_.size() ? record_.u16(static_cast<std::size_t>(offset)) : 0;
    }
    std::int32_t DAt(std::uint64_t offset) const {
        return offset < record_.size() ? record_.i32(static_cast<std::size_t>(offset)) : 0;
    }
    bool textEmpty(std::size_t offset) const { return record_.u8(offset) == 0; }
    // A sound pair whose switch is on but names no sound.
    bool soundMissing(std::size_t pair) const {
        return W(pair + L::sound_pair::kSoundId) == 0 && D(pair + L::sound_pair::kEnabled) != 0;
    }
    bool frames(std::size_t first, std::int32_t n) const {
        return AllFramesHaveSprite(record_, first, n);
    }
    void fail(bool failed, const char* literal, Check check) {
        if (failed)
            problems_.push_back({object_.IDoggetto, literal + object_.sDescrizione, check,
                                 Advice(check, object_.sDescrizione)});
    }

private:
    ConstRecordView record_;
    const ObjectRecord& object_;
    std::vector<Problem>& problems_;
};

void CheckShootEmUpMain(ItemChecks& c) {
    namespace M = L::shootemup_main;
    c.fail(c.D(M::kResourceLocation) == static_cast<std::int32_t>(location::SpecificPath) &&
               c.textEmpty(M::kResourcePath),
           kSitePath, Check::SitePath);
    c.fail(c.W(M::kPlayerShip) == 0, kNoShip, Check::NoShip);
    c.fail(c.W(M::kPlayerFire) == 0, kNoShipFire, Check::NoShipFire);
    c.fail(c.D(M::kLevelCount) <= 0, kNoLevel, Check::NoLevel);
    c.fail(c.W(M::kSplashStart) == 0, kNoSplashTitle, Check::NoSplashTitle);
    c.fail(c.W(M::kSplashEnd) == 0, kNoSplashEnd, Check::NoSplashEnd);
    c.fail(c.W(M::kDefaultFont) == 0 && c.D(M::kUseCustomFont) == 0, kNoDefaultFont,
           Check::NoDefaultFont);
}

void CheckEnemy(ItemChecks& c) {
    namespace E = L::enemy;
    c.fail(c.W(E::kVectorialAnimation1) == 0, kNoAnimation, Check::NoAnimation);
    c.fail(c.W(E::kVectorialAnimation2) == 0 &&
               c.D(E::kAnimationType) == static_cast<std::int32_t>(E::kLoopAnimation2),
           kNoAnimation, Check::NoAnimation);
    c.fail(c.W(E::kExplosion) == 0 && c.D(E::kShield) > 0, kNoExplosion, Check::NoExplosion);
    c.fail(c.W(E::kBeatAnimation) == 0 && c.D(E::kShield) > 1, kNoShield, Check::NoShield);
    c.fail(!c.frames(E::kSprites, c.D(E::kSpriteCount)), kNoSprite, Check::NoSprite);
    c.fail(c.soundMissing(E::kFireSound), kNoSound, Check::NoSound);
}

void CheckLevel(ItemChecks& c) {
    namespace V = L::level;
    c.fail(c.W(V::kBackgroundMap) == 0, kNoBackground, Check::NoBackground);
    // The level's sound pair lies behind its n entries; a count that points outside the
    // record (negative or too large) reads as zero there.
    const std::int32_t n = c.D(V::kEntryCount);
    if (n >= 0) {
        const std::uint64_t pair = V::SoundOffset(static_cast<std::uint64_t>(n));
        c.fail(c.WAt(pair + L::sound_pair::kSoundId) == 0 &&
                   c.DAt(pair + L::sound_pair::kEnabled) != 0,
               kNoSound, Check::NoSound);
    }
}

void CheckShip(ItemChecks& c) {
    namespace S = L::ship;
    c.fail(c.W(S::kExplosion) == 0, kNoExplosion, Check::NoExplosion);
    c.fail(!c.frames(S::kStraightSprites, c.D(S::kStraightCount)), kNoSprite, Check::NoSprite);
    c.fail(!c.frames(S::kLeftSprites, c.D(S::kTurnCount)), kNoSprite, Check::NoSprite);
    c.fail(!c.frames(S::kRightSprites, c.D(S::kTurnCount)), kNoSprite, Check::NoSprite);
}

void CheckShipFire(ItemChecks& c) {
    namespace F = L::ship_fire;
    c.fail(c.W(F::kNextPower) == 0 && c.D(F::kNextPowerSelected) != 0, kNoNextPower,
           Check::NoNextPower);
    c.fail(!c.frames(F::kSprites, c.D(F::kSpriteCount)), kNoSprite, Check::NoSprite);
    c.fail(c.soundMissing(F::kSound), kNoSound, Check::NoSound);
}

void CheckExplosion(ItemChecks& c) {
    namespace X = L::explosion;
    c.fail(!c.frames(X::kSprites, c.D(X::kSpriteCount)), kNoSprite, Check::NoSprite);
    c.fail(c.soundMissing(X::kSound), kNoSound, Check::NoSound);
}

void CheckSplash(ItemChecks& c) {
    c.fail(c.soundMissing(L::splash_bitmap::kSound), kNoSound, Check::NoSound);
}

void CheckBonus(ItemChecks& c) {
    namespace B = L::bonus;
    c.fail(!c.frames(B::kSprites, c.D(B::kSpriteCount)), kNoSprite, Check::NoSprite);
    c.fail(c.W(B::kVectorialAnimation) == 0, kNoAnimation, Check::NoAnimation);
    c.fail(c.W(B::kShot) == 0 && c.D(B::kBonusType) == static_cast<std::int32_t>(B::kChangeShot),
           kNoFire, Check::NoFire);
    c.fail(c.soundMissing(B::kSound), kNoSound, Check::NoSound);
}

void CopySettings(const MainSettingsLayout& layout, const ConstRecordView& record,
                  BuildSettings& settings) {
    settings.dimX = record.i32(layout.width);
    settings.dimY = record.i32(layout.height);
    if (layout.hasExtraHeight)
        settings.dimY = static_cast<std::int32_t>(static_cast<std::uint32_t>(settings.dimY) +
                                                  record.u32(layout.extraHeight));
    settings.compilazioneTipo = record.u32(layout.resourceLocation);
    settings.sPathExternalFiles = record.text(layout.resourcePath, kPathField - 1);
    // A backslash is not a separator for the engine: a "/" goes behind it too.
    if (!settings.sPathExternalFiles.empty() && settings.sPathExternalFiles.back() != '/')
        settings.sPathExternalFiles += '/';
    settings.descriptionWhileLoading = record.text(layout.loadingDescription, kPathField - 1);
    if (layout.hasEngineTemplate) settings.engineTemplate = record.u32(layout.engineTemplate);
}

} // namespace

bool AllFramesHaveSprite(const ConstRecordView& record, std::size_t offset, std::int32_t n) {
    if (n <= 0) return true;
    const std::size_t size = record.size();
    // Frames beyond the end of the record read as zero, i.e. as frames without a sprite.
    if (offset > size) return false;
    const std::size_t held = (size - offset) / L::sprite_frame::kSize;
    if (static_cast<std::uint64_t>(n) > held) return false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
        if (record.u16(L::sprite_frame::At(offset, i) + L::sprite_frame::kSheetId) == 0)
            return false;
    return true;
}

bool IsBuildMainParametersType(std::uint32_t type) { return FindMainLayout(type) != nullptr; }

bool ResourceLocationOffset(std::uint32_t type, std::size_t& offset) {
    const MainSettingsLayout* layout = FindMainLayout(type);
    if (!layout) return false;
    offset = layout->resourceLocation;
    return true;
}

std::vector<Problem> ValidationProblems(const ProjectRecord& project, BuildSettings* out) {
    BuildSettings scratch;
    BuildSettings& settings = out ? *out : scratch;
    settings.nExternalObj = 0;
    settings.engineTemplate = 0;
    std::vector<Problem> problems;
    for (const ObjectRecord& object : project.objects) {
        // An item without a data record is treated as not present.
        if (object.lpDatiOggetto.empty()) continue;
        ItemChecks checks(object, problems);
        switch (object.tipoOggetto) {
        case 1: CheckShootEmUpMain(checks); break;
        case 7: CheckEnemy(checks); break;
        case 8: CheckLevel(checks); break;
        case 9: CheckShip(checks); break;
        case 10: CheckShipFire(checks); break;
        case 12: CheckExplosion(checks); break;
        case 13: CheckSplash(checks); break;
        case 14: CheckBonus(checks); break;
        default: break;
        }
        if (IsFileBackedType(object.tipoOggetto)) ++settings.nExternalObj;
        if (const MainSettingsLayout* layout = FindMainLayout(object.tipoOggetto))
            CopySettings(*layout, object.record(), settings);
    }
    // The one error the build reports is the last failure met.
    settings.error = problems.empty() ? std::string() : problems.back().message;
    return problems;
}

BuildSettings ValidateProject(const ProjectRecord& project) {
    BuildSettings settings;
    ValidationProblems(project, &settings);
    return settings;
}

std::vector<Problem> BuildProblems(const ProjectRecord& project) {
    BuildSettings settings;
    std::vector<Problem> problems = ValidationProblems(project, &settings);
    if (GameAreaTooSmall(project, settings)) {
        std::int32_t mainId = 0;
        std::string mainDescription;
        for (const ObjectRecord& object : project.objects)
            if (IsMainParametersType(object.tipoOggetto)) {
                mainId = object.IDoggetto;
                mainDescription = object.sDescrizione;
                break;
            }
        problems.push_back({mainId, kGameAreaTooSmall, Check::GameArea,
                            Advice(Check::GameArea, mainDescription)});
    }
    return problems;
}

BuildSettings ValidateProject(int projectIndex) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    return project ? ValidateProject(*project) : BuildSettings{};
}

bool GameAreaTooSmall(const ProjectRecord& project, const BuildSettings& settings) {
    return project.tipoGioco == game::ShootEmUp &&
           (settings.dimX < kMinGameWidth || settings.dimY < kMinGameHeight);
}

void CheckGameArea(const ProjectRecord& project, BuildSettings& settings) {
    if (GameAreaTooSmall(project, settings)) settings.error = kGameAreaTooSmall;
}

std::vector<Problem> ProjectProblems(const ProjectRecord& project) {
    std::vector<Problem> problems = BuildProblems(project);
    std::vector<Problem> warnings = ProjectWarnings(project);
    problems.insert(problems.end(), std::make_move_iterator(warnings.begin()),
                    std::make_move_iterator(warnings.end()));
    return problems;
}

} // namespace qb
