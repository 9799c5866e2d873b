// Scenes of the picture item editors, the sprite animation editor (plain and directional) and
// the shoot'em-up "Main parameters".
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "editors/shootemup/main_parameters.h"
#include "imaging/bitmap_editors.h"
#include "imaging/sprite_animation_editor.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/sprite_frame.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace mp = qb::layout::shootemup_main;

std::int32_t NewItemOfType(int project, std::uint32_t type, const std::string& name = {}) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type) {
            const std::int32_t id = qb::NewItem(project, o.IDoggetto);
            if (qb::ObjectRecord* item = qb::FindObject(id, project); item && !name.empty())
                item->sDescrizione = name;
            return id;
        }
    return 0;
}

std::int32_t MainParametersOf(int project) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.sottoTipoOggetto == 1 && o.tipoOggetto != 0) return o.IDoggetto;
    return 0;
}

const qbshots::ScreenshotRegistration kSprites("sprites_bitmap_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Shooter sprites", 0);
    qb::SetCurrentObject(p, NewItemOfType(p, 3));
    auto dialog = std::make_unique<qb::ui::SpritesBitmapDialog>(nullptr);
    qbshots::SaveShot(dialog.get(), out, "sprites_bitmap_editor.png");
});

const qbshots::ScreenshotRegistration kBackground("background_bitmap_editor", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Shooter backgrounds", 0);
    qb::SetCurrentObject(p, NewItemOfType(p, 4));
    auto dialog = std::make_unique<qb::ui::BackgroundBitmapDialog>(nullptr, 4);
    qbshots::SaveShot(dialog.get(), out, "background_bitmap_editor.png");
});

const qbshots::ScreenshotRegistration kGroundKinds("background_bitmap_editor_kinds", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Racing backgrounds", 1);
    const std::int32_t id = NewItemOfType(p, 104);
    qb::FindObject(id, p)->record().setU32(qb::layout::backgrounds_bitmap::kGroundKind, 4);
    qb::SetCurrentObject(p, id);
    auto dialog = std::make_unique<qb::ui::BackgroundBitmapDialog>(nullptr, 104);
    qbshots::SaveShot(dialog.get(), out, "background_bitmap_editor_kinds.png");
});

const qbshots::ScreenshotRegistration kMain("shootemup_main_parameters", [](const std::string& out) {
    const int p = qbshots::CreateSceneProject("Star raid", 0);
    const std::int32_t first = NewItemOfType(p, 8, "Asteroid belt");
    const std::int32_t second = NewItemOfType(p, 8, "Mothership");
    NewItemOfType(p, 9, "Fighter");
    NewItemOfType(p, 10, "Laser");
    NewItemOfType(p, 13, "Title screen");
    NewItemOfType(p, 2, "Score font");
    const std::int32_t id = MainParametersOf(p);
    qb::RecordView r = qb::FindObject(id, p)->record();
    r.setU32(mp::kLevelCount, 3);
    r.setU32(mp::kLevelList, static_cast<std::uint32_t>(first));
    r.setU32(mp::kLevelList + 4, static_cast<std::uint32_t>(second));
    r.setU32(mp::kLevelList + 8, static_cast<std::uint32_t>(first));
    r.setText(mp::kLoadingDescription, 260, "Loading Star raid...");
    qb::SetCurrentObject(p, id);
    auto dialog = std::make_unique<qb::ui::ShootEmUpMainDialog>(nullptr);
    dialog->findChild<QComboBox*>("playerSpritesComboBox")->setCurrentIndex(0);
    dialog->findChild<QComboBox*>("playerFireComboBox")->setCurrentIndex(0);
    dialog->findChild<QComboBox*>("splashTitleComboBox")->setCurrentIndex(0);
    dialog->findChild<QListWidget*>("levelsListWidget")->setCurrentRow(1);
    qbshots::SaveShot(dialog.get(), out, "shootemup_main_parameters.png");
});

// The sprite animation editor runs modally: the shot is taken from inside its own loop, with a
// cell picked and the pointer resting on another so that the outline shows.
void ShootSpriteEditor(const std::string& out, const std::string& file,
                       qb::ui::SpriteEditorVariant variant, int frames) {
    const int p = qbshots::CreateSceneProject("Sprite frames", 0);
    NewItemOfType(p, 3, "Ships");
    NewItemOfType(p, 3, "Enemies");
    const std::int32_t id = MainParametersOf(p);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QWidget* view = dialog->findChild<QWidget*>("sheetView");
        auto send = [view](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent e(type, QPointF(at), QPointF(view->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
            QApplication::sendEvent(view, &e);
        };
        if (auto* next = dialog->findChild<QPushButton*>("nextFrameButton")) next->click();
        send(QEvent::MouseMove, {10, 10}, Qt::NoButton);
        send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
        send(QEvent::MouseMove, {60, 60}, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, {60, 60}, Qt::NoButton);
        send(QEvent::MouseMove, {140, 100}, Qt::NoButton);
        qbshots::SettleEvents(350);  // a few outline ticks
        qbshots::SaveShot(dialog, out, file);
        dialog->reject();
    });
    qb::ui::EditSpriteAnimation(nullptr, p, id, mp::kLevelList, frames, variant);
}

const qbshots::ScreenshotRegistration kSpriteEditor("sprite_animation_editor", [](const std::string& out) {
    ShootSpriteEditor(out, "sprite_animation_editor.png", qb::ui::SpriteEditorVariant::Plain, 4);
});

const qbshots::ScreenshotRegistration kDirectional("sprite_animation_editor_directional", [](const std::string& out) {
    ShootSpriteEditor(out, "sprite_animation_editor_directional.png",
                      qb::ui::SpriteEditorVariant::Directional, 8);
});

} // namespace
