#include "editors/platform/room.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/map_view.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {
namespace R = layout::room;
namespace El = layout::room::element;

constexpr int kFitStep = 16;
constexpr int kTick = 16;

std::int32_t ReadNumber(const QLineEdit* edit) {
    return ParseSignedDecimal(ToRecordText(edit->text()), kNumberChars);
}

std::size_t ElementAt(std::size_t index) { return R::kElements + index * R::kElementSize; }

std::int64_t FloorTo(std::int64_t value, std::int64_t step) {
    const std::int64_t q = value / step;
    return (value % step < 0 ? q - 1 : q) * step;
}

const char* RowText(std::int32_t kind) {
    if (kind == El::kBonus) return "Bonus ";
    if (kind == El::kVerticalEnemy) return "Vertical enemie ";
    return "Horizontal enemie ";
}

// A line in view pixels, skipped when both ends lie on the same side outside the view.
void Line(QPainter& p, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
          int size) {
    if ((x1 < 0 && x2 < 0) || (x1 >= size && x2 >= size) || (y1 < 0 && y2 < 0) ||
        (y1 >= size && y2 >= size))
        return;
    // Ends far outside are brought near the view; the painter clips the rest.
    auto near = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -4096, 4096)); };
    p.drawLine(near(x1), near(y1), near(x2), near(y2));
}

const EditorRegistration kRegistration(kRoomType, RunEditor<RoomDialog>);
} // namespace

std::int64_t RoomElementStart(std::int32_t initial, std::int32_t end, std::int32_t percent) {
    // At most (2^32 - 1) x 2^31 in magnitude: well inside 64 bits. Division truncates toward 0.
    const std::int64_t way = static_cast<std::int64_t>(end) - initial;
    return initial + way * percent / 100;
}

QPoint RoomMapPoint(QPoint viewPosition, std::int64_t left, std::int64_t top, bool fit) {
    std::int64_t x = viewPosition.x();
    std::int64_t y = static_cast<std::int64_t>(viewPosition.y()) + 1;
    if (fit) {
        x = FloorTo(x, kFitStep) + kFitStep / 2;
        y = FloorTo(y, kFitStep);
    }
    auto toInt = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {toInt(left + x), toInt(top - y)};
}

