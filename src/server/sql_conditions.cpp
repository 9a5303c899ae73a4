#include "server/sql_conditions.h"

#include <algorithm>

namespace pag::server {

namespace {
std::string trimmed(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
}

void addUnique(std::vector<std::string>& out, std::string code) {
    if (code.empty()) return;
    if (std::find(out.begin(), out.end(), code) == out.end()) out.push_back(std::move(code));
}
}  // namespace

void SqlConditions::add(std::string condition) {
    conditions_.push_back(std::move(condition));
}

void SqlConditions::add(std::string condition, std::string param, Value value) {
    conditions_.push_back(std::move(condition));
    values_.emplace_back(std::move(param), std::move(value));
}

std::string SqlConditions::parameterList(const std::string& prefix,
                                         const std::vector<std::string>& codes) {
    std::string list = "(";
    for (size_t i = 0; i < codes.size(); ++i) {
        const std::string name = prefix + std::to_string(i);
        list += (i ? ", :" : ":") + name;
        values_.emplace_back(name, Value(codes[i]));
    }
    return list + ")";
}

void SqlConditions::addIn(const std::string& expr, const std::string& prefix,
                          const std::vector<std::string>& codes) {
    if (codes.empty()) return;
    conditions_.push_back(expr + " IN " + parameterList(prefix, codes));
}

void SqlConditions::addInTemplate(const std::string& templ, const std::string& prefix,
                                  const std::vector<std::string>& codes) {
    if (codes.empty()) return;
    std::string cond = templ;
    const auto at = cond.find("{IN}");
    cond.replace(at, 4, parameterList(prefix, codes));
    conditions_.push_back(std::move(cond));
}

std::string SqlConditions::sql() const {
    if (conditions_.empty()) return "1 = 1";
    std::string out;
    for (const auto& c : conditions_)
        out += (out.empty() ? "(" : " AND (") + c + ")";
    return out;
}

void SqlConditions::bindTo(Statement& st) const {
    for (const auto& [name, value] : values_)
        st.bind(name, value);
}

std::vector<std::string> splitCodeList(std::string_view list) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i <= list.size(); ++i) {
        if (i == list.size() || list[i] == ',' || list[i] == ';') {
            addUnique(out, trimmed(list.substr(start, i - start)));
            start = i + 1;
        }
    }
    return out;
}

std::vector<std::string> splitUnderscoreCodes(std::string_view text) {
    std::vector<std::string> out;
    const std::string t = trimmed(text);
    if (t.empty()) return out;
    if (t.find('_') == std::string::npos) {
        out.push_back(t);
        return out;
    }
    size_t start = 0;
    for (size_t i = 0; i <= t.size(); ++i) {
        if (i == t.size() || t[i] == '_') {
            addUnique(out, trimmed(std::string_view(t).substr(start, i - start)));
            start = i + 1;
        }
    }
    return out;
}

}  // namespace pag::server
