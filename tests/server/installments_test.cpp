// Incl_Parcela_Bol_Pag, Excl_Parcela_Bol_Pag and VdNovoValorContas: splits kept to the cent.
#include "contracts/screen_records.h"
#include "grouping_fixture.h"

namespace pag::server::testing {
namespace {

struct Row {
    std::string numero;
    double valor;
    Date vencimento;
    std::string motivo = "01";
};

class Installments : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        addBoleto("0000000001", {{"DTEMISSAO", today.addDays(-10)},
                                 {"CDBARRAPAG", "23791000000000100000000000000000000000000000"}});
        addPayable("0000000001", "NF1", 60);
        addPayable("0000000001", "NF2", 40);
        db->exec("UPDATE CNTPAGAR SET DTATUAVENPAG = '2024-05-15'");
        for (int m = 0; m < 4; ++m)
            addBudget(today.addDays(30 * m), 10000, m == 0 ? 100 : 0);
    }
    // cdsParcelas as the screen sends it: the rows shown, launch number of the boleto.
    static Value parcelas(const std::vector<Row>& rows) {
        Packet p(RecordPacketFields("cdsParcelas"));
        for (const Row& r : rows) {
            std::vector<Value> v(p.fields.size());
            auto set = [&](const char* f, Value x) { v[static_cast<size_t>(p.fieldIndex(f))] = x; };
            set("NRPARCBOLPAG", r.numero);
            set("NRPARCBOLPAGVISU", r.numero);
            set("CDFILIAL", "0001");
            set("NRLANBOLPAG", "0000000001");
            set("VRFINALBPAG", r.valor);
            set("DTVENBOLPAG", r.vencimento);
            set("CDMOTIPARC", r.motivo);
            p.addRow(v);
        }
        return packetValue(std::move(p));
    }
    CallResult split(const std::vector<Row>& rows, const std::string& ultima,
                     const std::string& origem = "") {
        return call("Incl_Parcela_Bol_Pag", {parcelas(rows), "0001", "0000000001", origem, ultima});
    }
    CallResult removeLast() { return call("Excl_Parcela_Bol_Pag", {"00010000000001", "0001"}); }
    std::vector<std::string> boletos() {
        return rows(
            "SELECT NRLANBOLPAG, NRPARCBOLPAG, NRORIGBOLPAG, VRBOLPAG, VRFINALBPAG, DTVENBOLPAG,"
            " CDMOTIPARC, CDBARRAPAG IS NOT NULL FROM BOLETPAGAR ORDER BY NRLANBOLPAG");
    }
    std::vector<std::string> payables() {
        return rows(
            "SELECT NRLANCTONF || '.' || NRPARCELAPAG, NRLANBOLPAG, VRATUAPAG, VRORIGPAG,"
            " DTATUAVENPAG, NRPARCELAPAGORIG FROM CNTPAGAR ORDER BY 1");
    }
    void expectRefused(const std::vector<Row>& rows, const std::string& ultima,
                       const std::string& text) {
        const std::vector<std::string> before = snapshot();
        CallResult r = split(rows, ultima, ultima == "00" ? "" : "0000000001");
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(text), std::string::npos) << r.message;
        EXPECT_EQ(snapshot(), before);
    }
    const Date d1 = today, d2 = today.addDays(30), d3 = today.addDays(60), d4 = today.addDays(90);
};

