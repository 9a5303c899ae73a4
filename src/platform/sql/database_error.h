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

    // The SQLite result code (extended), or 0 when the fault was found before
    // reaching the database (an unknown parameter, a query without a database...).
    int code() const { return code_; }

    // "<context>: <pt-BR description of the code> (<message of the connection>)."; a
    // plain SQL fault (no such table, syntax) has no description beyond the context.
    static DatabaseError fromSqlite(sqlite3* db, int rc, std::string_view context);

private:
    int code_;
};

}  // namespace pag
