#include "imaging/vectorial_animation_editor.h"

#include <QAccessible>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/layouts/vectorial.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace V = layout::vectorial;

constexpr int kSquare = 5;  // half the side of the squares round the points
constexpr std::uint32_t kSpeedMask = 0xFFFFu;

const EditorRegistration kRegistration(kVectorialAnimationType,
                                       RunEditor<VectorialAnimationDialog>);

QPoint PointOf(std::uint32_t point) {
    return QPoint(static_cast<int>(point >> 16), static_cast<int>(point & 0xFFFFu));
}

std::uint32_t SpeedIn(const QLineEdit* edit) {
    return static_cast<std::uint32_t>(ParseSignedDecimal(ToRecordText(edit->text()))) & kSpeedMask;
}

// The square round a point, clipped to the screen.
QRect SquareAround(QPoint p) {
    const int left = std::clamp(p.x() - kSquare, 0, kPathScreenSize);
    const int top = std::clamp(p.y() - kSquare, 0, kPathScreenSize);
    const int right = std::clamp(p.x() + kSquare, 0, kPathScreenSize);
    const int bottom = std::clamp(p.y() + kSquare, 0, kPathScreenSize);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

QPoint PathStartPoint(std::uint32_t type) {
    switch (type) {
    case V::kFromTop: return {160, 0};
    case V::kFromLeft: return {0, 160};
    case V::kFromBottom: return {160, 319};
    default: return {160, 160};  // towards the player, second animation, unknown
    }
}

PathArea::PathArea(VectorialAnimationDialog* editor) : QWidget(editor), editor_(editor) {
    setObjectName("pathArea");
    setAccessibleName(QStringLiteral("Path drawing area"));
    setAccessibleDescription(
        QStringLiteral("Click to append a point to the path; the square marks where it starts"));
    setFixedSize(kPathScreenSize + kPathAreaMargin, kPathScreenSize + kPathAreaMargin);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void PathArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.fillRect(0, 0, kPathScreenSize, kPathScreenSize, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, kPathScreenSize - 1, kPathScreenSize - 1);

    const std::uint32_t type = editor_->currentType();
    QPoint last = PathStartPoint(type);
    painter.drawRect(SquareAround(last));
    if (type == V::kTowardsPlayer) return;

    const auto& vectors = editor_->workingVectors();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < editor_->vectorCount(); ++i) {
        const QPoint p = PointOf(vectors[static_cast<std::size_t>(i)].point);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(last, p);
        painter.setPen(QPen(QColor(0, 0, 200), 1));
        painter.drawRect(SquareAround(p));
        last = p;
    }
    if (editor_->pointerOver()) {
        painter.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
        painter.drawLine(last, editor_->pointer());
    }
}

void PathArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) editor_->appendPoint(event->position().toPoint());
}

void PathArea::mouseMoveEvent(QMouseEvent* event) {
    editor_->pointerMoved(event->position().toPoint());
}

void PathArea::leaveEvent(QEvent*) { editor_->pointerLeft(); }

VectorialAnimationDialog::VectorialAnimationDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Edit vectorial animation")) {
    auto* row = new QHBoxLayout;
    body()->addLayout(row);
    auto* controls = new QVBoxLayout;
    row->addLayout(controls);

    auto* nameForm = new QFormLayout;
    controls->addLayout(nameForm);
    addItemNameRow(nameForm);

    auto* typeGroup = AddGroup<QVBoxLayout>(controls, "typeOfAnimationGroupBox", "Type of animation");
    const std::array<std::pair<const char*, const char*>, 5> labels{{
        {"fromTopRadioButton", "From top"},
        {"fromLeftRadioButton", "From left (right if mirrored)"},
        {"fromBottomRadioButton", "From bottom"},
        {"towardsPlayerRadioButton", "Towards the player"},
        {"secondAnimationRadioButton", "Second animation (monster) or fire"},
    }};
    for (std::uint32_t t = 0; t < V::kTypeCount; ++t) {
        auto* radio = Named<QRadioButton>(labels[t].first, QString::fromLatin1(labels[t].second));
        typeGroup->addWidget(radio);
        types_[t] = radio;
        // Whoever checks the button (mouse, keyboard, assistive technology); not the load.
        connect(radio, &QRadioButton::toggled, this, [this, t](bool on) {
            if (on && !fields().isLoading()) chooseType(t);
        });
    }

    auto* form = new QFormLayout;
    controls->addLayout(form);
    scale_ = NumberEdit("scaleLineEdit");
    AddRow(form, "scaleLabel", "Scale factor (100% = no scale)", scale_);
    actualSpeed_ = NumberEdit("actualSpeedLineEdit");
    AddRow(form, "actualSpeedLabel", "Actual vector speed", actualSpeed_);
    nextSpeed_ = NumberEdit("nextSpeedLineEdit");
    AddRow(form, "nextSpeedLabel", "Next new vector speed", nextSpeed_);

    auto* select = AddGroup<QHBoxLayout>(controls, "selectVectorsGroupBox", "Select vectors");
    back_ = Named<QPushButton>("previousVectorButton", QStringLiteral("<-"));
    back_->setAccessibleName(QStringLiteral("Take the last vector back"));
    forward_ = Named<QPushButton>("nextVectorButton", QStringLiteral("->"));
    forward_->setAccessibleName(QStringLiteral("Bring the next vector back"));
    select->addWidget(back_);
    select->addWidget(forward_);
    controls->addStretch(1);

    area_ = new PathArea(this);
    row->addWidget(area_, 0, Qt::AlignTop);

    connect(back_, &QPushButton::clicked, this, [this] { takeBack(); });
    connect(forward_, &QPushButton::clicked, this, [this] { bringBack(); });
    connect(actualSpeed_, &QLineEdit::textChanged, this, [this] { actualSpeedEdited(); });

    fields().custom([this](RecordView& r) { loadPath(r); },
                    [this](RecordView& r) { storePath(r); });
    loadFields();
}

