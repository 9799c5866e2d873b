#pragma once
// The Open project dialog ("Select project to open"): the names of the projects found in the
// projects folder, in the order the folder lists them. OK with a project picked stores its list
// position as the workspace's chosen project entry; OK without one does nothing.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace qb::ui {

class OpenProjectDialog final : public QDialog {
    Q_OBJECT
public:
    explicit OpenProjectDialog(QWidget* owner);

    QListWidget* list() const { return list_; }
    void accept() override;

private:
    QListWidget* list_;
};

} // namespace qb::ui
