// A pachinko game made entirely through the dialogs of a new curling project: a tile set, a
// painted board map, a sprite sheet, three kinds of element, a board whose pieces are placed
// with the mouse, and Main parameters set to "Pachinko" with that board. The project validates
// without an error and compiles into Release/Game.swf.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "build/build.h"
#include "build/encoding.h"
#include "build/gamefile.h"
#include "build/validate.h"
#include "imaging/map_view.h"
#include "model/catalogue.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/map.h"
#include "model/layouts/pachinko.h"
#include "model/layouts/sprite_frame.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace B = qb::layout::pachinko_board;
namespace E = qb::layout::pachinko_element;
namespace M = qb::layout::curling_main;

namespace {

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, modifiers);
    QApplication::sendEvent(w, &e);
}
void Click(QWidget* w, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Mouse(w, QEvent::MouseMove, at, Qt::NoButton);
    Mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
    Mouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, modifiers);
}
void Type(QDialog* d, const char* name, const QString& text) { Child<QLineEdit>(d, name)->setText(text); }
void Button(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }

// An element of that kind, named, with a radius and a score.
void MakeElement(int project, std::int32_t id, const char* name, const char* kind, const char* radius,
                 const char* score) {
    Edit(project, id, [&](QDialog* d) {
        Type(d, "itemNameLineEdit", name);
        Button(d, kind);
        Type(d, "radiusLineEdit", radius);
        Type(d, "scoreLineEdit", score);
        Ok(d);
    });
}

