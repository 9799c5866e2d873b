// Scenes of the platform game's editors: "Main parameters", "Willy data", "Enemies data",
// "Items data" and "Room data", on a project with the items their combos list.
#include <QComboBox>
#include <QListWidget>
#include <memory>

#include "editors/platform/characters.h"
#include "editors/platform/main_parameters.h"
#include "editors/platform/room.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/map.h"
#include "model/layouts/platform_items.h"
#include "model/layouts/platform_main.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

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

std::int32_t ObjectOfType(int project, std::uint32_t type) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == type) return o.IDoggetto;
    return 0;
}

template <class Dialog>
void Shoot(int project, std::int32_t id, const std::string& outDir, const std::string& file) {
    qb::SetCurrentObject(project, id);
    auto dialog = std::make_unique<Dialog>(nullptr);
    qbshots::SaveShot(dialog.get(), outDir, file);
}

// A platform project with Willy, titles, a font and a tune.
int PlatformProject(const std::string& name) {
    const int p = qbshots::CreateSceneProject(name, qb::game::Platform);
    NewItemOfType(p, 209, "Willy");
    NewItemOfType(p, 13, "Title");
    NewItemOfType(p, 13, "Game over");
    NewItemOfType(p, 2, "Font");
    NewItemOfType(p, 5, "Tune");
    NewItemOfType(p, 12, "Boom");
    return p;
}

const qbshots::ScreenshotRegistration kMain("platform_main_parameters", [](const std::string& out) {
    namespace M = qb::layout::platform_main;
    const int p = PlatformProject("Mansion");
    const std::int32_t main = ObjectOfType(p, 200);
    qb::RecordView r = qb::FindObject(main, p)->record();
    r.setU32(M::kMainSprite, static_cast<std::uint32_t>(ObjectOfType(p, 209)));
    r.setU32(M::kSplashStart, static_cast<std::uint32_t>(ObjectOfType(p, 13)));
    r.setU32(M::kDefaultFont, static_cast<std::uint32_t>(ObjectOfType(p, 2)));
    r.setI32(M::kLives, 3);
    r.setI32(M::kMaxTime, 600);
    r.setText(M::kGameId, 260, "WILY");
    r.setText(M::kLoadingDescription, 260, "Entering the mansion...");
    Shoot<qb::ui::PlatformMainParametersDialog>(p, main, out, "platform_main_parameters.png");
});

const qbshots::ScreenshotRegistration kWilly("platform_willy", [](const std::string& out) {
    namespace W = qb::layout::willy;
    const int p = PlatformProject("Mansion Willy");
    const std::int32_t willy = ObjectOfType(p, 209);
    qb::RecordView r = qb::FindObject(willy, p)->record();
    const std::int32_t jumps[] = {-4, -4, -3, -2, -1, 0, 1, 2, 3, 4, 4};
    r.setI32(W::kJumpOffsetCount, static_cast<std::int32_t>(std::size(jumps)));
    for (std::size_t i = 0; i < std::size(jumps); ++i) r.setI32(W::kJumpOffsets + 4 * i, jumps[i]);
    r.setI32(W::kSpriteCount, 4);
    r.setI32(W::kMaxFallHeight, 48);
    r.setU32(W::kExplosion, static_cast<std::uint32_t>(ObjectOfType(p, 12)));
    r.setU32(W::kJumpSound, 1);
    r.setU32(W::kJumpSound + 4, static_cast<std::uint32_t>(ObjectOfType(p, 5)));
    Shoot<qb::ui::WillyDialog>(p, willy, out, "platform_willy.png");
});

const qbshots::ScreenshotRegistration kEnemy("platform_enemy", [](const std::string& out) {
    const int p = PlatformProject("Mansion enemies");
    const std::int32_t enemy = NewItemOfType(p, 207, "Flying pig");
    Shoot<qb::ui::PlatformEnemyDialog>(p, enemy, out, "platform_enemy.png");
});

