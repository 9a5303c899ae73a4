// Saving boletos through the server as the screen does it: what the change log carries
// from each page, and two users working on the same boleto.
#include "habconta/screen_fixture.h"

namespace pag {
namespace {

class BoletoSave : public testing_screen::ScreenTest {
protected:
    void PrepareDatabase(scenario::ScenarioDatabase& db) override {
        // Boleto 0001/0000000025 pays by barcode and has no fine amount.
        db.exec(
            "UPDATE BOLETPAGAR SET VRMULTABPAG = NULL WHERE CDFILIAL = '0001' AND "
            "NRLANBOLPAG = '0000000025'");
        // Boleto 0001/0000000015, tied to a compensation, is due today too.
        db.exec(
            "UPDATE BOLETPAGAR SET DTVENBOLPAG = date('now') WHERE CDFILIAL = '0001' AND "
            "NRLANBOLPAG = '0000000015'");
    }

    // A field of the one modified row of the last change log sent.
    Value enviado(const char* field) {
        const auto saves = chamadas("SetBoletos");
        EXPECT_FALSE(saves.empty());
        if (saves.empty()) return Value();
        const Packet& p = *saves.back()->args.at(0).asPacket();
        EXPECT_EQ(p.changes.size(), 1u);
        return p.layout.decode(p.changes.at(0).values).at(static_cast<size_t>(p.fieldIndex(field)));
    }

    Value armazenado(const std::string& column, const char* filial, const char* lancamento) {
        return db_->firstValue("SELECT " + column + " FROM BOLETPAGAR WHERE CDFILIAL = '" + filial +
                               "' AND NRLANBOLPAG = '" + lancamento + "'");
    }
};

TEST_F(BoletoSave, PaymentPageSendsPlaceholdersForWhatHasNoValue) {
    vaiPara("0001", "0000000025");
    usuario([&] { tela().sbtAlterarClick(); });
    ASSERT_EQ(tela().cdsBoletos.State(), DataSetState::Edit);
    usuario([&] { tela().sbtConfirmarClick(); });
    EXPECT_TRUE(ui_.Problems().empty());
    ASSERT_EQ(chamadas("SetBoletos").size(), 1u)
        << (ui_.Messages().empty() ? "" : ui_.Messages().back().text);
    EXPECT_EQ(enviado("VRMULTABPAG"), Value(-1.0));
    EXPECT_EQ(enviado("CDBANCBOLP"), Value(" "));
    EXPECT_EQ(enviado("IDSITUCNABP"), Value("00"));
    // The server reads the placeholders as "no value".
    EXPECT_TRUE(armazenado("VRMULTABPAG", "0001", "0000000025").isNull());
    EXPECT_EQ(tela().cdsBoletos.ChangeCount(), 0);
}

TEST_F(BoletoSave, GridPageSendsNullsAsTheyAre) {
    vaiPara("0001", "0000000025");
    tela().dbgPadrao.SetSelectedIndex(IndiceCol(tela().dbgPadrao, "IDHABIBPAG"));
    usuario([&] { tela().dbgPadraoDblClick(); });
    ASSERT_EQ(chamadas("SetBoletos").size(), 1u);
    EXPECT_TRUE(enviado("VRMULTABPAG").isNull());
    EXPECT_TRUE(enviado("CDBANCBOLP").isNull());
    EXPECT_EQ(armazenado("IDHABIBPAG", "0001", "0000000025"), Value("S"));
}

TEST_F(BoletoSave, BoletoEnabledByAnotherUserIsRefusedAndPendingChangesGo) {
    // The other user works from the same list, through a server of their own.
    ClientDataSet outro;
    outro.SetData(tela().cdsBoletos.Data());
    ASSERT_TRUE(outro.Locate("CDFILIAL;NRLANBOLPAG", {Value("0002"), Value("0000000017")}));
    outro.Edit();
    outro.FieldByName("IDHABIBPAG").SetAsString("S");
    outro.Post();
    server::RdmHabConta servidorDoOutro(db_->path());
    std::vector<Value> args{Value(outro.Delta())};
    ASSERT_TRUE(
        servidorDoOutro.call({"01", "0001", "OPER01", std::nullopt}, "SetBoletos", args).ok);

    // Meanwhile this user marked a boleto, then enables the same one.
    vaiPara("0001", "0000000033");
    usuario([&] { tela().MarcaBoleto(); });
    ASSERT_EQ(tela().nedCont.GetNumber(), 1);
    vaiPara("0002", "0000000017");
    tela().dbgPadrao.SetSelectedIndex(IndiceCol(tela().dbgPadrao, "IDHABIBPAG"));
    usuario([&] { tela().dbgPadraoDblClick(); });
    ASSERT_FALSE(ui_.Messages().empty());
    EXPECT_EQ(
        ui_.Messages().back().text,
        "Boleto alterado por outro usuário. Atualize a lista de boletos e repita a operação.");
    EXPECT_EQ(tela().cdsBoletos.ChangeCount(), 0);
    EXPECT_EQ(tela().cdsBoletos.State(), DataSetState::Browse);
    EXPECT_EQ(tela().nedCont.GetNumber(), 0);
    vaiPara("0001", "0000000033");
    EXPECT_EQ(tela().cdsBoletos.FieldByName("IDMARCADO").AsString(), "N");
    EXPECT_EQ(armazenado("IDHABIBPAG", "0002", "0000000017"), Value("S"));
}

TEST_F(BoletoSave, CompensationChecksFindTheBoletoTiedToACompensation) {
    vaiPara("0001", "0000000033");
    bool compensado = true;
    usuario([&] { compensado = tela().VdBolCompensado(); });
    EXPECT_FALSE(compensado);
    vaiPara("0001", "0000000015");
    usuario([&] { compensado = tela().VdBolCompensado(); });
    EXPECT_TRUE(compensado);

    // The list check names the offending boleto and makes it current.
    vaiPara("0001", "0000000033");
    usuario([&] { compensado = tela().VdTBolCompensado("B"); });
    EXPECT_TRUE(compensado);
    EXPECT_EQ(tela().cdsBoletos.FieldByName("NRLANBOLPAG").AsString(), "0000000015");
    EXPECT_EQ(tela().cdsChaveBol.RecordCount(), tela().cdsBoletos.RecordCount());
    // Without a compensated boleto in the list the cursor stays where it was.
    db_->exec("DELETE FROM COMPENSABOL WHERE CDFILIAL = '0001' AND NRLANBOLPAG = '0000000015'");
    vaiPara("0001", "0000000033");
    usuario([&] { compensado = tela().VdTBolCompensado("B"); });
    EXPECT_FALSE(compensado);
    EXPECT_EQ(tela().cdsBoletos.FieldByName("NRLANBOLPAG").AsString(), "0000000033");
    EXPECT_TRUE(ui_.Messages().empty());
}

}  // namespace
}  // namespace pag
