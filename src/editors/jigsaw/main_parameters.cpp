#include "editors/jigsaw/main_parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <type_traits>

#include "model/catalogue.h"
#include "model/layouts/jigsaw_main.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace L = layout::jigsaw_main;

constexpr std::uint32_t kMainType = 600;
constexpr std::uint32_t kFontType = 2;
constexpr std::uint32_t kBackgroundType = 4;
constexpr std::uint32_t kSplashType = 13;

template <class W, class... Args> W* Named(const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(QString::fromLatin1(name));
    // Enter in a text box means OK, never one of the dialog's own buttons.
    if constexpr (std::is_base_of_v<QPushButton, W>) w->setAutoDefault(false);
    return w;
}

QLabel* Label(const char* name, const char* text) {
    return Named<QLabel>(name, QString::fromLatin1(text));
}

QLineEdit* NumberEdit(const char* name) {
    auto* edit = Named<QLineEdit>(name);
    edit->setMaximumWidth(90);
    return edit;
}

struct SoundRow {
    const char* boxName;
    const char* boxText;
    const char* labelName;
    const char* comboName;
    std::size_t offset;
};

constexpr SoundRow kSoundRows[] = {
    {"enableBackgroundSoundCheckBox", "Enable background sound", "backgroundSoundLabel",
     "backgroundSoundComboBox", L::kBackgroundSound},
    {"enablePickSoundCheckBox", "Enable pick sound", "pickSoundLabel", "pickSoundComboBox",
     L::kPickSound},
    {"enablePlaceSoundCheckBox", "Enable place sound", "placeSoundLabel", "placeSoundComboBox",
     L::kPlaceSound},
    {"enableStartSoundCheckBox", "Enable start sound", "startSoundLabel", "startSoundComboBox",
     L::kStartSound},
    {"enableFinishSoundCheckBox", "Enable finish sound", "finishSoundLabel",
     "finishSoundComboBox", L::kFinishSound},
};

const EditorRegistration kRegistration(kMainType, OpenJigsawMainParameters);
} // namespace

