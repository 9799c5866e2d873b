#include "editors/racing/track_data.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "imaging/map_view.h"
#include "model/layouts/racing_items.h"
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

namespace T = layout::track;
namespace K = layout::track::marker;

constexpr int kMaxMarkers = static_cast<int>(T::kMarkerSlots);

std::int32_t NumberOf(const QLineEdit* edit) {
    return ParseSignedDecimal(ToRecordText(edit->text()), kNumberChars);
}

const char* KindText(std::uint16_t kind) {
    switch (kind) {
    case K::kStartLine: return "start line";
    case K::kBoxEnterExit: return "box enter/exit";
    case K::kBoxStartPosition: return "box start position";
    default: return "";
    }
}

const EditorRegistration kRegistration(kTrackDataType, RunEditor<TrackDataDialog>);

} // namespace

TrackDataDialog::TrackDataDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Track data"), TreeAfterOk::Rebuild) {
    FieldBinder& f = fields();
    if (const ObjectRecord* o = f.object()) backup_ = o->lpDatiOggetto;

    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* name = new QFormLayout;
    left->addLayout(name);
    name->addRow(Label("itemNameLabel", "Item name"), f.description(Named<QLineEdit>("itemNameLineEdit")));

    auto* general = AddGroup<QFormLayout>(left, "generalParametersGroupBox", "General parameters");
    map_ = f.object(ItemCombo("backgroundMapComboBox"), T::kBackgroundMap, kBackgroundMapType);
    general->addRow(Label("backgroundMapLabel", "Background map"), map_);
    // Kept out of sight; the lap time passes through.
    auto* lapTimeLabel = Label("maxLapTimeLabel", "Max time for lap (seconds):");
    auto* lapTime = f.number(NumberEdit("maxLapTimeLineEdit"), T::kMaxLapTime, kNumberChars);
    general->addRow(lapTimeLabel, lapTime);
    lapTimeLabel->hide();
    lapTime->hide();

    auto* orientation = AddGroup<QHBoxLayout>(left, "orientationGroupBox", "Orientation");
    vertical_ = Named<QRadioButton>("verticalRadioButton", QStringLiteral("Vertical"));
    horizontal_ = Named<QRadioButton>("horizontalRadioButton", QStringLiteral("Horizontal"));
    orientation->addWidget(vertical_);
    orientation->addWidget(horizontal_);
    auto* kind = AddGroup<QVBoxLayout>(left, "kindGroupBox", "Kind");
    startLine_ = Named<QRadioButton>("startLineRadioButton", QStringLiteral("Start line"));
    boxEnterExit_ = Named<QRadioButton>("boxEnterExitRadioButton", QStringLiteral("Box enter/exit"));
    boxStart_ = Named<QRadioButton>("boxStartPositionRadioButton", QStringLiteral("Box start position"));
    kind->addWidget(startLine_);
    kind->addWidget(boxEnterExit_);
    kind->addWidget(boxStart_);

    auto* newParameter = AddGroup<QVBoxLayout>(left, "newParameterGroupBox", "New parameter");
    auto point = [&](const char* groupName, const char* title, const char* xName,
                     const char* yName, const char* chooseName, QLineEdit*& x, QLineEdit*& y) {
        auto* form = AddGroup<QFormLayout>(newParameter, groupName, title);
        x = NumberEdit(xName);
        y = NumberEdit(yName);
        form->addRow(Label((std::string(xName) + "Label").c_str(), "X map position"), x);
        form->addRow(Label((std::string(yName) + "Label").c_str(), "Y map position"), y);
        auto* choose = Named<QPushButton>(chooseName, QStringLiteral("Choose from map"));
        choose->setCheckable(true);
        form->addRow(choose);
        return choose;
    };
    chooseStart_ = point("startGroupBox", "Start", "startX", "startY", "chooseStartButton", startX_, startY_);
    chooseEnd_ = point("endGroupBox", "End", "endX", "endY", "chooseEndButton", endX_, endY_);
    for (QLineEdit* e : {startX_, startY_, endX_, endY_})
        e->setObjectName(e->objectName() + "LineEdit");
    // Part of the form but not used by the track.
    auto* screenX = NumberEdit("xScreenPositionLineEdit");
    screenX->hide();
    newParameter->addWidget(screenX);
    auto* add = Named<QPushButton>("addNewButton", QStringLiteral("Add new"));
    newParameter->addWidget(add);
    left->addStretch(1);

    view_ = new MapView(this);
    view_->setObjectName("mapView");
    right->addWidget(view_, 0, Qt::AlignLeft);
    auto* laps = new QFormLayout;
    right->addLayout(laps);
    laps->addRow(Label("lapCountLabel", "Numero di giri da fare:"),
                 f.number(NumberEdit("lapCountLineEdit"), T::kLapCount, kNumberChars));
    list_ = Named<QListWidget>("markersListWidget");
    list_->setAccessibleName(QStringLiteral("Markers"));
    list_->setMinimumHeight(100);
    right->addWidget(list_, 1);
    auto* listButtons = new QHBoxLayout;
    auto* change = Named<QPushButton>("changeButton", QStringLiteral("Change"));
    auto* remove = Named<QPushButton>("deleteButton", QStringLiteral("Delete"));
    listButtons->addWidget(change);
    listButtons->addWidget(remove);
    listButtons->addStretch(1);
    right->addLayout(listButtons);

    // Each group's buttons exclude each other; the two toggles too, but both may be up.
    auto* orientations = new QButtonGroup(this);
    orientations->addButton(vertical_);
    orientations->addButton(horizontal_);
    auto* kinds = new QButtonGroup(this);
    for (QRadioButton* b : {startLine_, boxEnterExit_, boxStart_}) kinds->addButton(b);
    connect(chooseStart_, &QPushButton::toggled, this, [this](bool down) {
        if (down) chooseEnd_->setChecked(false);
    });
    connect(chooseEnd_, &QPushButton::toggled, this, [this](bool down) {
        if (down) chooseStart_->setChecked(false);
    });

    connect(add, &QPushButton::clicked, this, &TrackDataDialog::addMarker);
    connect(change, &QPushButton::clicked, this, &TrackDataDialog::changeMarker);
    connect(remove, &QPushButton::clicked, this, &TrackDataDialog::deleteMarker);
    for (QRadioButton* b : {vertical_, horizontal_, startLine_, boxEnterExit_, boxStart_})
        connect(b, &QRadioButton::toggled, this, [this] {
            applyEnabling();
            view_->update();
        });
    for (QLineEdit* e : {startX_, startY_, endX_, endY_})
        connect(e, &QLineEdit::textChanged, view_, qOverload<>(&QWidget::update));
    connect(list_, &QListWidget::currentRowChanged, view_, qOverload<>(&QWidget::update));

    view_->setOverlay([this](QPainter& painter, const MapView&) { drawMarkers(painter); });
    connect(view_, &MapView::moved, this, [this](QPoint at, Qt::MouseButtons) { pick(at); });
    connect(view_, &MapView::pressed, this, [this](QPoint, Qt::MouseButton button, Qt::KeyboardModifiers) {
        if (button != Qt::LeftButton) return;
        chooseStart_->setChecked(false);
        chooseEnd_->setChecked(false);
    });

    // A damaged count (negative, or more markers than the record holds) is stored as the list
    // shows it, so that the game reads only markers that exist.
    f.custom([](RecordView&) {}, [this](RecordView& r) {
        if (r.holds(T::kMarkerCount, 4)) r.setI32(T::kMarkerCount, markerCount());
    });

    MapViewInit(*view_, f.projectIndex());
    resetNewParameter();
    loadFields();
}

