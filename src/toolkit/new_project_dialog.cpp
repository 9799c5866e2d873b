#include "toolkit/new_project_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/catalogue.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
constexpr int kNameChars = 259;

// Choices in the order the dialog lists them, with their game type codes.
struct Choice {
    std::uint32_t code;
    const char* name;
};
constexpr Choice kChoices[] = {
    {game::ShootEmUp, "shootEmUpRadio"}, {game::Racing, "racingRadio"},
    {game::Platform, "platformRadio"},   {game::Soccer, "soccerRadio"},
    {game::Curling, "curlingRadio"},     {game::Jigsaw, "jigsawRadio"},
    {game::Music, "musicRadio"},
};
} // namespace

NewProjectDialog::NewProjectDialog(QWidget* owner) : QDialog(owner) {
    SetUpModalDialog(this, "newProjectDialog", "New project");

    auto* outer = new QVBoxLayout(this);
    auto* nameFrame = new QGroupBox(this);
    nameFrame->setObjectName("nameFrame");
    auto* nameLayout = new QVBoxLayout(nameFrame);
    auto* nameLabel = new QLabel("Project name:", nameFrame);
    nameLabel->setObjectName("projectNameLabel");
    name_ = new QLineEdit(nameFrame);
    name_->setObjectName("projectNameEdit");
    name_->setMaxLength(kNameChars);
    nameLabel->setBuddy(name_);
    nameLayout->addWidget(nameLabel);
    nameLayout->addWidget(name_);
    outer->addWidget(nameFrame);

    // The frame exists for the full list of game types; with only some of them offered it is
    // hidden and the offered choices stand on their own.
    typeFrame_ = new QGroupBox("Type of game", this);
    typeFrame_->setObjectName("typeOfGameFrame");
    outer->addWidget(typeFrame_);
    auto* choicesWidget = new QWidget(this);
    choicesWidget->setObjectName("gameTypeChoices");
    auto* choicesLayout = new QHBoxLayout(choicesWidget);
    choicesLayout->setContentsMargins(8, 0, 8, 0);
    auto* group = new QButtonGroup(this);
    for (const Choice& choice : kChoices) {
        const GameTypeInfo* info = FindGameType(choice.code);
        auto* radio = new QRadioButton(info ? FromRecordText(info->newProjectLabel) : QString(),
                                       choicesWidget);
        radio->setObjectName(choice.name);
        group->addButton(radio, static_cast<int>(choice.code));
        choicesLayout->addWidget(radio);
        choices_[choice.code] = radio;
    }
    choicesLayout->addStretch(1);
    outer->addWidget(choicesWidget);

    auto* folderLabel = new QLabel("Project will be created in this new folder:", this);
    folderLabel->setObjectName("projectFolderLabel");
    folder_ = new QLineEdit(this);
    folder_->setObjectName("projectFolderEdit");
    folder_->setReadOnly(true);
    folder_->setMinimumWidth(380);
    folderLabel->setBuddy(folder_);
    outer->addWidget(folderLabel);
    outer->addWidget(folder_);

    ok_ = AddOkCancelButtons(this, outer)->button(QDialogButtonBox::Ok);
    connect(name_, &QLineEdit::textChanged, this, &NewProjectDialog::nameChanged);

    typeFrame_->hide();
    for (std::uint32_t code = 0; code < kGameTypeCount; ++code) {
        const GameTypeInfo* info = FindGameType(code);
        choices_[code]->setVisible(info && info->offered);
    }
    choices_[game::ShootEmUp]->setChecked(true);
    ok_->setEnabled(false);
}

QRadioButton* NewProjectDialog::choice(std::uint32_t gameType) const {
    return gameType < kGameTypeCount ? choices_[gameType] : nullptr;
}

void NewProjectDialog::nameChanged() {
    // Characters outside the 8-bit set become '?', which the name check refuses.
    const std::string name = ToRecordText(name_->text(), kNameChars);
    workspace& ws = Workspace();
    if (IsValidProjectName(name)) {
        // The record keeps the 8-bit name; the file system gets the same name in UTF-8, as
        // Linux file names are.
        const QByteArray utf8 = name_->text().left(kNameChars).toUtf8();
        const std::string folder = MakeUniquePath(
            ProjectsFolder(), std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), "");
        // No folder can hold a name that long: say so instead of offering an empty folder.
        ok_->setEnabled(!folder.empty());
        folder_->setText(folder.empty() ? QStringLiteral("The name is too long for a folder.")
                                        : QString::fromStdString(folder));
        ws.pendingProjectName = name;
        ws.pendingProjectFolder = folder;
    } else {
        ok_->setEnabled(false);
        folder_->clear();
    }
}

void NewProjectDialog::accept() {
    if (!ok_->isEnabled()) return;  // Enter in an invalid name
    for (std::uint32_t code = 0; code < kGameTypeCount; ++code) {
        if (choices_[code]->isChecked()) Workspace().chosenGameType = code;
    }
    QDialog::accept();
}

} // namespace qb::ui
