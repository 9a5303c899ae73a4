#pragma once

#include <string>
#include <vector>

#include "contracts/connection_contract.h"

namespace pag {

// How a call reaches the application server. Implementations never throw for a
// connection, protocol or server failure: each comes back as a failed CallResult with
// a message the user can read. Arguments named in byRef receive the values the server
// wrote back, and only after a successful call; every other argument keeps the
// caller's value.
class Transport {
public:
    virtual ~Transport() = default;
    virtual CallResult call(const CallContext& ctx, const std::string& operation,
                            std::vector<Value>& args, const std::vector<int>& byRef) = 0;
    // The same call for arguments the caller gives away, none coming back: a transport
    // may hand them to the server as they are instead of copying them (a whole list
    // sent to be marked is not copied twice).
    virtual CallResult give(const CallContext& ctx, const std::string& operation,
                            std::vector<Value>&& args) {
        return call(ctx, operation, args, {});
    }
    // Where the calls go, for messages ("127.0.0.1:8212", "servidor embutido").
    virtual std::string describe() const = 0;
};

}  // namespace pag
