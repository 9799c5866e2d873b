#include "app/main_window.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/app_folder.h"
#include "app/history_dialog.h"
#include "app/recent_projects.h"
#include "app/start_page.h"
#include "app/uses_dialog.h"
#include "build/build.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/desktop.h"
#include "platform/game_server.h"
#include "platform/messages.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/new_project_dialog.h"
#include "toolkit/open_project_dialog.h"
#include "toolkit/preferences_dialog.h"
#include "toolkit/qtext.h"
#include "toolkit/records_warning_dialog.h"

namespace qb::app {

namespace {

constexpr std::uint32_t kGroupType = 0;

// The index of an open project stored in that folder, or -1.
int OpenProjectInFolder(const std::string& folder) {
    const std::string key = SameFolderKey(folder);
    for (int p = 0; p < Workspace().projectCount(); ++p)
        if (SameFolderKey(ProjectAt(p)->sPathProgetto) == key) return p;
    return -1;
}

QString Quoted(const std::string& text) {
    return QLatin1Char('\'') + ui::FromRecordText(text) + QLatin1Char('\'');
}

QString ProjectName(int projectIndex) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    return project ? Quoted(project->sNomeProgetto) : QString();
}

QString ObjectName(int projectIndex, std::int32_t objectId) {
    const ObjectRecord* object = FindObject(objectId, projectIndex);
    return object ? Quoted(object->sDescrizione) : QString();
}

std::optional<std::filesystem::file_time_type> ProjectFileTime(int projectIndex) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return std::nullopt;
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(JoinPath(project->sPathProgetto, kProjectFileName), ec);
    if (ec) return std::nullopt;
    return time;
}

void SetPanelBackground(QWidget* widget, const char* colour) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(colour));
    widget->setPalette(palette);
}

struct KeyInfo {
    Command command;
    QKeySequence keys;
};

} // namespace

MainWindow::MainWindow() : QWidget(nullptr) {
    setObjectName("mainWindow");
    setWindowTitle(kWindowTitle);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    SetPanelBackground(this, "#c9ced6");

    layout_ = new PanelLayout(this);
    commands_ = new CommandPanel(this);
    body_ = new QWidget(this);
    body_->setObjectName("mainBody");
    layout_->addPanel(body_, QRect(0, CommandPanel::kHeight, 0, 0));
    layout_->addPanel(commands_, QRect(0, 0, 0, CommandPanel::kHeight));

    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    splitter_ = new QSplitter(Qt::Horizontal, body_);
    splitter_->setObjectName("treeSplitter");
    splitter_->setChildrenCollapsible(false);
    column->addWidget(splitter_, 1);
    status_ = new QStatusBar(body_);
    status_->setObjectName("statusBar");
    status_->setSizeGripEnabled(false);
    column->addWidget(status_);

    // Down the left side: the tree, and the Problems panel under it while there are problems.
    side_ = new QWidget(splitter_);
    side_->setObjectName("sidePanel");
    side_->setMinimumWidth(kMinimumTreeWidth);
    SetPanelBackground(side_, "#eef2f7");
    auto* sideColumn = new QVBoxLayout(side_);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    sideColumn->setSpacing(0);
    tree_ = new TreePanel(side_);
    problems_ = new ProblemsPanel(side_);
    problems_->setFixedHeight(kProblemsPanelHeight);
    sideColumn->addWidget(tree_, 1);
    sideColumn->addWidget(problems_);
    preview_ = new PreviewPane(splitter_);
    splitter_->addWidget(side_);
    splitter_->addWidget(preview_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kTreePanelWidth, 100000});

    // Announced as the application's window, not as an anonymous pane.
    ui::SetAccessibleView(this, kWindowTitle, QAccessible::Window);
    preview_->picture()->installEventFilter(this);
    preview_->picture()->hide();

    createActions();

    connect(problems_, &ProblemsPanel::itemActivated, this, &MainWindow::showProblemItem);
    InstallWhereUsed(this);

    connect(tree_, &TreePanel::selectionChanged, this, [this] {
        commands_->setEnabledCommands(EnabledCommands(tree_->currentNode()));
        updateActions();
        // Another project selected: its problems.
        const TreeNode* node = tree_->currentNode();
        if ((node ? node->projectIndex : -1) != problems_->projectIndex()) refreshProblems();
        showPreview();
    });
    connect(tree_, &TreePanel::previewChanged, this, [this] {
        showPreview();
        watchPreview();
        repaint();
    });
    connect(tree_, &TreePanel::activated, this, [this] {
        if (action(Command::EditItem)->isEnabled()) editItem();
    });
    connect(tree_, &TreePanel::deleteRequested, this, [this] {
        if (action(Command::DeleteItem)->isEnabled()) deleteItem();
    });
    connect(tree_, &TreePanel::renameRequested, this, [this] {
        if (rename_->isEnabled()) tree_->startRename();
    });
    connect(tree_, &TreePanel::renamed, this, &MainWindow::applyRename);
    connect(tree_, &TreePanel::contextMenuRequested, this, &MainWindow::showContextMenu);
    connect(commands_, &CommandPanel::commandClicked, this, &MainWindow::run);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        watchPreview();
        update();
    });
    StartPage* start = preview_->startPage();
    connect(start, &StartPage::newProjectRequested, this, [this] { newProject(); });
    connect(start, &StartPage::openProjectRequested, this, [this] { openProject(); });
    connect(start, &StartPage::recentProjectRequested, this, &MainWindow::openProjectFolder);

    ui::SetTreeRefresher([this](std::int32_t objectId, int projectIndex) {
        rebuildAndRefresh(objectId, projectIndex);
    });
    ui::SetPreviewRepainter([this] {
        if (tree_->reloadPreviewIfChanged()) {
            watchPreview();
            showPreview();
        }
        repaint();
    });
    new HistoryActions(this);  // Undo last change, Redo, History...
    showPreview();
}

