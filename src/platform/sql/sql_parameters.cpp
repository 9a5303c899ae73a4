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

// Calls f(offset) for every character outside quotes and comments; f returns how
// far to move on (at least 1).
template <typename F>
void forEachPlain(std::string_view sql, F f) {
    size_t i = 0;
    while (i < sql.size()) {
        size_t after = skipLiteral(sql, i);
        if (after != i) {
            i = after;  // a doubled quote ('it''s') is two literals in a row: same result
            continue;
        }
        i += f(i);
    }
}

int indexOfName(const std::vector<std::string>& names, std::string_view name) {
    for (size_t k = 0; k < names.size(); ++k)
        if (equalsIgnoreCase(names[k], name)) return static_cast<int>(k);
    return -1;
}

}  // namespace

void forEachParameter(std::string_view sql,
                      const std::function<void(size_t, size_t, std::string_view)>& f) {
    forEachPlain(sql, [&](size_t i) -> size_t {
        if (sql[i] == '?') {
            f(i, 1, {});  // positional: no name
            return 1;
        }
        if (sql[i] != ':') return 1;
        if (sql.substr(i, 2) == "::") return 2;  // a cast: "x::integer"
        size_t end = i + 1;
        while (end < sql.size() && nameChar(sql[end]))
            ++end;
        if (end > i + 1) f(i, end - i, sql.substr(i + 1, end - i - 1));
        return end - i;
    });
}

void forEachWord(std::string_view sql, const std::function<void(std::string_view)>& f) {
    forEachPlain(sql, [&](size_t i) -> size_t {
        if (!nameChar(sql[i]) || sql[i] == '$') return 1;
        size_t end = i;
        while (end < sql.size() && nameChar(sql[end]))
            ++end;
        f(sql.substr(i, end - i));
        return end - i;
    });
}

std::vector<std::string> namedParameters(std::string_view sql) {
    std::vector<std::string> names;
    forEachParameter(sql, [&](size_t, size_t, std::string_view name) {
        if (!name.empty() && indexOfName(names, name) < 0) names.emplace_back(name);
    });
    return names;
}

NumberedSql numberParameters(std::string_view sql) {
    NumberedSql out;
    size_t copied = 0;
    forEachParameter(sql, [&](size_t at, size_t length, std::string_view name) {
        int k = name.empty() ? -1 : indexOfName(out.names, name);
        if (k < 0) {
            k = static_cast<int>(out.names.size());
            out.names.emplace_back(name);
        }
        out.text.append(sql.substr(copied, at - copied));
        out.text += '$' + std::to_string(k + 1);
        copied = at + length;
    });
    out.text.append(sql.substr(copied));
    return out;
}

std::string_view afterFirstStatement(std::string_view sql) {
    size_t end = std::string_view::npos;
    forEachPlain(sql, [&](size_t i) -> size_t {
        if (sql[i] == ';' && end == std::string_view::npos) end = i;
        return 1;
    });
    return end == std::string_view::npos ? std::string_view() : sql.substr(end + 1);
}

bool onlyBlanksOrComments(std::string_view sql) {
    size_t i = 0;
    while (i < sql.size()) {
        size_t after = skipLiteral(sql, i);
        const bool comment = sql[i] == '-' || sql[i] == '/';
        if (after != i && !comment) return false;  // quoted text is something
        if (after == i && !std::isspace(static_cast<unsigned char>(sql[i]))) return false;
        i = after != i ? after : i + 1;
    }
    return true;
}

}  // namespace pag
