// The controls of the boleto screen: toolbar, menus, the company panel and the pages,
// with their captions, masks and initial states.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/db_controls.h"

namespace pag {

namespace {

// Read-only edits use the face colour; input fields the information background.
template <typename T>
T& SomenteLeitura(T& edit) {
    edit.SetReadOnly(true);
    edit.SetColour(Colour::buttonFace());
    edit.SetTabStop(false);
    return edit;
}

template <typename T>
T& Entrada(T& edit) {
    edit.SetColour(Colour::infoBackground());
    edit.SetTabStop(true);
    return edit;
}

}  // namespace

TfrmHabConta::TfrmHabConta()
    : TfrmPadrao("frmHabConta", "Boleto", "PAG12000", "NRLANBOLPAG"),
      panFiltro(Add<Panel>("panFiltro")),
      medEmpresa(Add<MaskEdit>("medEmpresa", &panFiltro, "99;0; ")),
      btpEmpresa(Add<LookupButton>("btpEmpresa", &panFiltro, "Empresa", &dtsEmpresa,
                                   "Não há empresa cadastrada.")),
      edtNmEmpresa(Add<Edit>("edtNmEmpresa", &panFiltro)),
      sbtFiltro(Add<SpeedButton>("sbtFiltro", &panMenu)),
      mnuFiltro(criaMenuFiltro()),
      nedTotal(Add<NumberEdit>("nedTotal", &Add<Panel>("Panel3", &tshFolhaDados), "#,##0.00")),
      nedCont(Add<NumberEdit>("nedCont", &Get<Panel>("Panel3"), "0")) {
    SetUserInterface(Suite().ui);
    SetSize(769, 515);
    SetHelpContext(11912000);
    SetHelpFile("paghelp.hlp");
    // Controls first: binding the data sources then reaches every control.
    criaControles();
    criaDataSets();
    criaConsultas();
    carregaMensagens();
    carregaMensagensDadosPag();
    ligaEventosDataSets();
    ligaEventos();
    ligaEventosGrid();
    ligaEventosEdicao();
    ligaEventosDadosPagTipoBaixa();
    ligaEventosDadosPag();
    ligaEventosAjustes();
    ligaEventosProrrogacao();
    ligaEventosParcelas();
    ligaEventosAgrupa();
    ligaEventosExporta();
    // Last: it wraps the list-wide commands the others bound.
    ligaEventosSaidaCaixa();
}

TfrmHabConta::~TfrmHabConta() {
    // The bound controls go before the datasets and data sources they show.
    DestroyControls();
}

MenuItem& TfrmHabConta::criaMenuFiltro() {
    // The screen's own maintenance items follow the base ones after a separator.
    Add<MenuItem>("N1", &mnuManutencao, "-");
    return Add<MenuItem>("mnuFiltro", &mnuManutencao, "&Filtrar", "Ctrl+L");
}

void TfrmHabConta::criaControles() {
    // ---- toolbar: this screen's buttons start disabled; Habilita offers them
    const std::pair<const char*, const char*> botoes[] = {
        {"sbtAgrupa", "Associar Boleto"},
        {"sbtCancelaBol", "Cancelar Boleto Real"},
        {"sbtHabAuto", "Habilitação Automática"},
        {"sbtCadGuiaImp", "Cadastro Guia de Tributo"}};
    sbtFiltro.SetHint("Filtrar");
    sbtFiltro.SetEnabled(false);
    for (auto [nome, dica] : botoes) {
        auto& b = Add<SpeedButton>(nome, &panMenu);
        b.SetHint(dica);
        b.SetEnabled(false);
    }
    sbtImprimir.SetEnabled(false);

    // ---- menus
    tshFolhaDados.SetCaption("Boletos");
    tshFormulario.SetCaption("Contas a Pagar");
    tshFormulario.SetTabVisible(false);
    mnuFolhaDados.SetCaption("&Boletos");
    mnuFormulario.SetCaption("Contas a &Pagar");
    mnuFormulario.SetVisible(false);
    Add<MenuItem>("mnuDadosPag", &mnuOperacao, "&Dados para Pagamento");
    Add<MenuItem>("mnuAjustes", &mnuOperacao, "&Ajustes");
    Add<MenuItem>("mnuProrrogacao", &mnuOperacao, "&Vencimento");
    Add<MenuItem>("mnuParcelamento", &mnuOperacao, "Parcela&mento");
    // The list as it stands, for whoever approves the payment.
    Add<MenuItem>("N2", &mnuOperacao, "-");
    Add<MenuItem>("mnuExportaCsv", &mnuOperacao, "E&xportar lista (CSV)...");
    Add<MenuItem>("mnuImprimeLista", &mnuOperacao, "Imprimir &lista...");
    Add<MenuItem>("mnuSalvaPdf", &mnuOperacao, "Salvar lista em &PDF...");
    Add<MenuItem>("mnuSaidaCaixa", &mnuOperacao, "&Saída de caixa por dia...");
    mnuListagem.SetEnabled(false);
    mnuConfigImpressora.SetEnabled(false);
    for (MenuItem* item : {&mnuIncluir, &mnuAlterar, &mnuExcluir, &mnuProcurar, &mnuVerificar,
                           &mnuCancelar, &mnuConfirmar})
        item->SetEnabled(false);
    const std::pair<const char*, std::pair<const char*, const char*>> itens[] = {
        {"mnuAgrupa", {"Associar &Boleto", "Ctrl+B"}},
        {"mnuHabAuto", {"Habilitação &Automática", "Ctrl+A"}},
        {"mnuCancelaBol", {"Cancela&r Boleto Real", "Ctrl+R"}},
        {"mnuCadGuiaTrib", {"Cadastrar Guia de &Tributo", "Ctrl+T"}}};
    for (const auto& [nome, texto] : itens)
        Add<MenuItem>(nome, &mnuManutencao, texto.first, texto.second).SetEnabled(false);
    mnuFiltro.SetEnabled(false);

    // ---- company panel
    Add<Label>("lblEmpresa", &panFiltro).SetCaption("Empresa");
    Entrada(medEmpresa).SetMaxLength(2);
    btpEmpresa.SetHint("Pesquisar");
    SomenteLeitura(edtNmEmpresa);
    for (const char* nome : {"imgCheck", "imgUncheck", "imgOk", "imgNaoHabilit", "imgHabilitado"})
        Add<Image>(nome, &panFiltro).SetVisible(false);

    criaPaginaBoletos();
    criaPaginaContas();
    criaPaginaDadosPag();
    criaPaginaAjustes();
    criaPaginaProrrogacao();
    criaPaginaParcelamento();
    criaColunasBoletos();
}

void TfrmHabConta::criaPaginaBoletos() {
    dbgPadrao.SetTabStop(true);
    auto& bar = Get<Panel>("Panel3");
    Add<Label>("lblInscForn", &bar).SetCaption("CGC/CPF");
    SomenteLeitura(Add<DBEdit>("dbeInscForn", &bar, &dtsBoletos, "NRINSJURFORN"));
    Add<Label>("lblTotal", &bar).SetCaption("Total");
    SomenteLeitura(nedTotal);
    SomenteLeitura(nedCont);
    Add<Label>("lblQtdBoletos", &bar);
    Add<Label>("lblNrBol", &bar).SetCaption("Nr. Boleto");
    SomenteLeitura(Add<DBEdit>("dbeNrBol", &bar, &dtsBoletos, "NRLANCAMENTO"));

    // The payables of the boleto, behind a splitter on the right.
    auto& contas = Add<Panel>("panContas", &tshFolhaDados);
    auto& grid = Add<Grid>("dbgConta", &contas, &dtsCntPagar);
    grid.Options().rowSelect = true;
    grid.Options().editing = false;
    grid.SetTabStop(false);
    grid.AddColumn({.fieldName = "DOCUMENTO", .title = "Doc/Série", .width = 83});
    grid.AddColumn(
        {.fieldName = "VRATUAPAG", .title = "Valor", .width = 62, .alignment = Alignment::Right});
    Add<Label>("lblFiliLanc", &contas).SetCaption("Filial Lan.    Conta");
    SomenteLeitura(Add<DBEdit>("dbeFiliLanc", &contas, &dtsCntPagar, "CDFILIAL"));
    SomenteLeitura(Add<DBEdit>("dbeSeqConta", &contas, &dtsCntPagar, "NRSEQVENPAG"));
    Add<Label>("lblVrOrig", &contas).SetCaption("Vr. Original");
    SomenteLeitura(Add<DBEdit>("dbeVrOrig", &contas, &dtsCntPagar, "VRORIGPAG"));
    Add<Label>("lblAjustes", &contas).SetCaption("Ajustes");
    SomenteLeitura(Add<DBEdit>("dbeAjustes", &contas, &dtsCntPagar, "Ajuste"));
}

void TfrmHabConta::criaPaginaContas() {
    // Never shown as a tab: an unbound list of the payables.
    auto& grid = Add<Grid>("dbgCtPagar", &panFormulario);
    grid.AddColumn({.fieldName = "NRSEQVENPAG", .width = 75});
    grid.AddColumn({.fieldName = "DOCUMENTO", .width = 100});
    grid.AddColumn({.fieldName = "DTATUAVENPAG", .width = 85});
    grid.AddColumn({.fieldName = "VRORIGPAG", .width = 90});
    grid.AddColumn({.fieldName = "Ajuste", .title = "Ajustes", .width = 90});
    grid.AddColumn({.fieldName = "VRATUAPAG", .width = 100});
}

void TfrmHabConta::criaPaginaDadosPag() {
    auto& page = Add<Page>("tshDadosPag", &pgcPadrao, "Dados para Pagamento");
    auto rotulo = [&](const char* nome, const char* texto) -> Label& {
        Label& l = Add<Label>(nome, &page);
        l.SetCaption(texto);
        return l;
    };
    auto editavel = [&](const char* nome, const char* campo) -> DBEdit& {
        return Entrada(Add<DBEdit>(nome, &page, &dtsBoletos, campo));
    };
    auto leitura = [&](const char* nome, const char* campo) -> DBEdit& {
        return SomenteLeitura(Add<DBEdit>(nome, &page, &dtsBoletos, campo));
    };
    rotulo("lblPeMulta", "Multa (%)");
    editavel("dbePeMulta", "VRPEMULBPAG");
    rotulo("lblVrMulta", "Multa (Valor)");
    editavel("dbeVrMulta", "VRMULTABPAG");
    rotulo("lblPeMora", "Mora Diária (%)");
    editavel("dbePeMora", "VRPEMORBPAG");
    rotulo("lblVrMora", "Mora Diária (Valor)");
    editavel("dbeVrMora", "VRMORDIABPAG");

    rotulo("lblTpBaixa", "Tipo de Baixa");
    editavel("dbeCdTpBaixa", "CDTPBAIXAPAG");
    auto& tipo = Add<LookupButton>("btnTipoBaixa", &page, "Tipo de Baixa", &dtsPesqTpBaixa,
                                   "Não há tipo de baixa cadastrada.");
    tipo.SetHint("Pesquisar");
    leitura("DBEdit2", "NMTPBAIXAPAG");

    rotulo("lblContCorr", "C.Corrente Pagamento");
    editavel("dbeReduCont", "CDREDUCONT");
    Add<LookupButton>("btnContCorr", &page, "Conta Corrente", &dtsContCorr).SetHint("Pesquisar");
    leitura("DBEdit14", "CDBANCO");
    leitura("DBEdit10", "CDAGENCIA");
    leitura("DBEdit13", "CDCONTCORR");
    leitura("DBEdit11", "DSCONTCORR");

    rotulo("lblFavorecido", "C.Corrente Favorecido");
    editavel("dbeCdBancBolP", "CDBANCBOLP");
    editavel("dbeCdAgenBolP", "CDAGENBOLP").SetCharCase(CharCase::Upper);
    editavel("dbeCdCCorForn", "CDCCORBOLP").SetCharCase(CharCase::Upper);
    Add<LookupButton>("btnContCFor", &page, "Conta Corrente", nullptr,
                      "Não há conta corrente cadastrada.")
        .SetHint("Pesquisar");

    rotulo("lblCdBarra", "Código de Barras");
    Entrada(Add<Edit>("edtCdBarra", &page)).SetMaxLength(44);
    rotulo("lblReNumerica", "Representação Numérica");
    editavel("dbeLinhBarPag", "DSLINHBARPAG");

    // The due date is typed only while a boleto row is being inserted (association).
    rotulo("lblVencimento", "Data do Vencimento").SetEnabled(false);
    Entrada(Add<DBDateEdit>("dbdVencimento", &page, &dtsBoletos, "DTVENBOLPAG")).SetEnabled(false);
    SomenteLeitura(Add<Edit>("edtDiaSemana", &page));

    auto& pix = Add<GroupBox>("grbPix", &page);
    pix.SetCaption("Pix");
    pix.SetEnabled(false);
    Add<Label>("LblQrCode", &pix).SetCaption("Qr-Code");
    Entrada(Add<DBEdit>("dbeChaveQrPix", &pix, &dtsBoletos, "CODEQRPIX")).SetMaxLength(77);
    Add<Label>("lblChavePix", &pix).SetCaption("Chave Pix");
    Entrada(Add<DBComboBox>("dbcIdChavePix", &pix, &dtsBoletos, "IDCHAVEPIX",
                            std::vector<std::string>{"", "TeleFone", "E-mail", "CPF/CNPJ", "EVD"}));
    Entrada(Add<DBEdit>("dbeChavePix", &pix, &dtsBoletos, "CHAVEPIX"));
    Add<LookupButton>("btnPesqChavePix", &pix, "Chave Pix", &dtsChavePix,
                      "Não há Chave Pix Cadastrada para o Fornecedor.")
        .SetHint("Pesquisar");
    Add<DBEdit>("dbeIdChavePix", &pix, &dtsBoletos, "IDCHAVEPIX").SetVisible(false);
    Add<DBEdit>("dbeDsChavePix", &pix, &dtsBoletos, "DSCHAVEPIX").SetVisible(false);
}

void TfrmHabConta::criaPaginaAjustes() {
    auto& page = Add<Page>("tshAjustes", &pgcPadrao, "Ajuste");
    auto& grid = Add<Grid>("dbgAjuste", &page, &dtsAjBolPag);
    grid.SetEditing(true);
    grid.SetTabStop(true);
    GridOptions& o = grid.Options();
    o.titles = o.columnResize = o.tabs = o.alwaysShowSelection = o.confirmDelete = true;
    grid.AddColumn(
        {.fieldName = "CDAJUCTPAG", .width = 50, .buttonStyle = ColumnButtonStyle::None});
    grid.AddColumn({.fieldName = "DSAJUCTPAG", .width = 230, .readOnly = true});
    grid.AddColumn({.fieldName = "IDAJUCTPAG", .width = 110, .readOnly = true});
    grid.AddColumn({.fieldName = "VRAJBOLPAG", .width = 120, .alignment = Alignment::Right});
}

void TfrmHabConta::criaPaginaProrrogacao() {
    auto& page = Add<Page>("tshProrrogacao", &pgcPadrao, "Vencimento");
    auto& grupo = Add<GroupBox>("grbProrroga", &page);
    Add<Label>("lblVenc", &grupo).SetBold(true).SetCaption("Vencimento");
    Entrada(Add<DateEdit>("depVencimento", &grupo));
    SomenteLeitura(Add<Edit>("edtNmSemana", &grupo));
    Add<Label>("lblMotProrr", &grupo).SetBold(true).SetCaption("Motivo da Prorrogação");
    Entrada(Add<MaskEdit>("edtCdMotiPro", &grupo, "99;0; ")).SetMaxLength(2);
    Add<LookupButton>("sbtMotProrr", &grupo, "Motivo da Prorrogação", &dtsMotivoProrroga,
                      "Não há motivo cadastrado.")
        .SetHint("Pesquisar");
    SomenteLeitura(Add<Edit>("edtNmMotiPro", &grupo));
}

void TfrmHabConta::criaPaginaParcelamento() {
    auto& page = Add<Page>("tshParcelamento", &pgcPadrao, "Parcelamento");
    auto& grid = Add<Grid>("dbgParcelamento", &page, &dtsParcelas);
    grid.SetEditing(true);
    grid.SetTabStop(true);
    GridOptions& o = grid.Options();
    o.titles = o.columnResize = o.tabs = o.alwaysShowSelection = o.confirmDelete = true;
    grid.AddColumn({.fieldName = "NRPARCBOLPAGVISU",
                    .readOnly = true,
                    .buttonStyle = ColumnButtonStyle::None});
    grid.AddColumn({.fieldName = "DTVENBOLPAG",
                    .width = 91,
                    .readOnly = true,
                    .buttonStyle = ColumnButtonStyle::None});
    grid.AddColumn({.fieldName = "VRFINALBPAG", .width = 79});
    grid.AddColumn(
        {.fieldName = "CDMOTIPARC", .width = 267, .buttonStyle = ColumnButtonStyle::Ellipsis});
}

void TfrmHabConta::criaColunasBoletos() {
    Grid& g = dbgPadrao;
    GridOptions& o = g.Options();
    o.titles = o.columnResize = o.alwaysShowSelection = o.tabs = o.confirmDelete = true;
    o.editing = false;
    g.AddColumn({.fieldName = "IDMARCADO", .title = "4", .width = 20, .titleFont = "Symbol"});
    g.AddColumn({.fieldName = "IDBPAGREAL", .title = "Assoc.", .readOnly = true});
    g.AddColumn({.fieldName = "DTVENBOLPAG", .width = 61});
    g.AddColumn({.fieldName = "NMRAZSOCFORN", .width = 114});
    g.AddColumn({.fieldName = "NRPARCBOLPAGVISU", .width = 27, .readOnly = true});
    g.AddColumn({.fieldName = "NRORCAEVENTO", .title = "Orçamento"});
    g.AddColumn({.fieldName = "NRSEQORCAEVE", .title = "Seq."});
    g.AddColumn({.fieldName = "NF_ORCAMENTO", .title = "Filial Orçamento"});
    g.AddColumn({.fieldName = "NMTPBAIXAPAG", .width = 84});
    g.AddColumn({.fieldName = "IDHABIBPAG", .width = 25, .pickList = {"Sim", "Não"}});
    g.AddColumn({.fieldName = "VRFINALBPAG", .width = 70, .alignment = Alignment::Right});
    g.AddColumn({.fieldName = "NRNOTAFISC", .width = 86});
    g.AddColumn({.fieldName = "NRLANCANTECIPA", .readOnly = true});
    g.AddColumn({.fieldName = "IDSITUCNABP", .title = "Situação CNAB", .width = 115});
    g.AddColumn({.fieldName = "NRCNABPAGREM"});
    g.AddColumn({.fieldName = "NRCNABPAGRET"});
}

}  // namespace pag
