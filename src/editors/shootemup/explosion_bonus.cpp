#include "editors/shootemup/explosion_bonus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/layouts/explosion_bonus.h"
#include "model/layouts/sound_pair.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/sprite_counts.h"

namespace qb::ui {

namespace {

namespace X = layout::explosion;
namespace B = layout::bonus;
namespace pair = layout::sound_pair;

const EditorRegistration kExplosionRegistration(kExplosionType, RunEditor<ExplosionEditorDialog>);
const EditorRegistration kBonusRegistration(kBonusType, RunEditor<BonusEditorDialog>);

// The "Sound" group: "Enable sound" switching "Starting sound", bound to the pair at offset.
void AddSoundGroup(ItemEditorDialog* dialog, QBoxLayout* column, std::size_t offset) {
    auto* sound = AddGroup<QFormLayout>(column, "soundGroupBox", "Sound");
    auto* enable = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    sound->addRow(enable);
    QComboBox* combo =
        AddRow(sound, "startingSoundLabel", "Starting sound", ItemCombo("startingSoundComboBox"));
    dialog->fields().optionalSound(enable, combo, offset + pair::kEnabled, offset + pair::kSoundId);
}

} // namespace

ExplosionEditorDialog::ExplosionEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Explosion data")) {
    QFormLayout* form = addForm();
    addItemNameRow(form);

    auto* sprites = AddGroup<QFormLayout>(body(), "spritesGroupBox", "Sprites");
    auto* editSprites = Named<QPushButton>("editSpritesButton", QStringLiteral("Edit sprites"));
    auto* counts = new SpriteCounts(this);
    QLineEdit* count = counts->add(AddRow(sprites, "spriteCountLabel", "Number of sprites (1 to 30)",
                                          NumberEdit("spriteCountLineEdit")),
                                   X::kSpriteCount, static_cast<int>(X::kSpriteSlots), {editSprites});
    sprites->addRow(editSprites);
    counts->editSprites(editSprites, count, X::kSprites, static_cast<int>(X::kSpriteSlots));

    // Not offered here; the field passes through.
    QLabel* repeatedLabel = Label("repeatedFramesLabel", "Number of frame repeated:");
    QLineEdit* repeated = fields().number(NumberEdit("repeatedFramesLineEdit"), X::kRepeatedFrames);
    repeatedLabel->setBuddy(repeated);
    sprites->addRow(repeatedLabel, repeated);
    repeatedLabel->hide();
    repeated->hide();

    AddSoundGroup(this, body(), X::kSound);
    loadFields();
}

BonusEditorDialog::BonusEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Bonus data")) {
    FieldBinder& f = fields();
    QFormLayout* form = addForm();
    addItemNameRow(form);
    AddRow(form, "vectorialAnimationLabel", "Vectorial animation",
           f.object(ItemCombo("vectorialAnimationComboBox"), B::kVectorialAnimation,
                    kVectorialAnimationType));

    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* sprites = AddGroup<QFormLayout>(left, "spritesGroupBox", "Sprites");
    auto* editSprites = Named<QPushButton>("editSpritesButton", QStringLiteral("Edit sprites"));
    auto* counts = new SpriteCounts(this);
    QLineEdit* count = counts->add(AddRow(sprites, "spriteCountLabel", "Number of sprites (1 to 100)",
                                          NumberEdit("spriteCountLineEdit")),
                                   B::kSpriteCount, static_cast<int>(B::kSpriteSlots), {editSprites});
    sprites->addRow(editSprites);
    counts->editSprites(editSprites, count, B::kSprites, static_cast<int>(B::kSpriteSlots));
    AddSoundGroup(this, left, B::kSound);
    left->addStretch(1);

    auto* kinds = AddGroup<QVBoxLayout>(right, "typeOfBonusGroupBox", "Type of bonus");
    auto* score = Named<QRadioButton>("scoreIncreasesRadioButton", QStringLiteral("Score increases"));
    auto* speed = Named<QRadioButton>("speedIncreasesRadioButton", QStringLiteral("Speed increases"));
    auto* shot = Named<QRadioButton>("typeOfShotRadioButton",
                                     QStringLiteral("Type of shot / increase power"));
    auto* lose = Named<QRadioButton>("lostAllBonusRadioButton", QStringLiteral("Lost all bonus"));
    for (QRadioButton* r : {score, speed, shot, lose}) kinds->addWidget(r);
    f.choice(B::kBonusType, {{score, B::kScoreIncreases},
                             {speed, B::kSpeedIncreases},
                             {shot, B::kChangeShot},
                             {lose, B::kLoseAllBonus}});

    auto* effect = AddGroup<QFormLayout>(right, "effectGroupBox", "Effect");
    QLineEdit* scoreEdit = AddRow(effect, "scoreLabel", "Score:", f.number(NumberEdit("scoreLineEdit"), B::kScore));
    QLineEdit* speedEdit = AddRow(effect, "speedLabel", "Speed:", f.number(NumberEdit("speedLineEdit"), B::kSpeed));
    QComboBox* shotCombo = AddRow(effect, "typeOfShotLabel", "Type of shot:",
                                  f.object(ItemCombo("typeOfShotComboBox"), B::kShot, kUserShipFireType));
    auto* restart = Named<QCheckBox>("restartCheckBox", QStringLiteral("Restart from 0 if changed"));
    effect->addRow(f.flag(restart, B::kRestartIfChanged));
    right->addStretch(1);

    // Each effect enables the controls that matter for it; a stored type no button has leaves
    // them all as they are.
    auto rules = [=] {
        const bool isScore = score->isChecked(), isSpeed = speed->isChecked(), isShot = shot->isChecked();
        if (!isScore && !isSpeed && !isShot && !lose->isChecked()) return;
        scoreEdit->setEnabled(isScore);
        speedEdit->setEnabled(isSpeed);
        shotCombo->setEnabled(isShot);
        restart->setEnabled(isShot);
    };
    for (QRadioButton* r : {score, speed, shot, lose}) connect(r, &QRadioButton::toggled, this, rules);
    f.custom([=](RecordView&) { rules(); }, nullptr);

    loadFields();
}

} // namespace qb::ui
