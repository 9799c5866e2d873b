// quillbox-cli end to end: the real program is run in a temporary application folder and its
// output, exit status and the project files it leaves are checked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/record.h"
#include "model/commands.h"
#include "model/workspace.h"
#include "platform/profile.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using qbtest::ReadFile;
using qbtest::TempAppFolder;
using qbtest::WriteFile;

namespace {

struct CliResult {
    int status = -1;  // exit status; 128 + signal when the program was killed
    std::string out;
    std::string err;
};

// Runs build/bin/quillbox-cli with the arguments in the folder cwd (or the current one).
CliResult RunCli(const std::vector<std::string>& args, const fs::path& cwd = {}) {
    static int serial = 0;
    const fs::path outPath = fs::temp_directory_path() /
                             ("qbcli_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
    const std::string outFile = outPath.string() + ".out", errFile = outPath.string() + ".err";
    const std::string program = (qbtest::BinDir() / "quillbox-cli").string();

    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    CliResult result;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid)
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(outFile);
    result.err = ReadFile(errFile);
    std::error_code ec;
    fs::remove(outFile, ec);
    fs::remove(errFile, ec);
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

class CliTest : public ::testing::Test {
protected:
    // The CLI with --app-folder set to the test's folder.
    CliResult Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--app-folder", app.path().string()});
        return RunCli(args);
    }
    // A new project made by the CLI; answers its folder name.
    std::string NewProject(const std::string& name, const std::string& type = "shootemup") {
        const CliResult r = Cli({"new", name, "--type", type});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out.empty() ? std::string() : r.out.substr(0, r.out.size() - 1);
    }
    std::string ProjectFile(const std::string& folder) {
        return ReadFile(app.projects() / folder / "project.ini");
    }
    // The project as the editor would load it now.
    qb::ProjectRecord* Load(const std::string& folder) {
        qb::ResetWorkspace();
        const int index = qb::LoadProject(folder);
        return index < 0 ? nullptr : qb::ProjectAt(index);
    }
    qb::ObjectRecord* LoadObject(const std::string& folder, std::int32_t id) {
        qb::ProjectRecord* project = Load(folder);
        return project ? qb::FindObject(*project, id) : nullptr;
    }

    TempAppFolder app;
};

} // namespace

TEST_F(CliTest, HelpAndUsageErrors) {
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"new NAME", "list", "show FOLDER", "add FOLDER TYPE",
                                "copy-item FOLDER ID", "delete-item FOLDER ID",
                                "copy-project FOLDER", "get FOLDER ID OFFSET KIND",
                                "set FOLDER ID OFFSET KIND VALUE", "describe FOLDER ID TEXT",
                                "validate FOLDER [--all]"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;

    const std::string folder = NewProject("Usage");
    const std::string before = ProjectFile(folder);
    const std::vector<std::vector<std::string>> usageErrors = {
        {},
        {"frobnicate"},
        {"--verbose", "list"},
        {"new"},
        {"new", "A", "B"},
        {"new", "A", "--type", "7"},
        {"new", "A", "--type", "chess"},
        {"new", "A", "--type"},
        {"list", "extra"},
        {"show"},
        {"add", folder},
        {"add", folder, "three"},
        {"copy-item", folder, "1x"},
        {"delete-item", folder, ""},
        {"get", folder, "17", "0"},
        {"get", folder, "abc", "0", "u32"},
        {"get", folder, "17", "-1", "u32"},
        {"get", folder, "17", "0x10", "u32"},
        {"get", folder, "17", "0", "f32"},
        {"get", folder, "17", "0", "text:0"},
        {"get", folder, "17", "0", "text:"},
        {"get", folder, "17", "0", "hex:-2"},
        {"set", folder, "17", "0", "u32"},
        {"set", folder, "17", "0", "u32", "12a"},
        {"set", folder, "17", "0", "u8", ""},
        {"set", folder, "17", "0", "hex:2", "abc"},
        {"set", folder, "17", "0", "hex:2", "abcdef"},
        {"set", folder, "17", "0", "hex:2", "abxy"},
        {"describe", folder, "17"},
    };
    for (const auto& args : usageErrors) {
        const CliResult r = Cli(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.status, 2) << joined << r.err;
        EXPECT_TRUE(r.out.empty()) << joined;
        EXPECT_NE(r.err.find("usage"), std::string::npos) << joined;
    }
    EXPECT_EQ(RunCli({"--app-folder"}).status, 2);
    EXPECT_EQ(ProjectFile(folder), before);
    EXPECT_EQ(fs::exists(app.projects() / "A"), false);

    const CliResult commandHelp = Cli({"set", "--help"});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_NE(commandHelp.out.find("set FOLDER ID OFFSET KIND VALUE"), std::string::npos);
}

