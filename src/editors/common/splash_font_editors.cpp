#include "editors/common/splash_font_editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "model/layouts/bitmaps.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace S = layout::splash_bitmap;
namespace F = layout::font_bitmap;

// The "Path file" row and the "Item name" both editors begin with.
void AddPictureRows(ItemEditorDialog* dialog, QFormLayout* form) {
    dialog->addPicturePathRow(form, "editBitmapPushButton");
    dialog->addItemNameRow(form);
}

const EditorRegistration kSplashRegistration(kSplashBitmapType, RunEditor<SplashEditorDialog>);
const EditorRegistration kFontRegistration(kFontsBitmapType, RunEditor<FontEditorDialog>);
} // namespace

QString SplashTextForEditing(const std::string& recordText) {
    QString text = FromRecordText(recordText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string SplashTextForRecord(const QString& edited, std::size_t maxBytes) {
    QString text = edited;
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToRecordText(text, maxBytes);
}

SplashEditorDialog::SplashEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Splash bitmap parameters"), TreeAfterOk::Rebuild,
                       true) {
    FieldBinder& f = fields();
    QFormLayout* form = addForm();
    AddPictureRows(this, form);

    auto* description = Named<QPlainTextEdit>("descriptionPlainTextEdit");
    description->setMinimumHeight(120);
    form->addRow(Label("descriptionLabel", "Description"), description);
    f.custom(
        [=](RecordView& r) {
            description->setPlainText(SplashTextForEditing(r.text(S::kText, S::kTextSize)));
        },
        [=](RecordView& r) {
            r.setText(S::kText, S::kTextSize,
                      SplashTextForRecord(description->toPlainText(), S::kTextSize - 1));
        });
    form->addRow(Label("flashingTextLabel", "Flashing text"),
                 f.text(Named<QLineEdit>("flashingTextLineEdit"), S::kFlashingText,
                        S::kFlashingTextSize));

    auto* row = new QHBoxLayout;
    body()->addLayout(row);

    auto* scroll = AddGroup<QFormLayout>(row, "textScrollGroupBox", "Text scroll");
    scroll->addRow(Label("speedLabel", "Speed:"),
                   f.number(NumberEdit("speedLineEdit"), S::kScrollSpeed));

    auto* sound = AddGroup<QFormLayout>(row, "soundGroupBox", "Sound", 1);
    auto* enableSound = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    auto* startingSound = ItemCombo("startingSoundComboBox", 12);
    sound->addRow(enableSound);
    sound->addRow(Label("startingSoundLabel", "Starting sound"), startingSound);
    f.optionalSound(enableSound, startingSound, S::kSound + layout::sound_pair::kEnabled,
                    S::kSound + layout::sound_pair::kSoundId);

    auto* link = AddGroup<QGridLayout>(body(), "webLinkGroupBox", "Web link");
    link->addWidget(f.flag(Named<QCheckBox>("activateCheckBox", QStringLiteral("Activate")),
                           S::kLinkActive),
                    0, 0, 1, 4);
    link->addWidget(Label("linkXiLabel", "xi:"), 1, 0);
    link->addWidget(f.number(NumberEdit("linkXiLineEdit"), S::kLinkXi), 1, 1);
    link->addWidget(Label("linkYiLabel", "yi:"), 1, 2);
    link->addWidget(f.number(NumberEdit("linkYiLineEdit"), S::kLinkYi), 1, 3);
    link->addWidget(Label("linkXfLabel", "xf:"), 2, 0);
    link->addWidget(f.number(NumberEdit("linkXfLineEdit"), S::kLinkXf), 2, 1);
    link->addWidget(Label("linkYfLabel", "yf:"), 2, 2);
    link->addWidget(f.number(NumberEdit("linkYfLineEdit"), S::kLinkYf), 2, 3);
    link->addWidget(Label("linkLabel", "link:"), 3, 0);
    link->addWidget(f.text(Named<QLineEdit>("linkLineEdit"), S::kLink, S::kLinkSize), 3, 1, 1, 4);
    link->setColumnStretch(4, 1);

    loadFields();
}

FontEditorDialog::FontEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Fonts bitmap parameters"), TreeAfterOk::Rebuild,
                       true) {
    AddPictureRows(this, addForm());

    // The font size stays as it is: it belongs to the picture, not to this editor.
    auto* props = AddGroup<QFormLayout>(body(), "propertiesGroupBox", "Properties");
    props->addRow(Label("interletterLabel", "Interletter:"),
                  fields().number(NumberEdit("interletterLineEdit"), F::kInterletter));

    loadFields();
}

} // namespace qb::ui
