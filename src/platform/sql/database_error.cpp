#include "platform/sql/database_error.h"

#include <sqlite3.h>

namespace pag {

namespace {

const char* describe(int primaryCode) {
    switch (primaryCode) {
        case SQLITE_BUSY:
            return "o banco de dados está bloqueado por outra conexão";
        case SQLITE_LOCKED:
            return "a tabela está bloqueada";
        case SQLITE_NOMEM:
            return "memória insuficiente";
        case SQLITE_READONLY:
            return "o banco de dados não permite gravação";
        case SQLITE_INTERRUPT:
            return "operação interrompida";
        case SQLITE_IOERR:
            return "falha de leitura ou gravação em disco";
        case SQLITE_CORRUPT:
            return "o arquivo do banco de dados está corrompido";
        case SQLITE_FULL:
            return "o disco está cheio";
        case SQLITE_CANTOPEN:
            return "não foi possível abrir o arquivo";
        case SQLITE_CONSTRAINT:
            return "violação de restrição de integridade";
        case SQLITE_MISMATCH:
            return "tipo de dado incompatível";
        case SQLITE_RANGE:
            return "parâmetro fora do intervalo";
        case SQLITE_NOTADB:
            return "o arquivo não é um banco de dados";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "permissão negada";
        case SQLITE_ERROR:
            return nullptr;  // the context says it already: a faulty command
        default:
            return "falha do banco de dados";
    }
}

}  // namespace

DatabaseError DatabaseError::fromSqlite(sqlite3* db, int rc, std::string_view context) {
    // The connection's message belongs to the last call; when there is no connection
    // (opening failed early) SQLite's text for the code is the best we have.
    const char* detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int code = db ? sqlite3_extended_errcode(db) : rc;
    if (code == SQLITE_OK) code = rc;
    return ofKind(code, context, detail ? detail : sqlite3_errstr(rc));
}

DatabaseError DatabaseError::unbindable(const char* valueTypeName) {
    return DatabaseError(std::string("Um valor do tipo ") + valueTypeName +
                         " não pode ser passado como parâmetro de um comando SQL.");
}

DatabaseError DatabaseError::ofKind(int code, std::string_view context, std::string_view detail,
                                    const char* what) {
    std::string msg(context);
    if (!what) what = describe(code & 0xff);
    if (what) {
        msg += ": ";
        msg += what;
    }
    msg += " (";
    msg += detail;
    msg += ").";
    return DatabaseError(msg, code);
}

}  // namespace pag
