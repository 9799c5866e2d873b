#include "app/qt_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "toolkit/qtext.h"

namespace qb::app {

namespace {

QString FromUtf8OrLatin1(std::string_view text) {
    // Paths come from the file system (UTF-8); record texts are 8-bit. Valid UTF-8 is shown as
    // such, anything else byte for byte.
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    QString decoded = QString::fromUtf8(bytes);
    if (decoded.toUtf8() == bytes) return decoded;
    return ui::FromRecordText(text);
}

} // namespace

QWidget* QtMessages::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return mainWindow_;
}

void QtMessages::inform(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8OrLatin1(caption), FromUtf8OrLatin1(text),
                    QMessageBox::Ok, owner());
    box.setObjectName("quillboxMessage");
    // A message must be readable even while a wait cursor is up.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
}

bool QtMessages::askOkCancel(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8OrLatin1(caption), FromUtf8OrLatin1(text),
                    QMessageBox::Ok | QMessageBox::Cancel, owner());
    box.setObjectName("quillboxQuestion");
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    return answer == QMessageBox::Ok;
}

void QtMessages::beginWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtMessages::endWait() {
    if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void QtDesktop::open(std::string_view pathOrUrl) {
    const QString text = QString::fromUtf8(pathOrUrl.data(), static_cast<qsizetype>(pathOrUrl.size()));
    if (text.isEmpty()) return;
    // Anything with a scheme (https:, file:) is a URL; everything else is a file or folder.
    QUrl url(text, QUrl::StrictMode);
    if (text.startsWith('/') || !url.isValid() || url.scheme().size() < 2)
        url = QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    QDesktopServices::openUrl(url);
}

QStringList ProgramCommandLine(const QString& program, const QStringList& args) {
    const QString trimmed = program.trimmed();
    if (trimmed.isEmpty()) return {};
    QStringList line;
    const QFileInfo file(trimmed);
    if ((file.isAbsolute() && file.exists()) || !QStandardPaths::findExecutable(trimmed).isEmpty()) {
        line << trimmed;
    } else {
        line = QProcess::splitCommand(trimmed);
        if (line.isEmpty()) return {};
    }
    line << args;
    return line;
}

bool QtDesktop::startDetached(std::string_view program, const std::vector<std::string>& args) {
    QStringList arguments;
    for (const auto& arg : args) arguments << QString::fromUtf8(arg.data(), static_cast<qsizetype>(arg.size()));
    QStringList line = ProgramCommandLine(
        QString::fromUtf8(program.data(), static_cast<qsizetype>(program.size())), arguments);
    if (line.isEmpty()) return false;
    const QString executable = line.takeFirst();
    return QProcess::startDetached(executable, line);
}

} // namespace qb::app
