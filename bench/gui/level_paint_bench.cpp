// Repainting the "Level data" map area with 2,000 waves over a 20 x 2000 map, against
// MapViewPaint alone on the same view. Prints the ratio (target: at most 2).
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "editors/shootemup/level_editor.h"
#include "imaging/map_view.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/enemy.h"
#include "model/layouts/level.h"
#include "model/layouts/map.h"
#include "model/layouts/vectorial.h"
#include "model/workspace.h"
#include "platform/pictures.h"

namespace {

namespace L = qb::layout;
constexpr int kWaves = 2000;
constexpr std::uint32_t kColumns = 20, kRows = 2000, kTile = 32;
constexpr int kRounds = 9;
constexpr int kRepaints = 20;

std::int32_t Add(qb::ProjectRecord& project, std::uint32_t type, qb::Bytes record, const std::string& name) {
    return qb::AddObject(project, type, 0, record, name, -1);
}

// A project with a tile set, the map painted all over, three paths of the three drawn kinds, an
// enemy on each and a level of kWaves waves spread over the map.
std::int32_t MakeLevel(const std::filesystem::path& folder, int& projectIndex) {
    qb::ResetWorkspace();
    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = "Benchmark";
    ws.pendingProjectFolder = folder.string();
    projectIndex = qb::CreateProject(0);
    qb::ProjectRecord& project = *qb::ProjectAt(projectIndex);

    const std::string picture = (folder / "Tiles.png").string();
    QImage tiles(320, 320, QImage::Format_RGB32);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 320; ++x) tiles.setPixel(x, y, qRgb(x / 32 * 25, y / 32 * 25, 90));
    tiles.save(QString::fromStdString(picture), "PNG");
    qb::Bytes tileSet(L::backgrounds_bitmap::kSize, 0);
    qb::RecordView t(tileSet);
    t.setText(L::file_backed::kPath, L::file_backed::kPathSize, picture);
    t.setI32(L::backgrounds_bitmap::kTileSize, kTile);
    const std::int32_t tileSetId = Add(project, 4, tileSet, "Tiles");

    qb::Bytes map(L::map::SizeFor(kColumns, kRows), 0);
    qb::RecordView m(map);
    m.setU32(L::map::kWidth, kColumns);
    m.setU32(L::map::kHeight, kRows);
    m.setU32(L::map::kTileSize, kTile);
    for (std::uint32_t y = 0; y < kRows; ++y)
        for (std::uint32_t x = 0; x < kColumns; ++x)
            m.setU32(L::map::CellOffset(x, y, kColumns),
                     (static_cast<std::uint32_t>(tileSetId) << 16) | ((x % 10) << 8) | (y % 10));
    const std::int32_t mapId = Add(project, 6, map, "Map");

    std::vector<std::uint32_t> enemies;
    for (std::uint32_t kind : {L::vectorial::kFromTop, L::vectorial::kFromLeft, L::vectorial::kFromBottom}) {
        qb::Bytes path(L::vectorial::kNewSize, 0);
        qb::RecordView(path).setU32(L::vectorial::kType, kind);
        const std::int32_t pathId = Add(project, 11, path, "Path");
        qb::Bytes enemy(L::enemy::kSize, 0);
        qb::RecordView(enemy).setU32(L::enemy::kVectorialAnimations, static_cast<std::uint32_t>(pathId) << 16);
        enemies.push_back(static_cast<std::uint32_t>(Add(project, 7, enemy, "Enemy")));
    }

    qb::Bytes level(L::level::SizeFor(kWaves), 0);
    qb::RecordView r(level);
    r.setU32(L::level::kBackgroundMap, static_cast<std::uint32_t>(mapId));
    r.setI32(L::level::kEntryCount, kWaves);
    const std::int32_t height = static_cast<std::int32_t>(kRows * kTile);
    for (int i = 0; i < kWaves; ++i) {
        const std::size_t at = L::level::EntryOffset(static_cast<std::uint64_t>(i));
        r.setI32(at + L::level::entry::kEnemyCount, 3);
        r.setU32(at + L::level::entry::kSubject, enemies[static_cast<std::size_t>(i) % enemies.size()]);
        r.setI32(at + L::level::entry::kMapX, (i * 37) % 640);
        r.setI32(at + L::level::entry::kMapY, height - 1 - i * height / kWaves);  // descending
        r.setI32(at + L::level::entry::kScreenY, height - 1 - i * height / kWaves - 200);
    }
    return Add(project, 8, level, "Level");
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string reason;
    if (!qb::BindPixbridge(qb::ExecutableFolder(), &reason)) {
        std::fprintf(stderr, "no pictures: %s\n", reason.c_str());
        return 1;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("level_paint_bench_" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(folder);
    int projectIndex = -1;
    const std::int32_t level = MakeLevel(folder, projectIndex);
    qb::SetCurrentObject(projectIndex, level);

    {
        qb::ui::LevelEditorDialog dialog(nullptr);
        dialog.show();
        QApplication::processEvents();
        qb::ui::MapView* view = dialog.mapView();
        QWidget* area = view->area();
        // The baseline: the same map in a MapView of its own with nothing drawn over it.
        qb::ui::MapView bare;
        qb::ui::MapViewInit(bare, projectIndex);
        qb::ui::MapViewShow(bare, view->mapItemId());
        bare.show();
        QImage target(area->size(), QImage::Format_RGB32);

        // Views spread over the map, so that the level's waves come and go.
        const int maxRow = view->verticalBar()->maximum();
        std::vector<double> ours, baseline;
        for (int round = 0; round < kRounds; ++round) {
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; i < kRepaints; ++i) {
                view->verticalBar()->setValue(maxRow * i / kRepaints);
                area->render(&target);
            }
            ours.push_back(static_cast<double>(clock.nsecsElapsed()));

            clock.restart();
            for (int i = 0; i < kRepaints; ++i) {
                bare.verticalBar()->setValue(maxRow * i / kRepaints);
                bare.area()->render(&target);
            }
            baseline.push_back(static_cast<double>(clock.nsecsElapsed()));
        }
        const double ratio = Median(ours) / Median(baseline);
        std::printf("level map area with %d waves over a %u x %u map: %.2f ms per repaint, "
                    "MapViewPaint alone %.2f ms; ratio %.2f (target <= 2)\n",
                    kWaves, kColumns, kRows, Median(ours) / kRepaints / 1e6,
                    Median(baseline) / kRepaints / 1e6, ratio);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
