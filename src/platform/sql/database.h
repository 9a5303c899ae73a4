#pragma once

#include <initializer_list>
#include <utility>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/sql/database_error.h"
#include "platform/sql/statement.h"

struct sqlite3;

namespace pag {

class PgConnection;

enum class TransactionMode {
    Deferred,   // takes the write lock at the first write
    Immediate,  // takes it at once: required when the transaction reads and then writes,
                // so that two connections never both read and then fight for the lock
};

// One connection to a database, chosen by the connection string: a SQLite file
// (created when missing) or, with ":memory:", a private SQLite database in memory; a
// libpq URI ("postgresql://..." or "postgres://...") opens a PostgreSQL database
// (see docs/database.md for what differs there).
//
// Every connection is set up the same way: write-ahead log for files (readers do not
// block the one writer), foreign keys enforced, a busy timeout so that a writer waits
// for another connection instead of failing at once, and the functions the suite's
// SQL texts expect (see sql_functions.h).
//
// Threads: a Database and its statements belong to one thread at a time. Give each
// thread (each server worker, each screen session) its own Database on the same file;
// SQLite and the write-ahead log coordinate them (on PostgreSQL, the server does).
class Database {
public:
    static constexpr std::string_view kMemory = ":memory:";
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    explicit Database(std::string path = std::string(kMemory),
                      int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The connection string as given (a PostgreSQL one may hold a password: show
    // describe() instead).
    const std::string& path() const { return path_; }
    bool isMemory() const { return path_ == kMemory; }
    bool isPostgres() const { return pg_ != nullptr; }
    // What a message may name: the file, or the PostgreSQL database and server.
    std::string describe() const;

    // Runs a script of one or more statements separated by ";" (schema, seed data).
    // Nothing can be bound here: statements with values go through prepare().
    void exec(std::string_view script);
    // One statement with :NAME parameters; it must not outlive this Database.
    Statement prepare(std::string_view sql);
    // The same, with its parameters bound by name at once.
    Statement prepare(std::string_view sql,
                      std::initializer_list<std::pair<std::string_view, Value>> params);

    // SQLite only: on PostgreSQL take the key from INSERT ... RETURNING.
    int64_t lastInsertRowId() const;
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    bool inTransaction() const;
    // "wal" for a file, "memory" in memory, "postgresql" on PostgreSQL.
    std::string journalMode();
    // Opens a transaction (Transaction does, for a scope).
    void begin(TransactionMode mode);

    // The SQLite connection, for what only SQLite offers; on PostgreSQL throws
    // DatabaseError saying that `feature` is not available there yet.
    sqlite3* handle(std::string_view feature) const;

private:
    void configure(int busyTimeoutMs);

    std::string path_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<PgConnection> pg_;
};

// A transaction for the duration of a scope: rolled back when the scope ends without
// commit(), so an exception never leaves half of a change behind.
class Transaction {
public:
    explicit Transaction(Database& db, TransactionMode mode = TransactionMode::Deferred);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool active() const { return active_; }

private:
    Database& db_;
    bool active_ = false;
};

}  // namespace pag
