#pragma once

struct sqlite3;

namespace pag {

// Functions the suite's SQL texts call that SQLite lacks, registered on every
// connection:
//   NVL(a, b)  b when a is null or empty text (the dialect NVL comes from treats
//              empty text as null), else a; so "CODE = NVL(:P_CODE, CODE)" lists every
//              row when the code parameter is null or blank.
// INSTR, the other function the texts use, is built into SQLite with the same
// argument order.
void registerSqlFunctions(sqlite3* db);

}  // namespace pag
