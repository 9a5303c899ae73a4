#pragma once

#include <functional>

#include "platform/ui/user_interface.h"

namespace pag {

// The one place where a user action (a click, a key, leaving a field) enters the
// core. It runs the action and
// - swallows the silent abort: its message was already shown;
// - shows any other error's text as an error message, so the user sees it and the
//   program goes on.
// Returns true when the action ran to its end.
bool dispatchUserAction(UserInterface& ui, const std::function<void()>& action);

// Shows the busy animation for a scope and hides it again, also when an exception
// passes. Pause/Resume hide it around a question asked in the middle.
class BusyScope {
public:
    explicit BusyScope(UserInterface& ui, int kind = 6);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    void Pause();
    void Resume();

private:
    UserInterface& ui_;
    int kind_;
    bool on_ = false;
};

}  // namespace pag
