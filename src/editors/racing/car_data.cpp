#include "editors/racing/car_data.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "imaging/sprite_animation_editor.h"
#include "model/layouts/racing_items.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"

namespace qb::ui {

namespace {

namespace C = layout::car;

struct Row {
    const char* label;
    const char* labelName;
    const char* name;
    std::size_t offset;
};

// The four sounds share the one "Enable sound" flag. Each combo is set up and stored by the
// optional-sound picker, which keeps the whole ID; item IDs fit in the low 16 bits the game
// reads, so the stored words are those the game expects.
constexpr Row kSounds[] = {
    {"Curve sound", "curveSoundLabel", "curveSoundComboBox", C::kCurveSound},
    {"Acceleration sound", "accelerationSoundLabel", "accelerationSoundComboBox",
     C::kAccelerationSound},
    {"Stop sound", "stopSoundLabel", "stopSoundComboBox", C::kStopSound},
    {"Deceleration sound", "decelerationSoundLabel", "decelerationSoundComboBox",
     C::kDecelerationSound},
};

constexpr Row kSpeeds[] = {
    {"Max speed", "maxSpeedLabel", "maxSpeedLineEdit", C::kMaxSpeed},
    {"Acceleration", "accelerationLabel", "accelerationLineEdit", C::kAcceleration},
    {"Wake plus speed", "wakePlusSpeedLabel", "wakePlusSpeedLineEdit", C::kWakePlusSpeed},
    {"Atrito strada %", "roadFrictionLabel", "roadFrictionLineEdit", C::kRoadFriction},
    {"Atrito fuoristrada %", "offRoadFrictionLabel", "offRoadFrictionLineEdit",
     C::kOffRoadFriction},
    {"ritardo rotazione (fps)", "rotationDelayLabel", "rotationDelayLineEdit", C::kRotationDelay},
    {"tenuta in curva", "curveGripLabel", "curveGripLineEdit", C::kCurveGrip},
    {"Acceleration in erba", "grassAccelerationLabel", "grassAccelerationLineEdit",
     C::kGrassAcceleration},
};

const EditorRegistration kRegistration(kVehicleDataType, RunEditor<CarDataDialog>);

} // namespace

CarDataDialog::CarDataDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Car data"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* name = AddGroup<QFormLayout>(left, "itemNameGroupBox", "Item name");
    auto* itemName = f.description(Named<QLineEdit>("itemNameLineEdit"));
    itemName->setAccessibleName(QStringLiteral("Item name"));  // the group's title names it
    name->addRow(itemName);

    auto* sprites = AddGroup<QVBoxLayout>(left, "carSpritesGroupBox", "Car sprites");
    auto* editSprites = Named<QPushButton>("editSpritesButton", QStringLiteral("Edit sprites"));
    sprites->addWidget(editSprites);
    connect(editSprites, &QPushButton::clicked, this, [this] {
        EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), C::kSprites,
                            static_cast<int>(C::kSpriteSlots));
    });

    auto* sound = AddGroup<QFormLayout>(left, "soundGroupBox", "Sound");
    auto* enable = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    sound->addRow(enable);
    for (const Row& s : kSounds) {
        auto* combo = ItemCombo(s.name);
        f.optionalSound(enable, combo, C::kSoundEnabled, s.offset);
        sound->addRow(Label(s.labelName, s.label), combo);
    }

    auto* collisions = AddGroup<QFormLayout>(right, "collisionsGroupBox", "Collisions");
    collisions->addRow(Label("radiusLabel", "Radius"),
                       f.number(NumberEdit("radiusLineEdit"), C::kCollisionRadius, kNumberChars));

    auto* speeds = AddGroup<QFormLayout>(right, "speedParametersGroupBox", "Speed parameters");
    for (const Row& s : kSpeeds) {
        QLineEdit* edit = f.number(NumberEdit(s.name), s.offset, kNumberChars);
        edit->setMinimumWidth(70);
        speeds->addRow(Label(s.labelName, s.label), edit);
    }
    left->addStretch(1);
    right->addStretch(1);

    loadFields();
}

} // namespace qb::ui
