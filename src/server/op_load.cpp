// Loading the boletos and, for the current boleto, its payables, adjustments and
// installments.
#include "server/boleto_filter.h"
#include "server/boleto_key.h"
#include "server/boleto_query.h"
#include "server/boleto_rules.h"
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

Value getBoletos(OperationCall& call) {
    const BoletoFilter filter = boletoFilterFromArgs(call);
    call.requireCompany(filter.empresa);
    return packetValue(selectBoletos(call.db, boletoFilterConditions(filter)));
}

// GetCntPagar (branch, launch number) -> the payables paid by the boleto.
Value getCntPagar(OperationCall& call) {
    const std::string filial = call.text(0), lancamento = call.text(1);
    requireBoletoCompany(call, filial, lancamento);
    Statement st = call.db.prepare(R"(SELECT C.*, T.IDTPCTPAGAR
  FROM CNTPAGAR C
  LEFT JOIN TIPOCTPAGAR T ON T.CDTPCTPAGAR = C.CDTPCTPAGAR
 WHERE C.CDFILIBPAG = :F AND C.NRLANBOLPAG = :L
 ORDER BY C.CDFILIAL, C.NRLANCTONF, C.NRSEQVENPAG, C.NRPARCELAPAG)");
    bindBoletoKey(st, filial, lancamento);
    return packetValue(packetFromStatement(st, cntPagarFields()));
}

// GetAjBolPag (branch, launch number) -> the boleto's adjustments with their types.
Value getAjBolPag(OperationCall& call) {
    const std::string filial = call.text(0), lancamento = call.text(1);
    requireBoletoCompany(call, filial, lancamento);
    Statement st = call.db.prepare(R"(SELECT A.CDAJUCTPAG, A.CDFILIAL, A.NRLANBOLPAG,
       T.DSAJUCTPAG, T.IDAJUCTPAG, A.VRAJBOLPAG, A.IDORIGAJBPAG
  FROM AJBOLPAG A
  JOIN TIPOAJPAGAR T ON T.CDAJUCTPAG = A.CDAJUCTPAG
 WHERE )" + boletoKeyCondition("A") +
                                   R"(
 ORDER BY A.CDAJUCTPAG)");
    bindBoletoKey(st, filial, lancamento);
    return packetValue(packetFromStatement(st, ajBolPagFields()));
}

// GetParcelas (branch, launch number, origin boleto number, company) -> the boletos
// of the boleto's split set in installment order; a boleto never split (no origin)
// is its own single installment "00".
Value getParcelas(OperationCall& call) {
    const std::string filial = call.text(0), lancamento = call.text(1);
    const std::string origem = call.text(2), empresa = call.text(3);
    call.requireCompany(empresa);
    const bool split = origem.find_first_not_of(' ') != std::string::npos;
    Statement st = call.db.prepare(std::string(R"(SELECT
  B.NRPARCBOLPAG AS NRPARCBOLPAGVISU, CAST(B.NRPARCBOLPAG AS REAL) AS NRPARCBOLPAGNUM,
  B.CDFILIAL, B.NRLANBOLPAG, B.CDFORNECED, B.NRPARCBOLPAG, B.DTVENBOLPAG, B.CDEMPRESA,
  B.VRFINALBPAG, B.CDMOTIPARC, B.IDSTATBPAG, B.VRBOLPAG, B.NRORIGBOLPAG, M.DSMOTIPARC,
  B.VRPEMULBPAG, B.VRMULTABPAG, B.VRPEMORBPAG, B.IDHABIBPAG, B.VRMORDIABPAG, B.IDBPAGREAL,
  B.CDBANCBOLP, B.CDAGENBOLP, B.CDCCORBOLP, B.CDREDUCONT, B.CDBARRAPAG, B.NRCNABPAGREM,
  B.DSLINHBARPAG, B.NRCNABPAGRET, B.NRLANCANTECIPA, B.IDSITUCNABP
  FROM BOLETPAGAR B
  LEFT JOIN MOTIVOPARC M ON M.CDMOTIPARC = B.CDMOTIPARC
 WHERE B.CDFILIAL = :F AND B.CDEMPRESA = :EMP AND B.NRLANBOLREAL IS NULL AND )") +
                                   (split ? "B.NRORIGBOLPAG = :ORIG" : "B.NRLANBOLPAG = :L") +
                                   " ORDER BY B.NRPARCBOLPAG, B.NRLANBOLPAG");
    st.bind("F", Value(filial));
    st.bind("EMP", Value(empresa));
    if (split)
        st.bind("ORIG", Value(origem.substr(origem.find_first_not_of(' '))));
    else
        st.bind("L", Value(lancamento));
    return packetValue(packetFromStatement(st, parcelasFields()));
}

}  // namespace

void registerLoadOperations(OperationRegistry& r) {
    r.add("GetBoletos", Access::Read, getBoletos);
    r.add("GetCntPagar", Access::Read, getCntPagar);
    r.add("GetAjBolPag", Access::Read, getAjBolPag);
    r.add("GetParcelas", Access::Read, getParcelas);
}

}  // namespace pag::server
