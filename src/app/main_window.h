#pragma once
// The main window: the command panel across the top, the project tree down the left side and,
// in the rest of the client area, the picture of the selected picture item, unscaled. Every
// command of the command panel runs here, on the node selected in the tree.
#include <QFileSystemWatcher>
#include <QWidget>
#include <cstdint>

#include "app/command_panel.h"
#include "app/panel_layout.h"
#include "app/problems_panel.h"
#include "app/project_tree.h"

namespace qb::app {

constexpr int kMinimumWidth = 700;
constexpr int kMinimumHeight = 400;
constexpr int kTreePanelWidth = 208;
constexpr const char* kWindowTitle = "Quillbox - game editor";
constexpr const char* kEditorMissingText = "Sorry, the editor for this item is not available yet.";

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
    // The part of the client area that is free of panels (where the preview is painted).
    QRect freeArea() const;

    // Runs a command as its button would.
    void run(Command command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void newProject();
    void openProject();
    void closeProject();
    void newItem();
    void editItem();
    void deleteItem();
    void copyItem();
    void compile();
    void testGame();
    void preferences();
    void help();

    void rebuildAndRefresh(std::int32_t objectId, int projectIndex);
    void watchPreview();
    void checkPreviewFile();
    void namePreview();
    void queuePreviewCheck();
    // The problems of the selected node's project, listed again.
    void refreshProblems();
    void placeProblems();
    void showProblemItem(int projectIndex, std::int32_t objectId);

    PanelLayout* layout_;
    TreePanel* tree_;
    CommandPanel* commands_;
    // Covers the free area while a picture is shown there, so that assistive technology finds
    // the preview; the picture itself is painted by the window.
    QWidget* previewArea_;
    ProblemsPanel* problems_;
    QFileSystemWatcher watcher_;
    bool previewCheckQueued_ = false;
};

} // namespace qb::app
