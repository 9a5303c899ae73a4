// SetProrrogacao: the new due date, its reason and history.
#include "grouping_fixture.h"

namespace pag::server::testing {
namespace {

class Extension : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        addBoleto("0000000001", {{"DTENTRSAID", today.addDays(-20)},
                                 {"DTEMISSAO", today.addDays(-25)},
                                 {"IDSITUCNABP", "10"},
                                 {"NRCNABPAGREM", "55"}});
        addPayable("0000000001", "NF1", 100);
    }
    CallResult extend(Date nova, const std::string& motivo = "02",
                      const CallContext& ctx = context(), const std::string& empresa = "01") {
        return call("SetProrrogacao", {"0001", "0000000001", motivo, nova, empresa, "0002"}, ctx);
    }
    void expectRefused(Date nova, const std::string& text, const std::string& motivo = "02",
                       const CallContext& ctx = context(), const std::string& empresa = "01") {
        const std::vector<std::string> before = snapshot();
        CallResult r = extend(nova, motivo, ctx, empresa);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, text);
        EXPECT_EQ(snapshot(), before);
    }
    std::vector<std::string> history() {
        return rows(
            "SELECT DTVENANTER, DTVENNOVA, CDMOTIPROR, CDOPERADOR, CDFILIPROC FROM HISTPRORBOL"
            " ORDER BY NRHISTPROR");
    }
};

TEST_F(Extension, MovesTheDueDateKeepsHistoryAndMovesTheBudget) {
    const Date nova = today.addDays(20);
    addBudget(today, 1000, 300);
    addBudget(nova, 1000, 0);
    CallResult r = extend(nova);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(rows("SELECT DTVENBOLPAG, DTATUAVENBOLPAG, CDMOTIPROR, IDSITUCNABP, NRCNABPAGREM"
                   " FROM BOLETPAGAR"),
              std::vector<std::string>{"2024-06-04|2024-05-15|02|00|∅"});
    EXPECT_EQ(rows("SELECT DTATUAVENPAG, CDMOTIPROR FROM CNTPAGAR"),
              std::vector<std::string>{"2024-06-04|02"});
    EXPECT_EQ(history(), std::vector<std::string>{"2024-05-15|2024-06-04|02|ADMIN|0002"});
    EXPECT_DOUBLE_EQ(utilizado(today), 200);
    EXPECT_DOUBLE_EQ(utilizado(nova), 100);
}

TEST_F(Extension, AfterTheScreensBoletoSaveOnlyReasonAndHistoryAreRecorded) {
    // The screen saved the boleto first: new date in place, the old one kept aside.
    db->exec(
        "UPDATE BOLETPAGAR SET DTATUAVENBOLPAG = DTVENBOLPAG, DTVENBOLPAG = '2024-05-20',"
        " IDSITUCNABP = '00'");
    addBudget(today, 1000, 300);
    ASSERT_TRUE(extend(today.addDays(5)).ok);
    EXPECT_DOUBLE_EQ(utilizado(today), 300);
    // A reason change alone (same date) is recorded too.
    ASSERT_TRUE(extend(today.addDays(5), "03").ok);
    EXPECT_EQ(history(), (std::vector<std::string>{"2024-05-15|2024-05-20|02|ADMIN|0002",
                                                   "2024-05-15|2024-05-20|03|ADMIN|0002"}));
    EXPECT_EQ(scalar("SELECT CDMOTIPROR FROM BOLETPAGAR").asString(), "03");
}

TEST_F(Extension, RefusalsStoreNothing) {
    const Date nova = today.addDays(3);
    expectRefused(nova, "Motivo da prorrogação deve ser informado.", " ");
    expectRefused(nova, "Motivo de prorrogação não cadastrado.", "99");
    expectRefused(Date(), "Data do vencimento deve ser informada.");
    expectRefused(today.addDays(-21),
                  "Data de vencimento deve ser maior que a data de entrada do documento.");
    db->exec("UPDATE BOLETPAGAR SET DTENTRSAID = NULL");
    expectRefused(today.addDays(-26),
                  "Data de vencimento do boleto não pode ser  inferior a data de emissão.");
    ASSERT_TRUE(extend(today.addDays(-25)).ok);  // the issue date itself passes
    expectRefused(nova,
                  "Operador OPER02 não pertence a um grupo autorizado a prorrogar vencimentos "
                  "da empresa 01.",
                  "02", context("01", "OPER02"));
    expectRefused(nova, "O boleto 0001/0000000001 não pertence à empresa 02.", "02", context(),
                  "02");
    db->exec("UPDATE BOLETPAGAR SET DTEMISSAO = NULL");
    expectRefused(today.addDays(-61),
                  "Boleto anterior à data de processamento não pode ser alterado.");
    db->exec("UPDATE BOLETPAGAR SET IDBLOQNFFIN = 'B'");
    expectRefused(nova, "Operação bloqueada! Boleto está ligado a uma nota bloqueada.");
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'B', IDBLOQNFFIN = NULL");
    expectRefused(nova, "Boleto já baixado por outro usuário.");
}

TEST_F(Extension, WithoutControlAnyOperatorMayExtend) {
    db->exec("UPDATE CONTPRORVENC SET IDCONTROLA = 'N'");
    CallResult r = extend(today.addDays(1), "01", context("01", "OPER02"));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(history().size(), 1u);
}

}  // namespace
}  // namespace pag::server::testing
