// The map painter against plain Qt doing the same work, in one run. Prints four ratios:
//   1. a full repaint of the 640 x 640 map view, 1600 tiles of 16 pixels from four tile sets,
//      against a plain widget whose repaint draws the same 1600 tiles from one pixmap (<= 1.5);
//   2. the satellite view of a 640 x 640-cell map against a plain widget whose repaint fills a
//      640 x 640 QImage with the same colours and shows it (<= 2); and, on its own, making the
//      satellite picture from the cells (as after each edit) against filling that image;
//   3. "Fill" (with its undo snapshot) on a 1000 x 1000 map against std::fill of the same cells
//      (<= 3);
//   4. opening the painter on a project with 20 tile sets of 2048 x 2048 against decoding the
//      same PNGs alone (<= 1.2).
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "imaging/map_painter.h"
#include "imaging/map_tiles.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/workspace.h"
#include "platform/pictures.h"

namespace {

namespace map = qb::layout::map;
namespace cell = qb::layout::map_cell;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeMs(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

QRgb TileColour(int set, int column, int row) {
    return qRgb((column * 9 + set * 3) % 256, (row * 7 + 1) % 256, 40 + set * 50);
}

// A tile set picture with some texture in each tile, so that PNG decoding has real work to do.
QImage TileSetPicture(int side, int tile, int set) {
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const QRgb base = TileColour(set, (x / tile) % 256, (y / tile) % 256);
            line[x] = base ^ static_cast<QRgb>(((x * 7 + y * 13) & 0x1f) << 8);
        }
    }
    return image;
}

std::int32_t AddTileSet(qb::ProjectRecord& project, const QString& path, int tile) {
    qb::Bytes record(qb::layout::backgrounds_bitmap::kSize, 0);
    qb::RecordView r(record);
    r.setText(qb::layout::file_backed::kPath, qb::layout::file_backed::kPathSize, path.toStdString());
    r.setI32(qb::layout::backgrounds_bitmap::kTileSize, tile);
    return qb::AddObject(project, 4, 0, record, "tile set", -1);
}

std::int32_t AddMap(qb::ProjectRecord& project, std::uint32_t w, std::uint32_t h, int tile,
                    const std::function<std::uint32_t(std::uint32_t, std::uint32_t)>& cellAt) {
    qb::Bytes record(map::SizeFor(w, h), 0);
    qb::RecordView r(record);
    r.setU32(map::kWidth, w);
    r.setU32(map::kHeight, h);
    r.setI32(map::kTileSize, tile);
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x) r.setU32(map::CellOffset(x, y, w), cellAt(x, y));
    return qb::AddObject(project, 6, 0, record, "map", -1);
}

int NewProject(const QString& folder) {
    qb::ProjectRecord project = qb::InitProjectRecord(0, "Benchmark", folder.toStdString());
    return qb::AppendProject(std::move(project));
}

// Opens the painter on the map and runs act inside it; act closes it.
void InPainter(int project, std::int32_t mapId, const std::function<void(QDialog*)>& act) {
    QTimer::singleShot(0, [&] {
        std::function<void()> poll = [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                act(d);
                return;
            }
            QTimer::singleShot(5, poll);
        };
        poll();
    });
    qb::ui::EditBackgroundMap(nullptr, project, mapId);
}

// A plain widget that runs a painting function at each repaint.
class PlainView : public QWidget {
public:
    explicit PlainView(std::function<void(QPainter&)> paint) : paint_(std::move(paint)) {
        setFixedSize(640, 640);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_(p);
    }

private:
    std::function<void(QPainter&)> paint_;
};

