// Grouping marked boletos into a real boleto and cancelling it, which gives everything back.
#include "grouping_fixture.h"

namespace pag::server::testing {
namespace {

const std::string kSup1 = demoSupplierCode(1);
const std::string kSup2 = demoSupplierCode(2);

class Grouping : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        // Two boletos due this month, one next month, and one of another supplier.
        addBoleto(
            "0000000001",
            {{"VRBOLPAG", 100.10}, {"VRFINALBPAG", 100.10}, {"DTENTRSAID", today.addDays(-10)}});
        addBoleto("0000000002", {{"VRBOLPAG", 0.20},
                                 {"VRFINALBPAG", 0.20},
                                 {"DTVENBOLPAG", today.addDays(3)},
                                 {"DTENTRSAID", today.addDays(-2)}});
        addBoleto("0000000003",
                  {{"VRBOLPAG", 50.0}, {"VRFINALBPAG", 45.0}, {"DTVENBOLPAG", nextMonth}});
        addBoleto("0000000004", {{"CDFORNECED", kSup2}});
        addPayable("0000000001", "NF1A", 60.05);
        addPayable("0000000001", "NF1B", 40.05, "0002");
        addPayable("0000000002", "NF2", 0.20);
        addPayable("0000000003", "NF3", 45.0);
        addPayable("0000000004", "NF4", 100.0);
        addBudget(today, 1000.0, 200.5);
        addBudget(nextMonth, 1000.0, 45.0);
    }

    std::string reserve() {
        CallResult r = call("PrxBoletoPag", {"0001", 1});
        EXPECT_TRUE(r.ok) << r.message;
        return r.result.asString();
    }

    // SetAgrupaBoleto as the screen calls it; `args` keeps what came back by reference.
    std::string group(const std::string& number, const Value& agru, const Value& delta, double soma,
                      Date due, bool budget = true) {
        args = {agru, number, "01", "0001", soma, delta, budget, due, false, ""};
        CallResult r = call("SetAgrupaBoleto", args);
        EXPECT_TRUE(r.ok) << r.message;
        return r.result.asString();
    }

    // The two boletos of this month, as listed.
    Value firstTwo() {
        return bolAgru({{"0000000001", 100.10, today}, {"0000000002", 0.20, today.addDays(3)}});
    }

    Date nextMonth = today.addDays(20);  // 15/05 + 20 = 04/06
    std::vector<Value> args;
};

TEST_F(Grouping, LaunchNumbersAreReservedOnceAndNeverTaken) {
    EXPECT_EQ(reserve(), "0000000005");  // after the highest number the branch uses
    EXPECT_EQ(reserve(), "0000000006");
    CallResult r = call("PrxBoletoPag", {"0001", 3});
    EXPECT_EQ(r.result.asString(), "0000000007");
    EXPECT_EQ(reserve(), "0000000010");
    EXPECT_EQ(call("PrxBoletoPag", {"0009", 1}).message, "Filial 0009 não cadastrada.");
    EXPECT_FALSE(call("PrxBoletoPag", {"0001", 0}).ok);
    // Branch 0003 belongs to company 02, which OPER01 may not work on.
    EXPECT_FALSE(call("PrxBoletoPag", {"0003", 1}, context("01", "OPER01")).ok);
}