RoomDialog::RoomDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Room data"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    // Name and map.
    auto* nameForm = new QFormLayout;
    left->addLayout(nameForm);
    addItemNameRow(nameForm);
    auto* general = AddGroup<QFormLayout>(left, "generalParametersGroupBox", "General parameters");
    map_ = ItemCombo("backgroundMapComboBox");
    general->addRow(Label("backgroundMapLabel", "Background map"), map_);

    // The element being composed.
    auto* compose = AddGroup<QVBoxLayout>(left, "newParameterGroupBox", "New parameter");
    composingGroup_ = compose->parentWidget();
    auto* kindRow = new QHBoxLayout;
    enemy_ = Named<QRadioButton>("enemieRadioButton", QStringLiteral("Enemie"));
    bonus_ = Named<QRadioButton>("bonusRadioButton", QStringLiteral("Bonus"));
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(enemy_);
    kinds->addButton(bonus_);
    kindRow->addWidget(enemy_);
    kindRow->addWidget(bonus_);
    kindRow->addStretch(1);
    compose->addLayout(kindRow);

    auto* typeForm = new QFormLayout;
    compose->addLayout(typeForm);
    enemyTypeLabel_ = Label("enemieTypeLabel", "Enemie type");
    enemyType_ = ItemCombo("enemieTypeComboBox");
    bonusTypeLabel_ = Label("bonusTypeLabel", "Bonus type");
    bonusType_ = ItemCombo("bonusTypeComboBox");
    typeForm->addRow(enemyTypeLabel_, enemyType_);
    typeForm->addRow(bonusTypeLabel_, bonusType_);

    auto* orientationRow = new QHBoxLayout;
    vertical_ = Named<QRadioButton>("verticalRadioButton", QStringLiteral("Vertical"));
    horizontal_ = Named<QRadioButton>("horizontalRadioButton", QStringLiteral("Horizontal"));
    auto* orientations = new QButtonGroup(this);
    orientations->addButton(vertical_);
    orientations->addButton(horizontal_);
    orientationRow->addWidget(vertical_);
    orientationRow->addWidget(horizontal_);
    orientationRow->addStretch(1);
    compose->addLayout(orientationRow);

    auto* positions = new QGridLayout;
    compose->addLayout(positions);
    initX_ = NumberEdit("xInitLineEdit");
    initY_ = NumberEdit("yInitLineEdit");
    endX_ = NumberEdit("xEndLineEdit");
    endY_ = NumberEdit("yEndLineEdit");
    chooseInit_ = Named<QPushButton>("chooseInitFromMapPushButton", QStringLiteral("Choose from map"));
    chooseEnd_ = Named<QPushButton>("chooseEndFromMapPushButton", QStringLiteral("Choose from map"));
    chooseInit_->setAccessibleName(QStringLiteral("Choose init position from map"));
    chooseEnd_->setAccessibleName(QStringLiteral("Choose end position from map"));
    for (QPushButton* toggle : {chooseInit_, chooseEnd_}) toggle->setCheckable(true);
    auto* initXLabel = Label("xInitLabel", "X init map position");
    auto* initYLabel = Label("yInitLabel", "Y init map position");
    endXLabel_ = Label("xEndLabel", "X end map position");
    endYLabel_ = Label("yEndLabel", "Y end map position");
    initXLabel->setBuddy(initX_);
    initYLabel->setBuddy(initY_);
    endXLabel_->setBuddy(endX_);
    endYLabel_->setBuddy(endY_);
    positions->addWidget(initXLabel, 0, 0);
    positions->addWidget(initX_, 0, 1);
    positions->addWidget(initYLabel, 1, 0);
    positions->addWidget(initY_, 1, 1);
    positions->addWidget(chooseInit_, 1, 2);
    positions->addWidget(endXLabel_, 2, 0);
    positions->addWidget(endX_, 2, 1);
    positions->addWidget(endYLabel_, 3, 0);
    positions->addWidget(endY_, 3, 1);
    positions->addWidget(chooseEnd_, 3, 2);
    percentLabel_ = Label("percentInitLabel", "% init position");
    percent_ = NumberEdit("percentInitLineEdit");
    percentLabel_->setBuddy(percent_);
    positions->addWidget(percentLabel_, 4, 0);
    positions->addWidget(percent_, 4, 1);
    positions->setColumnStretch(3, 1);

    reversed_ = Named<QCheckBox>("reversedDirectionCheckBox", QStringLiteral("Reversed direction "));
    compose->addWidget(reversed_);

    auto* shots = AddGroup<QGridLayout>(compose, "shotGroupBox", "");
    shotGroup_ = shots->parentWidget();
    noShot_ = Named<QRadioButton>("noShotRadioButton", QStringLiteral("No shot"));
    shot_ = Named<QRadioButton>("shotRadioButton", QStringLiteral("Shot"));
    shotTimeout_ = NumberEdit("shotTimeoutLineEdit");
    auto* timeoutLabel = Label("shotTimeoutLabel", "Shot timeout (in milliseconds)");
    timeoutLabel->setBuddy(shotTimeout_);
    shots->addWidget(noShot_, 0, 0);
    shots->addWidget(shot_, 0, 1);
    shots->addWidget(timeoutLabel, 1, 0);
    shots->addWidget(shotTimeout_, 1, 1);

    // Two edits of the form that nothing stores.
    speed_ = NumberEdit("speedLineEdit");
    screenX_ = NumberEdit("xScreenPositionLineEdit");
    auto* speedLabel = Label("speedLabel", "Speed");
    auto* screenXLabel = Label("xScreenPositionLabel", "X screen position");
    speedLabel->setBuddy(speed_);
    screenXLabel->setBuddy(screenX_);
    for (QWidget* hidden : std::initializer_list<QWidget*>{speedLabel, speed_, screenXLabel, screenX_}) {
        compose->addWidget(hidden);
        hidden->setVisible(false);
    }

    addNew_ = Named<QPushButton>("addNewPushButton", QStringLiteral("Add new"));
    compose->addWidget(addNew_);
    left->addStretch(1);

    // The map with the elements drawn over it, the list and the neighbours.
    view_ = new MapView(this);
    view_->setObjectName("mapView");
    view_->setAccessibleName(QStringLiteral("Room map"));
    right->addWidget(view_, 0, Qt::AlignLeft);
    auto* codeRow = new QHBoxLayout;
    roomCode_ = NumberEdit("roomCodeLineEdit");
    auto* codeLabel = Label("roomCodeLabel", "Room code:");
    codeLabel->setBuddy(roomCode_);
    fit_ = Named<QCheckBox>("fitPositionCheckBox", QStringLiteral("Fit position 16x16"));
    codeRow->addWidget(codeLabel);
    codeRow->addWidget(roomCode_);
    codeRow->addStretch(1);
    codeRow->addWidget(fit_);
    right->addLayout(codeRow);

    list_ = Named<QListWidget>("elementsListWidget");
    list_->setAccessibleName(QStringLiteral("Room elements"));
    list_->setMinimumHeight(100);
    right->addWidget(list_, 1);
    auto* listButtons = new QHBoxLayout;
    change_ = Named<QPushButton>("changePushButton", QStringLiteral("Change"));
    delete_ = Named<QPushButton>("deletePushButton", QStringLiteral("Delete"));
    listButtons->addStretch(1);
    listButtons->addWidget(change_);
    listButtons->addWidget(delete_);
    right->addLayout(listButtons);

    auto* neighbours = new QFormLayout;
    right->addLayout(neighbours);
    leftRoom_ = NumberEdit("leftRoomLineEdit");
    rightRoom_ = NumberEdit("rightRoomLineEdit");
    topRoom_ = NumberEdit("topRoomLineEdit");
    bottomRoom_ = NumberEdit("bottomRoomLineEdit");
    neighbours->addRow(Label("leftRoomLabel", "Left room:"), leftRoom_);
    neighbours->addRow(Label("rightRoomLabel", "Right room:"), rightRoom_);
    neighbours->addRow(Label("topRoomLabel", "Top room:"), topRoom_);
    neighbours->addRow(Label("bottomRoomLabel", "Bottom room:"), bottomRoom_);

    // Loading: the working copy, the combos, the codes, the composing controls, the map.
    f.custom(
        [this](RecordView& r) {
            // A record of another size is cut or grown to the room's 1788 bytes.
            work_ = r.raw();
            work_.resize(R::kSize, 0);
            // A damaged count lists no more elements than the record has room for.
            count_ = static_cast<std::size_t>(std::clamp<std::int32_t>(
                r.i32(R::kElementCount), 0, static_cast<std::int32_t>(kMaxElements)));
            map_->clear();
            FillObjectCombo(map_, kBackgroundMapType);
            SelectObjectInCombo(map_, kBackgroundMapType, r.i32(R::kBackgroundMap) & 0xFFFF);
            enemyType_->clear();
            FillObjectCombo(enemyType_, kPlatformEnemyType);
            bonusType_->clear();
            FillObjectCombo(bonusType_, kPlatformItemType);
            roomCode_->setText(QString::number(r.i32(R::kRoomCode)));
            leftRoom_->setText(QString::number(r.i32(R::kLeftRoom)));
            rightRoom_->setText(QString::number(r.i32(R::kRightRoom)));
            topRoom_->setText(QString::number(r.i32(R::kTopRoom)));
            bottomRoom_->setText(QString::number(r.i32(R::kBottomRoom)));
        },
        nullptr);

    connect(map_, &QComboBox::currentIndexChanged, this, [this] { mapChosen(); });
    for (QRadioButton* radio : {enemy_, bonus_, vertical_, horizontal_})
        connect(radio, &QRadioButton::toggled, this, [this] {
            applyRules();
            view_->update();
        });
    for (QComboBox* combo : {enemyType_, bonusType_})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            applyRules();
            view_->update();
        });
    for (QLineEdit* edit : {initX_, initY_, endX_, endY_, percent_, shotTimeout_})
        connect(edit, &QLineEdit::textChanged, view_, [this] { view_->update(); });
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{noShot_, shot_, reversed_})
        connect(button, &QAbstractButton::toggled, view_, [this] { view_->update(); });
    connect(list_, &QListWidget::currentRowChanged, view_, [this] { view_->update(); });
    connect(addNew_, &QPushButton::clicked, this, &RoomDialog::addNew);
    connect(change_, &QPushButton::clicked, this, &RoomDialog::changeSelected);
    connect(delete_, &QPushButton::clicked, this, &RoomDialog::deleteSelected);
    connect(view_, &MapView::moved, this, [this](QPoint at, Qt::MouseButtons) { mouseMoved(at); });
    connect(view_, &MapView::pressed, this, [this](QPoint, Qt::MouseButton button, Qt::KeyboardModifiers) {
        // A left click keeps the last point picked.
        if (button != Qt::LeftButton) return;
        chooseInit_->setChecked(false);
        chooseEnd_->setChecked(false);
    });
    view_->setOverlay([this](QPainter& p, const MapView&) { drawElements(p); });

    MapViewInit(*view_, f.projectIndex());
    loadFields();
    resetComposing();
    mapChosen();
    refillList();
    fit_->setChecked(true);
}

