#include "platform/ui/dispatch.h"

#include <exception>
#include <string>

#include "platform/ui/abort.h"

namespace pag {

bool dispatchUserAction(UserInterface& ui, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const SilentAbort&) {
        return false;
    } catch (const std::exception& e) {
        std::string text = e.what();
        ui.showMessage(MessageKind::Error, text.empty() ? "Erro inesperado." : text);
    } catch (...) {
        ui.showMessage(MessageKind::Error, "Erro inesperado.");
    }
    return false;
}

BusyScope::BusyScope(UserInterface& ui, int kind) : ui_(ui), kind_(kind) {
    Resume();
}

BusyScope::~BusyScope() {
    try {
        Pause();
    } catch (...) {
        // Hiding an animation must never turn into a second failure.
    }
}

void BusyScope::Pause() {
    if (!on_) return;
    on_ = false;
    ui_.busy(false, kind_);
}

void BusyScope::Resume() {
    if (on_) return;
    ui_.busy(true, kind_);
    on_ = true;
}

}  // namespace pag
