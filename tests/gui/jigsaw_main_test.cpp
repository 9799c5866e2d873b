// The jigsaw "Main parameters": defaults of a new project, presets, resource location, the
// combos, the five sounds, the custom-font flag written at once, and a jigsaw project made in
// the editors compiled into a game.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "build/build.h"
#include "build/gamefile.h"
#include "editors/jigsaw/main_parameters.h"
#include "model/layouts/jigsaw_main.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace J = qb::layout::jigsaw_main;

namespace {

struct JigsawFixture : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Puzzle one", 6);
    std::int32_t main = ObjectOfType(project, 600);
    qb::RecordView record() { return Object(project, main).record(); }
};

TEST_F(JigsawFixture, ANewProjectOpensWithItsDefaults) {
    ASSERT_NE(main, 0);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Main parameters");
        EXPECT_EQ(Child<QLineEdit>(d, "typeOfProjectLineEdit")->text(), "Jigsaw game");
        EXPECT_TRUE(Child<QLineEdit>(d, "typeOfProjectLineEdit")->isReadOnly());
        EXPECT_EQ(Child<QLineEdit>(d, "projectNameLineEdit")->text(), "Puzzle one");
        EXPECT_TRUE(Child<QRadioButton>(d, "preset640x480RadioButton")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(d, "embeddedRadioButton")->isChecked());
        EXPECT_FALSE(Child<QLineEdit>(d, "resourcePathLineEdit")->isEnabled());
        const std::pair<const char*, const char*> numbers[] = {
            {"puzzleXLineEdit", "96"},       {"puzzleYLineEdit", "112"},
            {"puzzleWidthLineEdit", "448"},  {"puzzleHeightLineEdit", "256"},
            {"piecesAcrossLineEdit", "7"},   {"piecesDownLineEdit", "4"},
            {"timeXLineEdit", "280"},        {"timeYLineEdit", "32"},
            {"gameAreaWidthLineEdit", "640"}, {"gameAreaHeightLineEdit", "480"}};
        for (const auto& [name, value] : numbers)
            EXPECT_EQ(Child<QLineEdit>(d, name)->text(), value) << name;
        EXPECT_TRUE(Child<QCheckBox>(d, "useCustomFontCheckBox")->isChecked());
        EXPECT_FALSE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        for (const char* hidden : {"samePathRadioButton", "freeGameAreaGroupBox",
                                   "gameAreaWidthLineEdit", "freeSizeCheckBox"})
            EXPECT_FALSE(Child<QWidget>(d, hidden)->isVisibleTo(d)) << hidden;
        for (const char* sound : {"backgroundSoundComboBox", "pickSoundComboBox",
                                  "placeSoundComboBox", "startSoundComboBox",
                                  "finishSoundComboBox"})
            EXPECT_FALSE(Child<QComboBox>(d, sound)->isEnabled()) << sound;
        Press(d, QDialogButtonBox::Cancel);
    });
}

TEST_F(JigsawFixture, APresetSetsTheGameAreaAndOkSavesWithoutRebuildingTheTree) {
    int refreshed = 0;
    qb::ui::SetTreeRefresher([&](std::int32_t, int) { ++refreshed; });
    Edit(project, main, [&](QDialog* d) {
        Child<QRadioButton>(d, "preset550x400RadioButton")->click();
        EXPECT_EQ(Child<QLineEdit>(d, "gameAreaWidthLineEdit")->text(), "550");
        EXPECT_EQ(Child<QLineEdit>(d, "gameAreaHeightLineEdit")->text(), "400");
        Press(d, QDialogButtonBox::Ok);
    });
    qb::ui::SetTreeRefresher({});
    EXPECT_EQ(record().i32(J::kGameAreaWidth), 550);
    EXPECT_EQ(record().i32(J::kGameAreaHeight), 400);
    EXPECT_EQ(record().u32(J::kGameAreaPreset), 1u);
    EXPECT_EQ(refreshed, 0);
    EXPECT_EQ(SavedRecord(project, main), Object(project, main).lpDatiOggetto);

    const std::pair<const char*, std::array<std::uint32_t, 3>> presets[] = {
        {"preset600x400RadioButton", {600, 400, 2}},
        {"preset800x600RadioButton", {800, 600, 4}},
        {"preset640x480RadioButton", {640, 480, 3}}};
    for (const auto& [name, expect] : presets) {
        Edit(project, main, [&](QDialog* d) {
            Child<QRadioButton>(d, name)->click();
            Press(d, QDialogButtonBox::Ok);
        });
        EXPECT_EQ(record().u32(J::kGameAreaWidth), expect[0]) << name;
        EXPECT_EQ(record().u32(J::kGameAreaHeight), expect[1]) << name;
        EXPECT_EQ(record().u32(J::kGameAreaPreset), expect[2]) << name;
    }
}

