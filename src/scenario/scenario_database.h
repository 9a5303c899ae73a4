#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/date.h"
#include "platform/sql/database.h"
#include "platform/sql/scratch_schema.h"
#include "platform/value.h"

namespace pag::scenario {

// The database of one scenario file: a fresh file in a temporary folder of its own,
// removed with everything in it when the scenario ends; or, given a PostgreSQL server
// (a libpq URI in `server`), a fresh schema on it, dropped when the scenario ends. The
// screens reach it through their embedded server; the scenario itself uses it for `sql`
// and `expect server`.
class ScenarioDatabase {
public:
    // The demo data, with dates relative to today.
    static std::unique_ptr<ScenarioDatabase> demo(Date today, const std::string& server = {});
    // The schema without rows.
    static std::unique_ptr<ScenarioDatabase> empty(const std::string& server = {});
    // A copy of an existing database file (never changed), brought up to date. SQLite
    // only: with a server it is refused (std::invalid_argument).
    static std::unique_ptr<ScenarioDatabase> copyOf(const std::filesystem::path& source,
                                                    const std::string& server = {});
    ~ScenarioDatabase();
    ScenarioDatabase(const ScenarioDatabase&) = delete;
    ScenarioDatabase& operator=(const ScenarioDatabase&) = delete;

    // The connection string the screens open (a file, or the schema's URI).
    const std::string& path() const { return path_; }
    // Runs one or more statements.
    void exec(const std::string& sql);
    // The first column of the first row of a reading statement; throws
    // std::invalid_argument (pt-BR) when it changes data or returns no row.
    Value firstValue(const std::string& select);

private:
    explicit ScenarioDatabase(const std::string& server);
    void openMigrated();

    std::unique_ptr<ScratchSchema> schema_;
    std::filesystem::path dir_;
    std::string path_;
    std::unique_ptr<Database> db_;
};

}  // namespace pag::scenario
