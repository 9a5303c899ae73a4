#include "contracts/client/base_screens/frm_padrao.h"

namespace pag {

namespace {

// The standard messages of every maintenance screen.
TMessages standardMessages() {
    return TMessages("msgMensagensPadroes",
                     {{"Canc", "Deseja cancelar as alterações?"},
                      {"Excl", "Confirma a exclusão do registro?"},
                      {"SemReg", "Não há registros."},
                      {"EmEdicao", "Confirme ou cancele a alteração em andamento."}});
}

}  // namespace

TfrmPadrao::TfrmPadrao(std::string name, std::string caption, std::string screenCode,
                       std::string nameField)
    : Form(std::move(name), std::move(caption)),
      msgMensagensPadroes(standardMessages()),
      lblCodTela(Add<Label>("lblCodTela")),
      panMenu(Add<Panel>("panMenu")),
      sbtIncluir(Add<SpeedButton>("sbtIncluir", &panMenu)),
      sbtAlterar(Add<SpeedButton>("sbtAlterar", &panMenu)),
      sbtExcluir(Add<SpeedButton>("sbtExcluir", &panMenu)),
      sbtProcurar(Add<SpeedButton>("sbtProcurar", &panMenu)),
      sbtVerificar(Add<SpeedButton>("sbtVerificar", &panMenu)),
      sbtConfirmar(Add<SpeedButton>("sbtConfirmar", &panMenu)),
      sbtCancelar(Add<SpeedButton>("sbtCancelar", &panMenu)),
      sbtImprimir(Add<SpeedButton>("sbtImprimir", &panMenu)),
      sbtAjuda(Add<SpeedButton>("sbtAjuda", &panMenu)),
      sbtFechar(Add<SpeedButton>("sbtFechar", &panMenu)),
      pgcPadrao(Add<PageControl>("pgcPadrao")),
      tshFolhaDados(Add<Page>("tshFolhaDados", &pgcPadrao, "Folha de Dados")),
      scbFolhaDados(Add<ScrollBox>("scbFolhaDados", &tshFolhaDados)),
      panDbgPadrao(Add<Panel>("panDbgPadrao", &scbFolhaDados)),
      dbgPadrao(Add<Grid>("dbgPadrao", &panDbgPadrao, &dtsPadrao)),
      tshFormulario(Add<Page>("tshFormulario", &pgcPadrao, "Formulário")),
      scbFormulario(Add<ScrollBox>("scbFormulario", &tshFormulario)),
      panFormulario(Add<Panel>("panFormulario", &scbFormulario)),
      panNavigator(Add<Panel>("panNavigator")),
      dbtNome(Add<DBText>("dbtNome", &panNavigator, &dtsPadrao, std::move(nameField))),
      dbnPadrao(Add<DBNavigator>("dbnPadrao", &panNavigator, &dtsPadrao)),
      mnuMenu(Add<MenuItem>("mnuMenu")),
      mnuOperacao(Add<MenuItem>("mnuOperacao", &mnuMenu, "&Operação")),
      mnuFolhaDados(Add<MenuItem>("mnuFolhaDados", &mnuOperacao, "&Folha de Dados")),
      mnuFormulario(Add<MenuItem>("mnuFormulario", &mnuOperacao, "F&ormulário")),
      mnuListagem(Add<MenuItem>("mnuListagem", &mnuOperacao, "&Listagem")),
      mnuConfigImpressora(
          Add<MenuItem>("mnuConfigImpressora", &mnuOperacao, "&Configurar Impressora")),
      mnuManutencao(Add<MenuItem>("mnuManutencao", &mnuMenu, "&Manutenção")),
      mnuIncluir(Add<MenuItem>("mnuIncluir", &mnuManutencao, "&Incluir", "Ctrl+I")),
      mnuAlterar(Add<MenuItem>("mnuAlterar", &mnuManutencao, "A&lterar", "Ctrl+E")),
      mnuExcluir(Add<MenuItem>("mnuExcluir", &mnuManutencao, "&Excluir", "Ctrl+Y")),
      mnuProcurar(Add<MenuItem>("mnuProcurar", &mnuManutencao, "&Procurar", "Ctrl+F")),
      mnuVerificar(Add<MenuItem>("mnuVerificar", &mnuManutencao, "&Verificar", "Ctrl+G")),
      mnuCancelar(Add<MenuItem>("mnuCancelar", &mnuManutencao, "&Cancelar", "Ctrl+W")),
      mnuConfirmar(Add<MenuItem>("mnuConfirmar", &mnuManutencao, "C&onfirmar", "Ctrl+S")),
      pmnNavegar(Add<MenuItem>("pmnNavegar")),
      mnuPrimeiro(Add<MenuItem>("mnuPrimeiro", &pmnNavegar, "&Primeiro")),
      mnuAnterior(Add<MenuItem>("mnuAnterior", &pmnNavegar, "&Anterior")),
      mnuProximo(Add<MenuItem>("mnuProximo", &pmnNavegar, "Pró&ximo")),
      mnuUltimo(Add<MenuItem>("mnuUltimo", &pmnNavegar, "&Último")) {
    lblCodTela.SetCaption(std::move(screenCode));
    const std::pair<SpeedButton*, const char*> hints[] = {
        {&sbtIncluir, "Incluir"},   {&sbtAlterar, "Alterar"},     {&sbtExcluir, "Excluir"},
        {&sbtProcurar, "Procurar"}, {&sbtVerificar, "Verificar"}, {&sbtConfirmar, "Confirmar"},
        {&sbtCancelar, "Cancelar"}, {&sbtImprimir, "Imprimir"},   {&sbtAjuda, "Ajuda"},
        {&sbtFechar, "Fechar"}};
    for (auto [button, hint] : hints)
        button->SetHint(hint);
    // Printing belongs to the screens that print: the base has nothing to list.
    sbtImprimir.SetEnabled(false);
    mnuListagem.SetEnabled(false);
    mnuConfigImpressora.SetEnabled(false);
    pgcPadrao.SetActivePage(&tshFolhaDados);
    HabilitaPadrao();
    wireEvents();
}

TfrmPadrao::~TfrmPadrao() {
    // The grid, the label and the navigator are bound to dtsPadrao: they go first.
    DestroyControls();
}

void TfrmPadrao::wireEvents() {
    OnCreate = [this] { FormCreate(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](CloseAction& action) { FormClose(action); };
    pgcPadrao.OnChange = [this] { pgcPadraoChange(); };
    dtsPadrao.OnStateChange = [this](DataSource&) { dtsPadraoStateChange(); };

    const std::pair<SpeedButton*, MenuItem*> twins[] = {
        {&sbtIncluir, &mnuIncluir},     {&sbtAlterar, &mnuAlterar},
        {&sbtExcluir, &mnuExcluir},     {&sbtProcurar, &mnuProcurar},
        {&sbtVerificar, &mnuVerificar}, {&sbtConfirmar, &mnuConfirmar},
        {&sbtCancelar, &mnuCancelar}};
    sbtIncluir.OnClick = [this] { sbtIncluirClick(); };
    sbtAlterar.OnClick = [this] { sbtAlterarClick(); };
    sbtExcluir.OnClick = [this] { sbtExcluirClick(); };
    sbtProcurar.OnClick = [this] { sbtProcurarClick(); };
    sbtVerificar.OnClick = [this] { sbtVerificarClick(); };
    sbtConfirmar.OnClick = [this] { sbtConfirmarClick(); };
    sbtCancelar.OnClick = [this] { sbtCancelarClick(); };
    // A menu item runs what its button runs, whatever the screen made of it.
    for (auto [button, item] : twins)
        item->OnClick = [button] { button->OnClick(); };
    sbtAjuda.OnClick = [this] { sbtAjudaClick(); };
    sbtFechar.OnClick = [this] { sbtFecharClick(); };
    mnuFolhaDados.OnClick = [this] { mnuFolhaDadosClick(); };
    mnuFormulario.OnClick = [this] { mnuFormularioClick(); };

    const std::pair<MenuItem*, NavigateButton> moves[] = {{&mnuPrimeiro, NavigateButton::First},
                                                          {&mnuAnterior, NavigateButton::Prior},
                                                          {&mnuProximo, NavigateButton::Next},
                                                          {&mnuUltimo, NavigateButton::Last}};
    for (auto [item, move] : moves)
        item->OnClick = [this, move] { Navigate(DataSetPadrao(), move); };
}

std::vector<const TMessages*> TfrmPadrao::MessageTables() const {
    return {&msgPadrao, &msgMensagensPadroes};
}

// ---- base behaviours

void TfrmPadrao::FormCreate() {
    pgcPadrao.SetActivePage(&tshFolhaDados);
    // The base's own tick: the screen's page change may need what its creation has not
    // made yet.
    TfrmPadrao::pgcPadraoChange();
    HabilitaPadrao();
}

void TfrmPadrao::FormCloseQuery(bool& canClose) {
    if (!EditandoPadrao()) return;
    if (!ConfirmaPadrao("Canc")) {
        canClose = false;
        return;
    }
    DataSetPadrao()->Cancel();
}

void TfrmPadrao::FormClose(CloseAction& action) {
    if (EditandoPadrao()) DataSetPadrao()->Cancel();
    action = CloseAction::Free;
}

void TfrmPadrao::pgcPadraoChange() {
    const Page* showing = pgcPadrao.ActivePage();
    mnuFolhaDados.SetChecked(showing == &tshFolhaDados);
    mnuFormulario.SetChecked(showing == &tshFormulario);
}

void TfrmPadrao::dtsPadraoStateChange() {
    HabilitaPadrao();
}

void TfrmPadrao::sbtIncluirClick() {
    ClientDataSet* ds = DataSetPadrao();
    if (!ds || !ds->Active()) ErroPadrao("SemReg");
    if (EditandoPadrao()) ErroPadrao("EmEdicao");
    ds->Insert();
}

void TfrmPadrao::sbtAlterarClick() {
    ClientDataSet* ds = DataSetPadrao();
    if (!ds || !ds->Active() || ds->IsEmpty()) ErroPadrao("SemReg");
    // A row already being edited stays as it is.
    if (!EditandoPadrao()) ds->Edit();
}

void TfrmPadrao::sbtExcluirClick() {
    ClientDataSet& ds = rowsForCommand();
    if (!ConfirmaPadrao("Excl")) return;
    ds.Delete();
}

void TfrmPadrao::sbtProcurarClick() {
    Ui().find(rowsForCommand());
}

void TfrmPadrao::sbtConfirmarClick() {
    if (EditandoPadrao()) DataSetPadrao()->Post();
}

void TfrmPadrao::sbtCancelarClick() {
    if (!EditandoPadrao() || !ConfirmaPadrao("Canc")) return;
    DataSetPadrao()->Cancel();
}

void TfrmPadrao::sbtAjudaClick() {
    Ui().showHelp(HelpContext());
}

void TfrmPadrao::sbtFecharClick() {
    Close();
}

void TfrmPadrao::mnuFolhaDadosClick() {
    MostraPagina(tshFolhaDados);
}

void TfrmPadrao::mnuFormularioClick() {
    MostraPagina(tshFormulario);
}

// ---- helpers

bool TfrmPadrao::EditandoPadrao() const {
    const DataSetState s = dtsPadrao.State();
    return s == DataSetState::Edit || s == DataSetState::Insert;
}

bool TfrmPadrao::ConfirmaPadrao(std::string_view key) {
    return msgMensagensPadroes.ShowMsg(Ui(), key, MessageKind::Confirmation, HelpContext()) ==
           ModalResult::Yes;
}

void TfrmPadrao::ErroPadrao(std::string_view key) {
    MensErro(Ui(), msgMensagensPadroes.Msg(key));
}

void TfrmPadrao::MostraPagina(Page& page) {
    if (pgcPadrao.ActivePage() == &page) return;
    pgcPadrao.SetActivePage(&page);
    pgcPadraoChange();
}

void TfrmPadrao::HabilitaPadrao() {
    const ClientDataSet* ds = DataSetPadrao();
    const DataSetState state = dtsPadrao.State();
    const bool browsing = state == DataSetState::Browse;
    const bool hasRows = browsing && !ds->IsEmpty();
    const bool writable = browsing && !ds->ReadOnly();
    HabilitaComando(mnuIncluir, sbtIncluir, writable);
    HabilitaComando(mnuAlterar, sbtAlterar, writable && hasRows);
    HabilitaComando(mnuExcluir, sbtExcluir, writable && hasRows);
    HabilitaComando(mnuProcurar, sbtProcurar, hasRows);
    HabilitaComando(mnuVerificar, sbtVerificar, browsing);
    HabilitaComando(mnuConfirmar, sbtConfirmar, EditandoPadrao());
    HabilitaComando(mnuCancelar, sbtCancelar, EditandoPadrao());
    // Moving is for browsing: an edit is confirmed or cancelled first.
    dbnPadrao.SetEnabled(browsing);
    pmnNavegar.SetEnabled(browsing);
}

void TfrmPadrao::HabilitaComando(MenuItem& item, SpeedButton& button, bool enabled) {
    item.SetEnabled(enabled);
    button.SetEnabled(item.Enabled());
}

ClientDataSet& TfrmPadrao::rowsForCommand() {
    ClientDataSet* ds = DataSetPadrao();
    if (!ds || !ds->Active() || ds->IsEmpty()) ErroPadrao("SemReg");
    if (EditandoPadrao()) ErroPadrao("EmEdicao");
    return *ds;
}

}  // namespace pag
