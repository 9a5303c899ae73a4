#include "contracts/connection_contract.h"

#include <algorithm>
#include <exception>

namespace pag {

void checkByRefIndexes(const std::string& operation, size_t argCount,
                       const std::vector<int>& byRef) {
    for (size_t i = 0; i < byRef.size(); ++i) {
        int index = byRef[i];
        if (index < 0 || static_cast<size_t>(index) >= argCount)
            throw std::invalid_argument("Argumento por referência " + std::to_string(index) +
                                        " fora da lista de argumentos da operação " + operation +
                                        " (" + std::to_string(argCount) + " argumentos).");
        if (std::find(byRef.begin(), byRef.begin() + static_cast<long>(i), index) !=
            byRef.begin() + static_cast<long>(i))
            throw std::invalid_argument("Argumento por referência " + std::to_string(index) +
                                        " informado mais de uma vez na operação " + operation +
                                        ".");
    }
}

std::string refusalWithoutReason(const std::string& operation) {
    return "O servidor de aplicação recusou a operação " + operation + " sem informar o motivo.";
}

CallResult invokeModule(ServerModule& module, const CallContext& ctx, const std::string& operation,
                        std::vector<Value>& args, bool* internalError) {
    if (internalError) *internalError = true;
    auto internal = [&](const std::string& detail) {
        std::string text =
            "Erro interno do servidor de aplicação na operação " + operation + detail;
        if (text.back() != '.') text += '.';
        return CallResult::failure(std::move(text));
    };
    CallResult r;
    const size_t argCount = args.size();
    try {
        r = module.call(ctx, operation, args);
    } catch (const std::exception& e) {
        return internal(std::string(": ") + e.what());
    } catch (...) {
        return internal("");
    }
    if (args.size() != argCount) {
        args.resize(argCount);
        return internal(": a lista de argumentos foi alterada");
    }
    if (internalError) *internalError = false;
    if (!r.ok) {
        r.result = Value();
        if (r.message.empty()) r.message = refusalWithoutReason(operation);
    }
    return r;
}

}  // namespace pag
