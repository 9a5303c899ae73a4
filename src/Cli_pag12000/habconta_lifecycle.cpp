// The life of the boleto screen: the unit's variables, the entry that creates the
// screen once, its creation, first activation and close, the server connection, and the
// company chosen in the top panel.
#include <memory>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12100/filtro_hab.h"
#include "contracts/suite_access.h"
#include "platform/scoped.h"

namespace pag {

// ---- module variables
TfrmHabConta* frmHabConta = nullptr;
bool boIdCriado = false;
bool boAtualizaBoletos = true;
bool boParcelamento = false;
std::string stNrUltParc;
std::string stNrParcela;
std::string StParcela;
double doVrRestParc = 0;
Date DtVenc;
Date DtEntrDoc;
bool boPrimVez = true;

namespace {

// The hourglass the entry shows while it works (a busy kind of its own).
constexpr int kCursorAmpulheta = 0;

// The screen on show, and a screen closed by the user: that one is destroyed once the
// action that closed it is over (the next entry, or the module's end).
std::unique_ptr<TfrmHabConta> gTela;
std::unique_ptr<TfrmHabConta> gTelaFechada;

void liberaTelaFechada() {
    gTelaFechada.reset();
}

// The user closed the screen (close action Free).
void telaFechada() {
    frmHabConta = nullptr;
    DestroiFiltroHabConta();
    gTelaFechada = std::move(gTela);
}

// A general parameter as text; blank when the parameters could not be read.
std::string parametro(ClientDataSet& ds, const char* field) {
    if (!ds.Active() || ds.IsEmpty()) return {};
    Field* f = ds.FindField(field);
    return f ? f->AsString() : std::string();
}

}  // namespace

void Cli_pag12000_Initialize() {
    boAtualizaBoletos = true;
    boParcelamento = false;
    boIdCriado = false;
    boPrimVez = true;
}

void Cli_pag12000_Finalize() {
    DestroiHabConta();
    stNrUltParc.clear();
    stNrParcela.clear();
    StParcela.clear();
}

void DestroiHabConta() {
    DestroiFiltroHabConta();
    frmHabConta = nullptr;
    boIdCriado = false;
    gTela.reset();
    liberaTelaFechada();
}

void CriaHabConta(const std::string& empresa, Date data) {
    UserInterface& ui = *Suite().ui;
    BusyScope ampulheta(ui, kCursorAmpulheta);
    liberaTelaFechada();
    if (!boIdCriado) {
        gTela = std::make_unique<TfrmHabConta>();
        frmHabConta = gTela.get();
        frmHabConta->OnRelease = [](Form&) { telaFechada(); };
        // A creation stopped by a message (unknown company) still opens the screen.
        dispatchUserAction(ui, [] { frmHabConta->DoCreate(); });
        boIdCriado = true;
        // The screen opens with the focus on the company.
        if (!frmHabConta->ActiveControl()) frmHabConta->medEmpresa.SetFocus();
    }
    TfrmHabConta& tela = *frmHabConta;
    if (!empresa.empty()) {
        // An invalid company is reported, and the screen still shows with it to correct.
        dispatchUserAction(ui, [&] {
            tela.medEmpresa.SetText(empresa);
            tela.Vd_Empresa();
            CriaFiltroHabConta(kEscondeFiltro, data.toString());
            // Leaving the panel here must not open the filter dialog a second time.
            ScopedAssign<Handler> quieto(tela.panFiltro.OnExit, nullptr);
            tela.dbgPadrao.SetFocus();
        });
    }
    tela.Show();
}

// ---- creation, activation, close

void TfrmHabConta::FormCreate() {
    TfrmPadrao::FormCreate();
    netHabConta.Context = {Suite().login.EmprProc, Suite().login.FiliProc, Suite().login.Operador,
                           std::nullopt};
    netHabConta.EmbeddedServer = Suite().embeddedServer;
    netHabConta.BeforeConnect = [this](SocketConnection& conn) { netHabContaBeforeConnect(conn); };
    netHabConta.Open();
    for (ClientDataSet* ds :
         {&qryAdiantamento, &qryDevolucao, &cdsAdiantamento, &cdsDevolucao, &cdsCntPagar})
        ds->CreateDataSet();
    klsVrParcela = std::make_unique<TKeyList>();
    cdsAjBolPag.FieldByName("CDAJUCTPAG").SetTag(1);
    cdsAjBolPag.FieldByName("VRAJBOLPAG").SetTag(99);

    Value geral;
    {
        BusyScope avi(Ui(), kAviProcessando);
        std::vector<Value> args{Value(Suite().login.FiliProc)};
        geral = CheckResultServ(Ui(), netHabConta.Call("GetGeral", args));
    }
    cdsParamGeral.SetData(PayloadPacket(geral, 0));
    cdsGeralPag.SetData(PayloadPacket(geral, 1));
    cdsParamFilial.SetData(PayloadPacket(geral, 2));

    medEmpresa.SetText(Suite().login.EmprProc);
    qryVdEmpresa.Close();
    qryVdEmpresa.ParamByName("P_CDEMPRESA").SetAsString(medEmpresa.Text());
    qryVdEmpresa.Open();
    if (qryVdEmpresa.IsEmpty()) {
        medEmpresa.SetFocus();
        MensErro(Ui(), msgPadrao.Msg("emp_nc"));
    }
    edtNmEmpresa.SetText(qryVdEmpresa.FieldByName("NMEMPRESA").AsString());
}

void TfrmHabConta::FormActivate() {
    if (!boPrimVez) return;
    cdsParcelas.FieldByName("DTVENBOLPAG").SetEditMask(DateMask());
    Grid& g = dbgPadrao;
    const bool habilitaBoleto = parametro(cdsGeralPag, "IDHABIBOLE") == "S";
    GridColumn& hab = g.Column(IndiceCol(g, "IDHABIBPAG"));
    GridColumn& nome = g.Column(IndiceCol(g, "NMRAZSOCFORN"));
    hab.width = habilitaBoleto ? 27 : 0;
    hab.visible = habilitaBoleto;
    hab.readOnly = !habilitaBoleto;
    nome.width = habilitaBoleto ? 120 : 145;
    if (!habilitaBoleto && g.SelectedIndex() == IndiceCol(g, "IDHABIBPAG"))
        g.SetSelectedIndex(IndiceCol(g, "DTVENBOLPAG"));
    g.ColumnsChanged();
    // Display-only columns: typing in them is discarded by the grid.
    for (const char* campo : {"DTVENBOLPAG", "NMRAZSOCFORN", "NMTPBAIXAPAG", "VRFINALBPAG",
                              "NRLANCANTECIPA", "IDSITUCNABP"})
        cdsBoletos.FieldByName(campo).SetTag(1);
    if (parametro(cdsParamGeral, "IDEXIBDADORC") != "S") {
        for (const char* campo : {"NRORCAEVENTO", "NF_ORCAMENTO", "NRSEQORCAEVE"}) {
            DestroiColuna(g, campo);
            cdsBoletos.FieldByName(campo).SetVisible(false);
        }
    }
    boPrimVez = false;
}

void TfrmHabConta::FormClose(CloseAction& action) {
    boIdCriado = false;
    klsVrParcela.reset();
    TfrmPadrao::FormClose(action);
}

std::string TfrmHabConta::ParametroGeralPag(const char* field) {
    return parametro(cdsGeralPag, field);
}

void TfrmHabConta::netHabContaBeforeConnect(SocketConnection& conn) {
    conn.Host = Suite().login.WebURL;
    conn.Port = Suite().login.WebPort;
    conn.Token = Suite().login.Token;
    conn.Scheme = Suite().login.WebScheme;
    conn.CaFile = Suite().login.CaFile;
    conn.Insecure = Suite().login.Insecure;
}

void TfrmHabConta::ligaEventos() {
    OnActivate = [this] { FormActivate(); };
    panFiltro.OnEnter = [this] { panFiltroEnter(); };
    panFiltro.OnExit = [this] { panFiltroExit(); };
    btpEmpresa.BeforePesq = [this](bool&) { btpEmpresaBeforePesq(); };
    btpEmpresa.AfterPesq = [this] { btpEmpresaAfterPesq(); };
    sbtFiltro.OnClick = [this] { sbtFiltroClick(); };
    mnuFiltro.OnClick = [this] { mnuFiltroClick(); };
    Get<MenuItem>("mnuDadosPag").OnClick = [this] { mnuDadosPagClick(); };
    Get<MenuItem>("mnuAjustes").OnClick = [this] { mnuAjustesClick(); };
    Get<MenuItem>("mnuProrrogacao").OnClick = [this] { mnuProrrogacaoClick(); };
    Get<MenuItem>("mnuParcelamento").OnClick = [this] { mnuParcelamentoClick(); };
    Get<SpeedButton>("sbtHabAuto").OnClick = [this] { sbtHabAutoClick(); };
    Get<MenuItem>("mnuHabAuto").OnClick = [this] { sbtHabAutoClick(); };
    Get<SpeedButton>("sbtCadGuiaImp").OnClick = [this] { sbtCadGuiaImpClick(); };
    Get<MenuItem>("mnuCadGuiaTrib").OnClick = [this] { mnuCadGuiaTribClick(); };
}

// ---- company of the top panel

void TfrmHabConta::btpEmpresaBeforePesq() {
    qryEmpresa.Close();
    qryEmpresa.Open();
}

void TfrmHabConta::btpEmpresaAfterPesq() {
    medEmpresa.SetText(qryEmpresa.FieldByName("CDEMPRESA").AsString());
}

void TfrmHabConta::Vd_Empresa() {
    if (EmptyString(medEmpresa.Text())) MensErro(Ui(), msgPadrao.Msg("Empresa_ni"));
    const std::string codigo = Ajusta(medEmpresa.Text(), 2);
    medEmpresa.SetText(codigo);
    qryVdEmpresa.Close();
    qryVdEmpresa.ParamByName("P_CDEMPRESA").SetAsString(codigo);
    qryVdEmpresa.Open();
    if (qryVdEmpresa.IsEmpty()) MensErro(Ui(), msgPadrao.Msg("emp_nc"));
    if (!AcessoOperEmpresa(*Suite().db, codigo, Suite().login.Operador))
        MensErro(Ui(), msgPadrao.Msg("Emp_Nr"));
    edtNmEmpresa.SetText(qryVdEmpresa.FieldByName("NMEMPRESA").AsString());
}

void TfrmHabConta::panFiltroEnter() {
    cdsBoletos.Close();
    HabPageControl();
    mnuFolhaDadosClick();
    nedTotal.SetNumber(0);
    nedCont.SetNumber(0);
    stCdForneced_.clear();
    Habilita();
    sbtFiltro.SetEnabled(false);
    mnuFiltro.SetEnabled(sbtFiltro.Enabled());
    tshFolhaDados.SetEnabled(true);
}

void TfrmHabConta::panFiltroExit() {
    Vd_Empresa();
    CriaFiltroHabConta(kBotaoFiltro, "");
    sbtFiltro.SetEnabled(true);
    mnuFiltro.SetEnabled(sbtFiltro.Enabled());
}

void TfrmHabConta::sbtFiltroClick() {
    CriaFiltroHabConta(kBotaoFiltro, "");
}

void TfrmHabConta::mnuFiltroClick() {
    CriaFiltroHabConta(kBotaoFiltro, "");
}

void TfrmHabConta::Verifica_Acesso_Sistema(Date dueDate) {
    const auto bloqueada = [&] {
        return DtProcBloq(*Suite().db, kSistemaPag, Suite().login.Operador, dueDate, cdsParamGeral);
    };
    bool bloqueio;
    if (caminhada_) {
        // A walk asks once per due date: the lock does not move while it runs.
        const auto [lido, novo] = caminhada_->bloqueioPorData.try_emplace(dueDate.serial());
        if (novo) lido->second = bloqueada();
        bloqueio = lido->second;
    } else {
        bloqueio = bloqueada();
    }
    if (bloqueio) MensErro(Ui(), msgPadrao.Msg("DtBol<DtSis"));
}

}  // namespace pag