RoomDialog::~RoomDialog() {
    // The controls go after this body; none of them may call back into the dialog meanwhile.
    for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
    view_->setOverlay({});
    MapViewRelease(*view_);
}

void RoomDialog::resetComposing() {
    enemy_->setChecked(true);
    enemyType_->setCurrentIndex(-1);
    bonusType_->setCurrentIndex(-1);
    horizontal_->setChecked(true);
    for (QLineEdit* edit : {initX_, initY_, endX_, endY_, percent_})
        edit->setText(QStringLiteral("0"));
    noShot_->setChecked(true);
    reversed_->setChecked(false);
    shotTimeout_->setText(QString::number(El::kResetShotTimeout));
    speed_->setText(QStringLiteral("1"));
    applyRules();
}

void RoomDialog::applyRules() {
    const bool enemy = enemy_->isChecked();
    // What shows: the enemy's controls or the bonus's.
    for (QWidget* w : std::initializer_list<QWidget*>{enemyTypeLabel_, enemyType_, vertical_,
                                                      horizontal_, endXLabel_, endX_, endYLabel_,
                                                      endY_, chooseEnd_, percentLabel_, percent_,
                                                      reversed_, shotGroup_})
        w->setVisible(enemy);
    bonusTypeLabel_->setVisible(!enemy);
    bonusType_->setVisible(!enemy);

    // What can be used: the kind and the type combos always; the rest once a type is chosen.
    const bool enemyChosen = enemy && enemyType_->currentIndex() >= 0;
    const bool bonusChosen = !enemy && bonusType_->currentIndex() >= 0;
    for (QWidget* w : std::initializer_list<QWidget*>{vertical_, horizontal_, endX_, endY_,
                                                      chooseEnd_, percent_, reversed_, noShot_,
                                                      shot_, shotTimeout_})
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{initX_, initY_, chooseInit_})
        w->setEnabled(enemyChosen || bonusChosen);
    if (enemyChosen) {
        for (QWidget* w : std::initializer_list<QWidget*>{vertical_, horizontal_, chooseEnd_,
                                                          percent_, reversed_, noShot_, shot_,
                                                          shotTimeout_})
            w->setEnabled(true);
        (vertical_->isChecked() ? endY_ : endX_)->setEnabled(true);
    }
    const bool mapChosen = map_->currentIndex() >= 0;
    addNew_->setEnabled(mapChosen && (enemyChosen || bonusChosen));
    buttons()->button(QDialogButtonBox::Ok)->setEnabled(mapChosen);
}

