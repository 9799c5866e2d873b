#include "editors/curling/pachinko_board.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

#include "imaging/map_view.h"
#include "model/layouts/pachinko.h"
#include "model/preferences.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "toolkit/bindings.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace B = layout::pachinko_board;
namespace P = layout::pachinko_board::piece;

constexpr int kMultiChars = 254;  // the "Add multi" numbers, as read and as kept

// The four "Add multi" numbers in preferences.ini: key, default, edit name, label.
struct MultiSetting {
    const char* key;
    const char* defaultValue;
    const char* name;
    const char* label;
};
constexpr const char* kPreferencesSection = "PEGMAPDATA";
constexpr MultiSetting kMultiSettings[4] = {
    {"IDC_EDIT_N_COLUMNS", "1", "multiColumnsLineEdit", "Columns:"},
    {"IDC_EDIT_N_ROWS", "1", "multiRowsLineEdit", "Rows:"},
    {"IDC_EDIT_X_OFFSET", "20", "multiOffsetXLineEdit", "X offset:"},
    {"IDC_EDIT_Y_OFFSET", "20", "multiOffsetYLineEdit", "Y offset:"}};

constexpr QRgb kComposingColour = 0xFFFFFF00u;  // yellow
constexpr QRgb kPieceColour = 0xFF00FF00u;      // green
constexpr QRgb kSelectedColour = 0xFFFF0000u;   // red

Bytes CurrentRecord() {
    const ObjectRecord* o = FindObject(CurrentObjectId(), CurrentProjectIndex());
    return o ? o->lpDatiOggetto : Bytes{};
}

std::int32_t ReadNumber(const QLineEdit* edit, std::size_t maxChars = kNumberChars) {
    return ParseSignedDecimal(ToRecordText(edit->text()), maxChars);
}

// Rounds down to a multiple of 16, also below 0.
int Floor16(int v) { return v >= 0 ? v / 16 * 16 : -((-v + 15) / 16 * 16); }

// The pieces' lines, written straight into a layer of the view's size that is then drawn over
// the map: hundreds of short lines cost little that way. The layer is kept between repaints and
// only the part the last repaint used is cleared.
class PieceLines {
public:
    PieceLines(QImage& layer, QRect& used, int viewSize) : layer_(layer), used_(used), size_(viewSize) {
        if (layer_.width() != size_ || layer_.height() != size_) {
            layer_ = QImage(size_, size_, QImage::Format_ARGB32_Premultiplied);
            layer_.fill(Qt::transparent);
            used_ = QRect();
        }
        bits_ = reinterpret_cast<QRgb*>(layer_.bits());
        stride_ = static_cast<std::size_t>(layer_.bytesPerLine()) / sizeof(QRgb);
        for (int y = used_.top(); y <= used_.bottom(); ++y) {
            QRgb* line = bits_ + static_cast<std::size_t>(y) * stride_;
            std::fill(line + used_.left(), line + used_.right() + 1, QRgb(0));
        }
        used_ = QRect();
    }

    // A line from a up to, not including, b (the way the board has always been drawn: a
    // 4-pixel bar from x - 2 to x + 2 covers x - 2 .. x + 1). Lines whose two ends lie on the
    // same side outside the view are left out. Both are horizontal or vertical.
    void add(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, QRgb colour) {
        if ((ax < 0 && bx < 0) || (ax >= size_ && bx >= size_) || (ay < 0 && by < 0) ||
            (ay >= size_ && by >= size_))
            return;
        if (ax == bx && ay == by) return;
        // The pixels covered, inclusive, cut to the view.
        const std::int64_t lastX = bx - (bx > ax) + (bx < ax);
        const std::int64_t lastY = by - (by > ay) + (by < ay);
        const int x0 = Cut(std::min(ax, lastX)), x1 = Cut(std::max(ax, lastX));
        const int y0 = Cut(std::min(ay, lastY)), y1 = Cut(std::max(ay, lastY));
        if (std::max(ax, lastX) < 0 || std::min(ax, lastX) >= size_ || std::max(ay, lastY) < 0 ||
            std::min(ay, lastY) >= size_)
            return;
        for (int y = y0; y <= y1; ++y) {
            QRgb* line = bits_ + static_cast<std::size_t>(y) * stride_;
            std::fill(line + x0, line + x1 + 1, colour);
        }
        left_ = std::min(left_, x0);
        top_ = std::min(top_, y0);
        right_ = std::max(right_, x1);
        bottom_ = std::max(bottom_, y1);
    }
    // The part of the layer drawn on.
    QRect used() const { return right_ < left_ ? QRect() : QRect(QPoint(left_, top_), QPoint(right_, bottom_)); }

private:
    int Cut(std::int64_t v) const {
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, static_cast<std::int64_t>(size_) - 1));
    }
    QImage& layer_;
    QRect& used_;
    int size_;
    QRgb* bits_ = nullptr;
    std::size_t stride_ = 0;
    int left_ = std::numeric_limits<int>::max(), top_ = std::numeric_limits<int>::max();
    int right_ = -1, bottom_ = -1;
};

