#include "platform/sql/sql_parameters.h"

#include <cctype>

#include "platform/dataset/packet.h"

namespace pag {

namespace {

bool nameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Position just after the quoted text or comment that starts at i, or i itself.
size_t skipLiteral(std::string_view sql, size_t i) {
    char c = sql[i];
    auto until = [&](std::string_view end, size_t from) {
        size_t e = sql.find(end, from);
        return e == std::string_view::npos ? sql.size() : e + end.size();
    };
    if (c == '\'' || c == '"' || c == '`') return until(std::string_view(&c, 1), i + 1);
    if (c == '[') return until("]", i + 1);
    if (sql.substr(i, 2) == "--") return until("\n", i + 2);
    if (sql.substr(i, 2) == "/*") return until("*/", i + 2);
    return i;
}

}  // namespace

std::vector<std::string> namedParameters(std::string_view sql) {
    std::vector<std::string> names;
    size_t i = 0;
    while (i < sql.size()) {
        size_t after = skipLiteral(sql, i);
        if (after != i) {
            i = after;  // a doubled quote ('it''s') is two literals in a row: same result
            continue;
        }
        if (sql[i] != ':') {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < sql.size() && nameChar(sql[end]))
            ++end;
        std::string_view name = sql.substr(i + 1, end - i - 1);
        bool known = false;
        for (const std::string& n : names)
            known = known || equalsIgnoreCase(n, name);
        if (!name.empty() && !known) names.emplace_back(name);
        i = end;
    }
    return names;
}

}  // namespace pag
