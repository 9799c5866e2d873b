// Finding the uses of one item in a project of 10,000 items against one pass over the records
// (reading each 32-bit word of every record once), in the same run.
//
//   uses_bench [items]
//
// The project is a shoot'em-up whose items cycle through sprite sheets, backgrounds, sounds,
// maps of 20 x 200 cells, enemies, levels of 20 waves, ships, fires, explosions and bonuses,
// their reference fields pointing at random items of the right types. Two targets are asked
// about: a sprite sheet (named by sprite frames everywhere) and a backgrounds bitmap (named by
// every cell of every map, the most words to read). Each figure is the fastest of several
// runs: the machine is shared.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/commands.h"
#include "model/references.h"
#include "model/workspace.h"

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    const int items = argc > 1 ? std::max(20, std::atoi(argv[1])) : 10000;
    std::mt19937 rng(4242);
    qb::ProjectRecord project = qb::InitProjectRecord(0, "Benchmark", "/nonexistent/Benchmark");
    const std::uint32_t cycle[] = {3, 4, 5, 6, 7, 8, 7, 9, 10, 12, 14, 7};
    std::vector<std::vector<std::int32_t>> ofType(15);
    // IDs are given in order, so the referenced IDs can be drawn before the items exist.
    for (int i = 0; i < items; ++i)
        ofType[cycle[static_cast<std::size_t>(i) % std::size(cycle)]].push_back(i + 2);
    auto pick = [&](std::uint32_t type) {
        const auto& ids = ofType[type];
        return static_cast<std::uint32_t>(ids[rng() % ids.size()]);
    };
    qb::AddObject(project, 1, 1, qb::DefaultMainParameters(0), "Main parameters", 1);
    for (int i = 0; i < items; ++i) {
        const std::uint32_t type = cycle[static_cast<std::size_t>(i) % std::size(cycle)];
        qb::Bytes data = qb::NewItemRecord(type, 0);
        qb::RecordView r(data);
        switch (type) {
        case 6:
            for (std::size_t c = 0; c < 20 * 200; ++c)
                r.setU32(12 + 4 * c, (pick(4) << 16) | (rng() & 0xFFFF));
            break;
        case 7:
            for (std::size_t f = 0; f < 8; ++f) r.setU32(20 + 8 * f, pick(3));
            r.setU32(828, pick(12));
            r.setU32(836, 1);
            r.setU32(840, pick(5));
            break;
        case 8: {
            data.assign(16 + 40 * 20, 0);
            qb::RecordView level(data);
            level.setU32(0, pick(6));
            level.setU32(4, 20);
            for (std::size_t e = 0; e < 20; ++e) level.setU32(8 + 40 * e + 4, pick(7));
            break;
        }
        case 9:
        case 10:
        case 12:
        case 14: {
            const std::size_t frames = type == 10 ? 24 : type == 12 ? 4 : 8;
            for (std::size_t f = 0; f < 10; ++f) r.setU32(frames + 8 * f, pick(3));
            break;
        }
        default: break;
        }
        qb::AddObject(project, type, 0, data, "Item " + std::to_string(i), i + 2);
    }
    std::size_t bytes = 0;
    for (const qb::ObjectRecord& o : project.objects) bytes += o.lpDatiOggetto.size();
    std::printf("%u items, %.1f MB of records\n", project.objectCount(), static_cast<double>(bytes) / 1e6);

    auto best = [](double& slot, const std::function<void()>& body) {
        const auto start = Clock::now();
        body();
        slot = std::min(slot, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    };
    const std::int32_t sheet = ofType[3][ofType[3].size() / 2];
    const std::int32_t tiles = ofType[4][ofType[4].size() / 2];
    double pass = 1e300, sheetUses = 1e300, tileUses = 1e300;
    std::size_t sink = 0, sheetCount = 0, tileCount = 0;
    for (int run = 0; run < 9; ++run) {
        best(pass, [&] {
            std::uint32_t sum = 0;
            for (const qb::ObjectRecord& o : project.objects) {
                const std::uint8_t* p = o.lpDatiOggetto.data();
                for (std::size_t at = 0; at + 4 <= o.lpDatiOggetto.size(); at += 4) {
                    std::uint32_t w;
                    std::memcpy(&w, p + at, 4);
                    sum += w;
                }
            }
            sink += sum;
        });
        best(sheetUses, [&] { sheetCount = qb::ItemUses(project, sheet).size(); });
        best(tileUses, [&] { tileCount = qb::ItemUses(project, tiles).size(); });
    }
    std::printf("one pass over the records %.2f ms\n", pass);
    std::printf("uses of a sprite sheet %.2f ms (%zu items): ratio %.2f (goal <= 2)\n", sheetUses,
                sheetCount, sheetUses / pass);
    std::printf("uses of a backgrounds bitmap %.2f ms (%zu items): ratio %.2f (goal <= 2)\n",
                tileUses, tileCount, tileUses / pass);
    return sink == 1;
}