// The lines of one piece whose initial point is (x1, y1) and end point (x2, y2) in view pixels.
void AddPiece(PieceLines& lines, std::uint32_t placement, std::int64_t x1, std::int64_t y1,
              std::int64_t x2, std::int64_t y2, QRgb colour) {
    switch (placement) {
    case P::kVertical:
        lines.add(x1, y1, x1, y2, colour);
        lines.add(x1 - 2, y1, x1 + 2, y1, colour);
        lines.add(x1 - 2, y2, x1 + 2, y2, colour);
        break;
    case P::kFixed:
        lines.add(x1 - 2, y1, x1 + 3, y1, colour);
        lines.add(x1, y1 - 2, x1, y1 + 3, colour);
        break;
    case P::kHorizontal:
        lines.add(x1, y1, x2, y1, colour);
        lines.add(x1, y1 - 2, x1, y1 + 2, colour);
        lines.add(x2, y1 - 2, x2, y1 + 2, colour);
        break;
    default: break;  // a placement no piece can have is not drawn
    }
}

QLineEdit* PositionEdit(const char* name) {
    QLineEdit* edit = NumberEdit(name);
    return edit;
}

void AddRow(QGridLayout* grid, int row, int column, const char* labelName, const char* label,
            QWidget* field) {
    QLabel* caption = Label(labelName, label);
    caption->setBuddy(field);
    grid->addWidget(caption, row, column);
    grid->addWidget(field, row, column + 1);
}

} // namespace

