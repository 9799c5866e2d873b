#include "app/app_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/preferences.h"
#include "platform/pictures.h"

namespace fs = std::filesystem;

namespace qb::app {

namespace {

bool IsDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// An absolute folder named by an environment variable, or empty.
fs::path AbsoluteFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return {};
    fs::path path(value);
    return path.is_absolute() ? path : fs::path();
}

} // namespace

std::vector<std::string> SeedFolders() {
    std::vector<std::string> seeds;
    const fs::path exe = ExecutableFolder();
    // Installed: bin/quillbox next to share/quillbox, wherever the prefix was moved to.
    seeds.push_back((exe / QB_BIN_TO_SHARE).lexically_normal().string());
    // Run from a build tree: the repository's own assets.
    seeds.push_back(QB_SOURCE_ASSETS_DIR);
    // The prefix the build was configured for.
    seeds.push_back(QB_SHARE_DIR);
    std::vector<std::string> existing;
    for (const auto& seed : seeds)
        if (IsDirectory(seed) && IsRegularFile(fs::path(seed) / kAppFolderMarker))
            existing.push_back(seed);
    return existing;
}

std::string UserAppFolder() {
    fs::path data = AbsoluteFromEnv("XDG_DATA_HOME");
    if (data.empty()) {
        const fs::path home = AbsoluteFromEnv("HOME");
        if (home.empty()) return {};
        data = home / ".local" / "share";
    }
    return (data / "quillbox").string();
}

void SeedAppFolder(const std::string& seed, const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path root(seed);
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
    if (ec) return;
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        // Symbolic links are not followed (directory_iterator does not descend into them, and
        // linked files are skipped) so nothing outside the seed is copied.
        if (entry.is_symlink(ec)) continue;
        const fs::path relative = entry.path().lexically_relative(root);
        // The menu entry and the icons of a repository seed belong to the desktop, not here.
        const fs::path first = relative.empty() ? fs::path() : *relative.begin();
        if (first == "icons" || first == "quillbox.desktop") {
            if (entry.is_directory(ec)) it.disable_recursion_pending();
            continue;
        }
        const fs::path target = fs::path(folder) / relative;
        if (entry.is_directory(ec)) {
            fs::create_directories(target, ec);
            continue;
        }
        if (!entry.is_regular_file(ec)) continue;
        const bool ours = first == "help";
        if (fs::exists(target, ec) && !ours) continue;
        fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, ec);
    }
}

AppFolderChoice ChooseAppFolder(const std::string& currentDir) {
    AppFolderChoice choice;
    if (!currentDir.empty() && IsRegularFile(fs::path(currentDir) / kAppFolderMarker)) {
        choice.folder = currentDir;
        return choice;
    }
    const std::string user = UserAppFolder();
    if (user.empty()) {
        // No home to speak of: the current directory is all there is.
        choice.folder = currentDir;
        return choice;
    }
    const std::vector<std::string> seeds = SeedFolders();
    if (!seeds.empty()) {
        SeedAppFolder(seeds.front(), user);
        choice.seededFrom = seeds.front();
    } else {
        std::error_code ec;
        fs::create_directories(user, ec);
    }
    choice.folder = user;
    return choice;
}

std::string HelpPagePath() {
    const fs::path local = fs::path(AppFolder()) / "help" / "index.html";
    if (IsRegularFile(local)) return local.string();
    for (const auto& seed : SeedFolders()) {
        const fs::path page = fs::path(seed) / "help" / "index.html";
        if (IsRegularFile(page)) return page.string();
    }
    return local.string();
}

} // namespace qb::app
