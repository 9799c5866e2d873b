#include "editors/shootemup/main_parameters.h"
#include "model/projectfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "imaging/sprite_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/sound_pair.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/named_widgets.h"
#include "toolkit/item_types.h"
#include "toolkit/main_parameters_groups.h"
#include "toolkit/ordered_item_list.h"

namespace qb::ui {

namespace {

namespace mp = layout::shootemup_main;
namespace frame = layout::sprite_frame;


QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLineEdit* NumberEdit(const char* name, QWidget* parent) {
    QLineEdit* edit = Edit(name, parent);
    // Room for a ten-digit value at any font size, no wider than a number needs.
    const int digits = edit->fontMetrics().horizontalAdvance(QString(11, '0'));
    edit->setMinimumWidth(digits + 12);
    edit->setMaximumWidth(digits + 40);
    AcceptSignedDecimalOnly(edit);
    return edit;
}

// The item combos here have room for longer descriptions than most.
constexpr int kComboChars = 18;

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* Check(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QRadioButton* Radio(const QString& text, const char* name, QWidget* parent) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    return radio;
}

// A number row of a text shown in the game.
struct Position {
    const char* label;
    const char* name;
    std::size_t offset;
};

QGroupBox* Group(const QString& title, const char* name, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    return group;
}

} // namespace

ShootEmUpMainDialog::ShootEmUpMainDialog(QWidget* owner)
    : ItemEditorDialog(owner, "Main parameters", TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    auto editSprite = [this](QPushButton* button, std::size_t offset, int frames) {
        connect(button, &QPushButton::clicked, this, [this, offset, frames] {
            EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), offset, frames);
        });
    };
    // The "Edit sprite" button and the number rows of a text shown in the game; answers them.
    auto addTextRows = [&](QFormLayout* form, QWidget* group, const char* spriteName,
                           std::size_t sprite, std::initializer_list<Position> positions) {
        auto* spriteButton = Button("Edit sprite", spriteName, group);
        form->addRow(spriteButton);
        editSprite(spriteButton, sprite, 1);
        std::vector<QWidget*> rows{spriteButton};
        for (const Position& p : positions) {
            QLineEdit* edit = f.number(NumberEdit(p.name, group), p.offset);
            form->addRow(p.label, edit);
            rows.push_back(edit);
        }
        return rows;
    };
    // A text the game shows or not: "Is showed:" enables its sprite button and number rows.
    auto addShownTexts = [&](const char* title, const char* groupName, const char* shownName,
                             std::size_t shown, const char* spriteName, std::size_t sprite,
                             std::initializer_list<Position> positions) {
        auto* group = Group(title, groupName, this);
        auto* form = new QFormLayout(group);
        auto* shownBox = Check(QString(), shownName, group);
        form->addRow("Is showed:", shownBox);
        std::vector<QWidget*> rows = addTextRows(form, group, spriteName, sprite, positions);
        f.flag(shownBox, shown);
        EnableWhile(shownBox, std::move(rows));
        return group;
    };
    const auto [left, middle, right] = AddColumns(this);

    // Project.
    auto* projectForm = new QFormLayout;
    left->addLayout(projectForm);
    AddProjectRows(this, projectForm, game::ShootEmUp, "openProjectFolderButton");

    // Player.
    auto* player = Group("Player", "playerGroupBox", this);
    auto* playerForm = new QFormLayout(player);
    playerForm->addRow("Player sprites:", f.object(ItemCombo("playerSpritesComboBox", kComboChars),
                                                   mp::kPlayerShip, kUserShipType));
    playerForm->addRow("Player fire:", f.object(ItemCombo("playerFireComboBox", kComboChars),
                                                mp::kPlayerFire, kUserShipFireType));
    playerForm->addRow("Player initial speed:",
                       f.number(NumberEdit("playerInitialSpeedLineEdit", player), mp::kPlayerInitialSpeed));
    playerForm->addRow("Player max speed:",
                       f.number(NumberEdit("playerMaxSpeedLineEdit", player), mp::kPlayerMaxSpeed));
    playerForm->addRow("Seconds of invisibility when start:",
                       f.number(NumberEdit("invisibilitySecondsLineEdit", player), mp::kInvisibilitySeconds));
    playerForm->addRow("Number of lives:", f.number(NumberEdit("livesLineEdit", player), mp::kLives));
    left->addWidget(player);

    // Levels.
    auto* levels = Group("Levels", "levelsGroupBox", this);
    auto* levelsBox = new QVBoxLayout(levels);
    auto* levelList = new OrderedItemList(
        this, {mp::kLevelCount, mp::kLevelList, mp::kLevelListSlots, kLevelDataType,
               "Maximum number of levels (100) is reached!", "level", "levelsListWidget",
               "levelUpButton", "levelDownButton", "deleteLevelButton", "levelComboBox",
               "addLevelButton"});
    {
        // The list with its moves and "Delete", then the item to add.
        levelsBox->addWidget(levelList->list(), 1);
        auto* moves = new QHBoxLayout;
        moves->addWidget(levelList->upButton());
        moves->addWidget(levelList->downButton());
        moves->addStretch(1);
        moves->addWidget(levelList->deleteButton());
        levelsBox->addLayout(moves);
        auto* addRow = new QHBoxLayout;
        auto* label = Label("levelLabel", "Level:");
        label->setBuddy(levelList->combo());
        addRow->addWidget(label);
        addRow->addWidget(levelList->combo(), 1);
        addRow->addWidget(levelList->addButton());
        levelsBox->addLayout(addRow);
    }
    left->addWidget(levels, 1);

    AddResourceLocationGroup(this, middle, {mp::kResourceLocation, mp::kResourcePath},
                             "Resources are in a specific path (e.g. http://www.example.com/mygame/)",
                             PathBoxPlace::Last);
    AddGameAreaGroups(this, middle, {mp::kGameAreaPreset, mp::kGameAreaWidth, mp::kGameAreaHeight},
                      "area");

    // Splash screens, font, texts.
    auto* screens = new QFormLayout;
    middle->addLayout(screens);
    screens->addRow("Splash title:", f.object(ItemCombo("splashTitleComboBox", kComboChars),
                                              mp::kSplashStart, kSplashBitmapType));
    screens->addRow("Splash end:", f.object(ItemCombo("splashEndComboBox", kComboChars),
                                            mp::kSplashEnd, kSplashBitmapType));
    auto* defaultFont =
        f.object(ItemCombo("defaultFontComboBox", kComboChars), mp::kDefaultFont, kFontsBitmapType);
    screens->addRow("Default font:", defaultFont);
    auto* customFont = Check("Use custom font", "useCustomFontCheckBox", this);
    screens->addRow(customFont);
    f.flag(customFont, mp::kUseCustomFont);
    EnableWhile(customFont, {defaultFont}, false);
    // Written into the record the moment it changes, and saved at once so that the project file
    // agrees with the record whatever button closes the dialog; Cancel does not undo it.
    connect(customFont, &QCheckBox::toggled, this, [this](bool checked) {
        if (fields().isLoading()) return;
        ObjectRecord* o = fields().object();
        if (!o) return;
        o->record().setU32(mp::kUseCustomFont, checked ? 1u : 0u);
        SaveProject(fields().projectIndex());
    });
    screens->addRow("Description while loading:",
                    f.text(Edit("loadingDescriptionLineEdit", this), mp::kLoadingDescription, layout::kTextField));
    screens->addRow("Comments:", f.text(Edit("commentsLineEdit", this), mp::kComments, layout::kTextField));
    middle->addStretch(1);

    // Score texts.
    auto* score = Group("Score texts on game", "scoreTextsGroupBox", this);
    auto* scoreForm = new QFormLayout(score);
    scoreForm->addRow("Number of digits:", f.number(NumberEdit("scoreDigitsLineEdit", score), mp::kScoreDigits));
    addTextRows(scoreForm, score, "scoreEditSpriteButton", mp::kScoreTextSprite,
                {{"x position text 'Score':", "scoreTextXLineEdit", mp::kScoreTextX},
                 {"y position text 'Score':", "scoreTextYLineEdit", mp::kScoreTextY},
                 {"x position score:", "scoreXLineEdit", mp::kScoreX},
                 {"y position score:", "scoreYLineEdit", mp::kScoreY}});
    right->addWidget(score);

    // High texts: "Is showed:" switches the sprite button, positions and starting high.
    right->addWidget(addShownTexts("High texts on game", "highTextsGroupBox", "highShownCheckBox",
                                   mp::kHighShown, "highEditSpriteButton", mp::kHighTextSprite,
                                   {{"x position text 'High':", "highTextXLineEdit", mp::kHighTextX},
                                    {"y position text 'High':", "highTextYLineEdit", mp::kHighTextY},
                                    {"x position high:", "highXLineEdit", mp::kHighX},
                                    {"y position high:", "highYLineEdit", mp::kHighY},
                                    {"Starting high:", "startingHighLineEdit", mp::kStartingHigh}}));
    // Lives texts.
    right->addWidget(addShownTexts("Lives texts on game", "livesTextsGroupBox", "livesShownCheckBox",
                                   mp::kLivesShown, "livesEditSpriteButton", mp::kLivesTextSprite,
                                   {{"x position text 'Lives':", "livesTextXLineEdit", mp::kLivesTextX},
                                    {"y position text 'Lives':", "livesTextYLineEdit", mp::kLivesTextY},
                                    {"x position lives:", "livesXLineEdit", mp::kLivesX},
                                    {"y position lives:", "livesYLineEdit", mp::kLivesY}}));
    right->addStretch(1);

    // Hidden: the engine reads these fields, the editor only passes them through.
    auto* scroll = Group("Type of scroll", "scrollTypeGroupBox", this);
    auto* scrollBox = new QVBoxLayout(scroll);
    auto* vertical = Radio("Vertical scroll", "verticalScrollRadioButton", scroll);
    auto* multiscroll = Radio("Multiscroll", "multiscrollRadioButton", scroll);
    scrollBox->addWidget(vertical);
    scrollBox->addWidget(multiscroll);
    f.choice(mp::kScrollType, {{vertical, 0u}, {multiscroll, 1u}});
    right->addWidget(scroll);
    scroll->hide();

    auto* multiscrollData = Group("Multiscroll data", "multiscrollDataGroupBox", this);
    auto* multiForm = new QFormLayout(multiscrollData);
    auto* gameOverSprite = Button("Edit sprite", "gameOverEditSpriteButton", multiscrollData);
    multiForm->addRow("Game over sprite (repeated):", gameOverSprite);
    editSprite(gameOverSprite, mp::kGameOverSprite, 1);
    multiForm->addRow("Left map limit (pixels from left):",
                      f.number(NumberEdit("mapLimitLeftLineEdit", multiscrollData), mp::kMapLimitLeft));
    multiForm->addRow("Right map limit (pixels from right):",
                      f.number(NumberEdit("mapLimitRightLineEdit", multiscrollData), mp::kMapLimitRight));
    multiForm->addRow("Top map limit (pixels from top):",
                      f.number(NumberEdit("mapLimitTopLineEdit", multiscrollData), mp::kMapLimitTop));
    multiForm->addRow("Bottom map limit (pixels from bottom):",
                      f.number(NumberEdit("mapLimitBottomLineEdit", multiscrollData), mp::kMapLimitBottom));
    right->addWidget(multiscrollData);
    multiscrollData->hide();

    auto* audio = Group("Audio", "audioGroupBox", this);
    auto* audioForm = new QFormLayout(audio);
    auto* backgroundSound = Check("Enable background sound", "enableBackgroundSoundCheckBox", audio);
    auto* startingSound = ItemCombo("startingSoundComboBox", kComboChars);
    audioForm->addRow(backgroundSound);
    audioForm->addRow("Starting sound", startingSound);
    f.optionalSound(backgroundSound, startingSound, mp::kBackgroundSound + layout::sound_pair::kEnabled,
                    mp::kBackgroundSound + layout::sound_pair::kSoundId);
    right->addWidget(audio);
    audio->hide();

    auto* audioSprites = Group("Audio", "audioSpritesGroupBox", this);
    auto* audioSpritesBox = new QVBoxLayout(audioSprites);
    auto* musicSprites = Button("Sprites music on/off", "musicOnOffSpritesButton", audioSprites);
    auto* fxSprites = Button("Sprites Fx on/off", "fxOnOffSpritesButton", audioSprites);
    audioSpritesBox->addWidget(musicSprites);
    audioSpritesBox->addWidget(fxSprites);
    editSprite(musicSprites, mp::kMusicOnOffSprites, static_cast<int>(mp::kOnOffFrames));
    editSprite(fxSprites, mp::kFxOnOffSprites, static_cast<int>(mp::kOnOffFrames));
    right->addWidget(audioSprites);
    audioSprites->hide();

    loadFields();
}

namespace {
const EditorRegistration kShootEmUpMainEditor(kShootEmUpMainType, RunEditor<ShootEmUpMainDialog>);
} // namespace

} // namespace qb::ui
