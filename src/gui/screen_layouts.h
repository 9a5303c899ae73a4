#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pag::gui {

// Where a screen's controls sit: the screens' models name their controls and
// captions, the positions are resources of the view. A container without a layout
// here is laid out by the general rules (see form_layout.h).
struct ContainerLayout {
    // Rows of control names, top to bottom, each row left to right. Controls of the
    // container not named follow in the general way.
    std::vector<std::vector<std::string>> rows{};
    // Two panes side by side behind a splitter (left names, right names); empty: none.
    std::vector<std::string> left{}, right{};
};

// The layout of a form's container ("frmHabConta", "Panel3"); null when it has none.
const ContainerLayout* containerLayout(std::string_view form, std::string_view container);
// The fields whose columns a grid shows first, in that order, until the user moves
// them ("frmHabConta", "dbgPadrao"): what a clerk needs before the rest at the
// window's opening size. Empty: the screen's own order.
std::vector<std::string> leadingColumns(std::string_view form, std::string_view grid);
// Whether a form's direct child sits under the page control (the navigator bar).
bool belowPages(std::string_view form, std::string_view control);

}  // namespace pag::gui
