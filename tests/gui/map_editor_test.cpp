// "Background map parameters" and the map painter driven headless on real records: resizing,
// the tile-size question and size limits; picking, painting, erasing, flood fill, Fill, undo and
// redo, "Overwrite only background", the satellite view, and the bytes after "OK and save",
// OK and Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "imaging/map_painter.h"
#include "model/catalogue.h"
#include "platform/pictures.h"
#include "support/map_fixture.h"

using namespace qb;
using qbtest::CellAt;
using qbtest::Child;
using qbtest::SetCell;
using qbtest::TileColour;

namespace {

namespace cell = layout::map_cell;
namespace map = layout::map;

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, modifiers);
    QApplication::sendEvent(w, &event);
}
void Hover(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Mouse(w, QEvent::MouseButtonPress, p, b, b, m);
}
void DragTo(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) { Mouse(w, QEvent::MouseMove, p, Qt::NoButton, b); }
void Release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    Mouse(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
void Pick(QWidget* view, QPoint from, QPoint to) {
    Hover(view, from);
    Press(view, from);
    DragTo(view, to);
    Release(view, to);
}
void Click(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Press(w, p, b, m);
    Release(w, p, b);
}
// A key typed into the dialog as the active window, so its shortcuts answer.
void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers m) {
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, key, m);
}
void ClickButton(QDialog* d, const char* name) { Child<QPushButton>(d, name)->click(); }
void Type(QDialog* d, const char* name, const QString& text) { Child<QLineEdit>(d, name)->setText(text); }

class MapEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindPixbridge(qbtest::BinDir().string());
        project = qbtest::NewProject("Maps", game::ShootEmUp);
    }
    Bytes& Record(std::int32_t id) { return qbtest::Object(project, id).lpDatiOggetto; }
    // Opens the parameters dialog as the main window does and runs act in it.
    void Parameters(std::int32_t id, const std::function<void(QDialog*)>& act) { qbtest::Edit(project, id, act); }
    // From inside the parameters dialog: "Edit map", act in the painter; answers its result.
    bool Painter(QDialog* parameters, const std::function<void(QDialog*)>& act) {
        bool opened = false;
        qbtest::WithModalDialog([&] { ClickButton(parameters, "editMapButton"); },
                                [&](QDialog* p) {
                                    opened = true;
                                    act(p);
                                });
        return opened;
    }

    qbtest::TempAppFolder app;
    int project = -1;
};

QWidget* Canvas(QDialog* p) { return Child<QWidget>(p, "mapCanvas"); }
QWidget* Picker(QDialog* p) { return Child<QWidget>(p, "tilePickerView"); }

} // namespace

