#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dataset/packet.h"
#include "platform/sql/scratch_schema.h"
#include "server/rdm_hab_conta.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"

namespace pag::server::testing {

// A database file of its own under $TMPDIR (or /tmp), removed with its companions.
class TempFile {
public:
    TempFile() {
        static std::atomic<int> counter{0};
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir && *dir ? dir : "/tmp") + "/pag_server_test_" +
                std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".db";
        remove();
    }
    ~TempFile() { remove(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

private:
    void remove() {
        for (const char* s : {"", "-wal", "-shm"})
            std::filesystem::remove(path_ + s);
    }
    std::string path_;
};

// The server tests run on SQLite files, or, with PAG_TEST_BACKEND=postgresql, each on a
// fresh schema of the PostgreSQL server PAG_TEST_PG_URI names (without it every test of
// the program is skipped: see backend_environment.cpp).
inline bool onPostgres() {
    const char* backend = std::getenv("PAG_TEST_BACKEND");
    return backend && std::string(backend) == "postgresql";
}

inline const char* postgresServer() {
    const char* uri = std::getenv("PAG_TEST_PG_URI");
    return uri && *uri ? uri : nullptr;
}

// What a test that reads SQLite files says when it is skipped on PostgreSQL.
inline constexpr const char* kSqliteFilesOnly =
    "examina arquivos da base SQLite (WAL, caminho do arquivo): só se aplica ao SQLite";

// The server's database of one test: a file of its own, or on PostgreSQL a schema of its
// own, dropped with everything in it afterwards. path() is the connection string.
class TempDatabase {
public:
    TempDatabase() {
        if (onPostgres()) scratch_ = std::make_unique<ScratchSchema>(requireServer(), "srv");
    }
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;
    const std::string& path() const {
        return scratch_ ? scratch_->connectionString() : file_.path();
    }

private:
    static std::string requireServer() {
        if (!postgresServer()) throw std::runtime_error("PAG_TEST_PG_URI não definida.");
        return postgresServer();
    }
    TempFile file_;
    std::unique_ptr<ScratchSchema> scratch_;
};

inline CallContext context(std::string empresa = "01", std::string operador = "ADMIN") {
    CallContext c;
    c.empresa = std::move(empresa);
    c.filial = "0001";
    c.operador = std::move(operador);
    return c;
}

// GetBoletos' 24 filter arguments restricting nothing: every open boleto of company "01".
inline std::vector<Value> allBoletosFilter() {
    const Date none;
    return {"01", "", "",  "", "", "", 0.0, 0.0,  none, none, "", "",
            "",   "", " ", "", "", "", "T", none, none, "",   "", ""};
}

// A migrated database with the demo's reference data (no boletos) and a direct
// connection for setting up cases with plain SQL.
class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        db = openServerDatabase(file.path());
        Transaction tx(*db);
        seedReference(*db, today);
        tx.commit();
    }

    // Inserts a boleto of company "01", branch "0001", supplier 1, open, due today,
    // with the given columns overriding these defaults.
    void addBoleto(const std::string& lancamento, std::map<std::string, Value> columns = {}) {
        std::map<std::string, Value> row = {
            {"CDFILIAL", "0001"},   {"NRLANBOLPAG", lancamento},
            {"CDEMPRESA", "01"},    {"CDFORNECED", demoSupplierCode(1)},
            {"VRBOLPAG", 100.0},    {"VRFINALBPAG", 100.0},
            {"DTVENBOLPAG", today}, {"CDTPBAIXAPAG", "01"}};
        for (auto& [k, v] : columns)
            row[k] = v;
        std::string names, params;
        for (const auto& [k, v] : row) {
            names += (names.empty() ? "" : ", ") + k;
            params += (params.empty() ? ":" : ", :") + k;
        }
        Statement st =
            db->prepare("INSERT INTO BOLETPAGAR (" + names + ") VALUES (" + params + ")");
        for (const auto& [k, v] : row)
            st.bind(k, v);
        st.execute();
    }

    Value scalar(const std::string& sql) {
        Statement st = db->prepare(sql);
        return st.step() ? st.column(0) : Value();
    }

    CallResult call(const std::string& op, std::vector<Value> args,
                    const CallContext& ctx = context()) {
        if (!module) module = std::make_unique<RdmHabConta>(file.path());
        return module->call(ctx, op, args);
    }

    TempDatabase file;
    Date today = Date::fromYmd(2024, 5, 15);
    std::unique_ptr<Database> db;
    std::unique_ptr<RdmHabConta> module;
};

// The values of one field over all rows of a packet result.
inline std::vector<std::string> column(const Value& packet, const std::string& field) {
    std::vector<std::string> out;
    const Packet& p = *packet.asPacket();
    for (size_t r = 0; r < p.rowCount(); ++r)
        out.push_back(p.value(r, field).asString());
    return out;
}

}  // namespace pag::server::testing
