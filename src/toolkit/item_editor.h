#pragma once
// The common life of an item editor dialog: find the current object, load the bindings when
// opened, and on OK store them, validate, save the project and (where the editor says so)
// rebuild the tree with the object still selected. Cancel stores nothing.
#include <QDialog>

#include "toolkit/bindings.h"

class QDialogButtonBox;
class QFormLayout;
class QLineEdit;
class QVBoxLayout;

namespace qb::ui {

enum class TreeAfterOk { Rebuild, Keep };

class ItemEditorDialog : public QDialog {
    Q_OBJECT
public:
    ItemEditorDialog(QWidget* owner, const QString& title, TreeAfterOk tree = TreeAfterOk::Rebuild,
                     bool picturePreview = false);
    ~ItemEditorDialog() override;

    FieldBinder& fields() { return fields_; }
    // The dialog's own layout; editors add their groups above the OK/Cancel row.
    QVBoxLayout* body() const { return body_; }
    QDialogButtonBox* buttons() const { return buttons_; }
    // A form added to the body.
    QFormLayout* addForm();
    // The "Item name" row, bound to the item's description.
    QLineEdit* addItemNameRow(QFormLayout* form);
    // The read-only "Path file" box showing the item's picture file, beside an "Edit bitmap"
    // button (of that object name) that starts the image program on it and an "Import
    // picture..." button that replaces the picture by a copy of a chosen PNG. Answers the box.
    QLineEdit* addPicturePathRow(QFormLayout* form, const char* editButtonName);

    // Call at the end of the editor's constructor, after every binding.
    void loadFields();

protected:
    // Runs after the bindings were stored and before the save; false keeps the dialog open
    // (the editor has told the user why).
    virtual bool validateAndFinish() { return true; }
    // Runs after load().
    virtual void afterLoad() {}

    void accept() override;

private:
    FieldBinder fields_;
    TreeAfterOk tree_;
    bool picturePreview_;
    QVBoxLayout* body_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace qb::ui
