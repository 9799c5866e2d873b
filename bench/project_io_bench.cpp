// Loading and saving a large project against plain file I/O of the same bytes, in the same run.
//
//   project_io_bench [records [small-items [folder]]]
//
// Builds a Curling project of `records` Pachinko data records (type 508, 24084 random bytes,
// 201 pieces each) and `small-items` small items, then times LoadProject against reading the
// file with read(2), and SaveProject (one record changed; from nothing) against writing the
// same bytes to a temporary file, fsync and rename. Each figure is the fastest of several runs
// on a warm page cache (the fastest run is the one least disturbed by other work).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "benchmark_project.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/messages.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string PlainRead(const std::string& path) {
    std::string out;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return out;
    struct stat st {};
    ::fstat(fd, &st);
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t r = ::read(fd, out.data() + got, out.size() - got);
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    out.resize(got);
    return out;
}

bool PlainWriteAndRename(const std::string& path, const std::string& bytes, bool sync) {
    const std::string tmp = path + ".plain";
    const int fd = ::open(tmp.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w <= 0) break;
        done += static_cast<std::size_t>(w);
    }
    if (sync) ::fsync(fd);
    ::close(fd);
    return done == bytes.size() && ::rename(tmp.c_str(), path.c_str()) == 0;
}

void Ratio(const char* what, const char* baseline, double ms, double baseMs) {
    std::printf("%s / %s: %.1fx  (%.1f ms vs %.1f ms)\n", what, baseline, ms / baseMs, ms, baseMs);
}

} // namespace

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const int smallItems = argc > 2 ? std::max(0, std::atoi(argv[2])) : 300;
    fs::path root = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path();
    root /= "qb_project_io_bench_" + std::to_string(::getpid());
    std::error_code ec;
    fs::create_directories(root / "Projects" / "Bench", ec);
    if (ec) {
        std::fprintf(stderr, "cannot create %s: %s\n", root.c_str(), ec.message().c_str());
        return 1;
    }
    qb::SetAppFolder(root.string());
    // The project file alone; history_bench measures what keeping the history adds.
    qb::SetHistoryEnabled(false);
    qb::SetPreference("projectsPath", (root / "Projects").string());
    const std::string folder = (root / "Projects" / "Bench").string();
    const std::string ini = qb::JoinPath(folder, qb::kProjectFileName);
    constexpr int kRuns = 9;

    qb::ProjectRecord project = qbbench::MakeBenchmarkProject(folder, records, smallItems);
    const int index = qb::AppendProject(std::move(project));
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    if (!qb::SaveProject(index)) return 1;

    const std::string bytes = PlainRead(ini);
    std::size_t keys = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) keys += bytes[i] == '=';
    std::printf("project.ini: %.1f MB, %zu keys, %u objects (in %s)\n", bytes.size() / 1e6, keys,
                p.objectCount(), root.c_str());

    // Each operation is timed in turn with its baseline, so that both see the same machine
    // (it is shared: other load comes and goes).
    std::size_t sink = 0;
    double plainRead = 1e300, load = 1e300, saveChanged = 1e300, saveUnchanged = 1e300;
    double saveFresh = 1e300, plainWrite = 1e300, plainWriteNoSync = 1e300;
    auto best = [](double& slot, const std::function<void()>& body) {
        const auto start = Clock::now();
        body();
        slot = std::min(slot, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    };
    std::string changedBytes;
    for (int run = 0; run < kRuns; ++run) {
        best(plainRead, [&] { sink += PlainRead(ini).size(); });
        best(load, [&] {
            const int loaded = qb::LoadProject("Bench");
            if (loaded < 0) std::exit(1);
            sink += qb::ProjectAt(loaded)->objectCount();
        });
        qb::CloseProject(1);

        // One record changed: one piece differs.
        p.objects[4 + static_cast<std::size_t>(run % records)].lpDatiOggetto[1000] ^= 0x5a;
        best(saveChanged, [&] { if (!qb::SaveProject(index)) std::exit(1); });
        changedBytes = PlainRead(ini);
        best(plainWrite, [&] { PlainWriteAndRename(ini, changedBytes, true); });
        best(plainWriteNoSync, [&] { PlainWriteAndRename(ini, changedBytes, false); });
        best(saveUnchanged, [&] { qb::SaveProject(index); });

        fs::remove(ini);
        best(saveFresh, [&] { if (!qb::SaveProject(index)) std::exit(1); });
        if (PlainRead(ini) != changedBytes) {
            std::fprintf(stderr, "a save from nothing differs from an updated save\n");
            return 1;
        }
    }

    Ratio("LoadProject", "plain read", load, plainRead);
    Ratio("SaveProject, one record changed", "plain write+fsync+rename", saveChanged, plainWrite);
    Ratio("SaveProject, from nothing", "plain write+fsync+rename", saveFresh, plainWrite);
    Ratio("SaveProject, unchanged (nothing written)", "plain read", saveUnchanged, plainRead);
    std::printf("(plain write+rename without fsync: %.1f ms; SaveProject, one record changed is "
                "%.1fx that)\n",
                plainWriteNoSync, saveChanged / plainWriteNoSync);
    if (!std::getenv("QB_BENCH_KEEP")) fs::remove_all(root, ec);
    return sink == 0 ? 1 : 0;
}
