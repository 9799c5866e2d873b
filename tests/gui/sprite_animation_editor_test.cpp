// The sprite animation editor driven headless: picking arithmetic on the sheet view, the frame
// preview, the outline, the variants, and what reaches the record and project.ini.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QCheckBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "editors/shootemup/main_parameters.h"
#include "imaging/sprite_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/sprite_frame.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

using namespace qb;
using qb::ui::EditSpriteAnimation;
using qb::ui::SpriteEditorVariant;
using qbtest::Child;

namespace {

namespace frame = layout::sprite_frame;
constexpr std::size_t kRun = layout::shootemup_main::kLevelList;  // 400 spare bytes for N frames

// Each cell of a test sheet has its own colour, so the preview shows which cells a frame names.
QRgb CellColour(int column, int row) { return qRgb(column * 8 + 3, row * 8 + 5, 100); }

void WriteSheet(const std::string& path, int width, int height, int cell) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, CellColour(x / cell, y / cell));
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void Hover(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
void Press(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
void DragTo(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
void Release(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
void Pick(QWidget* view, QPoint from, QPoint to) {
    Hover(view, from);
    Press(view, from);
    DragTo(view, to);
    Release(view, to);
}

struct Frame {
    std::uint32_t sheet;
    int firstColumn, firstRow, lastColumn, lastRow;
};

class SpriteEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        BindPixbridge(qbtest::BinDir().string());
        project = qbtest::NewProject("Sprites", game::ShootEmUp);
        target = qbtest::ObjectOfType(project, 1);
        SetCurrentObject(project, target);
    }

    // A Sprites bitmap item whose picture is a generated sheet.
    std::int32_t AddSheet(int width, int height, int cell, const std::string& name = {}) {
        const std::int32_t id = qbtest::NewItemOfType(project, 3, name);
        ObjectRecord* sheet = FindObject(id, project);
        EXPECT_NE(sheet, nullptr);
        if (!sheet) return 0;
        sheet->record().setI32(layout::sprites_bitmap::kCellSize, cell);
        WriteSheet(SheetPath(id), width, height, cell > 0 ? cell : 32);
        return id;
    }
    std::string SheetPath(std::int32_t id) {
        return FindObject(id, project)->record().text(0, kPathField);
    }

    Bytes& TargetBytes() { return FindObject(target, project)->lpDatiOggetto; }
    Frame FrameAt(std::size_t offset) {
        RecordView r(TargetBytes());
        return {r.u32(offset + frame::kSheetId), r.u8(offset + frame::kFirstColumn),
                r.u8(offset + frame::kFirstRow), r.u8(offset + frame::kLastColumn),
                r.u8(offset + frame::kLastRow)};
    }

    // Opens the editor on N frames at kRun, runs act inside it and answers the result.
    bool Edit(int frames, const std::function<void(QDialog*)>& act,
              SpriteEditorVariant variant = SpriteEditorVariant::Plain, int perDirection = 1) {
        bool result = false;
        qbtest::WithModalDialog(
            [&] { result = EditSpriteAnimation(nullptr, project, target, kRun, frames, variant, perDirection); },
            act);
        return result;
    }

    qbtest::TempAppFolder app;
    int project = -1;
    std::int32_t target = 0;
};

void Click(QDialog* d, const char* name) { Child<QPushButton>(d, name)->click(); }
QWidget* Sheet(QDialog* d) { return Child<QWidget>(d, "sheetView"); }
QString Text(QDialog* d, const char* label) { return Child<QLabel>(d, label)->text(); }

void ExpectFrame(const Frame& f, std::uint32_t sheet, int c0, int r0, int c1, int r1) {
    EXPECT_EQ(f.sheet, sheet);
    EXPECT_EQ(f.firstColumn, c0);
    EXPECT_EQ(f.firstRow, r0);
    EXPECT_EQ(f.lastColumn, c1);
    EXPECT_EQ(f.lastRow, r1);
}

} // namespace

TEST_F(SpriteEditorTest, DragOnScrolledSheetStoresSheetCellsAndSavesAtOnce) {
    const std::int32_t sheet = AddSheet(640, 480, 32);
    ASSERT_TRUE(Edit(1, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Edit sprites animation");
        auto* h = Child<QScrollBar>(d, "sheetHorizontalScrollBar");
        auto* v = Child<QScrollBar>(d, "sheetVerticalScrollBar");
        EXPECT_EQ(h->maximum(), 10);  // (640 - 320) / 32
        EXPECT_EQ(v->maximum(), 5);   // (480 - 320) / 32
        h->setValue(4);
        // View cells 2..3 across, row 1: sheet columns 6..7.
        Pick(Sheet(d), {70, 40}, {110, 50});
        // The preview shows the picked cells 1:1 from its corner, nothing beyond.
        const QImage preview = Child<QWidget>(d, "framePreview")->grab().toImage();
        EXPECT_EQ(preview.pixel(0, 0), CellColour(6, 1));
        EXPECT_EQ(preview.pixel(40, 31), CellColour(7, 1));
        EXPECT_NE(preview.pixel(70, 10), CellColour(8, 1));
        EXPECT_NE(preview.pixel(10, 40), CellColour(6, 2));
        Click(d, "okAndSaveButton");
    }));
    ExpectFrame(FrameAt(kRun), static_cast<std::uint32_t>(sheet), 6, 1, 7, 1);
    // Bytes 4..7 read as one word: first column, first row, last column, last row from the top.
    EXPECT_EQ(RecordView(TargetBytes()).u32(kRun + 4), (6u << 24) | (1u << 16) | (7u << 8) | 1u);

    // project.ini already holds the frame.
    const Bytes saved = TargetBytes();
    ResetWorkspace();
    const int reloaded = LoadProject("Sprites");
    ASSERT_GE(reloaded, 0);
    EXPECT_EQ(FindObject(target, reloaded)->lpDatiOggetto, saved);
}

