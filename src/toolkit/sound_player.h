#pragma once
// The "Play" button that lets the user hear a sound before choosing it, with a short message
// beside it when the sound cannot be played (no file, an empty or damaged file, no sound
// support). Playing only reads the file: no record changes. The sound stops when the button is
// pressed again, when it is hidden (its dialog closes) and when it is destroyed.
//
// Used by "Sound parameters" and beside every optional-sound picker.
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QAudioOutput;
class QComboBox;
class QLabel;
class QMediaPlayer;
class QPushButton;

namespace qb {
struct ObjectRecord;
}

namespace qb::ui {

// What the button is asked to play: a file, or the reason there is nothing to play.
struct SoundToPlay {
    QString path;
    QString problem;
};

// The file the engine's library sound would be heard from here: the application folder's
// "UserFire.mp3", "EnemyFire.mp3", "ShieldFire.mp3", "Explosion.mp3" or "Bonus.mp3"; empty for
// an index out of range.
std::string LibrarySoundFile(int index);
// The label of a library sound ("User fire" ... "Bonus"); empty for an index out of range.
QString LibrarySoundLabel(int index);

// What a sound sounds with: its own MP3 file, or the library sound's file when that source is
// chosen (a problem when that file is not there or no library sound is chosen).
SoundToPlay SoundFromSource(const std::string& mp3Path, bool librarySource, int libraryIndex);
// The same for an Audio data item as its record stands; a problem for a null item.
SoundToPlay SoundOfAudioItem(const ObjectRecord* item);

class SoundPlayer : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<SoundToPlay()>;
    // baseName names the button (baseName + "PlayPushButton") and the message label
    // (baseName + "PlayMessage").
    SoundPlayer(const QString& baseName, Source source, QWidget* parent = nullptr);
    ~SoundPlayer() override;

    QPushButton* button() const { return button_; }
    QLabel* message() const { return message_; }
    bool isPlaying() const { return playing_; }

    void play();
    void stop();

signals:
    // Playing ended: the sound played to its end, was stopped or could not be played.
    void finished();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void toggle();
    void fail(const QString& text);
    void end();
    bool makePlayer();

    Source source_;
    QPushButton* button_;
    QLabel* message_;
    QMediaPlayer* player_ = nullptr;  // made at the first play
    QAudioOutput* output_ = nullptr;
    QString fileName_;
    bool playing_ = false;
};

// Puts a SoundPlayer right of an optional-sound combo (the two share the combo's place in its
// box, grid or form layout) that plays the Audio data item chosen in it; answers the one already
// there on a second call. The button is enabled while the combo is enabled and has a choice. Null
// when the combo is not in a layout of its parent.
SoundPlayer* AttachSoundPlayer(QComboBox* combo);

} // namespace qb::ui
