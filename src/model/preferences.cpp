#include "model/preferences.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

#include "model/folders.h"
#include "platform/profile.h"

namespace qb {

namespace {

constexpr std::size_t kPreferenceBuffer = 260;  // values are at most 259 characters

std::string& AppFolderStorage() {
    static std::string folder;
    return folder;
}
bool& AppFolderSet() {
    static bool set = false;
    return set;
}

// Values that could not be written to preferences.ini; they hold for this run only, so a
// folder that cannot be written still leaves the defaults in force.
std::map<std::string, std::string, std::less<>>& UnsavedValues() {
    static std::map<std::string, std::string, std::less<>> values;
    return values;
}
std::string UnsavedKey(std::string_view section, std::string_view key) {
    std::string k;
    for (char c : section) k += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    k += '\n';
    for (char c : key) k += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return k;
}

// The first of the programs found as an executable file on PATH, with its full path.
std::string FindOnPath(std::initializer_list<const char*> programs) {
    const char* pathEnv = std::getenv("PATH");
    if (!pathEnv) return {};
    const std::string_view path(pathEnv);
    for (const char* program : programs) {
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find(':', start);
            if (end == std::string_view::npos) end = path.size();
            const std::string_view dir = path.substr(start, end - start);
            if (!dir.empty()) {  // an empty entry would mean the current folder: not trusted
                const std::string candidate = JoinPath(dir, program);
                struct stat st {};
                if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                    ::access(candidate.c_str(), X_OK) == 0 && candidate.size() < kPreferenceBuffer)
                    return candidate;
            }
            start = end + 1;
        }
    }
    return {};
}

} // namespace

void SetAppFolder(const std::string& folder) {
    AppFolderStorage() = folder;
    while (AppFolderStorage().size() > 1 && AppFolderStorage().back() == '/')
        AppFolderStorage().pop_back();
    AppFolderSet() = true;
    UnsavedValues().clear();
}

const std::string& AppFolder() {
    if (!AppFolderSet()) {
        std::error_code ec;
        const std::filesystem::path cwd = std::filesystem::current_path(ec);
        // Without a current directory (it was removed under us) fall back to the home folder.
        if (!ec) AppFolderStorage() = cwd.string();
        else if (const char* home = std::getenv("HOME")) AppFolderStorage() = home;
        else AppFolderStorage() = "/";
        AppFolderSet() = true;
    }
    return AppFolderStorage();
}

std::string PreferencesPath() { return JoinPath(AppFolder(), "preferences.ini"); }

std::string GetPreferenceIn(std::string_view section, std::string_view key,
                            std::string_view defaultValue) {
    const auto& unsaved = UnsavedValues();
    if (auto it = unsaved.find(UnsavedKey(section, key)); it != unsaved.end()) return it->second;
    return ReadProfileString(PreferencesPath(), section, key, defaultValue, kPreferenceBuffer);
}

int GetPreferenceIntIn(std::string_view section, std::string_view key, int defaultValue) {
    const auto& unsaved = UnsavedValues();
    if (auto it = unsaved.find(UnsavedKey(section, key)); it != unsaved.end())
        return ParseProfileInt(it->second, defaultValue);
    return ReadProfileInt(PreferencesPath(), section, key, defaultValue);
}

bool SetPreferenceIn(std::string_view section, std::string_view key, std::string_view value) {
    const std::string cut(value.substr(0, std::min(value.size(), kPreferenceBuffer - 1)));
    if (WriteProfileString(PreferencesPath(), section, key, cut)) {
        UnsavedValues().erase(UnsavedKey(section, key));
        return true;
    }
    UnsavedValues()[UnsavedKey(section, key)] = cut;
    return false;
}

bool SetPreferencesIn(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& values) {
    auto cut = [](const std::string& value) {
        return value.substr(0, std::min(value.size(), kPreferenceBuffer - 1));
    };
    ProfileFile file;
    bool written = file.load(PreferencesPath());
    if (written) {
        for (const auto& [key, value] : values) written = file.setString(section, key, cut(value)) && written;
        written = file.save(PreferencesPath()) && written;
    }
    for (const auto& [key, value] : values) {
        if (written)
            UnsavedValues().erase(UnsavedKey(section, key));
        else
            UnsavedValues()[UnsavedKey(section, key)] = cut(value);
    }
    return written;
}

std::string GetPreference(std::string_view key) { return GetPreferenceIn("main", key); }

bool SetPreference(std::string_view key, std::string_view value) {
    return SetPreferenceIn("main", key, value);
}

std::string DefaultPreference(std::string_view key) {
    if (key == "projectsPath") return JoinPath(AppFolder(), "Projects");
    // Picture editors commonly installed on Linux desktops, in order of preference; gimp when
    // none is found (the user can name another in the Preferences dialog).
    if (key == "editImagesApp") {
        std::string found = FindOnPath({"gimp", "krita", "pinta", "kolourpaint", "mtpaint"});
        return found.empty() ? "gimp" : found;
    }
    if (key == "editSoundsApp") {
        std::string found = FindOnPath({"audacity"});
        return found.empty() ? "audacity" : found;
    }
    return {};
}

void EnsurePreferenceDefaults() {
    for (const char* key : {"projectsPath", "editImagesApp", "editSoundsApp"})
        if (GetPreference(key).empty()) SetPreference(key, DefaultPreference(key));
}

std::string ProjectsFolder() {
    std::string folder = GetPreference("projectsPath");
    if (folder.empty()) folder = DefaultPreference("projectsPath");
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

} // namespace qb
