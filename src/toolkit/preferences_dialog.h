#pragma once
// The Preferences dialog: the projects folder and the programs that edit pictures and sounds
// (section main of preferences.ini). The projects folder cannot be changed while a project is
// open; its field is then disabled (and written back unchanged on OK). OK writes the three
// values, gives an emptied one its default back and makes the projects folder the program's;
// Cancel writes nothing. "Add a web player to the Release folder" (off unless set) makes Compile
// also write Release/index.html with Ruffle beside it. Values are not checked: a folder or program that does not exist is
// taken as typed.
#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace qb::ui {

class PreferencesDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(QWidget* owner);

    QLineEdit* projectsFolderEdit() const { return projects_; }
    QLineEdit* imageEditorEdit() const { return images_; }
    QLineEdit* soundEditorEdit() const { return sounds_; }
    QCheckBox* webPlayerCheck() const { return webPlayer_; }

    void accept() override;

private:
    QLineEdit* projects_;
    QLineEdit* images_;
    QLineEdit* sounds_;
    QCheckBox* webPlayer_;
};

} // namespace qb::ui
