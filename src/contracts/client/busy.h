#pragma once

#include "platform/ui/dispatch.h"
#include "platform/ui/user_interface.h"

namespace pag {

// Kinds of the busy animation the module shows: a server call (6) and the longer
// deletion of an installment or separation of a boleto (1).
inline constexpr int kAviProcessando = 6;
inline constexpr int kAviExcluindo = 1;

// Shows the busy animation over the application's main window (the user interface).
void ActiveShowAvi(UserInterface& ui, int kind = kAviProcessando);
// Hides the animation shown by ActiveShowAvi.
void DeactiveShowAvi(UserInterface& ui);

// A call wrapped "with the animation hidden again in a finally step" is written with
// BusyScope (platform/ui/dispatch.h): it shows the animation for its scope and hides it
// also when the call fails, so no screen can forget the hiding step.
//
//   { BusyScope avi(ui, kAviProcessando); result = CheckResultServ(net.Call(...)); }

}  // namespace pag
