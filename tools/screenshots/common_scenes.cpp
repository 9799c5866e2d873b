// Scenes of the shared item editors (sound, splash, font, ads, multiplayer) and of the jigsaw
// "Main parameters".
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "editors/common/ads_multiplayer.h"
#include "editors/common/sound_editor.h"
#include "editors/common/splash_font_editors.h"
#include "editors/jigsaw/main_parameters.h"
#include "model/commands.h"
#include "model/layouts/ads_multiplayer.h"
#include "model/layouts/jigsaw_main.h"
#include "model/layouts/sound.h"
#include "model/workspace.h"
#include "toolkit/sound_player.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

std::int32_t NewItemOfType(int project, std::uint32_t type) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type)
            return qb::NewItem(project, o.IDoggetto);
    return 0;
}

template <class Dialog>
void Shoot(int project, std::int32_t id, const std::string& outDir, const std::string& file) {
    qb::SetCurrentObject(project, id);
    auto dialog = std::make_unique<Dialog>(nullptr);
    qbshots::SaveShot(dialog.get(), outDir, file);
}

const qbshots::ScreenshotRegistration kSound("sound_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Jigsaw sounds", 6);
    Shoot<qb::ui::SoundEditorDialog>(p, NewItemOfType(p, 5), out, "sound_editor.png");
});

// The sound editor after "Play" on a damaged MP3: the message beside the button.
const qbshots::ScreenshotRegistration kSoundDamaged("sound_editor_damaged", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Jigsaw damaged sound", 6);
    const std::int32_t id = NewItemOfType(p, 5);
    QFile file(QString::fromStdString(
        qb::FindObject(id, p)->record().text(qb::layout::sound::kPath, qb::kPathField)));
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(4000, '\x55'));
    file.close();
    qb::SetCurrentObject(p, id);
    auto dialog = std::make_unique<qb::ui::SoundEditorDialog>(nullptr);
    auto* player = dialog->findChild<qb::ui::SoundPlayer*>();
    if (player) {
        QEventLoop wait;
        QObject::connect(player, &qb::ui::SoundPlayer::finished, &wait, &QEventLoop::quit);
        QTimer::singleShot(30000, &wait, &QEventLoop::quit);
        player->button()->click();
        if (player->isPlaying()) wait.exec();
    }
    qbshots::SaveShot(dialog.get(), out, "sound_editor_damaged.png");
});

const qbshots::ScreenshotRegistration kSplash("splash_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Jigsaw splash", 6);
    NewItemOfType(p, 5);
    Shoot<qb::ui::SplashEditorDialog>(p, NewItemOfType(p, 13), out, "splash_editor.png");
});

const qbshots::ScreenshotRegistration kFont("font_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Jigsaw font", 6);
    Shoot<qb::ui::FontEditorDialog>(p, NewItemOfType(p, 2), out, "font_editor.png");
});

const qbshots::ScreenshotRegistration kAds("ads_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Jigsaw ads", 6);
    Shoot<qb::ui::AdsEditorDialog>(p, NewItemOfType(p, 120), out, "ads_editor.png");
});

const qbshots::ScreenshotRegistration kServer("server_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Jigsaw server", 6);
    const std::int32_t id = NewItemOfType(p, 121);
    qb::RecordView r = qb::FindObject(id, p)->record();
    r.setU32(qb::layout::server::kRecordsActive, 1);
    r.setText(qb::layout::server::kRecordsId, qb::layout::server::kTextSize, "9:5:7:42_6-12-2026");
    Shoot<qb::ui::ServerEditorDialog>(p, id, out, "server_editor.png");
});

const qbshots::ScreenshotRegistration kJigsaw("jigsaw_main_parameters", [](const std::string& out) {
    namespace J = qb::layout::jigsaw_main;
    const int p = qbshots::CreateSceneProject("Jigsaw", 6);
    const std::int32_t with = NewItemOfType(p, 4), without = NewItemOfType(p, 4);
    const std::int32_t splash = NewItemOfType(p, 13), font = NewItemOfType(p, 2);
    const std::int32_t music = NewItemOfType(p, 5);
    NewItemOfType(p, 5);
    std::int32_t main = 0;
    for (const qb::ObjectRecord& o : qb::ProjectAt(p)->objects)
        if (o.tipoOggetto == 600) main = o.IDoggetto;
    qb::RecordView r = qb::FindObject(main, p)->record();
    r.setU32(J::kBackgroundWithJigsaw, static_cast<std::uint32_t>(with));
    r.setU32(J::kBackgroundWithoutJigsaw, static_cast<std::uint32_t>(without));
    r.setU32(J::kSplashStart, static_cast<std::uint32_t>(splash));
    r.setU32(J::kDefaultFont, static_cast<std::uint32_t>(font));
    r.setU32(J::kBackgroundSound, 1);
    r.setU32(J::kBackgroundSound + 4, static_cast<std::uint32_t>(music));
    Shoot<qb::ui::JigsawMainParametersDialog>(p, main, out, "jigsaw_main_parameters.png");
});

} // namespace
