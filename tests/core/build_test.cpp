// BuildGame end to end in a temporary application folder: the bytes of Game.swf (template,
// scrambled project copy, pictures block, trailer), the keys written into project.ini, the page,
// Release/RemoteData per resource location, the Test-mode switch and its restore, and the
// failures that must not pass as a successful build.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "build/build.h"
#include "build/encoding.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/shootemup_main.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/pictures.h"
#include "platform/profile.h"
#include "support/rgb_png.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
namespace M = qb::layout::shootemup_main;
using qb::BuildMode;
using qb::Bytes;
using qbtest::ReadFile;
using qbtest::WriteFile;

namespace {

// The data record of object i as project.ini text holds it.
Bytes RecordInIni(const std::string& ini, int i) {
    qb::ProfileFile file;
    file.parse(ini);
    const std::string section = "oggetto" + std::to_string(i);
    Bytes out(static_cast<std::size_t>(file.getInt(section, "dimDatiOggetto", 0)), 0);
    for (std::size_t k = 1; (k - 1) * 120 < out.size(); ++k)
        qb::DecodeHexInto(file.getString(section, "lpDatiOggetto_" + std::to_string(k), "", 300),
                          out, (k - 1) * 120);
    return out;
}

// The key names of section main, in file order.
std::vector<std::string> MainKeys(const std::string& ini) {
    std::vector<std::string> keys;
    std::istringstream in(ini);
    std::string line;
    bool inMain = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inMain = line == "[main]";
            continue;
        }
        if (inMain) keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

std::string Unscrambled(std::string text) {
    qb::UnscrambleProjectText(text);
    return text;
}

class BuildTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(qb::BindPixbridge(qbtest::BinDir().string())); }

    // A shoot'em-up (or another game type) in Projects/Game with a Main parameters item that
    // passes validation, saved as the editor would have saved it.
    void MakeProject(std::uint32_t gameType = qb::game::ShootEmUp, const std::string& name = "My Game") {
        folder = app.projects() / "Game";
        fs::create_directories(folder);
        index = qb::AppendProject(qb::InitProjectRecord(gameType, name, folder.string()));
        qb::AddObject(project(), 0, 1, Bytes{}, "Parameters", -1);
        if (gameType == qb::game::ShootEmUp) {
            Bytes main(M::kSize, 0);
            qb::RecordView r(main);
            r.setU32(M::kPlayerShip, 2);
            r.setU32(M::kPlayerFire, 3);
            r.setI32(M::kLevelCount, 1);
            r.setU32(M::kSplashStart, 4);
            r.setU32(M::kSplashEnd, 4);
            r.setU32(M::kDefaultFont, 5);
            r.setI32(M::kGameAreaWidth, 640);
            r.setI32(M::kGameAreaHeight, 480);
            r.setText(M::kLoadingDescription, 260, "Loading...");
            qb::AddObject(project(), 1, 0, main, "Main parameters", -1);
        } else if (gameType == qb::game::Racing) {
            Bytes main(qb::layout::racing_main::kSize, 0);
            qb::RecordView r(main);
            r.setI32(qb::layout::racing_main::kGameAreaWidth, 319);
            r.setI32(qb::layout::racing_main::kGameAreaHeight, 200);
            qb::AddObject(project(), 100, 0, main, "Main parameters", -1);
        }
        ASSERT_TRUE(qb::SaveProject(index));
    }
    qb::ProjectRecord& project() { return *qb::ProjectAt(index); }
    qb::RecordView main() {
        for (auto& object : project().objects)
            if (object.tipoOggetto == 1 || object.tipoOggetto == 100) return object.record();
        ADD_FAILURE() << "no Main parameters";
        return project().objects.back().record();
    }
    void SetLocation(std::uint32_t value) {
        main().setU32(M::kResourceLocation, value);
        if (value == 1) main().setText(M::kResourcePath, 260, "http://example.org/game");
        ASSERT_TRUE(qb::SaveProject(index));
    }
    // A file-backed item whose file lies in the project folder.
    void AddFileItem(std::uint32_t type, const std::string& fileName, std::size_t size = 268) {
        Bytes record(size, 0);
        qb::RecordView(record).setText(0, 260, fileName.empty() ? "" : (folder / fileName).string());
        qb::AddObject(project(), type, 0, record, fileName, -1);
    }
    void AddPicture(std::uint32_t type, const std::string& fileName, int w, int h,
                    const std::vector<std::uint32_t>& pixels) {
        ASSERT_TRUE(qbtest::WriteRgbPng((folder / fileName).string(), w, h, pixels));
        AddFileItem(type, fileName, type == 13 ? qb::layout::splash_bitmap::kSize : 268);
    }
    std::string Ini() { return ReadFile(folder / "project.ini"); }
    std::string Template(const std::string& name = "Quillbox.DLL") { return ReadFile(app.path() / name); }
    std::vector<std::string> Errors() {
        std::vector<std::string> errors;
        for (const auto& t : app.messages.texts)
            if (t.rfind("#error '", 0) == 0) errors.push_back(t);
        return errors;
    }

    qbtest::TempAppFolder app;
    fs::path folder;
    int index = -1;
};

