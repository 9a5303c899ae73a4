#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sql/database.h"

namespace pag::server {

// A saving call's answer as stored under its request id: the result and the
// arguments as the operation left them (by-reference arguments written back).
struct StoredAnswer {
    Value result;
    std::vector<Value> args;
};

// The answer stored for that request id, or nothing. An id stored by another
// operation refuses the call (Refusal): a client never reuses an id.
std::optional<StoredAnswer> findStoredAnswer(Database& db, const std::string& requestId,
                                             const std::string& operation);

// Stores the answer in the running transaction.
void storeAnswer(Database& db, const std::string& requestId, const std::string& operation,
                 const std::string& operador, const StoredAnswer& answer);

}  // namespace pag::server
