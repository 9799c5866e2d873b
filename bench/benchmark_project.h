#pragma once
// The large Curling project the I/O benchmarks save and load: groups, Main parameters, `records`
// Pachinko data records of 24084 random bytes and `smallItems` small items of two types, the
// file-backed ones naming a picture inside the folder (so a load rebases them in place).
#include <cstdint>
#include <random>
#include <string>

#include "model/folders.h"
#include "model/workspace.h"

namespace qbbench {

inline qb::ProjectRecord MakeBenchmarkProject(const std::string& folder, int records,
                                              int smallItems) {
    std::mt19937 rng(12345);
    auto randomBytes = [&](std::size_t n) {
        qb::Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>(rng());
        return b;
    };
    qb::ProjectRecord project = qb::InitProjectRecord(5, "Benchmark project", folder);
    qb::AddObject(project, 0, 500, nullptr, 0, "Parameters", -1);
    qb::AddObject(project, 0, 508, nullptr, 0, "Pachinko game data", -1);
    qb::AddObject(project, 0, 507, nullptr, 0, "Pachinko element", -1);
    qb::AddObject(project, 500, 1, randomBytes(1928), "Main parameters", -1);
    for (int i = 0; i < records; ++i)
        qb::AddObject(project, 508, 0, randomBytes(24084), "Pachinko data", -1);
    for (int i = 0; i < smallItems; ++i) {
        qb::Bytes b = randomBytes(i % 2 ? 952 : 276);
        qb::AddObject(project, i % 2 ? 507 : 3, 0, b, "Small item " + std::to_string(i), -1);
    }
    for (qb::ObjectRecord& o : project.objects)
        if (o.tipoOggetto == 3) o.record().setText(0, 260, qb::JoinPath(folder, "Sprites.png"));
    return project;
}

} // namespace qbbench
