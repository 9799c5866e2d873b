#pragma once
// Combo boxes that pick another item of the current project by ID, and the optional-sound pair.
//
// A combo lists, in table order, the descriptions of all objects of one type of the current
// project; an entry's position is the object's position among the objects of that type, which
// is how entries map back to IDs.
#include <cstdint>

#include "toolkit/item_types.h"

class QCheckBox;
class QComboBox;

namespace qb::ui {

void FillObjectCombo(QComboBox* combo, std::uint32_t type);
// Selects the entry of the object with that ID, or clears the selection.
void SelectObjectInCombo(QComboBox* combo, std::uint32_t type, std::int32_t objectId);
// The ID at the selected entry's position; 0 when nothing is selected.
std::int32_t GetSelectedObjectId(QComboBox* combo, std::uint32_t type);

enum class SoundAction { Open = 0, Clicked = 1, Store = 2 };
// The check box switches the sound on; the combo lists Audio data items.
void SetupOptionalSound(SoundAction action, QComboBox* combo, QCheckBox* box,
                        std::uint32_t& soundId, std::uint32_t& enabled);

} // namespace qb::ui
