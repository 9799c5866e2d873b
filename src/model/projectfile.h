#pragma once
// project.ini: the project, its objects and their hex-encoded data records.
#include <cstdint>
#include <string>

#include "model/workspace.h"
#include "platform/profile.h"

namespace qb {

constexpr std::int32_t kProjectVersion = 70;
constexpr const char* kProjectFileName = "project.ini";
constexpr std::size_t kHexPieceChars = 240;  // one lpDatiOggetto_ key holds 120 bytes

// Writes the project at that index to its folder's project.ini (read once, written atomically).
// Answers false (and tells the user) when it could not be written; the old file stays whole.
bool SaveProject(int projectIndex);
// Applies the project's keys to an already loaded document (the build adds its own keys to the
// same document before saving it once).
void WriteProjectKeys(const ProjectRecord& project, ProfileFile& file);

// Reads projectsPath/folderName/project.ini into a new project appended to the workspace and
// answers its index; -1 (with a message to the user, nothing added) when it is refused.
int LoadProject(const std::string& folderName);
// Reads a project document without touching the workspace; false with a user message in
// *error when refused.
bool ReadProject(const ProfileFile& file, const std::string& folder, ProjectRecord& out,
                 std::string* error);

// Hex encoding of records: two lowercase digits per byte.
std::string EncodeHex(const Bytes& data);
// Decodes digit pairs of text into out from offset, stopping at the end of out; answers the
// number of bytes written.
std::size_t DecodeHexInto(std::string_view text, Bytes& out, std::size_t offset);

} // namespace qb
