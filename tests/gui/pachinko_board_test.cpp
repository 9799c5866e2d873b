// "Pachinko's and Peggle's data": the enabling rule, composing and placing pieces (typed, picked
// on the map, as a grid), the list's edits, the pieces drawn over the map, the 500-piece limit,
// damaged boards, the "Add multi" numbers kept in preferences.ini, and a pachinko game made
// through the dialogs from New project to a compiled game.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <filesystem>
#include <gtest/gtest.h>

#include "build/build.h"
#include "build/validate.h"
#include "editors/curling/pachinko_board.h"
#include "imaging/map_view.h"
#include "model/catalogue.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/pachinko.h"
#include "platform/pictures.h"
#include "support/map_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace B = qb::layout::pachinko_board;
namespace P = qb::layout::pachinko_board::piece;

namespace {

struct Placed {
    std::uint32_t element, placement;
    std::int32_t x1, y1, x2, y2;
    bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Placed& p) {
    return out << "{" << p.element << "," << p.placement << "," << p.x1 << "," << p.y1 << ","
               << p.x2 << "," << p.y2 << "}";
}

struct PachinkoBoardTest : ::testing::Test {
    void SetUp() override { qb::BindPixbridge(BinDir().string()); }

    TempAppFolder app;
    int project = NewProject("Pins", qb::game::Curling);
    std::int32_t board = NewItemOfType(project, 508);
    qb::RecordView record() { return Object(project, board).record(); }

    std::vector<Placed> Pieces() {
        std::vector<Placed> out;
        qb::RecordView r = record();
        for (std::int32_t i = 0; i < r.i32(B::kPieceCount); ++i) {
            const std::size_t o = B::kPieces + static_cast<std::size_t>(i) * B::kPieceSize;
            out.push_back({r.u32(o + P::kElement), r.u32(o + P::kPlacement), r.i32(o + P::kInitX),
                           r.i32(o + P::kInitY), r.i32(o + P::kEndX), r.i32(o + P::kEndY)});
        }
        return out;
    }
    // A board record holding these pieces.
    void SetPieces(const std::vector<Placed>& pieces, std::int32_t count) {
        qb::RecordView r = record();
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const std::size_t o = B::kPieces + i * B::kPieceSize;
            r.setU32(o + P::kElement, pieces[i].element);
            r.setU32(o + P::kPlacement, pieces[i].placement);
            r.setI32(o + P::kInitX, pieces[i].x1);
            r.setI32(o + P::kInitY, pieces[i].y1);
            r.setI32(o + P::kEndX, pieces[i].x2);
            r.setI32(o + P::kEndY, pieces[i].y2);
        }
        r.setI32(B::kPieceCount, count);
    }
};