TEST_F(SpriteEditorTest, DragsBackwardsOrPastTheViewStayWithinOneCellAndTheView) {
    const std::int32_t sheet = AddSheet(800, 800, 32);
    ASSERT_TRUE(Edit(4, [&](QDialog* d) {
        QWidget* view = Sheet(d);
        Pick(view, {100, 100}, {10, 10});  // ends left of and above its start: one cell
        Click(d, "nextFrameButton");
        Pick(view, {0, 0}, {700, 900});  // beyond the view: up to its edge
        Click(d, "nextFrameButton");
        Hover(view, {165, 200});  // a click without movement: the cell under the pointer
        Press(view, {165, 200});
        Release(view, {165, 200});
        Click(d, "nextFrameButton");
        Pick(view, {50, 50}, {-40, 300});  // left of the view while going down
        Click(d, "okAndSaveButton");
    }));
    const auto id = static_cast<std::uint32_t>(sheet);
    ExpectFrame(FrameAt(frame::At(kRun, 0)), id, 3, 3, 3, 3);
    ExpectFrame(FrameAt(frame::At(kRun, 1)), id, 0, 0, 9, 9);
    ExpectFrame(FrameAt(frame::At(kRun, 2)), id, 5, 6, 5, 6);
    ExpectFrame(FrameAt(frame::At(kRun, 3)), id, 1, 1, 1, 9);
}

TEST_F(SpriteEditorTest, CellsThatDoNotDivideTheViewNeverGiveAnInvertedRectangle) {
    const std::int32_t sheet = AddSheet(400, 400, 48);
    ASSERT_TRUE(Edit(2, [&](QDialog* d) {
        // The last cell starts at 288 and sticks out of the view; dragging inside it keeps it.
        Pick(Sheet(d), {300, 10}, {319, 12});
        Click(d, "nextFrameButton");
        Pick(Sheet(d), {0, 0}, {319, 319});
        Click(d, "okAndSaveButton");
    }));
    const auto id = static_cast<std::uint32_t>(sheet);
    ExpectFrame(FrameAt(frame::At(kRun, 0)), id, 6, 0, 6, 0);
    ExpectFrame(FrameAt(frame::At(kRun, 1)), id, 0, 0, 5, 5);  // as far as the view's edge
}

