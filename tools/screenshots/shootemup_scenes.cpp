// Scenes of the shoot'em-up item editors: "Edit vectorial animation", "Ship data",
// "Ship fire data", "Explosion data", "Bonus data", "Enemies data" and "Level data", each on a
// project that has the items they name.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <memory>

#include "editors/shootemup/enemy_editor.h"
#include "editors/shootemup/explosion_bonus.h"
#include "editors/shootemup/level_editor.h"
#include "editors/shootemup/ship_editors.h"
#include "imaging/map_view.h"
#include "imaging/vectorial_animation_editor.h"
#include "model/commands.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/level.h"
#include "model/layouts/map.h"
#include "model/layouts/ship.h"
#include "model/layouts/sprite_frame.h"
#include "model/layouts/vectorial.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace V = qb::layout::vectorial;
namespace S = qb::layout::ship;
namespace F = qb::layout::ship_fire;
namespace X = qb::layout::explosion;
namespace B = qb::layout::bonus;
namespace E = qb::layout::enemy;
namespace M = qb::layout::map;
namespace LV = qb::layout::level;

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

qb::RecordView RecordOf(int project, std::int32_t id) { return qb::FindObject(id, project)->record(); }

// A shooter with a sheet, sounds, two paths, two explosions and two weapons chained.
struct Shooter {
    int p;
    std::int32_t sheet, shot, zap, zigzag, dive, small, big, laser, spread;
    Shooter()
        : p(qbshots::CreateSceneProject("Star shooter", 0)), sheet(NewItemOfType(p, 3, "Ships")),
          shot(NewItemOfType(p, 5, "Shot")), zap(NewItemOfType(p, 5, "Zap")),
          zigzag(NewItemOfType(p, 11, "Zigzag")), dive(NewItemOfType(p, 11, "Dive")),
          small(NewItemOfType(p, 12, "Small explosion")), big(NewItemOfType(p, 12, "Big explosion")),
          laser(NewItemOfType(p, 10, "Laser")), spread(NewItemOfType(p, 10, "Spread shot")) {
        qb::RecordView f = RecordOf(p, laser);
        f.setU32(F::kNextPowerSelected, 1);
        f.setU32(F::kNextPower, static_cast<std::uint32_t>(spread));
        f.setI32(F::kSpriteCount, 2);
        f.setU32(F::kSound, 1);
        f.setU32(F::kSound + 4, static_cast<std::uint32_t>(shot));
        f.setI32(F::kHorizontalSprites, 2);
        f.setI32(F::kHorizontalDistance, 12);
    }
};

template <class Dialog>
void Shoot(int project, std::int32_t id, const std::string& outDir, const std::string& file) {
    qb::SetCurrentObject(project, id);
    auto dialog = std::make_unique<Dialog>(nullptr);
    qbshots::SaveShot(dialog.get(), outDir, file);
}

