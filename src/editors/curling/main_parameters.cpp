#include "editors/curling/main_parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "imaging/sprite_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/curling_main.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/main_parameters_groups.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace M = layout::curling_main;
namespace pair = layout::sound_pair;

constexpr std::size_t kListChars = 999;   // and number lists from at most this many

struct NumberField {
    const char* name;  // of the edit; its label is named after it
    const char* label;
    std::size_t offset;
};

struct SoundField {
    const char* boxName;
    const char* boxText;
    const char* comboName;
    const char* comboLabel;  // null: the combo stands beside its box, named for it
    std::size_t offset;
};

struct SpriteButton {
    const char* name;
    const char* text;
    std::size_t offset;
    std::size_t frames;
};

QString LabelName(const char* fieldName) {
    QString name = QString::fromLatin1(fieldName);
    for (const char* suffix : {"LineEdit", "ComboBox"})
        if (name.endsWith(QLatin1String(suffix))) name.chop(static_cast<int>(qstrlen(suffix)));
    return name + QStringLiteral("Label");
}

// A labelled row whose label, named after the field, is the field's buddy.
void AddFieldRow(QFormLayout* form, const char* fieldName, const char* label, QWidget* field) {
    auto* caption = new QLabel(QString::fromLatin1(label));
    caption->setObjectName(LabelName(fieldName));
    caption->setBuddy(field);
    form->addRow(caption, field);
}

void AddNumbers(FieldBinder& f, QFormLayout* form, std::initializer_list<NumberField> numbers) {
    for (const NumberField& n : numbers)
        AddFieldRow(form, n.name, n.label, f.number(NumberEdit(n.name), n.offset, kNumberChars));
}

QComboBox* ItemCombo(FieldBinder& f, const char* name, std::size_t offset, std::uint32_t type) {
    auto* combo = f.object(Named<QComboBox>(name), offset, type);
    combo->setMinimumContentsLength(16);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

void AddSounds(FieldBinder& f, QGridLayout* grid, std::initializer_list<SoundField> sounds) {
    int row = grid->rowCount();
    for (const SoundField& s : sounds) {
        auto* box = Named<QCheckBox>(s.boxName, QString::fromLatin1(s.boxText));
        auto* combo = Named<QComboBox>(s.comboName);
        combo->setMinimumContentsLength(14);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        f.optionalSound(box, combo, s.offset + pair::kEnabled, s.offset + pair::kSoundId);
        if (s.comboLabel) {
            grid->addWidget(box, row++, 0, 1, 2);
            auto* caption = new QLabel(QString::fromLatin1(s.comboLabel));
            caption->setObjectName(LabelName(s.comboName));
            caption->setBuddy(combo);
            grid->addWidget(caption, row, 0);
            grid->addWidget(combo, row++, 1);
        } else {
            combo->setAccessibleName(QString::fromLatin1(s.boxText));
            grid->addWidget(box, row, 0);
            grid->addWidget(combo, row++, 1);
        }
    }
    grid->setColumnStretch(1, 1);
}

// A page of the dialog with three columns.
Columns AddPage(QTabWidget* pages, const char* name, const char* title) {
    auto* page = Named<QWidget>(name);
    auto* row = new QHBoxLayout(page);
    Columns columns{new QVBoxLayout, new QVBoxLayout, new QVBoxLayout};
    row->addLayout(columns.left);
    row->addLayout(columns.middle);
    row->addLayout(columns.right);
    pages->addTab(page, QString::fromLatin1(title));
    return columns;
}

void EndColumns(const Columns& c) {
    for (QVBoxLayout* column : {c.left, c.middle, c.right}) column->addStretch(1);
}

// Shows a number list's used values; a damaged length shows no more than the list holds.
QString JoinNumberList(const RecordView& r, std::size_t list, std::size_t length, std::size_t capacity) {
    const std::int32_t used = std::clamp<std::int32_t>(r.i32(length), 0, static_cast<std::int32_t>(capacity));
    QStringList numbers;
    for (std::int32_t i = 0; i < used; ++i)
        numbers << QString::number(r.i32(list + 4 * static_cast<std::size_t>(i)));
    return numbers.join(QLatin1Char(','));
}

} // namespace

