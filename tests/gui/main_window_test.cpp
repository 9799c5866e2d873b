// The main window driven through its buttons: New project (name check, folder proposal, Cancel),
// New item, Delete item (OK and Cancel), Copy item (an item and a whole project), Close project,
// and the size rules of the window and its panels; its keys and shortcuts with what the status
// bar says; the recent projects of the start page and the projects reopened at start.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTest>

#include "app/app_folder.h"
#include "app/panel_layout.h"
#include "app/recent_projects.h"
#include "app/start_page.h"
#include "toolkit/open_project_dialog.h"
#include "support/shell_support.h"
#include "toolkit/new_project_dialog.h"

namespace fs = std::filesystem;
using namespace qbtest;
using qb::app::Command;
using qb::app::NodeKind;

namespace {

constexpr const char* kDeleteQuestion = "Are You sure you want to permanently delete this item?";

class MainWindowTest : public ShellTest {
protected:
    // New project through its dialog: types the name, picks the game type, presses OK.
    void newProject(const QString& name, std::uint32_t gameType) {
        clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
            auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
            ASSERT_NE(d, nullptr);
            QTest::keyClicks(d->nameEdit(), name);
            d->choice(gameType)->click();
            d->okButton()->click();
        });
    }
    std::string status() const { return window->statusBar()->currentMessage().toStdString(); }
    std::int32_t newItemIn(int project, std::uint32_t subtype) {
        select(GroupId(project, subtype), project);
        click(Command::NewItem);
        return current() ? current()->objectId : 0;
    }
};

TEST_F(MainWindowTest, NewProjectChecksTheNameAndProposesAFreeFolder) {
    EXPECT_EQ(current()->kind, NodeKind::Root);
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "New project");
        // Only the offered game types are visible; Shot'em up is chosen.
        for (const qb::GameTypeInfo& type : qb::GameTypes())
            EXPECT_EQ(d->choice(type.code)->isVisibleTo(d), type.offered) << type.code;
        for (auto offered : {qb::game::ShootEmUp, qb::game::Racing, qb::game::Platform,
                             qb::game::Soccer, qb::game::Curling, qb::game::Jigsaw})
            EXPECT_TRUE(d->choice(offered)->isVisibleTo(d)) << offered;
        EXPECT_FALSE(d->choice(qb::game::Music)->isVisibleTo(d));
        EXPECT_TRUE(d->choice(qb::game::ShootEmUp)->isChecked());
        EXPECT_FALSE(Child<QWidget>(d, "typeOfGameFrame")->isVisibleTo(d));
        EXPECT_FALSE(d->okButton()->isEnabled());

        QTest::keyClicks(d->nameEdit(), "My Game");
        EXPECT_TRUE(d->okButton()->isEnabled());
        EXPECT_EQ(d->folderEdit()->text().toStdString(), (app.projects() / "My_Game").string());
        for (const char* bad : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"}) {
            d->nameEdit()->setText(QString("My") + bad + "Game");
            EXPECT_FALSE(d->okButton()->isEnabled()) << bad;
            EXPECT_TRUE(d->folderEdit()->text().isEmpty()) << bad;
        }
        d->nameEdit()->setText("   ");  // blanks only is a name
        EXPECT_TRUE(d->okButton()->isEnabled());
        EXPECT_EQ(d->folderEdit()->text().toStdString(), (app.projects() / "___").string());
        d->nameEdit()->setText("My Game");
        d->okButton()->click();
    });
    ASSERT_EQ(qb::Workspace().projectCount(), 1);
    const qb::ProjectRecord& project = *qb::ProjectAt(0);
    EXPECT_EQ(project.sNomeProgetto, "My Game");
    EXPECT_EQ(project.tipoGioco, qb::game::ShootEmUp);
    EXPECT_EQ(project.objects.size(), 17u);
    EXPECT_EQ(project.sPathProgetto, (app.projects() / "My_Game").string());
    EXPECT_NE(ReadFile(app.projects() / "My_Game" / "project.ini").find("sNomeProgetto=My Game"),
              std::string::npos);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Project);
    EXPECT_EQ(current()->label, "Project: My Game");

    // The folder exists now: the next proposal is My_Game_2. Cancel still refreshes the tree,
    // selecting the last project.
    selectRoot();
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
        QTest::keyClicks(d->nameEdit(), "My Game");
        EXPECT_EQ(d->folderEdit()->text().toStdString(), (app.projects() / "My_Game_2").string());
        Child<QPushButton>(d, "cancelButton")->click();
    });
    EXPECT_EQ(qb::Workspace().projectCount(), 1);
    EXPECT_FALSE(fs::exists(app.projects() / "My_Game_2"));
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Project);
    EXPECT_EQ(current()->projectIndex, 0);
}

