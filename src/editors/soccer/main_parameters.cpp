#include "editors/soccer/main_parameters.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/catalogue.h"
#include "model/layouts/soccer_main.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/main_parameters_groups.h"
#include "toolkit/named_widgets.h"
#include "toolkit/ordered_item_list.h"
#include "toolkit/sprite_buttons.h"

namespace qb::ui {

namespace {
namespace L = layout::soccer_main;

const EditorRegistration kRegistration(kSoccerMainType, RunEditor<SoccerMainParametersDialog>);

// An item combo row of a form.
struct ComboRow {
    const char* labelName;
    const char* label;
    const char* comboName;
    std::size_t offset;
    std::uint32_t type;
};

// A group of "Number of frames:" and "Edit".
struct Animation {
    const char* prefix;  // object names: <prefix>GroupBox, <prefix>FramesLineEdit, <prefix>EditButton
    const char* title;
    std::size_t count;
    std::size_t firstFrame;
    bool running;        // 8 directions of "count" frames each
};

constexpr Animation kAnimations[] = {
    {"playerRunning", "Player running animations", L::kPlayerRunFrames, L::kPlayerRunSprites, true},
    {"playerCelebration", "Player celebration animations", L::kPlayerCelebrationFrames,
     L::kPlayerCelebrationSprites, false},
    {"opponentRunning", "Opponent running animations", L::kOpponentRunFrames,
     L::kOpponentRunSprites, true},
    {"opponentCelebration", "Opponent celebration animations", L::kOpponentCelebrationFrames,
     L::kOpponentCelebrationSprites, false},
    {"goalkeeperRunning", "Goalkeeper running animations", L::kGoalkeeperRunFrames,
     L::kGoalkeeperRunSprites, true},
    {"goalkeeperCelebration", "Goalkeeper celebration animations", L::kGoalkeeperCelebrationFrames,
     L::kGoalkeeperCelebrationSprites, false},
    {"marker", "Sprite under used player", L::kMarkerFrames, L::kMarkerSprites, false},
    {"arrows", "Sprite used to design ARROWS", L::kArrowFrames, L::kArrowSprites, false},
};

QByteArray Name(const char* prefix, const char* suffix) { return QByteArray(prefix) + suffix; }

} // namespace

SoccerMainParametersDialog::SoccerMainParametersDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Main parameters"), TreeAfterOk::Keep) {
    FieldBinder& f = fields();
    const auto [left, middle, right] = AddColumns(this);
    auto addCombos = [&](QFormLayout* form, std::initializer_list<ComboRow> rows) {
        for (const ComboRow& row : rows) {
            AddRow(form, row.labelName, row.label,
                   f.object(ItemCombo(row.comboName), row.offset, row.type));
        }
    };

    // Project, game area, compiling.
    AddProjectRows(this, AddGroup<QFormLayout>(left, "projectGroupBox", "Project"), game::Soccer,
                   "openProjectFolderPushButton");
    AddGameSizeGroup(this, left, L::kGameWidth, L::kGameHeight);
    QVBoxLayout* compiling = AddResourceLocationGroup(
        this, left, {L::kResourceLocation, L::kResourcePath}, "Resources are in a specific path",
        PathBoxPlace::Last, ResourceChoices::BesideOrAtPath);
    AddLoadingDescription(this, compiling, L::kLoadingDescription);

    // Match timing.
    auto* play = AddGroup<QFormLayout>(left, "playInfoGroupBox", "Play info");
    f.numberRows(
        play,
        {{"enteringSpeedLabel", "Speed while entering (begin):", "enteringSpeedLineEdit",
          L::kEnteringSpeed},
         {"playTimeLabel", "Total play time (seconds):", "playTimeLineEdit", L::kPlayTime},
         {"celebrationTimeLabel", "Celebrations after goal (seconds):", "celebrationTimeLineEdit",
          L::kCelebrationTime},
         {"whistleToActionLabel", "From whistle to action (seconds):", "whistleToActionLineEdit",
          L::kWhistleToAction},
         {"gameKindLabel", "Type of game (0 = classi, 1 = ball bounce on borders):",
          "gameKindLineEdit", L::kGameKind}});
    // Kept out of sight: no field of the record holds a game period.
    auto* periodLabel = Label("gamePeriodLabel", "Game period (in seconds):");
    auto* period = NumberEdit("gamePeriodLineEdit");
    periodLabel->setBuddy(period);
    play->addRow(periodLabel, period);
    periodLabel->hide();
    period->hide();
    left->addStretch(1);

