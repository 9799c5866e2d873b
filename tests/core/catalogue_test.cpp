// The type catalogue: sizes, growth on load, labels, editors and command sets, checked against
// the values the project file and the engine use.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/catalogue.h"

namespace {

using qb::FindObjectType;

struct TypeRow {
    std::uint32_t type;
    std::uint32_t newSize;
    std::uint32_t minimumOnLoad;  // 0 = no growth
    const char* description;      // "" for file-backed items (file title)
    const char* editor;
};

// One row per object type with its new record, minimum on load, new description and editor.
const std::vector<TypeRow> kRows = {
    {1, 1396, 1396, "Main parameters", "Main parameters"},
    {2, 268, 268, "", "Fonts bitmap parameters"},
    {3, 276, 276, "", "Sprites bitmap parameters"},
    {4, 268, 268, "", "Background bitmap parameters"},
    {5, 272, 272, "", "Sound parameters"},
    {7, 948, 884, "Sprites informations", "Enemies data"},
    {8, 48, 16, "Level data", "Level data"},
    {9, 272, 272, "Sprites informations", "Ship data"},
    {10, 152, 152, "Sprites informations", "Ship fire data"},
    {11, 16, 0, "Vectorial animation", "Edit vectorial animation"},
    {12, 256, 256, "Sprites explosions", "Explosion data"},
    {13, 2808, 2808, "", "Splash bitmap parameters"},
    {14, 840, 840, "Sprites informations", "Bonus data"},
    {100, 1208, 1208, "Main parameters", "Main parameters"},
    {104, 268, 268, "", "Background bitmap parameters"},
    {108, 1016, 1016, "Track data", "Track data"},
    {109, 248, 248, "Sprites informations", "Car data"},
    {120, 528, 528, "Ads", "MochiAds parameters"},
    {121, 804, 804, "Server data", "Multiplayer data"},
    {200, 1040, 1040, "Main parameters", "Main parameters"},
    {207, 1708, 1644, "Sprites informations", "Enemies data"},
    {208, 1788, 1788, "Rooms informations", "Room data"},
    {209, 1104, 1104, "Willy data", "Willy data"},
    {214, 76, 12, "Sprites informations", "Items data"},
    {300, 12316, 12316, "Main parameters", "Main parameters"},
    {301, 436, 436, "Team data", "Team data"},
    {308, 100, 100, "Rooms informations", "Playing field"},
    {400, 940, 0, "Main parameters", ""},
    {500, 1928, 1928, "Main parameters", "Main parameters"},
    {507, 952, 888, "Pachinko element informations", "Pachinko's element"},
    {508, 24084, 24020, "Pachinko data", "Pachinko's and Peggle's data"},
    {600, 888, 888, "Main parameters", "Main parameters"},
};

TEST(Catalogue, ObjectTypeSizesDescriptionsAndEditors) {
    for (const TypeRow& row : kRows) {
        SCOPED_TRACE("type " + std::to_string(row.type));
        const qb::ObjectTypeInfo* info = FindObjectType(row.type);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->newSize, row.newSize);
        EXPECT_EQ(qb::MinimumSizeOnLoad(row.type, 0), row.type == 8 ? 16u : row.minimumOnLoad);
        EXPECT_EQ(info->newDescription, row.description);
        EXPECT_EQ(info->editorTitle, row.editor);
    }
    EXPECT_EQ(FindObjectType(6)->newDescription, "background map");
    EXPECT_EQ(FindObjectType(6)->editorTitle, "Background map parameters");
    EXPECT_EQ(qb::MinimumSizeOnLoad(6, 0), 16u);
    EXPECT_EQ(FindObjectType(0)->editorTitle, "");
    EXPECT_EQ(FindObjectType(401)->editorTitle, "");
    EXPECT_EQ(FindObjectType(15), nullptr);
    EXPECT_EQ(FindObjectType(999), nullptr);
    EXPECT_EQ(qb::MinimumSizeOnLoad(999, 0), 0u);
}

TEST(Catalogue, NewMapSizeDependsOnGameType) {
    EXPECT_EQ(qb::NewRecordSize(6, qb::game::Platform), 2064u);  // 32 x 16 cells
    for (std::uint32_t g : {0u, 1u, 3u, 4u, 5u, 6u}) EXPECT_EQ(qb::NewRecordSize(6, g), 16016u);
    EXPECT_EQ(qb::NewRecordSize(3, 0), 276u);
    EXPECT_EQ(qb::NewRecordSize(401, 4), 0u);  // Musical levels cannot be created
    EXPECT_EQ(qb::NewRecordSize(1, 0), 0u);    // nor Main parameters
}

