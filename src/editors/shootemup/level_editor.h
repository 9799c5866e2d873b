#pragma once
// "Level data" (type 8): the background map a shoot'em-up level scrolls over and the waves placed
// on it, each a group of enemies of one Enemies data item or one Bonus data item entering at a
// map position.
//
// The left half composes one wave ("New parameter"); "Add new" inserts it into the working list,
// which stays in descending order of Y map position (a wave at a Y already listed goes after the
// ones there). "Change" takes a wave out of the list into the group; it comes back only through
// "Add new". The right half shows the map through MapView with the wave being composed in yellow
// and the listed ones as arrows of their movement kind (enemies green, red when selected; bonuses
// cyan, magenta when selected). OK replaces the record with 16 + 40 x n bytes.
//
// Map coordinates: X from the map's left edge, Y from its bottom edge, in pixels.
//
// Waves whose enemy, bonus or vectorial animation no longer exists (or is of another type) are
// listed with a placeholder, are not drawn, and are stored again as they were.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "toolkit/item_editor.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPainter;
class QPushButton;
class QRadioButton;

namespace qb {
struct ProjectRecord;
}

namespace qb::ui {

class MapView;

// One 40-byte wave entry of a level record.
struct LevelWave {
    std::int32_t enemies = 1;
    std::uint32_t subject = 0;  // enemy ID, or bonus ID + 65536
    std::int32_t mapX = 0, mapY = 0;
    std::int32_t screenX = 0, screenY = 0;
    std::uint32_t mirror = 0;
    std::uint32_t shots = 0;
    std::int32_t shotTimeout = 5000;
    std::int32_t enemyDistance = 1000;

    bool isBonus() const;
    std::int32_t itemId() const;  // the enemy's or bonus's ID
};

// The movement kind of a wave's subject (the type of animation of the enemy's "Vectorial
// animation 1" or of the bonus's vectorial animation); none when an item is missing or of
// another type.
std::optional<std::uint32_t> WaveMovementKind(ProjectRecord& project, std::uint32_t subject);
// The wave's line in the list of waves.
QString WaveListLine(ProjectRecord& project, const LevelWave& wave);
// Where "Add new" puts a wave at Y map position y: before the first with a lower Y.
std::size_t WaveInsertionIndex(const std::vector<LevelWave>& waves, std::int32_t y);
// The arrows of one kind and colour drawn once into small pictures, so that a map with many
// waves repaints by copying them. Drawing through them gives the same pixels as drawing the lines.
class ArrowPictures {
public:
    // The picture of an arrow shape (0 down, 1 up, 2 from the left edge, 3 from the right edge)
    // in that colour, and where the arrow's start point lies in it.
    const QImage& picture(int shape, QRgb colour);
    static QPoint origin(int shape);

private:
    std::vector<std::pair<std::pair<int, QRgb>, QImage>> pictures_;
};

// Draws a wave of that kind whose map position is at view point at: each line in black 5 pixels
// wide and then in the colour 3 pixels wide, skipped when both ends lie beyond the same edge of
// the viewSize x viewSize area. With pictures, whole arrows are copied from them.
void DrawWaveArrow(QPainter& painter, const LevelWave& wave, std::uint32_t kind, QPoint at,
                   QColor colour, int viewSize, ArrowPictures* pictures = nullptr);

class LevelEditorDialog : public ItemEditorDialog {
public:
    explicit LevelEditorDialog(QWidget* owner);
    ~LevelEditorDialog() override;

    MapView* mapView() const { return map_; }
    const std::vector<LevelWave>& waves() const { return waves_; }

private:
    bool applyingRules_ = false;
    void loadLevel(RecordView& r);
    void storeLevel(RecordView& r);
    void resetGroup();
    void applyRules();
    void showKindControls();
    std::optional<LevelWave> buildWave();
    std::optional<std::uint32_t> kindOf(std::uint32_t subject);
    void addNew();
    void change();
    void remove();
    void refillList(int select = -1);
    void paintWaves(QPainter& painter);
    void pointerMoved(QPoint at);
    // Map point of a view position, and view position of a map point.
    QPoint mapPointAt(QPoint view) const;
    QPoint viewPointOf(std::int32_t x, std::int32_t y) const;
    std::int32_t selectedMapId() const;

    // What painting needs of each listed wave, worked out when the list changes: its movement
    // kind (-1: not drawn) and the map Y range its arrow can cover.
    struct WaveShape {
        std::int64_t kind = -1;
        std::int64_t low = 0, high = 0;
    };
    void shapeWaves();

    std::vector<LevelWave> waves_;
    std::vector<WaveShape> shapes_;
    ArrowPictures arrows_;
    std::uint32_t soundEnabled_ = 0;
    std::uint32_t soundId_ = 0;
    mutable std::unordered_map<std::uint32_t, std::optional<std::uint32_t>> kinds_;

    QComboBox* background_ = nullptr;
    QRadioButton* enemyWave_ = nullptr;
    QRadioButton* bonusWave_ = nullptr;
    QComboBox* enemy_ = nullptr;
    QComboBox* bonus_ = nullptr;
    QLineEdit* enemies_ = nullptr;
    QLineEdit* mapX_ = nullptr;
    QLineEdit* mapY_ = nullptr;
    QLineEdit* screenY_ = nullptr;
    QCheckBox* mirror_ = nullptr;
    QRadioButton* noShots_ = nullptr;
    QRadioButton* oneShot_ = nullptr;
    QRadioButton* continueShots_ = nullptr;
    QLineEdit* shotTimeout_ = nullptr;
    QLineEdit* distance_ = nullptr;
    QPushButton* choose_ = nullptr;
    QPushButton* addNew_ = nullptr;
    QWidget* enemyRows_ = nullptr;
    QWidget* bonusRows_ = nullptr;
    QListWidget* list_ = nullptr;
    QCheckBox* enableSound_ = nullptr;
    QComboBox* sound_ = nullptr;
    MapView* map_ = nullptr;
};

} // namespace qb::ui
