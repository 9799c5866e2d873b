// Start-up pieces: the application-folder policy, the writable check, binding Pixbridge, the
// splash, and the editor's message and desktop services.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <fstream>

#include "app/app_folder.h"
#include "app/qt_services.h"
#include "app/splash.h"
#include "app/startup.h"
#include "support/shell_support.h"

namespace fs = std::filesystem;
using namespace qbtest;

namespace {

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class AppFolderTest : public ::testing::Test {
protected:
    TempAppFolder app;
    fs::path scratch() const { return app.path() / "scratch"; }
};

TEST_F(AppFolderTest, AFolderThatHoldsTheAssetsIsUsedAsItIs) {
    const ScopedEnv xdg("XDG_DATA_HOME", (scratch() / "xdg").string());
    const auto choice = qb::app::ChooseAppFolder(app.path().string());
    EXPECT_EQ(choice.folder, app.path().string());
    EXPECT_TRUE(choice.seededFrom.empty());
    EXPECT_FALSE(fs::exists(scratch() / "xdg"));
}

TEST_F(AppFolderTest, OtherwiseTheUserFolderIsMadeAndSeededWithoutReplacingTheUsersFiles) {
    const ScopedEnv xdg("XDG_DATA_HOME", (scratch() / "xdg").string());
    fs::create_directories(scratch() / "home");
    const auto choice = qb::app::ChooseAppFolder((scratch() / "home").string());
    const fs::path user = scratch() / "xdg" / "quillbox";
    ASSERT_EQ(choice.folder, user.string());
    ASSERT_FALSE(choice.seededFrom.empty());
    for (const char* file : {"SpritesDefault.png", "BackgroundDefault.png", "FontDefault16.PNG",
                             "SplashDefault.png", "test.mp3", "Game.HTML", "Quillbox.DLL",
                             "help/index.html"})
        EXPECT_TRUE(fs::exists(user / file)) << file;
    EXPECT_FALSE(fs::exists(user / "icons"));
    EXPECT_FALSE(fs::exists(user / "quillbox.desktop"));

    // The user's own engine file stays; the help page is brought up to date.
    WriteFile(user / "Quillbox.DLL", "the real engine");
    WriteFile(user / "help" / "index.html", "old help");
    qb::app::ChooseAppFolder((scratch() / "home").string());
    EXPECT_EQ(ReadFile(user / "Quillbox.DLL"), "the real engine");
    EXPECT_EQ(ReadFile(user / "help" / "index.html"),
              ReadFile(fs::path(choice.seededFrom) / "help" / "index.html"));
}

TEST_F(AppFolderTest, WithoutXdgDataHomeTheFolderIsUnderHome) {
    const ScopedEnv xdg("XDG_DATA_HOME", "relative/is/ignored");
    const ScopedEnv home("HOME", (scratch() / "me").string());
    EXPECT_EQ(qb::app::UserAppFolder(), (scratch() / "me" / ".local" / "share" / "quillbox").string());
    const ScopedEnv noHome("HOME", "");
    EXPECT_EQ(qb::app::UserAppFolder(), "");
}

TEST_F(AppFolderTest, SeedingDoesNotFollowLinksOutOfTheSeed) {
    const fs::path seed = scratch() / "seed";
    fs::create_directories(seed / "sub");
    WriteFile(seed / "SpritesDefault.png", "png");
    WriteFile(seed / "sub" / "kept.txt", "kept");
    WriteFile(scratch() / "secret.txt", "secret");
    fs::create_directories(scratch() / "outside");
    WriteFile(scratch() / "outside" / "more.txt", "more");
    fs::create_symlink(scratch() / "secret.txt", seed / "link.txt");
    fs::create_directory_symlink(scratch() / "outside", seed / "linked-folder");
    qb::app::SeedAppFolder(seed.string(), (scratch() / "target").string());
    EXPECT_EQ(ReadFile(scratch() / "target" / "sub" / "kept.txt"), "kept");
    EXPECT_TRUE(fs::exists(scratch() / "target" / "SpritesDefault.png"));
    EXPECT_FALSE(fs::exists(scratch() / "target" / "link.txt"));
    EXPECT_FALSE(fs::exists(scratch() / "target" / "linked-folder" / "more.txt"));
}

TEST_F(AppFolderTest, TheHelpPageComesFromTheAppFolderOrTheSeed) {
    const fs::path page = qb::app::HelpPagePath();
    EXPECT_TRUE(fs::exists(page)) << page;
    fs::create_directories(app.path() / "help");
    WriteFile(app.path() / "help" / "index.html", "local");
    EXPECT_EQ(qb::app::HelpPagePath(), (app.path() / "help" / "index.html").string());
}

TEST_F(AppFolderTest, TheWritableCheckLeavesValueOneOrFails) {
    EXPECT_TRUE(qb::app::CheckAppFolderWritable());
    const std::string prefs = ReadFile(app.path() / "preferences.ini");
    EXPECT_NE(prefs.find("[test]\r\nvalue=1\r\n"), std::string::npos) << prefs;
    qb::app::CreateProjectsFolder();
    EXPECT_TRUE(fs::is_directory(app.projects()));

    // A folder where preferences.ini cannot be written (it is a folder itself).
    fs::create_directories(scratch() / "locked" / "preferences.ini");
    qb::SetAppFolder((scratch() / "locked").string());
    EXPECT_FALSE(qb::app::CheckAppFolderWritable());
}

TEST(EditorPixbridgeTest, TheLibraryBesideTheProgramIsBound) {
    EXPECT_EQ(qb::app::BindPixbridgeLibrary(), "");
    EXPECT_TRUE(qb::PixbridgeBound());
    EXPECT_NE(qb::app::PixbridgeMissingText("why").find("libpixbridge.so"), std::string::npos);
}

TEST(SplashWindowTest, ShowsVersionAndBuildAndGoesAwayByItself) {
    QWidget owner;
    owner.show();
    qb::app::SplashWindow* splash = qb::app::SplashWindow::ShowSplash(&owner, 60);
    ASSERT_EQ(qb::app::SplashWindow::Current(), splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(Child<QLabel>(splash, "versionLabel")->text(), "Version:");
    EXPECT_EQ(Child<QLabel>(splash, "versionValue")->text(), "0.7");
    EXPECT_EQ(Child<QLabel>(splash, "buildLabel")->text(), "Build:");
    EXPECT_EQ(Child<QLabel>(splash, "buildValue")->text(), "02/11/2010");
    EXPECT_FALSE(Child<QLabel>(splash, "splashPicture")->pixmap().isNull());
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    Settle(30);
    EXPECT_NE(qb::app::SplashWindow::Current(), nullptr);
    Settle(200);
    EXPECT_EQ(qb::app::SplashWindow::Current(), nullptr);
}

TEST(QtMessagesTest, MessagesAreQuillboxBoxesAndQuestionsAnswerOkOrCancel) {
    qb::app::QtMessages messages;
    WithModalDialog([&] { messages.inform("Something happened", "Quillbox"); },
                    [](QDialog* dialog) {
                        auto* box = qobject_cast<QMessageBox*>(dialog);
                        ASSERT_NE(box, nullptr);
                        EXPECT_EQ(box->windowTitle(), "Quillbox");
                        EXPECT_EQ(box->text(), "Something happened");
                        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
                        box->button(QMessageBox::Ok)->click();
                    });
    bool answer = true;
    WithModalDialog([&] { answer = messages.askOkCancel("Sure?", "Quillbox"); },
                    [](QDialog* dialog) {
                        auto* box = qobject_cast<QMessageBox*>(dialog);
                        ASSERT_NE(box, nullptr);
                        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
                        box->button(QMessageBox::Cancel)->click();
                    });
    EXPECT_FALSE(answer);
    WithModalDialog([&] { answer = messages.askOkCancel("Sure?", "Quillbox"); },
                    [](QDialog* dialog) {
                        qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
                    });
    EXPECT_TRUE(answer);
    // Record texts that are not UTF-8 are shown byte for byte.
    WithModalDialog([&] { messages.inform("Caf\xe9", "Quillbox"); }, [](QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        EXPECT_EQ(box->text(), QString::fromUtf8("Caf\u00e9"));
        box->button(QMessageBox::Ok)->click();
    });
    messages.beginWait();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    messages.endWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtDesktopTest, ProgramPreferencesBecomeCommandLines) {
    using qb::app::ProgramCommandLine;
    EXPECT_EQ(ProgramCommandLine("sh", {"/tmp/a b.png"}), QStringList({"sh", "/tmp/a b.png"}));
    EXPECT_EQ(ProgramCommandLine("flatpak run org.gimp.GIMP", {"x.png"}),
              QStringList({"flatpak", "run", "org.gimp.GIMP", "x.png"}));
    EXPECT_TRUE(ProgramCommandLine("   ", {"x.png"}).isEmpty());
    // A program whose own path has blanks stays one piece.
    const fs::path dir = fs::temp_directory_path() / ("qb program " + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path program = dir / "my paint";
    WriteFile(program, "#!/bin/sh\n");
    EXPECT_EQ(ProgramCommandLine(QString::fromStdString(program.string()), {"p.png"}),
              QStringList({QString::fromStdString(program.string()), "p.png"}));
    fs::remove_all(dir);
}

} // namespace
