#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/sql/database.h"

namespace pag::server {

using ColumnValues = std::vector<std::pair<std::string, Value>>;

// Inserts a copy of the one row of `table` that `key` selects (column = value for each
// pair), with `changes` replacing the copied values of those columns. Every column of
// the table is copied, so columns added later travel too. Table and column names come
// from the server's own code; only the values are bound. Throws DatabaseError when the
// row does not exist.
void copyRow(Database& db, const std::string& table, const ColumnValues& key,
             const ColumnValues& changes);

}  // namespace pag::server
