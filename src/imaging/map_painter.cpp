#include "imaging/map_painter.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <optional>
#include <vector>

#include "imaging/cell_picker.h"
#include "imaging/map_edits.h"
#include "imaging/map_tiles.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "toolkit/dialog_frame.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"

namespace qb::ui {

namespace {

constexpr int kView = kMapPainterViewSize;
// The outlined square of the satellite view.
constexpr int kSatelliteFrame = 20;

class MapPainterDialog;

// The 640 x 640 map area.
class MapCanvas : public QWidget {
public:
    explicit MapCanvas(MapPainterDialog* painter);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    MapPainterDialog* painter_;
};

// Cell changes made by one stroke, erasure or flood fill; they are already done when pushed.
class CellsCommand : public QUndoCommand {
public:
    CellsCommand(MapPainterDialog* painter, std::vector<CellChange> changes, const QString& text);
    void undo() override;
    void redo() override;

private:
    MapPainterDialog* painter_;
    std::vector<CellChange> changes_;
    bool done_ = true;
};

// "Fill": keeps the cells as they were; doing it again tiles the map again.
class FillCommand : public QUndoCommand {
public:
    FillCommand(MapPainterDialog* painter, CellSnapshot before, TileBlock block, bool onlyBackground);
    void undo() override;
    void redo() override;

private:
    MapPainterDialog* painter_;
    CellSnapshot before_;
    TileBlock block_;
    bool onlyBackground_;
    bool done_ = true;
};

class MapPainterDialog : public QDialog {
public:
    MapPainterDialog(QWidget* owner, int projectIndex, std::int32_t objectId, MapCells map,
                     TileSets tiles, GroundKinds kinds);

    void paintMap(QPainter& painter);
    void pressed(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void moved(QPoint p, Qt::MouseButtons buttons);
    void released(Qt::MouseButton button);
    void wheel(int steps, bool across);
    void left() { refresh(); }

    MapCells& cells() { return map_; }
    void fillWith(const TileBlock& block, bool onlyBackground);
    // Repaints the map, without the hover preview.
    void refresh() {
        preview_.reset();
        canvas_->update();
    }
    // Repaints after the cells changed (the satellite picture is made again).
    void cellsChanged() {
        satelliteStale_ = true;
        refresh();
    }

    void done(int result) override;

private:
    // The map cell under a canvas position.
    std::pair<std::int64_t, std::int64_t> cellAt(QPoint p) const;
    const GroundKinds* rule() const { return onlyBackground_->isChecked() ? &kinds_ : nullptr; }
    void showTileSet(int index);
    void setMapRanges();
    void pick(int c0, int r0, int c1, int r1);
    void strokeAt(QPoint p);
    void endStroke();
    void fill();
    void okAndSave();
    void paintNormal(QPainter& painter);
    void paintSatellite(QPainter& painter);
    void paintGrid(QPainter& painter);

    int projectIndex_;
    std::int32_t objectId_;
    MapCells map_;  // the working copy
    TileSets tiles_;
    GroundKinds kinds_;
    int tileSetIndex_ = 0;
    std::optional<TileBlock> picked_;
    int firstColumn_ = 0;
    int firstRow_ = 0;

    // The stroke under way: painting (left button) or erasing (right), and what it changed.
    Qt::MouseButton strokeButton_ = Qt::NoButton;
    std::vector<CellChange> stroke_;
    // The cell where the hover preview goes, until the map is changed, scrolled or left.
    std::optional<std::pair<std::int64_t, std::int64_t>> preview_;
    bool satelliteShown_ = false;
    QImage satelliteImage_;  // kept between repaints while the cells stay as they are
    bool satelliteStale_ = true;
    QImage satelliteFrames_[4];  // the outline, by the parity of its corner

    QUndoStack* undo_ = nullptr;
    CellPicker* picker_ = nullptr;
    MapCanvas* canvas_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QLabel* tileSetLabel_ = nullptr;
    QCheckBox* onlyBackground_ = nullptr;
    QCheckBox* satellite_ = nullptr;
    QCheckBox* grid_ = nullptr;
};

MapCanvas::MapCanvas(MapPainterDialog* painter) : QWidget(painter), painter_(painter) {
    setObjectName("mapCanvas");
    setAccessibleName("Map");
    setFixedSize(kView, kView);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::PreventContextMenu);  // the right button erases
}

void MapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter_->paintMap(painter);
}
void MapCanvas::mousePressEvent(QMouseEvent* e) {
    painter_->pressed(e->position().toPoint(), e->button(), e->modifiers());
}
void MapCanvas::mouseMoveEvent(QMouseEvent* e) { painter_->moved(e->position().toPoint(), e->buttons()); }
void MapCanvas::mouseReleaseEvent(QMouseEvent* e) { painter_->released(e->button()); }
void MapCanvas::leaveEvent(QEvent*) { painter_->left(); }
void MapCanvas::wheelEvent(QWheelEvent* e) {
    const QPoint delta = e->angleDelta();
    const int amount = delta.y() != 0 ? delta.y() : delta.x();
    if (amount == 0) return;
    painter_->wheel(amount > 0 ? -1 : 1, (e->modifiers() & Qt::ShiftModifier) || delta.y() == 0);
    e->accept();
}

CellsCommand::CellsCommand(MapPainterDialog* painter, std::vector<CellChange> changes, const QString& text)
    : QUndoCommand(text), painter_(painter), changes_(std::move(changes)) {}

void CellsCommand::undo() {
    auto& cells = painter_->cells().cells;
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) cells[it->index] = it->before;
    painter_->cellsChanged();
}

