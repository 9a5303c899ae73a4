// Adjustments of a boleto: the duplicate-type question, the cash-flow budget question
// and the save, which recomputes the boleto's net value and takes deductions from the
// supplier's advances and return notes.
#include <map>
#include <optional>

#include "contracts/consiste.h"
#include "server/access_rules.h"
#include "server/adjustment_deductions.h"
#include "server/boleto_key.h"
#include "server/boleto_state.h"
#include "server/cash_budget.h"
#include "server/change_log.h"
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/payable_shares.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

constexpr const char* kOverBudget =
    "Ajuste não pode ser incluído por ter superado o valor o orçamento de fluxo de caixa.";

struct Adjustment {
    std::string filial, lancamento, tipo;
    int64_t valor = 0;  // cents
    std::string boleto() const { return filial + "/" + lancamento; }
};

Value fieldOf(const Packet& p, const std::vector<Value>& row, const char* name) {
    const int i = p.fieldIndex(name);
    return i < 0 ? Value() : withoutPlaceholder(row[static_cast<size_t>(i)]);
}

Adjustment adjustmentOf(const Packet& p, const std::string& encoded) {
    const std::vector<Value> row = p.layout.decode(encoded);
    Adjustment a;
    a.filial = AllTrim(fieldOf(p, row, "CDFILIAL").asString());
    a.lancamento = AllTrim(fieldOf(p, row, "NRLANBOLPAG").asString());
    a.tipo = AllTrim(fieldOf(p, row, "CDAJUCTPAG").asString());
    a.valor = toCents(fieldOf(p, row, "VRAJBOLPAG").asFloat());
    if (a.filial.empty() || a.lancamento.empty())
        throw Refusal("Ajuste sem a filial e o lançamento do boleto.");
    return a;
}

struct AdjustmentType {
    std::string sinal;  // IDAJUCTPAG: "A" increase, "D" discount
    std::string kind;   // IDTPAJPAGAR: "N" plain, "A" advances, "D" return notes
};

AdjustmentType typeOf(Database& db, const std::string& tipo) {
    if (tipo.empty()) throw Refusal("Código deve ser informado.");
    Statement st =
        db.prepare("SELECT IDAJUCTPAG, IDTPAJPAGAR FROM TIPOAJPAGAR WHERE CDAJUCTPAG = :T");
    st.bind("T", Value(tipo));
    if (!st.step()) throw Refusal("Ajuste não cadastrado.");
    return {st.column(0).asString(), st.column(1).asString()};
}

// What an adjustment of this type records as its origin (IDORIGAJBPAG).
const char* originOf(const AdjustmentType& t) {
    return t.kind == "A" ? "A" : t.kind == "D" ? "D" : "M";
}

std::optional<std::string> storedOrigin(Database& db, const Adjustment& a) {
    Statement st = db.prepare(
        "SELECT IDORIGAJBPAG FROM AJBOLPAG"
        " WHERE " +
        boletoKeyCondition() + " AND CDAJUCTPAG = :T");
    bindBoletoKey(st, a.filial, a.lancamento);
    st.bind("T", Value(a.tipo));
    if (!st.step()) return std::nullopt;
    return st.column(0).asString();
}

void requireAmount(const Adjustment& a) {
    if (a.valor <= 0) throw Refusal("Valor deve ser maior do que zero.");
}

// The adjustment changes as the screen sent them, and the boletos they touch.
struct AdjustmentSave {
    std::vector<Adjustment> removed, added;
    std::vector<std::pair<Adjustment, Adjustment>> edited;  // original, new
    std::map<std::string, BoletoState> boletos;
};

AdjustmentSave readChanges(const Packet& delta) {
    AdjustmentSave s;
    for (const PacketChange& ch : delta.changes) {
        switch (ch.op) {
            case ChangeOp::Delete:
                s.removed.push_back(adjustmentOf(delta, ch.original));
                break;
            case ChangeOp::Insert:
                s.added.push_back(adjustmentOf(delta, ch.values));
                break;
            case ChangeOp::Modify:
                s.edited.emplace_back(adjustmentOf(delta, ch.original),
                                      adjustmentOf(delta, ch.values));
                break;
        }
    }
    return s;
}

