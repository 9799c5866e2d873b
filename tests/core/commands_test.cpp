// Project creation and the item commands: the objects, records and files they leave behind.
// Record offsets and values are the file formats' own, written out here.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/catalogue.h"
#include "model/commands.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/record.h"
#include "model/workspace.h"
#include "platform/profile.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using qb::Bytes;
using qbtest::ReadFile;
using qbtest::TempAppFolder;
using qbtest::WriteFile;

namespace {

using Words = std::map<std::size_t, std::int32_t>;

// Every 32-bit word of the record is the expected value or zero; texts at the given offsets are
// compared separately and skipped here.
void ExpectWords(const Bytes& record, const Words& expected,
                 const std::map<std::size_t, std::string>& texts = {}) {
    Bytes copy = record;
    qb::RecordView r(copy);
    std::vector<std::pair<std::size_t, std::size_t>> skipped;
    for (const auto& [offset, text] : texts) {
        EXPECT_EQ(r.text(offset, text.size() + 1), text) << "text at " << offset;
        skipped.emplace_back(offset, offset + text.size() + 1);
    }
    for (std::size_t offset = 0; offset + 4 <= record.size(); offset += 4) {
        bool inText = false;
        for (const auto& [from, to] : skipped) inText = inText || (offset + 4 > from && offset < to);
        if (inText) continue;
        const auto it = expected.find(offset);
        EXPECT_EQ(r.i32(offset), it == expected.end() ? 0 : it->second) << "word at " << offset;
    }
    for (const auto& [offset, value] : expected)
        EXPECT_LT(offset + 3, record.size()) << "expected word at " << offset << " outside";
}

class Commands : public ::testing::Test {
protected:
    // A project of a game type in its own folder of the projects folder.
    int NewProject(std::uint32_t gameType, const std::string& name = "My Game") {
        const fs::path folder = app_.projects() / name;
        fs::create_directories(folder);
        qb::Workspace().pendingProjectName = name;
        qb::Workspace().pendingProjectFolder = folder.string();
        const int index = qb::CreateProject(gameType);
        qb::SaveProject(index);
        return index;
    }
    static std::int32_t GroupOf(int project, std::uint32_t subtype) {
        for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
            if (o.tipoOggetto == 0 && o.sottoTipoOggetto == subtype) return o.IDoggetto;
        ADD_FAILURE() << "no group " << subtype;
        return -1;
    }
    static qb::ObjectRecord& Object(int project, std::int32_t id) {
        qb::ObjectRecord* o = qb::FindObject(id, project);
        EXPECT_NE(o, nullptr);
        static qb::ObjectRecord none;
        return o ? *o : none;
    }
    static std::string PathOf(const qb::ObjectRecord& o) { return o.record().text(0, 260); }
    fs::path Folder(int project) const { return qb::ProjectAt(project)->sPathProgetto; }

