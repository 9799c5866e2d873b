#include "app/project_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <unordered_map>

#include "app/tree_drop.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/workspace.h"
#include "toolkit/picture_image.h"
#include "toolkit/qtext.h"

namespace qb::app {

namespace {

TreePanel* g_panel = nullptr;

std::string CutLabel(std::string label) {
    if (label.size() > kMaxNodeLabel) label.resize(kMaxNodeLabel);
    return label;
}

std::optional<std::filesystem::file_time_type> ModificationTime(const std::string& path) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return time;
}

constexpr std::uint32_t kGroupType = 0;

// Edits a label in place: the line is cut to a description's length, and what is confirmed is
// handed on instead of being written into the tree (the tree is refilled from the model).
class RenameDelegate final : public QStyledItemDelegate {
public:
    RenameDelegate(QObject* parent, std::function<void(const QString&)> commit)
        : QStyledItemDelegate(parent), commit_(std::move(commit)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName("renameEdit");
        edit->setAccessibleName(QStringLiteral("Item name"));
        edit->setMaxLength(static_cast<int>(kMaxNameLength));
        return edit;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) commit_(edit->text());
    }

private:
    std::function<void(const QString&)> commit_;
};

} // namespace

std::vector<TreeNode> BuildProjectNodes() {
    std::vector<TreeNode> nodes;
    const workspace& ws = Workspace();
    std::size_t total = 1;
    for (const auto& project : ws.projects) total += 1 + project->objects.size();
    nodes.reserve(total);

    nodes.push_back(TreeNode{0, -1, nullptr, kRootLabel, -1, -1, NodeKind::Root});
    std::int32_t counter = 1;
    for (int p = 0; p < ws.projectCount(); ++p) {
        const ProjectRecord& project = *ws.projects[static_cast<std::size_t>(p)];
        const std::int32_t projectNode = counter++;
        nodes.push_back(TreeNode{projectNode, 0, nullptr,
                                 CutLabel(kProjectLabelPrefix + project.sNomeProgetto), p, -1,
                                 NodeKind::Project});
        // Node IDs of this project's objects follow its node in table order, so the group that
        // holds a type is known before the objects are placed: the last group of that subtype.
        std::unordered_map<std::uint32_t, std::int32_t> groupNode;
        for (std::size_t i = 0; i < project.objects.size(); ++i) {
            const ObjectRecord& object = project.objects[i];
            if (object.tipoOggetto == kGroupType)
                groupNode[object.sottoTipoOggetto] =
                    projectNode + 1 + static_cast<std::int32_t>(i);
        }
        for (const ObjectRecord& object : project.objects) {
            std::int32_t parent;
            if (object.tipoOggetto == kGroupType) {
                parent = projectNode;
            } else {
                auto group = groupNode.find(object.tipoOggetto);
                if (IsGroupedType(object.tipoOggetto)) {
                    parent = group != groupNode.end() ? group->second : 0;
                } else {
                    // Types outside the grouped set (the music game's 400 and 401) go to a group
                    // of their own type when the project has one, else to the project.
                    parent = group != groupNode.end() ? group->second : projectNode;
                }
            }
            nodes.push_back(TreeNode{counter++, parent, nullptr, CutLabel(object.sDescrizione), p,
                                     object.IDoggetto, NodeKind::Object});
        }
    }
    return nodes;
}

CommandSet EnabledCommands(const TreeNode* node) {
    CommandSet set;
    set.set(static_cast<std::size_t>(Command::Preferences));
    set.set(static_cast<std::size_t>(Command::Help));
    auto enable = [&](Command command) { set.set(static_cast<std::size_t>(command)); };
    if (!node) return set;
    switch (node->kind) {
    case NodeKind::Root:
        enable(Command::NewProject);
        enable(Command::OpenProject);
        return set;
    case NodeKind::Project:
        if (!ProjectAt(node->projectIndex)) return set;
        enable(Command::CloseProject);
        enable(Command::Compile);
        enable(Command::TestGame);
        enable(Command::CopyItem);
        return set;
    case NodeKind::Object:
        break;
    }
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    if (!object) return set;
    if (object->tipoOggetto == kGroupType) {
        const std::uint32_t subtype = object->sottoTipoOggetto;
        if (IsNewItemAllowed(subtype) &&
            !(IsSingletonType(subtype) && HasObjectOfType(node->projectIndex, subtype)))
            enable(Command::NewItem);
        return set;
    }
    if (IsEditAllowed(object->tipoOggetto)) enable(Command::EditItem);
    if (IsCopyAllowed(object->tipoOggetto)) enable(Command::CopyItem);
    if (IsObjectDeletable(node->projectIndex, *object)) enable(Command::DeleteItem);
    return set;
}

