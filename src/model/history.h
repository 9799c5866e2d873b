#pragma once
// The history of a project: the state it had before each change, so that nothing a click
// destroys is lost.
//
// A version is the time, what changed ("Delete item Sprites_2", "Level data: OK", ...), the
// object it concerned, and the project as it was just before that change: project.ini and the
// project's pictures and sounds (the *.png and *.mp3 files directly in the project folder).
// SaveProject keeps one before it replaces project.ini with different bytes, and the commands
// that replace or delete a file without saving keep one before they touch it.
//
// Where it lives: in the project folder, in the hidden folder ".quillbox-history". There it
// travels with the project when the folder is moved, backed up or renamed, and it is removed
// with it; a per-user state folder would have to be keyed by the project's path, which breaks
// the moment the folder moves. It is safe there because everything that reads the project
// folder looks only at its top level: the build's and Copy project's file patterns (*.png,
// *.mp3, *.ini) match files directly in the folder, never in sub-folders, so the history is
// never copied into Release nor into a copy of the project; the project list looks for
// project.ini in the folders directly under the projects folder, and the history holds no file
// of that name. A copy of a project starts a history of its own.
//
// Layout of the folder:
//   index          "quillbox-history 1", a "state" line (the undo position) and one line per
//                  version, each with a checksum; replaced whole and atomically (temporary
//                  file, fsync, rename, fsync of the folder), so that a process killed at any
//                  moment leaves the old index or the new one. It is read tolerantly: a line
//                  that does not parse or fails its checksum is skipped.
//   objects/HASH   content-addressed blobs, each distinct content stored once: the pieces of
//                  project.ini (cut where its content says, so one changed record costs one
//                  or two pieces, not the whole file), whole pictures and sounds, and one
//                  manifest per version naming them. A blob is written to a temporary file,
//                  synced and renamed, so a blob that exists is whole; every blob is checked
//                  against its hash before a restore writes anything.
//   files-cache    the hashes of the project's files by size, times and inode, so unchanged
//                  pictures are not read again (only a cache: lost or stale lines cost time).
//   lock           an advisory lock held while a version is written or restored (the editor
//                  and the command-line tool may work on the same project).
// Limits: the last kMaxHistoryVersions versions, and as many of them as fit in
// kMaxHistoryBytes of blobs (the newest version is always kept).
//
// A history folder that cannot be read or written never stops a save: the change is saved,
// history is switched off for that project, and the user is told once.
#include <cstdint>
#include <string>
#include <vector>

namespace qb {

constexpr const char* kHistoryFolderName = ".quillbox-history";
// How the notice that history is off begins (the change itself was saved: callers that turn
// every message into a failure, like the command-line tool, leave this one out).
constexpr const char* kHistoryOffNotice = "History is off for this project";
constexpr std::size_t kMaxHistoryVersions = 200;
constexpr std::uint64_t kMaxHistoryBytes = 200ull * 1024 * 1024;
// Files larger than this are not kept (a picture or sound of a browser game is far smaller).
constexpr std::uint64_t kMaxHistoryFileSize = 64ull * 1024 * 1024;

// What the change being made is called, for the version kept before it, and the object it
// concerns (0 = none). Scopes nest; the innermost one names the change.
class ChangeLabel {
public:
    explicit ChangeLabel(std::string what, std::int32_t objectId = 0);
    ~ChangeLabel();
    ChangeLabel(const ChangeLabel&) = delete;
    ChangeLabel& operator=(const ChangeLabel&) = delete;
};
// The innermost label ("Save" outside every scope) and its object.
std::string CurrentChangeLabel();
std::int32_t CurrentChangeObject();

enum class VersionKind : char { Change = 'C', Undo = 'U', Redo = 'R' };

struct HistoryVersion {
    int number = 0;             // from 1, never reused
    std::int64_t timeMs = 0;    // milliseconds since 1970, UTC
    VersionKind kind = VersionKind::Change;
    std::int32_t objectId = 0;  // the object the change concerned, 0 = none
    std::string what;           // what changed after this state
    std::string manifest;       // hash of the blob that lists the state's files
};

// Keeps the state of the project in folder as a version before a change named by the current
// ChangeLabel. Never fails its caller: when the history cannot be written it is switched off
// for that folder and the user is told once. Does nothing while history is disabled.
void KeepVersionBeforeChange(const std::string& projectFolder);

// The versions of the project in folder, oldest first. False with a reason when the history
// cannot be read (none at all is an empty list and true).
bool ListHistory(const std::string& projectFolder, std::vector<HistoryVersion>& out,
                 std::string* error = nullptr);

// Puts the project folder back in the state of version `number` (project.ini, its pictures and
// sounds; pictures and sounds added since, which the version before the restore keeps, are
// removed). The state before the restore is kept first as a new version, so that a restore is
// undone like any change. Every blob is checked before anything is written; false with a
// reason (and nothing changed) otherwise. *objectId receives the object the version concerned.
bool RestoreVersion(const std::string& projectFolder, int number, std::string* error = nullptr,
                    std::int32_t* objectId = nullptr);

// Undo last change / Redo along the changes (restores themselves count as changes; undoing and
// redoing keep versions too, but are not changes to undo). CanUndo/CanRedo say whether there is
// a step; Undo/Redo answer false with a reason when not, and *objectId receives the object the
// step concerns.
bool CanUndo(const std::string& projectFolder);
bool CanRedo(const std::string& projectFolder);
bool UndoLastChange(const std::string& projectFolder, std::string* error = nullptr,
                    std::int32_t* objectId = nullptr);
bool RedoChange(const std::string& projectFolder, std::string* error = nullptr,
                std::int32_t* objectId = nullptr);

// The limits in force (kMaxHistoryVersions and kMaxHistoryBytes unless set otherwise; tests
// set small ones).
struct HistoryLimits {
    std::size_t versions = kMaxHistoryVersions;
    std::uint64_t bytes = kMaxHistoryBytes;
};
void SetHistoryLimits(const HistoryLimits& limits);
HistoryLimits CurrentHistoryLimits();

// History on (the default) or off for the whole process (benchmarks measure a save without it).
void SetHistoryEnabled(bool enabled);
bool HistoryEnabled();
// Forgets which folders the user was told about (tests).
void ForgetHistoryNotices();

// The time of a version as local "YYYY-MM-DD HH:MM:SS".
std::string FormatVersionTime(std::int64_t timeMs);

// The 128-bit content hash used to name blobs, as 32 lowercase hex digits.
std::string ContentHash(const void* data, std::size_t size);

} // namespace qb
