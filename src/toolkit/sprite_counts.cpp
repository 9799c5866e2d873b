#include "toolkit/sprite_counts.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/numbers.h"
#include "toolkit/item_editor.h"
#include "toolkit/qtext.h"

namespace qb::ui {

SpriteCounts::SpriteCounts(ItemEditorDialog* dialog) : QObject(dialog), dialog_(dialog) {}

int SpriteCounts::ValidCount(const QLineEdit* box, int max) {
    const std::int32_t n = ParseSignedDecimal(ToRecordText(box->text()));
    return n >= 1 && n <= max ? n : 0;
}

QLineEdit* SpriteCounts::add(QLineEdit* box, std::size_t offset, int max,
                             std::vector<QPushButton*> buttons) {
    dialog_->fields().number(box, offset);
    counts_.push_back({box, max, std::move(buttons)});
    connect(box, &QLineEdit::textChanged, this, [this] { apply(); });
    apply();
    return box;
}

void SpriteCounts::apply() {
    bool all = true;
    for (const Count& c : counts_) {
        const bool valid = ValidCount(c.box, c.max) != 0;
        for (QPushButton* b : c.buttons) b->setEnabled(valid);
        all = all && valid;
    }
    if (QPushButton* ok = dialog_->buttons()->button(QDialogButtonBox::Ok)) ok->setEnabled(all);
}

void SpriteCounts::editSprites(QPushButton* button, QLineEdit* box, std::size_t offset, int capacity,
                               std::function<SpriteEditorVariant()> variant) {
    connect(button, &QPushButton::clicked, dialog_, [=, this] {
        const int n = std::min(ValidCount(box, capacity), capacity);
        if (n <= 0) return;
        EditSpriteAnimation(dialog_, dialog_->fields().projectIndex(), dialog_->fields().objectId(),
                            offset, n, variant ? variant() : SpriteEditorVariant::Plain);
    });
}

} // namespace qb::ui