CommandSet KeyboardCommands(const TreeNode* node) {
    CommandSet set = EnabledCommands(node);
    set.set(static_cast<std::size_t>(Command::NewProject));
    set.set(static_cast<std::size_t>(Command::OpenProject));
    if (node && ProjectAt(node->projectIndex) &&
        (node->kind == NodeKind::Project || FindObject(node->objectId, node->projectIndex))) {
        set.set(static_cast<std::size_t>(Command::CloseProject));
        set.set(static_cast<std::size_t>(Command::Compile));
        set.set(static_cast<std::size_t>(Command::TestGame));
    }
    return set;
}

bool CanRename(const TreeNode* node) {
    if (!node || node->kind != NodeKind::Object) return false;
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    return object && object->tipoOggetto != kGroupType && IsEditAllowed(object->tipoOggetto);
}

TreePanel::TreePanel(QWidget* parent) : QWidget(parent), tree_(new QTreeWidget(this)) {
    setObjectName("treePanel");
    tree_->setObjectName("projectTree");
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    // Read out by assistive technology: the tree's name and its one column.
    tree_->setHeaderLabels({QStringLiteral("Workspace")});
    tree_->setAccessibleName(QStringLiteral("Projects"));
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    // Four levels deep the group labels still fit the 208-pixel panel.
    tree_->setIndentation(14);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setExpandsOnDoubleClick(true);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(tree_);
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { onCurrentItemChanged(item); });
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { rememberExpanded(item, true); });
    connect(tree_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { rememberExpanded(item, false); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { emit activated(); });
    auto* delegate = new RenameDelegate(this, [this](const QString& text) {
        const TreeNode* node = currentNode();
        if (!node || node->kind != NodeKind::Object) return;
        const int project = node->projectIndex;
        const std::int32_t object = node->objectId;
        // The tree is refilled by whoever applies the new name: not while its editor closes.
        QMetaObject::invokeMethod(this, [this, project, object, text] {
            emit renamed(project, object, text);
        }, Qt::QueuedConnection);
    });
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] { renaming_ = false; });
    tree_->setItemDelegate(delegate);
    tree_->installEventFilter(this);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QPoint where = tree_->viewport()->mapToGlobal(at);
        if (QTreeWidgetItem* item = tree_->itemAt(at)) {
            tree_->setCurrentItem(item);
        } else if (QTreeWidgetItem* current = tree_->currentItem()) {
            // From the keyboard: beside the selected node.
            where = tree_->viewport()->mapToGlobal(tree_->visualItemRect(current).center());
        }
        emit contextMenuRequested(where);
    });
    // Files dropped from a file manager become items, or replace an item's file.
    new TreeDrop(this);
    if (!g_panel) g_panel = this;
}

TreePanel::~TreePanel() {
    if (g_panel == this) g_panel = nullptr;
}

TreePanel::NodeKey TreePanel::keyOf(const TreeNode& node) const {
    const ProjectRecord* project = ProjectAt(node.projectIndex);
    return {project ? project->sPathProgetto : std::string(),
            node.kind == NodeKind::Object ? node.objectId : -1};
}

void TreePanel::rememberExpanded(QTreeWidgetItem* item, bool expanded) {
    for (std::size_t i = nodes_.size(); i-- > 0;) {
        if (nodes_[i].item != item) continue;
        if (expanded)
            expanded_.insert(keyOf(nodes_[i]));
        else
            expanded_.erase(keyOf(nodes_[i]));
        return;
    }
}

