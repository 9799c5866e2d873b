// A save that keeps the project's history against the same save without it, in the same run.
//
//   history_bench [records [small-items [folder]]]
//
// Builds the large Curling project of project_io_bench (400 Pachinko data records of 24084
// random bytes and 300 small items: a project.ini of about 21 MB), saves it once with history
// (the first version holds the whole file), then times SaveProject after one record changed,
// with history and without it in turn. Each figure is the fastest of several runs on a warm
// page cache.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "benchmark_project.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"

namespace fs = std::filesystem;

namespace {
using Clock = std::chrono::steady_clock;

std::uint64_t FolderBytes(const fs::path& folder) {
    std::uint64_t total = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) total += it->file_size(ec);
    return total;
}
} // namespace

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const int smallItems = argc > 2 ? std::max(0, std::atoi(argv[2])) : 300;
    fs::path root = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path();
    root /= "qb_history_bench_" + std::to_string(::getpid());
    std::error_code ec;
    fs::create_directories(root / "Projects" / "Bench", ec);
    if (ec) {
        std::fprintf(stderr, "cannot create %s: %s\n", root.c_str(), ec.message().c_str());
        return 1;
    }
    qb::SetAppFolder(root.string());
    qb::SetPreference("projectsPath", (root / "Projects").string());
    const std::string folder = (root / "Projects" / "Bench").string();
    constexpr int kRuns = 9;

    qb::ProjectRecord project = qbbench::MakeBenchmarkProject(folder, records, smallItems);
    const int index = qb::AppendProject(std::move(project));
    qb::ProjectRecord& p = *qb::ProjectAt(index);
    if (!qb::SaveProject(index)) return 1;
    // The first version holds the whole file; later ones only what changed.
    p.objects[4].lpDatiOggetto[10] ^= 0x5a;
    if (!qb::SaveProject(index)) return 1;
    const std::uint64_t firstHistory = FolderBytes(fs::path(folder) / qb::kHistoryFolderName);
    std::printf("project.ini: %.1f MB; history after the first version: %.1f MB\n",
                static_cast<double>(fs::file_size(qb::JoinPath(folder, qb::kProjectFileName))) / 1e6,
                static_cast<double>(firstHistory) / 1e6);

    double with = 1e300, without = 1e300;
    auto best = [](double& slot, const std::function<void()>& body) {
        const auto start = Clock::now();
        body();
        slot = std::min(slot, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    };
    int changed = 0;
    auto changeOne = [&] {
        p.objects[4 + static_cast<std::size_t>(++changed % records)].lpDatiOggetto[1000] ^= 0x5a;
    };
    for (int run = 0; run < kRuns; ++run) {
        changeOne();
        qb::SetHistoryEnabled(true);
        best(with, [&] { if (!qb::SaveProject(index)) std::exit(1); });
        changeOne();
        qb::SetHistoryEnabled(false);
        best(without, [&] { if (!qb::SaveProject(index)) std::exit(1); });
    }
    qb::SetHistoryEnabled(true);
    const std::uint64_t lastHistory = FolderBytes(fs::path(folder) / qb::kHistoryFolderName);
    std::printf("SaveProject with history / without, one record changed: %.2fx  (%.1f ms vs %.1f ms)\n",
                with / without, with, without);
    std::printf("history grew by %.0f KB a version after the first\n",
                static_cast<double>(lastHistory - firstHistory) / 1024.0 / kRuns);
    if (!std::getenv("QB_BENCH_KEEP")) fs::remove_all(root, ec);
    return 0;
}
