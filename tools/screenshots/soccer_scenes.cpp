// Scenes of the soccer game's dialogs, on one project with teams, a field and opponents.
#include <memory>

#include "editors/soccer/main_parameters.h"
#include "editors/soccer/playing_field_editor.h"
#include "editors/soccer/team_editor.h"
#include "model/commands.h"
#include "model/layouts/map.h"
#include "model/layouts/soccer_items.h"
#include "model/layouts/soccer_main.h"
#include "model/workspace.h"
#include "scenes.h"
#include "shot_support.h"

namespace {

namespace L = qb::layout::soccer_main;
namespace T = qb::layout::team;

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

struct SoccerScene {
    int project;
    std::int32_t main, home, field;
};

// A soccer project with the items its dialogs list: two splash screens, two fonts, three
// teams, a playing field, and the main parameters filled in.
SoccerScene MakeSoccerProject() {
    SoccerScene s{};
    s.project = qbshots::CreateSceneProject("Derby", 3);
    const int p = s.project;
    const std::int32_t title = NewItemOfType(p, 13, "Title");
    const std::int32_t won = NewItemOfType(p, 13, "You won");
    const std::int32_t lost = NewItemOfType(p, 13, "You lost");
    const std::int32_t font = NewItemOfType(p, 2, "Font 16");
    const std::int32_t score = NewItemOfType(p, 2, "Score digits");
    NewItemOfType(p, 3, "Players");
    s.home = NewItemOfType(p, 301, "Lions");
    const std::int32_t tigers = NewItemOfType(p, 301, "Tigers");
    const std::int32_t bears = NewItemOfType(p, 301, "Bears");
    s.field = NewItemOfType(p, 308, "Stadium");
    NewItemOfType(p, 5, "Kick");
    const std::int32_t whistle = NewItemOfType(p, 5, "Whistle");

    // The field's map: grass from the default tile set (32-pixel tiles).
    namespace M = qb::layout::map;
    const std::int32_t tiles = NewItemOfType(p, 104, "Grass");
    const std::int32_t pitch = NewItemOfType(p, 6, "Pitch");
    qb::ObjectRecord& map = *qb::FindObject(pitch, p);
    const std::uint32_t width = 20, height = 15;
    map.lpDatiOggetto.assign(M::SizeFor(width, height), 0);
    qb::RecordView m = map.record();
    m.setU32(M::kWidth, width);
    m.setU32(M::kHeight, height);
    m.setU32(M::kTileSize, 32);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            m.setU32(M::CellOffset(x, y, width),
                     qb::layout::map_cell::Make(static_cast<std::uint32_t>(tiles), (x + y) % 4, 0));
    qb::RecordView f = qb::FindObject(s.field, p)->record();
    f.setU32(qb::layout::playing_field::kBackgroundMap, static_cast<std::uint32_t>(pitch));
    f.setI32(qb::layout::playing_field::kHalfAreaX, 304);
    f.setI32(qb::layout::playing_field::kAreaY, 256);
    f.setU32(qb::layout::playing_field::kSingleWhistleSound, 1);
    f.setU32(qb::layout::playing_field::kSingleWhistleSound + 4, static_cast<std::uint32_t>(whistle));
    for (const qb::ObjectRecord& o : qb::ProjectAt(p)->objects)
        if (o.tipoOggetto == 300) s.main = o.IDoggetto;

    qb::RecordView r = qb::FindObject(s.main, p)->record();
    r.setU32(L::kSplashStart, static_cast<std::uint32_t>(title));
    r.setU32(L::kSplashWin, static_cast<std::uint32_t>(won));
    r.setU32(L::kSplashLose, static_cast<std::uint32_t>(lost));
    r.setU32(L::kDefaultFont, static_cast<std::uint32_t>(font));
    r.setU32(L::kPlayerScoreFont, static_cast<std::uint32_t>(score));
    r.setU32(L::kOpponentScoreFont, static_cast<std::uint32_t>(score));
    r.setU32(L::kPlayerTeam, static_cast<std::uint32_t>(s.home));
    r.setU32(L::kPlayingField, static_cast<std::uint32_t>(s.field));
    r.setI32(L::kOpponentCount, 3);
    r.setU32(L::kOpponents, static_cast<std::uint32_t>(tigers));
    r.setU32(L::kOpponents + 4, static_cast<std::uint32_t>(bears));
    r.setU32(L::kOpponents + 8, static_cast<std::uint32_t>(tigers));
    r.setText(L::kLoadingDescription, 260, "Kick-off in a moment...");
    for (std::size_t count : {L::kPlayerRunFrames, L::kOpponentRunFrames, L::kGoalkeeperRunFrames})
        r.setI32(count, 3);
    for (std::size_t count : {L::kPlayerCelebrationFrames, L::kOpponentCelebrationFrames,
                              L::kGoalkeeperCelebrationFrames})
        r.setI32(count, 4);
    r.setI32(L::kMarkerFrames, 2);
    r.setI32(L::kArrowFrames, 8);

    // A 4-4-2 for the home side.
    qb::RecordView t = qb::FindObject(s.home, p)->record();
    t.setI32(T::kShirtColour, 0xC81E1E);
    t.setText(T::kDescription, T::kDescriptionSize, "Home side, red shirts");
    const int formation[11][3] = {{0, 40, 240},  {1, 120, 80},  {1, 120, 190}, {1, 120, 290},
                                  {1, 120, 400}, {2, 250, 80},  {2, 250, 190}, {2, 250, 290},
                                  {2, 250, 400}, {3, 380, 190}, {3, 380, 290}};
    for (std::size_t i = 0; i < 11; ++i) {
        const std::size_t at = T::kPlayers + i * T::kPlayerSize;
        t.setI32(at + T::player::kRole, formation[i][0]);
        t.setI32(at + T::player::kX, formation[i][1]);
        t.setI32(at + T::player::kY, formation[i][2]);
    }
    return s;
}

template <class Dialog>
void Shoot(int project, std::int32_t id, const std::string& outDir, const std::string& file) {
    qb::SetCurrentObject(project, id);
    auto dialog = std::make_unique<Dialog>(nullptr);
    qbshots::SaveShot(dialog.get(), outDir, file);
}

const qbshots::ScreenshotRegistration kSoccerMain("soccer_main_parameters", [](const std::string& out) {
    const SoccerScene s = MakeSoccerProject();
    Shoot<qb::ui::SoccerMainParametersDialog>(s.project, s.main, out, "soccer_main_parameters.png");
});

const qbshots::ScreenshotRegistration kTeam("soccer_team", [](const std::string& out) {
    const SoccerScene s = MakeSoccerProject();
    Shoot<qb::ui::TeamDataDialog>(s.project, s.home, out, "soccer_team.png");
});

const qbshots::ScreenshotRegistration kField("soccer_playing_field", [](const std::string& out) {
    const SoccerScene s = MakeSoccerProject();
    Shoot<qb::ui::PlayingFieldDialog>(s.project, s.field, out, "soccer_playing_field.png");
});

} // namespace
