#include "editors/shootemup/ship_editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/layouts/ship.h"
#include "model/layouts/sound_pair.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/sprite_counts.h"

namespace qb::ui {

namespace {

namespace S = layout::ship;
namespace F = layout::ship_fire;
namespace pair = layout::sound_pair;

constexpr int kSlots = 10;  // both records have room for 10 frames per animation

const EditorRegistration kShipRegistration(kUserShipType, RunEditor<ShipEditorDialog>);
const EditorRegistration kFireRegistration(kUserShipFireType, RunEditor<ShipFireEditorDialog>);

} // namespace

ShipEditorDialog::ShipEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Ship data")) {
    FieldBinder& f = fields();
    addItemNameRow(addForm());
    auto* counts = new SpriteCounts(this);

    auto* row = new QHBoxLayout;
    body()->addLayout(row);
    auto* straight = AddGroup<QFormLayout>(row, "straightSpritesGroupBox", "Straight sprites");
    auto* editStraight = Named<QPushButton>("editSpritesButton", QStringLiteral("Edit sprites"));
    QLineEdit* straightCount = AddRow(straight, "straightCountLabel", "Number of sprites (1 to 10)",
                                      NumberEdit("straightCountLineEdit"));
    straight->addRow(editStraight);

    auto* turn = AddGroup<QFormLayout>(row, "turnSpritesGroupBox", "Turn sprites");
    auto* editLeft = Named<QPushButton>("editLeftSpritesButton", QStringLiteral("Edit left sprites"));
    auto* editRight = Named<QPushButton>("editRightSpritesButton", QStringLiteral("Edit right sprites"));
    QLineEdit* turnCount = AddRow(turn, "turnCountLabel", "Number of sprites (1 to 10)",
                                  NumberEdit("turnCountLineEdit"));
    turn->addRow(editLeft);
    turn->addRow(editRight);

    counts->add(straightCount, S::kStraightCount, kSlots, {editStraight});
    counts->add(turnCount, S::kTurnCount, kSlots, {editLeft, editRight});
    counts->editSprites(editStraight, straightCount, S::kStraightSprites, kSlots);
    counts->editSprites(editLeft, turnCount, S::kLeftSprites, kSlots);
    counts->editSprites(editRight, turnCount, S::kRightSprites, kSlots);

    auto* form = addForm();
    AddRow(form, "explosionLabel", "Explosion animation",
           f.object(ItemCombo("explosionComboBox"), S::kExplosion, kExplosionType));

    auto* area = AddGroup<QGridLayout>(body(), "areaGameGroupBox", "Area game");
    const struct {
        const char* label;
        const char* text;
        const char* edit;
        std::size_t offset;
    } bounds[] = {{"xiLabel", "Xi", "xiLineEdit", S::kAreaXi},
                  {"xfLabel", "Xf", "xfLineEdit", S::kAreaXf},
                  {"yiLabel", "Yi", "yiLineEdit", S::kAreaYi},
                  {"yfLabel", "Yf", "yfLineEdit", S::kAreaYf}};
    int i = 0;
    for (const auto& b : bounds) {
        QLabel* label = Label(b.label, b.text);
        QLineEdit* edit = f.number(NumberEdit(b.edit), b.offset);
        label->setBuddy(edit);
        area->addWidget(label, i / 2, (i % 2) * 2);
        area->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        ++i;
    }

    // Not offered here; the radius passes through.
    auto* collision = AddGroup<QFormLayout>(body(), "backgroundCollisionGroupBox",
                                            "Background collision");
    AddRow(collision, "spriteRadiusLabel", "Sprite radius:",
           f.number(NumberEdit("spriteRadiusLineEdit"), S::kSpriteRadius));
    collision->parentWidget()->hide();

    loadFields();
}

