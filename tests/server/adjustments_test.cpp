// Vd_OrcaFinaAjusBol and SetAjBolPag: net value, payables, budget, advances and return notes.
#include "contracts/screen_records.h"
#include "grouping_fixture.h"

namespace pag::server::testing {
namespace {

const std::string kAdv = "O adiantamento";

class Adjustments : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        db->exec(
            "INSERT INTO ADIANTFORN VALUES ('0001', 'AD1', '01', '01', '01',"
            " '000000000000000000001', NULL, 200, 200),"
            " ('0001', 'AD2', '01', '01', '01', '000000000000000000001', NULL, 50, 50),"
            " ('0001', 'AD3', '01', '01', '01', '000000000000000000002', NULL, 90, 90);"
            "INSERT INTO NFDEVOLUCAO (FILIDEVOL, NRNFDEVOL, CDEMPRESA, CDFORNECED, VRNFDEVOL,"
            " VRDISPONIVEL) VALUES ('0001', 'DV1', '01', '000000000000000000001', 80, 80)");
    }

    // A cdsAjBolPag row of boleto `lanc` (branch 0001) as the screen posts it.
    static std::vector<Value> aj(const std::string& lanc, const std::string& tipo, double v) {
        return {tipo, "0001", lanc, "", "", v, " "};
    }
    static Value log(const std::vector<RowChange>& changes) {
        return changeLog(ajBolPagFields(), changes);
    }
    // cdsAdiantamento rows: advance, amount, adjustment type, boleto.
    static Value advances(
        const std::vector<std::tuple<std::string, double, std::string, std::string>>& rows = {}) {
        Packet p(RecordPacketFields("cdsAdiantamento"));
        for (const auto& [nota, v, tipo, lanc] : rows)
            p.addRow({demoSupplierCode(1), "0001", nota, "01", "01", v, tipo, "0001", lanc});
        return packetValue(std::move(p));
    }
    static Value notes(const std::vector<std::pair<std::string, double>>& rows = {}) {
        Packet p(RecordPacketFields("cdsDevolucao"));
        for (const auto& [nota, v] : rows)
            p.addRow({"", "0001", "0001", "0000000001", nota, "", v, "0030"});
        return packetValue(std::move(p));
    }
    CallResult save(Value delta, Value adv = advances(), Value dev = notes()) {
        return call("SetAjBolPag", {std::move(delta), std::move(adv), std::move(dev)});
    }
    double final(const std::string& lanc) {
        return scalar("SELECT VRFINALBPAG FROM BOLETPAGAR WHERE NRLANBOLPAG = '" + lanc + "'")
            .asFloat();
    }
    double available(const std::string& table, const std::string& where) {
        return scalar("SELECT VRDISPONIVEL FROM " + table + " WHERE " + where).asFloat();
    }
    std::vector<std::string> state() {
        std::vector<std::string> all = snapshot();
        for (const char* sql :
             {"SELECT * FROM AJBOLPAG", "SELECT * FROM ADIANTFORN", "SELECT * FROM NFDEVOLUCAO",
              "SELECT * FROM AJBOLPAGADIA", "SELECT * FROM AJBOLPAGDEVOL"})
            for (std::string& r : rows(sql))
                all.push_back(std::move(r));
        return all;
    }
    // The call is refused with a message holding `text` and stores nothing.
    void expectRefused(Value delta, const std::string& text, Value adv = advances()) {
        const std::vector<std::string> before = state();
        CallResult r = save(std::move(delta), std::move(adv));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(text), std::string::npos) << r.message;
        EXPECT_EQ(state(), before);
    }
};

