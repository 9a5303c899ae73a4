#pragma once

#include <optional>
#include <string>
#include <vector>

#include "contracts/connection_contract.h"
#include "platform/sql/database.h"

namespace pag::server {

// A saving call's answer as stored under its request id: the result and the
// arguments as the operation left them (by-reference arguments written back).
struct StoredAnswer {
    Value result;
    std::vector<Value> args;
};

// What a request id is bound to: a digest (SHA-256, hex) of the operator, company,
// branch, operation and arguments as received.
std::string callDigest(const CallContext& ctx, const std::string& operation,
                       const std::vector<Value>& args);

// The answer stored for that request id, or nothing. An id stored by any other call
// (another operator, company, operation or other arguments) refuses the call
// (Refusal) without revealing anything of it; so does an id longer than its column.
std::optional<StoredAnswer> findStoredAnswer(Database& db, const std::string& requestId,
                                             const std::string& digest);

// Stores the answer in the running transaction.
void storeAnswer(Database& db, const std::string& requestId, const std::string& operation,
                 const CallContext& ctx, const std::string& digest, const StoredAnswer& answer);

}  // namespace pag::server
