#pragma once
// The SQL tests run on both backends: SQLite in memory always, PostgreSQL when
// PAG_TEST_PG_URI names a server (scripts/test starts a throwaway one); without it
// the PostgreSQL instances are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>

#include "platform/sql/database.h"
#include "platform/sql/scratch_schema.h"

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
        if (backend == Backend::Postgres)
            scratch_ = std::make_unique<ScratchSchema>(postgresUri(), "t");
        db_ = backend == Backend::Sqlite ? std::make_unique<Database>() : another();
    }
    ~TestDatabase() {
        // The schema goes only once no transaction of this test holds its tables.
        if (scratch_ && db_->inTransaction()) db_->exec("ROLLBACK");
        db_.reset();
    }

    Database& db() { return *db_; }
    // Another connection to the same database (and schema); PostgreSQL only, a
    // SQLite database in memory being private to its connection.
    std::unique_ptr<Database> another(int busyTimeoutMs = Database::kDefaultBusyTimeoutMs) {
        if (backend_ == Backend::Sqlite)
            throw DatabaseError("Uma base SQLite em memória não tem outra conexão.");
        return std::make_unique<Database>(scratch_->connectionString(), busyTimeoutMs);
    }

private:
    Backend backend_;
    std::unique_ptr<ScratchSchema> scratch_;
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
