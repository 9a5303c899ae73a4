#pragma once

#include <string>

#include "platform/ui/control.h"
#include "platform/ui/grid.h"

namespace pag {

class ClientDataSet;

// The suite's helpers for the screens' own drawing of grid cells and for tidying a row
// before it is posted. IndiceCol and DestroiColuna live with the grid (grid.h).

// Paints a cell with its text: the cell is cleared with `background`, then the text is
// written left-aligned, or right-aligned when `rightAligned` (money columns).
void GridText(GridCanvas& cell, const std::string& text, bool rightAligned,
              Colour background = Colour::window());

// Draws a picture in a cell at (x, y) pixels from the cell's top-left corner, over what
// the cell already shows; `transparent` is the colour of the picture that lets the
// cell show through. A caller that wants the cell blank clears it first (Fill).
void InsereImagem(GridCanvas& cell, const std::string& picture, Colour transparent, int x = 2,
                  int y = 0);
// The same with the picture of a screen's image holder (imgCheck, imgOk...). A holder
// whose picture was never set is drawn by its own name: the views keep the screens'
// pictures under the names of their holders.
void InsereImagem(GridCanvas& cell, const Image& image, Colour transparent, int x = 2, int y = 0);

// Before a row is posted: every text field of the row being edited or inserted that
// holds only blanks (or empty text) becomes null, so the server stores no blank codes.
// Calculated fields are left alone. Outside edit or insert state nothing changes.
void Seta_Campo_Null(ClientDataSet& dataset);

}  // namespace pag
