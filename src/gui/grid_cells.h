#pragma once

#include <vector>

#include "platform/ui/grid.h"

namespace pag::gui {

// What the grid model draws in one cell of any row (recNo, 1-based), as its current
// row would be drawn: the field's text (the typed text in the cell being edited), then
// the screen's OnDrawColumnCell. Other rows are read through the display record, so
// the cursor never moves and no dataset event fires. A row the screen cannot draw
// comes back empty.
std::vector<DrawCommand> drawGridCell(Grid& grid, int recNo, int column);

}  // namespace pag::gui
