#pragma once
// The start page, shown where the preview is while no project or item is selected: New project,
// Open project and the recent projects (a click or Enter opens one).
#include <QWidget>
#include <string>
#include <vector>

#include "app/recent_projects.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qb::app {

constexpr const char* kStartTitle = "Welcome to Quillbox";
constexpr const char* kRecentTitle = "Recent projects";
constexpr const char* kNoRecentText = "Projects you open or create will be listed here.";

class StartPage final : public QWidget {
    Q_OBJECT
public:
    explicit StartPage(QWidget* parent = nullptr);

    // Lists the recent projects again (those no longer there are left out).
    void refresh();
    // Lists these projects.
    void setProjects(const std::vector<RecentProject>& projects);

    QPushButton* newProjectButton() const { return newProject_; }
    QPushButton* openProjectButton() const { return openProject_; }
    QListWidget* recentList() const { return recent_; }
    // The folder of a line of the recent list.
    static std::string FolderOf(const QListWidgetItem* item);

signals:
    void newProjectRequested();
    void openProjectRequested();
    void recentProjectRequested(const std::string& folder);

private:
    void choose(QListWidgetItem* item);

    QPushButton* newProject_;
    QPushButton* openProject_;
    QLabel* recentTitle_;
    QLabel* noRecent_;
    QListWidget* recent_;
    bool requestPending_ = false;
};

} // namespace qb::app
