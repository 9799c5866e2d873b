#include "editors/soccer/team_editor.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <algorithm>
#include <array>

#include "model/layouts/soccer_items.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace T = layout::team;

const EditorRegistration kRegistration(kTeamType, RunEditor<TeamDataDialog>);

constexpr NumberRow kTeamRows[] = {
    {"shirtColourLabel", "T-shirt color:", "shirtColourLineEdit", T::kShirtColour},
    {"playersSpeedLabel", "Players speed:", "playersSpeedLineEdit", T::kPlayersSpeed},
    {"userPlayerSpeedLabel", "User player speed:", "userPlayerSpeedLineEdit", T::kUserPlayerSpeed},
    {"goalkeeperSpeedLabel", "Goal keeper speed:", "goalkeeperSpeedLineEdit", T::kGoalkeeperSpeed},
    {"passDistanceLabel", "Opponent distance for pass:", "passDistanceLineEdit", T::kPassDistance},
    {"kickDistanceLabel", "Distance user player kick", "kickDistanceLineEdit", T::kKickDistance},
    {"dribbleDistanceLabel", "Distance user player dribble", "dribbleDistanceLineEdit",
     T::kDribbleDistance},
    {"goalKickDistanceLabel", "Distance to kick on goal port:", "goalKickDistanceLineEdit",
     T::kGoalKickDistance},
    {"kickPowerLabel", "Kick power:", "kickPowerLineEdit", T::kKickPower},
    {"handPassPowerLabel", "Hand lateral pass power:", "handPassPowerLineEdit", T::kHandPassPower},
};

constexpr int kPlayers = static_cast<int>(T::kPlayerSlots);
// A player's three fields, in the order of its edits.
constexpr std::size_t kFieldOffsets[] = {T::player::kRole, T::player::kX, T::player::kY};

// The players a count covers: none for 0 or less, all of them above the slots.
std::size_t PlayersOf(std::int32_t count) {
    return static_cast<std::size_t>(std::clamp(count, 0, kPlayers));
}

} // namespace

TeamDataDialog::TeamDataDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Team data")) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);

    auto* team = new QFormLayout;
    columns->addLayout(team);
    addItemNameRow(team);
    f.numberRows(team, kTeamRows);

    // The count comes before the players: they are stored with the count just stored. A count
    // is kept within the eleven players the record holds, so the game never takes the bytes of
    // the description for players.
    auto* count = NumberEdit("playerCountLineEdit");
    AddRow(team, "playerCountLabel", "N players for team:", count);
    f.custom([count](RecordView& r) { count->setText(QString::number(r.i32(T::kPlayerCount))); },
             [count](RecordView& r) {
                 const std::int32_t typed =
                     ParseSignedDecimal(ToRecordText(count->text()), kNumberChars);
                 r.setI32(T::kPlayerCount, static_cast<std::int32_t>(PlayersOf(typed)));
             });
    auto* description = f.text(Named<QLineEdit>("descriptionLineEdit"), T::kDescription,
                                T::kDescriptionSize);
    description->setMinimumWidth(240);
    AddRow(team, "descriptionLabel", "Description:", description);

    // The players, four groups a row.
    auto* players = new QGridLayout;
    columns->addLayout(players, 1);
    std::array<std::array<QLineEdit*, 3>, T::kPlayerSlots> edits{};
    for (int p = 0; p < kPlayers; ++p) {
        const QByteArray n = "player" + QByteArray::number(p + 1);
        auto* group = Named<QGroupBox>((n + "GroupBox").constData(), QStringLiteral("Player %1").arg(p + 1));
        auto* form = new QFormLayout(group);
        auto& e = edits[static_cast<std::size_t>(p)];
        e[0] = NumberEdit((n + "RoleLineEdit").constData());
        e[1] = NumberEdit((n + "XLineEdit").constData());
        e[2] = NumberEdit((n + "YLineEdit").constData());
        AddRow(form, (n + "RoleLabel").constData(), "Role:", e[0]);
        AddRow(form, (n + "XLabel").constData(), "X composition:", e[1]);
        AddRow(form, (n + "YLabel").constData(), "Y composition:", e[2]);
        players->addWidget(group, p / 4, p % 4);
    }
    f.custom(
        [edits](RecordView& r) {
            const std::size_t shown = PlayersOf(r.i32(T::kPlayerCount));
            for (std::size_t p = 0; p < T::kPlayerSlots; ++p)
                for (std::size_t k = 0; k < 3; ++k) {
                    const std::size_t at = T::kPlayers + p * T::kPlayerSize + kFieldOffsets[k];
                    edits[p][k]->setText(QString::number(p < shown ? r.i32(at) : 0));
                }
        },
        [edits](RecordView& r) {
            const std::size_t stored = PlayersOf(r.i32(T::kPlayerCount));
            for (std::size_t p = 0; p < T::kPlayerSlots; ++p)
                for (std::size_t k = 0; k < 3; ++k) {
                    const std::size_t at = T::kPlayers + p * T::kPlayerSize + kFieldOffsets[k];
                    const std::int32_t value =
                        p < stored ? ParseSignedDecimal(ToRecordText(edits[p][k]->text()), kNumberChars)
                                   : 0;
                    r.setI32(at, value);
                }
        });

    loadFields();
}

} // namespace qb::ui
