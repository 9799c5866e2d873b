#include "toolkit/preferences_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "build/build.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "toolkit/dialog_frame.h"

namespace qb::ui {

namespace {
constexpr int kValueChars = 259;

// Preference values are file-system paths and program names: UTF-8 on Linux.
QString FromValue(const std::string& value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }
std::string ToValue(const QLineEdit* edit) {
    const QByteArray bytes = edit->text().left(kValueChars).toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QLineEdit* Field(QWidget* parent, QFormLayout* form, const char* label, const char* name,
                 const char* labelName) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(kValueChars);
    edit->setMinimumWidth(360);
    auto* caption = new QLabel(label, parent);
    caption->setObjectName(labelName);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}
} // namespace

PreferencesDialog::PreferencesDialog(QWidget* owner) : QDialog(owner) {
    SetUpModalDialog(this, "preferencesDialog", "Preferences");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    projects_ = Field(this, form, "Projects folder:", "projectsFolderEdit", "projectsFolderLabel");
    images_ = Field(this, form, "Application to edit images:", "imageEditorEdit", "imageEditorLabel");
    sounds_ = Field(this, form, "Application to edit sounds:", "soundEditorEdit", "soundEditorLabel");
    layout->addLayout(form);
    webPlayer_ = new QCheckBox("Add a web player to the Release folder", this);
    webPlayer_->setObjectName("webPlayerCheck");
    webPlayer_->setToolTip("Compile also writes index.html and the Ruffle player into the Release "
                           "folder, so it can be uploaded to any web host and played.");
    layout->addWidget(webPlayer_);
    AddOkCancelButtons(this, layout);

    EnsurePreferenceDefaults();
    projects_->setText(FromValue(GetPreference("projectsPath")));
    images_->setText(FromValue(GetPreference("editImagesApp")));
    sounds_->setText(FromValue(GetPreference("editSoundsApp")));
    webPlayer_->setChecked(GetPreference(kWebPlayerPreference) == "1");
    if (Workspace().projectCount() > 0) projects_->setEnabled(false);
}

void PreferencesDialog::accept() {
    SetPreference("projectsPath", ToValue(projects_));
    SetPreference("editImagesApp", ToValue(images_));
    SetPreference("editSoundsApp", ToValue(sounds_));
    SetPreference(kWebPlayerPreference, webPlayer_->isChecked() ? "1" : "0");
    EnsurePreferenceDefaults();
    QDialog::accept();
}

} // namespace qb::ui
