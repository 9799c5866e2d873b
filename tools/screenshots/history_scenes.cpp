// The History dialog of a project after a few changes.
#include "app/history_dialog.h"
#include "app/main_window.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/history.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

std::int32_t GroupOf(int project, std::uint32_t subtype) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == subtype) return o.IDoggetto;
    return 0;
}

const qbshots::ScreenshotRegistration kHistory("history", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    const std::int32_t sprites = qb::NewItem(p, GroupOf(p, 3));
    qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t level = qb::NewItem(p, GroupOf(p, 8));
    qb::NewItem(p, GroupOf(p, 5));
    for (int i = 0; i < 2; ++i) {
        qb::FindObject(level, p)->lpDatiOggetto[0] ^= 1;
        const qb::ChangeLabel change("Level data: OK", level);
        qb::SaveProject(p);
    }
    qb::DeleteItem(p, sprites);
    {
        const std::int32_t main = qb::ProjectAt(p)->objects[16].IDoggetto;
        qb::FindObject(main, p)->lpDatiOggetto[8] ^= 1;
        const qb::ChangeLabel change("Main parameters: OK", main);
        qb::SaveProject(p);
    }
    qb::app::MainWindow window;
    window.resize(1024, 640);
    qb::app::RebuildProjectTree();
    qb::app::RefreshProjectTree(-1, p);
    qb::app::HistoryDialog dialog(&window, p);
    qbshots::SaveShot(&dialog, out, "history.png");
});

} // namespace
