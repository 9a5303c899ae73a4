#pragma once

#include <string_view>

#include "platform/sql/database_error.h"

struct pg_conn;
struct pg_result;

namespace pag {

// A PostgreSQL fault as the DatabaseError a SQLite connection gives for the same kind
// of fault: the SQLSTATE picks the SQLite code and its pt-BR description, and the
// constraint faults keep SQLite's own words ("UNIQUE constraint failed: T.A"), so a
// message reads the same on both. Without a result (a lost connection) the
// connection's message is used.
DatabaseError postgresError(const pg_result* res, const pg_conn* conn, std::string_view context);

}  // namespace pag
