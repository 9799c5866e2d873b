#pragma once
// An ordered list of items of one type kept in a record as a count and a fixed number of ID
// slots (the opponents of a soccer game, the circuits of a race): a list with "<", ">" and
// "Delete", and a combo with "Add" to append the chosen item.
//
// The dialog works on a copy taken when it loads its fields; OK stores the copy, Cancel drops it.
// OK writes the count and every slot: the listed IDs, zeros in the slots that deleted entries
// left, and what lay behind the stored count unchanged.
// The same item may be listed more than once. A stored count outside 0..slots is read as the
// nearest end of that range. An entry whose item has been deleted keeps its place and its ID
// and is shown as "(no <noun> with ID n)".
#include <QObject>
#include <cstddef>
#include <cstdint>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace qb::ui {

class ItemEditorDialog;

struct OrderedItemListSpec {
    std::size_t countOffset;  // i32
    std::size_t firstSlot;    // u32 IDs, low 16 bits
    std::size_t slotCount;
    std::uint32_t itemType;
    const char* fullMessage;  // shown by "Add" with every slot taken
    const char* noun;         // for entries whose item is gone
    // Object names.
    const char* listName;
    const char* upName;
    const char* downName;
    const char* deleteName;
    const char* comboName;
    const char* addName;
};

class OrderedItemList : public QObject {
    Q_OBJECT
public:
    // Makes the controls (the caller lays them out) and binds them to the dialog's fields.
    OrderedItemList(ItemEditorDialog* dialog, const OrderedItemListSpec& spec);

    QListWidget* list() const { return list_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }
    QPushButton* deleteButton() const { return delete_; }
    QComboBox* combo() const { return combo_; }
    QPushButton* addButton() const { return add_; }

    // The working copy: the listed IDs, first first.
    const std::vector<std::uint32_t>& entries() const { return entries_; }

    void add();
    void move(int by);
    void remove();

private:
    void refill(int select = -1);

    ItemEditorDialog* dialog_;
    OrderedItemListSpec spec_;
    std::vector<std::uint32_t> entries_;
    std::vector<std::uint32_t> slots_;  // every slot as loaded
    std::size_t loadedCount_ = 0;
    QListWidget* list_;
    QPushButton* up_;
    QPushButton* down_;
    QPushButton* delete_;
    QComboBox* combo_;
    QPushButton* add_;
};

} // namespace qb::ui
