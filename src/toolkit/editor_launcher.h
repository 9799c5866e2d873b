#pragma once
// Opening item editors, and what editors ask of the main window.
//
// Each editor registers the object types it edits with a static EditorRegistration in its own
// source file. OpenEditor sets the current project index and object ID, then runs the editor
// modally, owned by the given window.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace qb::ui {

using EditorOpener = std::function<void(QWidget* owner)>;

void RegisterEditor(std::uint32_t type, EditorOpener opener);
bool HasEditor(std::uint32_t type);
// Every object type that has an editor, in code order.
std::vector<std::uint32_t> RegisteredEditorTypes();
// False (and nothing opened) when no editor is registered for the object's type.
bool OpenEditor(QWidget* owner, int projectIndex, std::int32_t objectId);

// Runs an editor dialog of that class, made with the owner and args, modally.
template <class Dialog, class... Args> void RunEditor(QWidget* owner, Args... args) {
    Dialog dialog(owner, args...);
    dialog.exec();
}

struct EditorRegistration {
    EditorRegistration(std::uint32_t type, EditorOpener opener) {
        RegisterEditor(type, std::move(opener));
    }
};

// Installed by the main window: rebuild the project tree and select the object (objectId -1
// selects the project node), and repaint the picture preview.
void SetTreeRefresher(std::function<void(std::int32_t objectId, int projectIndex)> refresher);
void SetPreviewRepainter(std::function<void()> repainter);
// Answers false when no refresher is installed (nothing was done).
bool RebuildAndRefreshTree(std::int32_t objectId, int projectIndex);
void RepaintPreview();

// The path enclosed in double quotes.
std::string QuotePath(const std::string& path);
// The application folder, a separator unless it already ends in one, and the file name.
std::string AppFilePath(const std::string& fileName);

// Starts the image (or sound) editor of the preferences on the path held in the first 260 bytes
// of the current object's record, without waiting. The path goes as one argument. A program
// that cannot be started is named in a message that points at Preferences.
void StartImageEditor(const std::string& path);
void StartSoundEditor(const std::string& path);
// Opens the current project's folder with the desktop.
void OpenProjectFolder(int projectIndex);

} // namespace qb::ui
