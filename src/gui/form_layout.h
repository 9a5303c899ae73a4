#pragma once

class QWidget;

namespace pag {
class Container;
}

namespace pag::gui {

class FormView;

// Builds the widgets of a container's children into host and lays them out. The
// screen's own arrangement comes first (screen_layouts.h); otherwise:
// - a form: its toolbar on top (with its screen code at the right), the other
//   panels, the page control filling the rest, the navigator bar at the bottom;
// - a toolbar (buttons only): one row;
// - check boxes only: two per row;
// - anything else: a row per label with the controls after it, containers, grids
//   and option groups on rows of their own.
// Edits with a caption get it as a label in front; edits are as wide as their text
// can be, the long ones stretch; labels that start rows line up in one column.
void layOutContainer(FormView& view, Container& container, QWidget* host);

}  // namespace pag::gui