MainWindow::~MainWindow() {
    ui::SetTreeRefresher(nullptr);
    ui::SetPreviewRepainter(nullptr);
}

StartPage* MainWindow::startPage() const { return preview_->startPage(); }

QRect MainWindow::freeArea() const {
    // Right of the splitter's handle, down from the command panel to the status bar, across to
    // the window's right edge; taken from the window itself so that it is right during a resize,
    // before the nested layouts have caught up.
    const int left = preview_->mapTo(this, QPoint(0, 0)).x();
    const int bottom = status_->isVisibleTo(this) ? height() - status_->sizeHint().height() : height();
    return QRect(QPoint(left, CommandPanel::kHeight), QPoint(width() - 1, bottom - 1));
}

void MainWindow::createActions() {
    static const KeyInfo kKeys[] = {
        {Command::NewProject, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {Command::OpenProject, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {Command::CloseProject, QKeySequence(Qt::CTRL | Qt::Key_W)},
        {Command::Compile, QKeySequence(Qt::CTRL | Qt::Key_B)},
        {Command::TestGame, QKeySequence(Qt::Key_F5)},
        {Command::Help, QKeySequence(Qt::Key_F1)},
        // Keys of the tree: shown in its menu, handled by the tree itself.
        {Command::EditItem, QKeySequence(Qt::Key_Return)},
        {Command::DeleteItem, QKeySequence(Qt::Key_Delete)},
    };
    for (const CommandInfo& info : Commands()) {
        auto* a = new QAction(commands_->button(info.command)->icon(),
                              QString::fromLatin1(info.label), this);
        QString name = QString::fromLatin1(info.objectName);
        name.replace(QStringLiteral("Button"), QStringLiteral("Action"));
        a->setObjectName(name);
        const Command command = info.command;
        connect(a, &QAction::triggered, this, [this, command] { runFromKeys(command); });
        actions_[static_cast<std::size_t>(command)] = a;
    }
    for (const KeyInfo& key : kKeys) {
        QAction* a = action(key.command);
        a->setShortcut(key.keys);
        // Window-wide keys work wherever the focus is in the window; the tree's own keys only
        // while a menu that shows them is open.
        if (key.command != Command::EditItem && key.command != Command::DeleteItem) addAction(a);
    }
    rename_ = new QAction(QString::fromLatin1(kRenameText), this);
    rename_->setObjectName("renameAction");
    rename_->setShortcut(QKeySequence(Qt::Key_F2));
    connect(rename_, &QAction::triggered, this, [this] {
        if (CanRename(tree_->currentNode())) tree_->startRename();
    });
    quit_ = new QAction(QString::fromLatin1(kQuitText), this);
    quit_->setObjectName("quitAction");
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit_, &QAction::triggered, this, &QWidget::close);
    addAction(quit_);
    updateActions();
}

void MainWindow::updateActions() {
    const TreeNode* node = tree_->currentNode();
    const CommandSet keys = KeyboardCommands(node);
    for (int i = 0; i < kCommandCount; ++i)
        actions_[static_cast<std::size_t>(i)]->setEnabled(keys.test(static_cast<std::size_t>(i)));
    rename_->setEnabled(CanRename(node));
    // On a project, Copy item copies the whole project.
    action(Command::CopyItem)
        ->setText(node && node->kind == NodeKind::Project ? QStringLiteral("Copy project")
                                                         : QStringLiteral("Copy item"));
}

QMenu* MainWindow::contextMenuFor(const TreeNode* node) {
    auto* menu = new QMenu(this);
    menu->setObjectName("treeContextMenu");
    const CommandSet enabled = EnabledCommands(node);
    const std::vector<std::vector<Command>> groups = {
        {Command::EditItem},
        {Command::NewItem, Command::CopyItem, Command::DeleteItem},
        {Command::CloseProject, Command::Compile, Command::TestGame},
        {Command::NewProject, Command::OpenProject},
    };
    for (const auto& group : groups) {
        bool first = true;
        for (Command command : group) {
            if (!Has(enabled, command)) continue;
            if (first && !menu->isEmpty()) menu->addSeparator();
            first = false;
            menu->addAction(action(command));
            if (command == Command::EditItem) menu->setDefaultAction(action(command));
        }
        if (group.front() == Command::EditItem && CanRename(node)) {
            if (first && !menu->isEmpty()) menu->addSeparator();
            menu->addAction(rename_);
        }
    }
    // Entries that other features put on the tree, where they apply to the node.
    bool first = true;
    for (QAction* extra : tree_->tree()->actions()) {
        if (!extra->isEnabled() || !extra->isVisible()) continue;
        if (first && !menu->isEmpty()) menu->addSeparator();
        first = false;
        menu->addAction(extra);
    }
    return menu;
}

void MainWindow::showContextMenu(const QPoint& at) {
    QMenu* menu = contextMenuFor(tree_->currentNode());
    if (!menu->isEmpty()) menu->exec(at);
    delete menu;
}

void MainWindow::runFromKeys(Command command) {
    const TreeNode* node = tree_->currentNode();
    if (!Has(KeyboardCommands(node), command)) return;
    switch (command) {
    case Command::CloseProject: return closeProject(node->projectIndex);
    case Command::Compile: return compile(node->projectIndex);
    case Command::TestGame: return testGame(node->projectIndex);
    default: return run(command);
    }
}

void MainWindow::say(const QString& text) { status_->showMessage(text); }

void MainWindow::showPreview() {
    const std::string& path = tree_->previewPath();
    const TreeNode* node = tree_->currentNode();
    if (!path.empty()) {
        preview_->setPicture(tree_->previewImage(),
                             QString::fromStdString(std::filesystem::path(path).filename().string()));
        preview_->picture()->show();
        preview_->setMode(PreviewPane::Mode::Picture);
    } else {
        preview_->setPicture(QImage(), QString());
        preview_->picture()->hide();
        const bool start = !node || node->kind == NodeKind::Root;
        if (start && preview_->mode() != PreviewPane::Mode::StartPage) preview_->startPage()->refresh();
        preview_->setMode(start ? PreviewPane::Mode::StartPage : PreviewPane::Mode::Nothing);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Painting over the preview is painting the preview: its file is looked at again.
    if (watched == preview_->picture() && event->type() == QEvent::Paint) queuePreviewCheck();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::queuePreviewCheck() {
    if (previewCheckQueued_) return;
    previewCheckQueued_ = true;
    QTimer::singleShot(0, this, &MainWindow::checkPreviewFile);
}

void MainWindow::resizeEvent(QResizeEvent* event) { QWidget::resizeEvent(event); }

void MainWindow::rebuildAndRefresh(std::int32_t objectId, int projectIndex) {
    tree_->rebuild();
    tree_->refresh(objectId, projectIndex);
    refreshProblems();  // the project was saved
}

void MainWindow::refreshProblems() {
    const TreeNode* node = tree_->currentNode();
    problems_->showProject(node ? node->projectIndex : -1);
}

void MainWindow::showProblemItem(int projectIndex, std::int32_t objectId) {
    if (!FindObject(objectId, projectIndex)) return;
    tree_->refresh(objectId, projectIndex);
    const TreeNode* node = tree_->currentNode();
    if (node && node->kind == NodeKind::Object && node->objectId == objectId) editItem();
}

void MainWindow::watchPreview() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    const std::string& path = tree_->previewPath();
    std::error_code ec;
    if (!path.empty() && std::filesystem::exists(path, ec))
        watcher_.addPath(QString::fromStdString(path));
}

void MainWindow::checkPreviewFile() {
    previewCheckQueued_ = false;
    if (tree_->reloadPreviewIfChanged()) {
        watchPreview();
        showPreview();
        update();
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    // The preview pane paints the picture. The file may have changed since the picture was
    // made; it is decoded again outside the paint (a broken file makes the decoder show a
    // message, which must not happen while painting).
    if (!tree_->previewPath().empty()) queuePreviewCheck();
}

void MainWindow::changeEvent(QEvent* event) {
    // Coming back from the external image editor: show the picture as it is now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) update();
    QWidget::changeEvent(event);
}

void MainWindow::run(Command command) {
    const TreeNode* node = tree_->currentNode();
    const int project = node && node->kind == NodeKind::Project ? node->projectIndex : -1;
    switch (command) {
    case Command::NewProject: return newProject();
    case Command::OpenProject: return openProject();
    case Command::CloseProject: return closeProject(project);
    case Command::NewItem: return newItem();
    case Command::EditItem: return editItem();
    case Command::DeleteItem: return deleteItem();
    case Command::CopyItem: return copyItem();
    case Command::Compile: return compile(project);
    case Command::TestGame: return testGame(project);
    case Command::Preferences: return preferences();
    case Command::Help: return help();
    }
}

void MainWindow::projectsChanged(int openedIndex) {
    if (const ProjectRecord* project = ProjectAt(openedIndex))
        RememberRecentProject(project->sPathProgetto);
    RememberOpenProjects();
    if (preview_->mode() == PreviewPane::Mode::StartPage) preview_->startPage()->refresh();
}

void MainWindow::newProject() {
    ui::NewProjectDialog dialog(this);
    int created = -1;
    if (dialog.exec() == QDialog::Accepted) {
        workspace& ws = Workspace();
        std::error_code ec;
        std::filesystem::create_directories(ws.pendingProjectFolder, ec);
        created = CreateProject(ws.chosenGameType);
        if (SaveProject(created))
            say(QStringLiteral("Created project %1 in %2")
                    .arg(ProjectName(created), QString::fromStdString(ProjectAt(created)->sPathProgetto)));
        else
            say(QStringLiteral("Project %1 could not be saved").arg(ProjectName(created)));
    }
    rebuildAndRefresh(-1, Workspace().projectCount() - 1);
    if (created >= 0) projectsChanged(created);
}

void MainWindow::openProject() {
    ui::OpenProjectDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    // The folder is listed again: the position picked names an entry of the list as it is now.
    const std::vector<ProjectListEntry> entries = ListProjects();
    const int chosen = Workspace().chosenProjectEntry;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= entries.size()) return;
    openProjectFolder(JoinPath(ProjectsFolder(), entries[static_cast<std::size_t>(chosen)].folderName));
}

void MainWindow::openProjectFolder(const std::string& folder) {
    // A project opened twice would be two copies saving over each other's changes: the open
    // one is selected instead.
    const int open = OpenProjectInFolder(folder);
    if (open >= 0) {
        tree_->refresh(-1, open);
        say(QStringLiteral("Project %1 is already open").arg(ProjectName(open)));
        return;
    }
    if (!HoldsProject(folder)) {
        say(QStringLiteral("There is no project in %1 any more").arg(QString::fromStdString(folder)));
        preview_->startPage()->refresh();
        return;
    }
    const int index = LoadProjectFolder(folder);
    if (index < 0) {
        say(QStringLiteral("The project in %1 could not be opened").arg(QString::fromStdString(folder)));
        return;
    }
    rebuildAndRefresh(-1, index);
    say(QStringLiteral("Opened project %1").arg(ProjectName(index)));
    projectsChanged(index);
}

void MainWindow::closeProject(int index) {
    if (!ProjectAt(index)) return;
    const QString name = ProjectName(index);
    CloseProject(index);
    const int count = Workspace().projectCount();
    rebuildAndRefresh(-1, count == 0 ? -1 : std::min(index, count - 1));
    say(QStringLiteral("Closed project %1").arg(name));
    projectsChanged(-1);
}

void MainWindow::newItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Object) return;
    const ObjectRecord* group = FindObject(node->objectId, node->projectIndex);
    if (!group || group->tipoOggetto != kGroupType) return;
    const int project = node->projectIndex;
    const QString groupName = Quoted(group->sDescrizione);
    const std::int32_t id = NewItem(project, node->objectId);
    if (id == 0) {
        say(QStringLiteral("No new item was made in %1").arg(groupName));
        return;
    }
    rebuildAndRefresh(id, project);
    say(QStringLiteral("Created %1").arg(ObjectName(project, id)));
}

