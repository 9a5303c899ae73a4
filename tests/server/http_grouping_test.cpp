// Two screens grouping and saving the same boletos over HTTP: the second refused, nothing stored.
#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "grouping_fixture.h"
#include "http_two_clients.h"
#include "reliability.h"

namespace pag::server::testing {

namespace {

// Texts of the screen's message table the server answers with.
const std::string kAbsorbed =
    "Um dos boletos selecionados foi excluído ou associado por outro usuário.";  // 2BOL_EXC
const std::string kValueChanged =
    "Valor de uma conta foi alterado por outro usuário.";  // VRBOL_DIF
const std::string kExtended =
    "Uma conta foi prorrogada por outro usuário. Contas com vencimento diferente não podem "
    "ser associadas.";  // 2CNT_PROR

// One screen: its connection and the boleto list it loaded.
struct Screen {
    std::unique_ptr<SocketConnection> net;
    ClientDataSet boletos{"cdsBoletos"};
};

// A grouping as the screen asked for it: the launch number it reserved and the answer.
struct Grouped {
    std::string number;
    std::string answer;
};

class HttpGrouping : public HttpTwoClients {
protected:
    void SetUp() override {
        HttpTwoClients::SetUp();
        db = database();
        // Normal accounts of one supplier that nothing keeps from being grouped.
        const std::vector<std::string> free =
            changeableBoletos(*db, "IDTPCTPAGAR = '1' AND CDFORNECED = '" + demoSupplierCode(1) +
                                       "' AND NOT EXISTS (SELECT 1 FROM COMPENSABOL C"
                                       " WHERE C.CDFILIAL = BOLETPAGAR.CDFILIAL"
                                       " AND C.NRLANBOLPAG = BOLETPAGAR.NRLANBOLPAG)");
        ASSERT_GE(free.size(), 3u) << "demo sem boletos agrupáveis do fornecedor 1";
        x = free[0];
        y = free[1];
        z = free[2];
        ASSERT_FALSE(payableHomes(x).empty()) << "boleto " << x << " sem contas";
        a = screen("ADMIN");
        b = screen("OPER01");
    }

    std::unique_ptr<Screen> screen(const std::string& operador) {
        auto s = std::make_unique<Screen>();
        s->net = client(operador);
        load(*s->net, s->boletos);
        return s;
    }

    // The grouping step of the payment-data page: a launch number reserved, the new row
    // with the parts' totals and the latest due date, the parts marked in the change log
    // and listed in cdsBolAgru, all as this screen's list shows them.
    static Grouped group(Screen& s, const std::vector<std::string>& parts) {
        CallResult reserved = s.net->Call("PrxBoletoPag", {"0001", 1});
        EXPECT_TRUE(reserved.ok) << reserved.message;
        Grouped g{reserved.result.asString(), {}};
        const Packet list = *s.boletos.Data();
        std::vector<std::tuple<std::string, double, Date>> agru;
        double soma = 0, total = 0;
        Date due;
        for (const std::string& lanc : parts) {
            const std::vector<Value> row = listedRow(list, lanc);
            if (row.empty()) return g;
            const Date venc = row[boletoFieldIndex("DTVENBOLPAG")].asDate();
            agru.emplace_back(lanc, row[boletoFieldIndex("VRBOLPAG")].asFloat(), venc);
            soma += std::get<1>(agru.back());
            total += row[boletoFieldIndex("VRFINALBPAG")].asFloat();
            due = std::max(due, venc);
        }
        Packet delta = newBoletoDelta({{"CDFILIAL", "0001"},
                                       {"NRLANBOLPAG", g.number},
                                       {"CDFORNECED", demoSupplierCode(1)},
                                       {"CDEMPRESA", "01"},
                                       {"VRBOLPAG", soma},
                                       {"VRFINALBPAG", total},
                                       {"DTVENBOLPAG", due},
                                       {"IDHABIBPAG", "S"},
                                       {"IDBPAGREAL", "S"},
                                       {"IDSTATBPAG", "A"},
                                       {"IDSITUCNABP", "00"},
                                       {"CDTPBAIXAPAG", "01"}});
        for (const std::string& lanc : parts)
            addMark(delta, list, lanc);
        // Without budget control: the demo's budgets are not what these cases are about.
        const Value log = packetValue(std::move(delta));
        std::vector<Value> args = {bolAgru(agru), g.number, "01", "0001", soma,
                                   log,           false,    due,  false,  ""};
        CallResult r = s.net->Call("SetAgrupaBoleto", args);
        EXPECT_TRUE(r.ok) << r.message;
        g.answer = r.ok ? r.result.asString() : r.message;
        // The number comes back by reference, as the screen reads it.
        if (g.answer.empty()) {
            EXPECT_EQ(args[1].asString(), g.number);
        }
        return g;
    }

    // SetBoletos with this screen's row of the boleto, as it read it, changed by `changes`.
    static CallResult edit(Screen& s, const std::string& lancamento, const Fields& changes) {
        const std::vector<Value> row = listedRow(*s.boletos.Data(), lancamento);
        if (row.empty()) return {};
        return s.net->Call("SetBoletos", {boletoChangeLog({modifiedRow(row, changes)})});
    }

    // Each boleto with the real boleto it points to ("lançamento|filial|número").
    std::vector<std::string> pointers() {
        return storedRows(*db,
                          "SELECT NRLANBOLPAG, CDFILIREAL, NRLANBOLREAL FROM BOLETPAGAR"
                          " WHERE CDFILIAL = '0001' AND NRLANBOLPAG IN ('" +
                              x + "', '" + y + "', '" + z + "') ORDER BY NRLANBOLPAG");
    }
    std::vector<std::string> unpointed() { return {x + "|∅|∅", y + "|∅|∅", z + "|∅|∅"}; }

