#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;

namespace pag {

// A failure of the database: opening the file, a faulty SQL text, a broken
// constraint, a locked database, a value the column cannot hold. The message is
// pt-BR and ready to show; it ends with the database's own words in parentheses so
// that support can tell one fault from another.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& message, int code = 0)
        : std::runtime_error(message), code_(code) {}

    // The SQLite result code (extended; PostgreSQL faults take the code of the same
    // kind: a unique violation is SQLITE_CONSTRAINT_UNIQUE on both), or 0 when the fault was found
    // before reaching the database (an unknown parameter, a query without a database...).
    int code() const { return code_; }

    // "<context>: <pt-BR description of the code> (<message of the connection>)."; a
    // plain SQL fault (no such table, syntax) has no description beyond the context.
    static DatabaseError fromSqlite(sqlite3* db, int rc, std::string_view context);
    // The same text for a fault of the kind `code` (a SQLite code, whichever server
    // reported it), its description overridden by `what` when given.
    static DatabaseError ofKind(int code, std::string_view context, std::string_view detail,
                                const char* what = nullptr);

    // A value of that type (a packet, an array) cannot travel as a parameter.
    static DatabaseError unbindable(const char* valueTypeName);

private:
    int code_;
};

}  // namespace pag
