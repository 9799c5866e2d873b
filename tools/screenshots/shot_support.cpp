#include "shot_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <atomic>
#include <vector>
#include <unistd.h>

#include "app/app_folder.h"
#include "model/commands.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/desktop.h"
#include "platform/messages.h"

namespace qbshots {

namespace {
// Scenes must never block on a message box or start a program.
class QuietMessages final : public qb::MessageService {
public:
    void inform(std::string_view, std::string_view) override {}
    bool askOkCancel(std::string_view, std::string_view) override { return false; }
};
class QuietDesktop final : public qb::DesktopService {
public:
    void open(std::string_view) override {}
    bool startDetached(std::string_view, const std::vector<std::string>&) override { return true; }
};
QuietMessages g_messages;
QuietDesktop g_desktop;
} // namespace

// The projects the scenes made, removed again when their scene ends.
std::vector<std::filesystem::path>& SceneProjects() {
    static std::vector<std::filesystem::path> projects;
    return projects;
}

SceneFolder::SceneFolder() {
    // The real application folder, as the editor finds it when started from the desktop menu
    // (~/.local/share/quillbox), so the pictures show the paths a user sees. It is seeded the
    // way the editor seeds it (only missing files are added); a scratch folder serves only when
    // there is no per-user folder.
    path_ = qb::app::UserAppFolder();
    std::error_code ec;
    if (path_.empty()) {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("quillbox_shots_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
        scratch_ = true;
    }
    std::filesystem::create_directories(path_, ec);
    qb::app::SeedAppFolder((std::filesystem::path(QB_SOURCE_DIR) / "assets").string(), path_.string());
    qb::ResetWorkspace();
    qb::SetMessageService(&g_messages);
    qb::SetDesktopService(&g_desktop);
    qb::SetAppFolder(path_.string());
    qb::EnsurePreferenceDefaults();
    std::filesystem::create_directories(qb::ProjectsFolder(), ec);
}

SceneFolder::~SceneFolder() {
    qb::ResetWorkspace();
    qb::SetMessageService(nullptr);
    qb::SetDesktopService(nullptr);
    std::error_code ec;
    // Only what the scene made goes: the user's own projects and files stay.
    for (const auto& project : SceneProjects()) std::filesystem::remove_all(project, ec);
    SceneProjects().clear();
    if (scratch_) std::filesystem::remove_all(path_, ec);
}

int CreateSceneProject(const std::string& name, std::uint32_t gameType) {
    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = name;
    ws.pendingProjectFolder = qb::MakeUniquePath(qb::ProjectsFolder(), name, "");
    std::error_code ec;
    if (std::filesystem::create_directory(ws.pendingProjectFolder, ec))
        SceneProjects().push_back(ws.pendingProjectFolder);
    const int index = qb::CreateProject(gameType);
    qb::SaveProject(index);
    return index;
}

void SettleEvents(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool SaveShot(QWidget* widget, const std::string& outDir, const std::string& fileName) {
    widget->show();
    SettleEvents();
    const QString path = QString::fromStdString((std::filesystem::path(outDir) / fileName).string());
    return widget->grab().save(path, "PNG");
}

} // namespace qbshots
