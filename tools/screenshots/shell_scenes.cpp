// Scenes of the editor's own windows: the main window with a project open and a picture item
// selected, the New project, Open project and Preferences dialogs, the records warning and the
// splash.
#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <memory>

#include "app/main_window.h"
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
