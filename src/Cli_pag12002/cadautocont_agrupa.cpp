// The server call of the automatic enabling: the eligible boletos and their suppliers
// with the common due date, reason and paying account. The server answers "OK" (or
// nothing) when it enabled them all, otherwise a key of the main screen's table or a
// text to show as it stands; it stores nothing when it refuses.
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12002/cadautocont_internal.h"

namespace pag {

namespace {

// The answers that stand for the main screen's message "2" + answer.
constexpr std::string_view kAlteradosPorOutro[] = {"BOL_EXC", "BOL_BAIXADO", "CNT_PREV",
                                                   "CNT_PROR"};
// The answers that are keys of the main screen's table as they stand.
constexpr std::string_view kChavesDaTela[] = {"BOL_CNAB", "CONF_CANC_BOL_CNAB", "VRBOL_DIF",
                                              "VRBOLF_DIF", "N_pode_agrup"};

template <size_t N>
bool contem(const std::string_view (&lista)[N], std::string_view r) {
    for (std::string_view k : lista)
        if (k == r) return true;
    return false;
}

}  // namespace

std::string TextoRespostaAgrupamento(const TMessages& tela, const std::string& resposta) {
    if (contem(kAlteradosPorOutro, resposta)) return tela.Msg("2" + resposta);
    if (contem(kChavesDaTela, resposta)) return tela.Msg(resposta);
    return resposta;
}

void TfrmCadAutoCont::AgrupaFornecedores() {
    TfrmHabConta& tela = telaHabConta();
    const SuiteServices& suite = Suite();
    Value resposta;
    {
        BusyScope avi(Ui(), kAviProcessando);
        // Passed by reference; what the server writes back is not used.
        const std::string orcamento = suite.login.UtilizaOrcaFina ? "1" : "0";
        std::vector<Value> args{Value(cdsBoletosMarcados.Data()),
                                Value(cdsFornecedor.Data()),
                                Value(depVencimento.GetDate()),
                                Value(medTpProrroga.Text()),
                                Value(medReduCont.Text()),
                                Value(tela.medEmpresa.Text()),
                                Value(orcamento),
                                Value(edtCdBanco.Text()),
                                Value(suite.login.FiliProc)};
        // A call that never reached the server is not an answer: it is shown as a failure.
        resposta = DirectResult(Ui(), tela.netHabConta.Call("SetAgrupaFornecedores", args, {6}));
    }
    if (IsOkText(resposta)) return;
    MensErro(Ui(), TextoRespostaAgrupamento(tela.msgPadrao, AllTrim(resposta.asString())));
}

}  // namespace pag