TEST_F(SpriteEditorTest, CancelKeepsTheRecordAndOkWritesEveryFrame) {
    const std::int32_t sheet = AddSheet(320, 320, 32);
    RecordView r(TargetBytes());
    for (std::size_t i = 0; i < 8 * frame::kSize; ++i) r.setU8(kRun + i, static_cast<std::uint8_t>(i * 7 + 1));
    const Bytes before = TargetBytes();
    const std::string iniBefore = qbtest::ReadFile(app.projects() / "Sprites" / "project.ini");

    EXPECT_FALSE(Edit(8, [&](QDialog* d) {
        Pick(Sheet(d), {10, 10}, {100, 100});
        Click(d, "cancelButton");
    }));
    EXPECT_EQ(TargetBytes(), before);
    EXPECT_EQ(qbtest::ReadFile(app.projects() / "Sprites" / "project.ini"), iniBefore);

    EXPECT_FALSE(Edit(8, [&](QDialog* d) {  // Escape is Cancel too
        Pick(Sheet(d), {10, 10}, {100, 100});
        d->reject();
    }));
    EXPECT_EQ(TargetBytes(), before);

    EXPECT_TRUE(Edit(8, [&](QDialog* d) {
        for (int i = 0; i < 3; ++i) Click(d, "nextFrameButton");
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 4 of 8");
        Pick(Sheet(d), {10, 10}, {100, 40});
        Click(d, "okAndSaveButton");
    }));
    ExpectFrame(FrameAt(frame::At(kRun, 3)), static_cast<std::uint32_t>(sheet), 0, 0, 3, 1);
    Bytes expected = before;
    const Bytes picked = RecordView(TargetBytes()).bytes(frame::At(kRun, 3), frame::kSize);
    std::copy(picked.begin(), picked.end(), expected.begin() + static_cast<long>(frame::At(kRun, 3)));
    EXPECT_EQ(TargetBytes(), expected);  // the seven frames never visited are as they were
}

TEST_F(SpriteEditorTest, FrameButtonsStopAtBothEnds) {
    AddSheet(320, 320, 32);
    Edit(1, [&](QDialog* d) {
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 1 of 1");
        Click(d, "nextFrameButton");
        Click(d, "previousFrameButton");
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 1 of 1");
        Click(d, "cancelButton");
    });
    Edit(3, [&](QDialog* d) {
        for (int i = 0; i < 5; ++i) Click(d, "nextFrameButton");
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 3 of 3");
        for (int i = 0; i < 5; ++i) Click(d, "previousFrameButton");
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 1 of 3");
        Click(d, "cancelButton");
    });
}

TEST_F(SpriteEditorTest, PlayLoopsThePickedFramesInThePreviewAndStoresNothingOfIt) {
    const std::int32_t sheet = AddSheet(320, 320, 32);
    auto previewColour = [](QDialog* d) {
        return Child<QWidget>(d, "framePreview")->grab().toImage().pixel(4, 4);
    };
    ASSERT_TRUE(Edit(3, [&](QDialog* d) {
        // Frames 1 and 2 picked, not yet saved; frame 3 stays empty.
        Pick(Sheet(d), {5, 5}, {5, 5});
        Click(d, "nextFrameButton");
        Pick(Sheet(d), {100, 70}, {100, 70});
        const QRgb empty = QColor(64, 64, 64).rgb();
        auto* rate = Child<QSpinBox>(d, "playRateSpinBox");
        auto* timer = d->findChild<QTimer*>("playTimer");
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(rate->value(), 12);
        EXPECT_NEAR(timer->interval(), 83, 1);
        EXPECT_FALSE(timer->isActive());
        rate->setValue(10);
        EXPECT_EQ(timer->interval(), 100);

        Child<QCheckBox>(d, "playCheckBox")->click();
        EXPECT_TRUE(timer->isActive());
        // The loop starts at the first frame, whichever frame is current.
        EXPECT_EQ(previewColour(d), CellColour(0, 0));
        EXPECT_TRUE(QTest::qWaitFor([&] { return previewColour(d) == CellColour(3, 2); }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return previewColour(d) == empty; }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return previewColour(d) == CellColour(0, 0); }, 3000));
        // The current frame and its label are untouched by the loop.
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 2 of 3");

        Child<QCheckBox>(d, "playCheckBox")->click();
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(previewColour(d), CellColour(3, 2));
        Click(d, "okAndSaveButton");
    }));
    const auto id = static_cast<std::uint32_t>(sheet);
    ExpectFrame(FrameAt(frame::At(kRun, 0)), id, 0, 0, 0, 0);
    ExpectFrame(FrameAt(frame::At(kRun, 1)), id, 3, 2, 3, 2);
    ExpectFrame(FrameAt(frame::At(kRun, 2)), 0, 0, 0, 0, 0);
}