TEST_F(JigsawFixture, FreeSizeAndUnknownPresetsAreHandled) {
    // The free size checks its hidden box; clicking it clears the presets.
    record().setU32(J::kGameAreaPreset, 0);
    record().setI32(J::kGameAreaWidth, 700);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "freeSizeCheckBox")->isChecked());
        EXPECT_FALSE(Child<QRadioButton>(d, "preset640x480RadioButton")->isChecked());
        Child<QRadioButton>(d, "preset800x600RadioButton")->click();
        EXPECT_FALSE(Child<QCheckBox>(d, "freeSizeCheckBox")->isChecked());
        Child<QCheckBox>(d, "freeSizeCheckBox")->click();
        for (const char* p : {"preset550x400RadioButton", "preset600x400RadioButton",
                              "preset640x480RadioButton", "preset800x600RadioButton"})
            EXPECT_FALSE(Child<QRadioButton>(d, p)->isChecked()) << p;
        Child<QLineEdit>(d, "gameAreaWidthLineEdit")->setText("1024");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(J::kGameAreaPreset), 0u);
    EXPECT_EQ(record().i32(J::kGameAreaWidth), 1024);
    EXPECT_EQ(record().i32(J::kGameAreaHeight), 600);

    // A preset no button has: nothing checked, the value kept.
    record().setU32(J::kGameAreaPreset, 9);
    Edit(project, main, [&](QDialog* d) { Press(d, QDialogButtonBox::Ok); });
    EXPECT_EQ(record().u32(J::kGameAreaPreset), 9u);
}

TEST_F(JigsawFixture, ResourceLocationAndItsPath) {
    Edit(project, main, [&](QDialog* d) {
        auto* path = Child<QLineEdit>(d, "resourcePathLineEdit");
        Child<QRadioButton>(d, "specificPathRadioButton")->click();
        EXPECT_TRUE(path->isEnabled());
        path->setText("http://games.example.org/puzzle");
        Child<QLineEdit>(d, "descriptionWhileLoadingLineEdit")->setText("Loading...");
        Child<QLineEdit>(d, "commentsLineEdit")->setText(QString(300, QLatin1Char('c')));
        Press(d, QDialogButtonBox::Ok);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.u32(J::kResourceLocation), 1u);
    EXPECT_EQ(r.text(J::kResourcePath, 260), "http://games.example.org/puzzle");
    EXPECT_EQ(r.text(J::kLoadingDescription, 260), "Loading...");
    EXPECT_EQ(r.text(J::kComments, 260), std::string(259, 'c'));
    EXPECT_EQ(r.i32(J::kPuzzleX), 96);  // the field behind the comments is untouched

    // Location 0 checks the hidden button and keeps the path box disabled; OK keeps 0.
    record().setU32(J::kResourceLocation, 0);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "samePathRadioButton")->isChecked());
        EXPECT_FALSE(Child<QLineEdit>(d, "resourcePathLineEdit")->isEnabled());
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(J::kResourceLocation), 0u);

    Edit(project, main, [&](QDialog* d) {
        Child<QRadioButton>(d, "embeddedRadioButton")->click();
        EXPECT_FALSE(Child<QLineEdit>(d, "resourcePathLineEdit")->isEnabled());
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(J::kResourceLocation), 2u);
}

