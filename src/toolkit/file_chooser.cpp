#include "toolkit/file_chooser.h"

#include <QFile>
#include <QFileDialog>
#include <filesystem>

#include "model/item_files.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/editor_launcher.h"

namespace qb::ui {

namespace {
constexpr const char* kChooserSection = "PathUtente";

OpenFileDialog& InstalledDialog() {
    static OpenFileDialog dialog;
    return dialog;
}

OpenFileAnswer ShowFileDialog(const OpenFileRequest& request) {
    QFileDialog dialog(request.owner);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(request.folder);
    QStringList names;
    for (const FileFilter& filter : request.filters)
        names << filter.name + QStringLiteral(" (") + filter.pattern + QStringLiteral(")");
    dialog.setNameFilters(names);
    if (request.filterIndex >= 0 && request.filterIndex < names.size())
        dialog.selectNameFilter(names[request.filterIndex]);
    OpenFileAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = static_cast<int>(names.indexOf(dialog.selectedNameFilter()));
    return answer;
}
} // namespace

void SetOpenFileDialog(OpenFileDialog dialog) { InstalledDialog() = std::move(dialog); }

std::string ChooseFileWithRememberedFolder(QWidget* owner, int chooserNumber,
                                           const std::vector<FileFilter>& filters) {
    const std::string key = "Func" + std::to_string(chooserNumber);
    const std::string filterKey = key + "_Filter";

    OpenFileRequest request;
    request.owner = owner;
    request.filters = filters;
    const std::string folder = GetPreferenceIn(kChooserSection, key);
    std::error_code ec;
    request.folder = QFile::decodeName(QByteArray::fromStdString(
        !folder.empty() && std::filesystem::is_directory(folder, ec) ? folder : AppFolder()));
    // A damaged filter index falls back to the first filter.
    const int filterNumber = GetPreferenceIntIn(kChooserSection, filterKey, 1);
    request.filterIndex =
        filterNumber >= 1 && filterNumber <= static_cast<int>(filters.size()) ? filterNumber - 1 : 0;

    const OpenFileAnswer answer =
        InstalledDialog() ? InstalledDialog()(request) : ShowFileDialog(request);
    if (answer.path.isEmpty()) return {};

    const std::string path = QFile::encodeName(answer.path).toStdString();
    std::string chosenFolder = std::filesystem::path(path).parent_path().string();
    if (chosenFolder.empty() || chosenFolder.back() != '/') chosenFolder += '/';
    // Preference values hold 259 characters; a longer folder would come back cut, so the
    // previous one is kept instead.
    if (chosenFolder.size() <= kMaxPathLength)
        SetPreferenceIn(kChooserSection, key, chosenFolder);
    const int usedFilter =
        answer.filterIndex >= 0 && answer.filterIndex < static_cast<int>(filters.size())
            ? answer.filterIndex
            : request.filterIndex;
    SetPreferenceIn(kChooserSection, filterKey, std::to_string(usedFilter + 1));
    return path;
}

bool ChooseAndImportItemFile(QWidget* owner, int projectIndex, std::int32_t objectId) {
    const ObjectRecord* object = FindObject(objectId, projectIndex);
    if (!object) return false;
    const ItemFileKind kind = ItemFileKindOfType(object->tipoOggetto);
    if (kind == ItemFileKind::None) return false;
    const bool sound = kind == ItemFileKind::Sound;
    const std::string chosen = ChooseFileWithRememberedFolder(
        owner, sound ? kSoundChooser : kPictureChooser,
        {sound ? FileFilter{QStringLiteral("MP3 File"), QStringLiteral("*.mp3")}
               : FileFilter{QStringLiteral("PNG File"), QStringLiteral("*.png")}});
    if (chosen.empty()) return false;
    const std::string problem = ImportItemFile(projectIndex, objectId, chosen);
    if (!problem.empty()) {
        ShowMessage(problem + " Nothing was replaced.");
        return false;
    }
    // The preview behind the dialog shows the new picture at once.
    if (!sound) RepaintPreview();
    return true;
}

} // namespace qb::ui
