// A clerk associating two boletos of one supplier into a real boleto with the mouse and
// the keyboard, typing its payment data, and cancelling the real boleto again.
#include "desktop_fixture.h"

namespace pag::gui {
namespace {

constexpr const char* kFornecedor = "000000000000000000009";
constexpr const char* kReais =
    "SELECT COUNT(*) FROM BOLETPAGAR WHERE IDBPAGREAL = 'S' AND CDFILIREAL IS NULL"
    " AND CDFORNECED = '000000000000000000009'";

class GroupingFlows : public DesktopScreen {
protected:
    void beforeOpening(Database& db) override {
        // Two boletos of one supplier due today, entered before.
        db.exec(
            "UPDATE BOLETPAGAR SET DTVENBOLPAG = date('now'), DTENTRSAID = date('now', '-5 "
            "days') WHERE CDFILIAL = '0001' AND NRLANBOLPAG IN ('0000000033', '0000000105')");
    }

    void mark(const char* lancamento) {
        goToBoleto("0001", lancamento);
        clickCell(table(),
                  table()->model()->index(boletos().RecNo() - 1, tableColumn("IDMARCADO")));
        settle();
    }
};

TEST_F(GroupingFlows, TwoBoletosAreAssociatedByKeysAndTheRealBoletoCancelled) {
    mark("0000000033");
    mark("0000000105");
    EXPECT_EQ(shown("nedTotal"), QStringLiteral("3.798,12"));
    press(table(), Qt::Key_B, {}, Qt::ControlModifier);  // Associar Boleto
    settle();
    EXPECT_EQ(pages().ActivePage()->Name(), "tshDadosPag");
    EXPECT_EQ(boletos().State(), DataSetState::Insert);
    EXPECT_EQ(shown("dbdVencimento"), toQ(Date::today().toString()));
    EXPECT_FALSE(tabs()->isTabEnabled(control<Page>("tshFolhaDados").PageIndex()));
    retype("dbeCdTpBaixa", QStringLiteral("22"));
    leave("dbeCdTpBaixa");
    retype("dbeReduCont", QStringLiteral("2"));
    leave("dbeReduCont");
    EXPECT_EQ(shown("DBEdit11"), QStringLiteral("ITAU PAGAMENTOS"));
    toolButton("sbtConfirmar")->click();
    settle();
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join('\n'));
    EXPECT_EQ(boletos().State(), DataSetState::Browse);
    EXPECT_EQ(queried(kReais).asFloat(), 1);
    EXPECT_EQ(queried("SELECT CAST(ROUND(VRFINALBPAG * 100) AS INTEGER) FROM BOLETPAGAR WHERE "
                      "IDBPAGREAL = 'S' AND CDFORNECED = :F",
                      {{"F", Value(kFornecedor)}})
                  .asFloat(),
              379812);
    // The list shows the real boleto, and the parts are no longer listed.
    EXPECT_EQ(boletos().FieldByName("IDBPAGREAL").AsString(), "S");
    EXPECT_FALSE(boletos().Locate("CDFILIAL;NRLANBOLPAG", {Value("0001"), Value("0000000033")}));
    boletos().Locate("IDBPAGREAL;CDFORNECED", {Value("S"), Value(kFornecedor)});

    clickTab("tshFolhaDados");
    ASSERT_TRUE(toolButton("sbtCancelaBol")->isEnabled());
    press(table(), Qt::Key_R, {}, Qt::ControlModifier);  // Cancelar Boleto Real
    settle();
    EXPECT_TRUE(boxes_.seen.isEmpty()) << fromQ(boxes_.seen.join('\n'));
    EXPECT_EQ(queried(kReais).asFloat(), 0);
    EXPECT_EQ(queried("SELECT COUNT(*) FROM BOLETPAGAR WHERE CDFILIREAL IS NULL AND CDFILIAL = "
                      "'0001' AND NRLANBOLPAG IN ('0000000033', '0000000105')")
                  .asFloat(),
              2);
    EXPECT_TRUE(boletos().Locate("CDFILIAL;NRLANBOLPAG", {Value("0001"), Value("0000000033")}));
}

}  // namespace
}  // namespace pag::gui
