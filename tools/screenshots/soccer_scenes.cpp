// Scenes of the soccer game's dialogs, on one project with teams, a field and opponents.
#include <memory>

#include "editors/soccer/main_parameters.h"
#include "editors/soccer/team_editor.h"
#include "model/commands.h"
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

} // namespace