TEST(Catalogue, LevelDataGrowsWithItsEntryCount) {
    EXPECT_EQ(qb::MinimumSizeOnLoad(8, 3), 136u);
    EXPECT_EQ(qb::MinimumSizeOnLoad(8, 1), 56u);
    EXPECT_EQ(qb::MinimumSizeOnLoad(8, 0), 16u);
    // A negative count claims nothing; a hostile count never asks for gigabytes.
    EXPECT_EQ(qb::MinimumSizeOnLoad(8, 0xFFFFFFFFu), 16u);
    EXPECT_EQ(qb::MinimumSizeOnLoad(8, 0x80000000u), 16u);
    EXPECT_EQ(qb::MinimumSizeOnLoad(8, 0x7FFFFFFFu), 16u + 40u * qb::kMaxLevelEntriesOnLoad);
    EXPECT_LE(qb::MinimumSizeOnLoad(8, 0x7FFFFFFFu), 1u << 20);
}

TEST(Catalogue, GameTypes) {
    struct Row {
        const char* label;
        const char* typeOfProject;
        std::uint32_t mainType, mainSize;
        bool offered;
    };
    const Row rows[] = {
        {"Shot'em up", "Vertical Shot'em up", 1, 1396, true},
        {"Racing game", "Racing game", 100, 1208, true},
        {"Jet Set Willy Remake", "Old platform game", 200, 1040, true},
        {"Soccer game", "Soccer game", 300, 12316, true},
        {"Music game", "", 400, 940, false},
        {"Curling game", "Curling game", 500, 1928, true},
        {"Jigsaw", "Jigsaw game", 600, 888, true},
    };
    for (std::uint32_t code = 0; code < 7; ++code) {
        SCOPED_TRACE(code);
        const qb::GameTypeInfo* info = qb::FindGameType(code);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->code, code);
        EXPECT_EQ(info->newProjectLabel, rows[code].label);
        EXPECT_EQ(info->typeOfProject, rows[code].typeOfProject);
        EXPECT_EQ(info->mainType, rows[code].mainType);
        EXPECT_EQ(info->mainSize, rows[code].mainSize);
        EXPECT_EQ(FindObjectType(info->mainType)->newSize, rows[code].mainSize);
        EXPECT_EQ(info->offered, rows[code].offered);
        EXPECT_TRUE(qb::IsMainParametersType(info->mainType));
    }
    EXPECT_EQ(qb::FindGameType(7), nullptr);
    EXPECT_TRUE(qb::GroupsOfGameType(7).empty());
}

std::vector<std::pair<std::uint32_t, std::string>> Groups(std::uint32_t gameType) {
    std::vector<std::pair<std::uint32_t, std::string>> out;
    for (const qb::GroupSpec& g : qb::GroupsOfGameType(gameType))
        out.emplace_back(g.subtype, std::string(g.label));
    return out;
}

TEST(Catalogue, GroupLabelsInOrder) {
    using G = std::vector<std::pair<std::uint32_t, std::string>>;
    EXPECT_EQ(Groups(0), (G{{1, "Parameters"}, {2, "Fonts bitmap"}, {3, "Sprites bitmap"},
                            {4, "Backgrounds bitmap"}, {5, "Audio data"}, {6, "Background map"},
                            {7, "Enemies data"}, {8, "Level data"}, {9, "User ship data"},
                            {10, "User ship fire data"}, {11, "Vectorial animations"},
                            {12, "Explosion animations"}, {13, "Splash bitmap"},
                            {14, "Bonus data"}, {120, "Ads"}, {121, "Server data"}}));
    EXPECT_EQ(Groups(1), (G{{100, "Parameters"}, {2, "Fonts bitmap"}, {3, "Sprites bitmap"},
                            {104, "Backgrounds bitmap"}, {5, "Audio data"}, {6, "Tracks map"},
                            {108, "Tracks data"}, {109, "Vehicle data"}, {13, "Splash bitmap"},
                            {120, "Ads"}, {121, "Multiplayer data"}}));
    EXPECT_EQ(Groups(2), (G{{200, "Parameters"}, {2, "Fonts bitmap"}, {3, "Sprites bitmap"},
                            {104, "Backgrounds bitmap"}, {5, "Audio data"}, {6, "Rooms map"},
                            {208, "Rooms data"}, {209, "Willy data"}, {13, "Splash bitmap"},
                            {120, "Ads"}, {121, "Multiplayer data"},
                            {12, "Explosion animations"}, {207, "Enemies data"},
                            {214, "Items data"}}));
    EXPECT_EQ(Groups(3), (G{{300, "Parameters"}, {2, "Fonts bitmap"}, {3, "Sprites bitmap"},
                            {104, "Backgrounds bitmap"}, {5, "Audio data"},
                            {6, "Playing field map"}, {308, "Playing field data"},
                            {301, "Team data"}, {13, "Splash bitmap"}, {120, "Ads"},
                            {121, "Multiplayer data"}}));
    EXPECT_EQ(Groups(4), (G{{400, "Parameters"}, {401, "Musical levels"},
                            {4, "Backgrounds bitmap"}, {2, "Fonts bitmap"}, {3, "Sprites bitmap"},
                            {5, "Audio data"}, {13, "Splash bitmap"}, {120, "Ads"},
                            {121, "Multiplayer data"}}));
    EXPECT_EQ(Groups(5), (G{{500, "Parameters"}, {507, "Pachinko element"},
                            {508, "Pachinko game data"}, {4, "Backgrounds bitmap"},
                            {6, "Backgrounds map"}, {2, "Fonts bitmap"}, {3, "Sprites bitmap"},
                            {5, "Audio data"}, {13, "Splash bitmap"}, {120, "Ads"},
                            {121, "Multiplayer data"}}));
    EXPECT_EQ(Groups(6), (G{{600, "Parameters"}, {2, "Fonts bitmap"}, {4, "Backgrounds bitmap"},
                            {5, "Audio data"}, {13, "Splash bitmap"}, {120, "Ads"},
                            {121, "Server data"}}));
}

