#pragma once
// Project folders: unique names, name cleaning, the project list, copying and emptying folders.
#include <string>
#include <string_view>
#include <vector>

#include "model/record.h"

namespace qb {

bool IsValidProjectName(std::string_view text);
// Replaces every \ / : * ? " < > blank, tab and | by an underscore.
void SanitizeFileName(std::string& text);
// A path in folder that does not exist yet: name (blanks and tabs to underscores), then _2, _3,
// ... and the extension. Empty when the folder is empty, when the path would not fit a path
// field (more than 259 characters) or its last name would be longer than a file system takes
// (kMaxFileNameLength bytes), or when no free name turns up in 100000 tries; callers refuse
// their command then.
constexpr std::size_t kMaxFileNameLength = 255;
std::string MakeUniquePath(const std::string& folder, std::string_view name,
                           std::string_view extension);
// True when something (a file, a folder, even a dangling link) is at the path, or when that
// cannot be told (no permission on the way).
bool PathExists(const std::string& path);

struct ProjectListEntry {
    std::string folderName;
    std::string projectName;
};
// The sub-folders of the projects folder whose project.ini has a non-empty sNomeProgetto,
// sorted by folder name (byte order) so the list does not depend on the file system.
std::vector<ProjectListEntry> ListProjects();

// Copies the regular files of the source folder whose names match the pattern ('*' and '?',
// without regard to ASCII case; "*.*" matches every name) over same-named files of the
// destination. Not recursive; failures are skipped. Symbolic links are never followed: their
// names (sorted) are appended to *skippedLinks when given, so the caller can name them.
void CopyFilesByPattern(const std::string& sourceFolder, const std::string& destinationFolder,
                        std::string_view pattern,
                        std::vector<std::string>* skippedLinks = nullptr);
// Deletes every entry directly in the folder except sub-folders; failures are skipped. A
// folder that is a symbolic link is left alone.
void DeleteAllFiles(const std::string& folder);
// Whether the path is a symbolic link itself (dangling or not).
bool IsSymbolicLink(const std::string& path);

// The file name of a stored path (accepts / and \ as separators).
std::string FileNameOfPath(std::string_view path);
// The file title: the name without folder and extension.
std::string FileTitleOfPath(std::string_view path);
// Replaces the path field (first 260 bytes) by folder/file name of the old path. A stored path
// without a file name (empty, "x/", "..") becomes empty. Answers false, leaving the record as it
// was, when the record is shorter than the field or the new path would not fit in 259
// characters.
bool RebasePath(Bytes& record, const std::string& projectFolder);
// folder + '/' + name (no second '/' when the folder ends in one; just name for no folder).
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace qb