void RoomDialog::mapChosen() {
    MapViewShow(*view_, GetSelectedObjectId(map_, kBackgroundMapType));
    applyRules();
    view_->update();
}

void RoomDialog::refillList(int select) {
    list_->clear();
    ConstRecordView r(work_);
    for (std::size_t i = 0; i < count_; ++i)
        list_->addItem(QString::fromLatin1(RowText(r.i32(ElementAt(i) + El::kKind))));
    list_->setCurrentRow(select);
    view_->update();
}

void RoomDialog::addNew() {
    if (!addNew_->isEnabled()) return;
    if (count_ >= kMaxElements) {
        ShowMessage("Maximum number of elements (20) is reached!");
        return;
    }
    const std::size_t at = ElementAt(count_);
    RecordView r(work_);
    const Bytes zero(R::kElementSize, 0);
    r.setBytes(at, zero.data(), zero.size());
    const bool enemy = enemy_->isChecked();
    r.setI32(at + El::kKind, !enemy ? El::kBonus
                              : vertical_->isChecked() ? El::kVerticalEnemy
                                                       : El::kHorizontalEnemy);
    if (enemy)
        r.setU32(at + El::kEnemy,
                 static_cast<std::uint32_t>(GetSelectedObjectId(enemyType_, kPlatformEnemyType)) & 0xFFFFu);
    else
        r.setU32(at + El::kItem,
                 static_cast<std::uint32_t>(GetSelectedObjectId(bonusType_, kPlatformItemType)) & 0xFFFFu);
    r.setI32(at + El::kInitX, ReadNumber(initX_));
    r.setI32(at + El::kInitY, ReadNumber(initY_));
    r.setI32(at + El::kEndX, ReadNumber(endX_));
    r.setI32(at + El::kEndY, ReadNumber(endY_));
    r.setI32(at + El::kStartPercent, ReadNumber(percent_));
    r.setU32(at + El::kReversed, reversed_->isChecked() ? 1u : 0u);
    r.setU32(at + El::kShoots, shot_->isChecked() ? 1u : 0u);
    r.setI32(at + El::kShotTimeout, ReadNumber(shotTimeout_));
    ++count_;
    refillList();
    resetComposing();
}

