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
#include "model/references.h"
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
    // The in-use rules are the entries of the table of references marked as such.
    for (const ObjectRecord& other : project->objects)
        if (RefersToObject(other, object, /*inUseOnly=*/true)) return false;
    return true;
}

} // namespace qb
