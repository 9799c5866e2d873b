#include "toolkit/bindings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QValidator>

#include "model/workspace.h"
#include "platform/numbers.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

FieldBinder::FieldBinder(std::int32_t objectId, int projectIndex)
    : objectId_(objectId), projectIndex_(projectIndex) {}

ObjectRecord* FieldBinder::object() const { return FindObject(objectId_, projectIndex_); }
ProjectRecord* FieldBinder::project() const { return ProjectAt(projectIndex_); }

void FieldBinder::add(std::function<void(ObjectRecord&)> load,
                      std::function<void(ObjectRecord&)> store) {
    bindings_.push_back({std::move(load), std::move(store)});
}

namespace {

// Blanks, an optional sign, ASCII digits, blanks. Everything it lets through reads as it did
// before (an empty text or a lone sign reads 0), so it never holds back OK or editingFinished.
class SignedDecimalValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        auto blank = [&](qsizetype i) { return input[i] == u' ' || input[i] == u'\t'; };
        const qsizetype n = input.size();
        qsizetype i = 0;
        while (i < n && blank(i)) ++i;
        if (i < n && (input[i] == u'+' || input[i] == u'-')) ++i;
        while (i < n && input[i] >= u'0' && input[i] <= u'9') ++i;
        while (i < n && blank(i)) ++i;
        return i == n ? Acceptable : Invalid;
    }
};

} // namespace

void AcceptSignedDecimalOnly(QLineEdit* edit) {
    // Given once; an edit with a rule of its own keeps it.
    if (!edit || edit->validator()) return;
    edit->setValidator(new SignedDecimalValidator(edit));
}

QLineEdit* FieldBinder::number(QLineEdit* edit, std::size_t offset, std::size_t maxChars) {
    AcceptSignedDecimalOnly(edit);
    add([=](ObjectRecord& o) { edit->setText(QString::number(o.record().i32(offset))); },
        [=](ObjectRecord& o) {
            const std::string typed = ToRecordText(edit->text());
            o.record().setI32(offset, maxChars ? ParseSignedDecimal(typed, maxChars)
                                               : ParseSignedDecimal(typed));
        });
    return edit;
}

void FieldBinder::numberRows(QFormLayout* form, std::span<const NumberRow> rows) {
    for (const NumberRow& row : rows)
        AddRow(form, row.labelName, row.label,
               number(NumberEdit(row.editName), row.offset, kNumberChars));
}

QAbstractButton* FieldBinder::flag(QAbstractButton* box, std::size_t offset) {
    add([=](ObjectRecord& o) { box->setChecked(o.record().u32(offset) != 0); },
        [=](ObjectRecord& o) { o.record().setU32(offset, box->isChecked() ? 1u : 0u); });
    return box;
}

namespace {
using ButtonValues = std::vector<std::pair<QAbstractButton*, std::uint32_t>>;

void CheckExclusiveList(const ButtonValues& buttons, std::uint32_t value) {
    // An exclusive group refuses to uncheck its last checked button; lift that while clearing.
    for (const auto& [button, v] : buttons) {
        QButtonGroup* group = button->group();
        const bool autoExclusive = button->autoExclusive();
        const bool groupExclusive = group && group->exclusive();
        button->setAutoExclusive(false);
        if (group) group->setExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(autoExclusive);
        if (group) group->setExclusive(groupExclusive);
    }
    for (const auto& [button, v] : buttons)
        if (v == value) {
            button->setChecked(true);
            break;
        }
}
} // namespace

void CheckExclusive(std::initializer_list<std::pair<QAbstractButton*, std::uint32_t>> buttons,
                    std::uint32_t value) {
    CheckExclusiveList(ButtonValues(buttons), value);
}

void CheckExclusive(const ButtonValues& buttons, std::uint32_t value) {
    CheckExclusiveList(buttons, value);
}

void FieldBinder::choice(
    std::size_t offset, std::initializer_list<std::pair<QAbstractButton*, std::uint32_t>> buttons) {
    choice(offset, ButtonValues(buttons));
}

void FieldBinder::choice(std::size_t offset, ButtonValues list) {
    add(
        [=](ObjectRecord& o) { CheckExclusiveList(list, o.record().u32(offset)); },
        [=](ObjectRecord& o) {
            for (const auto& [button, v] : list)
                if (button->isChecked()) o.record().setU32(offset, v);
        });
}

