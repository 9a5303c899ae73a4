// SetBoletos: stores what the user changed on boletos (payment data, the enabling flag,
// a due-date extension) from the change log of cdsBoletos, all rows in one transaction.
#include <algorithm>
#include <map>
#include <optional>

#include "platform/format.h"
#include "server/access_rules.h"
#include "server/boleto_key.h"
#include "server/boleto_rules.h"
#include "server/cash_budget.h"
#include "server/change_log.h"
#include "server/column_rules.h"
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

// What SetBoletos writes: the boleto's payment data. Every other field of the record is
// joined from other tables, lives on the client only (IDMARCADO) or is changed by an
// operation of its own (values by adjustments and installments, the tax guide by
// SetTribBol, the extension reason by SetProrrogacao), and is never written here.
const std::vector<std::string> kEditable = {
    "IDHABIBPAG",   "CDTPBAIXAPAG", "CDREDUCONT",  "CDBANCBOLP",      "CDAGENBOLP",  "CDCCORBOLP",
    "IDTPICNABBOP", "NRINSCNABBOP", "CDBARRAPAG",  "DSLINHBARPAG",    "IDCHAVEPIX",  "CHAVEPIX",
    "DSCHAVEPIX",   "CODEQRPIX",    "DTVENBOLPAG", "DTATUAVENBOLPAG", "VRPEMULBPAG", "VRMULTABPAG",
    "VRPEMORBPAG",  "VRMORDIABPAG", "IDSITUCNABP", "NRCNABPAGREM",    "IDBPAGREAL"};

// Stored fields never written here that must still hold what the user saw (or what the
// screen already set them to itself, as the deductions dialog does with the net value):
// another user's change to them makes this change stale.
const std::vector<std::string> kWatched = {
    "CDEMPRESA",   "CDFORNECED", "NRPARCBOLPAG",   "NRORIGBOLPAG", "VRBOLPAG",
    "VRFINALBPAG", "IDSTATBPAG", "NRLANCANTECIPA", "IDBLOQNFFIN",  "IDTPCTPAGAR"};

bool isValueColumn(const std::string& c) {
    return c == "VRBOLPAG" || c == "VRFINALBPAG";
}

// The screen's "no value" forms (placeholders, empty text, the empty date) as null.
Value noValue(const Value& v) {
    Value x = withoutPlaceholder(v);
    if (x.type() == ValueType::Text && x.asString().empty()) return Value();
    if (x.type() == ValueType::Date && x.asDate().isEmpty()) return Value();
    return x;
}

bool isNumber(const Value& v) {
    return v.type() == ValueType::Float || v.type() == ValueType::Integer;
}

// Equal as stored: numbers compared to the cent.
bool sameStored(const Value& a, const Value& b) {
    const Value x = noValue(a), y = noValue(b);
    if (x.isNull() || y.isNull()) return x.isNull() && y.isNull();
    if (isNumber(x) && isNumber(y))
        return roundDecimal(x.asFloat(), 2) == roundDecimal(y.asFloat(), 2);
    return x == y;
}

const std::map<std::string, PacketField>& recordFields() {
    static const std::map<std::string, PacketField> fields = [] {
        std::map<std::string, PacketField> m;
        for (const PacketField& f : boletoFields())
            m[f.name] = f;
        return m;
    }();
    return fields;
}

// The boleto as stored, by column (no-value forms as null).
struct StoredBoleto {
    std::map<std::string, Value> col;
    Value get(const std::string& c) const {
        auto it = col.find(c);
        return it == col.end() ? Value() : it->second;
    }
    std::string text(const std::string& c) const { return get(c).asString(); }
};

