#include "server/rdm_hab_conta.h"

#include <optional>
#include <stdexcept>

#include "server/access_rules.h"
#include "server/refusal.h"
#include "server/request_store.h"
#include "server/server_database.h"
#include "server/write_audit.h"

namespace pag::server {

namespace {
OperationRegistry allOperations() {
    OperationRegistry r;
    registerAllOperations(r);
    return r;
}
// The arguments an operation works on: a copy, so that a call that fails writes
// nothing back. A packet no one else holds (a whole list given away by an embedded
// caller, or read from a request) is lent instead of copied, and goes back to the
// caller's arguments after a failure unless the operation took it.
class WorkArgs {
public:
    explicit WorkArgs(std::vector<Value>& args) : args_(args) {
        work.reserve(args.size());
        for (size_t i = 0; i < args.size(); ++i) {
            const auto* packet = args[i].ifPacket();
            if (packet && packet->use_count() == 1) {
                work.push_back(std::move(args[i]));
                args[i] = Value();
                lent_.push_back(i);
            } else {
                work.push_back(args[i]);
            }
        }
    }
    ~WorkArgs() {
        if (done_) return;
        for (size_t i : lent_)
            if (work[i].ifPacket()) args_[i] = std::move(work[i]);
    }
    WorkArgs(const WorkArgs&) = delete;
    WorkArgs& operator=(const WorkArgs&) = delete;

    // The call went through: what it wrote becomes the arguments.
    void giveBack() {
        args_ = std::move(work);
        done_ = true;
    }

    std::vector<Value> work;

private:
    std::vector<Value>& args_;
    std::vector<size_t> lent_;
    bool done_ = false;
};

}  // namespace

// A pooled connection for the duration of one call.
class RdmHabConta::Lease {
public:
    explicit Lease(RdmHabConta& owner) : owner_(owner), db_(owner.acquire()) {}
    ~Lease() { owner_.release(std::move(db_)); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Database& db() { return *db_; }

private:
    RdmHabConta& owner_;
    std::unique_ptr<Database> db_;
};

RdmHabConta::RdmHabConta(std::string databasePath)
    : RdmHabConta(std::move(databasePath), allOperations()) {}

RdmHabConta::RdmHabConta(std::string databasePath, OperationRegistry registry)
    : path_(std::move(databasePath)), registry_(std::move(registry)) {
    // The first connection brings the schema up to date and stays in the pool.
    idle_.push_back(openServerDatabase(path_));
}

RdmHabConta::~RdmHabConta() = default;

std::unique_ptr<Database> RdmHabConta::acquire() {
    {
        std::lock_guard<std::mutex> lock(poolMutex_);
        if (!idle_.empty()) {
            auto db = std::move(idle_.back());
            idle_.pop_back();
            return db;
        }
    }
    return std::make_unique<Database>(path_);
}

void RdmHabConta::release(std::unique_ptr<Database> db) {
    if (!db) return;
    // A connection left inside a transaction (it should not happen) is not reused.
    if (db->inTransaction()) return;
    std::lock_guard<std::mutex> lock(poolMutex_);
    idle_.push_back(std::move(db));
}

bool RdmHabConta::readsOnly(const std::string& operation) const {
    const Operation* op = registry_.find(operation);
    return op && op->access == Access::Read;
}

CallResult RdmHabConta::call(const CallContext& ctx, const std::string& operation,
                             std::vector<Value>& args) {
    const Operation* op = registry_.find(operation);
    if (!op)
        return CallResult::failure("Operação '" + operation + "' não existe no servidor " +
                                   kServerName + ".");
    // Writers queue here rather than in the database's busy wait, which polls with
    // growing sleeps: a save waits only for the saves before it. Other processes on
    // the same file are still kept apart by the database's own write lock.
    std::unique_lock<std::mutex> writing(writeMutex_, std::defer_lock);
    if (op->access == Access::Write) writing.lock();
    Lease lease(*this);
    try {
        return run(lease.db(), *op, ctx, args);
    } catch (const Refusal& e) {
        return CallResult::failure(e.what());
    } catch (const DatabaseError& e) {
        return CallResult::failure(e.what());
    } catch (const std::invalid_argument& e) {
        return CallResult::failure("Operação " + operation + ": " + e.what());
    }
}

CallResult RdmHabConta::run(Database& db, const Operation& op, const CallContext& ctx,
                            std::vector<Value>& args) {
    const bool writes = op.access == Access::Write;
    Transaction tx(db, writes ? TransactionMode::Immediate : TransactionMode::Deferred);
    checkOperatorCompany(db, ctx.operador, ctx.empresa);

    const bool idempotent = writes && ctx.requestId && !ctx.requestId->empty();
    std::string digest;
    if (idempotent) {
        digest = callDigest(ctx, op.name, args);
        if (auto stored = findStoredAnswer(db, *ctx.requestId, digest)) {
            // Already applied: the same answer, nothing done twice.
            if (stored->args.size() == args.size()) args = std::move(stored->args);
            return CallResult::success(std::move(stored->result));
        }
    }

    WorkArgs work(args);
    OperationCall call(db, ctx, op.name, work.work);
    std::optional<WriteAudit> audit;
    if (writes) audit.emplace(db, ColumnRules::of(db));
    Value result = op.handler(call);
    if (audit && call.keepsChanges()) audit->check();
    if (!call.keepsChanges()) {
        tx.rollback();
        work.giveBack();
        return CallResult::success(std::move(result));
    }
    if (idempotent) storeAnswer(db, *ctx.requestId, op.name, ctx, digest, {result, work.work});
    tx.commit();
    work.giveBack();
    return CallResult::success(std::move(result));
}

}  // namespace pag::server
