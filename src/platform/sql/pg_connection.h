#pragma once

#include <memory>
#include <string>
#include <string_view>

struct pg_conn;
struct pg_result;

namespace pag {

class PgStatement;

struct PgResultFree {
    void operator()(pg_result* r) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultFree>;

// True for a libpq URI ("postgresql://..." or "postgres://..."): such a connection
// string opens a PostgreSQL database instead of a SQLite file.
bool isPostgresUri(std::string_view path);

// One libpq connection, set up like a SQLite one: dates as "YYYY-MM-DD", floats
// written so they read back exactly, lock waits bounded by the busy timeout, and the
// functions the suite's SQL texts call (NVL, INSTR; created once per database).
//
// The server runs one command at a time per connection. A statement reads its rows
// one by one as they arrive (see PgStatement); when another command needs the
// connection first, that statement is made to take the rest of its rows into memory.
class PgConnection {
public:
    PgConnection(const std::string& uri, int busyTimeoutMs);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    pg_conn* raw() const { return conn_; }

    // Runs a script of one or more statements; returns the last one's result.
    void exec(std::string_view script);
    // Throws the mapped DatabaseError unless res is a success; returns it otherwise.
    PgResult check(pg_result* res, std::string_view context) const;

    // A name no other statement of this connection has.
    std::string nextStatementName() { return "pag_" + std::to_string(++statements_); }

    // The statement now reading rows off the connection; before anything else is
    // sent, yield() has it read the rest.
    void claim(PgStatement* s) { streaming_ = s; }
    void release(const PgStatement* s) {
        if (streaming_ == s) streaming_ = nullptr;
    }
    bool owns(const PgStatement* s) const { return streaming_ == s; }
    void yield();

    int changes() const { return changes_; }
    void setChanges(int n) { changes_ = n; }
    bool inTransaction();

    // "banco pag em /tmp/pg:5432 (usuário x)": what a message may show; never the
    // password.
    static std::string describe(const std::string& uri);

private:
    void setUp(int busyTimeoutMs);

    pg_conn* conn_ = nullptr;
    PgStatement* streaming_ = nullptr;
    long statements_ = 0;
    int changes_ = 0;
};

}  // namespace pag