TEST_F(Grouping, GroupThenSeparateGivesEverythingBack) {
    const std::vector<std::string> before = snapshot();
    const Packet list = listed();
    const std::string number = reserve();
    Packet delta = newBoletoDelta({{"CDFILIAL", "0001"},
                                   {"NRLANBOLPAG", number},
                                   {"CDFORNECED", kSup1},
                                   {"CDEMPRESA", "01"},
                                   {"VRBOLPAG", 150.3},
                                   {"VRFINALBPAG", 145.3},
                                   {"DTVENBOLPAG", nextMonth},
                                   {"IDHABIBPAG", "S"},
                                   {"IDBPAGREAL", "S"},
                                   {"IDSTATBPAG", "A"},
                                   {"IDSITUCNABP", "00"},
                                   {"CDTPBAIXAPAG", "02"},
                                   {"CDBANCBOLP", "341"},
                                   {"CDAGENBOLP", "1037"},
                                   {"CDCCORBOLP", "00109131"}});
    for (const char* b : {"0000000001", "0000000002", "0000000003"})
        addMark(delta, list, b);
    const Value agru = bolAgru({{"0000000001", 100.10, today},
                                {"0000000002", 0.20, today.addDays(3)},
                                {"0000000003", 50.0, nextMonth}});
    // The screen's own running sum, not rounded.
    const double soma = 100.10 + 0.20 + 50.0;
    ASSERT_EQ(group(number, agru, packetValue(delta), soma, nextMonth), "");
    EXPECT_EQ(args[1].asString(), number);
    EXPECT_EQ(args[4].asFloat(), 150.3);

    EXPECT_EQ(listedKeys(), (std::vector<std::string>{"0000000004", number}));
    EXPECT_EQ(rows("SELECT VRBOLPAG, VRFINALBPAG, IDBPAGREAL, IDHABIBPAG, CDTPBAIXAPAG,"
                   " CDBANCBOLP, NRPARCBOLPAG, DTENTRSAID FROM BOLETPAGAR WHERE NRLANBOLPAG = '" +
                   number + "'"),
              (std::vector<std::string>{"150,3|145,3|S|S|02|341|00|" + today.addDays(-2).toIso()}));
    EXPECT_EQ(rows("SELECT NRLANCTONF, NRLANBOLPAG, NRLANBOLPAGORIG FROM CNTPAGAR"
                   " WHERE NRLANBOLPAGORIG IS NOT NULL ORDER BY NRLANCTONF"),
              (std::vector<std::string>{
                  "NF1A|" + number + "|0000000001", "NF1B|" + number + "|0000000001",
                  "NF2|" + number + "|0000000002", "NF3|" + number + "|0000000003"}));
    // This month gives the two boletos up; next month takes the whole net value.
    EXPECT_DOUBLE_EQ(utilizado(today), 100.2);
    EXPECT_DOUBLE_EQ(utilizado(nextMonth), 145.3);

    CallResult r = call("SetSeparaBoleto", {"0001", number, kSup1, "01", "0001", nextMonth, "02"});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(listedKeys(),
              (std::vector<std::string>{"0000000001", "0000000004", "0000000002", "0000000003"}));
}

TEST_F(Grouping, WithoutChangeLogTheRealBoletoComesFromItsParts) {
    const std::string number = reserve();
    ASSERT_EQ(group(number, firstTwo(), Value(), 100.30, today.addDays(5)), "");
    EXPECT_EQ(
        rows("SELECT CDFORNECED, CDEMPRESA, VRBOLPAG, VRFINALBPAG, IDBPAGREAL, IDHABIBPAG,"
             " DTVENBOLPAG FROM BOLETPAGAR WHERE NRLANBOLPAG = '" +
             number + "'"),
        (std::vector<std::string>{kSup1 + "|01|100,3|100,3|S|S|" + today.addDays(5).toIso()}));
    // The number is used now: grouping again with it is refused.
    EXPECT_EQ(group(number, bolAgru({{"0000000003", 50.0, nextMonth}}), Value(), 50.0, nextMonth),
              "O boleto 0001/" + number + " já existe.");
    EXPECT_EQ(
        group("0000000999", bolAgru({{"0000000003", 50.0, nextMonth}}), Value(), 50.0, nextMonth),
        "O número 0000000999 não foi reservado para a filial 0001.");
}

class GroupingRefused : public Grouping, public ::testing::WithParamInterface<Change> {};

