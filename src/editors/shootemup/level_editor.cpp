#include "editors/shootemup/level_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QScopedValueRollback>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/map_view.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/level.h"
#include "model/layouts/vectorial.h"
#include "model/workspace.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace L = layout::level;
namespace W = layout::level::entry;
namespace V = layout::vectorial;

const EditorRegistration kRegistration(kLevelDataType, RunEditor<LevelEditorDialog>);

constexpr int kArrowLength = 30;
constexpr int kHeadBack = 20;   // where the head's lines end, along the arrow
constexpr int kHeadSide = 7;
constexpr int kFar = 1 << 20;   // view coordinates are clamped here: far beyond every edge

const QColor kComposed(255, 255, 0);
const QColor kEnemy(0, 255, 0), kEnemySelected(255, 0, 0);
const QColor kBonus(0, 255, 255), kBonusSelected(255, 0, 255);

const ObjectRecord* ItemOfType(ProjectRecord& project, std::int32_t id, std::uint32_t type) {
    const ObjectRecord* o = id != 0 ? FindObject(project, id) : nullptr;
    return o && o->tipoOggetto == type ? o : nullptr;
}

std::int32_t Read(const QLineEdit* edit) { return ParseSignedDecimal(ToRecordText(edit->text())); }

int Clamp(long long v) { return static_cast<int>(std::clamp<long long>(v, -kFar, kFar)); }

} // namespace

bool LevelWave::isBonus() const { return subject >= W::kBonusBase; }
std::int32_t LevelWave::itemId() const {
    return static_cast<std::int32_t>(isBonus() ? subject - W::kBonusBase : subject) & 0xFFFF;
}

std::optional<std::uint32_t> WaveMovementKind(ProjectRecord& project, std::uint32_t subject) {
    LevelWave w;
    w.subject = subject;
    std::int32_t path = 0;
    if (w.isBonus()) {
        const ObjectRecord* bonus = ItemOfType(project, w.itemId(), kBonusType);
        if (!bonus) return std::nullopt;
        path = bonus->record().lo16(layout::bonus::kVectorialAnimation);
    } else {
        const ObjectRecord* enemy = ItemOfType(project, w.itemId(), kEnemiesDataType);
        if (!enemy) return std::nullopt;
        path = enemy->record().u16(layout::enemy::kVectorialAnimation1);
    }
    const ObjectRecord* animation = ItemOfType(project, path, kVectorialAnimationType);
    if (!animation || !animation->record().holds(V::kType, 4)) return std::nullopt;
    return animation->record().u32(V::kType);
}

QString WaveListLine(ProjectRecord& project, const LevelWave& wave) {
    const ObjectRecord* item =
        ItemOfType(project, wave.itemId(), wave.isBonus() ? kBonusType : kEnemiesDataType);
    QString line = item ? FromRecordText(item->sDescrizione)
                        : QStringLiteral("<missing %1 %2>")
                              .arg(wave.isBonus() ? QStringLiteral("bonus") : QStringLiteral("enemy"))
                              .arg(wave.itemId());
    line += QStringLiteral(" Y map position: ") + QString::number(wave.mapY);
    if (wave.isBonus()) return line;
    line += QStringLiteral(" number of enemies: ") + QString::number(wave.enemies);
    if (wave.enemies > 1) line += QStringLiteral(" Enemies distance: ") + QString::number(wave.enemyDistance);
    switch (wave.shots) {
    case W::kNoShots: line += QStringLiteral(" No shots"); break;
    case W::kOneShot:
        line += QStringLiteral(" One shot (after ") + QString::number(wave.shotTimeout) +
                QStringLiteral(" seconds)");
        break;
    case W::kContinuousShots:
        line += QStringLiteral(" Continue shots (Every ") + QString::number(wave.shotTimeout) +
                QStringLiteral(" seconds)");
        break;
    default: break;
    }
    return line;
}