TEST_F(SpriteEditorTest, PlainVariantGoesBackToTheFirstFrameAndTakesTheNewCellSize) {
    AddSheet(640, 640, 32, "Big %2");
    const std::int32_t small = AddSheet(200, 100, 16, "Small");
    ASSERT_TRUE(Edit(8, [&](QDialog* d) {
        EXPECT_EQ(Text(d, "sheetLabel"), "Big %2 (1/2)");
        EXPECT_EQ(Child<QScrollBar>(d, "sheetHorizontalScrollBar")->maximum(), 10);
        Child<QScrollBar>(d, "sheetHorizontalScrollBar")->setValue(3);
        for (int i = 0; i < 4; ++i) Click(d, "nextFrameButton");
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 5 of 8");
        Click(d, "nextSheetButton");
        EXPECT_EQ(Text(d, "sheetLabel"), "Small (2/2)");
        EXPECT_EQ(Text(d, "frameLabel"), "Sprite 1 of 8");
        // A sheet smaller than the view has nothing to scroll, and its position starts at 0.
        EXPECT_EQ(Child<QScrollBar>(d, "sheetHorizontalScrollBar")->maximum(), 0);
        EXPECT_EQ(Child<QScrollBar>(d, "sheetVerticalScrollBar")->maximum(), 0);
        EXPECT_EQ(Child<QScrollBar>(d, "sheetHorizontalScrollBar")->value(), 0);
        Click(d, "nextSheetButton");  // there is no third sheet
        EXPECT_EQ(Text(d, "sheetLabel"), "Small (2/2)");
        Pick(Sheet(d), {40, 40}, {40, 40});  // 16-pixel cells
        Click(d, "okAndSaveButton");
    }));
    ExpectFrame(FrameAt(frame::At(kRun, 0)), static_cast<std::uint32_t>(small), 2, 2, 2, 2);
}

TEST_F(SpriteEditorTest, DirectionalVariantsKeepTheFrameAndShowItsDirection) {
    AddSheet(320, 320, 32, "A");
    const std::int32_t second = AddSheet(320, 320, 16, "B");
    auto visibleDirections = [](QDialog* d) {
        QString shown;
        for (int i = 0; i < 8; ++i)
            if (!Child<QLabel>(d, QString("directionPicture%1").arg(i))->isHidden()) shown += QString::number(i);
        return shown;
    };
    ASSERT_TRUE(Edit(
        8,
        [&](QDialog* d) {
            EXPECT_EQ(visibleDirections(d), "0");
            for (int i = 0; i < 4; ++i) Click(d, "nextFrameButton");
            EXPECT_EQ(visibleDirections(d), "4");
            Click(d, "nextSheetButton");
            EXPECT_EQ(Text(d, "frameLabel"), "Sprite 5 of 8");
            EXPECT_EQ(visibleDirections(d), "4");
            Pick(Sheet(d), {40, 40}, {40, 40});  // counted in the shown sheet's 16-pixel cells
            Click(d, "okAndSaveButton");
        },
        SpriteEditorVariant::Directional));
    ExpectFrame(FrameAt(frame::At(kRun, 4)), static_cast<std::uint32_t>(second), 2, 2, 2, 2);

    Edit(
        24,
        [&](QDialog* d) {
            for (int i = 0; i < 7; ++i) Click(d, "nextFrameButton");
            EXPECT_EQ(visibleDirections(d), "2");  // frame 7 of 3 per direction
            Click(d, "nextSheetButton");
            EXPECT_EQ(Text(d, "frameLabel"), "Sprite 8 of 24");
            Click(d, "cancelButton");
        },
        SpriteEditorVariant::DirectionalGroups, 3);

    Edit(
        10,
        [&](QDialog* d) {
            for (int i = 0; i < 8; ++i) Click(d, "nextFrameButton");
            EXPECT_EQ(visibleDirections(d), "");  // frames past the eighth have no direction
            Click(d, "cancelButton");
        },
        SpriteEditorVariant::Directional);
}

