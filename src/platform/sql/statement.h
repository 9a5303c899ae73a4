#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/dataset/row_layout.h"
#include "platform/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace pag {

class PgStatement;

// One prepared SQL statement with :NAME parameters. Values are always bound, never
// pasted into the text, so a code holding a quote is just a code.
//
// Values travel as: null; text; float; integer; boolean as integer 0/1; a date as
// "YYYY-MM-DD" text (the empty date as null); a blob as a blob. Packets and arrays
// cannot be bound.
//
// Obtained from Database::prepare(); must not outlive its Database. On PostgreSQL
// the same calls run through a PgStatement (see pg_statement.h); a SQLite statement
// goes straight to SQLite, the PostgreSQL one costing it a single test.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    Statement(std::unique_ptr<PgStatement> pg, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& sql() const { return sql_; }

    // ---- parameters (indexes from 1, as SQLite counts them)
    int parameterCount() const;
    // The name without its ':' (also '@' or '$'); empty for a positional '?'.
    std::string parameterName(int index) const;
    // Binds every parameter of that name, compared case-insensitively, with or
    // without the leading ':'. A name that is not in the statement is refused.
    void bind(std::string_view name, const Value& value);
    void bind(int index, const Value& value);
    // Every parameter back to null.
    void clearBindings();

    // ---- running
    // Next row: true while there is one. Errors throw DatabaseError and reset the
    // statement, so it can run again.
    bool step();
    // Runs to completion; returns the rows changed.
    int execute();
    // Back to the start; the bindings stay.
    void reset();
    // True when the statement cannot change the database (a SELECT).
    bool readOnly() const;

    // ---- the current row (columns from 0)
    int columnCount() const;
    std::string columnName(int i) const;
    // The declared type of the table column behind the result column ("VARCHAR(40)",
    // "DATE"); empty for an expression.
    std::string columnDeclaredType(int i) const;
    // -1 when no column has that name (case-insensitive).
    int columnIndex(std::string_view name) const;
    // As stored: null, integer, float, text or blob.
    Value column(int i) const;
    // Converted to a field type ("2024-05-31" into a date, 1 into a boolean...); a
    // value that does not fit throws DatabaseError naming the column.
    Value column(int i, FieldType type) const;
    // The column as text (a number as SQLite writes it, null as empty), without a
    // copy: valid until the next step or reset.
    std::string_view text(int i) const;
    // The same value written as the writer's next field (of the writer's type), with
    // no Value in between when it is stored as that type already.
    void writeColumn(int i, RowWriter& w) const;
    Value column(std::string_view name) const;

private:
    // The text SQLite holds for column i of the current row (empty for null).
    std::string_view storedText(int i) const;
    void checkColumn(int i) const;
    [[noreturn]] void fail(int rc, std::string_view context) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::unique_ptr<PgStatement> pg_;
    std::string sql_;
};

}  // namespace pag