TEST_F(MapEditorTest, ParametersResizeFromTheBottomAskBeforeANewTileSizeAndRefuseHugeMaps) {
    const std::int32_t id = qbtest::AddMap(project, 20, 200, 32, "Level 1 map");
    SetCell(Record(id), 0, 199, 0x00050101u);
    SetCell(Record(id), 5, 190, 0x00050203u);
    SetCell(Record(id), 19, 0, 0x00050304u);

    Parameters(id, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Background map parameters");
        EXPECT_EQ(Child<QLineEdit>(d, "pieceDimensionLineEdit")->text(), "32");
        EXPECT_EQ(Child<QLineEdit>(d, "horizontalPiecesLineEdit")->text(), "20");
        EXPECT_EQ(Child<QLineEdit>(d, "verticalPiecesLineEdit")->text(), "200");
        EXPECT_EQ(Child<QLineEdit>(d, "itemNameLineEdit")->text(), "Level 1 map");
        auto* editMap = Child<QPushButton>(d, "editMapButton");
        EXPECT_TRUE(editMap->isEnabled());
        Type(d, "horizontalPiecesLineEdit", "21");
        EXPECT_FALSE(editMap->isEnabled());
        Type(d, "horizontalPiecesLineEdit", " +20");
        EXPECT_TRUE(editMap->isEnabled());
        Type(d, "verticalPiecesLineEdit", "210");
        EXPECT_FALSE(editMap->isEnabled());
        Type(d, "itemNameLineEdit", "Grown");
        qbtest::Ok(d);
    });
    Bytes saved = qbtest::SavedRecord(project, id);
    ASSERT_EQ(saved.size(), map::SizeFor(20, 210));
    EXPECT_EQ(saved, Record(id));
    EXPECT_EQ(CellAt(saved, 0, 209), 0x00050101u);
    EXPECT_EQ(CellAt(saved, 5, 200), 0x00050203u);
    EXPECT_EQ(CellAt(saved, 19, 10), 0x00050304u);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_EQ(CellAt(saved, x, y), 0u);
    EXPECT_EQ(ConstRecordView(saved).u32(map::TrailerOffset(20, 210)), 0u);
    EXPECT_EQ(qbtest::SavedProject(project).objects.back().sDescrizione, "Grown");

    // Shrinking keeps the bottom rows; the top cell falls off.
    Parameters(id, [&](QDialog* d) {
        Type(d, "verticalPiecesLineEdit", "100");
        Type(d, "horizontalPiecesLineEdit", "6");
        qbtest::Ok(d);
    });
    saved = qbtest::SavedRecord(project, id);
    ASSERT_EQ(saved.size(), map::SizeFor(6, 100));
    EXPECT_EQ(CellAt(saved, 0, 99), 0x00050101u);
    EXPECT_EQ(CellAt(saved, 5, 90), 0x00050203u);
    std::size_t painted = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 6; ++x) painted += CellAt(saved, x, y) != 0;
    EXPECT_EQ(painted, 2u);

    // Too large, negative, then a new tile size: asked, Cancel keeps the dialog open and the
    // record; OK empties every cell although W and H stay.
    const Bytes before = Record(id);
    app.messages.answers = {false, true};
    Parameters(id, [&](QDialog* d) {
        Type(d, "horizontalPiecesLineEdit", "1000000");
        Type(d, "verticalPiecesLineEdit", "1000000");
        qbtest::Ok(d);
        EXPECT_TRUE(d->isVisible());
        ASSERT_EQ(app.messages.texts.size(), 1u);
        EXPECT_NE(app.messages.texts[0].find("too large"), std::string::npos);
        EXPECT_NE(app.messages.texts[0].find("4194300"), std::string::npos);
        Type(d, "horizontalPiecesLineEdit", "-6");
        Type(d, "verticalPiecesLineEdit", "100");
        qbtest::Ok(d);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(app.messages.texts.size(), 2u);
        EXPECT_EQ(Record(id), before);

        Type(d, "horizontalPiecesLineEdit", "6");
        Type(d, "pieceDimensionLineEdit", "16");
        qbtest::Ok(d);
        EXPECT_TRUE(d->isVisible());
        ASSERT_EQ(app.messages.texts.size(), 3u);
        EXPECT_EQ(app.messages.texts[2], "Those values will initialize the map, continue?");
        EXPECT_EQ(Record(id), before);
        qbtest::Ok(d);
    });
    saved = qbtest::SavedRecord(project, id);
    ASSERT_EQ(saved.size(), map::SizeFor(6, 100));
    EXPECT_EQ(ConstRecordView(saved).i32(map::kTileSize), 16);
    EXPECT_EQ(std::count(saved.begin() + 12, saved.end(), 0), static_cast<long>(saved.size() - 12));

    // Cancel writes nothing.
    const std::string ini = qbtest::ReadFile(app.projects() / "Maps" / "project.ini");
    Parameters(id, [&](QDialog* d) {
        Type(d, "verticalPiecesLineEdit", "7");
        Type(d, "pieceDimensionLineEdit", "8");
        qbtest::Cancel(d);
    });
    EXPECT_EQ(qbtest::ReadFile(app.projects() / "Maps" / "project.ini"), ini);
    EXPECT_EQ(Record(id).size(), map::SizeFor(6, 100));
}