TEST(PachinkoGame, APachinkoBoardMadeInTheDialogsValidatesAndCompiles) {
    TempAppFolder app;
    qb::BindPixbridge(BinDir().string());
    const int project = NewProject("Pachinko", qb::game::Curling);
    const std::int32_t main = ObjectOfType(project, 500);

    // The tile set: the default background in tiles of 32 pixels.
    const std::int32_t tiles = NewItemOfType(project, 4);
    Edit(project, tiles, [&](QDialog* d) {
        Type(d, "pieceDimensionLineEdit", "32");
        Ok(d);
    });

    // The board map, painted from the tile set: one tile picked, then a flood fill of the map.
    const std::int32_t map = NewItemOfType(project, 6);
    Edit(project, map, [&](QDialog* d) {
        Type(d, "itemNameLineEdit", "Table");
        WithModalDialog([&] { Button(d, "editMapButton"); },
                        [&](QDialog* painter) {
                            Click(Child<QWidget>(painter, "tilePickerView"), {40, 40});
                            Click(Child<QWidget>(painter, "mapCanvas"), {5, 5}, Qt::ShiftModifier);
                            Button(painter, "okAndSaveButton");
                        });
        Ok(d);
    });
    const qb::ConstRecordView mapRecord(Object(project, map).lpDatiOggetto);
    const std::uint32_t painted = mapRecord.u32(qb::layout::map::CellOffset(7, 150, 20));
    EXPECT_EQ(qb::layout::map_cell::TileSetId(painted), static_cast<std::uint32_t>(tiles));

    // A sprite sheet, and three kinds of element; the peg shows a sprite while it is off.
    const std::int32_t sheet = NewItemOfType(project, 3);
    Edit(project, sheet, [&](QDialog* d) {
        Type(d, "minimalDimensionLineEdit", "32");
        Ok(d);
    });
    const std::int32_t peg = NewItemOfType(project, 507);
    const std::int32_t spring = NewItemOfType(project, 507);
    const std::int32_t hole = NewItemOfType(project, 507);
    MakeElement(project, peg, "Peg", "elementType2RadioButton", "4", "10");
    MakeElement(project, spring, "Spring", "elementType1RadioButton", "6", "0");
    MakeElement(project, hole, "Hole", "elementType11RadioButton", "8", "500");
    Edit(project, peg, [&](QDialog* d) {
        Button(d, "paintDeactivatedCheckBox");
        WithModalDialog([&] { Button(d, "deactivatedSpriteButton"); },
                        [&](QDialog* sprites) {
                            Click(Child<QWidget>(sprites, "sheetView"), {37, 5});
                            Button(sprites, "okAndSaveButton");
                        });
        Ok(d);
    });
    EXPECT_EQ(Object(project, peg).record().u32(E::kDeactivatedSprite), static_cast<std::uint32_t>(sheet));
    EXPECT_EQ(Object(project, peg).record().u8(E::kDeactivatedSprite + qb::layout::sprite_frame::kFirstColumn), 1);

    // The board: pieces placed with the mouse on the map.
    const std::int32_t board = NewItemOfType(project, 508);
    std::int32_t top = 0;
    Edit(project, board, [&](QDialog* d) {
        Type(d, "itemNameLineEdit", "Board 1");
        Child<QComboBox>(d, "backgroundMapComboBox")->setCurrentIndex(0);
        auto* view = Child<qb::ui::MapView>(d, "mapView");
        if (view->state() != qb::ui::MapViewState::Showing) {
            ADD_FAILURE() << "the board map is not shown";
            Cancel(d);
            return;
        }
        top = view->mapHeight() * view->tileSize();  // y counts up from the bottom
        QWidget* area = view->area();
        auto* element = Child<QComboBox>(d, "elementComboBox");

        // A peg picked at (64, 100) of the view, then a grid of 4 x 3 more from (96, 60).
        element->setCurrentIndex(0);
        Button(d, "chooseInitFromMapButton");
        Mouse(area, QEvent::MouseMove, {64, 100}, Qt::NoButton);
        Click(area, {64, 100});
        Button(d, "addOneButton");
        Button(d, "fit16CheckBox");
        Button(d, "chooseInitFromMapButton");
        Mouse(area, QEvent::MouseMove, {100, 60}, Qt::NoButton);  // fits to (104, 48)
        Click(area, {100, 60});
        Type(d, "multiColumnsLineEdit", "4");
        Type(d, "multiRowsLineEdit", "3");
        Type(d, "multiOffsetXLineEdit", "32");
        Type(d, "multiOffsetYLineEdit", "-32");
        Button(d, "addMultiButton");

        // The spring's wall of the launch lane: vertical, both ends picked.
        element->setCurrentIndex(1);
        Button(d, "verticalRadioButton");
        Button(d, "chooseInitFromMapButton");
        Mouse(area, QEvent::MouseMove, {300, 300}, Qt::NoButton);
        Button(d, "chooseInitFromMapButton");
        Button(d, "chooseEndFromMapButton");
        Mouse(area, QEvent::MouseMove, {300, 120}, Qt::NoButton);
        Click(area, {300, 120});
        Button(d, "addOneButton");

        // The hole: horizontal.
        element->setCurrentIndex(2);
        Button(d, "horizontalRadioButton");
        Button(d, "chooseInitFromMapButton");
        Mouse(area, QEvent::MouseMove, {120, 280}, Qt::NoButton);
        Button(d, "chooseInitFromMapButton");
        Button(d, "chooseEndFromMapButton");
        Mouse(area, QEvent::MouseMove, {170, 280}, Qt::NoButton);
        Click(area, {170, 280});
        Button(d, "addOneButton");

        EXPECT_EQ(Child<QListWidget>(d, "piecesListWidget")->count(), 15);
        Type(d, "levelOrderLineEdit", "1");
        Type(d, "ballsLineEdit", "10");
        Type(d, "bonusLineEdit", "1000");
        Ok(d);
    });
    qb::RecordView r = Object(project, board).record();
    ASSERT_EQ(r.size(), B::kEditedSize);
    EXPECT_EQ(r.u32(B::kBackgroundMap), static_cast<std::uint32_t>(map));
    EXPECT_EQ(r.i32(B::kPieceCount), 15);
    auto piece = [&](int i, std::size_t word) {
        return r.i32(B::kPieces + static_cast<std::size_t>(i) * B::kPieceSize + 4 * word);
    };
    EXPECT_EQ(piece(0, 0), peg);
    EXPECT_EQ(piece(0, 2), 64);
    EXPECT_EQ(piece(0, 3), top - 101);
    EXPECT_EQ(piece(1, 2), 104);  // the grid: column by column
    EXPECT_EQ(piece(1, 3), top - 48);
    EXPECT_EQ(piece(2, 3), top - 80);
    EXPECT_EQ(piece(4, 2), 136);
    EXPECT_EQ(piece(12, 2), 200);
    EXPECT_EQ(piece(12, 3), top - 112);
    EXPECT_EQ(piece(13, 0), spring);
    EXPECT_EQ(piece(13, 1), 0);  // vertical
    EXPECT_EQ(piece(13, 2), 296);
    EXPECT_EQ(piece(13, 3), top - 288);
    EXPECT_EQ(piece(13, 5), top - 112);
    EXPECT_EQ(piece(14, 0), hole);
    EXPECT_EQ(piece(14, 1), 2);  // horizontal
    EXPECT_EQ(piece(14, 2), 120);
    EXPECT_EQ(piece(14, 4), 168);
    EXPECT_EQ(r.i32(B::kBallCount), 10);

    // Main parameters: pachinko on that board.
    Edit(project, main, [&](QDialog* d) {
        Button(d, "pachinkoRadioButton");
        Child<QComboBox>(d, "tableObjectsDataComboBox")->setCurrentIndex(0);
        Type(d, "maxBallSpeedLineEdit", "14");
        Type(d, "gravityLineEdit", "2500");
        Type(d, "descriptionWhileLoadingLineEdit", "Loading the table");
        Ok(d);
    });
    EXPECT_EQ(Object(project, main).record().u32(M::kGameKind), M::kPachinko);
    EXPECT_EQ(Object(project, main).record().u32(M::kPachinkoBoard), static_cast<std::uint32_t>(board));

    // What `validate` does with the project as saved: no error.
    const qb::ProjectRecord saved = SavedProject(project);
    qb::BuildSettings settings = qb::ValidateProject(saved);
    qb::CheckGameArea(saved, settings);
    EXPECT_EQ(settings.error, "");
    EXPECT_EQ(settings.dimX, 600);
    EXPECT_EQ(settings.dimY, 800);

    ASSERT_TRUE(qb::BuildGame(project, qb::BuildMode::Compile))
        << (app.messages.texts.empty() ? "" : app.messages.texts.back());
    const fs::path folder = qb::ProjectAt(project)->sPathProgetto;
    qb::GameFileContents contents;
    std::string error;
    ASSERT_TRUE(qb::ReadGameFile((folder / "Release" / "Game.swf").string(), contents, &error)) << error;
    EXPECT_EQ(contents.projectText, ReadFile(folder / "project.ini"));
    EXPECT_NE(contents.projectText.find(qb::EncodeHex(Object(project, board).lpDatiOggetto)
                                            .substr(0, qb::kHexPieceChars)),
              std::string::npos);
    EXPECT_NE(contents.projectText.find("descriptionWhileLoading=Loading the table"), std::string::npos);
}

} // namespace
