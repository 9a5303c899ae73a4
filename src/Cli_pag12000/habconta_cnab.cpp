// The guards every changing action of the boleto screen runs first: the remittance
// situation read afresh from the server, the compensation checks and the
// blocked-invoice guard.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

// A boleto in a remittance file: any situation but empty, "00" and "01".
bool enviadoAoBanco(const std::string& situacao) {
    return !(situacao.empty() || situacao == "00" || situacao == "01");
}

}  // namespace

std::string TfrmHabConta::AtualizaSITUCNAB(const std::string& lancamento,
                                           const std::string& filial) {
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        payload = CheckResultServ(
            Ui(), netHabConta.Call("GetSitCNAB", {Value(lancamento), Value(filial)}));
    }
    cdsSitCNAB.SetData(PayloadPacket(payload));
    if (cdsSitCNAB.IsEmpty()) return {};
    return cdsSitCNAB.FieldByName("IDSITUCNABP").AsString();
}

void TfrmHabConta::VerificaSitCNAB(const std::string& situacao, bool confirm, bool block) {
    if (!enviadoAoBanco(situacao)) return;
    const std::string controle = ParametroGeralPag("IDUTCTRLCANREMP");
    if (confirm) {
        if (controle == "N") {
            if (msgPadrao.ShowMsg(Ui(), "CONF_CANC_BOL_CNAB", MessageKind::Confirmation) !=
                ModalResult::Yes)
                throw SilentAbort();
            return;
        }
        MensErro(Ui(), msgPadrao.Msg("BOL_CNAB"));
    }
    if (controle == "S" || block) MensErro(Ui(), msgPadrao.Msg("BOL_CNAB"));
}

bool TfrmHabConta::VdBolCompensado() {
    const Value r = DirectResult(
        Ui(),
        netHabConta.Call("GetVdBolCompensado", {Value(filialAtual()), Value(lancamentoAtual())}));
    return r.asString() == "TRUE";
}

void TfrmHabConta::GravaChaveBoletos(const std::string& kind) {
    if (!cdsChaveBol.Active()) cdsChaveBol.CreateDataSet();
    cdsChaveBol.EmptyDataSet();
    ClientDataSet& lista = kind == "B" ? cdsBoletos : cdsParcelas;
    if (!lista.Active()) return;
    ControlsDisabled congelada(lista);
    DetachEvent rolagem(lista.AfterScroll);
    BookmarkReturn volta(lista);
    for (lista.First(); !lista.Eof(); lista.Next()) {
        cdsChaveBol.Append();
        cdsChaveBol.FieldByName("CDFILIAL").SetAsString(lista.FieldByName("CDFILIAL").AsString());
        cdsChaveBol.FieldByName("NRLANBOLPAG")
            .SetAsString(lista.FieldByName("NRLANBOLPAG").AsString());
        cdsChaveBol.Post();
    }
}

bool TfrmHabConta::VdTBolCompensado(const std::string& kind) {
    GravaChaveBoletos(kind);
    std::vector<Value> args{Value(cdsChaveBol.Data())};
    const std::string chave =
        DirectResult(Ui(), netHabConta.Call("GetVdTBolCompensado", args)).asString();
    if (chave.empty()) return false;
    ClientDataSet& lista = kind == "B" ? cdsBoletos : cdsParcelas;
    lista.Locate("CDFILIAL;NRLANBOLPAG", {Value(chave.substr(0, 4)), Value(chave.substr(4, 10))});
    return true;
}

bool TfrmHabConta::VdNFBloqueada(bool show) {
    const bool bloqueada =
        temBoletoAtual() && cdsBoletos.FieldByName("IDBLOQNFFIN").AsString() == "B";
    if (bloqueada && show) MensErro(Ui(), msgPadrao.Msg("NFBLOQ"));
    return bloqueada;
}

}  // namespace pag
