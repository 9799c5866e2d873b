// Scenes of the curling game's editors, on one pachinko project: the "Main parameters" (its
// first page and its pachinko page) and a "Pachinko's element".
#include <QTabWidget>
#include <memory>

#include "editors/curling/main_parameters.h"
#include "editors/curling/pachinko_element.h"
#include "model/commands.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/pachinko.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace M = qb::layout::curling_main;
namespace E = qb::layout::pachinko_element;

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

} // namespace
