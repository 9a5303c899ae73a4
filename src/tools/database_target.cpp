#include "tools/database_target.h"

#include <filesystem>
#include <stdexcept>

#include "platform/sql/pg_connection.h"

namespace pag::tools {

std::string describeDatabase(const std::string& connection) {
    return isPostgresUri(connection) ? PgConnection::describe(connection) : connection;
}

bool databaseFileExists(const std::string& connection) {
    std::error_code ec;
    return !isPostgresUri(connection) && std::filesystem::exists(connection, ec);
}

void removeDatabase(const std::string& connection) {
    if (isPostgresUri(connection))
        throw std::runtime_error("o banco " + describeDatabase(connection) +
                                 " não é apagado pela linha de comando; use um banco ou "
                                 "esquema PostgreSQL vazio");
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(connection + suffix);
}

}  // namespace pag::tools
