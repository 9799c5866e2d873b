#include "toolkit/sprite_buttons.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <algorithm>

#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/numbers.h"
#include "toolkit/item_editor.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
constexpr int kDirections = 8;
}

void ConnectSpriteButton(ItemEditorDialog* dialog, QAbstractButton* button, std::size_t firstFrame,
                         int frames, SpriteEditorVariant variant) {
    QObject::connect(button, &QAbstractButton::clicked, dialog, [=] {
        const FieldBinder& f = dialog->fields();
        EditSpriteAnimation(dialog, f.projectIndex(), f.objectId(), firstFrame, frames, variant);
    });
}

std::int32_t CountOfRun(const QLineEdit* count, int maxCount) {
    const std::int32_t typed = ParseSignedDecimal(ToRecordText(count->text()), kNumberChars);
    return std::clamp<std::int32_t>(typed, 0, maxCount);
}

void ConnectCountedSpriteButton(ItemEditorDialog* dialog, QAbstractButton* button, QLineEdit* count,
                                CountedRun run, SpriteEditorVariant variant) {
    // The engine reads as many frames as the count says; a count the run cannot hold would make
    // it read the fields behind the run, so OK stores it cut like the button does.
    dialog->fields().custom(
        [=](RecordView& r) { count->setText(QString::number(r.i32(run.countOffset))); },
        [=](RecordView& r) { r.setI32(run.countOffset, CountOfRun(count, run.maxCount)); });

    QObject::connect(button, &QAbstractButton::clicked, dialog, [=] {
        const FieldBinder& f = dialog->fields();
        ObjectRecord* object = f.object();
        if (!object) return;
        const std::int32_t frames = CountOfRun(count, run.maxCount);
        count->setText(QString::number(frames));
        // Stored and saved now, so the project file agrees with the record whatever closes the
        // sprite editor or this dialog.
        object->record().setI32(run.countOffset, frames);
        SaveProject(f.projectIndex());
        if (variant == SpriteEditorVariant::DirectionalGroups)
            EditSpriteAnimation(dialog, f.projectIndex(), f.objectId(), run.firstFrame,
                                frames * kDirections, variant, frames);
        else
            EditSpriteAnimation(dialog, f.projectIndex(), f.objectId(), run.firstFrame, frames,
                                variant);
    });
}

} // namespace qb::ui
