#pragma once
// The model side of the workspace commands, shared by the editor and the CLI: project creation,
// New item, Copy item, Delete item, Copy project, and the in-use rules.
#include <cstdint>
#include <string>

#include "model/workspace.h"

namespace qb {

// Appends a new project built from the workspace's pending name and folder with the group
// objects and Main parameters object of its game type; answers its index.
int CreateProject(std::uint32_t gameType);
// The default Main parameters record of a game type (all zero but the new-project defaults).
Bytes DefaultMainParameters(std::uint32_t gameType);

// New item on a group object: answers the new item's ID, or 0 when nothing was created (not a
// group, a type that allows no New item, a singleton type that already exists, or a save that
// failed: the item and its file are then taken back). Saves.
std::int32_t NewItem(int projectIndex, std::int32_t groupObjectId);
// The record New item makes for a type (file-backed types: the path is filled in by NewItem).
Bytes NewItemRecord(std::uint32_t type, std::uint32_t gameType);

// Copy item on an object: the copy's ID, or 0 when not allowed. Saves.
std::int32_t CopyItem(int projectIndex, std::int32_t objectId);
// Delete item after the user said OK: deletes the object, saves, and then deletes the file of
// a file-backed item unless another item names the same file. Answers false when the object
// is not deletable or the save failed (the object is then put back and the file kept).
bool DeleteItem(int projectIndex, std::int32_t objectId);
// Copy item on a project node: answers the new project's index, or -1.
int CopyProject(int projectIndex);

// Whether the object may be deleted (types and the in-use table).
bool IsObjectDeletable(int projectIndex, const ObjectRecord& object);

} // namespace qb
