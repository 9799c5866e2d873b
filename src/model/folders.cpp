#include "model/folders.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <sys/stat.h>

#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/profile.h"

namespace qb {

namespace fs = std::filesystem;

namespace {

bool IsForbiddenInName(char c) {
    switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return true;
    default:
        return false;
    }
}

inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Wildcard match without regard to ASCII case, as Windows matches file names: '*' any run of
// characters, '?' one character. Greedy with one back-track point, so it is linear-ish and never
// explodes on patterns like "*a*a*a*b".
bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*") return true;  // "*.*" names every file on Windows
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

} // namespace

bool IsValidProjectName(std::string_view text) {
    return !text.empty() && std::none_of(text.begin(), text.end(), IsForbiddenInName);
}

void SanitizeFileName(std::string& text) {
    for (char& c : text)
        if (IsForbiddenInName(c) || c == ' ' || c == '\t') c = '_';
}

bool PathExists(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return true;  // a dangling link is taken too
    // When the answer is unknown (no permission on the way) the name counts as taken, so a
    // caller never writes over something it could not see.
    return errno != ENOENT && errno != ENOTDIR;
}

std::string MakeUniquePath(const std::string& folder, std::string_view name,
                           std::string_view extension) {
    if (folder.empty()) return {};
    std::string base(name);
    for (char& c : base)
        if (c == ' ' || c == '\t') c = '_';
    std::string prefix = folder;
    if (prefix.back() != '/') prefix += '/';
    prefix += base;
    // A folder or file name holds at most kMaxFileNameLength bytes, "_N" included.
    if (base.size() + extension.size() > kMaxFileNameLength) return {};
    // The number 1 is never used: the first copy of "Name" is "Name_2".
    constexpr int kMaxTries = 100000;
    for (int n = 0; n <= kMaxTries; n = (n == 0 ? 2 : n + 1)) {
        std::string candidate = prefix;
        if (n != 0) candidate += "_" + std::to_string(n);
        candidate += extension;
        if (candidate.size() > kMaxPathLength ||
            candidate.size() - folder.size() - 1 > kMaxFileNameLength)
            return {};
        if (!PathExists(candidate)) return candidate;
    }
    return {};
}

std::vector<ProjectListEntry> ListProjects() {
    std::vector<ProjectListEntry> list;
    std::error_code ec;
    fs::directory_iterator it(ProjectsFolder(), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_directory(typeEc)) continue;  // directory_iterator never yields . or ..
        const std::string folderName = it->path().filename().string();
        const std::string ini = (it->path() / kProjectFileName).string();
        if (IsSymbolicLink(ini)) continue;  // never opened (LoadProject refuses it)
        std::string name = ReadProfileString(ini, "main", "sNomeProgetto", "", kDescriptionField);
        if (!name.empty()) list.push_back({folderName, std::move(name)});
    }
    // Enumeration order depends on the file system; sort by folder name so the Open project list
    // is the same every time.
    std::sort(list.begin(), list.end(), [](const ProjectListEntry& a, const ProjectListEntry& b) {
        return a.folderName < b.folderName;
    });
    return list;
}

void CopyFilesByPattern(const std::string& sourceFolder, const std::string& destinationFolder,
                        std::string_view pattern, std::vector<std::string>* skippedLinks) {
    std::error_code ec;
    fs::directory_iterator it(sourceFolder, ec), end;
    std::vector<std::string> links;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!MatchesPattern(name, pattern)) continue;
        std::error_code typeEc;
        const fs::file_status status = it->symlink_status(typeEc);
        if (typeEc) continue;
        if (fs::is_symlink(status)) {
            // A link may name any file of the machine: its target is never copied.
            links.push_back(name);
            continue;
        }
        if (!fs::is_regular_file(status)) continue;  // sub-folders, FIFOs, devices
        std::error_code copyEc;
        fs::copy_file(it->path(), fs::path(destinationFolder) / name,
                      fs::copy_options::overwrite_existing, copyEc);
    }
    if (skippedLinks) {
        std::sort(links.begin(), links.end());
        skippedLinks->insert(skippedLinks->end(), links.begin(), links.end());
    }
}

bool IsSymbolicLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

void DeleteAllFiles(const std::string& folder) {
    std::error_code ec;
    // A link in place of the folder is not followed: the files it leads to are not ours.
    if (IsSymbolicLink(folder)) return;
    std::vector<fs::path> doomed;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_directory(typeEc)) continue;  // sub-folders (and links to them) stay
        doomed.push_back(it->path());
    }
    for (const fs::path& p : doomed) {
        std::error_code removeEc;
        fs::remove(p, removeEc);
    }
}

std::string FileNameOfPath(std::string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return std::string(path.substr(start));
}

std::string FileTitleOfPath(std::string_view path) {
    std::string name = FileNameOfPath(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

bool RebasePath(Bytes& record, const std::string& projectFolder) {
    RecordView view(record);
    if (!view.holds(0, kPathField)) return false;
    // text() stops at the field's end when the stored path has no terminating zero.
    const std::string name = FileNameOfPath(view.text(0, kPathField));
    if (name.empty() || name == "." || name == "..") {
        // No file name to keep: the item names no file (an empty path, never the folder itself).
        view.setText(0, kPathField, "");
        return true;
    }
    const std::string rebased = JoinPath(projectFolder, name);
    if (rebased.size() > kMaxPathLength) return false;
    return view.setText(0, kPathField, rebased);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/') out += '/';
    out += name;
    return out;
}

} // namespace qb
