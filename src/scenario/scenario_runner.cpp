#include "scenario/scenario_runner.h"

#include <fstream>
#include <sstream>

#include "scenario/session.h"

namespace pag::scenario {

std::string ScenarioResult::report(const std::string& fileName) const {
    if (!failed) return {};
    return fileName + ":" + std::to_string(line) + ": " + message;
}

ScenarioResult runScenario(std::string_view text, const ScenarioOptions& options) {
    std::vector<ScriptLine> lines;
    try {
        lines = parseScript(text);
    } catch (const ScriptSyntaxError& e) {
        ScenarioResult r;
        r.failed = true;
        r.line = e.line;
        r.message = e.what();
        return r;
    }
    Session session(std::move(lines), options);
    return session.Run();
}

ScenarioResult runScenarioFile(const std::filesystem::path& file, ScenarioOptions options) {
    if (options.fileName.empty()) options.fileName = file.string();
    if (options.baseDir.empty()) options.baseDir = file.parent_path();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        ScenarioResult r;
        r.failed = true;
        r.message = "não foi possível ler o arquivo de cenário";
        return r;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return runScenario(text.str(), options);
}

}  // namespace pag::scenario
