#pragma once
// The "Problems" panel under the project tree: every problem of the selected project at once,
// the build's errors and the warnings, each with a plain sentence saying what to do. Hidden
// while there is nothing to show; its title carries the count. Double-clicking a line asks for
// the item to be selected and edited.
#include <QWidget>
#include <cstdint>
#include <vector>

#include "build/validate.h"

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace qb::app {

constexpr const char* kProblemsTitle = "Problems";
constexpr int kProblemsPanelHeight = 190;

class ProblemsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ProblemsPanel(QWidget* parent = nullptr);

    // Lists the problems of that project (none for -1 or a project that is not open) and shows
    // or hides the panel accordingly.
    void showProject(int projectIndex);
    // The same project again: after a save.
    void refresh() { showProject(projectIndex_); }

    int projectIndex() const { return projectIndex_; }
    const std::vector<Problem>& problems() const { return problems_; }
    QListWidget* list() const { return list_; }
    QLabel* title() const { return title_; }

signals:
    // A line was double-clicked.
    void itemActivated(int projectIndex, std::int32_t objectId);
    // Shown or hidden: the window places the tree again.
    void visibilityChanged(bool visible);

private:
    void onActivated(QListWidgetItem* item);

    QLabel* title_;
    QListWidget* list_;
    std::vector<Problem> problems_;
    int projectIndex_ = -1;
};

} // namespace qb::app
