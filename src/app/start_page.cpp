#include "app/start_page.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/recent_projects.h"
#include "toolkit/qtext.h"

namespace qb::app {

namespace {

constexpr int kFolderRole = Qt::UserRole;

QPushButton* BigButton(const char* text, const char* picture, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QIcon(QStringLiteral(":/quillbox/pictures/") +
                                         QString::fromLatin1(picture) + ".png"),
                                   QString::fromLatin1(text), parent);
    button->setObjectName(name);
    button->setIconSize(QSize(32, 32));
    button->setMinimumHeight(48);
    button->setMinimumWidth(170);
    return button;
}

} // namespace

StartPage::StartPage(QWidget* parent) : QWidget(parent) {
    setObjectName("startPage");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(32, 28, 32, 20);
    outer->setSpacing(10);

    auto* title = new QLabel(QString::fromLatin1(kStartTitle), this);
    title->setObjectName("startTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* hint = new QLabel(
        QStringLiteral("Make a game from your own pictures and sounds: start a new project, or "
                       "open one you made before."),
        this);
    hint->setObjectName("startHint");
    hint->setWordWrap(true);
    outer->addWidget(title);
    outer->addWidget(hint);
    outer->addSpacing(6);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    newProject_ = BigButton("New project", "new_project", "startNewProjectButton", this);
    newProject_->setToolTip(QStringLiteral("Create a new game project (Ctrl+N)"));
    openProject_ = BigButton("Open project", "open_project", "startOpenProjectButton", this);
    openProject_->setToolTip(QStringLiteral("Open a project of the projects folder (Ctrl+O)"));
    buttons->addWidget(newProject_);
    buttons->addWidget(openProject_);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    outer->addSpacing(14);

    recentTitle_ = new QLabel(QString::fromLatin1(kRecentTitle), this);
    recentTitle_->setObjectName("recentProjectsTitle");
    QFont bold = recentTitle_->font();
    bold.setBold(true);
    recentTitle_->setFont(bold);
    recent_ = new QListWidget(this);
    recent_->setObjectName("recentProjectsList");
    recent_->setAccessibleName(QString::fromLatin1(kRecentTitle));
    recent_->setMaximumWidth(640);
    recent_->setIconSize(QSize(24, 24));
    recent_->setSpacing(2);
    recentTitle_->setBuddy(recent_);
    noRecent_ = new QLabel(QString::fromLatin1(kNoRecentText), this);
    noRecent_->setObjectName("noRecentProjects");
    outer->addWidget(recentTitle_);
    outer->addWidget(noRecent_);
    outer->addWidget(recent_, 1);
    outer->addStretch(0);

    connect(newProject_, &QPushButton::clicked, this, &StartPage::newProjectRequested);
    connect(openProject_, &QPushButton::clicked, this, &StartPage::openProjectRequested);
    connect(recent_, &QListWidget::itemClicked, this, &StartPage::choose);
    connect(recent_, &QListWidget::itemActivated, this, &StartPage::choose);
    refresh();
}

void StartPage::refresh() { setProjects(RecentProjects()); }

void StartPage::setProjects(const std::vector<RecentProject>& projects) {
    recent_->clear();
    const QIcon icon(QStringLiteral(":/quillbox/pictures/open_project.png"));
    for (const RecentProject& project : projects) {
        const QString folder = QString::fromStdString(project.folder);
        auto* item = new QListWidgetItem(icon, ui::FromRecordText(project.name) + '\n' + folder, recent_);
        item->setData(kFolderRole, folder);
        item->setToolTip(folder);
    }
    const bool any = recent_->count() > 0;
    recent_->setVisible(any);
    noRecent_->setVisible(!any);
}

std::string StartPage::FolderOf(const QListWidgetItem* item) {
    return item ? item->data(kFolderRole).toString().toStdString() : std::string();
}

void StartPage::choose(QListWidgetItem* item) {
    const std::string folder = FolderOf(item);
    // Opening a project lists the recent projects again, which must not happen inside the
    // list's own signal; a click that is also an activation asks once.
    if (folder.empty() || requestPending_) return;
    requestPending_ = true;
    QMetaObject::invokeMethod(this, [this, folder] {
        requestPending_ = false;
        emit recentProjectRequested(folder);
    }, Qt::QueuedConnection);
}

} // namespace qb::app