std::size_t WaveInsertionIndex(const std::vector<LevelWave>& waves, std::int32_t y) {
    const auto at = std::find_if(waves.begin(), waves.end(),
                                 [y](const LevelWave& w) { return w.mapY < y; });
    return static_cast<std::size_t>(at - waves.begin());
}

namespace {

struct Line {
    QPoint a, b;
};

// The lines of an arrow of that kind at view point (x, y); answers their number (0: not drawn).
int ArrowLines(const LevelWave& wave, std::uint32_t kind, int x, int y, int last, Line (&lines)[4]) {
    int n = 0;
    switch (kind) {
    case V::kFromTop:
    case V::kFromBottom: {
        const int dir = kind == V::kFromTop ? 1 : -1;
        const int tip = Clamp(1LL * y + dir * kArrowLength), back = Clamp(1LL * y + dir * kHeadBack);
        lines[n++] = {{x, y}, {x, tip}};
        lines[n++] = {{x, tip}, {Clamp(1LL * x + kHeadSide), back}};
        lines[n++] = {{x, tip}, {Clamp(1LL * x - kHeadSide), back}};
        break;
    }
    case V::kFromLeft: {
        // From the left edge, or from the right one when mirrored, with the line to the map Y at
        // which the wave enters the screen.
        const bool mirrored = wave.mirror != 0;
        const int edge = mirrored ? last : 0;
        const int tip = mirrored ? last - kArrowLength : kArrowLength;
        const int back = mirrored ? last - kHeadBack : kHeadBack;
        const int side = mirrored ? last - 2 : 2;
        lines[n++] = {{edge, y}, {tip, y}};
        lines[n++] = {{tip, y}, {back, Clamp(1LL * y + kHeadSide)}};
        lines[n++] = {{tip, y}, {back, Clamp(1LL * y - kHeadSide)}};
        lines[n++] = {{side, y}, {side, Clamp(1LL * y + wave.mapY - wave.screenY)}};
        break;
    }
    default: break;  // the other kinds have no arrow
    }
    return n;
}

bool Skipped(const Line& l, int last) {
    return (l.a.x() < 0 && l.b.x() < 0) || (l.a.x() > last && l.b.x() > last) ||
           (l.a.y() < 0 && l.b.y() < 0) || (l.a.y() > last && l.b.y() > last);
}

void StrokeLine(QPainter& painter, const Line& l, QColor colour) {
    painter.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(l.a, l.b);
    painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(l.a, l.b);
}

// Arrow pictures hold the arrow with room for the pens around it.
constexpr int kPictureLong = kArrowLength + 10, kPictureWide = 2 * (kHeadSide + 5);

} // namespace

QPoint ArrowPictures::origin(int shape) {
    switch (shape) {
    case 0: return {kPictureWide / 2, 5};                     // down
    case 1: return {kPictureWide / 2, kPictureLong - 5};      // up
    case 2: return {5, kPictureWide / 2};                     // from the left edge
    default: return {kPictureLong - 5, kPictureWide / 2};     // from the right edge
    }
}

const QImage& ArrowPictures::picture(int shape, QRgb colour) {
    for (const auto& [key, image] : pictures_)
        if (key.first == shape && key.second == colour) return image;
    const bool across = shape >= 2;
    QImage image(across ? kPictureLong : kPictureWide, across ? kPictureWide : kPictureLong,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        // The arrow is drawn as on the view, moved so that its start point lands on the origin;
        // the edge arrows without their line to the entry point.
        QPainter painter(&image);
        LevelWave wave;
        wave.mirror = shape == 3 ? 1u : 0u;
        const std::uint32_t kind = shape == 0 ? V::kFromTop : shape == 1 ? V::kFromBottom : V::kFromLeft;
        Line lines[4];
        const int n = ArrowLines(wave, kind, 0, 0, kMapViewSize - 1, lines);
        painter.translate(origin(shape) - lines[0].a);
        for (int i = 0; i < std::min(n, 3); ++i) StrokeLine(painter, lines[i], QColor::fromRgb(colour));
    }
    pictures_.push_back({{shape, colour}, std::move(image)});
    return pictures_.back().second;
}