TrackDataDialog::~TrackDataDialog() {
    if (view_) MapViewRelease(*view_);
}

void TrackDataDialog::afterLoad() {
    MapViewShow(*view_, GetSelectedObjectId(map_, kBackgroundMapType));
    connect(map_, &QComboBox::currentIndexChanged, this, [this] {
        // Another map; the markers stay as they are.
        MapViewShow(*view_, GetSelectedObjectId(map_, kBackgroundMapType));
    });
    applyEnabling();
    refillList();
}

void TrackDataDialog::reject() {
    // Every marker change was made in the record: put back the record as it was at opening.
    if (ObjectRecord* o = fields().object(); o && !backup_.empty()) o->lpDatiOggetto = backup_;
    ItemEditorDialog::reject();
}

int TrackDataDialog::markerRoom() {
    const ObjectRecord* o = fields().object();
    if (!o || o->lpDatiOggetto.size() < T::kMarkers) return 0;
    const std::size_t room = (o->lpDatiOggetto.size() - T::kMarkers) / T::kMarkerSize;
    return static_cast<int>(std::min<std::size_t>(room, kMaxMarkers));
}

int TrackDataDialog::markerCount() {
    const ObjectRecord* o = fields().object();
    if (!o) return 0;
    return std::clamp<std::int32_t>(o->record().i32(T::kMarkerCount), 0, markerRoom());
}

