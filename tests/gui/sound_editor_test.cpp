// "Sound parameters": the source rules, the library combo, the hidden loop flag, "Import sound"
// with its remembered chooser folder, and "Edit sound".
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "editors/common/sound_editor.h"
#include "model/history.h"
#include "model/item_files.h"
#include "model/layouts/sound.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace L = qb::layout::sound;

namespace {

constexpr std::uint32_t kAudioType = 5;

struct SoundFixture : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Sounds", 6);
    std::int32_t sound = NewItemOfType(project, kAudioType);
    std::string mp3() { return Object(project, sound).record().text(L::kPath, 260); }

    // A file to import, in its own folder.
    fs::path MakeImport(const std::string& folder, const std::string& content) {
        const fs::path dir = app.path() / folder;
        fs::create_directories(dir);
        WriteFile(dir / "chosen.mp3", content);
        return dir / "chosen.mp3";
    }
    ~SoundFixture() override { qb::ui::SetOpenFileDialog({}); }
};

TEST_F(SoundFixture, NewSoundOpensAsUserSoundWithTheLibraryComboDisabled) {
    ASSERT_NE(sound, 0);
    Edit(project, sound, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Sound parameters");
        EXPECT_TRUE(Child<QRadioButton>(d, "userSoundRadioButton")->isChecked());
        EXPECT_FALSE(Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton")->isChecked());
        auto* path = Child<QLineEdit>(d, "pathFileLineEdit");
        EXPECT_EQ(path->text().toStdString(), mp3());
        EXPECT_TRUE(path->isReadOnly());
        EXPECT_TRUE(path->isEnabled());
        auto* library = Child<QComboBox>(d, "librarySoundComboBox");
        EXPECT_FALSE(library->isEnabled());
        EXPECT_EQ(library->currentText(), "User fire");
        ASSERT_EQ(library->count(), 5);
        EXPECT_EQ(library->itemText(4), "Bonus");
        EXPECT_TRUE(Child<QPushButton>(d, "importSoundPushButton")->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(d, "editSoundPushButton")->isEnabled());
        EXPECT_FALSE(Child<QCheckBox>(d, "loopSoundCheckBox")->isVisibleTo(d));
        EXPECT_EQ(Child<QLineEdit>(d, "itemNameLineEdit")->text().toStdString(),
                  qb::FileTitleOfPath(mp3()));
        Press(d, QDialogButtonBox::Cancel);
    });
}

TEST_F(SoundFixture, EmbeddedBonusIsStoredAndSavedAndTheFileStays) {
    int refreshed = 0;
    qb::ui::SetTreeRefresher([&](std::int32_t id, int p) {
        EXPECT_EQ(id, sound);
        EXPECT_EQ(p, project);
        ++refreshed;
    });
    Edit(project, sound, [&](QDialog* d) {
        auto* embedded = Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton");
        embedded->click();
        auto* library = Child<QComboBox>(d, "librarySoundComboBox");
        EXPECT_TRUE(library->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(d, "importSoundPushButton")->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(d, "editSoundPushButton")->isEnabled());
        EXPECT_FALSE(Child<QLineEdit>(d, "pathFileLineEdit")->isEnabled());
        library->setCurrentIndex(4);
        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Boom");
        Press(d, QDialogButtonBox::Ok);
    });
    qb::ui::SetTreeRefresher({});
    qb::ObjectRecord& o = Object(project, sound);
    EXPECT_EQ(o.record().u32(L::kSource), 1u);
    EXPECT_EQ(o.record().i32(L::kLibrarySound), 4);
    EXPECT_EQ(o.sDescrizione, "Boom");
    EXPECT_TRUE(fs::exists(mp3()));
    EXPECT_EQ(SavedRecord(project, sound), o.lpDatiOggetto);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(SoundFixture, CancelStoresNothing) {
    const qb::Bytes before = Object(project, sound).lpDatiOggetto;
    const std::string name = Object(project, sound).sDescrizione;
    Edit(project, sound, [&](QDialog* d) {
        Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton")->click();
        Child<QComboBox>(d, "librarySoundComboBox")->setCurrentIndex(2);
        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Changed");
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, sound).lpDatiOggetto, before);
    EXPECT_EQ(Object(project, sound).sDescrizione, name);
}

TEST_F(SoundFixture, NoLibrarySoundAndTheLoopFlagPassThrough) {
    qb::RecordView r = Object(project, sound).record();
    r.setU32(L::kSource, 1);
    r.setI32(L::kLibrarySound, -1);
    r.setU32(L::kLoop, 1);
    Edit(project, sound, [&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton")->isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "librarySoundComboBox")->currentIndex(), -1);
        EXPECT_TRUE(Child<QCheckBox>(d, "loopSoundCheckBox")->isChecked());
        Press(d, QDialogButtonBox::Ok);
    });
    r = Object(project, sound).record();
    EXPECT_EQ(r.i32(L::kLibrarySound), -1);
    EXPECT_EQ(r.u32(L::kLoop), 1u);
    EXPECT_EQ(r.u32(L::kSource), 1u);

    // An index out of range and an odd source value open with no sound and "Embedded" checked.
    r.setI32(L::kLibrarySound, 5);
    r.setU32(L::kSource, 7);
    Edit(project, sound, [&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton")->isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "librarySoundComboBox")->currentIndex(), -1);
        Child<QRadioButton>(d, "userSoundRadioButton")->click();
        Press(d, QDialogButtonBox::Ok);
    });
    r = Object(project, sound).record();
    EXPECT_EQ(r.i32(L::kLibrarySound), -1);
    EXPECT_EQ(r.u32(L::kSource), 0u);
}

TEST_F(SoundFixture, ImportReplacesTheFileAtOnceAndSurvivesCancel) {
    const fs::path chosen = MakeImport("Music", "ID3 new sound");
    const qb::Bytes before = Object(project, sound).lpDatiOggetto;
    std::vector<qb::ui::OpenFileRequest> asked;
    qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest& request) {
        asked.push_back(request);
        return qb::ui::OpenFileAnswer{QString::fromStdString(chosen.string()), 0};
    });
    Edit(project, sound, [&](QDialog* d) {
        Child<QPushButton>(d, "importSoundPushButton")->click();
        EXPECT_EQ(ReadFile(mp3()), "ID3 new sound");
        EXPECT_EQ(Child<QLineEdit>(d, "pathFileLineEdit")->text().toStdString(), mp3());
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(ReadFile(mp3()), "ID3 new sound");
    EXPECT_EQ(Object(project, sound).lpDatiOggetto, before);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].folder.toStdString(), app.path().string());  // first use: the app folder
    ASSERT_EQ(asked[0].filters.size(), 1u);
    EXPECT_EQ(asked[0].filters[0].name, "MP3 File");
    EXPECT_EQ(asked[0].filters[0].pattern, "*.mp3");
    EXPECT_EQ(asked[0].filterIndex, 0);
}

