#include "toolkit/editor_launcher.h"

#include <map>

#include "model/history.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "platform/desktop.h"
#include "platform/messages.h"

namespace qb::ui {

namespace {
std::map<std::uint32_t, EditorOpener>& Editors() {
    static std::map<std::uint32_t, EditorOpener> editors;
    return editors;
}
std::function<void(std::int32_t, int)>& TreeRefresher() {
    static std::function<void(std::int32_t, int)> refresher;
    return refresher;
}
std::function<void()>& PreviewRepainter() {
    static std::function<void()> repainter;
    return repainter;
}

// The external editors: their preference, what they are called and the Preferences field
// that names them.
struct ExternalEditor {
    const char* preferenceKey;
    const char* what;
    const char* field;
};
constexpr ExternalEditor kImageEditor{"editImagesApp", "image", "Application to edit images:"};
constexpr ExternalEditor kSoundEditor{"editSoundsApp", "sound", "Application to edit sounds:"};

void StartExternalEditor(const ExternalEditor& editor, const std::string& path) {
    EnsurePreferenceDefaults();
    const std::string program = GetPreference(editor.preferenceKey);
    // The program gets the path as its only argument; a detached start needs no quoting, the
    // argument list keeps a path with blanks in one piece.
    if (!program.empty() && Desktop().startDetached(program, {path})) return;
    ShowMessage(std::string("The ") + editor.what + " editor \"" + program +
                "\" could not be started. Choose the program to edit " + editor.what +
                "s with in Preferences (\"" + editor.field + "\").");
}
} // namespace

void RegisterEditor(std::uint32_t type, EditorOpener opener) { Editors()[type] = std::move(opener); }

bool HasEditor(std::uint32_t type) { return Editors().count(type) != 0; }

std::vector<std::uint32_t> RegisteredEditorTypes() {
    std::vector<std::uint32_t> types;
    for (const auto& [type, opener] : Editors()) types.push_back(type);
    return types;
}

bool OpenEditor(QWidget* owner, int projectIndex, std::int32_t objectId) {
    const ObjectRecord* object = FindObject(objectId, projectIndex);
    if (!object) return false;
    auto it = Editors().find(object->tipoOggetto);
    if (it == Editors().end()) return false;
    SetCurrentObject(projectIndex, objectId);
    // What an editor saves on its own (a map painted, an animation picked) is named after
    // the item; its OK names itself.
    const ChangeLabel change("Edit item " + object->sDescrizione, objectId);
    it->second(owner);
    return true;
}

void SetTreeRefresher(std::function<void(std::int32_t, int)> refresher) {
    TreeRefresher() = std::move(refresher);
}
void SetPreviewRepainter(std::function<void()> repainter) {
    PreviewRepainter() = std::move(repainter);
}
bool RebuildAndRefreshTree(std::int32_t objectId, int projectIndex) {
    if (!TreeRefresher()) return false;
    TreeRefresher()(objectId, projectIndex);
    return true;
}
void RepaintPreview() {
    if (PreviewRepainter()) PreviewRepainter()();
}

std::string QuotePath(const std::string& path) { return "\"" + path + "\""; }

std::string AppFilePath(const std::string& fileName) {
    std::string folder = AppFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + fileName;
}

void StartImageEditor(const std::string& path) { StartExternalEditor(kImageEditor, path); }
void StartSoundEditor(const std::string& path) { StartExternalEditor(kSoundEditor, path); }

void OpenProjectFolder(int projectIndex) {
    if (const ProjectRecord* project = ProjectAt(projectIndex))
        Desktop().open(project->sPathProgetto);
}

} // namespace qb::ui