TEST_F(MapEditorTest, PaintEraseUndoRedoAndFloodFillReachTheRecordAtOkAndSave) {
    const std::int32_t a = qbtest::AddTileSet(project, 640, 640, 32, 0, 4, 0, "Rocks");
    qbtest::AddTileSet(project, 320, 320, 32, 1, 4, 0, "Water");
    qbtest::AddTileSet(project, 256, 640, 32, 2);  // 256 pixels wide: never offered
    const std::int32_t id = qbtest::AddMap(project, 20, 200, 32);
    const std::uint32_t A = static_cast<std::uint32_t>(a);

    Parameters(id, [&](QDialog* d) {
        EXPECT_TRUE(Painter(d, [&](QDialog* p) {
            EXPECT_EQ(p->windowTitle(), "Dialog");
            EXPECT_EQ(Child<QLabel>(p, "tileSetLabel")->text(), "Rocks (1/2)");
            EXPECT_EQ(Child<QScrollBar>(p, "tilePickerHorizontalScrollBar")->maximum(), 10);
            EXPECT_EQ(Child<QScrollBar>(p, "mapHorizontalScrollBar")->maximum(), 0);
            EXPECT_EQ(Child<QScrollBar>(p, "mapVerticalScrollBar")->maximum(), 180);
            QWidget* canvas = Canvas(p);


            // Picker scrolled two tiles across; view cells 1..3 x 1..2 are tiles 3..5 x 1..2.
            Child<QScrollBar>(p, "tilePickerHorizontalScrollBar")->setValue(2);
            Pick(Picker(p), {40, 40}, {100, 70});

            // The hover stamp shows until the map is next changed, scrolled or left.
            Hover(canvas, {10, 10});
            QImage shown = canvas->grab().toImage();
            EXPECT_EQ(shown.pixel(5, 5), TileColour(0, 3, 1));
            EXPECT_EQ(shown.pixel(64 + 5, 32 + 5), TileColour(0, 5, 2));
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(canvas, &leave);
            EXPECT_EQ(canvas->grab().toImage().pixel(5, 5), qRgb(255, 255, 255));

            // A stroke: pressed at cell (0, 3), dragged to (4, 3) and (10, 3).
            Press(canvas, {5, 3 * 32 + 5});
            DragTo(canvas, {4 * 32 + 5, 3 * 32 + 5});
            DragTo(canvas, {10 * 32 + 5, 3 * 32 + 5});
            Release(canvas, {10 * 32 + 5, 3 * 32 + 5});
            shown = canvas->grab().toImage();
            EXPECT_EQ(shown.pixel(5, 3 * 32 + 5), TileColour(0, 3, 1));
            EXPECT_EQ(shown.pixel(12 * 32 + 5, 4 * 32 + 5), TileColour(0, 5, 2));

            // The right button erases with the block's size.
            Click(canvas, {4 * 32 + 5, 3 * 32 + 5}, Qt::RightButton);
            shown = canvas->grab().toImage();
            EXPECT_EQ(shown.pixel(6 * 32 + 5, 4 * 32 + 5), qRgb(255, 255, 255));
            EXPECT_EQ(shown.pixel(2 * 32 + 5, 3 * 32 + 5), TileColour(0, 5, 1));

            // Undo the slip, redo it, undo again with the button.
            Key(p, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(canvas->grab().toImage().pixel(6 * 32 + 5, 4 * 32 + 5), TileColour(0, 5, 2));
            Key(p, Qt::Key_Y, Qt::ControlModifier);
            EXPECT_EQ(canvas->grab().toImage().pixel(6 * 32 + 5, 4 * 32 + 5), qRgb(255, 255, 255));
            ClickButton(p, "undoButton");
            EXPECT_EQ(canvas->grab().toImage().pixel(6 * 32 + 5, 4 * 32 + 5), TileColour(0, 5, 2));

            // The wheel scrolls the map by one tile; Shift+click flood-fills the empty region
            // around cell (0, 11), tiled from it.
            QWheelEvent down(QPointF(5, 5), QPointF(canvas->mapToGlobal(QPoint(5, 5))), QPoint(),
                             QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(canvas, &down);
            EXPECT_EQ(Child<QScrollBar>(p, "mapVerticalScrollBar")->value(), 1);
            Click(canvas, {5, 10 * 32 + 5}, Qt::LeftButton, Qt::ShiftModifier);
            ClickButton(p, "okAndSaveButton");
        }));
        qbtest::Cancel(d);  // the painter saved already
    });
    const Bytes saved = qbtest::SavedRecord(project, id);
    ASSERT_EQ(saved.size(), map::SizeFor(20, 200));
    EXPECT_EQ(saved, Record(id));
    // The stroke: blocks at (0, 3), (4, 3) and (10, 3), the last cut by nothing.
    EXPECT_EQ(CellAt(saved, 0, 3), cell::Make(A, 3, 1));
    EXPECT_EQ(CellAt(saved, 2, 4), cell::Make(A, 5, 2));
    EXPECT_EQ(CellAt(saved, 4, 3), cell::Make(A, 3, 1));
    EXPECT_EQ(CellAt(saved, 6, 4), cell::Make(A, 5, 2));
    EXPECT_EQ(CellAt(saved, 12, 4), cell::Make(A, 5, 2));
    // The flood fill from (0, 11) reached every empty cell, tiled from there.
    EXPECT_EQ(CellAt(saved, 3, 3), cell::Make(A, 3, 1));
    EXPECT_EQ(CellAt(saved, 0, 11), cell::Make(A, 3, 1));
    EXPECT_EQ(CellAt(saved, 1, 11), cell::Make(A, 4, 1));
    EXPECT_EQ(CellAt(saved, 0, 12), cell::Make(A, 3, 2));
    EXPECT_EQ(CellAt(saved, 0, 10), cell::Make(A, 3, 2));
    EXPECT_EQ(CellAt(saved, 19, 199), cell::Make(A, 3 + (19 % 3), 1 + (188 % 2)));
    std::size_t empty = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 20; ++x) empty += CellAt(saved, x, y) == 0;
    EXPECT_EQ(empty, 0u);
}

TEST_F(MapEditorTest, FillOnlyBackgroundSatelliteViewAndCancel) {
    const std::int32_t rocks = qbtest::AddTileSet(project, 320, 320, 32, 0, 4, 0, "Rocks");
    const std::int32_t sky = qbtest::AddTileSet(project, 320, 320, 32, 1, 4, 3, "Sky");
    const std::int32_t id = qbtest::AddMap(project, 20, 200, 32);
    const auto R = static_cast<std::uint32_t>(rocks), S = static_cast<std::uint32_t>(sky);
    SetCell(Record(id), 0, 0, cell::Make(R, 1, 1));    // kind 0: kept under the rule
    SetCell(Record(id), 1, 0, cell::Make(S, 2, 2));    // kind 3: background
    SetCell(Record(id), 2, 0, cell::Make(4321, 0, 0)); // tile set gone: background
    SetCell(Record(id), 3, 0, cell::Make(R, 9, 9));
    const Bytes before = Record(id);
    const std::string ini = qbtest::ReadFile(app.projects() / "Maps" / "project.ini");

    // Without a picked block the right button erases one cell; then Cancel drops everything.
    Parameters(id, [&](QDialog* d) {
        EXPECT_TRUE(Painter(d, [&](QDialog* p) {
            Click(Canvas(p), {3 * 32 + 5, 5}, Qt::RightButton);
            EXPECT_EQ(Canvas(p)->grab().toImage().pixel(3 * 32 + 5, 5), qRgb(255, 255, 255));
            EXPECT_EQ(Canvas(p)->grab().toImage().pixel(5, 5), TileColour(0, 1, 1));
            ClickButton(p, "nextTileSetButton");
            EXPECT_EQ(Child<QLabel>(p, "tileSetLabel")->text(), "Sky (2/2)");
            ClickButton(p, "nextTileSetButton");  // no third
            EXPECT_EQ(Child<QLabel>(p, "tileSetLabel")->text(), "Sky (2/2)");
            ClickButton(p, "cancelButton");
        }));
        qbtest::Cancel(d);
    });
    EXPECT_EQ(Record(id), before);
    EXPECT_EQ(qbtest::ReadFile(app.projects() / "Maps" / "project.ini"), ini);

    Parameters(id, [&](QDialog* d) {
        EXPECT_TRUE(Painter(d, [&](QDialog* p) {
            // A block of 3 x 2 tiles of Sky, columns 4..6, rows 2..3.
            ClickButton(p, "nextTileSetButton");
            Pick(Picker(p), {4 * 32 + 1, 2 * 32 + 1}, {6 * 32 + 1, 3 * 32 + 1});
            Child<QCheckBox>(p, "overwriteOnlyBackgroundCheckBox")->setChecked(true);
            ClickButton(p, "fillButton");
            EXPECT_EQ(Canvas(p)->grab().toImage().pixel(4 * 32 + 5, 5), TileColour(1, 5, 2));
            // Undone, the map is as it was; the fill comes back with the rule it was made with.
            ClickButton(p, "undoButton");
            const QImage undone = Canvas(p)->grab().toImage();
            EXPECT_EQ(undone.pixel(4 * 32 + 5, 5), qRgb(255, 255, 255));
            EXPECT_EQ(undone.pixel(32 + 5, 5), TileColour(1, 2, 2));
            EXPECT_EQ(undone.pixel(3 * 32 + 5, 5), TileColour(0, 9, 9));
            EXPECT_EQ(undone.pixel(5, 9 * 32 + 5), qRgb(255, 255, 255));
            Child<QCheckBox>(p, "overwriteOnlyBackgroundCheckBox")->setChecked(false);
            ClickButton(p, "redoButton");

            // Satellite view: one pixel per cell from the corner, the outlined square at the
            // scroll position, normal tiles right of the small picture.
            Child<QScrollBar>(p, "mapVerticalScrollBar")->setValue(5);
            Child<QCheckBox>(p, "satelliteViewCheckBox")->setChecked(true);
            const QImage sat = Canvas(p)->grab().toImage();
            const QRgb centreOfRocks11 = TileColour(0, 1, 1);
            EXPECT_EQ(sat.pixel(0, 0), centreOfRocks11);
            EXPECT_EQ(sat.pixel(4, 0), TileColour(1, 5, 2));   // filled: 4 % 3 = 1
            EXPECT_EQ(sat.pixel(19, 199), TileColour(1, 5, 3));
            EXPECT_EQ(sat.pixel(25, 3), qRgb(255, 255, 255));  // beyond W, inside the first tile
            EXPECT_EQ(sat.pixel(1, 5), qRgb(0, 0, 0));         // x odd: black
            EXPECT_EQ(sat.pixel(2, 5), qRgb(255, 255, 255));
            EXPECT_EQ(sat.pixel(0, 7), qRgb(0, 0, 0));         // y odd on a vertical side
            EXPECT_EQ(sat.pixel(19, 7), qRgb(0, 0, 0));
            EXPECT_EQ(sat.pixel(32 + 16, 16), TileColour(1, 5, 3));  // tile of cell (1, 5)
            Child<QCheckBox>(p, "gridCheckBox")->setChecked(true);
            Child<QCheckBox>(p, "satelliteViewCheckBox")->setChecked(false);
            const QImage normal = Canvas(p)->grab().toImage();
            EXPECT_EQ(normal.pixel(5, 5), TileColour(1, 4, 3));   // cell (0, 5): row 5 % 2 = 1
            EXPECT_NE(normal.pixel(32, 5), TileColour(1, 5, 3));  // a grid line
            ClickButton(p, "okAndSaveButton");
        }));
        qbtest::Cancel(d);
    });
    const Bytes saved = qbtest::SavedRecord(project, id);
    ASSERT_EQ(saved, Record(id));
    // The first fill kept the kind 0 cells; the redo filled as it was made.
    EXPECT_EQ(CellAt(saved, 0, 0), cell::Make(R, 1, 1));
    EXPECT_EQ(CellAt(saved, 3, 0), cell::Make(R, 9, 9));   // its erasure was cancelled
    EXPECT_EQ(CellAt(saved, 1, 0), cell::Make(S, 5, 2));
    EXPECT_EQ(CellAt(saved, 2, 0), cell::Make(S, 6, 2));
    // 7 x 100 blocks; the last column of blocks is cut at the right edge.
    EXPECT_EQ(CellAt(saved, 18, 0), cell::Make(S, 4, 2));
    EXPECT_EQ(CellAt(saved, 19, 199), cell::Make(S, 5, 3));
    EXPECT_EQ(ConstRecordView(saved).u32(map::TrailerOffset(20, 200)), 0u);
}

TEST_F(MapEditorTest, UnusableTileSetsAndDamagedRecords) {
    qbtest::AddTileSet(project, 256, 640, 32, 0);  // too narrow
    const std::int32_t t16 = qbtest::AddTileSet(project, 640, 640, 16, 1);  // another tile size
    const std::int32_t id = qbtest::AddMap(project, 20, 200, 32);
    EXPECT_FALSE(qb::ui::EditBackgroundMap(nullptr, project, id));
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], "No compatible background image found.");
    for (std::int32_t tile : {0, -16}) {
        const std::int32_t bad = qbtest::AddMap(project, 20, 20, tile);
        EXPECT_FALSE(qb::ui::EditBackgroundMap(nullptr, project, bad));
    }
    EXPECT_EQ(app.messages.texts.size(), 3u);

    // A record shorter than its W x H cells, with W x H beyond 32 bits: only the held cells are
    // drawn and painted, and "OK and save" keeps the record's size.
    const std::int32_t damaged = qbtest::AddMap(project, 3, 2, 16);
    RecordView(Record(damaged)).setU32(map::kWidth, 0x10000u);
    RecordView(Record(damaged)).setU32(map::kHeight, 0x10001u);
    const std::size_t size = Record(damaged).size();
    bool result = false;
    qbtest::WithModalDialog([&] { result = qb::ui::EditBackgroundMap(nullptr, project, damaged); },
                            [&](QDialog* p) {
                                Pick(Picker(p), {1, 1}, {40, 40});
                                Click(Canvas(p), {1, 1});
                                ClickButton(p, "fillButton");
                                Child<QCheckBox>(p, "satelliteViewCheckBox")->setChecked(true);
                                Canvas(p)->grab();
                                Click(Canvas(p), {300, 300}, Qt::LeftButton, Qt::ShiftModifier);
                                Child<QScrollBar>(p, "mapVerticalScrollBar")->setValue(60000);
                                Canvas(p)->grab();
                                ClickButton(p, "okAndSaveButton");
                            });
    EXPECT_TRUE(result);
    ASSERT_EQ(Record(damaged).size(), size);
    // The record holds 7 cells of row 0, all filled with the block's top row.
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(CellAt(Record(damaged), x, 0), cell::Make(static_cast<std::uint32_t>(t16), x % 3, 0)) << x;
}