// Null when the boleto is gone or absorbed by a real boleto.
std::optional<StoredBoleto> loadBoleto(Database& db, const std::string& filial,
                                       const std::string& lancamento) {
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> c = kEditable;
        c.insert(c.end(), kWatched.begin(), kWatched.end());
        c.insert(c.end(), {"DTENTRSAID", "DTEMISSAO"});
        return c;
    }();
    std::string sql = "SELECT NRLANBOLREAL";
    for (const std::string& c : columns)
        sql += ", " + c;
    Statement st = db.prepare(sql + " FROM BOLETPAGAR WHERE " + boletoKeyCondition());
    bindBoletoKey(st, filial, lancamento);
    if (!st.step() || !st.column(0).isNull()) return std::nullopt;
    StoredBoleto b;
    for (size_t i = 0; i < columns.size(); ++i)
        b.col[columns[i]] =
            noValue(st.column(static_cast<int>(i + 1), recordFields().at(columns[i]).type));
    return b;
}

// One modified row of the change log.
struct ChangedRow {
    const Packet& packet;
    std::vector<Value> cur, orig;
    bool has(const std::string& c) const { return packet.fieldIndex(c) >= 0; }
    Value current(const std::string& c) const { return at(cur, c); }
    Value original(const std::string& c) const { return at(orig, c); }

private:
    Value at(const std::vector<Value>& row, const std::string& c) const {
        const int i = packet.fieldIndex(c);
        return i < 0 ? Value() : noValue(row[static_cast<size_t>(i)]);
    }
};

std::string keyText(const ChangedRow& r, const std::string& c) {
    if (!r.has(c)) throw Refusal("Alterações de boletos sem o campo-chave " + c + ".");
    return r.original(c).asString();
}

// Refuses when another user changed the boleto after the screen read it.
void checkStillAsRead(Database& db, const ChangedRow& r, const StoredBoleto& s,
                      const std::string& filial, const std::string& lancamento) {
    bool stale = false, valueChanged = false;
    for (const std::string& c : kEditable)
        if (r.has(c) && !sameStored(s.get(c), r.original(c))) stale = true;
    for (const std::string& c : kWatched) {
        if (!r.has(c) || sameStored(s.get(c), r.original(c)) || sameStored(s.get(c), r.current(c)))
            continue;
        stale = true;
        valueChanged = valueChanged || isValueColumn(c);
    }
    if (stale) throw Refusal(boletoConflictMessage(db, filial, lancamento, valueChanged));
}

// Guards of a boleto whose stored data is about to change, whatever the change.
void checkMayChange(OperationCall& call, const StoredBoleto& s) {
    if (s.text("IDSTATBPAG") == "B") throw Refusal(kMsgBoletoBaixado);
    if (s.text("IDBLOQNFFIN") == "B") throw Refusal(kMsgNotaBloqueada);
    if (!s.get("NRLANCANTECIPA").isNull()) throw Refusal(kMsgAntecipacao);
    checkProcessingDate(call.db, call.ctx.operador, s.get("DTVENBOLPAG").asDate());
}

bool exists(Database& db, const std::string& sql, const std::vector<Value>& params) {
    Statement st = db.prepare(sql);
    for (size_t i = 0; i < params.size(); ++i)
        st.bind("P" + std::to_string(i), params[i]);
    return st.step();
}

void checkNotNegative(const std::string& c, const Value& v) {
    static const std::map<std::string, const char*> messages = {
        {"VRPEMULBPAG", "Multa (%) deve ser maior ou igual a zero."},
        {"VRMULTABPAG", "Multa (Valor) deve ser maior ou igual a zero."},
        {"VRPEMORBPAG", "Mora diária (%) deve ser maior ou igual a zero."},
        {"VRMORDIABPAG", "Mora Diária (Valor) deve ser maior ou igual a zero."}};
    if (!v.isNull() && v.asFloat() < 0) throw Refusal(messages.at(c));
}

void checkDueDate(OperationCall& call, const StoredBoleto& s, const Value& v) {
    if (v.isNull()) throw Refusal("Data do vencimento deve ser informada.");
    const Date due = v.asDate();
    const Date entry = s.get("DTENTRSAID").asDate(), issue = s.get("DTEMISSAO").asDate();
    if (!entry.isEmpty() && due < entry)
        throw Refusal("Data de vencimento deve ser maior que a data de entrada do documento.");
    if (!issue.isEmpty() && due < issue)
        throw Refusal("Data de vencimento do boleto não pode ser  inferior a data de emissão.");
    checkProcessingDate(call.db, call.ctx.operador, due);
}