QLineEdit* EditOf(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
void Type(QDialog* d, const char* name, const QString& text) { EditOf(d, name)->setText(text); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
QComboBox* Combo(QDialog* d, const char* name) { return Child<QComboBox>(d, name); }
QListWidget* List(QDialog* d) { return Child<QListWidget>(d, "piecesListWidget"); }
bool Enabled(QDialog* d, const char* name) { return Child<QWidget>(d, name)->isEnabled(); }
QPushButton* OkButton(QDialog* d) {
    return Child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok);
}
QStringList Rows(QDialog* d) {
    QStringList rows;
    for (int i = 0; i < List(d)->count(); ++i) rows << List(d)->item(i)->text();
    return rows;
}

void MouseOnMap(QDialog* d, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
    QWidget* area = Child<qb::ui::MapView>(d, "mapView")->area();
    QMouseEvent e(type, QPointF(at), QPointF(area->mapToGlobal(at)), button,
                  type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons(Qt::NoButton),
                  Qt::NoModifier);
    QApplication::sendEvent(area, &e);
}
QImage MapPicture(QDialog* d) {
    return Child<qb::ui::MapView>(d, "mapView")->area()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Places a piece: the element at that index, a placement radio, then Add one.
void Place(QDialog* d, int element, const char* placement, std::int32_t x1, std::int32_t y1,
           std::int32_t x2 = 0, std::int32_t y2 = 0) {
    Combo(d, "elementComboBox")->setCurrentIndex(element);
    Click(d, placement);
    Type(d, "initXLineEdit", QString::number(x1));
    Type(d, "initYLineEdit", QString::number(y1));
    Type(d, "endXLineEdit", QString::number(x2));
    Type(d, "endYLineEdit", QString::number(y2));
    Click(d, "addOneButton");
}

TEST_F(PachinkoBoardTest, TheEnablingRuleFollowsMapElementAndPlacement) {
    const std::int32_t map = AddMap(project, 10, 20, 32, "Table");
    const std::int32_t peg = NewItemOfType(project, 507, "Peg");
    ASSERT_NE(peg, 0);
    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Pachinko's and Peggle's data");
        EXPECT_EQ(Combo(d, "backgroundMapComboBox")->currentIndex(), -1);
        EXPECT_FALSE(OkButton(d)->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>(d, "fixedPositionRadioButton")->isChecked());
        EXPECT_FALSE(Child<QRadioButton>(d, "verticalRadioButton")->isChecked());
        EXPECT_FALSE(Child<QRadioButton>(d, "horizontalRadioButton")->isChecked());
        for (const char* e : {"initXLineEdit", "initYLineEdit", "endXLineEdit", "endYLineEdit"})
            EXPECT_EQ(EditOf(d, e)->text(), "0") << e;
        EXPECT_EQ(EditOf(d, "multiColumnsLineEdit")->text(), "1");
        EXPECT_EQ(EditOf(d, "multiRowsLineEdit")->text(), "1");
        EXPECT_EQ(EditOf(d, "multiOffsetXLineEdit")->text(), "20");
        EXPECT_EQ(EditOf(d, "multiOffsetYLineEdit")->text(), "20");
        const char* composing[] = {"elementComboBox", "initXLineEdit", "addOneButton",
                                   "addMultiButton", "fit16CheckBox", "verticalRadioButton",
                                   "chooseInitFromMapButton"};
        for (const char* name : composing) EXPECT_FALSE(Enabled(d, name)) << name;

        Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
        EXPECT_TRUE(OkButton(d)->isEnabled());
        EXPECT_TRUE(Enabled(d, "elementComboBox"));
        EXPECT_FALSE(Enabled(d, "addOneButton"));
        EXPECT_EQ(Child<qb::ui::MapView>(d, "mapView")->mapItemId(), 0);  // no tile set yet

        Combo(d, "elementComboBox")->setCurrentIndex(0);
        struct Expect {
            const char* placement;
            bool endX, endY, chooseEnd;
        };
        for (const Expect& e : {Expect{"fixedPositionRadioButton", false, false, false},
                                Expect{"verticalRadioButton", false, true, true},
                                Expect{"horizontalRadioButton", true, false, true}}) {
            Click(d, e.placement);
            EXPECT_TRUE(Enabled(d, "initXLineEdit")) << e.placement;
            EXPECT_TRUE(Enabled(d, "initYLineEdit")) << e.placement;
            EXPECT_TRUE(Enabled(d, "chooseInitFromMapButton")) << e.placement;
            EXPECT_EQ(Enabled(d, "endXLineEdit"), e.endX) << e.placement;
            EXPECT_EQ(Enabled(d, "endYLineEdit"), e.endY) << e.placement;
            EXPECT_EQ(Enabled(d, "chooseEndFromMapButton"), e.chooseEnd) << e.placement;
            for (const char* name : {"addOneButton", "addMultiButton", "fit16CheckBox",
                                     "verticalRadioButton", "fixedPositionRadioButton"})
                EXPECT_TRUE(Enabled(d, name)) << name;
        }
        Type(d, "levelOrderLineEdit", "3");
        Type(d, "ballsLineEdit", " 10 balls");
        Type(d, "bonusLineEdit", "-500");
        Ok(d);
    });
    // OK stores a 24020-byte record: the 64 bytes of a new item are gone.
    EXPECT_EQ(Object(project, board).lpDatiOggetto.size(), B::kEditedSize);
    EXPECT_EQ(record().u32(B::kBackgroundMap), static_cast<std::uint32_t>(map));
    EXPECT_EQ(record().i32(B::kLevelOrder), 3);
    EXPECT_EQ(record().i32(B::kBallCount), 10);
    EXPECT_EQ(record().i32(B::kCompletionBonus), -500);
    EXPECT_EQ(record().i32(B::kPieceCount), 0);
    EXPECT_EQ(SavedRecord(project, board), Object(project, board).lpDatiOggetto);
}

