#include "platform/sql/pg_error.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cctype>
#include <string>

namespace pag {

namespace {

std::string field(const PGresult* res, int code) {
    const char* v = res ? PQresultErrorField(res, code) : nullptr;
    return v ? v : "";
}

// The suite writes its identifiers in capitals, unquoted; the server folds them to
// lower case.
std::string identifier(std::string_view name) {
    std::string s;
    for (char c : name)
        if (c != '"' && c != ' ')
            s += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "Key (a, b)=(x, y) already exists." -> "T.A, T.B"; empty when not in that form.
std::string keyColumns(const std::string& table, const std::string& detail) {
    const size_t open = detail.find("Key (");
    const size_t close = detail.find(")=(");
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    std::string out;
    std::string_view cols = std::string_view(detail).substr(open + 5, close - open - 5);
    while (!cols.empty()) {
        size_t comma = cols.find(',');
        out +=
            (out.empty() ? "" : ", ") + identifier(table) + "." + identifier(cols.substr(0, comma));
        cols = comma == std::string_view::npos ? std::string_view() : cols.substr(comma + 1);
    }
    return out;
}

struct Kind {
    int code;
    std::string detail;  // empty: the server's own message
    const char* what = nullptr;
};

Kind kindOf(const PGresult* res) {
    const std::string state = field(res, PG_DIAG_SQLSTATE);
    const std::string table = field(res, PG_DIAG_TABLE_NAME);
    const std::string constraint = field(res, PG_DIAG_CONSTRAINT_NAME);
    if (state == "23505") {
        std::string cols = keyColumns(table, field(res, PG_DIAG_MESSAGE_DETAIL));
        const bool primary = constraint.size() > 5 && constraint.ends_with("_pkey");
        return {primary ? SQLITE_CONSTRAINT_PRIMARYKEY : SQLITE_CONSTRAINT_UNIQUE,
                cols.empty() ? "" : "UNIQUE constraint failed: " + cols};
    }
    if (state == "23503") return {SQLITE_CONSTRAINT_FOREIGNKEY, "FOREIGN KEY constraint failed"};
    if (state == "23502")
        return {SQLITE_CONSTRAINT_NOTNULL, "NOT NULL constraint failed: " + identifier(table) +
                                               "." + identifier(field(res, PG_DIAG_COLUMN_NAME))};
    if (state == "23514")
        return {SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: " + identifier(constraint)};
    if (state.starts_with("23")) return {SQLITE_CONSTRAINT, ""};
    // Another transaction holds what this one needs: SQLite's "busy", so callers treat
    // both alike (wait and try again).
    if (state == "40001" || state == "40P01" || state == "55P03") return {SQLITE_BUSY, ""};
    if (state == "57014") return {SQLITE_INTERRUPT, ""};
    if (state == "53100") return {SQLITE_FULL, ""};
    if (state == "53200") return {SQLITE_NOMEM, ""};
    if (state == "42501") return {SQLITE_PERM, ""};
    if (state == "25006") return {SQLITE_READONLY, ""};
    if (state.starts_with("22")) return {SQLITE_MISMATCH, ""};
    if (state == "25P02")
        return {SQLITE_ERROR, "",
                "a transação foi interrompida por um erro anterior e precisa ser desfeita"};
    if (state.empty() || state.starts_with("08"))
        return {SQLITE_CANTOPEN, "", "a conexão com o servidor PostgreSQL falhou"};
    return {SQLITE_ERROR, ""};
}

// libpq's messages span lines ("...failed: ...\n\tIs the server running...").
std::string oneLine(std::string_view s) {
    std::string out;
    for (char c : s) {
        const bool blank = std::isspace(static_cast<unsigned char>(c));
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

DatabaseError postgresError(const pg_result* res, const pg_conn* conn, std::string_view context) {
    Kind kind = kindOf(res);
    if (kind.detail.empty()) kind.detail = field(res, PG_DIAG_MESSAGE_PRIMARY);
    if (kind.detail.empty() && res) kind.detail = PQresultErrorMessage(res);
    if (kind.detail.empty() && conn) kind.detail = PQerrorMessage(conn);
    return DatabaseError::ofKind(kind.code, context, oneLine(kind.detail), kind.what);
}

}  // namespace pag
