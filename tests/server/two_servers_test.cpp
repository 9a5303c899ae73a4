// Two application servers over one database, each with connections of its own (as two
// serve processes): the database alone keeps their saves apart.
#include <thread>

#include "reliability.h"
#include "server/boleto_rules.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class TwoServers : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        if (IsSkipped()) return;
        addBoleto("0000000001", {{"VRPEMULBPAG", 2.0}});
        first = std::make_unique<RdmHabConta>(file.path());
        second = std::make_unique<RdmHabConta>(file.path());
    }

    static CallResult save(RdmHabConta& server, double from, double to,
                           std::optional<std::string> requestId = std::nullopt) {
        CallContext ctx = context();
        ctx.requestId = std::move(requestId);
        std::vector<Value> args{fineChange("0001", "0000000001", from, to)};
        return server.call(ctx, "SetBoletos", args);
    }

    std::unique_ptr<RdmHabConta> first, second;
};

TEST_F(TwoServers, TheSameBoletoSavedThroughBothIsAcceptedOnceAndRefusedOnce) {
    for (int round = 0; round < 4; ++round) {
        const double fine = storedFine(*db, "0000000001");
        CallResult a, b;
        std::thread ta([&] { a = save(*first, fine, fine + 1); });
        std::thread tb([&] { b = save(*second, fine, fine + 1); });
        ta.join();
        tb.join();
        ASSERT_NE(a.ok, b.ok) << a.message << " / " << b.message;
        EXPECT_EQ((a.ok ? b : a).message, kMsgBoletoAlterado);
        EXPECT_DOUBLE_EQ(storedFine(*db, "0000000001"), fine + 1);
    }
}

TEST_F(TwoServers, ARequestIdRetriedThroughTheOtherServerGetsTheStoredAnswer) {
    CallResult once = save(*first, 2, 3, "pedido-1");
    ASSERT_TRUE(once.ok) << once.message;
    CallResult again = save(*second, 2, 3, "pedido-1");
    ASSERT_TRUE(again.ok) << again.message;
    EXPECT_EQ(again.result.debugString(), once.result.debugString());
    EXPECT_DOUBLE_EQ(storedFine(*db, "0000000001"), 3.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM REQUISICAO").asInteger(), 1);
}

}  // namespace
}  // namespace pag::server::testing