TEST_F(BuildTest, CompileWritesTemplateScrambledProjectAndTrailer) {
    MakeProject();
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_TRUE(app.messages.texts.empty());

    const std::string ini = Ini();
    const std::string game = ReadFile(folder / "Release" / "Game.swf");
    const std::string engine = Template();
    ASSERT_EQ(game.size(), engine.size() + ini.size() + 16);
    EXPECT_EQ(game.substr(0, engine.size()), engine);
    // Without embedded pictures the trailer is eight zeros and the size of the copy.
    EXPECT_EQ(game.substr(game.size() - 16), "00000000" + qb::FormatDecimal8(ini.size()));
    const std::string copy = game.substr(engine.size(), ini.size());
    EXPECT_EQ(copy.substr(0, 8), "[nbjo]?!");  // "[main]" CR LF, scrambled
    EXPECT_EQ(Unscrambled(copy), ini);

    // The build keys follow the project's own keys, in their order.
    const std::vector<std::string> expected{
        "sNomeProgetto", "tipoGioco", "nOggetti", "versioneProgetto", "check", "dimX", "dimY",
        "compilazioneTipo", "sPathExternalFiles", "nExternalObj", "descriptionWhileLoading"};
    EXPECT_EQ(MainKeys(ini), expected);
    EXPECT_NE(ini.find("\r\ncheck=1\r\ndimX=640\r\ndimY=480\r\ncompilazioneTipo=0\r\n"
                       "sPathExternalFiles=\r\nnExternalObj=0\r\n"
                       "descriptionWhileLoading=Loading...\r\n"),
              std::string::npos)
        << ini;

    // The page is written beside the project, never into Release, from the shipped template:
    // same length, name and game area filled in.
    const std::string page = ReadFile(folder / "Game.HTML");
    EXPECT_EQ(page.size(), ReadFile(app.path() / "Game.HTML").size());
    EXPECT_NE(page.find("<title>My Game "), std::string::npos);
    EXPECT_NE(page.find("data=\"Game.swf\" width=\"640 "), std::string::npos);
    EXPECT_NE(page.find(" height=\"480 "), std::string::npos);
    EXPECT_EQ(page.find_first_of("$+%"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.HTML"));
    EXPECT_FALSE(fs::exists(folder / "Game.swf"));

    // Building again without changes gives the same game and leaves project.ini as it was.
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_EQ(ReadFile(folder / "Release" / "Game.swf"), game);
    EXPECT_EQ(Ini(), ini);
}

TEST_F(BuildTest, TextsFromRecordsCannotAddLinesToTheProjectFile) {
    MakeProject();
    // A hand-edited record: the loading text holds a line break and a key of its own.
    main().setText(M::kLoadingDescription, 260, "Wait\r\ncheck=0\r\n[oggetto0]");
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    const std::string ini = Ini();
    EXPECT_NE(ini.find("\r\ndescriptionWhileLoading=Wait\r\n[oggetto0]\r\nIDoggetto="),
              std::string::npos)
        << ini;
    EXPECT_EQ(ini.find("check=0"), std::string::npos);
}

TEST_F(BuildTest, PageTemplatePlaceholdersAreFilledInPlace) {
    MakeProject(qb::game::ShootEmUp, "Ab");
    const std::string page = "<t>$ x</t> w=+    h=%    end+";
    WriteFile(app.path() / "Game.HTML", page);
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    // The name overwrites the blank behind "$"; a width at the very end is cut.
    EXPECT_EQ(ReadFile(folder / "Game.HTML"), "<t>Abx</t> w=640  h=480  end6");
}

TEST(PagePlaceholders, SubstitutionRules) {
    auto run = [](const std::string& page, const std::string& name, int w, int h) {
        std::istringstream in(page);
        std::string out;
        EXPECT_TRUE(qb::SubstitutePagePlaceholders(
            in, [&out](const char* d, std::size_t n) { out.append(d, n); return true; }, name, w, h));
        EXPECT_EQ(out.size(), page.size());
        return out;
    };
    EXPECT_EQ(run("$ x", "Ab", 1, 2), "Abx");
    // A name that starts with "+" is overwritten by the width at the same position.
    EXPECT_EQ(run("[$     ]", "+b", 640, 480), "[640   ]");
    // The walk goes on over the substituted text: a "%" in the name becomes the height.
    EXPECT_EQ(run("$     ", "a%", 640, 480), "a480  ");
    // Placeholders at the end never make the page longer.
    EXPECT_EQ(run("ab%", "n", 1, 12345), "ab1");
    EXPECT_EQ(run("$", "Long name", 1, 2), "L");
    EXPECT_EQ(run("", "n", 1, 2), "");
    EXPECT_EQ(run("+%", "n", -7, 9), "-7");
    // An empty name leaves the "$".
    EXPECT_EQ(run("$+", "", 5, 6), "$5");

    // Placeholders around the points where a long page is processed in pieces: a name that
    // runs across the first 64 KiB boundary, a "$" covered by an earlier name (not replaced
    // again), and a name cut at the end of the page.
    std::string page(200000, '.');
    page[65530] = '$';
    page[65550] = '$';
    page[131060] = '$';
    page[150000] = '+';
    page[199980] = '%';
    page[199990] = '$';
    std::string expected = page;
    const std::string name(40, 'N');
    expected.replace(65530, 40, name);
    expected.replace(131060, 40, name);
    expected.replace(150000, 3, "800");
    expected.replace(199980, 3, "600");
    expected.replace(199990, 10, name.substr(0, 10));
    const std::string out = run(page, name, 800, 600);
    const auto mismatch = std::mismatch(out.begin(), out.end(), expected.begin(), expected.end());
    EXPECT_TRUE(out == expected) << "first difference at " << (mismatch.first - out.begin());
}

TEST_F(BuildTest, ResourceLocationDecidesRemoteData) {
    MakeProject();
    AddFileItem(5, "sound.mp3");
    WriteFile(folder / "sound.mp3", "ID3 mp3");
    AddPicture(3, "sprites.png", 1, 1, {0xFF0000});
    WriteFile(folder / "Font.PNG", "png in capitals");  // matched without regard to case
    const fs::path remote = folder / "Release" / "RemoteData";

    // Location 0: an earlier RemoteData is emptied and removed, not made again.
    fs::create_directories(remote);
    WriteFile(remote / "old.png", "x");
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_FALSE(fs::exists(remote));

    // Location 1: made again with the project's PNG and MP3 files only.
    SetLocation(1);
    fs::create_directories(remote);
    WriteFile(remote / "old.png", "x");
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(remote)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Font.PNG", "sound.mp3", "sprites.png"}));
    EXPECT_EQ(ReadFile(remote / "sound.mp3"), "ID3 mp3");
    const std::string ini = Ini();
    EXPECT_NE(ini.find("\r\ncompilazioneTipo=1\r\nsPathExternalFiles=http://example.org/game/\r\n"
                       "nExternalObj=2\r\n"),
              std::string::npos);

    // Location 2: removed again, the pictures go into the game file.
    SetLocation(2);
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_FALSE(fs::exists(remote));
    const std::string game = ReadFile(folder / "Release" / "Game.swf");
    EXPECT_EQ(game.substr(game.size() - 16, 8), "00000018");  // one 1 x 1 picture: 16 + 2 bytes
}

TEST_F(BuildTest, EmbeddedPicturesBlock) {
    MakeProject();
    SetLocation(2);
    AddPicture(3, "a.png", 2, 1, {0xFFFFFF, 0xFF0000});
    AddPicture(104, "racing.png", 1, 1, {0x000000});          // type 104 is never embedded
    AddFileItem(2, "");                                        // no file name: no entry
    AddFileItem(13, "broken.png", qb::layout::splash_bitmap::kSize);
    WriteFile(folder / "broken.png", "BM not a png");          // cannot be decoded: 0 x 0
    AddPicture(4, "c.png", 1, 3, {0x00FF00, 0x0000FF, 0x0F1F2F});
    ASSERT_TRUE(qb::SaveProject(index));

    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_TRUE(Errors().empty());
    const std::string block = "00000002" "00000001" "--8a"
                              "00000000" "00000000"
                              "00000001" "00000003" "dW" "ap" "as";
    const std::string ini = Ini();
    const std::string game = ReadFile(folder / "Release" / "Game.swf");
    const std::string engine = Template();
    ASSERT_EQ(game.size(), engine.size() + ini.size() + block.size() + 16);
    EXPECT_EQ(game.substr(engine.size() + ini.size(), block.size()), block);
    EXPECT_EQ(game.substr(game.size() - 16), qb::FormatDecimal8(block.size()) + qb::FormatDecimal8(ini.size()));

    // The same block comes straight from EncodeEmbeddedImages, and nothing for other locations.
    const qb::EmbeddedPictures pictures = qb::EncodeEmbeddedImages(index, 2);
    EXPECT_EQ(pictures.block(), block);
    EXPECT_EQ(pictures.size, block.size());
    EXPECT_EQ(pictures.count(), 3u);
    EXPECT_FALSE(pictures.tooLarge);
    EXPECT_EQ(qb::EncodeEmbeddedImages(index, 0).size, 0u);
    EXPECT_TRUE(qb::EncodeEmbeddedImages(index, 1).entries.empty());
}

TEST_F(BuildTest, PixelCharacters) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0xFFFFFF, "--"}, {0x000000, "aa"}, {0xFF0000, "8a"}, {0x00FF00, "dW"},
        {0x0000FF, "ap"}, {0x0F0F0F, "aa"}, {0x123456, "e1"}, {0x808080, "Ii"},
    };
    for (const auto& [rgb, chars] : cases) {
        char out[2];
        qb::EncodePixel(rgb, out);
        EXPECT_EQ(std::string(out, 2), chars) << std::hex << rgb;
    }
}

