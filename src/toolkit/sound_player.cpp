#include "toolkit/sound_player.h"

#include <QAudioOutput>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMediaPlayer>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <array>

#include "model/layouts/sound.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace L = layout::sound;

struct LibrarySound {
    const char* label;
    const char* file;
};
constexpr std::array<LibrarySound, L::kLibrarySoundCount> kLibrarySounds{{
    {"User fire", "UserFire.mp3"},
    {"Enemy fire", "EnemyFire.mp3"},
    {"Shield fire", "ShieldFire.mp3"},
    {"Explosion", "Explosion.mp3"},
    {"Bonus", "Bonus.mp3"},
}};

bool InRange(int index) { return index >= 0 && index < L::kLibrarySoundCount; }

const char* kPlayerProperty = "qbSoundPlayer";

// Keeps an optional-sound combo's play button in step with the combo: enabled while the combo is
// enabled and has a choice, shown while the combo is; a change of choice or a disabled combo
// stops the sound.
class ComboWatcher : public QObject {
public:
    ComboWatcher(QComboBox* combo, SoundPlayer* player) : QObject(player), combo_(combo), player_(player) {
        combo->installEventFilter(this);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            player_->stop();
            update();
        });
        update();
    }
    void update() {
        player_->button()->setEnabled(combo_->isEnabled() && combo_->currentIndex() >= 0);
        if (!combo_->isEnabled()) player_->stop();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != combo_) return false;
        if (event->type() == QEvent::EnabledChange) update();
        if (event->type() == QEvent::HideToParent) player_->setVisible(false);
        if (event->type() == QEvent::ShowToParent) player_->setVisible(true);
        return false;
    }

private:
    QComboBox* combo_;
    SoundPlayer* player_;
};

// Puts the row in the place of the widget inside layout or one of its sub-layouts, with the
// widget as the row's first item. The widget keeps its parent, so the label whose buddy it is
// stays its sibling (assistive tools look for the label among the siblings).
bool ReplaceWithRow(QLayout* layout, QWidget* widget, QHBoxLayout* row) {
    const int index = layout->indexOf(widget);
    if (index < 0) {
        for (int i = 0; i < layout->count(); ++i)
            if (QLayout* sub = layout->itemAt(i)->layout(); sub && ReplaceWithRow(sub, widget, row))
                return true;
        return false;
    }
    if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        const int stretch = box->stretch(index);
        delete box->takeAt(index);
        box->insertLayout(index, row, stretch);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int r = 0, c = 0, rows = 1, columns = 1;
        grid->getItemPosition(index, &r, &c, &rows, &columns);
        QLayoutItem* item = grid->takeAt(index);
        const Qt::Alignment alignment = item->alignment();
        delete item;
        grid->addLayout(row, r, c, rows, columns, alignment);
    } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        int r = 0;
        QFormLayout::ItemRole role = QFormLayout::FieldRole;
        form->getItemPosition(index, &r, &role);
        delete form->takeAt(index);
        form->setLayout(r, role, row);
    } else {
        return false;
    }
    row->addWidget(widget, 1);
    return true;
}
} // namespace

std::string LibrarySoundFile(int index) {
    return InRange(index) ? kLibrarySounds[static_cast<std::size_t>(index)].file : std::string();
}

QString LibrarySoundLabel(int index) {
    return InRange(index) ? QString::fromLatin1(kLibrarySounds[static_cast<std::size_t>(index)].label)
                          : QString();
}

SoundToPlay SoundFromSource(const std::string& mp3Path, bool librarySource, int libraryIndex) {
    SoundToPlay sound;
    if (!librarySource) {
        sound.path = QFile::decodeName(QByteArray::fromStdString(mp3Path));
        if (sound.path.isEmpty()) sound.problem = QStringLiteral("This sound has no file");
        return sound;
    }
    if (!InRange(libraryIndex)) {
        sound.problem = QStringLiteral("No library sound is chosen");
        return sound;
    }
    const QString path = QFile::decodeName(QByteArray::fromStdString(AppFilePath(LibrarySoundFile(libraryIndex))));
    if (!QFileInfo(path).isFile()) {
        sound.problem = QStringLiteral("\"%1\" is heard only in the game").arg(LibrarySoundLabel(libraryIndex));
        return sound;
    }
    sound.path = path;
    return sound;
}

SoundToPlay SoundOfAudioItem(const ObjectRecord* item) {
    if (!item || item->tipoOggetto != kAudioType) return {QString(), QStringLiteral("No sound is chosen")};
    const ConstRecordView r = item->record();
    return SoundFromSource(r.text(L::kPath, kPathField), r.u32(L::kSource) != L::kSourceUser,
                           r.i32(L::kLibrarySound));
}