TEST_F(SoundFixture, TheChooserFolderIsRememberedAcrossARestart) {
    const fs::path chosen = MakeImport("Library of sounds", "first");
    qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest&) {
        return qb::ui::OpenFileAnswer{QString::fromStdString(chosen.string()), 0};
    });
    EXPECT_EQ(qb::ui::ChooseFileWithRememberedFolder(nullptr, 10005, {{"MP3 File", "*.mp3"}}),
              chosen.string());

    // What a restarted program reads: the file on disk.
    const std::string prefs = (app.path() / "preferences.ini").string();
    const std::string folder = chosen.parent_path().string() + "/";
    EXPECT_EQ(qb::ReadProfileString(prefs, "PathUtente", "Func10005"), folder);
    EXPECT_EQ(qb::ReadProfileString(prefs, "PathUtente", "Func10005_Filter"), "1");
    EXPECT_NE(ReadFile(prefs).find("[PathUtente]"), std::string::npos);

    qb::SetAppFolder(app.path().string());
    std::vector<qb::ui::OpenFileRequest> asked;
    qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest& request) {
        asked.push_back(request);
        return qb::ui::OpenFileAnswer{};
    });
    Edit(project, sound, [&](QDialog* d) {
        Child<QPushButton>(d, "importSoundPushButton")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].folder.toStdString(), folder);
    // A cancelled chooser stores nothing and leaves the item's file alone.
    EXPECT_EQ(qb::ReadProfileString(prefs, "PathUtente", "Func10005"), folder);
    EXPECT_EQ(ReadFile(mp3()), ReadFile(app.path() / "test.mp3"));
}

TEST_F(SoundFixture, TheRememberedFilterIsPreselectedAndADamagedOneFallsBack) {
    const fs::path chosen = MakeImport("Two", "x");
    std::vector<qb::ui::OpenFileRequest> asked;
    qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest& request) {
        asked.push_back(request);
        return qb::ui::OpenFileAnswer{QString::fromStdString(chosen.string()), 1};
    });
    const std::vector<qb::ui::FileFilter> filters{{"MP3 File", "*.mp3"}, {"All", "*"}};
    qb::ui::ChooseFileWithRememberedFolder(nullptr, 77, filters);
    EXPECT_EQ(qb::GetPreferenceIn("PathUtente", "Func77_Filter"), "2");
    qb::ui::ChooseFileWithRememberedFolder(nullptr, 77, filters);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].filterIndex, 1);

    for (const char* damaged : {"0", "9", "-3", "abc"}) {
        qb::SetPreferenceIn("PathUtente", "Func78_Filter", damaged);
        qb::SetPreferenceIn("PathUtente", "Func78", "/no/such/folder/");
        qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest& request) {
            EXPECT_EQ(request.filterIndex, 0) << damaged;
            EXPECT_EQ(request.folder.toStdString(), app.path().string()) << damaged;
            return qb::ui::OpenFileAnswer{};
        });
        EXPECT_EQ(qb::ui::ChooseFileWithRememberedFolder(nullptr, 78, filters), "");
    }
}

