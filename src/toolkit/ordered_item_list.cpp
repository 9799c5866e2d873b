#include "toolkit/ordered_item_list.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/item_editor.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

OrderedItemList::OrderedItemList(ItemEditorDialog* dialog, const OrderedItemListSpec& spec)
    : QObject(dialog), dialog_(dialog), spec_(spec) {
    list_ = Named<QListWidget>(spec.listName);
    list_->setMinimumHeight(120);
    up_ = Named<QPushButton>(spec.upName, QStringLiteral("<"));
    down_ = Named<QPushButton>(spec.downName, QStringLiteral(">"));
    delete_ = Named<QPushButton>(spec.deleteName, QStringLiteral("Delete"));
    combo_ = ItemCombo(spec.comboName);
    add_ = Named<QPushButton>(spec.addName, QStringLiteral("Add"));
    // The arrow buttons say which way they move the row.
    up_->setAccessibleName(QStringLiteral("Move up"));
    down_->setAccessibleName(QStringLiteral("Move down"));

    connect(add_, &QPushButton::clicked, this, &OrderedItemList::add);
    connect(up_, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { move(+1); });
    connect(delete_, &QPushButton::clicked, this, &OrderedItemList::remove);

    dialog->fields().custom(
        [this](RecordView& r) {
            const std::int32_t stored = r.i32(spec_.countOffset);
            const auto count = static_cast<std::size_t>(
                std::clamp<std::int64_t>(stored, 0, static_cast<std::int64_t>(spec_.slotCount)));
            slots_.assign(spec_.slotCount, 0);
            for (std::size_t i = 0; i < spec_.slotCount; ++i) slots_[i] = r.u32(spec_.firstSlot + 4 * i);
            loadedCount_ = count;
            entries_.assign(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(count));
            refill();
            combo_->clear();
            FillObjectCombo(combo_, spec_.itemType);
            combo_->setCurrentIndex(-1);
        },
        [this](RecordView& r) {
            // Every slot is written: the listed IDs, then zeros where entries were deleted, then
            // whatever lay behind the count when the dialog opened.
            std::vector<std::uint32_t> out = slots_;
            std::copy(entries_.begin(), entries_.end(), out.begin());
            for (std::size_t i = entries_.size(); i < loadedCount_; ++i) out[i] = 0;
            for (std::size_t i = 0; i < out.size(); ++i) r.setU32(spec_.firstSlot + 4 * i, out[i]);
            r.setI32(spec_.countOffset, static_cast<std::int32_t>(entries_.size()));
        });
}

void OrderedItemList::refill(int select) {
    list_->clear();
    ProjectRecord* project = dialog_->fields().project();
    for (std::uint32_t id : entries_) {
        const ObjectRecord* item = project ? FindObject(*project, static_cast<std::int32_t>(id)) : nullptr;
        list_->addItem(item && item->tipoOggetto == spec_.itemType
                           ? FromRecordText(item->sDescrizione)
                           : QStringLiteral("(no %1 with ID %2)").arg(QLatin1String(spec_.noun)).arg(id));
    }
    list_->setCurrentRow(select);
}

void OrderedItemList::add() {
    if (combo_->currentIndex() < 0) return;
    if (entries_.size() >= spec_.slotCount) {
        ShowMessage(spec_.fullMessage);
        return;
    }
    entries_.push_back(static_cast<std::uint32_t>(GetSelectedObjectId(combo_, spec_.itemType)) & 0xFFFFu);
    combo_->setCurrentIndex(-1);
    refill();
}

void OrderedItemList::move(int by) {
    const int row = list_->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= static_cast<int>(entries_.size())) return;
    std::swap(entries_[static_cast<std::size_t>(row)], entries_[static_cast<std::size_t>(target)]);
    refill(target);
}

void OrderedItemList::remove() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    entries_.erase(entries_.begin() + row);
    refill();
}

} // namespace qb::ui
