#pragma once
// The field binding layer of the item editors.
//
// An editor declares, once, which control shows which record field; load() fills every control
// from the record when the dialog opens and store() writes every control back on OK. Hidden
// controls are bound like visible ones, so the fields they carry pass through unchanged. What is
// left for an editor to write by hand are its special rules.
//
//     FieldBinder fields(objectId, projectIndex);
//     fields.number(ui.lives, layout::kLives);
//     fields.flag(ui.highShown, layout::kHighShown);
//     fields.choice(layout::kResourceLocation, {{ui.samePath, 0}, {ui.specificPath, 1}});
//     fields.object(ui.splashTitle, layout::kSplashTitle, kSplashType);
//     fields.load();
//
// The record is looked up by ID at every load and store (never kept as a pointer), so a
// sub-editor that saved the project in between is no hazard.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "model/record.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace qb {
struct ObjectRecord;
struct ProjectRecord;
}

namespace qb::ui {

// Number edits of most editors are read from at most this many characters.
constexpr std::size_t kNumberChars = 29;

// A form row of a number field: the label's object name and text, the edit's object name, the
// field's offset.
struct NumberRow {
    const char* labelName;
    const char* label;
    const char* editName;
    std::size_t offset;
};

// How an item combo stores the chosen item's ID.
enum class IdWidth { Low16, Full32 };

class FieldBinder {
public:
    FieldBinder(std::int32_t objectId, int projectIndex);

    // Signed decimal edit of a 32-bit field; store reads at most maxChars characters (0 = all).
    QLineEdit* number(QLineEdit* edit, std::size_t offset, std::size_t maxChars = 0);
    // One form row per number field, in order: the label, buddy of a number edit bound to the
    // field and read from at most kNumberChars characters.
    void numberRows(QFormLayout* form, std::span<const NumberRow> rows);
    void numberRows(QFormLayout* form, std::initializer_list<NumberRow> rows) {
        numberRows(form, std::span<const NumberRow>(rows.begin(), rows.size()));
    }
    // Check box of a 0/1 word: checked when non-zero, stores 1 or 0.
    QAbstractButton* flag(QAbstractButton* box, std::size_t offset);
    // Exclusive buttons of one word: load checks the button of the stored value (none when no
    // button has it); store takes, in the given order, every checked button's value, the last
    // one winning, and keeps the field when none is checked.
    void choice(std::size_t offset,
                std::initializer_list<std::pair<QAbstractButton*, std::uint32_t>> buttons);
    // The same for a list of buttons built at run time.
    void choice(std::size_t offset,
                std::vector<std::pair<QAbstractButton*, std::uint32_t>> buttons);
    // Zero-terminated text in a field of fieldSize bytes, cut to maxChars (default fieldSize-1).
    QLineEdit* text(QLineEdit* edit, std::size_t offset, std::size_t fieldSize,
                    std::size_t maxChars = 0);
    // Item combo over the objects of a type; stores the selected ID (0 = none).
    QComboBox* object(QComboBox* combo, std::size_t offset, std::uint32_t type,
                      IdWidth width = IdWidth::Low16);
    // Optional-sound pair: enabled flag at flagOffset, sound ID (all 32 bits) at idOffset.
    void optionalSound(QCheckBox* box, QComboBox* combo, std::size_t flagOffset,
                       std::size_t idOffset);
    // The item's description ("Item name"), at most 254 characters.
    QLineEdit* description(QLineEdit* edit);
    // The project's name, at most 254 characters.
    QLineEdit* projectName(QLineEdit* edit);
    // Anything else: two functions run in declaration order with the others.
    void custom(std::function<void(RecordView&)> load, std::function<void(RecordView&)> store);

    void load();
    void store();
    // True while load() fills the controls: rules that write when a button changes state
    // leave the record alone then.
    bool isLoading() const { return loading_; }

    ObjectRecord* object() const;
    ProjectRecord* project() const;
    std::int32_t objectId() const { return objectId_; }
    int projectIndex() const { return projectIndex_; }

private:
    struct Binding {
        std::function<void(ObjectRecord&)> load;
        std::function<void(ObjectRecord&)> store;
    };
    void add(std::function<void(ObjectRecord&)> load, std::function<void(ObjectRecord&)> store);

    std::int32_t objectId_;
    int projectIndex_;
    std::vector<Binding> bindings_;
    bool loading_ = false;
};

// Makes a number edit refuse, as they are typed or pasted, characters that cannot be part of a
// signed decimal number: blanks around it, one sign, then digits. Text put in by the program
// (a stored value) is shown as it is, and the text is read as before (ParseSignedDecimal).
// FieldBinder::number and NumberEdit give it to every number edit.
void AcceptSignedDecimalOnly(QLineEdit* edit);

// Enables widgets while a button is checked (or while it is clear, with whenChecked = false),
// now and whenever it toggles, whoever toggles it (mouse, keyboard, assistive technology, code).
void EnableWhile(QAbstractButton* button, std::initializer_list<QWidget*> widgets,
                 bool whenChecked = true);
void EnableWhile(QAbstractButton* button, std::vector<QWidget*> widgets, bool whenChecked = true);

// Checks one button of an exclusive group, or none (value not found).
void CheckExclusive(std::initializer_list<std::pair<QAbstractButton*, std::uint32_t>> buttons,
                    std::uint32_t value);
void CheckExclusive(const std::vector<std::pair<QAbstractButton*, std::uint32_t>>& buttons,
                    std::uint32_t value);

} // namespace qb::ui
