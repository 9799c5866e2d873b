#pragma once
// The editor's message and desktop services.
//
// Messages are QMessageBox windows with caption "Quillbox" (OK, or OK and Cancel), owned by the
// open modal dialog when there is one, else by the main window. The wait cursor is Qt's
// override cursor. The desktop service opens paths and pages with QDesktopServices (xdg-open)
// and starts programs detached with QProcess.
#include <QStringList>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/messages.h"

class QWidget;

namespace qb::app {

class QtMessages final : public MessageService {
public:
    // The owner used when no modal dialog is open (normally the main window); may be null.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    void inform(std::string_view text, std::string_view caption) override;
    bool askOkCancel(std::string_view text, std::string_view caption) override;
    void beginWait() override;
    void endWait() override;

private:
    QWidget* owner() const;
    QWidget* mainWindow_ = nullptr;
};

class QtDesktop final : public DesktopService {
public:
    void open(std::string_view pathOrUrl) override;
    bool startDetached(std::string_view program, const std::vector<std::string>& args) override;
};

// How a program preference becomes a process: a value that names an existing file or a program
// on PATH is the program itself (blanks and all); anything else is split like a shell command
// line ("flatpak run org.gimp.GIMP") and the arguments are appended. Empty when nothing is left.
QStringList ProgramCommandLine(const QString& program, const QStringList& args);

} // namespace qb::app