void DrawWaveArrow(QPainter& painter, const LevelWave& wave, std::uint32_t kind, QPoint at,
                   QColor colour, int viewSize, ArrowPictures* pictures) {
    const int last = viewSize - 1;
    Line lines[4];
    const int n = ArrowLines(wave, kind, at.x(), at.y(), last, lines);
    if (n == 0) return;
    bool whole = pictures != nullptr;
    for (int i = 0; i < std::min(n, 3) && whole; ++i) whole = !Skipped(lines[i], last);
    if (whole) {
        // The head is copied; the line to the entry point has its own length and is drawn.
        const int shape = kind == V::kFromTop ? 0 : kind == V::kFromBottom ? 1 : wave.mirror ? 3 : 2;
        const QPoint start = lines[0].a;
        painter.drawImage(start - ArrowPictures::origin(shape), pictures->picture(shape, colour.rgb()));
        if (n == 4 && !Skipped(lines[3], last)) StrokeLine(painter, lines[3], colour);
        return;
    }
    for (int i = 0; i < n; ++i)
        if (!Skipped(lines[i], last)) StrokeLine(painter, lines[i], colour);
}

LevelEditorDialog::LevelEditorDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Level data")) {
    addItemNameRow(addForm());
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);

    // The wave being composed.
    auto* group = AddGroup<QVBoxLayout>(left, "newParameterGroupBox", "New parameter");
    auto* kindRow = new QHBoxLayout;
    group->addLayout(kindRow);
    enemyWave_ = Named<QRadioButton>("enemieRadioButton", QStringLiteral("Enemie"));
    bonusWave_ = Named<QRadioButton>("bonusRadioButton", QStringLiteral("Bonus"));
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(enemyWave_);
    kinds->addButton(bonusWave_);
    kindRow->addWidget(enemyWave_);
    kindRow->addWidget(bonusWave_);
    kindRow->addStretch(1);

    enemyRows_ = Named<QWidget>("enemyWaveRows");
    auto* enemyForm = new QFormLayout(enemyRows_);
    enemyForm->setContentsMargins(0, 0, 0, 0);
    enemy_ = AddRow(enemyForm, "enemieTypeLabel", "Enemie type", ItemCombo("enemieTypeComboBox"));
    enemies_ = AddRow(enemyForm, "numberOfEnemiesLabel", "Number of enemies", NumberEdit("numberOfEnemiesLineEdit"));
    distance_ = AddRow(enemyForm, "enemiesDistanceLabel", "Enemies distance (in milliseconds)",
                       NumberEdit("enemiesDistanceLineEdit"));
    auto* shots = Named<QGroupBox>("shotsGroupBox", QStringLiteral("Shots"));
    auto* shotsLayout = new QHBoxLayout(shots);
    noShots_ = Named<QRadioButton>("noShotsRadioButton", QStringLiteral("No shots"));
    oneShot_ = Named<QRadioButton>("oneShotRadioButton", QStringLiteral("One shot"));
    continueShots_ = Named<QRadioButton>("continueShotsRadioButton", QStringLiteral("Continue shots"));
    for (QRadioButton* r : {noShots_, oneShot_, continueShots_}) shotsLayout->addWidget(r);
    enemyForm->addRow(shots);
    shotTimeout_ = AddRow(enemyForm, "shotTimeoutLabel", "Shot timeout (in milliseconds)",
                          NumberEdit("shotTimeoutLineEdit"));
    group->addWidget(enemyRows_);

    bonusRows_ = Named<QWidget>("bonusWaveRows");
    auto* bonusForm = new QFormLayout(bonusRows_);
    bonusForm->setContentsMargins(0, 0, 0, 0);
    bonus_ = AddRow(bonusForm, "bonusTypeLabel", "Bonus type", ItemCombo("bonusTypeComboBox"));
    group->addWidget(bonusRows_);

    auto* positions = new QFormLayout;
    group->addLayout(positions);
    mapX_ = AddRow(positions, "xMapPositionLabel", "X map position", NumberEdit("xMapPositionLineEdit"));
    mapY_ = AddRow(positions, "yMapPositionLabel", "Y map position", NumberEdit("yMapPositionLineEdit"));
    screenY_ = AddRow(positions, "yScreenPositionLabel", "Y screen position",
                      NumberEdit("yScreenPositionLineEdit"));
    mirror_ = Named<QCheckBox>("mirrorXCheckBox", QStringLiteral("Mirror X animation"));
    positions->addRow(mirror_);
    choose_ = Named<QPushButton>("chooseFromMapButton", QStringLiteral("Choose from map"));
    choose_->setCheckable(true);
    choose_->setToolTip(QStringLiteral("Move over the map to place the wave; click the map to stop"));
    addNew_ = Named<QPushButton>("addNewButton", QStringLiteral("Add new"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(choose_);
    buttons->addWidget(addNew_);
    group->addLayout(buttons);

    auto* audio = AddGroup<QFormLayout>(left, "audioGroupBox", "Audio");
    enableSound_ = Named<QCheckBox>("enableSoundCheckBox", QStringLiteral("Enable sound"));
    audio->addRow(enableSound_);
    sound_ = AddRow(audio, "startingSoundLabel", "Starting sound", ItemCombo("startingSoundComboBox"));
    left->addStretch(1);

    // The map and the list of waves.
    auto* mapForm = new QFormLayout;
    right->addLayout(mapForm);
    background_ = AddRow(mapForm, "backgroundMapLabel", "Background map", ItemCombo("backgroundMapComboBox"));
    auto* mapRow = new QHBoxLayout;
    right->addLayout(mapRow);
    map_ = new MapView(this);
    map_->setAccessibleName(QStringLiteral("Level map with its waves"));
    mapRow->addWidget(map_, 0, Qt::AlignTop);
    auto* listColumn = new QVBoxLayout;
    mapRow->addLayout(listColumn, 1);
    list_ = Named<QListWidget>("wavesListWidget");
    list_->setAccessibleName(QStringLiteral("Waves"));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setMinimumWidth(260);
    listColumn->addWidget(list_, 1);
    auto* listButtons = new QHBoxLayout;
    auto* change = Named<QPushButton>("changeButton", QStringLiteral("Change"));
    auto* remove = Named<QPushButton>("deleteButton", QStringLiteral("Delete"));
    listButtons->addWidget(change);
    listButtons->addWidget(remove);
    listButtons->addStretch(1);
    listColumn->addLayout(listButtons);

    MapViewInit(*map_, fields().projectIndex());
    map_->setOverlay([this](QPainter& painter, const MapView&) { paintWaves(painter); });

    auto repaint = [this] { map_->area()->update(); };
    connect(addNew_, &QPushButton::clicked, this, [this] { addNew(); });
    connect(change, &QPushButton::clicked, this, [this] { this->change(); });
    connect(remove, &QPushButton::clicked, this, [this] { this->remove(); });
    connect(background_, &QComboBox::currentIndexChanged, this, [this] {
        MapViewShow(*map_, selectedMapId());
        applyRules();
        map_->area()->update();
    });
    for (QComboBox* c : {enemy_, bonus_})
        connect(c, &QComboBox::currentIndexChanged, this, [this] {
            applyRules();
            map_->area()->update();
        });
    for (QRadioButton* r : {enemyWave_, bonusWave_})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (!on) return;
            showKindControls();
            applyRules();
            map_->area()->update();
        });
    for (QRadioButton* r : {noShots_, oneShot_, continueShots_})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) applyRules();
        });
    for (QLineEdit* e : {mapX_, mapY_, screenY_}) connect(e, &QLineEdit::textChanged, this, repaint);
    connect(mirror_, &QCheckBox::toggled, this, repaint);
    connect(list_, &QListWidget::currentRowChanged, this, repaint);
    connect(enableSound_, &QCheckBox::toggled, this, [this] {
        if (fields().isLoading()) return;
        SetupOptionalSound(SoundAction::Clicked, sound_, enableSound_, soundId_, soundEnabled_);
    });
    connect(map_, &MapView::moved, this, [this](QPoint at, Qt::MouseButtons) { pointerMoved(at); });
    connect(map_, &MapView::pressed, this, [this](QPoint, Qt::MouseButton button, Qt::KeyboardModifiers) {
        if (button == Qt::LeftButton && choose_->isChecked()) choose_->setChecked(false);
    });

    fields().custom([this](RecordView& r) { loadLevel(r); }, [this](RecordView& r) { storeLevel(r); });
    loadFields();
}

