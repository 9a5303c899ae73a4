#pragma once

#include <string>

namespace pag {

// How a PostgreSQL result column (its type's OID) reads: the kinds a SQLite
// connection stores values as, plus dates (text "YYYY-MM-DD") and booleans (read as
// the integers 0/1, as SQLite stores them).
enum class PgKind { Text, Integer, Float, Boolean, Date, Blob };

PgKind pgKindOf(unsigned oid);
// The declared type as a table would write it ("VARCHAR(40)", "NUMERIC(15,2)",
// "DATE"), the length and scale taken from the column's type modifier when it has
// one; empty for a type without a counterpart.
std::string pgDeclaredType(unsigned oid, int typmod);

}  // namespace pag
