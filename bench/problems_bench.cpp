// Finding every problem of a large project against loading it, in the same run.
//
//   problems_bench [records [small-items]]
//
// The project is the one of project_io_bench (a Curling project of `records` Pachinko data
// records of 24084 random bytes, about 21 MB with the defaults, and `small-items` small items
// of which half are sprite sheets), plus a shoot'em-up part of checked items (enemies, levels,
// ships, fires, explosions, bonuses) so the checks have work to do. Each figure is the fastest
// of several runs: the machine is shared.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include <unistd.h>

#include "build/validate.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const int smallItems = argc > 2 ? std::max(0, std::atoi(argv[2])) : 300;
    const fs::path root = fs::temp_directory_path() / ("qb_problems_bench_" + std::to_string(::getpid()));
    std::error_code ec;
    fs::create_directories(root / "Projects" / "Bench", ec);
    if (ec) return 1;
    qb::SetAppFolder(root.string());
    qb::SetPreference("projectsPath", (root / "Projects").string());
    const std::string folder = (root / "Projects" / "Bench").string();

    std::mt19937 rng(12345);
    auto randomBytes = [&](std::size_t n) {
        qb::Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : rng() % 3);
        return b;
    };
    qb::ProjectRecord project = qb::InitProjectRecord(5, "Benchmark project", folder);
    qb::AddObject(project, 0, 500, nullptr, 0, "Parameters", -1);
    qb::AddObject(project, 500, 1, randomBytes(1928), "Main parameters", -1);
    for (int i = 0; i < records; ++i)
        qb::AddObject(project, 508, 0, randomBytes(24084), "Pachinko data", -1);
    for (int i = 0; i < smallItems; ++i)
        qb::AddObject(project, i % 2 ? 507 : 3, 0, randomBytes(i % 2 ? 952 : 276),
                      "Small item " + std::to_string(i), -1);
    const std::uint32_t checked[] = {7, 8, 9, 10, 12, 13, 14};
    for (int i = 0; i < 700; ++i)
        qb::AddObject(project, checked[i % 7], 0, randomBytes(2400), "Checked " + std::to_string(i),
                      -1);
    for (qb::ObjectRecord& o : project.objects)
        if (o.tipoOggetto == 3 || o.tipoOggetto == 13)
            o.record().setText(0, 260, qb::JoinPath(folder, "Sprites.png"));
    const int index = qb::AppendProject(std::move(project));
    if (!qb::SaveProject(index)) return 1;
    std::printf("project.ini: %.1f MB, %u objects\n",
                static_cast<double>(fs::file_size(qb::JoinPath(folder, qb::kProjectFileName))) / 1e6,
                qb::ProjectAt(index)->objectCount());

    double load = 1e300, problems = 1e300;
    std::size_t sink = 0;
    auto best = [](double& slot, const std::function<void()>& body) {
        const auto start = Clock::now();
        body();
        slot = std::min(slot, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    };
    for (int run = 0; run < 7; ++run) {
        best(load, [&] {
            const int loaded = qb::LoadProject("Bench");
            if (loaded < 0) std::exit(1);
            sink += qb::ProjectAt(loaded)->objectCount();
            qb::CloseProject(loaded);
        });
        best(problems, [&] { sink += qb::ProjectProblems(*qb::ProjectAt(index)).size(); });
    }
    std::printf("LoadProject %.2f ms, every problem %.2f ms (%zu listed): ratio %.3f (goal <= 0.5)\n",
                load, problems, qb::ProjectProblems(*qb::ProjectAt(index)).size(), problems / load);
    fs::remove_all(root, ec);
    return sink == 0;
}