LevelEditorDialog::~LevelEditorDialog() { MapViewRelease(*map_); }

void LevelEditorDialog::loadLevel(RecordView& r) {
    // A count below 0 or beyond the entries the record holds is cut to what it holds; the sound
    // pair is read only where a sound count puts it.
    const std::int64_t claimed = r.i32(L::kEntryCount);
    const std::uint64_t held = r.size() >= L::kEntries ? (r.size() - L::kEntries) / L::kEntrySize : 0;
    const std::size_t n = static_cast<std::size_t>(
        std::clamp<std::int64_t>(claimed, 0, static_cast<std::int64_t>(std::min<std::uint64_t>(held, 1u << 26))));
    waves_.assign(n, LevelWave{});
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = static_cast<std::size_t>(L::EntryOffset(i));
        LevelWave& w = waves_[i];
        w.enemies = r.i32(at + W::kEnemyCount);
        w.subject = r.u32(at + W::kSubject);
        w.mapX = r.i32(at + W::kMapX);
        w.mapY = r.i32(at + W::kMapY);
        w.screenX = r.i32(at + W::kScreenX);
        w.screenY = r.i32(at + W::kScreenY);
        w.mirror = r.u32(at + W::kMirrorX);
        w.shots = r.u32(at + W::kShots);
        w.shotTimeout = r.i32(at + W::kShotTimeout);
        w.enemyDistance = r.i32(at + W::kEnemyDistance);
    }
    const bool whole = claimed >= 0 && static_cast<std::uint64_t>(claimed) == n;
    const std::size_t sound = static_cast<std::size_t>(L::SoundOffset(n));
    soundEnabled_ = whole ? r.u32(sound) : 0;
    soundId_ = whole ? r.u32(sound + 4) : 0;

    CheckExclusive({{enemyWave_, 0}, {bonusWave_, 1}}, 0);
    for (auto [combo, type] : {std::pair{background_, kBackgroundMapType}, std::pair{enemy_, kEnemiesDataType},
                               std::pair{bonus_, kBonusType}}) {
        QSignalBlocker quiet(combo);
        combo->clear();
        FillObjectCombo(combo, type);
        combo->setCurrentIndex(-1);
    }
    {
        QSignalBlocker quiet(background_);
        SelectObjectInCombo(background_, kBackgroundMapType, r.lo16(L::kBackgroundMap));
    }
    resetGroup();
    applyRules();
    MapViewShow(*map_, selectedMapId());
    SetupOptionalSound(SoundAction::Open, sound_, enableSound_, soundId_, soundEnabled_);
    refillList();
    showKindControls();
}

