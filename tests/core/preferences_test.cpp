#include "model/preferences.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "model/folders.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using qbtest::ReadFile;
using qbtest::WriteFile;

namespace {

// Replaces PATH for the life of the object.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& value) {
        if (const char* old = std::getenv("PATH")) old_ = old, hadOld_ = true;
        ::setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath() {
        if (hadOld_) ::setenv("PATH", old_.c_str(), 1);
        else ::unsetenv("PATH");
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

void MakeProgram(const fs::path& path, bool executable) {
    WriteFile(path, "#!/bin/sh\n");
    fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read |
                                                                  fs::perms::owner_write);
}

} // namespace

TEST(Preferences, FirstStartWritesTheDefaults) {
    qbtest::TempAppFolder app;
    const fs::path bin1 = app.path() / "bin1", bin2 = app.path() / "bin2";
    fs::create_directories(bin1);
    fs::create_directories(bin2);
    MakeProgram(bin1 / "gimp", false);  // not executable: skipped
    MakeProgram(bin1 / "pinta", true);
    MakeProgram(bin2 / "krita", true);  // krita comes before pinta in the order of preference
    MakeProgram(bin2 / "audacity", true);
    fs::create_directories(bin1 / "kolourpaint");  // a folder is no program
    const ScopedPath path(":" + bin1.string() + "::" + bin2.string());

    const fs::path fresh = app.path() / "fresh";
    fs::create_directories(fresh);
    qb::SetAppFolder(fresh.string() + "/");
    EXPECT_EQ(qb::AppFolder(), fresh.string());
    EXPECT_EQ(qb::PreferencesPath(), (fresh / "preferences.ini").string());
    qb::EnsurePreferenceDefaults();
    EXPECT_EQ(ReadFile(fresh / "preferences.ini"),
              "[main]\r\nprojectsPath=" + (fresh / "Projects").string() +
                  "\r\neditImagesApp=" + (bin2 / "krita").string() +
                  "\r\neditSoundsApp=" + (bin2 / "audacity").string() + "\r\n");
    EXPECT_EQ(qb::ProjectsFolder(), (fresh / "Projects").string());
    EXPECT_FALSE(fs::exists(fresh / "Projects"));  // start-up creates it, not the preferences

    fs::remove(bin2 / "krita");
    EXPECT_EQ(qb::DefaultPreference("editImagesApp"), (bin1 / "pinta").string());
    fs::remove(bin1 / "pinta");
    EXPECT_EQ(qb::DefaultPreference("editImagesApp"), "gimp");
    EXPECT_EQ(qb::DefaultPreference("other"), "");
}

TEST(Preferences, WithoutProgramsOnPathTheDefaultsNameThem) {
    qbtest::TempAppFolder app;
    const ScopedPath path((app.path() / "nothing-here").string());
    EXPECT_EQ(qb::DefaultPreference("editImagesApp"), "gimp");
    EXPECT_EQ(qb::DefaultPreference("editSoundsApp"), "audacity");
    const ScopedPath none("");
    EXPECT_EQ(qb::DefaultPreference("editSoundsApp"), "audacity");
}

TEST(Preferences, ValuesSetByHandStayAndEmptiedOnesComeBack) {
    qbtest::TempAppFolder app;
    const std::string elsewhere = (app.path() / "Elsewhere").string();
    ASSERT_TRUE(qb::SetPreference("projectsPath", elsewhere));
    ASSERT_TRUE(qb::SetPreference("editSoundsApp", ""));
    qb::EnsurePreferenceDefaults();
    EXPECT_EQ(qb::GetPreference("projectsPath"), elsewhere);
    EXPECT_EQ(qb::ProjectsFolder(), elsewhere);  // read at the time of the call
    EXPECT_EQ(qb::GetPreference("editSoundsApp"), qb::DefaultPreference("editSoundsApp"));
    EXPECT_FALSE(fs::exists(elsewhere));  // a projectsPath elsewhere is not created

    EXPECT_EQ(qb::GetPreference("noSuchKey"), "");
    ASSERT_TRUE(qb::SetPreference("projectsPath", elsewhere + "//"));
    EXPECT_EQ(qb::ProjectsFolder(), elsewhere);
}

TEST(Preferences, OtherSectionsAndLongValues) {
    qbtest::TempAppFolder app;
    EXPECT_EQ(qb::GetPreferenceIntIn("warning", "testWithoutRecords", 0), 0);
    ASSERT_TRUE(qb::SetPreferenceIn("warning", "testWithoutRecords", "1"));
    EXPECT_EQ(qb::GetPreferenceIntIn("Warning", "TestWithoutRecords", 0), 1);
    ASSERT_TRUE(qb::SetPreferenceIn("PathUtente", "Func1", "/music"));
    ASSERT_TRUE(qb::SetPreferenceIn("PathUtente", "Func1_Filter", "2"));
    EXPECT_EQ(qb::GetPreferenceIn("PathUtente", "Func1"), "/music");
    EXPECT_EQ(qb::GetPreferenceIn("PathUtente", "Func2", "none"), "none");
    const std::string text = ReadFile(app.path() / "preferences.ini");
    EXPECT_NE(text.find("[warning]\r\ntestWithoutRecords=1\r\n[PathUtente]\r\nFunc1=/music\r\n"
                        "Func1_Filter=2\r\n"),
              std::string::npos);

    ASSERT_TRUE(qb::SetPreference("editImagesApp", std::string(300, 'p')));
    EXPECT_EQ(qb::GetPreference("editImagesApp"), std::string(259, 'p'));
}

TEST(Preferences, AnUnwritableFileKeepsTheValuesForThisRun) {
    qbtest::TempAppFolder app;
    const fs::path other = app.path() / "other";
    fs::create_directories(other / "preferences.ini");  // a folder where the file should be
    qb::SetAppFolder(other.string());
    EXPECT_EQ(qb::ProjectsFolder(), (other / "Projects").string());
    qb::EnsurePreferenceDefaults();
    EXPECT_EQ(qb::GetPreference("projectsPath"), (other / "Projects").string());
    EXPECT_FALSE(qb::GetPreference("editImagesApp").empty());
    EXPECT_FALSE(qb::SetPreferenceIn("test", "value", "1"));
    EXPECT_EQ(qb::GetPreferenceIntIn("test", "value", 0), 1);
    EXPECT_TRUE(fs::is_directory(other / "preferences.ini"));
    // Another application folder forgets them.
    qb::SetAppFolder(app.path().string());
    EXPECT_EQ(qb::GetPreferenceIntIn("test", "value", 0), 0);
}