QLineEdit* FieldBinder::text(QLineEdit* edit, std::size_t offset, std::size_t fieldSize,
                             std::size_t maxChars) {
    const std::size_t cut = maxChars ? maxChars : (fieldSize ? fieldSize - 1 : 0);
    edit->setMaxLength(static_cast<int>(cut));
    add([=](ObjectRecord& o) { edit->setText(FromRecordText(o.record().text(offset, fieldSize))); },
        [=](ObjectRecord& o) {
            o.record().setText(offset, fieldSize, ToRecordText(edit->text(), cut));
        });
    return edit;
}

QComboBox* FieldBinder::object(QComboBox* combo, std::size_t offset, std::uint32_t type,
                               IdWidth width) {
    add(
        [=](ObjectRecord& o) {
            combo->clear();
            FillObjectCombo(combo, type);
            SelectObjectInCombo(combo, type, o.record().i32(offset));
        },
        [=](ObjectRecord& o) {
            const std::uint32_t id = static_cast<std::uint32_t>(GetSelectedObjectId(combo, type));
            o.record().setU32(offset, width == IdWidth::Low16 ? (id & 0xFFFFu) : id);
        });
    return combo;
}

void FieldBinder::optionalSound(QCheckBox* box, QComboBox* combo, std::size_t flagOffset,
                                std::size_t idOffset) {
    // The combo follows the box however it changes, not only on a click.
    QObject::connect(box, &QAbstractButton::toggled, combo, [=] {
        std::uint32_t id = 0, enabled = 0;
        SetupOptionalSound(SoundAction::Clicked, combo, box, id, enabled);
    });
    // Several sound combos may share one label ("Sound"); the box says which sound it is.
    if (combo->accessibleDescription().isEmpty())
        combo->setAccessibleDescription(AccessibleLabelText(box->text()));
    add(
        [=](ObjectRecord& o) {
            std::uint32_t id = o.record().u32(idOffset), enabled = o.record().u32(flagOffset);
            SetupOptionalSound(SoundAction::Open, combo, box, id, enabled);
        },
        [=](ObjectRecord& o) {
            std::uint32_t id = 0, enabled = 0;
            SetupOptionalSound(SoundAction::Store, combo, box, id, enabled);
            o.record().setU32(flagOffset, enabled);
            o.record().setU32(idOffset, id);
        });
}

QLineEdit* FieldBinder::description(QLineEdit* edit) {
    edit->setMaxLength(static_cast<int>(kMaxNameLength));
    add([=](ObjectRecord& o) { edit->setText(FromRecordText(o.sDescrizione)); },
        [=](ObjectRecord& o) { o.sDescrizione = ToRecordText(edit->text(), kMaxNameLength); });
    return edit;
}

QLineEdit* FieldBinder::projectName(QLineEdit* edit) {
    edit->setMaxLength(static_cast<int>(kMaxNameLength));
    const int index = projectIndex_;
    add(
        [=](ObjectRecord&) {
            if (ProjectRecord* p = ProjectAt(index)) edit->setText(FromRecordText(p->sNomeProgetto));
        },
        [=](ObjectRecord&) {
            if (ProjectRecord* p = ProjectAt(index))
                p->sNomeProgetto = ToRecordText(edit->text(), kMaxNameLength);
        });
    return edit;
}

void FieldBinder::custom(std::function<void(RecordView&)> load,
                         std::function<void(RecordView&)> store) {
    add(
        [load = std::move(load)](ObjectRecord& o) {
            RecordView r = o.record();
            if (load) load(r);
        },
        [store = std::move(store)](ObjectRecord& o) {
            RecordView r = o.record();
            if (store) store(r);
        });
}

void FieldBinder::load() {
    ObjectRecord* o = object();
    if (!o) return;
    loading_ = true;
    for (Binding& b : bindings_) b.load(*o);
    loading_ = false;
}

void FieldBinder::store() {
    ObjectRecord* o = object();
    if (!o) return;
    for (Binding& b : bindings_) b.store(*o);
}

void EnableWhile(QAbstractButton* button, std::initializer_list<QWidget*> widgets,
                 bool whenChecked) {
    EnableWhile(button, std::vector<QWidget*>(widgets), whenChecked);
}

void EnableWhile(QAbstractButton* button, std::vector<QWidget*> list, bool whenChecked) {
    auto apply = [=](bool checked) {
        for (QWidget* w : list) w->setEnabled(checked == whenChecked);
    };
    apply(button->isChecked());
    QObject::connect(button, &QAbstractButton::toggled, button, apply);
}

} // namespace qb::ui
