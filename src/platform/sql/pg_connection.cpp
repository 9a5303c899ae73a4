#include "platform/sql/pg_connection.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>

#include "platform/sql/pg_error.h"
#include "platform/sql/pg_statement.h"

namespace pag {

namespace {

// Serializes the creation of the functions below between connections that open the
// same new database at once (catalog updates would otherwise collide).
constexpr const char* kSetUpLock = "SELECT pg_advisory_xact_lock(72410001)";

// NVL treats empty text as null, as on SQLite (see sql_functions.h); one variant per
// type, so "CODE = NVL(:P_CODE, CODE)" keeps the column's type and its index.
// INSTR is strpos under the name the texts use. ROUND of a double to n places exists
// on SQLite only for numeric here: the money columns are doubles. Plain SQL functions:
// the planner inlines them. The last one created is the marker that the set is there.
constexpr const char* kFunctions = R"(
CREATE OR REPLACE FUNCTION public.nvl(a text, b text) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE WHEN a IS NULL OR a = '' THEN b ELSE a END $$;
CREATE OR REPLACE FUNCTION public.nvl(a integer, b integer) RETURNS integer LANGUAGE sql
  IMMUTABLE AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.nvl(a bigint, b bigint) RETURNS bigint LANGUAGE sql
  IMMUTABLE AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.nvl(a numeric, b numeric) RETURNS numeric LANGUAGE sql
  IMMUTABLE AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.nvl(a double precision, b double precision)
  RETURNS double precision LANGUAGE sql IMMUTABLE AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.nvl(a date, b date) RETURNS date LANGUAGE sql IMMUTABLE
  AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.nvl(a timestamp, b timestamp) RETURNS timestamp
  LANGUAGE sql IMMUTABLE AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.nvl(a boolean, b boolean) RETURNS boolean LANGUAGE sql
  IMMUTABLE AS $$ SELECT COALESCE(a, b) $$;
CREATE OR REPLACE FUNCTION public.instr(a text, b text) RETURNS integer LANGUAGE sql
  IMMUTABLE AS $$ SELECT strpos(a, b) $$;
CREATE OR REPLACE FUNCTION public.round(a double precision, n integer)
  RETURNS double precision LANGUAGE sql IMMUTABLE AS $$ SELECT round(a::numeric, n)::float8 $$;
)";
constexpr const char* kFunctionsThere =
    "SELECT to_regprocedure('public.round(double precision,integer)') IS NOT NULL";

std::string option(const PQconninfoOption* opts, const char* key) {
    for (const PQconninfoOption* o = opts; o && o->keyword; ++o)
        if (std::string_view(o->keyword) == key && o->val) return o->val;
    return "";
}

}  // namespace

void PgResultFree::operator()(pg_result* r) const {
    PQclear(r);
}

bool isPostgresUri(std::string_view path) {
    return path.starts_with("postgresql://") || path.starts_with("postgres://");
}

std::string PgConnection::describe(const std::string& uri) {
    char* err = nullptr;
    PQconninfoOption* opts = PQconninfoParse(uri.c_str(), &err);
    PQfreemem(err);
    if (!opts) return "PostgreSQL (cadeia de conexão inválida)";
    std::string db = option(opts, "dbname");
    std::string host = option(opts, "host");
    std::string port = option(opts, "port");
    std::string user = option(opts, "user");
    PQconninfoFree(opts);
    std::string out = "PostgreSQL " + (db.empty() ? std::string("(padrão)") : db);
    out += " em " + (host.empty() ? std::string("localhost") : host);
    if (!port.empty()) out += ":" + port;
    if (!user.empty()) out += " (usuário " + user + ")";
    return out;
}

PgConnection::PgConnection(const std::string& uri, int busyTimeoutMs) {
    // Earlier keywords are defaults the URI may override: a server that does not
    // answer fails after a bounded wait instead of hanging the caller.
    const char* keys[] = {"connect_timeout", "client_encoding", "dbname", nullptr};
    const char* values[] = {"10", "UTF8", uri.c_str(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    const std::string context = "Não foi possível abrir o banco de dados " + describe(uri);
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        DatabaseError err = postgresError(nullptr, conn_, context);
        PQfinish(conn_);
        conn_ = nullptr;
        throw err;
    }
    try {
        setUp(busyTimeoutMs);
    } catch (const DatabaseError& e) {
        PQfinish(conn_);
        conn_ = nullptr;
        throw DatabaseError(context + ": " + e.what(), e.code());
    }
}

PgConnection::~PgConnection() {
    PQfinish(conn_);
}

void PgConnection::setUp(int busyTimeoutMs) {
    // lock_timeout 0 would mean waiting forever; the SQLite "no waiting" is 1 ms here.
    exec(
        "SET datestyle = 'ISO, YMD'; SET extra_float_digits = 1; "
        "SET client_min_messages = warning; SET lock_timeout = " +
        std::to_string(std::max(busyTimeoutMs, 1)));
    PgResult there = check(PQexec(conn_, kFunctionsThere), "");
    if (std::string_view(PQgetvalue(there.get(), 0, 0)) == "t") return;
    exec(std::string("BEGIN; ") + kSetUpLock + ";" + kFunctions + "COMMIT;");
}

PgResult PgConnection::check(pg_result* raw, std::string_view context) const {
    PgResult res(raw);
    ExecStatusType st = res ? PQresultStatus(res.get()) : PGRES_FATAL_ERROR;
    if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK || st == PGRES_SINGLE_TUPLE) return res;
    throw postgresError(res.get(), conn_, context);
}

void PgConnection::yield() {
    if (PgStatement* s = streaming_) {
        streaming_ = nullptr;
        s->takeRest();
    }
}

void PgConnection::exec(std::string_view script) {
    yield();
    std::string text(script);
    PgResult res = check(PQexec(conn_, text.c_str()), "Erro ao executar o comando SQL");
    changes_ = std::atoi(PQcmdTuples(res.get()));
}

bool PgConnection::inTransaction() {
    yield();
    PGTransactionStatusType st = PQtransactionStatus(conn_);
    return st == PQTRANS_INTRANS || st == PQTRANS_INERROR;
}

}  // namespace pag
