// Open project, Preferences, Edit item, Help, and Test game / Compile with the records warning,
// driven from the main window's buttons.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "build/build.h"
#include "build/validate.h"
#include "model/catalogue.h"
#include "platform/game_server.h"
#include "support/shell_support.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/new_project_dialog.h"
#include "toolkit/open_project_dialog.h"
#include "toolkit/preferences_dialog.h"
#include "toolkit/records_warning_dialog.h"

namespace fs = std::filesystem;
using namespace qbtest;
using qb::app::Command;
using qb::app::NodeKind;

namespace {

QStringList ListedNames(QDialog* dialog) {
    QStringList names;
    auto* list = Child<QListWidget>(dialog, "projectList");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    names.sort();
    return names;
}

void PickProject(QDialog* dialog, const QString& name) {
    auto* list = Child<QListWidget>(dialog, "projectList");
    const auto found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list->setCurrentItem(found.front());
    Child<QPushButton>(dialog, "okButton")->click();
}

class ProjectDialogsTest : public ShellTest {
protected:
    // Two projects on disk, one folder without project.ini and one without a name; nothing open.
    void makeProjectsOnDisk() {
        NewProject("Space Rescue", qb::game::ShootEmUp);
        NewProject("Puzzle", qb::game::Jigsaw);
        fs::create_directories(app.projects() / "Empty folder");
        fs::create_directories(app.projects() / "Nameless");
        WriteFile(app.projects() / "Nameless" / "project.ini", "[main]\r\nsNomeProgetto=\r\n");
        qb::ResetWorkspace();
        refresh(-1, -1);
    }
};

TEST_F(ProjectDialogsTest, OpenProjectListsProjectNamesAndLoadsThePickedOne) {
    makeProjectsOnDisk();
    clickWithDialog(Command::OpenProject, [&](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select project to open");
        EXPECT_EQ(ListedNames(dialog), QStringList({"Puzzle", "Space Rescue"}));
        // OK without a pick does nothing.
        Child<QPushButton>(dialog, "okButton")->click();
        EXPECT_TRUE(dialog->isVisible());
        PickProject(dialog, "Space Rescue");
    });
    ASSERT_EQ(qb::Workspace().projectCount(), 1);
    EXPECT_EQ(qb::ProjectAt(0)->sNomeProgetto, "Space Rescue");
    EXPECT_EQ(qb::ProjectAt(0)->objects.size(), 17u);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->label, "Project: Space Rescue");

    // Opening it again selects the open one instead of loading a second copy.
    selectRoot();
    clickWithDialog(Command::OpenProject, [&](QDialog* d) { PickProject(d, "Space Rescue"); });
    EXPECT_EQ(qb::Workspace().projectCount(), 1);
    EXPECT_EQ(current()->label, "Project: Space Rescue");

    selectRoot();
    clickWithDialog(Command::OpenProject,
                    [&](QDialog* d) { Child<QPushButton>(d, "cancelButton")->click(); });
    EXPECT_EQ(qb::Workspace().projectCount(), 1);
}

TEST_F(ProjectDialogsTest, OpenProjectRefusesAProjectFromANewerVersion) {
    fs::create_directories(app.projects() / "Future");
    WriteFile(app.projects() / "Future" / "project.ini",
              "[main]\r\nsNomeProgetto=Future\r\ntipoGioco=0\r\nnOggetti=0\r\nversioneProgetto=71\r\n");
    clickWithDialog(Command::OpenProject, [&](QDialog* d) { PickProject(d, "Future"); });
    EXPECT_EQ(qb::Workspace().projectCount(), 0);
    ASSERT_FALSE(app.messages.texts.empty());
    EXPECT_EQ(app.messages.texts.back(),
              "Sorry, this project is not compatible, please update Quillbox!");
    EXPECT_EQ(current()->kind, NodeKind::Root);
}

TEST_F(ProjectDialogsTest, OpenProjectCopesWithAListThatShrankMeanwhile) {
    makeProjectsOnDisk();
    clickWithDialog(Command::OpenProject, [&](QDialog* dialog) {
        auto* list = Child<QListWidget>(dialog, "projectList");
        list->setCurrentRow(1);
        fs::remove_all(app.projects() / "Space_Rescue");
        fs::remove_all(app.projects() / "Puzzle");
        Child<QPushButton>(dialog, "okButton")->click();
    });
    EXPECT_EQ(qb::Workspace().projectCount(), 0);
}

