// Built games read back: the scramble and its inverse, the 8-digit sizes, the trailer reader
// with files that are not games or whose trailer lies, the engine template stand-ins and the
// page template, and quillbox-cli's validate, build, inspect and extract run as a program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "build/build.h"
#include "build/encoding.h"
#include "build/gamefile.h"
#include "model/catalogue.h"
#include "model/layouts/shootemup_main.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/profile.h"
#include "support/rgb_png.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
namespace M = qb::layout::shootemup_main;
using qb::Bytes;
using qbtest::ReadFile;
using qbtest::WriteFile;

namespace {

std::string Scrambled(std::string text) {
    qb::ScrambleProjectText(text);
    return text;
}

TEST(ScrambleProjectText, SwapsLineEndsAndTurnsLettersAndDigits) {
    EXPECT_EQ(Scrambled("Zz9?!"), "Aa0\r\n");
    EXPECT_EQ(Scrambled("dimX=640\r\n"), "ejnY=751?!");
    EXPECT_EQ(Scrambled("\r\n"), "?!");
    EXPECT_EQ(Scrambled("aAyY08"), "bBzZ19");
    // Long texts go 16 bytes at a time, with the rest one by one.
    std::string lines, expected;
    for (int i = 0; i < 5; ++i) lines += "dimX=640\r\n", expected += "ejnY=751?!";
    EXPECT_EQ(Scrambled(lines), expected);
    // Everything else stays, bytes of 128 and above included.
    const std::string others = std::string("=[] _-.,;:/\\\t\"'#$%&+") + '\0' + "\x80\xe9\xff";
    EXPECT_EQ(Scrambled(others), others);

    // A permutation of the byte values, undone by the inverse.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string scrambled = Scrambled(all);
    EXPECT_EQ(std::set<char>(scrambled.begin(), scrambled.end()).size(), 256u);
    qb::UnscrambleProjectText(scrambled);
    EXPECT_EQ(scrambled, all);
}

TEST(FormatDecimal8, PadsToEightDigitsAndReadsBackStrictly) {
    EXPECT_EQ(qb::FormatDecimal8(5), "00000005");
    EXPECT_EQ(qb::FormatDecimal8(0), "00000000");
    EXPECT_EQ(qb::FormatDecimal8(12345678), "12345678");
    EXPECT_EQ(qb::FormatDecimal8(qb::kMaxTrailerValue), "99999999");
    std::uint32_t v = 0;
    EXPECT_TRUE(qb::ParseDecimal8("00000042", v));
    EXPECT_EQ(v, 42u);
    for (const char* bad : {"1234567", "123456789", "1234567a", " 1234567", "+1234567", "-0000001"})
        EXPECT_FALSE(qb::ParseDecimal8(bad, v)) << bad;
}

// A game file: template, scrambled project, pictures block, trailer.
std::string GameBytes(const std::string& engine, const std::string& project, const std::string& block) {
    return engine + Scrambled(project) + block + qb::FormatDecimal8(block.size()) +
           qb::FormatDecimal8(project.size());
}

TEST(GameFileReader, ReadsWhatTheBuildAppends) {
    const std::string project = "[main]\r\nsNomeProgetto=Test\r\n";
    const std::string block = std::string("00000002" "00000001" "--8a") + "00000000" "00000000" +
                              "00000001" "00000001" "e1";
    qb::GameFileContents game;
    std::string error;
    ASSERT_TRUE(qb::ParseGameFile(GameBytes("FWS\x0a engine", project, block), game, &error)) << error;
    EXPECT_EQ(game.projectSize, project.size());
    EXPECT_EQ(game.pictureSize, block.size());
    EXPECT_EQ(game.projectText, project);
    ASSERT_EQ(game.pictures.size(), 3u);
    EXPECT_EQ(game.pictures[0].width, 2u);
    EXPECT_EQ(game.pictures[1].width, 0u);
    EXPECT_EQ(game.pictures[1].height, 0u);

    // Each 4-bit channel widens to 8 bits by repeating it.
    std::uint8_t row[6] = {};
    qb::DecodePictureRow(game, game.pictures[0], 0, row);
    EXPECT_EQ(std::vector<int>(row, row + 6), (std::vector<int>{255, 255, 255, 255, 0, 0}));
    qb::DecodePictureRow(game, game.pictures[2], 0, row);
    EXPECT_EQ(std::vector<int>(row, row + 3), (std::vector<int>{0x11, 0x33, 0x55}));

    // No template and no project at all is still a well-formed game file.
    ASSERT_TRUE(qb::ParseGameFile("0000000000000000", game, &error)) << error;
    EXPECT_EQ(game.projectText, "");
}

TEST(GameFileReader, RefusesFilesThatAreNotGamesOrWhoseTrailerLies) {
    const std::string project = "[main]\r\n";
    const std::vector<std::string> bad = {
        "",
        "short",
        "FWS\x0a no trailer at all, just a movie",
        "engine" + Scrambled(project) + "0000000O" + qb::FormatDecimal8(project.size()),  // letter O
        "engine" + Scrambled(project) + "00000000" + "+0000008",
        // S larger than the file.
        "x" + qb::FormatDecimal8(0) + qb::FormatDecimal8(99999999),
        // S + E larger than the file.
        Scrambled(project) + "00000020" + qb::FormatDecimal8(project.size()),
        // A picture that claims more pixels than the block holds.
        GameBytes("e", project, "00000002" "00000002" "aaaa"),
        // A block that ends inside a picture header.
        GameBytes("e", project, "00000001" "00000001" "aa" "0000"),
        // A character outside the image character set.
        GameBytes("e", project, "00000001" "00000001" "a*"),
        // Dimensions that are not digits.
        GameBytes("e", project, "0000000x" "00000001" "aa"),
        // Huge dimensions in a small block (their product must not wrap).
        GameBytes("e", project, "99999999" "99999999" "aa"),
    };
    for (const std::string& file : bad) {
        qb::GameFileContents game;
        std::string error;
        EXPECT_FALSE(qb::ParseGameFile(file, game, &error)) << file;
        EXPECT_FALSE(error.empty()) << file;
        EXPECT_TRUE(game.pictures.empty());
    }
}

TEST(GameFileReader, ReadsOnlyTheTailOfAFileOnDisk) {
    qbtest::TempAppFolder app;
    const fs::path path = app.path() / "Game.swf";
    std::string error;
    qb::GameFileContents game;
    EXPECT_FALSE(qb::ReadGameFile((app.path() / "missing.swf").string(), game, &error));
    EXPECT_FALSE(qb::ReadGameFile(app.path().string(), game, &error));  // a folder

    // A large template in front changes nothing.
    const std::string project = "[main]\r\ntipoGioco=6\r\n";
    WriteFile(path, GameBytes(std::string(3'000'000, '\xAB'), project, ""));
    ASSERT_TRUE(qb::ReadGameFile(path.string(), game, &error)) << error;
    EXPECT_EQ(game.projectText, project);
    EXPECT_EQ(game.fileSize, 3'000'000 + project.size() + 16);

    // A trailer claiming nearly 200 MB in a small file is refused before anything is read.
    WriteFile(path, "tiny" + std::string("99999999") + "99999999");
    EXPECT_FALSE(qb::ReadGameFile(path.string(), game, &error));
    EXPECT_NE(error.find("S=99999999"), std::string::npos) << error;
}

TEST(EngineTemplates, AreMinimalSwfMoviesOfTheirGameArea) {
    const std::pair<const char*, std::pair<int, int>> templates[] = {
        {"Quillbox.DLL", {320, 256}},  {"Quillbox1.DLL", {550, 400}}, {"Quillbox2.DLL", {600, 400}},
        {"Quillbox3.DLL", {640, 480}}, {"Quillbox4.DLL", {800, 600}},
    };
    for (std::uint32_t i = 0; i < 5; ++i) {
        const auto& [name, size] = templates[i];
        EXPECT_EQ(qb::EngineTemplateName(i), name);
        const std::string movie = ReadFile(qbtest::SourceDir() / "assets" / name);
        ASSERT_GT(movie.size(), 21u) << name;
        EXPECT_EQ(movie.substr(0, 3), "FWS") << name;
        const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(movie[k]); };
        const std::uint32_t length = byte(4) | byte(5) << 8 | byte(6) << 16 | std::uint32_t(byte(7)) << 24;
        EXPECT_EQ(length, movie.size()) << name;
        // The frame rectangle: 5 bits of field width, then Xmin, Xmax, Ymin, Ymax in twips.
        std::size_t bit = 8 * 8;
        auto bits = [&](int n) {
            std::uint32_t v = 0;
            for (int k = 0; k < n; ++k, ++bit) v = (v << 1) | ((byte(bit / 8) >> (7 - bit % 8)) & 1);
            return v;
        };
        const int nbits = static_cast<int>(bits(5));
        EXPECT_EQ(bits(nbits), 0u);
        EXPECT_EQ(bits(nbits), std::uint32_t(size.first * 20)) << name;
        EXPECT_EQ(bits(nbits), 0u);
        EXPECT_EQ(bits(nbits), std::uint32_t(size.second * 20)) << name;
        // The movie ends with its End tag.
        EXPECT_EQ(movie.substr(movie.size() - 2), std::string(2, '\0')) << name;
    }
    EXPECT_EQ(qb::EngineTemplateName(5), "");
}

