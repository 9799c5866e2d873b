#include "app/tree_drop.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <string>
#include <vector>

#include "app/project_tree.h"
#include "model/item_files.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/editor_launcher.h"

namespace qb::app {

namespace {

constexpr std::uint32_t kGroupType = 0;

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The kind of file a node takes: its group's items' kind for a group, its own for an item.
ItemFileKind KindTakenBy(const TreeNode* node, bool* isGroup = nullptr) {
    if (!node || node->kind != NodeKind::Object) return ItemFileKind::None;
    const ObjectRecord* object = FindObject(node->objectId, node->projectIndex);
    if (!object) return ItemFileKind::None;
    const bool group = object->tipoOggetto == kGroupType;
    if (isGroup) *isGroup = group;
    return ItemFileKindOfType(group ? object->sottoTipoOggetto : object->tipoOggetto);
}

} // namespace

QStringList DroppedFiles(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) files << url.toLocalFile();
    return files;
}

TreeDrop::TreeDrop(TreePanel* panel)
    : QObject(panel), panel_(panel), viewport_(panel->tree()->viewport()) {
    QTreeWidget* tree = panel->tree();
    tree->setAcceptDrops(true);
    tree->viewport()->setAcceptDrops(true);
    tree->setDropIndicatorShown(false);
    tree->viewport()->installEventFilter(this);
}

const TreeNode* TreeDrop::nodeAt(QPoint viewportPosition) const {
    QTreeWidgetItem* item = panel_->tree()->itemAt(viewportPosition);
    if (!item) return nullptr;
    for (const TreeNode& node : panel_->nodes())
        if (node.item == item) return &node;
    return nullptr;
}

bool TreeDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_) return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        // Files are welcome over the tree; each node then says whether it takes them.
        if (DroppedFiles(enter->mimeData()).isEmpty()) enter->ignore();
        else enter->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        const ItemFileKind kind = KindTakenBy(nodeAt(move->position().toPoint()));
        bool taken = false;
        if (kind != ItemFileKind::None)
            for (const QString& file : DroppedFiles(move->mimeData()))
                taken = taken || ItemFileKindOfName(LocalPath(file)) == kind;
        if (taken) move->acceptProposedAction();
        else move->ignore();
        return true;
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const TreeNode* node = nodeAt(drop->position().toPoint());
        const QStringList files = DroppedFiles(drop->mimeData());
        if (!node || node->kind != NodeKind::Object || files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        // The work (and its messages) comes after the drop has ended: the file manager that
        // dragged the files is not kept waiting while a message is open.
        const int project = node->projectIndex;
        const std::int32_t objectId = node->objectId;
        QTimer::singleShot(0, this, [this, project, objectId, files] {
            dropFiles(project, objectId, files);
        });
        return true;
    }
    default:
        return false;
    }
}

void TreeDrop::dropFiles(int projectIndex, std::int32_t objectId, const QStringList& paths) {
    bool isGroup = false;
    const TreeNode probe{0, 0, nullptr, {}, projectIndex, objectId, NodeKind::Object};
    const ItemFileKind kind = KindTakenBy(&probe, &isGroup);
    if (paths.isEmpty() || !FindObject(objectId, projectIndex)) return;
    if (kind == ItemFileKind::None) {
        ShowMessage("Files can be dropped only on a group or item of pictures (PNG files: fonts, "
                    "sprites, backgrounds, splash screens) or of sounds (MP3 files).");
        return;
    }

    if (!isGroup) {
        if (paths.size() != 1) {
            ShowMessage("Drop one file on an item to replace its file, or drop several files on "
                        "its group to add one item for each.");
            return;
        }
        const std::string problem = ImportItemFile(projectIndex, objectId, LocalPath(paths.front()));
        if (!problem.empty()) {
            ShowMessage(problem + " Nothing was replaced.");
            return;
        }
        showResult(projectIndex, objectId);
        ui::RepaintPreview();  // the same item keeps its path: its picture is read again
        return;
    }

    std::int32_t last = 0;
    std::vector<std::string> problems;
    for (const QString& path : paths) {
        std::int32_t id = 0;
        const std::string problem = NewItemFromFile(projectIndex, objectId, LocalPath(path), id);
        if (problem.empty()) last = id;
        else problems.push_back(problem);
    }
    if (last != 0) showResult(projectIndex, last);
    if (!problems.empty()) {
        std::string text;
        for (const std::string& problem : problems) text += problem + "\n";
        text += problems.size() == 1 ? "No item was made for it." : "No item was made for these files.";
        ShowMessage(text);
    }
}

void TreeDrop::showResult(int projectIndex, std::int32_t selectId) {
    // As after New item: through the main window when there is one (it also lists the
    // project's problems again), else on the panel itself.
    if (ui::RebuildAndRefreshTree(selectId, projectIndex)) return;
    panel_->rebuild();
    panel_->refresh(selectId, projectIndex);
}

} // namespace qb::app
