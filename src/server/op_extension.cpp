// Due-date extension (prorrogação): the reason and history of a boleto's new due date.
#include "contracts/consiste.h"
#include "server/access_rules.h"
#include "server/boleto_key.h"
#include "server/boleto_state.h"
#include "server/cash_budget.h"
#include "server/operations.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

void requireReason(Database& db, const std::string& motivo) {
    if (motivo.empty()) throw Refusal("Motivo da prorrogação deve ser informado.");
    Statement st = db.prepare("SELECT 1 FROM MOTIVOPROR WHERE CDMOTIPROR = :M");
    st.bind("M", Value(motivo));
    if (!st.step()) throw Refusal("Motivo de prorrogação não cadastrado.");
}

// While the company controls extensions (a CONTPRORVENC row active and in force, as
// GetContProrVenc answers it), only operators of an extension group may extend.
void requireExtensionRight(Database& db, const std::string& empresa, const std::string& operador) {
    Statement control = db.prepare(
        "SELECT 1 FROM CONTPRORVENC WHERE CDEMPRESA = :E AND IDCONTROLA = 'S'"
        " AND (DTINICIO IS NULL OR DTINICIO <= :HOJE)");
    control.bind("HOJE", Value(Date::today()));
    control.bind("E", Value(empresa));
    if (!control.step()) return;
    Statement member = db.prepare("SELECT 1 FROM GRUPOPROROPER WHERE CDOPERADOR = :O");
    member.bind("O", Value(operador));
    if (!member.step())
        throw Refusal("Operador " + operador +
                      " não pertence a um grupo autorizado a prorrogar vencimentos da empresa " +
                      empresa + ".");
}

void requireDateAfterDocument(const BoletoState& b, Date nova) {
    if (nova.isEmpty()) throw Refusal("Data do vencimento deve ser informada.");
    if (!b.entrada.isEmpty() && nova < b.entrada)
        throw Refusal("Data de vencimento deve ser maior que a data de entrada do documento.");
    if (!b.emissao.isEmpty() && nova < b.emissao)
        throw Refusal("Data de vencimento do boleto não pode ser  inferior a data de emissão.");
}

// Moves the boleto to the new date unless the screen's boleto save already did: the
// previous date goes to DTATUAVENBOLPAG and the boleto leaves its remittance, as the
// screen does when it saves an extension. Returns the due date before the extension.
Date moveDueDate(Database& db, const BoletoState& b, Date nova) {
    if (b.vencimento == nova) return b.vencimentoAnterior.isEmpty() ? nova : b.vencimentoAnterior;
    Statement st = db.prepare(
        "UPDATE BOLETPAGAR SET DTATUAVENBOLPAG = DTVENBOLPAG, DTVENBOLPAG = :D"
        " WHERE " +
        boletoKeyCondition());
    st.bind("D", Value(nova));
    bindBoletoKey(st, b.filial, b.lancamento);
    st.execute();
    leaveRemittance(db, b);
    BudgetChanges budget;
    budget.add(b.empresa, b.vencimento, -b.valorFinal);
    budget.add(b.empresa, nova, b.valorFinal);
    budget.apply(db);
    return b.vencimento;
}

// The reason goes on the boleto and, with the date, on its open payables.
void recordReason(Database& db, const BoletoState& b, const std::string& motivo, Date nova) {
    Statement boleto =
        db.prepare("UPDATE BOLETPAGAR SET CDMOTIPROR = :M WHERE " + boletoKeyCondition());
    boleto.bind("M", Value(motivo));
    bindBoletoKey(boleto, b.filial, b.lancamento);
    boleto.execute();
    Statement payables = db.prepare(
        "UPDATE CNTPAGAR SET DTATUAVENPAG = :D, CDMOTIPROR = :M"
        " WHERE CDFILIBPAG = :F AND NRLANBOLPAG = :L AND IDSTATPAG = 'A'");
    payables.bind("D", Value(nova));
    payables.bind("M", Value(motivo));
    bindBoletoKey(payables, b.filial, b.lancamento);
    payables.execute();
}

// SetProrrogacao (branch, launch number, reason, new due date, company, processing
// branch).
Value setProrrogacao(OperationCall& call) {
    const std::string filial = AllTrim(call.text(0)), lancamento = AllTrim(call.text(1));
    const std::string motivo = AllTrim(call.text(2));
    const Date nova = call.date(3);
    const std::string empresa = AllTrim(call.text(4)), filiProc = AllTrim(call.text(5));
    call.requireCompany(empresa);
    requireReason(call.db, motivo);
    const BoletoState b = boletoForCall(call, filial, lancamento);
    if (b.empresa != empresa)
        throw Refusal("O boleto " + b.key() + " não pertence à empresa " + empresa + ".");
    requireOpen(b);
    requireNotAbsorbed(b);
    requireInvoiceReleased(b);
    requireExtensionRight(call.db, b.empresa, call.ctx.operador);
    requireDateAfterDocument(b, nova);
    const Date anterior = moveDueDate(call.db, b, nova);
    checkProcessingDate(call.db, call.ctx.operador, anterior);
    checkProcessingDate(call.db, call.ctx.operador, nova);
    recordReason(call.db, b, motivo, nova);
    Statement history = call.db.prepare(
        "INSERT INTO HISTPRORBOL (CDFILIAL, NRLANBOLPAG, DTVENANTER, DTVENNOVA, CDMOTIPROR,"
        " CDOPERADOR, CDFILIPROC) VALUES (:F, :L, :A, :N, :M, :O, :P)");
    bindBoletoKey(history, filial, lancamento);
    history.bind("A", Value(anterior));
    history.bind("N", Value(nova));
    history.bind("M", Value(motivo));
    history.bind("O", Value(call.ctx.operador));
    history.bind("P", filiProc.empty() ? Value() : Value(filiProc));
    history.execute();
    return Value();
}

}  // namespace

void registerExtensionOperations(OperationRegistry& r) {
    r.add("SetProrrogacao", Access::Write, setProrrogacao);
}

}  // namespace pag::server