TEST_F(BuildTest, TestModeBuildsBesideTheProjectAndRestoresTheLocation) {
    MakeProject();
    SetLocation(1);
    fs::create_directories(folder / "Release");
    WriteFile(folder / "Release" / "keep.txt", "mine");

    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Test));
    // Beside the project; an existing Release folder is left alone.
    const std::string game = ReadFile(folder / "Game.swf");
    ASSERT_FALSE(game.empty());
    EXPECT_EQ(ReadFile(folder / "Release" / "keep.txt"), "mine");
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.swf"));

    // The key and the appended copy say 0; the record is back to 1 in memory and on disk.
    const std::string ini = Ini();
    EXPECT_NE(ini.find("\r\ncompilazioneTipo=0\r\n"), std::string::npos);
    const std::uint32_t s = static_cast<std::uint32_t>(std::stoul(game.substr(game.size() - 8)));
    const std::string copy = Unscrambled(game.substr(game.size() - 16 - s, s));
    EXPECT_NE(copy.find("\r\ncompilazioneTipo=0\r\n"), std::string::npos);
    Bytes copied = RecordInIni(copy, 1);
    EXPECT_EQ(qb::RecordView(copied).u32(M::kResourceLocation), 0u);
    EXPECT_EQ(main().u32(M::kResourceLocation), 1u);
    Bytes saved = RecordInIni(ini, 1);
    EXPECT_EQ(qb::RecordView(saved).u32(M::kResourceLocation), 1u);

    // A test build without Release leaves none behind.
    fs::remove_all(folder / "Release");
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Test));
    EXPECT_FALSE(fs::exists(folder / "Release"));
}

