#include "model/folders.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "model/preferences.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using qbtest::ReadFile;
using qbtest::WriteFile;

TEST(Folders, UniquePathsSkipTheNumberOne) {
    qbtest::TempAppFolder app;
    const std::string f = (app.path() / "F").string();
    fs::create_directories(f);
    EXPECT_EQ(qb::MakeUniquePath(f, "My Game", ".png"), f + "/My_Game.png");
    WriteFile(f + "/My_Game.png", "x");
    EXPECT_EQ(qb::MakeUniquePath(f, "My Game", ".png"), f + "/My_Game_2.png");
    WriteFile(f + "/My_Game_2.png", "x");
    EXPECT_EQ(qb::MakeUniquePath(f + "/", "My Game", ".png"), f + "/My_Game_3.png");
    // Folders are named the same way, and a dangling link counts as taken.
    fs::create_directory(f + "/Tab_name");
    EXPECT_EQ(qb::MakeUniquePath(f, "Tab\tname", ""), f + "/Tab_name_2");
    fs::create_symlink(f + "/nowhere", f + "/Link");
    EXPECT_EQ(qb::MakeUniquePath(f, "Link", ""), f + "/Link_2");
    // No folder, or a path that would not fit a path field.
    EXPECT_EQ(qb::MakeUniquePath("", "x", ".png"), "");
    EXPECT_EQ(qb::MakeUniquePath(f, std::string(300, 'n'), ".png"), "");
    const std::string fits(259 - f.size() - 1 - 4, 'n');
    EXPECT_EQ(qb::MakeUniquePath(f, fits, ".png").size(), 259u);
    WriteFile(f + "/" + fits + ".png", "x");
    EXPECT_EQ(qb::MakeUniquePath(f, fits, ".png"), "");  // "_2" would not fit
}

TEST(Folders, NamesAreCleanedAndChecked) {
    std::string name = "CopyOf_x:y z";
    qb::SanitizeFileName(name);
    EXPECT_EQ(name, "CopyOf_x_y_z");
    std::string all = "a\\b/c:d*e?f\"g<h>i|j k\tl.m";
    qb::SanitizeFileName(all);
    EXPECT_EQ(all, "a_b_c_d_e_f_g_h_i_j_k_l.m");

    EXPECT_TRUE(qb::IsValidProjectName("My game (2)"));
    EXPECT_FALSE(qb::IsValidProjectName(""));
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        EXPECT_FALSE(qb::IsValidProjectName(bad)) << bad;
}

TEST(Folders, ListProjectsNamesFoldersWithAProjectName) {
    qbtest::TempAppFolder app;
    const fs::path p = app.projects();
    fs::create_directories(p / "b_second");
    WriteFile(p / "b_second" / "project.ini", "[main]\r\nsNomeProgetto=Second\r\n");
    fs::create_directories(p / "a_first");
    WriteFile(p / "a_first" / "project.ini", "[MAIN]\nsnomeprogetto = \"First one\"\n");
    fs::create_directories(p / "c_noini");
    fs::create_directories(p / "d_emptyname");
    WriteFile(p / "d_emptyname" / "project.ini", "[main]\r\nsNomeProgetto=\r\n");
    WriteFile(p / "e_file", "[main]\r\nsNomeProgetto=NotAFolder\r\n");
    fs::create_directories(p / "f_long");
    WriteFile(p / "f_long" / "project.ini", "[main]\r\nsNomeProgetto=" + std::string(300, 'L') + "\r\n");

    const auto list = qb::ListProjects();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].folderName, "a_first");
    EXPECT_EQ(list[0].projectName, "First one");
    EXPECT_EQ(list[1].folderName, "b_second");
    EXPECT_EQ(list[1].projectName, "Second");
    EXPECT_EQ(list[2].folderName, "f_long");
    EXPECT_EQ(list[2].projectName, std::string(254, 'L'));

    qb::SetPreference("projectsPath", (app.path() / "missing").string());
    EXPECT_TRUE(qb::ListProjects().empty());
}

