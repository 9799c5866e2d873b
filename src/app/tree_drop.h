#pragma once
// Files dropped from a file manager onto the project tree.
//
// PNG files dropped on a picture group (fonts, sprites, backgrounds, splash screens) or MP3 files
// on the sounds group make one new item per file, as New item does, with that file's content;
// one file dropped on a picture or sound item replaces that item's file. Each file is checked
// first (see model/item_files.h): a file that cannot be used is named in one message, with why,
// and makes or replaces nothing. The tree is then rebuilt and the last new item (or the item
// whose file was replaced) selected, as after New item.
//
// While files are dragged over the tree, only the nodes that take at least one of them by its
// name (.png, .mp3) accept the drop.
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <cstdint>

class QMimeData;

namespace qb::app {

class TreePanel;
struct TreeNode;

class TreeDrop final : public QObject {
    Q_OBJECT
public:
    // Watches the panel's tree for drops; owned by the panel.
    explicit TreeDrop(TreePanel* panel);

    // What a drop of these files on that node does (the drop event defers to it).
    void dropFiles(int projectIndex, std::int32_t objectId, const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TreeNode* nodeAt(QPoint viewportPosition) const;
    void showResult(int projectIndex, std::int32_t selectId);

    TreePanel* panel_;
    // The watched viewport, compared without going through the panel: it still sends events
    // while the panel is being destroyed.
    QObject* viewport_;
};

// The local files among dropped URLs, in their order.
QStringList DroppedFiles(const QMimeData* mime);

} // namespace qb::app
