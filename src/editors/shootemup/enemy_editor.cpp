#include "editors/shootemup/enemy_editor.h"

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/layouts/enemy.h"
#include "model/layouts/sound_pair.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"
#include "toolkit/sprite_counts.h"

namespace qb::ui {

namespace {

namespace E = layout::enemy;
namespace pair = layout::sound_pair;

constexpr int kDirections = 8;

const EditorRegistration kRegistration(kEnemiesDataType, RunEditor<EnemyEditorDialog>);

// An optional-sound group, "Enable sound" and "Starting sound", bound to the pair at offset.
QGroupBox* AddSoundGroup(FieldBinder& f, QBoxLayout* column, const char* prefix, const char* title,
                         std::size_t offset) {
    const QByteArray p(prefix);
    auto* form = AddGroup<QFormLayout>(column, (p + "AudioGroupBox").constData(), title);
    auto* enable = Named<QCheckBox>((p + "EnableSoundCheckBox").constData(), QStringLiteral("Enable sound"));
    form->addRow(enable);
    QComboBox* combo = AddRow(form, (p + "StartingSoundLabel").constData(), "Starting sound",
                              ItemCombo((p + "StartingSoundComboBox").constData()));
    f.optionalSound(enable, combo, offset + pair::kEnabled, offset + pair::kSoundId);
    return static_cast<QGroupBox*>(form->parentWidget());
}

} // namespace

EnemyEditorDialog::EnemyEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Enemies data")) {
    FieldBinder& f = fields();
    QFormLayout* top = addForm();
    addItemNameRow(top);

    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);

    // Movement: field 0 holds animation 1 in its high half and animation 2 in its low half.
    auto* movement = AddGroup<QFormLayout>(left, "movementGroupBox", "Movement");
    QComboBox* path1 = AddRow(movement, "vectorialAnimation1Label", "Vectorial animation 1",
                              ItemCombo("vectorialAnimation1ComboBox"));
    QComboBox* path2 = AddRow(movement, "vectorialAnimation2Label", "Vectorial animation 2",
                              ItemCombo("vectorialAnimation2ComboBox"));
    f.custom(
        [=](RecordView& r) {
            const std::uint32_t both = r.u32(E::kVectorialAnimations);
            for (auto [combo, id] : {std::pair{path1, both >> 16}, std::pair{path2, both & 0xFFFFu}}) {
                combo->clear();
                FillObjectCombo(combo, kVectorialAnimationType);
                SelectObjectInCombo(combo, kVectorialAnimationType, static_cast<std::int32_t>(id));
            }
        },
        [=](RecordView& r) {
            const auto id1 = static_cast<std::uint32_t>(GetSelectedObjectId(path1, kVectorialAnimationType));
            const auto id2 = static_cast<std::uint32_t>(GetSelectedObjectId(path2, kVectorialAnimationType));
            r.setU32(E::kVectorialAnimations, (id1 << 16) + (id2 & 0xFFFFu));
        });

    auto* kinds = AddGroup<QVBoxLayout>(left, "typeOfAnimationGroupBox", "Type of animation");
    auto* cycle = Named<QRadioButton>("spriteCycleRadioButton", QStringLiteral("Sprite cycle animation"));
    auto* background = Named<QRadioButton>(
        "backgroundCycleRadioButton",
        QStringLiteral("Background sprite cycle animation (no collision with ship)"));
    auto* directional = Named<QRadioButton>(
        "directionalRadioButton", QStringLiteral("Sprite directional animation (8 directions)"));
    auto* loop = Named<QRadioButton>(
        "loopAnimation2RadioButton",
        QStringLiteral("Sprite cycle animation (loop vectorial animation 2)"));
    auto* withLoop = Named<QRadioButton>("cycleWithLoopRadioButton",
                                         QStringLiteral("Sprite cycle animation with loop"));
    for (QRadioButton* r : {cycle, background, directional, loop, withLoop}) kinds->addWidget(r);
    const std::vector<std::pair<QAbstractButton*, std::uint32_t>> types{
        {cycle, E::kSpriteCycle},
        {background, E::kBackgroundSpriteCycle},
        {directional, E::kDirectional},
        {loop, E::kLoopAnimation2},
        {withLoop, E::kSpriteCycleWithLoop}};
    f.choice(E::kAnimationType, types);
    auto* destroy = Named<QCheckBox>("destroyToCompleteCheckBox",
                                     QStringLiteral("Have to destroy it to complete level"));
    f.flag(destroy, E::kDestroyToComplete);
    left->addWidget(destroy);
    left->addWidget(f.flag(Named<QCheckBox>("touchBottomCheckBox",
                                            QStringLiteral("If touch bottom of the screen, restart level (- 1 life)")),
                           E::kTouchBottomRestarts));
    left->addStretch(1);

    auto* sprites = AddGroup<QFormLayout>(middle, "spritesGroupBox", "Sprites");
    auto* editSprites = Named<QPushButton>("editSpritesButton", QStringLiteral("Edit sprites"));
    auto* counts = new SpriteCounts(this);
    QLineEdit* count = counts->add(AddRow(sprites, "spriteCountLabel", "Number of sprites (1 to 100)",
                                          NumberEdit("spriteCountLineEdit")),
                                   E::kSpriteCount, static_cast<int>(E::kSpriteSlots), {editSprites});
    sprites->addRow(editSprites);
    counts->editSprites(editSprites, count, E::kSprites, static_cast<int>(E::kSpriteSlots), [=] {
        return directional->isChecked() ? SpriteEditorVariant::Directional : SpriteEditorVariant::Plain;
    });

    auto* combat = AddGroup<QFormLayout>(middle, "combatGroupBox", "Combat");
    AddRow(combat, "shieldLabel", "Shield power (0 for no collision!)",
           f.number(NumberEdit("shieldLineEdit"), E::kShield));
    AddRow(combat, "pointsLabel", "Points:", f.number(NumberEdit("pointsLineEdit"), E::kPoints));
    AddRow(combat, "explosionLabel", "Explosion animation",
           f.object(ItemCombo("explosionComboBox"), E::kExplosion, kExplosionType));
    AddRow(combat, "beatAnimationLabel", "Beat animation",
           f.object(ItemCombo("beatAnimationComboBox"), E::kBeatAnimation, kExplosionType));
    // Every enemy, this one included, may be the projectile.
    AddRow(combat, "fireEnemyLabel", "Enemie used as fire",
           f.object(ItemCombo("fireEnemyComboBox"), E::kFireEnemy, kEnemiesDataType));
    combat->addRow(f.flag(Named<QCheckBox>("mirrorFireCheckBox", QStringLiteral("Mirror enemie fire")),
                          E::kMirrorFire));
    middle->addStretch(1);

    AddSoundGroup(f, right, "fire", "Fire audio", E::kFireSound);
    // Not offered here; these fields pass through.
    AddSoundGroup(f, right, "shield", "Shield audio", E::kShieldSound)->hide();
    auto* multiscroll = AddGroup<QFormLayout>(right, "multiscrollGroupBox", "Multiscroll enemies");
    AddRow(multiscroll, "exitTimeoutLabel", "timeout uscita iniziale (in FPS):",
           f.number(NumberEdit("exitTimeoutLineEdit"), E::kExitTimeout));
    AddRow(multiscroll, "exitDecreaseLabel", "diminuzione timeout ad ogni uscita:",
           f.number(NumberEdit("exitDecreaseLineEdit"), E::kExitTimeoutDecrease));
    AddRow(multiscroll, "minimumTimeoutLabel", "timeout minimo:",
           f.number(NumberEdit("minimumTimeoutLineEdit"), E::kMinimumTimeout));
    multiscroll->addRow(f.flag(Named<QCheckBox>("exitEvenIfVisibleCheckBox",
                                                QStringLiteral("uscita anche se area visibile:")),
                               E::kExitEvenIfVisible));
    auto* exitMode = new QGroupBox(multiscroll->parentWidget());
    exitMode->setObjectName("exitModeGroupBox");
    auto* exitModes = new QVBoxLayout(exitMode);
    auto* everyPoint = Named<QRadioButton>("exitEveryPointRadioButton", QStringLiteral("uscita per ogni punto:"));
    auto* randomPoint = Named<QRadioButton>("exitRandomPointRadioButton",
                                            QStringLiteral("uscita in un punto a caso:"));
    exitModes->addWidget(everyPoint);
    exitModes->addWidget(randomPoint);
    multiscroll->addRow(exitMode);
    f.choice(E::kExitMode, {{everyPoint, 0}, {randomPoint, 1}});
    multiscroll->parentWidget()->hide();
    auto* collision = AddGroup<QFormLayout>(right, "backgroundCollisionGroupBox", "Background collision");
    AddRow(collision, "spriteRadiusLabel", "Sprite radius:",
           f.number(NumberEdit("spriteRadiusLineEdit"), E::kSpriteRadius));
    collision->parentWidget()->hide();
    right->addStretch(1);

    // The animation-type rules, at opening and whenever the flag or a type button changes.
    // The rules check buttons themselves; the guard keeps those changes from running them again.
    auto applying = std::make_shared<bool>(false);
    auto rules = [=] {
        if (*applying) return;
        *applying = true;
        const std::initializer_list<QRadioButton*> others{cycle, background, directional, withLoop};
        if (destroy->isChecked()) {
            CheckExclusive(types, E::kLoopAnimation2);
            for (QRadioButton* r : others) r->setEnabled(false);
            loop->setEnabled(true);
            path2->setEnabled(true);
        } else {
            for (QRadioButton* r : others) r->setEnabled(true);
            loop->setEnabled(false);
            path2->setEnabled(false);
            if (loop->isChecked()) CheckExclusive(types, E::kSpriteCycle);
        }
        if (directional->isChecked()) {
            count->setText(QString::number(kDirections));
            count->setEnabled(false);
        } else {
            count->setEnabled(true);
        }
        *applying = false;
    };
    connect(destroy, &QCheckBox::toggled, this, rules);
    for (QRadioButton* r : {cycle, background, directional, loop, withLoop})
        connect(r, &QRadioButton::toggled, this, [=](bool on) {
            if (on) rules();
        });
    f.custom(
        [=](RecordView& r) {
            // The directional type is not offered for new enemies; a stored one is shown, so
            // the user sees why the number of sprites is locked at 8.
            directional->setVisible(r.u32(E::kAnimationType) == E::kDirectional);
            rules();
        },
        nullptr);

    loadFields();
}

} // namespace qb::ui
