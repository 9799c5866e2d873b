// Reliability of the project history under SIGKILL: quillbox-cli saves a project again and again
// and is killed at random moments. After each run project.ini must be the old file or the new
// one, byte for byte, the history must read, and at checkpoints every version it lists must
// restore (in a copy of the folder) to a project.ini that was once saved.
//
//   history_kill_check [saves [quillbox-cli [folder]]]
//
// Defaults: 500 saves, the quillbox-cli beside this program, the system's temporary folder.
// Prints the figures and exits 1 when any check failed.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "model/history.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/profile.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Run {
    pid_t pid = -1;
};

pid_t Start(const std::string& cli, const std::vector<std::string>& args, const fs::path& out) {
    std::vector<std::string> strings{cli};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int n = open("/dev/null", O_WRONLY);
        if (o < 0 || n < 0 || dup2(o, 1) < 0 || dup2(n, 2) < 0) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Runs to the end; answers the exit status and the output.
int RunToEnd(const std::string& cli, const std::vector<std::string>& args, const fs::path& out,
             std::string* output = nullptr) {
    const pid_t pid = Start(cli, args, out);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    if (output) *output = Read(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const std::string cli = argc > 2 ? std::string(argv[2])
                                     : (fs::canonical("/proc/self/exe").parent_path() / "quillbox-cli").string();
    fs::path root = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path();
    root /= "qb_history_kill_" + std::to_string(getpid());
    fs::create_directories(root);
    const std::string app = root.string();
    const fs::path out = root / "cli.out";
    const auto cliArgs = [&](std::vector<std::string> a) {
        a.insert(a.begin(), {"--app-folder", app});
        return a;
    };

    // A shoot'em-up project with 30 background maps: a project.ini of about 1 MB.
    std::string folderName;
    if (RunToEnd(cli, cliArgs({"new", "Kill"}), out, &folderName) != 0) {
        std::fprintf(stderr, "cannot create the project with %s\n", cli.c_str());
        return 1;
    }
    folderName.erase(folderName.find_last_not_of("\n") + 1);
    const fs::path folder = root / "Projects" / folderName;
    const fs::path ini = folder / "project.ini";
    std::set<std::string> onceSaved{Read(ini)};
    for (int i = 0; i < 30; ++i) {
        if (RunToEnd(cli, cliArgs({"add", folderName, "6"}), out) != 0) return 1;
        onceSaved.insert(Read(ini));
    }
    const std::string start = Read(ini);
    qb::ProjectRecord project;
    std::string error;
    if (!qb::ReadProjectFile(ini.string(), folder.string(), project, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    auto main = std::find_if(project.objects.begin(), project.objects.end(),
                             [](const qb::ObjectRecord& o) { return o.tipoOggetto == 1; });
    if (main == project.objects.end()) return 1;
    const std::string mainId = std::to_string(main->IDoggetto);
    // What a save of each value writes: the same document with the word changed.
    const auto bytesFor = [&](std::uint32_t value) {
        main->record().setU32(8, value);
        qb::ProfileFile document;
        document.parse(start);
        qb::WriteProjectKeys(project, document);
        return document.bytes();
    };
    const auto valueOf = [&](const std::string& bytes, bool* ok) {
        qb::ProjectRecord read;
        qb::ProfileFile document;
        *ok = document.parse(bytes) && qb::ReadProject(document, folder.string(), read, nullptr);
        for (const qb::ObjectRecord& o : read.objects)
            if (o.tipoOggetto == 1) return o.record().u32(8);
        *ok = false;
        return 0u;
    };

    // How long a save runs to its end: kills land anywhere in [0, 1.3 x that].
    std::vector<double> durations;
    for (std::uint32_t v : {1000001u, 1000002u, 1000003u, 0u}) {
        onceSaved.insert(bytesFor(v));
        const auto t = Clock::now();
        RunToEnd(cli, cliArgs({"set", folderName, mainId, "8", "u32", std::to_string(v)}), out);
        durations.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
    }
    durations.pop_back();  // back to 0
    std::sort(durations.begin(), durations.end());
    const double window = durations[1] * 1.3;

    std::mt19937 random(20261208);
    std::uint32_t current = 0;
    int killed = 0, finished = 0, wrongIni = 0, unreadable = 0, restored = 0, wrongRestores = 0;
    std::size_t mostVersions = 0;
    const auto checkVersions = [&] {
        const fs::path copy = root / "copy";
        std::error_code ec;
        fs::remove_all(copy, ec);
        fs::copy(folder, copy, fs::copy_options::recursive, ec);
        std::vector<qb::HistoryVersion> versions;
        if (!qb::ListHistory(copy.string(), versions, &error)) {
            ++unreadable;
            return;
        }
        for (const qb::HistoryVersion& v : versions) {
            if (!qb::RestoreVersion(copy.string(), v.number, &error) ||
                !onceSaved.count(Read(copy / "project.ini"))) {
                ++wrongRestores;
                std::fprintf(stderr, "version %d: %s\n", v.number, error.c_str());
            }
            ++restored;
        }
    };
    for (int i = 1; i <= saves; ++i) {
        const std::uint32_t value = static_cast<std::uint32_t>(i);
        onceSaved.insert(bytesFor(value));
        const pid_t pid =
            Start(cli, cliArgs({"set", folderName, mainId, "8", "u32", std::to_string(value)}), out);
        std::this_thread::sleep_for(std::chrono::microseconds(
            static_cast<long>(std::uniform_real_distribution<double>(0, window)(random))));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        (WIFSIGNALED(status) ? killed : finished) += 1;

        const std::string bytes = Read(ini);
        bool ok = false;
        const std::uint32_t now = valueOf(bytes, &ok);
        if (!ok || (now != current && now != value) || bytes != bytesFor(now)) {
            ++wrongIni;
            std::fprintf(stderr, "save %d: project.ini is neither the old nor the new file\n", i);
        }
        current = now;
        std::vector<qb::HistoryVersion> versions;
        if (!qb::ListHistory(folder.string(), versions, &error)) {
            ++unreadable;
            std::fprintf(stderr, "save %d: history unreadable: %s\n", i, error.c_str());
        }
        mostVersions = std::max(mostVersions, versions.size());
        if (i % 100 == 0 || i == saves) checkVersions();
    }
    std::printf("%d saves of a %.1f MB project.ini: %d killed while running, %d ran to their end\n",
                saves, static_cast<double>(start.size()) / 1e6, killed, finished);
    std::printf("project.ini old or new, byte for byte: %d of %d\n", saves - wrongIni, saves);
    std::printf("history readable: %d of %d (at most %zu versions listed)\n",
                saves - unreadable, saves, mostVersions);
    std::printf("versions restored to bytes once saved: %d of %d\n", restored - wrongRestores,
                restored);
    if (!std::getenv("QB_KEEP")) fs::remove_all(root);
    return wrongIni || unreadable || wrongRestores ? 1 : 0;
}
