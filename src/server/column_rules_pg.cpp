#include <regex>

#include "server/column_rules.h"

namespace pag::server {

namespace {

// information_schema's type as the schema declares it.
std::string declaredType(const std::string& dataType, const Value& maxLength) {
    if (dataType == "character varying" || dataType == "character")
        return maxLength.isNull() ? "TEXT" : "VARCHAR(" + maxLength.asString() + ")";
    if (dataType == "date") return "DATE";
    if (dataType == "integer" || dataType == "bigint" || dataType == "smallint") return "INTEGER";
    if (dataType == "double precision" || dataType == "real" || dataType == "numeric")
        return "REAL";
    if (dataType == "text") return "TEXT";
    return dataType;
}

}  // namespace

void ColumnRules::readPostgres(Database& db) {
    Statement columns = db.prepare(
        "SELECT c.table_name, c.column_name, c.data_type, c.character_maximum_length"
        "  FROM information_schema.columns c JOIN information_schema.tables t"
        "    ON t.table_schema = c.table_schema AND t.table_name = c.table_name"
        " WHERE c.table_schema = current_schema() AND t.table_type = 'BASE TABLE'"
        " ORDER BY c.table_name, c.ordinal_position");
    while (columns.step())
        addColumn(columns.column(0).asString(), columns.column(1).asString(),
                  declaredType(columns.column(2).asString(), columns.column(3)));
    Statement keys = db.prepare(
        "SELECT k.table_name, k.column_name"
        "  FROM information_schema.table_constraints tc"
        "  JOIN information_schema.key_column_usage k ON k.table_schema = tc.table_schema"
        "   AND k.table_name = tc.table_name AND k.constraint_name = tc.constraint_name"
        " WHERE tc.table_schema = current_schema() AND tc.constraint_type = 'PRIMARY KEY'"
        " ORDER BY k.table_name, k.ordinal_position");
    while (keys.step())
        addKeyColumn(keys.column(0).asString(), keys.column(1).asString());
    // PostgreSQL keeps CHECK (COL IN ('A', 'B')) as
    // ((col)::text = ANY ((ARRAY['A'::character varying, ...])::text[])).
    static const std::regex anyOf(R"(\(*(\w+)\)?(?:::\w+)?\s*=\s*ANY\s*\(+ARRAY\[([^\]]*)\])",
                                  std::regex::icase);
    Statement checks = db.prepare(
        "SELECT r.relname, pg_get_constraintdef(c.oid) FROM pg_constraint c"
        "  JOIN pg_class r ON r.oid = c.conrelid"
        " WHERE c.contype = 'c' AND r.relnamespace = current_schema()::regnamespace");
    while (checks.step()) {
        const std::string def = checks.column(1).asString();
        std::smatch m;
        if (std::regex_search(def, m, anyOf))
            addDomain(checks.column(0).asString(), m[1].str(), m[2].str());
    }
}

}  // namespace pag::server
