#include "model/workspace.h"

#include <algorithm>

namespace qb {

workspace::~workspace() = default;

namespace {
int g_currentProjectIndex = 0;
std::int32_t g_currentObjectId = 0;
} // namespace

workspace& Workspace() {
    static workspace theWorkspace;
    return theWorkspace;
}

void ResetWorkspace() {
    workspace& ws = Workspace();
    ws.projects.clear();
    ws.pendingProjectName.clear();
    ws.pendingProjectFolder.clear();
    ws.chosenProjectEntry = -1;
    ws.chosenGameType = 0;
    g_currentProjectIndex = 0;
    g_currentObjectId = 0;
}

ProjectRecord* ProjectAt(int projectIndex) {
    workspace& ws = Workspace();
    if (projectIndex < 0 || projectIndex >= ws.projectCount()) return nullptr;
    return ws.projects[static_cast<std::size_t>(projectIndex)].get();
}

int CurrentProjectIndex() { return g_currentProjectIndex; }
std::int32_t CurrentObjectId() { return g_currentObjectId; }
void SetCurrentObject(int projectIndex, std::int32_t objectId) {
    g_currentProjectIndex = projectIndex;
    g_currentObjectId = objectId;
}

std::string CutText(std::string_view text, std::size_t n) {
    return std::string(text.substr(0, std::min(n, text.size())));
}

ProjectRecord InitProjectRecord(std::uint32_t gameType, std::string_view name,
                                std::string_view folder) {
    ProjectRecord project;
    project.tipoGioco = gameType;
    project.sNomeProgetto = CutText(name, kMaxNameLength);
    project.sPathProgetto = CutText(folder, kMaxPathLength);
    return project;
}

void NewObjectIds(const ProjectRecord& project, std::size_t count,
                  std::vector<std::int32_t>& out) {
    out.clear();
    std::int64_t next = 1;
    for (const ObjectRecord& o : project.objects)
        if (o.IDoggetto >= next) next = static_cast<std::int64_t>(o.IDoggetto) + 1;
    while (out.size() < count && next <= INT32_MAX) out.push_back(static_cast<std::int32_t>(next++));
    if (out.size() == count) return;
    // An ID of INT32_MAX (hand-edited file) leaves no larger ID: the smallest free ones follow,
    // found in one pass over the sorted IDs.
    std::vector<std::int32_t> used;
    used.reserve(project.objects.size() + out.size());
    for (const ObjectRecord& o : project.objects)
        if (o.IDoggetto > 0) used.push_back(o.IDoggetto);
    used.insert(used.end(), out.begin(), out.end());
    std::sort(used.begin(), used.end());
    std::int64_t candidate = 1;
    for (std::size_t i = 0; out.size() < count && candidate <= INT32_MAX;) {
        if (i < used.size() && used[i] < candidate) {
            ++i;
        } else if (i < used.size() && used[i] == candidate) {
            ++candidate;
            ++i;
        } else {
            out.push_back(static_cast<std::int32_t>(candidate++));
        }
    }
}

std::int32_t AddObject(ProjectRecord& project, std::uint32_t type, std::uint32_t subtype,
                       const std::uint8_t* data, std::size_t size, std::string_view description,
                       std::int32_t id) {
    if (id < 0) {
        std::vector<std::int32_t> ids;
        NewObjectIds(project, 1, ids);
        id = ids.empty() ? 1 : ids.front();
    }
    ObjectRecord object;
    object.IDoggetto = id;
    object.tipoOggetto = type;
    object.sottoTipoOggetto = subtype;
    object.sDescrizione = CutText(description, kMaxNameLength);
    if (size && data) object.lpDatiOggetto.assign(data, data + size);
    else if (size) object.lpDatiOggetto.assign(size, 0);
    project.objects.push_back(std::move(object));
    return id;
}

std::int32_t AddObject(ProjectRecord& project, std::uint32_t type, std::uint32_t subtype,
                       const Bytes& data, std::string_view description, std::int32_t id) {
    return AddObject(project, type, subtype, data.data(), data.size(), description, id);
}

ObjectRecord* FindObject(ProjectRecord& project, std::int32_t objectId) {
    for (ObjectRecord& o : project.objects)
        if (o.IDoggetto == objectId) return &o;
    return nullptr;
}

ObjectRecord* FindObject(std::int32_t objectId, int projectIndex) {
    ProjectRecord* project = ProjectAt(projectIndex);
    return project ? FindObject(*project, objectId) : nullptr;
}

Bytes* FindObjectData(ProjectRecord& project, std::int32_t objectId) {
    ObjectRecord* o = FindObject(project, objectId);
    return (o && !o->lpDatiOggetto.empty()) ? &o->lpDatiOggetto : nullptr;
}

bool HasObjectOfType(int projectIndex, std::uint32_t type, int* position) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return false;
    for (std::size_t i = 0; i < project->objects.size(); ++i) {
        if (project->objects[i].tipoOggetto == type) {
            if (position) *position = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void DeleteObject(int projectIndex, std::int32_t objectId) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return;
    auto it = std::find_if(project->objects.begin(), project->objects.end(),
                           [&](const ObjectRecord& o) { return o.IDoggetto == objectId; });
    if (it != project->objects.end()) project->objects.erase(it);
}

void CloseProject(int projectIndex) {
    workspace& ws = Workspace();
    if (projectIndex < 0 || projectIndex >= ws.projectCount()) return;
    ws.projects.erase(ws.projects.begin() + projectIndex);
}

int AppendProject(ProjectRecord project) {
    workspace& ws = Workspace();
    ws.projects.push_back(std::make_unique<ProjectRecord>(std::move(project)));
    return ws.projectCount() - 1;
}

} // namespace qb