TEST_F(Installments, SplitNumbersTheSetConservesValuesAndDividesPayables) {
    std::vector<Value> args = {parcelas({{"01", 40, d1}, {"02", 30, d2}, {"03", 30, d3}}), "0001",
                               "0000000001", "", "00"};
    CallResult r = call("Incl_Parcela_Bol_Pag", args);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(boletos(),
              (std::vector<std::string>{"0000000001|01|0000000001|40|40|2024-05-15|01|1",
                                        "0000000002|02|0000000001|30|30|2024-06-14|01|0",
                                        "0000000003|03|0000000001|30|30|2024-07-14|01|0"}));
    EXPECT_EQ(payables(), (std::vector<std::string>{"NF1.01|0000000001|40|40|2024-05-15|∅",
                                                    "NF1.02|0000000002|20|20|2024-06-14|01",
                                                    "NF2.01|0000000002|10|10|2024-06-14|∅",
                                                    "NF2.02|0000000003|30|30|2024-07-14|01"}));
    EXPECT_DOUBLE_EQ(utilizado(d1), 40);
    EXPECT_DOUBLE_EQ(utilizado(d2), 30);
    EXPECT_DOUBLE_EQ(utilizado(d3), 30);
    // The screen reads the set back in order.
    r = call("GetParcelas", {"0001", "0000000003", "0000000001", "01"});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(column(r.result, "NRPARCBOLPAGVISU"), (std::vector<std::string>{"01", "02", "03"}));
}

TEST_F(Installments, LastInstallmentSplitsFurtherAndRemovalGivesEverythingBack) {
    const std::vector<std::string> boletosBefore = boletos(), payablesBefore = payables();
    ASSERT_TRUE(split({{"01", 40, d1}, {"02", 30, d2}, {"03", 30, d3}}, "00").ok);
    const std::vector<std::string> threeBoletos = boletos(), threePayables = payables();
    std::vector<Value> args = {
        parcelas({{"01", 40, d1}, {"02", 30, d2}, {"03", 19.99, d3}, {"04", 10.01, d4, "02"}}),
        "0001", "0000000001", "0000000001", "03"};
    // The last installment's number is written back into the by-reference argument.
    CallResult r = module->call(context(), "Incl_Parcela_Bol_Pag", args);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(args[4].asString(), "04");
    EXPECT_EQ(boletos().back(), "0000000004|04|0000000001|10,01|10,01|2024-08-13|02|0");
    EXPECT_EQ(scalar("SELECT ROUND(SUM(VRFINALBPAG), 2) FROM BOLETPAGAR").asFloat(), 100.0);
    EXPECT_EQ(payables().back(), "NF2.03|0000000004|10,01|10,01|2024-08-13|02");
    // Removing the last installments undoes the splits exactly.
    ASSERT_TRUE(removeLast().ok);
    EXPECT_EQ(boletos(), threeBoletos);
    EXPECT_EQ(payables(), threePayables);
    ASSERT_TRUE(removeLast().ok);
    r = removeLast();
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(boletos(), boletosBefore);
    EXPECT_EQ(payables(), payablesBefore);
    EXPECT_DOUBLE_EQ(utilizado(d1), 100);
    EXPECT_DOUBLE_EQ(utilizado(d3), 0);
    r = removeLast();
    EXPECT_EQ(r.message, "Parcela original não pode ser excluída.");
}

TEST_F(Installments, SplitRefusalsStoreNothing) {
    expectRefused({{"01", 40, d1}, {"02", 30, d2}}, "00",
                  "Soma das parcelas deve ser igual ao valor original do boleto. Soma: 70,00");
    expectRefused({{"01", 100, d1}, {"02", 0, d2}}, "00", "maior que zero");
    expectRefused({{"01", 50, d1}, {"02", 50, d2, "99"}}, "00",
                  "Motivo do parcelamento não cadastrado.");
    expectRefused({{"01", 50, d1}, {"02", 50, d2, ""}}, "00", "deve ser informado");
    expectRefused({{"01", 50, d1}, {"02", 50, today.addDays(-11)}}, "00", "data de emissão");
    expectRefused({{"01", 100, d1}}, "00", "ao menos uma nova parcela");
    expectRefused({{"02", 50, d1}, {"03", 50, d2}}, "02", "Parcelamento do boleto");
    db->exec("UPDATE BOLETPAGAR SET IDSITUCNABP = '20'");
    expectRefused({{"01", 50, d1}, {"02", 50, d2}}, "00", "enviado ao banco");
    db->exec(
        "UPDATE BOLETPAGAR SET IDSITUCNABP = '00';"
        "INSERT INTO AJBOLPAG VALUES ('0001', '0000000001', '0001', 1, 'M')");
    expectRefused({{"01", 50, d1}, {"02", 50, d2}}, "00", "Boleto possui ajuste.");
    db->exec("DELETE FROM AJBOLPAG; UPDATE BOLETPAGAR SET IDSTATBPAG = 'B'");
    expectRefused({{"01", 50, d1}, {"02", 50, d2}}, "00", "Parcela já foi baixada.");
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'A'");
    // Only the last installment of a set is split, and only once.
    ASSERT_TRUE(split({{"01", 50, d1}, {"02", 50, d2}}, "00").ok);
    expectRefused({{"01", 25, d1}, {"02", 25, d2}}, "00", "já foi parcelado por outro usuário");
    expectRefused({{"01", 25, d1}, {"02", 25, d2}, {"03", 50, d3}}, "01",
                  "Somente a última parcela (02) pode ser parcelada.");
}

