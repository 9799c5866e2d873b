#include "editors/soccer/playing_field_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "imaging/map_view.h"
#include "model/layouts/soccer_items.h"
#include "model/layouts/sound_pair.h"
#include "model/workspace.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/object_combos.h"

namespace qb::ui {

namespace {
namespace P = layout::playing_field;

const EditorRegistration kRegistration(kPlayingFieldType, RunEditor<PlayingFieldDialog>);

constexpr NumberRow kAreaRows[] = {
    {"playingAreaXLabel", "X Dimension playing area (in pixels):", "playingAreaXLineEdit",
     P::kPlayingAreaX},
    {"playingAreaYLabel", "Y Dimension playing area (in pixels):", "playingAreaYLineEdit",
     P::kPlayingAreaY},
    {"goalAreaXLabel", "X Dimension goal area (in pixels):", "goalAreaXLineEdit", P::kGoalAreaX},
    {"pileAreaXLabel", "X Dimension pile area (in pixels):", "pileAreaXLineEdit", P::kPileAreaX},
};

constexpr NumberRow kLowerRows[] = {
    {"halfAreaXLabel", "half X area dimension (default = 304):", "halfAreaXLineEdit",
     P::kHalfAreaX},
    {"areaYLabel", "Y area dimension (default = 256):", "areaYLineEdit", P::kAreaY},
    {"cpuKickXLabel", "X vector CPU init kick:", "cpuKickXLineEdit", P::kCpuKickX},
    {"cpuKickYLabel", "Y vector CPU init kick:", "cpuKickYLineEdit", P::kCpuKickY},
};

struct SoundRow {
    const char* name;  // <name>CheckBox, <name>Label, <name>ComboBox
    const char* box;
    const char* label;
    std::size_t offset;
};

constexpr SoundRow kSounds[] = {
    {"kickSound", "Enable kick sound", "Kick sound:", P::kKickSound},
    {"dribbleSound", "Enable dribble sound", "Dribble sound:", P::kDribbleSound},
    {"poleSound", "Enable pole sound", "Pole sound:", P::kPoleSound},
    {"enterStadiumSound", "Enable enter stadium sound", "Enter stadium sound:",
     P::kEnterStadiumSound},
    {"goalSound", "Enable goal sound", "Goal sound:", P::kGoalSound},
    {"singleWhistleSound", "Enable single whistle sound", "Single whistle sound:",
     P::kSingleWhistleSound},
    {"tripleWhistleSound", "Enable triple whistle sound", "Triple whistle sound:",
     P::kTripleWhistleSound},
    {"musicSound", "Enable music sound", "Music sound:", P::kMusicSound},
};

QByteArray Name(const char* stem, const char* suffix) { return QByteArray(stem) + suffix; }

} // namespace

PlayingFieldDialog::PlayingFieldDialog(QWidget* owner)
    : ItemEditorDialog(owner, QStringLiteral("Playing field")) {
    FieldBinder& f = fields();
    auto* columns = new QHBoxLayout;
    body()->addLayout(columns);

    // The map preview: the view ignores the mouse here, it only shows the field.
    auto* left = new QVBoxLayout;
    columns->addLayout(left);
    auto* mapForm = new QFormLayout;
    left->addLayout(mapForm);
    addItemNameRow(mapForm);
    auto* map = f.object(ItemCombo("backgroundMapComboBox"), P::kBackgroundMap, kBackgroundMapType);
    AddRow(mapForm, "backgroundMapLabel", "Background map", map);
    view_ = new MapView(this);
    view_->setAccessibleName(QStringLiteral("Playing field map"));
    MapViewInit(*view_, f.projectIndex());
    left->addWidget(view_, 0, Qt::AlignLeft);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    columns->addLayout(right);
    auto* areas = AddGroup<QFormLayout>(right, "areasGroupBox", "Areas");
    f.numberRows(areas, kAreaRows);
    f.numberRows(areas, kLowerRows);

    auto* sounds = AddGroup<QGridLayout>(right, "soundsGroupBox", "Sounds");
    int row = 0;
    for (const SoundRow& s : kSounds) {
        auto* box = Named<QCheckBox>(Name(s.name, "CheckBox").constData(), QString::fromLatin1(s.box));
        auto* combo = ItemCombo(Name(s.name, "ComboBox").constData(), 14);
        f.optionalSound(box, combo, s.offset + layout::sound_pair::kEnabled,
                        s.offset + layout::sound_pair::kSoundId);
        sounds->addWidget(box, row, 0);
        auto* label = Label(Name(s.name, "Label").constData(), s.label);
        label->setBuddy(combo);
        sounds->addWidget(label, row, 1);
        sounds->addWidget(combo, row, 2);
        ++row;
    }
    sounds->setColumnStretch(2, 1);
    right->addStretch(1);

    loadFields();
    if (const ObjectRecord* field = f.object())
        MapViewShow(*view_, static_cast<std::int32_t>(field->record().lo16(P::kBackgroundMap)));
    // Another map is shown at once; it is stored only by OK.
    connect(map, &QComboBox::currentIndexChanged, this, [this, map] {
        MapViewShow(*view_, GetSelectedObjectId(map, kBackgroundMapType));
    });
}

PlayingFieldDialog::~PlayingFieldDialog() { MapViewRelease(*view_); }

} // namespace qb::ui