void LevelEditorDialog::storeLevel(RecordView& r) {
    SetupOptionalSound(SoundAction::Store, sound_, enableSound_, soundId_, soundEnabled_);
    Bytes record(static_cast<std::size_t>(L::SizeFor(waves_.size())), 0);
    RecordView out(record);
    out.setU32(L::kBackgroundMap, static_cast<std::uint32_t>(selectedMapId()) & 0xFFFFu);
    out.setI32(L::kEntryCount, static_cast<std::int32_t>(waves_.size()));
    for (std::size_t i = 0; i < waves_.size(); ++i) {
        const std::size_t at = static_cast<std::size_t>(L::EntryOffset(i));
        const LevelWave& w = waves_[i];
        out.setI32(at + W::kEnemyCount, w.enemies);
        out.setU32(at + W::kSubject, w.subject);
        out.setI32(at + W::kMapX, w.mapX);
        out.setI32(at + W::kMapY, w.mapY);
        out.setI32(at + W::kScreenX, w.screenX);
        out.setI32(at + W::kScreenY, w.screenY);
        out.setU32(at + W::kMirrorX, w.mirror);
        out.setU32(at + W::kShots, w.shots);
        out.setI32(at + W::kShotTimeout, w.shotTimeout);
        out.setI32(at + W::kEnemyDistance, w.enemyDistance);
    }
    const std::size_t sound = static_cast<std::size_t>(L::SoundOffset(waves_.size()));
    out.setU32(sound, soundEnabled_);
    out.setU32(sound + 4, soundId_);
    r.raw() = std::move(record);
}

