#include "app/main_window.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

#include "app/app_folder.h"
#include "app/history_dialog.h"
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
#include "toolkit/records_warning_dialog.h"

namespace qb::app {

namespace {

constexpr std::uint32_t kGroupType = 0;

std::string SameFolderKey(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return (ec ? std::filesystem::path(path) : canonical).lexically_normal().string();
}

// The index of an open project stored in that folder, or -1.
int OpenProjectInFolder(const std::string& folder) {
    const std::string key = SameFolderKey(folder);
    for (int p = 0; p < Workspace().projectCount(); ++p)
        if (SameFolderKey(ProjectAt(p)->sPathProgetto) == key) return p;
    return -1;
}

} // namespace

MainWindow::MainWindow() : QWidget(nullptr) {
    setObjectName("mainWindow");
    setWindowTitle(kWindowTitle);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor("#c9ced6"));
    setPalette(palette);

    layout_ = new PanelLayout(this);
    tree_ = new TreePanel(this);
    tree_->setAutoFillBackground(true);
    tree_->setPalette(QWidget::palette());
    {
        QPalette panelPalette = tree_->palette();
        panelPalette.setColor(QPalette::Window, QColor("#eef2f7"));
        tree_->setPalette(panelPalette);
    }
    layout_->addPanel(tree_, QRect(0, CommandPanel::kHeight, kTreePanelWidth, 0));
    commands_ = new CommandPanel(this);
    layout_->addPanel(commands_, QRect(0, 0, 0, CommandPanel::kHeight));

    // Announced as the application's window, not as an anonymous pane.
    ui::SetAccessibleView(this, kWindowTitle, QAccessible::Window);
    previewArea_ = new QWidget(this);
    previewArea_->setObjectName("previewArea");
    previewArea_->setAttribute(Qt::WA_TransparentForMouseEvents);
    previewArea_->setFocusPolicy(Qt::NoFocus);
    ui::SetAccessibleView(previewArea_, QStringLiteral("Preview"), QAccessible::Graphic);
    previewArea_->hide();
    previewArea_->installEventFilter(this);

    problems_ = new ProblemsPanel(this);
    problems_->setAutoFillBackground(true);
    problems_->setPalette(tree_->palette());
    connect(problems_, &ProblemsPanel::visibilityChanged, this, [this] { placeProblems(); });
    connect(problems_, &ProblemsPanel::itemActivated, this, &MainWindow::showProblemItem);
    InstallWhereUsed(this);

    connect(tree_, &TreePanel::selectionChanged, this, [this] {
        commands_->setEnabledCommands(EnabledCommands(tree_->currentNode()));
        // Another project selected: its problems.
        const TreeNode* node = tree_->currentNode();
        if ((node ? node->projectIndex : -1) != problems_->projectIndex()) refreshProblems();
    });
    connect(tree_, &TreePanel::previewChanged, this, [this] {
        namePreview();
        watchPreview();
        repaint();
    });
    connect(commands_, &CommandPanel::commandClicked, this, &MainWindow::run);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        watchPreview();
        update();
    });

    ui::SetTreeRefresher([this](std::int32_t objectId, int projectIndex) {
        rebuildAndRefresh(objectId, projectIndex);
    });
    ui::SetPreviewRepainter([this] {
        if (tree_->reloadPreviewIfChanged()) watchPreview();
        repaint();
    });
    new HistoryActions(this);  // Undo last change, Redo, History...
}

MainWindow::~MainWindow() {
    ui::SetTreeRefresher(nullptr);
    ui::SetPreviewRepainter(nullptr);
}

QRect MainWindow::freeArea() const { return layout_->freeArea(rect()); }

void MainWindow::namePreview() {
    const std::string& path = tree_->previewPath();
    previewArea_->setAccessibleDescription(
        QString::fromStdString(std::filesystem::path(path).filename().string()));
    previewArea_->setGeometry(freeArea());
    previewArea_->setVisible(!path.empty());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Painting over the preview is painting the preview: its file is looked at again.
    if (watched == previewArea_ && event->type() == QEvent::Paint) queuePreviewCheck();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::queuePreviewCheck() {
    if (previewCheckQueued_) return;
    previewCheckQueued_ = true;
    QTimer::singleShot(0, this, &MainWindow::checkPreviewFile);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeProblems();
    previewArea_->setGeometry(freeArea());
}

void MainWindow::rebuildAndRefresh(std::int32_t objectId, int projectIndex) {
    tree_->rebuild();
    tree_->refresh(objectId, projectIndex);
    refreshProblems();  // the project was saved
}

void MainWindow::refreshProblems() {
    const TreeNode* node = tree_->currentNode();
    problems_->showProject(node ? node->projectIndex : -1);
}

void MainWindow::placeProblems() {
    const bool shown = problems_->isVisibleTo(this);
    layout_->setPlacement(tree_, QRect(0, CommandPanel::kHeight, kTreePanelWidth,
                                       shown ? -kProblemsPanelHeight : 0));
    problems_->setGeometry(0, height() - kProblemsPanelHeight, kTreePanelWidth,
                           kProblemsPanelHeight);
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
        update();
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (tree_->previewPath().empty()) return;
    // The file may have changed since the picture was made; it is decoded again outside the
    // paint (a broken file makes the decoder show a message, which must not happen while
    // painting), and this paint shows what there is.
    queuePreviewCheck();
    const QImage& image = tree_->previewImage();
    if (image.isNull()) return;
    const QRect area = freeArea();
    if (area.isEmpty()) return;
    QPainter painter(this);
    painter.setClipRect(area);
    painter.drawImage(area.topLeft(), image);
}

void MainWindow::changeEvent(QEvent* event) {
    // Coming back from the external image editor: show the picture as it is now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) update();
    QWidget::changeEvent(event);
}

void MainWindow::run(Command command) {
    switch (command) {
    case Command::NewProject: return newProject();
    case Command::OpenProject: return openProject();
    case Command::CloseProject: return closeProject();
    case Command::NewItem: return newItem();
    case Command::EditItem: return editItem();
    case Command::DeleteItem: return deleteItem();
    case Command::CopyItem: return copyItem();
    case Command::Compile: return compile();
    case Command::TestGame: return testGame();
    case Command::Preferences: return preferences();
    case Command::Help: return help();
    }
}

void MainWindow::newProject() {
    ui::NewProjectDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        workspace& ws = Workspace();
        std::error_code ec;
        std::filesystem::create_directories(ws.pendingProjectFolder, ec);
        const int index = CreateProject(ws.chosenGameType);
        SaveProject(index);
    }
    rebuildAndRefresh(-1, Workspace().projectCount() - 1);
}

