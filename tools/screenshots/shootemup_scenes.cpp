// Scenes of the shoot'em-up item editors: "Edit vectorial animation", "Ship data",
// "Ship fire data", "Explosion data" and "Bonus data", each on a project that has the items they
// name.
#include <QApplication>
#include <QMouseEvent>
#include <memory>

#include "editors/shootemup/explosion_bonus.h"
#include "editors/shootemup/ship_editors.h"
#include "imaging/vectorial_animation_editor.h"
#include "model/commands.h"
#include "model/layouts/explosion_bonus.h"
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

} // namespace