TEST_F(PachinkoBoardTest, PiecesAreComposedAddedAsAGridChangedAndDeleted) {
    AddMap(project, 10, 20, 32, "Table");
    const std::int32_t peg = NewItemOfType(project, 507, "Peg");
    const std::int32_t wall = NewItemOfType(project, 507, "Wall");
    const auto p = static_cast<std::uint32_t>(peg), w = static_cast<std::uint32_t>(wall);
    Edit(project, board, [&](QDialog* d) {
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
        // 3 columns, 2 rows, offsets 20 and 10 on a fixed piece at (100, 50).
        Combo(d, "elementComboBox")->setCurrentIndex(0);
        Type(d, "initXLineEdit", "100");
        Type(d, "initYLineEdit", "50");
        Type(d, "multiColumnsLineEdit", "3");
        Type(d, "multiRowsLineEdit", "2");
        Type(d, "multiOffsetXLineEdit", "20");
        Type(d, "multiOffsetYLineEdit", "10");
        Click(d, "addMultiButton");
        EXPECT_EQ(EditOf(d, "initXLineEdit")->text(), "0");
        EXPECT_EQ(Rows(d), QStringList({"Peg", "Peg", "Peg", "Peg", "Peg", "Peg"}));
        // Columns or rows below 1 add nothing.
        Type(d, "multiRowsLineEdit", "0");
        Click(d, "addMultiButton");
        EXPECT_EQ(List(d)->count(), 6);
        Place(d, 1, "verticalRadioButton", 30, 40, 0, 90);
        EXPECT_EQ(Combo(d, "elementComboBox")->currentIndex(), 1);  // the element stays
        Place(d, 1, "horizontalRadioButton", 10, 20, 70);
        Place(d, 0, "fixedPositionRadioButton", 1, 2);
        Place(d, 0, "fixedPositionRadioButton", 3, 4);
        EXPECT_EQ(List(d)->count(), 10);
        Ok(d);
    });
    std::vector<Placed> expected = {{p, 1, 100, 50, 100, 50}, {p, 1, 100, 60, 100, 60},
                                    {p, 1, 120, 50, 120, 50}, {p, 1, 120, 60, 120, 60},
                                    {p, 1, 140, 50, 140, 50}, {p, 1, 140, 60, 140, 60},
                                    {w, 0, 30, 40, 0, 90},    {w, 2, 10, 20, 70, 0},
                                    {p, 1, 1, 2, 0, 0},       {p, 1, 3, 4, 0, 0}};
    // The grid moves the end point with the initial one.
    for (int i = 0; i < 6; ++i) {
        expected[static_cast<std::size_t>(i)].x2 = 0 + 20 * (i / 2);
        expected[static_cast<std::size_t>(i)].y2 = 0 + 10 * (i % 2);
    }
    EXPECT_EQ(Pieces(), expected);
    EXPECT_EQ(record().u32(B::kPieces + 6 * B::kPieceSize + 24), 0u);  // words 6..11 zero

    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(List(d)->count(), 10);
        EXPECT_EQ(List(d)->currentRow(), -1);
        // Delete: the next piece takes the row.
        List(d)->setCurrentRow(7);
        Click(d, "deleteButton");
        EXPECT_EQ(List(d)->count(), 9);
        EXPECT_EQ(List(d)->currentRow(), 7);
        // Change: the piece goes back into the composing controls and out of the list.
        List(d)->setCurrentRow(6);
        Click(d, "changeButton");
        EXPECT_EQ(List(d)->count(), 8);
        EXPECT_TRUE(Child<QRadioButton>(d, "verticalRadioButton")->isChecked());
        EXPECT_EQ(Combo(d, "elementComboBox")->currentIndex(), 1);
        EXPECT_EQ(EditOf(d, "initXLineEdit")->text(), "30");
        EXPECT_EQ(EditOf(d, "endYLineEdit")->text(), "90");
        EXPECT_TRUE(Enabled(d, "endYLineEdit"));
        Type(d, "initXLineEdit", "35");
        Click(d, "addOneButton");
        // Delete from selected on row 4 of 9 leaves rows 1 to 3, the third selected.
        List(d)->setCurrentRow(3);
        Click(d, "deleteFromSelectedButton");
        EXPECT_EQ(List(d)->count(), 3);
        EXPECT_EQ(List(d)->currentRow(), 2);
        // With no selection nothing is removed.
        List(d)->setCurrentRow(-1);
        Click(d, "deleteFromSelectedButton");
        Click(d, "deleteButton");
        EXPECT_EQ(List(d)->count(), 3);
        Ok(d);
    });
    EXPECT_EQ(Pieces(), std::vector<Placed>(expected.begin(), expected.begin() + 3));
    EXPECT_EQ(record().u32(B::kPieces + 3 * B::kPieceSize), 0u);  // the removed ones are cleared

    // Delete ALL, then Cancel: nothing changes.
    const qb::Bytes before = Object(project, board).lpDatiOggetto;
    Edit(project, board, [&](QDialog* d) {
        Click(d, "deleteAllButton");
        EXPECT_EQ(List(d)->count(), 0);
        Cancel(d);
    });
    EXPECT_EQ(Object(project, board).lpDatiOggetto, before);
}

