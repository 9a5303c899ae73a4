// Clearing the criteria (sbtLimpa, Ctrl+D) and the operator's saved filter options.
#include "Cli_pag12100/filtro_hab_impl.h"

namespace pag {

void FiltroHabImpl::Limpa() {
    for (GrupoLista& g : grupos) {
        marcaTodos(g, true);
        (f.*g.lista).clear();
    }
    rgpBoleto.SetItemIndex(2);
    rgpStatLibNF.SetItemIndex(2);
    rdgPessoa.SetItemIndex(0);
    nedValorIni.SetNumber(0);
    nedValorFin.SetNumber(0);
    depEmissIni.Clear();
    depEmissFin.Clear();
    depDataIni.SetDate(VencimentoInicialPadrao());
    depDataFin.SetDate(VencimentoFinalPadrao());
    for (MaskEdit* e : {&medDocInicial, &medDocFinal, &medNrRemessa, &medNrRetorno})
        e->Clear();
    for (CheckBox* c : {&chbNaoEnviado, &chbEnv_RetoErro, &chbEnv_RetoSemErro, &chbEnv_RetoOK})
        c->SetChecked(false);
}

// Resets the controls only: Filtro keeps the last confirmed criteria, so closing without
// confirming brings them back.
void TfrmFiltroHab::sbtLimpaClick() {
    impl_->Limpa();
}

void TfrmFiltroHab::btfSaveOpcClick() {
    for (const GrupoLista& g : impl_->grupos)
        Opcoes().SetValue(g.chave, this->*g.lista);
    TfrmFiltroPadrao::btfSaveOpcClick();
}

void TfrmFiltroHab::btfLoadOpcClick() {
    // The base load puts the controls back first; their radio clicks empty the lists,
    // which are read back afterwards.
    TfrmFiltroPadrao::btfLoadOpcClick();
    for (const GrupoLista& g : impl_->grupos)
        this->*g.lista = Opcoes().Value(g.chave);
}

}  // namespace pag
