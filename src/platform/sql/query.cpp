#include "platform/sql/query.h"

#include <memory>
#include <tuple>

#include "platform/sql/column_types.h"
#include "platform/sql/sql_parameters.h"

namespace pag {

namespace {

bool sameDef(const FieldDef& a, const FieldDef& b) {
    auto all = [](const FieldDef& d) {
        return std::tie(d.name, d.type, d.size, d.label, d.displayFormat, d.editFormat, d.editMask,
                        d.visible, d.required, d.readOnly, d.tag, d.calculated, d.fixedLength,
                        d.alignment);
    };
    return all(a) == all(b);
}

bool sameDefs(const std::vector<FieldDef>& a, const std::vector<FieldDef>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameDef(a[i], b[i])) return false;
    return true;
}

int indexOf(const std::vector<std::string>& names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (equalsIgnoreCase(names[i], name)) return static_cast<int>(i);
    return -1;
}

}  // namespace

// The rows as SQLite stored them, before they take the fields' types.
struct Query::Result {
    std::vector<std::string> names;
    std::vector<std::string> declaredTypes;
    std::vector<std::vector<Value>> rows;
};

Query::Query(std::string name, Database* db, std::string sql)
    : ClientDataSet(std::move(name)), db_(db) {
    SetReadOnly(true);
    SetSQL(std::move(sql));
}

std::string Query::label() const {
    return Name().empty() ? "Consulta" : "Consulta " + Name();
}

void Query::SetDatabase(Database* db) {
    Close();
    db_ = db;
}

void Query::SetSQL(std::string sql) {
    Close();
    sql_ = std::move(sql);
    params_.clear();
    for (std::string& n : namedParameters(sql_))
        params_.emplace_back(std::move(n));
}

QueryParam* Query::FindParam(std::string_view name) {
    for (QueryParam& p : params_)
        if (equalsIgnoreCase(p.Name(), name)) return &p;
    return nullptr;
}

QueryParam& Query::ParamByName(std::string_view name) {
    if (QueryParam* p = FindParam(name)) return *p;
    throw DatabaseError(label() + ": o parâmetro " + std::string(name) +
                        " não existe no comando SQL.");
}

Query::Result Query::run() {
    Statement st = db_->prepare(sql_);
    if (!st.readOnly())
        throw DatabaseError("uma consulta só lê dados, e este comando SQL altera o banco.");
    if (st.columnCount() == 0) throw DatabaseError("o comando SQL não devolve linhas.");
    for (int i = 1; i <= st.parameterCount(); ++i) {
        std::string name = st.parameterName(i);
        if (name.empty())
            throw DatabaseError("use parâmetros com nome (:NOME) em vez de '?' no comando SQL.");
        const QueryParam* p = FindParam(name);
        st.bind(i, p ? p->AsValue() : Value());
    }
    Result r;
    for (int c = 0; c < st.columnCount(); ++c) {
        r.names.push_back(st.columnName(c));
        r.declaredTypes.push_back(st.columnDeclaredType(c));
    }
    while (st.step()) {
        std::vector<Value> row;
        row.reserve(r.names.size());
        for (int c = 0; c < st.columnCount(); ++c)
            row.push_back(st.column(c));
        r.rows.push_back(std::move(row));
    }
    return r;
}

std::vector<FieldDef> Query::fieldDefsFor(const Result& result) {
    std::vector<FieldDef> defs;
    for (const FieldDef& d : declared_) {
        if (!d.calculated && indexOf(result.names, d.name) < 0)
            throw DatabaseError("o campo " + d.name + " não está no resultado do comando SQL.");
        defs.push_back(d);
    }
    for (size_t c = 0; c < result.names.size(); ++c) {
        bool taken = false;
        for (const FieldDef& d : defs)
            taken = taken || equalsIgnoreCase(d.name, result.names[c]);
        if (taken) continue;  // declared, or a column name repeated in the select list
        FieldDef d;
        d.name = result.names[c];
        std::optional<FieldType> t = fieldTypeOfDeclared(result.declaredTypes[c]);
        if (!t) {
            t = FieldType::Text;
            for (const auto& row : result.rows)
                if (!row[c].isNull()) {
                    t = fieldTypeOfStored(row[c]);
                    break;
                }
        }
        d.type = *t;
        d.size = sizeOfDeclared(result.declaredTypes[c]);
        // Beside declared fields, the other columns are there to be read, not shown.
        d.visible = declared_.empty();
        defs.push_back(std::move(d));
    }
    return defs;
}

void Query::applyFieldDefs(const std::vector<FieldDef>& merged) {
    // A screen sets display handlers and field properties on the Field objects;
    // they survive the new definitions.
    struct Kept {
        FieldDef def;
        FieldGetText getText;
        FieldSetText setText;
    };
    std::vector<Kept> kept;
    for (size_t i = 0; i < FieldCount(); ++i)
        kept.push_back({Fields(i).Def(), Fields(i).OnGetText, Fields(i).OnSetText});
    auto find = [&](const std::string& name) -> const Kept* {
        for (const Kept& k : kept)
            if (equalsIgnoreCase(k.def.name, name)) return &k;
        return nullptr;
    };
    std::vector<FieldDef> defs;
    for (const FieldDef& d : merged) {
        const Kept* k = find(d.name);
        defs.push_back(k ? k->def : d);
        defs.back().type = d.type;
        defs.back().size = d.size;
    }
    SetFieldDefs(defs);
    for (size_t i = 0; i < FieldCount(); ++i)
        if (const Kept* k = find(Fields(i).FieldName())) {
            Fields(i).OnGetText = k->getText;
            Fields(i).OnSetText = k->setText;
        }
    applied_ = FieldDefs();
    merged_ = merged;
}

PacketPtr Query::packetOf(const Result& result) const {
    std::vector<PacketField> fields;
    std::vector<size_t> column;
    for (const FieldDef& d : FieldDefs()) {
        if (d.calculated) continue;
        fields.push_back({d.name, d.type, d.size});
        column.push_back(static_cast<size_t>(indexOf(result.names, d.name)));
    }
    auto packet = std::make_shared<Packet>(std::move(fields));
    packet->rows.reserve(result.rows.size());
    std::vector<Value> values(column.size());
    for (const auto& row : result.rows) {
        for (size_t k = 0; k < column.size(); ++k)
            values[k] =
                convertStored(row[column[k]], packet->fields[k].type, packet->fields[k].name);
        packet->addRow(values);
    }
    return packet;
}

void Query::Open() {
    if (!db_) throw DatabaseError(label() + ": a consulta não está ligada a um banco de dados.");
    Close();
    try {
        // SetFieldDefs since the last open means the screen declared new fields.
        bool redeclared = !sameDefs(FieldDefs(), applied_);
        if (redeclared) declared_ = FieldDefs();
        Result result = run();
        std::vector<FieldDef> merged = fieldDefsFor(result);
        // Rebuilding the fields only when the columns changed keeps the Field objects
        // that controls and handlers hold.
        if (sameDefs(merged, FieldDefs())) {
            applied_ = FieldDefs();
            merged_ = std::move(merged);
        } else if (redeclared || !sameDefs(merged, merged_)) {
            applyFieldDefs(merged);
        }
        SetData(packetOf(result));
    } catch (const DatabaseError& e) {
        throw DatabaseError(label() + ": " + e.what(), e.code());
    }
}

}  // namespace pag
