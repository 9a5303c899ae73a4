// The automatic enabling dialog with what the demo data cannot make the server do:
// every answer it may give, a call that never reaches it, and the arguments exactly as
// they travel.
#include <string>

#include "Cli_pag12002/cadautocont.h"
#include "habconta/screen_fixture.h"

namespace pag {
namespace {

class HabilitacaoAutomatica : public testing_screen::ScreenTest {
protected:
    // Marks a boleto in the list as the grid's mark column does, without its questions;
    // with a situation, the list shows that remittance situation for it.
    void marca(const char* filial, const char* lancamento, const char* situacao = nullptr) {
        vaiPara(filial, lancamento);
        ClientDataSet& b = tela().cdsBoletos;
        DetachEvent semPermissao(b.BeforeEdit);
        DetachEvent semVerificar(b.BeforePost);
        DetachEvent semGravar(b.AfterPost);
        b.Edit();
        b.FieldByName("IDMARCADO").SetAsString("S");
        if (situacao) b.FieldByName("IDSITUCNABP").SetAsString(situacao);
        b.Post();
    }

    // The boletos the one call of the automatic enabling sent, as "branch/launch".
    std::vector<std::string> enviados() {
        const auto feitas = chamadas("SetAgrupaFornecedores");
        if (feitas.size() != 1) return {"(" + std::to_string(feitas.size()) + " chamadas)"};
        ClientDataSet boletos;
        boletos.SetData(feitas[0]->args[0].asPacket());
        std::vector<std::string> out;
        for (boletos.First(); !boletos.Eof(); boletos.Next())
            out.push_back(boletos.FieldByName("CDFILIAL").AsString() + "/" +
                          boletos.FieldByName("NRLANBOLPAG").AsString());
        return out;
    }

    // Opens the dialog from the main screen, fills the three values, confirms once and
    // lets `depois` look at the dialog before it is cancelled (when still open).
    ModalResult confirma(const std::function<void(TfrmCadAutoCont&)>& depois = {}) {
        ModalResult resultado = ModalResult::None;
        ui_.ModalHandler = [&](Form& f) {
            auto& d = dynamic_cast<TfrmCadAutoCont&>(f);
            usuario([&] {
                d.depVencimento.SetDate(Date::today());
                d.medTpProrroga.SetText("1");
                d.medReduCont.SetText("1");
                d.sbtConfirma.Click();
            });
            if (depois) depois(d);
            resultado = d.GetModalResult();
            return ModalResult::None;
        };
        usuario([&] { tela().sbtHabAutoClick(); });
        return resultado;
    }

    // Every call of the automatic enabling answers `resposta` instead of the server.
    void servidorResponde(CallResult resposta) {
        intercept_ = [resposta](const std::string& op, std::vector<Value>&,
                                const std::function<CallResult()>& proceed) {
            return op == "SetAgrupaFornecedores" ? resposta : proceed();
        };
    }

