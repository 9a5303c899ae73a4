// The supplier's registered payee accounts and PIX keys: the pick lists of the payment
// page and the registration of an account or key typed by hand.
#include <functional>
#include <set>

#include "contracts/consiste.h"
#include "server/change_log.h"
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"
#include "server/sql_conditions.h"

namespace pag::server {

namespace {

// One row of a change log read by field name, no-value placeholders as null.
struct LogRow {
    const Packet& packet;
    std::vector<Value> values;
    Value get(const std::string& name) const {
        const int i = packet.fieldIndex(name);
        if (i < 0) return Value();
        Value v = withoutPlaceholder(values[static_cast<size_t>(i)]);
        if (v.type() == ValueType::Text && AllTrim(v.asString()).empty()) return Value();
        return v;
    }
    std::string text(const std::string& name) const { return get(name).asString(); }
};

struct Registry {
    ChangeLogTable table;
    std::vector<PacketField> fields;  // the screen dataset's, for the text sizes
    std::function<void(Database&, const LogRow&)> validate;
    std::function<std::string(const LogRow&)> duplicate;  // refusal for a key in use
};

bool keyInUse(Database& db, const ChangeLogTable& t, const LogRow& row) {
    std::string where;
    for (size_t i = 0; i < t.keyColumns.size(); ++i)
        where += (i ? " AND " : "") + t.keyColumns[i] + " = :K" + std::to_string(i);
    Statement st = db.prepare("SELECT 1 FROM " + t.table + " WHERE " + where);
    for (size_t i = 0; i < t.keyColumns.size(); ++i)
        st.bind("K" + std::to_string(i), row.get(t.keyColumns[i]));
    return st.step();
}

bool keyChanged(const ChangeLogTable& t, const LogRow& now, const LogRow& before) {
    for (const std::string& k : t.keyColumns)
        if (!(now.get(k) == before.get(k))) return true;
    return false;
}

void checkSizes(const Registry& reg, const LogRow& row) {
    for (const PacketField& f : reg.fields) {
        // The supplier code is checked against the supplier table instead.
        if (f.type != FieldType::Text || f.size <= 0 || f.name == "CDFORNECED") continue;
        if (row.text(f.name).size() > static_cast<size_t>(f.size))
            throw Refusal("Campo " + f.name + " excede " + std::to_string(f.size) + " caracteres.");
    }
}

void requireSupplier(Database& db, const LogRow& row) {
    const Value code = row.get("CDFORNECED");
    if (code.isNull()) throw Refusal("Fornecedor não informado.");
    Statement st = db.prepare("SELECT 1 FROM FORNECEDOR WHERE CDFORNECED = :F");
    st.bind("F", code);
    if (!st.step()) throw Refusal("Fornecedor " + code.asString() + " não cadastrado.");
}

// Applies the change log one row at a time, each checked first, so that a row put on a
// key already in use (also one the same log frees just before it) is refused by name.
// Returns the suppliers touched.
std::set<std::string> applyRows(Database& db, const Packet& delta, const Registry& reg) {
    if (!delta.isDelta) throw Refusal("Esperadas as alterações de " + reg.table.table + ".");
    std::set<std::string> suppliers;
    for (const PacketChange& ch : delta.changes) {
        if (ch.op != ChangeOp::Delete) {
            const LogRow now{delta, delta.layout.decode(ch.values)};
            requireSupplier(db, now);
            checkSizes(reg, now);
            reg.validate(db, now);
            const bool newKey =
                ch.op == ChangeOp::Insert ||
                keyChanged(reg.table, now, LogRow{delta, delta.layout.decode(ch.original)});
            if (newKey && keyInUse(db, reg.table, now)) throw Refusal(reg.duplicate(now));
            suppliers.insert(now.text("CDFORNECED"));
        }
        Packet one(delta.fields);
        one.isDelta = true;
        one.changes = {ch};
        applyChangeLog(db, one, reg.table);
    }
    return suppliers;
}

// "Flag T: any value; otherwise that value", the convention of the screen's lookups.
void addCriterion(SqlConditions& where, const char* column, const std::string& value,
                  const std::string& all) {
    if (AllTrim(all) == "T") return;
    where.add(std::string(column) + " = :" + column, column, Value(AllTrim(value)));
}

std::string requiredSupplier(const OperationCall& call) {
    const std::string code = AllTrim(call.text(0));
    if (code.empty()) throw Refusal("Fornecedor não informado.");
    return code;
}

// GetCCorForn (supplier, bank, bank-all flag, agency, agency-all flag, account,
// account-all flag, "T") -> cdsCCorForn: the supplier's accounts that match. The last
// argument is always "T" and carries no criterion.
Value getCCorForn(OperationCall& call) {
    SqlConditions where;
    where.add("CDFORNECED = :FORN", "FORN", Value(requiredSupplier(call)));
    addCriterion(where, "CDBANCFORN", call.text(1), call.text(2));
    addCriterion(where, "CDAGENFORN", call.text(3), call.text(4));
    addCriterion(where, "CDCCORFORN", call.text(5), call.text(6));
    Statement st = call.db.prepare("SELECT * FROM CCORFORN WHERE " + where.sql() +
                                   " ORDER BY CDBANCFORN, CDAGENFORN, CDCCORFORN");
    where.bindTo(st);
    return packetValue(packetFromStatement(st, cCorFornFields()));
}

std::string accountText(const LogRow& r) {
    return r.text("CDBANCFORN") + "/" + r.text("CDAGENFORN") + "/" + r.text("CDCCORFORN");
}

const Registry& accountRegistry() {
    static const Registry reg{
        {"CCORFORN",
         {"CDFORNECED", "CDBANCFORN", "CDAGENFORN", "CDCCORFORN"},
         {"CDFORNECED", "CDBANCFORN", "CDAGENFORN", "CDCCORFORN", "IDTPICNABFOR", "NRINSCNABFOR"},
         [](Database&, const std::vector<Value>& key) {
             return "A conta corrente " + key[1].asString() + "/" + key[2].asString() + "/" +
                    key[3].asString() + " do fornecedor " + key[0].asString() +
                    " foi alterada ou excluída por outro usuário. Atualize os dados e repita "
                    "a operação.";
         }},
        cCorFornFields(),
        [](Database&, const LogRow& r) {
            if (r.get("CDBANCFORN").isNull() || r.get("CDAGENFORN").isNull() ||
                r.get("CDCCORFORN").isNull())
                throw Refusal(
                    "Banco, agência e conta corrente do favorecido devem ser informados.");
            const std::string tipo = r.text("IDTPICNABFOR");
            if (!tipo.empty() && tipo != "J" && tipo != "F" && tipo != "O" && tipo != "I")
                throw Refusal("Tipo de inscrição da conta do favorecido deve ser J, F, O ou I.");
        },
        [](const LogRow& r) {
            return "Conta corrente " + accountText(r) + " já cadastrada para o fornecedor " +
                   r.text("CDFORNECED") + ".";
        }};
    return reg;
}

// SetCCorForn (change log of cdsCCorForn) -> number of rows applied.
Value setCCorForn(OperationCall& call) {
    const Packet& delta = call.packet(0);
    applyRows(call.db, delta, accountRegistry());
    return Value(static_cast<int64_t>(delta.changes.size()));
}

// GetChavePix (supplier, key, key type) -> cdsChavePix: the supplier's keys (empty key
// and type: all of them), the preferred key first.
Value getChavePix(OperationCall& call) {
    SqlConditions where;
    where.add("CDFORNECED = :FORN", "FORN", Value(requiredSupplier(call)));
    const std::string key = AllTrim(call.text(1)), type = AllTrim(call.text(2));
    if (!key.empty()) where.add("CDCHAVEPIX = :CHAVE", "CHAVE", Value(key));
    if (!type.empty()) where.add("IDCHAVEPIX = :TIPO", "TIPO", Value(type));
    Statement st = call.db.prepare("SELECT * FROM CHAVEPIXFORN WHERE " + where.sql() +
                                   " ORDER BY IDCHAVEPIXPREF DESC, IDCHAVEPIX, CDCHAVEPIX");
    where.bindTo(st);
    return packetValue(packetFromStatement(st, chavePixFields()));
}

const Registry& pixRegistry() {
    static const Registry reg{
        {"CHAVEPIXFORN",
         {"CDFORNECED", "IDCHAVEPIX", "CDCHAVEPIX"},
         {"CDFORNECED", "IDCHAVEPIX", "CDCHAVEPIX", "DSCHAVEPIX", "IDCHAVEPIXPREF"},
         [](Database&, const std::vector<Value>& key) {
             return "A chave Pix " + key[2].asString() + " do fornecedor " + key[0].asString() +
                    " foi alterada ou excluída por outro usuário. Atualize os dados e repita "
                    "a operação.";
         }},
        chavePixFields(),
        [](Database&, const LogRow& r) {
            const std::string tipo = r.text("IDCHAVEPIX");
            if (tipo != "01" && tipo != "02" && tipo != "03" && tipo != "04")
                throw Refusal("Tipo de chave Pix deve ser 01, 02, 03 ou 04.");
            if (r.get("CDCHAVEPIX").isNull()) throw Refusal("Chave Pix deve ser informada.");
            // Explicit on new keys too (the screen starts them with "N"), so the row the
            // screen keeps after saving is the row stored.
            const std::string pref = r.text("IDCHAVEPIXPREF");
            if (pref != "S" && pref != "N")
                throw Refusal("Indicador de chave Pix principal deve ser S ou N.");
        },
        [](const LogRow& r) {
            return "Chave Pix " + r.text("CDCHAVEPIX") + " já cadastrada para o fornecedor " +
                   r.text("CDFORNECED") + ".";
        }};
    return reg;
}

// SetChavePix (change log of cdsChavePix) -> number of rows applied. A supplier keeps
// at most one preferred key.
Value setChavePix(OperationCall& call) {
    const Packet& delta = call.packet(0);
    for (const std::string& fornecedor : applyRows(call.db, delta, pixRegistry())) {
        Statement st = call.db.prepare(
            "SELECT COUNT(*) FROM CHAVEPIXFORN WHERE CDFORNECED = :F AND IDCHAVEPIXPREF = 'S'");
        st.bind("F", Value(fornecedor));
        st.step();
        if (st.column(0).asInteger() > 1)
            throw Refusal("O fornecedor " + fornecedor +
                          " já possui uma chave Pix principal. Só uma chave pode ser a principal.");
    }
    return Value(static_cast<int64_t>(delta.changes.size()));
}

}  // namespace

void registerSupplierAccountOperations(OperationRegistry& r) {
    r.add("GetCCorForn", Access::Read, getCCorForn);
    r.add("SetCCorForn", Access::Write, setCCorForn);
    r.add("GetChavePix", Access::Read, getChavePix);
    r.add("SetChavePix", Access::Write, setChavePix);
}

}  // namespace pag::server