TEST(PageTemplate, EmbedsTheGameWithRoomBehindEachPlaceholder) {
    const std::string page = ReadFile(qbtest::SourceDir() / "assets" / "Game.HTML");
    EXPECT_NE(page.find("Game.swf"), std::string::npos);
    std::size_t placeholders = 0;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const char c = page[i];
        if (c != '$' && c != '+' && c != '%') continue;
        ++placeholders;
        // A name takes up to 254 characters, a number up to 11.
        const std::size_t room = c == '$' ? 253 : 10;
        ASSERT_LE(i + 1 + room, page.size());
        EXPECT_EQ(page.substr(i + 1, room), std::string(room, ' ')) << "at " << i;
    }
    EXPECT_EQ(placeholders, 6u);
}

// ---- quillbox-cli ---------------------------------------------------------------------------

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& args) {
    static int serial = 0;
    const std::string base = (fs::temp_directory_path() /
                              ("qbgame_" + std::to_string(getpid()) + "_" + std::to_string(serial++)))
                                 .string();
    const std::string program = (qbtest::BinDir() / "quillbox-cli").string();
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open((base + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open((base + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    CliResult r;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid)
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadFile(base + ".out");
    r.err = ReadFile(base + ".err");
    fs::remove(base + ".out");
    fs::remove(base + ".err");
    return r;
}

std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliBuildTest : public ::testing::Test {
protected:
    // A shoot'em-up that passes validation, with embedded resources and three pictures: a
    // good one, one that cannot be decoded, and another good one.
    void SetUp() override {
        folder = app.projects() / "Game";
        fs::create_directories(folder);
        const int index = qb::AppendProject(qb::InitProjectRecord(qb::game::ShootEmUp, "Cli game",
                                                                  folder.string()));
        qb::ProjectRecord& project = *qb::ProjectAt(index);
        Bytes main(M::kSize, 0);
        qb::RecordView r(main);
        for (std::size_t field : {M::kPlayerShip, M::kPlayerFire, M::kSplashStart, M::kSplashEnd,
                                  M::kDefaultFont, M::kLevelCount})
            r.setU32(field, 1);
        r.setI32(M::kGameAreaWidth, 550);
        r.setI32(M::kGameAreaHeight, 400);
        r.setU32(M::kResourceLocation, 2);
        qb::AddObject(project, 1, 0, main, "Main parameters", -1);
        auto picture = [&](const std::string& name) {
            Bytes record(276, 0);
            qb::RecordView(record).setText(0, 260, (folder / name).string());
            qb::AddObject(project, 3, 0, record, name, -1);
        };
        ASSERT_TRUE(qbtest::WriteRgbPng((folder / "one.png").string(), 3, 2,
                                        {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000}));
        WriteFile(folder / "broken.png", "not a picture");
        ASSERT_TRUE(qbtest::WriteRgbPng((folder / "two.png").string(), 1, 1, {0x89ABCD}));
        picture("one.png");
        picture("broken.png");
        picture("two.png");
        ASSERT_TRUE(qb::SaveProject(index));
        qb::ResetWorkspace();
    }
    CliResult Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--app-folder", app.path().string()});
        return RunCli(args);
    }
    std::string GamePath() const { return (folder / "Release" / "Game.swf").string(); }

    qbtest::TempAppFolder app;
    fs::path folder;
};

TEST_F(CliBuildTest, ValidateAndBuild) {
    CliResult r = Cli({"validate", "Game"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(folder / "Release"));  // validate writes nothing

    // The undecodable picture is reported but does not fail the build.
    r = Cli({"build", "Game", "--compile"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Error!"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(GamePath()));
    r = Cli({"build", "--test", "Game"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(folder / "Game.swf"));

    for (const std::vector<std::string>& usage :
         {std::vector<std::string>{"build", "Game"}, {"build", "Game", "--compile", "--test"},
          {"build", "Game", "--fast"}, {"build", "--compile"}, {"validate"}, {"inspect"},
          {"extract", GamePath()}})
        EXPECT_EQ(Cli(usage).status, 2) << usage.size();
    EXPECT_EQ(Cli({"build", "NoSuchProject", "--compile"}).status, 1);

    // A project that does not validate: the error text on stderr, exit 1, for both commands.
    qb::ProfileFile ini;
    ASSERT_TRUE(ini.load((folder / "project.ini").string()));
    qb::ProjectRecord project;
    ASSERT_TRUE(qb::ReadProject(ini, folder.string(), project, nullptr));
    qb::RecordView main = project.objects[0].record();
    main.setI32(M::kGameAreaHeight, 100);
    qb::WriteProjectKeys(project, ini);
    ASSERT_TRUE(ini.save((folder / "project.ini").string()));
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"validate", "Game"}, {"build", "Game", "--compile"}}) {
        r = Cli(command);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "#error 'Game area' too small!\n");
    }
}

TEST_F(CliBuildTest, InspectPrintsSizesPicturesAndTheProjectText) {
    ASSERT_EQ(Cli({"build", "Game", "--compile"}).status, 0);
    const std::string ini = ReadFile(folder / "project.ini");
    const CliResult r = RunCli({"inspect", GamePath()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string e = std::to_string(16 + 12 + 16 + 16 + 2);
    EXPECT_EQ(r.out, "S=" + std::to_string(ini.size()) + "\nE=" + e + "\npictures=3\n" + ini);
}

TEST_F(CliBuildTest, ExtractWritesTheProjectFileAndThePictures) {
    ASSERT_EQ(Cli({"build", "Game", "--compile"}).status, 0);
    const fs::path out = app.path() / "out" / "deeper";
    const CliResult r = RunCli({"extract", GamePath(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, (out / "project.ini").string() + "\n" + (out / "picture_1.png").string() + "\n" +
                         (out / "picture_3.png").string() + "\n");
    // Exactly as saved, the scramble undone.
    EXPECT_EQ(ReadFile(out / "project.ini"), ReadFile(folder / "project.ini"));

    qbtest::RgbImage one;
    ASSERT_TRUE(qbtest::ReadRgbPng((out / "picture_1.png").string(), one));
    EXPECT_EQ(one.width, 3);
    EXPECT_EQ(one.height, 2);
    EXPECT_EQ(one.pixels, (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x113355,
                                                       0xFFFFFF, 0x000000}));
    // The 0 x 0 picture has no file; the numbering keeps the pictures' places.
    EXPECT_FALSE(fs::exists(out / "picture_2.png"));
    qbtest::RgbImage two;
    ASSERT_TRUE(qbtest::ReadRgbPng((out / "picture_3.png").string(), two));
    EXPECT_EQ(two.pixels, std::vector<std::uint32_t>{0x88AACC});
}

// A game may claim a great many empty pictures: extract names them in one line.
TEST_F(CliBuildTest, ExtractNamesEmptyPicturesOnce) {
    ASSERT_EQ(Cli({"build", "Game", "--compile"}).status, 0);
    std::string ini = ReadFile(folder / "project.ini");
    qb::ScrambleProjectText(ini.data(), ini.size());
    std::string block;
    for (int i = 0; i < 5000; ++i) block += "0000000000000000";
    const std::string game = ReadFile(app.path() / "Quillbox.DLL") + ini + block +
                             qb::FormatDecimal8(block.size()) + qb::FormatDecimal8(ini.size());
    const fs::path many = app.path() / "many.swf";
    qbtest::WriteFile(many, game);
    const CliResult r = RunCli({"extract", many.string(), (app.path() / "many").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("5000 empty (0 x 0) pictures"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("picture_1.png, picture_2.png"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("and 4990 more"), std::string::npos) << r.err;
}

TEST_F(CliBuildTest, NonGamesAndLyingTrailersWriteNothing) {
    ASSERT_EQ(Cli({"build", "Game", "--compile"}).status, 0);
    const std::string game = ReadFile(GamePath());
    const fs::path bad = app.path() / "bad.swf";
    const fs::path out = app.path() / "out";
    const std::vector<std::string> files = {
        ReadFile(app.path() / "Quillbox.DLL"),                 // a movie without data
        ReadFile(folder / "project.ini"),                      // not a game at all
        game.substr(0, game.size() - 1),                       // cut short
        game.substr(0, game.size() - 8) + "99999999",          // S too large
        game.substr(0, game.size() - 16) + qb::FormatDecimal8(63) + game.substr(game.size() - 8),  // E off by one
    };
    for (const std::string& bytes : files) {
        WriteFile(bad, bytes);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"inspect", bad.string()}, {"extract", bad.string(), out.string()}}) {
            const CliResult r = RunCli(command);
            EXPECT_EQ(r.status, 1) << command[0];
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(LineCount(r.err), 1u) << r.err;
        }
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(RunCli({"inspect", (app.path() / "none.swf").string()}).status, 1);
}

TEST_F(CliBuildTest, ExtractReplacesLinksInsteadOfWritingThroughThem) {
    ASSERT_EQ(Cli({"build", "Game", "--compile"}).status, 0);
    const fs::path out = app.path() / "out";
    fs::create_directories(out);
    const fs::path outside = app.path() / "outside.txt";
    WriteFile(outside, "keep me");
    fs::create_symlink(outside, out / "project.ini");
    fs::create_symlink(outside, out / "picture_1.png");
    const CliResult r = RunCli({"extract", GamePath(), out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(outside), "keep me");
    EXPECT_FALSE(fs::is_symlink(out / "project.ini"));
    EXPECT_EQ(ReadFile(out / "project.ini"), ReadFile(folder / "project.ini"));
    EXPECT_FALSE(fs::is_symlink(out / "picture_1.png"));
}

} // namespace
