#pragma once
// What every dialog of the program begins and ends with.
#include <QAccessible>
#include <QString>

class QBoxLayout;
class QDialog;
class QDialogButtonBox;
class QWidget;

namespace qb::ui {

// Names and titles a modal dialog. Each time the dialog is shown its fields are linked to their
// labels (NameFieldsForAccessibility), so rows added by any editor are announced by their label.
void SetUpModalDialog(QDialog* dialog, const QString& objectName, const QString& title);

// The OK and Cancel row ("buttons", holding "okButton" and "cancelButton") at the end of the
// layout, wired to the dialog's accept and reject.
QDialogButtonBox* AddOkCancelButtons(QDialog* dialog, QBoxLayout* layout);

// Makes every control under root announce itself the way a sighted user reads it:
// - a label in front of a field (form row, grid cell to its left, box item before it, or the
//   line above it) becomes the field's buddy, unless it already has one;
// - list views and views painted by the program take the label's text (without "&" and the
//   closing ":") as their accessible name, or the title of their group when they have no label,
//   and get the role of a picture (or of a canvas when they take the keyboard focus);
// - a button whose text runs over several lines is named by that text on one line.
// Controls that already carry an accessible name or a buddy are left as they are. Safe to call
// again after rows were added.
void NameFieldsForAccessibility(QWidget* root);

// A view the program paints itself: its accessible name and role.
void SetAccessibleView(QWidget* view, const QString& name, QAccessible::Role role);

// A label's text as an accessible name: without mnemonic "&", surrounding blanks and one
// closing ":".
QString AccessibleLabelText(const QString& labelText);

} // namespace qb::ui
