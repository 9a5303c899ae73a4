// Restoring the dialog's controls from the last confirmed criteria (Filtro).
//
// When it restores: as the dialog comes up (its first activation after being shown), when
// "ESCONDE_FILTRO" runs it hidden, and when it closes without a confirmation, so that the
// hidden dialog - whose controls the main screen's reloads read - always holds the
// criteria in force. It does not restore on every activation and deactivation: a pick
// list or message box opened from the dialog takes the activation away and gives it back
// while the user works, and the picks and "Lista" choices made meanwhile must survive
// until the confirmation checks them.
#include "Cli_pag12100/filtro_hab_impl.h"

namespace pag {

void FiltroHabImpl::ligaRestauracao() {
    f.OnShow = [this] { emUso = false; };
    f.OnActivate = [this] {
        if (emUso) return;
        emUso = true;
        confirmado = false;
        Restaura();
    };
    fechamento = f.Closed.connect([this] {
        const bool abandonado = emUso && !confirmado;
        emUso = false;
        if (abandonado) Restaura();
    });
}

void FiltroHabImpl::marcaTodos(GrupoLista& g, bool todos) {
    // Checking one button of a pair unchecks the other and runs the pair's click handler.
    (todos ? g.rbtTodos : g.rbtLista)->SetChecked(true);
    g.botao->SetEnabled(!todos);
}

void FiltroHabImpl::Restaura() {
    // The radio buttons go first: a pair's click handler empties its list, which would
    // otherwise undo the list just restored for a confirmed "Lista".
    for (GrupoLista& g : grupos)
        marcaTodos(g, Filtro.*g.filtroTodos);
    for (GrupoLista& g : grupos)
        f.*g.lista = Filtro.*g.filtroLista;
    rgpBoleto.SetItemIndex(Filtro.inBoleto);
    rgpStatLibNF.SetItemIndex(Filtro.inStatLibNF);
    rdgPessoa.SetItemIndex(Filtro.inPessoa);
    nedValorIni.SetNumber(Filtro.doValorIni);
    nedValorFin.SetNumber(Filtro.doValorFin);
    const std::pair<DateEdit*, Date> datas[] = {{&depDataIni, Filtro.DtVencIni},
                                                {&depDataFin, Filtro.DtVencFin},
                                                {&depEmissIni, Filtro.DtEmissIni},
                                                {&depEmissFin, Filtro.DtEmissFin}};
    for (const auto& [edit, data] : datas) {
        edit->Clear();
        edit->SetDate(data);
    }
    medDocInicial.SetText(Filtro.stDocIni);
    medDocFinal.SetText(Filtro.stDocFin);
    medNrRemessa.SetText(Filtro.stNrRemessa);
    medNrRetorno.SetText(Filtro.stNrRetorno);
}

void TfrmFiltroHab::FormActivate() {
    impl_->Restaura();
}

}  // namespace pag
