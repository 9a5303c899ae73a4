#include <algorithm>
#include <cctype>
#include <vector>

#include "server/write_audit.h"

namespace pag::server {

namespace {

// Rows written while the call's audit is on (a setting local to its transaction),
// as JSON of the whole row, in a temporary table of the connection emptied at commit.
constexpr const char* kCaptureFunction = R"(
CREATE OR REPLACE FUNCTION pag_nota_gravacao() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  IF current_setting('pag.auditoria', true) = 'on' THEN
    INSERT INTO pg_temp.pag_gravacoes (tabela, linha) VALUES (TG_TABLE_NAME, to_jsonb(NEW));
  END IF;
  RETURN NULL;
END $$)";

std::string withCase(std::string s, int (*change)(int)) {
    for (char& c : s)
        c = static_cast<char>(change(static_cast<unsigned char>(c)));
    return s;
}
std::string upper(std::string s) {
    return withCase(std::move(s), ::toupper);
}
std::string lower(std::string s) {
    return withCase(std::move(s), ::tolower);
}

}  // namespace

void installWriteCapture(Database& db) {
    db.exec(kCaptureFunction);
    std::vector<std::string> tables;
    Statement st = db.prepare(
        "SELECT table_name FROM information_schema.tables"
        " WHERE table_schema = current_schema() AND table_type = 'BASE TABLE'");
    while (st.step())
        tables.push_back(st.column(0).asString());
    for (const std::string& table : tables)
        db.exec("CREATE OR REPLACE TRIGGER pag_gravacao AFTER INSERT OR UPDATE ON \"" + table +
                "\" FOR EACH ROW EXECUTE FUNCTION pag_nota_gravacao()");
}

void WriteAudit::startPostgres() {
    Statement exists = db_.prepare("SELECT to_regclass('pg_temp.pag_gravacoes') IS NOT NULL");
    exists.step();
    if (exists.column(0).asInteger() == 0)
        db_.exec(
            "CREATE TEMPORARY TABLE pag_gravacoes (tabela TEXT NOT NULL, linha JSONB NOT NULL)"
            " ON COMMIT DELETE ROWS");
    db_.exec("DELETE FROM pg_temp.pag_gravacoes");
    db_.exec("SELECT set_config('pag.auditoria', 'on', true)");
}

void WriteAudit::checkPostgres() {
    db_.exec("SELECT set_config('pag.auditoria', 'off', true)");
    std::vector<std::string> tables;
    Statement written = db_.prepare("SELECT DISTINCT tabela FROM pg_temp.pag_gravacoes");
    while (written.step())
        tables.push_back(upper(written.column(0).asString()));
    for (const std::string& table : tables) {
        // The noted row typed as the table's own (so the key finds its index).
        const std::string noted =
            " FROM pg_temp.pag_gravacoes G CROSS JOIN LATERAL"
            " jsonb_populate_record(NULL::" +
            table + ", G.linha) N";
        const std::vector<std::string> keys = rules_.keyColumns(table);
        std::string sql = "SELECT N.*" + noted;
        if (!keys.empty()) {
            // Read again by key as the row stands now: a row removed later in the same
            // call is not read, a row written twice is read once.
            std::string list, on;
            for (const std::string& key : keys) {
                list += (list.empty() ? "T." : ", T.") + key;
                on += (on.empty() ? "T." : " AND T.") + key + " = N." + key;
            }
            sql =
                "SELECT DISTINCT ON (" + list + ") T.*" + noted + " JOIN " + table + " T ON " + on;
        }
        Statement st = db_.prepare(sql + " WHERE G.tabela = :T");
        st.bind("T", Value(lower(table)));
        checkRows(st, table);
    }
    db_.exec("DELETE FROM pg_temp.pag_gravacoes");
}

}  // namespace pag::server