bool TreePanel::eventFilter(QObject* watched, QEvent* event) {
    // Keys the rename line does not use (Enter, for one) come on to the tree: not its own.
    if (watched == tree_ && event->type() == QEvent::KeyPress && !renaming_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            // Enter on a node that does not open an editor opens or closes it.
            QTreeWidgetItem* item = tree_->currentItem();
            if (item && item->childCount() > 0) item->setExpanded(!item->isExpanded());
            emit activated();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier) {
            if (key->key() == Qt::Key_Delete) {
                emit deleteRequested();
                return true;
            }
            if (key->key() == Qt::Key_F2) {
                emit renameRequested();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TreePanel::startRename() {
    const TreeNode* node = currentNode();
    if (!CanRename(node) || !node->item) return false;
    node->item->setFlags(node->item->flags() | Qt::ItemIsEditable);
    tree_->editItem(node->item, 0);
    renaming_ = tree_->indexWidget(tree_->currentIndex()) != nullptr;
    return true;
}

void TreePanel::rebuild() {
    nodes_ = BuildProjectNodes();
    current_ = -1;
}

void TreePanel::refresh(std::int32_t objectId, int projectIndex) {
    QTreeWidgetItem* target = nullptr;
    QTreeWidgetItem* previous = nullptr;  // the node selected before, should the named one be gone
    {
        const QSignalBlocker blocker(tree_);
        tree_->clear();
        current_ = -1;
        renaming_ = false;  // a rename line goes with its item
        if (nodes_.empty()) {
            tree_->setFocus();
            return;
        }
        // The items are built detached and handed to the control in one call: one model update
        // instead of one per item.
        std::vector<QTreeWidgetItem*> byId(nodes_.size() + 1, nullptr);
        QList<QTreeWidgetItem*> topLevel;
        for (TreeNode& node : nodes_) {
            QTreeWidgetItem* parentItem = nullptr;
            if (node.parentId >= 0 && static_cast<std::size_t>(node.parentId) < byId.size())
                parentItem = byId[static_cast<std::size_t>(node.parentId)];
            QStringList text(ui::FromRecordText(node.label));
            QTreeWidgetItem* item = parentItem ? new QTreeWidgetItem(parentItem, text)
                                               : new QTreeWidgetItem(text);
            if (!parentItem) topLevel.append(item);
            node.item = item;
            if (node.id >= 0 && static_cast<std::size_t>(node.id) < byId.size())
                byId[static_cast<std::size_t>(node.id)] = item;
            if (!previous && selected_ && keyOf(node) == *selected_) previous = item;
            if (target) continue;
            const bool wanted =
                node.projectIndex == projectIndex &&
                (objectId == -1 ? node.kind != NodeKind::Object
                                : node.kind == NodeKind::Object && node.objectId == objectId);
            if (wanted) target = item;
        }
        tree_->addTopLevelItems(topLevel);
        // Items made detached keep their open state only once they are in the control.
        for (const TreeNode& node : nodes_)
            if (node.item->childCount() > 0 && expanded_.count(keyOf(node))) node.item->setExpanded(true);
        if (!target) target = previous;
        if (target) {
            for (QTreeWidgetItem* up = target->parent(); up; up = up->parent()) {
                up->setExpanded(true);
                for (std::size_t i = nodes_.size(); i-- > 0;)
                    if (nodes_[i].item == up) expanded_.insert(keyOf(nodes_[i]));
            }
            tree_->setCurrentItem(target);
            tree_->scrollToItem(target);
        }
    }
    onCurrentItemChanged(target);
    tree_->setFocus();
}

const TreeNode* TreePanel::currentNode() const {
    if (current_ < 0 || static_cast<std::size_t>(current_) >= nodes_.size()) return nullptr;
    return &nodes_[static_cast<std::size_t>(current_)];
}

void TreePanel::onCurrentItemChanged(QTreeWidgetItem* item) {
    current_ = -1;
    if (item) {
        for (std::size_t i = nodes_.size(); i-- > 0;) {
            if (nodes_[i].item == item) {
                current_ = static_cast<int>(i);
                break;
            }
        }
    }
    if (const TreeNode* node = currentNode()) selected_ = keyOf(*node);
    emit selectionChanged();
    updatePreview();
}

void TreePanel::updatePreview() {
    std::string path;
    const TreeNode* node = currentNode();
    const ObjectRecord* object =
        node && node->kind == NodeKind::Object ? FindObject(node->objectId, node->projectIndex)
                                                : nullptr;
    if (object && HasPreview(object->tipoOggetto)) {
        path = object->record().text(0, kPathField);
        if (path == previewPath_) return;
    } else if (previewPath_.empty()) {
        return;
    }
    previewPath_ = path;
    loadPreview();
    emit previewChanged();
}

void TreePanel::loadPreview() {
    preview_ = QImage();
    previewTime_.reset();
    if (previewPath_.empty()) return;
    previewTime_ = ModificationTime(previewPath_);
    // A file that is not there has nothing to decode; its time is watched for its return.
    if (!previewTime_) return;
    ++previewLoads_;
    preview_ = ui::LoadPictureImage(previewPath_);
}

bool TreePanel::reloadPreviewIfChanged() {
    if (previewPath_.empty()) return false;
    if (ModificationTime(previewPath_) == previewTime_) return false;
    // The time is recorded even when the decode fails, so a broken file is reported once and
    // picked up again when it is next saved.
    loadPreview();
    return true;
}

TreePanel* ProjectTreePanel() { return g_panel; }

void RebuildProjectTree() {
    if (g_panel) g_panel->rebuild();
}

void RefreshProjectTree(std::int32_t objectId, int projectIndex) {
    if (g_panel) g_panel->refresh(objectId, projectIndex);
}

} // namespace qb::app