    // The boletos that hold the payables of `lancamento` now.
    std::vector<std::string> payableHomes(const std::string& lancamento) {
        return storedRows(*db,
                          "SELECT DISTINCT NRLANBOLPAG FROM CNTPAGAR WHERE CDFILIBPAG = '0001'"
                          " AND (NRLANBOLPAG = '" +
                              lancamento + "' OR NRLANBOLPAGORIG = '" + lancamento + "')");
    }

    std::vector<std::string> boletoNumbered(const std::string& lancamento) {
        return storedRows(*db,
                          "SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE CDFILIAL = '0001'"
                          " AND NRLANBOLPAG = '" +
                              lancamento + "'");
    }

    std::string storedText(const std::string& lancamento, const std::string& columnName) {
        const std::vector<std::string> r =
            storedRows(*db, "SELECT " + columnName + " FROM BOLETPAGAR WHERE CDFILIAL = '0001'" +
                                " AND NRLANBOLPAG = '" + lancamento + "'");
        return r.empty() ? "(sem boleto)" : r.front();
    }

    // B saves `changes` on X first; A, from the list it loaded before, then groups X and
    // Y and gets `answer` with nothing grouped, while B's change stays. Once A reloads
    // its list the same grouping goes through.
    void groupingAfterEditRefused(const Fields& changes, const std::string& answer) {
        CallResult saved = edit(*b, x, changes);
        ASSERT_TRUE(saved.ok) << saved.message;
        EXPECT_EQ(saved.result.asInteger(), 1);
        const std::vector<std::string> before = boletoSnapshot(*db);
        const Grouped byA = group(*a, {x, y});
        EXPECT_EQ(byA.answer, answer);
        EXPECT_EQ(boletoSnapshot(*db), before);
        EXPECT_EQ(pointers(), unpointed());
        EXPECT_TRUE(boletoNumbered(byA.number).empty());
        EXPECT_EQ(payableHomes(x), std::vector<std::string>{x});
        const auto& [field, value] = *changes.begin();
        const std::string edited =
            value.type() == ValueType::Date ? value.asDate().toIso() : value.asString();
        EXPECT_EQ(storedText(x, field), edited);

        load(*a->net, a->boletos);
        const Grouped again = group(*a, {x, y});
        ASSERT_EQ(again.answer, "");
        EXPECT_EQ(storedText(x, "NRLANBOLREAL"), again.number);
        EXPECT_EQ(storedText(y, "NRLANBOLREAL"), again.number);
        EXPECT_EQ(storedText(x, field), edited);
    }

    std::unique_ptr<Database> db;
    std::string x, y, z;
    std::unique_ptr<Screen> a, b;
};

TEST_F(HttpGrouping, BoletoGroupedByOneScreenIsRefusedToTheOtherScreensGrouping) {
    const Grouped byA = group(*a, {x, y});
    ASSERT_EQ(byA.answer, "");
    const std::vector<std::string> before = boletoSnapshot(*db);
    const Grouped byB = group(*b, {x, z});
    EXPECT_EQ(byB.answer, kAbsorbed);
    EXPECT_NE(byB.number, byA.number);
    // X stays in A's real boleto alone; nothing of B's grouping was stored, not even
    // the real boleto under the number it reserved.
    EXPECT_EQ(boletoSnapshot(*db), before);
    EXPECT_EQ(pointers(), (std::vector<std::string>{x + "|0001|" + byA.number,
                                                    y + "|0001|" + byA.number, z + "|∅|∅"}));
    EXPECT_EQ(payableHomes(x), std::vector<std::string>{byA.number});
    EXPECT_EQ(payableHomes(z), std::vector<std::string>{z});
    EXPECT_EQ(boletoNumbered(byA.number), std::vector<std::string>{byA.number});
    EXPECT_TRUE(boletoNumbered(byB.number).empty());
}

TEST_F(HttpGrouping, EditOfABoletoAnotherScreenGroupedIsRefused) {
    const std::string fine = storedText(x, "VRMULTABPAG");
    const Grouped byA = group(*a, {x, y});
    ASSERT_EQ(byA.answer, "");
    const std::vector<std::string> before = boletoSnapshot(*db);
    CallResult r = edit(*b, x, {{"VRMULTABPAG", 7.5}});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message,
              "Boleto excluído ou associado por outro usuário. Atualize a lista de boletos.");
    EXPECT_EQ(boletoSnapshot(*db), before);
    EXPECT_EQ(storedText(x, "VRMULTABPAG"), fine);
    EXPECT_EQ(storedText(x, "NRLANBOLREAL"), byA.number);
    EXPECT_EQ(payableHomes(x), std::vector<std::string>{byA.number});
}

// The parts' marks carry the payment data A read: B's newer fine makes them stale.
TEST_F(HttpGrouping, GroupingOfABoletoAnotherScreenEditedIsRefused) {
    groupingAfterEditRefused({{"VRMULTABPAG", 7.5}}, kValueChanged);
}

// cdsBolAgru carries the due date A read: B's extension refuses it before the marks.
TEST_F(HttpGrouping, GroupingOfABoletoAnotherScreenExtendedIsRefused) {
    const Date due = listedRow(*a->boletos.Data(), x)[boletoFieldIndex("DTVENBOLPAG")].asDate();
    groupingAfterEditRefused({{"DTVENBOLPAG", due.addDays(7)}}, kExtended);
}

}  // namespace
}  // namespace pag::server::testing
