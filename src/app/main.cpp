// The Quillbox editor.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <filesystem>
#include <unistd.h>

#include "app/app_folder.h"
#include "app/main_window.h"
#include "app/qt_services.h"
#include "app/recent_projects.h"
#include "app/splash.h"
#include "app/startup.h"
#include "model/preferences.h"
#include "platform/messages.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillbox");
    QApplication::setApplicationVersion(qb::app::kVersion);
    QGuiApplication::setDesktopFileName("quillbox");
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillbox/pictures/quillbox.png")));

    qb::app::QtMessages messages;
    qb::app::QtDesktop desktop;
    qb::SetMessageService(&messages);
    qb::SetDesktopService(&desktop);

    // The application folder (see app_folder.h) becomes the current directory.
    std::error_code ec;
    const qb::app::AppFolderChoice choice =
        qb::app::ChooseAppFolder(std::filesystem::current_path(ec).string());
    if (!choice.folder.empty() && chdir(choice.folder.c_str()) != 0) {
        // Stay where we are: the writable check below tells the user if that is no good.
    }
    qb::SetAppFolder(std::filesystem::current_path(ec).string());

    const std::string pixbridgeError = qb::app::BindPixbridgeLibrary();
    qb::app::CreateProjectsFolder();
    if (!qb::app::CheckAppFolderWritable()) qb::ShowMessage(qb::app::kNotWritableText);

    int exitCode;
    {
        qb::app::MainWindow window;
        messages.setMainWindow(&window);
        window.resize(qb::app::kMinimumWidth, qb::app::kMinimumHeight);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window.move(area.x() + area.width() / 2 - qb::app::kMinimumWidth / 2,
                        area.y() + area.height() / 2 - qb::app::kMinimumHeight / 2);
        }
        window.showMaximized();

        qb::EnsurePreferenceDefaults();
        qb::app::RebuildProjectTree();
        qb::app::RefreshProjectTree(-1, -1);
        // The projects open at the last exit come back; the start page stays in front.
        const int reopened = qb::app::ReopenLastProjects();
        qb::app::RememberOpenProjects();
        if (reopened > 0) {
            qb::app::RebuildProjectTree();
            qb::app::RefreshProjectTree(-1, -1);
            window.say(reopened == 1 ? QStringLiteral("Reopened 1 project")
                                     : QStringLiteral("Reopened %1 projects").arg(reopened));
        }
        qb::app::SplashWindow::ShowSplash(&window);
        if (!pixbridgeError.empty()) qb::ShowMessage(qb::app::PixbridgeMissingText(pixbridgeError));

        exitCode = QApplication::exec();
        messages.setMainWindow(nullptr);
    }
    qb::SetMessageService(nullptr);
    qb::SetDesktopService(nullptr);
    return exitCode;
}
