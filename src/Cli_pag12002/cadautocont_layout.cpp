// The automatic enabling dialog's controls, datasets and lookup with their names,
// captions and formats, and the wiring of their events.
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12002/cadautocont_sql.h"
#include "contracts/client/suite_context.h"

namespace pag {

namespace {

constexpr int kLargura = 520;
constexpr int kAltura = 205;
// The help topic of the dialog in the module's help file.
constexpr int kAjuda = 11911004;

FieldDef campo(const char* name, FieldType type, int size, const char* label = "") {
    return campoDialogo(name, type, size, label);
}

std::vector<FieldDef> camposParamCC() {
    using T = FieldType;
    return {campo("CDTPBXCREDCONT", T::Text, 2), campo("CDTPBAIXADOC", T::Text, 2),
            campo("CDTPBAIXATED", T::Text, 2), campo("VRLIMITEDOC", T::Float, 0)};
}

std::vector<FieldDef> camposBoletosMarcados() {
    using T = FieldType;
    return {campo("CDFILIAL", T::Text, 4),
            campo("NRLANBOLPAG", T::Text, 10, "Lançamento"),
            campo("VRBOLPAG", T::Float, 0, "Valor Boleto"),
            campo("DTVENBOLPAG", T::Date, 0, "Vencimento"),
            campo("CDFORNECED", T::Text, 21),
            campo("DTENTRSAID", T::Date, 0),
            campo("CDTPBAIXAPAG", T::Text, 2),
            campo("VRFINALBPAG", T::Float, 0, "Valor Líquido"),
            campo("IDTPCTPAGAR", T::Text, 1),
            campo("CDREDUCONT", T::Text, 3),
            campo("IDBAIXAUTILP", T::Text, 1)};
}

Label& rotulo(TfrmCadAutoCont& f, const char* name, const char* caption) {
    Label& l = f.Add<Label>(name, &f.grbDadosRel);
    l.SetCaption(caption);
    return l;
}

MaskEdit& codigo(TfrmCadAutoCont& f, const char* name, const char* mask, int tamanho) {
    MaskEdit& e = f.Add<MaskEdit>(name, &f.grbDadosRel, mask);
    e.SetMaxLength(tamanho);
    e.SetColour(kCorObrigatorio);
    return e;
}

// What the dialog shows of a looked-up code: never typed into.
Edit& mostrador(TfrmCadAutoCont& f, const char* name) {
    Edit& e = f.Add<Edit>(name, &f.grbDadosRel);
    e.SetReadOnly(true);
    e.SetTabStop(false);
    e.SetColour(Colour::buttonFace());
    return e;
}

DateEdit& vencimento(TfrmCadAutoCont& f) {
    DateEdit& d = f.Add<DateEdit>("depVencimento", &f.grbDadosRel);
    d.SetColour(kCorObrigatorio);
    return d;
}

}  // namespace

TfrmCadAutoCont::TfrmCadAutoCont()
    : TfrmRotiGeral("frmCadAutoCont", "Habilitação Automática"),
      lblCodTela(Add<Label>("lblCodTela", &panMenu)),
      depVencimento(vencimento(*this)),
      medTpProrroga(codigo(*this, "medTpProrroga", "99;0; ", 2)),
      btpMotivoPror(Add<LookupButton>("btpMotivoPror", &grbDadosRel, "Motivo de Prorrogação",
                                      &dtsMotivoPror, "Não há motivo de prorrogação cadastrado.")),
      edtNmProrroga(mostrador(*this, "edtNmProrroga")),
      medReduCont(codigo(*this, "medReduCont", "999;0; ", 3)),
      btnContCorr(Add<LookupButton>("btnContCorr", &grbDadosRel, "Conta Corrente")),
      edtCdBanco(mostrador(*this, "edtCdBanco")),
      edtCdAgencia(mostrador(*this, "edtCdAgencia")),
      edtCdContCorr(mostrador(*this, "edtCdContCorr")),
      edtDsContCorr(mostrador(*this, "edtDsContCorr")) {
    SetSize(kLargura, kAltura);
    SetHelpContext(kAjuda);
    SetHelpFile("paghelp.hlp");
    lblCodTela.SetCaption("PAG11004");
    rotulo(*this, "lblVencimento", "Vencimento");
    rotulo(*this, "lblTpProrroga", "Motivo Prorrogação");
    rotulo(*this, "lblReduCont", "C.Corrente Pagamento");
    btpMotivoPror.SetHint("Pesquisar");
    btnContCorr.SetHint("Pesquisar");
    carregaMensagens();
    criaDataSets();
    ligaEventos();
}

TfrmCadAutoCont::~TfrmCadAutoCont() {
    // The lookup buttons point at datasets that may go first.
    DestroyControls();
}

void TfrmCadAutoCont::criaDataSets() {
    cdsFornecedor.SetFieldDefs({campo("CDFORNECED", FieldType::Text, 21)});
    cdsParamCC.SetFieldDefs(camposParamCC());
    cdsBoletosMarcados.SetFieldDefs(camposBoletosMarcados());
    qryMotivoPror.SetDatabase(Suite().db);
    qryMotivoPror.SetSQL(cadautocont_sql::kSqlMotivoPror);
    qryMotivoPror.SetFieldDefs({campo("CDMOTIPROR", FieldType::Text, 2, "Código"),
                                campo("DSMOTIPROR", FieldType::Text, 40, "Descrição")});
}

ClientDataSet* TfrmCadAutoCont::FindDataSet(std::string_view name) {
    for (ClientDataSet* ds : {&cdsFornecedor, &cdsParamCC, &cdsBoletosMarcados,
                              static_cast<ClientDataSet*>(&qryMotivoPror)})
        if (ds->Name() == name) return ds;
    return nullptr;
}

void TfrmCadAutoCont::ligaEventos() {
    depVencimento.OnExit = [this] { depVencimentoExit(); };
    medTpProrroga.OnChange = [this] { medTpProrrogaChange(); };
    medTpProrroga.OnExit = [this] { medTpProrrogaExit(); };
    btpMotivoPror.BeforePesq = [this](bool&) { btpMotivoProrBeforePesq(); };
    btpMotivoPror.AfterPesq = [this] { btpMotivoProrAfterPesq(); };
    medReduCont.OnChange = [this] { medReduContChange(); };
    medReduCont.OnExit = [this] { medReduContExit(); };
    btnContCorr.BeforePesq = [this](bool&) { btnContCorrBeforePesq(); };
    btnContCorr.AfterPesq = [this] { btnContCorrAfterPesq(); };
}

}  // namespace pag
