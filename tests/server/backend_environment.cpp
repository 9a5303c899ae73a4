// With PAG_TEST_BACKEND=postgresql and no server named in PAG_TEST_PG_URI, the whole
// program is skipped, with the reason, instead of failing test by test.
#include <gtest/gtest.h>

#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class BackendEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (onPostgres() && !postgresServer())
            GTEST_SKIP() << "PAG_TEST_PG_URI não definida: sem servidor PostgreSQL para os "
                            "testes do servidor";
    }
};

[[maybe_unused]] const auto* const registered =
    ::testing::AddGlobalTestEnvironment(new BackendEnvironment);

}  // namespace
}  // namespace pag::server::testing
