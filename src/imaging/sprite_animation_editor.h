#pragma once
// "Edit sprites animation": the one dialog in which a run of sprite frames is picked on the
// project's sprite sheets.
//
// A sprite frame names a Sprites bitmap item and a rectangle of whole cells on it (layout in
// model/layouts/sprite_frame.h); a sprite animation is N consecutive frames inside an item's
// record. An item editor opens the editor on such a run of its own record:
//
//     EditSpriteAnimation(this, fields().projectIndex(), fields().objectId(),
//                         layout::shootemup_main::kScoreTextSprite, 1);
//
// The editor works on a copy of the N frames. "OK and save" copies all N back into the record
// (looked up by ID then) and saves the project at once: the calling editor's Cancel does not undo
// it, and the caller must not bind the frames to anything its own OK would write. Cancel, Escape
// and the close box leave the record exactly as it was.
//
// "Play" loops the N frames of the working copy (picks not yet saved included) in the frame
// preview at the frames per second chosen beside it, 12 unless changed; the current frame, picking
// and the record are untouched by it, and nothing of it is stored.
//
// The sheets are decoded afresh at every opening, so a picture changed in the external image
// program shows up the next time. A sheet whose cell size is 0 or less, or whose picture could not
// be decoded, is shown but offers no cells to pick.
#include <QPixmap>
#include <cstddef>
#include <cstdint>

class QWidget;

namespace qb::ui {

enum class SpriteEditorVariant {
    // No direction pictures; showing another sheet goes back to the first frame.
    Plain,
    // Eight direction pictures beside the frame label, frame f showing direction f; showing
    // another sheet keeps the current frame.
    Directional,
    // Like Directional, with framesPerDirection frames per direction: frame f shows direction
    // f / framesPerDirection (the caller passes N = 8 * framesPerDirection).
    DirectionalGroups,
};

// Opens the editor modally, owned by owner, on the frameCount frames that start at byte offset
// of the record of objectId in the project at projectIndex. Answers true after "OK and save"
// (the frames are in the record and project.ini was written), false after Cancel, when the
// project has no Sprites bitmap item (the user is told "No compatible sprites image found."), or
// when the record holds no frame at offset. frameCount is cut to the frames the record holds
// from offset, so a count taken from a damaged record never reads or writes past it.
bool EditSpriteAnimation(QWidget* owner, int projectIndex, std::int32_t objectId,
                         std::size_t offset, int frameCount,
                         SpriteEditorVariant variant = SpriteEditorVariant::Plain,
                         int framesPerDirection = 1);

// The 24 x 24 direction picture d: arrows pointing down, down-right, right, up-right, up,
// up-left, left and down-left for d = 0..7; a null pixmap for any other d.
QPixmap DirectionArrow(int direction);

// Size of the sheet view and of the frame preview, in pixels.
constexpr int kSpriteViewSize = 320;

} // namespace qb::ui
