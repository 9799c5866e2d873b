// The soccer "Main parameters" and "Team data" dialogs on a real project: defaults, every field
// stored at its offset, the opponents list with its limits and its working copy, the animation
// groups opening the sprite editor on their own runs, and damaged counts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <filesystem>

#include "model/catalogue.h"
#include "model/layouts/soccer_items.h"
#include "model/layouts/soccer_main.h"
#include "model/layouts/sprite_frame.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace L = qb::layout::soccer_main;
namespace T = qb::layout::team;

namespace {

QLineEdit* Line(QDialog* d, const QString& name) { return Child<QLineEdit>(d, name); }
void Click(QDialog* d, const QString& name) { Child<QAbstractButton>(d, name)->click(); }
QComboBox* Combo(QDialog* d, const char* name) { return Child<QComboBox>(d, name); }

QStringList Rows(QDialog* d) {
    QStringList rows;
    auto* list = Child<QListWidget>(d, "opponentsListWidget");
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

// Clicks the cell of that column in the top row of the sprite editor's sheet view.
void PickColumn(QDialog* sprites, int column) {
    QWidget* view = Child<QWidget>(sprites, "sheetView");
    const QPoint at(column * 32 + 5, 5);
    for (auto type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(at), QPointF(view->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    }
}

// The directions whose picture the sprite editor shows.
QString ShownDirections(QDialog* sprites) {
    QString shown;
    for (int i = 0; i < 8; ++i)
        if (!Child<QLabel>(sprites, QString("directionPicture%1").arg(i))->isHidden())
            shown += QString::number(i);
    return shown;
}

class SoccerTest : public ::testing::Test {
protected:
    void SetUp() override {
        qb::BindPixbridge(BinDir().string());
        qb::ui::SetTreeRefresher([this](std::int32_t id, int index) { refreshed.emplace_back(id, index); });
    }
    void TearDown() override { qb::ui::SetTreeRefresher(nullptr); }

    qb::RecordView record() { return Object(project, main).record(); }
    qb::Bytes& bytes() { return Object(project, main).lpDatiOggetto; }
    void EditMain(const std::function<void(QDialog*)>& act) { Edit(project, main, act); }

    TempAppFolder app;
    int project = NewProject("Derby", qb::game::Soccer);
    std::int32_t main = ObjectOfType(project, 300);
    std::vector<std::pair<std::int32_t, int>> refreshed;
};

TEST_F(SoccerTest, ANewProjectOpensWithItsDefaultsAndHiddenControls) {
    ASSERT_NE(main, 0);
    EXPECT_EQ(bytes().size(), L::kSize);
    EditMain([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Main parameters");
        EXPECT_EQ(Line(d, "typeOfProjectLineEdit")->text(), "Soccer game");
        EXPECT_EQ(Line(d, "projectNameLineEdit")->text(), "Derby");
        const std::pair<const char*, const char*> numbers[] = {
            {"gameWidthLineEdit", "512"},      {"gameHeightLineEdit", "512"},
            {"enteringSpeedLineEdit", "30"},   {"playTimeLineEdit", "300"},
            {"celebrationTimeLineEdit", "5"},  {"whistleToActionLineEdit", "2"},
            {"gameKindLineEdit", "0"},         {"playerRunningFramesLineEdit", "0"},
            {"arrowsFramesLineEdit", "0"}};
        for (const auto& [name, value] : numbers) EXPECT_EQ(Line(d, name)->text(), value) << name;
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isVisibleTo(d));
        EXPECT_EQ(Child<QRadioButton>(d, "specificPathRadioButton")->text(),
                  "Resources are in a specific path");
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        for (const char* hidden : {"embeddedRadioButton", "gamePeriodLineEdit", "gamePeriodLabel"})
            EXPECT_FALSE(Child<QWidget>(d, hidden)->isVisibleTo(d)) << hidden;
        EXPECT_TRUE(Rows(d).isEmpty());
        EXPECT_EQ(Combo(d, "opponentComboBox")->currentIndex(), -1);
        for (const char* group :
             {"projectGroupBox", "gameAreaGroupBox", "compilingGroupBox", "playInfoGroupBox",
              "othersGroupBox", "opponentsGroupBox", "newOpponentGroupBox",
              "playerRunningGroupBox", "playerCelebrationGroupBox", "opponentRunningGroupBox",
              "opponentCelebrationGroupBox", "goalkeeperRunningGroupBox",
              "goalkeeperCelebrationGroupBox", "markerGroupBox", "arrowsGroupBox",
              "ballSpriteGroupBox", "ballShadowSpriteGroupBox"})
            EXPECT_TRUE(Child<QWidget>(d, group)->isVisibleTo(d)) << group;
        // Every label names the control it stands for.
        for (QLabel* label : d->findChildren<QLabel*>()) {
            if (label->objectName().endsWith("Label")) {
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
            }
        }
        Cancel(d);
    });
}

TEST_F(SoccerTest, OkStoresEveryFieldAtItsOffsetAndPassesTheFramesThrough) {
    const std::int32_t splashA = NewItemOfType(project, 13, "Title");
    const std::int32_t splashB = NewItemOfType(project, 13, "Won");
    const std::int32_t fontA = NewItemOfType(project, 2, "Small");
    const std::int32_t fontB = NewItemOfType(project, 2, "Big");
    const std::int32_t home = NewItemOfType(project, 301, "Home");
    const std::int32_t away = NewItemOfType(project, 301, "Away");
    const std::int32_t field = NewItemOfType(project, 308, "Stadium");
    ASSERT_NE(field, 0);
    // Sprite frames are the sprite editor's: OK passes them through untouched.
    for (std::size_t at = L::kPlayerRunSprites; at < L::kSize - 8; at += 8)
        if (at < L::kBallSprite || at >= L::kDefaultFont + 4) record().setU32(at, 0xA5000000u | static_cast<std::uint32_t>(at));
    // Slots behind the opponent count are kept.
    record().setU32(L::kOpponents + 4 * 19, 77);
    qb::Bytes expected = bytes();

    int refreshedBefore = static_cast<int>(refreshed.size());
    EditMain([&](QDialog* d) {
        Line(d, "projectNameLineEdit")->setText(QString(300, 'n'));
        Line(d, "gameWidthLineEdit")->setText(" +640px");
        Line(d, "gameHeightLineEdit")->setText("-480");
        Click(d, "specificPathRadioButton");
        EXPECT_TRUE(Line(d, "resourcePathLineEdit")->isEnabled());
        Line(d, "resourcePathLineEdit")->setText(QString(300, 'p'));
        Line(d, "descriptionWhileLoadingLineEdit")->setText("Kick-off soon");
        Line(d, "enteringSpeedLineEdit")->setText("12");
        // At most 29 characters are read: the thirtieth digit is not.
        Line(d, "playTimeLineEdit")->setText(QString(28, '0') + "78");
        Line(d, "celebrationTimeLineEdit")->setText("abc");
        Line(d, "whistleToActionLineEdit")->setText("4");
        Line(d, "gameKindLineEdit")->setText("1");
        Line(d, "gamePeriodLineEdit")->setText("99");
        Combo(d, "splashTitleComboBox")->setCurrentIndex(0);
        Combo(d, "splashWinComboBox")->setCurrentIndex(1);
        Combo(d, "splashLoseComboBox")->setCurrentIndex(0);
        Combo(d, "defaultFontComboBox")->setCurrentIndex(1);
        Combo(d, "playerScoreFontComboBox")->setCurrentIndex(0);
        Combo(d, "opponentScoreFontComboBox")->setCurrentIndex(1);
        Combo(d, "playerTeamComboBox")->setCurrentIndex(0);
        EXPECT_EQ(Combo(d, "playingFieldComboBox")->itemText(0), "Stadium");
        Combo(d, "playingFieldComboBox")->setCurrentIndex(0);
        Combo(d, "opponentComboBox")->setCurrentIndex(1);
        Click(d, "addOpponentButton");
        Combo(d, "opponentComboBox")->setCurrentIndex(0);
        Click(d, "addOpponentButton");
        Line(d, "playerRunningFramesLineEdit")->setText("3");
        Line(d, "playerCelebrationFramesLineEdit")->setText("4");
        Line(d, "opponentRunningFramesLineEdit")->setText("5");
        Line(d, "opponentCelebrationFramesLineEdit")->setText("6");
        Line(d, "goalkeeperRunningFramesLineEdit")->setText("7");
        Line(d, "goalkeeperCelebrationFramesLineEdit")->setText("8");
        Line(d, "markerFramesLineEdit")->setText("9");
        Line(d, "arrowsFramesLineEdit")->setText("10");
        Ok(d);
    });
    qb::RecordView e(expected);
    e.setU32(L::kResourceLocation, 1);
    e.setText(L::kResourcePath, 260, std::string(259, 'p'));
    e.setText(L::kLoadingDescription, 260, "Kick-off soon");
    e.setI32(L::kGameWidth, 640);
    e.setI32(L::kGameHeight, -480);
    e.setU32(L::kSplashStart, static_cast<std::uint32_t>(splashA));
    e.setI32(L::kEnteringSpeed, 12);
    e.setI32(L::kPlayTime, 7);
    e.setI32(L::kCelebrationTime, 0);
    e.setI32(L::kWhistleToAction, 4);
    e.setI32(L::kGameKind, 1);
    e.setU32(L::kPlayerTeam, static_cast<std::uint32_t>(home));
    e.setI32(L::kOpponentCount, 2);
    e.setU32(L::kOpponents, static_cast<std::uint32_t>(away));
    e.setU32(L::kOpponents + 4, static_cast<std::uint32_t>(home));
    e.setU32(L::kPlayingField, static_cast<std::uint32_t>(field));
    e.setU32(L::kSplashWin, static_cast<std::uint32_t>(splashB));
    e.setU32(L::kSplashLose, static_cast<std::uint32_t>(splashA));
    e.setU32(L::kDefaultFont, static_cast<std::uint32_t>(fontB));
    e.setU32(L::kPlayerScoreFont, static_cast<std::uint32_t>(fontA));
    e.setU32(L::kOpponentScoreFont, static_cast<std::uint32_t>(fontB));
    const std::pair<std::size_t, std::int32_t> counts[] = {
        {L::kPlayerRunFrames, 3},        {L::kPlayerCelebrationFrames, 4},
        {L::kOpponentRunFrames, 5},      {L::kOpponentCelebrationFrames, 6},
        {L::kGoalkeeperRunFrames, 7},    {L::kGoalkeeperCelebrationFrames, 8},
        {L::kMarkerFrames, 9},           {L::kArrowFrames, 10}};
    for (const auto& [offset, value] : counts) e.setI32(offset, value);
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(qb::ProjectAt(project)->sNomeProgetto, std::string(254, 'n'));
    EXPECT_EQ(SavedRecord(project, main), expected);
    EXPECT_EQ(static_cast<int>(refreshed.size()), refreshedBefore);  // the tree is left alone

    // Reopening shows what was stored; the project name was saved too.
    EditMain([&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "specificPathRadioButton")->isChecked());
        EXPECT_EQ(Line(d, "gameHeightLineEdit")->text(), "-480");
        EXPECT_EQ(Combo(d, "defaultFontComboBox")->currentText(), "Big");
        EXPECT_EQ(Combo(d, "playingFieldComboBox")->currentText(), "Stadium");
        EXPECT_EQ(Rows(d), (QStringList{"Away", "Home"}));
        Click(d, "samePathRadioButton");
        EXPECT_FALSE(Line(d, "resourcePathLineEdit")->isEnabled());
        Ok(d);
    });
    EXPECT_EQ(record().u32(L::kResourceLocation), 0u);
    EXPECT_EQ(SavedProject(project).sNomeProgetto, std::string(254, 'n'));
}

