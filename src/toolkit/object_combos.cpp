#include "toolkit/object_combos.h"

#include <QCheckBox>
#include <QComboBox>

#include "model/workspace.h"
#include "toolkit/qtext.h"
#include "toolkit/sound_player.h"

namespace qb::ui {

namespace {
// The n-th object of a type in the current project, or null.
const ObjectRecord* NthObjectOfType(std::uint32_t type, int n) {
    ProjectRecord* project = ProjectAt(CurrentProjectIndex());
    if (!project || n < 0) return nullptr;
    for (const ObjectRecord& o : project->objects)
        if (o.tipoOggetto == type && n-- == 0) return &o;
    return nullptr;
}
} // namespace

void FillObjectCombo(QComboBox* combo, std::uint32_t type) {
    ProjectRecord* project = ProjectAt(CurrentProjectIndex());
    if (!project || !combo) return;
    for (const ObjectRecord& o : project->objects)
        if (o.tipoOggetto == type) combo->addItem(FromRecordText(o.sDescrizione));
}

void SelectObjectInCombo(QComboBox* combo, std::uint32_t type, std::int32_t objectId) {
    if (!combo) return;
    ProjectRecord* project = ProjectAt(CurrentProjectIndex());
    int position = 0;
    if (project) {
        for (const ObjectRecord& o : project->objects) {
            if (o.tipoOggetto != type) continue;
            if (o.IDoggetto == objectId) {
                combo->setCurrentIndex(position);
                return;
            }
            ++position;
        }
    }
    combo->setCurrentIndex(-1);
}

std::int32_t GetSelectedObjectId(QComboBox* combo, std::uint32_t type) {
    if (!combo) return 0;
    const ObjectRecord* o = NthObjectOfType(type, combo->currentIndex());
    return o ? o->IDoggetto : 0;
}

void SetupOptionalSound(SoundAction action, QComboBox* combo, QCheckBox* box,
                        std::uint32_t& soundId, std::uint32_t& enabled) {
    switch (action) {
    case SoundAction::Open:
        combo->clear();
        FillObjectCombo(combo, kAudioType);
        SelectObjectInCombo(combo, kAudioType, static_cast<std::int32_t>(soundId));
        box->setChecked(enabled != 0);
        combo->setEnabled(enabled != 0);
        // A "Play" button beside the combo lets the user hear the chosen sound.
        AttachSoundPlayer(combo);
        break;
    case SoundAction::Clicked:
        combo->setEnabled(box->isChecked());
        break;
    case SoundAction::Store:
        soundId = static_cast<std::uint32_t>(GetSelectedObjectId(combo, kAudioType));
        enabled = box->isChecked() ? 1u : 0u;
        break;
    }
}

} // namespace qb::ui
