#include "imaging/sprite_animation_editor.h"

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

// The outline pulses from its lower bound in steps of 68 and back; a step that would leave
// [0, 255] turns round and the colour stays for that tick (0, 68, 136, 204, 204, 136, ...).
constexpr int kOutlineStep = 68;
constexpr int kOutlineLow = 0;
constexpr int kOutlineHigh = 255;
constexpr int kOutlineWidth = 2;
constexpr int kOutlineTickMs = 100;

const QColor kEmptyArea(64, 64, 64);

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

// Floor division for pointer positions, which may lie left of or above the view while dragging.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

class SpriteAnimationDialog;

class SheetView : public QWidget {
public:
    explicit SheetView(SpriteAnimationDialog* editor);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;

private:
    SpriteAnimationDialog* editor_;
};

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

    // Sheet view events, in view pixels.
    void pointerMoved(QPoint p);
    void pointerPressed(QPoint p);
    void pointerReleased(QPoint p);
    void pointerLeft();
    void paintSheet(QPainter& painter);
    void paintFrame(QPainter& painter);

    void done(int result) override;

private:
    const Sheet& sheet() const { return sheets_[static_cast<std::size_t>(sheetIndex_)]; }
    bool pickable() const { return sheet().usable(); }
    void tick();
    void showSheet(int index);
    void showFrame(int index);
    void updateLabels();
    void updateScrollRanges();
    void resetSelection();
    void writeCurrentFrame();
    void okAndSave();
    QColor outlineColour() const;

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
    int scrollColumn_ = 0;
    int scrollRow_ = 0;
    QRect selection_;      // in view pixels; empty = none
    QRect drawnSelection_; // the selection the outline was last drawn for
    bool dragging_ = false;
    bool pointerInside_ = false;
    bool outlineShown_ = false;
    int outlineValue_ = kOutlineLow;
    int outlineStep_ = kOutlineStep;
    QColor drawnColour_;

    SheetView* sheetView_ = nullptr;
    FramePreview* preview_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QLabel* sheetLabel_ = nullptr;
    QLabel* frameLabel_ = nullptr;
    std::array<QLabel*, kDirections> directions_{};
    QTimer* timer_ = nullptr;
};

SheetView::SheetView(SpriteAnimationDialog* editor) : QWidget(editor), editor_(editor) {
    setObjectName("sheetView");
    setFixedSize(kView, kView);
    setMouseTracking(true);
    // Every pixel is painted each time: scrolling needs no erase and does not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SheetView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    editor_->paintSheet(painter);
}
void SheetView::mouseMoveEvent(QMouseEvent* event) { editor_->pointerMoved(event->position().toPoint()); }
void SheetView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) editor_->pointerPressed(event->position().toPoint());
}
void SheetView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) editor_->pointerReleased(event->position().toPoint());
}
void SheetView::leaveEvent(QEvent*) { editor_->pointerLeft(); }

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

    sheetView_ = new SheetView(this);
    preview_ = new FramePreview(this);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName("sheetHorizontalScrollBar");
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName("sheetVerticalScrollBar");
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        // A page step moves by one cell, like a line step.
        bar->setSingleStep(1);
        bar->setPageStep(1);
    }
    sheetLabel_ = new QLabel(this);
    sheetLabel_->setObjectName("sheetLabel");
    frameLabel_ = new QLabel(this);
    frameLabel_->setObjectName("frameLabel");
    auto* previousSheet = Button("<-", "previousSheetButton", this);
    auto* nextSheet = Button("->", "nextSheetButton", this);
    auto* previousFrame = Button("<-", "previousFrameButton", this);
    auto* nextFrame = Button("->", "nextFrameButton", this);
    auto* ok = Button("OK and save", "okAndSaveButton", this);
    auto* cancel = Button("Cancel", "cancelButton", this);

    auto* sheetGrid = new QGridLayout;
    sheetGrid->setSpacing(0);
    sheetGrid->addWidget(sheetView_, 0, 0);
    sheetGrid->addWidget(vertical_, 0, 1);
    sheetGrid->addWidget(horizontal_, 1, 0);
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(sheetLabel_, 1);
    sheetRow->addWidget(previousSheet);
    sheetRow->addWidget(nextSheet);
    auto* sheetColumn = new QVBoxLayout;
    sheetColumn->addLayout(sheetGrid);
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
    frameColumn->addStretch(1);
    frameColumn->addLayout(okRow);

    auto* top = new QHBoxLayout(this);
    top->addLayout(sheetColumn);
    top->addSpacing(12);
    top->addLayout(frameColumn);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int v) {
        scrollColumn_ = v;
        sheetView_->update();
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int v) {
        scrollRow_ = v;
        sheetView_->update();
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

    timer_ = new QTimer(this);
    timer_->setObjectName("outlineTimer");
    timer_->setInterval(kOutlineTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });

    updateLabels();
    updateScrollRanges();
    resetSelection();
    showFrame(0);
    timer_->start();
}

