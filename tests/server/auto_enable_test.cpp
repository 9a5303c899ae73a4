// Automatic enabling: transfer parameters, settlement types, grouping by supplier, refusals.
#include <set>

#include "grouping_fixture.h"
#include "server/payment_transfer.h"

namespace pag::server::testing {
namespace {

const std::string kSup1 = demoSupplierCode(1);  // accounts at 341
const std::string kSup2 = demoSupplierCode(2);  // accounts at 237 and 756
const std::string kSup3 = demoSupplierCode(3);  // account at 104
const std::string kSup6 = demoSupplierCode(6);  // account at 001, the paying bank

class AutoEnable : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        addBoleto(
            "0000000001",
            {{"VRBOLPAG", 3000.0}, {"VRFINALBPAG", 3000.0}, {"DTENTRSAID", today.addDays(-5)}});
        addBoleto(
            "0000000002",
            {{"VRBOLPAG", 2500.5}, {"VRFINALBPAG", 2500.5}, {"DTVENBOLPAG", today.addDays(2)}});
        addBoleto("0000000003",
                  {{"CDFORNECED", kSup2}, {"VRBOLPAG", 100.0}, {"VRFINALBPAG", 95.0}});
        addBoleto("0000000004",
                  {{"CDFORNECED", kSup6}, {"VRBOLPAG", 7000.0}, {"VRFINALBPAG", 7000.0}});
        addBoleto("0000000005",
                  {{"CDFORNECED", kSup3}, {"VRBOLPAG", 4999.99}, {"VRFINALBPAG", 4999.99}});
        for (const char* b : {"0000000001", "0000000002", "0000000003", "0000000004", "0000000005"})
            addPayable(b, "NF" + std::string(b).substr(2), 10.0);  // 10 characters, as declared
    }

    // The dialog's two packets, copied from the listed boletos as it copies them.
    std::pair<Value, Value> marked(const std::set<std::string>& launches) {
        const Packet list = listed();
        Packet boletos({{"CDFILIAL", FieldType::Text, 4},
                        {"NRLANBOLPAG", FieldType::Text, 10},
                        {"VRBOLPAG", FieldType::Float, 0},
                        {"DTVENBOLPAG", FieldType::Date, 0},
                        {"CDFORNECED", FieldType::Text, 21},
                        {"DTENTRSAID", FieldType::Date, 0},
                        {"CDTPBAIXAPAG", FieldType::Text, 2},
                        {"VRFINALBPAG", FieldType::Float, 0},
                        {"IDTPCTPAGAR", FieldType::Text, 1},
                        {"CDREDUCONT", FieldType::Text, 3},
                        {"IDBAIXAUTILP", FieldType::Text, 1}});
        Packet suppliers({{"CDFORNECED", FieldType::Text, 21}});
        std::set<std::string> seen;
        for (size_t r = 0; r < list.rowCount(); ++r) {
            if (!launches.count(list.value(r, "NRLANBOLPAG").asString())) continue;
            std::vector<Value> row;
            for (const PacketField& f : boletos.fields)
                row.push_back(list.value(r, f.name));
            boletos.addRow(row);
            if (seen.insert(list.value(r, "CDFORNECED").asString()).second)
                suppliers.addRow({list.value(r, "CDFORNECED")});
        }
        return {packetValue(std::move(boletos)), packetValue(std::move(suppliers))};
    }

    std::string enable(const std::pair<Value, Value>& packets, Date due,
                       const std::string& conta = "001", const std::string& banco = "001",
                       const std::string& budget = "1", const std::string& motivo = "01") {
        CallResult r = call("SetAgrupaFornecedores", {packets.first, packets.second, due, motivo,
                                                      conta, "01", budget, banco, "0001"});
        EXPECT_TRUE(r.ok) << r.message;
        return r.result.asString();
    }

    std::pair<Value, Value> all() {
        return marked({"0000000001", "0000000002", "0000000003", "0000000004", "0000000005"});
    }

    Date due = today.addDays(10);
};

TEST_F(AutoEnable, ParamCCAnswersTheAccountsTransferParameters) {
    CallResult r = call("GetParamCC", {"1"});  // brought to width 3 as the dialog does
    ASSERT_TRUE(r.ok) << r.message;
    const Packet& p = *r.result.asPacket();
    EXPECT_EQ(p.fields, paramCCFields());
    ASSERT_EQ(p.rowCount(), 1u);
    EXPECT_EQ(p.value(0, "CDTPBXCREDCONT").asString(), "02");
    EXPECT_EQ(p.value(0, "CDTPBAIXADOC").asString(), "03");
    EXPECT_EQ(p.value(0, "CDTPBAIXATED").asString(), "04");
    EXPECT_DOUBLE_EQ(p.value(0, "VRLIMITEDOC").asFloat(), 4999.99);
    EXPECT_TRUE(call("GetParamCC", {"004"}).result.asPacket()->value(0, "CDTPBXCREDCONT").isNull());
    EXPECT_EQ(call("GetParamCC", {"999"}).message, "Código reduzido da conta não cadastrado.");
}

