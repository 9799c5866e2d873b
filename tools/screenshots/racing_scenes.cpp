// Scenes of the racing editors on one small racing project: two tracks raced in order, two cars
// with their sounds, a splash and fonts.
#include <memory>

#include "editors/racing/car_data.h"
#include "editors/racing/main_parameters.h"
#include "model/commands.h"
#include "model/layouts/racing_items.h"
#include "model/layouts/racing_main.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace M = qb::layout::racing_main;
namespace C = qb::layout::car;

std::int32_t NewItemOfType(int project, std::uint32_t type, const char* name = nullptr) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 0 && o.sottoTipoOggetto == type) {
            const std::int32_t id = qb::NewItem(project, o.IDoggetto);
            if (name) qb::FindObject(id, project)->sDescrizione = name;
            return id;
        }
    return 0;
}

std::int32_t MainOf(int project) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto == 100) return o.IDoggetto;
    return 0;
}

struct RacingProject {
    int index;
    std::int32_t main;
    std::int32_t car;
};

RacingProject MakeRacingProject() {
    const int p = qbshots::CreateSceneProject("Rally", 1);
    NewItemOfType(p, 3, "Cars");
    const std::int32_t splash = NewItemOfType(p, 13, "Title");
    const std::int32_t font = NewItemOfType(p, 2, "Font");
    const std::int32_t engine = NewItemOfType(p, 5, "Engine");
    const std::int32_t brakes = NewItemOfType(p, 5, "Brakes");
    const std::int32_t tyres = NewItemOfType(p, 5, "Tyres");
    const std::int32_t seaside = NewItemOfType(p, 108, "Seaside");
    const std::int32_t hills = NewItemOfType(p, 108, "Hills");
    const std::int32_t red = NewItemOfType(p, 109, "Red car");
    const std::int32_t blue = NewItemOfType(p, 109, "Blue car");

    const std::int32_t main = MainOf(p);
    qb::RecordView r = qb::FindObject(main, p)->record();
    const std::int32_t order[] = {seaside, hills, seaside};
    r.setI32(M::kCircuitCount, 3);
    for (std::size_t i = 0; i < 3; ++i) r.setU32(M::kCircuits + 4 * i, static_cast<std::uint32_t>(order[i]));
    r.setU32(M::kPlayerVehicle, static_cast<std::uint32_t>(red));
    r.setU32(M::kEnemyVehicle, static_cast<std::uint32_t>(blue));
    r.setU32(M::kSplashStart, static_cast<std::uint32_t>(splash));
    r.setU32(M::kDefaultFont, static_cast<std::uint32_t>(font));
    r.setU32(M::kInfoFont, static_cast<std::uint32_t>(font));
    r.setU32(M::kBackgroundSound, 1);
    r.setU32(M::kBackgroundSound + 4, static_cast<std::uint32_t>(engine));
    r.setText(M::kLoadingDescription, 260, "Warming up the tyres...");

    qb::RecordView car = qb::FindObject(red, p)->record();
    car.setU32(C::kSoundEnabled, 1);
    car.setU32(C::kAccelerationSound, static_cast<std::uint32_t>(engine));
    car.setU32(C::kStopSound, static_cast<std::uint32_t>(brakes));
    car.setU32(C::kCurveSound, static_cast<std::uint32_t>(tyres));
    car.setI32(C::kCollisionRadius, 14);
    return {p, main, red};
}

template <class Dialog>
void Shoot(int project, std::int32_t id, const std::string& outDir, const std::string& file) {
    qb::SetCurrentObject(project, id);
    auto dialog = std::make_unique<Dialog>(nullptr);
    qbshots::SaveShot(dialog.get(), outDir, file);
}

const qbshots::ScreenshotRegistration kMain("racing_main_parameters", [](const std::string& out) {
    const RacingProject p = MakeRacingProject();
    Shoot<qb::ui::RacingMainParametersDialog>(p.index, p.main, out, "racing_main_parameters.png");
});

const qbshots::ScreenshotRegistration kCar("racing_car_data", [](const std::string& out) {
    const RacingProject p = MakeRacingProject();
    Shoot<qb::ui::CarDataDialog>(p.index, p.car, out, "racing_car_data.png");
});

} // namespace