std::int32_t LevelEditorDialog::selectedMapId() const {
    return GetSelectedObjectId(background_, kBackgroundMapType);
}

std::optional<std::uint32_t> LevelEditorDialog::kindOf(std::uint32_t subject) {
    // The items cannot change while this modal dialog is open.
    const auto found = kinds_.find(subject);
    if (found != kinds_.end()) return found->second;
    ProjectRecord* project = fields().project();
    const auto kind = project ? WaveMovementKind(*project, subject) : std::nullopt;
    kinds_.emplace(subject, kind);
    return kind;
}

void LevelEditorDialog::resetGroup() {
    enemies_->setText(QStringLiteral("1"));
    for (QLineEdit* e : {mapX_, mapY_, screenY_}) e->setText(QStringLiteral("0"));
    CheckExclusive({{noShots_, W::kNoShots}, {oneShot_, W::kOneShot}, {continueShots_, W::kContinuousShots}},
                   W::kNoShots);
    mirror_->setChecked(false);
    shotTimeout_->setText(QString::number(W::kResetShotTimeout));
    for (QComboBox* c : {enemy_, bonus_}) {
        QSignalBlocker quiet(c);
        c->setCurrentIndex(-1);
    }
    distance_->setText(QString::number(W::kResetEnemyDistance));
}

void LevelEditorDialog::showKindControls() {
    const bool bonus = bonusWave_->isChecked();
    enemyRows_->setVisible(!bonus);
    bonusRows_->setVisible(bonus);
}

void LevelEditorDialog::applyRules() {
    // The rules check buttons themselves; those changes must not run them again.
    if (applyingRules_) return;
    const QScopedValueRollback<bool> applying(applyingRules_, true);
    for (QWidget* w : std::initializer_list<QWidget*>{addNew_, mirror_, mapX_, mapY_, screenY_, choose_, noShots_,
                                                       oneShot_, continueShots_, shotTimeout_})
        w->setEnabled(false);
    const bool hasMap = selectedMapId() != 0;
    QPushButton* ok = buttons()->button(QDialogButtonBox::Ok);
    ok->setEnabled(hasMap);
    const bool bonus = bonusWave_->isChecked();
    const std::int32_t item = GetSelectedObjectId(bonus ? bonus_ : enemy_, bonus ? kBonusType : kEnemiesDataType);
    if (!hasMap || item == 0) return;
    const std::uint32_t subject =
        static_cast<std::uint32_t>(item & 0xFFFF) + (bonus ? W::kBonusBase : 0u);
    const auto kind = kindOf(subject);
    if (!kind) return;
    addNew_->setEnabled(true);
    mapX_->setEnabled(*kind == V::kFromTop || *kind == V::kFromBottom);
    mapY_->setEnabled(*kind <= V::kFromBottom);
    screenY_->setEnabled(*kind == V::kFromLeft);
    const bool placed = *kind <= V::kFromBottom;
    mirror_->setEnabled(placed);
    choose_->setEnabled(placed);
    if (bonus) return;
    for (QWidget* w : std::initializer_list<QWidget*>{noShots_, oneShot_, continueShots_}) w->setEnabled(placed);
    // An enemy that fires nothing cannot shoot.
    ProjectRecord* project = fields().project();
    const ObjectRecord* enemy = project ? FindObject(*project, item) : nullptr;
    const std::int32_t fire = enemy ? enemy->record().lo16(layout::enemy::kFireEnemy) : 0;
    const ObjectRecord* fireEnemy = project && fire ? FindObject(*project, fire) : nullptr;
    if (!fireEnemy || fireEnemy->tipoOggetto != kEnemiesDataType) {
        CheckExclusive({{noShots_, W::kNoShots}, {oneShot_, W::kOneShot}, {continueShots_, W::kContinuousShots}},
                       W::kNoShots);
        for (QWidget* w : std::initializer_list<QWidget*>{noShots_, oneShot_, continueShots_}) w->setEnabled(false);
    }
    shotTimeout_->setEnabled(noShots_->isEnabled() && !noShots_->isChecked());
}

