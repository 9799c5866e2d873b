// The project history: what a change destroys comes back, across processes, within the limits,
// and a history that cannot be kept never stops a save.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "model/commands.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/profile.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using qbtest::ReadFile;
using qbtest::TempAppFolder;
using qbtest::WriteFile;

namespace {

constexpr std::uint32_t kSpritesType = 3;
constexpr std::uint32_t kMapType = 6;

// Starts build/bin/quillbox-cli in the application folder; answers its process ID.
pid_t StartCli(const fs::path& app, const std::vector<std::string>& args,
               const std::string& outFile) {
    std::vector<std::string> strings{(qbtest::BinDir() / "quillbox-cli").string(), "--app-folder",
                                     app.string()};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int devnull = open("/dev/null", O_WRONLY);
        if (out < 0 || devnull < 0 || dup2(out, 1) < 0 || dup2(devnull, 2) < 0) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

struct CliResult {
    int status = -1;
    std::string out;
};

CliResult RunCli(const fs::path& app, const std::vector<std::string>& args) {
    const std::string outFile = (app / "cli.out").string();
    const pid_t pid = StartCli(app, args, outFile);
    int status = 0;
    CliResult r;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        r.status = WEXITSTATUS(status);
    r.out = ReadFile(outFile);
    fs::remove(outFile);
    return r;
}

std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(random() & 0xff);
    return s;
}

class History : public ::testing::Test {
protected:
    void TearDown() override {
        qb::SetHistoryLimits({});
        qb::ForgetHistoryNotices();
    }
    int NewProject(const std::string& name) {
        const fs::path folder = app_.projects() / name;
        fs::create_directories(folder);
        qb::Workspace().pendingProjectName = name;
        qb::Workspace().pendingProjectFolder = folder.string();
        const int index = qb::CreateProject(0);
        EXPECT_TRUE(qb::SaveProject(index));
        return index;
    }
    static std::int32_t GroupOf(int project, std::uint32_t subtype) {
        for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
            if (o.tipoOggetto == 0 && o.sottoTipoOggetto == subtype) return o.IDoggetto;
        return -1;
    }
    static std::string Folder(int project) { return qb::ProjectAt(project)->sPathProgetto; }
    static fs::path Ini(const std::string& folder) { return fs::path(folder) / "project.ini"; }
    // Changes a word of the Main parameters record and saves it under that label.
    static void ChangeAndSave(int project, std::uint32_t value, const std::string& label) {
        qb::ProjectRecord* p = qb::ProjectAt(project);
        qb::ObjectRecord& main = p->objects.back();
        main.record().setU32(8, value);
        const qb::ChangeLabel change(label, main.IDoggetto);
        ASSERT_TRUE(qb::SaveProject(project));
    }
    static std::vector<qb::HistoryVersion> Versions(const std::string& folder) {
        std::vector<qb::HistoryVersion> v;
        std::string error;
        EXPECT_TRUE(qb::ListHistory(folder, v, &error)) << error;
        return v;
    }
    std::size_t NoticesAboutHistory() const {
        std::size_t n = 0;
        for (const std::string& t : app_.messages.texts) n += t.find("History is off") == 0;
        return n;
    }

