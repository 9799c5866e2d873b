#include "toolkit/records_warning_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/preferences.h"
#include "toolkit/dialog_frame.h"

namespace qb::ui {

namespace {
constexpr const char* kSection = "warning";
constexpr const char* kKey = "testWithoutRecords";
} // namespace

RecordsWarningDialog::RecordsWarningDialog(QWidget* owner) : QDialog(owner) {
    SetUpModalDialog(this, "recordsWarningDialog", "Quillbox");
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(kRecordsWarningText, this);
    text->setObjectName("warningText");
    text->setWordWrap(true);
    text->setMinimumWidth(340);
    layout->addWidget(text);
    dontShow_ = new QCheckBox("Don't show me again!!", this);
    dontShow_->setObjectName("dontShowAgainCheck");
    layout->addWidget(dontShow_);
    // Cancel is part of the dialog, never shown (and reject does nothing).
    AddOkCancelButtons(this, layout)->button(QDialogButtonBox::Cancel)->setVisible(false);
}

void RecordsWarningDialog::accept() {
    if (dontShow_->isChecked()) SetPreferenceIn(kSection, kKey, "1");
    QDialog::accept();
}

void RecordsWarningDialog::reject() {}

void RecordsWarningDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void ShowRecordsWarningIfWanted(QWidget* owner) {
    if (GetPreferenceIntIn(kSection, kKey, 0) != 0) return;
    RecordsWarningDialog dialog(owner);
    dialog.exec();
}

} // namespace qb::ui
