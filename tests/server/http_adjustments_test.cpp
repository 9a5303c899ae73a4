// Two screens saving conflicting adjustments over HTTP: the second refused, nothing twice.
#include <thread>

#include "contracts/screen_records.h"
#include "http_two_clients.h"
#include "reliability.h"
#include "server/boleto_query.h"
#include "stored_rows.h"

namespace pag::server::testing {
namespace {

// One screen: its connection and its copies of the adjustments of one boleto and of the
// deductions sent with them.
struct Screen {
    std::unique_ptr<SocketConnection> net;
    std::string lancamento;
    ClientDataSet ajustes{"cdsAjBolPag"}, adiantamentos{"cdsAdiantamento"},
        devolucoes{"cdsDevolucao"};
};

// Boletos the demo gave no adjustment, so a screen starts from an empty grid.
const std::string kNoAdjustment =
    "NOT EXISTS (SELECT 1 FROM AJBOLPAG J WHERE J.CDFILIAL = BOLETPAGAR.CDFILIAL"
    " AND J.NRLANBOLPAG = BOLETPAGAR.NRLANBOLPAG)";

PacketPtr emptyPacket(const std::string& dataset) {
    return std::make_shared<Packet>(RecordPacketFields(dataset));
}

class HttpAdjustments : public HttpTwoClients {
protected:
    std::unique_ptr<Screen> screen(const std::string& operador, const std::string& lancamento) {
        auto s = std::make_unique<Screen>();
        s->net = client(operador);
        s->lancamento = lancamento;
        reload(*s);
        return s;
    }

    // GetAjBolPag into the screen's adjustments; the deductions start empty.
    static void reload(Screen& s) {
        std::vector<Value> args{"0001", s.lancamento};
        CallResult r = s.net->Call("GetAjBolPag", args);
        ASSERT_TRUE(r.ok) << r.message;
        s.ajustes.SetData(r.result.asPacket());
        s.adiantamentos.SetData(emptyPacket("cdsAdiantamento"));
        s.devolucoes.SetData(emptyPacket("cdsDevolucao"));
    }

    static void add(Screen& s, const std::string& tipo, double valor) {
        s.ajustes.Append();
        s.ajustes.FieldByName("CDFILIAL").SetAsString("0001");
        s.ajustes.FieldByName("NRLANBOLPAG").SetAsString(s.lancamento);
        s.ajustes.FieldByName("CDAJUCTPAG").SetAsString(tipo);
        s.ajustes.FieldByName("VRAJBOLPAG").SetAsFloat(valor);
        s.ajustes.Post();
    }

    // An advance deduction (type 0020) taking `valor` from the advance `nota`.
    static void deduct(Screen& s, const std::string& nota, double valor) {
        ClientDataSet& d = s.adiantamentos;
        d.Append();
        for (const auto& [field, text] :
             {std::pair<const char*, std::string>{"CDFORNECED", demoSupplierCode(1)},
              {"CDFILIAL", "0001"},
              {"NRLANCTONF", nota},
              {"NRSEQVENPAG", "01"},
              {"NRPARCELAPAG", "01"},
              {"CDAJUCTPAG", "0020"},
              {"FILIALBOLPAG", "0001"},
              {"NRLANBOLPAG", s.lancamento}})
            d.FieldByName(field).SetAsString(text);
        d.FieldByName("VRDESCONTO").SetAsFloat(valor);
        d.Post();
        add(s, "0020", valor);
    }

    static void remove(Screen& s, const std::string& tipo) {
        ASSERT_TRUE(s.ajustes.Locate("CDAJUCTPAG", Value(tipo)));
        s.ajustes.Delete();
    }

    // Sends the change log as the screen's after-post step does: merged when stored,
    // every pending change cancelled when refused.
    static CallResult save(Screen& s) {
        std::vector<Value> args{Value(s.ajustes.Delta()), Value(s.adiantamentos.Data()),
                                Value(s.devolucoes.Data())};
        CallResult r = s.net->Call("SetAjBolPag", args);
        if (r.ok)
            s.ajustes.MergeChangeLog();
        else
            s.ajustes.CancelUpdates();
        return r;
    }

