#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sql/database.h"

namespace pag::server {

// What a column accepts, read from its declaration in the schema: DATE columns real
// dates from 1900-01-01 to 2999-12-31; VARCHAR(n) texts of at most n characters;
// REAL and NUMERIC finite numbers within the money range (cents exact); INTEGER whole
// numbers; a CHECK (COL IN (...)) list the values of its domain.
struct ColumnRule {
    enum class Kind { Date, Text, Number, Integer, Other };
    std::string name;
    Kind kind = Kind::Other;
    size_t maxLength = 0;  // Text: 0 when the declaration gives none
    std::vector<std::string> domain;
};

// The rules of every column of the server's tables.
class ColumnRules {
public:
    // Reads the declarations of every table of the database.
    explicit ColumnRules(Database& db);
    // The rules of a table's column, or nothing for a column not declared.
    const ColumnRule* find(const std::string& table, const std::string& column) const;
    // The primary-key columns of a table, in key order.
    std::vector<std::string> keyColumns(const std::string& table) const;
    // The pt-BR reason why the value does not fit the column, or nothing when it fits
    // (null always fits here; NOT NULL is the database's to enforce).
    std::optional<std::string> violation(const std::string& table, const std::string& column,
                                         const Value& value) const;

    // The rules of the server's schema, read once from the first database that asks.
    static const ColumnRules& of(Database& db);

private:
    // The declarations from SQLite's own catalog, or from PostgreSQL's (the
    // connection's current schema).
    void readSqlite(Database& db);
    void readPostgres(Database& db);
    void addColumn(const std::string& table, const std::string& column,
                   const std::string& declaredType);
    void addKeyColumn(const std::string& table, const std::string& column);
    // The quoted literals of `list` become the column's domain.
    void addDomain(const std::string& table, const std::string& column, const std::string& list);

    std::map<std::string, std::map<std::string, ColumnRule>> tables_;
    std::map<std::string, std::vector<std::string>> keys_;
};

// The earliest and latest date any column accepts.
Date earliestStoredDate();
Date latestStoredDate();

// Largest magnitude a money column keeps to the cent.
inline constexpr double kMaxStoredNumber = 999'999'999'999.99;

// Refuses (Refusal) a value that does not fit the column, naming the field and, when
// given, the record: "Valor inválido no campo DTVENBOLPAG (BOLETPAGAR 0001/0000000004):
// ...". Nothing is stored by a call refused here.
void requireFits(const ColumnRules& rules, const std::string& table, const std::string& column,
                 const Value& value, const std::string& record = {});

}  // namespace pag::server