TEST_F(PachinkoBoardTest, TheBoardHoldsFiveHundredPiecesAndDamagedBoardsShowWhatTheyCan) {
    AddMap(project, 10, 20, 32);
    const std::int32_t peg = NewItemOfType(project, 507, "Peg");
    const std::int32_t gone = NewItemOfType(project, 507, "Gone");
    const std::int32_t sound = NewItemOfType(project, 5, "Not an element");
    std::vector<Placed> pieces(499, Placed{static_cast<std::uint32_t>(peg), 1, 5, 5, 0, 0});
    pieces[0].element = static_cast<std::uint32_t>(gone);
    pieces[1].element = static_cast<std::uint32_t>(sound);
    pieces[2].element = 0x10000u + static_cast<std::uint32_t>(peg);  // high bits set
    pieces[3].placement = 7;
    pieces[4].x1 = std::numeric_limits<std::int32_t>::min();
    pieces[4].y1 = std::numeric_limits<std::int32_t>::max();
    SetPieces(pieces, 499);
    qb::DeleteObject(project, gone);
    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(List(d)->count(), 499);
        EXPECT_EQ(Rows(d).mid(0, 4), QStringList({"#err", "#err", "#err", "Peg"}));
        MapPicture(d);  // draws every piece, however damaged
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
        Combo(d, "elementComboBox")->setCurrentIndex(0);
        Type(d, "multiColumnsLineEdit", "2");
        Type(d, "multiRowsLineEdit", "1");
        Click(d, "addMultiButton");
        ASSERT_EQ(app.messages.texts.size(), 1u);
        EXPECT_EQ(app.messages.texts.back(), qb::ui::PachinkoBoardDialog::kBoardFullMessage);
        EXPECT_EQ(List(d)->count(), 499);
        Click(d, "addOneButton");
        EXPECT_EQ(List(d)->count(), 500);
        Click(d, "addOneButton");
        EXPECT_EQ(app.messages.texts.size(), 2u);
        EXPECT_EQ(List(d)->count(), 500);
        // A grid of 2^31 places is refused without a loop.
        Type(d, "multiColumnsLineEdit", "2147483647");
        Type(d, "multiRowsLineEdit", "2147483647");
        List(d)->setCurrentRow(499);
        Click(d, "deleteButton");
        Click(d, "addMultiButton");
        EXPECT_EQ(app.messages.texts.size(), 3u);
        EXPECT_EQ(List(d)->count(), 499);
        Ok(d);
    });
    EXPECT_EQ(record().i32(B::kPieceCount), 499);
    EXPECT_EQ(Pieces()[3].placement, 7u);  // kept as it was

    // Counts beyond the array or below 0 read as 500 and 0.
    record().setI32(B::kPieceCount, 100000);
    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(List(d)->count(), 500);
        Ok(d);
    });
    EXPECT_EQ(record().i32(B::kPieceCount), 500);
    record().setI32(B::kPieceCount, -3);
    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(List(d)->count(), 0);
        Cancel(d);
    });
    // A record cut short opens with what it holds.
    Object(project, board).lpDatiOggetto.resize(100);
    record().setI32(B::kPieceCount, 2);
    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(List(d)->count(), 2);
        Ok(d);
    });
    EXPECT_EQ(Object(project, board).lpDatiOggetto.size(), B::kEditedSize);
}