// Every game type, by code and by name: the objects of a new project, and the file written
// the way the editor writes it.
TEST_F(CliTest, NewProjectOfEveryGameType) {
    struct Expected {
        const char* name;
        std::uint32_t objects, mainType, mainSize;
    };
    const Expected expected[] = {{"shootemup", 17, 1, 1396}, {"racing", 12, 100, 1208},
                                 {"platform", 15, 200, 1040}, {"soccer", 12, 300, 12316},
                                 {"music", 10, 400, 940},     {"curling", 12, 500, 1928},
                                 {"jigsaw", 8, 600, 888}};
    for (std::uint32_t code = 0; code < 7; ++code) {
        const Expected& e = expected[code];
        for (const std::string& type : {std::string(e.name), std::to_string(code)}) {
            SCOPED_TRACE(type);
            const std::string name = std::string("Game ") + type;
            const std::string folder = NewProject(name, type);
            EXPECT_EQ(folder, "Game_" + type);

            const CliResult show = Cli({"show", folder});
            ASSERT_EQ(show.status, 0) << show.err;
            const std::vector<std::string> lines = Lines(show.out);
            ASSERT_EQ(lines.size(), e.objects);
            for (std::uint32_t i = 0; i + 1 < e.objects; ++i) {
                const auto f = Fields(lines[i]);
                ASSERT_EQ(f.size(), 6u);
                EXPECT_EQ(f[0], std::to_string(i));
                EXPECT_EQ(f[1], std::to_string(i + 1));
                EXPECT_EQ(f[2], "0");
                EXPECT_EQ(f[4], "0");
            }
            EXPECT_EQ(lines.back(), std::to_string(e.objects - 1) + "\t" +
                                        std::to_string(e.objects) + "\t" +
                                        std::to_string(e.mainType) + "\t1\t" +
                                        std::to_string(e.mainSize) + "\tMain parameters");
            EXPECT_EQ(Fields(lines[0])[3], std::to_string(e.mainType));
            EXPECT_EQ(Fields(lines[0])[5], "Parameters");

            // The same project made in this process the editor's way gives the same bytes.
            const fs::path reference = app.projects() / ("Reference_" + type);
            fs::create_directory(reference);
            qb::ResetWorkspace();
            qb::Workspace().pendingProjectName = name;
            qb::Workspace().pendingProjectFolder = reference.string();
            ASSERT_TRUE(qb::SaveProject(qb::CreateProject(code)));
            EXPECT_EQ(ProjectFile(folder), ReadFile(reference / "project.ini"));

            qb::ProjectRecord* project = Load(folder);
            ASSERT_NE(project, nullptr);
            EXPECT_EQ(project->tipoGioco, code);
            EXPECT_EQ(project->sNomeProgetto, name);
        }
    }
    EXPECT_EQ(Fields(Lines(Cli({"show", "Game_shootemup"}).out)[0])[0], "0");
}

