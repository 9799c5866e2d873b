#pragma once
// The parts the "Main parameters" editors of several game types share: their three columns,
// the project rows, where the compiled game finds its resources, and the game area.
#include <cstddef>
#include <cstdint>

class QBoxLayout;
class QFormLayout;
class QVBoxLayout;

namespace qb::ui {

class ItemEditorDialog;

struct Columns {
    QVBoxLayout* left;
    QVBoxLayout* middle;
    QVBoxLayout* right;
};
// Three columns side by side in the dialog's body.
Columns AddColumns(ItemEditorDialog* dialog);

// "Type of project:" (read only, the game type's name), "Project name:" (the project's name) and
// the "Open project folder" button (of that object name) rows.
void AddProjectRows(ItemEditorDialog* dialog, QFormLayout* form, std::uint32_t gameType,
                    const char* openFolderName);

// "Compiling": the resources beside the game, at a path, or embedded. The path box is enabled
// while "at a path" is checked; it stands under that choice or after all three. With AllThree
// the first choice is hidden (a stored 0 still checks it); with BesideOrAtPath the embedded
// one is (a stored 2 passes through). Answers the group's layout, for rows of the editor's own.
enum class PathBoxPlace { UnderItsChoice, Last };
enum class ResourceChoices { AllThree, BesideOrAtPath };
struct ResourceLocationFields {
    std::size_t location;
    std::size_t path;
};
QVBoxLayout* AddResourceLocationGroup(ItemEditorDialog* dialog, QBoxLayout* column,
                                      ResourceLocationFields fields,
                                      const char* specificPathText, PathBoxPlace place,
                                      ResourceChoices shown = ResourceChoices::AllThree);

// "Description while loading:" and its text field, under the resource location.
void AddLoadingDescription(ItemEditorDialog* dialog, QVBoxLayout* compiling, std::size_t offset);

// "Game area": four preset sizes (buttons named <prefix>550x400RadioButton and so on), each
// writing its width and height, and the free size with its own width and height, kept out of
// sight but carrying the two numbers the build reads.
struct GameAreaFields {
    std::size_t preset;
    std::size_t width;
    std::size_t height;
};
void AddGameAreaGroups(ItemEditorDialog* dialog, QBoxLayout* column, GameAreaFields fields,
                       const char* presetNamePrefix);

// "Game area" of a free size: "Game width (>= 320):" and "Game height (>= 320):", or the labels
// of the editor's game type (edits named gameWidthLineEdit and gameHeightLineEdit). Answers the
// group's form, for rows of the editor's own.
QFormLayout* AddGameSizeGroup(ItemEditorDialog* dialog, QBoxLayout* column, std::size_t width,
                              std::size_t height, const char* widthLabel = "Game width (>= 320):",
                              const char* heightLabel = "Game height (>= 320):");

} // namespace qb::ui
