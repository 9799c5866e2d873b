// "Where is this used?" from the tree, the list offered when Delete item is refused, and the
// warnings about what records name, files and positions, appearing and going in the Problems
// panel as the project is edited.
#include <QAction>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/problems_panel.h"
#include "app/uses_dialog.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/level.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/sound_pair.h"
#include "model/references.h"
#include "support/shell_support.h"

using namespace qbtest;
using qb::app::Command;
namespace L = qb::layout;

namespace {

class UsesTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        p = NewProject("Shooter", qb::game::ShootEmUp);
        mainId = MainParametersId(p);
        sheet = NewItemOfType(p, 3, "Sheet");
        enemy = NewItemOfType(p, 7, "Saucer");
        boom = NewItemOfType(p, 12, "Boom");
        Object(p, enemy).record().setU32(L::enemy::kSprites, std::uint32_t(sheet));
        Object(p, boom).record().setU32(L::explosion::kSprites, std::uint32_t(sheet));
        // Named without being kept: the game-over sprite.
        Object(p, mainId).record().setU32(L::shootemup_main::kGameOverSprite, std::uint32_t(sheet));
        qb::SaveProject(p);
        refresh(sheet, p);
    }
    QAction* whereUsed() const { return window->findChild<QAction*>("whereUsedAction"); }
    static std::vector<std::string> Rows(QTreeWidget* list) {
        std::vector<std::string> rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.push_back(list->topLevelItem(i)->text(0).toStdString() + " | " +
                           list->topLevelItem(i)->text(1).toStdString());
        return rows;
    }
    std::size_t warnings(qb::Warning kind, std::int32_t id) const {
        std::size_t n = 0;
        for (const qb::Problem& problem : window->problemsPanel()->problems())
            n += problem.warning && problem.warningKind == kind && problem.objectId == id;
        return n;
    }
    // Saves and lists the problems again, as after an editor's OK.
    void saved() {
        qb::SaveProject(p);
        window->problemsPanel()->refresh();
    }

    int p = -1;
    std::int32_t mainId = 0, sheet = 0, enemy = 0, boom = 0;
};

// Runs open, answers the first modal dialog with act and, once it has closed, expects the
// editor of the item chosen in it and cancels that.
void ThenEditorOf(const std::function<void()>& open, const std::function<void(QDialog*)>& act,
                  const std::function<void(QDialog*)>& editor) {
    bool edited = false;
    QElapsedTimer clock;
    std::function<void()> poll = [&] {
        auto* next = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (next && next->objectName() != "usesDialog") {
            edited = true;
            editor(next);
            return;
        }
        if (clock.elapsed() < 5000) QTimer::singleShot(10, poll);
    };
    WithModalDialog(open, [&](QDialog* dialog) {
        clock.start();
        QTimer::singleShot(0, poll);
        act(dialog);
    });
    EXPECT_TRUE(edited) << "no editor opened";
}

TEST_F(UsesTest, ListsTheItemsUsingASpriteSheetAndOpensOne) {
    QAction* action = whereUsed();
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "Where is this used?");
    EXPECT_EQ(action->shortcut(), QKeySequence("Shift+F12"));
    // An entry of the tree's context menu, enabled on items only.
    EXPECT_TRUE(tree()->tree()->actions().contains(action));
    EXPECT_TRUE(action->isEnabled());
    select(GroupId(p, 3), p);
    EXPECT_FALSE(action->isEnabled());
    select(sheet, p);
    ASSERT_TRUE(action->isEnabled());

    ThenEditorOf(
        [&] { action->trigger(); },
        [&](QDialog* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "Where is this used?");
            auto* list = dialog->findChild<QTreeWidget*>("usesList");
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(dialog->findChild<QLabel*>("usesHeading")->text(), "Items that use 'Sheet':");
            // Project order: description and type of each.
            EXPECT_EQ(Rows(list), (std::vector<std::string>{"Main parameters | Main parameters",
                                                             "Saucer | Enemies data",
                                                             "Boom | Explosion animations"}));
            EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
            // Enter on the enemy's line opens its editor.
            list->setCurrentItem(list->topLevelItem(1));
            QTest::keyClick(list, Qt::Key_Return);
        },
        [&](QDialog* editor) {
            EXPECT_EQ(current()->objectId, enemy);
            EXPECT_EQ(editor->windowTitle(), "Enemies data");
            Cancel(editor);
        });
    EXPECT_EQ(current()->objectId, enemy);

    // The enemy is used by nothing: the list is empty, Open disabled, Close closes.
    WithModalDialog([&] { action->trigger(); }, [&](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QTreeWidget*>("usesList")->topLevelItemCount(), 0);
        EXPECT_EQ(dialog->findChild<QLabel*>("usesHeading")->text(), "No item uses 'Saucer'.");
        EXPECT_FALSE(dialog->findChild<QPushButton*>("openButton")->isEnabled());
        dialog->findChild<QPushButton*>("closeButton")->click();
    });
    EXPECT_EQ(current()->objectId, enemy);
}