TEST_F(CliTest, NewNamesFoldersAndRefusesBadNames) {
    EXPECT_EQ(NewProject("My Game"), "My_Game");
    EXPECT_EQ(NewProject("My Game"), "My_Game_2");
    EXPECT_EQ(NewProject("Puzzle", "jigsaw"), "Puzzle");

    const CliResult list = Cli({"list"});
    ASSERT_EQ(list.status, 0);
    std::vector<std::string> lines = Lines(list.out);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"My_Game\tMy Game", "My_Game_2\tMy Game",
                                               "Puzzle\tPuzzle"}));
    // A name of blanks only is a name too.
    EXPECT_EQ(NewProject("   "), "___");
    EXPECT_TRUE(fs::is_regular_file(app.projects() / "___" / "project.ini"));

    const auto entriesBefore = std::distance(fs::directory_iterator(app.projects()),
                                             fs::directory_iterator());
    for (const std::string bad : {"", "a/b", "a\\b", "c:d", "why?", "star*", "<x>", "pipe|",
                                  "quote\"", "two\nlines", "cr\rhere"}) {
        const CliResult r = Cli({"new", bad});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(app.projects()), fs::directory_iterator()),
              entriesBefore);

    // A name longer than a folder name may be refused by the file system, never half made.
    // Both a name longer than the path room and one within it but longer than a folder name
    // are refused with that reason.
    for (const std::size_t length : {300u, 256u}) {
        const CliResult tooLong = Cli({"new", std::string(length, 'n')});
        EXPECT_EQ(tooLong.status, 1);
        EXPECT_NE(tooLong.err.find("the name is too long for a folder"), std::string::npos)
            << tooLong.err;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(app.projects()), fs::directory_iterator()),
              entriesBefore);
}

