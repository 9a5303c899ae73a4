#include "server/boleto_filter.h"

#include "platform/format.h"
#include "server/operation_registry.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

bool blank(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// "from <= column <= to", each bound only when given.
void addTextRange(SqlConditions& c, const std::string& column, const std::string& param,
                  const std::string& from, const std::string& to) {
    if (!blank(from)) c.add(column + " >= :" + param + "INI", param + "INI", Value(trimmed(from)));
    if (!blank(to)) c.add(column + " <= :" + param + "FIN", param + "FIN", Value(trimmed(to)));
}

void addDateRange(SqlConditions& c, const std::string& column, const std::string& param, Date from,
                  Date to) {
    if (!from.isEmpty()) c.add(column + " >= :" + param + "INI", param + "INI", Value(from));
    if (!to.isEmpty()) c.add(column + " <= :" + param + "FIN", param + "FIN", Value(to));
}

void addFlag(SqlConditions& c, const std::string& flag, const std::string& yesCondition,
             const std::string& noCondition, const char* yes, const char* no, const char* what) {
    const std::string f = trimmed(flag);
    if (f.empty()) return;
    if (f == yes)
        c.add(yesCondition);
    else if (f == no)
        c.add(noCondition);
    else
        throw Refusal(std::string("Critério de ") + what + " inválido: '" + f + "'.");
}

}  // namespace

BoletoFilter boletoFilterFromArgs(const OperationCall& call) {
    BoletoFilter f;
    f.empresa = trimmed(call.text(0));
    f.fornecedores = call.text(1);
    f.filiaisOrigem = call.text(2);
    f.filiaisLanc = call.text(3);
    f.tiposBaixa = call.text(4);
    f.habilitado = call.text(5);
    f.valorIni = call.number(6);
    f.valorFin = call.number(7);
    f.vencIni = call.date(8);
    f.vencFin = call.date(9);
    f.docIni = call.text(10);
    f.docFin = call.text(11);
    f.bancosBenef = call.text(12);
    f.tiposConta = call.text(13);
    f.situacao = call.text(14);
    f.nrRemessa = call.text(15);
    f.nrRetorno = call.text(16);
    f.statLibNF = call.text(17);
    f.pessoa = call.text(18);
    f.emissIni = call.date(19);
    f.emissFin = call.date(20);
    f.gruposForn = call.text(21);
    f.orcaIni = call.text(22);
    f.orcaFin = call.text(23);
    return f;
}

SqlConditions boletoFilterConditions(const BoletoFilter& f) {
    SqlConditions c;
    c.add("B.CDEMPRESA = :EMPRESA", "EMPRESA", Value(f.empresa));
    c.addIn("B.CDFORNECED", "FORN", splitCodeList(f.fornecedores));
    c.addInTemplate(
        "EXISTS (SELECT 1 FROM CNTPAGAR CO WHERE CO.CDFILIBPAG = B.CDFILIAL AND "
        "CO.NRLANBOLPAG = B.NRLANBOLPAG AND CO.CDFILIAL IN {IN})",
        "FILORIG", splitCodeList(f.filiaisOrigem));
    c.addIn("B.CDFILIAL", "FILLANC", splitCodeList(f.filiaisLanc));
    c.addIn("B.CDTPBAIXAPAG", "TPBAIXA", splitCodeList(f.tiposBaixa));
    addFlag(c, f.habilitado, "B.IDHABIBPAG = 'S'", "B.IDHABIBPAG <> 'S'", "S", "N", "habilitação");
    // A range 0 to 0 is the dialog's "any value".
    if (roundDecimal(f.valorIni, 2) != 0 || roundDecimal(f.valorFin, 2) != 0) {
        c.add("ROUND(B.VRFINALBPAG, 2) >= :VRINI", "VRINI", Value(roundDecimal(f.valorIni, 2)));
        c.add("ROUND(B.VRFINALBPAG, 2) <= :VRFIN", "VRFIN", Value(roundDecimal(f.valorFin, 2)));
    }
    addDateRange(c, "B.DTVENBOLPAG", "VENC", f.vencIni, f.vencFin);
    addTextRange(c, "B.NRNOTAFISC", "DOC", f.docIni, f.docFin);
    c.addIn("B.CDBANCBOLP", "BANCO", splitCodeList(f.bancosBenef));
    c.addInTemplate(
        "EXISTS (SELECT 1 FROM CNTPAGAR CT WHERE CT.CDFILIBPAG = B.CDFILIAL AND "
        "CT.NRLANBOLPAG = B.NRLANBOLPAG AND CT.CDTPCTPAGAR IN {IN})",
        "TPCONTA", splitCodeList(f.tiposConta));
    c.addIn("COALESCE(B.IDSITUCNABP, '00')", "SITU", splitUnderscoreCodes(f.situacao));
    if (!blank(f.nrRemessa)) c.add("B.NRCNABPAGREM = :NRREM", "NRREM", Value(trimmed(f.nrRemessa)));
    if (!blank(f.nrRetorno)) c.add("B.NRCNABPAGRET = :NRRET", "NRRET", Value(trimmed(f.nrRetorno)));
    addFlag(c, f.statLibNF, "COALESCE(B.IDBLOQNFFIN, 'L') <> 'B'", "B.IDBLOQNFFIN = 'B'", "L", "B",
            "liberação da nota");
    if (trimmed(f.pessoa) != "T")
        c.addIn("F.IDTPIJURFORN", "PESSOA", splitUnderscoreCodes(f.pessoa));
    addDateRange(c, "B.DTEMISSAO", "EMISS", f.emissIni, f.emissFin);
    c.addIn("F.CDGRUPFORN", "GRFORN", splitCodeList(f.gruposForn));
    addTextRange(c, "B.NRORCAEVENTO", "ORCA", f.orcaIni, f.orcaFin);
    return c;
}

}  // namespace pag::server
