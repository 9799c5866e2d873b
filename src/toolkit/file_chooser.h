#pragma once
// The open-file chooser that remembers its folder, and importing a chosen file into an item
// ("Import sound", "Import picture...").
//
// The chooser is a replaceable function so that tests can pick a file without a real dialog;
// the remembering of its folder and filter in preferences.ini is done around it and is the
// same in both cases.
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace qb::ui {

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

// The chooser numbers: sounds (chooser "MP3 File") and pictures (chooser "PNG File").
constexpr int kSoundChooser = 10005;
constexpr int kPictureChooser = 10006;

// Lets the user choose a file of the item's kind (a PNG for picture items, an MP3 for sounds)
// and replaces the item's file by a copy of it at once; a file that cannot be used is refused
// with a message and nothing is replaced. Answers whether the file was replaced.
bool ChooseAndImportItemFile(QWidget* owner, int projectIndex, std::int32_t objectId);

} // namespace qb::ui