    // Splash screens, fonts, the player's team and the field.
    auto* others = AddGroup<QFormLayout>(middle, "othersGroupBox", "Others");
    addCombos(others,
              {{"splashTitleLabel", "Splash title:", "splashTitleComboBox", L::kSplashStart,
                kSplashBitmapType},
               {"splashWinLabel", "Splash for win:", "splashWinComboBox", L::kSplashWin,
                kSplashBitmapType},
               {"splashLoseLabel", "Splash lose:", "splashLoseComboBox", L::kSplashLose,
                kSplashBitmapType},
               {"defaultFontLabel", "Default font:", "defaultFontComboBox", L::kDefaultFont,
                kFontsBitmapType},
               {"playerScoreFontLabel", "Player score font:", "playerScoreFontComboBox",
                L::kPlayerScoreFont, kFontsBitmapType},
               {"opponentScoreFontLabel", "Opponent score font:", "opponentScoreFontComboBox",
                L::kOpponentScoreFont, kFontsBitmapType},
               {"playerTeamLabel", "Player team:", "playerTeamComboBox", L::kPlayerTeam,
                kTeamType},
               {"playingFieldLabel", "Playing field:", "playingFieldComboBox", L::kPlayingField,
                kPlayingFieldType}});

    // The opponents, in match order.
    opponents_ = new OrderedItemList(
        this, {L::kOpponentCount, L::kOpponents, L::kOpponentSlots, kTeamType,
               "Maximum number of teams (20) is reached!", "team", "opponentsListWidget",
               "opponentUpButton", "opponentDownButton", "deleteOpponentButton",
               "opponentComboBox", "addOpponentButton"});
    auto* opponentsBox = AddGroup<QVBoxLayout>(middle, "opponentsGroupBox", "Opponents", 1);
    opponentsBox->addWidget(opponents_->list(), 1);
    auto* moves = new QHBoxLayout;
    moves->addWidget(opponents_->upButton());
    moves->addWidget(opponents_->downButton());
    moves->addStretch(1);
    moves->addWidget(opponents_->deleteButton());
    opponentsBox->addLayout(moves);
    auto* newOpponent = AddGroup<QHBoxLayout>(opponentsBox, "newOpponentGroupBox", "New opponent");
    auto* opponentLabel = Label("opponentLabel", "Opponent:");
    opponentLabel->setBuddy(opponents_->combo());
    newOpponent->addWidget(opponentLabel);
    newOpponent->addWidget(opponents_->combo(), 1);
    newOpponent->addWidget(opponents_->addButton());

    // The sprite animations, two groups a row.
    auto* animations = new QGridLayout;
    right->addLayout(animations);
    int index = 0;
    for (const Animation& a : kAnimations) {
        auto* group = Named<QGroupBox>(Name(a.prefix, "GroupBox").constData(),
                                       QString::fromLatin1(a.title));
        auto* form = new QFormLayout(group);
        auto* frames = NumberEdit(Name(a.prefix, "FramesLineEdit").constData());
        auto* edit = Named<QPushButton>(Name(a.prefix, "EditButton").constData(),
                                        QStringLiteral("Edit"));
        edit->setAccessibleName(QStringLiteral("Edit ") + QString::fromLatin1(a.title));
        AddRow(form, Name(a.prefix, "FramesLabel").constData(), "Number of frames:", frames);
        form->addRow(edit);
        ConnectCountedSpriteButton(
            this, edit, frames,
            {a.count, a.firstFrame,
             static_cast<int>(a.running ? L::kMaxFramesPerDirection : L::kAnimationSlots)},
            a.running ? SpriteEditorVariant::DirectionalGroups : SpriteEditorVariant::Plain);
        animations->addWidget(group, index / 2, index % 2);
        ++index;
    }
    // The ball and its shadow: one sprite frame each.
    const std::pair<const char*, std::pair<const char*, std::size_t>> singles[] = {
        {"ballSprite", {"Ball sprite", L::kBallSprite}},
        {"ballShadowSprite", {"Ball shadow sprite", L::kBallShadowSprite}}};
    for (const auto& [prefix, single] : singles) {
        auto* group = Named<QGroupBox>(Name(prefix, "GroupBox").constData(),
                                       QString::fromLatin1(single.first));
        auto* box = new QVBoxLayout(group);
        auto* edit = Named<QPushButton>(Name(prefix, "EditButton").constData(), QStringLiteral("Edit"));
        edit->setAccessibleName(QStringLiteral("Edit ") + QString::fromLatin1(single.first));
        box->addWidget(edit);
        ConnectSpriteButton(this, edit, single.second, 1);
        animations->addWidget(group, index / 2, index % 2);
        ++index;
    }
    right->addStretch(1);

    loadFields();
}

} // namespace qb::ui
