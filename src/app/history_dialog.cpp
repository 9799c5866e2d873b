#include "app/history_dialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/named_widgets.h"

namespace qb::app {

namespace {

constexpr int kVersionRole = Qt::UserRole;
constexpr int kButtonMargin = 8;

// "there is no change to undo" -> "There is no change to undo."
std::string Sentence(std::string text) {
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

} // namespace

bool ReloadProject(int projectIndex, std::int32_t objectId) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return false;
    const std::string folder = project->sPathProgetto;
    ProjectRecord reloaded;
    std::string error;
    if (!ReadProjectFile(JoinPath(folder, kProjectFileName), folder, reloaded, &error)) {
        ShowMessage(error.empty() ? "The project could not be read again." : error);
        return false;
    }
    reloaded.sPathProgetto = folder;
    *project = std::move(reloaded);
    ui::RebuildAndRefreshTree(FindObject(objectId, projectIndex) ? objectId : -1, projectIndex);
    ui::RepaintPreview();
    return true;
}

// --- The actions -------------------------------------------------------------------------------

HistoryActions::HistoryActions(MainWindow* window) : QObject(window), window_(window) {
    setObjectName("historyActions");
    const auto make = [&](const char* name, const char* text, const QKeySequence& keys) {
        auto* action = new QAction(QString::fromLatin1(text), window);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        return action;
    };
    undo_ = make("undoLastChangeAction", kUndoText, QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = make("redoAction", kRedoText, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    history_ = make("historyAction", kHistoryText, QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(undo_, &QAction::triggered, this, &HistoryActions::undoLastChange);
    connect(redo_, &QAction::triggered, this, &HistoryActions::redoChange);
    connect(history_, &QAction::triggered, this, &HistoryActions::showHistory);

    button_ = new QToolButton(window);
    button_->setObjectName("historyButton");
    button_->setText(QStringLiteral("History"));
    button_->setToolTip(QStringLiteral("Undo last change (Ctrl+Z), Redo (Ctrl+Shift+Z) and the "
                                       "versions of the selected project"));
    button_->setAccessibleName(QStringLiteral("History"));
    button_->setPopupMode(QToolButton::InstantPopup);
    button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(button_);
    menu->setObjectName("historyMenu");
    menu->addAction(undo_);
    menu->addAction(redo_);
    menu->addSeparator();
    menu->addAction(history_);
    connect(menu, &QMenu::aboutToShow, this, &HistoryActions::updateEnabled);
    connect(menu, &QMenu::aboutToHide, this, [this] {
        // The shortcuts answer with a message when there is nothing to do.
        undo_->setEnabled(true);
        redo_->setEnabled(true);
    });
    button_->setMenu(menu);
    window->installEventFilter(this);
    place();
}

bool HistoryActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        place();
    return QObject::eventFilter(watched, event);
}

void HistoryActions::place() {
    button_->adjustSize();
    const QRect area = window_->freeArea();
    button_->move(area.right() - button_->width() - kButtonMargin + 1, area.top() + kButtonMargin);
    button_->raise();
}

void HistoryActions::updateEnabled() {
    const TreeNode* node = window_->treePanel()->currentNode();
    const ProjectRecord* project = node ? ProjectAt(node->projectIndex) : nullptr;
    undo_->setEnabled(project && CanUndo(project->sPathProgetto));
    redo_->setEnabled(project && CanRedo(project->sPathProgetto));
    history_->setEnabled(project != nullptr);
}

int HistoryActions::selectedProject() const {
    const TreeNode* node = window_->treePanel()->currentNode();
    if (!node || !ProjectAt(node->projectIndex)) {
        ShowMessage("Select a project first: its history is the one used.");
        return -1;
    }
    return node->projectIndex;
}

void HistoryActions::undoLastChange() {
    const int index = selectedProject();
    if (index < 0) return;
    std::string error;
    std::int32_t objectId = 0;
    bool undone;
    {
        WaitCursor wait;
        undone = UndoLastChange(ProjectAt(index)->sPathProgetto, &error, &objectId);
    }
    if (!undone) return ShowMessage(Sentence(error));
    ReloadProject(index, objectId);
}

void HistoryActions::redoChange() {
    const int index = selectedProject();
    if (index < 0) return;
    std::string error;
    std::int32_t objectId = 0;
    bool redone;
    {
        WaitCursor wait;
        redone = RedoChange(ProjectAt(index)->sPathProgetto, &error, &objectId);
    }
    if (!redone) return ShowMessage(Sentence(error));
    ReloadProject(index, objectId);
}

void HistoryActions::showHistory() {
    const int index = selectedProject();
    if (index < 0) return;
    HistoryDialog dialog(window_, index);
    dialog.exec();
}

// --- The dialog ------------------------------------------------------------------------------

HistoryDialog::HistoryDialog(QWidget* owner, int projectIndex)
    : QDialog(owner), projectIndex_(projectIndex) {
    ui::SetUpModalDialog(this, QStringLiteral("historyDialog"), QStringLiteral("History"));
    const ProjectRecord* project = ProjectAt(projectIndex);
    folder_ = project ? project->sPathProgetto : std::string();
    auto* layout = new QVBoxLayout(this);
    auto* title = ui::Named<QLabel>(
        "versionsLabel",
        QStringLiteral("Versions of \"%1\", newest first:")
            .arg(QString::fromStdString(project ? project->sNomeProgetto : std::string())));
    list_ = ui::Named<QTreeWidget>("versionsList");
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Version"), QStringLiteral("Time"),
                            QStringLiteral("What changed")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(560, 320);
    title->setBuddy(list_);
    auto* note = ui::Named<QLabel>(
        "restoreNoteLabel",
        QStringLiteral("Each version is the project as it was before that change. Restoring one "
                       "is a change of its own, so Undo last change takes it back."));
    note->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(list_, 1);
    layout->addWidget(note);

    auto* buttons = ui::Named<QDialogButtonBox>("buttons");
    restore_ = ui::Named<QPushButton>("restoreButton", QStringLiteral("Restore"));
    restore_->setEnabled(false);
    buttons->addButton(restore_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("closeButton");
    layout->addWidget(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(restore_, &QPushButton::clicked, this, &HistoryDialog::restoreSelected);
    connect(list_, &QTreeWidget::itemSelectionChanged, this,
            [this] { restore_->setEnabled(!list_->selectedItems().isEmpty()); });
    connect(list_, &QTreeWidget::itemActivated, this, [this] { restoreSelected(); });
    fill();
}

void HistoryDialog::fill() {
    list_->clear();
    std::vector<HistoryVersion> versions;
    std::string error;
    if (!ListHistory(folder_, versions, &error)) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(2, QString::fromStdString("The history cannot be read: " + error));
        row->setFlags(Qt::NoItemFlags);
        return;
    }
    for (auto it = versions.rbegin(); it != versions.rend(); ++it) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(0, QString::number(it->number));
        row->setText(1, QString::fromStdString(FormatVersionTime(it->timeMs)));
        row->setText(2, QString::fromStdString(it->what));
        row->setData(0, kVersionRole, it->number);
        row->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = 0; c < 2; ++c) list_->resizeColumnToContents(c);
}

void HistoryDialog::restoreSelected() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const int number = selected.front()->data(0, kVersionRole).toInt();
    if (number <= 0) return;
    std::string error;
    std::int32_t objectId = 0;
    bool restored;
    {
        WaitCursor wait;
        restored = RestoreVersion(folder_, number, &error, &objectId);
    }
    if (!restored) {
        ShowMessage("Version " + std::to_string(number) + " was not restored: " + error);
        fill();
        return;
    }
    ReloadProject(projectIndex_, objectId);
    accept();
}

} // namespace qb::app