TEST_F(UsesTest, RefusedDeleteOffersTheItemsKeepingIt) {
    // The sheet is kept: the button stays disabled, and the Delete key offers who keeps it,
    // without the game-over sprite, which only names it.
    EXPECT_FALSE(button(Command::DeleteItem)->isEnabled());
    tree()->tree()->setFocus();
    WithModalDialog([&] { QTest::keyClick(tree()->tree(), Qt::Key_Delete); },
                    [&](QDialog* dialog) {
                        EXPECT_EQ(dialog->findChild<QLabel*>("usesHeading")->text(),
                                  "'Sheet' cannot be deleted while these items use it:");
                        EXPECT_EQ(Rows(dialog->findChild<QTreeWidget*>("usesList")),
                                  (std::vector<std::string>{"Saucer | Enemies data",
                                                            "Boom | Explosion animations"}));
                        dialog->findChild<QPushButton*>("closeButton")->click();
                    });
    // The command run on it does the same, and deletes nothing.
    WithModalDialog([&] { window->run(Command::DeleteItem); }, [&](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QTreeWidget*>("usesList")->topLevelItemCount(), 2);
        dialog->reject();
    });
    EXPECT_NE(qb::FindObject(sheet, p), nullptr);
    EXPECT_TRUE(app.messages.texts.empty());

    // Once the enemy and the explosion let it go, it is deleted after the usual question; the
    // game-over sprite then names an item that is gone, which the Problems panel says.
    Object(p, enemy).record().setI32(L::enemy::kSpriteCount, 0);
    Object(p, boom).record().setU32(L::explosion::kSprites, 0);
    qb::SaveProject(p);
    refresh(sheet, p);
    EXPECT_EQ(warnings(qb::Warning::MissingItem, mainId), 0u);
    ASSERT_TRUE(button(Command::DeleteItem)->isEnabled());
    app.messages.answers = {true};
    click(Command::DeleteItem);
    EXPECT_EQ(qb::FindObject(sheet, p), nullptr);
    ASSERT_EQ(warnings(qb::Warning::MissingItem, mainId), 1u);
    for (const qb::Problem& problem : window->problemsPanel()->problems())
        if (problem.warningKind == qb::Warning::MissingItem && problem.warning) {
            EXPECT_EQ(problem.message, "the game-over sprite of 'Main parameters' names item " +
                                           std::to_string(sheet) + ", which does not exist");
            EXPECT_EQ(problem.advice, "Choose another item for the game-over sprite of "
                                      "'Main parameters', or clear it.");
        }
}

