#include "toolkit/item_editor.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "model/projectfile.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"

namespace qb::ui {

ItemEditorDialog::ItemEditorDialog(QWidget* owner, const QString& title, TreeAfterOk tree,
                                   bool picturePreview)
    : QDialog(owner), fields_(CurrentObjectId(), CurrentProjectIndex()), tree_(tree),
      picturePreview_(picturePreview) {
    setWindowTitle(title);
    setObjectName(title);
    setModal(true);
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
    // The preview must show the picture as it is now (an external editor may have changed it).
    if (picturePreview_) RepaintPreview();
}

void ItemEditorDialog::loadFields() {
    fields_.load();
    afterLoad();
}

void ItemEditorDialog::accept() {
    fields_.store();
    if (!validateAndFinish()) return;
    SaveProject(fields_.projectIndex());
    if (tree_ == TreeAfterOk::Rebuild) RebuildAndRefreshTree(fields_.objectId(), fields_.projectIndex());
    QDialog::accept();
}

} // namespace qb::ui
