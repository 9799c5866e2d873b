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

void AddSounds(FieldBinder& f, QGridLayout* grid, std::initializer_list<SoundField> sounds) {
    int row = grid->rowCount();
    for (const SoundField& s : sounds) {
        auto* box = Named<QCheckBox>(s.boxName, QString::fromLatin1(s.boxText));
        auto* combo = ItemCombo(s.comboName, 14);
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
    AddLoadingDescription(this, compiling, M::kLoadingDescription);
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
                f.object(ItemCombo("splashTitleComboBox"), M::kSplashStart, kSplashBitmapType));
    AddFieldRow(titles, "defaultFontComboBox", "Default font:",
                f.object(ItemCombo("defaultFontComboBox"), M::kDefaultFont, kFontsBitmapType));
    f.numberRows(titles, {{"sublevelsLabel", "number of sublevels:", "sublevelsLineEdit",
                           M::kSublevelCount}});

    auto* player = AddGroup<QFormLayout>(general.middle, "playerAreaGroupBox", "Player game area");
    f.numberRows(player,
                 {{"playerDimXLabel", "Dim x area:", "playerDimXLineEdit", M::kPlayerAreaWidth},
                  {"playerDimYLabel", "Dim y area:", "playerDimYLineEdit", M::kPlayerAreaHeight},
                  {"playerXiLabel", "xi area:", "playerXiLineEdit", M::kPlayerAreaX},
                  {"playerYiLabel", "yi area:", "playerYiLineEdit", M::kPlayerAreaY}});
    auto* opponent =
        AddGroup<QFormLayout>(general.middle, "opponentAreaGroupBox", "Opponent game area");
    f.numberRows(
        opponent,
        {{"opponentDimXLabel", "Dim x area:", "opponentDimXLineEdit", M::kOpponentAreaWidth},
         {"opponentDimYLabel", "Dim y area:", "opponentDimYLineEdit", M::kOpponentAreaHeight},
         {"opponentXiLabel", "xi area:", "opponentXiLineEdit", M::kOpponentAreaX},
         {"opponentYiLabel", "yi area:", "opponentYiLineEdit", M::kOpponentAreaY},
         {"opponentNameXLabel", "xi name:", "opponentNameXLineEdit", M::kOpponentNameX},
         {"opponentNameYLabel", "yi name:", "opponentNameYLineEdit", M::kOpponentNameY},
         {"opponentScoreXLabel", "xi score:", "opponentScoreXLineEdit", M::kOpponentScoreX},
         {"opponentScoreYLabel", "yi score:", "opponentScoreYLineEdit", M::kOpponentScoreY},
         {"opponentColumnsLabel", "number of columns:", "opponentColumnsLineEdit",
          M::kOpponentGridColumns},
         {"opponentRowsLabel", "number of rows:", "opponentRowsLineEdit", M::kOpponentGridRows},
         {"opponentDistanceXLabel", "x distance:", "opponentDistanceXLineEdit",
          M::kOpponentGridSpacingX},
         {"opponentDistanceYLabel", "y distance:", "opponentDistanceYLineEdit",
          M::kOpponentGridSpacingY}});

    auto* extra = AddGroup<QFormLayout>(general.right, "areaExtraGroupBox", "Area extra");
    AddFieldRow(
        extra, "otherPlayersFontComboBox", "Font for name of other players:",
        f.object(ItemCombo("otherPlayersFontComboBox"), M::kOtherPlayersFont, kFontsBitmapType));
    f.numberRows(
        extra,
        {{"extraInfoXLabel", "X position extra info:", "extraInfoXLineEdit", M::kExtraInfoX},
         {"extraInfoAllTimeXLabel", "X position extra info all time:", "extraInfoAllTimeXLineEdit",
          M::kExtraInfoAllTimeX},
         {"extraInfoAllTimeYLabel", "Y position extra info all time:", "extraInfoAllTimeYLineEdit",
          M::kExtraInfoAllTimeY},
         {"extraInfoInterlineLabel", "Y interline extra info:", "extraInfoInterlineLineEdit",
          M::kExtraInfoInterline},
         {"playerCountXLabel", "X position number of players:", "playerCountXLineEdit",
          M::kPlayerCountX},
         {"playerCountYLabel", "Y position number of players:", "playerCountYLineEdit",
          M::kPlayerCountY},
         {"allTimeOffsetXLabel", "alltime X offset:", "allTimeOffsetXLineEdit", M::kAllTimeOffsetX},
         {"scoreXLabel", "X score:", "scoreXLineEdit", M::kScoreX},
         {"scoreYLabel", "Y score:", "scoreYLineEdit", M::kScoreY},
         {"highScoreXLabel", "X high score:", "highScoreXLineEdit", M::kHighScoreX},
         {"highScoreYLabel", "Y high score:", "highScoreYLineEdit", M::kHighScoreY}});
    auto* connection = AddGroup<QFormLayout>(general.right, "connectionGroupBox", "Connection");
    countedSprites(connection, "logoCountLineEdit", "Number of sprites for logo (max 10):",
                   M::kLogoCount, "logoEditSpritesButton", "Edit sprites", M::kLogoSprites,
                   M::kLogoSlots);
    EndColumns(general);

    // ---- Graphics and sounds.
    const Columns media = AddPage(pages, "graphicsPage", "Graphics and sounds");
    auto* graphics = AddGroup<QFormLayout>(media.left, "graphicsGroupBox", "Graphics");
    AddFieldRow(
        graphics, "backgroundMap0ComboBox", "Background map 0 opponents:",
        f.object(ItemCombo("backgroundMap0ComboBox"), M::kBackgroundMap0, kBackgroundMapType));
    for (std::size_t i = 0; i < M::kBackgroundMapSlots; ++i) {
        const QByteArray name = "backgroundMap" + QByteArray::number(static_cast<int>(i + 1)) + "ComboBox";
        const QByteArray label = "Background map " + QByteArray::number(static_cast<int>(i + 1)) + ":";
        AddFieldRow(
            graphics, name.constData(), label.constData(),
            f.object(ItemCombo(name.constData()), M::kBackgroundMaps + 4 * i, kBackgroundMapType));
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
    f.numberRows(
        group1Left,
        {{"discCountLabel", "n. discs:", "discCountLineEdit", M::kDiscCount},
         {"nextDiscXLabel", "xi next disc:", "nextDiscXLineEdit", M::kNextDiscX},
         {"nextDiscYLabel", "yi next disc:", "nextDiscYLineEdit", M::kNextDiscY},
         {"nextDiscDistanceXLabel", "x distance next disc:", "nextDiscDistanceXLineEdit",
          M::kNextDiscDistanceX},
         {"nextDiscDistanceYLabel", "y distance next disc:", "nextDiscDistanceYLineEdit",
          M::kNextDiscDistanceY},
         {"centrePointsLabel", "n points center:", "centrePointsLineEdit", M::kCentrePoints},
         {"scoringRadiusLabel", "radius max for points:", "scoringRadiusLineEdit",
          M::kScoringRadius},
         {"discRadiusLabel", "radius disc:", "discRadiusLineEdit", M::kDiscRadius},
         {"frictionLabel", "friction (1/10000):", "frictionLineEdit", M::kFriction},
         {"kickPowerLabel", "power kick (%):", "kickPowerLineEdit", M::kKickPower}});
    f.numberRows(
        group1Right,
        {{"kickDiscYLabel", "yi disc to kick:", "kickDiscYLineEdit", M::kKickDiscY},
         {"barMaxYLabel", "y max bar:", "barMaxYLineEdit", M::kBarMaxY},
         {"barMinYLabel", "y min bar:", "barMinYLineEdit", M::kBarMinY},
         {"barMaxXLabel", "x max bar:", "barMaxXLineEdit", M::kBarMaxX},
         {"barMinXLabel", "x min bar:", "barMinXLineEdit", M::kBarMinX},
         {"centreXLabel", "X center position", "centreXLineEdit", M::kCentreX},
         {"centreYLabel", "Y center position", "centreYLineEdit", M::kCentreY},
         {"maxMouseSpeedLabel", "max mouse speed:", "maxMouseSpeedLineEdit", M::kMaxMouseSpeed},
         {"minMouseSpeedLabel", "min mouse speed:", "minMouseSpeedLineEdit", M::kMinMouseSpeed},
         {"physicsCyclesLabel", "n subdivision cycles (phisics):", "physicsCyclesLineEdit",
          M::kPhysicsCycles}});
    auto* group2 = AddGroup<QFormLayout>(discs.middle, "specificGame2GroupBox",
                                         "Specific game parameters 2 (Disc smash)");
    f.numberRows(
        group2,
        {{"fixedDiscsLabel", "First row: number of fixed discs", "fixedDiscsLineEdit",
          M::kFixedDiscsFirstRow},
         {"fixedDistanceXLabel", "X distance:", "fixedDistanceXLineEdit", M::kFixedDiscDistanceX},
         {"fixedDistanceYLabel", "Y distance:", "fixedDistanceYLineEdit", M::kFixedDiscDistanceY},
         {"fixedInitYLabel", "Y init pos:", "fixedInitYLineEdit", M::kFixedDiscInitY}});
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
    f.numberRows(group3,
                 {{"slotFirstXLabel", "xi first (center):", "slotFirstXLineEdit", M::kSlotFirstX},
                  {"slotFirstYLabel", "yi first (center):", "slotFirstYLineEdit", M::kSlotFirstY},
                  {"slotOffsetXLabel", "x offset:", "slotOffsetXLineEdit", M::kSlotOffsetX}});
    auto* slotSounds = new QGridLayout;
    group3->addRow(slotSounds);
    AddSounds(f, slotSounds,
              {{"slotStartSoundCheckBox", "Enable start sound", "slotStartSoundComboBox", nullptr, M::kSlotStartSound},
               {"slotCycleSoundCheckBox", "Enable cycle sound", "slotCycleSoundComboBox", nullptr, M::kSlotCycleSound},
               {"slotEndSoundCheckBox", "Enable end sound", "slotEndSoundComboBox", nullptr, M::kSlotEndSound},
               {"slotWinSoundCheckBox", "Enable win sound", "slotWinSoundComboBox", nullptr, M::kSlotWinSound}});

    auto* group4 = AddGroup<QFormLayout>(pachinko.middle, "specificGame4GroupBox",
                                         "Specific game parameters 4 (Pachinko)");
    AddFieldRow(
        group4, "tableObjectsDataComboBox", "Table objects  data:",
        f.object(ItemCombo("tableObjectsDataComboBox"), M::kPachinkoBoard, kPachinkoBoardType));
    f.numberRows(
        group4, {{"maxBallSpeedLabel", "Max ball speed:", "maxBallSpeedLineEdit", M::kMaxBallSpeed},
                 {"gravityLabel", "Gravity value (1/10000):", "gravityLineEdit", M::kGravity},
                 {"randomWindLabel", "Random wind value:", "randomWindLineEdit", M::kRandomWind},
                 {"kickBallXLabel", "xi ball to kick:", "kickBallXLineEdit", M::kKickBallX}});
    AddFieldRow(group4, "layer2MapComboBox", "Backgr 0, layer 2:",
                f.object(ItemCombo("layer2MapComboBox"), M::kLayer2Map, kBackgroundMapType));
    AddFieldRow(
        group4, "layer2AlphaMapComboBox", "Backgr 0, layer 2 (alpha):",
        f.object(ItemCombo("layer2AlphaMapComboBox"), M::kLayer2AlphaMap, kBackgroundMapType));
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
    f.numberRows(
        bonus,
        {{"bonusSpriteCountLabel", "Number of sprites:", "bonusSpriteCountLineEdit",
          M::kBonusSpriteCount},
         {"bonusXLabel", "Xi:", "bonusXLineEdit", M::kBonusX},
         {"bonusYLabel", "Yi:", "bonusYLineEdit", M::kBonusY},
         {"bonusOffsetYLabel", "Offset Y:", "bonusOffsetYLineEdit", M::kBonusOffsetY},
         {"maxBonusValueLabel", "Max bonus value:", "maxBonusValueLineEdit", M::kMaxBonusValue}});
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
