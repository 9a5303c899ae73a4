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

    Database& db_;
    const ColumnRules& rules_;
    std::set<std::pair<std::string, int64_t>> touched_;
};

}  // namespace pag::server
