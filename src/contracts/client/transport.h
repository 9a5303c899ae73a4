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
    // Where the calls go, for messages ("127.0.0.1:8212", "servidor embutido").
    virtual std::string describe() const = 0;
};

}  // namespace pag
