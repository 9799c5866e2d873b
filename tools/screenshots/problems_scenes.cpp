// The main window with the "Problems" panel under the tree: a shoot'em-up with a few things
// missing, and a picture whose file went away.
#include <QListWidget>
#include <filesystem>

#include "app/main_window.h"
#include "app/uses_dialog.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/level.h"
#include "model/layouts/sound_pair.h"
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
        main.setI32(M::kHighTextX, 700);  // off the right edge of the 640 x 480 area
    }
    // A level whose map was deleted, and an enemy with its shield sound on but none chosen.
    const std::int32_t level = qb::NewItem(p, GroupOf(p, 8));
    qb::FindObject(level, p)->sDescrizione = "Level 1";
    qb::FindObject(level, p)->record().setU32(L::level::kBackgroundMap, 99);
    qb::FindObject(enemy, p)->record().setU32(
        L::enemy::kShieldSound + L::sound_pair::kEnabled, 1);
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
    // The end of the list: the warnings, after the build's errors.
    window.problemsPanel()->list()->scrollToBottom();
    qbshots::SaveShot(&window, out, "main_window_warnings.png");
});

// "Where is this used?" on a sprite sheet that an enemy, an explosion, a bonus and the Main
// parameters draw from.
const qbshots::ScreenshotRegistration kUses("uses", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    std::int32_t mainId = 0;
    for (const qb::ObjectRecord& o : qb::ProjectAt(p)->objects)
        if (o.tipoOggetto == 1) mainId = o.IDoggetto;
    const std::int32_t sheet = qb::NewItem(p, GroupOf(p, 3));
    const auto s = static_cast<std::uint32_t>(sheet);
    const auto add = [&](std::uint32_t type, const char* name, std::size_t frame) {
        const std::int32_t id = qb::NewItem(p, GroupOf(p, type));
        qb::FindObject(id, p)->sDescrizione = name;
        qb::FindObject(id, p)->record().setU32(frame, s);
        return id;
    };
    add(7, "Saucer", L::enemy::kSprites);
    add(7, "Mothership", L::enemy::kSprites);
    add(12, "Big bang", L::explosion::kSprites);
    add(14, "Shield bonus", L::bonus::kSprites);
    qb::FindObject(mainId, p)->record().setU32(L::shootemup_main::kGameOverSprite, s);
    qb::SaveProject(p);
    qb::app::UsesDialog dialog(nullptr, p, sheet);
    qbshots::SaveShot(&dialog, out, "uses_dialog.png");
});

} // namespace
