#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "contracts/connection_contract.h"
#include "platform/sql/database.h"
#include "server/operation_registry.h"

namespace pag::server {

// The name the screens connect to.
inline constexpr const char* kServerName = "pag12000.rdmHabConta";

// The application server's remote data module: every operation of the boleto screens
// over one database file.
//
// Each call: checks that the logged operator may work on the login company; runs the
// operation as one transaction (BEGIN IMMEDIATE for operations that write, so a read
// never has to be upgraded to a write under another writer); rolls back on a refusal
// or any error; and, for a writing call with a request id, stores the answer with the
// transaction and answers a repeated id with it instead of running again.
//
// Thread-safe: each call takes a connection of its own from a small pool (one SQLite
// connection is never used by two threads at once) and gives it back at the end.
// Reads run side by side; writing calls of this process take turns.
class RdmHabConta final : public ServerModule {
public:
    // Opens the file (creating it and applying pending migrations); throws
    // DatabaseError when it cannot.
    explicit RdmHabConta(std::string databasePath);
    // A module with its own registry (tests add operations of their own).
    RdmHabConta(std::string databasePath, OperationRegistry registry);
    ~RdmHabConta() override;

    CallResult call(const CallContext& ctx, const std::string& operation,
                    std::vector<Value>& args) override;
    bool readsOnly(const std::string& operation) const override;

    const std::string& databasePath() const { return path_; }
    const OperationRegistry& registry() const { return registry_; }

private:
    class Lease;
    std::unique_ptr<Database> acquire();
    void release(std::unique_ptr<Database> db);
    CallResult run(Database& db, const Operation& op, const CallContext& ctx,
                   std::vector<Value>& args);

    std::string path_;
    OperationRegistry registry_;
    std::mutex poolMutex_;
    std::mutex writeMutex_;
    std::vector<std::unique_ptr<Database>> idle_;
};

}  // namespace pag::server
