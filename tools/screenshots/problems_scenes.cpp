// The main window with the "Problems" panel under the tree: a shoot'em-up with a few things
// missing, and a picture whose file went away.
#include <filesystem>

#include "app/main_window.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/shootemup_main.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace L = qb::layout;

std::int32_t GroupOf(int project, std::uint32_t subtype) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == subtype) return o.IDoggetto;
    return 0;
}

const qbshots::ScreenshotRegistration kProblems("problems", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    qb::ProjectRecord& project = *qb::ProjectAt(p);
    std::int32_t mainId = 0;
    for (const qb::ObjectRecord& o : project.objects)
        if (o.tipoOggetto == 1) mainId = o.IDoggetto;
    const std::int32_t ship = qb::NewItem(p, GroupOf(p, 9));
    const std::int32_t fire = qb::NewItem(p, GroupOf(p, 10));
    const std::int32_t title = qb::NewItem(p, GroupOf(p, 13));
    const std::int32_t sheet = qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t enemy = qb::NewItem(p, GroupOf(p, 7));
    qb::FindObject(enemy, p)->sDescrizione = "Enemy 3";
    {
        namespace M = L::shootemup_main;
        qb::RecordView main = qb::FindObject(mainId, p)->record();
        main.setU32(M::kPlayerShip, static_cast<std::uint32_t>(ship));
        main.setU32(M::kPlayerFire, static_cast<std::uint32_t>(fire));
        main.setU32(M::kSplashStart, static_cast<std::uint32_t>(title));
        main.setU32(M::kSplashEnd, static_cast<std::uint32_t>(title));
    }
    // The sheet's picture was removed behind the editor's back.
    std::error_code ec;
    std::filesystem::remove(
        qb::FindObject(sheet, p)->record().text(L::file_backed::kPath, L::file_backed::kPathSize),
        ec);
    qb::SaveProject(p);
    qb::app::MainWindow window;
    window.resize(1024, 700);
    qb::app::RebuildProjectTree();
    qb::app::RefreshProjectTree(enemy, p);
    qbshots::SaveShot(&window, out, "main_window_problems.png");
});

} // namespace
