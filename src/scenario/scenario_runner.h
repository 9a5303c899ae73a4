#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/date.h"
#include "scenario/scenario_host.h"

namespace pag::scenario {

struct ScenarioOptions {
    // How failure reports name the file (runScenarioFile: the file's path).
    std::string fileName;
    // Where `db FILE` looks for a relative FILE.
    std::filesystem::path baseDir;
    // The day `today` stands for (the demo data is dated from it too).
    Date today = Date::today();
    // The module `open` drives; when empty, the one registered under hostName.
    ScenarioHostFactory hostFactory;
    std::string hostName = kDefaultScenarioHost;
    // A PostgreSQL server (libpq URI): each file's database is then a fresh schema on
    // it instead of a temporary SQLite file.
    std::string postgresServer;
};

// How one file went: the checks that held and, when it stopped, where and why.
struct ScenarioResult {
    int passed = 0;
    bool failed = false;
    int line = 0;
    std::string message;
    // "FILE:LINE: message" (empty when nothing failed).
    std::string report(const std::string& fileName) const;
};

// Runs a scenario text from its first line to its last, stopping at the first failure.
ScenarioResult runScenario(std::string_view text, const ScenarioOptions& options);
// The same for a file; fileName and baseDir default to the file's path and folder.
ScenarioResult runScenarioFile(const std::filesystem::path& file, ScenarioOptions options);

}  // namespace pag::scenario
