// pag12000 scenario [--host NOME] [--pg URI] ARQUIVO...: runs scenario files against the
// headless screens and reports the first failure of each file as FILE:LINE: what was
// seen. With --pg each file's database is a fresh schema on that PostgreSQL server.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sql/pg_connection.h"
#include "scenario/scenario_runner.h"
#include "tools/boleto_scenario_host.h"
#include "tools/commands.h"

namespace pag::tools {

namespace {
int usage(const char* problem) {
    std::fprintf(stderr,
                 "pag12000 scenario: %s\n"
                 "uso: pag12000 scenario [--host NOME] [--pg postgresql://...] ARQUIVO...\n"
                 "  Executa arquivos de cenário (veja docs/scenarios.md); NOME é o módulo de\n"
                 "  telas que o comando open abre (padrão: %s). Com --pg, o banco de cada\n"
                 "  arquivo é um esquema novo nesse servidor PostgreSQL, apagado no fim.\n",
                 problem, scenario::kDefaultScenarioHost);
    return 2;
}
}  // namespace

int runScenario(int argc, char** argv) {
    scenario::ScenarioOptions base;
    std::vector<std::string> files;
    for (int i = 0; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--host") {
            if (i + 1 >= argc) return usage("--host exige o nome de um módulo.");
            base.hostName = argv[++i];
        } else if (a.starts_with("--host=")) {
            base.hostName = a.substr(7);
        } else if (a == "--pg") {
            if (i + 1 >= argc || !isPostgresUri(argv[i + 1]))
                return usage("--pg exige a URI de um servidor PostgreSQL (postgresql://...).");
            base.postgresServer = argv[++i];
        } else if (a.starts_with("-")) {
            return usage(("opção desconhecida '" + a + "'.").c_str());
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) return usage("informe ao menos um arquivo de cenário.");
    RegisterBoletoScenarioHost();
    int passed = 0, failed = 0;
    for (const std::string& file : files) {
        scenario::ScenarioResult r = scenario::runScenarioFile(file, base);
        passed += r.passed;
        if (r.failed) {
            ++failed;
            std::fprintf(stderr, "%s\n", r.report(file).c_str());
        }
    }
    if (base.postgresServer.empty())
        std::printf("scenario: %d passed, %d failed\n", passed, failed);
    else
        std::printf("scenario: %d passed, %d failed (PostgreSQL: %s)\n", passed, failed,
                    PgConnection::describe(base.postgresServer).c_str());
    return failed == 0 ? 0 : 1;
}

}  // namespace pag::tools
