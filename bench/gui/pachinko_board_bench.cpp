// Repainting a pachinko board of 500 pieces over its map (what the board editor's view paints:
// the map, then the pieces) against MapViewPaint of the same map alone, into the same picture.
// Prints the ratio (target: at most 2) for a repaint, and for repaints while the view scrolls by
// a row each time (both sides scroll), when every piece is drawn again.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "editors/curling/pachinko_board.h"
#include "imaging/map_view.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/layouts/pachinko.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "platform/pictures.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 9;
constexpr int kRepaints = 200;

std::int32_t NewItem(int project, std::uint32_t type) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type) return qb::NewItem(project, o.IDoggetto);
    return 0;
}

// A pachinko project with a 320 x 320 tile set, a 10 x 40 map whose every cell shows a tile, one
// element, and a board of 500 pieces all inside the first view: the worst case for the overlay.
std::int32_t MakeBoard(const fs::path& folder) {
    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = "Bench";
    ws.pendingProjectFolder = (folder / "Projects" / "Bench").string();
    fs::create_directories(ws.pendingProjectFolder);
    const int p = qb::CreateProject(5);
    qb::SetCurrentObject(p, 0);

    const std::int32_t tiles = NewItem(p, 4);
    qb::RecordView t = qb::FindObject(tiles, p)->record();
    t.setI32(qb::layout::backgrounds_bitmap::kTileSize, 32);
    QImage picture(320, 320, QImage::Format_RGB32);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 320; ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) & 255));
    const std::string path = (folder / "Tiles.png").string();
    picture.save(QString::fromStdString(path), "PNG");
    t.setText(qb::layout::file_backed::kPath, qb::layout::file_backed::kPathSize, path);

    const std::int32_t map = NewItem(p, 6);
    qb::Bytes& m = qb::FindObject(map, p)->lpDatiOggetto;
    m.assign(qb::layout::map::SizeFor(10, 40), 0);
    qb::RecordView mr(m);
    mr.setU32(qb::layout::map::kWidth, 10);
    mr.setU32(qb::layout::map::kHeight, 40);
    mr.setI32(qb::layout::map::kTileSize, 32);
    for (std::uint32_t y = 0; y < 40; ++y)
        for (std::uint32_t x = 0; x < 10; ++x)
            mr.setU32(qb::layout::map::CellOffset(x, y, 10),
                      qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), x, y % 10));

    const std::int32_t element = NewItem(p, 507);
    const std::int32_t board = NewItem(p, 508);
    namespace B = qb::layout::pachinko_board;
    namespace P = qb::layout::pachinko_board::piece;
    qb::RecordView b = qb::FindObject(board, p)->record();
    b.setU32(B::kBackgroundMap, static_cast<std::uint32_t>(map));
    b.setI32(B::kPieceCount, 500);
    const std::int32_t top = 40 * 32;  // the view shows rows 0..9: y from 1280 down to 961
    for (int i = 0; i < 500; ++i) {
        const std::size_t o = B::kPieces + static_cast<std::size_t>(i) * B::kPieceSize;
        const std::int32_t x = 8 + (i % 25) * 12, y = top - 8 - (i / 25) * 15;
        b.setU32(o + P::kElement, static_cast<std::uint32_t>(element));
        b.setU32(o + P::kPlacement, static_cast<std::uint32_t>(i % 3));
        b.setI32(o + P::kInitX, x);
        b.setI32(o + P::kInitY, y);
        b.setI32(o + P::kEndX, x + 10);
        b.setI32(o + P::kEndY, y - 12);
    }
    qb::SetCurrentObject(p, board);
    return board;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const fs::path folder = fs::temp_directory_path() / ("qb_pachinko_bench_" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(folder);
    qb::SetAppFolder(folder.string());
    std::string reason;
    if (!qb::BindPixbridge(qb::ExecutableFolder(), &reason)) {
        std::fprintf(stderr, "no Pixbridge: %s\n", reason.c_str());
        return 1;
    }
    MakeBoard(folder);

    int result = 0;
    {
        qb::ui::PachinkoBoardDialog dialog(nullptr);
        dialog.show();
        QApplication::processEvents();
        qb::ui::MapView& view = *dialog.mapView();
        if (view.state() != qb::ui::MapViewState::Showing || dialog.pieces().count() != 500) {
            std::fprintf(stderr, "the board did not open with its map and 500 pieces\n");
            result = 1;
        } else {
            QImage image(view.viewSize(), view.viewSize(), QImage::Format_RGB32);
            auto repaint = [&] {
                QPainter painter(&image);
                qb::ui::MapViewPaint(view, painter);
                dialog.paintPieces(painter);
            };
            std::vector<double> ours, changed, baseline, scrolledBaseline;
            for (int round = 0; round < kRounds; ++round) {
                QElapsedTimer clock;
                clock.start();
                for (int i = 0; i < kRepaints; ++i) repaint();
                ours.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRepaints);

                clock.restart();
                for (int i = 0; i < kRepaints; ++i) {
                    view.verticalBar()->setValue(i % 2);
                    repaint();
                }
                changed.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRepaints);

                clock.restart();
                for (int i = 0; i < kRepaints; ++i) {
                    view.verticalBar()->setValue(i % 2);
                    QPainter painter(&image);
                    qb::ui::MapViewPaint(view, painter);
                }
                scrolledBaseline.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRepaints);
                view.verticalBar()->setValue(0);

                clock.restart();
                for (int i = 0; i < kRepaints; ++i) {
                    QPainter painter(&image);
                    qb::ui::MapViewPaint(view, painter);
                }
                baseline.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRepaints);
            }
            const double a = Median(ours), b = Median(baseline);
            const double c = Median(changed), d = Median(scrolledBaseline);
            std::printf("pachinko board, 500 pieces in view: repaint %.3f ms, MapViewPaint alone %.3f ms; "
                        "scrolling: %.3f ms against %.3f ms\n", a, b, c, d);
            std::printf("ratio %.2f (target <= 2); scrolling %.2f\n", a / b, c / d);
        }
    }
    qb::ResetWorkspace();
    std::error_code ec;
    fs::remove_all(folder, ec);
    return result;
}
