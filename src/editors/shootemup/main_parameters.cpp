#include "editors/shootemup/main_parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/sprite_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/sound_pair.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace mp = layout::shootemup_main;
namespace frame = layout::sprite_frame;

constexpr std::uint32_t kFontsBitmapType = 2;
constexpr std::uint32_t kLevelDataType = 8;
constexpr std::uint32_t kUserShipType = 9;
constexpr std::uint32_t kUserShipFireType = 10;
constexpr std::uint32_t kSplashBitmapType = 13;

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
    return edit;
}

QComboBox* Combo(const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setMinimumContentsLength(18);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

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
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);

    // Project.
    auto* projectForm = new QFormLayout;
    left->addLayout(projectForm);
    auto* typeOfProject = Edit("typeOfProjectLineEdit", this);
    typeOfProject->setReadOnly(true);
    if (const GameTypeInfo* info = FindGameType(game::ShootEmUp))
        typeOfProject->setText(FromRecordText(info->typeOfProject));
    projectForm->addRow("Type of project:", typeOfProject);
    projectForm->addRow("Project name:", f.projectName(Edit("projectNameLineEdit", this)));
    auto* openFolder = Button("Open project folder", "openProjectFolderButton", this);
    projectForm->addRow(openFolder);
    connect(openFolder, &QPushButton::clicked, this,
            [this] { OpenProjectFolder(fields().projectIndex()); });

    // Player.
    auto* player = Group("Player", "playerGroupBox", this);
    auto* playerForm = new QFormLayout(player);
    playerForm->addRow("Player sprites:",
                       f.object(Combo("playerSpritesComboBox", player), mp::kPlayerShip, kUserShipType));
    playerForm->addRow("Player fire:", f.object(Combo("playerFireComboBox", player), mp::kPlayerFire,
                                                kUserShipFireType));
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
    buildLevelList(levels);
    left->addWidget(levels, 1);

    // Compiling: where the compiled game finds its resources.
    auto* compiling = Group("Compiling", "compilingGroupBox", this);
    auto* compilingBox = new QVBoxLayout(compiling);
    auto* samePath = Radio("Resources are in the same path of the .SWF file", "samePathRadioButton", compiling);
    auto* specificPath = Radio("Resources are in a specific path (e.g. http://www.example.com/mygame/)",
                               "specificPathRadioButton", compiling);
    auto* embedded = Radio("Resources are embedded", "embeddedRadioButton", compiling);
    auto* resourcePath = Edit("resourcePathLineEdit", compiling);
    for (QWidget* w : {static_cast<QWidget*>(samePath), static_cast<QWidget*>(specificPath),
                       static_cast<QWidget*>(embedded), static_cast<QWidget*>(resourcePath)})
        compilingBox->addWidget(w);
    samePath->hide();
    f.choice(mp::kResourceLocation, {{samePath, layout::kResourcesBesideGame},
                                     {specificPath, layout::kResourcesAtPath},
                                     {embedded, layout::kResourcesEmbedded}});
    f.text(resourcePath, mp::kResourcePath, layout::kTextField);
    EnableWhile(specificPath, {resourcePath});
    middle->addWidget(compiling);

    // Game area: four presets; the free size and its width and height stay hidden.
    auto* area = Group("Game area", "gameAreaGroupBox", this);
    auto* areaGrid = new QGridLayout(area);
    auto* p550 = Radio("550x400", "area550x400RadioButton", area);
    auto* p600 = Radio("600x400", "area600x400RadioButton", area);
    auto* p640 = Radio("640x480", "area640x480RadioButton", area);
    auto* p800 = Radio("800x600", "area800x600RadioButton", area);
    areaGrid->addWidget(p550, 0, 0);
    areaGrid->addWidget(p600, 0, 1);
    areaGrid->addWidget(p640, 1, 0);
    areaGrid->addWidget(p800, 1, 1);
    middle->addWidget(area);
    auto* freeArea = Group("Game area", "freeGameAreaGroupBox", this);
    auto* freeForm = new QFormLayout(freeArea);
    auto* width = f.number(NumberEdit("gameAreaWidthLineEdit", freeArea), mp::kGameAreaWidth);
    auto* height = f.number(NumberEdit("gameAreaHeightLineEdit", freeArea), mp::kGameAreaHeight);
    auto* freeSize = Check("Non utilizzare risoluzioni fisse!", "freeSizeCheckBox", freeArea);
    freeForm->addRow("Width (>= 320):", width);
    freeForm->addRow("Height (>= 256):", height);
    freeForm->addRow(freeSize);
    middle->addWidget(freeArea);
    freeArea->hide();
    // Checked in this order on OK, the last checked one winning.
    f.choice(mp::kGameAreaPreset, {{p550, layout::kArea550x400},
                                   {p600, layout::kArea600x400},
                                   {p640, layout::kArea640x480},
                                   {p800, layout::kArea800x600},
                                   {freeSize, layout::kAreaFree}});
    struct Preset {
        QRadioButton* button;
        const char* width;
        const char* height;
    };
    for (Preset preset : {Preset{p550, "550", "400"}, Preset{p600, "600", "400"},
                          Preset{p640, "640", "480"}, Preset{p800, "800", "600"}}) {
        connect(preset.button, &QRadioButton::clicked, this, [=] {
            freeSize->setChecked(false);
            width->setText(preset.width);
            height->setText(preset.height);
        });
    }
    connect(freeSize, &QCheckBox::clicked, this, [=] {
        CheckExclusive({{p550, layout::kArea550x400}, {p600, layout::kArea600x400},
                        {p640, layout::kArea640x480}, {p800, layout::kArea800x600}},
                       layout::kAreaFree);
    });

    // Splash screens, font, texts.
    auto* screens = new QFormLayout;
    middle->addLayout(screens);
    screens->addRow("Splash title:", f.object(Combo("splashTitleComboBox", this), mp::kSplashStart,
                                              kSplashBitmapType));
    screens->addRow("Splash end:", f.object(Combo("splashEndComboBox", this), mp::kSplashEnd,
                                            kSplashBitmapType));
    auto* defaultFont = f.object(Combo("defaultFontComboBox", this), mp::kDefaultFont, kFontsBitmapType);
    screens->addRow("Default font:", defaultFont);
    auto* customFont = Check("Use custom font", "useCustomFontCheckBox", this);
    screens->addRow(customFont);
    f.flag(customFont, mp::kUseCustomFont);
    EnableWhile(customFont, {defaultFont}, false);
    // Written into the record the moment it is clicked; Cancel does not undo it.
    connect(customFont, &QCheckBox::clicked, this, [this](bool checked) {
        if (ObjectRecord* o = fields().object()) o->record().setU32(mp::kUseCustomFont, checked ? 1u : 0u);
    });
    screens->addRow("Description while loading:",
                    f.text(Edit("loadingDescriptionLineEdit", this), mp::kLoadingDescription, layout::kTextField));
    screens->addRow("Comments:", f.text(Edit("commentsLineEdit", this), mp::kComments, layout::kTextField));
    middle->addStretch(1);

    // Score texts.
    auto* score = Group("Score texts on game", "scoreTextsGroupBox", this);
    auto* scoreForm = new QFormLayout(score);
    scoreForm->addRow("Number of digits:", f.number(NumberEdit("scoreDigitsLineEdit", score), mp::kScoreDigits));
    auto* scoreSprite = Button("Edit sprite", "scoreEditSpriteButton", score);
    scoreForm->addRow(scoreSprite);
    editSprite(scoreSprite, mp::kScoreTextSprite, 1);
    scoreForm->addRow("x position text 'Score':", f.number(NumberEdit("scoreTextXLineEdit", score), mp::kScoreTextX));
    scoreForm->addRow("y position text 'Score':", f.number(NumberEdit("scoreTextYLineEdit", score), mp::kScoreTextY));
    scoreForm->addRow("x position score:", f.number(NumberEdit("scoreXLineEdit", score), mp::kScoreX));
    scoreForm->addRow("y position score:", f.number(NumberEdit("scoreYLineEdit", score), mp::kScoreY));
    right->addWidget(score);

    // High texts: "Is showed:" switches the sprite button, positions and starting high.
    auto* high = Group("High texts on game", "highTextsGroupBox", this);
    auto* highForm = new QFormLayout(high);
    auto* highShown = Check(QString(), "highShownCheckBox", high);
    highForm->addRow("Is showed:", highShown);
    auto* highSprite = Button("Edit sprite", "highEditSpriteButton", high);
    highForm->addRow(highSprite);
    editSprite(highSprite, mp::kHighTextSprite, 1);
    auto* highTextX = f.number(NumberEdit("highTextXLineEdit", high), mp::kHighTextX);
    auto* highTextY = f.number(NumberEdit("highTextYLineEdit", high), mp::kHighTextY);
    auto* highX = f.number(NumberEdit("highXLineEdit", high), mp::kHighX);
    auto* highY = f.number(NumberEdit("highYLineEdit", high), mp::kHighY);
    auto* startingHigh = f.number(NumberEdit("startingHighLineEdit", high), mp::kStartingHigh);
    highForm->addRow("x position text 'High':", highTextX);
    highForm->addRow("y position text 'High':", highTextY);
    highForm->addRow("x position high:", highX);
    highForm->addRow("y position high:", highY);
    highForm->addRow("Starting high:", startingHigh);
    f.flag(highShown, mp::kHighShown);
    EnableWhile(highShown, {highSprite, highTextX, highTextY, highX, highY, startingHigh});
    right->addWidget(high);

    // Lives texts.
    auto* lives = Group("Lives texts on game", "livesTextsGroupBox", this);
    auto* livesForm = new QFormLayout(lives);
    auto* livesShown = Check(QString(), "livesShownCheckBox", lives);
    livesForm->addRow("Is showed:", livesShown);
    auto* livesSprite = Button("Edit sprite", "livesEditSpriteButton", lives);
    livesForm->addRow(livesSprite);
    editSprite(livesSprite, mp::kLivesTextSprite, 1);
    auto* livesTextX = f.number(NumberEdit("livesTextXLineEdit", lives), mp::kLivesTextX);
    auto* livesTextY = f.number(NumberEdit("livesTextYLineEdit", lives), mp::kLivesTextY);
    auto* livesX = f.number(NumberEdit("livesXLineEdit", lives), mp::kLivesX);
    auto* livesY = f.number(NumberEdit("livesYLineEdit", lives), mp::kLivesY);
    livesForm->addRow("x position text 'Lives':", livesTextX);
    livesForm->addRow("y position text 'Lives':", livesTextY);
    livesForm->addRow("x position lives:", livesX);
    livesForm->addRow("y position lives:", livesY);
    f.flag(livesShown, mp::kLivesShown);
    EnableWhile(livesShown, {livesSprite, livesTextX, livesTextY, livesX, livesY});
    right->addWidget(lives);
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
    auto* startingSound = Combo("startingSoundComboBox", audio);
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