TEST_F(ProjectDialogsTest, PreferencesOkWritesTheFieldsAndGivesEmptiedOnesTheirDefault) {
    clickWithDialog(Command::Preferences, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::PreferencesDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Preferences");
        EXPECT_EQ(Child<QLabel>(d, "projectsFolderLabel")->text(), "Projects folder:");
        EXPECT_EQ(Child<QLabel>(d, "imageEditorLabel")->text(), "Application to edit images:");
        EXPECT_EQ(Child<QLabel>(d, "soundEditorLabel")->text(), "Application to edit sounds:");
        EXPECT_EQ(d->projectsFolderEdit()->text().toStdString(), app.projects().string());
        EXPECT_TRUE(d->projectsFolderEdit()->isEnabled());
        d->imageEditorEdit()->setText("/opt/My Paint/paint");
        d->soundEditorEdit()->clear();
        d->projectsFolderEdit()->setText(QString::fromStdString((app.path() / "Elsewhere").string()));
        Child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(qb::GetPreference("editImagesApp"), "/opt/My Paint/paint");
    EXPECT_EQ(qb::GetPreference("editSoundsApp"), qb::DefaultPreference("editSoundsApp"));
    EXPECT_FALSE(qb::GetPreference("editSoundsApp").empty());
    EXPECT_EQ(qb::ProjectsFolder(), (app.path() / "Elsewhere").string());
    EXPECT_FALSE(fs::exists(app.path() / "Elsewhere"));  // not created

    // New project uses the new projects folder at once.
    fs::create_directories(app.path() / "Elsewhere");
    clickWithDialog(Command::NewProject, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::NewProjectDialog*>(dialog);
        QTest::keyClicks(d->nameEdit(), "Here");
        EXPECT_EQ(d->folderEdit()->text().toStdString(), (app.path() / "Elsewhere" / "Here").string());
        d->okButton()->click();
    });
    EXPECT_TRUE(fs::exists(app.path() / "Elsewhere" / "Here" / "project.ini"));
}

TEST_F(ProjectDialogsTest, PreferencesCancelWritesNothing) {
    const std::string before = ReadFile(app.path() / "preferences.ini");
    clickWithDialog(Command::Preferences, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::PreferencesDialog*>(dialog);
        d->imageEditorEdit()->setText("changed");
        d->projectsFolderEdit()->clear();
        Child<QPushButton>(d, "cancelButton")->click();
    });
    EXPECT_EQ(ReadFile(app.path() / "preferences.ini"), before);
}

TEST_F(ProjectDialogsTest, PreferencesKeepTheProjectsFolderWhileAProjectIsOpen) {
    NewProject("Open", qb::game::Jigsaw);
    refresh(-1, 0);
    clickWithDialog(Command::Preferences, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::PreferencesDialog*>(dialog);
        EXPECT_FALSE(d->projectsFolderEdit()->isEnabled());
        EXPECT_EQ(d->projectsFolderEdit()->text().toStdString(), app.projects().string());
        Child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(qb::GetPreference("projectsPath"), app.projects().string());
}

// --- Edit item and Help --------------------------------------------------------------------

TEST_F(ProjectDialogsTest, EditItemOpensTheEditorOfTheItemsType) {
    const int p = NewProject("Edit", qb::game::ShootEmUp);
    const std::int32_t level = qb::NewItem(p, GroupId(p, 8));
    QWidget* owner = nullptr;
    int openedProject = -1;
    std::int32_t openedObject = -1;
    qb::ui::RegisterEditor(8, [&](QWidget* w) {
        owner = w;
        openedProject = qb::CurrentProjectIndex();
        openedObject = qb::CurrentObjectId();
    });
    refresh(level, p);
    click(Command::EditItem);
    EXPECT_EQ(owner, window.get());
    EXPECT_EQ(openedProject, p);
    EXPECT_EQ(openedObject, level);
    EXPECT_TRUE(app.messages.texts.empty());
}

TEST_F(ProjectDialogsTest, EditItemSaysPlainlyWhenTheEditorIsNotThereYet) {
    // The first editable type of a shoot'em-up project that has no editor in this build.
    const int p = NewProject("Waiting", qb::game::ShootEmUp);
    std::int32_t target = 0;
    for (const qb::ObjectRecord& o : qb::ProjectAt(p)->objects)
        if (o.tipoOggetto == 0 && qb::IsNewItemAllowed(o.sottoTipoOggetto) &&
            qb::IsEditAllowed(o.sottoTipoOggetto) && !qb::ui::HasEditor(o.sottoTipoOggetto)) {
            target = qb::NewItem(p, o.IDoggetto);
            break;
        }
    if (target == 0) GTEST_SKIP() << "every shoot'em-up item has its editor";
    const std::string before = ReadFile(app.projects() / "Waiting" / "project.ini");
    refresh(target, p);
    WithoutModalDialog([&] { click(Command::EditItem); });
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0], qb::app::kEditorMissingText);
    EXPECT_EQ(app.messages.captions[0], "Quillbox");
    EXPECT_EQ(ReadFile(app.projects() / "Waiting" / "project.ini"), before);
}