void MainWindow::editItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Object) return;
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    if (!object || !IsEditAllowed(object->tipoOggetto)) return;
    if (!ui::HasEditor(object->tipoOggetto)) {
        ShowMessage(kEditorMissingText);
        say(QStringLiteral("%1 has no editor yet").arg(Quoted(object->sDescrizione)));
        return;
    }
    const int project = node->projectIndex;
    const std::int32_t id = node->objectId;
    const auto before = ProjectFileTime(project);
    ui::OpenEditor(this, project, id);
    refreshProblems();  // the editor may have saved
    const QString name = ObjectName(project, id);
    if (ProjectFileTime(project) != before)
        say(QStringLiteral("Saved %1").arg(name));
    else
        say(QStringLiteral("No changes to %1").arg(name));
}

void MainWindow::deleteItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Object) return;
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    if (!object) return;
    // Refused: the items that keep this one are offered.
    if (!IsObjectDeletable(node->projectIndex, *object)) {
        OfferUsesOfUndeletable(this, node->projectIndex, node->objectId);
        return;
    }
    const int project = node->projectIndex;
    const std::int32_t id = node->objectId;
    const QString name = Quoted(object->sDescrizione);
    if (!ConfirmOkCancel("Are You sure you want to permanently delete this item?")) {
        say(QStringLiteral("%1 was not deleted").arg(name));
        return;
    }
    if (DeleteItem(project, id)) {
        rebuildAndRefresh(-1, project);
        say(QStringLiteral("Deleted %1").arg(name));
    } else {
        say(QStringLiteral("%1 could not be deleted").arg(name));
    }
}

