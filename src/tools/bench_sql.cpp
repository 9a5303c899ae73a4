#include "tools/bench_sql.h"

#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <stdexcept>

#include "platform/sql/database_error.h"
#include "platform/sql/pg_connection.h"

namespace pag::tools {

namespace {

std::mutex gMutex;
bool gCatching = false;
std::string gLast;

// The boleto list's SELECT is known by its joins and its order; only that text is
// expanded.
int onStatement(unsigned, void*, void* stmt, void*) {
    auto* st = static_cast<sqlite3_stmt*>(stmt);
    const char* text = sqlite3_sql(st);
    if (!text || !std::strstr(text, "FROM BOLETPAGAR B\nJOIN FORNECEDOR F") ||
        !std::strstr(text, "ORDER BY B.DTVENBOLPAG, F.NMRAZSOCFORN"))
        return 0;
    char* expanded = sqlite3_expanded_sql(st);
    if (!expanded) return 0;
    std::lock_guard<std::mutex> lock(gMutex);
    if (gCatching) gLast = expanded;
    sqlite3_free(expanded);
    return 0;
}

int traceConnection(sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, onStatement, nullptr);
    return SQLITE_OK;
}

// Steps through every row reading every column, as a loader must.
long readAll(sqlite3_stmt* st) {
    long rows = 0;
    volatile size_t sink = 0;
    const int columns = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    sink = sink + static_cast<size_t>(sqlite3_column_int64(st, c));
                    break;
                case SQLITE_FLOAT:
                    sink = sink + static_cast<size_t>(sqlite3_column_double(st, c));
                    break;
                case SQLITE_TEXT:
                case SQLITE_BLOB:
                    sink = sink + reinterpret_cast<uintptr_t>(sqlite3_column_blob(st, c)) +
                           static_cast<size_t>(sqlite3_column_bytes(st, c));
                    break;
                default:
                    break;
            }
        }
    }
    return rows;
}

}  // namespace

void CatchBoletoSelects(bool on) {
    static const bool installed = [] {
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceConnection));
        return true;
    }();
    (void)installed;
    std::lock_guard<std::mutex> lock(gMutex);
    gCatching = on;
}

std::string LastBoletoSelect() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gLast;
}

RawSelect TimeRawSelect(const std::string& path, const std::string& sql) {
    if (isPostgresUri(path))
        throw DatabaseError("Medição do SELECT direto ainda não disponível em PostgreSQL.");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("não foi possível abrir " + path);
    }
    RawSelect out;
    for (int run = 0; run < 2; ++run) {
        sqlite3_stmt* st = nullptr;
        const auto t0 = std::chrono::steady_clock::now();
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            const std::string msg = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error("SELECT inválido: " + msg);
        }
        out.rows = readAll(st);
        sqlite3_finalize(st);
        out.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                     .count();
    }
    sqlite3_close(db);
    return out;
}

}  // namespace pag::tools
