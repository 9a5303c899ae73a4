// Two screens on one demo database through the HTTP service: both read the same boletos,
// the first saves, the second's save of the same boleto is refused and nothing of it is
// stored. Requests are few and bounded by short timeouts.
#include <atomic>
#include <chrono>
#include <thread>

#include "contracts/client/connection.h"
#include "platform/dataset/client_dataset.h"
#include "reliability.h"
#include "server/boleto_query.h"
#include "server/http_service.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class HttpTwoClients : public ::testing::Test {
protected:
    void SetUp() override {
        {
            auto db = openServerDatabase(file.path());
            seedDemo(*db, today);
        }
        module = std::make_unique<RdmHabConta>(file.path());
        HttpServiceOptions options;
        options.readTimeout = std::chrono::seconds(5);
        options.writeTimeout = std::chrono::seconds(5);
        service = std::make_unique<HttpService>(*module, options);
        port = service->start();
    }
    void TearDown() override { service->stop(); }

    // A screen's connection: HTTP to the service, short timeouts.
    std::unique_ptr<SocketConnection> client(const std::string& operador) {
        auto c = std::make_unique<SocketConnection>();
        c->Host = "127.0.0.1";
        c->Port = port;
        c->ConnectTimeout = std::chrono::milliseconds(2000);
        c->ReadTimeout = std::chrono::milliseconds(10000);
        c->Context = context("01", operador);
        return c;
    }

    // GetBoletos without criteria, loaded into the screen's dataset.
    void load(SocketConnection& net, ClientDataSet& cds) {
        const Date none;
        std::vector<Value> args = {"01", "", "",  "", "", "", 0.0, 0.0,  none, none, "", "",
                                   "",   "", " ", "", "", "", "T", none, none, "",   "", ""};
        CallResult r = net.Call("GetBoletos", args);
        ASSERT_TRUE(r.ok) << r.message;
        cds.SetData(r.result.asPacket());
    }

    // Moves to the boleto, which must be listed.
    static void go(ClientDataSet& cds, const std::string& lancamento) {
        for (cds.First(); !cds.Eof(); cds.Next())
            if (cds.FieldByName("NRLANBOLPAG").AsString() == lancamento) return;
        FAIL() << "boleto " << lancamento << " não listado";
    }

    // A boleto both screens may change: open, not sent, not grouped, no anticipation.
    std::string freeBoleto() {
        auto db = openServerDatabase(file.path());
        Statement st = db->prepare(
            "SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE CDEMPRESA = '01' AND CDFILIAL = '0001'"
            " AND IDSTATBPAG = 'A' AND IDSITUCNABP = '00' AND IDBPAGREAL = 'N'"
            " AND NRLANBOLREAL IS NULL AND NRLANCANTECIPA IS NULL AND NRPARCBOLPAG = '00'"
            " ORDER BY NRLANBOLPAG LIMIT 1");
        return st.step() ? st.column(0).asString() : std::string();
    }

    TempFile file;
    Date today = Date::today();
    std::unique_ptr<RdmHabConta> module;
    std::unique_ptr<HttpService> service;
    int port = 0;
};

TEST_F(HttpTwoClients, TheSecondSaveOfTheSameBoletoIsRefused) {
    const std::string lancamento = freeBoleto();
    ASSERT_FALSE(lancamento.empty());
    auto first = client("ADMIN");
    auto second = client("OPER01");
    ClientDataSet a("cdsBoletos"), b("cdsBoletos");
    load(*first, a);
    load(*second, b);
    go(a, lancamento);
    go(b, lancamento);
    const double original = a.FieldByName("VRPEMULBPAG").AsFloat();

    a.Edit();
    a.FieldByName("VRPEMULBPAG").SetAsFloat(original + 2.0);
    a.Post();
    std::vector<Value> saveA{Value(a.Delta())};
    CallResult savedA = first->Call("SetBoletos", saveA);
    ASSERT_TRUE(savedA.ok) << savedA.message;
    a.MergeChangeLog();

    b.Edit();
    b.FieldByName("VRPEMULBPAG").SetAsFloat(original + 3.0);
    b.FieldByName("IDHABIBPAG").SetAsString("S");
    b.Post();
    std::vector<Value> saveB{Value(b.Delta())};
    CallResult savedB = second->Call("SetBoletos", saveB);
    EXPECT_FALSE(savedB.ok);
    EXPECT_NE(savedB.message.find("outro usuário"), std::string::npos) << savedB.message;

    auto db = openServerDatabase(file.path());
    EXPECT_DOUBLE_EQ(boletoColumn(*db, "0001", lancamento, "VRPEMULBPAG").asFloat(),
                     original + 2.0);
    EXPECT_EQ(boletoColumn(*db, "0001", lancamento, "IDHABIBPAG").asString(),
              a.FieldByName("IDHABIBPAG").AsString());
}

// Two screens saving the same boleto over and over, interleaved as the scheduler
// pleases: each reads the boleto, raises its fine by one and saves; a save refused as a
// concurrent change reads again and retries. No save that was answered OK may be lost.
TEST_F(HttpTwoClients, InterleavedSavesOfTheSameBoletoLoseNoUpdate) {
    std::string lancamento;
    {
        auto db = openServerDatabase(file.path());
        lancamento = changeableBoleto(*db);
        ASSERT_FALSE(lancamento.empty());
        db->exec(
            "UPDATE BOLETPAGAR SET VRPEMULBPAG = 2 WHERE CDFILIAL = '0001' AND "
            "NRLANBOLPAG = '" +
            lancamento + "'");
    }
    const int savesEach = reliabilityCount(25, 500);
    std::atomic<int> saved{0}, conflicts{0}, failures{0};
    auto screen = [&](const std::string& operador) {
        auto net = client(operador);
        int mine = 0;
        for (int attempt = 0; mine < savesEach && attempt < savesEach * 20; ++attempt) {
            ClientDataSet cds("cdsBoletos");
            load(*net, cds);
            go(cds, lancamento);
            const double now = cds.FieldByName("VRPEMULBPAG").AsFloat();
            std::vector<Value> args{fineChange("0001", lancamento, now, now + 1)};
            CallResult r = net->Call("SetBoletos", args);
            if (r.ok) {
                ++mine;
                ++saved;
            } else if (r.message.find("outro usuário") != std::string::npos) {
                ++conflicts;
            } else {
                ++failures;
                ADD_FAILURE() << r.message;
                return;
            }
        }
    };
    std::thread a(screen, "ADMIN"), b(screen, "OPER01");
    a.join();
    b.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(saved, 2 * savesEach);
    auto db = openServerDatabase(file.path());
    EXPECT_DOUBLE_EQ(storedFine(*db, lancamento), 2.0 + saved) << conflicts << " conflitos";
}

}  // namespace
}  // namespace pag::server::testing
