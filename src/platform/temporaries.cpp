#include "platform/temporaries.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace qb {

namespace {

bool AllDigits(std::string_view s) {
    if (s.empty() || s.size() > 10) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool IsRandomSuffix(std::string_view s) {
    if (s.size() != 6) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

// Whether a suffix is one this program gives its temporaries.
bool IsTemporarySuffix(std::string_view s) {
    if (s == "new" || IsRandomSuffix(s)) return true;
    return s.size() > 4 && s.substr(s.size() - 4) == ".tmp" && AllDigits(s.substr(0, s.size() - 4));
}

bool ProcessRuns(long pid) {
    if (pid <= 0) return true;  // not a process ID: leave the file alone
    if (pid == static_cast<long>(::getpid())) return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// Whether a hidden file name is a temporary of a process that no longer runs.
bool IsStale(std::string_view name, const struct stat& st) {
    if (name.size() < 4 || name[0] != '.') return false;
    // ".target.PID.suffix": the process ID is the last all-digit part before the suffix. The
    // target name may hold dots, so try each dot from the right.
    for (std::size_t dot = name.rfind('.'); dot != std::string_view::npos && dot > 1;
         dot = name.rfind('.', dot - 1)) {
        const std::string_view suffix = name.substr(dot + 1);
        if (!IsTemporarySuffix(suffix)) continue;
        const std::size_t before = name.rfind('.', dot - 1);
        if (before == std::string_view::npos || before == 0) break;
        const std::string_view pid = name.substr(before + 1, dot - before - 1);
        if (AllDigits(pid)) return !ProcessRuns(std::stol(std::string(pid)));
        // Earlier versions named the project file's temporary without a process ID.
        if (IsRandomSuffix(suffix) &&
            (name.substr(1, dot - 1) == "project.ini" || name.substr(1, dot - 1) == "preferences.ini"))
            return std::time(nullptr) - st.st_mtime > 600;
        break;
    }
    return false;
}

} // namespace

std::string TemporaryNameFor(std::string_view folder, std::string_view name) {
    std::string out(folder.empty() ? std::string_view(".") : folder);
    if (out.back() != '/') out += '/';
    out += '.';
    out += name;
    out += '.';
    out += std::to_string(::getpid());
    out += '.';
    return out;
}

void RemoveStaleTemporaries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(fs::symlink_status(folder, ec))) return;
    std::vector<std::string> doomed;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] != '.') continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (IsStale(name, st)) doomed.push_back(it->path().string());
    }
    for (const std::string& path : doomed) ::unlink(path.c_str());
}

} // namespace qb