TEST_F(BuildTest, TestModeRestoresTheLocationAfterAFailedBuild) {
    MakeProject();
    SetLocation(1);
    main().setU32(M::kPlayerShip, 0);
    ASSERT_TRUE(qb::SaveProject(index));
    const std::string before = Ini();

    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Test));
    EXPECT_EQ(Errors(), std::vector<std::string>{"#error 'no player's ship!': Main parameters"});
    EXPECT_EQ(app.messages.captions.back(), "Quillbox");
    EXPECT_EQ(main().u32(M::kResourceLocation), 1u);
    const std::string after = Ini();
    Bytes saved = RecordInIni(after, 1);
    EXPECT_EQ(qb::RecordView(saved).u32(M::kResourceLocation), 1u);
    // Only `check` was written.
    EXPECT_EQ(after.find("dimX="), std::string::npos);
    EXPECT_NE(after.find("\r\ncheck=1\r\n"), std::string::npos);
    EXPECT_EQ(after.size(), before.size() + std::string("check=1\r\n").size());
    EXPECT_FALSE(fs::exists(folder / "Game.swf"));
    EXPECT_FALSE(fs::exists(folder / "Game.HTML"));

    // Embedded resources are not switched for a test build.
    SetLocation(2);
    main().setU32(M::kPlayerShip, 2);
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Test));
    EXPECT_NE(Ini().find("\r\ncompilazioneTipo=2\r\n"), std::string::npos);
}