void Report(const char* what, double ours, double base, double target) {
    std::printf("%s: painter %.3f ms, baseline %.3f ms\n  ratio %.2f (target <= %.1f)\n", what, ours,
                base, ours / base, target);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string error;
    if (!qb::BindPixbridgeBesideProgram(&error)) {
        std::fprintf(stderr, "Pixbridge: %s\n", error.c_str());
        return 1;
    }
    QTemporaryDir dir;
    const int rounds = 15;

    // 1 and 2: four 320 x 320 tile sets of 16-pixel tiles.
    {
        const int project = NewProject(dir.path());
        qb::ProjectRecord& p = *qb::ProjectAt(project);
        std::vector<std::int32_t> sets;
        std::vector<QImage> pictures;
        for (int s = 0; s < 4; ++s) {
            const QString path = dir.filePath(QString("small%1.png").arg(s));
            pictures.push_back(TileSetPicture(320, 16, s));
            pictures.back().save(path, "PNG");
            sets.push_back(AddTileSet(p, path, 16));
        }
        std::mt19937 random(7);
        std::vector<std::uint32_t> cells;
        const std::int32_t view = AddMap(p, 640, 640, 16, [&](std::uint32_t, std::uint32_t) {
            const auto s = random() % 4, c = random() % 20, r = random() % 20;
            return cell::Make(static_cast<std::uint32_t>(sets[s]), c, r);
        });
        const qb::Bytes& record = qb::FindObject(view, project)->lpDatiOggetto;
        for (std::size_t i = 0; i < 640u * 640u; ++i)
            cells.push_back(qb::ConstRecordView(record).u32(map::kCells + 4 * i));

        // The baseline draws the same 1600 source squares, all from the first picture.
        const QPixmap one = QPixmap::fromImage(pictures[0]);
        PlainView tiles([&](QPainter& painter) {
            for (int v = 0; v < 40; ++v)
                for (int u = 0; u < 40; ++u) {
                    const std::uint32_t c = cells[static_cast<std::size_t>(v) * 640 + u];
                    painter.drawPixmap(QPoint(u * 16, v * 16), one,
                                       QRect(int(cell::Column(c)) * 16, int(cell::Row(c)) * 16, 16, 16));
                }
        });
        // The satellite baseline fills an image with the cells' centre colours, looked up
        // beforehand, and shows it.
        std::vector<QRgb> colours(cells.size());
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::uint32_t c = cells[i];
            std::size_t s = 0;
            while (static_cast<std::uint32_t>(sets[s]) != cell::TileSetId(c)) ++s;
            colours[i] = pictures[s].pixel(int(cell::Column(c)) * 16 + 8, int(cell::Row(c)) * 16 + 8);
        }
        QImage filled(640, 640, QImage::Format_RGB32);
        PlainView satellite([&](QPainter& painter) {
            for (int y = 0; y < 640; ++y) {
                auto* line = reinterpret_cast<QRgb*>(filled.scanLine(y));
                std::copy_n(colours.data() + static_cast<std::size_t>(y) * 640, 640, line);
            }
            painter.drawImage(0, 0, filled);
        });
        tiles.show();
        satellite.show();

        std::vector<double> ours, base, oursSat, baseSat, oursBuild, baseBuild;
        InPainter(project, view, [&](QDialog* d) {
            auto* canvas = d->findChild<QWidget*>("mapCanvas");
            auto* satelliteBox = d->findChild<QCheckBox*>("satelliteViewCheckBox");
            // Both sides paint through the same widget machinery into the same image.
            QImage target(640, 640, QImage::Format_RGB32);
            for (int i = 0; i < rounds; ++i) {
                ours.push_back(TimeMs([&] { canvas->render(&target); }));
                base.push_back(TimeMs([&] { tiles.render(&target); }));
            }
            satelliteBox->setChecked(true);
            for (int i = 0; i < rounds; ++i) {
                oursSat.push_back(TimeMs([&] { canvas->render(&target); }));
                baseSat.push_back(TimeMs([&] { satellite.render(&target); }));
            }
            // The satellite picture made again from the cells, as after every edit, against
            // filling the image alone.
            const qb::ui::MapCells cellsCopy = qb::ui::ReadMapCells(record);
            const qb::ui::TileSets sets = qb::ui::TileSets::LoadUsable(p, 16);
            QImage made;
            for (int i = 0; i < rounds; ++i) {
                oursBuild.push_back(TimeMs([&] { qb::ui::DrawSatelliteImage(cellsCopy, sets, 640, made); }));
                baseBuild.push_back(TimeMs([&] {
                    for (int y = 0; y < 640; ++y)
                        std::copy_n(colours.data() + static_cast<std::size_t>(y) * 640, 640,
                                    reinterpret_cast<QRgb*>(filled.scanLine(y)));
                }));
            }
            d->reject();
        });
        Report("map view repaint, 1600 tiles of 16 pixels from 4 tile sets", Median(ours), Median(base), 1.5);
        Report("satellite view of 640 x 640 cells, repaint", Median(oursSat), Median(baseSat), 2.0);
        Report("satellite picture made from 640 x 640 cells of 1600 tiles in random order (after an edit)",
               Median(oursBuild), Median(baseBuild), 2.0);

        // 3: Fill on a 1000 x 1000 map.
        const std::int32_t big = AddMap(p, 1000, 1000, 16, [](std::uint32_t, std::uint32_t) { return 0u; });
        std::vector<std::uint32_t> plain(1000u * 1000u, 0);
        std::vector<double> oursFill, baseFill;
        InPainter(project, big, [&](QDialog* d) {
            QWidget* picker = d->findChild<QWidget*>("tilePickerView");
            auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
                QMouseEvent e(type, QPointF(at), QPointF(picker->mapToGlobal(at)), Qt::LeftButton, held,
                              Qt::NoModifier);
                QApplication::sendEvent(picker, &e);
            };
            send(QEvent::MouseMove, {1, 1}, Qt::NoButton);
            send(QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton);
            send(QEvent::MouseMove, {40, 20}, Qt::LeftButton);  // a block of 3 x 2 tiles
            send(QEvent::MouseButtonRelease, {40, 20}, Qt::NoButton);
            auto* fill = d->findChild<QAbstractButton*>("fillButton");
            for (int i = 0; i < rounds; ++i) {
                oursFill.push_back(TimeMs([&] { fill->click(); }));
                const std::uint32_t value = cell::Make(1, 2, static_cast<std::uint32_t>(i));
                baseFill.push_back(TimeMs([&] { std::fill(plain.begin(), plain.end(), value); }));
            }
            d->reject();
        });
        Report("Fill, 1000 x 1000 cells", Median(oursFill), Median(baseFill), 3.0);
        qb::ResetWorkspace();
    }

    // 4: opening on 20 tile sets of 2048 x 2048.
    {
        const int project = NewProject(dir.path());
        qb::ProjectRecord& p = *qb::ProjectAt(project);
        std::vector<std::string> paths;
        for (int s = 0; s < 20; ++s) {
            const QString path = dir.filePath(QString("big%1.png").arg(s));
            TileSetPicture(2048, 16, s % 4).save(path, "PNG", 90);
            paths.push_back(path.toStdString());
            AddTileSet(p, path, 16);
        }
        const std::int32_t mapId = AddMap(p, 40, 40, 16, [](std::uint32_t, std::uint32_t) { return 0u; });
        std::vector<double> ours, base;
        auto open = [&] {
            QElapsedTimer clock;
            clock.start();
            InPainter(project, mapId, [&](QDialog* d) {
                ours.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
                d->reject();
            });
        };
        auto decode = [&] {
            base.push_back(TimeMs([&] {
                for (const std::string& path : paths) {
                    qb::Picture picture;
                    qb::LoadPicture(path, picture);
                }
            }));
        };
        decode();  // the files into the cache, not counted
        base.clear();
        for (int i = 0; i < 4; ++i) {  // alternating which goes first
            if (i % 2) {
                open();
                decode();
            } else {
                decode();
                open();
            }
        }
        Report("opening the painter, 20 tile sets of 2048 x 2048", Median(ours), Median(base), 1.2);
        qb::ResetWorkspace();
    }
    return 0;
}
