#include "toolkit/open_project_dialog.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "model/folders.h"
#include "model/workspace.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/qtext.h"

namespace qb::ui {

OpenProjectDialog::OpenProjectDialog(QWidget* owner) : QDialog(owner) {
    SetUpModalDialog(this, "openProjectDialog", "Select project to open");
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("projectList");
    list_->setAccessibleName(QStringLiteral("Projects"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(false);
    list_->setMinimumSize(320, 220);
    layout->addWidget(list_);
    AddOkCancelButtons(this, layout);
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