PachinkoBoardDialog::PachinkoBoardDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Pachinko's and Peggle's data"), TreeAfterOk::Rebuild),
      pieces_(ConstRecordView(CurrentRecord())) {
    FieldBinder& f = fields();
    addItemNameRow(addForm());

    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);

    // The board: its map and the pieces over it.
    auto* mapRow = new QFormLayout;
    left->addLayout(mapRow);
    map_ = ItemCombo("backgroundMapComboBox");
    QLabel* mapLabel = Label("backgroundMapLabel", "Background map");
    mapLabel->setBuddy(map_);
    mapRow->addRow(mapLabel, map_);
    view_ = new MapView(this);
    view_->setAccessibleName(QStringLiteral("Pachinko board"));
    left->addWidget(view_);
    auto* numbers = new QFormLayout;
    left->addLayout(numbers);
    levelOrder_ = PositionEdit("levelOrderLineEdit");
    balls_ = PositionEdit("ballsLineEdit");
    bonus_ = PositionEdit("bonusLineEdit");
    const std::pair<const char*, const char*> numberLabels[] = {
        {"levelOrderLabel", "Level order:"}, {"ballsLabel", "Number of balls:"}, {"bonusLabel", "Bonus for complete:"}};
    QLineEdit* numberEdits[] = {levelOrder_, balls_, bonus_};
    for (int i = 0; i < 3; ++i) {
        QLabel* caption = Label(numberLabels[i].first, numberLabels[i].second);
        caption->setBuddy(numberEdits[i]);
        numbers->addRow(caption, numberEdits[i]);
    }
    left->addStretch(1);

    // The piece being composed.
    auto* compose = AddGroup<QGridLayout>(right, "pieceGroupBox", "Piece");
    element_ = ItemCombo("elementComboBox");
    AddRow(compose, 0, 0, "elementLabel", "Pachinko's Element:", element_);
    compose->setColumnStretch(1, 1);
    auto* placements = new QHBoxLayout;
    vertical_ = Named<QRadioButton>("verticalRadioButton", QStringLiteral("Vertical"));
    fixed_ = Named<QRadioButton>("fixedPositionRadioButton", QStringLiteral("Fixed position"));
    horizontal_ = Named<QRadioButton>("horizontalRadioButton", QStringLiteral("Horizontal"));
    for (QRadioButton* radio : {vertical_, fixed_, horizontal_}) placements->addWidget(radio);
    placements->addStretch(1);
    compose->addLayout(placements, 1, 0, 1, 4);
    initX_ = PositionEdit("initXLineEdit");
    initY_ = PositionEdit("initYLineEdit");
    endX_ = PositionEdit("endXLineEdit");
    endY_ = PositionEdit("endYLineEdit");
    auto* positions = new QGridLayout;
    compose->addLayout(positions, 2, 0, 1, 4);
    AddRow(positions, 0, 0, "initXLabel", "X init map position", initX_);
    AddRow(positions, 1, 0, "initYLabel", "Y init map position", initY_);
    AddRow(positions, 0, 3, "endXLabel", "X end map position", endX_);
    AddRow(positions, 1, 3, "endYLabel", "Y end map position", endY_);
    chooseInit_ = Named<QPushButton>("chooseInitFromMapButton", QStringLiteral("Choose from map"));
    chooseEnd_ = Named<QPushButton>("chooseEndFromMapButton", QStringLiteral("Choose from map"));
    chooseInit_->setAccessibleName(QStringLiteral("Choose initial position from map"));
    chooseEnd_->setAccessibleName(QStringLiteral("Choose end position from map"));
    for (QPushButton* toggle : {chooseInit_, chooseEnd_}) toggle->setCheckable(true);
    positions->addWidget(chooseInit_, 2, 0, 1, 2);
    positions->addWidget(chooseEnd_, 2, 3, 1, 2);
    positions->setColumnMinimumWidth(2, 12);
    fit16_ = Named<QCheckBox>("fit16CheckBox", QStringLiteral("Fit position 16x16"));
    compose->addWidget(fit16_, 3, 0, 1, 4);
    auto* adds = new QHBoxLayout;
    addOne_ = Named<QPushButton>("addOneButton", QStringLiteral("Add one"));
    addMulti_ = Named<QPushButton>("addMultiButton", QStringLiteral("Add multi"));
    adds->addWidget(addOne_);
    adds->addWidget(addMulti_);
    adds->addStretch(1);
    compose->addLayout(adds, 4, 0, 1, 4);

    auto* multi = AddGroup<QGridLayout>(right, "addMultiGroupBox", "Add multi");
    for (int i = 0; i < 4; ++i) {
        const MultiSetting& s = kMultiSettings[i];
        multi_[static_cast<std::size_t>(i)] = NumberEdit(s.name);
        multi_[static_cast<std::size_t>(i)]->setMaxLength(kMultiChars);
        const QByteArray labelName = QByteArray(s.name).replace("LineEdit", "Label");
        AddRow(multi, i % 2, (i / 2) * 2, labelName.constData(), s.label, multi_[static_cast<std::size_t>(i)]);
    }

    // The placed pieces.
    auto* placed = AddGroup<QVBoxLayout>(right, "piecesGroupBox", "Pieces", 1);
    list_ = Named<QListWidget>("piecesListWidget");
    list_->setAccessibleName(QStringLiteral("Pieces"));
    list_->setMinimumHeight(140);
    placed->addWidget(list_, 1);
    auto* edits = new QHBoxLayout;
    auto* changeButton = Named<QPushButton>("changeButton", QStringLiteral("Change"));
    auto* deleteButton = Named<QPushButton>("deleteButton", QStringLiteral("Delete"));
    auto* deleteFrom = Named<QPushButton>("deleteFromSelectedButton", QStringLiteral("Delete from selected"));
    auto* deleteAllButton = Named<QPushButton>("deleteAllButton", QStringLiteral("Delete ALL"));
    for (QPushButton* b : {changeButton, deleteButton, deleteFrom, deleteAllButton}) edits->addWidget(b);
    edits->addStretch(1);
    placed->addLayout(edits);

    // Opening.
    MapViewInit(*view_, f.projectIndex());
    f.custom(
        [this](RecordView& r) {
            levelOrder_->setText(QString::number(r.i32(B::kLevelOrder)));
            balls_->setText(QString::number(r.i32(B::kBallCount)));
            bonus_->setText(QString::number(r.i32(B::kCompletionBonus)));
            map_->clear();
            FillObjectCombo(map_, kBackgroundMapType);
            SelectObjectInCombo(map_, kBackgroundMapType, r.i32(B::kBackgroundMap));
        },
        nullptr);  // OK replaces the whole record (validateAndFinish)
    FillObjectCombo(element_, kPachinkoElementType);
    element_->setCurrentIndex(-1);
    fixed_->setChecked(true);
    resetPositions();
    for (int i = 0; i < 4; ++i) {
        const MultiSetting& s = kMultiSettings[i];
        multi_[static_cast<std::size_t>(i)]->setText(
            FromRecordText(GetPreferenceIn(kPreferencesSection, s.key, s.defaultValue)));
    }
    loadFields();
    applyEnablingRule();
    MapViewShow(*view_, GetSelectedObjectId(map_, kBackgroundMapType));
    view_->setOverlay([this](QPainter& painter, const MapView&) { paintPieces(painter); });
    refillList(-1);

    // What the controls do.
    connect(map_, &QComboBox::currentIndexChanged, this, &PachinkoBoardDialog::mapChosen);
    connect(element_, &QComboBox::currentIndexChanged, this, &PachinkoBoardDialog::mapChosen);
    for (QRadioButton* radio : {vertical_, fixed_, horizontal_})
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (!checked) return;
            applyEnablingRule();
            view_->update();
        });
    for (QLineEdit* edit : {initX_, initY_, endX_, endY_})
        connect(edit, &QLineEdit::textChanged, view_, [this] { view_->update(); });
    connect(list_, &QListWidget::currentRowChanged, view_, [this] { view_->update(); });
    connect(view_, &MapView::moved, this, [this](QPoint at, Qt::MouseButtons) { pick(at); });
    connect(view_, &MapView::pressed, this, [this](QPoint, Qt::MouseButton button, Qt::KeyboardModifiers) {
        if (button != Qt::LeftButton) return;
        chooseInit_->setChecked(false);
        chooseEnd_->setChecked(false);
    });
    connect(addOne_, &QPushButton::clicked, this, &PachinkoBoardDialog::addOne);
    connect(addMulti_, &QPushButton::clicked, this, &PachinkoBoardDialog::addMulti);
    connect(changeButton, &QPushButton::clicked, this, &PachinkoBoardDialog::change);
    connect(deleteButton, &QPushButton::clicked, this, &PachinkoBoardDialog::deleteSelected);
    connect(deleteFrom, &QPushButton::clicked, this, &PachinkoBoardDialog::deleteFromSelected);
    connect(deleteAllButton, &QPushButton::clicked, this, &PachinkoBoardDialog::deleteAll);
}

