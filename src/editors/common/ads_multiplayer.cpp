#include "editors/common/ads_multiplayer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <cstdint>
#include <ctime>

#include "model/layouts/ads_multiplayer.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace A = layout::ads;
namespace M = layout::server;

UtcClock& InstalledClock() {
    static UtcClock clock;
    return clock;
}

UtcTime SystemUtcTime() {
    using namespace std::chrono;
    const std::int64_t ms =
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const std::int64_t wholeSeconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    const std::time_t seconds = static_cast<std::time_t>(wholeSeconds);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    UtcTime t;
    t.year = static_cast<unsigned>(parts.tm_year + 1900);
    t.month = static_cast<unsigned>(parts.tm_mon + 1);
    t.day = static_cast<unsigned>(parts.tm_mday);
    t.hour = static_cast<unsigned>(parts.tm_hour);
    t.minute = static_cast<unsigned>(parts.tm_min);
    t.second = static_cast<unsigned>(parts.tm_sec);
    t.millisecond = static_cast<unsigned>(ms - wholeSeconds * 1000);
    return t;
}

const EditorRegistration kAdsRegistration(kAdsType, RunEditor<AdsEditorDialog>);
const EditorRegistration kServerRegistration(kServerType, RunEditor<ServerEditorDialog>);
} // namespace

void SetUtcClock(UtcClock clock) { InstalledClock() = std::move(clock); }

UtcTime CurrentUtcTime() { return InstalledClock() ? InstalledClock()() : SystemUtcTime(); }

std::string FormatRecordsId(const UtcTime& t) {
    return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
           std::to_string(t.second) + ":" + std::to_string(t.millisecond) + "_" +
           std::to_string(t.day) + "-" + std::to_string(t.month) + "-" + std::to_string(t.year);
}

AdsEditorDialog::AdsEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("MochiAds parameters"), TreeAfterOk::Rebuild, true) {
    FieldBinder& f = fields();
    QFormLayout* form = addForm();
    addItemNameRow(form);

    // The switches and the codes are independent: a network may be on with no code yet.
    auto* mochiForm = AddGroup<QFormLayout>(body(), "mochiAdsGroupBox", "MochiAds");
    mochiForm->addRow(Label("enableMochiAdsLabel", "Enable MochiAds:"),
                      f.flag(Named<QCheckBox>("enableMochiAdsCheckBox"), A::kMochiEnabled));
    auto* mochiCode =
        f.text(Named<QLineEdit>("mochiAdsGameCodeLineEdit"), A::kMochiCode, A::kCodeSize);
    mochiCode->setMinimumWidth(260);
    mochiForm->addRow(Label("mochiAdsGameCodeLabel", "MochiAds game code:"), mochiCode);

    auto* youyouwinForm = AddGroup<QFormLayout>(body(), "youyouwinAdsGroupBox", "Youyouwin Ads");
    youyouwinForm->addRow(
        Label("enableYouyouwinAdsLabel", "Enable Youyouwin Ads:"),
        f.flag(Named<QCheckBox>("enableYouyouwinAdsCheckBox"), A::kYouyouwinEnabled));
    youyouwinForm->addRow(
        Label("youyouwinAdsGameCodeLabel", "Youyouwin Ads game code:"),
        f.text(Named<QLineEdit>("youyouwinAdsGameCodeLineEdit"), A::kYouyouwinCode, A::kCodeSize));

    loadFields();
}

ServerEditorDialog::ServerEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Multiplayer data"), TreeAfterOk::Rebuild, true) {
    FieldBinder& f = fields();
    QFormLayout* form = addForm();
    addItemNameRow(form);

    // Multiplayer settings: not offered, but loaded and stored so they pass through.
    auto* multiplayer = f.flag(
        Named<QCheckBox>("attivaMultiplayerCheckBox", QStringLiteral("Attiva multiplayer:")),
        M::kMultiplayerActive);
    auto* multiplayerAspLabel =
        Label("multiplayerAspLabel", "Asp file multiplayer (path completo):");
    auto* multiplayerAsp =
        f.text(Named<QLineEdit>("multiplayerAspLineEdit"), M::kMultiplayerAsp, M::kTextSize);
    form->addRow(multiplayer);
    form->addRow(multiplayerAspLabel, multiplayerAsp);

    auto* opponentsForm =
        AddGroup<QFormLayout>(body(), "descrizioneAvversariGroupBox", "Descrizione avversari");
    opponentsForm->addRow(
        Label("defaultFontLabel", "Default font:"),
        f.object(ItemCombo("defaultFontComboBox"), M::kOpponentFont, kFontsBitmapType));
    opponentsForm->addRow(Label("offsetXLabel", "Offset X:"),
                          f.number(Named<QLineEdit>("offsetXLineEdit"), M::kOpponentOffsetX));
    opponentsForm->addRow(Label("offsetYLabel", "Offset Y:"),
                          f.number(Named<QLineEdit>("offsetYLineEdit"), M::kOpponentOffsetY));

    auto* recordsForm = AddGroup<QFormLayout>(body(), "recordsGroupBox", "Records");
    auto* activateRecords =
        f.flag(Named<QCheckBox>("activateRecordsCheckBox", QStringLiteral("Activate records:")),
               M::kRecordsActive);
    recordsForm->addRow(activateRecords);
    auto* recordsAspLabel = Label("recordsAspLabel", "Asp file records (path completo):");
    auto* recordsAsp = Named<QLineEdit>("recordsAspLineEdit");
    recordsAsp->setMaxLength(static_cast<int>(M::kTextSize - 1));
    f.custom([=](RecordView& r) { recordsAsp->setText(FromRecordText(r.text(M::kRecordsAsp, M::kTextSize))); },
             nullptr);
    recordsForm->addRow(recordsAspLabel, recordsAsp);
    auto* genericManage = f.flag(
        Named<QCheckBox>("genericManageCheckBox", QStringLiteral("Generic manage:")),
        M::kGenericManage);
    recordsForm->addRow(genericManage);
    auto* recordsId =
        f.text(Named<QLineEdit>("idRecordsOnServerLineEdit"), M::kRecordsId, M::kTextSize);
    recordsId->setMinimumWidth(200);
    recordsId->setEnabled(false);
    auto* generate = Named<QPushButton>("generateNewIdPushButton", QStringLiteral("Generate new ID"));
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(recordsId, 1);
    idRow->addWidget(generate);
    recordsForm->addRow(Label("idRecordsOnServerLabel", "ID records on server:"), idRow);

    for (QWidget* hidden : std::initializer_list<QWidget*>{
             multiplayer, multiplayerAspLabel, multiplayerAsp, opponentsForm->parentWidget(),
             recordsAspLabel,
             recordsAsp, genericManage})
        hidden->setVisible(false);

    auto newId = [recordsId] {
        recordsId->setText(QString::fromStdString(FormatRecordsId(CurrentUtcTime())));
    };
    connect(generate, &QPushButton::clicked, this, newId);
    // Switching records on or off never leaves them without an ID.
    connect(activateRecords, &QAbstractButton::toggled, this, [this, recordsId, newId] {
        if (!fields().isLoading() && recordsId->text().isEmpty()) newId();
    });

    loadFields();
}

} // namespace qb::ui