void checkBarcode(Database& db, const StoredBoleto& s, const std::string& filial,
                  const std::string& lancamento, const std::string& barcode) {
    if (barcode.size() != 44 || barcode.find_first_not_of("0123456789") != std::string::npos)
        throw Refusal("Código de barras deve ter 44 dígitos.");
    const Packet carriers = barcodeCarriers(db, s.text("CDEMPRESA"), barcode);
    for (size_t i = 0; i < carriers.rowCount(); ++i) {
        const bool self = carriers.value(i, "IDANTECIPA").asString() == "0" &&
                          carriers.value(i, "CDFILIAL").asString() == filial &&
                          carriers.value(i, "NRLANBOLPAG").asString() == lancamento;
        if (!self) throw Refusal(barcodeTakenMessage(carriers, i));
    }
}

// The new value of one written column, checked before it is stored.
void checkNewValue(OperationCall& call, const StoredBoleto& s, const std::string& filial,
                   const std::string& lancamento, const std::string& c, const Value& v) {
    const PacketField& f = recordFields().at(c);
    if (f.type == FieldType::Text && f.size > 0 &&
        v.asString().size() > static_cast<size_t>(f.size))
        throw Refusal("Campo " + c + " do boleto excede " + std::to_string(f.size) +
                      " caracteres.");
    if (c == "IDHABIBPAG") {
        if (v.asString() != "S" && v.asString() != "N")
            throw Refusal("Indicador de habilitação do boleto deve ser S ou N.");
        if (v.asString() == "S" && roundDecimal(s.get("VRFINALBPAG").asFloat(), 2) == 0)
            throw Refusal("Boleto com valor zerado não pode ser habilitado.");
    } else if (c == "CDTPBAIXAPAG") {
        if (!v.isNull() &&
            !exists(call.db, "SELECT 1 FROM TIPOBAIXAPAG WHERE CDTPBAIXAPAG = :P0", {v}))
            throw Refusal("Tipo de baixa não cadastrada.");
    } else if (c == "CDREDUCONT") {
        if (!v.isNull() && !exists(call.db,
                                   "SELECT 1 FROM CONTCORR WHERE CDEMPRESA = :P0 AND "
                                   "CDREDUCONT = :P1",
                                   {s.get("CDEMPRESA"), v}))
            throw Refusal("Conta corrente não cadastrada.");
    } else if (c == "IDCHAVEPIX") {
        const std::string t = v.asString();
        if (!v.isNull() && t != "01" && t != "02" && t != "03" && t != "04")
            throw Refusal("Tipo de chave Pix deve ser 01, 02, 03 ou 04.");
    } else if (c == "VRPEMULBPAG" || c == "VRMULTABPAG" || c == "VRPEMORBPAG" ||
               c == "VRMORDIABPAG") {
        checkNotNegative(c, v);
    } else if (c == "DTVENBOLPAG") {
        checkDueDate(call, s, v);
    } else if (c == "IDSITUCNABP") {
        if (v.asString() != "00")
            throw Refusal("A situação CNAB do boleto só pode voltar a \"Não Enviado\".");
    } else if (c == "NRCNABPAGREM") {
        if (!v.isNull()) throw Refusal("O número da remessa CNAB do boleto não pode ser alterado.");
    } else if (c == "IDBPAGREAL") {
        if (v.asString() != "S")
            throw Refusal("Boleto real só pode ser desfeito pelo comando Cancelar Boleto Real.");
    } else if (c == "CDBARRAPAG" && !v.isNull()) {
        checkBarcode(call.db, s, filial, lancamento, v.asString());
    }
    // Whatever the rules above leave open, the column's own declaration still holds.
    requireFits(ColumnRules::of(call.db), "BOLETPAGAR", c, withoutPlaceholder(v),
                filial + "/" + lancamento);
}

// The stored columns this row changes.
std::vector<std::string> changedColumns(const ChangedRow& r) {
    std::vector<std::string> out;
    for (const std::string& c : kEditable)
        if (r.has(c) && !(r.current(c) == r.original(c))) out.push_back(c);
    return out;
}

