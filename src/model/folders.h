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
// ... and the extension.
std::string MakeUniquePath(const std::string& folder, std::string_view name,
                           std::string_view extension);
bool PathExists(const std::string& path);

struct ProjectListEntry {
    std::string folderName;
    std::string projectName;
};
std::vector<ProjectListEntry> ListProjects();

void CopyFilesByPattern(const std::string& sourceFolder, const std::string& destinationFolder,
                        std::string_view pattern);
void DeleteAllFiles(const std::string& folder);

// The file name of a stored path (accepts / and \ as separators).
std::string FileNameOfPath(std::string_view path);
// The file title: the name without folder and extension.
std::string FileTitleOfPath(std::string_view path);
// Replaces the path field (first 260 bytes) by folder/file name of the old path.
void RebasePath(Bytes& record, const std::string& projectFolder);
// folder + separator + name.
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace qb
