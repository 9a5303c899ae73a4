// The deductions dialog with what the demo data cannot show: advances and return notes
// with nothing left to deduct, and an adjustment save the server refuses.
#include <utility>

#include "Cli_pag12001/abatimento.h"
#include "contracts/client/check_result.h"
#include "habconta/screen_fixture.h"

namespace pag {
namespace {

// Adds to part `index` of a GetDescontos answer one row with nothing available.
void semDisponivel(CallResult& r, size_t index,
                   std::initializer_list<std::pair<const char*, Value>> campos) {
    const ValueArray& partes = r.result.asArray();
    ClientDataSet ds;
    ds.SetData(PayloadPacket(r.result, index));
    ds.Append();
    for (const auto& [campo, valor] : campos)
        ds.FieldByName(campo).SetValue(valor);
    ds.FieldByName("IDMARCADO").SetAsString("N");
    ds.FieldByName("VRDESCONTO").SetAsFloat(0);
    ds.FieldByName("VRDISPONIVEL").SetAsFloat(0);
    ds.Post();
    ValueArray novas = partes;
    novas[index] = Value(ds.Data());
    r.result = Value(std::move(novas));
}

class Abatimento : public testing_screen::ScreenTest {
protected:
    // Marks the current boleto, accepting the advances and then the return notes; each
    // dialog runs `naTela` and is cancelled.
    void marcaComDialogos(const std::function<void(TfrmAbatimento&)>& naTela) {
        ui_.AnswerYes();  // For_Adi
        ui_.AnswerYes();  // NF_DEV
        ui_.ModalHandler = [&](Form& f) {
            auto& dialogo = dynamic_cast<TfrmAbatimento&>(f);
            naTela(dialogo);
            usuario([&] { dialogo.sbtCancel.Click(); });
            return ModalResult::None;
        };
        usuario([&] { tela().MarcaBoleto(); });
    }
};

TEST_F(Abatimento, RowsWithNothingAvailable) {
    intercept_ = [](const std::string& op, std::vector<Value>&,
                    const std::function<CallResult()>& proceed) {
        CallResult r = proceed();
        if (op != "GetDescontos" || !r.ok) return r;
        semDisponivel(r, 0,
                      {{"FILIDEVO", Value("0001")},
                       {"NRNFDEVO", Value("0000999999")},
                       {"VRNFDEVOL", Value(999.0)}});
        semDisponivel(r, 1,
                      {{"CDFILIAL", Value("0001")},
                       {"NRLANCTONF", Value("AD99999999")},
                       {"VRORIGINAL", Value(100.0)}});
        return r;
    };
    vaiPara("0001", "0000000001");
    int dialogos = 0;
    marcaComDialogos([&](TfrmAbatimento& d) {
        ++dialogos;
        if (d.Adiantamentos()) {
            // An exhausted advance stays and counts its original value, but cannot be
            // marked.
            ASSERT_EQ(d.cdsContaAd.RecordCount(), 3);
            EXPECT_DOUBLE_EQ(d.nedAbatimento.GetNumber(), 1620.0);
            ASSERT_TRUE(d.cdsContaAd.Locate("NRLANCTONF", Value("AD99999999")));
            d.dbgPadrao.SetSelectedIndex(IndiceCol(d.dbgPadrao, "IDMARCADO"));
            usuario([&] { d.dbgPadrao.KeyDown(Key::Space); });
            auto m = ui_.TakeMessage();
            ASSERT_TRUE(m);
            EXPECT_EQ(m->text, "Valor do desconto deve ser informado.");
            EXPECT_DOUBLE_EQ(d.nedVrADesc.GetNumber(), 0);
            EXPECT_DOUBLE_EQ(stContaAdi, 0);
        } else {
            // An exhausted return note is not offered and does not count.
            EXPECT_EQ(d.cdsCompra.RecordCount(), 2);
            EXPECT_FALSE(d.cdsCompra.Locate("NRNFDEVO", Value("0000999999")));
            EXPECT_DOUBLE_EQ(d.nedAbatimento.GetNumber(), 360.0);
        }
    });
    EXPECT_EQ(dialogos, 2);
    EXPECT_TRUE(ui_.Problems().empty());
    EXPECT_EQ(tela().cdsBoletos.FieldByName("IDMARCADO").AsString(), "S");
    EXPECT_DOUBLE_EQ(tela().nedCont.GetNumber(), 1);
    EXPECT_DOUBLE_EQ(tela().nedTotal.GetNumber(), 120.0);
    // Every handler the dialogs detached on the main screen is back.
    EXPECT_TRUE(tela().cdsBoletos.AfterPost);
    EXPECT_TRUE(tela().cdsBoletos.BeforeEdit);
}

TEST_F(Abatimento, RefusedSaveLeavesNothingBehindAndTheChecksAttached) {
    bool recusa = true;
    intercept_ = [&](const std::string& op, std::vector<Value>&,
                     const std::function<CallResult()>& proceed) {
        if (op == "SetAjBolPag" && std::exchange(recusa, false))
            return CallResult::failure("Servidor indisponível.");
        return proceed();
    };
    vaiPara("0001", "0000000025");
    ui_.AnswerYes();  // For_Adi
    ui_.AnswerNo();   // NF_DEV
    ui_.ModalHandler = [&](Form& f) {
        auto& d = dynamic_cast<TfrmAbatimento&>(f);
        d.dbgPadrao.SetSelectedIndex(IndiceCol(d.dbgPadrao, "IDMARCADO"));
        usuario([&] { d.dbgPadrao.KeyDown(Key::Space); });
        d.medAjDescPag.SetText("0020");
        usuario([&] { d.sbtConfirma.Click(); });
        EXPECT_EQ(ui_.TakeMessage()->text, "Servidor indisponível.");
        EXPECT_TRUE(d.Visible());
        EXPECT_EQ(tela().cdsAdiantamento.RecordCount(), 0);
        EXPECT_EQ(tela().cdsAjBolPag.ChangeCount(), 0);
        EXPECT_TRUE(tela().cdsAjBolPag.BeforePost);
        usuario([&] { d.sbtConfirma.Click(); });
        return ModalResult::None;
    };
    usuario([&] { tela().MarcaBoleto(); });
    EXPECT_TRUE(ui_.Problems().empty());
    EXPECT_FALSE(ui_.HasUntakenMessages());
    EXPECT_TRUE(boAjusteIncluido);
    EXPECT_TRUE(tela().cdsAjBolPag.BeforePost);
    const auto saves = chamadas("SetAjBolPag");
    ASSERT_EQ(saves.size(), 2u);
    // Each save carries the one advance chosen, once.
    for (const testing_screen::RecordedCall* c : saves)
        EXPECT_EQ(c->args.at(1).asPacket()->rowCount(), 1u);
}

}  // namespace
}  // namespace pag
