#pragma once
// "Where is this used?": the items whose records name the selected item, each openable. Offered
// from the tree's context menu and by Shift+F12, and when Delete item is refused because other
// items keep the item.
#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qb::app {

class MainWindow;

constexpr const char* kWhereUsedText = "Where is this used?";
constexpr const char* kWhereUsedKey = "Shift+F12";

class UsesDialog final : public QDialog {
    Q_OBJECT
public:
    // refusedDelete: the list answers a Delete item that was refused, and shows only the items
    // that keep this one.
    UsesDialog(QWidget* owner, int projectIndex, std::int32_t objectId, bool refusedDelete = false);

    QTreeWidget* list() const { return list_; }
    QLabel* heading() const { return heading_; }
    const std::vector<std::int32_t>& uses() const { return uses_; }
    // The item to open once the dialog was accepted; 0 = none.
    std::int32_t chosenId() const { return chosen_; }

private:
    void open(QTreeWidgetItem* item);

    QLabel* heading_;
    QTreeWidget* list_;
    QPushButton* openButton_;
    std::vector<std::int32_t> uses_;
    std::int32_t chosen_ = 0;
};

// Shows the uses of the object and, when one was opened, selects it in the tree and opens its
// editor.
void ShowItemUses(MainWindow* window, int projectIndex, std::int32_t objectId,
                  bool refusedDelete = false);

// Delete item refused: when other items keep the object, offers their list and answers true.
bool OfferUsesOfUndeletable(MainWindow* window, int projectIndex, std::int32_t objectId);

// Puts "Where is this used?" on the project tree (its context menu and Shift+F12), and lets the
// Delete key on an item that others keep offer their list. Answers the action.
QAction* InstallWhereUsed(MainWindow* window);

} // namespace qb::app
