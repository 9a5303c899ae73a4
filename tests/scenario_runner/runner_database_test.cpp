// The database of a scenario: a fresh copy per file, statements and server checks.
#include <unistd.h>

#include <filesystem>

#include "scenario_runner/runner_fixture.h"
#include "server/server_database.h"

namespace pag::scenario::testing {
namespace {

TEST_F(RunnerTest, SqlChangesTheScenarioDatabaseAndServerChecksReadIt) {
    auto r = runRaw(
        "db empty\n"
        "expect server \"SELECT COUNT(*) FROM EMPRESA\" = 0\n"
        "sql \"INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('07', 'SETE S.A.')\"\n"
        "sql \"INSERT INTO DTPROCSIST VALUES ('Pag', 'ADMIN', '2026-11-30')\"\n"
        "expect server \"SELECT NMEMPRESA FROM EMPRESA\" = \"SETE S.A.\"\n"
        "expect server \"SELECT DTPROCLIB FROM DTPROCSIST\" = today-6\n"
        "expect server \"SELECT DTPROCLIB FROM DTPROCSIST\" = 30/11/2026\n"
        "expect server \"SELECT NRINSJUREMPR FROM EMPRESA\" = null\n"
        "expect server \"SELECT COUNT(*) FROM EMPRESA\" = 1\n"
        "expect server \"SELECT COUNT(*) FROM EMPRESA\" = 2\n");
    expectFailure(r, 10, "o banco devolveu \"1\", esperado 2");
    EXPECT_EQ(r.passed, 6);
    expectFailure(runRaw("db empty\nexpect server \"DELETE FROM EMPRESA\" = 0\n"), 2,
                  "só aceita consultas");
    expectFailure(runRaw("db empty\nexpect server \"SELECT 1 WHERE 0\" = 1\n"), 2,
                  "não devolveu nenhuma linha");
    expectFailure(runRaw("db empty\nsql \"SELEC 1\"\n"), 2, "");
}

TEST_F(RunnerTest, DbFileWorksOnACopyAndLeavesTheFileAsItWas) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("pag-scenario-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string file = (dir / "origem.db").string();
    {
        auto db = server::openServerDatabase(file);
        db->exec("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('05', 'CINCO')");
    }
    ScenarioOptions o = options();
    o.baseDir = dir;
    auto r = runScenario(
        "db origem.db\n"
        "expect server \"SELECT NMEMPRESA FROM EMPRESA\" = CINCO\n"
        "sql \"DELETE FROM EMPRESA\"\n"
        "expect server \"SELECT COUNT(*) FROM EMPRESA\" = 0\n",
        o);
    expectPassed(r, 2);
    {
        auto db = server::openServerDatabase(file);
        Statement st = db->prepare("SELECT COUNT(*) FROM EMPRESA");
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.column(0).asInteger(), 1);
    }
    expectFailure(runScenario("db nada.db\n", o), 1, "o banco");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pag::scenario::testing