void SpriteAnimationDialog::updateLabels() {
    // One pass, so a "%2" in the item's name stays as typed.
    sheetLabel_->setText(QString("%1 (%2/%3)").arg(sheet().description,
                                                   QString::number(sheetIndex_ + 1),
                                                   QString::number(sheets_.size())));
    frameLabel_->setText(QString("Sprite %1 of %2").arg(frameIndex_ + 1).arg(frameCount_));
}

void SpriteAnimationDialog::updateScrollRanges() {
    const Sheet& s = sheet();
    int columns = 0, rows = 0;
    if (s.usable()) {
        columns = std::max(0, (s.image.width() - kView) / s.cell);
        rows = std::max(0, (s.image.height() - kView) / s.cell);
    }
    scrollColumn_ = scrollRow_ = 0;
    for (auto [bar, max] : {std::pair{horizontal_, columns}, std::pair{vertical_, rows}}) {
        QSignalBlocker quiet(bar);
        bar->setRange(0, max);
        bar->setValue(0);
    }
}

void SpriteAnimationDialog::resetSelection() {
    selection_ = QRect();
    drawnSelection_ = QRect();
    dragging_ = false;
    outlineValue_ = kOutlineLow;
    outlineStep_ = kOutlineStep;
}

void SpriteAnimationDialog::showSheet(int index) {
    sheetIndex_ = index;
    // Every variant cuts the new sheet by its own cell size: frames count cells of the sheet
    // they name, so picking in another sheet's cell size would store other pixels than the ones
    // outlined. Only the plain variant goes back to the first frame.
    if (variant_ == SpriteEditorVariant::Plain) frameIndex_ = 0;
    updateLabels();
    updateScrollRanges();
    resetSelection();
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
    sheetView_->update();
    preview_->update();
}

void SpriteAnimationDialog::pointerMoved(QPoint p) {
    if (!pickable()) return;
    const int cell = sheet().cell;
    if (dragging_) {
        // The far corner follows the pointer, at least one cell from the start and at most to the
        // view's edge (a single cell wider than the view is still one cell).
        const int right = static_cast<int>(std::max(std::min((FloorDiv(p.x(), cell) + 1LL) * cell, 1LL * kView),
                                   1LL * selection_.left() + cell));
        const int bottom = static_cast<int>(std::max(std::min((FloorDiv(p.y(), cell) + 1LL) * cell, 1LL * kView),
                                    1LL * selection_.top() + cell));
        selection_ = QRect(QPoint(selection_.left(), selection_.top()), QPoint(right - 1, bottom - 1));
        return;
    }
    pointerInside_ = p.x() >= 0 && p.y() >= 0 && p.x() < kView && p.y() < kView;
    if (!pointerInside_) return;
    const int left = (p.x() / cell) * cell;
    const int top = (p.y() / cell) * cell;
    selection_ = QRect(left, top, cell, cell);
}

void SpriteAnimationDialog::pointerPressed(QPoint p) {
    if (!pickable() || p.x() < 0 || p.y() < 0 || p.x() >= kView || p.y() >= kView) return;
    pointerMoved(p);  // the cell under the pointer is where the drag starts
    dragging_ = true;
}

