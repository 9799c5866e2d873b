#include "toolkit/open_project_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/folders.h"
#include "model/workspace.h"
#include "toolkit/qtext.h"

namespace qb::ui {

OpenProjectDialog::OpenProjectDialog(QWidget* owner) : QDialog(owner) {
    setObjectName("openProjectDialog");
    setWindowTitle("Select project to open");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("projectList");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(false);
    list_->setMinimumSize(320, 220);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OpenProjectDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &OpenProjectDialog::accept);

    for (const ProjectListEntry& entry : ListProjects())
        list_->addItem(FromRecordText(entry.projectName));
}

void OpenProjectDialog::accept() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    Workspace().chosenProjectEntry = list_->row(selected.front());
    QDialog::accept();
}

} // namespace qb::ui
