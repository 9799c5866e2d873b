// Scenes of the curling game's editors, on one pachinko project: the "Main parameters" (its
// first page and its pachinko page), a "Pachinko's element" and the board.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <memory>

#include "editors/curling/main_parameters.h"
#include "editors/curling/pachinko_board.h"
#include "editors/curling/pachinko_element.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/map.h"
#include "model/layouts/pachinko.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace M = qb::layout::curling_main;
namespace E = qb::layout::pachinko_element;
namespace B = qb::layout::pachinko_board;
namespace P = qb::layout::pachinko_board::piece;

std::int32_t NewItemOfType(int project, std::uint32_t type, const char* name = nullptr) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type) {
            const std::int32_t id = qb::NewItem(project, o.IDoggetto);
            if (name) qb::FindObject(id, project)->sDescrizione = name;
            return id;
        }
    return 0;
}

std::int32_t ObjectOfType(int project, std::uint32_t type) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == type) return o.IDoggetto;
    return 0;
}

// A pachinko project: a splash, a font, sounds, three elements, a board, and Main parameters
// set to "Pachinko" with that board.
struct PachinkoProject {
    int project = qbshots::CreateSceneProject("Pachinko", 5);
    std::int32_t main = ObjectOfType(project, 500);
    std::int32_t peg = 0, spring = 0, hole = 0, board = 0;

    void makeBoard();

    PachinkoProject() {
        NewItemOfType(project, 13, "Title");
        NewItemOfType(project, 2, "Font");
        const std::int32_t bounce = NewItemOfType(project, 5, "Bounce");
        NewItemOfType(project, 5, "Music");
        peg = NewItemOfType(project, 507, "Peg");
        spring = NewItemOfType(project, 507, "Spring");
        hole = NewItemOfType(project, 507, "Hole");
        board = NewItemOfType(project, 508, "Board 1");
        qb::RecordView e = qb::FindObject(peg, project)->record();
        e.setI32(E::kRadius, 4);
        e.setI32(E::kScore, 10);
        e.setU32(E::kCollisionSound, 1);
        e.setU32(E::kCollisionSound + 4, static_cast<std::uint32_t>(bounce));
        e.setU32(E::kLightToPass, 1);
        qb::FindObject(spring, project)->record().setU32(E::kType, 1);
        qb::FindObject(hole, project)->record().setU32(E::kType, 11);

        makeBoard();

        qb::RecordView r = qb::FindObject(main, project)->record();
        r.setU32(M::kGameKind, M::kPachinko);
        r.setU32(M::kPachinkoBoard, static_cast<std::uint32_t>(board));
        r.setU32(M::kSplashStart, static_cast<std::uint32_t>(ObjectOfType(project, 13)));
        r.setU32(M::kDefaultFont, static_cast<std::uint32_t>(ObjectOfType(project, 2)));
        r.setI32(M::kMaxBallSpeed, 12);
        r.setI32(M::kGravity, 2500);
        r.setI32(M::kSlotSpriteCount, 6);
        r.setI32(M::kReelOrder1Length, 4);
        for (std::size_t i = 0; i < 4; ++i) r.setI32(M::kReelOrder1 + 4 * i, static_cast<std::int32_t>(i % 3));
        r.setU32(M::kNextBallSound, 1);
        r.setU32(M::kNextBallSound + 4, static_cast<std::uint32_t>(bounce));
    }
};