TEST_F(PachinkoBoardTest, PickingOnTheMapAndThePiecesDrawnOverIt) {
    AddTileSet(project, 320, 320, 32, 1);
    // 10 x 40 tiles of 32 pixels: 1280 pixels high, y counted from the bottom.
    const std::int32_t map = AddMap(project, 10, 40, 32, "Tall");
    NewItemOfType(project, 507, "Peg");
    record().setU32(B::kBackgroundMap, static_cast<std::uint32_t>(map));
    Edit(project, board, [&](QDialog* d) {
        auto* view = Child<qb::ui::MapView>(d, "mapView");
        EXPECT_EQ(view->mapItemId(), map);
        view->verticalBar()->setValue(25);  // rows 25..34 visible: T = (40 - 25) * 32 = 480
        Combo(d, "elementComboBox")->setCurrentIndex(0);
        auto* chooseInit = Child<QPushButton>(d, "chooseInitFromMapButton");
        chooseInit->click();
        EXPECT_TRUE(chooseInit->isChecked());
        MouseOnMap(d, QEvent::MouseMove, QPoint(37, 50));
        EXPECT_EQ(EditOf(d, "initXLineEdit")->text(), "37");
        EXPECT_EQ(EditOf(d, "initYLineEdit")->text(), QString::number(480 - 51));
        Click(d, "fit16CheckBox");
        MouseOnMap(d, QEvent::MouseMove, QPoint(37, 50));
        EXPECT_EQ(EditOf(d, "initXLineEdit")->text(), "40");   // 32 + 8
        EXPECT_EQ(EditOf(d, "initYLineEdit")->text(), "432");  // 480 - 48
        // The composing piece is yellow, centred on the picked point: view (40, 480 - 432 - 1).
        QImage picture = MapPicture(d);
        EXPECT_EQ(picture.pixel(40, 47), qRgb(255, 255, 0));
        EXPECT_EQ(picture.pixel(38, 47), qRgb(255, 255, 0));
        EXPECT_EQ(picture.pixel(42, 47), qRgb(255, 255, 0));
        EXPECT_NE(picture.pixel(43, 47), qRgb(255, 255, 0));
        EXPECT_EQ(picture.pixel(40, 45), qRgb(255, 255, 0));
        EXPECT_EQ(picture.pixel(40, 49), qRgb(255, 255, 0));
        // A left click releases the toggle; moves no longer pick.
        MouseOnMap(d, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        EXPECT_FALSE(chooseInit->isChecked());
        MouseOnMap(d, QEvent::MouseMove, QPoint(100, 100));
        EXPECT_EQ(EditOf(d, "initXLineEdit")->text(), "40");
        Click(d, "addOneButton");
        picture = MapPicture(d);
        EXPECT_EQ(picture.pixel(40, 47), qRgb(0, 255, 0));  // stored: green
        List(d)->setCurrentRow(0);
        picture = MapPicture(d);
        EXPECT_EQ(picture.pixel(40, 47), qRgb(255, 0, 0));  // selected: red

        // A horizontal piece from both toggles: the end point comes from the second one.
        Click(d, "horizontalRadioButton");
        Click(d, "fit16CheckBox");
        Click(d, "chooseInitFromMapButton");
        Click(d, "chooseEndFromMapButton");
        EXPECT_TRUE(Child<QPushButton>(d, "chooseInitFromMapButton")->isChecked());  // both down
        MouseOnMap(d, QEvent::MouseMove, QPoint(100, 200));
        Click(d, "chooseInitFromMapButton");
        MouseOnMap(d, QEvent::MouseMove, QPoint(160, 200));
        EXPECT_EQ(EditOf(d, "initXLineEdit")->text(), "100");
        EXPECT_EQ(EditOf(d, "endXLineEdit")->text(), "160");
        EXPECT_EQ(EditOf(d, "initYLineEdit")->text(), QString::number(480 - 201));
        Click(d, "addOneButton");
        List(d)->setCurrentRow(-1);
        picture = MapPicture(d);
        // From x 100 to 159 on view row 200, bars of 4 pixels at both ends.
        EXPECT_EQ(picture.pixel(100, 200), qRgb(0, 255, 0));
        EXPECT_EQ(picture.pixel(159, 200), qRgb(0, 255, 0));
        EXPECT_EQ(picture.pixel(130, 200), qRgb(0, 255, 0));
        EXPECT_EQ(picture.pixel(160, 198), qRgb(0, 255, 0));
        EXPECT_EQ(picture.pixel(160, 201), qRgb(0, 255, 0));
        EXPECT_NE(picture.pixel(160, 202), qRgb(0, 255, 0));
        EXPECT_NE(picture.pixel(130, 199), qRgb(0, 255, 0));

        // Scrolled so that the pieces lie below the view, nothing of them is drawn.
        view->verticalBar()->setValue(0);
        picture = MapPicture(d);
        int green = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) green += picture.pixel(x, y) == qRgb(0, 255, 0);
        EXPECT_EQ(green, 0);
        Ok(d);
    });
    EXPECT_EQ(Pieces().size(), 2u);
    EXPECT_EQ(Pieces()[0].x1, 40);
    EXPECT_EQ(Pieces()[0].y1, 432);
}

TEST_F(PachinkoBoardTest, TheAddMultiNumbersAreKeptAfterCancel) {
    Edit(project, board, [&](QDialog* d) {
        Type(d, "multiColumnsLineEdit", "4");
        Type(d, "multiRowsLineEdit", "5");
        Type(d, "multiOffsetXLineEdit", "16");
        Type(d, "multiOffsetYLineEdit", QString(300, '7'));
        Cancel(d);
    });
    EXPECT_EQ(qb::GetPreferenceIn("PEGMAPDATA", "IDC_EDIT_N_COLUMNS"), "4");
    EXPECT_EQ(qb::GetPreferenceIn("PEGMAPDATA", "IDC_EDIT_Y_OFFSET"), std::string(254, '7'));
    Edit(project, board, [&](QDialog* d) {
        EXPECT_EQ(EditOf(d, "multiColumnsLineEdit")->text(), "4");
        EXPECT_EQ(EditOf(d, "multiRowsLineEdit")->text(), "5");
        EXPECT_EQ(EditOf(d, "multiOffsetXLineEdit")->text(), "16");
        Cancel(d);
    });
}

} // namespace