TEST_P(GroupingRefused, AnswersItsTextAndStoresNothing) {
    const std::string number = reserve();
    addBoleto("0000000090", {{"IDBPAGREAL", "S"}});
    db->exec(GetParam().sql);
    const std::vector<std::string> before = snapshot();
    EXPECT_EQ(group(number, firstTwo(), Value(), 100.30, nextMonth), GetParam().answer);
    EXPECT_EQ(snapshot(), before);
}

const std::string kSecond = " WHERE NRLANBOLPAG = '0000000002'";

INSTANTIATE_TEST_SUITE_P(
    Changes, GroupingRefused,
    ::testing::Values(
        Change{"UPDATE BOLETPAGAR SET IDSTATBPAG = 'B'" + kSecond,
               "Um dos boletos selecionados foi baixado por outro usuário."},
        Change{"UPDATE BOLETPAGAR SET CDFILIREAL = '0001', NRLANBOLREAL = '0000000090'" + kSecond,
               "Um dos boletos selecionados foi excluído ou associado por outro usuário."},
        Change{"UPDATE BOLETPAGAR SET IDSITUCNABP = '10'" + kSecond,
               "Boleto enviado ao banco (via CNAB) não pode ser alterado."},
        Change{"UPDATE BOLETPAGAR SET VRBOLPAG = 0.21" + kSecond,
               "Valor de uma conta foi alterado por outro usuário."},
        Change{"UPDATE BOLETPAGAR SET DTVENBOLPAG = '2024-05-19'" + kSecond,
               "Uma conta foi prorrogada por outro usuário. Contas com vencimento diferente não "
               "podem ser associadas."},
        Change{"UPDATE BOLETPAGAR SET CDFORNECED = '" + kSup2 + "'" + kSecond,
               "Não é possível associar boletos de fornecedores diferentes"},
        Change{"UPDATE BOLETPAGAR SET IDTPCTPAGAR = '2'" + kSecond,
               "Operação bloqueada. Não é possível agrupar boletos de tipo de conta  "
               "\"Adiantamento\" com boletos de tipo de conta \"Normal\" ."},
        Change{"UPDATE BOLETPAGAR SET IDTPCTPAGAR = '3'" + kSecond,
               "Operação bloqueada. Não é possível agrupar boletos de tipo de conta "
               "\"Empréstimo\"."},
        Change{"UPDATE BOLETPAGAR SET IDBPAGREAL = 'S'" + kSecond,
               "O boleto 0001/0000000002 já é um boleto real e não pode ser associado a outro."},
        Change{"UPDATE BOLETPAGAR SET IDBLOQNFFIN = 'B'" + kSecond,
               "Operação bloqueada! Boleto está ligado a uma nota bloqueada."},
        Change{"UPDATE BOLETPAGAR SET DTENTRSAID = '2024-06-17'" + kSecond,
               "Data de vencimento deve ser maior que a data de entrada do documento."},
        // Next month has 100,00 left: 100,30 more does not fit.
        Change{"UPDATE ORCAFINA SET VRORCADO = 145.0", "N_pode_agrup"}));

TEST_F(Grouping, GroupingNeedsItsListedValuesAndBudgetControlDecides) {
    const std::string number = reserve();
    EXPECT_EQ(group(number, bolAgru({{"0000000077", 1.0, today}}), Value(), 1.0, today),
              "Um dos boletos selecionados foi excluído ou associado por outro usuário.");
    EXPECT_EQ(group(number, firstTwo(), Value(), 100.31, nextMonth),
              "Valor de uma conta foi alterado por outro usuário.");
    // Grouping within a month already over its budget adds nothing to it.
    db->exec("UPDATE ORCAFINA SET VRORCADO = 100.0");
    EXPECT_EQ(group(number, firstTwo(), Value(), 100.30, today.addDays(3)), "");
    // Without budget control a month may go over.
    const std::string again = reserve();
    EXPECT_EQ(
        group(again, bolAgru({{"0000000004", 100.0, today}}), Value(), 100.0, nextMonth, false),
        "");
    EXPECT_DOUBLE_EQ(utilizado(nextMonth), 145.0);
}