TEST_F(MainWindowTest, CancelWithNoProjectSelectsTheWorkspace) {
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) { dialog->reject(); });
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Root);
    EXPECT_TRUE(button(Command::NewProject)->isEnabled());
}

TEST_F(MainWindowTest, NewItemsCopyTheirFilesAndAreSelectedInTheirOpenGroup) {
    newProject("Jig", qb::game::Jigsaw);
    ASSERT_EQ(qb::ProjectAt(0)->objects.size(), 8u);
    const fs::path folder = app.projects() / "Jig";

    const std::int32_t first = newItemIn(0, 4);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->label, "BackGround");
    EXPECT_TRUE(current()->item->isSelected());
    ASSERT_NE(current()->item->parent(), nullptr);
    EXPECT_TRUE(current()->item->parent()->isExpanded());
    EXPECT_EQ(current()->item->parent()->text(0), "Backgrounds bitmap");
    EXPECT_EQ(ReadFile(folder / "BackGround.png"), ReadFile(app.path() / "BackgroundDefault.png"));
    EXPECT_EQ(qb::FindObject(first, 0)->record().text(0, qb::kPathField),
              (folder / "BackGround.png").string());

    const std::int32_t second = newItemIn(0, 4);
    EXPECT_NE(second, first);
    EXPECT_EQ(current()->label, "BackGround_2");
    EXPECT_TRUE(fs::exists(folder / "BackGround_2.png"));

    newItemIn(0, 5);
    EXPECT_EQ(current()->label, "AudioSound");
    EXPECT_EQ(ReadFile(folder / "AudioSound.mp3"), ReadFile(app.path() / "test.mp3"));

    // One "Ads" item per project: New item is refused on its group once there is one.
    select(GroupId(0, 120), 0);
    EXPECT_TRUE(button(Command::NewItem)->isEnabled());
    click(Command::NewItem);
    EXPECT_EQ(current()->label, "Ads");
    select(GroupId(0, 120), 0);
    EXPECT_FALSE(button(Command::NewItem)->isEnabled());

    // Everything was saved as it was made.
    const std::string ini = ReadFile(folder / "project.ini");
    EXPECT_NE(ini.find("nOggetti=12"), std::string::npos);
    EXPECT_NE(ini.find("sDescrizione=BackGround_2"), std::string::npos);
}

TEST_F(MainWindowTest, DeleteItemAsksAndOnlyOkDeletesTheItemAndItsFile) {
    newProject("Del", qb::game::Jigsaw);
    const fs::path folder = app.projects() / "Del";
    const std::int32_t font = newItemIn(0, 2);
    ASSERT_TRUE(fs::exists(folder / "Font.png"));
    const std::string before = ReadFile(folder / "project.ini");

    select(font, 0);
    app.messages.answers = {false};
    click(Command::DeleteItem);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], kDeleteQuestion);
    EXPECT_EQ(app.messages.captions[0], "Quillbox");
    EXPECT_NE(qb::FindObject(font, 0), nullptr);
    EXPECT_TRUE(fs::exists(folder / "Font.png"));
    EXPECT_EQ(ReadFile(folder / "project.ini"), before);
    EXPECT_EQ(current()->objectId, font);

    app.messages.answers = {true};
    click(Command::DeleteItem);
    EXPECT_EQ(qb::FindObject(font, 0), nullptr);
    EXPECT_FALSE(fs::exists(folder / "Font.png"));
    EXPECT_NE(ReadFile(folder / "project.ini").find("nOggetti=8"), std::string::npos);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Project);
}

