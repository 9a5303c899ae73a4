// The deductions dialog's ways out: the confirmation that records the discount
// adjustment with its advances or return notes, the cancel that marks the boleto
// without a deduction, and the close steps that mark it with its lowered value.
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12001/abatimento_internal.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

double dinheiro(Field& f) {
    return RoundDec(f.AsFloat(), 2);
}

// Calls step for every row of ds marked "S".
template <typename Step>
void paraCadaMarcada(ClientDataSet& ds, Step&& step) {
    ControlsDisabled congelada(ds);
    for (ds.First(); !ds.Eof(); ds.Next())
        if (ds.FieldByName("IDMARCADO").AsString() == "S") step();
}

}  // namespace

void TfrmAbatimento::Vd_VrADescontar() {
    const double valor = RoundDec(nedVrADesc.GetNumber(), 2);
    if (valor <= 0) erro("vrDesc_n_inf", nullptr);
    if (valor > RoundDec(doPagar, 2)) erro("VrADesc_dv<doPag", nullptr);
    if (valor > RoundDec(nedAbatimento.GetNumber(), 2)) erro("VrADesc_dv<nedT", nullptr);
}

void TfrmAbatimento::copiaAdiantamentos(const std::string& tipo) {
    ClientDataSet& destino = telaBoletos().cdsAdiantamento;
    paraCadaMarcada(cdsContaAd, [&] {
        if (dinheiro(cdsContaAd.FieldByName("VRDESCONTO")) <= 0) return;
        destino.Append();
        destino.FieldByName("FILIALBOLPAG").SetAsString(stFilial);
        destino.FieldByName("NRLANBOLPAG").SetAsString(stNrlanBol);
        for (const char* c : {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"})
            destino.FieldByName(c).SetAsString(cdsContaAd.FieldByName(c).AsString());
        destino.FieldByName("VRDESCONTO")
            .SetAsFloat(cdsContaAd.FieldByName("VRDESCONTO").AsFloat());
        destino.FieldByName("CDFORNECED").SetAsString(stCodForn);
        destino.FieldByName("CDAJUCTPAG").SetAsString(tipo);
        destino.Post();
    });
}

void TfrmAbatimento::copiaDevolucoes(const std::string& tipo) {
    ClientDataSet& destino = telaBoletos().cdsDevolucao;
    paraCadaMarcada(cdsCompra, [&] {
        destino.Append();
        destino.FieldByName("FILIDEVOL").SetAsString(cdsCompra.FieldByName("FILIDEVO").AsString());
        destino.FieldByName("NRNFDEVOL").SetAsString(cdsCompra.FieldByName("NRNFDEVO").AsString());
        destino.FieldByName("FILIALBOLPAG").SetAsString(stFilial);
        destino.FieldByName("NRLANBOLPAG").SetAsString(stNrlanBol);
        destino.FieldByName("CDAJUCTPAG").SetAsString(tipo);
        destino.FieldByName("VRDESCONTO").SetAsFloat(dinheiro(cdsCompra.FieldByName("VRDESCONTO")));
        destino.Post();
    });
}

void TfrmAbatimento::gravaAjuste(const std::string& tipo) {
    ClientDataSet& ajustes = telaBoletos().cdsAjBolPag;
    if (!ajustes.Active()) ajustes.CreateDataSet();
    // The dialog checked the deduction itself; the save after the post still runs.
    DetachEvent semVerificacao(ajustes.BeforePost);
    if (ajustes.State() != DataSetState::Insert) ajustes.Insert();
    ajustes.FieldByName("CDFILIAL").SetAsString(stFilial);
    ajustes.FieldByName("NRLANBOLPAG").SetAsString(stNrlanBol);
    ajustes.FieldByName("CDAJUCTPAG").SetAsString(tipo);
    ajustes.FieldByName("DSAJUCTPAG").SetAsString(edtAjDescPag.Text());
    ajustes.FieldByName("VRAJBOLPAG").SetAsFloat(RoundDec(nedVrADesc.GetNumber(), 2));
    ajustes.FieldByName("IDAJUCTPAG").SetAsString("D");
    ajustes.Post();
}

void TfrmAbatimento::sbtConfirmaClick() {
    TfrmHabConta& tela = telaBoletos();
    boAtualizaBoletos = false;
    ClientDataSet& linhas = dadosAtuais();
    if (editando(linhas)) linhas.Post();
    Vd_CdAjDescPag(true);
    if (Adiantamentos()) {
        Vd_VrADescontar();
        Vd_AjusteBol();
    } else {
        Vd_AjusteBol();
        const double valor = RoundDec(nedVrADesc.GetNumber(), 2);
        if (valor <= 0) erro("vrDesc<0", nullptr);
        if (valor > RoundDec(doVrDevol, 2)) erro("vrDesc_<_vrbol", nullptr);
    }
    const std::string tipo = medAjDescPag.Text();
    try {
        // The detail holds this confirmation's choice only, also after a refused one.
        esvaziaDetalhes(tela);
        if (Adiantamentos())
            copiaAdiantamentos(tipo);
        else
            copiaDevolucoes(tipo);
        gravaAjuste(tipo);
    } catch (...) {
        esvaziaDetalhes(tela);
        if (editando(tela.cdsAjBolPag)) tela.cdsAjBolPag.Cancel();
        throw;
    }
    esvaziaDetalhes(tela);
    tela.GetAjustes();
    tela.GetParcelas();
    boAjusteIncluido = true;
    if (IsModal())
        SetModalResult(ModalResult::Ok);
    else
        Close();
}

void TfrmAbatimento::marcaBoleto(double desconto) {
    TfrmHabConta& tela = telaBoletos();
    ClientDataSet& boletos = tela.cdsBoletos;
    if (!boletos.Active() || boletos.IsEmpty()) return;
    // The mark and the lowered value travel with the boleto's next save.
    DetachEvent semGravar(boletos.AfterPost);
    if (editando(boletos)) boletos.Cancel();
    Field& valor = boletos.FieldByName("VRFINALBPAG");
    const bool jaMarcado = boletos.FieldByName("IDMARCADO").AsString() == "S";
    const double antes = dinheiro(valor);
    boletos.Edit();
    boletos.FieldByName("IDMARCADO").SetAsString("S");
    if (desconto != 0) valor.SetAsFloat(RoundDec(antes - RoundDec(desconto, 2), 2));
    boletos.Post();
    // The totals change only once the row took the mark; a boleto already marked
    // counts once, with its new value.
    const double total = RoundDec(tela.nedTotal.GetNumber(), 2) - (jaMarcado ? antes : 0);
    tela.nedTotal.SetNumber(RoundDec(total + dinheiro(valor), 2));
    if (!jaMarcado) tela.nedCont.SetNumber(tela.nedCont.GetNumber() + 1);
}

void TfrmAbatimento::sbtCancelClick() {
    marcaBoleto(0);
    TfrmRotiGeral::sbtCancelClick();
}

void TfrmAbatimento::FormClose(CloseAction& action) {
    TfrmRotiGeral::FormClose(action);
    boStCriado = false;
    boAtualizaBoletos = true;
    TfrmHabConta& tela = telaBoletos();
    if (editando(tela.cdsAjBolPag)) tela.cdsAjBolPag.Cancel();
    if (boAjusteIncluido) marcaBoleto(nedVrADesc.GetNumber());
}

}  // namespace pag