    TempAppFolder app_;
};

TEST_F(Commands, CreateProjectMakesGroupsThenMainParameters) {
    const std::map<std::uint32_t, std::pair<std::size_t, std::uint32_t>> expected = {
        // game type: object count, Main parameters type
        {0, {17, 1}}, {1, {12, 100}}, {2, {15, 200}}, {3, {12, 300}},
        {4, {10, 400}}, {5, {12, 500}}, {6, {8, 600}},
    };
    for (const auto& [gameType, want] : expected) {
        SCOPED_TRACE(gameType);
        qb::Workspace().pendingProjectName = "Name " + std::to_string(gameType);
        qb::Workspace().pendingProjectFolder = "/somewhere/" + std::to_string(gameType);
        const int index = qb::CreateProject(gameType);
        const qb::ProjectRecord* p = qb::ProjectAt(index);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(index, qb::Workspace().projectCount() - 1);
        EXPECT_EQ(p->tipoGioco, gameType);
        EXPECT_EQ(p->sNomeProgetto, "Name " + std::to_string(gameType));
        EXPECT_EQ(p->sPathProgetto, "/somewhere/" + std::to_string(gameType));
        ASSERT_EQ(p->objects.size(), want.first);
        const auto groups = qb::GroupsOfGameType(gameType);
        for (std::size_t i = 0; i + 1 < p->objects.size(); ++i) {
            const qb::ObjectRecord& o = p->objects[i];
            EXPECT_EQ(o.IDoggetto, static_cast<std::int32_t>(i + 1));
            EXPECT_EQ(o.tipoOggetto, 0u);
            EXPECT_EQ(o.sottoTipoOggetto, groups[i].subtype);
            EXPECT_EQ(o.sDescrizione, groups[i].label);
            EXPECT_TRUE(o.lpDatiOggetto.empty());
        }
        const qb::ObjectRecord& main = p->objects.back();
        EXPECT_EQ(main.IDoggetto, static_cast<std::int32_t>(want.first));
        EXPECT_EQ(main.tipoOggetto, want.second);
        EXPECT_EQ(main.sottoTipoOggetto, 1u);
        EXPECT_EQ(main.sDescrizione, "Main parameters");
        // The "Parameters" group holds the Main parameters type.
        EXPECT_EQ(p->objects.front().sDescrizione, "Parameters");
        EXPECT_EQ(p->objects.front().sottoTipoOggetto, want.second);
    }
    // An unknown game type gives a project without objects.
    EXPECT_TRUE(qb::ProjectAt(qb::CreateProject(7))->objects.empty());
}

TEST_F(Commands, MainParametersDefaults) {
    struct Case {
        std::uint32_t gameType;
        std::size_t size;
        Words words;
    };
    const Case cases[] = {
        {0, 1396, {{408, 8},    {416, 2},    {420, 3},    {424, 2},    {688, 640},
                   {692, 480},  {964, 6},    {976, 10},   {980, 10},   {984, 26},
                   {988, 50},   {1000, 500}, {1004, 10},  {1008, 558}, {1012, 50},
                   {1016, 1},   {1028, 300}, {1032, 10},  {1036, 284}, {1040, 50},
                   {1044, 10000}, {1052, 12}, {1060, 1},  {1128, 1},   {1132, 3}}},
        {1, 1208, {{672, 320}, {676, 320}, {956, 10},  {960, 10},   {964, 10},
                   {968, 30},  {980, 100}, {984, 10},  {988, 100},  {992, 30},
                   {1008, 100}, {1012, 10}, {1016, 100}, {1020, 30}}},
        {2, 1040, {{8, 100},   {12, 32},   {280, 512}, {284, 256}, {288, 128}, {568, 16},
                   {572, 64},  {576, 64},  {580, 256}, {584, 128}, {588, 400}, {592, 128}}},
        {3, 12316, {{524, 512}, {528, 512}, {536, 30}, {540, 300}, {544, 5}, {548, 2}}},
        {4, 940, {}},
        {5, 1928, {{524, 600}, {528, 800}}},
        {6, 888, {{0, 2},     {264, 640}, {268, 480}, {272, 3},   {544, 1},
                  {548, 280}, {552, 32},  {824, 96},  {828, 112}, {832, 448},
                  {836, 256}, {840, 7},   {844, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gameType);
        const Bytes record = qb::DefaultMainParameters(c.gameType);
        ASSERT_EQ(record.size(), c.size);
        ExpectWords(record, c.words);
        const int index = qb::CreateProject(c.gameType);
        EXPECT_EQ(qb::ProjectAt(index)->objects.back().lpDatiOggetto, record);
    }
    EXPECT_TRUE(qb::DefaultMainParameters(7).empty());
}

TEST_F(Commands, NewItemRecordsOfEveryCreatableType) {
    struct Case {
        std::uint32_t type;
        std::size_t size;
        Words words;
        const char* description;
    };
    const Case cases[] = {
        {7, 948, {{12, 8}, {16, 1}}, "Sprites informations"},
        {8, 48, {}, "Level data"},
        {9, 272, {{0, 1}, {4, 1}, {252, 16}, {256, 624}, {260, 16}, {264, 464}},
         "Sprites informations"},
        {10, 152, {{4, 20}, {8, 5}, {12, 2}, {20, 1}, {112, 1}}, "Sprites informations"},
        {11, 16, {{4, 150}}, "Vectorial animation"},
        {12, 256, {{0, 1}}, "Sprites explosions"},
        {14, 840, {{4, 1}, {828, 1}, {824, 100}}, "Sprites informations"},
        {120, 528, {}, "Ads"},
        {121, 804, {{540, 1}}, "Server data"},
    };
    const int p = NewProject(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::int32_t id = qb::NewItem(p, GroupOf(p, c.type));
        ASSERT_GT(id, 0);
        const qb::ObjectRecord& o = Object(p, id);
        EXPECT_EQ(o.tipoOggetto, c.type);
        EXPECT_EQ(o.sottoTipoOggetto, 0u);
        EXPECT_EQ(o.sDescrizione, c.description);
        ASSERT_EQ(o.lpDatiOggetto.size(), c.size);
        ExpectWords(o.lpDatiOggetto, c.words);
    }
}

TEST_F(Commands, NewItemRecordsOfOtherGameTypes) {
    struct Case {
        std::uint32_t gameType, type;
        std::size_t size;
        Words words;
        const char* description;
    };
    const Case cases[] = {
        {1, 108, 1016, {{4, 120}}, "Track data"},
        {1, 109, 248, {{208, 120}, {212, 20}, {216, 6}, {220, 10}, {224, 50}},
         "Sprites informations"},
        {2, 207, 1708, {{4, 1}, {12, 1}, {816, 1}}, "Sprites informations"},
        {2, 208, 1788, {}, "Rooms informations"},
        {2, 209, 1104, {{648, 4}, {1056, 16}, {1060, 5}}, "Willy data"},
        {2, 214, 76, {}, "Sprites informations"},
        {2, 12, 256, {{0, 1}}, "Sprites explosions"},
        {3, 301, 436,
         {{4, 30}, {8, 30}, {12, 30}, {16, 40}, {20, 100}, {24, 80}, {28, 120}, {32, 50}, {36, 11}},
         "Team data"},
        {3, 308, 100, {{4, 10}, {8, 400}, {12, 100}}, "Rooms informations"},
        {5, 507, 952, {{0, 2}}, "Pachinko element informations"},
        {5, 508, 24084, {}, "Pachinko data"},
    };
    std::map<std::uint32_t, int> projects;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "game " << c.gameType << " type " << c.type);
        if (!projects.count(c.gameType))
            projects[c.gameType] = NewProject(c.gameType, "Game " + std::to_string(c.gameType));
        const int p = projects[c.gameType];
        const std::int32_t id = qb::NewItem(p, GroupOf(p, c.type));
        ASSERT_GT(id, 0);
        const qb::ObjectRecord& o = Object(p, id);
        EXPECT_EQ(o.sDescrizione, c.description);
        ASSERT_EQ(o.lpDatiOggetto.size(), c.size);
        ExpectWords(o.lpDatiOggetto, c.words);
    }
}

TEST_F(Commands, NewMapSizeDependsOnTheGameType) {
    const int platform = NewProject(2, "Platform");
    const int shooter = NewProject(0, "Shooter");
    const qb::ObjectRecord& small = Object(platform, qb::NewItem(platform, GroupOf(platform, 6)));
    ASSERT_EQ(small.lpDatiOggetto.size(), 2064u);
    ExpectWords(small.lpDatiOggetto, {{0, 32}, {4, 16}, {8, 16}});
    EXPECT_EQ(small.sDescrizione, "background map");
    const qb::ObjectRecord& big = Object(shooter, qb::NewItem(shooter, GroupOf(shooter, 6)));
    ASSERT_EQ(big.lpDatiOggetto.size(), 16016u);
    ExpectWords(big.lpDatiOggetto, {{0, 20}, {4, 200}, {8, 32}});
}

TEST_F(Commands, NewFileBackedItemsCopyTheDefaultAssets) {
    struct Case {
        std::uint32_t type;
        const char *asset, *first, *second;
        std::size_t size;
        Words words;
    };
    const Case cases[] = {
        {2, "FontDefault16.PNG", "Font", "Font_2", 268, {{260, 16}}},
        {3, "SpritesDefault.png", "Sprites", "Sprites_2", 276, {{260, 32}, {272, 16}}},
        {4, "BackgroundDefault.png", "BackGround", "BackGround_2", 268, {{260, 32}}},
        {5, "test.mp3", "AudioSound", "AudioSound_2", 272, {}},
        {13, "SplashDefault.png", "Splash", "Splash_2", 2808, {{2260, 2}}},
    };
    // Stand-ins for the assets, so that the copy can be told from any other file.
    for (const Case& c : cases) WriteFile(app_.path() / c.asset, std::string("asset:") + c.asset);
    const int p = NewProject(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string ext = c.type == 5 ? ".mp3" : ".png";
        for (const char* title : {c.first, c.second}) {
            const std::int32_t id = qb::NewItem(p, GroupOf(p, c.type));
            ASSERT_GT(id, 0);
            const qb::ObjectRecord& o = Object(p, id);
            const fs::path file = Folder(p) / (std::string(title) + ext);
            EXPECT_EQ(o.sDescrizione, title);
            EXPECT_EQ(PathOf(o), file.string());
            EXPECT_EQ(ReadFile(file), std::string("asset:") + c.asset);
            ASSERT_EQ(o.lpDatiOggetto.size(), c.size);
            std::map<std::size_t, std::string> texts{{0, file.string()}};
            if (c.type == 13) texts[260] = "insert text here!";
            ExpectWords(o.lpDatiOggetto, c.words, texts);
        }
    }
    // The racing game's backgrounds bitmap copies the same picture.
    const int racing = NewProject(1, "Racing");
    const qb::ObjectRecord& bg = Object(racing, qb::NewItem(racing, GroupOf(racing, 104)));
    EXPECT_EQ(bg.sDescrizione, "BackGround");
    EXPECT_EQ(bg.lpDatiOggetto.size(), 268u);
    EXPECT_EQ(ReadFile(Folder(racing) / "BackGround.png"), "asset:BackgroundDefault.png");
}

TEST_F(Commands, NewItemNeverOverwritesAFile) {
    const int p = NewProject(0);
    WriteFile(Folder(p) / "Sprites.png", "mine");
    WriteFile(app_.path() / "SpritesDefault.png", "default");
    const std::int32_t second = qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t third = qb::NewItem(p, GroupOf(p, 3));
    EXPECT_EQ(ReadFile(Folder(p) / "Sprites.png"), "mine");
    EXPECT_EQ(Object(p, second).sDescrizione, "Sprites_2");
    EXPECT_EQ(Object(p, third).sDescrizione, "Sprites_3");
    EXPECT_EQ(ReadFile(Folder(p) / "Sprites_3.png"), "default");
}

TEST_F(Commands, NewItemWithAMissingAssetStillMakesTheItem) {
    const int p = NewProject(0);
    fs::remove(app_.path() / "test.mp3");
    const std::int32_t id = qb::NewItem(p, GroupOf(p, 5));
    ASSERT_GT(id, 0);
    EXPECT_EQ(PathOf(Object(p, id)), (Folder(p) / "AudioSound.mp3").string());
    EXPECT_FALSE(fs::exists(Folder(p) / "AudioSound.mp3"));
}

TEST_F(Commands, NewItemRefusesAFileWhosePathWouldNotFitItsField) {
    const int p = NewProject(0);
    const fs::path deep = Folder(p) / std::string(240, 'd');
    fs::create_directories(deep);
    qb::ProjectAt(p)->sPathProgetto = deep.string();
    const std::size_t before = qb::ProjectAt(p)->objects.size();
    EXPECT_EQ(qb::NewItem(p, GroupOf(p, 3)), 0);
    EXPECT_EQ(qb::ProjectAt(p)->objects.size(), before);
    EXPECT_TRUE(fs::is_empty(deep));
    EXPECT_EQ(app_.messages.texts.size(), 1u);
    // Items without a file are still made there.
    EXPECT_GT(qb::NewItem(p, GroupOf(p, 7)), 0);
}

TEST_F(Commands, NewItemIsSavedWithTheProject) {
    const int p = NewProject(0);
    const std::int32_t id = qb::NewItem(p, GroupOf(p, 7));
    const std::string ini = ReadFile(Folder(p) / "project.ini");
    EXPECT_NE(ini.find("nOggetti=18"), std::string::npos);
    EXPECT_NE(ini.find("[oggetto17]"), std::string::npos);
    EXPECT_NE(ini.find("IDoggetto=" + std::to_string(id)), std::string::npos);
    EXPECT_NE(ini.find("dimDatiOggetto=948"), std::string::npos);
}

TEST_F(Commands, NewItemRefusals) {
    const int p = NewProject(0);
    const std::size_t before = qb::ProjectAt(p)->objects.size();
    EXPECT_EQ(qb::NewItem(p, GroupOf(p, 1)), 0);    // the Parameters group
    EXPECT_EQ(qb::NewItem(p, 17), 0);               // not a group: the Main parameters object
    EXPECT_EQ(qb::NewItem(p, 999), 0);              // no such object
    EXPECT_EQ(qb::NewItem(p + 1, GroupOf(p, 7)), 0);  // no such project
    EXPECT_EQ(qb::ProjectAt(p)->objects.size(), before);
    // Ads and server data: one each.
    for (std::uint32_t type : {120u, 121u}) {
        EXPECT_GT(qb::NewItem(p, GroupOf(p, type)), 0);
        EXPECT_EQ(qb::NewItem(p, GroupOf(p, type)), 0);
    }
    EXPECT_EQ(qb::ProjectAt(p)->objects.size(), before + 2);
}

TEST_F(Commands, MusicGameNewItemSet) {
    const int p = NewProject(4);
    std::vector<std::string> created;
    for (const qb::GroupSpec& g : qb::GroupsOfGameType(4)) {
        const std::int32_t id = qb::NewItem(p, GroupOf(p, g.subtype));
        if (id > 0) created.emplace_back(g.label);
    }
    EXPECT_EQ(created, (std::vector<std::string>{"Backgrounds bitmap", "Fonts bitmap",
                                                 "Sprites bitmap", "Audio data", "Splash bitmap",
                                                 "Ads", "Multiplayer data"}));
    const qb::ObjectRecord& main = qb::ProjectAt(p)->objects[9];
    EXPECT_EQ(main.tipoOggetto, 400u);
    EXPECT_FALSE(qb::IsObjectDeletable(p, main));
}

TEST_F(Commands, CopyItemDuplicatesTheRecord) {
    const int p = NewProject(0);
    const std::int32_t enemy = qb::NewItem(p, GroupOf(p, 7));
    qb::RecordView(Object(p, enemy).lpDatiOggetto).setU32(832, 1234);
    const std::int32_t copy = qb::CopyItem(p, enemy);
    EXPECT_EQ(copy, enemy + 1);
    const qb::ObjectRecord& c = Object(p, copy);
    EXPECT_EQ(c.tipoOggetto, 7u);
    EXPECT_EQ(c.sottoTipoOggetto, 0u);
    EXPECT_EQ(c.sDescrizione, "duplicate");
    EXPECT_EQ(c.lpDatiOggetto, Object(p, enemy).lpDatiOggetto);
    EXPECT_NE(ReadFile(Folder(p) / "project.ini").find("sDescrizione=duplicate"),
              std::string::npos);
    // Copying many times (the object table grows under the copied record) keeps the bytes.
    for (int i = 0; i < 40; ++i) ASSERT_GT(qb::CopyItem(p, enemy), 0);
    EXPECT_EQ(qb::ProjectAt(p)->objects.back().lpDatiOggetto, Object(p, enemy).lpDatiOggetto);
}

TEST_F(Commands, CopyItemRefusals) {
    const int p = NewProject(0);
    const std::int32_t sprites = qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t ads = qb::NewItem(p, GroupOf(p, 120));
    const std::size_t before = qb::ProjectAt(p)->objects.size();
    EXPECT_EQ(qb::CopyItem(p, sprites), 0);  // file-backed items are not copied
    EXPECT_EQ(qb::CopyItem(p, ads), 0);
    EXPECT_EQ(qb::CopyItem(p, 17), 0);       // Main parameters
    EXPECT_EQ(qb::CopyItem(p, 1), 0);        // a group
    EXPECT_EQ(qb::CopyItem(p, 999), 0);
    EXPECT_EQ(qb::ProjectAt(p)->objects.size(), before);
}

TEST_F(Commands, DeleteItemRemovesTheItemsFile) {
    const int p = NewProject(0);
    const std::int32_t sprites = qb::NewItem(p, GroupOf(p, 3));
    const fs::path file = Folder(p) / "Sprites.png";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_TRUE(qb::DeleteItem(p, sprites));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(qb::FindObject(sprites, p), nullptr);
    EXPECT_NE(ReadFile(Folder(p) / "project.ini").find("nOggetti=17"), std::string::npos);

    // An enemy has no file: the folder keeps all of its files.
    qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t enemy = qb::NewItem(p, GroupOf(p, 7));
    EXPECT_TRUE(qb::DeleteItem(p, enemy));
    EXPECT_TRUE(fs::exists(Folder(p) / "Sprites.png"));
    EXPECT_TRUE(fs::exists(Folder(p) / "project.ini"));
}

TEST_F(Commands, DeleteItemNeverRemovesFilesOutsideTheProject) {
    const int p = NewProject(0);
    const fs::path outside = app_.path() / "precious.png";
    WriteFile(outside, "keep me");
    const fs::path sibling = app_.projects() / "Other" / "Sprites.png";
    fs::create_directories(sibling.parent_path());
    WriteFile(sibling, "keep me too");
    // A key the project file keeps across saves: it vanishes if the file itself is deleted.
    WriteFile(Folder(p) / "project.ini",
              ReadFile(Folder(p) / "project.ini") + "[extra]\r\nkeep=1\r\n");
    const std::vector<std::string> paths = {
        outside.string(),
        (Folder(p) / ".." / "Other" / "Sprites.png").string(),
        (Folder(p) / "project.ini").string(),
        "precious.png",  // relative
        Folder(p).string(),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const std::int32_t id = qb::NewItem(p, GroupOf(p, 3));
        qb::RecordView(Object(p, id).lpDatiOggetto).setText(0, 260, path);
        EXPECT_TRUE(qb::DeleteItem(p, id));
        EXPECT_EQ(qb::FindObject(id, p), nullptr);
    }
    EXPECT_EQ(ReadFile(outside), "keep me");
    EXPECT_EQ(ReadFile(sibling), "keep me too");
    EXPECT_NE(ReadFile(Folder(p) / "project.ini").find("keep=1"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(Folder(p)));
}

TEST_F(Commands, DeleteItemRefusesObjectsInUse) {
    const int p = NewProject(0);
    const std::int32_t level = qb::NewItem(p, GroupOf(p, 8));
    qb::RecordView main(Object(p, 17).lpDatiOggetto);
    main.setU32(0, 1);
    main.setU32(4, static_cast<std::uint32_t>(level));
    EXPECT_FALSE(qb::DeleteItem(p, level));
    EXPECT_NE(qb::FindObject(level, p), nullptr);
    EXPECT_FALSE(qb::DeleteItem(p, 17));  // Main parameters
    EXPECT_FALSE(qb::DeleteItem(p, 1));   // a group
    main.setU32(0, 0);
    EXPECT_TRUE(qb::DeleteItem(p, level));
}

TEST_F(Commands, CopyProjectNamesTheCopyAfterItsFolder) {
    const int p = NewProject(0, "My Game");
    qb::NewItem(p, GroupOf(p, 3));
    qb::NewItem(p, GroupOf(p, 5));
    fs::create_directories(Folder(p) / "Release");
    WriteFile(Folder(p) / "Release" / "Game.swf", "built");
    WriteFile(Folder(p) / "notes.txt", "not copied");

    const int first = qb::CopyProject(p);
    ASSERT_GE(first, 0);
    const qb::ProjectRecord* copy = qb::ProjectAt(first);
    const fs::path folder = app_.projects() / "CopyOf_My_Game";
    EXPECT_EQ(copy->sNomeProgetto, "CopyOf_My_Game");
    EXPECT_EQ(fs::path(copy->sPathProgetto).filename(), "CopyOf_My_Game");
    EXPECT_TRUE(fs::exists(folder / "Sprites.png"));
    EXPECT_TRUE(fs::exists(folder / "AudioSound.mp3"));
    EXPECT_FALSE(fs::exists(folder / "Release"));
    EXPECT_FALSE(fs::exists(folder / "notes.txt"));
    ASSERT_EQ(copy->objects.size(), qb::ProjectAt(p)->objects.size());
    // Picture and sound paths point into the copy's folder.
    const qb::ObjectRecord& sprites = copy->objects[17];
    EXPECT_EQ(fs::path(PathOf(sprites)).parent_path(), fs::path(copy->sPathProgetto));
    EXPECT_NE(ReadFile(folder / "project.ini").find("sNomeProgetto=CopyOf_My_Game\r\n"),
              std::string::npos);

    const int second = qb::CopyProject(p);
    ASSERT_GE(second, 0);
    EXPECT_EQ(qb::ProjectAt(second)->sNomeProgetto, "CopyOf_My_Game_2");
    EXPECT_TRUE(fs::exists(app_.projects() / "CopyOf_My_Game_2" / "project.ini"));
    EXPECT_EQ(qb::CopyProject(99), -1);
}

TEST_F(Commands, CopyProjectCleansAndShortensTheName) {
    const int p = NewProject(0, "x");
    qb::ProjectAt(p)->sNomeProgetto = "a:b*c?" + std::string(248, 'n');  // 254 characters
    const int copy = qb::CopyProject(p);
    ASSERT_GE(copy, 0);
    const std::string& name = qb::ProjectAt(copy)->sNomeProgetto;
    EXPECT_EQ(name.rfind("CopyOf_a_b_c_", 0), 0u);
    EXPECT_LE(name.size(), 254u);
    EXPECT_TRUE(fs::exists(app_.projects() / name / "project.ini"));
}

} // namespace

namespace {

// The ID of a process that has ended (its temporaries are litter).
pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// A command whose save fails loses nothing and leaves nothing: Delete item saves first and
// deletes the file after (and never a file another item names), New item and Copy item take
// their item (and its file) back. A save that would write a file the loader refuses is such a
// failure, before anything is written.
TEST_F(Commands, FailedSavesTakeTheCommandBack) {
    const int p = NewProject(0);
    const std::int32_t a = qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t b = qb::NewItem(p, GroupOf(p, 3));
    const fs::path sprites = Folder(p) / "Sprites.png";
    ASSERT_TRUE(fs::exists(Folder(p) / "Sprites_2.png"));
    // b's stored path names a.'s file (as two paths rebased onto the same name do).
    qb::RecordView(Object(p, b).lpDatiOggetto).setText(0, 260, "D:\\old\\Sprites.png");
    const std::int32_t enemy = qb::NewItem(p, GroupOf(p, 7));
    ASSERT_TRUE(qb::SaveProject(p));

    // A record larger than the loader takes makes every save fail.
    qb::AddObject(*qb::ProjectAt(p), 11, 0, Bytes(qb::kMaxRecordSizeOnLoad + 1, 0), "huge", -1);
    const std::string before = ReadFile(Folder(p) / "project.ini");
    const std::vector<std::string> files = FilesIn(Folder(p));
    const std::size_t count = qb::ProjectAt(p)->objects.size();
    app_.messages.texts.clear();
    EXPECT_FALSE(qb::DeleteItem(p, a));
    EXPECT_EQ(qb::ProjectAt(p)->objects[17].IDoggetto, a);  // back in its place
    EXPECT_EQ(qb::NewItem(p, GroupOf(p, 3)), 0);
    EXPECT_EQ(qb::NewItem(p, GroupOf(p, 7)), 0);
    EXPECT_EQ(qb::CopyItem(p, enemy), 0);
    EXPECT_EQ(qb::ProjectAt(p)->objects.size(), count);
    EXPECT_EQ(ReadFile(Folder(p) / "project.ini"), before);
    EXPECT_EQ(FilesIn(Folder(p)), files);  // no new picture, no temporary
    ASSERT_EQ(app_.messages.texts.size(), 4u);
    EXPECT_NE(app_.messages.texts[0].find("would hold more than 16777216 bytes"), std::string::npos)
        << app_.messages.texts[0];
    qb::ProjectAt(p)->objects.pop_back();

    // b goes, but the file it shares with a stays; a takes it along.
    EXPECT_TRUE(qb::DeleteItem(p, b));
    EXPECT_TRUE(fs::exists(sprites));
    EXPECT_TRUE(qb::DeleteItem(p, a));
    EXPECT_FALSE(fs::exists(sprites));
    EXPECT_TRUE(fs::exists(Folder(p) / "Sprites_2.png"));  // named by nobody now, never deleted

    // At the loader's object limit, New item and Copy item are refused with the reason.
    qb::ProjectRecord& project = *qb::ProjectAt(p);
    while (project.objects.size() < qb::kMaxObjectsOnLoad)
        qb::AddObject(project, 11, 0, Bytes{}, "v", -1);
    app_.messages.texts.clear();
    EXPECT_EQ(qb::NewItem(p, GroupOf(p, 3)), 0);
    EXPECT_EQ(qb::CopyItem(p, project.objects.back().IDoggetto), 0);
    EXPECT_EQ(project.objects.size(), qb::kMaxObjectsOnLoad);
    ASSERT_EQ(app_.messages.texts.size(), 2u);
    EXPECT_NE(app_.messages.texts[0].find("at most 100000 objects"), std::string::npos);
    EXPECT_FALSE(fs::exists(sprites));
}

// What a killed command leaves behind (hidden temporaries named after their process) is
// removed by the next save in that folder; files of running processes, and anything else, stay.
TEST_F(Commands, TheNextSaveRemovesTheLitterOfKilledCommands) {
    const int p = NewProject(0);
    const std::string dead = std::to_string(EndedProcess());
    const std::string alive = std::to_string(getpid());
    const std::vector<std::string> litter = {
        ".project.ini." + dead + ".aB3xYz", ".Game.swf." + dead + ".0.tmp",
        ".Game.HTML." + dead + ".12.tmp", ".Sprites.png." + dead + ".new", ".project.ini.Old123"};
    const std::vector<std::string> kept = {".project.ini." + alive + ".aB3xYz", ".hidden",
                                           ".notes.txt." + dead + ".mine", ".project.ini.New123"};
    for (const auto& name : litter) WriteFile(Folder(p) / name, "x");
    for (const auto& name : kept) WriteFile(Folder(p) / name, "x");
    // Earlier versions' temporaries have no process ID: removed once they are old.
    fs::last_write_time(Folder(p) / ".project.ini.Old123",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::create_symlink(Folder(p) / "project.ini", Folder(p) / (".x.png." + dead + ".new"));
    qb::Workspace().projects[p]->sNomeProgetto = "Changed";
    ASSERT_TRUE(qb::SaveProject(p));
    for (const auto& name : litter) EXPECT_FALSE(fs::exists(Folder(p) / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(Folder(p) / name)) << name;
    EXPECT_TRUE(fs::is_symlink(Folder(p) / (".x.png." + dead + ".new")));  // links are not ours
}

// A failed Copy project leaves no CopyOf_ folder; links among the copied files are not
// followed but named.
TEST_F(Commands, CopyProjectLeavesNothingWhenItFailsAndNeverCopiesLinks) {
    const int p = NewProject(0, "Src");
    qb::NewItem(p, GroupOf(p, 3));
    WriteFile(app_.path() / "secret.png", "private");
    fs::create_symlink(app_.path() / "secret.png", Folder(p) / "Linked.png");
    app_.messages.texts.clear();
    const int copy = qb::CopyProject(p);
    ASSERT_GE(copy, 0);
    EXPECT_TRUE(fs::exists(Folder(copy) / "Sprites.png"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Folder(copy) / "Linked.png")));
    ASSERT_EQ(app_.messages.texts.size(), 1u);
    EXPECT_NE(app_.messages.texts[0].find("Linked.png"), std::string::npos);

    // A copy whose project file cannot be loaded is removed again.
    WriteFile(Folder(p) / "project.ini",
              "[main]\r\nsNomeProgetto=Src\r\nversioneProgetto=71\r\n");
    const std::size_t folders = FilesIn(app_.projects()).size();
    EXPECT_EQ(qb::CopyProject(p), -1);
    EXPECT_EQ(FilesIn(app_.projects()).size(), folders);
}

// Delete item removes a link in the project folder, never what it names; a project.ini that is
// a link or a FIFO is never opened, and a FIFO where preferences.ini is expected reads as
// missing (nothing waits on it).
TEST_F(Commands, LinksAndSpecialFilesAreNeverFollowedNorOpened) {
    const int p = NewProject(0, "Links");
    const std::int32_t sprites = qb::NewItem(p, GroupOf(p, 3));
    WriteFile(app_.path() / "secret.png", "private");
    fs::remove(Folder(p) / "Sprites.png");
    fs::create_symlink(app_.path() / "secret.png", Folder(p) / "Sprites.png");
    EXPECT_TRUE(qb::DeleteItem(p, sprites));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Folder(p) / "Sprites.png")));
    EXPECT_EQ(ReadFile(app_.path() / "secret.png"), "private");

