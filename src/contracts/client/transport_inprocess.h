#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/client/transport.h"

namespace pag {

// The embedded default: the server code runs inside the module, on the calling
// thread. Arguments are handed to the server as a copy so that, as over HTTP, only
// the by-reference ones come back.
class InProcessTransport final : public Transport {
public:
    using ModuleFactory = std::function<std::unique_ptr<ServerModule>()>;

    // Uses a module that outlives the transport (tests, a server already running).
    explicit InProcessTransport(ServerModule& module);
    // Creates the module on the first call, so that a server that cannot start (a
    // missing database file) fails that call with a clear message, not the opening of
    // the screen. A creation that failed is tried again on the next call.
    explicit InProcessTransport(ModuleFactory factory);

    CallResult call(const CallContext& ctx, const std::string& operation, std::vector<Value>& args,
                    const std::vector<int>& byRef) override;
    CallResult give(const CallContext& ctx, const std::string& operation,
                    std::vector<Value>&& args) override;
    std::string describe() const override { return "servidor embutido"; }

private:
    // The module, created on the first call; null with failure set when it cannot be.
    ServerModule* module(CallResult& failure);

    ServerModule* module_ = nullptr;
    std::unique_ptr<ServerModule> owned_;
    ModuleFactory factory_;
};

}  // namespace pag