TEST_F(MainWindowTest, CopyItemCopiesAnItemOrTheWholeProject) {
    newProject("My Game", qb::game::ShootEmUp);
    const std::int32_t enemy = newItemIn(0, 7);
    qb::FindObject(enemy, 0)->record().setU32(100, 4242);
    qb::SaveProject(0);
    select(enemy, 0);
    ASSERT_TRUE(button(Command::CopyItem)->isEnabled());
    click(Command::CopyItem);
    ASSERT_NE(current(), nullptr);
    const std::int32_t copy = current()->objectId;
    EXPECT_EQ(copy, enemy + 1);
    EXPECT_EQ(current()->label, "duplicate");
    EXPECT_EQ(qb::FindObject(copy, 0)->lpDatiOggetto, qb::FindObject(enemy, 0)->lpDatiOggetto);
    EXPECT_EQ(current()->item->parent()->text(0), "Enemies data");

    newItemIn(0, 3);  // a picture, so the copy has a file to take along
    fs::create_directories(app.projects() / "My_Game" / "Release");
    select(-1, 0);
    click(Command::CopyItem);
    ASSERT_EQ(qb::Workspace().projectCount(), 2);
    EXPECT_EQ(qb::ProjectAt(1)->sNomeProgetto, "CopyOf_My_Game");
    const fs::path copied = app.projects() / "CopyOf_My_Game";
    EXPECT_TRUE(fs::exists(copied / "project.ini"));
    EXPECT_TRUE(fs::exists(copied / "Sprites.png"));
    EXPECT_FALSE(fs::exists(copied / "Release"));
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Project);
    EXPECT_EQ(current()->projectIndex, 1);
    EXPECT_EQ(current()->label, "Project: CopyOf_My_Game");

    // Copying the original again gives the next free name.
    select(-1, 0);
    click(Command::CopyItem);
    EXPECT_EQ(qb::ProjectAt(2)->sNomeProgetto, "CopyOf_My_Game_2");
}

TEST_F(MainWindowTest, CloseProjectSelectsTheProjectNowAtItsPlace) {
    NewProject("A", qb::game::Jigsaw);
    NewProject("B", qb::game::Jigsaw);
    NewProject("C", qb::game::Jigsaw);
    refresh(-1, 0);
    click(Command::CloseProject);  // A: B moves to index 0 and is selected
    ASSERT_EQ(qb::Workspace().projectCount(), 2);
    EXPECT_EQ(current()->label, "Project: B");
    select(-1, 1);
    click(Command::CloseProject);  // C, the last: the new last (B) is selected
    EXPECT_EQ(current()->label, "Project: B");
    click(Command::CloseProject);
    EXPECT_EQ(qb::Workspace().projectCount(), 0);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Root);
    EXPECT_FALSE(button(Command::CloseProject)->isEnabled());
    EXPECT_FALSE(button(Command::Compile)->isEnabled());
    // Closing saved nothing and deleted nothing.
    EXPECT_TRUE(fs::exists(app.projects() / "A" / "project.ini"));
}

TEST_F(MainWindowTest, TheWindowKeepsItsMinimumAndLaysOutThePanels) {
    window->resize(500, 300);
    Settle();
    EXPECT_GE(window->width(), 700);
    EXPECT_GE(window->height(), 400);

    window->resize(1200, 800);
    Settle();
    const int statusTop = InWindow(window->statusBar()).top();
    EXPECT_EQ(InWindow(tree()), QRect(0, 73, 208, statusTop - 73));
    EXPECT_EQ(window->commandPanel()->geometry(), QRect(0, 0, 1200, 73));
    // The preview starts past the splitter's handle and reaches the right edge and the status
    // bar.
    const QRect free = window->freeArea();
    EXPECT_GE(free.left(), 208);
    EXPECT_LE(free.left(), 208 + 12);
    EXPECT_EQ(free.top(), 73);
    EXPECT_EQ(free.right(), 1199);
    EXPECT_EQ(free.bottom(), statusTop - 1);
    EXPECT_TRUE(window->windowTitle().startsWith("Quillbox"));

    // The splitter gives the tree more room; a larger window gives it to the preview.
    const int handle = free.left() - 208;
    window->splitter()->setSizes({320, 1200 - 320 - handle});
    Settle();
    EXPECT_EQ(tree()->width(), 320);
    EXPECT_EQ(window->freeArea().left(), 320 + handle);
    window->resize(1400, 800);
    Settle();
    EXPECT_EQ(tree()->width(), 320);
    EXPECT_EQ(window->freeArea().right(), 1399);
}