PachinkoBoardDialog::~PachinkoBoardDialog() {
    // After OK and Cancel alike the "Add multi" numbers are kept for the next board.
    for (int i = 0; i < 4; ++i)
        SetPreferenceIn(kPreferencesSection, kMultiSettings[i].key,
                        ToRecordText(multi_[static_cast<std::size_t>(i)]->text(), kMultiChars));
    view_->setOverlay({});
    MapViewRelease(*view_);
}

void PachinkoBoardDialog::applyEnablingRule() {
    for (QWidget* w : std::initializer_list<QWidget*>{initX_, initY_, endX_, endY_, chooseInit_, chooseEnd_,
                                                      element_, vertical_, fixed_, horizontal_, fit16_,
                                                      addOne_, addMulti_})
        w->setEnabled(false);
    QPushButton* ok = buttons()->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    const bool hasMap = GetSelectedObjectId(map_, kBackgroundMapType) != 0;
    if (hasMap) {
        element_->setEnabled(true);
        ok->setEnabled(true);
    }
    if (hasMap && GetSelectedObjectId(element_, kPachinkoElementType) != 0) {
        initX_->setEnabled(true);
        initY_->setEnabled(true);
        if (vertical_->isChecked()) {
            endY_->setEnabled(true);
            chooseInit_->setEnabled(true);
            chooseEnd_->setEnabled(true);
        } else if (fixed_->isChecked()) {
            chooseInit_->setEnabled(true);
        } else if (horizontal_->isChecked()) {
            endX_->setEnabled(true);
            chooseInit_->setEnabled(true);
            chooseEnd_->setEnabled(true);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{addOne_, addMulti_, vertical_, fixed_, horizontal_, fit16_})
            w->setEnabled(true);
    }
    // A toggle that cannot be used no longer picks.
    for (QPushButton* toggle : {chooseInit_, chooseEnd_})
        if (!toggle->isEnabled()) toggle->setChecked(false);
}

