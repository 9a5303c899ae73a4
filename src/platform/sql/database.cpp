#include "platform/sql/database.h"

#include <sqlite3.h>

#include "platform/sql/sql_functions.h"

namespace pag {

Database::Database(std::string path, int busyTimeoutMs) : path_(std::move(path)) {
    if (path_.empty()) throw DatabaseError("O caminho do banco de dados não foi informado.");
    const std::string context = "Não foi possível abrir o banco de dados " + path_;
    int rc =
        sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    try {
        if (rc != SQLITE_OK) throw DatabaseError::fromSqlite(db_, rc, context);
        configure(busyTimeoutMs);
    } catch (const DatabaseError& e) {
        // The connection still holds the message of what failed.
        DatabaseError err = e.code() ? DatabaseError::fromSqlite(db_, e.code(), context) : e;
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw err;
    }
}

Database::~Database() {
    // Statements are finalized by their owners first; close_v2 copes when one is not.
    sqlite3_close_v2(db_);
}

void Database::configure(int busyTimeoutMs) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    exec("PRAGMA foreign_keys = ON");
    // Reads the file's header: a file that is not a database fails here, not later.
    exec("SELECT count(*) FROM sqlite_master");
    if (!isMemory()) {
        Statement wal(db_, "PRAGMA journal_mode = WAL");
        wal.step();
        // Pages are read from the system's file cache in place instead of copied by a
        // read call each: long lists load faster, and every connection shares them.
        exec("PRAGMA mmap_size = 268435456");
    }
    registerSqlFunctions(db_);
}

void Database::exec(std::string_view script) {
    std::string text(script);
    char* err = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);  // the connection keeps the same message
    if (rc != SQLITE_OK) throw DatabaseError::fromSqlite(db_, rc, "Erro ao executar o comando SQL");
}

Statement Database::prepare(std::string_view sql) {
    return Statement(db_, sql);
}

Statement Database::prepare(std::string_view sql,
                            std::initializer_list<std::pair<std::string_view, Value>> params) {
    Statement st = prepare(sql);
    for (const auto& [name, value] : params)
        st.bind(name, value);
    return st;
}

int64_t Database::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
    return sqlite3_changes(db_);
}

bool Database::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

std::string Database::journalMode() {
    Statement st(db_, "PRAGMA journal_mode");
    st.step();
    return st.column(0).asString();
}

Transaction::Transaction(Database& db, TransactionMode mode) : db_(db) {
    if (db_.inTransaction())
        throw DatabaseError("Já existe uma transação em andamento nesta conexão.");
    db_.exec(mode == TransactionMode::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
    active_ = true;
}

Transaction::~Transaction() {
    if (!active_) return;
    try {
        rollback();
    } catch (...) {
        // Nothing sensible to do in a destructor: SQLite rolls back what is left open
        // when the connection closes.
    }
}

void Transaction::commit() {
    if (!active_) throw DatabaseError("Não há transação em andamento para confirmar.");
    // A failed COMMIT (a busy database) leaves the transaction open: the destructor
    // then rolls it back.
    db_.exec("COMMIT");
    active_ = false;
}

void Transaction::rollback() {
    if (!active_) return;
    active_ = false;
    // SQLite may already have rolled back on its own (a full disk, an I/O error).
    if (db_.inTransaction()) db_.exec("ROLLBACK");
}

}  // namespace pag
