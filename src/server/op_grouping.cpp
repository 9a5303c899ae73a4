// Grouping boletos of one supplier into a real boleto (PrxBoletoPag, SetAgrupaBoleto) and
// cancelling a real boleto (SetSeparaBoleto).
#include <set>

#include "server/access_rules.h"
#include "server/boleto_grouping.h"
#include "server/boleto_key.h"
#include "server/boleto_query.h"
#include "server/boleto_rules.h"
#include "server/change_log.h"
#include "server/launch_sequence.h"
#include "server/operations.h"
#include "server/schema_dialect.h"

namespace pag::server {

namespace {

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The company a branch belongs to (empty when the branch is unknown).
std::string branchCompany(Database& db, const std::string& filial) {
    Statement st = db.prepare("SELECT CDEMPRESA FROM FILIAL WHERE CDFILIAL = :F");
    st.bind("F", Value(filial));
    return st.step() && !st.column(0).isNull() ? st.column(0).asString() : std::string();
}

// The processing branch only has to exist: an operator may work on a company other than
// the one of the branch he logged into.
void requireBranch(Database& db, const std::string& filial) {
    if (branchCompany(db, filial).empty()) throw Refusal("Filial " + filial + " não cadastrada.");
}

// PrxBoletoPag (processing branch, quantity) -> the first launch number reserved, as text.
Value prxBoletoPag(OperationCall& call) {
    const std::string filial = trimmed(call.text(0));
    const std::string empresa = branchCompany(call.db, filial);
    if (empresa.empty()) throw Refusal("Filial " + filial + " não cadastrada.");
    call.requireCompany(empresa);
    const double quantity = call.number(1);
    if (quantity < 1 || quantity != static_cast<double>(static_cast<int64_t>(quantity)))
        throw Refusal("Quantidade de lançamentos a reservar deve ser um inteiro maior que zero.");
    return Value(reserveLaunchNumbers(call.db, filial, static_cast<int64_t>(quantity)));
}

// --- SetAgrupaBoleto -------------------------------------------------------------------

struct GroupRequest {
    BoletoKey real;
    std::string empresa;
    double somaValor = 0;
    bool budgetControl = false;
    Date due;
};

// The text fields of a packet row, placeholders (" ") as empty.
std::string rowText(const Packet& p, size_t row, const char* field) {
    const Value v = withoutPlaceholder(p.value(row, field));
    return v.isNull() ? std::string() : trimmed(v.asString());
}

void requireFields(const Packet& p, std::initializer_list<const char*> fields,
                   const std::string& what) {
    for (const char* f : fields)
        if (p.fieldIndex(f) < 0) throw Refusal(what + " sem o campo " + f + ".");
}

// The boletos listed by the screen (cdsBolAgru), checked against what is stored: a value
// or due date that changed since the screen read it refuses the grouping.
std::vector<StoredBoleto> listedParts(Database& db, const Packet& agru) {
    requireFields(agru, {"CDFILIAL", "NRLANBOLPAG", "VRBOLPAG", "DTVENBOLPAG"},
                  "Boletos a associar");
    if (agru.rowCount() == 0) throw Refusal("Nenhum boleto informado para associar.");
    std::vector<StoredBoleto> parts;
    std::set<std::pair<std::string, std::string>> seen;
    for (size_t r = 0; r < agru.rowCount(); ++r) {
        const BoletoKey key{rowText(agru, r, "CDFILIAL"), rowText(agru, r, "NRLANBOLPAG")};
        if (!seen.insert({key.filial, key.lancamento}).second)
            throw Refusal("O boleto " + key.text() + " foi informado mais de uma vez.");
        StoredBoleto b = loadBoleto(db, key);
        checkAbsorbable(b);
        const Value valor = agru.value(r, "VRBOLPAG");
        if (valor.isNull() || toCents(valor.asFloat()) != b.valor) refuseGrouping("VRBOL_DIF");
        const Value venc = agru.value(r, "DTVENBOLPAG");
        if (!venc.isNull() && venc.asDate() != b.vencimento) refuseGrouping("CNT_PROR");
        parts.push_back(std::move(b));
    }
    checkGroupable(parts);
    return parts;
}

// How the screen's boleto change log maps onto BOLETPAGAR: every stored column; the
// names the record joins from other tables are ignored.
ChangeLogTable boletoTable(Database& db) {
    ChangeLogTable t;
    t.table = "BOLETPAGAR";
    t.keyColumns = {"CDFILIAL", "NRLANBOLPAG"};
    for (const std::string& c : tableColumns(db, "BOLETPAGAR")) {
        // Only the server points boletos at a real boleto.
        if (c != "CDFILIREAL" && c != "NRLANBOLREAL") t.columns.push_back(c);
    }
    t.conflictMessage = [](Database& d, const std::vector<Value>& key) {
        return boletoConflictMessage(d, key);
    };
    return t;
}

// A modified row may only carry marks: a pending change of stored data is SetBoletos'
// to store, with its own checks.
void requireOnlyMarks(const Packet& delta, const PacketChange& ch, const ChangeLogTable& t) {
    const std::vector<Value> cur = delta.layout.decode(ch.values);
    const std::vector<Value> orig = delta.layout.decode(ch.original);
    for (const std::string& c : t.columns) {
        const int i = delta.fieldIndex(c);
        if (i < 0) continue;
        const size_t f = static_cast<size_t>(i);
        if (!(withoutPlaceholder(cur[f]) == withoutPlaceholder(orig[f])))
            throw Refusal("Há alterações de boletos não gravadas. Grave-as antes de associar.");
    }
}

std::string insertedText(const Packet& delta, const std::vector<Value>& row, const char* name) {
    const int i = delta.fieldIndex(name);
    const Value x = i < 0 ? Value() : withoutPlaceholder(row[static_cast<size_t>(i)]);
    return x.isNull() ? std::string() : trimmed(x.asString());
}

// The new row's company and supplier are the parts': given ones must agree, missing
// ones are filled in.
void ownNewRow(Packet& delta, PacketChange& ch, const StoredBoleto& first) {
    std::vector<Value> row = delta.layout.decode(ch.values);
    const auto own = [&](const char* name, const std::string& value, const char* mismatch) {
        const std::string given = insertedText(delta, row, name);
        if (given.empty())
            row[static_cast<size_t>(delta.fieldIndex(name))] = Value(value);
        else if (given != value)
            throw GroupingRefusal("", mismatch);
    };
    for (const char* f : {"CDEMPRESA", "CDFORNECED"})
        if (delta.fieldIndex(f) < 0)
            throw Refusal(std::string("Boleto novo sem o campo ") + f + ".");
    own("CDEMPRESA", first.empresa, kEmpresasDiferentes);
    own("CDFORNECED", first.fornecedor, kFornecedoresDiferentes);
    ch.values = delta.layout.encode(row);
}

// The screen's pending boleto changes: the new real boleto's row (its payment data) and
// the marks, whose original values must still be the stored ones. Returns whether the
// new row came with them.
bool applyBoletoChanges(Database& db, const Value& arg, const BoletoKey& real,
                        const StoredBoleto& first) {
    if (arg.isNull()) return false;
    if (arg.type() != ValueType::Packet || !arg.asPacket())
        throw Refusal("Alterações de boletos devem ser um pacote de dados.");
    Packet delta = *arg.asPacket();
    const ChangeLogTable table = boletoTable(db);
    bool newRow = false;
    for (PacketChange& ch : delta.changes) {
        if (ch.op == ChangeOp::Delete)
            throw Refusal("Boletos não podem ser excluídos ao associar boletos.");
        if (ch.op == ChangeOp::Modify) {
            requireOnlyMarks(delta, ch, table);
            continue;
        }
        const std::vector<Value> row = delta.layout.decode(ch.values);
        const BoletoKey key{insertedText(delta, row, "CDFILIAL"),
                            insertedText(delta, row, "NRLANBOLPAG")};
        if (newRow || key != real)
            throw Refusal("A associação só inclui o boleto real " + real.text() + ".");
        ownNewRow(delta, ch, first);
        newRow = true;
    }
    applyChangeLog(db, delta, table);
    return newRow;
}

// A barcode paid by the real boleto must not be anybody else's.
void checkBarcodeFree(Database& db, const BoletoKey& real, const std::string& empresa) {
    const Value barcode = boletoColumn(db, real.filial, real.lancamento, "CDBARRAPAG");
    if (barcode.isNull() || trimmed(barcode.asString()).empty()) return;
    const Packet carriers = barcodeCarriers(db, empresa, barcode.asString());
    for (size_t i = 0; i < carriers.rowCount(); ++i)
        if (carriers.value(i, "IDANTECIPA").asString() != "0" ||
            carriers.value(i, "CDFILIAL").asString() != real.filial ||
            carriers.value(i, "NRLANBOLPAG").asString() != real.lancamento)
            throw Refusal(barcodeTakenMessage(carriers, i));
}

// The new row's net value, as the screen sent it, must still be its parts'.
void checkNewRow(Database& db, const BoletoKey& real, const GroupTotals& totals) {
    if (loadBoleto(db, real).valorFinal != totals.valorFinal) refuseGrouping("VRBOLF_DIF");
}

std::string groupBoletos(OperationCall& call) {
    GroupRequest req;
    const Packet& agru = call.packet(0);
    req.empresa = trimmed(call.text(2));
    req.real = {trimmed(call.text(3)), trimmed(call.text(1))};
    req.somaValor = call.number(4);
    req.budgetControl = call.flag(6);
    req.due = call.date(7);
    if (!call.arg(8).isNull() && call.flag(8))
        throw Refusal("Associação de boletos: o argumento 9 deve ser falso.");
    if (!trimmed(call.arg(9).isNull() ? std::string() : call.text(9)).empty())
        throw Refusal("Associação de boletos: o argumento 10 deve ser vazio.");
    call.requireCompany(req.empresa);
    requireBranch(call.db, req.real.filial);
    if (req.due.isEmpty()) throw Refusal("Data de vencimento deve ser informada.");
    checkProcessingDate(call.db, call.ctx.operador, req.due);
    if (!launchNumberReserved(call.db, req.real.filial, req.real.lancamento))
        throw Refusal("O número " + req.real.lancamento + " não foi reservado para a filial " +
                      req.real.filial + ".");
    if (!boletoColumn(call.db, req.real.filial, req.real.lancamento, "NRLANBOLPAG").isNull())
        throw Refusal("O boleto " + req.real.text() + " já existe.");

    const std::vector<StoredBoleto> parts = listedParts(call.db, agru);
    const StoredBoleto& first = parts.front();
    if (first.empresa != req.empresa)
        throw Refusal("Os boletos a associar não pertencem à empresa " + req.empresa + ".");
    for (const StoredBoleto& b : parts)
        checkProcessingDate(call.db, call.ctx.operador, b.vencimento);
    const GroupTotals totals = totalsOf(parts);
    if (toCents(req.somaValor) != totals.valor) refuseGrouping("VRBOL_DIF");
    checkDueAfterEntry(req.due, totals.entrada);

    if (applyBoletoChanges(call.db, call.arg(5), req.real, first)) {
        checkNewRow(call.db, req.real, totals);
        checkBarcodeFree(call.db, req.real, first.empresa);
    } else
        insertRealBoleto(call.db, req.real, first.empresa, first.fornecedor);
    completeRealBoleto(call.db, req.real, first, totals, req.due);
    BudgetChanges budget;
    absorbParts(call.db, req.real, parts, req.due, budget);
    if (req.budgetControl && budget.exceeds(call.db)) refuseGrouping("N_pode_agrup");
    budget.apply(call.db);
    call.args[1] = Value(req.real.lancamento);
    call.args[4] = Value(fromCents(totals.valor));
    return {};
}

// SetAgrupaBoleto (cdsBolAgru, new number by ref, company, branch, sum by ref, boleto
// changes, budget control, due date, false, "") -> "" or the text to show; the screen
// reads the answer itself, so a refusal is an answer (with nothing stored).
Value setAgrupaBoleto(OperationCall& call) {
    try {
        return Value(groupBoletos(call));
    } catch (const GroupingRefusal& r) {
        call.discardChanges();
        return Value(r.key() == "N_pode_agrup" ? r.key() : std::string(r.what()));
    } catch (const Refusal& r) {
        call.discardChanges();
        return Value(std::string(r.what()));
    }
}

// --- SetSeparaBoleto -------------------------------------------------------------------

// The real boleto as the screen shows it must still be the stored one.
StoredBoleto realToSeparate(OperationCall& call) {
    const BoletoKey key{trimmed(call.text(0)), trimmed(call.text(1))};
    const std::string fornecedor = trimmed(call.text(2)), empresa = trimmed(call.text(3));
    const Date due = call.date(5);
    const Value tipoBaixa = withoutPlaceholder(call.arg(6));
    StoredBoleto real;
    try {
        real = loadBoleto(call.db, key);
    } catch (const GroupingRefusal&) {
        throw Refusal("O boleto " + key.text() + " foi excluído por outro usuário.");
    }
    call.requireCompany(real.empresa);
    requireBranch(call.db, trimmed(call.text(4)));
    const std::string changed = "O boleto " + key.text() +
                                " foi alterado por outro usuário. Atualize os dados e repita "
                                "a operação.";
    if (real.empresa != empresa || real.fornecedor != fornecedor || real.vencimento != due ||
        real.tipoBaixa != (tipoBaixa.isNull() ? std::string() : trimmed(tipoBaixa.asString())))
        throw Refusal(changed);
    if (real.absorbed || !real.real)
        throw Refusal("O boleto " + key.text() + " não é um boleto real (associado).");
    return real;
}

void checkSeparable(OperationCall& call, const StoredBoleto& real) {
    if (real.status == "B")
        throw Refusal("O boleto " + real.key.text() + " foi baixado e não pode ser cancelado.");
    checkProcessingDate(call.db, call.ctx.operador, real.vencimento);
    // A real boleto in a remittance leaves it only where that is not controlled (the
    // screen then asked the user to confirm).
    if (isSentToBank(real.situacaoCnab) && remittanceChangesControlled(call.db))
        throw Refusal(kMsgEnviadoBanco);
    if (real.compensado) throw Refusal(kCancelaCompensacao);
    if (real.antecipacao) throw Refusal(kMsgAntecipacao);
    if (real.parcela != "00" && !real.parcela.empty())
        throw Refusal("Operação bloqueada. Este boleto está parcelado.");
}

// SetSeparaBoleto (branch, launch number, supplier, company, processing branch, due date,
// settlement type) -> nothing; the real boleto's payables go back to the boletos it absorbed.
Value setSeparaBoleto(OperationCall& call) {
    const StoredBoleto real = realToSeparate(call);
    checkSeparable(call, real);
    const std::vector<StoredBoleto> parts = absorbedBy(call.db, real.key);
    if (parts.empty()) {
        // A boleto made real by itself keeps its payables: it just stops being real.
        Statement st =
            call.db.prepare("UPDATE BOLETPAGAR SET IDBPAGREAL = 'N' WHERE " + boletoKeyCondition());
        bindBoletoKey(st, real.key.filial, real.key.lancamento);
        st.execute();
        return Value();
    }
    BudgetChanges budget;
    releaseParts(call.db, real, parts, budget);
    budget.apply(call.db);
    return Value();
}

}  // namespace

void registerGroupingOperations(OperationRegistry& r) {
    r.add("PrxBoletoPag", Access::Write, prxBoletoPag);
    r.add("SetAgrupaBoleto", Access::Write, setAgrupaBoleto);
    r.add("SetSeparaBoleto", Access::Write, setSeparaBoleto);
}

}  // namespace pag::server