TEST_F(SpriteEditorTest, ArrowsPointTheirWay) {
    const double kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    const double kDy[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    for (int d = 0; d < 8; ++d) {
        const QImage arrow = ui::DirectionArrow(d).toImage();
        ASSERT_EQ(arrow.size(), QSize(24, 24));
        const double length = std::hypot(kDx[d], kDy[d]);
        auto alphaAt = [&](double distance) {
            const int x = static_cast<int>(std::lround(12 + kDx[d] / length * distance));
            const int y = static_cast<int>(std::lround(12 + kDy[d] / length * distance));
            return qAlpha(arrow.pixel(x, y));
        };
        EXPECT_GT(alphaAt(6), 200) << "head of arrow " << d;
        EXPECT_EQ(alphaAt(-11), 0) << "tail of arrow " << d;
    }
    EXPECT_TRUE(ui::DirectionArrow(8).isNull());
    EXPECT_TRUE(ui::DirectionArrow(-1).isNull());
}

TEST_F(SpriteEditorTest, OutlinePulsesInNormalAndDraggingColours) {
    AddSheet(320, 320, 32);
    Edit(1, [&](QDialog* d) {
        auto* timer = Child<QTimer>(d, "outlineTimer");
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 100);
        timer->stop();
        auto tick = [&] { QMetaObject::invokeMethod(timer, "timeout"); };
        QWidget* view = Sheet(d);
        auto edge = [&](int x, int y) { return QColor(view->grab().toImage().pixel(x, y)); };

        Hover(view, {40, 40});  // cell (1, 1): pixels 32..63
        std::vector<int> greys;
        for (int i = 0; i < 7; ++i) {
            tick();
            const QColor c = edge(33, 50);
            EXPECT_EQ(c.red(), c.green());
            EXPECT_EQ(c.green(), c.blue());
            greys.push_back(c.red());
        }
        EXPECT_EQ(greys, (std::vector<int>{0, 68, 136, 204, 204, 136, 68}));
        // Two pixels wide along the inside of the cell; the sheet shows beyond.
        EXPECT_EQ(edge(62, 40), edge(63, 40));
        EXPECT_EQ(edge(34, 50).rgb(), CellColour(1, 1));
        EXPECT_EQ(edge(31, 50).rgb(), CellColour(0, 1));

        Hover(view, {100, 40});  // another cell: the colour starts again from black
        tick();
        EXPECT_EQ(edge(96, 50), QColor(0, 0, 0));
        EXPECT_EQ(edge(33, 50).rgb(), CellColour(1, 1));  // the old outline is gone

        Press(view, {100, 40});  // same cell: the pulse goes on, in the dragging colours
        tick();
        EXPECT_EQ(edge(96, 50), QColor(0, 68, 255));
        tick();
        EXPECT_EQ(edge(96, 50), QColor(0, 136, 255));
        Release(view, {100, 40});
        Click(d, "cancelButton");
    });
}

TEST_F(SpriteEditorTest, ProjectWithoutSheetsIsToldSoAndNothingOpens) {
    const Bytes before = TargetBytes();
    EXPECT_FALSE(EditSpriteAnimation(nullptr, project, target, kRun, 2));
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], "No compatible sprites image found.");
    EXPECT_EQ(app.messages.captions[0], "Quillbox");
    EXPECT_EQ(TargetBytes(), before);
}