TEST_F(CliTest, AppFolderIsHonoured) {
    // A fresh folder gets its preferences and its Projects folder, as at the editor's start.
    const fs::path fresh = app.path() / "fresh";
    fs::create_directory(fresh);
    CliResult r = RunCli({"--app-folder", fresh.string(), "new", "Here"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(fresh / "Projects" / "Here" / "project.ini"));
    EXPECT_EQ(qb::ReadProfileString((fresh / "preferences.ini").string(), "main", "projectsPath"),
              (fresh / "Projects").string());
    EXPECT_FALSE(fs::exists(app.projects() / "Here"));

    // Without the option the current directory is the application folder; a relative
    // --app-folder is taken from the current directory too.
    r = RunCli({"list"}, fresh);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Here\tHere\n");
    r = RunCli({"--app-folder=fresh", "list"}, app.path());
    EXPECT_EQ(r.out, "Here\tHere\n");

    // A projectsPath set elsewhere is used and nothing is created in the application folder.
    const fs::path other = app.path() / "other";
    const fs::path elsewhere = app.path() / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directory(other);
    WriteFile(other / "preferences.ini", "[main]\r\nprojectsPath=" + elsewhere.string() + "\r\n");
    r = RunCli({"--app-folder", other.string(), "new", "There"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(elsewhere / "There" / "project.ini"));
    EXPECT_FALSE(fs::exists(other / "Projects"));

    r = RunCli({"--app-folder", (app.path() / "missing").string(), "list"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(app.path() / "missing"));
}

TEST_F(CliTest, AddCreatesItemsAndTheirFiles) {
    const std::string folder = NewProject("Adding");
    const fs::path projectFolder = app.projects() / folder;
    // The default asset this item copies; any bytes serve to show the copy.
    WriteFile(app.path() / "SpritesDefault.png", "sprite sheet stand-in");

    CliResult r = Cli({"add", folder, "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "18\n");
    EXPECT_EQ(ReadFile(projectFolder / "Sprites.png"), "sprite sheet stand-in");
    r = Cli({"add", folder, "3"});
    EXPECT_EQ(r.out, "19\n");
    EXPECT_TRUE(fs::exists(projectFolder / "Sprites_2.png"));

    std::vector<std::string> lines = Lines(Cli({"show", folder}).out);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[17], "17\t18\t3\t0\t276\tSprites");
    EXPECT_EQ(lines[18], "18\t19\t3\t0\t276\tSprites_2");
    r = Cli({"get", folder, "19", "0", "text:260"});
    EXPECT_EQ(r.out, (projectFolder / "Sprites_2.png").string() + "\n");
    EXPECT_EQ(Cli({"get", folder, "19", "260", "u32"}).out, "32\n");

    r = Cli({"add", folder, "6"});
    ASSERT_EQ(r.status, 0);
    const qb::ObjectRecord* map = LoadObject(folder, 20);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->dimDatiOggetto(), 16016u);

    // Refusals leave the file as it was.
    const std::string before = ProjectFile(folder);
    EXPECT_EQ(Cli({"add", folder, "120"}).status, 0);
    const std::string withAds = ProjectFile(folder);
    for (const std::string type : {"120", "100", "1", "401", "0", "4294967296"}) {
        r = Cli({"add", folder, type});
        EXPECT_EQ(r.status, 1) << type;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty()) << type;
    }
    EXPECT_NE(before, withAds);
    EXPECT_EQ(ProjectFile(folder), withAds);

    const std::string jigsaw = NewProject("Pieces", "jigsaw");
    r = Cli({"add", jigsaw, "3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no group"), std::string::npos);
}

TEST_F(CliTest, CopyAndDeleteItems) {
    const std::string folder = NewProject("Items");
    WriteFile(app.path() / "SpritesDefault.png", "png");
    ASSERT_EQ(Cli({"add", folder, "7"}).out, "18\n");
    ASSERT_EQ(Cli({"set", folder, "18", "100", "u32", "777"}).status, 0);

    CliResult r = Cli({"copy-item", folder, "18"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "19\n");
    qb::ProjectRecord* project = Load(folder);
    ASSERT_NE(project, nullptr);
    const qb::ObjectRecord* original = qb::FindObject(*project, 18);
    const qb::ObjectRecord* copy = qb::FindObject(*project, 19);
    ASSERT_TRUE(original && copy);
    EXPECT_EQ(copy->sDescrizione, "duplicate");
    EXPECT_EQ(copy->tipoOggetto, 7u);
    EXPECT_EQ(copy->lpDatiOggetto, original->lpDatiOggetto);
    EXPECT_EQ(copy->record().u32(100), 777u);

    const std::string before = ProjectFile(folder);
    for (const std::string id : {"1", "17", "99", "-5", "99999999999"}) {
        r = Cli({"copy-item", folder, id});
        EXPECT_EQ(r.status, 1) << id;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(ProjectFile(folder), before);

    // A Level data item listed by the Main parameters cannot go; once unlisted it can.
    ASSERT_EQ(Cli({"add", folder, "8"}).out, "20\n");
    ASSERT_EQ(Cli({"set", folder, "17", "0", "u32", "1"}).status, 0);
    ASSERT_EQ(Cli({"set", folder, "17", "4", "u32", "20"}).status, 0);
    const std::string listed = ProjectFile(folder);
    for (const std::string id : {"20", "17", "1", "12345"}) {
        r = Cli({"delete-item", folder, id});
        EXPECT_EQ(r.status, 1) << id;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(ProjectFile(folder), listed);
    ASSERT_EQ(Cli({"set", folder, "17", "0", "u32", "0"}).status, 0);
    r = Cli({"delete-item", folder, "20"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());

    // Deleting a file-backed item deletes its file; deleting the copy leaves no file behind.
    ASSERT_EQ(Cli({"add", folder, "3"}).out, "20\n");
    ASSERT_TRUE(fs::exists(app.projects() / folder / "Sprites.png"));
    EXPECT_EQ(Cli({"delete-item", folder, "20"}).status, 0);
    EXPECT_FALSE(fs::exists(app.projects() / folder / "Sprites.png"));
    EXPECT_EQ(Cli({"delete-item", folder, "19"}).status, 0);
    project = Load(folder);
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->objectCount(), 18u);
    EXPECT_EQ(qb::FindObject(*project, 19), nullptr);
    EXPECT_NE(qb::FindObject(*project, 18), nullptr);
}

TEST_F(CliTest, ValidateAllListsEveryProblemEndingWithTheBuildsMessage) {
    const std::string folder = NewProject("Problems");
    ASSERT_EQ(Cli({"add", folder, "7"}).out, "18\n");  // an enemy without animation
    const CliResult one = Cli({"validate", folder});
    EXPECT_EQ(one.status, 1);
    CliResult all = Cli({"validate", folder, "--all"});
    EXPECT_EQ(all.status, 1);
    const std::vector<std::string> lines = Lines(all.out);
    ASSERT_GE(lines.size(), 3u) << all.out;
    // The Main parameters' problems come first (it precedes the enemy), the enemy's last.
    EXPECT_EQ(Fields(lines.front())[0], "17");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "18\t#error 'no animation': Sprites informations"),
              lines.end());
    EXPECT_EQ(lines.back(), "18\t#error 'no sprite': Sprites informations");
    for (const std::string& line : lines) {
        ASSERT_EQ(Fields(line).size(), 2u) << line;
        EXPECT_TRUE(Fields(line)[1].starts_with("#error '")) << line;
    }
    EXPECT_EQ(all.err, one.err);
    EXPECT_EQ(one.err, Fields(lines.back())[1] + "\n");

    // Without problems: nothing printed, exit 0; an unknown option is a usage error.
    ASSERT_EQ(Cli({"delete-item", folder, "18"}).status, 0);
    const CliResult jigsaw = Cli({"validate", NewProject("Clean", "jigsaw"), "--all"});
    EXPECT_EQ(jigsaw.status, 0) << jigsaw.out << jigsaw.err;
    EXPECT_EQ(jigsaw.out, "");
    EXPECT_EQ(Cli({"validate", folder, "--all", "--all"}).status, 2);
    EXPECT_EQ(Cli({"validate", folder, "--every"}).status, 2);
    EXPECT_EQ(Cli({"validate", "--all"}).status, 2);
}

TEST_F(CliTest, UsesListsTheItemsNamingAnItem) {
    const std::string folder = NewProject("Uses");
    WriteFile(app.path() / "SpritesDefault.png", "png bytes");
    ASSERT_EQ(Cli({"add", folder, "3"}).out, "18\n");   // the sheet
    ASSERT_EQ(Cli({"add", folder, "7"}).out, "19\n");   // an enemy drawn from it
    ASSERT_EQ(Cli({"add", folder, "12"}).out, "20\n");  // an explosion that is not
    ASSERT_EQ(Cli({"add", folder, "14"}).out, "21\n");  // a bonus drawn from it
    ASSERT_EQ(Cli({"set", folder, "19", "20", "u32", "18"}).status, 0);       // first frame
    ASSERT_EQ(Cli({"set", folder, "21", "8", "u32", "18"}).status, 0);
    ASSERT_EQ(Cli({"set", folder, "17", "1064", "u32", "18"}).status, 0);     // game-over sprite
    ASSERT_EQ(Cli({"describe", folder, "19", "Saucer"}).status, 0);
    ASSERT_EQ(Cli({"describe", folder, "21", "Star"}).status, 0);

    CliResult r = Cli({"uses", folder, "18"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "17\t1\tMain parameters\n19\t7\tSaucer\n21\t14\tStar\n");
    // The game-over sprite names the sheet without keeping it: the enemy and bonus do keep it.
    EXPECT_EQ(Cli({"delete-item", folder, "18"}).status, 1);
    // A frame past the enemy's count is no use of the sheet.
    ASSERT_EQ(Cli({"set", folder, "19", "12", "u32", "0"}).status, 0);
    EXPECT_EQ(Cli({"uses", folder, "18"}).out, "17\t1\tMain parameters\n21\t14\tStar\n");
    // Nothing names the enemy: nothing printed, exit 0.
    r = Cli({"uses", folder, "19"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Cli({"uses", folder, "99"}).status, 1);
    EXPECT_EQ(Cli({"uses", folder, "x"}).status, 2);
    EXPECT_EQ(Cli({"uses", folder}).status, 2);
    EXPECT_NE(Cli({"--help"}).out.find("uses FOLDER ID"), std::string::npos);
}

TEST_F(CliTest, CopyProject) {
    const std::string folder = NewProject("My Game");
    WriteFile(app.path() / "SpritesDefault.png", "png bytes");
    ASSERT_EQ(Cli({"add", folder, "3"}).status, 0);

    CliResult r = Cli({"copy-project", folder});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CopyOf_My_Game\n");
    r = Cli({"copy-project", folder});
    EXPECT_EQ(r.out, "CopyOf_My_Game_2\n");

    const fs::path copyFolder = app.projects() / "CopyOf_My_Game";
    EXPECT_EQ(ReadFile(copyFolder / "Sprites.png"), "png bytes");
    EXPECT_EQ(Cli({"get", "CopyOf_My_Game", "18", "0", "text:260"}).out,
              (copyFolder / "Sprites.png").string() + "\n");
    // The original still points at its own file.
    EXPECT_EQ(Cli({"get", folder, "18", "0", "text:260"}).out,
              (app.projects() / folder / "Sprites.png").string() + "\n");
    std::vector<std::string> lines = Lines(Cli({"list"}).out);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"CopyOf_My_Game\tCopyOf_My_Game",
                                               "CopyOf_My_Game_2\tCopyOf_My_Game_2",
                                               "My_Game\tMy Game"}));

    EXPECT_EQ(Cli({"copy-project", "Nothing"}).status, 1);
    EXPECT_EQ(Cli({"copy-project", "../Projects"}).status, 1);
}

TEST_F(CliTest, GetAndSetEveryKind) {
    const std::string folder = NewProject("Fields");
    const auto set = [&](const std::string& offset, const std::string& kind,
                         const std::string& value) {
        const CliResult r = Cli({"set", folder, "17", offset, kind, value});
        EXPECT_EQ(r.status, 0) << kind << " " << value << ": " << r.err;
        EXPECT_TRUE(r.out.empty());
    };
    const auto get = [&](const std::string& offset, const std::string& kind) {
        const CliResult r = Cli({"get", folder, "17", offset, kind});
        EXPECT_EQ(r.status, 0) << kind << ": " << r.err;
        return r.out;
    };

    set("1392", "u32", "4294967295");
    EXPECT_EQ(get("1392", "u32"), "4294967295\n");
    EXPECT_EQ(get("1392", "i32"), "-1\n");
    set("100", "i32", "-2147483648");
    EXPECT_EQ(get("100", "i32"), "-2147483648\n");
    EXPECT_EQ(get("100", "u32"), "2147483648\n");
    set("202", "u8", "0");
    set("200", "u16", "65534");
    EXPECT_EQ(get("200", "u16"), "65534\n");
    set("203", "u8", "+7");
    EXPECT_EQ(get("203", "u8"), "7\n");
    EXPECT_EQ(get("200", "hex:4"), "feff0007\n");
    set("300", "hex:5", "DEADbeef01");
    EXPECT_EQ(get("300", "hex:5"), "deadbeef01\n");
    set("400", "hex:4", "ffffffff");
    set("400", "text:3", "abcdef");  // cut to two characters and the terminating zero
    EXPECT_EQ(get("400", "text:3"), "ab\n");
    EXPECT_EQ(get("400", "hex:4"), "616200ff\n");
    set("1380", "text:12", "hello");
    EXPECT_EQ(get("1380", "text:12"), "hello\n");

    // What the file holds, byte for byte where the hex keys show it.
    const qb::ObjectRecord* main = LoadObject(folder, 17);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->dimDatiOggetto(), 1396u);
    const qb::ConstRecordView record = std::as_const(*main).record();
    EXPECT_EQ(record.u32(1392), 0xffffffffu);
    EXPECT_EQ(record.i32(100), INT32_MIN);
    EXPECT_EQ(record.u16(200), 65534);
    EXPECT_EQ(record.u8(203), 7);
    EXPECT_EQ(record.bytes(300, 5), (qb::Bytes{0xde, 0xad, 0xbe, 0xef, 0x01}));
    EXPECT_EQ(record.text(1380, 12), "hello");
    qb::ProfileFile file;
    ASSERT_TRUE(file.load((app.projects() / folder / "project.ini").string()));
    const std::string last = file.getString("oggetto16", "lpDatiOggetto_12");
    ASSERT_EQ(last.size(), 152u);
    EXPECT_EQ(last.substr(last.size() - 32), "68656c6c6f00000000000000ffffffff");
    EXPECT_EQ(file.getString("oggetto16", "lpDatiOggetto_3").substr(120, 10), "deadbeef01");
}

TEST_F(CliTest, FieldsOutsideTheRecordOrRangeAreRefused) {
    const std::string folder = NewProject("Bounds", "jigsaw");  // Main parameters: ID 8, 888 bytes
    const std::string before = ProjectFile(folder);
    const std::vector<std::vector<std::string>> refused = {
        {"get", "8", "885", "u32"},
        {"get", "8", "887", "u16"},
        {"get", "8", "888", "u8"},
        {"get", "8", "880", "text:9"},
        {"get", "8", "0", "hex:889"},
        {"get", "8", "4294967295", "u8"},
        {"get", "8", "99999999999999999999", "u8"},
        {"get", "8", "1", "hex:99999999999"},
        {"get", "1", "0", "u8"},  // a group object has no record
        {"get", "9", "0", "u8"},
        {"get", "4294967296", "0", "u8"},
        {"set", "8", "885", "u32", "1"},
        {"set", "8", "888", "u8", "1"},
        {"set", "8", "880", "text:9", "x"},
        {"set", "8", "887", "hex:2", "0000"},
        {"set", "8", "0", "u8", "256"},
        {"set", "8", "0", "u8", "-1"},
        {"set", "8", "0", "u16", "65536"},
        {"set", "8", "0", "u32", "4294967296"},
        {"set", "8", "0", "u32", "-1"},
        {"set", "8", "0", "i32", "2147483648"},
        {"set", "8", "0", "i32", "-2147483649"},
        {"set", "1", "0", "u8", "1"},
    };
    for (auto args : refused) {
        args.insert(args.begin() + 1, folder);
        const CliResult r = Cli(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.status, 1) << joined;
        EXPECT_TRUE(r.out.empty()) << joined;
        EXPECT_FALSE(r.err.empty()) << joined;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
    EXPECT_EQ(ProjectFile(folder), before);

    // The last bytes are still reachable.
    EXPECT_EQ(Cli({"get", folder, "8", "884", "u32"}).out, "0\n");
    EXPECT_EQ(Cli({"set", folder, "8", "880", "hex:8", "0000000000000000"}).status, 0);
    EXPECT_EQ(Cli({"set", folder, "8", "887", "hex:1", "2a"}).status, 0);
    EXPECT_EQ(Cli({"get", folder, "8", "880", "hex:8"}).out, "000000000000002a\n");
}

TEST_F(CliTest, Describe) {
    const std::string folder = NewProject("Words");
    ASSERT_EQ(Cli({"add", folder, "11"}).out, "18\n");
    CliResult r = Cli({"describe", folder, "18", "Loop the loop"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(Cli({"show", folder}).out).back(), "17\t18\t11\t0\t16\tLoop the loop");

    ASSERT_EQ(Cli({"describe", folder, "18", std::string(300, 'd')}).status, 0);
    const qb::ObjectRecord* object = LoadObject(folder, 18);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->sDescrizione, std::string(254, 'd'));

    const std::string before = ProjectFile(folder);
    EXPECT_EQ(Cli({"describe", folder, "18", "two\nlines"}).status, 1);
    EXPECT_EQ(Cli({"describe", folder, "99", "nobody"}).status, 1);
    EXPECT_EQ(ProjectFile(folder), before);
}

// Projects the loader refuses, and folders that hold no project: exit 1 with the reason, and
// the file stays exactly as it was.
TEST_F(CliTest, RefusedProjectsAreLeftAlone) {
    const std::string folder = NewProject("Future");
    const fs::path file = app.projects() / folder / "project.ini";
    std::string text = ReadFile(file);
    const std::size_t version = text.find("versioneProgetto=70");
    ASSERT_NE(version, std::string::npos);
    text.replace(version, 19, "versioneProgetto=71");
    WriteFile(file, text);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"show", folder},
                                               {"add", folder, "3"},
                                               {"copy-item", folder, "17"},
                                               {"delete-item", folder, "16"},
                                               {"copy-project", folder},
                                               {"get", folder, "17", "0", "u32"},
                                               {"set", folder, "17", "0", "u32", "5"},
                                               {"describe", folder, "17", "x"}}) {
        const CliResult r = Cli(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_TRUE(r.out.empty()) << args[0];
        EXPECT_NE(r.err.find("Sorry, this project is not compatible, please update Quillbox!"),
                  std::string::npos)
            << args[0] << ": " << r.err;
    }
    EXPECT_EQ(ReadFile(file), text);
    EXPECT_FALSE(fs::exists(app.projects() / ("CopyOf_" + folder)));

    // A folder without a project file is not made into one.
    fs::create_directory(app.projects() / "Empty");
    for (const std::string name : {"Empty", "Absent", "..", ".", "../Projects", ""}) {
        const CliResult r = Cli({"set", name, "17", "0", "u8", "1"});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_FALSE(fs::exists(app.projects() / "Empty" / "project.ini"));
    EXPECT_FALSE(fs::exists(app.path() / "project.ini"));
}

// Hand-damaged files. Those the loader refuses give exit 1 for every command with the bytes
// left alone; those it reads leniently still answer without crashing.
TEST_F(CliTest, DamagedProjectFiles) {
    struct Damaged {
        std::string bytes;
        bool refused;
    };
    const std::vector<Damaged> damaged = {
        {"[main]\r\nsNomeProgetto=X\r\nnOggetti=2000000000\r\n", true},
        {"[main]\r\nsNomeProgetto=X\r\nnOggetti=-3\r\n", true},
        {"[main]\r\nsNomeProgetto=X\r\nnOggetti=1\r\n[oggetto0]\r\nIDoggetto=5\r\n"
         "tipoOggetto=3\r\ndimDatiOggetto=4000000000\r\nlpDatiOggetto_1=zz\r\n",
         true},
        {std::string("\0\xff\xfe garbage [[[ ===\r\n", 21), false},
        {"[main]\r\nsNomeProgetto=X\r\nnOggetti=1\r\n[oggetto0]\r\nIDoggetto=5\r\n"
         "tipoOggetto=8\r\ndimDatiOggetto=8\r\nlpDatiOggetto_1=01000000ffffff7f\r\n",
         false},
    };
    int k = 0;
    for (const Damaged& d : damaged) {
        SCOPED_TRACE(k);
        const std::string folder = "Damaged" + std::to_string(k++);
        fs::create_directory(app.projects() / folder);
        const fs::path file = app.projects() / folder / "project.ini";
        WriteFile(file, d.bytes);
        const std::vector<std::vector<std::string>> commands = {
            {"show", folder},
            {"get", folder, "5", "0", "hex:8"},
            {"set", folder, "5", "0", "u32", "1"},
            {"describe", folder, "5", "mended"},
            {"add", folder, "3"},
            {"copy-item", folder, "5"},
            {"delete-item", folder, "5"},
            {"copy-project", folder}};
        for (const auto& args : commands) {
            const CliResult r = Cli(args);
            if (d.refused) {
                EXPECT_EQ(r.status, 1) << args[0];
                EXPECT_TRUE(r.out.empty()) << args[0];
                EXPECT_FALSE(r.err.empty()) << args[0];
                EXPECT_EQ(ReadFile(file), d.bytes) << args[0];
            } else {
                EXPECT_LT(r.status, 2) << args[0] << r.err;
            }
        }
        if (d.refused) {
            EXPECT_FALSE(fs::exists(app.projects() / "CopyOf_X"));
        }
    }
}
