#include "editors/racing/main_parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "imaging/sprite_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/sound_pair.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/main_parameters_groups.h"
#include "toolkit/named_widgets.h"
#include "toolkit/ordered_item_list.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace L = layout::racing_main;
namespace frame = layout::sprite_frame;

const EditorRegistration kRegistration(kRacingMainType, RunEditor<RacingMainParametersDialog>);

} // namespace

RacingMainParametersDialog::RacingMainParametersDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Main parameters"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    const auto [left, middle, right] = AddColumns(this);

    // A button opening the sprite animation editor on frames of this record; what is confirmed
    // there is in the record and saved at once.
    auto spriteButton = [&](const char* name, const char* text, std::size_t offset, int frames) {
        auto* button = Named<QPushButton>(name, QString::fromLatin1(text));
        connect(button, &QPushButton::clicked, this, [this, offset, frames] {
            EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), offset, frames);
        });
        return button;
    };
    // A text shown in the game: its "Edit sprite" button and four positions.
    auto addLapTexts = [&](QBoxLayout* column, const char* groupName, const char* title,
                           const char* spriteName, std::size_t sprite,
                           std::initializer_list<NumberRow> rows) {
        auto* form = AddGroup<QFormLayout>(column, groupName, title);
        form->addRow(spriteButton(spriteName, "Edit sprite", sprite, 1));
        f.numberRows(form, rows);
    };

    // Left: the project, where its resources are, the game area and the race order.
    AddProjectRows(this, AddGroup<QFormLayout>(left, "projectGroupBox", "Project"), game::Racing,
                   "openProjectFolderButton");

    AddGameSizeGroup(this, left, L::kGameAreaWidth, L::kGameAreaHeight,
                     "Width + Width Extra info area (>= 320):", "Height (>= 320):");

    QVBoxLayout* compiling = AddResourceLocationGroup(
        this, left, {L::kResourceLocation, L::kResourcePath}, "Resources are in a specific path",
        PathBoxPlace::UnderItsChoice, ResourceChoices::BesideOrAtPath);
    AddLoadingDescription(this, compiling, L::kLoadingDescription);

    auto* circuits = AddGroup<QVBoxLayout>(left, "circuitsGroupBox", "Circuits", 1);
    auto* circuitList = new OrderedItemList(
        this, {L::kCircuitCount, L::kCircuits, L::kCircuitSlots, kTrackDataType,
               "Maximum number of levels (100) is reached!", "track", "circuitsListWidget",
               "circuitUpButton", "circuitDownButton", "deleteCircuitButton", "circuitComboBox",
               "addCircuitButton"});
    {
        // The list with its moves and "Delete", then the item to add.
        circuits->addWidget(circuitList->list(), 1);
        auto* moves = new QHBoxLayout;
        moves->addWidget(circuitList->upButton());
        moves->addWidget(circuitList->downButton());
        moves->addStretch(1);
        moves->addWidget(circuitList->deleteButton());
        circuits->addLayout(moves);
        // Below the list, the track to add.
        auto* newCircuit = AddGroup<QVBoxLayout>(circuits, "newCircuitGroupBox", "New circuit");
        auto* addRow = new QHBoxLayout;
        auto* label = Label("circuitLabel", "Level:");
        label->setBuddy(circuitList->combo());
        addRow->addWidget(label);
        addRow->addWidget(circuitList->combo(), 1);
        addRow->addWidget(circuitList->addButton());
        newCircuit->addLayout(addRow);
    }

    // Middle: cars, general settings, the extra info area, frame rate and logos.
    auto* player = AddGroup<QFormLayout>(middle, "playerDefaultsGroupBox", "Player default parameters");
    player->addRow(Label("vehicleSpritesLabel", "Vehicle sprites:"),
                   f.object(ItemCombo("vehicleSpritesComboBox"), L::kPlayerVehicle, kVehicleDataType));
    player->addRow(Label("enemyVehicleSpritesLabel", "Enemie vehicle sprites:"),
                   f.object(ItemCombo("enemyVehicleSpritesComboBox"), L::kEnemyVehicle,
                            kVehicleDataType));

    auto* general = AddGroup<QFormLayout>(middle, "generalGroupBox", "General");
    general->addRow(Label("splashTitleLabel", "Splash title:"),
                    f.object(ItemCombo("splashTitleComboBox"), L::kSplashStart, kSplashBitmapType));
    general->addRow(Label("defaultFontLabel", "Default font:"),
                    f.object(ItemCombo("defaultFontComboBox"), L::kDefaultFont, kFontsBitmapType));
    general->addRow(f.flag(Named<QCheckBox>("infiniteLapsCheckBox", QStringLiteral("Infinite laps")),
                           L::kInfiniteLaps));
    general->addRow(f.flag(Named<QCheckBox>("onlyMultiplayerCheckBox",
                                            QStringLiteral("Only multiplayer")),
                           L::kOnlyMultiplayer));
    general->addRow(f.flag(Named<QCheckBox>("cameraMoveableCheckBox",
                                            QStringLiteral("Camera moveable")),
                           L::kCameraMoveable));
    f.numberRows(general, {{"maxCameraDistanceLabel", "Max camera distance (% value, max 100)",
                            "maxCameraDistanceLineEdit", L::kMaxCameraDistance}});

    auto* extra = AddGroup<QFormLayout>(middle, "extraInfoAreaGroupBox", "Extra info area");
    f.numberRows(extra, {{"extraInfoWidthLabel", "Width (0 = no extra info area):",
                          "extraInfoWidthLineEdit", L::kExtraInfoWidth}});
    extra->addRow(spriteButton("extraInfoEditSpriteButton", "Edit sprite", L::kExtraInfoSprite, 1));
    extra->addRow(Label("infoFontLabel", "Info font:"),
                  f.object(ItemCombo("infoFontComboBox"), L::kInfoFont, kFontsBitmapType));
    f.numberRows(extra, {{"infoTextXLabel", "X position text:", "infoTextXLineEdit", L::kInfoTextX},
                         {"infoSessionYLabel", "Y position initial text \"current session\"",
                          "infoSessionYLineEdit", L::kInfoSessionY},
                         {"infoAllTimeYLabel", "Y position initial text \"all time\"",
                          "infoAllTimeYLineEdit", L::kInfoAllTimeY},
                         {"infoInterlineLabel", "interline value:", "infoInterlineLineEdit",
                          L::kInfoInterline}});

    auto* frameRate = AddGroup<QFormLayout>(middle, "frameRateGroupBox", "Frame rate");
    f.numberRows(frameRate, {{"framesSkippedLabel", "Frames skipped:", "framesSkippedLineEdit",
                              L::kFramesSkipped}});

    auto* connection = AddGroup<QFormLayout>(middle, "connectionGroupBox", "Connection");
    logoCount_ = f.number(NumberEdit("logoCountLineEdit"), L::kLogoCount, kNumberChars);
    connection->addRow(Label("logoCountLabel", "Number of sprites for logo (max 10):"), logoCount_);
    auto* logos = Named<QPushButton>("logoEditSpritesButton", QStringLiteral("Edit sprites"));
    connection->addRow(logos);
    connect(logos, &QPushButton::clicked, this, &RacingMainParametersDialog::editLogoSprites);
    middle->addStretch(1);

    // Right: the lap texts shown in the game, and the sound.
    addLapTexts(
        right, "currentLapTextsGroupBox", "Current lap texts on game", "currentLapEditSpriteButton",
        L::kCurrentLapTextSprite,
        {{"currentLapTextXLabel", "x position text 'Current lap':", "currentLapTextXLineEdit",
          L::kCurrentLapTextX},
         {"currentLapTextYLabel", "y position text 'Current lap':", "currentLapTextYLineEdit",
          L::kCurrentLapTextY},
         {"currentLapXLabel", "x position current lap:", "currentLapXLineEdit", L::kCurrentLapX},
         {"currentLapYLabel", "y position current lap:", "currentLapYLineEdit", L::kCurrentLapY}});
    addLapTexts(right, "bestLapTextsGroupBox", "Best lap texts on game", "bestLapEditSpriteButton",
                L::kBestLapTextSprite,
                {{"bestLapTextXLabel", "x position text 'Best lap':", "bestLapTextXLineEdit",
                  L::kBestLapTextX},
                 {"bestLapTextYLabel", "y position text 'Best lap':", "bestLapTextYLineEdit",
                  L::kBestLapTextY},
                 {"bestLapXLabel", "x position best lap:", "bestLapXLineEdit", L::kBestLapX},
                 {"bestLapYLabel", "y position best lap:", "bestLapYLineEdit", L::kBestLapY}});
    addLapTexts(
        right, "lapsToGoGroupBox", "Laps to go on game", "lapsToGoEditSpriteButton",
        L::kLapsToGoTextSprite,
        {{"lapsToGoTextXLabel", "x position text 'Laps to go':", "lapsToGoTextXLineEdit",
          L::kLapsToGoTextX},
         {"lapsToGoTextYLabel", "y position text 'Laps to go':", "lapsToGoTextYLineEdit",
          L::kLapsToGoTextY},
         {"lapsToGoXLabel", "x position 'Laps to go':", "lapsToGoXLineEdit", L::kLapsToGoX},
         {"lapsToGoYLabel", "y position 'Laps to go':", "lapsToGoYLineEdit", L::kLapsToGoY}});

    auto* audio = AddGroup<QFormLayout>(right, "audioGroupBox", "Audio");
    struct SoundRow {
        const char* boxName;
        const char* boxText;
        const char* labelName;
        const char* comboName;
        std::size_t pair;
    };
    for (const SoundRow& s :
         {SoundRow{"enableBackgroundSoundCheckBox", "Enable background sound",
                   "backgroundSoundLabel", "backgroundSoundComboBox", L::kBackgroundSound},
          SoundRow{"enableMusicCheckBox", "Enable music", "musicLabel", "musicComboBox",
                   L::kMusic}}) {
        auto* box = Named<QCheckBox>(s.boxName, QString::fromLatin1(s.boxText));
        auto* combo = ItemCombo(s.comboName);
        f.optionalSound(box, combo, s.pair + layout::sound_pair::kEnabled,
                        s.pair + layout::sound_pair::kSoundId);
        audio->addRow(box);
        audio->addRow(Label(s.labelName, "Starting sound"), combo);
    }
    audio->addRow(spriteButton("musicOnOffSpritesButton", "Sprites music on/off",
                               L::kMusicOnOffSprites, static_cast<int>(L::kOnOffFrames)));
    audio->addRow(spriteButton("fxOnOffSpritesButton", "Sprites Fx on/off", L::kFxOnOffSprites,
                               static_cast<int>(L::kOnOffFrames)));
    right->addStretch(1);

    loadFields();
}

void RacingMainParametersDialog::editLogoSprites() {
    ObjectRecord* object = fields().object();
    if (!object) return;
    // The record holds ten logo frames: a larger (or negative) count never lets the sprite
    // editor, or the game reading the count, reach past them. The edit shows what was kept.
    const std::int32_t typed = ParseSignedDecimal(ToRecordText(logoCount_->text()), kNumberChars);
    const std::int32_t count = std::clamp<std::int32_t>(typed, 0, static_cast<std::int32_t>(L::kLogoSlots));
    object->record().setI32(L::kLogoCount, count);
    if (count != typed) logoCount_->setText(QString::number(count));
    // Saved at once, so the project file agrees with the record whatever closes the dialog.
    SaveProject(fields().projectIndex());
    if (count > 0)
        EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), L::kLogoSprites, count);
}

} // namespace qb::ui