std::optional<LevelWave> LevelEditorDialog::buildWave() {
    if (selectedMapId() == 0) return std::nullopt;
    const bool bonus = bonusWave_->isChecked();
    const std::int32_t item = GetSelectedObjectId(bonus ? bonus_ : enemy_, bonus ? kBonusType : kEnemiesDataType);
    if (item == 0) return std::nullopt;
    LevelWave w;
    w.subject = static_cast<std::uint32_t>(item & 0xFFFF) + (bonus ? W::kBonusBase : 0u);
    if (!kindOf(w.subject)) return std::nullopt;
    w.enemies = Read(enemies_);
    w.mapX = Read(mapX_);
    w.mapY = Read(mapY_);
    w.screenX = 0;
    w.screenY = Read(screenY_);
    w.mirror = mirror_->isChecked() ? 1u : 0u;
    w.shots = continueShots_->isChecked() ? W::kContinuousShots
              : oneShot_->isChecked()     ? W::kOneShot
                                          : W::kNoShots;
    w.shotTimeout = Read(shotTimeout_);
    w.enemyDistance = Read(distance_);
    return w;
}

void LevelEditorDialog::addNew() {
    const auto wave = buildWave();
    if (!wave) return;
    const std::size_t at = WaveInsertionIndex(waves_, wave->mapY);
    waves_.insert(waves_.begin() + static_cast<std::ptrdiff_t>(at), *wave);
    refillList();
    resetGroup();
    applyRules();
    map_->area()->update();
}

void LevelEditorDialog::change() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(waves_.size())) return;
    const LevelWave w = waves_[static_cast<std::size_t>(row)];
    enemies_->setText(QString::number(w.enemies));
    distance_->setText(QString::number(w.enemyDistance));
    CheckExclusive({{enemyWave_, 0}, {bonusWave_, 1}}, w.isBonus() ? 1 : 0);
    QComboBox* combo = w.isBonus() ? bonus_ : enemy_;
    {
        QSignalBlocker quiet(combo);
        SelectObjectInCombo(combo, w.isBonus() ? kBonusType : kEnemiesDataType, w.itemId());
    }
    mapX_->setText(QString::number(w.mapX));
    mapY_->setText(QString::number(w.mapY));
    screenY_->setText(QString::number(w.screenY));
    mirror_->setChecked(w.mirror != 0);
    CheckExclusive({{noShots_, W::kNoShots}, {oneShot_, W::kOneShot}, {continueShots_, W::kContinuousShots}},
                   w.shots);
    shotTimeout_->setText(QString::number(w.shotTimeout));
    showKindControls();
    applyRules();
    waves_.erase(waves_.begin() + row);
    refillList();
    map_->area()->update();
}

void LevelEditorDialog::remove() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(waves_.size())) return;
    waves_.erase(waves_.begin() + row);
    refillList();
    map_->area()->update();
}

void LevelEditorDialog::refillList(int select) {
    QSignalBlocker quiet(list_);
    list_->clear();
    ProjectRecord* project = fields().project();
    if (!project) return;
    for (const LevelWave& w : waves_) list_->addItem(WaveListLine(*project, w));
    list_->setCurrentRow(select);
    shapeWaves();
}

