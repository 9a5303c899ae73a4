// The deductions unit's variables, its entry that fills and shows the dialog for one
// boleto and destroys it when it closes, and the unit's finalization.
#include <memory>
#include <stdexcept>

#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12001/abatimento_internal.h"
#include "contracts/client/suite_context.h"
#include "contracts/consiste.h"

namespace pag {

// ---- module variables
TfrmAbatimento* frmAbatimento = nullptr;
bool boStCriado = false;
bool boAjusteIncluido = false;
std::string stCodForn;
std::string stFilial;
std::string stNrlanBol;
double doPagar = 0;
double doVrDevol = 0;
double doAdia = 0;
double Total = 0;
double stContaAdi = 0;
double stContaDev = 0;

namespace {

std::unique_ptr<TfrmAbatimento> gDialogo;

void liberaDialogo() {
    frmAbatimento = nullptr;
    boStCriado = false;
    gDialogo.reset();
}

// Sum of a money field over every row, each rounded to the cent.
double soma(ClientDataSet& ds, const char* campo) {
    double total = 0;
    for (int n = 1; n <= ds.RecordCount(); ++n) {
        DisplayRecordScope linha(ds, n);
        total = RoundDec(total + RoundDec(ds.FieldByName(campo).AsFloat(), 2), 2);
    }
    return total;
}

}  // namespace

TfrmHabConta& telaBoletos() {
    if (!frmHabConta) throw std::logic_error("O abatimento precisa da tela de boletos já criada.");
    return *frmHabConta;
}

void esvaziaDetalhes(TfrmHabConta& tela) {
    for (ClientDataSet* ds : {&tela.cdsAdiantamento, &tela.cdsDevolucao})
        if (ds->Active())
            ds->EmptyDataSet();
        else
            ds->CreateDataSet();
}

void TfrmAbatimento::FormActivate() {
    esvaziaDetalhes(telaBoletos());
}

void TfrmAbatimento::Prepara(double valorBoleto, const std::string& kind) {
    TfrmHabConta& tela = telaBoletos();
    const bool adiantamentos = kind == "0";
    const std::string nome = msgPadrao.Msg(adiantamentos ? "Adiantamento" : "Devolucao");
    SetCaption(Caption() + nome);
    lblTotal.SetCaption(lblTotal.Caption() + nome);
    ntbConsulta.SetActivePage(adiantamentos ? &tshAdiantamento : &tshDevolucao);
    DataSource& fonte = adiantamentos ? dtsContaAd : dtsCompra;
    dbeInscFor.Bind(&fonte, "NRINSJURFORN");
    dbeNmFornecedor.Bind(&fonte, "NMRAZSOCFORN");
    if (adiantamentos) {
        cdsContaAd.SetData(tela.qryAdiantamento.Data());
        nedAbatimento.SetNumber(soma(cdsContaAd, "VRORIGINAL"));
        tela.cdsAdiantamento.SetFiltered(false);
        cdsContaAd.First();
        doPagar = valorBoleto;
        return;
    }
    cdsCompra.SetData(tela.qryDevolucao.Data());
    // Notes with nothing left to deduct are not offered; the others pass the row
    // checks once.
    cdsCompra.First();
    while (!cdsCompra.Eof()) {
        if (RoundDec(cdsCompra.FieldByName("VRDISPONIVEL").AsFloat(), 2) <= 0) {
            cdsCompra.Delete();
            continue;
        }
        cdsCompra.Edit();
        cdsCompra.Post();
        cdsCompra.Next();
    }
    nedAbatimento.SetNumber(soma(cdsCompra, "VRNFDEVOL"));
    tela.cdsDevolucao.SetFiltered(false);
    cdsCompra.First();
    doVrDevol = valorBoleto;
}

void CriaAbatimento(double valorBoleto, const std::string& fornecedor, const std::string& filial,
                    const std::string& lancamento, const std::string& kind) {
    boAjusteIncluido = false;
    if (!boStCriado || !gDialogo) {
        gDialogo = std::make_unique<TfrmAbatimento>();
        frmAbatimento = gDialogo.get();
        frmAbatimento->SetUserInterface(Suite().ui);
        frmAbatimento->DoCreate();
    }
    boStCriado = true;
    // Created for this use only: whatever way the dialog ends, it goes.
    struct Libera {
        ~Libera() { liberaDialogo(); }
    } libera;
    stCodForn = fornecedor;
    stFilial = filial;
    stNrlanBol = lancamento;
    frmAbatimento->Prepara(valorBoleto, kind);
    frmAbatimento->ShowModal(*Suite().ui);
}

void DestroiAbatimento() {
    liberaDialogo();
}

void Cli_pag12001_Finalize() {
    DestroiAbatimento();
    stCodForn.clear();
    stFilial.clear();
    stNrlanBol.clear();
}

}  // namespace pag