void CellsCommand::redo() {
    if (std::exchange(done_, false)) return;  // pushed after it was done
    auto& cells = painter_->cells().cells;
    for (const CellChange& c : changes_) cells[c.index] = c.after;
    painter_->cellsChanged();
}

FillCommand::FillCommand(MapPainterDialog* painter, CellSnapshot before, TileBlock block,
                         bool onlyBackground)
    : QUndoCommand("Fill"), painter_(painter), before_(std::move(before)), block_(block),
      onlyBackground_(onlyBackground) {}

void FillCommand::undo() {
    before_.restore(painter_->cells());
    painter_->cellsChanged();
}

void FillCommand::redo() {
    if (std::exchange(done_, false)) return;
    painter_->fillWith(block_, onlyBackground_);
}

QPushButton* Button(const char* name, const char* text) { return Named<QPushButton>(name, QString::fromLatin1(text)); }

MapPainterDialog::MapPainterDialog(QWidget* owner, int projectIndex, std::int32_t objectId, MapCells map,
                                   TileSets tiles, GroundKinds kinds)
    : QDialog(owner), projectIndex_(projectIndex), objectId_(objectId), map_(std::move(map)),
      tiles_(std::move(tiles)), kinds_(std::move(kinds)) {
    SetUpModalDialog(this, "mapPainter", "Dialog");
    undo_ = new QUndoStack(this);
    undo_->setObjectName("mapUndoStack");

    picker_ = new CellPicker(this, "tilePicker", "Tile set", kTilePickerViewSize);
    tileSetLabel_ = Named<QLabel>("tileSetLabel");
    auto* previous = Button("previousTileSetButton", "<-");
    auto* next = Button("nextTileSetButton", "->");
    canvas_ = new MapCanvas(this);
    horizontal_ = Named<QScrollBar>("mapHorizontalScrollBar", Qt::Horizontal);
    horizontal_->setAccessibleName("Scroll the map across");
    vertical_ = Named<QScrollBar>("mapVerticalScrollBar", Qt::Vertical);
    vertical_->setAccessibleName("Scroll the map down");
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setSingleStep(1);
        bar->setPageStep(1);  // one tile, like a line step
    }
    onlyBackground_ = Named<QCheckBox>("overwriteOnlyBackgroundCheckBox", QStringLiteral("Overwrite only background"));
    satellite_ = Named<QCheckBox>("satelliteViewCheckBox", QStringLiteral("Satellite view"));
    grid_ = Named<QCheckBox>("gridCheckBox", QStringLiteral("Grid"));
    auto* fillButton = Button("fillButton", "Fill");
    auto* undo = Button("undoButton", "Undo");
    undo->setToolTip("Undo (Ctrl+Z)");
    auto* redo = Button("redoButton", "Redo");
    redo->setToolTip("Redo (Ctrl+Shift+Z, Ctrl+Y)");
    auto* ok = Button("okAndSaveButton", "OK and save");
    auto* cancel = Button("cancelButton", "Cancel");

    auto* left = new QVBoxLayout;
    left->addWidget(picker_);
    auto* tileSetRow = new QHBoxLayout;
    tileSetRow->addWidget(tileSetLabel_, 1);
    tileSetRow->addWidget(previous);
    tileSetRow->addWidget(next);
    left->addLayout(tileSetRow);
    left->addSpacing(12);
    left->addWidget(onlyBackground_);
    left->addWidget(satellite_);
    left->addWidget(grid_);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(fillButton);
    editRow->addStretch(1);
    editRow->addWidget(undo);
    editRow->addWidget(redo);
    left->addLayout(editRow);
    left->addStretch(1);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(ok);
    okRow->addWidget(cancel);
    left->addLayout(okRow);

    auto* mapGrid = new QGridLayout;
    mapGrid->setSpacing(0);
    mapGrid->addWidget(canvas_, 0, 0);
    mapGrid->addWidget(vertical_, 0, 1);
    mapGrid->addWidget(horizontal_, 1, 0);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addSpacing(12);
    top->addLayout(mapGrid);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(picker_, &CellPicker::picked, this, [this](int c0, int r0, int c1, int r1) { pick(c0, r0, c1, r1); });
    connect(previous, &QPushButton::clicked, this, [this] {
        if (tileSetIndex_ > 0) showTileSet(tileSetIndex_ - 1);
    });
    connect(next, &QPushButton::clicked, this, [this] {
        if (tileSetIndex_ + 1 < tiles_.size()) showTileSet(tileSetIndex_ + 1);
    });
    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int v) {
        firstColumn_ = v;
        refresh();
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int v) {
        firstRow_ = v;
        refresh();
    });
    connect(satellite_, &QCheckBox::toggled, this, [this](bool on) {
        satelliteShown_ = on;
        refresh();
    });
    connect(grid_, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(fillButton, &QPushButton::clicked, this, [this] { fill(); });
    // Undo and redo wait for a stroke under way to end.
    auto undoStep = [this] {
        if (strokeButton_ == Qt::NoButton) undo_->undo();
    };
    auto redoStep = [this] {
        if (strokeButton_ == Qt::NoButton) undo_->redo();
    };
    connect(undo, &QPushButton::clicked, this, undoStep);
    connect(redo, &QPushButton::clicked, this, redoStep);
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo_, &QUndoStack::canUndoChanged, undo, &QWidget::setEnabled);
    connect(undo_, &QUndoStack::canRedoChanged, redo, &QWidget::setEnabled);
    auto* undoAction = new QAction("Undo", this);
    undoAction->setObjectName("undoAction");
    undoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    connect(undoAction, &QAction::triggered, this, undoStep);
    auto* redoAction = new QAction("Redo", this);
    redoAction->setObjectName("redoAction");
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(redoAction, &QAction::triggered, this, redoStep);
    addAction(undoAction);
    addAction(redoAction);
    connect(ok, &QPushButton::clicked, this, [this] { okAndSave(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    showTileSet(0);
    setMapRanges();
    picker_->startOutline();
}

void MapPainterDialog::showTileSet(int index) {
    tileSetIndex_ = index;
    const TileSet& set = tiles_[index];
    // One pass, so a "%2" in the item's name stays as typed.
    tileSetLabel_->setText(QString("%1 (%2/%3)").arg(set.description, QString::number(index + 1),
                                                     QString::number(tiles_.size())));
    picker_->setPicture(&set.image, tiles_.tileSize());
}

void MapPainterDialog::setMapRanges() {
    const int n = map_.tileSize > 0 ? kView / map_.tileSize : 0;
    for (auto [bar, max] : {std::pair{horizontal_, std::max(0, map_.columns() - n)},
                            std::pair{vertical_, std::max(0, map_.rows() - n)}}) {
        QSignalBlocker quiet(bar);
        bar->setRange(0, max);
        bar->setValue(0);
    }
    firstColumn_ = firstRow_ = 0;
}

void MapPainterDialog::pick(int c0, int r0, int c1, int r1) {
    const TileSet& set = tiles_[tileSetIndex_];
    // Only whole tiles of the picture, which a map cell can name (at most 256 across and down).
    if (c0 < 0 || r0 < 0 || c0 >= set.tilesAcross || r0 >= set.tilesDown) return;
    TileBlock block;
    block.tileSetId = static_cast<std::uint32_t>(set.id) & 0xFFFFu;
    block.firstColumn = c0;
    block.firstRow = r0;
    block.lastColumn = std::min(c1, set.tilesAcross - 1);
    block.lastRow = std::min(r1, set.tilesDown - 1);
    picked_ = block;
}

std::pair<std::int64_t, std::int64_t> MapPainterDialog::cellAt(QPoint p) const {
    const int tile = std::max(1, map_.tileSize);
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return {std::int64_t(floorDiv(p.x(), tile)) + firstColumn_, std::int64_t(floorDiv(p.y(), tile)) + firstRow_};
}

void MapPainterDialog::pressed(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (strokeButton_ != Qt::NoButton) return;
    if (button == Qt::LeftButton && (modifiers & Qt::ShiftModifier)) {
        if (!picked_) return;
        const auto [x, y] = cellAt(p);
        std::vector<CellChange> changes;
        FloodFill(map_, *picked_, x, y, rule(), &changes);
        if (!changes.empty()) undo_->push(new CellsCommand(this, std::move(changes), "Flood fill"));
        cellsChanged();
        return;
    }
    if (button == Qt::LeftButton && !picked_) return;  // nothing to paint with yet
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    strokeButton_ = button;
    stroke_.clear();
    strokeAt(p);
}

void MapPainterDialog::moved(QPoint p, Qt::MouseButtons buttons) {
    if (strokeButton_ != Qt::NoButton && (buttons & strokeButton_)) {
        strokeAt(p);
        return;
    }
    if (!picked_) return;
    // The block where it would go; the map itself stays as it is.
    preview_ = cellAt(p);
    canvas_->update();
}

void MapPainterDialog::released(Qt::MouseButton button) {
    if (button == strokeButton_) endStroke();
}

void MapPainterDialog::strokeAt(QPoint p) {
    const auto [x, y] = cellAt(p);
    const TileBlock block = strokeButton_ == Qt::RightButton
                                ? TileBlock::Eraser(picked_ ? picked_->width() : 1, picked_ ? picked_->height() : 1)
                                : *picked_;
    StampBlock(map_, block, x, y, rule(), &stroke_);
    cellsChanged();
}

void MapPainterDialog::endStroke() {
    if (!stroke_.empty())
        undo_->push(new CellsCommand(this, std::move(stroke_), strokeButton_ == Qt::RightButton ? "Erase" : "Paint"));
    stroke_.clear();
    strokeButton_ = Qt::NoButton;
}

void MapPainterDialog::wheel(int steps, bool across) {
    QScrollBar* bar = across ? horizontal_ : vertical_;
    bar->setValue(bar->value() + steps);
}

void MapPainterDialog::fill() {
    if (!picked_ || map_.width <= 0) return;
    CellSnapshot before = CellSnapshot::Take(map_);
    const bool onlyBackground = onlyBackground_->isChecked();
    fillWith(*picked_, onlyBackground);
    undo_->push(new FillCommand(this, std::move(before), *picked_, onlyBackground));
}

void MapPainterDialog::fillWith(const TileBlock& block, bool onlyBackground) {
    FillMap(map_, block, onlyBackground ? &kinds_ : nullptr);
    cellsChanged();
}

void MapPainterDialog::paintMap(QPainter& painter) {
    // The preview stamp is made, drawn and taken back at once.
    std::vector<CellChange> previewed;
    if (preview_ && picked_ && strokeButton_ == Qt::NoButton)
        StampBlock(map_, *picked_, preview_->first, preview_->second, rule(), &previewed);
    if (!previewed.empty()) satelliteStale_ = true;  // drawn with the stamp, then without
    if (satelliteShown_)
        paintSatellite(painter);
    else
        paintNormal(painter);
    if (grid_->isChecked()) paintGrid(painter);
    for (auto it = previewed.rbegin(); it != previewed.rend(); ++it) map_.cells[it->index] = it->before;
    if (!previewed.empty()) satelliteStale_ = true;
}

void MapPainterDialog::paintNormal(QPainter& painter) {
    const int tile = map_.tileSize;
    const int n = tile > 0 ? kView / tile : 0;
    const int columns = std::min(n, map_.columns());
    const int rows = std::min(n, map_.rows());
    // Beyond the map the view keeps the window's colour.
    const QColor beyond = palette().color(QPalette::Window);
    if (columns * tile < kView) painter.fillRect(columns * tile, 0, kView - columns * tile, kView, beyond);
    if (rows * tile < kView) painter.fillRect(0, rows * tile, columns * tile, kView - rows * tile, beyond);
    if (columns <= 0 || rows <= 0) return;
    if (map_.cells.size() < static_cast<std::uint64_t>(map_.width) * static_cast<std::uint64_t>(map_.height))
        painter.fillRect(0, 0, columns * tile, rows * tile, beyond);  // cells the record does not hold
    DrawMapCells(painter, map_, tiles_, firstColumn_, firstRow_, columns, rows);
}

void MapPainterDialog::paintSatellite(QPainter& painter) {
    const int tile = map_.tileSize;
    if (satelliteStale_) DrawSatelliteImage(map_, tiles_, kView, satelliteImage_);
    satelliteStale_ = false;
    const int w = satelliteImage_.isNull() ? 0 : satelliteImage_.width();
    const int h = satelliteImage_.isNull() ? 0 : satelliteImage_.height();
    // White around the small picture, then the tiles of the normal view whose corner lies
    // beyond it.
    painter.fillRect(w, 0, kView - w, kView, EmptyCellColour());
    painter.fillRect(0, h, w, kView - h, EmptyCellColour());
    if (w > 0) painter.drawImage(0, 0, satelliteImage_);
    if (tile > 0) {
        const int n = kView / tile;
        const int columns = std::min(n, map_.columns());
        const int rows = std::min(n, map_.rows());
        for (int v = 0; v < rows; ++v)
            for (int u = 0; u < columns; ++u) {
                if (u * tile < w && v * tile < h) continue;
                const std::int64_t x = std::int64_t(firstColumn_) + u, y = std::int64_t(firstRow_) + v;
                if (map_.holds(x, y)) tiles_.drawCell(painter, u * tile, v * tile, map_.at(x, y));
            }
    }
    // The visible part, outlined at the scroll position in black and white pixels: black where
    // x is odd on the top and bottom sides, where y is odd on the left and right ones.
    const int x0 = firstColumn_, y0 = firstRow_;
    if (x0 < kView && y0 < kView) {
        QImage& frame = satelliteFrames_[(x0 & 1) * 2 + (y0 & 1)];
        if (frame.isNull()) {
            frame = QImage(kSatelliteFrame, kSatelliteFrame, QImage::Format_ARGB32_Premultiplied);
            frame.fill(Qt::transparent);
            const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
            for (int i = 0; i < kSatelliteFrame; ++i) {
                const QRgb across = (x0 + i) % 2 ? black : white;
                const QRgb down = (y0 + i) % 2 ? black : white;
                frame.setPixel(i, 0, across);
                frame.setPixel(i, kSatelliteFrame - 1, across);
                frame.setPixel(0, i, down);
                frame.setPixel(kSatelliteFrame - 1, i, down);
            }
        }
        painter.drawImage(x0, y0, frame);
    }
}

void MapPainterDialog::paintGrid(QPainter& painter) {
    const int tile = map_.tileSize;
    if (tile <= 0 || satelliteShown_) return;
    const int n = kView / tile;
    const int columns = std::min(n, map_.columns());
    const int rows = std::min(n, map_.rows());
    painter.setPen(QColor(0, 0, 0, 90));
    for (int u = 1; u < columns; ++u) painter.drawLine(u * tile, 0, u * tile, rows * tile - 1);
    for (int v = 1; v < rows; ++v) painter.drawLine(0, v * tile, columns * tile - 1, v * tile);
}

void MapPainterDialog::okAndSave() {
    if (ObjectRecord* o = FindObject(objectId_, projectIndex_)) {
        WriteMapCells(map_, o->lpDatiOggetto);
        SaveProject(projectIndex_);
    }
    accept();
}

void MapPainterDialog::done(int result) {
    picker_->stopOutline();
    QDialog::done(result);
}

} // namespace

bool EditBackgroundMap(QWidget* owner, int projectIndex, std::int32_t objectId) {
    ObjectRecord* object = FindObject(objectId, projectIndex);
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!object || !project || object->tipoOggetto != kBackgroundMapType) return false;
    MapCells map = ReadMapCells(object->lpDatiOggetto);
    TileSets tiles;
    {
        WaitCursor wait;
        tiles = TileSets::LoadUsable(*project, map.tileSize);
    }
    if (tiles.empty()) {
        ShowMessage("No compatible background image found.");
        return false;
    }
    MapPainterDialog dialog(owner, projectIndex, objectId, std::move(map), std::move(tiles),
                            GroundKinds::Of(*project));
    return dialog.exec() == QDialog::Accepted;
}

} // namespace qb::ui
