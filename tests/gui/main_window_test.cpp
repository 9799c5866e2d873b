// The main window driven through its buttons: New project (name check, folder proposal, Cancel),
// New item, Delete item (OK and Cancel), Copy item (an item and a whole project), Close project,
// and the size rules of the window and its panels.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/panel_layout.h"
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
    EXPECT_EQ(window->treePanel()->geometry(), QRect(0, 73, 208, 800 - 73));
    EXPECT_EQ(window->commandPanel()->geometry(), QRect(0, 0, 1200, 73));
    EXPECT_EQ(window->freeArea(), QRect(208, 73, 1200 - 208, 800 - 73));
    EXPECT_TRUE(window->windowTitle().startsWith("Quillbox"));
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