    const fs::path linked = app_.projects() / "Linked";
    fs::create_directories(linked);
    fs::create_symlink(Folder(p) / "project.ini", linked / "project.ini");
    const fs::path fifo = app_.projects() / "Fifo";
    fs::create_directories(fifo);
    ASSERT_EQ(mkfifo((fifo / "project.ini").c_str(), 0600), 0);
    app_.messages.texts.clear();
    EXPECT_EQ(qb::LoadProject("Linked"), -1);
    EXPECT_EQ(qb::LoadProject("Fifo"), -1);
    ASSERT_EQ(app_.messages.texts.size(), 2u);
    EXPECT_NE(app_.messages.texts[0].find("symbolic link"), std::string::npos);
    EXPECT_NE(app_.messages.texts[1].find("not a regular file"), std::string::npos);
    std::vector<std::string> listed;
    for (const auto& entry : qb::ListProjects()) listed.push_back(entry.folderName);
    EXPECT_EQ(listed, std::vector<std::string>{"Links"});

    fs::remove(app_.path() / "preferences.ini");
    ASSERT_EQ(mkfifo((app_.path() / "preferences.ini").c_str(), 0600), 0);
    EXPECT_EQ(qb::ReadProfileString(qb::PreferencesPath(), "main", "projectsPath", "none"), "none");
    std::string error;
    EXPECT_FALSE(qb::WriteProfileString(qb::PreferencesPath(), "main", "x", "1", &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos);
}

// On a full disk (a small tmpfs, where this test may mount one) every command fails whole:
// nothing is lost, nothing is left behind, and the same commands work once there is room.
TEST_F(Commands, AFullDiskLosesNothing) {
    const fs::path mountPoint = app_.projects() / "Full";
    fs::create_directories(mountPoint);
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        fs::path at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{mountPoint};

    const int p = NewProject(0, "Full");
    const std::int32_t sprites = qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t enemy = qb::NewItem(p, GroupOf(p, 7));
    ASSERT_GT(sprites, 0);
    ASSERT_GT(enemy, 0);
    const std::string picture = ReadFile(Folder(p) / "Sprites.png");
    // Fill the disk.
    {
        std::FILE* filler = std::fopen((Folder(p) / "filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    const std::string before = ReadFile(Folder(p) / "project.ini");
    const std::vector<std::string> files = FilesIn(Folder(p));
    const std::size_t count = qb::ProjectAt(p)->objects.size();

    EXPECT_FALSE(qb::DeleteItem(p, sprites));
    EXPECT_EQ(qb::NewItem(p, GroupOf(p, 3)), 0);
    EXPECT_EQ(qb::CopyItem(p, enemy), 0);
    qb::ProjectAt(p)->sNomeProgetto = "Renamed";
    EXPECT_FALSE(qb::SaveProject(p));
    qb::ProjectAt(p)->sNomeProgetto = "Full";
    EXPECT_EQ(qb::ProjectAt(p)->objects.size(), count);
    EXPECT_NE(qb::FindObject(sprites, p), nullptr);
    EXPECT_EQ(ReadFile(Folder(p) / "project.ini"), before);
    EXPECT_EQ(ReadFile(Folder(p) / "Sprites.png"), picture);
    EXPECT_EQ(FilesIn(Folder(p)), files);

    fs::remove(Folder(p) / "filler");
    EXPECT_TRUE(qb::DeleteItem(p, sprites));
    EXPECT_FALSE(fs::exists(Folder(p) / "Sprites.png"));
    EXPECT_GT(qb::NewItem(p, GroupOf(p, 3)), 0);
    EXPECT_TRUE(fs::exists(Folder(p) / "Sprites.png"));
}

// New IDs: one more than the largest; once INT32_MAX is taken, the smallest free ones (found
// in one pass, however many objects the project holds).
TEST(ObjectIds, AfterTheLargestThenTheSmallestFree) {
    qb::ProjectRecord project;
    for (std::int32_t id : {4, 1, 9}) qb::AddObject(project, 11, 0, Bytes{}, "v", id);
    std::vector<std::int32_t> ids;
    qb::NewObjectIds(project, 2, ids);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{10, 11}));
    qb::AddObject(project, 11, 0, Bytes{}, "v", INT32_MAX);
    qb::AddObject(project, 11, 0, Bytes{}, "v", 2);
    qb::NewObjectIds(project, 4, ids);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 5, 6, 7}));
    EXPECT_EQ(qb::AddObject(project, 11, 0, Bytes{}, "v", -1), 3);
}
