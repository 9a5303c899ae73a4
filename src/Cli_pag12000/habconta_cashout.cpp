// The cash going out day by day: the listed boletos' final values per due date, enabled
// and not enabled apart, shown as a chart by the front end; a day chosen on the chart
// narrows the list to that due date, and the totals under the grid follow.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"

namespace pag {

namespace {

constexpr const char* kVencimento = "DTVENBOLPAG";

std::string filtroDoDia(Date dia) {
    return std::string(kVencimento) + " = " +
           (dia.isEmpty() ? std::string("null") : std::to_string(dia.serial()));
}

}  // namespace

void TfrmHabConta::ligaEventosSaidaCaixa() {
    Get<MenuItem>("mnuSaidaCaixa").OnClick = [this] { mnuSaidaCaixaClick(); };
    // Commands over the whole list would act on boletos a narrowed list hides (marking
    // all, associating the marked ones for their total, the automatic enabling, a new
    // filter): the list shows them all again first, so that they act on what is seen.
    const auto todosAntes = [this](Handler& handler) {
        handler = [this, h = std::move(handler)] {
            MostraTodosVencimentos();
            if (h) h();
        };
    };
    for (const char* botao : {"sbtAgrupa", "sbtHabAuto"})
        todosAntes(Get<SpeedButton>(botao).OnClick);
    for (const char* item : {"mnuAgrupa", "mnuHabAuto"})
        todosAntes(Get<MenuItem>(item).OnClick);
    todosAntes(sbtFiltro.OnClick);
    todosAntes(mnuFiltro.OnClick);
    dbgPadrao.OnTitleClick = [this, h = std::move(dbgPadrao.OnTitleClick)](GridColumn& col) {
        if (col.fieldName == kMarca) MostraTodosVencimentos();
        if (h) h(col);
    };
}

CashOut TfrmHabConta::SaidaDeCaixa() {
    CashOutBuilder soma;
    if (!cdsBoletos.Active()) return soma.Take();
    Field& venc = cdsBoletos.FieldByName(kVencimento);
    Field& habilitado = cdsBoletos.FieldByName("IDHABIBPAG");
    Field& valor = cdsBoletos.FieldByName("VRFINALBPAG");
    for (int r = 1; r <= cdsBoletos.RecordCount(); ++r) {
        DisplayRecordScope registro(cdsBoletos, r);
        soma.Add(venc.IsNull() ? Date() : venc.AsDateTime(), habilitado.AsString() == "S",
                 valor.AsFloat());
    }
    return soma.Take();
}

std::optional<Date> TfrmHabConta::VencimentoFiltrado() const {
    // Another filter of the screen (association's) may have replaced the day's.
    if (!vencimentoFiltrado_ || !cdsBoletos.Filtered() ||
        cdsBoletos.Filter() != filtroDoDia(*vencimentoFiltrado_))
        return std::nullopt;
    return vencimentoFiltrado_;
}

void TfrmHabConta::filtraBoletos(const std::string& filtro) {
    if (editando(cdsBoletos))
        MensErro(Ui(),
                 "Confirme ou cancele a alteração do boleto antes de filtrar por vencimento.");
    const int64_t atual = cdsBoletos.Bookmark();
    {
        // The boleto's details load once, for the row the list ends on.
        DetachEvent rolagem(cdsBoletos.AfterScroll);
        cdsBoletos.SetFilter(filtro);
        cdsBoletos.SetFiltered(!filtro.empty());
        if (cdsBoletos.BookmarkValid(atual)) cdsBoletos.GotoBookmark(atual);
    }
    cdsBoletosAfterScroll();
    somaMarcados();
    Habilita();
}

void TfrmHabConta::MostraTodosVencimentos() {
    if (!VencimentoFiltrado()) {
        vencimentoFiltrado_.reset();
        return;
    }
    filtraBoletos({});
    vencimentoFiltrado_.reset();
}

void TfrmHabConta::FiltraVencimento(Date dia) {
    if (VencimentoFiltrado() == dia) {
        MostraTodosVencimentos();
        return;
    }
    if (!cdsBoletos.Active()) MensErro(Ui(), "Não há boletos listados.");
    filtraBoletos(filtroDoDia(dia));
    vencimentoFiltrado_ = dia;
    if (!cdsBoletos.IsEmpty()) return;
    // The chart was drawn before the list changed: that day has no boleto any more.
    MostraTodosVencimentos();
    MensErro(Ui(), "Não há boletos listados com vencimento em " + CashOutDayText(dia) + ".");
}

void TfrmHabConta::mnuSaidaCaixaClick() {
    verificaListaPronta("ver a saída de caixa");
    // The chart covers the whole list; a day chosen on it narrows the list again.
    MostraTodosVencimentos();
    CashOut saida;
    {
        BusyScope avi(Ui(), kAviProcessando);
        saida = SaidaDeCaixa();
    }
    const Date processamento =
        Suite().login.ProcessingDate.isEmpty() ? Date::today() : Suite().login.ProcessingDate;
    // The chart may outlive the screen: its actions then do nothing.
    const std::weak_ptr<bool> tela = vivo_;
    CashOutActions acoes;
    acoes.chooseDay = [this, tela](Date dia) {
        if (!tela.expired()) dispatchUserAction(Ui(), [&] { FiltraVencimento(dia); });
    };
    acoes.showAll = [this, tela] {
        if (!tela.expired()) dispatchUserAction(Ui(), [&] { MostraTodosVencimentos(); });
    };
    acoes.closed = acoes.showAll;
    acoes.dayShown = [this, tela]() -> std::optional<Date> {
        return tela.expired() ? std::nullopt : VencimentoFiltrado();
    };
    Ui().showCashOut(saida, saida.StartFor(processamento, kCashOutDaysShown), acoes);
}

}  // namespace pag
