#include "scenario/scenario_database.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <stdexcept>
#include <system_error>

#include "platform/sql/pg_connection.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"

namespace pag::scenario {

namespace {

std::filesystem::path makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pag-scenario-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::system_error(errno, std::generic_category(),
                                "não foi possível criar a pasta temporária do cenário");
    return pattern;
}

// Writes a consistent copy of source into target without changing source (not even
// its journal mode): a read-only connection and VACUUM INTO.
void copyDatabase(const std::string& source, const std::string& target) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(source.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
    if (rc != SQLITE_OK)
        throw std::invalid_argument("não foi possível abrir o banco '" + source +
                                    "': " + sqlite3_errstr(rc));
    sqlite3_stmt* raws = nullptr;
    rc = sqlite3_prepare_v2(raw, "VACUUM INTO ?", -1, &raws, nullptr);
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> st(raws, &sqlite3_finalize);
    if (rc == SQLITE_OK) rc = sqlite3_bind_text(raws, 1, target.c_str(), -1, SQLITE_TRANSIENT);
    if (rc == SQLITE_OK) rc = sqlite3_step(raws);
    if (rc != SQLITE_DONE)
        throw std::invalid_argument("não foi possível copiar o banco '" + source +
                                    "': " + sqlite3_errmsg(raw));
}

}  // namespace

ScenarioDatabase::ScenarioDatabase(const std::string& server) {
    if (!server.empty()) {
        if (!isPostgresUri(server))
            throw std::invalid_argument(
                "o servidor PostgreSQL do cenário deve ser uma URI "
                "postgresql://...");
        schema_ = std::make_unique<ScratchSchema>(server, "cenario");
        path_ = schema_->connectionString();
        return;
    }
    dir_ = makeTempDir();
    path_ = (dir_ / "cenario.db").string();
}

ScenarioDatabase::~ScenarioDatabase() {
    // The connection goes first: the schema is dropped only once nothing holds it.
    db_.reset();
    schema_.reset();
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

void ScenarioDatabase::openMigrated() {
    db_ = server::openServerDatabase(path_);
}

std::unique_ptr<ScenarioDatabase> ScenarioDatabase::demo(Date today, const std::string& server) {
    std::unique_ptr<ScenarioDatabase> d(new ScenarioDatabase(server));
    d->openMigrated();
    server::seedDemo(*d->db_, today);
    return d;
}

std::unique_ptr<ScenarioDatabase> ScenarioDatabase::empty(const std::string& server) {
    std::unique_ptr<ScenarioDatabase> d(new ScenarioDatabase(server));
    d->openMigrated();
    return d;
}

std::unique_ptr<ScenarioDatabase> ScenarioDatabase::copyOf(const std::filesystem::path& source,
                                                           const std::string& server) {
    // A file's rows are not carried over to a server, nor a server's into a file: a
    // scenario on PostgreSQL starts from demo or empty.
    if (!server.empty())
        throw std::invalid_argument(
            "db ARQUIVO não está disponível com o cenário em "
            "PostgreSQL: use db demo ou db empty");
    if (isPostgresUri(source.string()))
        throw std::invalid_argument("db só copia um arquivo SQLite, não um banco PostgreSQL");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec))
        throw std::invalid_argument("o banco '" + source.string() + "' não existe");
    std::unique_ptr<ScenarioDatabase> d(new ScenarioDatabase({}));
    copyDatabase(source.string(), d->path_);
    d->openMigrated();
    return d;
}

void ScenarioDatabase::exec(const std::string& sql) {
    db_->exec(sql);
}

Value ScenarioDatabase::firstValue(const std::string& select) {
    Statement st = db_->prepare(select);
    if (!st.readOnly())
        throw std::invalid_argument(
            "expect server só aceita consultas (SELECT); use sql para "
            "alterar o banco");
    if (!st.step()) throw std::invalid_argument("a consulta não devolveu nenhuma linha");
    return st.column(0);
}

}  // namespace pag::scenario
