#include "toolkit/main_parameters_groups.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "model/catalogue.h"
#include "model/layouts/common.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_editor.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

Columns AddColumns(ItemEditorDialog* dialog) {
    auto* row = new QHBoxLayout;
    dialog->body()->addLayout(row);
    Columns columns{new QVBoxLayout, new QVBoxLayout, new QVBoxLayout};
    row->addLayout(columns.left);
    row->addLayout(columns.middle);
    row->addLayout(columns.right);
    return columns;
}

void AddProjectRows(ItemEditorDialog* dialog, QFormLayout* form, std::uint32_t gameType,
                    const char* openFolderName) {
    FieldBinder& f = dialog->fields();
    auto* typeOfProject = Named<QLineEdit>("typeOfProjectLineEdit");
    typeOfProject->setReadOnly(true);
    if (const GameTypeInfo* info = FindGameType(gameType))
        typeOfProject->setText(FromRecordText(info->typeOfProject));
    auto* projectName = f.projectName(Named<QLineEdit>("projectNameLineEdit"));
    auto* openFolder = Named<QPushButton>(openFolderName, QStringLiteral("Open project folder"));
    AddRow(form, "typeOfProjectLabel", "Type of project:", typeOfProject);
    AddRow(form, "projectNameLabel", "Project name:", projectName);
    form->addRow(openFolder);
    const int projectIndex = f.projectIndex();
    QObject::connect(openFolder, &QPushButton::clicked, dialog,
                     [projectIndex] { OpenProjectFolder(projectIndex); });
}

QVBoxLayout* AddResourceLocationGroup(ItemEditorDialog* dialog, QBoxLayout* column,
                                      ResourceLocationFields fields,
                                      const char* specificPathText, PathBoxPlace place,
                                      ResourceChoices shown) {
    FieldBinder& f = dialog->fields();
    auto* compiling = AddGroup<QVBoxLayout>(column, "compilingGroupBox", "Compiling");
    auto* samePath = Named<QRadioButton>(
        "samePathRadioButton", QStringLiteral("Resources are in the same path of the .SWF file"));
    auto* specificPath =
        Named<QRadioButton>("specificPathRadioButton", QString::fromLatin1(specificPathText));
    auto* embedded =
        Named<QRadioButton>("embeddedRadioButton", QStringLiteral("Resources are embedded"));
    auto* resourcePath =
        f.text(Named<QLineEdit>("resourcePathLineEdit"), fields.path, layout::kTextField);
    compiling->addWidget(samePath);
    compiling->addWidget(specificPath);
    if (place == PathBoxPlace::UnderItsChoice) compiling->addWidget(resourcePath);
    compiling->addWidget(embedded);
    if (place == PathBoxPlace::Last) compiling->addWidget(resourcePath);
    samePath->setVisible(shown == ResourceChoices::BesideOrAtPath);
    embedded->setVisible(shown == ResourceChoices::AllThree);
    f.choice(fields.location, {{samePath, layout::kResourcesBesideGame},
                               {specificPath, layout::kResourcesAtPath},
                               {embedded, layout::kResourcesEmbedded}});
    EnableWhile(specificPath, {resourcePath});
    return compiling;
}

void AddGameAreaGroups(ItemEditorDialog* dialog, QBoxLayout* column, GameAreaFields fields,
                       const char* presetNamePrefix) {
    struct Preset {
        const char* size;
        const char* width;
        const char* height;
        std::uint32_t value;
    };
    static constexpr Preset kPresets[] = {{"550x400", "550", "400", layout::kArea550x400},
                                          {"600x400", "600", "400", layout::kArea600x400},
                                          {"640x480", "640", "480", layout::kArea640x480},
                                          {"800x600", "800", "600", layout::kArea800x600}};
    FieldBinder& f = dialog->fields();

    auto* area = AddGroup<QGridLayout>(column, "gameAreaGroupBox", "Game area");
    std::vector<std::pair<QAbstractButton*, std::uint32_t>> buttons;
    for (const Preset& preset : kPresets) {
        const QByteArray name = QByteArray(presetNamePrefix) + preset.size + "RadioButton";
        auto* button = Named<QRadioButton>(name.constData(), QString::fromLatin1(preset.size));
        const int index = static_cast<int>(buttons.size());
        area->addWidget(button, index / 2, index % 2);
        buttons.emplace_back(button, preset.value);
    }

    auto* freeForm = AddGroup<QFormLayout>(column, "freeGameAreaGroupBox", "Game area");
    auto* width = f.number(NumberEdit("gameAreaWidthLineEdit"), fields.width);
    auto* height = f.number(NumberEdit("gameAreaHeightLineEdit"), fields.height);
    auto* freeSize = Named<QCheckBox>("freeSizeCheckBox",
                                      QStringLiteral("Non utilizzare risoluzioni fisse!"));
    AddRow(freeForm, "gameAreaWidthLabel", "Width (>= 320):", width);
    AddRow(freeForm, "gameAreaHeightLabel", "Height (>= 256):", height);
    freeForm->addRow(freeSize);
    freeForm->parentWidget()->setVisible(false);

    // Checked in this order on OK, the last checked one winning.
    std::vector<std::pair<QAbstractButton*, std::uint32_t>> choices = buttons;
    choices.emplace_back(freeSize, layout::kAreaFree);
    f.choice(fields.preset, std::move(choices));

    // A preset writes its size when it becomes checked, whoever checks it; loading the record
    // checks the stored preset without touching the stored size.
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const Preset& preset = kPresets[i];
        QObject::connect(buttons[i].first, &QAbstractButton::toggled, dialog, [=, &f](bool on) {
            if (!on || f.isLoading()) return;
            freeSize->setChecked(false);
            width->setText(QString::fromLatin1(preset.width));
            height->setText(QString::fromLatin1(preset.height));
        });
    }
    // The free size clears the presets (no button has its value).
    QObject::connect(freeSize, &QAbstractButton::toggled, dialog, [buttons, &f](bool on) {
        if (on && !f.isLoading()) CheckExclusive(buttons, layout::kAreaFree);
    });
}

QFormLayout* AddGameSizeGroup(ItemEditorDialog* dialog, QBoxLayout* column, std::size_t width,
                              std::size_t height, const char* widthLabel,
                              const char* heightLabel) {
    FieldBinder& f = dialog->fields();
    auto* area = AddGroup<QFormLayout>(column, "gameAreaGroupBox", "Game area");
    AddRow(area, "gameWidthLabel", widthLabel, f.number(NumberEdit("gameWidthLineEdit"), width));
    AddRow(area, "gameHeightLabel", heightLabel, f.number(NumberEdit("gameHeightLineEdit"), height));
    return area;
}

void AddLoadingDescription(ItemEditorDialog* dialog, QVBoxLayout* compiling, std::size_t offset) {
    compiling->addWidget(Label("descriptionWhileLoadingLabel", "Description while loading:"));
    compiling->addWidget(dialog->fields().text(Named<QLineEdit>("descriptionWhileLoadingLineEdit"),
                                               offset, layout::kTextField));
}

} // namespace qb::ui