TEST_F(ProjectDialogsTest, HelpOpensTheHelpPage) {
    click(Command::Help);
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    const fs::path page = app.desktop.opened[0];
    EXPECT_EQ(page.filename(), "index.html");
    EXPECT_TRUE(fs::exists(page)) << page;
    EXPECT_NE(ReadFile(page).find("Quillbox help"), std::string::npos);
}

// --- Test game, Compile and the records warning ---------------------------------------------

class BuildCommandsTest : public ProjectDialogsTest {
protected:
    // A jigsaw project with the pictures and sounds a game needs, ready to build.
    int buildableJigsaw(const std::string& name) {
        const int p = NewProject(name, qb::game::Jigsaw);
        for (std::uint32_t type : {2u, 4u, 5u, 13u}) qb::NewItem(p, GroupId(p, type));
        const qb::BuildSettings settings = qb::ValidateProject(*qb::ProjectAt(p));
        EXPECT_TRUE(settings.error.empty()) << settings.error;
        refresh(-1, p);
        return p;
    }
    // A shoot'em-up project that validation refuses (no ship, no level).
    int refusedShooter() {
        const int p = NewProject("Refused", qb::game::ShootEmUp);
        EXPECT_FALSE(qb::ValidateProject(*qb::ProjectAt(p)).error.empty());
        refresh(-1, p);
        return p;
    }
};