TEST_F(Installments, SettledPayablesSetTheLeastValue) {
    db->exec("UPDATE CNTPAGAR SET IDSTATPAG = 'B' WHERE NRLANCTONF = 'NF1'");
    auto least = [&](double v) {
        CallResult r = call("VdNovoValorContas", {"0001", "0000000001", v});
        EXPECT_TRUE(r.ok) << r.message;
        return r.ok ? r.result.asArray()[0].asFloat() : -1;
    };
    EXPECT_DOUBLE_EQ(least(59.99), 60);
    EXPECT_DOUBLE_EQ(least(60), 0);
    EXPECT_FALSE(call("VdNovoValorContas", {"0001", "0000000001", 0.0}).ok);
    expectRefused({{"01", 59.99, d1}, {"02", 40.01, d2}}, "00",
                  "Valor mínimo pemitido a este boleto : 60,00.");
    ASSERT_TRUE(split({{"01", 60, d1}, {"02", 40, d2}}, "00").ok);
    EXPECT_EQ(scalar("SELECT NRLANBOLPAG FROM CNTPAGAR WHERE NRLANCTONF = 'NF1'").asString(),
              "0000000001");
    db->exec("UPDATE CNTPAGAR SET IDSTATPAG = 'A'");
    EXPECT_DOUBLE_EQ(least(0.01), 0);
}

TEST_F(Installments, RemovalRefusals) {
    ASSERT_TRUE(split({{"01", 40, d1}, {"02", 30, d2}, {"03", 30, d3}}, "00").ok);
    auto refused = [&](const std::string& text) {
        const std::vector<std::string> before = snapshot();
        CallResult r = removeLast();
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(text), std::string::npos) << r.message;
        EXPECT_EQ(snapshot(), before);
    };
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'B' WHERE NRLANBOLPAG = '0000000002'");
    refused("Exclusão não permitida! Parcela anterior já foi baixada.");
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'B' WHERE NRLANBOLPAG = '0000000003'");
    refused("Exclusão não permitida! Última parcela anterior já foi baixada.");
    db->exec(
        "UPDATE BOLETPAGAR SET IDSTATBPAG = 'A';"
        "INSERT INTO AJBOLPAG VALUES ('0001', '0000000003', '0001', 1, 'M')");
    refused("A última parcela possui ajustes");
    db->exec(
        "DELETE FROM AJBOLPAG;"
        "INSERT INTO HISTPRORBOL (CDFILIAL, NRLANBOLPAG, DTVENANTER, DTVENNOVA, CDMOTIPROR,"
        " CDOPERADOR) VALUES ('0001', '0000000003', '2024-07-14', '2024-07-20', '01', 'X')");
    refused("histórico de prorrogação");
    db->exec(
        "DELETE FROM HISTPRORBOL; UPDATE BOLETPAGAR SET NRLANCANTECIPA = NULL,"
        " IDBLOQNFFIN = 'B' WHERE NRLANBOLPAG = '0000000002'");
    refused("nota bloqueada");
    EXPECT_FALSE(call("Excl_Parcela_Bol_Pag", {"0001", "0001"}).ok);
}

}  // namespace
}  // namespace pag::server::testing
