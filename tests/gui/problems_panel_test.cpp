// The "Problems" panel of the main window: hidden while the selected project has nothing to
// show, listed again after each command and editor save, and a double-click that selects the
// item and opens its editor.
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "app/problems_panel.h"
#include "model/layouts/shootemup_main.h"
#include "support/shell_support.h"

using namespace qbtest;
using qb::app::Command;
namespace L = qb::layout;

namespace {

class ProblemsPanelTest : public ShellTest {
protected:
    qb::app::ProblemsPanel* panel() const { return window->problemsPanel(); }
    std::size_t problemsOf(std::int32_t id) const {
        std::size_t n = 0;
        for (const qb::Problem& problem : panel()->problems()) n += problem.objectId == id;
        return n;
    }
    void expectTitleAndList() {
        const int n = static_cast<int>(panel()->problems().size());
        EXPECT_EQ(panel()->title()->text(), QString("Problems (%1)").arg(n));
        EXPECT_EQ(panel()->list()->count(), n);
    }
};

TEST_F(ProblemsPanelTest, FollowsEditsAndOpensTheItemOfALine) {
    EXPECT_FALSE(panel()->isVisible());  // the root is selected
    const int p = NewProject("Shooter", qb::game::ShootEmUp);
    const std::int32_t mainId = MainParametersId(p);
    refresh(-1, p);
    ASSERT_TRUE(panel()->isVisible());
    const std::size_t fresh = panel()->problems().size();
    EXPECT_EQ(problemsOf(mainId), fresh);  // a new project lacks its ship, levels, splashes
    expectTitleAndList();
    // The panel lies under the tree, which is shortened to make room for it.
    Settle();
    EXPECT_LE(InWindow(tree()).bottom(), InWindow(panel()).top());
    EXPECT_EQ(InWindow(panel()).bottom(), InWindow(window->statusBar()).top() - 1);
    EXPECT_EQ(InWindow(panel()).left(), 0);

    // New item adds the new enemy's problems, each with its plain sentence; the build's one
    // message is the last error listed.
    select(GroupId(p, 7), p);
    click(Command::NewItem);
    const std::int32_t enemy = current()->objectId;
    EXPECT_GT(problemsOf(enemy), 1u);
    EXPECT_EQ(panel()->problems().size(), fresh + problemsOf(enemy));
    expectTitleAndList();
    EXPECT_EQ(panel()->list()->item(panel()->list()->count() - 1)->text().toStdString(),
              "#error 'no sprite': Sprites informations\n"
              "Choose a sprite sheet for the frames of 'Sprites informations'.");
    EXPECT_EQ(qb::ValidateProject(p).error, "#error 'no sprite': Sprites informations");

    // Activating a line of the Main parameters: they are selected and their editor opens.
    int line = -1;
    for (int i = 0; i < panel()->list()->count() && line < 0; ++i)
        if (panel()->problems()[static_cast<std::size_t>(i)].objectId == mainId) line = i;
    ASSERT_GE(line, 0);
    QListWidgetItem* item = panel()->list()->item(line);
    bool opened = false;
    WithModalDialog(
        [&] {
            // Enter on a line activates it as a double-click does.
            QListWidget* list = panel()->list();
            list->setFocus();
            list->setCurrentItem(item);
            QTest::keyClick(list, Qt::Key_Return);
        },
        [&](QDialog* dialog) {
            opened = true;
            EXPECT_EQ(current()->objectId, mainId);
            Cancel(dialog);
        });
    EXPECT_TRUE(opened);
    EXPECT_EQ(current()->objectId, mainId);
    select(enemy, p);

    // Delete item takes the enemy's problems away.
    app.messages.answers = {true};
    click(Command::DeleteItem);
    EXPECT_EQ(panel()->problems().size(), fresh);
    expectTitleAndList();

    // An editor that mends the Main parameters and saves: the panel is emptied and hidden,
    // and the tree reaches the bottom again.
    namespace M = L::shootemup_main;
    // The items first: New item may move the records.
    const std::int32_t ship = NewItemOfType(p, 9), fire = NewItemOfType(p, 10);
    const std::int32_t splash = NewItemOfType(p, 13);
    qb::RecordView main = Object(p, mainId).record();
    main.setU32(M::kPlayerShip, std::uint32_t(ship));
    main.setU32(M::kPlayerFire, std::uint32_t(fire));
    main.setI32(M::kLevelCount, 1);
    main.setU32(M::kSplashStart, std::uint32_t(splash));
    main.setU32(M::kSplashEnd, std::uint32_t(splash));
    main.setU32(M::kUseCustomFont, 1);
    main.setI32(M::kGameAreaWidth, 640);
    main.setI32(M::kGameAreaHeight, 480);
    qb::SaveProject(p);
    qb::ui::RebuildAndRefreshTree(mainId, p);
    // What is left are the new ship's and fire's own problems.
    EXPECT_EQ(problemsOf(mainId), 0u);
    EXPECT_EQ(panel()->problems().size(),
              problemsOf(ObjectOfType(p, 9)) + problemsOf(ObjectOfType(p, 10)));
    expectTitleAndList();

    // A project without problems hides the panel; the tree reaches the bottom again.
    const int jigsaw = NewProject("Puzzle", qb::game::Jigsaw);
    refresh(-1, jigsaw);
    EXPECT_FALSE(panel()->isVisible());
    Settle();
    EXPECT_EQ(InWindow(tree()).bottom(), InWindow(window->statusBar()).top() - 1);
    // Selecting the other project shows its problems again; the root hides them.
    select(-1, p);
    EXPECT_TRUE(panel()->isVisible());
    selectRoot();
    EXPECT_FALSE(panel()->isVisible());
}

} // namespace
