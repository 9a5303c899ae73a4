#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/connection_contract.h"
#include "platform/sql/database.h"

namespace pag::server {

// What an operation receives: the connection (already inside the call's transaction),
// the caller's login context and the positional arguments (by-reference arguments are
// written back into args).
class OperationCall {
public:
    OperationCall(Database& db, const CallContext& ctx, std::string operation,
                  std::vector<Value>& args)
        : db(db), ctx(ctx), operation(std::move(operation)), args(args) {}

    Database& db;
    const CallContext& ctx;
    const std::string operation;
    std::vector<Value>& args;

    // Argument i (from 0); a missing argument refuses the call with a pt-BR message
    // naming the operation and the position.
    const Value& arg(size_t i) const;
    std::string text(size_t i) const;  // as text, surrounding blanks kept
    double number(size_t i) const;
    Date date(size_t i) const;  // the empty date for null
    bool flag(size_t i) const;
    // A data packet argument (full content or change log); refuses anything else.
    const Packet& packet(size_t i) const;
    // The same packet to change and answer with: taken from the arguments when no one
    // else holds it (no copy of a long list), else a copy.
    std::shared_ptr<Packet> takePacket(size_t i);

    // Refuses the call unless the logged operator may work on that company (for
    // operations whose arguments name a company besides the login one).
    void requireCompany(const std::string& company) const;

    // Answer the call but roll its changes back: for operations that report a
    // refusal as their answer text instead of a failure ("VRBOL_DIF").
    void discardChanges() { keep_ = false; }
    bool keepsChanges() const { return keep_; }

private:
    bool keep_ = true;
};

enum class Access {
    Read,   // reads only: a deferred transaction
    Write,  // reads and writes: BEGIN IMMEDIATE, request-id idempotency
};

using OperationHandler = std::function<Value(OperationCall&)>;

struct Operation {
    std::string name;
    Access access = Access::Read;
    OperationHandler handler;
};

// Operation name -> handler. Names compare exactly as the screen sends them.
class OperationRegistry {
public:
    // Registering the same name twice is a programming error (std::logic_error).
    void add(std::string name, Access access, OperationHandler handler);
    const Operation* find(const std::string& name) const;
    std::vector<std::string> names() const;

private:
    std::map<std::string, Operation, std::less<>> ops_;
};

// Every operation of rdmHabConta. Each concern file has its registration function
// (operations.h); this calls all of them.
void registerAllOperations(OperationRegistry& registry);

}  // namespace pag::server