const qbshots::ScreenshotRegistration kItem("platform_item", [](const std::string& out) {
    const int p = PlatformProject("Mansion items");
    const std::int32_t item = NewItemOfType(p, 214, "Tap");
    Shoot<qb::ui::PlatformItemDialog>(p, item, out, "platform_item.png");
});

// A room on a painted floor with a patrolling enemy, a vertical one and two items; the second
// element selected.
const qbshots::ScreenshotRegistration kRoom("platform_room", [](const std::string& out) {
    namespace R = qb::layout::room;
    namespace El = qb::layout::room::element;
    const int p = PlatformProject("Mansion rooms");
    const std::int32_t tiles = NewItemOfType(p, 104, "Bricks");
    qb::FindObject(tiles, p)->record().setI32(qb::layout::backgrounds_bitmap::kTileSize, 16);
    const std::int32_t map = NewItemOfType(p, 6, "Hall map");
    qb::Bytes& cells = qb::FindObject(map, p)->lpDatiOggetto;
    qb::RecordView m(cells);
    const std::uint32_t width = m.u32(qb::layout::map::kWidth);
    const std::uint32_t height = m.u32(qb::layout::map::kHeight);
    auto put = [&](std::uint32_t x, std::uint32_t y, std::uint32_t column, std::uint32_t row) {
        m.setU32(static_cast<std::size_t>(qb::layout::map::CellOffset(x, y, width)),
                 qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), column, row));
    };
    for (std::uint32_t x = 0; x < width; ++x) {
        put(x, height - 1, 0, 0);
        put(x, 0, 1, 0);
    }
    for (std::uint32_t x = 4; x < 12; ++x) put(x, 9, 2, 1);
    for (std::uint32_t y = 0; y < height; ++y) put(0, y, 3, 2);
    const std::int32_t enemy = NewItemOfType(p, 207, "Robot");
    const std::int32_t item = NewItemOfType(p, 214, "Tap");
    const std::int32_t room = NewItemOfType(p, 208, "Hall");
    qb::RecordView r = qb::FindObject(room, p)->record();
    r.setI32(R::kRoomCode, 1);
    r.setU32(R::kBackgroundMap, static_cast<std::uint32_t>(map));
    r.setI32(R::kRightRoom, 2);
    struct Element { std::int32_t kind, x, y, endX, endY, percent; std::int32_t id; };
    const Element elements[] = {{El::kHorizontalEnemy, 40, 16, 280, 0, 25, enemy},
                                {El::kVerticalEnemy, 232, 48, 0, 200, 50, enemy},
                                {El::kBonus, 120, 112, 0, 0, 0, item},
                                {El::kBonus, 280, 220, 0, 0, 0, item}};
    r.setI32(R::kElementCount, static_cast<std::int32_t>(std::size(elements)));
    for (std::size_t i = 0; i < std::size(elements); ++i) {
        const Element& e = elements[i];
        const std::size_t at = R::kElements + i * R::kElementSize;
        r.setI32(at + El::kKind, e.kind);
        r.setU32(at + (e.kind == El::kBonus ? El::kItem : El::kEnemy), static_cast<std::uint32_t>(e.id));
        r.setI32(at + El::kInitX, e.x);
        r.setI32(at + El::kInitY, e.y);
        r.setI32(at + El::kEndX, e.endX);
        r.setI32(at + El::kEndY, e.endY);
        r.setI32(at + El::kStartPercent, e.percent);
        r.setI32(at + El::kShotTimeout, El::kResetShotTimeout);
    }
    qb::SetCurrentObject(p, room);
    auto dialog = std::make_unique<qb::ui::RoomDialog>(nullptr);
    if (auto* list = dialog->findChild<QListWidget*>("elementsListWidget")) list->setCurrentRow(1);
    if (auto* combo = dialog->findChild<QComboBox*>("enemieTypeComboBox")) combo->setCurrentIndex(0);
    qbshots::SaveShot(dialog.get(), out, "platform_room.png");
});

} // namespace
