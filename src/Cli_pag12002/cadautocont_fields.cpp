// The automatic enabling dialog's three values: the due date with the operator's
// processing-date lock, the extension reason and the paying account, each checked on
// leaving it (a blank code passes until the confirmation) and picked from its list.
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12002/cadautocont_internal.h"
#include "contracts/suite_access.h"

namespace pag {

namespace {

// The reason lookup: one code (todos null) or every reason (codigo null, todos "T").
void abreMotivos(Query& q, const Value& codigo, const Value& todos) {
    q.Close();
    q.ParamByName("P_CDMOTIPROR").SetValue(codigo);
    q.ParamByName("P_TCDMOTIPROR").SetValue(todos);
    q.Open();
}

}  // namespace

void TfrmCadAutoCont::erro(const char* chave, Control* c) {
    if (c) focaFalha(*c);
    MensErro(Ui(), msgPadrao.Msg(chave));
}

// ---- due date

void TfrmCadAutoCont::Verifica_Acesso_Sistema() {
    const Date vencimento = depVencimento.GetDate();
    // A blank date is the confirmation's business ("Venc_ni").
    if (vencimento.isEmpty()) return;
    const SuiteServices& suite = Suite();
    if (DtProcBloq(*suite.db, kSistemaPag, suite.login.Operador, vencimento,
                   telaHabConta().cdsParamGeral))
        erro("DtVen<DtSis", &depVencimento);
}

void TfrmCadAutoCont::depVencimentoExit() {
    depVencimento.CheckValidDate();
    Verifica_Acesso_Sistema();
}

// ---- extension reason

void TfrmCadAutoCont::Vd_MotiPror(bool confirmando) {
    if (EmptyString(medTpProrroga.Text())) {
        if (confirmando) erro("Motpr_ni", &medTpProrroga);
        return;
    }
    medTpProrroga.SetText(Ajusta(medTpProrroga.Text(), 2));
    abreMotivos(qryMotivoPror, Value(medTpProrroga.Text()), Value());
    if (qryMotivoPror.IsEmpty()) erro("Motpr_nc", &medTpProrroga);
    edtNmProrroga.SetText(qryMotivoPror.FieldByName("DSMOTIPROR").AsString());
}

void TfrmCadAutoCont::medTpProrrogaChange() {
    edtNmProrroga.Clear();
}

void TfrmCadAutoCont::medTpProrrogaExit() {
    Vd_MotiPror(false);
}

void TfrmCadAutoCont::btpMotivoProrBeforePesq() {
    abreMotivos(qryMotivoPror, Value(), Value(std::string("T")));
}

void TfrmCadAutoCont::btpMotivoProrAfterPesq() {
    medTpProrroga.SetText(qryMotivoPror.FieldByName("CDMOTIPROR").AsString());
    edtNmProrroga.SetText(qryMotivoPror.FieldByName("DSMOTIPROR").AsString());
}

// ---- paying account

void TfrmCadAutoCont::abreContas(const std::string& codigo, const std::string& todos) {
    TfrmHabConta& tela = telaHabConta();
    Query& q = tela.qryContCorr;
    q.Close();
    q.ParamByName("P_CDEMPRESA").SetAsString(tela.medEmpresa.Text());
    q.ParamByName("P_CDREDUCONT").SetAsString(codigo);
    q.ParamByName("P_TCDREDUCONT").SetAsString(todos);
    q.Open();
}

void TfrmCadAutoCont::mostraConta() {
    Query& q = telaHabConta().qryContCorr;
    medReduCont.SetText(q.FieldByName("CDREDUCONT").AsString());
    edtCdBanco.SetText(q.FieldByName("CDBANCO").AsString());
    edtCdAgencia.SetText(q.FieldByName("CDAGENCIA").AsString());
    edtCdContCorr.SetText(q.FieldByName("CDCONTCORR").AsString());
    edtDsContCorr.SetText(q.FieldByName("DSCONTCORR").AsString());
}

void TfrmCadAutoCont::Vd_CdReduCont(bool confirmando) {
    if (EmptyString(medReduCont.Text())) {
        if (confirmando) erro("ReduCont_ni", &medReduCont);
        return;
    }
    medReduCont.SetText(Ajusta(medReduCont.Text(), 3));
    abreContas(medReduCont.Text(), "");
    if (telaHabConta().qryContCorr.IsEmpty()) erro("ReduCont_nc", &medReduCont);
    mostraConta();
}

void TfrmCadAutoCont::medReduContChange() {
    for (Edit* e : {&edtCdBanco, &edtCdAgencia, &edtCdContCorr, &edtDsContCorr})
        e->Clear();
}

void TfrmCadAutoCont::medReduContExit() {
    Vd_CdReduCont(false);
}

void TfrmCadAutoCont::btnContCorrBeforePesq() {
    abreContas("", "T");
}

void TfrmCadAutoCont::btnContCorrAfterPesq() {
    mostraConta();
}

}  // namespace pag
