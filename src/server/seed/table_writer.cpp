#include "server/seed/table_writer.h"

#include <stdexcept>

namespace pag::server {

namespace {
std::string insertSql(const std::string& table, const std::vector<std::string>& columns) {
    std::string names, params;
    for (size_t i = 0; i < columns.size(); ++i) {
        names += (i ? ", " : "") + columns[i];
        params += (i ? ", ?" : "?");
    }
    return "INSERT INTO " + table + " (" + names + ") VALUES (" + params + ")";
}
}  // namespace

TableWriter::TableWriter(Database& db, const std::string& table, std::vector<std::string> columns)
    : columns_(columns.size()), st_(db.prepare(insertSql(table, columns))) {}

void TableWriter::row(const std::vector<Value>& values) {
    if (values.size() != columns_)
        throw std::invalid_argument("Quantidade de valores diferente da de colunas.");
    for (size_t i = 0; i < values.size(); ++i)
        st_.bind(static_cast<int>(i + 1), values[i]);
    st_.execute();
    st_.reset();
}

}  // namespace pag::server