TrackDataDialog::Marker TrackDataDialog::markerAt(int index) {
    Marker m;
    const ObjectRecord* o = fields().object();
    if (!o || index < 0 || index >= kMaxMarkers) return m;
    const auto r = o->record();
    const std::size_t at = T::kMarkers + T::kMarkerSize * static_cast<std::size_t>(index);
    m.orientation = r.u16(at + K::kOrientation);
    m.kind = r.u16(at + K::kKind);
    m.startX = r.i32(at + K::kStartX);
    m.startY = r.i32(at + K::kStartY);
    m.endX = r.i32(at + K::kEndX);
    m.endY = r.i32(at + K::kEndY);
    return m;
}

void TrackDataDialog::setMarker(RecordView& r, int index, const Marker& m) {
    if (index < 0 || index >= kMaxMarkers) return;
    const std::size_t at = T::kMarkers + T::kMarkerSize * static_cast<std::size_t>(index);
    r.setU16(at + K::kOrientation, m.orientation);
    r.setU16(at + K::kKind, m.kind);
    r.setI32(at + K::kStartX, m.startX);
    r.setI32(at + K::kStartY, m.startY);
    r.setI32(at + K::kEndX, m.endX);
    r.setI32(at + K::kEndY, m.endY);
}

TrackDataDialog::Marker TrackDataDialog::describedMarker() const {
    Marker m;
    m.orientation = vertical_->isChecked() ? K::kVertical : K::kHorizontal;
    m.kind = boxEnterExit_->isChecked() ? K::kBoxEnterExit
             : boxStart_->isChecked()   ? K::kBoxStartPosition
                                        : K::kStartLine;
    m.startX = NumberOf(startX_);
    m.startY = NumberOf(startY_);
    m.endX = NumberOf(endX_);
    m.endY = NumberOf(endY_);
    return m;
}

void TrackDataDialog::resetNewParameter() {
    horizontal_->setChecked(true);
    startLine_->setChecked(true);
    for (QLineEdit* e : {startX_, startY_, endX_, endY_}) e->setText(QStringLiteral("0"));
}

void TrackDataDialog::applyEnabling() {
    const bool vertical = vertical_->isChecked();
    endX_->setEnabled(!vertical);
    endY_->setEnabled(vertical);
}

void TrackDataDialog::refillList(int select) {
    list_->clear();
    const int count = markerCount();
    for (int i = 0; i < count; ++i) list_->addItem(QString::fromLatin1(KindText(markerAt(i).kind)));
    list_->setCurrentRow(select);
    view_->update();
}

void TrackDataDialog::addMarker() {
    ObjectRecord* o = fields().object();
    if (!o) return;
    const int count = markerCount();
    if (count >= markerRoom()) {
        // The record has room for no more; the marker stays in the controls.
        ShowMessage("Maximum number of markers (50) is reached!");
        return;
    }
    RecordView r = o->record();
    setMarker(r, count, describedMarker());
    r.setI32(T::kMarkerCount, count + 1);
    resetNewParameter();
    refillList();
}

bool TrackDataDialog::removeMarker(int index) {
    ObjectRecord* o = fields().object();
    const int count = markerCount();
    if (!o || index < 0 || index >= count) return false;
    RecordView r = o->record();
    for (int i = index; i + 1 < count; ++i) setMarker(r, i, markerAt(i + 1));
    r.setI32(T::kMarkerCount, count - 1);
    return true;
}

