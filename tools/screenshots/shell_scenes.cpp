// Scenes of the editor's own windows: the main window with a project open and a picture item
// selected, the start page, the tree's context menu, the New project, Open project and
// Preferences dialogs, the records warning and the splash.
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "app/recent_projects.h"
#include "app/start_page.h"
#include "app/splash.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"
#include "toolkit/new_project_dialog.h"
#include "toolkit/open_project_dialog.h"
#include "toolkit/preferences_dialog.h"
#include "toolkit/records_warning_dialog.h"

namespace {

std::int32_t GroupOf(int project, std::uint32_t subtype) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == subtype) return o.IDoggetto;
    return 0;
}

const qbshots::ScreenshotRegistration kMainWindow("main_window", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    // Only items that have an editor.
    qb::NewItem(p, GroupOf(p, 2));
    qb::NewItem(p, GroupOf(p, 5));
    qb::NewItem(p, GroupOf(p, 13));
    const std::int32_t sprites = qb::NewItem(p, GroupOf(p, 3));
    qbshots::CreateSceneProject("Puzzle Garden", qb::game::Jigsaw);
    qb::app::MainWindow window;
    window.resize(1024, 640);
    qb::app::RebuildProjectTree();
    qb::app::RefreshProjectTree(sprites, p);
    qbshots::SaveShot(&window, out, "main_window.png");
    // The smallest the window can be: every button still whole.
    window.resize(qb::app::kMinimumWidth, qb::app::kMinimumHeight);
    qbshots::SaveShot(&window, out, "main_window_minimum.png");
});

const qbshots::ScreenshotRegistration kStartPage("start_page", [](const std::string& out) {
    const int shooter = qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    const int jigsaw = qbshots::CreateSceneProject("Puzzle Garden", qb::game::Jigsaw);
    const int racing = qbshots::CreateSceneProject("Desert Rally", qb::game::Racing);
    qb::app::MainWindow window;
    window.resize(1024, 640);
    qb::app::RebuildProjectTree();
    qb::app::RefreshProjectTree(-1, -1);
    // The scene's projects as the recent ones, without touching the user's own list.
    std::vector<qb::app::RecentProject> recent;
    for (int p : {jigsaw, racing, shooter})
        recent.push_back({qb::ProjectAt(p)->sPathProgetto, qb::ProjectAt(p)->sNomeProgetto});
    window.startPage()->setProjects(recent);
    window.say(QStringLiteral("Reopened 3 projects"));
    qbshots::SaveShot(&window, out, "start_page.png");
});

const qbshots::ScreenshotRegistration kContextMenu("context_menu", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    qb::NewItem(p, GroupOf(p, 3));
    const std::int32_t enemy = qb::NewItem(p, GroupOf(p, 7));
    qb::NewItem(p, GroupOf(p, 7));
    qb::app::MainWindow window;
    window.resize(900, 560);
    qb::app::RebuildProjectTree();
    qb::app::RefreshProjectTree(enemy, p);
    window.show();
    qbshots::SettleEvents();
    QTreeWidget* tree = window.treePanel()->tree();
    std::unique_ptr<QMenu> menu(window.contextMenuFor(window.treePanel()->currentNode()));
    const QRect item = tree->visualItemRect(tree->currentItem());
    const QPoint at = tree->viewport()->mapTo(&window, item.center() + QPoint(10, 4));
    menu->popup(window.mapToGlobal(at));
    qbshots::SettleEvents();
    // A menu is a window of its own: it is drawn over the main window where it opened.
    QPixmap shot = window.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(at, menu->grab());
    }
    menu->close();
    shot.save(QString::fromStdString((std::filesystem::path(out) / "context_menu.png").string()), "PNG");
});

const qbshots::ScreenshotRegistration kNewProject("new_project", [](const std::string& out) {
    qb::ui::NewProjectDialog dialog(nullptr);
    dialog.nameEdit()->setText("My Game");
    qbshots::SaveShot(&dialog, out, "new_project.png");
});

const qbshots::ScreenshotRegistration kOpenProject("open_project", [](const std::string& out) {
    qbshots::CreateSceneProject("Space Rescue", qb::game::ShootEmUp);
    qbshots::CreateSceneProject("Puzzle Garden", qb::game::Jigsaw);
    qb::ResetWorkspace();
    qb::ui::OpenProjectDialog dialog(nullptr);
    qbshots::SaveShot(&dialog, out, "open_project.png");
});

const qbshots::ScreenshotRegistration kPreferences("preferences", [](const std::string& out) {
    qb::ui::PreferencesDialog dialog(nullptr);
    qbshots::SaveShot(&dialog, out, "preferences.png");
});

const qbshots::ScreenshotRegistration kRecordsWarning("records_warning", [](const std::string& out) {
    qb::ui::RecordsWarningDialog dialog(nullptr);
    qbshots::SaveShot(&dialog, out, "records_warning.png");
});

const qbshots::ScreenshotRegistration kSplash("splash", [](const std::string& out) {
    qb::app::SplashWindow splash(nullptr);
    splash.adjustSize();
    qbshots::SaveShot(&splash, out, "splash.png");
});

} // namespace