std::vector<std::int32_t> ParseNumberList(std::string_view text, std::size_t capacity) {
    std::vector<std::int32_t> numbers;
    std::size_t at = 0;
    auto isNumberChar = [&](std::size_t i) {
        return i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '-');
    };
    while (numbers.size() < capacity && isNumberChar(at)) {
        const std::size_t start = at;
        while (isNumberChar(at)) ++at;
        numbers.push_back(ParseSignedDecimal(text.substr(start, at - start)));
        if (at < text.size() && text[at] == ',') ++at;
    }
    return numbers;
}

CurlingMainParametersDialog::CurlingMainParametersDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Main parameters"), TreeAfterOk::Keep) {
    FieldBinder& f = fields();
    const int projectIndex = f.projectIndex();
    const std::int32_t objectId = f.objectId();

    auto spriteButtons = [&](QBoxLayout* box, std::initializer_list<SpriteButton> buttons) {
        for (const SpriteButton& b : buttons) {
            auto* button = Named<QPushButton>(b.name, QString::fromLatin1(b.text));
            box->addWidget(button);
            const std::size_t offset = b.offset;
            const int frames = static_cast<int>(b.frames);
            connect(button, &QPushButton::clicked, this, [=, this] {
                EditSpriteAnimation(this, projectIndex, objectId, offset, frames);
            });
        }
    };
    // A frame count typed beside its button: the button stores the count at once (saved with the
    // project) and opens the sprite editor on that many frames of the block; OK stores it too.
    // Counts outside the block are brought into it, and the edit shows what was stored.
    auto countedSprites = [&](QFormLayout* form, const char* editName, const char* label,
                              std::size_t countOffset, const char* buttonName,
                              const char* buttonText, std::size_t firstFrame, std::size_t capacity) {
        auto* count = NumberEdit(editName);
        AddFieldRow(form, editName, label, count);
        auto* button = Named<QPushButton>(buttonName, QString::fromLatin1(buttonText));
        form->addRow(button);
        auto read = [count, capacity] {
            const std::int32_t typed = ParseSignedDecimal(ToRecordText(count->text()), kNumberChars);
            const std::int32_t n = std::clamp<std::int32_t>(typed, 0, static_cast<std::int32_t>(capacity));
            if (n != typed) count->setText(QString::number(n));
            return n;
        };
        f.custom([=](RecordView& r) { count->setText(QString::number(r.i32(countOffset))); },
                 [=](RecordView& r) { r.setI32(countOffset, read()); });
        connect(button, &QPushButton::clicked, this, [=, this] {
            const std::int32_t n = read();
            if (ObjectRecord* o = fields().object()) {
                o->record().setI32(countOffset, n);
                SaveProject(projectIndex);
            }
            EditSpriteAnimation(this, projectIndex, objectId, firstFrame, n);
        });
    };
    auto numberList = [&](QFormLayout* form, const char* name, const char* label, std::size_t list,
                          std::size_t length, std::size_t capacity) {
        auto* edit = Named<QLineEdit>(name);
        edit->setMaxLength(static_cast<int>(kListChars));
        AddFieldRow(form, name, label, edit);
        f.custom([=](RecordView& r) { edit->setText(JoinNumberList(r, list, length, capacity)); },
                 [=](RecordView& r) {
                     const std::vector<std::int32_t> numbers =
                         ParseNumberList(ToRecordText(edit->text(), kListChars), capacity);
                     for (std::size_t i = 0; i < numbers.size(); ++i) r.setI32(list + 4 * i, numbers[i]);
                     r.setI32(length, static_cast<std::int32_t>(numbers.size()));
                 });
    };

    auto* pages = Named<QTabWidget>("pagesTabWidget");
    body()->addWidget(pages);

    // ---- General: project, compiling, game area, type of game, areas, extra information.
    const Columns general = AddPage(pages, "generalPage", "General");
    AddProjectRows(this, AddGroup<QFormLayout>(general.left, "projectGroupBox", "Project"),
                   game::Curling, "openProjectFolderPushButton");
    QVBoxLayout* compiling = AddResourceLocationGroup(
        this, general.left, {M::kResourceLocation, M::kResourcePath},
        "Resources are in a specific path", PathBoxPlace::UnderItsChoice,
        ResourceChoices::BesideOrAtPath);
    auto* loadingLabel = Label("descriptionWhileLoadingLabel", "Description while loading:");
    auto* loading = f.text(Named<QLineEdit>("descriptionWhileLoadingLineEdit"),
                           M::kLoadingDescription, layout::kTextField);
    loadingLabel->setBuddy(loading);
    compiling->addWidget(loadingLabel);
    compiling->addWidget(loading);
    AddGameSizeGroup(this, general.left, M::kGameWidth, M::kGameHeight);

    auto* kind = AddGroup<QVBoxLayout>(general.left, "typeOfGameGroupBox", "Type of game");
    std::vector<std::pair<QAbstractButton*, std::uint32_t>> kinds;
    const std::pair<const char*, const char*> kindButtons[] = {
        {"shuffleDiscRadioButton", "Shuffle disc (shuffle shell in Mario64 DS)"},
        {"discSmashRadioButton", "Disc smash (shell smash in Mario64 DS)"},
        {"pachinkoRadioButton", "Pachinko"},
        {"peggleRadioButton", "Peggle"}};
    for (const auto& [name, text] : kindButtons) {
        auto* radio = Named<QRadioButton>(name, QString::fromLatin1(text));
        kind->addWidget(radio);
        kinds.emplace_back(radio, static_cast<std::uint32_t>(kinds.size()));
    }
    f.choice(M::kGameKind, std::move(kinds));

    auto* titles = AddGroup<QFormLayout>(general.middle, "titlesGroupBox", "Titles and fonts");
    AddFieldRow(titles, "splashTitleComboBox", "Splash title:",
           ItemCombo(f, "splashTitleComboBox", M::kSplashStart, kSplashBitmapType));
    AddFieldRow(titles, "defaultFontComboBox", "Default font:",
           ItemCombo(f, "defaultFontComboBox", M::kDefaultFont, kFontsBitmapType));
    AddNumbers(f, titles, {{"sublevelsLineEdit", "number of sublevels:", M::kSublevelCount}});

    auto* player = AddGroup<QFormLayout>(general.middle, "playerAreaGroupBox", "Player game area");
    AddNumbers(f, player, {{"playerDimXLineEdit", "Dim x area:", M::kPlayerAreaWidth},
                           {"playerDimYLineEdit", "Dim y area:", M::kPlayerAreaHeight},
                           {"playerXiLineEdit", "xi area:", M::kPlayerAreaX},
                           {"playerYiLineEdit", "yi area:", M::kPlayerAreaY}});
    auto* opponent =
        AddGroup<QFormLayout>(general.middle, "opponentAreaGroupBox", "Opponent game area");
    AddNumbers(f, opponent, {{"opponentDimXLineEdit", "Dim x area:", M::kOpponentAreaWidth},
                             {"opponentDimYLineEdit", "Dim y area:", M::kOpponentAreaHeight},
                             {"opponentXiLineEdit", "xi area:", M::kOpponentAreaX},
                             {"opponentYiLineEdit", "yi area:", M::kOpponentAreaY},
                             {"opponentNameXLineEdit", "xi name:", M::kOpponentNameX},
                             {"opponentNameYLineEdit", "yi name:", M::kOpponentNameY},
                             {"opponentScoreXLineEdit", "xi score:", M::kOpponentScoreX},
                             {"opponentScoreYLineEdit", "yi score:", M::kOpponentScoreY},
                             {"opponentColumnsLineEdit", "number of columns:", M::kOpponentGridColumns},
                             {"opponentRowsLineEdit", "number of rows:", M::kOpponentGridRows},
                             {"opponentDistanceXLineEdit", "x distance:", M::kOpponentGridSpacingX},
                             {"opponentDistanceYLineEdit", "y distance:", M::kOpponentGridSpacingY}});

    auto* extra = AddGroup<QFormLayout>(general.right, "areaExtraGroupBox", "Area extra");
    AddFieldRow(extra, "otherPlayersFontComboBox", "Font for name of other players:",
           ItemCombo(f, "otherPlayersFontComboBox", M::kOtherPlayersFont, kFontsBitmapType));
    AddNumbers(f, extra,
               {{"extraInfoXLineEdit", "X position extra info:", M::kExtraInfoX},
                {"extraInfoAllTimeXLineEdit", "X position extra info all time:", M::kExtraInfoAllTimeX},
                {"extraInfoAllTimeYLineEdit", "Y position extra info all time:", M::kExtraInfoAllTimeY},
                {"extraInfoInterlineLineEdit", "Y interline extra info:", M::kExtraInfoInterline},
                {"playerCountXLineEdit", "X position number of players:", M::kPlayerCountX},
                {"playerCountYLineEdit", "Y position number of players:", M::kPlayerCountY},
                {"allTimeOffsetXLineEdit", "alltime X offset:", M::kAllTimeOffsetX},
                {"scoreXLineEdit", "X score:", M::kScoreX},
                {"scoreYLineEdit", "Y score:", M::kScoreY},
                {"highScoreXLineEdit", "X high score:", M::kHighScoreX},
                {"highScoreYLineEdit", "Y high score:", M::kHighScoreY}});
    auto* connection = AddGroup<QFormLayout>(general.right, "connectionGroupBox", "Connection");
    countedSprites(connection, "logoCountLineEdit", "Number of sprites for logo (max 10):",
                   M::kLogoCount, "logoEditSpritesButton", "Edit sprites", M::kLogoSprites,
                   M::kLogoSlots);
    EndColumns(general);

    // ---- Graphics and sounds.
    const Columns media = AddPage(pages, "graphicsPage", "Graphics and sounds");
    auto* graphics = AddGroup<QFormLayout>(media.left, "graphicsGroupBox", "Graphics");
    AddFieldRow(graphics, "backgroundMap0ComboBox", "Background map 0 opponents:",
           ItemCombo(f, "backgroundMap0ComboBox", M::kBackgroundMap0, kBackgroundMapType));
    for (std::size_t i = 0; i < M::kBackgroundMapSlots; ++i) {
        const QByteArray name = "backgroundMap" + QByteArray::number(static_cast<int>(i + 1)) + "ComboBox";
        const QByteArray label = "Background map " + QByteArray::number(static_cast<int>(i + 1)) + ":";
        AddFieldRow(graphics, name.constData(), label.constData(),
               ItemCombo(f, name.constData(), M::kBackgroundMaps + 4 * i, kBackgroundMapType));
    }
    auto* graphicsSprites = new QVBoxLayout;
    graphics->addRow(graphicsSprites);
    spriteButtons(graphicsSprites,
                  {{"discSpriteButton", "Sprite disc (1)", M::kDiscSprite, 1},
                   {"barSpriteButton", "Sprite bar (3)", M::kBarSprites, M::kBarFrames},
                   {"nextDiscSpriteButton", "Sprite next disc (1)", M::kNextDiscSprite, 1},
                   {"miniBackgroundSpriteButton", "Sprite mini background (1)", M::kMiniBackgroundSprite, 1},
                   {"miniDiscSpriteButton", "Sprite mini disc (1)", M::kMiniDiscSprite, 1},
                   {"miniBarSpriteButton", "Sprite mini bar (1)", M::kMiniBarSprite, 1}});
    // The form has one more combo that stores nothing.
    auto* unused = Named<QComboBox>("unusedComboBox");
    graphics->addRow(unused);
    unused->hide();

    auto* audio = AddGroup<QVBoxLayout>(media.middle, "audioGroupBox", "Audio");
    spriteButtons(audio, {{"musicOnOffSpritesButton", "Sprites music on/off", M::kMusicOnOffSprites, M::kOnOffFrames},
                          {"fxOnOffSpritesButton", "Sprites Fx on/off", M::kFxOnOffSprites, M::kOnOffFrames}});
    AddSounds(f, AddGroup<QGridLayout>(media.middle, "audioCollisionGroupBox", "Audio collision"),
              {{"collisionSoundCheckBox", "Enable sound", "collisionSoundComboBox", "Starting sound",
                M::kCollisionSound}});
    AddSounds(f, AddGroup<QGridLayout>(media.middle, "audioMusicGroupBox", "Audio musica"),
              {{"musicCheckBox", "Enable sound", "musicComboBox", "Starting sound", M::kMusic}});
    AddSounds(f, AddGroup<QGridLayout>(media.middle, "backgroundSoundGroupBox", "Background sound"),
              {{"backgroundSoundCheckBox", "Enable sound", "backgroundSoundComboBox",
                "Starting sound", M::kBackgroundSound}});
    AddSounds(f, AddGroup<QGridLayout>(media.right, "audioPointsGroupBox", "Audio points"),
              {{"pointsSoundCheckBox", "Enable sound", "pointsSoundComboBox", "Starting sound",
                M::kPointsSound}});
    AddSounds(f, AddGroup<QGridLayout>(media.right, "audioGameOverGroupBox", "Audio GAME OVER"),
              {{"gameOverSoundCheckBox", "Enable sound", "gameOverSoundComboBox", nullptr,
                M::kGameOverSound}});
    AddSounds(f, AddGroup<QGridLayout>(media.right, "audioLevelCompletedGroupBox", "Audio level completed"),
              {{"levelCompletedSoundCheckBox", "Enable sound", "levelCompletedSoundComboBox",
                nullptr, M::kLevelCompletedSound}});
    AddSounds(f, AddGroup<QGridLayout>(media.right, "audioGameFinishedGroupBox", "Audio game finished"),
              {{"gameFinishedSoundCheckBox", "Enable sound", "gameFinishedSoundComboBox", nullptr,
                M::kGameFinishedSound}});
    EndColumns(media);

    // ---- Shuffle disc and disc smash.
    const Columns discs = AddPage(pages, "discsPage", "Shuffle disc / Disc smash");
    // Group 1 is long: its rows stand in two forms side by side.
    auto* group1 = AddGroup<QHBoxLayout>(discs.left, "specificGame1GroupBox",
                                         "Specific game parameters 1 (Shuffle disc / Disc smash)");
    auto* group1Left = new QFormLayout;
    auto* group1Right = new QFormLayout;
    group1->addLayout(group1Left);
    group1->addLayout(group1Right);
    AddNumbers(f, group1Left,
               {{"discCountLineEdit", "n. discs:", M::kDiscCount},
                {"nextDiscXLineEdit", "xi next disc:", M::kNextDiscX},
                {"nextDiscYLineEdit", "yi next disc:", M::kNextDiscY},
                {"nextDiscDistanceXLineEdit", "x distance next disc:", M::kNextDiscDistanceX},
                {"nextDiscDistanceYLineEdit", "y distance next disc:", M::kNextDiscDistanceY},
                {"centrePointsLineEdit", "n points center:", M::kCentrePoints},
                {"scoringRadiusLineEdit", "radius max for points:", M::kScoringRadius},
                {"discRadiusLineEdit", "radius disc:", M::kDiscRadius},
                {"frictionLineEdit", "friction (1/10000):", M::kFriction},
                {"kickPowerLineEdit", "power kick (%):", M::kKickPower}});
    AddNumbers(f, group1Right,
               {{"kickDiscYLineEdit", "yi disc to kick:", M::kKickDiscY},
                {"barMaxYLineEdit", "y max bar:", M::kBarMaxY},
                {"barMinYLineEdit", "y min bar:", M::kBarMinY},
                {"barMaxXLineEdit", "x max bar:", M::kBarMaxX},
                {"barMinXLineEdit", "x min bar:", M::kBarMinX},
                {"centreXLineEdit", "X center position", M::kCentreX},
                {"centreYLineEdit", "Y center position", M::kCentreY},
                {"maxMouseSpeedLineEdit", "max mouse speed:", M::kMaxMouseSpeed},
                {"minMouseSpeedLineEdit", "min mouse speed:", M::kMinMouseSpeed},
                {"physicsCyclesLineEdit", "n subdivision cycles (phisics):", M::kPhysicsCycles}});
    auto* group2 = AddGroup<QFormLayout>(discs.middle, "specificGame2GroupBox",
                                         "Specific game parameters 2 (Disc smash)");
    AddNumbers(f, group2,
               {{"fixedDiscsLineEdit", "First row: number of fixed discs", M::kFixedDiscsFirstRow},
                {"fixedDistanceXLineEdit", "X distance:", M::kFixedDiscDistanceX},
                {"fixedDistanceYLineEdit", "Y distance:", M::kFixedDiscDistanceY},
                {"fixedInitYLineEdit", "Y init pos:", M::kFixedDiscInitY}});
    auto* greenDisc = new QVBoxLayout;
    group2->addRow(greenDisc);
    spriteButtons(greenDisc, {{"greenDiscSpriteButton", "Sprite disc (1) Verde", M::kGreenDiscSprite, 1}});
    EndColumns(discs);

    // ---- Pachinko and peggle.
    const Columns pachinko = AddPage(pages, "pachinkoPage", "Pachinko / Peggle");
    auto* group3 = AddGroup<QFormLayout>(pachinko.left, "specificGame3GroupBox",
                                         "Specific game parameters 3 (Pachinko's slot)");
    countedSprites(group3, "slotSpriteCountLineEdit", "n. slot sprites:", M::kSlotSpriteCount,
                   "slotSpritesButton", "Slot sprites", M::kSlotSprites, M::kSlotSpriteSlots);
    numberList(group3, "reelOrder1LineEdit", "Slot sprites order #1:", M::kReelOrder1,
               M::kReelOrder1Length, M::kReelOrderSlots);
    numberList(group3, "reelOrder2LineEdit", "Slot sprites order #2:", M::kReelOrder2,
               M::kReelOrder2Length, M::kReelOrderSlots);
    numberList(group3, "reelOrder3LineEdit", "Slot sprites order #3:", M::kReelOrder3,
               M::kReelOrder3Length, M::kReelOrderSlots);
    numberList(group3, "slotPointsLineEdit", "Slot points (follow slot sprites)", M::kSlotPoints,
               M::kSlotPointsLength, M::kSlotPointsSlots);
    AddNumbers(f, group3, {{"slotFirstXLineEdit", "xi first (center):", M::kSlotFirstX},
                           {"slotFirstYLineEdit", "yi first (center):", M::kSlotFirstY},
                           {"slotOffsetXLineEdit", "x offset:", M::kSlotOffsetX}});
    auto* slotSounds = new QGridLayout;
    group3->addRow(slotSounds);
    AddSounds(f, slotSounds,
              {{"slotStartSoundCheckBox", "Enable start sound", "slotStartSoundComboBox", nullptr, M::kSlotStartSound},
               {"slotCycleSoundCheckBox", "Enable cycle sound", "slotCycleSoundComboBox", nullptr, M::kSlotCycleSound},
               {"slotEndSoundCheckBox", "Enable end sound", "slotEndSoundComboBox", nullptr, M::kSlotEndSound},
               {"slotWinSoundCheckBox", "Enable win sound", "slotWinSoundComboBox", nullptr, M::kSlotWinSound}});

    auto* group4 = AddGroup<QFormLayout>(pachinko.middle, "specificGame4GroupBox",
                                         "Specific game parameters 4 (Pachinko)");
    AddFieldRow(group4, "tableObjectsDataComboBox", "Table objects  data:",
           ItemCombo(f, "tableObjectsDataComboBox", M::kPachinkoBoard, kPachinkoBoardType));
    AddNumbers(f, group4, {{"maxBallSpeedLineEdit", "Max ball speed:", M::kMaxBallSpeed},
                           {"gravityLineEdit", "Gravity value (1/10000):", M::kGravity},
                           {"randomWindLineEdit", "Random wind value:", M::kRandomWind},
                           {"kickBallXLineEdit", "xi ball to kick:", M::kKickBallX}});
    AddFieldRow(group4, "layer2MapComboBox", "Backgr 0, layer 2:",
           ItemCombo(f, "layer2MapComboBox", M::kLayer2Map, kBackgroundMapType));
    AddFieldRow(group4, "layer2AlphaMapComboBox", "Backgr 0, layer 2 (alpha):",
           ItemCombo(f, "layer2AlphaMapComboBox", M::kLayer2AlphaMap, kBackgroundMapType));
    auto* pachinkoSounds = new QGridLayout;
    group4->addRow(pachinkoSounds);
    AddSounds(f, pachinkoSounds,
              {{"nextBallSoundCheckBox", "Enable sound next ball", "nextBallSoundComboBox",
                "Next ball sound", M::kNextBallSound},
               {"ballsOverSoundCheckBox", "Enable sound game over", "ballsOverSoundComboBox",
                "Game over sound", M::kBallsOverSound}});
    auto* springSounds = new QGridLayout;
    group4->addRow(springSounds);
    AddSounds(f, springSounds,
              {{"pullSpringSoundCheckBox", "Enalbe Pull Spring", "pullSpringSoundComboBox", nullptr,
                M::kPullSpringSound},
               {"pushSpringSoundCheckBox", "Enable Push Spring", "pushSpringSoundComboBox", nullptr,
                M::kPushSpringSound}});

    auto* bonus = AddGroup<QFormLayout>(pachinko.right, "xBonusGroupBox", "X Bonus");
    AddNumbers(f, bonus, {{"bonusSpriteCountLineEdit", "Number of sprites:", M::kBonusSpriteCount},
                          {"bonusXLineEdit", "Xi:", M::kBonusX},
                          {"bonusYLineEdit", "Yi:", M::kBonusY},
                          {"bonusOffsetYLineEdit", "Offset Y:", M::kBonusOffsetY},
                          {"maxBonusValueLineEdit", "Max bonus value:", M::kMaxBonusValue}});
    auto* bonusSprite = new QVBoxLayout;
    bonus->addRow(bonusSprite);
    spriteButtons(bonusSprite, {{"bonusSpriteButton", "Sprite", M::kBonusSprite, 1}});
    EndColumns(pachinko);

    loadFields();
}

namespace {
const EditorRegistration kRegistration(kCurlingMainType, RunEditor<CurlingMainParametersDialog>);
} // namespace

} // namespace qb::ui