void MainWindow::copyItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node) return;
    const int project = node->projectIndex;
    if (node->kind == NodeKind::Project) {
        if (!ProjectAt(project)) return;
        const QString name = ProjectName(project);
        const int copy = CopyProject(project);
        if (copy < 0) {
            say(QStringLiteral("Project %1 could not be copied").arg(name));
            return;
        }
        rebuildAndRefresh(-1, copy);
        say(QStringLiteral("Copied project %1 to %2").arg(name, ProjectName(copy)));
        projectsChanged(copy);
        return;
    }
    if (node->kind != NodeKind::Object) return;
    const QString name = ObjectName(project, node->objectId);
    const std::int32_t copy = CopyItem(project, node->objectId);
    if (copy == 0) {
        say(QStringLiteral("%1 could not be copied").arg(name));
        return;
    }
    rebuildAndRefresh(copy, project);
    say(QStringLiteral("Copied %1").arg(name));
}

void MainWindow::compile(int index) {
    const ProjectRecord* project = ProjectAt(index);
    if (!project) return;
    const std::string folder = project->sPathProgetto;
    const QString name = ProjectName(index);
    bool built;
    {
        WaitCursor wait;
        built = BuildGame(index, BuildMode::Compile);
    }
    refreshProblems();
    if (!built) {
        say(QStringLiteral("Compiling %1 failed").arg(name));
        return;
    }
    const std::string release = JoinPath(folder, kReleaseFolderName);
    say(QStringLiteral("Compiled into %1").arg(QString::fromStdString(release)));
    Desktop().open(release);
}

