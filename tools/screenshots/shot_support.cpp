#include "shot_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <atomic>
#include <unistd.h>

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
    void startDetached(std::string_view, const std::vector<std::string>&) override {}
};
QuietMessages g_messages;
QuietDesktop g_desktop;
} // namespace

SceneFolder::SceneFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("quillbox_shots_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_ / "Projects", ec);
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(QB_SOURCE_DIR) / "assets", ec)) {
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), path_ / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing, ec);
    }
    qb::ResetWorkspace();
    qb::SetMessageService(&g_messages);
    qb::SetDesktopService(&g_desktop);
    qb::SetAppFolder(path_.string());
    qb::EnsurePreferenceDefaults();
}

SceneFolder::~SceneFolder() {
    qb::ResetWorkspace();
    qb::SetMessageService(nullptr);
    qb::SetDesktopService(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

int CreateSceneProject(const std::string& name, std::uint32_t gameType) {
    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = name;
    ws.pendingProjectFolder = qb::MakeUniquePath(qb::ProjectsFolder(), name, "");
    std::error_code ec;
    std::filesystem::create_directories(ws.pendingProjectFolder, ec);
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
