#pragma once
// The map painter (window title "Dialog"), opened by "Edit map" of "Background map parameters":
// a tile picker on the left, the map on the right, painted with the picked block of tiles.
//
// Left button: paints the block (Shift: flood-fills the connected cells equal to the clicked one
// with the block, tiled from that cell). Right button: erases (empty cells) with the block's
// size, or one cell when nothing is picked. Hovering shows the block where it would go until the
// map is next changed, scrolled or left. Strokes, fills and erasures can be undone (Ctrl+Z) and
// redone (Ctrl+Shift+Z, Ctrl+Y) while the painter is open. "Overwrite only background" restricts every change to cells
// that are background: empty cells, cells of tile sets of the kind of ground "nothing" (3) and
// cells whose tile set no longer exists.
//
// The painter works on a copy of the cells; "OK and save" writes them into the record and saves
// the project at once, whatever the parameters dialog does afterwards. Cells a damaged record
// does not hold are never drawn nor written.
#include <cstdint>

class QWidget;

namespace qb::ui {

constexpr int kMapPainterViewSize = 640;
constexpr int kTilePickerViewSize = 320;

// Opens the painter modally on the map item of that ID. True after "OK and save"; false after
// Cancel, and when the project has no usable tile set for the map's tile size (the user is told
// "No compatible background image found.").
bool EditBackgroundMap(QWidget* owner, int projectIndex, std::int32_t objectId);

} // namespace qb::ui
