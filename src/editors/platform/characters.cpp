#include "editors/platform/characters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/sprite_animation_editor.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace W = layout::willy;
namespace E = layout::platform_enemy;
namespace I = layout::platform_item;

constexpr std::size_t kJumpTextChars = 999;

std::int32_t ReadNumber(const QLineEdit* edit) {
    return ParseSignedDecimal(ToRecordText(edit->text()), kNumberChars);
}

// The count a sprite button hands to the sprite animation editor: never more frames than the
// record's run holds, never fewer than none.
int FramesFor(std::int32_t typed, std::size_t capacity) {
    return std::clamp<std::int32_t>(typed, 0, static_cast<std::int32_t>(capacity));
}

struct SoundGroup {
    const char* groupName;
    const char* title;
    const char* prefix;  // of the check box's and the combo's object names
    std::size_t offset;
};

// A group of "Enable sound" and "Starting sound" bound to the sound pair at offset.
void AddSoundGroup(ItemEditorDialog* dialog, QBoxLayout* column, const SoundGroup& s) {
    auto* form = AddGroup<QFormLayout>(column, s.groupName, s.title);
    const QByteArray box = QByteArray(s.prefix) + "EnableSoundCheckBox";
    const QByteArray combo = QByteArray(s.prefix) + "SoundComboBox";
    const QByteArray label = QByteArray(s.prefix) + "SoundLabel";
    auto* enable = Named<QCheckBox>(box.constData(), QStringLiteral("Enable sound"));
    auto* sound = ItemCombo(combo.constData());
    dialog->fields().optionalSound(enable, sound, s.offset + layout::sound_pair::kEnabled,
                                   s.offset + layout::sound_pair::kSoundId);
    form->addRow(enable);
    form->addRow(Label(label.constData(), "Starting sound"), sound);
}

const EditorRegistration kWillyRegistration(kWillyType, RunEditor<WillyDialog>);
const EditorRegistration kEnemyRegistration(kPlatformEnemyType, RunEditor<PlatformEnemyDialog>);
const EditorRegistration kItemRegistration(kPlatformItemType, RunEditor<PlatformItemDialog>);
} // namespace

std::string FormatJumpOffsets(const JumpOffsets& offsets, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < std::min(count, offsets.size()); ++i) {
        if (i) text += ',';
        text += FormatSignedDecimal(offsets[i]);
    }
    return text;
}

std::size_t ParseJumpOffsets(std::string_view text, JumpOffsets& offsets) {
    text = text.substr(0, std::min(text.size(), kJumpTextChars));
    auto numberChar = [](char c) { return (c >= '0' && c <= '9') || c == '-'; };
    std::size_t count = 0, at = 0;
    while (count < offsets.size() && at < text.size() && numberChar(text[at])) {
        std::size_t end = at;
        while (end < text.size() && numberChar(text[end])) ++end;
        offsets[count++] = ParseSignedDecimal(text.substr(at, end - at));
        at = end;
        if (at < text.size() && text[at] == ',') ++at;
    }
    return count;
}

// ---- Willy data ---------------------------------------------------------------------------

