#pragma once

#include <QIcon>

namespace pag {
class Button;
}

namespace pag::gui {

// The icon of a toolbar or lookup button, by the button's name (the suite's toolbar
// buttons and this module's own); a null icon when the button has none.
QIcon buttonIcon(const Button& button);

}  // namespace pag::gui
