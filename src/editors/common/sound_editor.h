#pragma once
// "Sound parameters" (type 5): the item's own MP3 file or one of the engine's library sounds.
// "Import sound" replaces the item's MP3 file at once (Cancel keeps it); the record changes only
// on OK.
//
// The file chooser is a replaceable function so that tests can pick a file without a real
// dialog; the remembering of its folder and filter in preferences.ini is done around it and is
// the same in both cases.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/item_editor.h"

class QWidget;

namespace qb::ui {

class SoundPlayer;

// One file-type filter of a chooser: its name and its pattern ("MP3 File", "*.mp3").
struct FileFilter {
    QString name;
    QString pattern;
};

// What the open-file dialog is asked: start folder, filters and the 0-based filter to preselect.
struct OpenFileRequest {
    QWidget* owner = nullptr;
    QString folder;
    std::vector<FileFilter> filters;
    int filterIndex = 0;
};
// What it answers: the chosen file (empty when cancelled) and the 0-based filter then selected.
struct OpenFileAnswer {
    QString path;
    int filterIndex = 0;
};
using OpenFileDialog = std::function<OpenFileAnswer(const OpenFileRequest&)>;

// Installs the dialog used by ChooseFileWithRememberedFolder; an empty function restores the
// QFileDialog (an existing file must be chosen).
void SetOpenFileDialog(OpenFileDialog dialog);

// Shows the open-file dialog starting in the folder last used by this chooser number
// (preferences.ini, section PathUtente, key "Func<number>"; the application folder before the
// first choice) with its last filter (key "Func<number>_Filter", 1-based) preselected. On a
// choice it remembers the file's folder and the filter, and answers the full path; on Cancel it
// stores nothing and answers an empty text.
std::string ChooseFileWithRememberedFolder(QWidget* owner, int chooserNumber,
                                           const std::vector<FileFilter>& filters);

// Replaces the file at destination by a copy of source, through a temporary file in the same
// folder, so a failed copy leaves the old file whole. Answers false (nothing changed) when the
// two are the same file or any step fails.
bool ReplaceFileWithCopy(const std::string& source, const std::string& destination);

class SoundEditorDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit SoundEditorDialog(QWidget* owner);

private:
    void importSound();
    void editSound();
    std::string recordPath();

    SoundPlayer* player_ = nullptr;
};

} // namespace qb::ui