    std::string mensagem() {
        auto m = ui_.TakeMessage();
        return m ? m->text : std::string("(nenhuma mensagem)");
    }
};

TEST_F(HabilitacaoAutomatica, EachAnswerShowsItsMessageAndOnlySuccessCloses) {
    struct Caso {
        Value resposta;
        std::string texto;
    };
    const std::string feito = "Os boletos selecionados foram habilitados.";
    const Caso casos[] = {
        {Value("OK"), feito},
        {Value(), feito},
        {Value("  "), feito},
        {Value("BOL_EXC"),
         "Um dos boletos selecionados foi excluído ou associado por outro usuário."},
        {Value("BOL_BAIXADO"), "Um dos boletos selecionados foi baixado por outro usuário."},
        {Value("CNT_PREV"),
         "Tipo do documento de um dos boletos selecionados foi alterado por outro usuário. "
         "Conta de documento previsto não pode ser associada."},
        {Value("CNT_PROR"),
         "Uma conta foi prorrogada por outro usuário. Contas com vencimento diferente não "
         "podem ser associadas."},
        {Value("BOL_CNAB"), "Boleto enviado ao banco (via CNAB) não pode ser alterado."},
        {Value("CONF_CANC_BOL_CNAB"), "O boleto será excluído da remessa. Confirma cancelamento?"},
        {Value("VRBOL_DIF"), "Valor de uma conta foi alterado por outro usuário."},
        {Value("VRBOLF_DIF"), "Valor do boleto foi alterado por outro usuário."},
        {Value("N_pode_agrup"),
         "Total de boletos a pagar do mês supera o valor do orçamento. Boletos não podem ser "
         "agrupados."},
        // A key the dialog does not know is a text like any other.
        {Value("2CNT_PROR"), "2CNT_PROR"},
        {Value("Banco 341 não é o banco da conta corrente 001."),
         "Banco 341 não é o banco da conta corrente 001."},
    };
    marca("0001", "0000000025");
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        servidorResponde(CallResult::success(c.resposta));
        const bool sucesso = c.texto == feito;
        EXPECT_EQ(confirma(), sucesso ? ModalResult::Ok : ModalResult::None);
        EXPECT_EQ(mensagem(), c.texto);
        EXPECT_FALSE(ui_.HasUntakenMessages());
        EXPECT_EQ(Cli_pag12002::frmCadAutoCont, nullptr);
        EXPECT_FALSE(Cli_pag12002::boStCriado);
        // Whatever the answer, the list is read again, with the last confirmed filter.
        EXPECT_GT(tela().cdsBoletos.RecordCount(), 0);
        EXPECT_FALSE(tela().cdsBoletos.ControlsDisabled());
        EXPECT_FALSE(tela().cdsBoletos.Filtered());
        // The reload dropped the mark: the next case marks again.
        marca("0001", "0000000025");
    }
}

TEST_F(HabilitacaoAutomatica, CallThatNeverReachedTheServerIsNoSuccess) {
    marca("0001", "0000000025");
    servidorResponde(CallResult::failure("Servidor de aplicação indisponível."));
    EXPECT_EQ(confirma(), ModalResult::None);
    const std::string texto = mensagem();
    EXPECT_NE(texto.find("Servidor de aplicação indisponível."), std::string::npos) << texto;
    EXPECT_FALSE(ui_.HasUntakenMessages());
}

TEST_F(HabilitacaoAutomatica, NineArgumentsTravelInOrder) {
    services_.login.UtilizaOrcaFina = true;
    servidorResponde(CallResult::success(Value("X")));
    marca("0001", "0000000025");
    marca("0002", "0000000051");
    confirma();
    EXPECT_EQ(mensagem(), "X");
    const auto chamadasFeitas = chamadas("SetAgrupaFornecedores");
    ASSERT_EQ(chamadasFeitas.size(), 1u);
    const std::vector<Value>& a = chamadasFeitas[0]->args;
    ASSERT_EQ(a.size(), 9u);
    ClientDataSet boletos, fornecedores;
    boletos.SetData(a[0].asPacket());
    fornecedores.SetData(a[1].asPacket());
    std::vector<std::string> campos;
    for (size_t i = 0; i < boletos.FieldCount(); ++i)
        campos.push_back(boletos.Fields(i).FieldName());
    EXPECT_EQ(campos,
              (std::vector<std::string>{"CDFILIAL", "NRLANBOLPAG", "VRBOLPAG", "DTVENBOLPAG",
                                        "CDFORNECED", "DTENTRSAID", "CDTPBAIXAPAG", "VRFINALBPAG",
                                        "IDTPCTPAGAR", "CDREDUCONT", "IDBAIXAUTILP"}));
    EXPECT_EQ(boletos.RecordCount(), 2);
    EXPECT_EQ(fornecedores.RecordCount(), 2);
    EXPECT_EQ(a[2].asDate(), Date::today());
    EXPECT_EQ(a[3].asString(), "01");   // the reason brought to two digits
    EXPECT_EQ(a[4].asString(), "001");  // the account to three
    EXPECT_EQ(a[5].asString(), "01");
    EXPECT_EQ(a[6].asString(), "1");  // budget control in use
    EXPECT_EQ(a[7].asString(), "001");
    EXPECT_EQ(a[8].asString(), "0001");
}

TEST_F(HabilitacaoAutomatica, OnlyNotSentOrReturnedWithErrorAreSent) {
    servidorResponde(CallResult::success(Value("OK")));
    marca("0001", "0000000025", "00");
    marca("0002", "0000000051", "01");
    // Situations the list may show for boletos the database keeps otherwise.
    marca("0001", "0000000073", "");
    marca("0002", "0000000042", "30");
    marca("0002", "0000000090", "0");
    marca("0001", "0000000011", "00");  // a real boleto
    confirma();
    EXPECT_EQ(mensagem(), "Os boletos selecionados foram habilitados.");
    EXPECT_EQ(enviados(), (std::vector<std::string>{"0001/0000000025", "0002/0000000051"}));
}

TEST_F(HabilitacaoAutomatica, WithoutEligibleBoletosTheServerStillDecides) {
    confirma();
    EXPECT_EQ(mensagem(),
              "Nenhum dos boletos marcados pode ser habilitado automaticamente: boletos "
              "enviados ao banco e boletos associados ficam de fora.");
    const auto chamadasFeitas = chamadas("SetAgrupaFornecedores");
    ASSERT_EQ(chamadasFeitas.size(), 1u);
    EXPECT_EQ(chamadasFeitas[0]->args[0].asPacket()->rowCount(), 0u);
    EXPECT_EQ(chamadasFeitas[0]->args[1].asPacket()->rowCount(), 0u);
    EXPECT_EQ(chamadasFeitas[0]->args[6].asString(), "0");
}

}  // namespace
}  // namespace pag