    TempAppFolder app_;
};

// Delete item in one process, Undo in another: the picture is back byte for byte, Redo deletes
// it again, a new change ends the redo, and a restore is itself undone.
TEST_F(History, DeletedPictureComesBackInAnotherProcess) {
    const int p = NewProject("Game");
    const std::string folder = Folder(p);
    const std::int32_t id = qb::NewItem(p, GroupOf(p, kSpritesType));
    ASSERT_GT(id, 0);
    const fs::path png = fs::path(folder) / "Sprites.png";
    const std::string picture = RandomBytes(70000, 1);
    WriteFile(png, picture);
    const std::string iniBefore = ReadFile(Ini(folder));
    qb::CloseProject(p);

    ASSERT_EQ(RunCli(app_.path(), {"delete-item", "Game", std::to_string(id)}).status, 0);
    ASSERT_FALSE(fs::exists(png));
    const std::string iniAfter = ReadFile(Ini(folder));
    const CliResult listed = RunCli(app_.path(), {"history", "Game"});
    ASSERT_EQ(listed.status, 0);
    EXPECT_TRUE(std::regex_search(
        listed.out, std::regex("^2\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\tDelete item Sprites\n"
                               "1\t[^\t]+\tNew item Sprites\n$")))
        << listed.out;

    // This process starts afresh: everything it knows comes from the folder.
    ASSERT_TRUE(qb::CanUndo(folder));
    EXPECT_FALSE(qb::CanRedo(folder));
    std::string error;
    std::int32_t concerned = 0;
    ASSERT_TRUE(qb::UndoLastChange(folder, &error, &concerned)) << error;
    EXPECT_EQ(concerned, id);
    EXPECT_EQ(ReadFile(png), picture);
    EXPECT_EQ(ReadFile(Ini(folder)), iniBefore);
    const int reopened = qb::LoadProject("Game");
    ASSERT_GE(reopened, 0);
    EXPECT_NE(qb::FindObject(id, reopened), nullptr);
    qb::CloseProject(reopened);

    ASSERT_TRUE(qb::CanRedo(folder));
    ASSERT_TRUE(qb::RedoChange(folder, &error, &concerned)) << error;
    EXPECT_FALSE(fs::exists(png));
    EXPECT_EQ(ReadFile(Ini(folder)), iniAfter);
    EXPECT_FALSE(qb::CanRedo(folder));
    ASSERT_TRUE(qb::UndoLastChange(folder, &error));
    EXPECT_EQ(ReadFile(png), picture);

    // Undone as far as New item: the picture it made goes, and comes back with Redo.
    ASSERT_TRUE(qb::UndoLastChange(folder, &error));
    EXPECT_FALSE(fs::exists(png));
    EXPECT_FALSE(qb::CanUndo(folder));
    ASSERT_TRUE(qb::RedoChange(folder, &error));
    EXPECT_EQ(ReadFile(png), picture);
    EXPECT_EQ(ReadFile(Ini(folder)), iniBefore);

    // A new change (here by the command-line tool) drops what could be redone.
    ASSERT_TRUE(qb::CanRedo(folder));
    ASSERT_EQ(RunCli(app_.path(), {"describe", "Game", std::to_string(id), "Ship"}).status, 0);
    EXPECT_FALSE(qb::CanRedo(folder));
    const std::string described = ReadFile(Ini(folder));

    // Restoring the oldest version is a change of its own, undone like any other.
    const std::vector<qb::HistoryVersion> versions = Versions(folder);
    ASSERT_GE(versions.size(), 6u);
    EXPECT_EQ(versions.front().number, 1);
    EXPECT_EQ(versions.back().what, "Describe Sprites");
    ASSERT_EQ(RunCli(app_.path(), {"restore", "Game", "1"}).status, 0);
    EXPECT_FALSE(fs::exists(png));
    EXPECT_EQ(Versions(folder).back().what, "Restore version 1");
    ASSERT_TRUE(qb::UndoLastChange(folder, &error));
    EXPECT_EQ(ReadFile(Ini(folder)), described);
    EXPECT_EQ(ReadFile(png), picture);
    EXPECT_EQ(RunCli(app_.path(), {"restore", "Game", "999"}).status, 1);
    EXPECT_EQ(RunCli(app_.path(), {"restore", "Game", "x"}).status, 2);
    EXPECT_TRUE(app_.messages.texts.empty());
}

// The last N versions are kept, numbers never change, and the bytes limit drops the oldest
// versions together with the blobs only they needed.
TEST_F(History, KeepsTheLimits) {
    qb::SetHistoryLimits({5, 1ull << 40});
    const int p = NewProject("Game");
    const std::string folder = Folder(p);
    std::vector<std::string> saved{ReadFile(Ini(folder))};
    for (std::uint32_t i = 1; i <= 8; ++i) {
        ChangeAndSave(p, i, "Change " + std::to_string(i));
        saved.push_back(ReadFile(Ini(folder)));
    }
    std::vector<qb::HistoryVersion> versions = Versions(folder);
    ASSERT_EQ(versions.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(versions[k].number, static_cast<int>(k) + 4);
        EXPECT_EQ(versions[k].what, "Change " + std::to_string(k + 4));
    }
    // Version n holds the file as it was before change n.
    std::string error;
    ASSERT_TRUE(qb::RestoreVersion(folder, 4, &error)) << error;
    EXPECT_EQ(ReadFile(Ini(folder)), saved[3]);

    // Bytes: every picture is 300 KB of its own; 1 MB holds three versions at most.
    const std::uint64_t limit = 1024 * 1024;
    qb::SetHistoryLimits({200, limit});
    const fs::path png = fs::path(folder) / "Big.png";
    for (unsigned i = 0; i < 6; ++i) {
        WriteFile(png, RandomBytes(300 * 1024, 100 + i));
        ChangeAndSave(p, 100 + i, "Picture " + std::to_string(i));
    }
    std::uint64_t stored = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(folder) / ".quillbox-history/objects"))
        stored += e.file_size();
    EXPECT_LE(stored, limit);
    versions = Versions(folder);
    ASSERT_GE(versions.size(), 2u);
    EXPECT_LE(versions.size(), 3u);
    EXPECT_EQ(versions.back().what, "Picture 5");
    // The oldest version kept still restores its own picture.
    const std::string& oldest = versions.front().what;
    ASSERT_EQ(oldest.rfind("Picture ", 0), 0u);
    const unsigned k = static_cast<unsigned>(std::stoi(oldest.substr(8)));
    EXPECT_GE(k, 3u);
    ASSERT_TRUE(qb::RestoreVersion(folder, versions.front().number, &error)) << error;
    EXPECT_EQ(ReadFile(png), RandomBytes(300 * 1024, 100 + k));
}

