// GetDescontos: the supplier's advances and return notes that may still be deducted
// from a boleto being marked (the deductions dialog works on them).
#include "contracts/consiste.h"
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

// The supplier by its code, or any supplier registered under the same tax number (one
// legal entity with several codes).
constexpr const char* kSameSupplier = "(X.CDFORNECED = :F OR (:I <> '' AND F.NRINSJURFORN = :I))";

// "number/series", or the number alone without a series.
std::string documentSql(const std::string& number, const std::string& series) {
    return "CASE WHEN " + number + " IS NULL THEN NULL ELSE " + number + " || CASE WHEN TRIM(" +
           "COALESCE(" + series + ", '')) = '' THEN '' ELSE '/' || TRIM(" + series + ") END END";
}

Packet availableAdvances(Database& db, const std::string& empresa, const std::string& fornecedor,
                         const std::string& inscricao) {
    Statement st = db.prepare(std::string(R"(SELECT
  ROUND(SUM(ROUND(X.VRORIGINAL, 2)) OVER (), 2) AS VRTOTADIA, X.VRDISPONIVEL, X.NRLANCTONF,
  X.NRSEQVENPAG, X.NRPARCELAPAG, X.CDFILIAL, X.VRORIGINAL, 'N' AS IDMARCADO,
  0.0 AS VRDESCONTO, F.IDTPIJURFORN, F.NMRAZSOCFORN, F.NRINSJURFORN, X.DTATUAVENPAG
  FROM ADIANTFORN X
  JOIN FORNECEDOR F ON F.CDFORNECED = X.CDFORNECED
 WHERE X.CDEMPRESA = :E AND ROUND(X.VRDISPONIVEL, 2) > 0 AND )") +
                              kSameSupplier +
                              " ORDER BY X.DTATUAVENPAG, X.CDFILIAL, X.NRLANCTONF, "
                              "X.NRSEQVENPAG, X.NRPARCELAPAG");
    st.bind("E", Value(empresa));
    st.bind("F", Value(fornecedor));
    st.bind("I", Value(inscricao));
    return packetFromStatement(st, adiantamentoFields());
}

Packet availableReturns(Database& db, const std::string& empresa, const std::string& fornecedor,
                        const std::string& inscricao) {
    Statement st = db.prepare(
        "SELECT 'N' AS IDMARCADO, " + documentSql("X.NRNFDEVOL", "X.CDSERIEDEVOL") +
        " AS DOCUMENTO, X.FILIDEVOL AS FILIDEVO, X.NRNFDEVOL AS NRNFDEVO, X.DTEMISSAO,"
        " X.VRDISPONIVEL, 0.0 AS VRDESCONTO, X.VRNFDEVOL, F.NRINSJURFORN, F.IDTPIJURFORN,"
        " F.NMRAZSOCFORN, " +
        documentSql("X.NRNFCOMPRA", "X.CDSERIECOMPRA") +
        " AS DOCUMENTOORI"
        "  FROM NFDEVOLUCAO X JOIN FORNECEDOR F ON F.CDFORNECED = X.CDFORNECED"
        " WHERE X.CDEMPRESA = :E AND ROUND(X.VRDISPONIVEL, 2) > 0 AND " +
        kSameSupplier + " ORDER BY X.DTEMISSAO, X.FILIDEVOL, X.NRNFDEVOL");
    st.bind("E", Value(empresa));
    st.bind("F", Value(fornecedor));
    st.bind("I", Value(inscricao));
    return packetFromStatement(st, devolucaoFields());
}

// GetDescontos (company, supplier, supplier tax number) -> [qryDevolucao, qryAdiantamento]:
// what is still available (to the cent) of the supplier's return notes and advances in
// the company. Whether returns may be deducted at all is the screen's parameter.
Value getDescontos(OperationCall& call) {
    const std::string empresa = AllTrim(call.text(0));
    const std::string fornecedor = AllTrim(call.text(1));
    const std::string inscricao = AllTrim(call.text(2));
    call.requireCompany(empresa);
    if (fornecedor.empty()) throw Refusal("Fornecedor não informado.");
    return Value(
        ValueArray{packetValue(availableReturns(call.db, empresa, fornecedor, inscricao)),
                   packetValue(availableAdvances(call.db, empresa, fornecedor, inscricao))});
}

}  // namespace

void registerDiscountOperations(OperationRegistry& r) {
    r.add("GetDescontos", Access::Read, getDescontos);
}

}  // namespace pag::server