void MainWindow::testGame(int index) {
    if (!ProjectAt(index)) return;
    ui::ShowRecordsWarningIfWanted(this);
    const ProjectRecord* project = ProjectAt(index);
    if (!project) return;
    const std::string folder = project->sPathProgetto;
    const QString name = ProjectName(index);
    bool built;
    {
        WaitCursor wait;
        built = BuildGame(index, BuildMode::Test);
    }
    refreshProblems();
    if (!built) {
        say(QStringLiteral("The test build of %1 failed").arg(name));
        return;
    }
    // Browsers play Flash only through Ruffle, which needs the page over http: serve the
    // project and Ruffle on the loopback address. Without Ruffle the page file is opened.
    const std::string ruffle = FindRuffleFolder();
    const std::string url = ruffle.empty() ? std::string() : ServeTestGame(folder, ruffle, kPageFileName);
    Desktop().open(url.empty() ? JoinPath(folder, kPageFileName) : url);
    say(QStringLiteral("Testing %1 in the web browser").arg(name));
}

void MainWindow::preferences() {
    ui::PreferencesDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) say(QStringLiteral("Preferences saved"));
}

void MainWindow::help() {
    Desktop().open(HelpPagePath());
    say(QStringLiteral("Help opened in the web browser"));
}

void MainWindow::applyRename(int projectIndex, std::int32_t objectId, const QString& text) {
    ObjectRecord* object = FindObject(objectId, projectIndex);
    if (!object) return;
    QString clean = text;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const std::string name = ui::ToRecordText(clean, kMaxNameLength);
    // An empty name would leave nothing to click in the tree: the old one stays.
    if (name.empty() || name == object->sDescrizione) {
        tree_->refresh(objectId, projectIndex);
        return;
    }
    const std::string old = object->sDescrizione;
    object->sDescrizione = name;
    if (!SaveProject(projectIndex)) {
        // The file keeps the old name, so the workspace does too.
        if (ObjectRecord* again = FindObject(objectId, projectIndex)) again->sDescrizione = old;
        say(QStringLiteral("%1 could not be renamed").arg(Quoted(old)));
    } else {
        say(QStringLiteral("Renamed %1 to %2").arg(Quoted(old), Quoted(name)));
    }
    rebuildAndRefresh(objectId, projectIndex);
}

} // namespace qb::app