// A history that is damaged or cannot be written: the save still happens, the user is told
// once, and what is damaged is neither trusted nor overwritten.
TEST_F(History, DamagedHistoryNeverStopsASave) {
    const int p = NewProject("Game");
    const std::string folder = Folder(p);
    const fs::path history = fs::path(folder) / ".quillbox-history";
    fs::remove_all(history);

    // A file where the folder should be.
    WriteFile(history, "not a folder");
    const std::string first = ReadFile(Ini(folder));
    ChangeAndSave(p, 1, "One");
    const std::string second = ReadFile(Ini(folder));
    ChangeAndSave(p, 2, "Two");
    EXPECT_NE(first, second);
    EXPECT_NE(second, ReadFile(Ini(folder)));
    EXPECT_EQ(NoticesAboutHistory(), 1u);
    EXPECT_EQ(ReadFile(history), "not a folder");
    fs::remove(history);

    // An index that is not one: kept as it is, history off.
    qb::ForgetHistoryNotices();
    app_.messages.texts.clear();
    fs::create_directories(history);
    WriteFile(history / "index", "garbage\n");
    const std::string before = ReadFile(Ini(folder));
    ChangeAndSave(p, 3, "Three");
    EXPECT_NE(ReadFile(Ini(folder)), before);
    EXPECT_EQ(NoticesAboutHistory(), 1u);
    EXPECT_EQ(ReadFile(history / "index"), "garbage\n");
    std::vector<qb::HistoryVersion> none;
    EXPECT_FALSE(qb::ListHistory(folder, none));
    fs::remove_all(history);

    // A working history whose index lost a line and whose picture blob went bad.
    app_.messages.texts.clear();
    const fs::path png = fs::path(folder) / "Picture.png";
    WriteFile(png, RandomBytes(5000, 7));
    ChangeAndSave(p, 4, "Four");
    WriteFile(png, RandomBytes(5000, 8));
    ChangeAndSave(p, 5, "Five");
    ChangeAndSave(p, 6, "Six");
    ASSERT_EQ(Versions(folder).size(), 3u);
    std::string index = ReadFile(history / "index");
    const std::size_t line = index.find("\tFive\t");
    ASSERT_NE(line, std::string::npos);
    index[line + 2] = 'X';  // its checksum fails: the line is skipped
    WriteFile(history / "index", index);
    std::vector<qb::HistoryVersion> versions = Versions(folder);
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0].what, "Four");
    EXPECT_EQ(versions[1].what, "Six");

    const std::string picture = ReadFile(png);
    const std::string blob = (history / "objects" / qb::ContentHash(picture.data(), picture.size())).string();
    ASSERT_TRUE(fs::exists(blob));
    const std::string older = RandomBytes(5000, 7);
    const fs::path firstBlob = history / "objects" / qb::ContentHash(older.data(), older.size());
    std::string damaged = ReadFile(firstBlob);
    damaged[100] ^= 1;
    fs::remove(firstBlob);
    WriteFile(firstBlob, damaged);
    const std::string iniNow = ReadFile(Ini(folder));
    std::string error;
    EXPECT_FALSE(qb::RestoreVersion(folder, versions[0].number, &error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(Ini(folder)), iniNow);
    EXPECT_EQ(ReadFile(png), picture);
    EXPECT_EQ(Versions(folder).size(), 2u);  // a refused restore keeps nothing
    EXPECT_TRUE(app_.messages.texts.empty());
}