using Assignments = std::vector<std::pair<std::string, Value>>;

void update(Database& db, const Assignments& set, const std::string& filial,
            const std::string& lancamento) {
    std::string sql;
    for (size_t i = 0; i < set.size(); ++i)
        sql += (i ? ", " : "") + set[i].first + " = :V" + std::to_string(i);
    Statement st = db.prepare("UPDATE BOLETPAGAR SET " + sql + " WHERE " + boletoKeyCondition());
    for (size_t i = 0; i < set.size(); ++i)
        st.bind("V" + std::to_string(i), set[i].second);
    bindBoletoKey(st, filial, lancamento);
    if (st.execute() != 1) throw Refusal(kMsgBoletoExcluido);
}

// Applies one modified row; true when it wrote something.
bool saveRow(OperationCall& call, const ChangedRow& r) {
    const std::string filial = keyText(r, "CDFILIAL"), lancamento = keyText(r, "NRLANBOLPAG");
    if (r.current("CDFILIAL").asString() != filial ||
        r.current("NRLANBOLPAG").asString() != lancamento)
        throw Refusal("A filial e o lançamento de um boleto não podem ser alterados.");
    const std::optional<StoredBoleto> stored = loadBoleto(call.db, filial, lancamento);
    if (!stored) throw Refusal(kMsgBoletoExcluido);
    call.requireCompany(stored->text("CDEMPRESA"));
    checkStillAsRead(call.db, r, *stored, filial, lancamento);

    const std::vector<std::string> columns = changedColumns(r);
    if (columns.empty()) return false;  // only client-side marks: nothing to store
    checkMayChange(call, *stored);
    Assignments set;
    for (const std::string& c : columns) {
        checkNewValue(call, *stored, filial, lancamento, c, r.current(c));
        set.emplace_back(c, r.current(c));
    }
    // A boleto in a remittance changes only when the parameters allow taking it out of
    // the remittance and the change does take it out; it then leaves the remittance
    // file too.
    if (isSentToBank(stored->text("IDSITUCNABP"))) {
        const bool leaves =
            r.has("IDSITUCNABP") && !(r.current("IDSITUCNABP") == r.original("IDSITUCNABP"));
        if (remittanceChangesControlled(call.db) || !leaves) throw Refusal(kMsgEnviadoBanco);
        if (std::find(columns.begin(), columns.end(), "NRCNABPAGREM") == columns.end())
            set.emplace_back("NRCNABPAGREM", Value());
    }
    update(call.db, set, filial, lancamento);
    // A new due date moves the boleto's value to that month of the cash-flow budget.
    if (std::find(columns.begin(), columns.end(), "DTVENBOLPAG") != columns.end()) {
        const int64_t cents = toCents(stored->get("VRFINALBPAG").asFloat());
        BudgetChanges budget;
        budget.add(stored->text("CDEMPRESA"), stored->get("DTVENBOLPAG").asDate(), -cents);
        budget.add(stored->text("CDEMPRESA"), r.current("DTVENBOLPAG").asDate(), cents);
        budget.apply(call.db);
    }
    return true;
}

// SetBoletos (change log of cdsBoletos) -> number of boletos stored.
Value setBoletos(OperationCall& call) {
    const Packet& delta = call.packet(0);
    if (!delta.isDelta)
        throw Refusal("SetBoletos recebe as alterações de cdsBoletos, não o conteúdo completo.");
    int64_t saved = 0;
    for (const PacketChange& ch : delta.changes) {
        if (ch.op == ChangeOp::Insert)
            throw Refusal(
                "Boleto novo só é gravado pela associação de boletos. Atualize a lista de "
                "boletos.");
        if (ch.op == ChangeOp::Delete) throw Refusal("Boletos não podem ser excluídos.");
        const ChangedRow row{delta, delta.layout.decode(ch.values),
                             delta.layout.decode(ch.original)};
        if (saveRow(call, row)) ++saved;
    }
    return Value(saved);
}

}  // namespace

void registerBoletoSaveOperations(OperationRegistry& r) {
    r.add("SetBoletos", Access::Write, setBoletos);
}

}  // namespace pag::server
