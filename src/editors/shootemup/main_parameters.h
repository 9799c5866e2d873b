#pragma once
// "Main parameters" of a shoot'em-up project (type 1): the level list, the player's ship and
// fire, speeds and lives, where the compiled game finds its resources, the game area, splash
// screens and font, and the placement of the score, high-score and lives texts.
//
// The record is edited in place on OK. Two things reach it at once and survive Cancel: the
// sprite frames picked through the "Edit sprite" buttons (the sprite animation editor saves the
// project itself) and the "Use custom font" flag (saved with the next save of the project).
// The working copy of the level list is the only state Cancel drops.
#include <array>
#include <cstdint>

#include "model/layouts/shootemup_main.h"
#include "toolkit/item_editor.h"

class QComboBox;
class QListWidget;

namespace qb::ui {

class ShootEmUpMainDialog : public ItemEditorDialog {
public:
    explicit ShootEmUpMainDialog(QWidget* owner);

    static constexpr std::size_t kMaxLevels = layout::shootemup_main::kLevelListSlots;

private:
    void buildLevelList(QWidget* group);
    // Clears the list box and adds each listed level's description; selects row select (or none).
    void refillLevels(int select = -1);
    void addLevel();
    void moveLevel(int by);
    void deleteLevel();

    std::uint32_t levelCount_ = 0;
    std::array<std::uint32_t, kMaxLevels> levels_{};
    QListWidget* levelList_ = nullptr;
    QComboBox* levelCombo_ = nullptr;
};

} // namespace qb::ui
