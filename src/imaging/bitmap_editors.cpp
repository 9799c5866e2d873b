#include "imaging/bitmap_editors.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <initializer_list>
#include <utility>
#include <vector>

#include "model/layouts/bitmaps.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"

namespace qb::ui {

namespace {

namespace sprites = layout::sprites_bitmap;
namespace backgrounds = layout::backgrounds_bitmap;

// Size fields read at most this many characters, like the edit boxes they come from.
constexpr std::size_t kSizeChars = 29;

QLineEdit* LineEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QFormLayout* AddForm(ItemEditorDialog* dialog) {
    QFormLayout* form = dialog->addForm();
    dialog->addItemNameRow(form);
    QLineEdit* path = dialog->addPicturePathRow(form, "editBitmapButton");
    path->setMinimumWidth(360);
    // A path too long for the box shows whole in its tip.
    dialog->fields().custom([path](RecordView&) { path->setToolTip(path->text()); }, nullptr);
    return form;
}

} // namespace

SpritesBitmapDialog::SpritesBitmapDialog(QWidget* owner)
    : ItemEditorDialog(owner, "Sprites bitmap parameters", TreeAfterOk::Rebuild, true) {
    QFormLayout* form = AddForm(this);
    auto* cell = LineEdit("minimalDimensionLineEdit", this);
    form->addRow("Minimal dimension in pixel:", cell);
    auto* alpha = new QCheckBox("Alpha channel", this);
    alpha->setObjectName("alphaChannelCheckBox");
    form->addRow(alpha);
    auto* rotation = new QCheckBox(
        "Rotation active (Fixed sprite dimension = minimal dimension in pixel)", this);
    rotation->setObjectName("rotationActiveCheckBox");
    form->addRow(rotation);
    auto* anglesLabel = new QLabel("Numero di angoli di rotazione:", this);
    anglesLabel->setObjectName("rotationAnglesLabel");
    auto* angles = LineEdit("rotationAnglesLineEdit", this);
    form->addRow(anglesLabel, angles);
    anglesLabel->hide();
    angles->hide();

    fields().number(cell, sprites::kCellSize, kSizeChars);
    fields().flag(alpha, sprites::kAlpha);
    fields().flag(rotation, sprites::kRotation);
    fields().number(angles, sprites::kRotationAngles);
    loadFields();
}

BackgroundBitmapDialog::BackgroundBitmapDialog(QWidget* owner, std::uint32_t type)
    : ItemEditorDialog(owner, "Background bitmap parameters", TreeAfterOk::Rebuild, true) {
    QFormLayout* form = AddForm(this);
    form->addRow("Piece dimension in pixel:", fields().number(LineEdit("pieceDimensionLineEdit", this),
                                                             backgrounds::kTileSize, kSizeChars));

    static const char* const kRacingPlatformKinds[] = {
        "(circuiti) Asfalto standard",
        "(circuiti) Terra",
        "(circuiti) Muro",
        "(platform) Niente",
        "(platform) Terreno standard",
        "(platform) Salita verso sinistra",
        "(platform) Salita verso destra",
        "(platform) Tappeto mobile verso sinistra",
        "(platform) Tappeto mobile verso destra",
        "(platform) Muro",
        "(platform) Muro animato verso s\xc3\xb9",
        "(platform) Muro animato verso gi\xc3\xb9",
        "(circuiti) Erba",
    };
    static const char* const kShootEmUpKinds[] = {"Terreno calpestabile", "Muro (quadrato)"};
    const bool allKinds = type == kRacingPlatformBackgroundsType;
    const int kinds = allKinds ? static_cast<int>(backgrounds::kGroundKindCount) : 2;

    auto* group = new QGroupBox("Tipo di background", this);
    group->setObjectName("groundKindGroupBox");
    auto* grid = new QGridLayout(group);
    const int rows = (kinds + 1) / 2;
    std::vector<std::pair<QAbstractButton*, std::uint32_t>> buttons;
    for (int kind = 0; kind < kinds; ++kind) {
        auto* radio = new QRadioButton(
            QString::fromUtf8(allKinds ? kRacingPlatformKinds[kind] : kShootEmUpKinds[kind]), group);
        radio->setObjectName(QString("groundKind%1RadioButton").arg(kind));
        grid->addWidget(radio, kind % rows, kind / rows);
        buttons.emplace_back(radio, static_cast<std::uint32_t>(kind));
    }
    body()->addWidget(group);
    if (!allKinds) group->hide();

    // The record keeps its kind unless a button is checked; a kind no button names (above 12,
    // or any kind but 0 and 1 for type 4) checks none.
    fields().choice(backgrounds::kGroundKind, std::move(buttons));
    loadFields();
}

namespace {
const EditorRegistration kSpritesEditor(kSpritesBitmapType, RunEditor<SpritesBitmapDialog>);
const EditorRegistration kBackgroundsEditor(kBackgroundsBitmapType, [](QWidget* owner) {
    RunEditor<BackgroundBitmapDialog>(owner, kBackgroundsBitmapType);
});
const EditorRegistration kRacingBackgroundsEditor(kRacingPlatformBackgroundsType, [](QWidget* owner) {
    RunEditor<BackgroundBitmapDialog>(owner, kRacingPlatformBackgroundsType);
});
} // namespace

} // namespace qb::ui
