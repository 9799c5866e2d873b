#include "editors/common/sound_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/layouts/sound.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"
#include "toolkit/sound_player.h"

namespace qb::ui {

namespace {
namespace L = layout::sound;
const EditorRegistration kRegistration(kAudioType, RunEditor<SoundEditorDialog>);
} // namespace

SoundEditorDialog::SoundEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Sound parameters")) {
    FieldBinder& f = fields();
    addItemNameRow(addForm());

    auto* grid = AddGroup<QGridLayout>(body(), "soundSourceGroupBox", "Sound");
    auto* userSound = Named<QRadioButton>("userSoundRadioButton", QStringLiteral("User sound"));
    auto* pathFile = Named<QLineEdit>("pathFileLineEdit");
    pathFile->setReadOnly(true);
    pathFile->setMinimumWidth(320);
    auto* loop = f.flag(Named<QCheckBox>("loopSoundCheckBox", QStringLiteral("Loop sound")),
                        L::kLoop);
    auto* importSound =
        Named<QPushButton>("importSoundPushButton", QStringLiteral("Import sound"));
    auto* editSound = Named<QPushButton>("editSoundPushButton", QStringLiteral("Edit sound"));
    auto* librarySound = Named<QRadioButton>("embeddedLibrarySoundRadioButton",
                                             QStringLiteral("Embedded library sound"));
    auto* library = Named<QComboBox>("librarySoundComboBox");
    for (const char* name : {"User fire", "Enemy fire", "Shield fire", "Explosion", "Bonus"})
        library->addItem(QString::fromLatin1(name));

    // Plays the MP3 file, or the library sound's file when that source is chosen.
    player_ = new SoundPlayer(QStringLiteral("sound"), [=, this] {
        return SoundFromSource(recordPath(), librarySound->isChecked(), library->currentIndex());
    });
    connect(librarySound, &QRadioButton::toggled, player_, &SoundPlayer::stop);
    connect(library, &QComboBox::currentIndexChanged, player_, &SoundPlayer::stop);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importSound);
    buttons->addWidget(editSound);
    buttons->addStretch(1);
    grid->addWidget(userSound, 0, 0, 1, 2);
    grid->addWidget(Label("pathFileLabel", "Path file"), 1, 0);
    grid->addWidget(pathFile, 1, 1);
    grid->addLayout(buttons, 2, 1);
    grid->addWidget(loop, 3, 1);
    grid->addWidget(librarySound, 4, 0, 1, 2);
    grid->addWidget(library, 5, 1);
    grid->addWidget(player_, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    // The engine does not loop item sounds; the field is kept as it is.
    loop->setVisible(false);

    f.custom([=](RecordView& r) { pathFile->setText(FromRecordText(r.text(L::kPath, kPathField))); },
             nullptr);
    f.custom(
        [=](RecordView& r) {
            (r.u32(L::kSource) != L::kSourceUser ? librarySound : userSound)->setChecked(true);
        },
        [=](RecordView& r) {
            r.setU32(L::kSource, librarySound->isChecked() ? L::kSourceLibrary : L::kSourceUser);
        });
    f.custom(
        [=](RecordView& r) {
            const std::int32_t index = r.i32(L::kLibrarySound);
            library->setCurrentIndex(index >= 0 && index < L::kLibrarySoundCount ? index : -1);
        },
        [=](RecordView& r) { r.setI32(L::kLibrarySound, library->currentIndex()); });

    EnableWhile(userSound, {pathFile, loop, editSound, importSound});
    EnableWhile(userSound, {library}, false);
    connect(importSound, &QPushButton::clicked, this, &SoundEditorDialog::importSound);
    connect(editSound, &QPushButton::clicked, this, &SoundEditorDialog::editSound);

    loadFields();
}

std::string SoundEditorDialog::recordPath() {
    const ObjectRecord* object = fields().object();
    return object ? object->record().text(L::kPath, kPathField) : std::string();
}

void SoundEditorDialog::importSound() {
    // A sound that plays stops before its file may change.
    player_->stop();
    // The record keeps naming the same file; only its content changes (the sound it replaces
    // is kept in the project's history first).
    ChooseAndImportItemFile(this, fields().projectIndex(), fields().objectId());
}

void SoundEditorDialog::editSound() { StartSoundEditor(recordPath()); }

} // namespace qb::ui
