#include "platform/sql/database.h"

#include <sqlite3.h>

#include "platform/sql/pg_connection.h"
#include "platform/sql/pg_statement.h"
#include "platform/sql/sql_functions.h"

namespace pag {

Database::Database(std::string path, int busyTimeoutMs) : path_(std::move(path)) {
    if (path_.empty()) throw DatabaseError("O caminho do banco de dados não foi informado.");
    if (isPostgresUri(path_)) {
        pg_ = std::make_unique<PgConnection>(path_, busyTimeoutMs);
        return;
    }
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

std::string Database::describe() const {
    return pg_ ? PgConnection::describe(path_) : path_;
}

sqlite3* Database::handle(std::string_view feature) const {
    if (pg_) throw DatabaseError(std::string(feature) + " ainda não disponível em PostgreSQL.");
    return db_;
}

void Database::exec(std::string_view script) {
    if (pg_) return pg_->exec(script);
    std::string text(script);
    char* err = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);  // the connection keeps the same message
    if (rc != SQLITE_OK) throw DatabaseError::fromSqlite(db_, rc, "Erro ao executar o comando SQL");
}

Statement Database::prepare(std::string_view sql) {
    if (pg_) return Statement(std::make_unique<PgStatement>(*pg_, sql), sql);
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
    // lastval() would answer with whichever sequence moved last, not this table's key.
    if (pg_)
        throw DatabaseError(
            "O identificador da última linha inserida não está disponível em PostgreSQL; use "
            "INSERT ... RETURNING.");
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
    if (pg_) return pg_->changes();
    return sqlite3_changes(db_);
}

bool Database::inTransaction() const {
    if (pg_) return pg_->inTransaction();
    return sqlite3_get_autocommit(db_) == 0;
}

std::string Database::journalMode() {
    if (pg_) return "postgresql";
    Statement st(db_, "PRAGMA journal_mode");
    st.step();
    return st.column(0).asString();
}

Transaction::Transaction(Database& db, TransactionMode mode) : db_(db) {
    if (db_.inTransaction())
        throw DatabaseError("Já existe uma transação em andamento nesta conexão.");
    db_.begin(mode);
    active_ = true;
}

void Database::begin(TransactionMode mode) {
    if (!pg_) return exec(mode == TransactionMode::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
    exec("BEGIN");
    if (mode == TransactionMode::Deferred) return;
    // SQLite's IMMEDIATE lets one writer in at a time. The same here: every immediate
    // transaction takes one lock of this database, held until it ends and waited for
    // at most the busy timeout (then "busy", as on SQLite). SERIALIZABLE would instead
    // fail one of two read-then-write transactions at commit, which callers do not
    // retry. Readers and deferred transactions are not held up; row locks for finer
    // grained writers come later.
    try {
        exec("SELECT pg_advisory_xact_lock(72410002)");
    } catch (const DatabaseError&) {
        exec("ROLLBACK");
        throw;
    }
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
    // SQLite may already have rolled back on its own (a full disk, an I/O error); a
    // PostgreSQL transaction that failed stays open until rolled back.
    if (db_.inTransaction()) db_.exec("ROLLBACK");
}

}  // namespace pag