void RoomDialog::changeSelected() {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= count_) return;
    const std::size_t at = ElementAt(static_cast<std::size_t>(row));
    ConstRecordView r(work_);
    initX_->setText(QString::number(r.i32(at + El::kInitX)));
    initY_->setText(QString::number(r.i32(at + El::kInitY)));
    endX_->setText(QString::number(r.i32(at + El::kEndX)));
    endY_->setText(QString::number(r.i32(at + El::kEndY)));
    percent_->setText(QString::number(r.i32(at + El::kStartPercent)));
    shotTimeout_->setText(QString::number(r.i32(at + El::kShotTimeout)));
    reversed_->setChecked(r.u32(at + El::kReversed) != 0);
    const std::int32_t kind = r.i32(at + El::kKind);
    (kind == El::kBonus ? bonus_ : enemy_)->setChecked(true);
    (kind == El::kVerticalEnemy ? vertical_ : horizontal_)->setChecked(true);
    if (kind == El::kBonus)
        SelectObjectInCombo(bonusType_, kPlatformItemType, r.i32(at + El::kItem) & 0xFFFF);
    else
        SelectObjectInCombo(enemyType_, kPlatformEnemyType, r.i32(at + El::kEnemy) & 0xFFFF);
    (r.u32(at + El::kShoots) == 1 ? shot_ : noShot_)->setChecked(true);
    deleteSelected();
    applyRules();
}

void RoomDialog::deleteSelected() {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= count_) return;
    RecordView r(work_);
    for (std::size_t i = static_cast<std::size_t>(row); i + 1 < count_; ++i) {
        const Bytes next = r.bytes(ElementAt(i + 1), R::kElementSize);
        r.setBytes(ElementAt(i), next.data(), next.size());
    }
    --count_;
    const Bytes zero(R::kElementSize, 0);
    r.setBytes(ElementAt(count_), zero.data(), zero.size());
    refillList();
}

std::int64_t RoomDialog::viewLeft() const {
    return static_cast<std::int64_t>(view_->tileSize()) * view_->firstColumn();
}

std::int64_t RoomDialog::viewTop() const {
    return static_cast<std::int64_t>(view_->mapHeight() - view_->firstRow()) * view_->tileSize();
}

void RoomDialog::mouseMoved(QPoint position) {
    if (!chooseInit_->isChecked() && !chooseEnd_->isChecked()) return;
    const QPoint point = RoomMapPoint(position, viewLeft(), viewTop(), fit_->isChecked());
    if (chooseInit_->isChecked()) {
        initX_->setText(QString::number(point.x()));
        initY_->setText(QString::number(point.y()));
    }
    if (chooseEnd_->isChecked()) {
        endX_->setText(QString::number(point.x()));
        endY_->setText(QString::number(point.y()));
    }
    view_->update();
}

