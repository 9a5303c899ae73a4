#pragma once

#include <exception>

namespace pag {

// The silent abort: ends the running operation after its message was already
// shown. The one place where a user action enters the core (dispatchUserAction)
// swallows it; a before-event that raises it cancels its dataset operation.
struct SilentAbort : std::exception {
    const char* what() const noexcept override { return "operação abandonada"; }
};

}  // namespace pag
