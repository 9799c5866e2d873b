#pragma once
// The projects a user worked on, kept in preferences.ini between runs: the last ten projects
// opened or created (section "recentProjects", keys "project1" to "project10", most recent
// first, an empty value where there is none), and the projects open in the workspace (section
// "openProjects", "count" and "project1" to "projectN"), rewritten whenever a project is opened
// or closed so the next start opens them again. Values are whole project folders.
#include <string>
#include <vector>

namespace qb::app {

constexpr const char* kRecentProjectsSection = "recentProjects";
constexpr const char* kOpenProjectsSection = "openProjects";
constexpr int kMaxRecentProjects = 10;
// More projects than a user keeps open; a damaged count does not make the start read without end.
constexpr int kMaxReopenedProjects = 100;

// A key of a project folder that is the same however the folder was written.
std::string SameFolderKey(const std::string& folder);
// Whether the folder holds a project (a project.ini, not a link, with a project name); the
// name is answered through *name.
bool HoldsProject(const std::string& folder, std::string* name = nullptr);

struct RecentProject {
    std::string folder;
    std::string name;
};
// The recent projects still there, most recent first.
std::vector<RecentProject> RecentProjects();
// Puts the folder first; the list keeps ten, and projects no longer there are dropped.
void RememberRecentProject(const std::string& folder);

// Writes the folders of the projects now open in the workspace.
void RememberOpenProjects();
// The folders written by RememberOpenProjects (those still holding a project).
std::vector<std::string> LastOpenProjects();
// Opens the projects that were open at the last exit and are still there (a project already
// open is not opened twice); answers how many were opened. The tree is left to the caller.
int ReopenLastProjects();

} // namespace qb::app