void PachinkoBoardDialog::mapChosen() {
    MapViewShow(*view_, GetSelectedObjectId(map_, kBackgroundMapType));
    applyEnablingRule();
}

void PachinkoBoardDialog::refillList(int select) {
    ++piecesGeneration_;  // the pieces may have changed
    list_->clear();
    std::unordered_map<std::uint32_t, QString> elements;
    if (const ProjectRecord* p = fields().project())
        for (const ObjectRecord& o : p->objects)
            if (o.tipoOggetto == kPachinkoElementType)
                elements.emplace(static_cast<std::uint32_t>(o.IDoggetto), FromRecordText(o.sDescrizione));
    for (int i = 0; i < pieces_.count(); ++i) {
        const auto found = elements.find(pieces_.at(i).element);
        list_->addItem(found != elements.end() ? found->second : QStringLiteral("#err"));
    }
    list_->setCurrentRow(select >= 0 && select < pieces_.count() ? select : -1);
    view_->update();
}

PachinkoPiece PachinkoBoardDialog::composedPiece() const {
    PachinkoPiece piece;
    piece.element = static_cast<std::uint32_t>(GetSelectedObjectId(element_, kPachinkoElementType));
    piece.placement = vertical_->isChecked()     ? P::kVertical
                      : horizontal_->isChecked() ? P::kHorizontal
                                                 : P::kFixed;
    piece.initX = ReadNumber(initX_);
    piece.initY = ReadNumber(initY_);
    piece.endX = ReadNumber(endX_);
    piece.endY = ReadNumber(endY_);
    return piece;
}

void PachinkoBoardDialog::resetPositions() {
    for (QLineEdit* edit : {initX_, initY_, endX_, endY_}) edit->setText(QStringLiteral("0"));
}

void PachinkoBoardDialog::addOne() {
    if (!pieces_.add(composedPiece())) {
        ShowMessage(kBoardFullMessage);
        return;
    }
    refillList(-1);
    resetPositions();
    applyEnablingRule();
    view_->update();
}

void PachinkoBoardDialog::addMulti() {
    const std::int32_t columns = ReadNumber(multi_[0], kMultiChars);
    const std::int32_t rows = ReadNumber(multi_[1], kMultiChars);
    const std::int32_t offsetX = ReadNumber(multi_[2], kMultiChars);
    const std::int32_t offsetY = ReadNumber(multi_[3], kMultiChars);
    if (!pieces_.addGrid(composedPiece(), columns, rows, offsetX, offsetY)) {
        ShowMessage(kBoardFullMessage);
        return;
    }
    resetPositions();
    refillList(-1);
    view_->update();
}

void PachinkoBoardDialog::change() {
    const int row = list_->currentRow();
    if (row < 0 || row >= pieces_.count()) return;
    const PachinkoPiece piece = pieces_.at(row);
    initX_->setText(QString::number(piece.initX));
    initY_->setText(QString::number(piece.initY));
    endX_->setText(QString::number(piece.endX));
    endY_->setText(QString::number(piece.endY));
    CheckExclusive({{vertical_, P::kVertical}, {fixed_, P::kFixed}, {horizontal_, P::kHorizontal}},
                   piece.placement);
    SelectObjectInCombo(element_, kPachinkoElementType, static_cast<std::int32_t>(piece.element));
    deleteSelected();
    applyEnablingRule();
}

