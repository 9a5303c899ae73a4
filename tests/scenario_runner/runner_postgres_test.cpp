// A scenario run given a PostgreSQL server: each file's database a schema of its own,
// dropped when the file ends; what only a file can be is refused in Portuguese.
#include "platform/sql_backends.h"
#include "scenario_runner/runner_fixture.h"

namespace pag::scenario::testing {
namespace {

TEST_F(RunnerTest, OnAServerDbFileAndABadServerAreRefusedBeforeAnythingRuns) {
    ScenarioOptions o = options();
    // Never reached: the refusal comes before any connection.
    o.postgresServer = "postgresql:///pag?host=/nenhuma-pasta";
    expectFailure(runScenario("db origem.db\n", o), 1, "db ARQUIVO não está disponível");
    o.postgresServer = "/tmp/um-arquivo.db";
    expectFailure(runScenario("db empty\n", o), 1, "deve ser uma URI postgresql://");
}

TEST_F(RunnerTest, OnAServerTheScenarioWorksInASchemaDroppedAtTheEnd) {
    if (!postgresUri()) GTEST_SKIP() << "PAG_TEST_PG_URI não definida: sem servidor PostgreSQL";
    ScenarioOptions o = options();
    o.postgresServer = postgresUri();
    auto r = runScenario(
        "db empty\n"
        "expect server \"SELECT COUNT(*) FROM EMPRESA\" = 0\n"
        "sql \"INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('07', 'SETE S.A.')\"\n"
        "expect server \"SELECT NMEMPRESA FROM EMPRESA\" = \"SETE S.A.\"\n"
        "expect server \"SELECT current_schema()\" = x\n",
        o);
    // The last check fails on purpose: its message names the scenario's schema.
    expectFailure(r, 5, "cenario_");
    EXPECT_EQ(r.passed, 2);
    const size_t at = r.message.find("cenario_");
    ASSERT_NE(at, std::string::npos);
    const std::string schema = r.message.substr(at, r.message.find('"', at) - at);
    Database server(postgresUri());
    Statement left =
        server.prepare("SELECT COUNT(*) FROM information_schema.schemata WHERE schema_name = :S",
                       {{"S", Value(schema)}});
    ASSERT_TRUE(left.step());
    EXPECT_EQ(left.column(0).asInteger(), 0) << schema;
}

}  // namespace
}  // namespace pag::scenario::testing
