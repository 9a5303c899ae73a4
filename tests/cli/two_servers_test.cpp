// Two `pag12000 serve` processes over one database, a client on each: the same boleto
// saved through both is accepted once and refused once with the conflict text, nothing
// lost; a call's request id retried through the other server gets the stored answer.
// On a SQLite file always; on PostgreSQL when PAG_TEST_PG_URI names a server.
#include <gtest/gtest.h>

#include <latch>
#include <memory>
#include <optional>
#include <thread>

#include "cli/serve_process.h"
#include "contracts/client/transport_http.h"
#include "platform/dataset/client_dataset.h"
#include "platform/sql/scratch_schema.h"
#include "platform/sql_backends.h"
#include "server/boleto_rules.h"
#include "server/reliability.h"
#include "server/server_fixture.h"

namespace pag::server::testing {
namespace {

using pag::testing::ServeProcess;

class TwoServers : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        if (GetParam() == Backend::Postgres) {
            if (!postgresUri())
                GTEST_SKIP() << "PAG_TEST_PG_URI não definida: sem servidor PostgreSQL para o "
                                "teste";
            schema_ = std::make_unique<ScratchSchema>(postgresUri(), "t");
            // Trusted local connections ignore it: it is here to be kept out of messages.
            connection = schema_->connectionString() + "&password=segredo-do-teste";
        } else {
            connection = file_.path();
        }
        {
            auto db = openServerDatabase(connection);
            seedDemo(*db, Date::today());
            lancamento = changeable(*db);
            ASSERT_FALSE(lancamento.empty());
            db->prepare(
                  "UPDATE BOLETPAGAR SET VRPEMULBPAG = 2 WHERE CDFILIAL = '0001'"
                  " AND NRLANBOLPAG = :L",
                  {{"L", Value(lancamento)}})
                .step();
        }
        first.emplace(PAG12000_BIN, connection);
        second.emplace(PAG12000_BIN, connection);
        ASSERT_NE(first->port(), 0) << first->banner();
        ASSERT_NE(second->port(), 0) << second->banner();
    }
    void TearDown() override {
        // The servers let go of the database before its schema is dropped.
        first.reset();
        second.reset();
    }

    // A boleto of branch 0001 a save may change (written for both backends).
    static std::string changeable(Database& db) {
        Statement st = db.prepare(
            "SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE CDEMPRESA = '01' AND CDFILIAL = '0001'"
            " AND IDSTATBPAG = 'A' AND IDSITUCNABP = '00' AND IDBPAGREAL = 'N'"
            " AND NRLANBOLREAL IS NULL AND NRLANCANTECIPA IS NULL AND NRPARCBOLPAG = '00'"
            " AND (IDBLOQNFFIN IS NULL OR IDBLOQNFFIN <> 'B') AND DTVENBOLPAG >= :HOJE"
            " ORDER BY NRLANBOLPAG",
            {{"HOJE", Value(Date::today())}});
        return st.step() ? st.column(0).asString() : std::string();
    }

    static CallResult call(const ServeProcess& server, const std::string& operation,
                           std::vector<Value> args, const std::string& requestId = {}) {
        HttpClientOptions options;
        options.connectTimeout = std::chrono::milliseconds(2000);
        options.readTimeout = std::chrono::milliseconds(20000);
        CallContext ctx = context("01", "ADMIN");
        if (!requestId.empty()) ctx.requestId = requestId;
        return HttpTransport("127.0.0.1", server.port(), options).call(ctx, operation, args, {});
    }

    // The boleto's fine as a screen sees it in the list that server answers.
    double listedFine(const ServeProcess& server) {
        CallResult r = call(server, "GetBoletos", allBoletosFilter());
        EXPECT_TRUE(r.ok) << r.message;
        if (!r.ok) return -1;
        ClientDataSet cds("cdsBoletos");
        cds.SetData(r.result.asPacket());
        for (cds.First(); !cds.Eof(); cds.Next())
            if (cds.FieldByName("NRLANBOLPAG").AsString() == lancamento)
                return cds.FieldByName("VRPEMULBPAG").AsFloat();
        ADD_FAILURE() << "boleto " << lancamento << " não listado";
        return -1;
    }

    double stored() {
        auto db = openServerDatabase(connection);
        return storedFine(*db, lancamento);
    }

    TempFile file_;
    std::unique_ptr<ScratchSchema> schema_;
    std::string connection, lancamento;
    std::optional<ServeProcess> first, second;
};

TEST_P(TwoServers, TheSameSaveThroughBothIsTakenOnceAndRefusedOnce) {
    // Both screens read the boleto, each through its own server, before either saves.
    const double seenFirst = listedFine(*first);
    const double seenSecond = listedFine(*second);
    ASSERT_DOUBLE_EQ(seenFirst, 2.0);
    ASSERT_DOUBLE_EQ(seenSecond, 2.0);
    CallResult answers[2];
    std::latch go(2);
    auto save = [&](int i) {
        go.arrive_and_wait();
        answers[i] = call(i == 0 ? *first : *second, "SetBoletos",
                          {fineChange("0001", lancamento, 2.0, 3.0)});
    };
    std::thread a(save, 0), b(save, 1);
    a.join();
    b.join();
    ASSERT_NE(answers[0].ok, answers[1].ok) << answers[0].message << " | " << answers[1].message;
    const CallResult& refused = answers[0].ok ? answers[1] : answers[0];
    EXPECT_EQ(refused.message, kMsgBoletoAlterado);
    EXPECT_DOUBLE_EQ(stored(), 3.0);

    // The refused screen reads again through its server and saves on top: nothing lost.
    const ServeProcess& late = answers[0].ok ? *second : *first;
    ASSERT_DOUBLE_EQ(listedFine(late), 3.0);
    CallResult again = call(late, "SetBoletos", {fineChange("0001", lancamento, 3.0, 4.0)});
    ASSERT_TRUE(again.ok) << again.message;
    EXPECT_DOUBLE_EQ(stored(), 4.0);
    // And the banner never shows the password of the connection string.
    EXPECT_EQ(first->banner().find("segredo"), std::string::npos) << first->banner();
}

TEST_P(TwoServers, ARequestIdRetriedThroughTheOtherServerGetsTheStoredAnswer) {
    const std::string id = "dois-servidores-" + std::to_string(::getpid());
    CallResult saved =
        call(*first, "SetBoletos", {fineChange("0001", lancamento, 2.0, 3.0)}, id + "-s");
    ASSERT_TRUE(saved.ok) << saved.message;
    // Run again, the same change would be a conflict: the stored answer comes back instead.
    CallResult retried =
        call(*second, "SetBoletos", {fineChange("0001", lancamento, 2.0, 3.0)}, id + "-s");
    EXPECT_TRUE(retried.ok) << retried.message;
    EXPECT_DOUBLE_EQ(stored(), 3.0);

    CallResult number = call(*first, "PrxBoletoPag", {"0001", 1}, id + "-n");
    ASSERT_TRUE(number.ok) << number.message;
    CallResult same = call(*second, "PrxBoletoPag", {"0001", 1}, id + "-n");
    ASSERT_TRUE(same.ok) << same.message;
    EXPECT_EQ(same.result.asString(), number.result.asString());
    CallResult next = call(*second, "PrxBoletoPag", {"0001", 1}, id + "-m");
    ASSERT_TRUE(next.ok) << next.message;
    EXPECT_NE(next.result.asString(), number.result.asString());
}

PAG_ON_BOTH_BACKENDS(TwoServers);

}  // namespace
}  // namespace pag::server::testing