const qbshots::ScreenshotRegistration kVectorial("vectorial_animation_editor", [](const std::string& out) {
    Shooter s;
    // A path entering from the top that weaves down and leaves the screen at the right.
    const std::uint32_t points[][3] = {{2, 60, 60},   {2, 260, 110}, {3, 70, 170},
                                       {3, 250, 230}, {4, 160, 290}, {5, 330, 300}};
    qb::Bytes b(V::SizeFor(std::size(points)), 0);
    qb::RecordView r(b);
    r.setU32(V::kType, V::kFromTop);
    r.setI32(V::kScale, 150);
    r.setU32(V::kVectorCount, static_cast<std::uint32_t>(std::size(points)));
    for (std::size_t i = 0; i < std::size(points); ++i) {
        r.setU32(V::VectorOffset(i), points[i][0]);
        r.setU32(V::VectorOffset(i) + 4, V::vector::MakePoint(points[i][1], points[i][2]));
    }
    qb::FindObject(s.zigzag, s.p)->lpDatiOggetto = b;
    qb::SetCurrentObject(s.p, s.zigzag);
    auto dialog = std::make_unique<qb::ui::VectorialAnimationDialog>(nullptr);
    dialog->show();
    qbshots::SettleEvents();
    if (QWidget* area = dialog->findChild<QWidget*>("pathArea")) {
        const QPoint at(300, 200);
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(area->mapToGlobal(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(area, &move);
    }
    qbshots::SaveShot(dialog.get(), out, "vectorial_animation_editor.png");
});

const qbshots::ScreenshotRegistration kShip("ship_editor", [](const std::string& out) {
    Shooter s;
    const std::int32_t ship = NewItemOfType(s.p, 9, "Viper");
    qb::RecordView r = RecordOf(s.p, ship);
    r.setI32(S::kStraightCount, 2);
    r.setI32(S::kTurnCount, 3);
    r.setU32(S::kExplosion, static_cast<std::uint32_t>(s.big));
    Shoot<qb::ui::ShipEditorDialog>(s.p, ship, out, "ship_editor.png");
});

const qbshots::ScreenshotRegistration kFire("ship_fire_editor", [](const std::string& out) {
    Shooter s;
    Shoot<qb::ui::ShipFireEditorDialog>(s.p, s.laser, out, "ship_fire_editor.png");
});

const qbshots::ScreenshotRegistration kExplosion("explosion_editor", [](const std::string& out) {
    Shooter s;
    qb::RecordView r = RecordOf(s.p, s.big);
    r.setI32(X::kSpriteCount, 12);
    r.setU32(X::kSound, 1);
    r.setU32(X::kSound + 4, static_cast<std::uint32_t>(s.zap));
    Shoot<qb::ui::ExplosionEditorDialog>(s.p, s.big, out, "explosion_editor.png");
});

const qbshots::ScreenshotRegistration kBonus("bonus_editor", [](const std::string& out) {
    Shooter s;
    const std::int32_t bonus = NewItemOfType(s.p, 14, "Weapon upgrade");
    qb::RecordView r = RecordOf(s.p, bonus);
    r.setU32(B::kVectorialAnimation, static_cast<std::uint32_t>(s.dive));
    r.setI32(B::kSpriteCount, 4);
    r.setU32(B::kBonusType, B::kChangeShot);
    r.setU32(B::kShot, static_cast<std::uint32_t>(s.spread));
    r.setU32(B::kRestartIfChanged, 1);
    Shoot<qb::ui::BonusEditorDialog>(s.p, bonus, out, "bonus_editor.png");
});

// A level over a painted map: two enemy waves from the top, one from the left and a bonus.
const qbshots::ScreenshotRegistration kEnemy("enemy_editor", [](const std::string& out) {
    Shooter s;
    const std::int32_t enemy = NewItemOfType(s.p, 7, "Saucer");
    qb::RecordView r = RecordOf(s.p, enemy);
    r.setU32(E::kVectorialAnimations, static_cast<std::uint32_t>(s.zigzag) << 16);
    r.setU32(E::kExplosion, static_cast<std::uint32_t>(s.big));
    r.setU32(E::kBeatAnimation, static_cast<std::uint32_t>(s.small));
    r.setI32(E::kShield, 3);
    r.setI32(E::kPoints, 150);
    r.setU32(E::kFireEnemy, static_cast<std::uint32_t>(enemy));
    r.setU32(E::kFireSound, 1);
    r.setU32(E::kFireSound + 4, static_cast<std::uint32_t>(s.zap));
    Shoot<qb::ui::EnemyEditorDialog>(s.p, enemy, out, "enemy_editor.png");
});

const qbshots::ScreenshotRegistration kLevel("level_editor", [](const std::string& out) {
    Shooter s;
    // The tile set's picture and a map painted with its tiles, a band of each row of tiles.
    const std::int32_t tiles = NewItemOfType(s.p, 4, "Space tiles");
    const std::int32_t map = NewItemOfType(s.p, 6, "Deep space");
    {
        qb::RecordView m = RecordOf(s.p, map);
        const std::uint32_t w = m.u32(M::kWidth), h = m.u32(M::kHeight);
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x)
                m.setU32(M::CellOffset(x, y, w), (static_cast<std::uint32_t>(tiles) << 16) |
                                                     (((x + y / 3) % 10) << 8) | ((y / 7) % 10));
    }
    auto pathOf = [&](std::int32_t path, std::uint32_t type) {
        qb::FindObject(path, s.p)->lpDatiOggetto.assign(V::kNewSize, 0);
        RecordOf(s.p, path).setU32(V::kType, type);
        RecordOf(s.p, path).setI32(V::kScale, 150);
    };
    pathOf(s.zigzag, V::kFromTop);
    pathOf(s.dive, V::kFromLeft);
    const std::int32_t saucer = NewItemOfType(s.p, 7, "Saucer");
    RecordOf(s.p, saucer).setU32(E::kVectorialAnimations, static_cast<std::uint32_t>(s.zigzag) << 16);
    RecordOf(s.p, saucer).setU32(E::kFireEnemy, static_cast<std::uint32_t>(saucer));
    const std::int32_t drone = NewItemOfType(s.p, 7, "Drone");
    RecordOf(s.p, drone).setU32(E::kVectorialAnimations, static_cast<std::uint32_t>(s.dive) << 16);
    const std::int32_t star = NewItemOfType(s.p, 14, "Star");
    RecordOf(s.p, star).setU32(B::kVectorialAnimation, static_cast<std::uint32_t>(s.zigzag));

    const std::int32_t level = NewItemOfType(s.p, 8, "Level 1");
    struct Wave { std::int32_t enemies; std::uint32_t subject; std::int32_t x, y, screenY; std::uint32_t shots; };
    const Wave waves[] = {{5, static_cast<std::uint32_t>(saucer), 80, 300, 0, 1},
                          {1, static_cast<std::uint32_t>(star) + 65536, 200, 220, 0, 0},
                          {3, static_cast<std::uint32_t>(drone), 0, 180, 100, 0},
                          {4, static_cast<std::uint32_t>(saucer), 240, 120, 0, 2}};
    qb::Bytes b(LV::SizeFor(std::size(waves)), 0);
    qb::RecordView r(b);
    r.setU32(LV::kBackgroundMap, static_cast<std::uint32_t>(map));
    r.setI32(LV::kEntryCount, static_cast<std::int32_t>(std::size(waves)));
    for (std::size_t i = 0; i < std::size(waves); ++i) {
        const std::size_t at = LV::EntryOffset(i);
        r.setI32(at + LV::entry::kEnemyCount, waves[i].enemies);
        r.setU32(at + LV::entry::kSubject, waves[i].subject);
        r.setI32(at + LV::entry::kMapX, waves[i].x);
        r.setI32(at + LV::entry::kMapY, waves[i].y);
        r.setI32(at + LV::entry::kScreenY, waves[i].screenY);
        r.setU32(at + LV::entry::kShots, waves[i].shots);
        r.setI32(at + LV::entry::kShotTimeout, 2000);
        r.setI32(at + LV::entry::kEnemyDistance, 500);
    }
    qb::FindObject(level, s.p)->lpDatiOggetto = b;
    qb::SetCurrentObject(s.p, level);
    auto dialog = std::make_unique<qb::ui::LevelEditorDialog>(nullptr);
    dialog->show();
    qbshots::SettleEvents();
    if (auto* view = dialog->mapView()) view->verticalBar()->setValue(view->verticalBar()->maximum());
    if (auto* list = dialog->findChild<QListWidget*>("wavesListWidget")) list->setCurrentRow(3);
    if (auto* enemyCombo = dialog->findChild<QComboBox*>("enemieTypeComboBox")) enemyCombo->setCurrentIndex(0);
    if (auto* y = dialog->findChild<QLineEdit*>("yMapPositionLineEdit")) y->setText("250");
    if (auto* x = dialog->findChild<QLineEdit*>("xMapPositionLineEdit")) x->setText("160");
    qbshots::SaveShot(dialog.get(), out, "level_editor.png");
});

} // namespace
