#pragma once
// The catalogue of game types and object types: labels, record sizes, minimum sizes on load,
// editor titles and the command sets. Constant data only.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qb {

constexpr std::uint32_t kGameTypeCount = 7;  // 0..6
namespace game {
constexpr std::uint32_t ShootEmUp = 0, Racing = 1, Platform = 2, Soccer = 3, Music = 4,
                        Curling = 5, Jigsaw = 6;
}

struct GameTypeInfo {
    std::uint32_t code;
    std::string_view newProjectLabel;  // its choice in the New project dialog
    std::string_view typeOfProject;    // "Type of project:" text of its Main parameters editor
    std::uint32_t mainType;            // Main parameters object type
    std::uint32_t mainSize;            // and its record size
    bool offered;                      // offered by the New project dialog
};
const GameTypeInfo* FindGameType(std::uint32_t code);

struct GroupSpec {
    std::uint32_t subtype;
    std::string_view label;
};
// The group objects created with a new project, in order.
std::span<const GroupSpec> GroupsOfGameType(std::uint32_t gameType);

struct ObjectTypeInfo {
    std::uint32_t type;
    std::string_view newDescription;   // description of a new item ("" = file title / none)
    std::uint32_t newSize;             // record size that New item creates (type 6: see below)
    std::uint32_t minimumOnLoad;       // 0 = no growth
    std::string_view editorTitle;      // "" = no editor
};
const ObjectTypeInfo* FindObjectType(std::uint32_t type);

// Minimum record size on load for a record of that type (type 8 depends on its entry count).
std::size_t MinimumSizeOnLoad(std::uint32_t type, std::uint32_t levelEntryCount);

bool IsFileBackedType(std::uint32_t type);        // 2, 3, 4, 5, 13, 104
bool IsNewItemAllowed(std::uint32_t groupSubtype);
bool IsSingletonType(std::uint32_t type);         // 120, 121
bool IsEditAllowed(std::uint32_t type);
bool IsCopyAllowed(std::uint32_t type);
bool IsGroupedType(std::uint32_t type);
bool HasPreview(std::uint32_t type);              // 2, 3, 4, 13, 104

// Every game type and every object type of the catalogue, in code order.
std::span<const GameTypeInfo> GameTypes();
std::span<const ObjectTypeInfo> ObjectTypes();

// The Main parameters types 1, 100, 200, 300, 400, 500 and 600.
bool IsMainParametersType(std::uint32_t type);

// The default asset that New item copies for a file-backed type, and the base name and
// extension of the copy; null for other types.
struct DefaultAsset {
    std::string_view assetFile;  // in the application folder
    std::string_view baseName;
    std::string_view extension;
};
const DefaultAsset* DefaultAssetOfType(std::uint32_t type);

// Size of the record New item makes for a type in a project of that game type (type 6 depends
// on it); 0 when the type cannot be created.
std::size_t NewRecordSize(std::uint32_t type, std::uint32_t gameType);

// A damaged Level data record may claim any entry count; growth on load stops at this many
// entries so that a hostile count cannot make the loader allocate gigabytes.
constexpr std::uint32_t kMaxLevelEntriesOnLoad = 10000;

} // namespace qb
