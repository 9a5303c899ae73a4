// The deductions dialog's controls, datasets and lookup with their names, captions and
// formats, and the wiring of their events.
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12001/abatimento_sql.h"
#include "contracts/client/suite_context.h"
#include "contracts/consiste.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

constexpr int kLargura = 620;
constexpr int kAltura = 420;

FieldDef campo(const char* name, FieldType type, int size, const char* label = "") {
    return campoDialogo(name, type, size, label);
}

FieldDef marca() {
    FieldDef d = campo("IDMARCADO", FieldType::Text, 1);
    d.fixedLength = true;
    return d;
}

std::vector<FieldDef> camposAdiantamento() {
    using T = FieldType;
    return {campo("VRTOTADIA", T::Float, 0),
            campo("NRLANCTONF", T::Text, 10),
            campo("NRSEQVENPAG", T::Text, 2),
            campo("NRPARCELAPAG", T::Text, 2),
            campo("CDFILIAL", T::Text, 4),
            campo("VRORIGINAL", T::Float, 0, "Vr.Original"),
            marca(),
            campo("VRDESCONTO", T::Float, 0, "Vr.Desconto"),
            campo("IDTPIJURFORN", T::Text, 1),
            campo("NMRAZSOCFORN", T::Text, 40),
            campo("NRINSJURFORN", T::Text, 20, "Inscrição"),
            campo("DTATUAVENPAG", T::Date, 0, "Vencimento"),
            campo("VRDISPONIVEL", T::Float, 0, "Vr. Diponível")};
}

std::vector<FieldDef> camposDevolucao() {
    using T = FieldType;
    return {marca(),
            campo("DOCUMENTO", T::Text, 26, "Doc/Série"),
            campo("FILIDEVO", T::Text, 4),
            campo("NRNFDEVO", T::Text, 10),
            campo("DTEMISSAO", T::Date, 0, "Emissão"),
            campo("VRDISPONIVEL", T::Float, 0, "Vr. Disponível"),
            campo("VRDESCONTO", T::Float, 0, "Vr. Desconto"),
            campo("VRNFDEVOL", T::Float, 0, "Vr. Original"),
            campo("NRINSJURFORN", T::Text, 20),
            campo("IDTPIJURFORN", T::Text, 1),
            campo("NMRAZSOCFORN", T::Text, 40),
            campo("DOCUMENTOORI", T::Text, 26, "Doc/Série Origem")};
}

std::vector<FieldDef> camposTipoAjuste() {
    FieldDef codigo = campo("CDAJUCTPAG", FieldType::Text, 4, "Código");
    codigo.editMask = "9999;0; ";
    return {codigo, campo("DSAJUCTPAG", FieldType::Text, 40, "Nome")};
}

void colunas(Grid& grid, std::initializer_list<const char*> campos) {
    for (const char* c : campos) {
        GridColumn col;
        col.fieldName = c;
        if (std::string_view(c) == "IDMARCADO") {
            // The title's box marks or unmarks every row.
            col.title = "4";
            col.titleFont = "Symbol";
            col.width = 20;
        }
        // Only the deduction may be typed into (and only on a marked row).
        col.readOnly = std::string_view(c) != "VRDESCONTO";
        grid.AddColumn(std::move(col));
    }
}

Grid& grade(TfrmAbatimento& f, const char* name, Page& page, DataSource& source) {
    Grid& g = f.Add<Grid>(name, &page, &source);
    g.Options().titles = true;
    g.Options().editing = false;
    g.Options().alwaysShowSelection = true;
    g.Options().confirmDelete = false;
    return g;
}

NumberEdit& somenteLeitura(TfrmAbatimento& f, const char* name) {
    NumberEdit& e = f.Add<NumberEdit>(name, &f.grbDadosRel, "#,##0.00");
    e.SetReadOnly(true);
    e.SetColour(Colour::buttonFace());
    return e;
}

Label& rotulo(TfrmAbatimento& f, const char* name, const char* caption) {
    Label& l = f.Add<Label>(name, &f.grbDadosRel);
    l.SetCaption(caption);
    return l;
}

}  // namespace

