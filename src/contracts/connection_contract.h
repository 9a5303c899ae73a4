#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/value.h"

namespace pag {

// Who is calling: the login context of the screen that makes the call. The server
// uses it for its own checks and logs; it never travels as an argument.
struct CallContext {
    std::string empresa;
    std::string filial;
    std::string operador;
    std::optional<std::string> requestId;
};

// What a server operation answers: the payload on success, the server's message on
// failure. Connection and protocol failures come back the same way, so a caller has
// one path for every failure.
struct CallResult {
    bool ok = false;
    Value result;
    std::string message;

    static CallResult success(Value result = Value()) { return {true, std::move(result), {}}; }
    static CallResult failure(std::string message) { return {false, Value(), std::move(message)}; }
};

// The server side of the contract: the application server's dispatch object.
// Arguments are positional; the operation writes by-reference arguments back into
// args. Business refusals come back as a failed CallResult; an exception is treated
// as an internal error of the server.
class ServerModule {
public:
    virtual ~ServerModule() = default;
    virtual CallResult call(const CallContext& ctx, const std::string& operation,
                            std::vector<Value>& args) = 0;
    // True for an operation that only reads: a service may then hold it back while as
    // many reads as it has processors run, so that a save is never starved by them.
    virtual bool readsOnly(const std::string& operation) const {
        (void)operation;
        return false;
    }
};

// Refuses by-reference indexes outside the argument list or named twice
// (std::invalid_argument, pt-BR).
void checkByRefIndexes(const std::string& operation, size_t argCount,
                       const std::vector<int>& byRef);

// Runs one operation on a module as one unit: an exception from the module becomes a
// failed result that names the operation, and a failure without a message gets one,
// so the user never sees an empty error box. internalError (when given) tells the
// two apart: true when the module threw.
CallResult invokeModule(ServerModule& module, const CallContext& ctx, const std::string& operation,
                        std::vector<Value>& args, bool* internalError = nullptr);

// Message for a refusal that came without a reason.
std::string refusalWithoutReason(const std::string& operation);

}  // namespace pag