// Reads and guards each boleto the save touches; a boleto whose values change must
// not lie before the operator's processing date.
void guardBoletos(OperationCall& call, AdjustmentSave& s) {
    auto guard = [&](const Adjustment& a, bool checkDate) {
        auto it = s.boletos.find(a.boleto());
        if (it == s.boletos.end()) {
            BoletoState b = boletoForCall(call, a.filial, a.lancamento);
            requireOpen(b);
            requireNotAbsorbed(b);
            requireNoAnticipation(b);
            requireInvoiceReleased(b);
            requireSentChangeAllowed(call.db, b);
            it = s.boletos.emplace(a.boleto(), std::move(b)).first;
        }
        if (checkDate) checkProcessingDate(call.db, call.ctx.operador, it->second.vencimento);
    };
    for (const Adjustment& a : s.removed)
        guard(a, false);
    for (const Adjustment& a : s.added)
        guard(a, true);
    for (const auto& [before, after] : s.edited) {
        if (before.boleto() != after.boleto() || before.tipo != after.tipo)
            throw Refusal("O código e o boleto de um ajuste gravado não podem ser alterados.");
        guard(after, true);
    }
}

void checkEdits(Database& db, const AdjustmentSave& s) {
    for (const auto& [before, after] : s.edited) {
        typeOf(db, after.tipo);
        requireAmount(after);
        const std::optional<std::string> origin = storedOrigin(db, before);
        if (origin && *origin != "M" && before.valor != after.valor)
            throw Refusal("O ajuste " + after.tipo +
                          " desconta adiantamentos ou notas de devolução e não pode ter o "
                          "valor alterado: exclua-o e inclua-o novamente.");
    }
}

// Removals and edits go through the change log, with original-value conflict detection.
void applyRemovalsAndEdits(Database& db, const Packet& delta, const AdjustmentSave& s) {
    for (const Adjustment& a : s.removed)
        giveBackDeduction(db, a.filial, a.lancamento, a.tipo);
    Packet changes = delta;
    std::erase_if(changes.changes,
                  [](const PacketChange& ch) { return ch.op == ChangeOp::Insert; });
    applyChangeLog(db, changes,
                   ChangeLogTable{"AJBOLPAG",
                                  {"CDFILIAL", "NRLANBOLPAG", "CDAJUCTPAG"},
                                  {"CDFILIAL", "NRLANBOLPAG", "CDAJUCTPAG", "VRAJBOLPAG"},
                                  [](Database&, const std::vector<Value>& key) {
                                      return "O ajuste " + key[2].asString() + " do boleto " +
                                             key[0].asString() + "/" + key[1].asString() +
                                             " foi alterado ou excluído por outro usuário. "
                                             "Atualize os dados e repita a operação.";
                                  }});
}

void insertAdjustment(OperationCall& call, const AdjustmentSave& s, const Adjustment& a,
                      const Packet& advances, const Packet& notes) {
    const AdjustmentType type = typeOf(call.db, a.tipo);
    requireAmount(a);
    if (storedOrigin(call.db, a)) throw Refusal("Ajuste já cadastrado.");
    Statement st = call.db.prepare(
        "INSERT INTO AJBOLPAG (CDFILIAL, NRLANBOLPAG, CDAJUCTPAG, VRAJBOLPAG, IDORIGAJBPAG)"
        " VALUES (:F, :L, :T, :V, :O)");
    bindBoletoKey(st, a.filial, a.lancamento);
    st.bind("T", Value(a.tipo));
    st.bind("V", Value(fromCents(a.valor)));
    st.bind("O", Value(originOf(type)));
    st.execute();
    const BoletoState& b = s.boletos.at(a.boleto());
    if (type.kind == "A")
        consumeDeduction(call.db, DeductionKind::Advance, b, a.tipo, a.valor, advances);
    else if (type.kind == "D")
        consumeDeduction(call.db, DeductionKind::ReturnNote, b, a.tipo, a.valor, notes);
}

