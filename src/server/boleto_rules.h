#pragma once

#include <string>
#include <vector>

#include "platform/dataset/packet.h"
#include "platform/sql/database.h"
#include "server/operation_registry.h"

namespace pag::server {

// Rules about one stored boleto that several operations apply alike: who may see it,
// whether it is in a bank remittance, what to say when another user changed it, and
// who else carries its barcode.

// Refusal texts, as the screens word them.
inline constexpr const char* kMsgBoletoBaixado = "Boleto já baixado por outro usuário.";
inline constexpr const char* kMsgBoletoExcluido =
    "Boleto excluído ou associado por outro usuário. Atualize a lista de boletos.";
inline constexpr const char* kMsgValorAlterado =
    "Valor de uma conta foi alterado por outro usuário.";
inline constexpr const char* kMsgBoletoAlterado =
    "Boleto alterado por outro usuário. Atualize a lista de boletos e repita a operação.";
inline constexpr const char* kMsgNotaBloqueada =
    "Operação bloqueada! Boleto está ligado a uma nota bloqueada.";
inline constexpr const char* kMsgAntecipacao =
    "Operação bloqueada! Boleto associado a uma antecipação de fornecedor não pode ser "
    "alterado.";
inline constexpr const char* kMsgEnviadoBanco =
    "Boleto enviado ao banco (via CNAB) não pode ser alterado.";

// A remittance situation other than empty, "00" (not sent) and "01" (returned with
// error): the boleto is in the bank's hands.
bool isSentToBank(const std::string& situacao);

// The accounts-payable parameter IDUTCTRLCANREMP is "S": a boleto sent to the bank may
// be neither changed nor marked. Refuses when the parameters are missing.
bool remittanceChangesControlled(Database& db);

// Refuses unless the operator may work on the boleto's company; a boleto that does not
// exist passes (the caller answers "nothing found").
void requireBoletoCompany(OperationCall& call, const std::string& filial,
                          const std::string& lancamento);

// Why a saved row of cdsBoletos no longer matches the stored boleto: settled meanwhile,
// removed or absorbed by a real boleto, or (valueChanged) its value changed; otherwise
// the general "changed by another user" text.
std::string boletoConflictMessage(Database& db, const std::string& filial,
                                  const std::string& lancamento, bool valueChanged);
// The same for ChangeLogTable::conflictMessage, key = {CDFILIAL, NRLANBOLPAG}.
std::string boletoConflictMessage(Database& db, const std::vector<Value>& key);

// Everything of the company that carries the barcode, with the fields of cdsVd_BarraPag:
// anticipations first (IDANTECIPA "1"), then boletos of any status (IDANTECIPA "0"),
// settled ones before open ones, each group by key. The screen looks only at the first
// row, so the rows that most surely make the barcode taken come first.
Packet barcodeCarriers(Database& db, const std::string& empresa, const std::string& barcode);

// The "Vd_BarraPag" / "Vd_BarraPagAnt" text for a row of barcodeCarriers().
std::string barcodeTakenMessage(const Packet& carriers, size_t row);

}  // namespace pag::server