    // The adjustments as "type|amount", from the database or from a screen's copy.
    std::vector<std::string> stored(const std::string& lancamento) {
        return storedRows(*database(),
                          "SELECT CDAJUCTPAG, VRAJBOLPAG FROM AJBOLPAG WHERE CDFILIAL = '0001'"
                          " AND NRLANBOLPAG = '" +
                              lancamento + "' ORDER BY CDAJUCTPAG");
    }
    static std::vector<std::string> shown(ClientDataSet& d) {
        std::vector<std::string> out;
        for (d.First(); !d.Eof(); d.Next())
            out.push_back(d.FieldByName("CDAJUCTPAG").AsString() + "|" +
                          Value(d.FieldByName("VRAJBOLPAG").AsFloat()).asString());
        return out;
    }

    double netValue(const std::string& lancamento) {
        return boletoColumn(*database(), "0001", lancamento, "VRFINALBPAG").asFloat();
    }

    // What is left of the advance, after checking that it matches what was recorded as
    // taken from it.
    double available(const std::string& nota) {
        auto db = database();  // outlives its statement
        Statement st = db->prepare(
            "SELECT VRORIGINAL, VRDISPONIVEL, (SELECT COALESCE(SUM(VRDESCONTO), 0)"
            " FROM AJBOLPAGADIA D WHERE D.NRLANCTONF = A.NRLANCTONF)"
            " FROM ADIANTFORN A WHERE CDFILIAL = '0001' AND NRLANCTONF = :N");
        st.bind("N", Value(nota));
        if (!st.step()) return -1;
        const double left = st.column(1).asFloat();
        EXPECT_GE(left, 0.0);
        EXPECT_NEAR(st.column(2).asFloat(), st.column(0).asFloat() - left, 0.001);
        return left;
    }

