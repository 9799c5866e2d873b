#pragma once
// The New project dialog: a project name, the game type, and the folder the project will get.
//
// The game types whose editors exist are offered ("Shot'em up", chosen at first, among them);
// the other game types' choices exist but stay hidden, as does the "Type of game" frame. While the name is valid, OK is
// enabled and the folder field shows a new, unused folder of the projects folder made from it;
// both are stored in the workspace as the pending project name and folder. On OK the chosen
// game type is stored too.
#include <QDialog>
#include <cstdint>

class QAbstractButton;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qb::ui {

class NewProjectDialog final : public QDialog {
    Q_OBJECT
public:
    explicit NewProjectDialog(QWidget* owner);

    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* folderEdit() const { return folder_; }
    QPushButton* okButton() const { return ok_; }
    // The choice of a game type code (0..6).
    QRadioButton* choice(std::uint32_t gameType) const;

    void accept() override;

private:
    void nameChanged();

    QLineEdit* name_;
    QLineEdit* folder_;
    QGroupBox* typeFrame_;
    QRadioButton* choices_[7] = {};
    QPushButton* ok_;
};

} // namespace qb::ui