TEST_F(BuildTest, GameAreaMessageWinsAndOnlyShootEmUpsHaveAMinimum) {
    MakeProject();
    main().setI32(M::kGameAreaWidth, 319);
    main().setU32(M::kSplashEnd, 0);  // a validation error too
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_EQ(Errors(), std::vector<std::string>{"#error 'Game area' too small!"});
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.swf"));
    qb::ResetWorkspace();

    MakeProject(qb::game::Racing);
    EXPECT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_NE(Ini().find("\r\ndimX=319\r\ndimY=200\r\n"), std::string::npos);
}

TEST_F(BuildTest, UnwritableProjectFileFailsTheWriteTest) {
    MakeProject();
    fs::remove(folder / "project.ini");
    fs::create_directory(folder / "project.ini");  // exists, and can be neither read nor replaced
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_EQ(Errors(), std::vector<std::string>{"#error 'writing'"});
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.swf"));
    EXPECT_TRUE(fs::is_directory(folder / "project.ini"));
}

TEST_F(BuildTest, ReadOnlyProjectFileThatAlreadyHoldsCheckFailsTheWriteTest) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    MakeProject();
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    fs::permissions(folder / "project.ini", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_EQ(Errors(), std::vector<std::string>{"#error 'writing'"});
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(BuildTest, MissingTemplatesFailTheBuildAndNameTheFile) {
    MakeProject();
    fs::remove(app.path() / "Quillbox.DLL");
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find((app.path() / "Quillbox.DLL").string()), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.swf"));
    EXPECT_FALSE(fs::exists(folder / "Game.HTML"));
    EXPECT_EQ(Ini().find("dimX="), std::string::npos);
    EXPECT_NE(Ini().find("\r\ncheck=1\r\n"), std::string::npos);

    // The page template: missing, or a folder in its place.
    app.messages.texts.clear();
    fs::copy_file(qbtest::SourceDir() / "assets" / "Quillbox.DLL", app.path() / "Quillbox.DLL");
    fs::remove(app.path() / "Game.HTML");
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Test));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find((app.path() / "Game.HTML").string()), std::string::npos);
    fs::create_directory(app.path() / "Game.HTML");
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Test));
    EXPECT_FALSE(fs::exists(folder / "Game.swf"));
    EXPECT_FALSE(fs::exists(folder / "Game.HTML"));

    // A game-area preset that names no template.
    fs::remove(app.path() / "Game.HTML");
    fs::copy_file(qbtest::SourceDir() / "assets" / "Game.HTML", app.path() / "Game.HTML");
    app.messages.texts.clear();
    main().setU32(M::kGameAreaPreset, 5);
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_EQ(Errors(), std::vector<std::string>{"#error 'no engine template for game area preset 5'"});
}

TEST_F(BuildTest, EngineTemplateFollowsThePresetAndIsCopiedByteForByte) {
    MakeProject();
    main().setU32(M::kGameAreaPreset, 4);
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    const std::string four = Template("Quillbox4.DLL");
    EXPECT_EQ(ReadFile(folder / "Release" / "Game.swf").substr(0, four.size()), four);

    // A large template of arbitrary bytes, NULs and line ends included.
    std::string big(5 * 1024 * 1024 + 17, '\0');
    std::mt19937 random(7);
    for (char& c : big) c = static_cast<char>(random());
    WriteFile(app.path() / "Quillbox.DLL", big);
    main().setU32(M::kGameAreaPreset, 0);
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    const std::string game = ReadFile(folder / "Release" / "Game.swf");
    const std::string ini = Ini();
    ASSERT_EQ(game.size(), big.size() + ini.size() + 16);
    EXPECT_TRUE(game.compare(0, big.size(), big) == 0);
}