TEST(Folders, CopyByPatternCopiesMatchingFilesOnly) {
    qbtest::TempAppFolder app;
    const fs::path src = app.path() / "src", dst = app.path() / "dst";
    fs::create_directories(src / "Release" / "x.png");
    fs::create_directories(dst);
    WriteFile(src / "a.png", "A");
    WriteFile(src / "B.PNG", "B");
    WriteFile(src / "c.png.bak", "C");
    WriteFile(src / "project.ini", "I");
    WriteFile(src / "s1.mp3", "S");
    WriteFile(dst / "a.png", "old");
    qb::CopyFilesByPattern(src.string(), dst.string(), "*.png");
    EXPECT_EQ(ReadFile(dst / "a.png"), "A");
    EXPECT_EQ(ReadFile(dst / "B.PNG"), "B");
    EXPECT_FALSE(fs::exists(dst / "c.png.bak"));
    EXPECT_FALSE(fs::exists(dst / "project.ini"));
    EXPECT_FALSE(fs::exists(dst / "Release"));
    qb::CopyFilesByPattern(src.string(), dst.string(), "s?.MP3");
    EXPECT_EQ(ReadFile(dst / "s1.mp3"), "S");
    qb::CopyFilesByPattern((app.path() / "none").string(), dst.string(), "*.*");
    qb::CopyFilesByPattern(src.string(), dst.string(), "*.*");
    EXPECT_EQ(ReadFile(dst / "project.ini"), "I");
    EXPECT_FALSE(fs::exists(dst / "Release"));
    // Onto itself: nothing is lost.
    qb::CopyFilesByPattern(src.string(), src.string(), "*.png");
    EXPECT_EQ(ReadFile(src / "a.png"), "A");
    // A pattern that would take exponential time with naive back-tracking.
    WriteFile(src / (std::string(60, 'a') + ".txt"), "T");
    qb::CopyFilesByPattern(src.string(), dst.string(), "*a*a*a*a*a*a*a*a*a*a*a*b");
    EXPECT_FALSE(fs::exists(dst / (std::string(60, 'a') + ".txt")));
    qb::CopyFilesByPattern(src.string(), dst.string(), "*a*a*a*a*a*a*a*a*a*a*a*.t?t");
    EXPECT_TRUE(fs::exists(dst / (std::string(60, 'a') + ".txt")));
}

TEST(Folders, DeleteAllFilesKeepsSubFolders) {
    qbtest::TempAppFolder app;
    const fs::path d = app.path() / "RemoteData";
    fs::create_directories(d / "sub");
    WriteFile(d / "a.png", "A");
    WriteFile(d / "b.mp3", "B");
    WriteFile(d / "sub" / "kept.png", "K");
    fs::create_directory_symlink(d / "sub", d / "linked");
    qb::DeleteAllFiles(d.string());
    EXPECT_FALSE(fs::exists(d / "a.png"));
    EXPECT_FALSE(fs::exists(d / "b.mp3"));
    EXPECT_EQ(ReadFile(d / "sub" / "kept.png"), "K");
    EXPECT_TRUE(fs::exists(d / "linked"));
    qb::DeleteAllFiles((app.path() / "none").string());
}

TEST(Folders, PathPieces) {
    EXPECT_EQ(qb::FileNameOfPath("D:\\old\\place\\Sprites_2.png"), "Sprites_2.png");
    EXPECT_EQ(qb::FileNameOfPath("/home/u/a.b/c.png"), "c.png");
    EXPECT_EQ(qb::FileNameOfPath("mixed/sep\\x.mp3"), "x.mp3");
    EXPECT_EQ(qb::FileNameOfPath("plain"), "plain");
    EXPECT_EQ(qb::FileNameOfPath("dir/"), "");
    EXPECT_EQ(qb::FileTitleOfPath("D:\\p\\Sprites_2.png"), "Sprites_2");
    EXPECT_EQ(qb::FileTitleOfPath("/p/a.b.c"), "a.b");
    EXPECT_EQ(qb::FileTitleOfPath("/p.d/noext"), "noext");
    EXPECT_EQ(qb::FileTitleOfPath("/p/.hidden"), ".hidden");
    EXPECT_EQ(qb::JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(qb::JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(qb::JoinPath("", "b"), "b");

    qb::Bytes record(268, 0);
    qb::RecordView(record).setText(0, 260, "D:\\old\\place\\Sprites_2.png");
    record[267] = 0x5a;
    ASSERT_TRUE(qb::RebasePath(record, "/F"));
    EXPECT_EQ(qb::RecordView(record).text(0, 260), "/F/Sprites_2.png");
    EXPECT_EQ(record[259], 0);
    EXPECT_EQ(record[267], 0x5a);
    qb::Bytes shortRecord(100, 'x');
    EXPECT_FALSE(qb::RebasePath(shortRecord, "/F"));
    EXPECT_EQ(shortRecord, qb::Bytes(100, 'x'));
    qb::Bytes dots(260, 0);
    qb::RecordView(dots).setText(0, 260, "/somewhere/..");
    ASSERT_TRUE(qb::RebasePath(dots, "/F"));
    EXPECT_EQ(qb::RecordView(dots).text(0, 260), "");
    qb::Bytes tooLong(260, 0);
    qb::RecordView(tooLong).setText(0, 260, "C:\\" + std::string(250, 'n'));
    const qb::Bytes before = tooLong;
    EXPECT_FALSE(qb::RebasePath(tooLong, "/" + std::string(10, 'f')));
    EXPECT_EQ(tooLong, before);
}
