#include "app/uses_dialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "model/commands.h"
#include "model/references.h"
#include "model/workspace.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/qtext.h"

namespace qb::app {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString Quoted(const ObjectRecord& object) {
    return QStringLiteral("'") + ui::FromRecordText(object.sDescrizione) + QStringLiteral("'");
}

// The item selected in the tree (an object that is no group), or null.
const TreeNode* SelectedObject(const TreePanel* tree) {
    const TreeNode* node = tree->currentNode();
    if (!node || node->kind != NodeKind::Object) return nullptr;
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    return object && object->tipoOggetto != 0 ? node : nullptr;
}

// Delete pressed in the tree on an item that others keep: their list instead of nothing.
class DeleteKeyWatcher final : public QObject {
public:
    explicit DeleteKeyWatcher(MainWindow* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Delete || key->modifiers() != Qt::NoModifier) return false;
        const TreeNode* node = SelectedObject(window_->treePanel());
        if (!node) return false;
        const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
        if (!object || IsObjectDeletable(node->projectIndex, *object)) return false;
        return OfferUsesOfUndeletable(window_, node->projectIndex, node->objectId);
    }

private:
    MainWindow* window_;
};

} // namespace

UsesDialog::UsesDialog(QWidget* owner, int projectIndex, std::int32_t objectId,
                       bool refusedDelete)
    : QDialog(owner) {
    ui::SetUpModalDialog(this, "usesDialog", kWhereUsedText);
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName("usesHeading");
    heading_->setWordWrap(true);
    layout->addWidget(heading_);

    list_ = new QTreeWidget(this);
    list_->setObjectName("usesList");
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Type")});
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setAlternatingRowColors(true);
    list_->setMinimumSize(420, 180);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    heading_->setBuddy(list_);
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName("buttons");
    openButton_ = buttons->addButton(QStringLiteral("Open"), QDialogButtonBox::AcceptRole);
    openButton_->setObjectName("openButton");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("closeButton");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(openButton_, &QPushButton::clicked, this, [this] { open(list_->currentItem()); });
    // A double-click and Enter open the line's item.
    connect(list_, &QTreeWidget::itemActivated, this, &UsesDialog::open);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { openButton_->setEnabled(current != nullptr); });

    ProjectRecord* project = ProjectAt(projectIndex);
    const ObjectRecord* object = project ? FindObject(*project, objectId) : nullptr;
    if (!object) {
        heading_->setText(QStringLiteral("The item no longer exists."));
    } else {
        uses_ = ItemUses(*project, objectId, refusedDelete);
        const QString name = Quoted(*object);
        if (refusedDelete)
            heading_->setText(name + QStringLiteral(" cannot be deleted while these items use it:"));
        else if (uses_.empty())
            heading_->setText(QStringLiteral("No item uses ") + name + QStringLiteral("."));
        else
            heading_->setText(QStringLiteral("Items that use ") + name + QStringLiteral(":"));
        for (const std::int32_t id : uses_) {
            const ObjectRecord* user = FindObject(*project, id);
            if (!user) continue;
            auto* item = new QTreeWidgetItem(
                list_, {ui::FromRecordText(user->sDescrizione),
                        ui::FromRecordText(ItemTypeName(user->tipoOggetto, project->tipoGioco))});
            item->setData(0, kIdRole, id);
        }
    }
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
        list_->setFocus();
    } else {
        openButton_->setEnabled(false);
        close->setDefault(true);
        close->setFocus();
    }
    ui::NameFieldsForAccessibility(this);
}

void UsesDialog::open(QTreeWidgetItem* item) {
    if (!item) return;
    chosen_ = item->data(0, kIdRole).toInt();
    accept();
}

void ShowItemUses(MainWindow* window, int projectIndex, std::int32_t objectId,
                  bool refusedDelete) {
    std::int32_t chosen = 0;
    {
        UsesDialog dialog(window, projectIndex, objectId, refusedDelete);
        if (dialog.exec() != QDialog::Accepted) return;
        chosen = dialog.chosenId();
    }
    if (chosen == 0 || !FindObject(chosen, projectIndex)) return;
    TreePanel* tree = window->treePanel();
    tree->refresh(chosen, projectIndex);
    const TreeNode* node = tree->currentNode();
    if (node && node->kind == NodeKind::Object && node->objectId == chosen &&
        Has(EnabledCommands(node), Command::EditItem))
        window->run(Command::EditItem);
}

bool OfferUsesOfUndeletable(MainWindow* window, int projectIndex, std::int32_t objectId) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    if (!project || ItemUses(*project, objectId, /*inUseOnly=*/true).empty()) return false;
    ShowItemUses(window, projectIndex, objectId, /*refusedDelete=*/true);
    return true;
}

QAction* InstallWhereUsed(MainWindow* window) {
    TreePanel* tree = window->treePanel();
    auto* action = new QAction(QString::fromLatin1(kWhereUsedText), window);
    action->setObjectName("whereUsedAction");
    action->setShortcut(QKeySequence(QString::fromLatin1(kWhereUsedKey)));
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    window->addAction(action);
    QObject::connect(action, &QAction::triggered, window, [window] {
        if (const TreeNode* node = SelectedObject(window->treePanel()))
            ShowItemUses(window, node->projectIndex, node->objectId);
    });
    QObject::connect(tree, &TreePanel::selectionChanged, action,
                     [action, tree] { action->setEnabled(SelectedObject(tree) != nullptr); });
    // The tree's context menu.
    QTreeWidget* view = tree->tree();
    if (view->contextMenuPolicy() == Qt::DefaultContextMenu)
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
    view->addAction(action);
    view->installEventFilter(new DeleteKeyWatcher(window));
    return action;
}

} // namespace qb::app
