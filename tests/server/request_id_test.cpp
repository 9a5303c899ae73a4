// A stored answer goes back only to a retry of the same call; anything else is refused.
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class RequestIds : public ServerFixture {
protected:
    CallResult reserve(const std::string& filial, const CallContext& ctx, const std::string& id,
                       Value quantity = Value(1)) {
        CallContext withId = ctx;
        withId.requestId = id;
        return call("PrxBoletoPag", {filial, quantity}, withId);
    }
    Value lastNumber(const std::string& filial) {
        return scalar("SELECT NRULTLANC FROM SEQLANBOLPAG WHERE CDFILIAL = '" + filial + "'");
    }
    static CallContext admin02() {
        CallContext c = context("02", "ADMIN");
        c.filial = "0003";
        return c;
    }
};

TEST_F(RequestIds, AnotherCallerOrAnotherCallWithTheIdIsRefusedAndRunsNothing) {
    CallResult admin = reserve("0003", admin02(), "r1");
    ASSERT_TRUE(admin.ok) << admin.message;
    const Value branch1 = lastNumber("0001");
    const Value branch3 = lastNumber("0003");

    CallContext otherBranchContext = admin02();
    otherBranchContext.filial = "0001";
    const std::vector<std::pair<std::string, CallResult>> replays = {
        {"outro operador", reserve("0001", context("01", "OPER01"), "r1")},
        {"outro operador, mesma chamada", reserve("0003", context("02", "OPER01"), "r1")},
        {"outra empresa", reserve("0003", context("01", "ADMIN"), "r1")},
        {"outra filial de contexto", reserve("0003", otherBranchContext, "r1")},
        {"outros argumentos", reserve("0003", admin02(), "r1", Value(2))},
    };
    for (const auto& [what, r] : replays) {
        EXPECT_FALSE(r.ok) << what;
        EXPECT_NE(r.result, admin.result) << what;
        EXPECT_TRUE(r.message.find("Identificador de requisição r1 já usado por outra chamada") !=
                        std::string::npos ||
                    r.message.find("não relacionada ao operador") != std::string::npos)
            << what << ": " << r.message;
    }
    // The same call still gets its stored answer.
    EXPECT_EQ(reserve("0003", admin02(), "r1").result, admin.result);
    EXPECT_EQ(lastNumber("0001"), branch1);  // nothing reserved for anyone
    EXPECT_EQ(lastNumber("0003"), branch3);

    CallContext withId = context("01", "ADMIN");
    withId.requestId = "r1";
    std::vector<Value> args{"0001", 1};
    CallResult otherOperation = module->call(withId, "SetSeparaBoleto", args);
    EXPECT_FALSE(otherOperation.ok);
    EXPECT_NE(otherOperation.message.find("já usado por outra chamada"), std::string::npos)
        << otherOperation.message;
}

TEST_F(RequestIds, AnIdLongerThanItsColumnIsRefused) {
    CallResult r = reserve("0001", context(), std::string(101, 'x'));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("longo demais"), std::string::npos) << r.message;
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM REQUISICAO").asInteger(), 0);
}

}  // namespace
}  // namespace pag::server::testing
