#include "toolkit/item_editor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "model/history.h"
#include "model/layouts/bitmaps.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/file_chooser.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

ItemEditorDialog::ItemEditorDialog(QWidget* owner, const QString& title, TreeAfterOk tree,
                                   bool picturePreview)
    : QDialog(owner), fields_(CurrentObjectId(), CurrentProjectIndex()), tree_(tree),
      picturePreview_(picturePreview) {
    SetUpModalDialog(this, title, title);
    auto* outer = new QVBoxLayout(this);
    body_ = new QVBoxLayout;
    outer->addLayout(body_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName("buttons");
    outer->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &ItemEditorDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &ItemEditorDialog::reject);
}

ItemEditorDialog::~ItemEditorDialog() {
    // The controls are deleted after this body, and a button that changes state meanwhile must not
    // run an editor's rule on a dialog that is half gone.
    for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
    // The preview must show the picture as it is now (an external editor may have changed it).
    if (picturePreview_) RepaintPreview();
}

QFormLayout* ItemEditorDialog::addForm() {
    auto* form = new QFormLayout;
    body_->addLayout(form);
    return form;
}

QLineEdit* ItemEditorDialog::addItemNameRow(QFormLayout* form) {
    QLineEdit* name = fields_.description(Named<QLineEdit>("itemNameLineEdit"));
    AddRow(form, "itemNameLabel", "Item name", name);
    return name;
}

QLineEdit* ItemEditorDialog::addPicturePathRow(QFormLayout* form, const char* editButtonName) {
    namespace file = layout::file_backed;
    auto* path = Named<QLineEdit>("pathFileLineEdit");
    path->setReadOnly(true);
    path->setMinimumWidth(320);
    auto* edit = Named<QPushButton>(editButtonName, QStringLiteral("Edit bitmap"));
    auto* import = Named<QPushButton>("importPicturePushButton", QStringLiteral("Import picture..."));
    import->setToolTip(QStringLiteral("Replace this item's picture by a copy of a PNG file"));
    auto* row = new QHBoxLayout;
    row->addWidget(path, 1);
    row->addWidget(edit);
    row->addWidget(import);
    form->addRow(Label("pathFileLabel", "Path file"), row);
    // Shown only: the path is the item's file and no control here changes it.
    fields_.custom(
        [path](RecordView& r) { path->setText(FromRecordText(r.text(file::kPath, file::kPathSize))); },
        nullptr);
    connect(edit, &QPushButton::clicked, this, [this] {
        if (const ObjectRecord* o = fields_.object())
            StartImageEditor(o->record().text(file::kPath, file::kPathSize));
    });
    // The picture file is replaced at once and stays replaced whether the dialog ends with OK
    // or Cancel; the record keeps naming the same file.
    connect(import, &QPushButton::clicked, this, [this] {
        ChooseAndImportItemFile(this, fields_.projectIndex(), fields_.objectId());
    });
    return path;
}

void ItemEditorDialog::loadFields() {
    fields_.load();
    afterLoad();
}

void ItemEditorDialog::accept() {
    fields_.store();
    if (!validateAndFinish()) return;
    const ChangeLabel change(windowTitle().toStdString() + ": OK", fields_.objectId());
    SaveProject(fields_.projectIndex());
    if (tree_ == TreeAfterOk::Rebuild) RebuildAndRefreshTree(fields_.objectId(), fields_.projectIndex());
    QDialog::accept();
}

} // namespace qb::ui