ShipFireEditorDialog::ShipFireEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Ship fire data")) {
    FieldBinder& f = fields();
    addItemNameRow(addForm());
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* shots = AddGroup<QFormLayout>(left, "shotsGroupBox", "Shots");
    AddRow(shots, "verticalSpeedLabel", "Vertical speed:",
           f.number(NumberEdit("verticalSpeedLineEdit"), F::kVerticalSpeed));
    AddRow(shots, "maxSpritesLabel", "Max sprites at same time:",
           f.number(NumberEdit("maxSpritesLineEdit"), F::kMaxShots));
    AddRow(shots, "minimalDistanceLabel", "Minimal temporal distance:",
           f.number(NumberEdit("minimalDistanceLineEdit"), F::kMinShotDistance));
    shots->addRow(f.flag(Named<QCheckBox>("autofireCheckBox", QStringLiteral("Autofire")), F::kAutofire));
    AddRow(shots, "destructionPowerLabel", "Destruction power:",
           f.number(NumberEdit("destructionPowerLineEdit"), F::kDestructionPower));
    AddRow(shots, "verticalOffsetLabel", "Vertical offset:",
           f.number(NumberEdit("verticalOffsetLineEdit"), F::kVerticalOffset));

    auto* spread = AddGroup<QFormLayout>(left, "horizontalSpritesGroupBox", "Side by side");
    AddRow(spread, "horizontalSpritesLabel", "Number of horizontal sprites:",
           f.number(NumberEdit("horizontalSpritesLineEdit"), F::kHorizontalSprites));
    AddRow(spread, "horizontalDistanceLabel", "Horizontal distance:",
           f.number(NumberEdit("horizontalDistanceLineEdit"), F::kHorizontalDistance));
    AddRow(spread, "verticalDistanceLabel", "Vertical distance:",
           f.number(NumberEdit("verticalDistanceLineEdit"), F::kVerticalDistance));
    AddRow(spread, "horizontalSpeedLabel", "Horizontal speed:",
           f.number(NumberEdit("horizontalSpeedLineEdit"), F::kHorizontalSpeed));

    auto* sprites = AddGroup<QFormLayout>(right, "spritesGroupBox", "Sprites");
    auto* editSprites = Named<QPushButton>("editSpritesButton", QStringLiteral("Edit sprites"));
    auto* counts = new SpriteCounts(this);
    QLineEdit* count = counts->add(AddRow(sprites, "spriteCountLabel", "Number of sprites (1 to 10)",
                                          NumberEdit("spriteCountLineEdit")),
                                   F::kSpriteCount, kSlots, {editSprites});
    sprites->addRow(editSprites);
    counts->editSprites(editSprites, count, F::kSprites, kSlots);

    auto* power = AddGroup<QFormLayout>(right, "nextPowerGroupBox", "Upgrade");
    auto* selectNext = Named<QCheckBox>("selectNextPowerCheckBox", QStringLiteral("Select next power:"));
    power->addRow(f.flag(selectNext, F::kNextPowerSelected));
    // Every fire item, this one included: a weapon may be its own next power.
    QComboBox* next = AddRow(power, "nextPowerLabel", "Next power:",
                             f.object(ItemCombo("nextPowerComboBox"), F::kNextPower,
                                      kUserShipFireType, IdWidth::Full32));
    EnableWhile(selectNext, {next});

    auto* sound = AddGroup<QFormLayout>(right, "soundGroupBox", "Sound");
    auto* enableSound = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    sound->addRow(enableSound);
    QComboBox* startingSound =
        AddRow(sound, "startingSoundLabel", "Starting sound", ItemCombo("startingSoundComboBox"));
    f.optionalSound(enableSound, startingSound, F::kSound + pair::kEnabled, F::kSound + pair::kSoundId);
    right->addStretch(1);

    // Not offered here; both fields pass through.
    auto* lost = AddGroup<QFormLayout>(body(), "lostFireGroupBox", "");
    AddRow(lost, "lostFirePointsLabel", "Points if fire is lost:",
           f.number(NumberEdit("lostFirePointsLineEdit"), F::kLostFirePoints));
    lost->addRow(f.flag(Named<QCheckBox>("loopSoundCheckBox", QStringLiteral("Loop sound:")),
                        F::kLoopSound));
    lost->parentWidget()->hide();

    loadFields();
}

} // namespace qb::ui
