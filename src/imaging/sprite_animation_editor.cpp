#include "imaging/sprite_animation_editor.h"

#include "imaging/cell_picker.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "model/layouts/bitmaps.h"
#include "model/layouts/sprite_frame.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/item_types.h"
#include "toolkit/picture_image.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace frame = layout::sprite_frame;
constexpr int kView = kSpriteViewSize;
constexpr int kDirections = 8;
constexpr int kArrowSize = 24;

const QColor kEmptyArea(64, 64, 64);

// "Play" loops the frames in the preview at this many frames per second unless the user picks
// another rate; nothing of it is stored.
constexpr int kDefaultPlayRate = 12;
constexpr int kMaxPlayRate = 60;

// One Sprites bitmap item of the project, decoded for this opening.
struct Sheet {
    std::int32_t id = 0;
    QString description;
    QImage image;        // null when the picture could not be decoded
    std::int32_t cell = 0;

    bool usable() const { return cell > 0 && !image.isNull(); }
};

std::vector<Sheet> LoadSheets(ProjectRecord& project) {
    std::vector<Sheet> sheets;
    for (ObjectRecord& o : project.objects) {
        if (o.tipoOggetto != kSpritesBitmapType) continue;
        Sheet sheet;
        sheet.id = o.IDoggetto;
        sheet.description = FromRecordText(o.sDescrizione);
        RecordView r = o.record();
        sheet.cell = r.i32(layout::sprites_bitmap::kCellSize);
        sheet.image =
            LoadPictureImage(r.text(layout::sprites_bitmap::kPath, layout::file_backed::kPathSize));
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

class SpriteAnimationDialog;

class FramePreview : public QWidget {
public:
    explicit FramePreview(SpriteAnimationDialog* editor);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    SpriteAnimationDialog* editor_;
};

class SpriteAnimationDialog : public QDialog {
public:
    SpriteAnimationDialog(QWidget* owner, int projectIndex, std::int32_t objectId,
                          std::size_t offset, int frameCount, SpriteEditorVariant variant,
                          int framesPerDirection, std::vector<Sheet> sheets, Bytes frames);

    void paintFrame(QPainter& painter);

    void done(int result) override;

private:
    const Sheet& sheet() const { return sheets_[static_cast<std::size_t>(sheetIndex_)]; }
    void showSheet(int index);
    void showFrame(int index);
    void updateLabels();
    void writeCurrentFrame(int firstColumn, int firstRow, int lastColumn, int lastRow);
    void okAndSave();
    void setPlaying(bool on);
    void setPlayRate(int framesPerSecond);
    void playTick();
    // The frame the preview shows: the one being played, or the current one.
    int previewedFrame() const { return playing_ ? playedFrame_ : frameIndex_; }

    int projectIndex_;
    std::int32_t objectId_;
    std::size_t offset_;
    int frameCount_;
    SpriteEditorVariant variant_;
    int framesPerDirection_;
    std::vector<Sheet> sheets_;
    Bytes frames_;  // the working copy of the N frames

    int frameIndex_ = 0;
    int sheetIndex_ = 0;
    bool playing_ = false;
    int playedFrame_ = 0;

    CellPicker* picker_ = nullptr;
    QTimer* playTimer_ = nullptr;
    FramePreview* preview_ = nullptr;
    QLabel* sheetLabel_ = nullptr;
    QLabel* frameLabel_ = nullptr;
    std::array<QLabel*, kDirections> directions_{};
};

FramePreview::FramePreview(SpriteAnimationDialog* editor) : QWidget(editor), editor_(editor) {
    setObjectName("framePreview");
    setFixedSize(kView, kView);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FramePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    editor_->paintFrame(painter);
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

SpriteAnimationDialog::SpriteAnimationDialog(QWidget* owner, int projectIndex,
                                             std::int32_t objectId, std::size_t offset,
                                             int frameCount, SpriteEditorVariant variant,
                                             int framesPerDirection, std::vector<Sheet> sheets,
                                             Bytes frames)
    : QDialog(owner), projectIndex_(projectIndex), objectId_(objectId), offset_(offset),
      frameCount_(frameCount), variant_(variant),
      framesPerDirection_(std::max(1, framesPerDirection)), sheets_(std::move(sheets)),
      frames_(std::move(frames)) {
    SetUpModalDialog(this, "Edit sprites animation", "Edit sprites animation");

    picker_ = new CellPicker(this, "sheet", "Sprite sheet", kView);
    preview_ = new FramePreview(this);
    sheetLabel_ = new QLabel(this);
    sheetLabel_->setObjectName("sheetLabel");
    frameLabel_ = new QLabel(this);
    frameLabel_->setObjectName("frameLabel");
    auto* previousSheet = Button("<-", "previousSheetButton", this);
    auto* nextSheet = Button("->", "nextSheetButton", this);
    auto* previousFrame = Button("<-", "previousFrameButton", this);
    auto* nextFrame = Button("->", "nextFrameButton", this);
    SetAccessibleView(preview_, QStringLiteral("Sprite frame"), QAccessible::Graphic);
    previousSheet->setAccessibleName(QStringLiteral("Previous sprite sheet"));
    nextSheet->setAccessibleName(QStringLiteral("Next sprite sheet"));
    previousFrame->setAccessibleName(QStringLiteral("Previous frame"));
    nextFrame->setAccessibleName(QStringLiteral("Next frame"));
    auto* ok = Button("OK and save", "okAndSaveButton", this);
    auto* cancel = Button("Cancel", "cancelButton", this);

    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(sheetLabel_, 1);
    sheetRow->addWidget(previousSheet);
    sheetRow->addWidget(nextSheet);
    auto* sheetColumn = new QVBoxLayout;
    sheetColumn->addWidget(picker_);
    sheetColumn->addLayout(sheetRow);
    sheetColumn->addStretch(1);

    auto* frameRow = new QHBoxLayout;
    if (variant_ != SpriteEditorVariant::Plain) {
        // All eight pictures share one 24 x 24 place; at most one of them is visible.
        auto* place = new QWidget(this);
        place->setObjectName("directionPictures");
        place->setFixedSize(kArrowSize, kArrowSize);
        auto* stack = new QGridLayout(place);
        stack->setContentsMargins(0, 0, 0, 0);
        for (int d = 0; d < kDirections; ++d) {
            auto* picture = new QLabel(place);
            picture->setObjectName(QString("directionPicture%1").arg(d));
            picture->setPixmap(DirectionArrow(d));
            picture->setFixedSize(kArrowSize, kArrowSize);
            stack->addWidget(picture, 0, 0);
            directions_[static_cast<std::size_t>(d)] = picture;
        }
        frameRow->addWidget(place);
    }
    frameRow->addWidget(frameLabel_, 1);
    frameRow->addWidget(previousFrame);
    frameRow->addWidget(nextFrame);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(ok);
    okRow->addWidget(cancel);
    auto* frameColumn = new QVBoxLayout;
    frameColumn->addWidget(preview_);
    frameColumn->addLayout(frameRow);
    auto* play = new QCheckBox(QStringLiteral("Play"), this);
    play->setObjectName("playCheckBox");
    play->setToolTip(QStringLiteral("Loops the frames in the preview; nothing of it is saved"));
    auto* rate = new QSpinBox(this);
    rate->setObjectName("playRateSpinBox");
    rate->setRange(1, kMaxPlayRate);
    rate->setValue(kDefaultPlayRate);
    auto* rateLabel = new QLabel(QStringLiteral("Frames per second:"), this);
    rateLabel->setObjectName("playRateLabel");
    rateLabel->setBuddy(rate);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(play);
    playRow->addStretch(1);
    playRow->addWidget(rateLabel);
    playRow->addWidget(rate);
    frameColumn->addLayout(playRow);
    frameColumn->addStretch(1);
    frameColumn->addLayout(okRow);

    auto* top = new QHBoxLayout(this);
    top->addLayout(sheetColumn);
    top->addSpacing(12);
    top->addLayout(frameColumn);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(picker_, &CellPicker::picked, this, [this](int c0, int r0, int c1, int r1) {
        writeCurrentFrame(c0, r0, c1, r1);
        preview_->update();
    });
    connect(previousSheet, &QPushButton::clicked, this, [this] {
        if (sheetIndex_ > 0) showSheet(sheetIndex_ - 1);
    });
    connect(nextSheet, &QPushButton::clicked, this, [this] {
        if (sheetIndex_ + 1 < static_cast<int>(sheets_.size())) showSheet(sheetIndex_ + 1);
    });
    connect(previousFrame, &QPushButton::clicked, this, [this] {
        if (frameIndex_ > 0) showFrame(frameIndex_ - 1);
    });
    connect(nextFrame, &QPushButton::clicked, this, [this] {
        if (frameIndex_ < frameCount_ - 1) showFrame(frameIndex_ + 1);
    });
    connect(ok, &QPushButton::clicked, this, [this] { okAndSave(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    playTimer_ = new QTimer(this);
    playTimer_->setObjectName("playTimer");
    setPlayRate(kDefaultPlayRate);
    connect(playTimer_, &QTimer::timeout, this, [this] { playTick(); });
    connect(play, &QCheckBox::toggled, this, [this](bool on) { setPlaying(on); });
    connect(rate, &QSpinBox::valueChanged, this, [this](int v) { setPlayRate(v); });

    updateLabels();
    picker_->setPicture(&sheet().image, sheet().cell);
    showFrame(0);
    picker_->startOutline();
}

void SpriteAnimationDialog::updateLabels() {
    // One pass, so a "%2" in the item's name stays as typed.
    sheetLabel_->setText(QString("%1 (%2/%3)").arg(sheet().description,
                                                   QString::number(sheetIndex_ + 1),
                                                   QString::number(sheets_.size())));
    frameLabel_->setText(QString("Sprite %1 of %2").arg(frameIndex_ + 1).arg(frameCount_));
}

void SpriteAnimationDialog::showSheet(int index) {
    sheetIndex_ = index;
    // Every variant cuts the new sheet by its own cell size: frames count cells of the sheet
    // they name, so picking in another sheet's cell size would store other pixels than the ones
    // outlined. Only the plain variant goes back to the first frame.
    if (variant_ == SpriteEditorVariant::Plain) frameIndex_ = 0;
    updateLabels();
    picker_->setPicture(&sheet().image, sheet().cell);
    showFrame(frameIndex_);
}

void SpriteAnimationDialog::showFrame(int index) {
    frameIndex_ = index;
    updateLabels();
    if (variant_ != SpriteEditorVariant::Plain) {
        const int direction =
            variant_ == SpriteEditorVariant::Directional ? index : index / framesPerDirection_;
        for (int d = 0; d < kDirections; ++d)
            directions_[static_cast<std::size_t>(d)]->setVisible(d == direction);
    }
    picker_->view()->update();
    preview_->update();
}

void SpriteAnimationDialog::writeCurrentFrame(int firstColumn, int firstRow, int lastColumn,
                                              int lastRow) {
    // A cell number that does not fit the frame's byte would name another cell: pick nothing.
    for (int v : {firstColumn, firstRow, lastColumn, lastRow})
        if (v < 0 || v > 255) return;
    RecordView r(frames_);
    const std::size_t at = frame::At(0, static_cast<std::size_t>(frameIndex_));
    r.setU32(at + frame::kSheetId, static_cast<std::uint32_t>(sheet().id) & 0xFFFFu);
    r.setU8(at + frame::kLastRow, static_cast<std::uint8_t>(lastRow));
    r.setU8(at + frame::kLastColumn, static_cast<std::uint8_t>(lastColumn));
    r.setU8(at + frame::kFirstRow, static_cast<std::uint8_t>(firstRow));
    r.setU8(at + frame::kFirstColumn, static_cast<std::uint8_t>(firstColumn));
}

void SpriteAnimationDialog::setPlaying(bool on) {
    playing_ = on;
    // The loop starts at the first frame; the current frame, its label and picking stay as they
    // are, and the preview shows the current frame again when playing stops.
    playedFrame_ = 0;
    if (on)
        playTimer_->start();
    else
        playTimer_->stop();
    preview_->update();
}

void SpriteAnimationDialog::setPlayRate(int framesPerSecond) {
    playTimer_->setInterval(qRound(1000.0 / std::clamp(framesPerSecond, 1, kMaxPlayRate)));
}

void SpriteAnimationDialog::playTick() {
    if (!playing_ || frameCount_ <= 0) return;
    playedFrame_ = (playedFrame_ + 1) % frameCount_;
    preview_->update();
}

void SpriteAnimationDialog::paintFrame(QPainter& painter) {
    painter.fillRect(0, 0, kView, kView, kEmptyArea);
    RecordView r(frames_);
    const std::size_t at = frame::At(0, static_cast<std::size_t>(previewedFrame()));
    const std::uint32_t id = r.u32(at + frame::kSheetId) & 0xFFFFu;
    if (id == 0) return;
    const Sheet* named = nullptr;
    for (const Sheet& s : sheets_)
        if ((static_cast<std::uint32_t>(s.id) & 0xFFFFu) == id) {
            named = &s;
            break;
        }
    if (!named || !named->usable()) return;
    const long long cell = named->cell;
    const long long x0 = r.u8(at + frame::kFirstColumn) * cell;
    const long long y0 = r.u8(at + frame::kFirstRow) * cell;
    const long long x1 = (r.u8(at + frame::kLastColumn) + 1LL) * cell;
    const long long y1 = (r.u8(at + frame::kLastRow) + 1LL) * cell;
    if (x1 <= x0 || y1 <= y0) return;  // a hand-made frame whose last cell precedes its first
    const QImage& image = named->image;
    if (x0 >= image.width() || y0 >= image.height()) return;
    const int width = static_cast<int>(std::min<long long>({x1, image.width(), x0 + kView}) - x0);
    const int height = static_cast<int>(std::min<long long>({y1, image.height(), y0 + kView}) - y0);
    painter.drawImage(QPoint(0, 0), image,
                      QRect(static_cast<int>(x0), static_cast<int>(y0), width, height));
}

void SpriteAnimationDialog::okAndSave() {
    if (ObjectRecord* o = FindObject(objectId_, projectIndex_)) {
        RecordView r = o->record();
        r.setBytes(offset_, frames_.data(),
                   static_cast<std::size_t>(frameCount_) * frame::kSize);
        SaveProject(projectIndex_);
    }
    accept();
}

void SpriteAnimationDialog::done(int result) {
    picker_->stopOutline();
    playTimer_->stop();
    QDialog::done(result);
}

} // namespace

bool EditSpriteAnimation(QWidget* owner, int projectIndex, std::int32_t objectId,
                         std::size_t offset, int frameCount, SpriteEditorVariant variant,
                         int framesPerDirection) {
    ObjectRecord* object = FindObject(objectId, projectIndex);
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!object || !project || frameCount <= 0) return false;
    const std::size_t size = object->lpDatiOggetto.size();
    if (offset >= size) return false;
    const std::size_t fits = (size - offset) / frame::kSize;
    const int count = static_cast<int>(std::min<std::size_t>(fits, static_cast<std::size_t>(frameCount)));
    if (count == 0) return false;

    Bytes frames = object->record().bytes(offset, static_cast<std::size_t>(count) * frame::kSize);
    std::vector<Sheet> sheets = LoadSheets(*project);
    if (sheets.empty()) {
        ShowMessage("No compatible sprites image found.");
        return false;
    }
    SpriteAnimationDialog dialog(owner, projectIndex, objectId, offset, count, variant,
                                 framesPerDirection, std::move(sheets), std::move(frames));
    return dialog.exec() == QDialog::Accepted;
}

QPixmap DirectionArrow(int direction) {
    if (direction < 0 || direction >= kDirections) return {};
    QPixmap pixmap(kArrowSize, kArrowSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kArrowSize / 2.0, kArrowSize / 2.0);
    // Picture 0 points down and each next one turns 45 degrees anticlockwise on the screen.
    painter.rotate(90.0 - 45.0 * direction);
    QPainterPath arrow;
    arrow.addRect(-8.0, -2.0, 11.0, 4.0);          // shaft
    arrow.moveTo(2.0, -7.0);                         // head
    arrow.lineTo(10.5, 0.0);
    arrow.lineTo(2.0, 7.0);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 64, 160));
    painter.drawPath(arrow.simplified());
    return pixmap;
}

} // namespace qb::ui
