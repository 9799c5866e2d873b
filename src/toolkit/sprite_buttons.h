#pragma once
// The buttons of an item editor that open the sprite animation editor on a run of sprite frames
// of the edited record.
//
// What the sprite animation editor confirms is written into the record and saved at once, so the
// frames are never bound to the editor's own OK. A run whose length the user types beside its
// button takes that count at the click: it is stored into its field and saved at once, cut to
// the frames the run has room for, before the editor opens.
#include <cstddef>
#include <cstdint>

#include "imaging/sprite_animation_editor.h"

class QAbstractButton;
class QLineEdit;

namespace qb::ui {

class ItemEditorDialog;

// A run of a fixed number of frames.
void ConnectSpriteButton(ItemEditorDialog* dialog, QAbstractButton* button, std::size_t firstFrame,
                         int frames, SpriteEditorVariant variant = SpriteEditorVariant::Plain);

// A run of "count" frames, or with DirectionalGroups "count" frames for each of 8 directions.
struct CountedRun {
    std::size_t countOffset;  // i32 count field
    std::size_t firstFrame;   // the run's first sprite frame
    int maxCount;             // frames (per direction) the run has room for
};

// The count of a run as it may be stored: typed text read as a number from at most
// kNumberChars characters, cut to 0..maxCount.
std::int32_t CountOfRun(const QLineEdit* count, int maxCount);

// The click reads the count edit, stores CountOfRun into the count field (and shows it), saves
// the project, then opens the editor on that run. Also binds the count edit to its field, so
// OK stores it too, cut the same way.
void ConnectCountedSpriteButton(ItemEditorDialog* dialog, QAbstractButton* button, QLineEdit* count,
                                CountedRun run,
                                SpriteEditorVariant variant = SpriteEditorVariant::Plain);

} // namespace qb::ui
