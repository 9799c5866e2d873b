#include "editors/common/splash_font_editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <type_traits>

#include "model/layouts/bitmaps.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace S = layout::splash_bitmap;
namespace F = layout::font_bitmap;
constexpr std::uint32_t kFontType = 2;
constexpr std::uint32_t kSplashType = 13;

template <class W, class... Args> W* Named(const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(QString::fromLatin1(name));
    // Enter in a text box means OK, never one of the dialog's own buttons.
    if constexpr (std::is_base_of_v<QPushButton, W>) w->setAutoDefault(false);
    return w;
}

QLabel* Label(const char* name, const char* text) {
    return Named<QLabel>(name, QString::fromLatin1(text));
}

QLineEdit* NumberEdit(const char* name) {
    auto* edit = Named<QLineEdit>(name);
    edit->setMaximumWidth(90);
    return edit;
}

// The read-only "Path file" box, the "Item name" and the "Edit bitmap" button both editors
// begin with.
void AddPictureRows(ItemEditorDialog* dialog, QFormLayout* form) {
    FieldBinder& f = dialog->fields();
    auto* path = Named<QLineEdit>("pathFileLineEdit");
    path->setReadOnly(true);
    path->setMinimumWidth(320);
    auto* edit = Named<QPushButton>("editBitmapPushButton", QStringLiteral("Edit bitmap"));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path, 1);
    pathRow->addWidget(edit);
    form->addRow(Label("pathFileLabel", "Path file"), pathRow);
    form->addRow(Label("itemNameLabel", "Item name"),
                 f.description(Named<QLineEdit>("itemNameLineEdit")));
    f.custom([=](RecordView& r) { path->setText(FromRecordText(r.text(layout::file_backed::kPath, layout::file_backed::kPathSize))); },
             nullptr);
    QObject::connect(edit, &QPushButton::clicked, dialog, [dialog] {
        if (const ObjectRecord* o = dialog->fields().object())
            StartImageEditor(o->record().text(layout::file_backed::kPath, layout::file_backed::kPathSize));
    });
}

const EditorRegistration kSplashRegistration(kSplashType, OpenSplashEditor);
const EditorRegistration kFontRegistration(kFontType, OpenFontEditor);
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
    auto* form = new QFormLayout;
    body()->addLayout(form);
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

    auto* scrollGroup = Named<QGroupBox>("textScrollGroupBox", QStringLiteral("Text scroll"));
    auto* scroll = new QFormLayout(scrollGroup);
    scroll->addRow(Label("speedLabel", "Speed:"),
                   f.number(NumberEdit("speedLineEdit"), S::kScrollSpeed));
    row->addWidget(scrollGroup);

    auto* soundGroup = Named<QGroupBox>("soundGroupBox", QStringLiteral("Sound"));
    auto* sound = new QFormLayout(soundGroup);
    auto* enableSound = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    auto* startingSound = Named<QComboBox>("startingSoundComboBox");
    startingSound->setMinimumContentsLength(12);
    sound->addRow(enableSound);
    sound->addRow(Label("startingSoundLabel", "Starting sound"), startingSound);
    f.optionalSound(enableSound, startingSound, S::kSound + layout::sound_pair::kEnabled,
                    S::kSound + layout::sound_pair::kSoundId);
    row->addWidget(soundGroup, 1);

    auto* linkGroup = Named<QGroupBox>("webLinkGroupBox", QStringLiteral("Web link"));
    auto* link = new QGridLayout(linkGroup);
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
    body()->addWidget(linkGroup);

    loadFields();
}

FontEditorDialog::FontEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Fonts bitmap parameters"), TreeAfterOk::Rebuild,
                       true) {
    FieldBinder& f = fields();
    auto* form = new QFormLayout;
    body()->addLayout(form);
    AddPictureRows(this, form);

    // The font size stays as it is: it belongs to the picture, not to this editor.
    auto* properties = Named<QGroupBox>("propertiesGroupBox", QStringLiteral("Properties"));
    auto* props = new QFormLayout(properties);
    props->addRow(Label("interletterLabel", "Interletter:"),
                  f.number(NumberEdit("interletterLineEdit"), F::kInterletter));
    body()->addWidget(properties);

    loadFields();
}

void OpenSplashEditor(QWidget* owner) {
    SplashEditorDialog dialog(owner);
    dialog.exec();
}

void OpenFontEditor(QWidget* owner) {
    FontEditorDialog dialog(owner);
    dialog.exec();
}

} // namespace qb::ui
