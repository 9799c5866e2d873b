#pragma once
// The records warning shown before a test build: a test copy of a game does not show the
// records (high scores). The user can switch the warning off for good with "Don't show me
// again!!" (preference testWithoutRecords in section warning). Only OK closes the dialog;
// Escape and the window's close button do not.
#include <QDialog>

class QCheckBox;
class QPushButton;

namespace qb::ui {

constexpr const char* kRecordsWarningText =
    "Warning! The TEST version will  not show records! Upload the COMPILED version on a WEB site "
    "to check records!";

class RecordsWarningDialog final : public QDialog {
    Q_OBJECT
public:
    explicit RecordsWarningDialog(QWidget* owner);

    QCheckBox* dontShowAgain() const { return dontShow_; }
    void accept() override;
    void reject() override;  // does nothing: only OK closes the dialog

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QCheckBox* dontShow_;
};

// Shows the warning unless the user switched it off.
void ShowRecordsWarningIfWanted(QWidget* owner);

} // namespace qb::ui