TEST_F(Grouping, ABoletoChangedSinceTheScreenReadItRefusesTheGrouping) {
    const Packet list = listed();
    const std::string number = reserve();
    Packet delta = newBoletoDelta({{"CDFILIAL", "0001"},
                                   {"NRLANBOLPAG", number},
                                   {"VRFINALBPAG", 100.3},
                                   {"CDTPBAIXAPAG", "01"}});
    addMark(delta, list, "0000000001");
    addMark(delta, list, "0000000002");
    // Another user changes the payee bank of a marked boleto.
    db->exec("UPDATE BOLETPAGAR SET CDBANCBOLP = '237' WHERE NRLANBOLPAG = '0000000002'");
    const std::vector<std::string> before = snapshot();
    EXPECT_EQ(group(number, firstTwo(), packetValue(delta), 100.30, today.addDays(3)),
              "Valor de uma conta foi alterado por outro usuário.");
    EXPECT_EQ(snapshot(), before);
    // A new row whose net value no longer matches the parts'.
    Packet stale = newBoletoDelta({{"CDFILIAL", "0001"},
                                   {"NRLANBOLPAG", number},
                                   {"VRFINALBPAG", 99.0},
                                   {"CDTPBAIXAPAG", "01"}});
    EXPECT_EQ(group(number, firstTwo(), packetValue(stale), 100.30, today.addDays(3)),
              "Valor do boleto foi alterado por outro usuário.");
    // The new row of another supplier.
    Packet mixed = newBoletoDelta({{"CDFILIAL", "0001"},
                                   {"NRLANBOLPAG", number},
                                   {"CDFORNECED", kSup2},
                                   {"VRFINALBPAG", 100.3}});
    EXPECT_EQ(group(number, firstTwo(), packetValue(mixed), 100.30, today.addDays(3)),
              "Não é possível associar boletos de fornecedores diferentes");
    // Only the reserved boleto may be inserted.
    Packet other = newBoletoDelta({{"CDFILIAL", "0001"}, {"NRLANBOLPAG", "0000000123"}});
    EXPECT_EQ(group(number, firstTwo(), packetValue(other), 100.30, today.addDays(3)),
              "A associação só inclui o boleto real 0001/" + number + ".");
    EXPECT_EQ(snapshot(), before);
}

class Separating : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        addBoleto("0000000010", {{"IDBPAGREAL", "S"}, {"VRBOLPAG", 30.0}, {"VRFINALBPAG", 30.0}});
        for (const char* part : {"0000000011", "0000000012"}) {
            addBoleto(part, {{"VRBOLPAG", 15.0},
                             {"VRFINALBPAG", 15.0},
                             {"CDFILIREAL", "0001"},
                             {"NRLANBOLREAL", "0000000010"}});
            addPayable(part, "NF" + std::string(part).substr(2),
                       15.0);  // 10 characters, as declared
        }
        db->exec(
            "UPDATE CNTPAGAR SET CDFILIBPAGORIG = CDFILIBPAG, NRLANBOLPAGORIG = NRLANBOLPAG,"
            " NRLANBOLPAG = '0000000010'");
    }
    CallResult separate(const std::string& lanc = "0000000010", Date due = Date(),
                        Value tipo = "01") {
        return call("SetSeparaBoleto",
                    {"0001", lanc, kSup1, "01", "0001", due.isEmpty() ? today : due, tipo});
    }
};

class SeparatingRefused : public Separating, public ::testing::WithParamInterface<Change> {};

TEST_P(SeparatingRefused, LeavesTheRealBoletoAsItWas) {
    db->exec(GetParam().sql);
    const std::vector<std::string> before = snapshot();
    const bool oldDue = GetParam().sql.find("2024-01-02") != std::string::npos;
    CallResult r = separate("0000000010", oldDue ? Date::fromYmd(2024, 1, 2) : today);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, GetParam().answer);
    EXPECT_EQ(snapshot(), before);
}