TEST(TransferSettlement, SameBankCreditsOtherBanksDocUpToTheLimitThenTed) {
    PayingAccount a;
    a.banco = "001";
    a.tipoCredito = "02";
    a.tipoDoc = "03";
    a.tipoTed = "04";
    a.limiteDoc = 499999;
    EXPECT_EQ(transferSettlementType(a, "001", 10000000), "02");
    EXPECT_EQ(transferSettlementType(a, "341", 499999), "03");
    EXPECT_EQ(transferSettlementType(a, "341", 500000), "04");
}

TEST_F(AutoEnable, EnablesEachSupplierWithTheSettlementItsAccountTakes) {
    ASSERT_EQ(enable(all(), due), "OK");
    // Supplier 1's two boletos are paid by one real boleto, by TED (5.500,50 > limit).
    const std::vector<std::string> real =
        rows("SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE IDBPAGREAL = 'S'");
    ASSERT_EQ(real.size(), 1u);
    EXPECT_EQ(
        rows("SELECT CDFORNECED, VRBOLPAG, VRFINALBPAG, CDTPBAIXAPAG, CDBANCBOLP,"
             " CDREDUCONT, CDMOTIPROR, IDHABIBPAG, DTVENBOLPAG, IDTPICNABBOP"
             " FROM BOLETPAGAR WHERE IDBPAGREAL = 'S'"),
        (std::vector<std::string>{kSup1 + "|5500,5|5500,5|04|341|001|01|S|" + due.toIso() + "|J"}));
    EXPECT_EQ(rows("SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE NRLANBOLREAL = '" + real[0] +
                   "' ORDER BY 1"),
              (std::vector<std::string>{"0000000001", "0000000002"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM CNTPAGAR WHERE NRLANBOLPAG = '" + real[0] + "'"),
              (std::vector<std::string>{"2"}));
    // The others are enabled by themselves, their due dates extended with history.
    EXPECT_EQ(rows("SELECT NRLANBOLPAG, CDTPBAIXAPAG, CDBANCBOLP, IDHABIBPAG, DTVENBOLPAG,"
                   " DTATUAVENBOLPAG, CDMOTIPROR FROM BOLETPAGAR"
                   " WHERE NRLANBOLPAG IN ('0000000003', '0000000004', '0000000005') ORDER BY 1"),
              (std::vector<std::string>{
                  "0000000003|03|237|S|" + due.toIso() + "|" + today.toIso() + "|01",
                  "0000000004|02|001|S|" + due.toIso() + "|" + today.toIso() + "|01",
                  "0000000005|03|104|S|" + due.toIso() + "|" + today.toIso() + "|01"}));
    EXPECT_EQ(rows("SELECT NRLANBOLPAG, DTVENANTER, DTVENNOVA, CDMOTIPROR, CDOPERADOR"
                   " FROM HISTPRORBOL ORDER BY 1"),
              (std::vector<std::string>{
                  "0000000003|" + today.toIso() + "|" + due.toIso() + "|01|ADMIN",
                  "0000000004|" + today.toIso() + "|" + due.toIso() + "|01|ADMIN",
                  "0000000005|" + today.toIso() + "|" + due.toIso() + "|01|ADMIN"}));
    // The real boleto can be cancelled like one grouped on the screen.
    CallResult r = call("SetSeparaBoleto", {"0001", real[0], kSup1, "01", "0001", due, "04"});
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(rows("SELECT COUNT(*) FROM BOLETPAGAR WHERE NRLANBOLREAL IS NOT NULL"),
              (std::vector<std::string>{"0"}));
}

TEST_F(AutoEnable, AdvancesAndLoansAreNeverPaidWithNormalAccounts) {
    addBoleto("0000000006", {{"IDTPCTPAGAR", "2"}});
    addBoleto("0000000007", {{"IDTPCTPAGAR", "3"}});
    addBoleto("0000000008", {{"IDTPCTPAGAR", "3"}});
    ASSERT_EQ(
        enable(marked({"0000000001", "0000000002", "0000000006", "0000000007", "0000000008"}), due),
        "OK");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM BOLETPAGAR WHERE IDBPAGREAL = 'S'"),
              (std::vector<std::string>{"1"}));
    EXPECT_EQ(rows("SELECT NRLANBOLPAG, IDHABIBPAG, NRLANBOLREAL IS NULL FROM BOLETPAGAR"
                   " WHERE NRLANBOLPAG IN ('0000000006', '0000000007', '0000000008') ORDER BY 1"),
              (std::vector<std::string>{"0000000006|S|1", "0000000007|S|1", "0000000008|S|1"}));
}

class AutoEnableRefused : public AutoEnable, public ::testing::WithParamInterface<Change> {};

TEST_P(AutoEnableRefused, AnswersTheKeyAndStoresNothing) {
    const auto packets = all();  // read before the other user's change
    db->exec(GetParam().sql);
    const std::vector<std::string> before = snapshot();
    EXPECT_EQ(enable(packets, due), GetParam().answer);
    EXPECT_EQ(snapshot(), before);
}

const std::string kThird = " WHERE NRLANBOLPAG = '0000000003'";

INSTANTIATE_TEST_SUITE_P(
    Changes, AutoEnableRefused,
    ::testing::Values(
        Change{"UPDATE BOLETPAGAR SET VRBOLPAG = 101" + kThird, "VRBOL_DIF"},
        Change{"UPDATE BOLETPAGAR SET VRFINALBPAG = 94.99" + kThird, "VRBOLF_DIF"},
        Change{"UPDATE BOLETPAGAR SET DTVENBOLPAG = '2024-06-30'" + kThird, "CNT_PROR"},
        Change{"UPDATE BOLETPAGAR SET IDTPCTPAGAR = '2'" + kThird, "CNT_PREV"},
        Change{"UPDATE BOLETPAGAR SET IDBPAGREAL = 'S'" + kThird, "BOL_EXC"},
        Change{"DELETE FROM CNTPAGAR" + kThird + "; DELETE FROM BOLETPAGAR" + kThird, "BOL_EXC"},
        Change{"UPDATE BOLETPAGAR SET IDSTATBPAG = 'B'" + kThird, "BOL_BAIXADO"},
        Change{"UPDATE BOLETPAGAR SET IDSITUCNABP = '10'" + kThird, "BOL_CNAB"},
        Change{"UPDATE BOLETPAGAR SET DTENTRSAID = '2024-06-30'" + kThird,
               "Data de vencimento deve ser maior que a data de entrada do documento."},
        Change{"DELETE FROM CCORFORN WHERE CDFORNECED = '" + kSup3 + "'",
               "Fornecedor " + kSup3 +
                   " não possui conta bancária cadastrada para receber transferência."},
        Change{"UPDATE CONTCORR SET VRLIMITEDOC = 0 WHERE CDREDUCONT = '001'",
               "Valor limite de DOC não informado para conta corrente informada."}));

TEST_F(AutoEnable, TheDialogsValuesAreCheckedAgain) {
    const std::vector<std::string> before = snapshot();
    const auto packets = all();
    EXPECT_EQ(enable(packets, due, "004", "756"),
              "Tipo de Baixa para transferência eletrônica não parametrizado.");
    EXPECT_EQ(enable(packets, due, "999", "001"), "Código reduzido da conta não cadastrado.");
    EXPECT_EQ(enable(packets, due, "001", "341"), "Banco 341 não é o banco da conta corrente 001.");
    EXPECT_EQ(enable(packets, due, "001", "001", "1", "99"),
              "Motivo de Prorrogação não cadastrado.");
    EXPECT_EQ(enable(packets, Date::fromYmd(2024, 1, 2)),
              "Vencimento não pode ser anterior à data de processamento.");
    EXPECT_EQ(enable(marked({}), due),
              "Nenhum dos boletos marcados pode ser habilitado automaticamente: boletos enviados "
              "ao banco e boletos associados ficam de fora.");
    EXPECT_EQ(snapshot(), before);
}

TEST_F(AutoEnable, BudgetControlRefusesAMonthThatWouldGoOver) {
    const Date june = today.addDays(20);
    addBudget(today, 100.0, 17595.49);  // May is over budget already: leaving it is fine
    addBudget(june, 20000.0, 2.0);
    const auto packets = all();
    db->exec("UPDATE ORCAFINA SET VRORCADO = 17597.48 WHERE NRMES = 6");
    const std::vector<std::string> before = snapshot();
    EXPECT_EQ(enable(packets, june), "N_pode_agrup");  // 2 + 17.595,49 > 17.597,48
    EXPECT_EQ(snapshot(), before);
    db->exec("UPDATE ORCAFINA SET VRORCADO = 17597.49 WHERE NRMES = 6");
    EXPECT_EQ(enable(packets, june), "OK");  // exactly the budget
    EXPECT_DOUBLE_EQ(utilizado(june), 17597.49);
    EXPECT_DOUBLE_EQ(utilizado(today), 0.0);
}

}  // namespace
}  // namespace pag::server::testing