JigsawMainParametersDialog::JigsawMainParametersDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Main parameters"), TreeAfterOk::Keep) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);

    // Project.
    auto* projectGroup = Named<QGroupBox>("projectGroupBox", QStringLiteral("Project"));
    auto* projectForm = new QFormLayout(projectGroup);
    auto* typeOfProject = Named<QLineEdit>("typeOfProjectLineEdit");
    typeOfProject->setReadOnly(true);
    if (const GameTypeInfo* info = FindGameType(game::Jigsaw))
        typeOfProject->setText(FromRecordText(info->typeOfProject));
    auto* projectName = f.projectName(Named<QLineEdit>("projectNameLineEdit"));
    auto* openFolder =
        Named<QPushButton>("openProjectFolderPushButton", QStringLiteral("Open project folder"));
    projectForm->addRow(Label("typeOfProjectLabel", "Type of project:"), typeOfProject);
    projectForm->addRow(Label("projectNameLabel", "Project name:"), projectName);
    projectForm->addRow(openFolder);
    const int projectIndex = f.projectIndex();
    connect(openFolder, &QPushButton::clicked, this, [projectIndex] { OpenProjectFolder(projectIndex); });
    left->addWidget(projectGroup);

    // Compiling: where the compiled game finds its resources.
    auto* compilingGroup = Named<QGroupBox>("compilingGroupBox", QStringLiteral("Compiling"));
    auto* compiling = new QVBoxLayout(compilingGroup);
    auto* samePath = Named<QRadioButton>(
        "samePathRadioButton", QStringLiteral("Resources are in the same path of the .SWF file"));
    auto* specificPath = Named<QRadioButton>(
        "specificPathRadioButton",
        QStringLiteral("Resources are in a specific path (e.g. http://www.mysite.com/mygame/)"));
    auto* embedded =
        Named<QRadioButton>("embeddedRadioButton", QStringLiteral("Resources are embedded"));
    auto* resourcePath =
        f.text(Named<QLineEdit>("resourcePathLineEdit"), L::kResourcePath, layout::kTextField);
    auto* loading = f.text(Named<QLineEdit>("descriptionWhileLoadingLineEdit"),
                           L::kLoadingDescription, layout::kTextField);
    compiling->addWidget(samePath);
    compiling->addWidget(specificPath);
    compiling->addWidget(resourcePath);
    compiling->addWidget(embedded);
    compiling->addWidget(Label("descriptionWhileLoadingLabel", "Description while loading:"));
    compiling->addWidget(loading);
    samePath->setVisible(false);
    f.choice(L::kResourceLocation, {{samePath, layout::kResourcesBesideGame},
                                    {specificPath, layout::kResourcesAtPath},
                                    {embedded, layout::kResourcesEmbedded}});
    EnableWhile(specificPath, {resourcePath});
    left->addWidget(compilingGroup);

    // Game area: the presets; the free size with its own width and height is kept out of sight
    // but still carries the two numbers the build reads.
    auto* areaGroup = Named<QGroupBox>("gameAreaGroupBox", QStringLiteral("Game area"));
    auto* area = new QGridLayout(areaGroup);
    preset550_ = Named<QRadioButton>("preset550x400RadioButton", QStringLiteral("550x400"));
    preset600_ = Named<QRadioButton>("preset600x400RadioButton", QStringLiteral("600x400"));
    preset640_ = Named<QRadioButton>("preset640x480RadioButton", QStringLiteral("640x480"));
    preset800_ = Named<QRadioButton>("preset800x600RadioButton", QStringLiteral("800x600"));
    area->addWidget(preset550_, 0, 0);
    area->addWidget(preset600_, 0, 1);
    area->addWidget(preset640_, 1, 0);
    area->addWidget(preset800_, 1, 1);
    left->addWidget(areaGroup);

    auto* freeGroup = Named<QGroupBox>("freeGameAreaGroupBox", QStringLiteral("Game area"));
    auto* freeForm = new QFormLayout(freeGroup);
    auto* width = f.number(NumberEdit("gameAreaWidthLineEdit"), L::kGameAreaWidth);
    auto* height = f.number(NumberEdit("gameAreaHeightLineEdit"), L::kGameAreaHeight);
    freeSize_ = Named<QCheckBox>("freeSizeCheckBox",
                                 QStringLiteral("Non utilizzare risoluzioni fisse!"));
    freeForm->addRow(Label("gameAreaWidthLabel", "Width (>= 320):"), width);
    freeForm->addRow(Label("gameAreaHeightLabel", "Height (>= 256):"), height);
    freeForm->addRow(freeSize_);
    freeGroup->setVisible(false);
    left->addWidget(freeGroup);
    f.choice(L::kGameAreaPreset, {{preset550_, layout::kArea550x400},
                                  {preset600_, layout::kArea600x400},
                                  {preset640_, layout::kArea640x480},
                                  {preset800_, layout::kArea800x600},
                                  {freeSize_, layout::kAreaFree}});
    connect(preset550_, &QRadioButton::clicked, this,
            [=, this] { presetClicked(width, height, "550", "400"); });
    connect(preset600_, &QRadioButton::clicked, this,
            [=, this] { presetClicked(width, height, "600", "400"); });
    connect(preset640_, &QRadioButton::clicked, this,
            [=, this] { presetClicked(width, height, "640", "480"); });
    connect(preset800_, &QRadioButton::clicked, this,
            [=, this] { presetClicked(width, height, "800", "600"); });
    connect(freeSize_, &QCheckBox::clicked, this, [this] {
        CheckExclusive({{preset550_, 1}, {preset600_, 2}, {preset640_, 3}, {preset800_, 4}}, 0);
    });
    left->addStretch(1);

    // Splash, font and the two backgrounds.
    auto* graphicsGroup = Named<QGroupBox>("graphicsGroupBox", QStringLiteral("Graphics"));
    auto* graphics = new QFormLayout(graphicsGroup);
    auto* splash = f.object(Named<QComboBox>("splashTitleComboBox"), L::kSplashStart, kSplashType);
    auto* font = f.object(Named<QComboBox>("defaultFontComboBox"), L::kDefaultFont, kFontType);
    auto* customFont =
        f.flag(Named<QCheckBox>("useCustomFontCheckBox", QStringLiteral("Use custom font")),
               L::kUseCustomFont);
    auto* withJigsaw = f.object(Named<QComboBox>("backgroundWithJigsawComboBox"),
                                L::kBackgroundWithJigsaw, kBackgroundType);
    auto* withoutJigsaw = f.object(Named<QComboBox>("backgroundWithoutJigsawComboBox"),
                                   L::kBackgroundWithoutJigsaw, kBackgroundType);
    for (QComboBox* combo : {splash, font, withJigsaw, withoutJigsaw})
        combo->setMinimumContentsLength(16);
    graphics->addRow(Label("splashTitleLabel", "Splash title:"), splash);
    graphics->addRow(Label("defaultFontLabel", "Default font:"), font);
    graphics->addRow(customFont);
    graphics->addRow(Label("backgroundWithJigsawLabel", "Background with jigsaw:"), withJigsaw);
    graphics->addRow(Label("backgroundWithoutJigsawLabel", "Background without jigsaw:"),
                     withoutJigsaw);
    EnableWhile(customFont, {font}, false);
    connect(customFont, &QCheckBox::clicked, this,
            &JigsawMainParametersDialog::useCustomFontClicked);
    middle->addWidget(graphicsGroup);

    // The puzzle area and its grid.
    auto* puzzleGroup = Named<QGroupBox>("puzzleGroupBox", QStringLiteral("Puzzle"));
    auto* puzzle = new QFormLayout(puzzleGroup);
    puzzle->addRow(Label("puzzleXLabel", "Xi position (from left):"),
                   f.number(NumberEdit("puzzleXLineEdit"), L::kPuzzleX));
    puzzle->addRow(Label("puzzleYLabel", "Yi position (from top):"),
                   f.number(NumberEdit("puzzleYLineEdit"), L::kPuzzleY));
    puzzle->addRow(Label("puzzleWidthLabel", "Width:"),
                   f.number(NumberEdit("puzzleWidthLineEdit"), L::kPuzzleWidth));
    puzzle->addRow(Label("puzzleHeightLabel", "Height:"),
                   f.number(NumberEdit("puzzleHeightLineEdit"), L::kPuzzleHeight));
    puzzle->addRow(Label("piecesAcrossLabel", "Number of horizontal puzzles:"),
                   f.number(NumberEdit("piecesAcrossLineEdit"), L::kPiecesAcross));
    puzzle->addRow(Label("piecesDownLabel", "Number of vertical puzzles:"),
                   f.number(NumberEdit("piecesDownLineEdit"), L::kPiecesDown));
    middle->addWidget(puzzleGroup);

    auto* timeGroup =
        Named<QGroupBox>("timeElapsedGroupBox", QStringLiteral("Time elapsed position"));
    auto* time = new QFormLayout(timeGroup);
    time->addRow(Label("timeXLabel", "X position:"),
                 f.number(NumberEdit("timeXLineEdit"), L::kTimeX));
    time->addRow(Label("timeYLabel", "Y position:"),
                 f.number(NumberEdit("timeYLineEdit"), L::kTimeY));
    middle->addWidget(timeGroup);
    middle->addStretch(1);

    // The five optional sounds.
    auto* soundsGroup = Named<QGroupBox>("soundsGroupBox", QStringLiteral("Sounds"));
    auto* sounds = new QGridLayout(soundsGroup);
    int row = 0;
    for (const SoundRow& s : kSoundRows) {
        auto* box = Named<QCheckBox>(s.boxName, QString::fromLatin1(s.boxText));
        auto* combo = Named<QComboBox>(s.comboName);
        combo->setMinimumContentsLength(14);
        f.optionalSound(box, combo, s.offset + layout::sound_pair::kEnabled,
                        s.offset + layout::sound_pair::kSoundId);
        sounds->addWidget(box, row, 0);
        sounds->addWidget(Label(s.labelName, "Sound"), row, 1);
        sounds->addWidget(combo, row, 2);
        ++row;
    }
    sounds->setColumnStretch(2, 1);
    right->addWidget(soundsGroup);

    auto* commentsGroup = Named<QGroupBox>("commentsGroupBox", QStringLiteral("Others"));
    auto* comments = new QVBoxLayout(commentsGroup);
    comments->addWidget(Label("commentsLabel", "Comments:"));
    comments->addWidget(
        f.text(Named<QLineEdit>("commentsLineEdit"), L::kComments, layout::kTextField));
    right->addWidget(commentsGroup);
    right->addStretch(1);

    loadFields();
}

void JigsawMainParametersDialog::presetClicked(QLineEdit* width, QLineEdit* height, const char* w,
                                               const char* h) {
    freeSize_->setChecked(false);
    width->setText(QString::fromLatin1(w));
    height->setText(QString::fromLatin1(h));
}

void JigsawMainParametersDialog::useCustomFontClicked(bool checked) {
    // This one field is written before OK; it is saved at once so that the project file agrees
    // with the record whatever button closes the dialog.
    ObjectRecord* object = fields().object();
    if (!object) return;
    object->record().setU32(L::kUseCustomFont, checked ? 1u : 0u);
    SaveProject(fields().projectIndex());
}

void OpenJigsawMainParameters(QWidget* owner) {
    JigsawMainParametersDialog dialog(owner);
    dialog.exec();
}

} // namespace qb::ui