const std::string kReal = " WHERE NRLANBOLPAG = '0000000010'";

INSTANTIATE_TEST_SUITE_P(
    Changes, SeparatingRefused,
    ::testing::Values(
        Change{"UPDATE BOLETPAGAR SET IDSTATBPAG = 'B'" + kReal,
               "O boleto 0001/0000000010 foi baixado e não pode ser cancelado."},
        Change{"UPDATE BOLETPAGAR SET CDTPBAIXAPAG = '02'" + kReal,
               "O boleto 0001/0000000010 foi alterado por outro usuário. Atualize os dados e "
               "repita a operação."},
        Change{"UPDATE BOLETPAGAR SET NRPARCBOLPAG = '01'" + kReal,
               "Operação bloqueada. Este boleto está parcelado."},
        Change{"UPDATE BOLETPAGAR SET IDSITUCNABP = '20'" + kReal,
               "Boleto enviado ao banco (via CNAB) não pode ser alterado."},
        Change{"INSERT INTO AJBOLPAG VALUES ('0001', '0000000010', '0010', 1, 'M')",
               "O boleto real 0001/0000000010 possui ajustes. Exclua os ajustes antes de "
               "cancelar o boleto real."},
        Change{"INSERT INTO COMPENSACAO VALUES ('1', '01', '2024-05-01', 'A');"
               "INSERT INTO COMPENSABOL VALUES ('1', '0001', '0000000010')",
               "Não é possível cancelar boleto ligado a uma compensação."},
        Change{"UPDATE CNTPAGAR SET NRLANBOLPAGORIG = NULL, CDFILIBPAGORIG = NULL"
               " WHERE NRLANCTONF = 'NF00000012'",
               "A conta 0001/NF00000012/01/01 do boleto real 0001/0000000010 não tem boleto "
               "de origem; o boleto real não pode ser cancelado."},
        Change{"UPDATE BOLETPAGAR SET DTVENBOLPAG = '2024-01-02'" + kReal,
               "Boleto anterior à data de processamento não pode ser alterado."}));

TEST_F(Separating, OnlyAnExistingRealBoletoIsSeparated) {
    EXPECT_EQ(separate("0000000011").message,
              "O boleto 0001/0000000011 não é um boleto real (associado).");
    EXPECT_EQ(separate("0000000099").message,
              "O boleto 0001/0000000099 foi excluído por outro usuário.");
}

TEST_F(Separating, SentBoletoMayLeaveTheRemittanceWhereThatIsNotControlled) {
    db->exec(
        "UPDATE BOLETPAGAR SET IDSITUCNABP = '10' WHERE NRLANBOLPAG = '0000000010';"
        "UPDATE GERALPAG SET IDUTCTRLCANREMP = 'N'");
    ASSERT_TRUE(separate().ok);
    EXPECT_EQ(listedKeys(), (std::vector<std::string>{"0000000011", "0000000012"}));
    EXPECT_EQ(rows("SELECT NRLANBOLPAG FROM CNTPAGAR ORDER BY 1"),
              (std::vector<std::string>{"0000000011", "0000000012"}));
}

TEST_F(Separating, ABoletoMadeRealByItselfKeepsItsPayables) {
    addBoleto("0000000020", {{"IDBPAGREAL", "S"}, {"IDHABIBPAG", "S"}});
    addPayable("0000000020", "NF20", 100.0);
    ASSERT_TRUE(separate("0000000020").ok);
    EXPECT_EQ(
        rows("SELECT IDBPAGREAL, IDHABIBPAG FROM BOLETPAGAR WHERE NRLANBOLPAG = '0000000020'"),
        (std::vector<std::string>{"N|S"}));
    EXPECT_EQ(rows("SELECT NRLANBOLPAG FROM CNTPAGAR WHERE NRLANCTONF = 'NF20'"),
              (std::vector<std::string>{"0000000020"}));
}

}  // namespace
}  // namespace pag::server::testing