TEST_F(BuildTest, SizesTheTrailerCannotHoldFailTheBuild) {
    MakeProject();
    SetLocation(2);
    // Ten entries of 2 x 2500 x 2000 characters: the block passes 99,999,999 bytes.
    std::vector<std::uint32_t> pixels(2500u * 2000u, 0x336699);
    ASSERT_TRUE(qbtest::WriteRgbPng((folder / "big.png").string(), 2500, 2000, pixels));
    for (int i = 0; i < 10; ++i) AddFileItem(4, "big.png");
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0].rfind("#error 'embedded pictures too large'", 0), 0u) << Errors()[0];
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.swf"));

    // Nine fit.
    project().objects.pop_back();
    const qb::EmbeddedPictures nine = qb::EncodeEmbeddedImages(index, 2);
    EXPECT_FALSE(nine.tooLarge);
    EXPECT_EQ(nine.size, 9u * (16 + 2u * 2500 * 2000));
}

TEST_F(BuildTest, ProjectFileTooLargeForTheTrailerFailsTheBuild) {
    MakeProject();
    // Records of 50 MB in all are written as 100 MB of hex digits.
    for (int i = 0; i < 4; ++i)
        qb::AddObject(project(), 11, 0, Bytes(12'500'000, 0x5A), "huge", -1);
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0].rfind("#error 'project file too large'", 0), 0u) << Errors()[0];
    EXPECT_FALSE(fs::exists(folder / "Release" / "Game.swf"));
}

TEST_F(BuildTest, BadRecordsAreReadSafely) {
    MakeProject();
    SetLocation(2);
    // Records far too short for what is read from them, or holding counts of any value.
    qb::AddObject(project(), 9, 0, Bytes{1}, "short ship", -1);
    qb::AddObject(project(), 3, 0, Bytes(3, 'x'), "short path", -1);  // "xxx": no such picture
    Bytes level(16, 0xFF);
    qb::AddObject(project(), 8, 0, level, "level", -1);
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_EQ(Errors(), std::vector<std::string>{"#error 'no explosion': short ship"});

    // Without the ship the build goes through; the picture that cannot be read is 0 x 0.
    project().objects.erase(project().objects.end() - 3);
    app.messages.texts.clear();
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    const std::string game = ReadFile(folder / "Release" / "Game.swf");
    EXPECT_EQ(game.substr(game.size() - 16 - 16, 24), "0000000000000000" "00000016");
}

} // namespace

namespace {

// How many times a file of that name was put in place in the folder while run() ran (each save
// renames a new file over it).
int ReplacementsOf(const fs::path& folder, const std::string& name, const std::function<void()>& run) {
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return -1;
    inotify_add_watch(fd, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    run();
    int count = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len && name == event->name) ++count;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    close(fd);
    return count;
}

} // namespace

// The resource location a test build switches to exists only in the game: the project file is
// written once, with the project's own location, so no moment (a kill, a full disk) can leave
// the switched value in it.
TEST_F(BuildTest, TestBuildWritesTheProjectFileOnceWithItsOwnLocation) {
    MakeProject();
    SetLocation(1);
    const int saves = ReplacementsOf(folder, "project.ini", [&] {
        ASSERT_TRUE(qb::BuildGame(index, BuildMode::Test));
    });
    EXPECT_EQ(saves, 1);
    Bytes saved = RecordInIni(Ini(), 1);
    EXPECT_EQ(qb::RecordView(saved).u32(M::kResourceLocation), 1u);
    const std::string game = ReadFile(folder / "Game.swf");
    const std::uint32_t s = static_cast<std::uint32_t>(std::stoul(game.substr(game.size() - 8)));
    const std::string copy = Unscrambled(game.substr(game.size() - 16 - s, s));
    Bytes copied = RecordInIni(copy, 1);
    EXPECT_EQ(qb::RecordView(copied).u32(M::kResourceLocation), 0u);
    // Apart from the switched field, the copy is the file as saved.
    EXPECT_EQ(copy.size(), Ini().size());
    // A second build changes nothing on disk.
    const std::string before = Ini();
    EXPECT_EQ(ReplacementsOf(folder, "project.ini", [&] { qb::BuildGame(index, BuildMode::Test); }), 0);
    EXPECT_EQ(Ini(), before);
}

