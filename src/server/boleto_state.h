#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/date.h"
#include "platform/sql/database.h"
#include "server/operation_registry.h"

namespace pag::server {

// A boleto as stored, read by the operations that change one boleto at a time
// (adjustments, due-date extension, tax guide, installments), with the guards they
// share. Each guard refuses with the text the screen shows for the same case, so a
// change made by another user after the screen checked is still caught here.
struct BoletoState {
    std::string filial, lancamento, empresa, fornecedor;
    std::string parcela;        // NRPARCBOLPAG, "00" never split
    std::string origem;         // NRORIGBOLPAG, empty when never split
    std::string status;         // IDSTATBPAG: "A" open, "B" settled
    std::string situacaoCnab;   // IDSITUCNABP
    std::string bloqueio;       // IDBLOQNFFIN
    std::string antecipacao;    // NRLANCANTECIPA
    std::string operacaoBaixa;  // IDBAIXAUTILP of its settlement type
    bool real = false;          // IDBPAGREAL "S"
    bool absorbed = false;      // points to a real boleto
    int64_t valor = 0;          // VRBOLPAG, cents
    int64_t valorFinal = 0;     // VRFINALBPAG, cents
    Date vencimento, vencimentoAnterior, emissao, entrada;

    std::string key() const { return filial + "/" + lancamento; }
};

// The stored boleto, or nothing when it does not exist.
std::optional<BoletoState> findBoleto(Database& db, const std::string& filial,
                                      const std::string& lancamento);

// The boleto a call works on: refused when it does not exist or belongs to a company
// the logged operator may not work on.
BoletoState boletoForCall(OperationCall& call, const std::string& filial,
                          const std::string& lancamento);

// Refuses a boleto settled meanwhile.
void requireOpen(const BoletoState& b);
// Refuses a boleto absorbed by a real (grouped) boleto: it is changed through that one.
void requireNotAbsorbed(const BoletoState& b);
// "Bol_Ant_NAlt": tied to a supplier anticipation.
void requireNoAnticipation(const BoletoState& b);
// "NFBLOQ": tied to a blocked invoice.
void requireInvoiceReleased(const BoletoState& b);

// Situations other than empty, "00" and "01" mean the boleto went to the bank.
bool sentToBank(const BoletoState& b);
// "BOL_CNAB": refuses a boleto sent to the bank.
void requireNotSent(const BoletoState& b);
// The remittance guard of changes the screen lets the user confirm: a boleto sent to the
// bank is refused only while cancelling out of a remittance is controlled
// (GERALPAG.IDUTCTRLCANREMP "S"); otherwise the change takes it out of the remittance.
void requireSentChangeAllowed(Database& db, const BoletoState& b);
// Takes a changed boleto out of its remittance: situation "00", no remittance number.
void leaveRemittance(Database& db, const BoletoState& b);

// Tied to a compensation still open.
bool compensated(Database& db, const BoletoState& b);
// Number of adjustments the boleto carries.
int adjustmentCount(Database& db, const BoletoState& b);

// Money as the screen shows it: "1.234,56".
std::string moneyText(int64_t cents);

// A payable paid by a boleto (CNTPAGAR).
struct BoletoPayable {
    std::string filial, nota, sequencia, parcela;  // key of CNTPAGAR
    int64_t original = 0;                          // VRORIGPAG, cents
    int64_t atual = 0;                             // VRATUAPAG, cents
    bool settled = false;                          // IDSTATPAG "B"
};
// The payables paid by the boleto: settled ones first, then by key.
std::vector<BoletoPayable> payablesOf(Database& db, const std::string& filial,
                                      const std::string& lancamento);

}  // namespace pag::server
