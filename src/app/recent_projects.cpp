#include "app/recent_projects.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/profile.h"

namespace qb::app {

namespace {

std::string Key(int n) { return "project" + std::to_string(n); }

// A folder longer than a preference value would be stored cut, naming another folder.
bool Storable(const std::string& folder) { return !folder.empty() && folder.size() <= kMaxPathLength; }

bool OpenInWorkspace(const std::string& folder) {
    const std::string key = SameFolderKey(folder);
    for (int p = 0; p < Workspace().projectCount(); ++p)
        if (SameFolderKey(ProjectAt(p)->sPathProgetto) == key) return true;
    return false;
}

} // namespace

std::string SameFolderKey(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, ec);
    std::string key = (ec ? std::filesystem::path(folder) : canonical).lexically_normal().string();
    while (key.size() > 1 && key.back() == '/') key.pop_back();
    return key;
}

bool HoldsProject(const std::string& folder, std::string* name) {
    const std::string ini = JoinPath(folder, kProjectFileName);
    std::error_code ec;
    if (IsSymbolicLink(ini) || !std::filesystem::is_regular_file(ini, ec)) return false;
    const std::string found = ReadProfileString(ini, "main", "sNomeProgetto", "", kMaxNameLength + 1);
    if (found.empty()) return false;
    if (name) *name = found;
    return true;
}

std::vector<RecentProject> RecentProjects() {
    std::vector<RecentProject> list;
    std::vector<std::string> keys;
    for (int n = 1; n <= kMaxRecentProjects; ++n) {
        const std::string folder = GetPreferenceIn(kRecentProjectsSection, Key(n));
        if (folder.empty()) continue;
        const std::string key = SameFolderKey(folder);
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
        std::string name;
        if (!HoldsProject(folder, &name)) continue;
        keys.push_back(key);
        list.push_back({folder, std::move(name)});
    }
    return list;
}

void RememberRecentProject(const std::string& folder) {
    std::vector<std::string> folders;
    if (Storable(folder) && HoldsProject(folder)) folders.push_back(folder);
    const std::string key = SameFolderKey(folder);
    for (const RecentProject& recent : RecentProjects())
        if (SameFolderKey(recent.folder) != key) folders.push_back(recent.folder);
    if (folders.size() > static_cast<std::size_t>(kMaxRecentProjects))
        folders.resize(static_cast<std::size_t>(kMaxRecentProjects));
    std::vector<std::pair<std::string, std::string>> values;
    for (int n = 1; n <= kMaxRecentProjects; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        values.emplace_back(Key(n), i < folders.size() ? folders[i] : std::string());
    }
    SetPreferencesIn(kRecentProjectsSection, values);
}

void RememberOpenProjects() {
    std::vector<std::string> folders;
    for (int p = 0; p < Workspace().projectCount() &&
                    folders.size() < static_cast<std::size_t>(kMaxReopenedProjects);
         ++p) {
        const std::string& folder = ProjectAt(p)->sPathProgetto;
        if (Storable(folder)) folders.push_back(folder);
    }
    const int before =
        std::clamp(GetPreferenceIntIn(kOpenProjectsSection, "count", 0), 0, kMaxReopenedProjects);
    std::vector<std::pair<std::string, std::string>> values;
    values.emplace_back("count", std::to_string(folders.size()));
    // Keys are never removed from the file: those beyond the new count are emptied.
    const int keys = std::max(before, static_cast<int>(folders.size()));
    for (int n = 1; n <= keys; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        values.emplace_back(Key(n), i < folders.size() ? folders[i] : std::string());
    }
    SetPreferencesIn(kOpenProjectsSection, values);
}

std::vector<std::string> LastOpenProjects() {
    std::vector<std::string> folders;
    const int count =
        std::clamp(GetPreferenceIntIn(kOpenProjectsSection, "count", 0), 0, kMaxReopenedProjects);
    for (int n = 1; n <= count; ++n) {
        const std::string folder = GetPreferenceIn(kOpenProjectsSection, Key(n));
        if (!folder.empty() && HoldsProject(folder)) folders.push_back(folder);
    }
    return folders;
}

int ReopenLastProjects() {
    int opened = 0;
    for (const std::string& folder : LastOpenProjects()) {
        if (OpenInWorkspace(folder)) continue;
        if (LoadProjectFolder(folder) >= 0) ++opened;
    }
    return opened;
}

} // namespace qb::app
