// Hearing a sound before choosing it: the "Play" button of "Sound parameters" and the one beside
// an optional-sound picker. The default sound (made by tools/make_assets) plays to its end on
// whatever audio output there is, none included; missing, empty and damaged files give a message
// in the dialog; closing the dialog stops the sound; no record changes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMediaPlayer>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <filesystem>
#include <gtest/gtest.h>

#include "model/catalogue.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/sound.h"
#include "support/editor_fixture.h"
#include "toolkit/sound_player.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace L = qb::layout::sound;
namespace X = qb::layout::explosion;

namespace {

constexpr std::uint32_t kAudioType = 5;
constexpr std::uint32_t kExplosionType = 12;
// Generous: the first use of the media backend scans its plug-ins, and sanitizer builds are slow.
constexpr int kPlayTimeoutMs = 60000;

std::string S(const QString& s) { return s.toStdString(); }

struct SoundPlayerTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Sounds", qb::game::ShootEmUp);
    std::string mp3(std::int32_t id) { return Object(project, id).record().text(L::kPath, 260); }
};

// Presses Play and waits until the sound has ended, however it ends; answers the message shown
// (empty when it played through).
std::string PlayToEnd(qb::ui::SoundPlayer* player) {
    QSignalSpy finished(player, &qb::ui::SoundPlayer::finished);
    player->button()->click();
    if (finished.isEmpty()) {
        EXPECT_TRUE(player->isPlaying());
        EXPECT_EQ(S(player->button()->text()), "Stop");
        EXPECT_TRUE(finished.wait(kPlayTimeoutMs)) << "the sound never ended";
    }
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(S(player->button()->text()), "Play");
    return player->message()->isVisibleTo(player) ? S(player->message()->text()) : std::string();
}

TEST_F(SoundPlayerTest, SoundParametersPlaysTheFileOrTheLibrarySoundAndReportsBadFiles) {
    const std::int32_t sound = NewItemOfType(project, kAudioType);
    ASSERT_NE(sound, 0);
    const qb::Bytes before = Object(project, sound).lpDatiOggetto;
    const fs::path file = mp3(sound);
    const std::string good = ReadFile(file);
    ASSERT_GT(good.size(), 1000u);

    Edit(project, sound, [&](QDialog* d) {
        auto* player = Child<qb::ui::SoundPlayer>(d, "soundSoundPlayer");
        ASSERT_TRUE(player);
        EXPECT_EQ(player->button()->objectName(), "soundPlayPushButton");
        EXPECT_TRUE(player->button()->isEnabled());

        // The item's own MP3, a copy of the default sound, plays to its end.
        EXPECT_EQ(PlayToEnd(player), "");
        // And again: the player starts over for every press.
        EXPECT_EQ(PlayToEnd(player), "");

        WriteFile(file, "");
        EXPECT_EQ(PlayToEnd(player), "Sound file is empty: " + file.filename().string());
        // Random-looking bytes, then the real sound's header with its frames garbled.
        std::string noise(6000, '\0');
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919u) >> 3);
        WriteFile(file, noise);
        EXPECT_EQ(PlayToEnd(player), "Cannot play " + file.filename().string() +
                                         ": damaged or not an MP3 file");
        fs::remove(file);
        EXPECT_EQ(PlayToEnd(player), "Sound file not found: " + file.filename().string());
        // A good file again clears the message.
        WriteFile(file, good);
        EXPECT_EQ(PlayToEnd(player), "");

        // The library source plays the library sound's file from the application folder, when
        // it is there.
        Child<QRadioButton>(d, "embeddedLibrarySoundRadioButton")->click();
        auto* library = Child<QComboBox>(d, "librarySoundComboBox");
        library->setCurrentIndex(4);
        EXPECT_EQ(PlayToEnd(player), "\"Bonus\" is heard only in the game");
        WriteFile(app.path() / "Bonus.mp3", good);
        EXPECT_EQ(PlayToEnd(player), "");
        library->setCurrentIndex(-1);
        EXPECT_EQ(PlayToEnd(player), "No library sound is chosen");
        Cancel(d);
    });
    // Playing changed nothing, neither in memory nor on disk.
    EXPECT_EQ(Object(project, sound).lpDatiOggetto, before);
    EXPECT_EQ(SavedRecord(project, sound), before);
    EXPECT_EQ(ReadFile(file), good);
}

TEST_F(SoundPlayerTest, OptionalSoundPickerPlaysTheChosenItemAndStopsWhenTheDialogCloses) {
    const std::int32_t chime = NewItemOfType(project, kAudioType, "Chime");
    const std::int32_t broken = NewItemOfType(project, kAudioType, "Broken");
    WriteFile(mp3(broken), std::string(3000, '\x55'));
    const std::int32_t explosion = NewItemOfType(project, kExplosionType);
    ASSERT_NE(explosion, 0);
    const std::size_t pair = X::kSound;
    Object(project, explosion).record().setU32(pair, 1);
    Object(project, explosion).record().setU32(pair + 4, static_cast<std::uint32_t>(chime));
    qb::SaveProject(project);
    const qb::Bytes before = Object(project, explosion).lpDatiOggetto;

    QPointer<qb::ui::SoundPlayer> kept;
    QPointer<QMediaPlayer> media;
    Edit(project, explosion, [&](QDialog* d) {
        auto* combo = Child<QComboBox>(d, "startingSoundComboBox");
        auto* box = Child<QCheckBox>(d, "enableSoundCheckBox");
        auto* player = Child<qb::ui::SoundPlayer>(d, "startingSoundSoundPlayer");
        ASSERT_TRUE(combo && box && player);
        kept = player;
        auto* button = Child<QPushButton>(d, "startingSoundPlayPushButton");
        EXPECT_EQ(button, player->button());
        EXPECT_EQ(S(button->text()), "Play");
        EXPECT_EQ(S(combo->currentText()), "Chime");
        // The button sits right of the combo, on its line.
        EXPECT_GT(button->mapTo(d, QPoint(0, 0)).x(), combo->mapTo(d, QPoint(combo->width() - 1, 0)).x());

        // The button follows the combo: off with the sound switched off or nothing chosen.
        EXPECT_TRUE(button->isEnabled());
        box->click();
        EXPECT_FALSE(button->isEnabled());
        box->click();
        EXPECT_TRUE(button->isEnabled());
        combo->setCurrentIndex(-1);
        EXPECT_FALSE(button->isEnabled());

        combo->setCurrentIndex(1);
        EXPECT_EQ(PlayToEnd(player), "Cannot play " + fs::path(mp3(broken)).filename().string() +
                                         ": damaged or not an MP3 file");
        combo->setCurrentIndex(0);
        EXPECT_EQ(PlayToEnd(player), "");

        // Closing the dialog while the sound plays stops it at once.
        QSignalSpy finished(player, &qb::ui::SoundPlayer::finished);
        button->click();
        ASSERT_TRUE(player->isPlaying());
        media = player->findChild<QMediaPlayer*>();
        ASSERT_TRUE(media);
        Cancel(d);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(player->isPlaying());
        EXPECT_EQ(media->playbackState(), QMediaPlayer::StoppedState);
        EXPECT_TRUE(media->source().isEmpty());
    });
    // The dialog and its player are gone with it.
    EXPECT_TRUE(kept.isNull());
    EXPECT_TRUE(media.isNull());
    EXPECT_EQ(Object(project, explosion).lpDatiOggetto, before);
    EXPECT_EQ(SavedRecord(project, explosion), before);
}

} // namespace