TfrmAbatimento::TfrmAbatimento()
    : TfrmRotiGeral("frmAbatimento", "Descontar "),
      panFornecedor(Add<Panel>("panFornecedor", &grbDadosRel)),
      dbeInscFor(Add<DBEdit>("dbeInscFor", &panFornecedor)),
      dbeNmFornecedor(Add<DBEdit>("dbeNmFornecedor", &panFornecedor)),
      medAjDescPag(Add<MaskEdit>("medAjDescPag", &panFornecedor, "9999;0; ")),
      btnDesconto(Add<LookupButton>("btnDesconto", &panFornecedor, "Tipo de Ajuste",
                                    &dtsTipoAjPagar, "Não há tipo de ajuste cadastrado.")),
      edtAjDescPag(Add<Edit>("edtAjDescPag", &panFornecedor)),
      ntbConsulta(Add<PageControl>("ntbConsulta", &grbDadosRel)),
      tshAdiantamento(Add<Page>("tshAdiantamento", &ntbConsulta, "Adiantamento")),
      tshDevolucao(Add<Page>("tshDevolucao", &ntbConsulta, "Devolucao")),
      dbgPadrao(grade(*this, "dbgPadrao", tshAdiantamento, dtsContaAd)),
      dbgDevolucao(grade(*this, "dbgDevolucao", tshDevolucao, dtsCompra)),
      lblTotal(rotulo(*this, "lblTotal", "Total de ")),
      nedAbatimento(somenteLeitura(*this, "nedAbatimento")),
      lblVrADesc(rotulo(*this, "lblVrADesc", "Valor a descontar")),
      nedVrADesc(somenteLeitura(*this, "nedVrADesc")),
      // A popup is never drawn; its model stays "visible" so that its shortcut works.
      pmnHotKey(Add<MenuItem>("pmnHotKey", nullptr)),
      mnuConfirma(Add<MenuItem>("mnuConfirma", &pmnHotKey, "Confirmar", "Ctrl+Enter")) {
    SetSize(kLargura, kAltura);
    Add<Label>("lblFornecedor", &panFornecedor).SetCaption("Fornecedor");
    Add<Label>("lblTipoAjuste", &panFornecedor).SetCaption("Tipo de ajuste");
    Add<Image>("imgCheck").SetVisible(false);
    Add<Image>("imguncheck").SetVisible(false);
    for (DBEdit* e : {&dbeInscFor, &dbeNmFornecedor}) {
        e->SetReadOnly(true);
        e->SetColour(Colour::buttonFace());
    }
    medAjDescPag.SetMaxLength(4);
    medAjDescPag.SetTabStop(true);
    medAjDescPag.SetColour(kCorObrigatorio);
    btnDesconto.SetHint("Pesquisar");
    edtAjDescPag.SetReadOnly(true);
    edtAjDescPag.SetColour(Colour::buttonFace());
    // A notebook: the dialog shows the page of the kind, the user does not switch.
    for (Page* p : {&tshAdiantamento, &tshDevolucao})
        p->SetTabVisible(false);
    colunas(dbgPadrao, {"IDMARCADO", "NRINSJURFORN", "DTATUAVENPAG", "VRORIGINAL", "VRDISPONIVEL",
                        "VRDESCONTO"});
    colunas(dbgDevolucao, {"IDMARCADO", "DOCUMENTO", "DTEMISSAO", "VRNFDEVOL", "VRDISPONIVEL",
                           "VRDESCONTO", "DOCUMENTOORI"});
    carregaMensagens();
    criaDataSets();
    ligaEventos();
}

TfrmAbatimento::~TfrmAbatimento() {
    // The controls are bound to the dialog's own datasets: they go first.
    DestroyControls();
}

void TfrmAbatimento::criaDataSets() {
    cdsContaAd.SetFieldDefs(camposAdiantamento());
    cdsCompra.SetFieldDefs(camposDevolucao());
    qryTipoAjPagar.SetDatabase(Suite().db);
    qryTipoAjPagar.SetSQL(abatimento_sql::kSqlTipoAjPagar);
    qryTipoAjPagar.SetFieldDefs(camposTipoAjuste());
    for (ClientDataSet* ds : {&cdsContaAd, &cdsCompra}) {
        ds->CreateDataSet();
        ds->FieldByName("NRINSJURFORN").OnGetText = [ds](Field& f, bool) {
            if (f.IsNull()) return std::string();
            return formatPersonDocument(ds->FieldByName("IDTPIJURFORN").AsString(), f.AsString());
        };
        ds->BeforeInsert = [](ClientDataSet&) { throw SilentAbort(); };
        ds->BeforeEdit = [this](ClientDataSet& d) { LinhaBeforeEdit(d); };
        ds->BeforePost = [this](ClientDataSet& d) { LinhaBeforePost(d); };
        ds->AfterPost = [this](ClientDataSet& d) { LinhaAfterPost(d); };
        // Moving to another row may change what can be typed.
        ds->AfterScroll = [this, ds](ClientDataSet&) {
            ajustaEdicao(ds == &cdsContaAd ? dbgPadrao : dbgDevolucao);
        };
    }
}

ClientDataSet* TfrmAbatimento::FindDataSet(std::string_view name) {
    for (ClientDataSet* ds :
         {static_cast<ClientDataSet*>(&cdsContaAd), static_cast<ClientDataSet*>(&cdsCompra),
          static_cast<ClientDataSet*>(&qryTipoAjPagar)})
        if (ds->Name() == name) return ds;
    return nullptr;
}

void TfrmAbatimento::ligaGrade(Grid& g) {
    g.OnDblClick = [this, &g] { GridDblClick(g); };
    g.OnKeyDown = [this, &g](int& key, ShiftState shift) { GridKeyDown(g, key, shift); };
    g.OnKeyPress = [this, &g](KeyChar& key) { GridKeyPress(g, key); };
    g.OnTitleClick = [this, &g](GridColumn& col) { GridTitleClick(g, col); };
    g.OnColExit = [this, &g] { GridColExit(g); };
    g.OnColEnter = [this, &g] { ajustaEdicao(g); };
    g.OnEnter = [this, &g] { ajustaEdicao(g); };
    g.OnDrawColumnCell = [this, &g](GridCanvas& canvas, int, GridColumn& col, DrawCellState) {
        GridDrawColumnCell(g, canvas, col);
    };
}

void TfrmAbatimento::ligaEventos() {
    OnActivate = [this] { FormActivate(); };
    medAjDescPag.OnChange = [this] { medAjDescPagChange(); };
    medAjDescPag.OnExit = [this] { medAjDescPagExit(); };
    btnDesconto.BeforePesq = [this](bool&) { btnDescontoBeforePesq(); };
    btnDesconto.AfterPesq = [this] { btnDescontoAfterPesq(); };
    mnuConfirma.OnClick = [this] { sbtConfirmaClick(); };
    ligaGrade(dbgPadrao);
    ligaGrade(dbgDevolucao);
}

void TfrmAbatimento::FormCreate() {
    TfrmRotiGeral::FormCreate();
    stContaAdi = 0;
    stContaDev = 0;
}

}  // namespace pag
