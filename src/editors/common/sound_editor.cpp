#include "editors/common/sound_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <unistd.h>

#include "model/history.h"
#include "model/layouts/sound.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"
#include "toolkit/sound_player.h"

namespace qb::ui {

namespace {
namespace L = layout::sound;
constexpr int kSoundChooser = 10005;
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

const EditorRegistration kRegistration(kAudioType, RunEditor<SoundEditorDialog>);
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

bool ReplaceFileWithCopy(const std::string& source, const std::string& destination) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (source.empty() || destination.empty() || !fs::is_regular_file(source, ec)) return false;
    if (fs::exists(destination, ec) && fs::equivalent(source, destination, ec)) return false;
    if (fs::is_directory(destination, ec)) return false;
    const fs::path target(destination);
    const fs::path temporary = target.parent_path() /
                               ("." + target.filename().string() + ".import-" +
                                std::to_string(::getpid()));
    fs::remove(temporary, ec);
    if (!fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, ec) || ec) {
        fs::remove(temporary, ec);
        return false;
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

SoundEditorDialog::SoundEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Sound parameters")) {
    FieldBinder& f = fields();
    addItemNameRow(addForm());

    auto* grid = AddGroup<QGridLayout>(body(), "soundSourceGroupBox", "Sound");
    auto* userSound = Named<QRadioButton>("userSoundRadioButton", QStringLiteral("User sound"));
    auto* pathFile = Named<QLineEdit>("pathFileLineEdit");
    pathFile->setReadOnly(true);
    pathFile->setMinimumWidth(320);
    auto* loop = f.flag(Named<QCheckBox>("loopSoundCheckBox", QStringLiteral("Loop sound")),
                        L::kLoop);
    auto* importSound =
        Named<QPushButton>("importSoundPushButton", QStringLiteral("Import sound"));
    auto* editSound = Named<QPushButton>("editSoundPushButton", QStringLiteral("Edit sound"));
    auto* librarySound = Named<QRadioButton>("embeddedLibrarySoundRadioButton",
                                             QStringLiteral("Embedded library sound"));
    auto* library = Named<QComboBox>("librarySoundComboBox");
    for (const char* name : {"User fire", "Enemy fire", "Shield fire", "Explosion", "Bonus"})
        library->addItem(QString::fromLatin1(name));

    // Plays the MP3 file, or the library sound's file when that source is chosen.
    player_ = new SoundPlayer(QStringLiteral("sound"), [=, this] {
        return SoundFromSource(recordPath(), librarySound->isChecked(), library->currentIndex());
    });
    connect(librarySound, &QRadioButton::toggled, player_, &SoundPlayer::stop);
    connect(library, &QComboBox::currentIndexChanged, player_, &SoundPlayer::stop);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importSound);
    buttons->addWidget(editSound);
    buttons->addStretch(1);
    grid->addWidget(userSound, 0, 0, 1, 2);
    grid->addWidget(Label("pathFileLabel", "Path file"), 1, 0);
    grid->addWidget(pathFile, 1, 1);
    grid->addLayout(buttons, 2, 1);
    grid->addWidget(loop, 3, 1);
    grid->addWidget(librarySound, 4, 0, 1, 2);
    grid->addWidget(library, 5, 1);
    grid->addWidget(player_, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    // The engine does not loop item sounds; the field is kept as it is.
    loop->setVisible(false);

    f.custom([=](RecordView& r) { pathFile->setText(FromRecordText(r.text(L::kPath, kPathField))); },
             nullptr);
    f.custom(
        [=](RecordView& r) {
            (r.u32(L::kSource) != L::kSourceUser ? librarySound : userSound)->setChecked(true);
        },
        [=](RecordView& r) {
            r.setU32(L::kSource, librarySound->isChecked() ? L::kSourceLibrary : L::kSourceUser);
        });
    f.custom(
        [=](RecordView& r) {
            const std::int32_t index = r.i32(L::kLibrarySound);
            library->setCurrentIndex(index >= 0 && index < L::kLibrarySoundCount ? index : -1);
        },
        [=](RecordView& r) { r.setI32(L::kLibrarySound, library->currentIndex()); });

    EnableWhile(userSound, {pathFile, loop, editSound, importSound});
    EnableWhile(userSound, {library}, false);
    connect(importSound, &QPushButton::clicked, this, &SoundEditorDialog::importSound);
    connect(editSound, &QPushButton::clicked, this, &SoundEditorDialog::editSound);

    loadFields();
}

std::string SoundEditorDialog::recordPath() {
    const ObjectRecord* object = fields().object();
    return object ? object->record().text(L::kPath, kPathField) : std::string();
}

void SoundEditorDialog::importSound() {
    const std::string chosen =
        ChooseFileWithRememberedFolder(this, kSoundChooser, {{QStringLiteral("MP3 File"),
                                                              QStringLiteral("*.mp3")}});
    if (chosen.empty()) return;
    player_->stop();
    // The sound being replaced is kept in the project's history first (when there is a file
    // to put in its place).
    std::error_code ec;
    const std::string target = recordPath();
    const bool replaces = std::filesystem::is_regular_file(chosen, ec) &&
                          !(std::filesystem::exists(target, ec) &&
                            std::filesystem::equivalent(chosen, target, ec));
    if (const ProjectRecord* project = ProjectAt(fields().projectIndex()); project && replaces) {
        const ObjectRecord* object = fields().object();
        const ChangeLabel change("Import sound " + (object ? object->sDescrizione : std::string()),
                                 fields().objectId());
        KeepVersionBeforeChange(project->sPathProgetto);
    }
    // The record keeps naming the same file; only its content changes.
    ReplaceFileWithCopy(chosen, target);
}

void SoundEditorDialog::editSound() { StartSoundEditor(recordPath()); }

} // namespace qb::ui