// The default background in tiles of 32 pixels, a 20 x 200 map tiled from it, and a board of
// pegs in staggered rows, the launch lane's wall, a spring and two holes.
void PachinkoProject::makeBoard() {
    namespace map = qb::layout::map;
    const std::int32_t tiles = NewItemOfType(project, 4, "Table tiles");
    qb::FindObject(tiles, project)->record().setI32(qb::layout::backgrounds_bitmap::kTileSize, 32);
    const std::int32_t mapId = NewItemOfType(project, 6, "Table");
    qb::RecordView m = qb::FindObject(mapId, project)->record();
    const std::uint32_t w = m.u32(map::kWidth), h = m.u32(map::kHeight);
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x)
            m.setU32(map::CellOffset(x, y, w),
                     qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), (x + y) % 3, (y / 2) % 3));

    qb::RecordView b = qb::FindObject(board, project)->record();
    b.setU32(B::kBackgroundMap, static_cast<std::uint32_t>(mapId));
    b.setI32(B::kBallCount, 10);
    b.setI32(B::kCompletionBonus, 1000);
    const std::int32_t top = static_cast<std::int32_t>(h) * 32;
    int n = 0;
    auto put = [&](std::int32_t element, std::uint32_t placement, std::int32_t x1, std::int32_t y1,
                   std::int32_t x2, std::int32_t y2) {
        const std::size_t o = B::kPieces + static_cast<std::size_t>(n++) * B::kPieceSize;
        b.setU32(o + P::kElement, static_cast<std::uint32_t>(element));
        b.setU32(o + P::kPlacement, placement);
        b.setI32(o + P::kInitX, x1);
        b.setI32(o + P::kInitY, y1);
        b.setI32(o + P::kEndX, x2);
        b.setI32(o + P::kEndY, y2);
    };
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 7 - (row % 2); ++column) {
            const std::int32_t x = 40 + column * 36 + (row % 2) * 18, y = top - 40 - row * 32;
            put(peg, P::kFixed, x, y, x, y);
        }
    put(spring, P::kVertical, 296, top - 40, 296, top - 300);
    put(spring, P::kFixed, 308, top - 296, 308, top - 296);
    put(hole, P::kHorizontal, 40, top - 270, 100, top - 270);
    put(hole, P::kHorizontal, 180, top - 270, 240, top - 270);
    b.setI32(B::kPieceCount, n);
}

template <class Dialog>
void Shoot(int project, std::int32_t id, const std::string& outDir, const std::string& file,
           int page = -1) {
    qb::SetCurrentObject(project, id);
    auto dialog = std::make_unique<Dialog>(nullptr);
    if (page >= 0)
        if (auto* pages = dialog->template findChild<QTabWidget*>("pagesTabWidget")) pages->setCurrentIndex(page);
    qbshots::SaveShot(dialog.get(), outDir, file);
}

const qbshots::ScreenshotRegistration kCurlingMain("curling_main_parameters", [](const std::string& out) {
    PachinkoProject p;
    Shoot<qb::ui::CurlingMainParametersDialog>(p.project, p.main, out, "curling_main_parameters.png");
    Shoot<qb::ui::CurlingMainParametersDialog>(p.project, p.main, out,
                                               "curling_main_parameters_pachinko.png", 3);
});

const qbshots::ScreenshotRegistration kPachinkoElement("pachinko_element", [](const std::string& out) {
    PachinkoProject p;
    Shoot<qb::ui::PachinkoElementDialog>(p.project, p.peg, out, "pachinko_element.png");
});

const qbshots::ScreenshotRegistration kPachinkoBoard("pachinko_board", [](const std::string& out) {
    PachinkoProject p;
    qb::SetCurrentObject(p.project, p.board);
    auto dialog = std::make_unique<qb::ui::PachinkoBoardDialog>(nullptr);
    // A piece selected (red), and a peg being composed (yellow).
    if (auto* list = dialog->findChild<QListWidget*>("piecesListWidget")) list->setCurrentRow(9);
    if (auto* element = dialog->findChild<QComboBox*>("elementComboBox")) element->setCurrentIndex(0);
    if (auto* x = dialog->findChild<QLineEdit*>("initXLineEdit")) x->setText("150");
    if (auto* y = dialog->findChild<QLineEdit*>("initYLineEdit")) y->setText("6330");
    qbshots::SaveShot(dialog.get(), out, "pachinko_board.png");
});

} // namespace
