// The tax guide command with what the screen's controls never let a user reach (a
// boleto that pays no tax) and what the demo server never does (refuse the guide), and
// the arguments of the guide exactly as they travel.
#include <string>

#include "Cli_pag12003/cadguiaimp.h"
#include "habconta/screen_fixture.h"

namespace pag {
namespace {

constexpr const char* kFgts = "0000000019";

class GuiaDeTributo : public testing_screen::ScreenTest {
protected:
    void PrepareDatabase(scenario::ScenarioDatabase& db) override {
        db.exec(
            "UPDATE BOLETPAGAR SET DTVENBOLPAG = date('now') WHERE CDFILIAL = '0001' AND "
            "NRLANBOLPAG = '0000000019'");
    }

    // Opens the guide dialog on the current boleto; `noDialogo` acts in it as the user,
    // `depois` looks at it, and the dialog is then cancelled when still open. True when
    // the list was read again.
    bool abre(const std::function<void(TfrmCadGuiaImp&)>& noDialogo,
              const std::function<void(TfrmCadGuiaImp&)>& depois = {}) {
        abriu_ = false;
        ui_.ModalHandler = [&](Form& f) {
            abriu_ = true;
            auto& d = dynamic_cast<TfrmCadGuiaImp&>(f);
            usuario([&] { noDialogo(d); });
            if (depois) depois(d);
            if (d.GetModalResult() == ModalResult::None) usuario([&] { d.sbtCancel.Click(); });
            return d.GetModalResult();
        };
        const size_t leituras = chamadas("GetBoletos").size();
        usuario([&] { tela().sbtCadGuiaImpClick(); });
        return chamadas("GetBoletos").size() > leituras;
    }

    std::string mensagem() {
        auto m = ui_.TakeMessage();
        return m ? m->text : std::string("(nenhuma mensagem)");
    }

    bool abriu_ = false;
};

TEST_F(GuiaDeTributo, BoletoThatPaysNoTaxStopsBeforeTheDialog) {
    vaiPara("0001", "0000000025");
    ASSERT_EQ(tela().cdsBoletos.FieldByName("IDBAIXAUTILP").AsString(), "B");
    EXPECT_FALSE(abre([](TfrmCadGuiaImp&) {}));
    EXPECT_FALSE(abriu_);
    EXPECT_EQ(mensagem(),
              "Operação disponível apenas para boletos com tipo de baixa: Darf Simples, Darf "
              "Normal, FGTS, GPS, IPVA, DPVAT, DARJ");
    EXPECT_TRUE(chamadas("SetTribBol").empty());
}

TEST_F(GuiaDeTributo, RefusedGuideKeepsTheDialogOpenAndCancelReadsNothing) {
    vaiPara("0001", kFgts);
    intercept_ = [](const std::string& op, std::vector<Value>&,
                    const std::function<CallResult()>& proceed) {
        return op == "SetTribBol" ? CallResult::failure("Boleto alterado por outro usuário.")
                                  : proceed();
    };
    bool aberto = false;
    EXPECT_FALSE(abre(
        [](TfrmCadGuiaImp& d) {
            d.medCdReceitaFGTS.SetText("115");
            d.sbtConfirma.Click();
        },
        [&](TfrmCadGuiaImp& d) {
            aberto = d.GetModalResult() == ModalResult::None && !d.Confirmado();
        }));
    EXPECT_TRUE(aberto);
    EXPECT_NE(mensagem().find("Boleto alterado por outro usuário."), std::string::npos);
    EXPECT_EQ(chamadas("SetTribBol").size(), 1u);
    EXPECT_EQ(Cli_pag12003::frmCadGuiaImp, nullptr);
    EXPECT_EQ(Cli_pag12003::stTpPag, "U");
}

TEST_F(GuiaDeTributo, TenArgumentsTravelInOrderAndFgtsSendsNoPeriod) {
    vaiPara("0001", kFgts);
    EXPECT_TRUE(abre([](TfrmCadGuiaImp& d) {
        d.medCdReceitaFGTS.SetText("115");
        d.medIdFGTS.SetText("1234567890123456");
        d.medLacreConFGTS.SetText("987654321");
        d.medDigConFGTS.SetText("42");
        d.sbtConfirma.Click();
    }));
    const auto feitas = chamadas("SetTribBol");
    ASSERT_EQ(feitas.size(), 1u);
    const std::vector<Value>& a = feitas[0]->args;
    ASSERT_EQ(a.size(), 10u);
    EXPECT_EQ(a[0].asString(), kFgts);
    EXPECT_EQ(a[1].asString(), "0001");
    EXPECT_EQ(a[2].asString(), "115");
    EXPECT_TRUE(a[3].isNull());
    EXPECT_EQ(a[4].asString(), "00001234567890123456");
    EXPECT_EQ(a[5].asFloat(), 0.0);
    EXPECT_EQ(a[6].asString(), "987654321");
    EXPECT_EQ(a[7].asString(), "42");
    EXPECT_EQ(a[8].asFloat(), 0.0);
    EXPECT_EQ(a[9].asString(), "");
    EXPECT_FALSE(ui_.HasUntakenMessages());
    // Read again on the same boleto, with what the server kept.
    EXPECT_EQ(tela().cdsBoletos.FieldByName("NRLANBOLPAG").AsString(), kFgts);
    EXPECT_EQ(tela().cdsBoletos.FieldByName("NRREFEGUIA").AsString(), "00001234567890123456");
}

}  // namespace
}  // namespace pag
