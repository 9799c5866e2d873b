#pragma once
// What every dialog of the program begins and ends with.
#include <QString>

class QBoxLayout;
class QDialog;
class QDialogButtonBox;

namespace qb::ui {

// Names and titles a modal dialog.
void SetUpModalDialog(QDialog* dialog, const QString& objectName, const QString& title);

// The OK and Cancel row ("buttons", holding "okButton" and "cancelButton") at the end of the
// layout, wired to the dialog's accept and reject.
QDialogButtonBox* AddOkCancelButtons(QDialog* dialog, QBoxLayout* layout);

} // namespace qb::ui
