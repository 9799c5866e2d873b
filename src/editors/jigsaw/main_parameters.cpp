#include "editors/jigsaw/main_parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "model/catalogue.h"
#include "model/layouts/jigsaw_main.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/main_parameters_groups.h"
#include "toolkit/named_widgets.h"

namespace qb::ui {

namespace {
namespace L = layout::jigsaw_main;

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

const EditorRegistration kRegistration(kJigsawMainType, RunEditor<JigsawMainParametersDialog>);
} // namespace

JigsawMainParametersDialog::JigsawMainParametersDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Main parameters"), TreeAfterOk::Keep) {
    FieldBinder& f = fields();
    const auto [left, middle, right] = AddColumns(this);

    AddProjectRows(this, AddGroup<QFormLayout>(left, "projectGroupBox", "Project"), game::Jigsaw,
                   "openProjectFolderPushButton");

    QVBoxLayout* compiling = AddResourceLocationGroup(
        this, left, {L::kResourceLocation, L::kResourcePath},
        "Resources are in a specific path (e.g. http://www.mysite.com/mygame/)",
        PathBoxPlace::UnderItsChoice);
    AddLoadingDescription(this, compiling, L::kLoadingDescription);

    AddGameAreaGroups(this, left, {L::kGameAreaPreset, L::kGameAreaWidth, L::kGameAreaHeight},
                      "preset");
    left->addStretch(1);

    // Splash, font and the two backgrounds.
    auto* graphics = AddGroup<QFormLayout>(middle, "graphicsGroupBox", "Graphics");
    auto* splash = f.object(ItemCombo("splashTitleComboBox"), L::kSplashStart, kSplashBitmapType);
    auto* font = f.object(ItemCombo("defaultFontComboBox"), L::kDefaultFont, kFontsBitmapType);
    auto* customFont =
        f.flag(Named<QCheckBox>("useCustomFontCheckBox", QStringLiteral("Use custom font")),
               L::kUseCustomFont);
    auto* withJigsaw = f.object(ItemCombo("backgroundWithJigsawComboBox"), L::kBackgroundWithJigsaw,
                                kBackgroundsBitmapType);
    auto* withoutJigsaw = f.object(ItemCombo("backgroundWithoutJigsawComboBox"),
                                   L::kBackgroundWithoutJigsaw, kBackgroundsBitmapType);
    graphics->addRow(Label("splashTitleLabel", "Splash title:"), splash);
    graphics->addRow(Label("defaultFontLabel", "Default font:"), font);
    graphics->addRow(customFont);
    graphics->addRow(Label("backgroundWithJigsawLabel", "Background with jigsaw:"), withJigsaw);
    graphics->addRow(Label("backgroundWithoutJigsawLabel", "Background without jigsaw:"),
                     withoutJigsaw);
    EnableWhile(customFont, {font}, false);
    connect(customFont, &QCheckBox::toggled, this,
            &JigsawMainParametersDialog::useCustomFontClicked);

    // The puzzle area and its grid.
    auto* puzzle = AddGroup<QFormLayout>(middle, "puzzleGroupBox", "Puzzle");
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

    auto* time = AddGroup<QFormLayout>(middle, "timeElapsedGroupBox", "Time elapsed position");
    time->addRow(Label("timeXLabel", "X position:"),
                 f.number(NumberEdit("timeXLineEdit"), L::kTimeX));
    time->addRow(Label("timeYLabel", "Y position:"),
                 f.number(NumberEdit("timeYLineEdit"), L::kTimeY));
    middle->addStretch(1);

    // The five optional sounds.
    auto* sounds = AddGroup<QGridLayout>(right, "soundsGroupBox", "Sounds");
    int row = 0;
    for (const SoundRow& s : kSoundRows) {
        auto* box = Named<QCheckBox>(s.boxName, QString::fromLatin1(s.boxText));
        auto* combo = ItemCombo(s.comboName, 14);
        f.optionalSound(box, combo, s.offset + layout::sound_pair::kEnabled,
                        s.offset + layout::sound_pair::kSoundId);
        sounds->addWidget(box, row, 0);
        sounds->addWidget(Label(s.labelName, "Sound"), row, 1);
        sounds->addWidget(combo, row, 2);
        ++row;
    }
    sounds->setColumnStretch(2, 1);

    auto* comments = AddGroup<QVBoxLayout>(right, "commentsGroupBox", "Others");
    comments->addWidget(Label("commentsLabel", "Comments:"));
    comments->addWidget(
        f.text(Named<QLineEdit>("commentsLineEdit"), L::kComments, layout::kTextField));
    right->addStretch(1);

    loadFields();
}

void JigsawMainParametersDialog::useCustomFontClicked(bool checked) {
    // This one field is written before OK; it is saved at once so that the project file agrees
    // with the record whatever button closes the dialog.
    if (fields().isLoading()) return;
    ObjectRecord* object = fields().object();
    if (!object) return;
    object->record().setU32(L::kUseCustomFont, checked ? 1u : 0u);
    SaveProject(fields().projectIndex());
}

} // namespace qb::ui
