// The datasets of the boleto screen: their fields, the lookup queries on the suite's
// database, the data sources and the display texts of the boleto and payable fields.
#include <utility>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12000/habconta_sql.h"
#include "contracts/consiste.h"
#include "contracts/screen_records.h"
#include "platform/format.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {
using namespace habconta_sql;

}  // namespace

// ---- display texts (pure, so they can be checked on their own)

std::string TextoNavegadorBoleto(Date vencimento, const std::string& fantasia, double valor) {
    if (vencimento.isEmpty()) return {};
    return vencimento.toString() + " " + fantasia + " " + formatFloat("#,###,##0.00", valor);
}

std::string DocumentoConta(const std::string& notaFiscal, const std::string& serie) {
    if (EmptyString(serie)) return notaFiscal;
    return notaFiscal + "/" + serie;
}

double AjusteConta(double valorAtual, double valorOriginal) {
    return RoundDec(valorAtual, 2) - RoundDec(valorOriginal, 2);
}

std::string IdentificacaoConta(const std::string& sequencia, const std::string& parcela) {
    return sequencia + "." + parcela;
}

std::string TfrmHabConta::TextoSituacaoCnab(const std::string& code) const {
    if (!code.empty() && msgPadrao.Has(code)) return msgPadrao.Msg(code);
    return code;
}

// ---- datasets

void TfrmHabConta::criaDataSets() {
    // Every dataset with declared fields takes them from the shared record table, so the
    // packets of the server load into them unchanged.
    ClientDataSet* declarados[] = {
        &cdsBoletos,    &cdsCntPagar,     &cdsAjBolPag, &cdsParcelas, &cdsParamGeral,
        &cdsGeralPag,   &cdsParamFilial,  &cdsCCorForn, &cdsChavePix, &cdsVd_BarraPag,
        &cdsVerifAjust, &cdsSitCNAB,      &cdsChaveBol, &cdsBolAgru,  &cdsAdiantamento,
        &cdsDevolucao,  &qryAdiantamento, &qryDevolucao};
    for (ClientDataSet* ds : declarados)
        ds->SetFieldDefs(HabContaFieldDefs(ds->Name()));
    // cdsContProrVenc and cdsGrupoOperador take the fields of the packet they receive.

    dtsPadrao.SetDataSet(&cdsBoletos);
    dtsBoletos.SetDataSet(&cdsBoletos);
    dtsCntPagar.SetDataSet(&cdsCntPagar);
    dtsAjBolPag.SetDataSet(&cdsAjBolPag);
    dtsParcelas.SetDataSet(&cdsParcelas);
    dtsCCorForn.SetDataSet(&cdsCCorForn);
    dtsChavePix.SetDataSet(&cdsChavePix);
    dtsSitCNAB.SetDataSet(&cdsSitCNAB);
    dtsEmpresa.SetDataSet(&qryEmpresa);
    dtsContCorr.SetDataSet(&qryContCorr);
    dtsPesqTpBaixa.SetDataSet(&qryPesqTbBaixa);
    dtsTipoAjPagar.SetDataSet(&qryTipoAjPagar);
    dtsMotivoParc.SetDataSet(&qryMotivoParc);
    dtsMotivoProrroga.SetDataSet(&qryMotivoPro);
}

ClientDataSet* TfrmHabConta::FindDataSet(std::string_view name) {
    ClientDataSet* todos[] = {
        &cdsBoletos,     &cdsCntPagar,    &cdsAjBolPag,     &cdsParcelas,      &cdsParamGeral,
        &cdsGeralPag,    &cdsParamFilial, &cdsCCorForn,     &cdsChavePix,      &cdsVd_BarraPag,
        &cdsVerifAjust,  &cdsSitCNAB,     &cdsContProrVenc, &cdsGrupoOperador, &qryAdiantamento,
        &qryDevolucao,   &cdsChaveBol,    &cdsBolAgru,      &cdsAdiantamento,  &cdsDevolucao,
        &qryEmpresa,     &qryVdEmpresa,   &qryContCorr,     &qryBanco,         &qryPesqTbBaixa,
        &qryVdTipoBaixa, &qryTipoAjPagar, &qryMotivoParc,   &qryMotivoPro,     &qryPesqBoniForn};
    for (ClientDataSet* ds : todos)
        if (ds->Name() == name) return ds;
    return nullptr;
}