// With Ruffle beside the programs, Test game opens the page served on the loopback address, and
// what is served there is that project's page with Ruffle added; without Ruffle, the page file.
void ExpectGamePageOpened(const std::string& opened, const fs::path& folder) {
    if (qb::FindRuffleFolder().empty()) {
        EXPECT_EQ(opened, (folder / "Game.HTML").string());
        return;
    }
    ASSERT_TRUE(opened.starts_with("http://127.0.0.1:")) << opened;
    ASSERT_TRUE(opened.ends_with("/Game.HTML")) << opened;
    const int port = std::stoi(opened.substr(17));
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    ASSERT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = "GET /Game.HTML HTTP/1.1\r\n\r\n";
    ASSERT_EQ(::send(s, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    std::string answer;
    char buffer[4096];
    timeval timeout{20, 0};
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    for (ssize_t n; (n = ::recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
    ::close(s);
    const std::string page = qbtest::ReadFile(folder / "Game.HTML");
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK")) << answer;
    EXPECT_TRUE(answer.ends_with(qb::AddRuffleToPage(page, "/ruffle/ruffle.js")));
}

TEST_F(BuildCommandsTest, TheRecordsWarningOnlyClosesWithOkAndCanBeSwitchedOff) {
    const int p = buildableJigsaw("Jig");
    const fs::path folder = qb::ProjectAt(p)->sPathProgetto;
    clickWithDialog(Command::TestGame, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::RecordsWarningDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Quillbox");
        EXPECT_EQ(Child<QLabel>(d, "warningText")->text(),
                  "Warning! The TEST version will  not show records! Upload the COMPILED "
                  "version on a WEB site to check records!");
        EXPECT_EQ(d->dontShowAgain()->text(), "Don't show me again!!");
        EXPECT_FALSE(d->dontShowAgain()->isChecked());
        EXPECT_FALSE(Child<QPushButton>(d, "cancelButton")->isVisible());
        QTest::keyClick(d, Qt::Key_Escape);
        d->close();
        EXPECT_TRUE(d->isVisible());
        Child<QPushButton>(d, "okButton")->click();  // not ticked
    });
    EXPECT_EQ(qb::GetPreferenceIntIn("warning", "testWithoutRecords", 0), 0);
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    ExpectGamePageOpened(app.desktop.opened[0], folder);
    EXPECT_TRUE(fs::exists(folder / "Game.swf"));
    EXPECT_FALSE(fs::exists(folder / "Release"));

    // Shown again; this time ticked.
    clickWithDialog(Command::TestGame, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::RecordsWarningDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        d->dontShowAgain()->click();
        Child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(qb::GetPreferenceIn("warning", "testWithoutRecords"), "1");
    // From now on no warning, in every project.
    const int other = buildableJigsaw("Other");
    WithoutModalDialog([&] { click(Command::TestGame); });
    ASSERT_EQ(app.desktop.opened.size(), 3u);
    ExpectGamePageOpened(app.desktop.opened.back(), qb::ProjectAt(other)->sPathProgetto);
    // The same server, now serving the other project.
    if (!qb::FindRuffleFolder().empty())
        EXPECT_EQ(app.desktop.opened.back().substr(0, 25), app.desktop.opened.front().substr(0, 25));
}

TEST_F(BuildCommandsTest, ATestThatFailsValidationOpensNothing) {
    qb::SetPreferenceIn("warning", "testWithoutRecords", "1");
    refusedShooter();
    WithoutModalDialog([&] { click(Command::TestGame); });
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(app.messages.texts[0].rfind("#error '", 0), 0u) << app.messages.texts[0];
    EXPECT_TRUE(app.desktop.opened.empty());
}

TEST_F(BuildCommandsTest, CompileOpensTheReleaseFolder) {
    const int p = buildableJigsaw("Publish");
    const fs::path folder = qb::ProjectAt(p)->sPathProgetto;
    WithoutModalDialog([&] { click(Command::Compile); });
    EXPECT_TRUE(app.messages.texts.empty()) << app.messages.texts.front();
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(app.desktop.opened[0], (folder / "Release").string());
    EXPECT_TRUE(fs::exists(folder / "Release" / "Game.swf"));

    refusedShooter();
    WithoutModalDialog([&] { click(Command::Compile); });
    EXPECT_EQ(app.desktop.opened.size(), 1u);
}

TEST_F(BuildCommandsTest, TheWebPlayerOptionAddsAPlayablePageAndRuffleToRelease) {
    const int p = buildableJigsaw("Web");
    const fs::path folder = qb::ProjectAt(p)->sPathProgetto;
    // Off by default: Compile writes what it always wrote.
    WithoutModalDialog([&] { click(Command::Compile); });
    EXPECT_TRUE(fs::exists(folder / "Release" / "Game.swf"));
    EXPECT_FALSE(fs::exists(folder / "Release" / "index.html"));
    EXPECT_FALSE(fs::exists(folder / "Release" / "ruffle"));

    clickWithDialog(Command::Preferences, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::PreferencesDialog*>(dialog);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->webPlayerCheck()->text(), "Add a web player to the Release folder");
        EXPECT_FALSE(d->webPlayerCheck()->isChecked());
        d->webPlayerCheck()->click();
        Child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(qb::GetPreference("webPlayerInRelease"), "1");
    app.messages.texts.clear();
    WithoutModalDialog([&] { click(Command::Compile); });
    const std::string page = ReadFile(folder / "Game.HTML");
    if (qb::FindRuffleFolder().empty()) {
        ASSERT_EQ(app.messages.texts.size(), 1u);
        EXPECT_EQ(app.messages.texts[0],
                  "Ruffle is not installed beside Quillbox: no web player was added to the Release folder.");
        EXPECT_FALSE(fs::exists(folder / "Release" / "index.html"));
    } else {
        EXPECT_TRUE(app.messages.texts.empty());
        EXPECT_EQ(ReadFile(folder / "Release" / "index.html"), qb::AddRuffleToPage(page, "ruffle/ruffle.js"));
        EXPECT_EQ(ReadFile(folder / "Release" / "ruffle" / "ruffle.js"),
                  ReadFile(fs::path(qb::FindRuffleFolder()) / "ruffle.js"));
        EXPECT_TRUE(fs::exists(folder / "Release" / "ruffle" / "LICENSE_MIT"));
        EXPECT_TRUE(fs::exists(folder / "Release" / "ruffle" / "LICENSE_APACHE"));
    }
    EXPECT_EQ(page.find("ruffle"), std::string::npos);  // the built page itself is unchanged

    // The box shows the stored value and unticking it is stored too.
    clickWithDialog(Command::Preferences, [&](QDialog* dialog) {
        auto* d = qobject_cast<qb::ui::PreferencesDialog*>(dialog);
        EXPECT_TRUE(d->webPlayerCheck()->isChecked());
        d->webPlayerCheck()->click();
        Child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(qb::GetPreference("webPlayerInRelease"), "0");
}

} // namespace
