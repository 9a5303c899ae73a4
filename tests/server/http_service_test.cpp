// Two screens saving the same boleto over HTTP: refused saves retried, no answered save lost.
#include <atomic>
#include <thread>

#include "http_two_clients.h"
#include "reliability.h"

namespace pag::server::testing {
namespace {

// Each screen reads the boleto, raises its fine by one and saves, reading again on a conflict.
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
