#include "contracts/client/transport_inprocess.h"

#include <exception>

namespace pag {

InProcessTransport::InProcessTransport(ServerModule& module) : module_(&module) {}

InProcessTransport::InProcessTransport(ModuleFactory factory) : factory_(std::move(factory)) {}

ServerModule* InProcessTransport::module(CallResult& failure) {
    if (module_) return module_;
    const std::string prefix = "Não foi possível iniciar o servidor de aplicação embutido";
    try {
        if (factory_) owned_ = factory_();
    } catch (const std::exception& e) {
        failure = CallResult::failure(prefix + ": " + e.what());
        return nullptr;
    }
    if (!owned_) {
        failure = CallResult::failure(prefix + ".");
        return nullptr;
    }
    module_ = owned_.get();
    return module_;
}

CallResult InProcessTransport::call(const CallContext& ctx, const std::string& operation,
                                    std::vector<Value>& args, const std::vector<int>& byRef) {
    checkByRefIndexes(operation, args.size(), byRef);
    CallResult failure;
    ServerModule* m = module(failure);
    if (!m) return failure;
    std::vector<Value> copy = args;
    CallResult r = invokeModule(*m, ctx, operation, copy);
    if (r.ok)
        for (int i : byRef)
            args[static_cast<size_t>(i)] = std::move(copy[static_cast<size_t>(i)]);
    return r;
}

CallResult InProcessTransport::give(const CallContext& ctx, const std::string& operation,
                                    std::vector<Value>&& args) {
    CallResult failure;
    ServerModule* m = module(failure);
    if (!m) return failure;
    std::vector<Value> given = std::move(args);
    return invokeModule(*m, ctx, operation, given);
}

}  // namespace pag
