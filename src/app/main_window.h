#pragma once
// The main window: the command panel across the top; below it, beside each other and parted by
// a splitter, the project tree (with the Problems panel under it) and the preview pane, which
// shows the picture of the selected picture item unscaled, or the start page while nothing is
// selected; a status bar at the bottom says what the last command did. Every command of the
// command panel runs here, on the node selected in the tree; the same commands are in the
// tree's context menu and on the keyboard.
#include <QFileSystemWatcher>
#include <QWidget>
#include <array>
#include <cstdint>

#include "app/command_panel.h"
#include "app/panel_layout.h"
#include "app/preview_pane.h"
#include "app/problems_panel.h"
#include "app/project_tree.h"

class QAction;
class QMenu;
class QSplitter;
class QStatusBar;

namespace qb::app {

class StartPage;

constexpr int kMinimumWidth = 700;
constexpr int kMinimumHeight = 400;
constexpr int kTreePanelWidth = 208;
constexpr int kMinimumTreeWidth = 120;
constexpr const char* kWindowTitle = "Quillbox - game editor";
constexpr const char* kEditorMissingText = "Sorry, the editor for this item is not available yet.";
constexpr const char* kRenameText = "Rename";
constexpr const char* kQuitText = "Quit";

class MainWindow final : public QWidget {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    TreePanel* treePanel() const { return tree_; }
    CommandPanel* commandPanel() const { return commands_; }
    PanelLayout* panelLayout() const { return layout_; }
    // The "Problems" panel under the tree (hidden while the selected project has none).
    ProblemsPanel* problemsPanel() const { return problems_; }
    PreviewPane* previewPane() const { return preview_; }
    StartPage* startPage() const;
    QSplitter* splitter() const { return splitter_; }
    QStatusBar* statusBar() const { return status_; }
    // The part of the client area that is free of panels (where the preview is painted), in the
    // window's coordinates.
    QRect freeArea() const;

    // Runs a command as its button would.
    void run(Command command);
    // The command's action: the same command from the keyboard and the context menu.
    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    QAction* renameAction() const { return rename_; }
    QAction* quitAction() const { return quit_; }

    // The tree's context menu for a node: the commands enabled for it, in the panel's groups,
    // with Rename after Edit item. Further entries are added here, below the commands. The
    // caller owns the menu.
    QMenu* contextMenuFor(const TreeNode* node);

    // Opens a project by its folder (a recent project); a project already open is selected.
    void openProjectFolder(const std::string& folder);
    // Shows what a command did in the status bar.
    void say(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void updateActions();
    // A command from the keyboard or the context menu.
    void runFromKeys(Command command);
    void showContextMenu(const QPoint& at);

    void newProject();
    void openProject();
    void closeProject(int projectIndex);
    void newItem();
    void editItem();
    void deleteItem();
    void copyItem();
    void compile(int projectIndex);
    void testGame(int projectIndex);
    void preferences();
    void help();
    void applyRename(int projectIndex, std::int32_t objectId, const QString& text);
    // The projects open and the recent ones are written to the preferences.
    void projectsChanged(int openedIndex);

    void rebuildAndRefresh(std::int32_t objectId, int projectIndex);
    void showPreview();
    void watchPreview();
    void checkPreviewFile();
    void queuePreviewCheck();
    // The problems of the selected node's project, listed again.
    void refreshProblems();
    void showProblemItem(int projectIndex, std::int32_t objectId);

    PanelLayout* layout_;
    TreePanel* tree_;
    CommandPanel* commands_;
    QWidget* body_;
    QSplitter* splitter_;
    QWidget* side_;
    PreviewPane* preview_;
    ProblemsPanel* problems_;
    QStatusBar* status_;
    std::array<QAction*, kCommandCount> actions_{};
    QAction* rename_ = nullptr;
    QAction* quit_ = nullptr;
    QFileSystemWatcher watcher_;
    bool previewCheckQueued_ = false;
};

} // namespace qb::app
