#include "server/row_copy.h"

#include "platform/dataset/packet.h"
#include "server/schema_dialect.h"

namespace pag::server {

namespace {

const Value* changed(const ColumnValues& changes, const std::string& column) {
    for (const auto& [name, value] : changes)
        if (equalsIgnoreCase(name, column)) return &value;
    return nullptr;
}

}  // namespace

void copyRow(Database& db, const std::string& table, const ColumnValues& key,
             const ColumnValues& changes) {
    const std::vector<std::string> columns = tableColumns(db, table);
    std::string names, select, where;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string sep = i ? ", " : "";
        names += sep + columns[i];
        select += sep + (changed(changes, columns[i]) ? ":c" + std::to_string(i) : columns[i]);
    }
    for (size_t i = 0; i < key.size(); ++i)
        where += (i ? " AND " : "") + key[i].first + " = :k" + std::to_string(i);
    Statement st = db.prepare("INSERT INTO " + table + " (" + names + ") SELECT " + select +
                              " FROM " + table + " WHERE " + where);
    for (size_t i = 0; i < columns.size(); ++i)
        if (const Value* v = changed(changes, columns[i])) st.bind("c" + std::to_string(i), *v);
    for (size_t i = 0; i < key.size(); ++i)
        st.bind("k" + std::to_string(i), key[i].second);
    if (st.execute() != 1)
        throw DatabaseError("Registro de " + table + " a copiar não encontrado.");
}

}  // namespace pag::server