WillyDialog::WillyDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Willy data"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* form = new QFormLayout;
    left->addLayout(form);
    addItemNameRow(form);
    auto* explosion =
        f.object(ItemCombo("explosionAnimationComboBox"), W::kExplosion, kExplosionType);
    form->addRow(Label("explosionAnimationLabel", "Explosion animation"), explosion);

    auto* turn = AddGroup<QFormLayout>(left, "turnSpritesGroupBox", "Turn sprites");
    spriteCount_ = f.number(NumberEdit("spriteCountLineEdit"), W::kSpriteCount, kNumberChars);
    turn->addRow(Label("spriteCountLabel", "Number of sprites (1 to 30)"), spriteCount_);
    auto* leftSprites =
        Named<QPushButton>("editLeftSpritesPushButton", QStringLiteral("Edit left sprites"));
    auto* rightSprites =
        Named<QPushButton>("editRightSpritesPushButton", QStringLiteral("Edit right sprites"));
    auto* spriteButtons = new QHBoxLayout;
    spriteButtons->addWidget(leftSprites);
    spriteButtons->addWidget(rightSprites);
    turn->addRow(spriteButtons);
    connect(leftSprites, &QPushButton::clicked, this, [this] { editSprites(W::kLeftSprites); });
    connect(rightSprites, &QPushButton::clicked, this, [this] { editSprites(W::kRightSprites); });

    auto* movement = new QFormLayout;
    left->addLayout(movement);
    const struct {
        const char* labelName;
        const char* label;
        const char* editName;
        std::size_t offset;
    } numbers[] = {
        {"walkingSpeedLabel", "Walking speed:", "walkingSpeedLineEdit", W::kWalkingSpeed},
        {"leftStartXLabel", "X left starting position:", "leftStartXLineEdit", W::kLeftStartX},
        {"roomEnteringXLabel", "Room entering X pos:", "roomEnteringXLineEdit",
         W::kRoomEnteringX},
        {"maxFallHeightLabel", "Max fall height:", "maxFallHeightLineEdit", W::kMaxFallHeight},
        {"virtualPixelLabel", "Virtual pixel dimension:", "virtualPixelLineEdit",
         W::kVirtualPixel},
    };
    for (const auto& n : numbers)
        movement->addRow(Label(n.labelName, n.label),
                         f.number(NumberEdit(n.editName), n.offset, kNumberChars));
    // The virtual pixel dimension is kept out of sight; its value passes through.
    movement->setRowVisible(movement->rowCount() - 1, false);

    auto* jumps = Named<QLineEdit>("jumpOffsetsLineEdit");
    jumps->setMaxLength(static_cast<int>(kJumpTextChars));
    jumps->setMinimumWidth(260);
    movement->insertRow(1, Label("jumpOffsetsLabel", "Array Y jump offset:"), jumps);
    f.custom(
        [jumps](RecordView& r) {
            JumpOffsets offsets{};
            for (std::size_t i = 0; i < offsets.size(); ++i)
                offsets[i] = r.i32(W::kJumpOffsets + 4 * i);
            // A damaged count shows no more than the hundred offsets the record has.
            const std::int32_t count = r.i32(W::kJumpOffsetCount);
            jumps->setText(QString::fromStdString(FormatJumpOffsets(
                offsets, static_cast<std::size_t>(std::clamp<std::int32_t>(
                             count, 0, static_cast<std::int32_t>(offsets.size()))))));
        },
        [jumps](RecordView& r) {
            JumpOffsets offsets{};
            const std::size_t count = ParseJumpOffsets(ToRecordText(jumps->text()), offsets);
            r.setI32(W::kJumpOffsetCount, static_cast<std::int32_t>(count));
            for (std::size_t i = 0; i < count; ++i) r.setI32(W::kJumpOffsets + 4 * i, offsets[i]);
        });
    left->addStretch(1);

    const SoundGroup sounds[] = {
        {"jumpAudioGroupBox", "Audio salto", "jump", W::kJumpSound},
        {"fallAudioGroupBox", "Audio caduta", "fall", W::kFallSound},
        {"lifeLostAudioGroupBox", "Audio perdita vita", "lifeLost", W::kLifeLostSound},
        {"itemCollectedAudioGroupBox", "Audio item recuperato", "itemCollected",
         W::kItemCollectedSound},
    };
    for (const SoundGroup& s : sounds) AddSoundGroup(this, right, s);
    right->addStretch(1);

    loadFields();
}

void WillyDialog::editSprites(std::size_t offset) {
    ObjectRecord* object = fields().object();
    if (!object) return;
    const std::int32_t typed = ReadNumber(spriteCount_);
    const int frames = FramesFor(typed, W::kSpriteSlots);
    if (frames != typed) spriteCount_->setText(QString::number(frames));
    // The count goes into the record now, with the frames about to be picked.
    object->record().setI32(W::kSpriteCount, frames);
    SaveProject(fields().projectIndex());
    if (frames > 0)
        EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), offset, frames);
}

// ---- Enemies data -------------------------------------------------------------------------

