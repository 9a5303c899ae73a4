#include "server/server_database.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "server/migrations.h"
#include "server/schema_dialect.h"
#include "server/write_audit.h"

namespace pag::server {

namespace {

constexpr const char* kVersionTable = R"(
CREATE TABLE IF NOT EXISTS SCHEMAVERSION (
    NRVERSAO     INTEGER      NOT NULL PRIMARY KEY,
    NMMIGRACAO   VARCHAR(100) NOT NULL,
    DTAPLICACAO  TEXT         NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now'))
))";

// "002_business.sql" -> 2. The build only embeds files named NNN_name.sql.
int numberOf(const Migration& m) {
    size_t digits = 0;
    while (digits < m.name.size() && std::isdigit(static_cast<unsigned char>(m.name[digits])))
        ++digits;
    if (digits == 0) throw DatabaseError("Migração '" + m.name + "' sem número no início do nome.");
    return std::stoi(m.name.substr(0, digits));
}

int recordedVersion(Database& db) {
    Statement st = db.prepare("SELECT COALESCE(MAX(NRVERSAO), 0) FROM SCHEMAVERSION");
    st.step();
    return static_cast<int>(st.column(0).asInteger());
}

}  // namespace

void applyMigrations(Database& db) {
    Transaction tx(db, TransactionMode::Immediate);
    // Created and read inside the write lock: two processes opening a fresh database
    // at once do not both apply the same step.
    db.exec(schemaTextFor(db, kVersionTable));
    const int current = recordedVersion(db);
    bool applied = false;
    for (const Migration& m : Migrations()) {
        const int number = numberOf(m);
        if (number <= current) continue;
        try {
            db.exec(schemaTextFor(db, m.sql));
        } catch (const DatabaseError& e) {
            throw DatabaseError("Falha ao aplicar a migração " + m.name + ": " + e.what(),
                                e.code());
        }
        Statement rec =
            db.prepare("INSERT INTO SCHEMAVERSION (NRVERSAO, NMMIGRACAO) VALUES (:N, :NOME)");
        rec.bind("N", Value(number));
        rec.bind("NOME", Value(m.name));
        rec.execute();
        applied = true;
    }
    if (applied && db.isPostgres()) installWriteCapture(db);
    tx.commit();
}

std::unique_ptr<Database> openServerDatabase(const std::string& path) {
    auto db = std::make_unique<Database>(path);
    applyMigrations(*db);
    return db;
}

int schemaVersion(Database& db) {
    if (!tableExists(db, "SCHEMAVERSION")) return 0;
    return recordedVersion(db);
}

int latestSchemaVersion() {
    int latest = 0;
    for (const Migration& m : Migrations())
        latest = std::max(latest, numberOf(m));
    return latest;
}

}  // namespace pag::server