TEST_F(SoccerTest, OpponentsListAddsUpToTwentyReordersAndOnlyOkStoresIt) {
    const std::int32_t a = NewItemOfType(project, 301, "Lions");
    const std::int32_t b = NewItemOfType(project, 301, "Tigers");
    const std::int32_t c = NewItemOfType(project, 301, "Bears");
    ASSERT_NE(c, 0);
    EditMain([&](QDialog* d) {
        Click(d, "addOpponentButton");  // nothing chosen: nothing added
        EXPECT_TRUE(Rows(d).isEmpty());
        for (int i = 0; i < 21; ++i) {
            Combo(d, "opponentComboBox")->setCurrentIndex(i % 3);
            Click(d, "addOpponentButton");
        }
        EXPECT_EQ(Rows(d).size(), 20);
        ASSERT_EQ(app.messages.texts.size(), 1u);
        EXPECT_EQ(app.messages.texts[0], "Maximum number of teams (20) is reached!");
        EXPECT_EQ(app.messages.captions[0], "Quillbox");
        // The 21st keeps its choice; an added one clears it.
        EXPECT_EQ(Combo(d, "opponentComboBox")->currentIndex(), 2);
        Ok(d);
    });
    ASSERT_EQ(record().i32(L::kOpponentCount), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(record().u32(L::kOpponents + 4 * static_cast<std::size_t>(i)),
                  static_cast<std::uint32_t>(std::array{a, b, c}[static_cast<std::size_t>(i % 3)]));

    // Reordering and deleting, then Cancel: nothing changes.
    const qb::Bytes before = bytes();
    EditMain([&](QDialog* d) {
        auto* list = Child<QListWidget>(d, "opponentsListWidget");
        list->setCurrentRow(0);
        Click(d, "opponentDownButton");
        EXPECT_EQ(list->currentRow(), 1);
        Click(d, "deleteOpponentButton");
        EXPECT_EQ(Rows(d).size(), 19);
        Cancel(d);
    });
    EXPECT_EQ(bytes(), before);

    // Reordering at the ends does nothing; the moved row stays selected; Delete frees a slot.
    EditMain([&](QDialog* d) {
        auto* list = Child<QListWidget>(d, "opponentsListWidget");
        Click(d, "opponentUpButton");  // no selection
        list->setCurrentRow(0);
        Click(d, "opponentUpButton");
        EXPECT_EQ(list->currentRow(), 0);
        list->setCurrentRow(19);
        Click(d, "opponentDownButton");
        EXPECT_EQ(list->currentRow(), 19);
        list->setCurrentRow(2);  // Bears
        Click(d, "opponentUpButton");
        EXPECT_EQ(list->currentRow(), 1);
        EXPECT_EQ(Rows(d).mid(0, 3), (QStringList{"Lions", "Bears", "Tigers"}));
        list->setCurrentRow(0);
        Click(d, "deleteOpponentButton");
        Ok(d);
    });
    EXPECT_EQ(record().i32(L::kOpponentCount), 19);
    EXPECT_EQ(record().u32(L::kOpponents), static_cast<std::uint32_t>(c));
    EXPECT_EQ(record().u32(L::kOpponents + 4), static_cast<std::uint32_t>(b));
    EXPECT_EQ(record().u32(L::kOpponents + 4 * 19), 0u);  // the freed slot
    EXPECT_EQ(SavedRecord(project, main), bytes());
}

TEST_F(SoccerTest, DamagedOpponentCountsAndDeletedTeamsNeverReachPastTheList) {
    const std::int32_t a = NewItemOfType(project, 301, "Lions");
    const std::int32_t gone = NewItemOfType(project, 301, "Gone");
    record().setI32(L::kOpponentCount, 2);
    record().setU32(L::kOpponents, static_cast<std::uint32_t>(gone));
    record().setU32(L::kOpponents + 4, static_cast<std::uint32_t>(a));
    qb::DeleteObject(project, gone);
    EditMain([&](QDialog* d) {
        EXPECT_EQ(Rows(d), (QStringList{QString("(no team with ID %1)").arg(gone), "Lions"}));
        Cancel(d);
    });

    // A count past the slots lists all 20 and OK writes 20; the playing field ID behind the
    // slots is never read as an opponent nor written over.
    record().setI32(L::kOpponentCount, 1000000);
    record().setU32(L::kPlayingField, 4242);
    EditMain([&](QDialog* d) {
        EXPECT_EQ(Rows(d).size(), 20);
        Ok(d);
    });
    EXPECT_EQ(record().i32(L::kOpponentCount), 20);
    EXPECT_EQ(record().u32(L::kPlayingField), 0u);  // no such field: the combo shows none

    record().setI32(L::kOpponentCount, -5);
    EditMain([&](QDialog* d) {
        EXPECT_TRUE(Rows(d).isEmpty());
        Ok(d);
    });
    EXPECT_EQ(record().i32(L::kOpponentCount), 0);

    // A record cut short loads and stores without growing or writing past its end.
    bytes().resize(600);
    EditMain([&](QDialog* d) {
        Combo(d, "opponentComboBox")->setCurrentIndex(0);
        Click(d, "addOpponentButton");
        Line(d, "arrowsFramesLineEdit")->setText("3");
        Click(d, "arrowsEditButton");  // no frames there: no editor opens
        Ok(d);
    });
    EXPECT_EQ(bytes().size(), 600u);
    EXPECT_EQ(record().i32(L::kOpponentCount), 1);
    EXPECT_EQ(record().u32(L::kOpponents), static_cast<std::uint32_t>(a));
}

TEST_F(SoccerTest, EachAnimationOpensTheSpriteEditorOnItsOwnRun) {
    const std::int32_t sheet = NewItemOfType(project, 3, "Players");
    ASSERT_NE(sheet, 0);
    struct Case {
        const char* prefix;
        std::size_t count;
        std::size_t first;
        bool running;
    };
    const Case cases[] = {
        {"playerRunning", L::kPlayerRunFrames, L::kPlayerRunSprites, true},
        {"playerCelebration", L::kPlayerCelebrationFrames, L::kPlayerCelebrationSprites, false},
        {"opponentRunning", L::kOpponentRunFrames, L::kOpponentRunSprites, true},
        {"opponentCelebration", L::kOpponentCelebrationFrames, L::kOpponentCelebrationSprites, false},
        {"goalkeeperRunning", L::kGoalkeeperRunFrames, L::kGoalkeeperRunSprites, true},
        {"goalkeeperCelebration", L::kGoalkeeperCelebrationFrames, L::kGoalkeeperCelebrationSprites, false},
        {"marker", L::kMarkerFrames, L::kMarkerSprites, false},
        {"arrows", L::kArrowFrames, L::kArrowSprites, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        const int frames = c.running ? 24 : 2;
        const qb::Bytes before = bytes();
        EditMain([&](QDialog* d) {
            Line(d, QString(c.prefix) + "FramesLineEdit")->setText(c.running ? "3" : "2");
            WithModalDialog([&] { Click(d, QString(c.prefix) + "EditButton"); },
                            [&](QDialog* sprites) {
                                EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                          QString("Sprite 1 of %1").arg(frames));
                                // The count was stored and saved before the editor opened.
                                EXPECT_EQ(record().i32(c.count), c.running ? 3 : 2);
                                EXPECT_EQ(SavedRecord(project, main), bytes());
                                if (c.running) {
                                    EXPECT_EQ(ShownDirections(sprites), "0");
                                    for (int f = 0; f < 3; ++f) Click(sprites, "nextFrameButton");
                                    EXPECT_EQ(ShownDirections(sprites), "1");  // frames 3..5: down-right
                                } else {
                                    Click(sprites, "nextFrameButton");
                                }
                                PickColumn(sprites, 4);
                                Click(sprites, "okAndSaveButton");
                            });
            Cancel(d);  // the picked frame and the count stay
        });
        qb::Bytes expected = before;
        qb::RecordView e(expected);
        e.setI32(c.count, c.running ? 3 : 2);
        const std::size_t at = qb::layout::sprite_frame::At(c.first, c.running ? 3 : 1);
        e.setU32(at, static_cast<std::uint32_t>(sheet));
        e.setU8(at + 5, 4);
        e.setU8(at + 7, 4);
        EXPECT_EQ(bytes(), expected);
        EXPECT_EQ(SavedRecord(project, main), expected);
    }

    // The ball and its shadow are one frame each.
    for (const auto& [button, offset] : {std::pair{"ballSpriteEditButton", L::kBallSprite},
                                         std::pair{"ballShadowSpriteEditButton", L::kBallShadowSprite}}) {
        EditMain([&](QDialog* d) {
            WithModalDialog([&] { Click(d, button); }, [&](QDialog* sprites) {
                EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 1");
                PickColumn(sprites, 2);
                Click(sprites, "okAndSaveButton");
            });
            Cancel(d);
        });
        EXPECT_EQ(record().u32(offset), static_cast<std::uint32_t>(sheet)) << button;
        EXPECT_EQ(record().u8(offset + 7), 2) << button;
    }
}

TEST_F(SoccerTest, FrameCountsAreCutToTheirRuns) {
    NewItemOfType(project, 3, "Players");
    // Above 50 per direction: the editor gets the 400 frames of the run, no more.
    EditMain([&](QDialog* d) {
        Line(d, "goalkeeperRunningFramesLineEdit")->setText("70");
        WithModalDialog([&] { Click(d, "goalkeeperRunningEditButton"); }, [&](QDialog* sprites) {
            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 400");
            Click(sprites, "cancelButton");
        });
        EXPECT_EQ(Line(d, "goalkeeperRunningFramesLineEdit")->text(), "50");
        // Negative: stored as 0 and no editor opens.
        Line(d, "arrowsFramesLineEdit")->setText("-4");
        Click(d, "arrowsEditButton");
        EXPECT_EQ(Line(d, "arrowsFramesLineEdit")->text(), "0");
        Line(d, "markerFramesLineEdit")->setText("51");
        Ok(d);
    });
    EXPECT_EQ(record().i32(L::kGoalkeeperRunFrames), 50);
    EXPECT_EQ(record().i32(L::kArrowFrames), 0);
    EXPECT_EQ(record().i32(L::kMarkerFrames), 50);  // OK cuts it the same way

    // A stored count out of range is shown as stored, and stored cut.
    record().setI32(L::kArrowFrames, 9999);
    EditMain([&](QDialog* d) {
        EXPECT_EQ(Line(d, "arrowsFramesLineEdit")->text(), "9999");
        Ok(d);
    });
    EXPECT_EQ(record().i32(L::kArrowFrames), 50);
}

TEST_F(SoccerTest, CancelStoresNothingTyped) {
    NewItemOfType(project, 301, "Lions");
    const qb::Bytes before = bytes();
    const std::string ini = ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini");
    EditMain([&](QDialog* d) {
        Line(d, "projectNameLineEdit")->setText("Other");
        Line(d, "playTimeLineEdit")->setText("1");
        Click(d, "specificPathRadioButton");
        Combo(d, "opponentComboBox")->setCurrentIndex(0);
        Click(d, "addOpponentButton");
        Combo(d, "playerTeamComboBox")->setCurrentIndex(0);
        Click(d, "openProjectFolderPushButton");
        Cancel(d);
    });
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(qb::ProjectAt(project)->sNomeProgetto, "Derby");
    EXPECT_EQ(ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini"), ini);
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(fs::path(app.desktop.opened[0]), fs::path(qb::ProjectAt(project)->sPathProgetto));
}

// "Team data".
class TeamTest : public SoccerTest {
protected:
    std::int32_t team = NewItemOfType(project, 301);
    qb::RecordView teamRecord() { return Object(project, team).record(); }
    QLineEdit* Player(QDialog* d, int p, const char* field) {
        return Line(d, QString("player%1%2LineEdit").arg(p).arg(field));
    }
};

TEST_F(TeamTest, ANewTeamOpensWithItsDefaults) {
    ASSERT_NE(team, 0);
    EXPECT_EQ(Object(project, team).sDescrizione, "Team data");
    EXPECT_EQ(Object(project, team).lpDatiOggetto.size(), T::kSize);
    Edit(project, team, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Team data");
        EXPECT_EQ(Line(d, "itemNameLineEdit")->text(), "Team data");
        const std::pair<const char*, const char*> numbers[] = {
            {"shirtColourLineEdit", "0"},      {"playersSpeedLineEdit", "30"},
            {"userPlayerSpeedLineEdit", "30"}, {"goalkeeperSpeedLineEdit", "30"},
            {"passDistanceLineEdit", "40"},    {"kickDistanceLineEdit", "100"},
            {"dribbleDistanceLineEdit", "80"}, {"goalKickDistanceLineEdit", "120"},
            {"kickPowerLineEdit", "50"},       {"handPassPowerLineEdit", "0"},
            {"playerCountLineEdit", "11"}};
        for (const auto& [name, value] : numbers) EXPECT_EQ(Line(d, name)->text(), value) << name;
        EXPECT_EQ(Line(d, "descriptionLineEdit")->text(), "");
        for (int p = 1; p <= 11; ++p)
            for (const char* field : {"Role", "X", "Y"}) EXPECT_EQ(Player(d, p, field)->text(), "0");
        for (QLabel* label : d->findChildren<QLabel*>())
            EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
        Cancel(d);
    });
}

TEST_F(TeamTest, OkStoresTheTeamAndOnlyThePlayersTheCountCovers) {
    Edit(project, team, [&](QDialog* d) {
        Line(d, "itemNameLineEdit")->setText("Rovers");
        const std::pair<const char*, const char*> typed[] = {
            {"shirtColourLineEdit", "16711680"}, {"playersSpeedLineEdit", "31"},
            {"userPlayerSpeedLineEdit", "32"},   {"goalkeeperSpeedLineEdit", "33"},
            {"passDistanceLineEdit", "41"},      {"kickDistanceLineEdit", "101"},
            {"dribbleDistanceLineEdit", "81"},   {"goalKickDistanceLineEdit", "121"},
            {"kickPowerLineEdit", "-51"},        {"handPassPowerLineEdit", "7"},
            {"playerCountLineEdit", "7"}};
        for (const auto& [name, text] : typed) Line(d, name)->setText(text);
        Line(d, "descriptionLineEdit")->setText(QString(300, 'd'));
        for (int p = 1; p <= 11; ++p) {
            Player(d, p, "Role")->setText(QString::number(p));
            Player(d, p, "X")->setText(QString::number(10 * p));
            Player(d, p, "Y")->setText(QString::number(-p));
        }
        Ok(d);
    });
    qb::Bytes expected(T::kSize, 0);
    qb::RecordView e(expected);
    const std::pair<std::size_t, std::int32_t> values[] = {
        {T::kShirtColour, 16711680}, {T::kPlayersSpeed, 31},     {T::kUserPlayerSpeed, 32},
        {T::kGoalkeeperSpeed, 33},   {T::kPassDistance, 41},     {T::kKickDistance, 101},
        {T::kDribbleDistance, 81},   {T::kGoalKickDistance, 121}, {T::kKickPower, -51},
        {T::kPlayerCount, 7},        {T::kHandPassPower, 7}};
    for (const auto& [offset, value] : values) e.setI32(offset, value);
    for (std::size_t p = 0; p < 7; ++p) {
        const std::size_t at = T::kPlayers + p * T::kPlayerSize;
        e.setI32(at + T::player::kRole, static_cast<std::int32_t>(p + 1));
        e.setI32(at + T::player::kX, static_cast<std::int32_t>(10 * (p + 1)));
        e.setI32(at + T::player::kY, -static_cast<std::int32_t>(p + 1));
    }
    e.setText(T::kDescription, T::kDescriptionSize, std::string(259, 'd'));
    EXPECT_EQ(Object(project, team).lpDatiOggetto, expected);
    EXPECT_EQ(Object(project, team).sDescrizione, "Rovers");
    EXPECT_EQ(SavedRecord(project, team), expected);
    ASSERT_FALSE(refreshed.empty());
    EXPECT_EQ(refreshed.back(), std::make_pair(team, project));

    // Reopened: players past the count show 0.
    Edit(project, team, [&](QDialog* d) {
        EXPECT_EQ(Player(d, 7, "X")->text(), "70");
        EXPECT_EQ(Player(d, 8, "X")->text(), "0");
        Cancel(d);
    });
}

TEST_F(TeamTest, CountsOutsideTheElevenPlayers) {
    for (std::size_t p = 0; p < 11; ++p)
        teamRecord().setI32(T::kPlayers + p * T::kPlayerSize + T::player::kY, static_cast<std::int32_t>(p + 100));
    // Above 11: all eleven shown, and stored as 11 so the description is never read as players.
    teamRecord().setI32(T::kPlayerCount, 40);
    Edit(project, team, [&](QDialog* d) {
        EXPECT_EQ(Line(d, "playerCountLineEdit")->text(), "40");
        EXPECT_EQ(Player(d, 11, "Y")->text(), "110");
        Ok(d);
    });
    EXPECT_EQ(teamRecord().i32(T::kPlayerCount), 11);
    EXPECT_EQ(teamRecord().i32(T::kPlayers + 10 * T::kPlayerSize + T::player::kY), 110);

    // 0 or less: none shown, all stored as zeros.
    teamRecord().setI32(T::kPlayerCount, -3);
    Edit(project, team, [&](QDialog* d) {
        EXPECT_EQ(Player(d, 1, "Y")->text(), "0");
        Player(d, 1, "Y")->setText("5");
        Ok(d);
    });
    EXPECT_EQ(teamRecord().i32(T::kPlayerCount), 0);
    for (std::size_t at = T::kPlayers; at < T::kDescription; at += 4) EXPECT_EQ(teamRecord().u32(at), 0u) << at;

    // Cancel keeps everything; a short record stays short.
    const qb::Bytes before = Object(project, team).lpDatiOggetto;
    Edit(project, team, [&](QDialog* d) {
        Line(d, "kickPowerLineEdit")->setText("1");
        Cancel(d);
    });
    EXPECT_EQ(Object(project, team).lpDatiOggetto, before);
    Object(project, team).lpDatiOggetto.resize(50);
    Edit(project, team, [&](QDialog* d) {
        Line(d, "playerCountLineEdit")->setText("11");
        Player(d, 1, "Role")->setText("3");
        Ok(d);
    });
    EXPECT_EQ(Object(project, team).lpDatiOggetto.size(), 50u);
    EXPECT_EQ(teamRecord().i32(T::kPlayers), 3);
}

} // namespace
