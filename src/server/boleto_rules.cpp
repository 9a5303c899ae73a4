#include "server/boleto_rules.h"

#include "contracts/consiste.h"
#include "platform/format.h"
#include "server/boleto_key.h"
#include "server/boleto_query.h"
#include "server/dataset_fields.h"
#include "server/packet_builder.h"
#include "server/refusal.h"

namespace pag::server {

bool isSentToBank(const std::string& situacao) {
    const std::string s = AllTrim(situacao);
    return !s.empty() && s != "00" && s != "01";
}

bool remittanceChangesControlled(Database& db) {
    Statement st = db.prepare("SELECT IDUTCTRLCANREMP FROM GERALPAG ORDER BY CDGERALPAG LIMIT 1");
    if (!st.step()) throw Refusal("Parâmetros do contas a pagar não cadastrados.");
    return st.column(0).asString() == "S";
}

void requireBoletoCompany(OperationCall& call, const std::string& filial,
                          const std::string& lancamento) {
    const Value empresa = boletoColumn(call.db, filial, lancamento, "CDEMPRESA");
    if (!empresa.isNull()) call.requireCompany(empresa.asString());
}

std::string boletoConflictMessage(Database& db, const std::string& filial,
                                  const std::string& lancamento, bool valueChanged) {
    Statement st = db.prepare(
        "SELECT IDSTATBPAG, NRLANBOLREAL FROM BOLETPAGAR"
        " WHERE " +
        boletoKeyCondition());
    bindBoletoKey(st, filial, lancamento);
    if (!st.step() || !st.column(1).isNull()) return kMsgBoletoExcluido;
    if (st.column(0).asString() == "B") return kMsgBoletoBaixado;
    return valueChanged ? kMsgValorAlterado : kMsgBoletoAlterado;
}

std::string boletoConflictMessage(Database& db, const std::vector<Value>& key) {
    if (key.size() < 2) return kMsgBoletoAlterado;
    return boletoConflictMessage(db, key[0].asString(), key[1].asString(), true);
}

Packet barcodeCarriers(Database& db, const std::string& empresa, const std::string& barcode) {
    Statement st = db.prepare(R"(SELECT CDFILIAL, NRLANBOLPAG, VRFINALBPAG, DTVENBOLPAG,
       NMRAZSOCFORN, IDANTECIPA FROM (
  SELECT A.CDFILIAL, A.NRLANCANTECIPA AS NRLANBOLPAG, A.VRANTECIPA AS VRFINALBPAG,
         A.DTVENANTECIPA AS DTVENBOLPAG, F.NMRAZSOCFORN, '1' AS IDANTECIPA, 0 AS NRORDEM
    FROM ANTECIPACAO A
    JOIN FORNECEDOR F ON F.CDFORNECED = A.CDFORNECED
   WHERE A.CDEMPRESA = :E AND A.CDBARRAPAG = :B
  UNION ALL
  SELECT B.CDFILIAL, B.NRLANBOLPAG, B.VRFINALBPAG, B.DTVENBOLPAG, F.NMRAZSOCFORN,
         '0', CASE WHEN B.IDSTATBPAG = 'B' THEN 1 ELSE 2 END
    FROM BOLETPAGAR B
    JOIN FORNECEDOR F ON F.CDFORNECED = B.CDFORNECED
   WHERE B.CDEMPRESA = :E AND B.CDBARRAPAG = :B) CARRIERS
 ORDER BY NRORDEM, CDFILIAL, NRLANBOLPAG)");
    st.bind("E", Value(empresa));
    st.bind("B", Value(AllTrim(barcode)));
    return packetFromStatement(st, vdBarraPagFields());
}

std::string barcodeTakenMessage(const Packet& carriers, size_t row) {
    const bool antecipacao = carriers.value(row, "IDANTECIPA").asString() == "1";
    const double valor = roundDecimal(carriers.value(row, "VRFINALBPAG").asFloat(), 2);
    return std::string("Código de barras já cadastrado para ") +
           (antecipacao ? "uma antecipação" : "outro boleto") + " com valor de " +
           formatFloat("#,##0.00", valor) + " do fornecedor " +
           carriers.value(row, "NMRAZSOCFORN").asString() + ", com vencimento em " +
           carriers.value(row, "DTVENBOLPAG").asDate().toString() + ".";
}

}  // namespace pag::server
