#include "server/change_log.h"

#include "platform/dataset/packet.h"
#include "server/column_rules.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

struct Bound {
    std::string column;
    size_t field;  // index in the packet
    FieldType type;
    bool key;
};

bool isKey(const ChangeLogTable& t, const std::string& column) {
    for (const auto& k : t.keyColumns)
        if (equalsIgnoreCase(k, column)) return true;
    return false;
}

std::vector<Bound> bindColumns(const Packet& delta, const ChangeLogTable& t) {
    std::vector<Bound> out;
    for (const std::string& c : t.columns) {
        int f = delta.fieldIndex(c);
        if (f < 0) continue;
        out.push_back(
            {c, static_cast<size_t>(f), delta.fields[static_cast<size_t>(f)].type, isKey(t, c)});
    }
    for (const std::string& k : t.keyColumns)
        if (delta.fieldIndex(k) < 0)
            throw Refusal("Alterações de " + t.table + " sem o campo-chave " + k + ".");
    return out;
}

bool isNumeric(FieldType t) {
    return t == FieldType::Float || t == FieldType::Integer;
}

// "COL IS NOT DISTINCT FROM :o3" (null matches null), money and numbers compared
// after rounding to cents.
std::string matchClause(const Bound& b, size_t i) {
    const std::string p = ":o" + std::to_string(i);
    if (isNumeric(b.type) && !b.key)
        return "ROUND(" + b.column + ", 2) IS NOT DISTINCT FROM ROUND(" + p + ", 2)";
    return b.column + " IS NOT DISTINCT FROM " + p;
}

std::string whereOriginal(const std::vector<Bound>& cols) {
    std::string where;
    for (size_t i = 0; i < cols.size(); ++i) {
        if (!where.empty()) where += " AND ";
        where += matchClause(cols[i], i);
    }
    return where;
}

void bindOriginal(Statement& st, const std::vector<Bound>& cols, const std::vector<Value>& orig) {
    for (size_t i = 0; i < cols.size(); ++i)
        st.bind("o" + std::to_string(i), withoutPlaceholder(orig[cols[i].field]));
}

std::vector<Value> keyOf(const std::vector<Bound>& cols, const std::vector<Value>& row,
                         const ChangeLogTable& t) {
    std::vector<Value> key;
    for (const std::string& k : t.keyColumns)
        for (const Bound& b : cols)
            if (equalsIgnoreCase(b.column, k)) key.push_back(row[b.field]);
    return key;
}

std::string recordText(const std::vector<Value>& key) {
    std::string text;
    for (const Value& v : key)
        text += (text.empty() ? "" : "/") + v.asString();
    return text;
}

[[noreturn]] void conflict(Database& db, const ChangeLogTable& t, const std::vector<Value>& key) {
    if (t.conflictMessage) throw Refusal(t.conflictMessage(db, key));
    throw Refusal("O registro " + recordText(key) + " de " + t.table +
                  " foi alterado ou excluído por outro usuário. Atualize os dados e "
                  "repita a operação.");
}

void insertRow(Database& db, const ChangeLogTable& t, const std::vector<Bound>& cols,
               const std::vector<Value>& values) {
    std::string names, params;
    std::vector<std::pair<std::string, Value>> binds;
    for (size_t i = 0; i < cols.size(); ++i) {
        Value v = withoutPlaceholder(values[cols[i].field]);
        if (v.isNull()) continue;
        names += (names.empty() ? "" : ", ") + cols[i].column;
        params += (params.empty() ? ":v" : ", :v") + std::to_string(i);
        binds.emplace_back("v" + std::to_string(i), std::move(v));
    }
    Statement st =
        db.prepare("INSERT INTO " + t.table + " (" + names + ") VALUES (" + params + ")");
    for (const auto& [name, v] : binds)
        st.bind(name, v);
    st.execute();
}

void modifyRow(Database& db, const ChangeLogTable& t, const std::vector<Bound>& cols,
               const std::vector<Value>& values, const std::vector<Value>& orig) {
    std::string set;
    std::vector<size_t> changed;
    for (size_t i = 0; i < cols.size(); ++i) {
        if (withoutPlaceholder(values[cols[i].field]) == withoutPlaceholder(orig[cols[i].field]))
            continue;
        set += (set.empty() ? "" : ", ") + cols[i].column + " = :v" + std::to_string(i);
        changed.push_back(i);
    }
    // Nothing changed in a stored column: the row must still be there as read.
    const std::string sql =
        set.empty() ? "SELECT 1 FROM " + t.table + " WHERE " + whereOriginal(cols)
                    : "UPDATE " + t.table + " SET " + set + " WHERE " + whereOriginal(cols);
    Statement st = db.prepare(sql);
    bindOriginal(st, cols, orig);
    for (size_t i : changed)
        st.bind("v" + std::to_string(i), withoutPlaceholder(values[cols[i].field]));
    const bool matched = set.empty() ? st.step() : st.execute() > 0;
    if (!matched) conflict(db, t, keyOf(cols, orig, t));
}

void deleteRow(Database& db, const ChangeLogTable& t, const std::vector<Bound>& cols,
               const std::vector<Value>& orig) {
    Statement st = db.prepare("DELETE FROM " + t.table + " WHERE " + whereOriginal(cols));
    bindOriginal(st, cols, orig);
    if (st.execute() == 0) conflict(db, t, keyOf(cols, orig, t));
}

}  // namespace

Value withoutPlaceholder(const Value& v) {
    switch (v.type()) {
        case ValueType::Text:
            return v.asString() == " " ? Value() : v;
        case ValueType::Float:
        case ValueType::Integer:
            return v.asFloat() == -1.0 ? Value() : v;
        default:
            return v;
    }
}

namespace {

// Every value the change log would store, checked against its column before anything
// is written: inserts all their values, modifies the values they change.
void requireStorable(Database& db, const Packet& delta, const ChangeLogTable& table,
                     const std::vector<Bound>& cols) {
    const ColumnRules& rules = ColumnRules::of(db);
    for (const PacketChange& ch : delta.changes) {
        if (ch.op == ChangeOp::Delete) continue;
        const std::vector<Value> values = delta.layout.decode(ch.values);
        const std::vector<Value> orig =
            ch.op == ChangeOp::Modify ? delta.layout.decode(ch.original) : std::vector<Value>{};
        for (const Bound& b : cols) {
            const Value v = withoutPlaceholder(values[b.field]);
            if (!orig.empty() && v == withoutPlaceholder(orig[b.field])) continue;
            requireFits(rules, table.table, b.column, v, recordText(keyOf(cols, values, table)));
        }
    }
}

}  // namespace

ChangeLogCounts applyChangeLog(Database& db, const Packet& delta, const ChangeLogTable& table) {
    ChangeLogCounts counts;
    if (delta.changes.empty()) return counts;
    const std::vector<Bound> cols = bindColumns(delta, table);
    requireStorable(db, delta, table, cols);
    for (const PacketChange& ch : delta.changes) {
        switch (ch.op) {
            case ChangeOp::Insert:
                insertRow(db, table, cols, delta.layout.decode(ch.values));
                ++counts.inserted;
                break;
            case ChangeOp::Modify:
                modifyRow(db, table, cols, delta.layout.decode(ch.values),
                          delta.layout.decode(ch.original));
                ++counts.modified;
                break;
            case ChangeOp::Delete:
                deleteRow(db, table, cols, delta.layout.decode(ch.original));
                ++counts.deleted;
                break;
        }
    }
    return counts;
}

}  // namespace pag::server
