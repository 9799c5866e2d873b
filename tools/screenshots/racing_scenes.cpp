// Scenes of the racing editors on one small racing project: two tracks raced in order on a
// painted circuit map with their start line and pit-box markers, two cars with their sounds, a
// splash and fonts.
#include <QListWidget>
#include <memory>

#include "editors/racing/car_data.h"
#include "editors/racing/main_parameters.h"
#include "editors/racing/track_data.h"
#include "model/commands.h"
#include "model/layouts/map.h"
#include "model/layouts/racing_items.h"
#include "model/layouts/racing_main.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace M = qb::layout::racing_main;
namespace C = qb::layout::car;
namespace T = qb::layout::track;

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
    std::int32_t track;
};

// A 20 x 20 map of 32-pixel tiles from the default tile set: grass, with a ring of paved road
// two tiles wide around the top-left part that the track view shows first.
std::int32_t AddCircuitMap(int p) {
    namespace Map = qb::layout::map;
    const auto tiles = static_cast<std::uint32_t>(NewItemOfType(p, 104, "Circuit tiles"));
    const std::int32_t id = NewItemOfType(p, 6, "Seaside circuit");
    qb::ObjectRecord& map = *qb::FindObject(id, p);
    const std::uint32_t side = 20;
    map.lpDatiOggetto.assign(Map::SizeFor(side, side), 0);
    qb::RecordView m = map.record();
    m.setU32(Map::kWidth, side);
    m.setU32(Map::kHeight, side);
    m.setU32(Map::kTileSize, 32);
    for (std::uint32_t y = 0; y < side; ++y)
        for (std::uint32_t x = 0; x < side; ++x) {
            const bool ring = x >= 1 && x <= 8 && y >= 1 && y <= 8 && !(x >= 3 && x <= 6 && y >= 3 && y <= 6);
            m.setU32(Map::CellOffset(x, y, side),
                     ring ? qb::layout::map_cell::Make(tiles, x % 2, 9)
                          : qb::layout::map_cell::Make(tiles, (x * 7 + y * 3) % 10, 0));
        }
    return id;
}

// Markers in map pixels, y counted upward from the map's bottom edge (640 pixels high).
void AddMarker(qb::RecordView& r, std::uint16_t orientation, std::uint16_t kind, std::int32_t sx,
               std::int32_t sy, std::int32_t ex, std::int32_t ey) {
    const std::int32_t count = r.i32(T::kMarkerCount);
    const std::size_t at = T::kMarkers + T::kMarkerSize * static_cast<std::size_t>(count);
    r.setU16(at + T::marker::kOrientation, orientation);
    r.setU16(at + T::marker::kKind, kind);
    r.setI32(at + T::marker::kStartX, sx);
    r.setI32(at + T::marker::kStartY, sy);
    r.setI32(at + T::marker::kEndX, ex);
    r.setI32(at + T::marker::kEndY, ey);
    r.setI32(T::kMarkerCount, count + 1);
}

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

    const std::int32_t circuitMap = AddCircuitMap(p);
    for (const std::int32_t track : {seaside, hills}) {
        qb::RecordView t = qb::FindObject(track, p)->record();
        t.setU32(T::kBackgroundMap, static_cast<std::uint32_t>(circuitMap));
        t.setI32(T::kLapCount, track == seaside ? 3 : 5);
    }
    {
        namespace K = T::marker;
        qb::RecordView t = qb::FindObject(seaside, p)->record();
        // Across the left straight; the pit lane along the top straight, entered and left
        // across it, with two start boxes between.
        AddMarker(t, K::kHorizontal, K::kStartLine, 32, 640 - 160, 96, 0);
        AddMarker(t, K::kVertical, K::kBoxEnterExit, 128, 640 - 32, 0, 640 - 96);
        AddMarker(t, K::kVertical, K::kBoxEnterExit, 256, 640 - 32, 0, 640 - 96);
        AddMarker(t, K::kHorizontal, K::kBoxStartPosition, 168, 640 - 52, 200, 0);
        AddMarker(t, K::kHorizontal, K::kBoxStartPosition, 208, 640 - 76, 240, 0);
    }

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
    return {p, main, red, seaside};
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

const qbshots::ScreenshotRegistration kTrack("racing_track_data", [](const std::string& out) {
    const RacingProject p = MakeRacingProject();
    qb::SetCurrentObject(p.index, p.track);
    qb::ui::TrackDataDialog dialog(nullptr);
    // The start line selected: drawn in red over the map, the others in green.
    if (auto* list = dialog.findChild<QListWidget*>("markersListWidget")) list->setCurrentRow(0);
    qbshots::SaveShot(&dialog, out, "racing_track_data.png");
});

} // namespace