TEST_F(SoundFixture, TheRealChooserStartsInTheRememberedFolderWithTheMp3Filter) {
    const fs::path chosen = MakeImport("Real dialog", "picked for real");
    qb::SetPreferenceIn("PathUtente", "Func10005", chosen.parent_path().string() + "/");
    std::string answer;
    WithModalDialog(
        [&] {
            answer = qb::ui::ChooseFileWithRememberedFolder(nullptr, 10005,
                                                            {{"MP3 File", "*.mp3"}});
        },
        [&](QDialog* d) {
            auto* chooser = qobject_cast<QFileDialog*>(d);
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(fs::path(chooser->directory().absolutePath().toStdString()),
                      chosen.parent_path());
            EXPECT_EQ(chooser->nameFilters(), QStringList{"MP3 File (*.mp3)"});
            EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFile);
            chooser->selectFile(QString::fromStdString(chosen.string()));
            d->accept();  // QFileDialog::accept, through the public QDialog slot
        });
    EXPECT_EQ(fs::path(answer), chosen);
    EXPECT_EQ(qb::GetPreferenceIn("PathUtente", "Func10005_Filter"), "1");
}

TEST_F(SoundFixture, ImportingTheItemsOwnFileOrAMissingFileKeepsItWhole) {
    const std::string original = ReadFile(mp3());
    ASSERT_FALSE(original.empty());
    std::string answer = mp3();
    qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest&) {
        return qb::ui::OpenFileAnswer{QString::fromStdString(answer), 0};
    });
    Edit(project, sound, [&](QDialog* d) {
        Child<QPushButton>(d, "importSoundPushButton")->click();
        EXPECT_EQ(ReadFile(mp3()), original);
        answer = (app.path() / "gone.mp3").string();
        Child<QPushButton>(d, "importSoundPushButton")->click();
        EXPECT_EQ(ReadFile(mp3()), original);
        Press(d, QDialogButtonBox::Cancel);
    });
    // No temporary file is left beside the sound.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(mp3()).parent_path()))
        files += entry.path().filename() != qb::kHistoryFolderName;
    EXPECT_EQ(files, 2);  // project.ini and the MP3 (and the project's history)
}

TEST(ReplaceFileWithCopy, RefusesWhatCannotBeCopiedAndLeavesTheTarget) {
    TempAppFolder app;
    const fs::path target = app.path() / "target.mp3";
    WriteFile(target, "old");
    EXPECT_FALSE(qb::ReplaceFileWithCopy((app.path() / "missing").string(), target.string()));
    EXPECT_FALSE(qb::ReplaceFileWithCopy(app.path().string(), target.string()));
    EXPECT_FALSE(qb::ReplaceFileWithCopy("", target.string()));
    EXPECT_EQ(ReadFile(target), "old");
    WriteFile(app.path() / "new.mp3", "new content");
    EXPECT_FALSE(qb::ReplaceFileWithCopy((app.path() / "new.mp3").string(),
                                             (app.path() / "nofolder" / "x.mp3").string()));
    EXPECT_TRUE(qb::ReplaceFileWithCopy((app.path() / "new.mp3").string(), target.string()));
    EXPECT_EQ(ReadFile(target), "new content");
    // A target that did not exist yet is created.
    EXPECT_TRUE(qb::ReplaceFileWithCopy(target.string(), (app.path() / "fresh.mp3").string()));
    EXPECT_EQ(ReadFile(app.path() / "fresh.mp3"), "new content");
}

TEST_F(SoundFixture, EditSoundStartsTheSoundEditorOnTheFile) {
    qb::SetPreference("editSoundsApp", "/usr/bin/my sound editor");
    Edit(project, sound, [&](QDialog* d) {
        Child<QPushButton>(d, "editSoundPushButton")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    ASSERT_EQ(app.desktop.started.size(), 1u);
    EXPECT_EQ(app.desktop.started[0], (std::vector<std::string>{"/usr/bin/my sound editor", mp3()}));
}

TEST_F(SoundFixture, AShortRecordOpensAndStoresWithoutWritingPastIt) {
    Object(project, sound).lpDatiOggetto.resize(262);
    Edit(project, sound, [&](QDialog* d) {
        Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton")->click();
        Child<QComboBox>(d, "librarySoundComboBox")->setCurrentIndex(3);
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Object(project, sound).lpDatiOggetto.size(), 262u);
}

} // namespace