TEST_F(MainWindowTest, EveryButtonStaysWholeAtTheSmallestWindow) {
    window->resize(700, 400);
    Settle();
    int previousRight = -1;
    for (const auto& info : qb::app::Commands()) {
        QToolButton* b = button(info.command);
        EXPECT_EQ(b->objectName(), info.objectName);
        EXPECT_EQ(b->toolTip(), info.label);
        EXPECT_GT(b->geometry().left(), previousRight) << info.label;  // left to right, in order
        previousRight = b->geometry().right();
        EXPECT_LE(b->geometry().right(), window->commandPanel()->width()) << info.label;
        EXPECT_GE(b->width(), b->sizeHint().width()) << info.label << " is cut";
        EXPECT_GE(b->height(), b->sizeHint().height()) << info.label << " is cut";
    }
    window->resize(1400, 700);
    Settle();
    EXPECT_EQ(button(Command::NewProject)->text(), "New project");  // one line where it fits
}

TEST_F(MainWindowTest, KeysAndShortcutsRunTheCommandsAndTheStatusBarSaysWhatHappened) {
    // Window-wide keys reach the active window; a window manager gives activation back to it
    // when a dialog closes, which the test does itself.
    auto activate = [&] {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    };
    activate();
    QTreeWidget* keys = tree()->tree();
    // Ctrl+Z and Ctrl+Shift+Z are left to undo and redo.
    std::vector<const QAction*> own = {window->renameAction(), window->quitAction()};
    for (const auto& info : qb::app::Commands()) own.push_back(window->action(info.command));
    for (const QAction* a : own) {
        EXPECT_NE(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z)) << a->text().toStdString();
        EXPECT_NE(a->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)) << a->text().toStdString();
    }

    // Ctrl+N: New project.
    WithModalDialog([&] { QTest::keyClick(keys, Qt::Key_N, Qt::ControlModifier); },
                    [&](QDialog* dialog) {
                        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
                        ASSERT_NE(d, nullptr);
                        QTest::keyClicks(d->nameEdit(), "Keys");
                        d->choice(qb::game::Jigsaw)->click();
                        d->okButton()->click();
                    });
    ASSERT_EQ(qb::Workspace().projectCount(), 1);
    const fs::path folder = app.projects() / "Keys";
    EXPECT_EQ(status(), "Created project 'Keys' in " + folder.string());
    const std::int32_t font = qb::NewItem(0, GroupId(0, 2));
    refresh(font, 0);

    // F2 renames in place: cut to a description's 254 characters and saved at once.
    auto rename = [&](const QString& text, Qt::Key end) {
        QTest::keyClick(keys, Qt::Key_F2);
        auto* edit = keys->findChild<QLineEdit*>("renameEdit");
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, end);
        Settle();
    };
    rename(QString(300, 'x'), Qt::Key_Return);
    const std::string cut(254, 'x');
    EXPECT_EQ(qb::FindObject(font, 0)->sDescrizione, cut);
    std::string ini = ReadFile(folder / "project.ini");
    const std::size_t at = ini.find("sDescrizione=" + cut);
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(ini[at + 13 + 254], 'x');
    rename("Title font", Qt::Key_Return);
    EXPECT_EQ(current()->label, "Title font");
    EXPECT_EQ(current()->objectId, font);
    EXPECT_EQ(status(), "Renamed '" + cut + "' to 'Title font'");
    EXPECT_NE(ReadFile(folder / "project.ini").find("sDescrizione=Title font\r\n"), std::string::npos);
    rename("Never", Qt::Key_Escape);  // Escape keeps the name
    EXPECT_EQ(qb::FindObject(font, 0)->sDescrizione, "Title font");

    // Enter and double-click on an item open its editor.
    auto closesEditor = [](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Fonts bitmap parameters");
        d->reject();
    };
    WithModalDialog([&] { QTest::keyClick(keys, Qt::Key_Return); }, closesEditor);
    EXPECT_EQ(status(), "No changes to 'Title font'");
    activate();
    WithModalDialog([&] {
        const QPoint at = keys->visualItemRect(current()->item).center();
        // Item views take a double click as one only after a press of their own.
        QTest::mouseClick(keys->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(keys->viewport(), Qt::LeftButton, {}, at);
    }, closesEditor);
    // Enter on a group opens or closes it.
    select(GroupId(0, 2), 0);
    const bool open = current()->item->isExpanded();
    WithoutModalDialog([&] { QTest::keyClick(keys, Qt::Key_Return); });
    EXPECT_NE(current()->item->isExpanded(), open);
    // Delete on a group asks nothing.
    WithoutModalDialog([&] { QTest::keyClick(keys, Qt::Key_Delete); });
    EXPECT_TRUE(app.messages.texts.empty());

    // Delete asks the delete question; only OK deletes the item and its file.
    refresh(font, 0);
    app.messages.answers = {false};
    QTest::keyClick(keys, Qt::Key_Delete);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], kDeleteQuestion);
    EXPECT_NE(qb::FindObject(font, 0), nullptr);
    EXPECT_EQ(status(), "'Title font' was not deleted");
    app.messages.answers = {true};
    QTest::keyClick(keys, Qt::Key_Delete);
    EXPECT_EQ(qb::FindObject(font, 0), nullptr);
    EXPECT_FALSE(fs::exists(folder / "Font.png"));
    EXPECT_EQ(status(), "Deleted 'Title font'");

    // Ctrl+B and F5 build the project of whatever node of it is selected, and say so.
    qb::SetPreferenceIn("warning", "testWithoutRecords", "1");
    select(GroupId(0, 4), 0);
    activate();
    QTest::keyClick(keys, Qt::Key_B, Qt::ControlModifier);
    const fs::path release = folder / "Release";
    EXPECT_EQ(status(), "Compiled into " + release.string());
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(app.desktop.opened[0], release.string());
    QTest::keyClick(keys, Qt::Key_F5);
    EXPECT_EQ(status(), "Testing 'Keys' in the web browser");
    EXPECT_EQ(app.desktop.opened.size(), 2u);
    EXPECT_EQ(current()->objectId, GroupId(0, 4));
    // F1: the help page.
    QTest::keyClick(keys, Qt::Key_F1);
    ASSERT_EQ(app.desktop.opened.size(), 3u);
    EXPECT_EQ(app.desktop.opened[2], qb::app::HelpPagePath());

    // Ctrl+W closes the project of the selected node.
    activate();
    QTest::keyClick(keys, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(qb::Workspace().projectCount(), 0);
    EXPECT_EQ(status(), "Closed project 'Keys'");
    EXPECT_EQ(current()->kind, NodeKind::Root);
    // Ctrl+O: Open project, whatever is selected.
    WithModalDialog([&] { QTest::keyClick(keys, Qt::Key_O, Qt::ControlModifier); },
                    [](QDialog* d) {
                        EXPECT_EQ(d->windowTitle(), "Select project to open");
                        d->reject();
                    });
    // Ctrl+Q ends the program: the window closes.
    activate();
    QTest::keyClick(keys, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, TheStartPageListsTenRecentProjectsAndTheOpenOnesComeBackAtStart) {
    std::vector<fs::path> folders;
    for (int i = 0; i < 12; ++i) {
        const int p = NewProject("P" + std::to_string(i), qb::game::Jigsaw);
        folders.push_back(qb::ProjectAt(p)->sPathProgetto);
    }
    qb::ResetWorkspace();
    refresh(-1, -1);
    for (const fs::path& f : folders) window->openProjectFolder(f.string());
    EXPECT_EQ(status(), "Opened project 'P11'");
    ASSERT_EQ(qb::Workspace().projectCount(), 12);

    // The last ten, the latest first, in preferences.ini.
    const auto recent = qb::app::RecentProjects();
    ASSERT_EQ(recent.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(recent[i].folder, folders[11 - i].string()) << i;
    EXPECT_EQ(recent[0].name, "P11");
    const std::string prefs = ReadFile(app.path() / "preferences.ini");
    EXPECT_NE(prefs.find("[recentProjects]"), std::string::npos);
    EXPECT_NE(prefs.find("project1=" + folders[11].string()), std::string::npos);
    EXPECT_NE(prefs.find("project10=" + folders[2].string()), std::string::npos);

    // The start page shows them while the root is selected.
    selectRoot();
    Settle();
    qb::app::StartPage* start = window->startPage();
    EXPECT_TRUE(start->isVisible());
    QListWidget* list = start->recentList();
    ASSERT_EQ(list->count(), 10);
    EXPECT_TRUE(list->item(0)->text().startsWith("P11\n"));
    EXPECT_EQ(qb::app::StartPage::FolderOf(list->item(9)), folders[2].string());

    // A project whose folder went away is dropped; one closed is one click away.
    fs::remove_all(folders[5]);
    select(-1, 11);
    click(Command::CloseProject);
    EXPECT_FALSE(start->isVisible());
    selectRoot();
    Settle();
    ASSERT_EQ(list->count(), 9);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    Settle();
    ASSERT_EQ(qb::Workspace().projectCount(), 12);
    EXPECT_EQ(qb::ProjectAt(11)->sNomeProgetto, "P11");
    EXPECT_EQ(status(), "Opened project 'P11'");
    EXPECT_EQ(current()->kind, NodeKind::Project);
    window->openProjectFolder(folders[3].string());  // open already: selected, not loaded again
    EXPECT_EQ(qb::Workspace().projectCount(), 12);
    EXPECT_EQ(current()->label, "Project: P3");

    // A new start opens the projects that were open, but for the one that is gone.
    click(Command::CloseProject);  // P3
    qb::ResetWorkspace();
    EXPECT_EQ(qb::app::ReopenLastProjects(), 10);
    std::vector<std::string> names;
    for (int p = 0; p < qb::Workspace().projectCount(); ++p) names.push_back(qb::ProjectAt(p)->sNomeProgetto);
    EXPECT_EQ(names, (std::vector<std::string>{"P0", "P1", "P2", "P4", "P6", "P7", "P8", "P9", "P10", "P11"}));
    EXPECT_EQ(qb::app::ReopenLastProjects(), 0);  // never twice
}

TEST(PanelLayoutTest, PlacementsReachTheEdgesAndTheTableHoldsTwenty) {
    using qb::app::PanelLayout;
    const QRect client(0, 0, 800, 600);
    EXPECT_EQ(PanelLayout::Place(QRect(0, 73, 208, 0), client), QRect(0, 73, 208, 527));
    EXPECT_EQ(PanelLayout::Place(QRect(0, 0, 0, 73), client), QRect(0, 0, 800, 73));
    EXPECT_EQ(PanelLayout::Place(QRect(10, 10, -10, -20), client), QRect(10, 10, 780, 570));
    EXPECT_EQ(PanelLayout::Place(QRect(900, 0, 0, 0), client).width(), 0);  // never negative

    QWidget parent;
    PanelLayout layout(&parent);
    QWidget panels[21];
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(layout.addPanel(&panels[i], QRect(0, 0, 10, 10)));
    EXPECT_FALSE(layout.addPanel(&panels[20], QRect(0, 0, 10, 10)));
    EXPECT_EQ(layout.count(), 20);
}

} // namespace
