#include "server/write_audit.h"

#include <sqlite3.h>

namespace pag::server {

WriteAudit::WriteAudit(Database& db, const ColumnRules& rules) : db_(db), rules_(rules) {
    if (db_.isPostgres()) {
        startPostgres();
        return;
    }
    sqlite3_update_hook(
        db_.handle("Auditoria de gravações"),
        [](void* self, int op, const char* database, const char* table, sqlite3_int64 rowid) {
            onWrite(self, op, database, table, rowid);
        },
        this);
}

WriteAudit::~WriteAudit() {
    // On PostgreSQL the audit ends with the call's transaction.
    if (!db_.isPostgres())
        sqlite3_update_hook(db_.handle("Auditoria de gravações"), nullptr, nullptr);
}

void WriteAudit::onWrite(void* self, int op, const char*, const char* table, int64_t rowid) {
    if (op == SQLITE_DELETE) return;
    static_cast<WriteAudit*>(self)->touched_.emplace(table, rowid);
}

void WriteAudit::check() {
    if (db_.isPostgres())
        checkPostgres();
    else
        checkSqlite();
}

void WriteAudit::checkSqlite() {
    const auto touched = std::move(touched_);
    touched_.clear();
    for (const auto& [table, rowid] : touched) {
        // Read again: a row removed later in the same call is not read.
        Statement st = db_.prepare("SELECT * FROM \"" + table + "\" WHERE rowid = :R");
        st.bind("R", Value(rowid));
        checkRows(st, table);
    }
}

void WriteAudit::checkRows(Statement& st, const std::string& table) {
    while (st.step()) {
        std::string record;
        for (const std::string& key : rules_.keyColumns(table)) {
            const int i = st.columnIndex(key);
            if (i >= 0) record += (record.empty() ? "" : "/") + st.column(i).asString();
        }
        for (int i = 0; i < st.columnCount(); ++i) {
            const std::string column = st.columnName(i);
            const ColumnRule* rule = rules_.find(table, column);
            // Dates and numbers: a value out of these columns breaks every later
            // reading or sum. Texts and flags are checked where calls take them in.
            if (rule &&
                (rule->kind == ColumnRule::Kind::Date || rule->kind == ColumnRule::Kind::Number ||
                 rule->kind == ColumnRule::Kind::Integer))
                requireFits(rules_, table, column, st.column(i), record);
        }
    }
}

}  // namespace pag::server
