#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "contracts/connection_contract.h"
#include "platform/dataset/packet.h"
#include "platform/ui/user_interface.h"

namespace pag {

// A server failure handed to the caller instead of being shown (CheckResultServ with
// show false), or a payload whose shape is not the one the caller needs.
struct ServerCallError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Checks a server result and returns its payload. On failure, with show true (what
// every screen passes) the server's message is shown as an error and the running
// operation is abandoned (MensErro: SilentAbort), so the caller's remaining steps do
// not run; with show false the failure is thrown as ServerCallError without showing.
// index 0 returns the payload as the server sent it; a positive index returns that
// part of a multi-part payload (PayloadPart).
Value CheckResultServ(UserInterface& ui, const CallResult& result, bool show = true, int index = 0);

// Part `index` (from 0) of a multi-part payload; ServerCallError (pt-BR) when the
// payload is not a list or is too short.
const Value& PayloadPart(const Value& payload, size_t index);
// A payload that is one data packet, or part `index` of a multi-part payload that must
// be one; ServerCallError (pt-BR) when the value there is not a data packet.
PacketPtr PayloadPacket(const Value& payload);
PacketPtr PayloadPacket(const Value& payload, size_t index);

// For the calls whose result is read directly (not through CheckResultServ): a call
// that did not reach the server, or that the server refused, must not pass for a
// blank answer, so it is shown and abandoned like any failure; otherwise the result
// is returned untouched.
Value DirectResult(UserInterface& ui, const CallResult& result);
// "OK" or blank: the success answer of the calls that return a message key.
bool IsOkText(const Value& result);

}  // namespace pag
