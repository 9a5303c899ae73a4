#include "contracts/client/transport_inprocess.h"

#include <exception>

namespace pag {

InProcessTransport::InProcessTransport(ServerModule& module) : module_(&module) {}

InProcessTransport::InProcessTransport(ModuleFactory factory) : factory_(std::move(factory)) {}

CallResult InProcessTransport::call(const CallContext& ctx, const std::string& operation,
                                    std::vector<Value>& args, const std::vector<int>& byRef) {
    checkByRefIndexes(operation, args.size(), byRef);
    if (!module_) {
        const std::string prefix = "Não foi possível iniciar o servidor de aplicação embutido";
        try {
            if (factory_) owned_ = factory_();
        } catch (const std::exception& e) {
            return CallResult::failure(prefix + ": " + e.what());
        }
        if (!owned_) return CallResult::failure(prefix + ".");
        module_ = owned_.get();
    }
    std::vector<Value> copy = args;
    CallResult r = invokeModule(*module_, ctx, operation, copy);
    if (r.ok)
        for (int i : byRef)
            args[static_cast<size_t>(i)] = std::move(copy[static_cast<size_t>(i)]);
    return r;
}

}  // namespace pag