// The command-line tool killed at random moments while it saves: project.ini is always a file
// once saved, the history stays readable, and each version restores to bytes once saved.
TEST_F(History, SavesKilledAtRandomMoments) {
    const int p = NewProject("Game");
    const std::string folder = Folder(p);
    std::set<std::string> once;  // every project.ini ever saved
    for (int i = 0; i < 8; ++i) {
        once.insert(ReadFile(Ini(folder)));
        ASSERT_GT(qb::NewItem(p, GroupOf(p, kMapType)), 0);
    }
    const std::int32_t mainId = qb::ProjectAt(p)->objects.back().IDoggetto;
    const std::string start = ReadFile(Ini(folder));
    // The bytes a save of each value gives: the same document with the word changed.
    const auto bytesFor = [&](std::uint32_t value) {
        qb::ProjectAt(p)->objects.back().record().setU32(8, value);
        qb::ProfileFile document;
        document.parse(start);
        qb::WriteProjectKeys(*qb::ProjectAt(p), document);
        return document.bytes();
    };
    once.insert(start);
    for (std::uint32_t v = 1; v <= 12; ++v) once.insert(bytesFor(v));

    std::mt19937 random(42);
    int killed = 0;
    for (std::uint32_t v = 1; v <= 12; ++v) {
        const pid_t pid = StartCli(app_.path(),
                                   {"set", "Game", std::to_string(mainId), "8", "u32", std::to_string(v)},
                                   (app_.path() / "cli.out").string());
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        killed += kill(pid, SIGKILL) == 0;
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_EQ(once.count(ReadFile(Ini(folder))), 1u) << "after value " << v;
        std::vector<qb::HistoryVersion> versions;
        std::string error;
        ASSERT_TRUE(qb::ListHistory(folder, versions, &error)) << error;
    }
    for (const qb::HistoryVersion& v : Versions(folder)) {
        std::string error;
        ASSERT_TRUE(qb::RestoreVersion(folder, v.number, &error)) << v.number << ": " << error;
        EXPECT_EQ(once.count(ReadFile(Ini(folder))), 1u) << "version " << v.number;
    }
    EXPECT_GT(killed, 0);
}

} // namespace