RoomElement RoomDialog::composing() const {
    RoomElement e;
    e.kind = bonus_->isChecked() ? El::kBonus
             : vertical_->isChecked() ? El::kVerticalEnemy
                                      : El::kHorizontalEnemy;
    e.initX = ReadNumber(initX_);
    e.initY = ReadNumber(initY_);
    e.endX = ReadNumber(endX_);
    e.endY = ReadNumber(endY_);
    e.percent = ReadNumber(percent_);
    return e;
}

void RoomDialog::drawElements(QPainter& p) {
    const int size = view_->viewSize();
    const std::int64_t left = viewLeft(), top = viewTop();
    auto draw = [&](const RoomElement& e, const QColor& colour) {
        p.setPen(QPen(colour, 1));
        const std::int64_t x1 = e.initX - left, y1 = top - e.initY - 1;
        const std::int64_t x2 = e.endX - left, y2 = top - e.endY - 1;
        if (e.kind == El::kBonus) {
            Line(p, x1 - 2, y1, x1 + 2, y1, size);
            Line(p, x1 - 2, y1 - 4, x1 + 2, y1 - 4, size);
            Line(p, x1 - 2, y1 - 4, x1 - 2, y1, size);
            Line(p, x1 + 2, y1 - 4, x1 + 2, y1, size);
        } else if (e.kind == El::kVerticalEnemy) {
            Line(p, x1, y1, x1, y2, size);
            const std::int64_t ys = top - RoomElementStart(e.initY, e.endY, e.percent) - 1;
            Line(p, x1 - kTick / 2, ys, x1 + kTick / 2, ys, size);
        } else {
            Line(p, x1, y1, x2, y1, size);
            const std::int64_t xs = RoomElementStart(e.initX, e.endX, e.percent) - left;
            Line(p, xs, y1, xs, y1 - kTick, size);
        }
    };
    p.save();
    p.setClipRect(0, 0, size, size);
    const RoomElement current = composing();
    if (current.initX != 0 || current.initY != 0) draw(current, Qt::yellow);
    ConstRecordView r(work_);
    const int selected = list_->currentRow();
    for (std::size_t i = 0; i < count_; ++i) {
        const std::size_t at = ElementAt(i);
        RoomElement e;
        e.kind = r.i32(at + El::kKind);
        e.initX = r.i32(at + El::kInitX);
        e.initY = r.i32(at + El::kInitY);
        e.endX = r.i32(at + El::kEndX);
        e.endY = r.i32(at + El::kEndY);
        e.percent = r.i32(at + El::kStartPercent);
        draw(e, static_cast<int>(i) == selected ? Qt::red : Qt::green);
    }
    p.restore();
}

void RoomDialog::accept() {
    // Enter in an edit while no map is chosen must not get past the disabled OK.
    if (!buttons()->button(QDialogButtonBox::Ok)->isEnabled()) return;
    ItemEditorDialog::accept();
}

bool RoomDialog::validateAndFinish() {
    ObjectRecord* object = fields().object();
    if (!object) return true;
    Bytes fresh = work_;
    fresh.resize(R::kSize, 0);
    RecordView r(fresh);
    r.setI32(R::kElementCount, static_cast<std::int32_t>(count_));
    r.setI32(R::kRoomCode, ReadNumber(roomCode_));
    r.setI32(R::kLeftRoom, ReadNumber(leftRoom_));
    r.setI32(R::kRightRoom, ReadNumber(rightRoom_));
    r.setI32(R::kTopRoom, ReadNumber(topRoom_));
    r.setI32(R::kBottomRoom, ReadNumber(bottomRoom_));
    r.setU32(R::kBackgroundMap,
             static_cast<std::uint32_t>(GetSelectedObjectId(map_, kBackgroundMapType)) & 0xFFFFu);
    object->lpDatiOggetto = std::move(fresh);
    return true;
}

} // namespace qb::ui