TEST_F(MapEditorTest, TilesBeyondColumn255OrOutsideThePictureAreNeverPicked) {
    // 262 tiles across: only the first 256 can be named by a cell.
    const std::int32_t wide = qbtest::AddTileSet(project, 262 * 16, 320, 16, 0);
    const std::int32_t id = qbtest::AddMap(project, 12, 4, 16);
    bool result = false;
    qbtest::WithModalDialog([&] { result = qb::ui::EditBackgroundMap(nullptr, project, id); },
                            [&](QDialog* p) {
                                auto* across = Child<QScrollBar>(p, "tilePickerHorizontalScrollBar");
                                EXPECT_EQ(across->maximum(), 242);  // (4192 - 320) / 16
                                across->setValue(242);
                                Pick(Picker(p), {15 * 16 + 1, 1}, {15 * 16 + 1, 1});  // tile 257
                                Click(Canvas(p), {1, 1});  // nothing picked yet: no change
                                Pick(Picker(p), {10 * 16 + 1, 1}, {19 * 16 + 1, 1});  // 252..261
                                Click(Canvas(p), {1, 1});
                                ClickButton(p, "okAndSaveButton");
                            });
    ASSERT_TRUE(result);
    const auto W = static_cast<std::uint32_t>(wide);
    EXPECT_EQ(CellAt(Record(id), 0, 0), cell::Make(W, 252, 0));
    EXPECT_EQ(CellAt(Record(id), 3, 0), cell::Make(W, 255, 0));
    EXPECT_EQ(CellAt(Record(id), 4, 0), 0u);  // the block was cut at column 255
    EXPECT_EQ(CellAt(Record(id), 0, 1), 0u);

    // Tiles larger than the picture: the set is offered but has no tile to pick.
    qbtest::AddTileSet(project, 320, 320, 400, 1);
    const std::int32_t big = qbtest::AddMap(project, 4, 4, 400);
    const Bytes before = Record(big);
    qbtest::WithModalDialog([&] { result = qb::ui::EditBackgroundMap(nullptr, project, big); },
                            [&](QDialog* p) {
                                Pick(Picker(p), {1, 1}, {300, 300});
                                Click(Canvas(p), {1, 1});
                                ClickButton(p, "fillButton");
                                Canvas(p)->grab();
                                ClickButton(p, "okAndSaveButton");
                            });
    EXPECT_TRUE(result);
    EXPECT_EQ(Record(big), before);
}