// VRFINALBPAG = VRBOLPAG + increases - discounts, in cents. The change also moves the
// month's budget use, the boleto's payables and takes a boleto sent to the bank out of
// its remittance.
void settleNetValue(Database& db, const BoletoState& b) {
    Statement round = db.prepare(
        "UPDATE AJBOLPAG SET VRAJBOLPAG = ROUND(VRAJBOLPAG, 2)"
        " WHERE " +
        boletoKeyCondition());
    bindBoletoKey(round, b.filial, b.lancamento);
    round.execute();
    Statement st = db.prepare(R"(SELECT T.IDAJUCTPAG, A.VRAJBOLPAG
  FROM AJBOLPAG A JOIN TIPOAJPAGAR T ON T.CDAJUCTPAG = A.CDAJUCTPAG
 WHERE )" + boletoKeyCondition("A"));
    bindBoletoKey(st, b.filial, b.lancamento);
    int64_t net = b.valor;
    while (st.step())
        net += (st.column(0).asString() == "A" ? 1 : -1) * toCents(st.column(1).asFloat());
    if (net < 0)
        throw Refusal("Operação não permitida! O valor líquido do boleto " + b.key() +
                      " ficaria negativo (" + moneyText(net) + ").");
    const int64_t delta = net - b.valorFinal;
    if (delta == 0) return;
    BudgetChanges budget;
    budget.add(b.empresa, b.vencimento, delta);
    if (budget.exceeds(db)) throw Refusal(kOverBudget);
    budget.apply(db);
    Statement set =
        db.prepare("UPDATE BOLETPAGAR SET VRFINALBPAG = :V WHERE " + boletoKeyCondition());
    set.bind("V", Value(fromCents(net)));
    bindBoletoKey(set, b.filial, b.lancamento);
    set.execute();
    if (sentToBank(b)) leaveRemittance(db, b);
    spreadOverPayables(db, b.filial, b.lancamento, delta);
}

// A detail dataset the screen may send empty (or not at all).
Packet detailArg(OperationCall& call, size_t i) {
    if (i >= call.args.size() || call.args[i].isNull()) return Packet();
    return call.packet(i);
}

// SetAjBolPag (change log of cdsAjBolPag, cdsAdiantamento, cdsDevolucao).
Value setAjBolPag(OperationCall& call) {
    const Packet& delta = call.packet(0);
    const Packet advances = detailArg(call, 1);
    const Packet notes = detailArg(call, 2);
    if (delta.changes.empty()) return Value();
    AdjustmentSave s = readChanges(delta);
    guardBoletos(call, s);
    checkEdits(call.db, s);
    applyRemovalsAndEdits(call.db, delta, s);
    for (const Adjustment& a : s.added)
        insertAdjustment(call, s, a, advances, notes);
    for (const auto& [key, boleto] : s.boletos)
        settleNetValue(call.db, boleto);
    return Value();
}

// GetVerifAjust (branch, launch number, type code) -> the boleto's adjustment of that
// type, if any (cdsVerifAjust).
Value getVerifAjust(OperationCall& call) {
    const std::string filial = AllTrim(call.text(0)), lancamento = AllTrim(call.text(1));
    if (std::optional<BoletoState> b = findBoleto(call.db, filial, lancamento))
        call.requireCompany(b->empresa);
    Statement st = call.db.prepare(R"(SELECT A.CDAJUCTPAG, A.CDFILIAL, A.NRLANBOLPAG,
       A.VRAJBOLPAG, T.IDAJUCTPAG
  FROM AJBOLPAG A JOIN TIPOAJPAGAR T ON T.CDAJUCTPAG = A.CDAJUCTPAG
 WHERE )" + boletoKeyCondition("A") +
                                   R"( AND A.CDAJUCTPAG = :T)");
    bindBoletoKey(st, filial, lancamento);
    st.bind("T", Value(AllTrim(call.text(2))));
    return packetValue(packetFromStatement(st, verifAjustFields()));
}

// Vd_OrcaFinaAjusBol (branch, launch number, amount) -> [true when raising the boleto's
// net value by the amount keeps its due month within the cash-flow budget].
Value vdOrcaFinaAjusBol(OperationCall& call) {
    const BoletoState b = boletoForCall(call, AllTrim(call.text(0)), AllTrim(call.text(1)));
    BudgetChanges change;
    change.add(b.empresa, b.vencimento, toCents(call.number(2)));
    return Value(ValueArray{Value(!change.exceeds(call.db))});
}

}  // namespace

void registerAdjustmentOperations(OperationRegistry& r) {
    r.add("GetVerifAjust", Access::Read, getVerifAjust);
    r.add("Vd_OrcaFinaAjusBol", Access::Read, vdOrcaFinaAjusBol);
    r.add("SetAjBolPag", Access::Write, setAjBolPag);
}

}  // namespace pag::server
