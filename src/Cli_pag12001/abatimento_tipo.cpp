// The deduction's adjustment type: typing and leaving the code, the pick list of the
// kind's discount types, and the question to the server whether the boleto already
// carries an adjustment of that type.
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12001/abatimento_internal.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

// Runs the type lookup of the page showing: one code, or all of them (null).
void abreTipos(TfrmAbatimento& f, const Value& codigo) {
    Query& q = f.qryTipoAjPagar;
    q.Close();
    q.ParamByName("P_CDAJUCTPAG").SetValue(codigo);
    q.ParamByName("P_IDTPAJPAGAR").SetAsString(f.Adiantamentos() ? "A" : "D");
    q.Open();
}

}  // namespace

void TfrmAbatimento::erro(const char* chave, Control* c) {
    if (c) focaFalha(*c);
    MensErro(Ui(), msgPadrao.Msg(chave));
}

void TfrmAbatimento::Vd_CdAjDescPag(bool confirmando) {
    if (EmptyString(medAjDescPag.Text())) {
        if (confirmando) erro("CdAjDeve", &medAjDescPag);
        return;
    }
    medAjDescPag.SetText(Ajusta(medAjDescPag.Text(), 4));
    abreTipos(*this, Value(medAjDescPag.Text()));
    if (qryTipoAjPagar.IsEmpty()) erro("TipoAjuste_NaoCad", &medAjDescPag);
    edtAjDescPag.SetText(qryTipoAjPagar.FieldByName("DSAJUCTPAG").AsString());
}

void TfrmAbatimento::medAjDescPagChange() {
    edtAjDescPag.Clear();
}

void TfrmAbatimento::medAjDescPagExit() {
    Vd_CdAjDescPag(false);
}

void TfrmAbatimento::btnDescontoBeforePesq() {
    abreTipos(*this, Value());
}

void TfrmAbatimento::btnDescontoAfterPesq() {
    medAjDescPag.SetText(qryTipoAjPagar.FieldByName("CDAJUCTPAG").AsString());
    edtAjDescPag.SetText(qryTipoAjPagar.FieldByName("DSAJUCTPAG").AsString());
}

void TfrmAbatimento::Vd_AjusteBol() {
    TfrmHabConta& tela = telaBoletos();
    Value resposta;
    {
        BusyScope avi(Ui(), kAviProcessando);
        std::vector<Value> args{Value(tela.cdsBoletos.FieldByName("CDFILIAL").AsString()),
                                Value(tela.cdsBoletos.FieldByName("NRLANBOLPAG").AsString()),
                                Value(medAjDescPag.Text())};
        resposta = CheckResultServ(Ui(), tela.netHabConta.Call("GetVerifAjust", args));
    }
    tela.cdsVerifAjust.SetData(PayloadPacket(resposta));
    if (tela.cdsVerifAjust.IsEmpty()) return;
    // A boleto carries at most one adjustment of each type: the main screen's message.
    focaFalha(medAjDescPag);
    MensErro(Ui(), tela.msgPadrao.Msg("CdAj_Ja_cad"));
}

}  // namespace pag
