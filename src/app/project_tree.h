#pragma once
// The project tree: the root "Workspace", one node per open project, and under each project its
// group objects with their items.
//
// The tree is never edited in place. After every change to the model, RebuildProjectTree
// recomputes the node table from the workspace and RefreshProjectTree refills the tree control
// from it, selecting the node named by (object ID, project index). The selected node decides
// which commands are enabled and, for a picture item, which picture the main window previews.
#include <QImage>
#include <QWidget>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace qb::app {

enum class NodeKind { Root, Project, Object };

struct TreeNode {
    std::int32_t id = 0;         // 0 for the root; projects and objects from 1 in build order
    std::int32_t parentId = -1;  // -1 for the root
    QTreeWidgetItem* item = nullptr;  // set when the node is inserted
    std::string label;           // at most 255 characters
    int projectIndex = -1;       // -1 for the root
    std::int32_t objectId = -1;  // -1 for the root and the project nodes
    NodeKind kind = NodeKind::Root;
};

constexpr std::size_t kMaxNodeLabel = 255;
constexpr const char* kRootLabel = "Workspace";
constexpr const char* kProjectLabelPrefix = "Project: ";

// The node table of the current workspace (the rebuild algorithm).
std::vector<TreeNode> BuildProjectNodes();

// The commands of the command panel, in the panel's order.
enum class Command {
    NewProject, OpenProject, CloseProject, NewItem, EditItem, DeleteItem, CopyItem, Compile,
    TestGame, Preferences, Help
};
constexpr int kCommandCount = 11;
using CommandSet = std::bitset<kCommandCount>;
inline bool Has(const CommandSet& set, Command command) {
    return set.test(static_cast<std::size_t>(command));
}
// The enabled commands for a selected node (null: nothing selected). Preferences and Help are
// always enabled.
CommandSet EnabledCommands(const TreeNode* node);
// What the keyboard may run for a selected node: the enabled commands, New project and Open
// project whatever is selected, and Close project, Compile and Test game on the project of any
// of its nodes.
CommandSet KeyboardCommands(const TreeNode* node);
// Whether the node's description can be renamed in place: an item (not a group) that can be
// edited.
bool CanRename(const TreeNode* node);

class TreePanel final : public QWidget {
    Q_OBJECT
public:
    explicit TreePanel(QWidget* parent = nullptr);
    ~TreePanel() override;

    // RebuildProjectTree: recomputes the node table; the tree control is not touched.
    void rebuild();
    // RefreshProjectTree: refills the tree control and selects the node whose object ID and
    // project index are given (-1, -1: the root; -1, p: project p's node).
    void refresh(std::int32_t objectId, int projectIndex);

    const std::vector<TreeNode>& nodes() const { return nodes_; }
    // The node of the tree's selected item; null when there is none or it is stale.
    const TreeNode* currentNode() const;
    QTreeWidget* tree() const { return tree_; }

    // The preview of the selected picture item (null image when there is none).
    const QImage& previewImage() const { return preview_; }
    const std::string& previewPath() const { return previewPath_; }
    // How many times a preview picture was decoded (selecting the same picture again does not
    // decode it again).
    int previewLoads() const { return previewLoads_; }
    // When the preview file's modification time differs from the one recorded, decodes it again
    // (an external editor saved it). Answers whether the preview changed.
    bool reloadPreviewIfChanged();

    // Opens an editor on the selected item's label; on Enter, renamed is told the new text
    // (nothing is changed here). False when the selection cannot be renamed.
    bool startRename();

signals:
    // The current node changed: the command buttons follow it.
    void selectionChanged();
    // The preview changed: the main window repaints.
    void previewChanged();
    // An item's label was edited in place (startRename) and confirmed with this text.
    void renamed(int projectIndex, std::int32_t objectId, const QString& text);
    // Double-click or Enter on a node.
    void activated();
    // Delete or F2 pressed in the tree.
    void deleteRequested();
    void renameRequested();
    // The context menu is asked for at that global position (the node under the pointer is
    // selected first).
    void contextMenuRequested(const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Open groups and the selection are remembered by the project's folder and the object ID,
    // which stay the same when other projects are closed or opened before it.
    using NodeKey = std::pair<std::string, std::int32_t>;
    NodeKey keyOf(const TreeNode& node) const;
    void rememberExpanded(QTreeWidgetItem* item, bool expanded);
    void onCurrentItemChanged(QTreeWidgetItem* item);
    void updatePreview();
    void loadPreview();

    QTreeWidget* tree_;
    std::vector<TreeNode> nodes_;
    int current_ = -1;  // index into nodes_, -1 = none
    std::string previewPath_;
    QImage preview_;
    std::optional<std::filesystem::file_time_type> previewTime_;
    int previewLoads_ = 0;
    std::set<NodeKey> expanded_;
    std::optional<NodeKey> selected_;
    bool renaming_ = false;  // the rename line is open
};

// The one tree panel of the main window (null before it exists).
TreePanel* ProjectTreePanel();
void RebuildProjectTree();
void RefreshProjectTree(std::int32_t objectId, int projectIndex);

} // namespace qb::app
