// The filter dialog's confirmation: checks, encoding of the criteria for the server, the
// loading of the boletos by the main screen and the record of the confirmed criteria;
// and the module's entry to the dialog.
#include <memory>
#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12100/filtro_hab_codes.h"
#include "Cli_pag12100/filtro_hab_impl.h"
#include "contracts/client/suite_context.h"
#include "contracts/consiste.h"

namespace pag {

TFiltro Filtro;
TfrmFiltroHab* frmFiltroHab = nullptr;

// ---------------------------------------------------------------- confirmation

void FiltroHabImpl::Codifica() {
    f.stBoleto = CodificaBoleto(rgpBoleto.ItemIndex());
    f.stStatLibNF = CodificaStatLibNF(rgpStatLibNF.ItemIndex());
    f.stSituacao = CodificaSituacao(chbNaoEnviado.Checked(), chbEnv_RetoErro.Checked(),
                                    chbEnv_RetoSemErro.Checked(), chbEnv_RetoOK.Checked());
    f.stPessoa = CodificaPessoa(rbtTodosForn.Checked(), rdgPessoa.ItemIndex());
}

void FiltroHabImpl::GuardaFiltro() {
    TFiltro novo = Filtro;
    for (const GrupoLista& g : grupos) {
        novo.*g.filtroLista = f.*g.lista;
        novo.*g.filtroTodos = g.rbtTodos->Checked();
    }
    novo.inBoleto = rgpBoleto.ItemIndex();
    novo.inStatLibNF = rgpStatLibNF.ItemIndex();
    novo.inPessoa = rdgPessoa.ItemIndex();
    novo.doValorIni = nedValorIni.GetNumber();
    novo.doValorFin = nedValorFin.GetNumber();
    novo.DtVencIni = depDataIni.GetDate();
    novo.DtVencFin = depDataFin.GetDate();
    novo.DtEmissIni = depEmissIni.GetDate();
    novo.DtEmissFin = depEmissFin.GetDate();
    novo.stDocIni = medDocInicial.Text();
    novo.stDocFin = medDocFinal.Text();
    novo.stNrRemessa = medNrRemessa.Text();
    novo.stNrRetorno = medNrRetorno.Text();
    Filtro = std::move(novo);
}

void TfrmFiltroHab::sbtConfirmaClick() {
    FiltroHabImpl& d = *impl_;
    ValidaData(d.depDataIni);
    ValidaData(d.depDataFin);
    if (EmptyString(d.medDocFinal.Text())) d.medDocFinal.SetText(d.medDocInicial.Text());
    if (d.rbtTodosTipoCont.Checked()) stTpConta.clear();
    if (d.exibeOrcamento) {
        d.Vd_OrcaDe();
        if (EmptyString(d.medOrcaAte.Text())) d.medOrcaAte.SetText(d.medOrcaDe.Text());
        d.Vd_OrcaAte();
    }
    d.Vd_Fornecedor();
    d.Vd_GrupoForn();
    d.Vd_NumDocIni();
    d.Vd_NumDocFin();
    d.Vd_FiliLanc();
    d.Vd_FiliOrig();
    d.Vd_DataEmissao();
    d.Vd_VencIni(true);
    d.Vd_VencFin(true);
    d.Vd_FormaPag();
    d.Vd_VrLiqu();
    d.Vd_BancBenef();
    d.Vd_TipoConta();
    for (MaskEdit* e : {&d.medNrRemessa, &d.medNrRetorno})
        e->SetText(Ajusta(e->Text(), 10));
    d.Codifica();
    if (!frmHabConta)
        throw std::logic_error("O filtro de boletos precisa da tela de boletos já criada.");
    // A failing load leaves Filtro as it was and the dialog open.
    frmHabConta->GetBoletos();
    d.GuardaFiltro();
    d.confirmado = true;
    if (IsModal())
        SetModalResult(ModalResult::Ok);
    else
        Hide();
}

// ---------------------------------------------------------------- module entry

void CriaFiltroHabConta(const std::string& origem, const std::string& data) {
    if (!frmFiltroHab) {
        SuiteServices& suite = Suite();
        auto dialogo = std::make_unique<TfrmFiltroHab>();
        dialogo->SetUserInterface(suite.ui);
        if (suite.db) dialogo->SetOptionStore(suite.db, suite.login.Operador);
        dialogo->DoCreate();
        frmFiltroHab = dialogo.release();
    }
    if (origem == "BOTAO_FILTRO") {
        frmFiltroHab->ShowModal(formUserInterface(*frmFiltroHab));
    } else if (origem == "ESCONDE_FILTRO") {
        if (!EmptyString(data)) {
            Date dia = Date::parse(AllTrim(data));
            Filtro.DtVencIni = dia;
            Filtro.DtVencFin = dia;
        }
        frmFiltroHab->FormActivate();
        frmFiltroHab->Confirma();
    }
}

void DestroiFiltroHabConta() {
    delete frmFiltroHab;
    frmFiltroHab = nullptr;
}

}  // namespace pag