PlatformEnemyDialog::PlatformEnemyDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Enemies data"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* form = new QFormLayout;
    left->addLayout(form);
    addItemNameRow(form);
    form->addRow(Label("speedLabel", "Speed:"),
                 f.number(NumberEdit("speedLineEdit"), E::kSpeed, kNumberChars));

    auto* type = AddGroup<QHBoxLayout>(left, "typeOfAnimationGroupBox", "Type of animation");
    auto* horizontal = Named<QRadioButton>("horizontalRadioButton", QStringLiteral("Horizontal"));
    auto* vertical = Named<QRadioButton>("verticalRadioButton", QStringLiteral("Vertical"));
    type->addWidget(horizontal);
    type->addWidget(vertical);
    type->addStretch(1);
    // Any value but 0 reads as vertical; OK writes 0 or 1.
    f.custom([=](RecordView& r) { (r.u32(E::kAnimationType) != 0 ? vertical : horizontal)->setChecked(true); },
             [=](RecordView& r) {
                 r.setU32(E::kAnimationType, horizontal->isChecked() ? E::kHorizontal : E::kVertical);
             });

    auto* flags = new QVBoxLayout;
    left->addLayout(flags);
    flags->addWidget(f.flag(Named<QCheckBox>("shownUntilAllItemsCheckBox",
                                             QStringLiteral("Showed until all items are owned")),
                            E::kShownUntilAllItems));
    flags->addWidget(f.flag(Named<QCheckBox>("noCollisionCheckBox", QStringLiteral("No collision")),
                            E::kNoCollision));

    auto* style = AddGroup<QVBoxLayout>(left, "animationStyleGroupBox", "");
    auto* separate = Named<QRadioButton>("separateAnimationRadioButton",
                                         QStringLiteral("animazione separata SX e DX"));
    auto* sameCycle = Named<QRadioButton>("sameCycleRadioButton",
                                          QStringLiteral("sempre stessa animazione ciclica"));
    auto* inverted = Named<QRadioButton>("invertedAnimationRadioButton",
                                         QStringLiteral("animazione sprites originale ma invertita"));
    style->addWidget(separate);
    style->addWidget(sameCycle);
    style->addWidget(inverted);
    f.choice(E::kAnimationStyle, {{separate, 0u}, {sameCycle, 1u}, {inverted, 2u}});
    left->addStretch(1);

    // The two sprite runs: the count is stored on OK; "Edit sprites" edits as many frames as
    // it shows.
    const struct {
        const char* groupName;
        const char* title;
        const char* prefix;
        std::size_t count;
        std::size_t frames;
    } runs[] = {
        {"forwardSpritesGroupBox", "Sprites left to right or bottom to top", "forward",
         E::kForwardCount, E::kForwardSprites},
        {"backwardSpritesGroupBox", "Sprites right to left or top to bottom", "backward",
         E::kBackwardCount, E::kBackwardSprites},
    };
    for (const auto& run : runs) {
        auto* group = AddGroup<QFormLayout>(right, run.groupName, run.title);
        const QByteArray countName = QByteArray(run.prefix) + "SpriteCountLineEdit";
        const QByteArray labelName = QByteArray(run.prefix) + "SpriteCountLabel";
        const QByteArray buttonName = QByteArray(run.prefix) + "EditSpritesPushButton";
        QLineEdit* count = f.number(NumberEdit(countName.constData()), run.count, kNumberChars);
        group->addRow(Label(labelName.constData(), "Number of sprites (1 to 100)"), count);
        auto* edit = Named<QPushButton>(buttonName.constData(), QStringLiteral("Edit sprites"));
        group->addRow(edit);
        const std::size_t frames = run.frames;
        connect(edit, &QPushButton::clicked, this, [this, count, frames] {
            const int n = FramesFor(ReadNumber(count), E::kSpriteSlots);
            if (n > 0)
                EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), frames, n);
        });
    }

    const SoundGroup sounds[] = {
        {"firstFrameAudioGroupBox", "Audio on first frame", "firstFrame", E::kFirstFrameSound},
        {"changeDirectionAudioGroupBox", "Audio on change direction", "changeDirection",
         E::kDirectionChangeSound},
    };
    for (const SoundGroup& s : sounds) AddSoundGroup(this, right, s);
    right->addStretch(1);

    loadFields();
}

// ---- Items data ---------------------------------------------------------------------------

PlatformItemDialog::PlatformItemDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Items data"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    QFormLayout* form = addForm();
    addItemNameRow(form);
    auto* sprite = AddGroup<QHBoxLayout>(body(), "spriteGroupBox", "Sprite");
    auto* edit = Named<QPushButton>("editSpritePushButton", QStringLiteral("Edit sprite"));
    sprite->addWidget(edit);
    sprite->addStretch(1);
    connect(edit, &QPushButton::clicked, this, [this] {
        EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(), I::kSprite, 1);
    });
    auto* colour = addForm();
    colour->addRow(Label("firstColourLabel", "First color 0 - 6:"),
                   f.number(NumberEdit("firstColourLineEdit"), I::kFirstColour, kNumberChars));
    loadFields();
}

} // namespace qb::ui
