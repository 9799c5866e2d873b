#pragma once
// The workspace: the open projects and their object records.
//
// There is one workspace for the life of the program (`Workspace()`); a project's index is its
// position in the project table. Objects refer to each other by ID only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/record.h"

namespace qb {

struct ObjectRecord {
    std::int32_t IDoggetto = 0;
    std::uint32_t tipoOggetto = 0;
    std::uint32_t sottoTipoOggetto = 0;
    std::string sDescrizione;     // at most 254 characters
    Bytes lpDatiOggetto;          // the data record; its size is dimDatiOggetto

    std::uint32_t dimDatiOggetto() const { return static_cast<std::uint32_t>(lpDatiOggetto.size()); }
    RecordView record() { return RecordView(lpDatiOggetto); }
    ConstRecordView record() const { return ConstRecordView(lpDatiOggetto); }
};

struct ProjectRecord {
    std::uint32_t tipoGioco = 0;
    std::string sNomeProgetto;    // at most 254 characters
    std::string sPathProgetto;    // absolute folder, no trailing separator
    std::vector<ObjectRecord> objects;

    std::uint32_t objectCount() const { return static_cast<std::uint32_t>(objects.size()); }
};

class workspace {
public:
    virtual ~workspace();

    std::vector<std::unique_ptr<ProjectRecord>> projects;
    std::string pendingProjectName;    // typed in the New project dialog
    std::string pendingProjectFolder;  // folder computed for it
    int chosenProjectEntry = -1;       // list position picked in Open project, -1 = none
    std::uint32_t chosenGameType = 0;  // game type picked in New project

    int projectCount() const { return static_cast<int>(projects.size()); }
};

// The one workspace of the process.
workspace& Workspace();
// Closes every project and clears the pending fields (used by tests and at exit).
void ResetWorkspace();

// The project at an index, or null.
ProjectRecord* ProjectAt(int projectIndex);

// The object being edited: set when an editor is opened.
int CurrentProjectIndex();
std::int32_t CurrentObjectId();
void SetCurrentObject(int projectIndex, std::int32_t objectId);

constexpr std::size_t kMaxNameLength = 254;
constexpr std::size_t kMaxPathLength = 259;

// Cuts a text to at most n bytes.
std::string CutText(std::string_view text, std::size_t n);

ProjectRecord InitProjectRecord(std::uint32_t gameType, std::string_view name,
                                std::string_view folder);

// count new IDs for objects of the project, in the order AddObject would give them one after
// the other: one more than the largest ID, then (once INT32_MAX is taken) the smallest free
// ones. Linear in the project's size, or n log n when it has to look for gaps.
void NewObjectIds(const ProjectRecord& project, std::size_t count,
                  std::vector<std::int32_t>& out);

// Appends an object; an id below 0 asks for a new ID (one more than the largest), an id of 0 or
// more is taken unchanged. Answers the object's ID.
std::int32_t AddObject(ProjectRecord& project, std::uint32_t type, std::uint32_t subtype,
                       const std::uint8_t* data, std::size_t size, std::string_view description,
                       std::int32_t id);
std::int32_t AddObject(ProjectRecord& project, std::uint32_t type, std::uint32_t subtype,
                       const Bytes& data, std::string_view description, std::int32_t id);

ObjectRecord* FindObject(std::int32_t objectId, int projectIndex);
ObjectRecord* FindObject(ProjectRecord& project, std::int32_t objectId);
// The data record of the first object with that ID, or null.
Bytes* FindObjectData(ProjectRecord& project, std::int32_t objectId);
// Whether the project holds an object of that type, and the table position of the first one.
bool HasObjectOfType(int projectIndex, std::uint32_t type, int* position = nullptr);
void DeleteObject(int projectIndex, std::int32_t objectId);
void CloseProject(int projectIndex);

// Appends a project to the workspace and answers its index.
int AppendProject(ProjectRecord project);

} // namespace qb
