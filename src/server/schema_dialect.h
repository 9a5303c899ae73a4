#pragma once

#include <string>
#include <string_view>

#include "platform/sql/database.h"

namespace pag::server {

// The schema's SQL texts are written for SQLite; on PostgreSQL a few declarations must
// read differently. This is the whole difference, applied to every migration text:
// REAL money columns become DOUBLE PRECISION (PostgreSQL's REAL is single precision),
// INTEGER becomes BIGINT (SQLite integers are 64-bit: launch numbers have 10 digits),
// BLOB becomes BYTEA, an AUTOINCREMENT key an identity column, and the
// "now" timestamp default PostgreSQL's UTC clock in the same text form.
std::string postgresSchemaText(std::string_view sqliteText);

// The schema text as the database's backend reads it.
std::string schemaTextFor(const Database& db, std::string_view sqliteText);

// Whether the connection's own schema (the file on SQLite; current_schema() on
// PostgreSQL) holds the table.
bool tableExists(Database& db, const std::string& table);

}  // namespace pag::server
