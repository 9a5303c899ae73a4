#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/date.h"
#include "platform/sql/database.h"
#include "server/boleto_key.h"
#include "server/cash_budget.h"
#include "server/refusal.h"

namespace pag::server {

// Association of boletos into a real boleto (IDBPAGREAL "S") and its undoing, shared by
// the grouping of the payment-data page and the automatic enabling.
//
// A boleto absorbed by a real boleto keeps its row unchanged apart from the pointer
// CDFILIREAL + NRLANBOLREAL, so it is never listed while it points there; its payables
// move to the real boleto and remember it in CDFILIBPAGORIG + NRLANBOLPAGORIG. Cancelling
// the real boleto gives every payable back to the boleto it remembers and clears the
// pointers: the absorbed boletos come back exactly as they were.

// A grouping refused for a reason the screens know by a message key ("BOL_EXC",
// "VRBOL_DIF", "N_pode_agrup"...); the key is empty for reasons they only show.
class GroupingRefusal : public Refusal {
public:
    GroupingRefusal(std::string key, const std::string& text)
        : Refusal(text), key_(std::move(key)) {}
    const std::string& key() const { return key_; }

private:
    std::string key_;
};

// The refusals that have a key, with the screens' texts.
[[noreturn]] void refuseGrouping(const std::string& key);

// Texts the screens show as they stand, used by more than one operation.
inline constexpr const char* kFornecedoresDiferentes =
    "Não é possível associar boletos de fornecedores diferentes";
inline constexpr const char* kEmpresasDiferentes =
    "Não é possível associar boletos de empresas diferentes.";
inline constexpr const char* kCancelaCompensacao =
    "Não é possível cancelar boleto ligado a uma compensação.";

// A boleto as stored, with what grouping and separating need to know of it.
struct StoredBoleto {
    BoletoKey key;
    std::string empresa, fornecedor, tipoConta, situacaoCnab, status, parcela, bloqueio;
    std::string tipoBaixa, bancoBolp, agenciaBolp, contaBolp;
    bool real = false;
    bool absorbed = false;  // points to a real boleto
    bool antecipacao = false;
    bool compensado = false;  // tied to a compensation
    int64_t valor = 0;        // VRBOLPAG, cents
    int64_t valorFinal = 0;   // VRFINALBPAG, cents
    Date vencimento, entrada, emissao;
};

// The stored boleto, or a GroupingRefusal "BOL_EXC" when it no longer exists.
StoredBoleto loadBoleto(Database& db, const BoletoKey& key);

// Refuses a boleto that may not be absorbed: already absorbed ("BOL_EXC"), settled
// ("BOL_BAIXADO"), sent to the bank ("BOL_CNAB"), a real boleto, tied to an
// anticipation, a compensation or a blocked invoice.
void checkAbsorbable(const StoredBoleto& b);

// Account kinds of a boleto (IDTPCTPAGAR): "1" normal, "2" advance, other a loan.
enum class AccountKind { Normal, Advance, Loan };
AccountKind accountKind(const std::string& tipoConta);

// Refuses parts that may not share a real boleto: of different companies or suppliers,
// advances with normal accounts, loans.
void checkGroupable(const std::vector<StoredBoleto>& parts);

// What the real boleto takes from its parts.
struct GroupTotals {
    int64_t valor = 0;       // sum of VRBOLPAG, cents
    int64_t valorFinal = 0;  // sum of VRFINALBPAG, cents
    Date entrada;            // latest entry date of the documents
    Date emissao;            // latest issue date
};
GroupTotals totalsOf(const std::vector<StoredBoleto>& parts);

// Refuses a due date before the latest entry date of the documents ("DtVenc<DtEntr").
void checkDueAfterEntry(Date due, Date entrada);

// A new real boleto row with only its key, company and supplier (the rest follows with
// completeRealBoleto); for groupings that bring no payment data of their own.
void insertRealBoleto(Database& db, const BoletoKey& key, const std::string& empresa,
                      const std::string& fornecedor);

// Writes what the server decides about a real boleto: company, supplier, the parts'
// totals and account kind, the due date, enabled, open, real, not sent, not split.
void completeRealBoleto(Database& db, const BoletoKey& key, const StoredBoleto& first,
                        const GroupTotals& totals, Date due);

// Points each part at the real boleto and moves its payables there, remembering the
// part. Counts the change in `budget`: the parts leave their months, the real boleto
// enters the month of `due` with the parts' net total.
void absorbParts(Database& db, const BoletoKey& real, const std::vector<StoredBoleto>& parts,
                 Date due, BudgetChanges& budget);

// The boletos a real boleto absorbed.
std::vector<StoredBoleto> absorbedBy(Database& db, const BoletoKey& real);

// Gives the real boleto's payables back to the parts they remember, lists the parts
// again and removes the real boleto; counts the change in `budget`. Refuses (nothing
// changed) a payable that remembers no absorbed part, and a real boleto with
// adjustments or extension history of its own, which would be lost with it.
void releaseParts(Database& db, const StoredBoleto& real, const std::vector<StoredBoleto>& parts,
                  BudgetChanges& budget);

}  // namespace pag::server