void VectorialAnimationDialog::loadPath(RecordView& r) {
    storedType_ = r.u32(V::kType);
    type_ = storedType_;
    CheckExclusive({{types_[0], 0}, {types_[1], 1}, {types_[2], 2}, {types_[3], 3}, {types_[4], 4}},
                   type_);
    scale_->setText(QString::number(r.i32(V::kScale)));
    nextSpeed_->setText(QStringLiteral("1"));
    // A count that claims more vectors than the record holds is cut to the ones it holds.
    const std::uint64_t claimed = r.u32(V::kVectorCount);
    const std::uint64_t held = r.size() > V::kVectors ? (r.size() - V::kVectors) / V::kVectorSize : 0;
    const std::size_t n = static_cast<std::size_t>(std::min(claimed, held));
    vectors_.assign(n, PathVector{});
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = static_cast<std::size_t>(V::VectorOffset(i));
        vectors_[i].speed = r.u32(at + V::vector::kSpeed);
        vectors_[i].point = r.u32(at + V::vector::kPoint);
    }
    count_ = static_cast<int>(n);
    showActualSpeed();
    area_->update();
}

void VectorialAnimationDialog::storePath(RecordView& r) {
    std::uint32_t type = storedType_;  // kept when no type button is ticked
    for (std::uint32_t t = 0; t < V::kTypeCount; ++t)
        if (types_[t]->isChecked()) type = t;
    Bytes record(static_cast<std::size_t>(V::SizeFor(static_cast<std::uint64_t>(count_))), 0);
    RecordView out(record);
    out.setU32(V::kType, type);
    out.setI32(V::kScale, ParseSignedDecimal(ToRecordText(scale_->text())));
    out.setU32(V::kVectorCount, static_cast<std::uint32_t>(count_));
    for (int i = 0; i < count_; ++i) {
        const PathVector& v = vectors_[static_cast<std::size_t>(i)];
        const std::size_t at = static_cast<std::size_t>(V::VectorOffset(static_cast<std::uint64_t>(i)));
        out.setU32(at + V::vector::kSpeed, v.speed & kSpeedMask);
        out.setU32(at + V::vector::kPoint, v.point);
    }
    r.raw() = std::move(record);
}

void VectorialAnimationDialog::showActualSpeed() {
    showingSpeed_ = true;
    if (count_ > 0) {
        actualSpeed_->setText(QString::number(vectors_[static_cast<std::size_t>(count_ - 1)].speed));
        actualSpeed_->setEnabled(true);
    } else {
        actualSpeed_->clear();
        actualSpeed_->setEnabled(false);
    }
    showingSpeed_ = false;
}

void VectorialAnimationDialog::actualSpeedEdited() {
    if (showingSpeed_ || count_ < 1) return;
    vectors_[static_cast<std::size_t>(count_ - 1)].speed = SpeedIn(actualSpeed_);
}

void VectorialAnimationDialog::appendPoint(QPoint p) {
    if (type_ == V::kTowardsPlayer) return;
    // Both coordinates are within the area, which starts at 0 and is far smaller than 65536.
    const std::uint32_t x = static_cast<std::uint32_t>(std::max(0, p.x()));
    const std::uint32_t y = static_cast<std::uint32_t>(std::max(0, p.y()));
    const PathVector v{SpeedIn(nextSpeed_), V::vector::MakePoint(x, y)};
    // Written at the count: it replaces a vector taken back, those beyond it stay for "->".
    const auto at = static_cast<std::size_t>(count_);
    if (at < vectors_.size())
        vectors_[at] = v;
    else
        vectors_.push_back(v);
    ++count_;
    showActualSpeed();
    area_->update();
}

void VectorialAnimationDialog::pointerMoved(QPoint p) {
    pointerOver_ = type_ != V::kTowardsPlayer;
    pointer_ = p;
    area_->update();
}

void VectorialAnimationDialog::pointerLeft() {
    pointerOver_ = false;
    area_->update();
}

void VectorialAnimationDialog::chooseType(std::uint32_t type) {
    type_ = type;
    const bool free = type != V::kTowardsPlayer;
    for (QWidget* w : std::initializer_list<QWidget*>{scale_, nextSpeed_, back_, forward_})
        w->setEnabled(free);
    if (!free) {
        pointerOver_ = false;
        if (count_ == 0) {
            const PathVector v{SpeedIn(nextSpeed_), V::vector::MakePoint(160, 160)};
            if (vectors_.empty())
                vectors_.push_back(v);
            else
                vectors_[0] = v;
        }
        count_ = 1;
        showActualSpeed();
    }
    area_->update();
}

void VectorialAnimationDialog::takeBack() {
    if (count_ <= 0) return;
    --count_;
    showActualSpeed();
    area_->update();
}

void VectorialAnimationDialog::bringBack() {
    if (count_ >= static_cast<int>(vectors_.size())) return;
    ++count_;
    showActualSpeed();
    area_->update();
}

} // namespace qb::ui