void SpriteAnimationDialog::pointerReleased(QPoint p) {
    if (!dragging_) return;
    pointerMoved(p);
    dragging_ = false;
    writeCurrentFrame();
    preview_->update();
}

void SpriteAnimationDialog::pointerLeft() {
    if (!dragging_) pointerInside_ = false;
}

void SpriteAnimationDialog::writeCurrentFrame() {
    if (!pickable() || selection_.isEmpty()) return;
    const int cell = sheet().cell;
    // QRect's right() is inclusive; the selection's far edges lie one pixel beyond.
    const long long firstColumn = selection_.left() / cell + scrollColumn_;
    const long long firstRow = selection_.top() / cell + scrollRow_;
    const long long lastColumn = (selection_.right() + 1) / cell + scrollColumn_ - 1;
    const long long lastRow = (selection_.bottom() + 1) / cell + scrollRow_ - 1;
    // A cell number that does not fit the frame's byte would name another cell: pick nothing.
    for (long long v : {firstColumn, firstRow, lastColumn, lastRow})
        if (v < 0 || v > 255) return;
    RecordView r(frames_);
    const std::size_t at = frame::At(0, static_cast<std::size_t>(frameIndex_));
    r.setU32(at + frame::kSheetId, static_cast<std::uint32_t>(sheet().id) & 0xFFFFu);
    r.setU8(at + frame::kLastRow, static_cast<std::uint8_t>(lastRow));
    r.setU8(at + frame::kLastColumn, static_cast<std::uint8_t>(lastColumn));
    r.setU8(at + frame::kFirstRow, static_cast<std::uint8_t>(firstRow));
    r.setU8(at + frame::kFirstColumn, static_cast<std::uint8_t>(firstColumn));
}

QColor SpriteAnimationDialog::outlineColour() const {
    return dragging_ ? QColor(0, outlineValue_, 255)
                     : QColor(outlineValue_, outlineValue_, outlineValue_);
}

void SpriteAnimationDialog::tick() {
    const bool wanted = pickable() && !selection_.isEmpty() && (pointerInside_ || dragging_);
    if (!wanted) {
        if (outlineShown_) {
            outlineShown_ = false;
            drawnSelection_ = QRect();
            sheetView_->update();
        }
        return;
    }
    if (selection_ != drawnSelection_) {
        drawnSelection_ = selection_;
        outlineValue_ = kOutlineLow;
        outlineStep_ = kOutlineStep;
    }
    drawnColour_ = outlineColour();
    outlineShown_ = true;
    const int next = outlineValue_ + outlineStep_;
    if (next < kOutlineLow || next > kOutlineHigh)
        outlineStep_ = -outlineStep_;
    else
        outlineValue_ = next;
    sheetView_->update();
}

void SpriteAnimationDialog::paintSheet(QPainter& painter) {
    painter.fillRect(0, 0, kView, kView, kEmptyArea);
    const Sheet& s = sheet();
    if (!s.image.isNull()) {
        const long long cell = std::max(0, s.cell);
        const QRect source(static_cast<int>(scrollColumn_ * cell), static_cast<int>(scrollRow_ * cell),
                           kView, kView);
        const QRect visible = source.intersected(s.image.rect());
        if (!visible.isEmpty())
            painter.drawImage(visible.topLeft() - source.topLeft(), s.image, visible);
    }
    if (outlineShown_ && !drawnSelection_.isEmpty()) {
        const QRect& r = drawnSelection_;
        const int w = kOutlineWidth;
        painter.fillRect(r.left(), r.top(), r.width(), w, drawnColour_);
        painter.fillRect(r.left(), r.bottom() + 1 - w, r.width(), w, drawnColour_);
        painter.fillRect(r.left(), r.top(), w, r.height(), drawnColour_);
        painter.fillRect(r.right() + 1 - w, r.top(), w, r.height(), drawnColour_);
    }
}

void SpriteAnimationDialog::paintFrame(QPainter& painter) {
    painter.fillRect(0, 0, kView, kView, kEmptyArea);
    RecordView r(frames_);
    const std::size_t at = frame::At(0, static_cast<std::size_t>(frameIndex_));
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
    timer_->stop();
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