TEST_F(Adjustments, NetValueExactToTheCentAndPayablesFollow) {
    addBoleto("0000000001");
    addPayable("0000000001", "NF1", 60);
    addPayable("0000000001", "NF2", 40);
    addBudget(today, 10000, 100);
    ASSERT_TRUE(save(log({inserted(aj("0000000001", "0001", 0.1))})).ok);
    CallResult r = save(
        log({inserted(aj("0000000001", "0002", 0.2)), inserted(aj("0000000001", "0010", 10.004))}));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(scalar("SELECT ROUND(VRFINALBPAG, 2) = 90.3 FROM BOLETPAGAR").asInteger(), 1);
    EXPECT_EQ(rows("SELECT CDAJUCTPAG, VRAJBOLPAG, IDORIGAJBPAG FROM AJBOLPAG ORDER BY 1"),
              (std::vector<std::string>{"0001|0,1|M", "0002|0,2|M", "0010|10|M"}));
    EXPECT_EQ(rows("SELECT NRLANCTONF, ROUND(VRATUAPAG, 2) FROM CNTPAGAR ORDER BY 1"),
              (std::vector<std::string>{"NF1|54,18", "NF2|36,12"}));
    EXPECT_DOUBLE_EQ(utilizado(today), 90.3);
    // Removing the discount gives its value back to the boleto and the payables.
    r = save(log({deleted(aj("0000000001", "0010", 10.0))}));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_DOUBLE_EQ(final("0000000001"), 100.3);
    EXPECT_EQ(scalar("SELECT ROUND(SUM(VRATUAPAG), 2) FROM CNTPAGAR").asFloat(), 100.3);
}

TEST_F(Adjustments, BoletoSentToTheBankLeavesItsRemittanceOrIsRefused) {
    addBoleto("0000000001", {{"IDSITUCNABP", "10"}, {"NRCNABPAGREM", "77"}});
    expectRefused(log({inserted(aj("0000000001", "0001", 1))}), "enviado ao banco");
    db->exec("UPDATE GERALPAG SET IDUTCTRLCANREMP = 'N'");
    ASSERT_TRUE(save(log({inserted(aj("0000000001", "0001", 1))})).ok);
    EXPECT_EQ(rows("SELECT IDSITUCNABP, NRCNABPAGREM FROM BOLETPAGAR"),
              std::vector<std::string>{"00|∅"});
}

TEST_F(Adjustments, RefusalsStoreNothing) {
    addBoleto("0000000001");
    addBoleto("0000000002", {{"IDSTATBPAG", "B"}});
    addBoleto("0000000003", {{"IDBLOQNFFIN", "B"}});
    addBoleto("0000000004", {{"DTVENBOLPAG", today.addDays(-61)}});
    db->exec(
        "INSERT INTO AJBOLPAG VALUES ('0001', '0000000001', '0010', 5, 'M');"
        "UPDATE BOLETPAGAR SET VRFINALBPAG = 95 WHERE NRLANBOLPAG = '0000000001'");
    expectRefused(log({inserted(aj("0000000001", "9999", 1))}), "Ajuste não cadastrado.");
    expectRefused(log({inserted(aj("0000000001", "0001", 0.004))}), "maior do que zero");
    expectRefused(log({inserted(aj("0000000001", "0010", 1))}), "Ajuste já cadastrado.");
    expectRefused(log({inserted(aj("0000000001", "0011", 95.01))}), "ficaria negativo (-0,01)");
    expectRefused(log({inserted(aj("0000000002", "0001", 1))}), "baixado por outro usuário");
    expectRefused(log({inserted(aj("0000000003", "0001", 1))}), "nota bloqueada");
    expectRefused(log({inserted(aj("0000000004", "0001", 1))}), "data de processamento");
    // The second change of a log is refused: the first is not kept either.
    expectRefused(
        log({inserted(aj("0000000001", "0001", 1)), inserted(aj("0000000001", "0003", 0))}),
        "maior do que zero");
    // Removed or changed by another user meanwhile.
    expectRefused(log({deleted(aj("0000000001", "0010", 4.99))}), "por outro usuário");
    expectRefused(log({deleted(aj("0000000001", "0011", 5))}), "por outro usuário");
}

TEST_F(Adjustments, BudgetQuestionAndSaveFollowTheDueMonth) {
    addBoleto("0000000001");
    EXPECT_TRUE(
        call("Vd_OrcaFinaAjusBol", {"0001", "0000000001", 1e9}).result.asArray()[0].asBool());
    addBudget(today, 1000, 950);
    EXPECT_TRUE(
        call("Vd_OrcaFinaAjusBol", {"0001", "0000000001", 50.0}).result.asArray()[0].asBool());
    EXPECT_FALSE(
        call("Vd_OrcaFinaAjusBol", {"0001", "0000000001", 50.01}).result.asArray()[0].asBool());
    EXPECT_FALSE(call("Vd_OrcaFinaAjusBol", {"0001", "0000000009", 1.0}).ok);
    expectRefused(log({inserted(aj("0000000001", "0001", 50.01))}), "orçamento de fluxo de caixa");
    ASSERT_TRUE(save(log({inserted(aj("0000000001", "0001", 50))})).ok);
    EXPECT_DOUBLE_EQ(utilizado(today), 1000);
    // A discount frees the month even when it is full.
    ASSERT_TRUE(save(log({inserted(aj("0000000001", "0010", 20))})).ok);
    EXPECT_DOUBLE_EQ(utilizado(today), 980);
}

