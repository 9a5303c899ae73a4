#include "server/access_rules.h"

#include "contracts/suite_access.h"
#include "server/refusal.h"

namespace pag::server {

// The rules themselves are the suite's (contracts/suite_access.h), shared with the
// screens, so the server never refuses what a screen let through or the reverse.

void checkOperatorCompany(Database& db, const std::string& operador, const std::string& empresa) {
    if (operador.empty()) throw Refusal("Operador não informado.");
    if (empresa.empty()) throw Refusal("Empresa não informada.");
    if (!AcessoOperEmpresa(db, empresa, operador))
        throw Refusal("Empresa " + empresa + " não relacionada ao operador " + operador + ".");
}

bool isProcessingDateBlocked(Database& db, const std::string& sistema, const std::string& operador,
                             Date date) {
    return processingDateBlocked(db, sistema, operador, date, processingDateLockInForce(db));
}

void checkProcessingDate(Database& db, const std::string& operador, Date date) {
    if (isProcessingDateBlocked(db, kSistemaPag, operador, date))
        throw Refusal("Boleto anterior à data de processamento não pode ser alterado.");
}

}  // namespace pag::server