void LevelEditorDialog::shapeWaves() {
    // Map Y grows upwards: an arrow pointing down on the view covers the 30 pixels below its
    // point; a few pixels more hold the pens.
    constexpr std::int64_t kPens = 4;
    shapes_.assign(waves_.size(), WaveShape{});
    for (std::size_t i = 0; i < waves_.size(); ++i) {
        const LevelWave& w = waves_[i];
        const auto kind = kindOf(w.subject);
        if (!kind || *kind > V::kFromBottom) continue;
        WaveShape& s = shapes_[i];
        s.kind = *kind;
        const std::int64_t y = w.mapY;
        if (*kind == V::kFromTop) {
            s.low = y - kArrowLength - kPens;
            s.high = y + kPens;
        } else if (*kind == V::kFromBottom) {
            s.low = y - kPens;
            s.high = y + kArrowLength + kPens;
        } else {
            s.low = std::min<std::int64_t>(y - kHeadSide - kPens, w.screenY - kPens);
            s.high = std::max<std::int64_t>(y + kHeadSide + kPens, w.screenY + kPens);
        }
    }
}

QPoint LevelEditorDialog::viewPointOf(std::int32_t x, std::int32_t y) const {
    const long long t = map_->tileSize();
    return {Clamp(x - t * map_->firstColumn()),
            Clamp((1LL * map_->mapHeight() - map_->firstRow()) * t - y - 1)};
}

QPoint LevelEditorDialog::mapPointAt(QPoint view) const {
    const long long t = map_->tileSize();
    return {Clamp(t * map_->firstColumn() + view.x()),
            Clamp((1LL * map_->mapHeight() - map_->firstRow()) * t - view.y())};
}

void LevelEditorDialog::paintWaves(QPainter& painter) {
    if (map_->tileSize() <= 0) return;
    const int size = map_->viewSize();
    if (const auto wave = buildWave())
        DrawWaveArrow(painter, *wave, *kindOf(wave->subject), viewPointOf(wave->mapX, wave->mapY),
                      kComposed, size, &arrows_);
    const int selected = list_->currentRow();
    // Only waves whose arrows reach the map Y range on view are drawn.
    const std::int64_t top = (1LL * map_->mapHeight() - map_->firstRow()) * map_->tileSize();
    const std::int64_t bottom = top - size;
    for (std::size_t i = 0; i < waves_.size() && i < shapes_.size(); ++i) {
        const WaveShape& shape = shapes_[i];
        if (shape.kind < 0 || shape.high < bottom || shape.low > top) continue;
        const LevelWave& w = waves_[i];
        const bool isSelected = static_cast<int>(i) == selected;
        const QColor colour = w.isBonus() ? (isSelected ? kBonusSelected : kBonus)
                                          : (isSelected ? kEnemySelected : kEnemy);
        DrawWaveArrow(painter, w, static_cast<std::uint32_t>(shape.kind), viewPointOf(w.mapX, w.mapY),
                      colour, size, &arrows_);
    }
}

void LevelEditorDialog::pointerMoved(QPoint at) {
    if (!choose_->isChecked() || map_->tileSize() <= 0) return;
    const bool bonus = bonusWave_->isChecked();
    const std::int32_t item = GetSelectedObjectId(bonus ? bonus_ : enemy_, bonus ? kBonusType : kEnemiesDataType);
    if (item == 0) return;
    const auto kind = kindOf(static_cast<std::uint32_t>(item & 0xFFFF) + (bonus ? W::kBonusBase : 0u));
    if (!kind) return;
    const QPoint p = mapPointAt(at);
    if (*kind == V::kFromTop || *kind == V::kFromBottom) {
        mapX_->setText(QString::number(p.x()));
        mapY_->setText(QString::number(p.y()));
    } else if (*kind == V::kFromLeft) {
        mapY_->setText(QString::number(p.y()));
        screenY_->setText(QString::number(mapPointAt(QPoint(0, 0)).y()));
    }
    map_->area()->update();
}

} // namespace qb::ui
