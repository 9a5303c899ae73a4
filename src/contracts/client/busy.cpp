#include "contracts/client/busy.h"

namespace pag {

void ActiveShowAvi(UserInterface& ui, int kind) {
    ui.busy(true, kind);
}

void DeactiveShowAvi(UserInterface& ui) {
    // The animation has one window: hiding it does not depend on the kind shown.
    ui.busy(false, 0);
}

}  // namespace pag