void TfrmHabConta::criaConsultas() {
    const std::pair<Query*, const char*> consultas[] = {
        {&qryEmpresa, kSqlEmpresa},         {&qryVdEmpresa, kSqlVdEmpresa},
        {&qryContCorr, kSqlContCorr},       {&qryBanco, kSqlBanco},
        {&qryVdTipoBaixa, kSqlVdTipoBaixa}, {&qryPesqTbBaixa, kSqlPesqTbBaixa},
        {&qryTipoAjPagar, kSqlTipoAjPagar}, {&qryMotivoParc, kSqlMotivoParc},
        {&qryMotivoPro, kSqlMotivoPro},     {&qryPesqBoniForn, kSqlPesqBoniForn}};
    for (auto [query, sql] : consultas) {
        query->SetDatabase(Suite().db);
        query->SetSQL(sql);
        // qryVdTipoBaixa's fields are those of its select list.
        if (query != &qryVdTipoBaixa) query->SetFieldDefs(HabContaFieldDefs(query->Name()));
    }
}

void TfrmHabConta::ligaEventosDataSets() {
    cdsBoletos.FieldByName("NRLANBOLPAG").OnGetText = [this](Field&, bool) {
        // cdsBoletosNRLANBOLPAGGetText: the navigator bar's text of the boleto.
        Field& venc = cdsBoletos.FieldByName("DTVENBOLPAG");
        if (venc.IsNull()) return std::string();
        return TextoNavegadorBoleto(venc.AsDateTime(),
                                    cdsBoletos.FieldByName("NMFANTFORN").AsString(),
                                    cdsBoletos.FieldByName("VRFINALBPAG").AsFloat());
    };
    cdsBoletos.FieldByName("NRINSJURFORN").OnGetText = [this](Field& f, bool) {
        // cdsBoletosNRINSJURFORNGetText: CNPJ or CPF by the supplier's person type.
        if (f.IsNull()) return std::string();
        return formatPersonDocument(cdsBoletos.FieldByName("IDTPIJURFORN").AsString(),
                                    f.AsString());
    };
    cdsBoletos.FieldByName("IDSITUCNABP").OnGetText = [this](Field& f, bool) {
        // cdsBoletosIDSITUCNABPGetText
        return TextoSituacaoCnab(f.AsString());
    };
    cdsCntPagar.FieldByName("NRSEQVENPAG").OnGetText = [this](Field& f, bool) {
        // cdsCntPagarNRSEQVENPAGGetText
        return IdentificacaoConta(f.AsString(), cdsCntPagar.FieldByName("NRPARCELAPAG").AsString());
    };
    cdsCntPagar.OnCalcFields = [this](ClientDataSet&) { cdsCntPagarCalcFields(); };
    cdsBoletos.AfterOpen = [this](ClientDataSet&) { cdsBoletosAfterOpen(); };
    cdsBoletos.AfterScroll = [this](ClientDataSet&) { cdsBoletosAfterScroll(); };
    cdsBoletos.BeforeInsert = [this](ClientDataSet&) {
        // cdsBoletosBeforeInsert: boleto rows are inserted only by association, never
        // from the grid page.
        if (pgcPadrao.ActivePage() == &tshFolhaDados) throw SilentAbort();
    };
}

void TfrmHabConta::cdsCntPagarCalcFields() {
    cdsCntPagar.FieldByName("Ajuste").SetAsFloat(
        AjusteConta(cdsCntPagar.FieldByName("VRATUAPAG").AsFloat(),
                    cdsCntPagar.FieldByName("VRORIGPAG").AsFloat()));
    cdsCntPagar.FieldByName("DOCUMENTO")
        .SetAsString(DocumentoConta(cdsCntPagar.FieldByName("NRNOTAFISC").AsString(),
                                    cdsCntPagar.FieldByName("CDSERIEENTR").AsString()));
}

}  // namespace pag