TEST_F(SpriteEditorTest, UnusableSheetsOfferNoCellsAndNeverDivideByZero) {
    const std::int32_t zero = AddSheet(640, 640, 0, "Zero");
    AddSheet(640, 640, -32, "Negative");
    const std::int32_t broken = AddSheet(640, 640, 32, "Broken");
    qbtest::WriteFile(SheetPath(broken), "BM this is not a PNG");
    const Bytes before = TargetBytes();
    EXPECT_TRUE(Edit(1, [&](QDialog* d) {
        for (int sheet = 0; sheet < 3; ++sheet) {
            EXPECT_EQ(Child<QScrollBar>(d, "sheetHorizontalScrollBar")->maximum(), 0);
            EXPECT_EQ(Child<QScrollBar>(d, "sheetVerticalScrollBar")->maximum(), 0);
            Pick(Sheet(d), {40, 40}, {200, 200});
            Sheet(d)->grab();
            Click(d, "nextSheetButton");
        }
        Click(d, "okAndSaveButton");
    }));
    EXPECT_EQ(TargetBytes(), before);
    // The undecodable picture was reported once, by the picture library.
    EXPECT_EQ(std::count(app.messages.texts.begin(), app.messages.texts.end(), "Error!"), 1);

    // A frame naming a sheet that cannot be cut shows nothing rather than failing.
    RecordView(TargetBytes()).setU32(kRun, static_cast<std::uint32_t>(zero));
    RecordView(TargetBytes()).setU32(kRun + 4, 0x01010303u);
    Edit(1, [&](QDialog* d) {
        Child<QWidget>(d, "framePreview")->grab();
        Click(d, "cancelButton");
    });
}

TEST_F(SpriteEditorTest, CountsAreCutToTheRecordAndFramesOfDeletedSheetsKeepTheirBytes) {
    AddSheet(320, 320, 32);
    const std::size_t size = TargetBytes().size();
    // A count taken from a damaged record: only the frames that fit are edited.
    bool opened = false;
    qbtest::WithModalDialog(
        [&] { EditSpriteAnimation(nullptr, project, target, size - 20, 1000000); },
        [&](QDialog* d) {
            opened = true;
            EXPECT_EQ(Text(d, "frameLabel"), "Sprite 1 of 2");
            Pick(Sheet(d), {0, 0}, {0, 0});
            Click(d, "nextFrameButton");
            Pick(Sheet(d), {0, 0}, {0, 0});
            Click(d, "okAndSaveButton");
        });
    EXPECT_TRUE(opened);
    EXPECT_EQ(TargetBytes().size(), size);
    EXPECT_FALSE(EditSpriteAnimation(nullptr, project, target, size - 4, 1));
    EXPECT_FALSE(EditSpriteAnimation(nullptr, project, target, size + 100, 1));
    EXPECT_FALSE(EditSpriteAnimation(nullptr, project, target, kRun, 0));

    // A frame of a sheet that no longer exists: nothing in the preview, bytes kept on OK.
    RecordView(TargetBytes()).setU32(kRun, 999);
    RecordView(TargetBytes()).setU32(kRun + 4, 0x00000101u);
    const Bytes before = TargetBytes();
    EXPECT_TRUE(Edit(1, [&](QDialog* d) {
        const QImage preview = Child<QWidget>(d, "framePreview")->grab().toImage();
        EXPECT_EQ(preview.pixel(0, 0), preview.pixel(100, 100));
        Click(d, "okAndSaveButton");
    }));
    EXPECT_EQ(TargetBytes(), before);
}

TEST_F(SpriteEditorTest, OkAndSaveSurvivesTheCallingEditorsCancel) {
    const std::int32_t sheet = AddSheet(320, 320, 32);
    qbtest::WithModalDialog(
        [&] { ui::OpenEditor(nullptr, project, target); },
        [&](QDialog* main) {
            qbtest::WithModalDialog([&] { Click(main, "scoreEditSpriteButton"); },
                                    [&](QDialog* d) {
                                        Pick(Sheet(d), {65, 0}, {65, 0});
                                        Click(d, "okAndSaveButton");
                                    });
            main->reject();
        });
    ExpectFrame(FrameAt(layout::shootemup_main::kScoreTextSprite), static_cast<std::uint32_t>(sheet), 2, 0, 2, 0);
    const Bytes saved = TargetBytes();
    ResetWorkspace();
    const int reloaded = LoadProject("Sprites");
    ASSERT_GE(reloaded, 0);
    EXPECT_EQ(FindObject(target, reloaded)->lpDatiOggetto, saved);
}
