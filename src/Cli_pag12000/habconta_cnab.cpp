// The guards every changing action of the boleto screen runs first: the remittance
// situation read afresh from the server, the compensation checks and the
// blocked-invoice guard.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "contracts/screen_records.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

// A boleto in a remittance file: any situation but empty, "00" and "01".
bool enviadoAoBanco(const std::string& situacao) {
    return !(situacao.empty() || situacao == "00" || situacao == "01");
}

std::string chaveCaminhada(const std::string& filial, const std::string& lancamento) {
    return filial + '\x1f' + lancamento;
}

}  // namespace

std::string TfrmHabConta::AtualizaSITUCNAB(const std::string& lancamento,
                                           const std::string& filial) {
    if (caminhada_) {
        const auto lida = caminhada_->situacoes.find(chaveCaminhada(filial, lancamento));
        if (lida != caminhada_->situacoes.end())
            return *(caminhada_->ultimaSituacao = lida->second);
    }
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

void TfrmHabConta::iniciaCaminhada() {
    Packet chaves(RecordPacketFields("cdsChaveBol"));
    {
        Field& marca = cdsBoletos.FieldByName(kMarca);
        Field& filial = cdsBoletos.FieldByName("CDFILIAL");
        Field& lancamento = cdsBoletos.FieldByName("NRLANBOLPAG");
        for (int n = 1; n <= cdsBoletos.RecordCount(); ++n) {
            DisplayRecordScope linha(cdsBoletos, n);
            if (marca.AsString() == "S") chaves.addRow({filial.AsString(), lancamento.AsString()});
        }
    }
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        payload = CheckResultServ(
            Ui(), netHabConta.Call("GetSitCNABBoletos",
                                   {Value(std::make_shared<Packet>(std::move(chaves)))}));
    }
    const PacketPtr lidas = PayloadPacket(payload);
    LeiturasDaCaminhada leituras;
    const int filialAt = lidas->fieldIndex("CDFILIAL");
    const int lancAt = lidas->fieldIndex("NRLANBOLPAG");
    const int sitAt = lidas->fieldIndex("IDSITUCNABP");
    if (filialAt < 0 || lancAt < 0 || sitAt < 0)
        MensErro(Ui(), "Resposta de GetSitCNABBoletos sem os campos da chave e da situação.");
    for (const std::string& row : lidas->rows) {
        const auto texto = [&](int at) {
            return std::string(lidas->layout.text(row, static_cast<size_t>(at)));
        };
        leituras.situacoes[chaveCaminhada(texto(filialAt), texto(lancAt))] = texto(sitAt);
    }
    caminhada_ = std::move(leituras);
}

void TfrmHabConta::terminaCaminhada() noexcept {
    if (!caminhada_) return;
    std::optional<std::string> ultima = std::move(caminhada_->ultimaSituacao);
    caminhada_.reset();
    if (!ultima) return;
    try {
        Packet lida(RecordPacketFields("cdsSitCNAB"));
        lida.addRow({Value(*ultima)});
        cdsSitCNAB.SetData(std::make_shared<Packet>(std::move(lida)));
    } catch (const std::exception&) {
        // Only a later check reads it, and that check reads the server again when empty.
        cdsSitCNAB.Close();
    }
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
