#pragma once
// Undo last change, Redo and the History dialog of the main window: each works on the project
// of the node selected in the tree, puts its folder back in the state of a version kept by the
// project's history, reloads the project and selects the item the change concerned.
#include <QDialog>
#include <QObject>
#include <cstdint>
#include <string>

class QAction;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace qb::app {

class MainWindow;

constexpr const char* kUndoText = "Undo last change";
constexpr const char* kRedoText = "Redo";
constexpr const char* kHistoryText = "History...";

// Reads the project at that index again from its folder, in place (same index), and selects
// the object (the project node when it is gone). False after telling the user why.
bool ReloadProject(int projectIndex, std::int32_t objectId);

// The actions (Ctrl+Z, Ctrl+Shift+Z, Ctrl+H) and the "History" button of the main window, which
// stays at the top right corner of the area under the command panel.
class HistoryActions final : public QObject {
    Q_OBJECT
public:
    explicit HistoryActions(MainWindow* window);

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QAction* historyAction() const { return history_; }
    QToolButton* button() const { return button_; }

    void undoLastChange();
    void redoChange();
    void showHistory();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The selected node's project index, or -1 after telling the user there is none.
    int selectedProject() const;
    void place();
    void updateEnabled();

    MainWindow* window_;
    QAction* undo_;
    QAction* redo_;
    QAction* history_;
    QToolButton* button_;
};

// The versions of one project, newest first, and a "Restore" button.
class HistoryDialog final : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(QWidget* owner, int projectIndex);

    QTreeWidget* list() const { return list_; }
    // Restores the selected version; the dialog closes when it was restored.
    void restoreSelected();

private:
    void fill();

    int projectIndex_;
    std::string folder_;
    QTreeWidget* list_;
    QPushButton* restore_;
};

} // namespace qb::app
