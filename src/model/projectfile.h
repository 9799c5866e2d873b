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

// Limits of the loader, so that a damaged or hostile file is refused instead of making it
// allocate without bound. Real projects stay far below them.
constexpr std::size_t kMaxObjectsOnLoad = 100000;               // nOggetti
constexpr std::size_t kMaxRecordSizeOnLoad = 16u * 1024 * 1024;  // one record, after growth
// Zero bytes the loader may add in all, beyond what the hex digits in the file carry: missing
// or short pieces and growth to the minimum size of a type.
constexpr std::size_t kMaxUnbackedBytesOnLoad = 64u * 1024 * 1024;

// Writes the project at that index to its folder's project.ini (read once, written atomically;
// an unchanged project leaves the file untouched), and removes temporary files that killed
// processes left in the folder. Answers false (and tells the user) when it could not be
// written, or when the file would be one that LoadProject refuses; the old file stays whole.
bool SaveProject(int projectIndex);
// Why a project document would not load again (too many objects, a record, the file or its
// lines beyond the loader's limits); empty when it would.
std::string WhyItWouldNotLoad(const ProjectRecord& project, const ProfileFile& file);
// Reads project.ini at path for an update: a symbolic link in its place is not followed (the
// document starts empty, and saving it replaces the link). False with a reason otherwise, as
// ProfileFile::load.
bool LoadProjectDocument(const std::string& path, ProfileFile& file, std::string* error = nullptr);
// Applies the project's keys to an already loaded document (the build adds its own keys to the
// same document before saving it once).
void WriteProjectKeys(const ProjectRecord& project, ProfileFile& file);

// Reads projectsPath/folderName/project.ini into a new project appended to the workspace and
// answers its index; -1 (with a message to the user, nothing added) when it is refused. An
// incomplete file is loaded with a one-line notice to the user. It never writes the file, and
// leaves the project tree to its caller.
int LoadProject(const std::string& folderName);
// The same for a project folder given by its whole path (a recent project, which may lie outside
// the projects folder of today).
int LoadProjectFolder(const std::string& folder);
// Reads a project document without touching the workspace; false with a user message in
// *error when refused. A missing section oggetto+i or key reads as its default, and an ID
// below 0 gets a new ID (one more than the largest of the file); *notice (when given) then
// receives a one-line note for the user, and is empty otherwise. Refused: versioneProgetto 71
// or more; nOggetti below 0 or above kMaxObjectsOnLoad; a record larger than
// kMaxRecordSizeOnLoad; more than kMaxUnbackedBytesOnLoad zero bytes to add; a file-backed
// item whose rebased path would exceed 259 characters (a stale path could name a file of
// another project, which Delete item would then remove). Accepted as damage: a missing or
// short piece leaves the rest of its 120-byte slice zero, a digit pair holding anything but
// 0-9, a-f (A-F are read too) decodes as 0, a piece's odd last digit is ignored, characters
// beyond a piece's 240 are ignored, and duplicate IDs are kept (FindObject answers the first).
bool ReadProject(const ProfileFile& file, const std::string& folder, ProjectRecord& out,
                 std::string* error, std::string* notice = nullptr);
// What LoadProject reads, without the workspace or a message: the project.ini at path as
// ReadProject reads it once loaded (its records are decoded while the file is parsed).
bool ReadProjectFile(const std::string& path, const std::string& folder, ProjectRecord& out,
                     std::string* error, std::string* notice = nullptr);

// Hex encoding of records: two lowercase digits per byte.
std::string EncodeHex(const Bytes& data);
// Decodes digit pairs of text into out from offset, stopping at the end of out; answers the
// number of bytes written.
std::size_t DecodeHexInto(std::string_view text, Bytes& out, std::size_t offset);

} // namespace qb
