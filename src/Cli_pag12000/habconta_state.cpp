// What the boleto screen offers in each state: the commands, the pages and their menu
// items (Habilita, HabPageControl), the page change with its detail loads, and the
// payment-page groups of the settlement type (Habilita_CompTpBaixa).
//
#include <algorithm>
#include <optional>
#include <string_view>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/ui/abort.h"
#include "platform/ui/db_controls.h"

namespace pag {

namespace {

bool temLinhas(const ClientDataSet& ds) {
    return ds.Active() && !ds.IsEmpty();
}

// The operation codes paid with a barcode.
bool codigoBarras(std::string_view code) {
    return umDe(code, {"B", "R", "H", "J", "K", "N", "Q", "U", "V", "X", "I", "G"});
}

// What one block of Habilita decides; an empty optional leaves the control as it is.
struct Disponibilidade {
    bool confirmar = false, incluir = false, alterar = false, excluir = false, procurar = false,
         verificar = false, filtro = false, agrupa = false, cancelaBol = false, habAuto = false,
         guia = false;
    std::optional<bool> folhaDados, formulario, dadosPag, ajustes, prorrogacao, parcelamento;
    std::optional<bool> vencimento;
    bool painel = false, navegador = false;
};

}  // namespace

void TfrmHabConta::Habilita() {
    mostraContagem();
    const Page* showing = pgcPadrao.ActivePage();
    const DataSetState s = dtsPadrao.State();
    const bool boletos = temLinhas(cdsBoletos);
    const bool browse = s == DataSetState::Browse;
    Disponibilidade d;
    bool blocoBoletos = false;
    if (showing == &tshFolhaDados || showing == &Get<Page>("tshDadosPag")) {
        blocoBoletos = true;
        const bool grid = showing == &tshFolhaDados;
        const bool livre = !editando(s);
        const bool marcados = nedCont.GetNumber() > 0;
        const std::string real = boletos ? cdsBoletos.FieldByName("IDBPAGREAL").AsString() : "";
        const std::string oper = boletos ? cdsBoletos.FieldByName("IDBAIXAUTILP").AsString() : "";
        const int contas = cdsCntPagar.Active() ? cdsCntPagar.RecordCount() : 0;
        d.confirmar = editando(s);
        d.alterar = browse && boletos;
        d.procurar = grid && browse && boletos;
        d.verificar = browse;
        d.filtro = grid && browse;
        d.agrupa = d.habAuto = grid && marcados && livre;
        d.cancelaBol = grid && (real == "S" || contas > 1) && livre;
        d.guia = livre && contas >= 1 && codigoGuia(oper);
        d.folhaDados = browse;
        d.formulario = d.ajustes = d.prorrogacao = d.parcelamento = browse && boletos;
        d.dadosPag = boletos;
        d.vencimento = s == DataSetState::Insert;
        d.painel = livre;
        d.navegador = browse;
    } else if (showing == &Get<Page>("tshAjustes")) {
        const DataSetState a = dtsAjBolPag.State();
        const bool ab = a == DataSetState::Browse;
        d.confirmar = editando(a);
        d.incluir = ab;
        d.excluir = d.procurar = ab && temLinhas(cdsAjBolPag);
        d.verificar = !editando(a);
        d.folhaDados = d.formulario = d.dadosPag = d.prorrogacao = d.parcelamento = ab;
        d.painel = !editando(a);
        d.navegador = ab;
        Get<Grid>("dbgAjuste").Column(0).buttonStyle =
            a == DataSetState::Insert ? ColumnButtonStyle::Ellipsis : ColumnButtonStyle::None;
        Get<Grid>("dbgAjuste").ColumnsChanged();
    } else if (showing == &Get<Page>("tshProrrogacao")) {
        d.confirmar = editando(s);
        d.alterar = !editando(s) && (!temLinhas(cdsContProrVenc) || temLinhas(cdsGrupoOperador));
        d.verificar = !editando(s);
        d.folhaDados = d.formulario = d.dadosPag = d.ajustes = d.parcelamento = browse;
        d.painel = !editando(s);
        d.navegador = browse;
    } else if (showing == &Get<Page>("tshParcelamento")) {
        const DataSetState p = dtsParcelas.State();
        const bool livre = !editando(p);
        d.confirmar = editando(p);
        d.alterar = d.procurar = d.verificar = livre;
        d.excluir = livre && temLinhas(cdsParcelas);
        const bool pb = p == DataSetState::Browse;
        d.folhaDados = d.formulario = d.dadosPag = d.ajustes = d.prorrogacao = pb;
        d.painel = livre;
        d.navegador = pb;
    } else {
        return;  // the hidden payables page has no block of its own
    }

    HabilitaComando(mnuConfirmar, sbtConfirmar, d.confirmar);
    HabilitaComando(mnuCancelar, sbtCancelar, d.confirmar);
    HabilitaComando(mnuIncluir, sbtIncluir, d.incluir);
    HabilitaComando(mnuAlterar, sbtAlterar, d.alterar);
    HabilitaComando(mnuExcluir, sbtExcluir, d.excluir);
    HabilitaComando(mnuProcurar, sbtProcurar, d.procurar);
    HabilitaComando(mnuVerificar, sbtVerificar, d.verificar);
    // Filter: the item decides and the button follows; the others the other way round.
    mnuFiltro.SetEnabled(d.filtro);
    sbtFiltro.SetEnabled(mnuFiltro.Enabled());
    const std::pair<const char*, const char*> gemeos[] = {{"sbtAgrupa", "mnuAgrupa"},
                                                          {"sbtCancelaBol", "mnuCancelaBol"},
                                                          {"sbtHabAuto", "mnuHabAuto"},
                                                          {"sbtCadGuiaImp", "mnuCadGuiaTrib"}};
    const bool estados[] = {d.agrupa, d.cancelaBol, d.habAuto, d.guia};
    for (size_t i = 0; i < 4; ++i) {
        auto& botao = Get<SpeedButton>(gemeos[i].first);
        botao.SetEnabled(estados[i]);
        Get<MenuItem>(gemeos[i].second).SetEnabled(botao.Enabled());
    }
    const std::pair<Page*, std::optional<bool>> paginas[] = {
        {&tshFolhaDados, d.folhaDados},
        {&tshFormulario, d.formulario},
        {&Get<Page>("tshDadosPag"), d.dadosPag},
        {&Get<Page>("tshAjustes"), d.ajustes},
        {&Get<Page>("tshProrrogacao"), d.prorrogacao},
        {&Get<Page>("tshParcelamento"), d.parcelamento}};
    for (const auto& [page, on] : paginas)
        if (on) page->SetEnabled(*on);
    if (d.vencimento) {
        Get<Control>("dbdVencimento").SetEnabled(*d.vencimento);
        Get<Control>("lblVencimento").SetEnabled(*d.vencimento);
    }
    SetChildEnabled(panFiltro, d.painel);
    dbnPadrao.SetEnabled(d.navegador);
    habilitaItensPaginas(blocoBoletos);
    // An extension being edited keeps the screen locked whatever recounts it.
    if (prorrogando_ && showing == &Get<Page>("tshProrrogacao")) Habil_Prorroga(false);
}

void TfrmHabConta::habilitaItensPaginas(bool comAjustes) {
    const std::pair<const char*, const Page*> itens[] = {
        {"mnuFolhaDados", &tshFolhaDados},
        {"mnuFormulario", &tshFormulario},
        {"mnuDadosPag", &Get<Page>("tshDadosPag")},
        {"mnuProrrogacao", &Get<Page>("tshProrrogacao")},
        {"mnuParcelamento", &Get<Page>("tshParcelamento")}};
    for (auto [item, page] : itens)
        Get<MenuItem>(item).SetEnabled(page->Enabled());
    if (comAjustes) Get<MenuItem>("mnuAjustes").SetEnabled(Get<Page>("tshAjustes").Enabled());
}

void TfrmHabConta::HabPageControl() {
    const DataSetState b = cdsBoletos.State();
    const bool boletos = temLinhas(cdsBoletos);
    const Page* showing = pgcPadrao.ActivePage();
    Page& dadosPag = Get<Page>("tshDadosPag");
    if (b == DataSetState::Edit) {
        // While a boleto is being edited only the page showing stays available.
        tshFolhaDados.SetEnabled(boletos && showing == &tshFolhaDados);
        dadosPag.SetEnabled(boletos && showing == &dadosPag);
    } else {
        tshFolhaDados.SetEnabled((boletos && b != DataSetState::Insert) ||
                                 ActiveControl() == &medEmpresa);
        dadosPag.SetEnabled(boletos);
    }
    const bool outras = b == DataSetState::Browse && boletos;
    for (const char* nome : {"tshFormulario", "tshProrrogacao", "tshParcelamento", "tshAjustes"})
        Get<Page>(nome).SetEnabled(outras);
    habilitaItensPaginas(false);
}

void TfrmHabConta::Habilita_CompTpBaixa() {
    const bool ativo = cdsBoletos.Active();
    const std::string s = temLinhas(cdsBoletos) || editando(cdsBoletos.State())
                              ? cdsBoletos.FieldByName("IDBAIXAUTILP").AsString()
                              : std::string();
    const bool editandoBoleto = editando(cdsBoletos.State());
    auto limpaCampos = [&](std::initializer_list<const char*> campos) {
        if (!editandoBoleto) return;
        for (const char* campo : campos)
            cdsBoletos.FieldByName(campo).Clear();
    };
    auto habilita = [&](std::initializer_list<const char*> nomes, bool on) {
        for (const char* nome : nomes)
            Get<Control>(nome).SetEnabled(on);
    };
    auto& grbPix = Get<GroupBox>("grbPix");
    auto& tipoChave = Get<DBComboBox>("dbcIdChavePix");
    SetChildEnabled(grbPix, false);
    if (s == "F" || s == "Z") {
        grbPix.SetEnabled(true);
        SetChildEnabled(grbPix, true);
        if (s == "Z") {
            limpaCampos({"IDCHAVEPIX", "CHAVEPIX", "DSCHAVEPIX"});
            if (ativo) tipoChave.SetItemIndex(0);
            habilita(
                {"lblChavePix", "dbcIdChavePix", "dbeChavePix", "dbeDsChavePix", "btnPesqChavePix"},
                false);
            habilita({"LblQrCode", "dbeChaveQrPix"}, true);
        } else {
            limpaCampos({"CODEQRPIX"});
            habilita(
                {"lblChavePix", "dbcIdChavePix", "dbeChavePix", "dbeDsChavePix", "btnPesqChavePix"},
                true);
            habilita({"LblQrCode", "dbeChaveQrPix"}, false);
        }
    } else {
        limpaCampos({"IDCHAVEPIX", "CHAVEPIX", "DSCHAVEPIX", "CODEQRPIX"});
        tipoChave.SetItemIndex(0);
        habilita({"lblChavePix", "dbcIdChavePix", "dbeChavePix", "dbeDsChavePix", "btnPesqChavePix",
                  "LblQrCode", "dbeChaveQrPix"},
                 false);
    }
    const bool barras = codigoBarras(s);
    const bool favorecido = !barras && s != "P";
    habilita({"lblReNumerica", "dbeLinhBarPag", "lblCdBarra", "edtCdBarra"}, barras);
    habilita({"lblFavorecido", "dbeCdBancBolP", "dbeCdAgenBolP", "dbeCdCCorForn", "btnContCFor"},
             favorecido);
    auto cor = [&](std::initializer_list<const char*> nomes, Colour c) {
        for (const char* nome : nomes)
            Get<Control>(nome).SetColour(c);
    };
    auto& cdBarra = Get<Edit>("edtCdBarra");
    if (barras) {
        cor({"dbeLinhBarPag", "edtCdBarra"}, Colour::window());
        cor({"dbeCdBancBolP", "dbeCdAgenBolP", "dbeCdCCorForn"}, Colour::buttonFace());
        limpaCampos({"CDBANCBOLP", "CDAGENBOLP", "CDCCORBOLP"});
    } else {
        cor({"dbeLinhBarPag", "edtCdBarra"}, Colour::buttonFace());
        cor({"dbeCdBancBolP", "dbeCdAgenBolP", "dbeCdCCorForn"},
            s == "P" ? Colour::buttonFace() : Colour::window());
        limpaCampos({"DSLINHBARPAG"});
        if (editandoBoleto) cdBarra.Clear();
    }
}

// ---- pages

void TfrmHabConta::pgcPadraoChange() {
    TfrmPadrao::pgcPadraoChange();
    const Page* showing = pgcPadrao.ActivePage();
    // The ticked item is the page showing (CheckMenu).
    const std::pair<const char*, const char*> itens[] = {
        {"mnuFolhaDados", "tshFolhaDados"},   {"mnuFormulario", "tshFormulario"},
        {"mnuDadosPag", "tshDadosPag"},       {"mnuAjustes", "tshAjustes"},
        {"mnuProrrogacao", "tshProrrogacao"}, {"mnuParcelamento", "tshParcelamento"}};
    for (auto [item, page] : itens)
        Get<MenuItem>(item).SetChecked(showing == &Get<Page>(page));
    if (showing == &Get<Page>("tshAjustes")) {
        GetAjustes();
    } else if (showing == &Get<Page>("tshProrrogacao")) {
        Get<Edit>("edtDiaSemana")
            .SetText(temBoletoAtual()
                         ? NomeSemana(cdsBoletos.FieldByName("DTVENBOLPAG").AsDateTime())
                         : std::string());
        Get<Edit>("edtCdBarra")
            .SetText(temBoletoAtual() ? cdsBoletos.FieldByName("CDBARRAPAG").AsString() : "");
        extensaoControlada();
    } else if (showing == &Get<Page>("tshParcelamento")) {
        GetParcelas();
        if (cdsParcelas.Active()) cdsParcelas.Last();
    } else if (showing == &tshFolhaDados) {
        GetContas();
    }
    Habilita();
    CheckMenu();
}

void TfrmHabConta::extensaoControlada() {
    std::vector<Value> args{Value(Suite().login.Operador)};
    Value payload;
    {
        BusyScope avi(Ui(), kAviProcessando);
        payload = CheckResultServ(Ui(), netHabConta.Call("GetContProrVenc", args));
    }
    cdsContProrVenc.SetData(PayloadPacket(payload, 0));
    cdsGrupoOperador.SetData(PayloadPacket(payload, 1));
    // Extension is controlled and the operator belongs to no allowed group.
    const bool bloqueada = temLinhas(cdsContProrVenc) && !temLinhas(cdsGrupoOperador);
    for (const char* nome :
         {"lblVenc", "depVencimento", "lblMotProrr", "edtCdMotiPro", "sbtMotProrr"})
        Get<Control>(nome).SetEnabled(!bloqueada);
}

void TfrmHabConta::dtsPadraoStateChange() {
    stContaBenef_ = "000";
    Habilita();
}

void TfrmHabConta::mnuFolhaDadosClick() {
    MostraPagina(tshFolhaDados);
}

void TfrmHabConta::mnuDadosPagClick() {
    MostraPagina(Get<Page>("tshDadosPag"));
}

void TfrmHabConta::mnuAjustesClick() {
    // The adjustments are read again even when their page already shows.
    pgcPadrao.SetActivePage(&Get<Page>("tshAjustes"));
    pgcPadraoChange();
}

void TfrmHabConta::mnuProrrogacaoClick() {
    MostraPagina(Get<Page>("tshProrrogacao"));
}

void TfrmHabConta::mnuParcelamentoClick() {
    MostraPagina(Get<Page>("tshParcelamento"));
}

}  // namespace pag