std::set<std::uint32_t> Matching(bool (*predicate)(std::uint32_t)) {
    std::set<std::uint32_t> out;
    for (std::uint32_t t = 0; t < 1000; ++t)
        if (predicate(t)) out.insert(t);
    return out;
}

TEST(Catalogue, CommandSets) {
    using S = std::set<std::uint32_t>;
    EXPECT_EQ(Matching(qb::IsNewItemAllowed), (S{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 104,
                                                 108, 109, 120, 121, 207, 208, 209, 214, 301,
                                                 308, 507, 508}));
    EXPECT_EQ(Matching(qb::IsSingletonType), (S{120, 121}));
    const S editable{1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,
                     14,  100, 104, 108, 109, 120, 121, 200, 207, 208, 209, 214, 300,
                     301, 308, 500, 507, 508, 600};
    EXPECT_EQ(Matching(qb::IsEditAllowed), editable);
    EXPECT_EQ(Matching(qb::IsGroupedType), editable);
    EXPECT_EQ(Matching(qb::IsCopyAllowed), (S{6, 7, 8, 9, 10, 11, 12, 14, 108, 109, 207, 208,
                                              209, 214, 301, 308, 507, 508}));
    EXPECT_EQ(Matching(qb::IsFileBackedType), (S{2, 3, 4, 5, 13, 104}));
    EXPECT_EQ(Matching(qb::HasPreview), (S{2, 3, 4, 13, 104}));
    // Every type that opens an editor has a title, and only those.
    for (const qb::ObjectTypeInfo& info : qb::ObjectTypes())
        EXPECT_EQ(!info.editorTitle.empty(), qb::IsEditAllowed(info.type)) << info.type;
}

TEST(Catalogue, MusicGameOffersNewItemOnlyOnCommonGroups) {
    std::set<std::string> offered;
    for (const qb::GroupSpec& g : qb::GroupsOfGameType(qb::game::Music))
        if (qb::IsNewItemAllowed(g.subtype)) offered.insert(std::string(g.label));
    EXPECT_EQ(offered, (std::set<std::string>{"Backgrounds bitmap", "Fonts bitmap",
                                              "Sprites bitmap", "Audio data", "Splash bitmap",
                                              "Ads", "Multiplayer data"}));
    EXPECT_FALSE(qb::IsEditAllowed(400));
    EXPECT_FALSE(qb::IsEditAllowed(401));
}

TEST(Catalogue, DefaultAssets) {
    struct Row {
        std::uint32_t type;
        const char *asset, *base, *ext;
    };
    for (const Row& row : {Row{2, "FontDefault16.PNG", "Font", ".png"},
                           Row{3, "SpritesDefault.png", "Sprites", ".png"},
                           Row{4, "BackgroundDefault.png", "BackGround", ".png"},
                           Row{104, "BackgroundDefault.png", "BackGround", ".png"},
                           Row{5, "test.mp3", "AudioSound", ".mp3"},
                           Row{13, "SplashDefault.png", "Splash", ".png"}}) {
        const qb::DefaultAsset* asset = qb::DefaultAssetOfType(row.type);
        ASSERT_NE(asset, nullptr) << row.type;
        EXPECT_EQ(asset->assetFile, row.asset);
        EXPECT_EQ(asset->baseName, row.base);
        EXPECT_EQ(asset->extension, row.ext);
    }
    EXPECT_EQ(qb::DefaultAssetOfType(6), nullptr);
    EXPECT_EQ(qb::DefaultAssetOfType(7), nullptr);
}

} // namespace
