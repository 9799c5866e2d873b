#include "app/problems_panel.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "model/workspace.h"
#include "toolkit/qtext.h"

namespace qb::app {

namespace {
constexpr int kObjectIdRole = Qt::UserRole;
}

ProblemsPanel::ProblemsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("problemsPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 4, 10, 10);
    layout->setSpacing(4);
    title_ = new QLabel(kProblemsTitle, this);
    title_->setObjectName("problemsTitle");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    list_ = new QListWidget(this);
    list_->setObjectName("problemsList");
    list_->setAccessibleName(kProblemsTitle);
    list_->setWordWrap(true);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setAlternatingRowColors(true);
    title_->setBuddy(list_);
    layout->addWidget(title_);
    layout->addWidget(list_, 1);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ProblemsPanel::onActivated);
    // Enter on a line does what a double-click does.
    connect(list_, &QListWidget::itemActivated, this, &ProblemsPanel::onActivated);
    hide();
}

void ProblemsPanel::showProject(int projectIndex) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    projectIndex_ = project ? projectIndex : -1;
    problems_ = project ? ProjectProblems(*project) : std::vector<Problem>{};

    list_->clear();
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    int errors = 0;
    for (const Problem& problem : problems_) {
        const QString message = ui::FromRecordText(problem.message);
        const QString advice = ui::FromRecordText(problem.advice);
        auto* item = new QListWidgetItem(problem.warning ? warningIcon : errorIcon,
                                         (problem.warning ? "warning: " : "") + message + "\n" +
                                             advice,
                                         list_);
        item->setData(kObjectIdRole, problem.objectId);
        item->setToolTip(advice);
        if (!problem.warning) ++errors;
    }
    const int count = static_cast<int>(problems_.size());
    QString title = QString("%1 (%2)").arg(kProblemsTitle).arg(count);
    if (errors != count)
        title += QString(": %1 error%2, %3 warning%4")
                     .arg(errors)
                     .arg(errors == 1 ? "" : "s")
                     .arg(count - errors)
                     .arg(count - errors == 1 ? "" : "s");
    title_->setText(title);
    const bool wanted = count > 0;
    if (wanted != isVisibleTo(parentWidget())) {
        setVisible(wanted);
        emit visibilityChanged(wanted);
    }
}

void ProblemsPanel::onActivated(QListWidgetItem* item) {
    if (!item || projectIndex_ < 0) return;
    emit itemActivated(projectIndex_, item->data(kObjectIdRole).toInt());
}

} // namespace qb::app
