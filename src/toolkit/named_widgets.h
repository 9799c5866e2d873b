#pragma once
// Controls made with their object name (tests and screenshots find controls by it).
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <algorithm>
#include <type_traits>
#include <utility>

namespace qb::ui {

void AcceptSignedDecimalOnly(QLineEdit* edit);  // bindings.h

template <class W, class... Args> W* Named(const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(QString::fromLatin1(name));
    // Enter in a text box means OK, never one of the dialog's own buttons.
    if constexpr (std::is_base_of_v<QPushButton, W>) w->setAutoDefault(false);
    return w;
}

inline QLabel* Label(const char* name, const char* text) {
    return Named<QLabel>(name, QString::fromLatin1(text));
}

// A form row: the label (of that name and text) is the field's buddy, so assistive tools and
// its mnemonic reach the field. Answers the field.
template <class W> W* AddRow(QFormLayout* form, const char* labelName, const char* text, W* field) {
    QLabel* label = Label(labelName, text);
    label->setBuddy(field);
    form->addRow(label, field);
    return field;
}

// An edit for one number, no wider than a number needs and never too narrow for a few digits.
inline QLineEdit* NumberEdit(const char* name) {
    auto* edit = Named<QLineEdit>(name);
    edit->setMaximumWidth(90);
    edit->setMinimumWidth(std::min(90, edit->fontMetrics().horizontalAdvance(QStringLiteral("-000000")) + 12));
    AcceptSignedDecimalOnly(edit);
    return edit;
}

// Item combos are this many characters wide unless a row has less room.
constexpr int kItemComboChars = 16;

// A combo listing items of the project, as wide as that many characters whatever the items'
// descriptions: a long one neither widens the dialog nor has every entry measured when it opens.
inline QComboBox* ItemCombo(const char* name, int characters = kItemComboChars) {
    auto* combo = Named<QComboBox>(name);
    combo->setMinimumContentsLength(characters);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

// A titled group box laid out by L, added to column; answers the group's layout (its parent
// widget is the group).
template <class L>
L* AddGroup(QBoxLayout* column, const char* name, const char* title, int stretch = 0) {
    auto* group = Named<QGroupBox>(name, QString::fromLatin1(title));
    auto* layout = new L(group);
    column->addWidget(group, stretch);
    return layout;
}

} // namespace qb::ui
