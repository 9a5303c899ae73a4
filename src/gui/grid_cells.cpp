#include "gui/grid_cells.h"

#include "platform/dataset/field.h"

namespace pag::gui {

std::vector<DrawCommand> drawGridCell(Grid& grid, int recNo, int column) {
    try {
        return grid.DrawCell(recNo, column);
    } catch (...) {
        // Painting never stops the program: a handler that cannot read this row
        // leaves the cell blank.
        return {};
    }
}

}  // namespace pag::gui
