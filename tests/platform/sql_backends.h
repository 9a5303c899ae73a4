#pragma once
// The SQL tests run on both backends: SQLite in memory always, PostgreSQL when
// PAG_TEST_PG_URI names a server (scripts/test starts a throwaway one); without it
// the PostgreSQL instances are skipped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <type_traits>

#include "platform/sql/database.h"

namespace pag {

enum class Backend { Sqlite, Postgres };

inline std::string backendName(Backend b) {
    return b == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

inline const char* postgresUri() {
    const char* uri = std::getenv("PAG_TEST_PG_URI");
    return uri && *uri ? uri : nullptr;
}

// A database of its own for one test: SQLite in memory, or a fresh schema on the
// PostgreSQL server (first on the search path, dropped afterwards), so tests run in
// parallel processes without seeing each other's tables.
class TestDatabase {
public:
    explicit TestDatabase(Backend backend) : backend_(backend) {
        if (backend == Backend::Sqlite) {
            db_ = std::make_unique<Database>();
            return;
        }
        std::random_device rd;
        schema_ = "t_" + std::to_string(::getpid()) + "_" + std::to_string(rd() % 1000000000u);
        db_ = connect();
        db_->exec("CREATE SCHEMA " + schema_);
        useSchema(*db_);
    }
    ~TestDatabase() {
        if (schema_.empty()) return;
        try {
            if (db_->inTransaction()) db_->exec("ROLLBACK");
            db_->exec("DROP SCHEMA " + schema_ + " CASCADE");
        } catch (const DatabaseError& e) {
            ADD_FAILURE() << "o esquema " << schema_ << " ficou no banco: " << e.what();
        }
    }

    Database& db() { return *db_; }
    // Another connection to the same database (and schema); PostgreSQL only, a
    // SQLite database in memory being private to its connection.
    std::unique_ptr<Database> another(int busyTimeoutMs = Database::kDefaultBusyTimeoutMs) {
        if (backend_ == Backend::Sqlite)
            throw DatabaseError("Uma base SQLite em memória não tem outra conexão.");
        auto other = connect(busyTimeoutMs);
        useSchema(*other);
        return other;
    }

private:
    std::unique_ptr<Database> connect(int busyTimeoutMs = Database::kDefaultBusyTimeoutMs) {
        return std::make_unique<Database>(postgresUri(), busyTimeoutMs);
    }
    void useSchema(Database& db) {
        if (!schema_.empty()) db.exec("SET search_path TO " + schema_ + ", public");
    }

    Backend backend_;
    std::string schema_;
    std::unique_ptr<Database> db_;
};

// A test run once per backend; a PostgreSQL instance without a server is skipped.
template <typename Param = Backend>
class BackendTestBase : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override {
        if (backend() == Backend::Postgres && !postgresUri())
            GTEST_SKIP() << "PAG_TEST_PG_URI não definida: sem servidor PostgreSQL para o teste";
        testDb_ = std::make_unique<TestDatabase>(backend());
    }
    void TearDown() override { testDb_.reset(); }

    Backend backend() const {
        if constexpr (std::is_same_v<Param, Backend>)
            return this->GetParam();
        else
            return std::get<1>(this->GetParam());
    }
    bool pg() const { return backend() == Backend::Postgres; }
    Database& db() { return testDb_->db(); }
    TestDatabase& testDb() { return *testDb_; }

private:
    std::unique_ptr<TestDatabase> testDb_;
};

using BackendTest = BackendTestBase<Backend>;

#define PAG_ON_BOTH_BACKENDS(Suite)                                                 \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                       \
                             ::testing::Values(Backend::Sqlite, Backend::Postgres), \
                             [](const auto& info) { return backendName(info.param); })

// The message of the error f throws (of type E), or "(nenhum erro)".
template <typename E = DatabaseError, typename F>
std::string errorOf(F f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "(nenhum erro)";
}

}  // namespace pag
