// The toolbar commands of the boleto screen, each acting on the page that is showing:
// the boleto on "Boletos" and "Dados para Pagamento", the adjustment row on "Ajuste",
// the extension on "Vencimento", the installment set on "Parcelamento". Automatic
// enabling opens its dialog over the marked boletos.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12100/filtro_hab.h"
#include "platform/scoped.h"
#include "platform/ui/db_controls.h"

namespace pag {

bool TfrmHabConta::mostrando(const char* page) {
    return pgcPadrao.ActivePage() == &Get<Page>(page);
}

void TfrmHabConta::sbtIncluirClick() {
    if (!mostrando("tshAjustes")) return;
    VdNFBloqueada(true);
    cdsAjBolPag.Insert();
}

void TfrmHabConta::sbtAlterarClick() {
    VdNFBloqueada(true);
    if (mostrando("tshProrrogacao")) return iniciaProrrogacao();
    if (mostrando("tshParcelamento")) return abreParcelamento();
    TfrmPadrao::sbtAlterarClick();
    mnuDadosPagClick();
    auto& multa = Get<DBEdit>("dbePeMulta");
    if (multa.IsUsable()) multa.SetFocus();
}

void TfrmHabConta::sbtExcluirClick() {
    VdNFBloqueada(true);
    if (mostrando("tshAjustes")) excluiAjuste();
    if (mostrando("tshParcelamento")) excluiParcela();
}

void TfrmHabConta::sbtConfirmarClick() {
    // The adjustment just stored stays current once the lists are read again.
    std::string ajuste;
    if (mostrando("tshAjustes")) {
        if (editando(cdsAjBolPag)) {
            // The adjustment's own save does not reload: the common end does, once.
            ScopedAssign<bool> semRecarga(boAtualizaBoletos, false);
            cdsAjBolPag.Post();
            ajuste = cdsAjBolPag.FieldByName("CDAJUCTPAG").AsString();
        }
    } else if (mostrando("tshProrrogacao")) {
        // Its own reload is the common end's: the list is read once.
        confirmaProrrogacao();
    } else if (mostrando("tshDadosPag")) {
        if (cdsBoletos.State() == DataSetState::Edit) {
            cdsBoletos.Post();
        } else if (nedTotal.GetNumber() > 0) {
            auto& tipo = Get<DBEdit>("dbeCdTpBaixa");
            if (tipo.Text().empty()) {
                tipo.SetFocus();
                MensErro(Ui(), msgPadrao.Msg("TPBX_INF"));
            }
            agrupaBoletos();
        }
    } else if (mostrando("tshParcelamento")) {
        confirmaParcelamento();
    }
    Filtro_Locate();
    if (!ajuste.empty() && cdsAjBolPag.Active()) cdsAjBolPag.Locate("CDAJUCTPAG", {Value(ajuste)});
    if (mostrando("tshParcelamento")) {
        // The installments as the server numbered and stored them.
        GetParcelas();
        if (cdsParcelas.Active()) cdsParcelas.Last();
    }
    Habilita();
}

void TfrmHabConta::sbtCancelarClick() {
    if (!ConfirmaPadrao("Canc")) return;
    if (mostrando("tshAjustes")) {
        if (editando(cdsAjBolPag)) cdsAjBolPag.Cancel();
        pgcPadraoChange();
    } else if (mostrando("tshProrrogacao")) {
        cancelaProrrogacao();
    } else {
        if (mostrando("tshParcelamento")) {
            boParcelamento = false;
            if (klsVrParcela) klsVrParcela->Clear();
            if (cdsParcelas.Active()) cdsParcelas.CancelUpdates();
        }
        if (editando(cdsBoletos)) cdsBoletos.Cancel();
    }
    Habilita_CompTpBaixa();
    Habilita();
    HabPageControl();
    const bool boleto = temBoletoAtual();
    Get<Edit>("edtDiaSemana")
        .SetText(boleto ? NomeSemana(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime()) : "");
    Get<Edit>("edtCdBarra").SetText(boleto ? cdsBoletos.FieldByName("CDBARRAPAG").AsString() : "");
}

void TfrmHabConta::sbtHabAutoClick() {
    // The dialog enables the marked boletos; the list is then read again without showing
    // the filter, whatever the dialog's outcome. Whatever happens, the grid redraws and
    // the commands follow the screen's state again.
    struct AoFim {
        TfrmHabConta& tela;
        ~AoFim() {
            tela.cdsBoletos.EnableControls();
            tela.Habilita();
        }
    } aoFim{*this};
    try {
        CriaHabAuto();
    } catch (...) {
        // The dialog's failure is the one that goes on; the reload still runs (its own
        // messages were shown as it ran).
        try {
            CriaFiltroHabConta(kEscondeFiltro, "");
        } catch (...) {
        }
        throw;
    }
    CriaFiltroHabConta(kEscondeFiltro, "");
}

}  // namespace pag
