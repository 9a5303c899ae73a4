#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/sql/database.h"

namespace pag::test {

// A private in-memory suite database built from the schema files the server uses
// (suite tables and saved filter options), so the tests see the real tables.
inline std::unique_ptr<Database> openSuiteDatabase() {
    const char* env = std::getenv("PAG_SOURCE_DIR");
    const std::filesystem::path root =
        env ? std::filesystem::path(env)
            : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    auto db = std::make_unique<Database>();
    for (const char* name : {"001_suite.sql", "010_filter_options.sql"}) {
        std::ifstream in(root / "src/server/schema" / name);
        if (!in) throw std::runtime_error(std::string("esquema não encontrado: ") + name);
        std::stringstream sql;
        sql << in.rdbuf();
        db->exec(sql.str());
    }
    db->exec(
        "INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('01', 'MATRIZ'), ('02', 'SUL');"
        "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR) VALUES ('ANA', 'Ana'), ('BETO', 'Beto');");
    return db;
}

}  // namespace pag::test