TEST_F(JigsawFixture, TheProjectNameGoesIntoTheProjectFile) {
    Edit(project, main, [&](QDialog* d) {
        Child<QLineEdit>(d, "projectNameLineEdit")->setText("Renamed puzzle");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(qb::ProjectAt(project)->sNomeProgetto, "Renamed puzzle");
    EXPECT_EQ(SavedProject(project).sNomeProgetto, "Renamed puzzle");
}

TEST_F(JigsawFixture, CombosStoreLowSixteenBitsAndAGoneItemAsNone) {
    const std::int32_t bg1 = NewItemOfType(project, 4);
    const std::int32_t bg2 = NewItemOfType(project, 4);
    const std::int32_t splash = NewItemOfType(project, 13);
    const std::int32_t font = NewItemOfType(project, 2);
    ASSERT_NE(font, 0);
    Edit(project, main, [&](QDialog* d) {
        auto* custom = Child<QCheckBox>(d, "useCustomFontCheckBox");
        custom->click();
        EXPECT_TRUE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        Child<QComboBox>(d, "defaultFontComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "splashTitleComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "backgroundWithJigsawComboBox")->setCurrentIndex(1);
        Child<QComboBox>(d, "backgroundWithoutJigsawComboBox")->setCurrentIndex(0);
        Press(d, QDialogButtonBox::Ok);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.u32(J::kDefaultFont), static_cast<std::uint32_t>(font));
    EXPECT_EQ(r.u32(J::kUseCustomFont), 0u);
    EXPECT_EQ(r.u32(J::kSplashStart), static_cast<std::uint32_t>(splash));
    EXPECT_EQ(r.u32(J::kBackgroundWithJigsaw), static_cast<std::uint32_t>(bg2));
    EXPECT_EQ(r.u32(J::kBackgroundWithoutJigsaw), static_cast<std::uint32_t>(bg1));

    qb::DeleteObject(project, bg2);
    Edit(project, main, [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "backgroundWithJigsawComboBox")->currentIndex(), -1);
        EXPECT_EQ(Child<QComboBox>(d, "backgroundWithoutJigsawComboBox")->currentIndex(), 0);
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(J::kBackgroundWithJigsaw), 0u);
    EXPECT_EQ(record().u32(J::kBackgroundWithoutJigsaw), static_cast<std::uint32_t>(bg1));
}

TEST_F(JigsawFixture, UseCustomFontIsWrittenAndSavedAtOnceAndSurvivesCancel) {
    const qb::Bytes before = Object(project, main).lpDatiOggetto;
    Edit(project, main, [&](QDialog* d) {
        Child<QCheckBox>(d, "useCustomFontCheckBox")->click();
        EXPECT_EQ(record().u32(J::kUseCustomFont), 0u);
        Child<QLineEdit>(d, "puzzleXLineEdit")->setText("1");
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(record().u32(J::kUseCustomFont), 0u);
    EXPECT_EQ(record().i32(J::kPuzzleX), 96);
    EXPECT_EQ(SavedRecord(project, main), Object(project, main).lpDatiOggetto);
    qb::Bytes expected = before;
    qb::RecordView(expected).setU32(J::kUseCustomFont, 0);
    EXPECT_EQ(Object(project, main).lpDatiOggetto, expected);

    Edit(project, main, [&](QDialog* d) {
        EXPECT_TRUE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        Child<QCheckBox>(d, "useCustomFontCheckBox")->click();
        EXPECT_FALSE(Child<QComboBox>(d, "defaultFontComboBox")->isEnabled());
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, main).lpDatiOggetto, before);
}

TEST_F(JigsawFixture, CancelStoresNothingElse) {
    const qb::Bytes before = Object(project, main).lpDatiOggetto;
    const std::string iniBefore =
        ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini");
    Edit(project, main, [&](QDialog* d) {
        Child<QRadioButton>(d, "preset550x400RadioButton")->click();
        Child<QRadioButton>(d, "specificPathRadioButton")->click();
        Child<QLineEdit>(d, "projectNameLineEdit")->setText("Not this");
        Child<QLineEdit>(d, "piecesAcrossLineEdit")->setText("12");
        Child<QCheckBox>(d, "enablePickSoundCheckBox")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, main).lpDatiOggetto, before);
    EXPECT_EQ(qb::ProjectAt(project)->sNomeProgetto, "Puzzle one");
    EXPECT_EQ(ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini"), iniBefore);
}

TEST_F(JigsawFixture, NumbersAndTheFiveSounds) {
    const std::int32_t a = NewItemOfType(project, 5);
    const std::int32_t b = NewItemOfType(project, 5);
    ASSERT_NE(b, 0);
    // A pick sound that is switched off keeps its sound.
    record().setU32(J::kPickSound + 4, static_cast<std::uint32_t>(b));
    Edit(project, main, [&](QDialog* d) {
        const std::pair<const char*, const char*> typed[] = {
            {"puzzleXLineEdit", " -12abc"}, {"puzzleYLineEdit", ""},
            {"puzzleWidthLineEdit", "+500"}, {"puzzleHeightLineEdit", "300"},
            {"piecesAcrossLineEdit", "10"},  {"piecesDownLineEdit", "5"},
            {"timeXLineEdit", "8"},          {"timeYLineEdit", "-9"}};
        for (const auto& [name, text] : typed) Child<QLineEdit>(d, name)->setText(text);
        EXPECT_EQ(Child<QComboBox>(d, "pickSoundComboBox")->currentIndex(), 1);
        Child<QCheckBox>(d, "enableBackgroundSoundCheckBox")->click();
        EXPECT_TRUE(Child<QComboBox>(d, "backgroundSoundComboBox")->isEnabled());
        Child<QComboBox>(d, "backgroundSoundComboBox")->setCurrentIndex(1);
        Child<QCheckBox>(d, "enableFinishSoundCheckBox")->click();
        Child<QComboBox>(d, "finishSoundComboBox")->setCurrentIndex(0);
        Child<QCheckBox>(d, "enableStartSoundCheckBox")->click();  // on, with no sound chosen
        Press(d, QDialogButtonBox::Ok);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.i32(J::kPuzzleX), -12);
    EXPECT_EQ(r.i32(J::kPuzzleY), 0);
    EXPECT_EQ(r.i32(J::kPuzzleWidth), 500);
    EXPECT_EQ(r.i32(J::kPuzzleHeight), 300);
    EXPECT_EQ(r.i32(J::kPiecesAcross), 10);
    EXPECT_EQ(r.i32(J::kPiecesDown), 5);
    EXPECT_EQ(r.i32(J::kTimeX), 8);
    EXPECT_EQ(r.i32(J::kTimeY), -9);
    EXPECT_EQ(r.u32(J::kBackgroundSound), 1u);
    EXPECT_EQ(r.u32(J::kBackgroundSound + 4), static_cast<std::uint32_t>(b));
    EXPECT_EQ(r.u32(J::kPickSound), 0u);
    EXPECT_EQ(r.u32(J::kPickSound + 4), static_cast<std::uint32_t>(b));
    EXPECT_EQ(r.u32(J::kPlaceSound), 0u);
    EXPECT_EQ(r.u32(J::kPlaceSound + 4), 0u);
    EXPECT_EQ(r.u32(J::kStartSound), 1u);
    EXPECT_EQ(r.u32(J::kStartSound + 4), 0u);
    EXPECT_EQ(r.u32(J::kFinishSound), 1u);
    EXPECT_EQ(r.u32(J::kFinishSound + 4), static_cast<std::uint32_t>(a));
}

TEST_F(JigsawFixture, OpenProjectFolderOpensTheFolder) {
    Edit(project, main, [&](QDialog* d) {
        Child<QPushButton>(d, "openProjectFolderPushButton")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    ASSERT_EQ(app.desktop.opened.size(), 1u);
    EXPECT_EQ(fs::path(app.desktop.opened[0]), fs::path(qb::ProjectAt(project)->sPathProgetto));
}

TEST_F(JigsawFixture, AShortRecordNeverWritesPastItsEnd) {
    Object(project, main).lpDatiOggetto.resize(300);
    Edit(project, main, [&](QDialog* d) {
        Child<QRadioButton>(d, "preset800x600RadioButton")->click();
        Child<QCheckBox>(d, "useCustomFontCheckBox")->click();
        Child<QCheckBox>(d, "enableFinishSoundCheckBox")->click();
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Object(project, main).lpDatiOggetto.size(), 300u);
    EXPECT_EQ(record().i32(J::kGameAreaWidth), 800);
}

// A jigsaw made entirely in the editors, compiled into Release/Game.swf.
TEST_F(JigsawFixture, AJigsawMadeInTheEditorsCompilesIntoAGame) {
    const std::int32_t withJigsaw = NewItemOfType(project, 4);
    const std::int32_t withoutJigsaw = NewItemOfType(project, 4);
    const std::int32_t splash = NewItemOfType(project, 13);
    const std::int32_t font = NewItemOfType(project, 2);
    const std::int32_t music = NewItemOfType(project, 5);
    const std::int32_t click = NewItemOfType(project, 5);
    ASSERT_NE(click, 0);
    Edit(project, splash, [&](QDialog* d) {
        Child<QCheckBox>(d, "enableSoundCheckBox")->click();
        Child<QComboBox>(d, "startingSoundComboBox")->setCurrentIndex(0);
        Press(d, QDialogButtonBox::Ok);
    });
    Edit(project, main, [&](QDialog* d) {
        Child<QRadioButton>(d, "preset800x600RadioButton")->click();
        Child<QCheckBox>(d, "useCustomFontCheckBox")->click();
        Child<QComboBox>(d, "defaultFontComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "splashTitleComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "backgroundWithJigsawComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "backgroundWithoutJigsawComboBox")->setCurrentIndex(1);
        Child<QCheckBox>(d, "enableBackgroundSoundCheckBox")->click();
        Child<QComboBox>(d, "backgroundSoundComboBox")->setCurrentIndex(0);
        Child<QCheckBox>(d, "enablePlaceSoundCheckBox")->click();
        Child<QComboBox>(d, "placeSoundComboBox")->setCurrentIndex(1);
        Child<QLineEdit>(d, "descriptionWhileLoadingLineEdit")->setText("Get ready");
        Press(d, QDialogButtonBox::Ok);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.u32(J::kBackgroundWithJigsaw), static_cast<std::uint32_t>(withJigsaw));
    EXPECT_EQ(r.u32(J::kBackgroundWithoutJigsaw), static_cast<std::uint32_t>(withoutJigsaw));
    EXPECT_EQ(r.u32(J::kDefaultFont), static_cast<std::uint32_t>(font));
    EXPECT_EQ(r.u32(J::kBackgroundSound + 4), static_cast<std::uint32_t>(music));
    EXPECT_EQ(r.u32(J::kPlaceSound + 4), static_cast<std::uint32_t>(click));

    ASSERT_TRUE(qb::BuildGame(project, qb::BuildMode::Compile)) << (app.messages.texts.empty()
                                                                     ? ""
                                                                     : app.messages.texts.back());
    const fs::path folder = qb::ProjectAt(project)->sPathProgetto;
    const fs::path game = folder / "Release" / "Game.swf";
    ASSERT_TRUE(fs::exists(game));
    qb::GameFileContents contents;
    std::string error;
    ASSERT_TRUE(qb::ReadGameFile(game.string(), contents, &error)) << error;
    // The appended copy is the project file as saved, record and build keys included.
    EXPECT_EQ(contents.projectText, ReadFile(folder / "project.ini"));
    EXPECT_NE(contents.projectText.find(qb::EncodeHex(Object(project, main).lpDatiOggetto)
                                            .substr(0, qb::kHexPieceChars)),
              std::string::npos);
    EXPECT_NE(contents.projectText.find("dimX=800"), std::string::npos);
    EXPECT_NE(contents.projectText.find("descriptionWhileLoading=Get ready"), std::string::npos);
    // Embedded resources: the two backgrounds, the splash and the font.
    EXPECT_EQ(contents.pictures.size(), 4u);
}

} // namespace