void TrackDataDialog::changeMarker() {
    const int row = list_->currentRow();
    if (row < 0 || row >= markerCount()) return;
    const Marker m = markerAt(row);
    startX_->setText(QString::number(m.startX));
    startY_->setText(QString::number(m.startY));
    endX_->setText(QString::number(m.endX));
    endY_->setText(QString::number(m.endY));
    CheckExclusive({{horizontal_, K::kHorizontal}, {vertical_, K::kVertical}}, m.orientation);
    // A kind the dialog cannot make checks no kind.
    CheckExclusive({{startLine_, K::kStartLine},
                    {boxEnterExit_, K::kBoxEnterExit},
                    {boxStart_, K::kBoxStartPosition}},
                   m.kind);
    applyEnabling();
    removeMarker(row);
    refillList();
}

void TrackDataDialog::deleteMarker() {
    if (removeMarker(list_->currentRow())) refillList();
}

QPoint TrackDataDialog::mapPointAt(QPoint at) const {
    // Worked out in 64 bits and kept within the 32-bit fields the point goes into, however
    // large the map.
    const std::int64_t tile = view_->tileSize();
    const auto field = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {
        field(tile * view_->firstColumn() + at.x()),
        field((static_cast<std::int64_t>(view_->mapHeight()) - view_->firstRow()) * tile - at.y())};
}

void TrackDataDialog::pick(QPoint at) {
    QLineEdit* x = chooseStart_->isChecked() ? startX_ : chooseEnd_->isChecked() ? endX_ : nullptr;
    QLineEdit* y = chooseStart_->isChecked() ? startY_ : chooseEnd_->isChecked() ? endY_ : nullptr;
    if (!x) return;
    const QPoint point = mapPointAt(at);
    x->setText(QString::number(point.x()));
    y->setText(QString::number(point.y()));
    view_->update();
}

void TrackDataDialog::drawMarker(QPainter& painter, const Marker& m, Qt::GlobalColor colour) {
    // Marker positions are 32-bit; the view works in 64-bit so that far points cannot wrap.
    const std::int64_t x0 = m.startX, y0 = m.startY;
    const std::int64_t x1 = m.orientation == K::kVertical ? m.startX : m.endX;
    const std::int64_t y1 = m.orientation == K::kVertical ? m.endY : m.startY;
    const std::int64_t tile = view_->tileSize();
    const std::int64_t left = tile * view_->firstColumn();
    const std::int64_t top = (static_cast<std::int64_t>(view_->mapHeight()) - view_->firstRow()) * tile - 1;
    const std::int64_t vx0 = x0 - left, vx1 = x1 - left;
    const std::int64_t vy0 = top - y0, vy1 = top - y1;
    const std::int64_t side = view_->viewSize();
    // Wholly left, right, above or below the view: not drawn.
    if ((vx0 < 0 && vx1 < 0) || (vx0 >= side && vx1 >= side) || (vy0 < 0 && vy1 < 0) ||
        (vy0 >= side && vy1 >= side))
        return;
    // The rest is drawn clipped by the view; ends far outside are brought near it first.
    const auto near = [side](std::int64_t v) { return static_cast<double>(std::clamp<std::int64_t>(v, -16, side + 16)); };
    const QLineF line(near(vx0), near(vy0), near(vx1), near(vy1));
    painter.setPen(QPen(Qt::black, 5));
    painter.drawLine(line);
    painter.setPen(QPen(colour, 3));
    painter.drawLine(line);
}

void TrackDataDialog::drawMarkers(QPainter& painter) {
    painter.setClipRect(0, 0, view_->viewSize(), view_->viewSize());
    drawMarker(painter, describedMarker(), Qt::yellow);
    const int count = markerCount();
    const int selected = list_->currentRow();
    for (int i = 0; i < count; ++i) drawMarker(painter, markerAt(i), i == selected ? Qt::red : Qt::green);
}

} // namespace qb::ui