SoundPlayer::SoundPlayer(const QString& baseName, Source source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
    setObjectName(baseName + QStringLiteral("SoundPlayer"));
    button_ = new QPushButton(QStringLiteral("Play"), this);
    button_->setObjectName(baseName + QStringLiteral("PlayPushButton"));
    button_->setAutoDefault(false);
    button_->setAccessibleDescription(QStringLiteral("Plays the sound, or stops it"));
    // As wide as its wider text, so that the button keeps its size between "Play" and "Stop".
    button_->setText(QStringLiteral("Stop"));
    const int stopWidth = button_->sizeHint().width();
    button_->setText(QStringLiteral("Play"));
    button_->setFixedWidth(std::max(stopWidth, button_->sizeHint().width()));
    message_ = new QLabel(this);
    message_->setObjectName(baseName + QStringLiteral("PlayMessage"));
    message_->setVisible(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(button_);
    row->addWidget(message_);
    row->addStretch(1);
    connect(button_, &QPushButton::clicked, this, &SoundPlayer::toggle);
}

SoundPlayer::~SoundPlayer() {
    // Stop before the player goes, without signalling a half-destroyed owner.
    const QSignalBlocker quiet(this);
    stop();
}

void SoundPlayer::toggle() {
    if (playing_)
        stop();
    else
        play();
}

bool SoundPlayer::makePlayer() {
    if (player_) return true;
    player_ = new QMediaPlayer(this);
    output_ = new QAudioOutput(this);
    player_->setAudioOutput(output_);
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (!playing_) return;
        if (status == QMediaPlayer::EndOfMedia) end();
        else if (status == QMediaPlayer::InvalidMedia)
            fail(QStringLiteral("Cannot play %1: damaged or not an MP3 file").arg(fileName_));
    });
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString&) {
        if (playing_ && error != QMediaPlayer::NoError)
            fail(QStringLiteral("Cannot play %1: damaged or not an MP3 file").arg(fileName_));
    });
    connect(player_, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        // The backend stopped on its own (end of the sound already handled).
        if (playing_ && state == QMediaPlayer::StoppedState &&
            player_->mediaStatus() == QMediaPlayer::EndOfMedia)
            end();
    });
    return true;
}

void SoundPlayer::play() {
    stop();
    message_->clear();
    message_->setVisible(false);
    const SoundToPlay sound = source_ ? source_() : SoundToPlay{QString(), QStringLiteral("No sound is chosen")};
    if (!sound.problem.isEmpty()) {
        fail(sound.problem);
        return;
    }
    const QFileInfo file(sound.path);
    fileName_ = file.fileName();
    if (!file.isFile()) {
        fail(QStringLiteral("Sound file not found: %1").arg(fileName_));
        return;
    }
    if (file.size() == 0) {
        fail(QStringLiteral("Sound file is empty: %1").arg(fileName_));
        return;
    }
    makePlayer();
    if (!player_->isAvailable()) {
        fail(QStringLiteral("Sounds cannot be played on this computer"));
        return;
    }
    playing_ = true;
    button_->setText(QStringLiteral("Stop"));
    player_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    // A source the backend refuses at once has already failed.
    if (playing_) player_->play();
}

void SoundPlayer::stop() {
    if (!playing_) return;
    end();
}

void SoundPlayer::end() {
    if (!playing_) return;
    playing_ = false;
    if (player_) {
        player_->stop();
        // Lets go of the file: the next play reads it afresh (it may have been replaced).
        player_->setSource(QUrl());
    }
    button_->setText(QStringLiteral("Play"));
    emit finished();
}

void SoundPlayer::fail(const QString& text) {
    message_->setText(text);
    message_->setVisible(true);
    if (playing_)
        end();
    else
        emit finished();
}

void SoundPlayer::hideEvent(QHideEvent* event) {
    stop();
    QWidget::hideEvent(event);
}

SoundPlayer* AttachSoundPlayer(QComboBox* combo) {
    if (!combo) return nullptr;
    if (auto* existing = qobject_cast<SoundPlayer*>(combo->property(kPlayerProperty).value<QObject*>()))
        return existing;
    QWidget* parent = combo->parentWidget();
    QLayout* layout = parent ? parent->layout() : nullptr;
    if (!layout) return nullptr;

    QString base = combo->objectName();
    if (base.endsWith(QStringLiteral("ComboBox"))) base.chop(8);
    if (base.isEmpty()) base = QStringLiteral("sound");
    const bool hidden = combo->isHidden() && combo->testAttribute(Qt::WA_WState_ExplicitShowHide);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    if (!ReplaceWithRow(layout, combo, row)) {
        delete row;
        return nullptr;
    }
    auto* player = new SoundPlayer(
        base, [combo] {
            const std::int32_t id = GetSelectedObjectId(combo, kAudioType);
            return SoundOfAudioItem(id ? FindObject(id, CurrentProjectIndex()) : nullptr);
        },
        parent);
    row->addWidget(player);
    if (hidden) player->setVisible(false);
    new ComboWatcher(combo, player);
    combo->setProperty(kPlayerProperty, QVariant::fromValue(static_cast<QObject*>(player)));
    return player;
}

} // namespace qb::ui