TEST_F(Adjustments, AdvanceDeductionIsTakenAndGivenBack) {
    addBoleto("0000000001", {{"VRBOLPAG", 300.0}, {"VRFINALBPAG", 300.0}});
    addBoleto("0000000002");
    const Value adv = advances({{"AD1", 100, "0020", "0000000001"},
                                {"AD2", 20, "0020", "0000000001"},
                                {"AD2", 30, "0020", "0000000002"}});  // another boleto's
    CallResult r = save(log({inserted(aj("0000000001", "0020", 120))}), adv);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_DOUBLE_EQ(final("0000000001"), 180);
    EXPECT_DOUBLE_EQ(available("ADIANTFORN", "NRLANCTONF = 'AD1'"), 100);
    EXPECT_DOUBLE_EQ(available("ADIANTFORN", "NRLANCTONF = 'AD2'"), 30);
    EXPECT_EQ(rows("SELECT NRLANCTONF, VRDESCONTO FROM AJBOLPAGADIA ORDER BY 1"),
              (std::vector<std::string>{"AD1|100", "AD2|20"}));
    EXPECT_EQ(scalar("SELECT IDORIGAJBPAG FROM AJBOLPAG").asString(), "A");
    r = save(log({deleted(aj("0000000001", "0020", 120))}));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_DOUBLE_EQ(final("0000000001"), 300);
    EXPECT_DOUBLE_EQ(available("ADIANTFORN", "NRLANCTONF = 'AD1'"), 200);
    EXPECT_DOUBLE_EQ(available("ADIANTFORN", "NRLANCTONF = 'AD2'"), 50);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM AJBOLPAGADIA").asInteger(), 0);
}

TEST_F(Adjustments, AdvanceDeductionRefusals) {
    addBoleto("0000000001", {{"VRBOLPAG", 300.0}, {"VRFINALBPAG", 300.0}});
    addBoleto("0000000002", {{"VRBOLPAG", 300.0}, {"VRFINALBPAG", 300.0}});
    const Value deduct = log({inserted(aj("0000000001", "0020", 150))});
    expectRefused(deduct, "nenhum foi informado");
    expectRefused(deduct, "difere da soma dos descontos informados (140,00)",
                  advances({{"AD1", 140, "0020", "0000000001"}}));
    expectRefused(
        deduct, "informado mais de uma vez",
        advances({{"AD1", 100, "0020", "0000000001"}, {"AD1", 50, "0020", "0000000001"}}));
    expectRefused(deduct, "não existe para o fornecedor",
                  advances({{"AD3", 150, "0020", "0000000001"}}));
    // Two users deduct the same advance: the second finds it used.
    ASSERT_TRUE(save(deduct, advances({{"AD1", 150, "0020", "0000000001"}})).ok);
    expectRefused(log({inserted(aj("0000000002", "0020", 150))}), "tem disponível 50,00",
                  advances({{"AD1", 150, "0020", "0000000002"}}));
    // A deduction's amount is not edited in place.
    expectRefused(log({modified(aj("0000000001", "0020", 100), aj("0000000001", "0020", 150))}),
                  "não pode ter o valor alterado");
}

TEST_F(Adjustments, ReturnNoteDeduction) {
    addBoleto("0000000001");
    ASSERT_TRUE(
        save(log({inserted(aj("0000000001", "0030", 80))}), advances(), notes({{"DV1", 80}})).ok);
    EXPECT_DOUBLE_EQ(available("NFDEVOLUCAO", "NRNFDEVOL = 'DV1'"), 0);
    EXPECT_EQ(scalar("SELECT IDORIGAJBPAG FROM AJBOLPAG").asString(), "D");
    EXPECT_DOUBLE_EQ(final("0000000001"), 20);
    ASSERT_TRUE(save(log({deleted(aj("0000000001", "0030", 80))})).ok);
    EXPECT_DOUBLE_EQ(available("NFDEVOLUCAO", "NRNFDEVOL = 'DV1'"), 80);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM AJBOLPAGDEVOL").asInteger(), 0);
}

}  // namespace
}  // namespace pag::server::testing
