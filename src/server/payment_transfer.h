#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sql/database.h"
#include "server/boleto_grouping.h"

namespace pag::server {

// Paying by electronic transfer from one of the company's accounts: which settlement type
// a payment takes and which of the supplier's accounts receives it.

// A paying account (CONTCORR) with its transfer parameters.
struct PayingAccount {
    std::string empresa, codigo, banco;
    std::string tipoCredito, tipoDoc, tipoTed;  // CDTPBXCREDCONT, CDTPBAIXADOC, CDTPBAIXATED
    int64_t limiteDoc = 0;                      // VRLIMITEDOC, cents (0 when null)
};

// The account, or nothing found (empty codigo).
PayingAccount findPayingAccount(Database& db, const std::string& empresa,
                                const std::string& codigo);

// Refuses an account whose transfer parameters are incomplete, with the texts the
// automatic enabling shows: a settlement type missing, or no DOC limit.
void checkTransferParameters(const PayingAccount& account);

// Account credit when the payee's bank is the paying account's bank; otherwise DOC up to
// the DOC limit (inclusive) and TED above it.
std::string transferSettlementType(const PayingAccount& account, const std::string& payeeBank,
                                   int64_t valueCents);

// The supplier's account that receives a transfer, with its remittance registration.
struct Payee {
    std::string banco, agencia, conta;
    std::string tipoInscricao, inscricao;  // IDTPICNABBOP, NRINSCNABBOP
};

// Among the supplier's registered accounts (CCORFORN): the one the boletos already name
// (when they all name the same), else one at the paying bank, else the first. Its
// registration, or the supplier's own when the account has none. Refuses a supplier
// without an account.
Payee choosePayee(Database& db, const std::string& fornecedor,
                  const std::vector<StoredBoleto>& boletos, const std::string& payingBank);

}  // namespace pag::server
