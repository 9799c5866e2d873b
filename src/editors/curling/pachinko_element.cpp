#include "editors/curling/pachinko_element.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "imaging/sprite_animation_editor.h"
#include "model/layouts/pachinko.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace E = layout::pachinko_element;


// The element kinds in the order of their stored values 0..17.
constexpr const char* kElementTypes[E::kTypeCount] = {
    "pulsante per far partire la pallina",
    "molla per far partire la pallina",
    "chiodo normale (collisioni)",
    "parete verticale SX (collisioni)",
    "parete orizzontale GIU (collisioni)",
    "parete verticale collisione per uscita pallina zona lancio",
    "parete orizzontale collisione per uscita pallina zona lancio",
    "parete verticale che fa partire la slot machine (collisioni)",
    "parete orizzontale che fa partire la slot machine (collisioni)",
    "punto da cui far ripartire la pallina dopo aver giocato alla slot machine",
    "parete orizzontale che fa perdere la pallina (collisioni)",
    "buco che fa perdere la pallina, oppure riciclarla, eventualmente richiudibile (collisioni)",
    "parete verticale DX (collisioni)",
    "parete orizzontale SU (collisioni)",
    "parete orizzontale che fa riciclare la pallina(collisioni)",
    "pulsante per far partire la SLOT e fa riciclare la pallina (collisioni)",
    "Sprite da disegnare (nessuna collisione)",
    "Cerchio partenza tiro (collisioni come chiodi)",
};

} // namespace

PachinkoElementDialog::PachinkoElementDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Pachinko's element"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    const int projectIndex = f.projectIndex();
    const std::int32_t objectId = f.objectId();
    auto spriteButton = [&](const char* name, const char* text, std::size_t offset) {
        auto* button = Named<QPushButton>(name, QString::fromLatin1(text));
        connect(button, &QPushButton::clicked, this, [=, this] {
            EditSpriteAnimation(this, projectIndex, objectId, offset, 1);
        });
        return button;
    };

    addItemNameRow(addForm());

    auto* row = new QHBoxLayout;
    body()->addLayout(row);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    row->addLayout(left);
    row->addLayout(right);

    auto* types = AddGroup<QVBoxLayout>(left, "typeOfElementGroupBox", "Type of element");
    std::vector<std::pair<QAbstractButton*, std::uint32_t>> typeButtons;
    for (std::uint32_t value = 0; value < E::kTypeCount; ++value) {
        const QByteArray name = "elementType" + QByteArray::number(value) + "RadioButton";
        auto* radio = Named<QRadioButton>(name.constData(), QString::fromLatin1(kElementTypes[value]));
        types->addWidget(radio);
        typeButtons.emplace_back(radio, value);
    }
    f.choice(E::kType, std::move(typeButtons));
    left->addStretch(1);

    // While off.
    auto* deactivated = AddGroup<QFormLayout>(right, "deactivatedGroupBox", "Deactivated");
    deactivated->addRow(f.flag(Named<QCheckBox>("paintDeactivatedCheckBox", QStringLiteral("Paint if deactive")),
                               E::kPaintDeactivated));
    deactivated->addRow(spriteButton("deactivatedSpriteButton", "Sprite if deactived", E::kDeactivatedSprite));
    f.numberRows(deactivated, {{"deactivatedOffsetXLabel", "offset X deactived sprite",
                                "deactivatedOffsetXLineEdit", E::kDeactivatedOffsetX},
                               {"deactivatedOffsetYLabel", "offset Y deactived sprite",
                                "deactivatedOffsetYLineEdit", E::kDeactivatedOffsetY}});

    // While animating.
    auto* animations = AddGroup<QFormLayout>(right, "animationsGroupBox", "Animations");
    auto* count = NumberEdit("animationCountLineEdit");
    AddRow(animations, "animationCountLabel", "n animations sprites:", count);
    auto* animationButton =
        Named<QPushButton>("animationSpritesButton", QStringLiteral("Animations sprites"));
    animations->addRow(animationButton);
    f.numberRows(animations, {{"animationOffsetXLabel", "offset X animations sprites",
                               "animationOffsetXLineEdit", E::kAnimationOffsetX},
                              {"animationOffsetYLabel", "offset Y animations sprites",
                               "animationOffsetYLineEdit", E::kAnimationOffsetY}});
    // The count as typed, brought into the 100 frames the record holds; the edit shows it then.
    auto readCount = [count] {
        const std::int32_t typed = ParseSignedDecimal(ToRecordText(count->text()), kNumberChars);
        const std::int32_t n =
            std::clamp<std::int32_t>(typed, 0, static_cast<std::int32_t>(E::kAnimationSlots));
        if (n != typed) count->setText(QString::number(n));
        return n;
    };
    f.custom([count](RecordView& r) { count->setText(QString::number(r.i32(E::kAnimationCount))); },
             [readCount](RecordView& r) { r.setI32(E::kAnimationCount, readCount()); });
    connect(animationButton, &QPushButton::clicked, this, [=, this] {
        EditSpriteAnimation(this, projectIndex, objectId, E::kAnimationSprites, readCount());
    });

    // While on.
    auto* activated = AddGroup<QFormLayout>(right, "activatedGroupBox", "Activated");
    activated->addRow(f.flag(Named<QCheckBox>("paintActivatedCheckBox", QStringLiteral("Paint if active")),
                             E::kPaintActivated));
    activated->addRow(spriteButton("activatedSpriteButton", "Sprite if actived", E::kActivatedSprite));
    f.numberRows(activated, {{"activatedOffsetXLabel", "offset X actived sprite",
                              "activatedOffsetXLineEdit", E::kActivatedOffsetX},
                             {"activatedOffsetYLabel", "offset Y actived sprite",
                              "activatedOffsetYLineEdit", E::kActivatedOffsetY}});

    // Collision and play.
    auto* play = AddGroup<QFormLayout>(right, "collisionGroupBox", "Collision");
    f.numberRows(play, {{"radiusLabel", "radius", "radiusLineEdit", E::kRadius},
                        {"scoreLabel", "score", "scoreLineEdit", E::kScore},
                        {"brakeLabel", "Brake (1/10000):", "brakeLineEdit", E::kBrake}});
    auto* soundBox = Named<QCheckBox>("collisionSoundCheckBox", QStringLiteral("Enable sound collision"));
    auto* sound = ItemCombo("collisionSoundComboBox");
    sound->setAccessibleName(QStringLiteral("Enable sound collision"));
    play->addRow(soundBox);
    play->addRow(sound);
    f.optionalSound(soundBox, sound, E::kCollisionSound + layout::sound_pair::kEnabled,
                    E::kCollisionSound + layout::sound_pair::kSoundId);
    play->addRow(f.flag(Named<QCheckBox>("lightToPassCheckBox", QStringLiteral("Accendi per passare livello")),
                        E::kLightToPass));
    play->addRow(f.flag(Named<QCheckBox>("pointsOnlyIfOffCheckBox", QStringLiteral("Punti solo se era spento")),
                        E::kPointsOnlyIfOff));
    play->addRow(f.flag(Named<QCheckBox>("incrementsMultiplierCheckBox", QStringLiteral("Incremento moltiplicatore")),
                        E::kIncrementsMultiplier));
    right->addStretch(1);

    loadFields();
}

namespace {
const EditorRegistration kRegistration(kPachinkoElementType, RunEditor<PachinkoElementDialog>);
} // namespace

} // namespace qb::ui