    // An advance of supplier 1 never used, and two boletos of that supplier that its
    // whole value fits.
    void advanceAndBoletos(std::string& nota, double& valor, std::vector<std::string>& boletos) {
        auto db = database();
        Statement st = db->prepare(
            "SELECT NRLANCTONF, VRDISPONIVEL FROM ADIANTFORN WHERE CDEMPRESA = '01'"
            " AND CDFORNECED = :F AND VRDISPONIVEL = VRORIGINAL ORDER BY VRDISPONIVEL");
        st.bind("F", Value(demoSupplierCode(1)));
        ASSERT_TRUE(st.step());
        nota = st.column(0).asString();
        valor = st.column(1).asFloat();
        boletos =
            changeableBoletos(*db, kNoAdjustment + " AND CDFORNECED = '" + demoSupplierCode(1) +
                                       "' AND VRFINALBPAG >= " + std::to_string(valor));
        ASSERT_GE(boletos.size(), 2u) << "demo sem boletos para o adiantamento " << nota;
    }
};

TEST_F(HttpAdjustments, SecondAdjustmentOfTheSameTypeIsRefusedAndTheNetMovesOnce) {
    const std::vector<std::string> free = changeableBoletos(*database(), kNoAdjustment);
    ASSERT_FALSE(free.empty());
    const std::string lanc = free.front();
    const double original = netValue(lanc);
    auto a = screen("ADMIN", lanc);
    add(*a, "0010", 5);
    ASSERT_TRUE(save(*a).ok);
    auto b = screen("OPER01", lanc);
    add(*a, "0001", 7);
    add(*b, "0001", 9);
    CallResult first = save(*a), second = save(*b);
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(second.message, "Ajuste já cadastrado.");
    EXPECT_EQ(shown(b->ajustes), std::vector<std::string>{"0010|5"});
    EXPECT_EQ(b->ajustes.ChangeCount(), 0);
    const std::vector<std::string> expected{"0001|7", "0010|5"};
    EXPECT_EQ(stored(lanc), expected);
    EXPECT_DOUBLE_EQ(netValue(lanc), original + 2);
    reload(*a);
    reload(*b);
    EXPECT_EQ(shown(a->ajustes), expected);
    EXPECT_EQ(shown(b->ajustes), expected);
}

// Both screens deduct the whole of one advance at the same moment, each on a boleto of
// its own: one deduction is stored, the other refused.
TEST_F(HttpAdjustments, AnAdvanceIsDeductedOnceWhenTwoScreensTakeIt) {
    std::string nota;
    double valor = 0;
    std::vector<std::string> boletos;
    ASSERT_NO_FATAL_FAILURE(advanceAndBoletos(nota, valor, boletos));
    const double netA = netValue(boletos[0]), netB = netValue(boletos[1]);
    auto a = screen("ADMIN", boletos[0]);
    auto b = screen("OPER01", boletos[1]);
    deduct(*a, nota, valor);
    deduct(*b, nota, valor);
    CallResult ra, rb;
    std::thread ta([&] { ra = save(*a); }), tb([&] { rb = save(*b); });
    ta.join();
    tb.join();
    ASSERT_NE(ra.ok, rb.ok) << ra.message << " / " << rb.message;
    const CallResult& refused = ra.ok ? rb : ra;
    EXPECT_NE(refused.message.find("tem disponível 0,00"), std::string::npos) << refused.message;
    EXPECT_NE(refused.message.find("Outro usuário pode tê-lo utilizado"), std::string::npos);
    EXPECT_DOUBLE_EQ(available(nota), 0.0);
    const std::string deducted = "0020|" + Value(valor).asString();
    EXPECT_EQ(stored(boletos[0]),
              ra.ok ? std::vector<std::string>{deducted} : std::vector<std::string>{});
    EXPECT_EQ(stored(boletos[1]),
              rb.ok ? std::vector<std::string>{deducted} : std::vector<std::string>{});
    EXPECT_DOUBLE_EQ(netValue(boletos[0]), ra.ok ? netA - valor : netA);
    EXPECT_DOUBLE_EQ(netValue(boletos[1]), rb.ok ? netB - valor : netB);
    for (Screen* s : {a.get(), b.get()}) {
        const std::vector<std::string> before = shown(s->ajustes);
        reload(*s);
        EXPECT_EQ(shown(s->ajustes), before);
        EXPECT_EQ(shown(s->ajustes), stored(s->lancamento));
    }
}

// Both screens delete the same deduction; the second holds a row already gone.
TEST_F(HttpAdjustments, AStaleDeletionIsRefusedAndTheAdvanceGivenBackOnce) {
    std::string nota;
    double valor = 0;
    std::vector<std::string> boletos;
    ASSERT_NO_FATAL_FAILURE(advanceAndBoletos(nota, valor, boletos));
    const std::string lanc = boletos[0];
    const double original = netValue(lanc);
    auto a = screen("ADMIN", lanc);
    deduct(*a, nota, 100);
    ASSERT_TRUE(save(*a).ok);
    EXPECT_DOUBLE_EQ(available(nota), valor - 100);
    auto b = screen("OPER01", lanc);
    ASSERT_EQ(shown(b->ajustes), std::vector<std::string>{"0020|100"});
    remove(*a, "0020");
    remove(*b, "0020");
    CallResult first = save(*a), second = save(*b);
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_FALSE(second.ok);
    EXPECT_NE(second.message.find("foi alterado ou excluído por outro usuário"), std::string::npos)
        << second.message;
    // The refused deletion comes back in the screen's copy until it reloads.
    EXPECT_EQ(shown(b->ajustes), std::vector<std::string>{"0020|100"});
    EXPECT_DOUBLE_EQ(available(nota), valor);
    EXPECT_EQ(stored(lanc), std::vector<std::string>{});
    EXPECT_DOUBLE_EQ(netValue(lanc), original);
    reload(*b);
    EXPECT_EQ(shown(b->ajustes), std::vector<std::string>{});
    EXPECT_EQ(shown(a->ajustes), std::vector<std::string>{});
}

}  // namespace
}  // namespace pag::server::testing