// Each kind of warning appears after the edit that causes it and goes after the one that
// mends it.
TEST_F(UsesTest, WarningsComeAndGoWithTheEdits) {
    namespace M = L::shootemup_main;
    const std::int32_t sound = NewItemOfType(p, 5, "Zap");
    const std::int32_t level = NewItemOfType(p, 8, "Level 1");
    saved();
    for (qb::Warning kind : {qb::Warning::MissingItem, qb::Warning::WrongType,
                             qb::Warning::SoundNotChosen, qb::Warning::UndecodableFile,
                             qb::Warning::OutsideArea})
        for (const qb::ObjectRecord& o : qb::ProjectAt(p)->objects)
            EXPECT_EQ(warnings(kind, o.IDoggetto), 0u) << int(kind) << " " << o.sDescrizione;

    // A level whose background map names a sound; an enemy's shield sound switched on without a
    // sound; a sheet that is no PNG; a sound that is no MP3; the score outside the game area.
    Object(p, level).record().setU32(L::level::kBackgroundMap, std::uint32_t(sound));
    Object(p, enemy).record().setU32(L::enemy::kShieldSound + L::sound_pair::kEnabled, 1);
    const std::string sheetFile = Object(p, sheet).record().text(0, 260);
    const std::string soundFile = Object(p, sound).record().text(0, 260);
    const std::string png = ReadFile(sheetFile);
    WriteFile(sheetFile, "not a picture at all");
    WriteFile(soundFile, std::string(4000, 'x'));
    Object(p, mainId).record().setI32(M::kScoreX, 700);
    saved();
    EXPECT_EQ(warnings(qb::Warning::WrongType, level), 1u);
    EXPECT_EQ(warnings(qb::Warning::SoundNotChosen, enemy), 1u);
    EXPECT_EQ(warnings(qb::Warning::UndecodableFile, sheet), 1u);
    EXPECT_EQ(warnings(qb::Warning::UndecodableFile, sound), 1u);
    EXPECT_EQ(warnings(qb::Warning::OutsideArea, mainId), 1u);
    EXPECT_TRUE(app.messages.texts.empty()) << "decoding told the user";
    // Each with its sentence, shown under its message in the panel.
    const auto& problems = window->problemsPanel()->problems();
    const auto wrong = std::find_if(problems.begin(), problems.end(), [&](const qb::Problem& x) {
        return x.warning && x.warningKind == qb::Warning::WrongType;
    });
    ASSERT_NE(wrong, problems.end());
    EXPECT_EQ(wrong->message,
              "the background map of 'Level 1' names 'Zap' (Audio data), not a Background map item");
    EXPECT_EQ(wrong->advice, "Choose a Background map item for the background map of 'Level 1'.");
    const int line = static_cast<int>(wrong - problems.begin());
    EXPECT_EQ(window->problemsPanel()->list()->item(line)->text().toStdString(),
              "warning: " + wrong->message + "\n" + wrong->advice);

    // Mended one by one.
    Object(p, level).record().setU32(L::level::kBackgroundMap, 0);
    Object(p, enemy).record().setU32(L::enemy::kShieldSound + L::sound_pair::kSoundId,
                                     std::uint32_t(sound));
    saved();
    EXPECT_EQ(warnings(qb::Warning::WrongType, level), 0u);
    EXPECT_EQ(warnings(qb::Warning::SoundNotChosen, enemy), 0u);
    WriteFile(sheetFile, png);
    WriteFile(soundFile, ReadFile(app.path() / "test.mp3"));
    Object(p, mainId).record().setI32(M::kScoreX, 600);
    saved();
    for (std::int32_t id : {sheet, sound}) EXPECT_EQ(warnings(qb::Warning::UndecodableFile, id), 0u);
    EXPECT_EQ(warnings(qb::Warning::OutsideArea, mainId), 0u);
    // The sound deleted: the enemy's shield sound names nothing that exists.
    Object(p, enemy).record().setU32(L::enemy::kShieldSound + L::sound_pair::kEnabled, 0);
    qb::SaveProject(p);
    refresh(sound, p);
    app.messages.answers = {true};
    click(Command::DeleteItem);
    Object(p, enemy).record().setU32(L::enemy::kShieldSound + L::sound_pair::kEnabled, 1);
    saved();
    EXPECT_EQ(warnings(qb::Warning::MissingItem, enemy), 1u);
}

} // namespace
