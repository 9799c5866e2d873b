#include "editors/platform/main_parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/sprite_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/common.h"
#include "model/layouts/platform_main.h"
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
namespace L = layout::platform_main;

const EditorRegistration kRegistration(kPlatformMainType, RunEditor<PlatformMainParametersDialog>);
} // namespace

PlatformMainParametersDialog::PlatformMainParametersDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Main parameters"), TreeAfterOk::Keep) {
    FieldBinder& f = fields();
    const auto [left, middle, right] = AddColumns(this);

    // A button that opens the sprite animation editor on frames frames of this record.
    auto spriteButton = [this](const char* name, const char* text, std::size_t offset,
                               int frames) {
        auto* button = Named<QPushButton>(name, QString::fromLatin1(text));
        connect(button, &QPushButton::clicked, this, [this, offset, frames] {
            EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), offset, frames);
        });
        return button;
    };

    // Project, game area, where the resources are, and where Willy starts.
    AddProjectRows(this, AddGroup<QFormLayout>(left, "projectGroupBox", "Project"),
                   game::Platform, "openProjectFolderPushButton");

    QFormLayout* area = AddGameSizeGroup(this, left, L::kGameWidth, L::kGameHeight);
    f.numberRows(
        area, {{"infoHeightLabel", "Info height (>= 64):", "infoHeightLineEdit", L::kInfoHeight}});

    QVBoxLayout* compiling = AddResourceLocationGroup(
        this, left, {L::kResourceLocation, L::kResourcePath}, "Resources are in a specific path",
        PathBoxPlace::UnderItsChoice, ResourceChoices::BesideOrAtPath);
    AddLoadingDescription(this, compiling, L::kLoadingDescription);

    auto* init = AddGroup<QFormLayout>(left, "initGroupBox", "Init");
    f.numberRows(init,
                 {{"initRoomLabel", "Init room:", "initRoomLineEdit", L::kInitRoom},
                  {"initXLabel", "Init X (in pixel / Willy speed):", "initXLineEdit", L::kInitX},
                  {"initYLabel", "Init Y:", "initYLineEdit", L::kInitY}});
    init->addRow(Label("mainSpriteLabel", "Main sprite:"),
                 f.object(ItemCombo("mainSpriteComboBox"), L::kMainSprite, kWillyType));
    left->addStretch(1);

    // Titles, font and the background of the information area.
    auto* others = AddGroup<QFormLayout>(middle, "othersGroupBox", "Others");
    others->addRow(Label("splashTitleLabel", "Splash title:"),
                   f.object(ItemCombo("splashTitleComboBox"), L::kSplashStart, kSplashBitmapType));
    others->addRow(Label("gameOverTitleLabel", "Game over title:"),
                   f.object(ItemCombo("gameOverTitleComboBox"), L::kGameOverSplash,
                            kSplashBitmapType));
    others->addRow(Label("gameFinishedTitleLabel", "Game finished title:"),
                   f.object(ItemCombo("gameFinishedTitleComboBox"), L::kGameFinishedSplash,
                            kSplashBitmapType));
    others->addRow(Label("defaultFontLabel", "Default font:"),
                   f.object(ItemCombo("defaultFontComboBox"), L::kDefaultFont, kFontsBitmapType));
    auto* background = spriteButton("backgroundEditBitmapPushButton", "Edit bitmap",
                                    L::kInfoBackgroundSprites,
                                    static_cast<int>(L::kInfoBackgroundFrames));
    others->addRow(Label("backgroundLabel", "Background:"), background);

    auto* lives = AddGroup<QFormLayout>(middle, "livesGroupBox", "Lives");
    f.numberRows(lives, {{"livesLabel", "Lives:", "livesLineEdit", L::kLives}});
    lives->addRow(Label("spriteWrittenLabel", "Sprite written:"),
                  spriteButton("livesEditSpritePushButton", "Edit sprite", L::kLifeSprite, 1));
    f.numberRows(lives,
                 {{"lifeXLabel", "x position first sprite", "lifeXLineEdit", L::kLifeX},
                  {"lifeYLabel", "y position first sprite", "lifeYLineEdit", L::kLifeY},
                  {"lifeDistanceLabel", "x distance", "lifeDistanceLineEdit", L::kLifeDistance}});

    auto* fadeIn = AddGroup<QVBoxLayout>(middle, "fadeInTypeGroupBox", "Fade in type");
    auto* fadeInZoom = Named<QRadioButton>("fadeInZoomRadioButton", QStringLiteral("Zoom"));
    auto* fadeInScroll =
        Named<QRadioButton>("fadeInSmoothScrollRadioButton", QStringLiteral("Smooth scroll"));
    fadeIn->addWidget(fadeInZoom);
    fadeIn->addWidget(fadeInScroll);
    f.choice(L::kFadeIn, {{fadeInZoom, 0u}, {fadeInScroll, 1u}});

    auto* fadeOut = AddGroup<QVBoxLayout>(middle, "fadeOutTypeGroupBox", "Fade out type");
    auto* fadeOutZoom = Named<QRadioButton>("fadeOutZoomRadioButton", QStringLiteral("Zoom"));
    auto* fadeOutLines = Named<QRadioButton>("fadeOutVerticalLinesRadioButton",
                                             QStringLiteral("Vertical black lines"));
    fadeOut->addWidget(fadeOutZoom);
    fadeOut->addWidget(fadeOutLines);
    f.choice(L::kFadeOut, {{fadeOutZoom, 0u}, {fadeOutLines, 1u}});

    auto* music = AddGroup<QFormLayout>(middle, "audioMusicaGroupBox", "Audio musica");
    auto* enableSound = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    auto* startingSound = ItemCombo("startingSoundComboBox");
    f.optionalSound(enableSound, startingSound, L::kStartingSound + layout::sound_pair::kEnabled,
                    L::kStartingSound + layout::sound_pair::kSoundId);
    music->addRow(enableSound);
    music->addRow(Label("startingSoundLabel", "Starting sound"), startingSound);
    middle->addStretch(1);

    // The head-up display in the information area.
    auto* info = AddGroup<QVBoxLayout>(right, "infoGroupBox", "Info");
    auto* items = AddGroup<QFormLayout>(info, "itemsGroupBox", "Items");
    f.numberRows(items,
                 {{"itemCountXLabel", "x position n item", "itemCountXLineEdit", L::kItemCountX},
                  {"itemCountYLabel", "y position n items", "itemCountYLineEdit", L::kItemCountY}});
    auto* time = AddGroup<QFormLayout>(info, "timeGroupBox", "Time");
    f.numberRows(time, {{"timeXLabel", "x position time", "timeXLineEdit", L::kTimeX},
                        {"timeYLabel", "y position time", "timeYLineEdit", L::kTimeY},
                        {"maxTimeLabel", "Max time (seconds)", "maxTimeLineEdit", L::kMaxTime}});
    auto* roomName = AddGroup<QFormLayout>(info, "roomNameGroupBox", "Room name");
    f.numberRows(roomName,
                 {{"roomNameYLabel", "y position time", "roomNameYLineEdit", L::kRoomNameY}});
    auto* connection = AddGroup<QFormLayout>(info, "connectionGroupBox", "Connection");
    logoCount_ = NumberEdit("logoCountLineEdit");
    f.number(logoCount_, L::kLogoCount, kNumberChars);
    connection->addRow(Label("logoCountLabel", "Number of sprites for logo (max 10):"),
                       logoCount_);
    auto* logo = Named<QPushButton>("logoEditSpritesPushButton", QStringLiteral("Edit sprites"));
    connection->addRow(logo);
    connect(logo, &QPushButton::clicked, this, &PlatformMainParametersDialog::editLogoSprites);

    auto* interactive = AddGroup<QFormLayout>(right, "interactiveGroupBox",
                                              "Interactive (records and multiplayer)");
    interactive->addRow(Label("gameIdLabel", "ID game (4 chars):"),
                        f.text(Named<QLineEdit>("gameIdLineEdit"), L::kGameId, layout::kTextField));
    interactive->addRow(Label("otherPlayersSpriteLabel", "Other players sprite:"),
                        f.object(ItemCombo("otherPlayersSpriteComboBox"), L::kOtherPlayersSprite,
                                 kWillyType));
    // Kept out of sight: the two flags pass through, and no field stores the font.
    auto* records = Named<QCheckBox>("enableRecordsCheckBox", QStringLiteral("Enable Records"));
    auto* multiplayer =
        Named<QCheckBox>("enableMultiplayerCheckBox", QStringLiteral("Enable Multiplayer"));
    f.flag(records, L::kRecordsEnabled);
    f.flag(multiplayer, L::kMultiplayerEnabled);
    auto* otherPlayersFontLabel =
        Label("otherPlayersFontLabel", "Font for name of other players:");
    auto* otherPlayersFont = ItemCombo("otherPlayersFontComboBox");
    interactive->addRow(records);
    interactive->addRow(multiplayer);
    interactive->addRow(otherPlayersFontLabel, otherPlayersFont);
    for (QWidget* hidden : std::initializer_list<QWidget*>{records, multiplayer,
                                                           otherPlayersFontLabel, otherPlayersFont})
        hidden->setVisible(false);

    auto* audio = AddGroup<QVBoxLayout>(right, "audioGroupBox", "Audio");
    audio->addWidget(spriteButton("musicOnOffSpritesPushButton", "Sprites music on/off",
                                  L::kMusicOnOffSprites, static_cast<int>(L::kOnOffFrames)));
    audio->addWidget(spriteButton("fxOnOffSpritesPushButton", "Sprites Fx on/off",
                                  L::kFxOnOffSprites, static_cast<int>(L::kOnOffFrames)));
    right->addStretch(1);

    loadFields();
}

void PlatformMainParametersDialog::editLogoSprites() {
    ObjectRecord* object = fields().object();
    if (!object) return;
    // The record holds ten logo frames; a count outside 0..10 is brought inside so that the
    // sprite editor never reaches the fields behind them.
    const std::int32_t typed = ParseSignedDecimal(ToRecordText(logoCount_->text()), kNumberChars);
    const std::int32_t count = std::clamp<std::int32_t>(typed, 0, static_cast<std::int32_t>(L::kLogoSlots));
    if (count != typed) logoCount_->setText(QString::number(count));
    object->record().setI32(L::kLogoCount, count);
    SaveProject(fields().projectIndex());
    if (count > 0)
        EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), L::kLogoSprites,
                            count);
}

} // namespace qb::ui