void MainWindow::openProject() {
    ui::OpenProjectDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    // The folder is listed again: the position picked names an entry of the list as it is now.
    const std::vector<ProjectListEntry> entries = ListProjects();
    const int chosen = Workspace().chosenProjectEntry;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= entries.size()) return;
    const std::string& folderName = entries[static_cast<std::size_t>(chosen)].folderName;
    // A project opened twice would be two copies saving over each other's changes: the open
    // one is selected instead.
    const int open = OpenProjectInFolder(JoinPath(ProjectsFolder(), folderName));
    if (open >= 0) {
        tree_->refresh(-1, open);
        return;
    }
    const int index = LoadProject(folderName);
    if (index >= 0) rebuildAndRefresh(-1, index);
}

void MainWindow::closeProject() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Project || !ProjectAt(node->projectIndex)) return;
    const int index = node->projectIndex;
    CloseProject(index);
    const int count = Workspace().projectCount();
    rebuildAndRefresh(-1, count == 0 ? -1 : std::min(index, count - 1));
}

void MainWindow::newItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Object) return;
    const ObjectRecord* group = FindObject(node->objectId, node->projectIndex);
    if (!group || group->tipoOggetto != kGroupType) return;
    const int project = node->projectIndex;
    const std::int32_t id = NewItem(project, node->objectId);
    if (id != 0) rebuildAndRefresh(id, project);
}

void MainWindow::editItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Object) return;
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    if (!object || !IsEditAllowed(object->tipoOggetto)) return;
    if (!ui::HasEditor(object->tipoOggetto)) {
        ShowMessage(kEditorMissingText);
        return;
    }
    ui::OpenEditor(this, node->projectIndex, node->objectId);
    refreshProblems();  // the editor may have saved
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
    if (!ConfirmOkCancel("Are You sure you want to permanently delete this item?")) return;
    if (DeleteItem(project, id)) rebuildAndRefresh(-1, project);
}

void MainWindow::copyItem() {
    const TreeNode* node = tree_->currentNode();
    if (!node) return;
    const int project = node->projectIndex;
    if (node->kind == NodeKind::Project) {
        if (!ProjectAt(project)) return;
        const int copy = CopyProject(project);
        if (copy >= 0) rebuildAndRefresh(-1, copy);
        return;
    }
    if (node->kind != NodeKind::Object) return;
    const std::int32_t copy = CopyItem(project, node->objectId);
    if (copy != 0) rebuildAndRefresh(copy, project);
}

void MainWindow::compile() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Project) return;
    const ProjectRecord* project = ProjectAt(node->projectIndex);
    if (!project) return;
    const std::string folder = project->sPathProgetto;
    bool built;
    {
        WaitCursor wait;
        built = BuildGame(node->projectIndex, BuildMode::Compile);
    }
    if (built) Desktop().open(JoinPath(folder, kReleaseFolderName));
}

void MainWindow::testGame() {
    const TreeNode* node = tree_->currentNode();
    if (!node || node->kind != NodeKind::Project || !ProjectAt(node->projectIndex)) return;
    const int index = node->projectIndex;
    ui::ShowRecordsWarningIfWanted(this);
    const ProjectRecord* project = ProjectAt(index);
    if (!project) return;
    const std::string folder = project->sPathProgetto;
    bool built;
    {
        WaitCursor wait;
        built = BuildGame(index, BuildMode::Test);
    }
    if (!built) return;
    // Browsers play Flash only through Ruffle, which needs the page over http: serve the
    // project and Ruffle on the loopback address. Without Ruffle the page file is opened.
    const std::string ruffle = FindRuffleFolder();
    const std::string url = ruffle.empty() ? std::string() : ServeTestGame(folder, ruffle, kPageFileName);
    Desktop().open(url.empty() ? JoinPath(folder, kPageFileName) : url);
}

void MainWindow::preferences() {
    ui::PreferencesDialog dialog(this);
    dialog.exec();
}

void MainWindow::help() { Desktop().open(HelpPagePath()); }

} // namespace qb::app
