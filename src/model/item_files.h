#pragma once
// An item's own file (the PNG of a picture item, the MP3 of a sound item) replaced by a file the
// user brings: "Import picture...", "Import sound" and files dropped on the project tree.
//
// The file is checked before anything changes: a regular, non-empty file named like the item's
// kind (.png, .mp3) whose content is one (a picture Pixbridge decodes within its size limits;
// a sound that begins with an ID3 tag or an MPEG audio frame). The item's file is then replaced
// through a temporary file beside it and a rename, so it is the old file or the new one, never
// a mix. The record keeps naming the same file: only the file's content changes.
#include <cstdint>
#include <string>

namespace qb {

enum class ItemFileKind { None, Picture, Sound };

// The kind of file an item of that type keeps (None for types without a file).
ItemFileKind ItemFileKindOfType(std::uint32_t type);
// The kind a file's name says it is (by its extension, in any case); None for others.
ItemFileKind ItemFileKindOfName(const std::string& path);

// What makes the file unfit to be the content of an item of that kind, as a sentence naming
// the file; empty when it will do.
std::string ItemFileProblem(const std::string& source, ItemFileKind kind);

// Replaces the file at destination by a copy of source, through a temporary file in the same
// folder, so a failed copy leaves the old file whole. Answers false (nothing changed) when the
// two are the same file or any step fails.
bool ReplaceFileWithCopy(const std::string& source, const std::string& destination);

// Checks source and replaces the item's file by a copy of it (a file that is the item's own
// file already changes nothing). Answers an empty text on success, else the message to show;
// nothing was changed then. Neither the record nor the project file is written.
std::string ImportItemFile(int projectIndex, std::int32_t objectId, const std::string& source);

// New item on the group (saved as New item saves), then the new item's file replaced by a copy
// of source: one new item with that file's content. The file is checked first; a file that
// cannot be used, or a copy that fails, leaves no item behind. Answers an empty text and the
// new item's ID in newId on success, else the message to show (newId 0).
std::string NewItemFromFile(int projectIndex, std::int32_t groupObjectId,
                            const std::string& source, std::int32_t& newId);

} // namespace qb
