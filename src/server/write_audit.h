#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "platform/sql/database.h"
#include "server/column_rules.h"

namespace pag::server {

// Every row a call inserts or updates, its dates and numbers checked against their
// columns' rules before the call commits: whatever path an operation takes to the
// database, a date or number that does not fit its column refuses the whole call (the
// transaction rolls back, nothing is stored) with a pt-BR message naming the field and
// the record. (Texts and flags are checked where calls take them in: change logs,
// arguments, and the database's CHECK constraints.)
//
// SQLite tells the connection which rows it wrote (by rowid); PostgreSQL has a trigger
// on every table note each written row, while the call's audit is on, in a temporary
// table of the connection (see installWriteCapture); the rows are then read again by
// their key, as they stand when the call ends.
class WriteAudit {
public:
    WriteAudit(Database& db, const ColumnRules& rules);
    ~WriteAudit();
    WriteAudit(const WriteAudit&) = delete;
    WriteAudit& operator=(const WriteAudit&) = delete;

    // Throws Refusal at the first value that does not fit.
    void check();

private:
    static void onWrite(void* self, int op, const char* database, const char* table, int64_t rowid);
    void checkSqlite();
    void startPostgres();
    void checkPostgres();
    // Checks each row `st` reads of the table.
    void checkRows(Statement& st, const std::string& table);

    Database& db_;
    const ColumnRules& rules_;
    std::set<std::pair<std::string, int64_t>> touched_;
};

// PostgreSQL: the trigger function and a trigger on each table of the connection's
// schema that note written rows for WriteAudit. Run after the migrations, in their
// transaction.
void installWriteCapture(Database& db);

}  // namespace pag::server