// The name goes into the page's markup: <, >, & and " are escaped, other names are unchanged.
TEST_F(BuildTest, ThePageGetsTheProjectNameEscaped) {
    MakeProject(qb::game::ShootEmUp, "</title><script>alert(\"x\")</script> & co");
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Test));
    const std::string page = ReadFile(folder / "Game.HTML");
    EXPECT_EQ(page.size(), ReadFile(app.path() / "Game.HTML").size());
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("<title>&lt;/title&gt;&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
                        "&amp; co "),
              std::string::npos);
    EXPECT_EQ(qb::EscapePageText("Plain name 1+2%"), "Plain name 1+2%");
}

// A shared project folder may hold links made by anyone. The build never deletes, writes or
// copies anything outside the project folder through one: linked Release or RemoteData
// folders are refused before anything is touched, a linked project.ini is replaced by the
// project's own file, and linked pictures and sounds are left out and named.
TEST_F(BuildTest, LinksInTheProjectFolderAreNeverFollowed) {
    MakeProject();
    SetLocation(1);
    const fs::path outside = app.path() / "Outside";
    fs::create_directories(outside);
    WriteFile(outside / "precious.txt", "keep");
    WriteFile(outside / "secret.png", "not for the web");
    WriteFile(outside / "other.ini", "[x]\r\ny=1\r\n");
    auto outsideIntact = [&] {
        EXPECT_EQ(ReadFile(outside / "precious.txt"), "keep");
        EXPECT_EQ(ReadFile(outside / "secret.png"), "not for the web");
        EXPECT_EQ(ReadFile(outside / "other.ini"), "[x]\r\ny=1\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 3);
    };

    // Release/RemoteData, then Release itself, as links: refused, nothing deleted.
    fs::create_directories(folder / "Release");
    fs::create_directory_symlink(outside, folder / "Release" / "RemoteData");
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("RemoteData is a symbolic link"), std::string::npos) << Errors()[0];
    outsideIntact();
    fs::remove_all(folder / "Release");
    fs::create_directory_symlink(outside, folder / "Release");
    app.messages.texts.clear();
    EXPECT_FALSE(qb::BuildGame(index, BuildMode::Compile));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("Release is a symbolic link"), std::string::npos) << Errors()[0];
    outsideIntact();
    fs::remove(folder / "Release");

    // project.ini as a link: the build (and every save) replaces the link, never the file.
    fs::remove(folder / "project.ini");
    fs::create_symlink(outside / "other.ini", folder / "project.ini");
    app.messages.texts.clear();
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile)) << app.messages.texts.at(0);
    EXPECT_FALSE(fs::is_symlink(folder / "project.ini"));
    EXPECT_NE(Ini().find("sNomeProgetto=My Game"), std::string::npos);
    outsideIntact();
    fs::remove(folder / "project.ini");
    fs::create_symlink(outside / "other.ini", folder / "project.ini");
    ASSERT_TRUE(qb::SaveProject(index));
    EXPECT_FALSE(fs::is_symlink(folder / "project.ini"));
    outsideIntact();

    // Linked pictures and sounds stay out of RemoteData and of the game, and are named.
    WriteFile(folder / "mine.png", "png");
    fs::create_symlink(outside / "secret.png", folder / "Secret.png");
    fs::create_symlink(outside / "precious.txt", folder / "tune.mp3");
    app.messages.texts.clear();
    ASSERT_TRUE(qb::BuildGame(index, BuildMode::Compile));
    EXPECT_TRUE(fs::exists(folder / "Release" / "RemoteData" / "mine.png"));
    EXPECT_FALSE(fs::exists(folder / "Release" / "RemoteData" / "Secret.png"));
    EXPECT_FALSE(fs::exists(folder / "Release" / "RemoteData" / "tune.mp3"));
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_NE(app.messages.texts[0].find("Secret.png, tune.mp3"), std::string::npos)
        << app.messages.texts[0];
    // Embedded: a picture item whose file is a link gives an empty entry.
    SetLocation(2);
    AddFileItem(3, "Secret.png", 276);
    const qb::EmbeddedPictures pictures = qb::EncodeEmbeddedImages(index, 2);
    ASSERT_EQ(pictures.count(), 1u);
    EXPECT_EQ(pictures.block(), "0000000000000000");
    EXPECT_EQ(pictures.skippedLinks, std::vector<std::string>{"Secret.png"});
    outsideIntact();
}