void PachinkoBoardDialog::deleteSelected() {
    const int row = list_->currentRow();
    if (row < 0) return;
    pieces_.remove(row);
    refillList(row);
}

void PachinkoBoardDialog::deleteFromSelected() {
    const int row = list_->currentRow();
    if (row < 0) return;
    pieces_.removeFrom(row);
    refillList(row - 1);
}

void PachinkoBoardDialog::deleteAll() {
    pieces_.clear();
    refillList(-1);
}

void PachinkoBoardDialog::pick(QPoint at) {
    if (!chooseInit_->isChecked() && !chooseEnd_->isChecked()) return;
    const std::int64_t tile = view_->tileSize();
    const std::int64_t left = tile * view_->firstColumn();
    const std::int64_t top = (static_cast<std::int64_t>(view_->mapHeight()) - view_->firstRow()) * tile;
    int cx = at.x();
    int cy = at.y() + 1;
    if (fit16_->isChecked()) {
        cx = Floor16(cx) + 8;
        cy = Floor16(cy);
    }
    const QString x = QString::number(left + cx);
    const QString y = QString::number(top - cy);
    if (chooseInit_->isChecked()) {
        initX_->setText(x);
        initY_->setText(y);
    }
    if (chooseEnd_->isChecked()) {
        endX_->setText(x);
        endY_->setText(y);
    }
}

void PachinkoBoardDialog::paintPieces(QPainter& painter) {
    const std::int64_t tile = view_->tileSize();
    const std::int64_t left = tile * view_->firstColumn();
    const std::int64_t top = (static_cast<std::int64_t>(view_->mapHeight()) - view_->firstRow()) * tile;
    const PachinkoPiece composing = composedPiece();
    const int selected = list_->currentRow();
    // The layer is drawn again only when something it shows has changed.
    const LayerKey key{piecesGeneration_, selected, left, top, view_->viewSize(), composing};
    if (!(key == layerKey_) || layer_.isNull()) {
        layerKey_ = key;
        PieceLines lines(layer_, layerUsed_, view_->viewSize());
        auto add = [&](const PachinkoPiece& p, QRgb colour) {
            AddPiece(lines, p.placement, p.initX - left, top - p.initY - 1, p.endX - left,
                     top - p.endY - 1, colour);
        };
        // The piece being composed first, then the stored ones over it, the selected one last.
        if (composing.initX != 0 || composing.initY != 0) add(composing, kComposingColour);
        for (int i = 0; i < pieces_.count(); ++i)
            if (i != selected) add(pieces_.at(i), kPieceColour);
        if (selected >= 0 && selected < pieces_.count()) add(pieces_.at(selected), kSelectedColour);
        layerUsed_ = lines.used();
    }
    if (!layerUsed_.isEmpty()) painter.drawImage(layerUsed_.topLeft(), layer_, layerUsed_);
}

bool PachinkoBoardDialog::validateAndFinish() {
    const std::int32_t map = GetSelectedObjectId(map_, kBackgroundMapType);
    if (map == 0) return false;  // OK is disabled without a map
    ObjectRecord* o = fields().object();
    if (!o) return true;
    Bytes fresh = pieces_.bytes();
    RecordView r(fresh);
    r.setU32(B::kBackgroundMap, static_cast<std::uint32_t>(map) & 0xFFFFu);
    r.setI32(B::kLevelOrder, ReadNumber(levelOrder_));
    r.setI32(B::kBallCount, ReadNumber(balls_));
    r.setI32(B::kCompletionBonus, ReadNumber(bonus_));
    o->lpDatiOggetto = std::move(fresh);
    return true;
}

namespace {
const EditorRegistration kRegistration(kPachinkoBoardType, RunEditor<PachinkoBoardDialog>);
} // namespace

} // namespace qb::ui