void ShootEmUpMainDialog::buildLevelList(QWidget* group) {
    auto* box = new QVBoxLayout(group);
    levelList_ = new QListWidget(group);
    levelList_->setObjectName("levelsListWidget");
    levelList_->setMinimumHeight(120);
    box->addWidget(levelList_, 1);
    auto* moves = new QHBoxLayout;
    auto* up = Button("<", "levelUpButton", group);
    auto* down = Button(">", "levelDownButton", group);
    auto* remove = Button("Delete", "deleteLevelButton", group);
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch(1);
    moves->addWidget(remove);
    box->addLayout(moves);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(new QLabel("Level:", group));
    levelCombo_ = Combo("levelComboBox", group);
    addRow->addWidget(levelCombo_, 1);
    auto* add = Button("Add", "addLevelButton", group);
    addRow->addWidget(add);
    box->addLayout(addRow);

    connect(add, &QPushButton::clicked, this, [this] { addLevel(); });
    connect(up, &QPushButton::clicked, this, [this] { moveLevel(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveLevel(+1); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteLevel(); });

    fields().custom(
        [this](RecordView& r) {
            // A damaged count never makes the list longer than its 100 slots.
            levelCount_ = std::min<std::uint32_t>(r.u32(layout::shootemup_main::kLevelCount), kMaxLevels);
            for (std::size_t i = 0; i < kMaxLevels; ++i)
                levels_[i] = r.u32(layout::shootemup_main::kLevelList + 4 * i);
            refillLevels();
            levelCombo_->clear();
            FillObjectCombo(levelCombo_, kLevelDataType);
            levelCombo_->setCurrentIndex(-1);
        },
        [this](RecordView& r) {
            for (std::size_t i = 0; i < kMaxLevels; ++i)
                r.setU32(layout::shootemup_main::kLevelList + 4 * i, levels_[i]);
            r.setU32(layout::shootemup_main::kLevelCount, levelCount_);
        });
}

void ShootEmUpMainDialog::refillLevels(int select) {
    levelList_->clear();
    ProjectRecord* project = fields().project();
    for (std::uint32_t i = 0; i < levelCount_; ++i) {
        const auto id = static_cast<std::int32_t>(levels_[i]);
        const ObjectRecord* level = project ? FindObject(*project, id) : nullptr;
        // A level deleted since it was listed still has its place; the build reports it.
        levelList_->addItem(level && level->tipoOggetto == kLevelDataType
                                ? FromRecordText(level->sDescrizione)
                                : QString("(no level with ID %1)").arg(id));
    }
    levelList_->setCurrentRow(select);
}

void ShootEmUpMainDialog::addLevel() {
    if (levelCombo_->currentIndex() < 0) return;
    if (levelCount_ >= kMaxLevels) {
        ShowMessage("Maximum number of levels (100) is reached!");
        return;
    }
    levels_[levelCount_++] =
        static_cast<std::uint32_t>(GetSelectedObjectId(levelCombo_, kLevelDataType)) & 0xFFFFu;
    levelCombo_->setCurrentIndex(-1);
    refillLevels();
}

void ShootEmUpMainDialog::moveLevel(int by) {
    const int row = levelList_->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= static_cast<int>(levelCount_)) return;
    std::swap(levels_[static_cast<std::size_t>(row)], levels_[static_cast<std::size_t>(target)]);
    refillLevels(target);
}

void ShootEmUpMainDialog::deleteLevel() {
    const int row = levelList_->currentRow();
    if (row >= 0 && row < static_cast<int>(levelCount_)) {
        for (std::size_t i = static_cast<std::size_t>(row); i + 1 < levelCount_; ++i) levels_[i] = levels_[i + 1];
        --levelCount_;
    }
    refillLevels();
}

namespace {
const EditorRegistration kShootEmUpMainEditor(1, [](QWidget* owner) {
    ShootEmUpMainDialog dialog(owner);
    dialog.exec();
});
} // namespace

} // namespace qb::ui
