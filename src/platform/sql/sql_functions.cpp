#include "platform/sql/sql_functions.h"

#include <sqlite3.h>

#include "platform/sql/database_error.h"

namespace pag {

namespace {

void nvl(sqlite3_context* ctx, int, sqlite3_value** args) {
    sqlite3_value* first = args[0];
    int type = sqlite3_value_type(first);
    bool missing = type == SQLITE_NULL || (type == SQLITE_TEXT && sqlite3_value_bytes(first) == 0);
    sqlite3_result_value(ctx, missing ? args[1] : first);
}

}  // namespace

void registerSqlFunctions(sqlite3* db) {
    int rc = sqlite3_create_function_v2(db, "NVL", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        nvl, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DatabaseError::fromSqlite(db, rc, "Erro ao preparar as funções do banco de dados");
}

}  // namespace pag
