#pragma once
// Helpers for the item editor tests: projects and items made through the model, the records
// as memory and project.ini hold them, and an editor opened the way the main window opens it.
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "model/commands.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/profile.h"
#include "support/gui_support.h"
#include "support/test_support.h"
#include "toolkit/editor_launcher.h"

namespace qbtest {

// A project of that game type, made and saved in a new folder of the projects folder (the
// dialogs that do this in the program are tested on their own).
inline int NewProject(const std::string& name, std::uint32_t gameType) {
    qb::workspace& ws = qb::Workspace();
    ws.pendingProjectName = name;
    ws.pendingProjectFolder = qb::MakeUniquePath(qb::ProjectsFolder(), name, "");
    std::filesystem::create_directories(ws.pendingProjectFolder);
    const int index = qb::CreateProject(gameType);
    qb::SaveProject(index);
    return index;
}

// The group that holds the items of a type; 0 when the project has none.
inline std::int32_t GroupId(int project, std::uint32_t type) {
    if (const qb::ProjectRecord* p = qb::ProjectAt(project))
        for (const qb::ObjectRecord& o : p->objects)
            if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type) return o.IDoggetto;
    return 0;
}

// The first object of a type, such as a project's Main parameters; 0 when there is none.
inline std::int32_t ObjectOfType(int project, std::uint32_t type) {
    if (const qb::ProjectRecord* p = qb::ProjectAt(project))
        for (const qb::ObjectRecord& o : p->objects)
            if (o.tipoOggetto == type) return o.IDoggetto;
    return 0;
}

// A new item of a type, named as given (its default name when empty); 0, and a failure, when
// the project has no group for it.
inline std::int32_t NewItemOfType(int project, std::uint32_t type, const std::string& name = {}) {
    const std::int32_t group = GroupId(project, type);
    if (group == 0) {
        ADD_FAILURE() << "no group for type " << type;
        return 0;
    }
    const std::int32_t id = qb::NewItem(project, group);
    if (qb::ObjectRecord* item = qb::FindObject(id, project); item && !name.empty())
        item->sDescrizione = name;
    return id;
}

// The object of that ID; a failure, and an empty stand-in, when there is none.
inline qb::ObjectRecord& Object(int project, std::int32_t id) {
    if (qb::ObjectRecord* o = qb::FindObject(id, project)) return *o;
    ADD_FAILURE() << "no object " << id << " in project " << project;
    static qb::ObjectRecord none;
    none = qb::ObjectRecord{};
    return none;
}

// The project as its project.ini holds it now.
inline qb::ProjectRecord SavedProject(int project) {
    qb::ProjectRecord read;
    const qb::ProjectRecord* open = qb::ProjectAt(project);
    if (!open) {
        ADD_FAILURE() << "no project " << project;
        return read;
    }
    qb::ProfileFile file;
    EXPECT_TRUE(file.load(open->sPathProgetto + "/project.ini"));
    std::string error;
    EXPECT_TRUE(qb::ReadProject(file, open->sPathProgetto, read, &error)) << error;
    return read;
}

// The record of that object as project.ini holds it now; empty when it holds no such object.
inline qb::Bytes SavedRecord(int project, std::int32_t id) {
    qb::ProjectRecord read = SavedProject(project);
    const qb::ObjectRecord* o = qb::FindObject(read, id);
    return o ? o->lpDatiOggetto : qb::Bytes{};
}

inline void Press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    auto* box = Child<QDialogButtonBox>(dialog, "buttons");
    if (QPushButton* button = box ? box->button(which) : nullptr) {
        button->click();
        return;
    }
    ADD_FAILURE() << "no such button";
    dialog->reject();  // a dialog left open would stop the test for good
}
inline void Ok(QDialog* dialog) { Press(dialog, QDialogButtonBox::Ok); }
inline void Cancel(QDialog* dialog) { Press(dialog, QDialogButtonBox::Cancel); }

// Opens the editor of that object through the launcher and runs act on it; act must close it.
inline void Edit(int project, std::int32_t id, const std::function<void(QDialog*)>& act) {
    WithModalDialog([&] { EXPECT_TRUE(qb::ui::OpenEditor(nullptr, project, id)); }, act);
}

} // namespace qbtest
