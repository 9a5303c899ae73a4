#include "scenario/scenario_values.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/format.h"

namespace pag::scenario {

namespace {

bool allDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool looksLikeIsoDate(const std::string& s) {
    return s.size() >= 10 && s[4] == '-' && s[7] == '-' && allDigits(s.substr(0, 4)) &&
           allDigits(s.substr(5, 2)) && allDigits(s.substr(8, 2));
}

bool readBool(const std::string& text, bool& out) {
    static const char* const yes[] = {"S", "s", "sim", "Sim", "true", "True", "1"};
    static const char* const no[] = {"N", "n", "não", "Não", "nao", "false", "False", "0"};
    for (const char* y : yes)
        if (text == y) return out = true, true;
    for (const char* n : no)
        if (text == n) return out = false, true;
    return false;
}

bool isNullWord(const Word& w) {
    return !w.quoted && w.text == "null";
}

}  // namespace

bool isRelativeDate(std::string_view text) {
    if (!text.starts_with("today")) return false;
    std::string_view rest = text.substr(5);
    if (rest.empty()) return true;
    return (rest[0] == '+' || rest[0] == '-') && allDigits(rest.substr(1)) && rest.size() <= 6;
}

Date parseScenarioDate(std::string_view text, Date today) {
    if (isRelativeDate(text)) {
        if (text.size() == 5) return today;
        int n = std::stoi(std::string(text.substr(6)));
        return today.addDays(text[5] == '+' ? n : -n);
    }
    if (text.empty()) throw std::invalid_argument("data vazia: use dd/mm/aaaa, today ou today+N");
    return Date::parse(text);
}

std::string typedText(const Word& word, Date today) {
    if (!word.quoted && isRelativeDate(word.text))
        return parseScenarioDate(word.text, today).toString();
    return word.text;
}

std::string sqlWithDates(std::string_view sql, Date today) {
    std::string out;
    out.reserve(sql.size());
    size_t at = 0;
    for (size_t open; (open = sql.find("{today", at)) != std::string_view::npos;) {
        const size_t close = sql.find('}', open);
        const std::string_view word = close == std::string_view::npos
                                          ? sql.substr(open + 1)
                                          : sql.substr(open + 1, close - open - 1);
        if (close == std::string_view::npos || !isRelativeDate(word))
            throw std::invalid_argument("'{" + std::string(word) +
                                        "' no SQL: escreva {today}, {today+N} ou {today-N}");
        out.append(sql.substr(at, open - at));
        out += "'" + parseScenarioDate(word, today).toIso() + "'";
        at = close + 1;
    }
    out.append(sql.substr(at));
    return out;
}

Value scriptValue(FieldType type, const Word& word, Date today) {
    if (isNullWord(word)) return Value();
    const std::string& t = word.text;
    switch (type) {
        case FieldType::Float:
        case FieldType::Integer: {
            auto n = parseNumber(t);
            if (!n) throw std::invalid_argument("'" + t + "' não é um número (escreva 1.234,56)");
            if (type == FieldType::Integer && *n != std::floor(*n))
                throw std::invalid_argument("'" + t + "' não é um número inteiro");
            return type == FieldType::Integer ? Value(static_cast<int64_t>(*n)) : Value(*n);
        }
        case FieldType::Boolean: {
            bool b = false;
            if (!readBool(t, b))
                throw std::invalid_argument("'" + t + "' não é um valor lógico (S ou N)");
            return Value(b);
        }
        case FieldType::Date: {
            Date d = parseScenarioDate(t, today);
            return d.isEmpty() ? Value() : Value(d);
        }
        case FieldType::Blob:
            return Value(Blob{t});
        case FieldType::Text:
            break;
    }
    return Value(t);
}

FieldType comparisonType(const Value& stored, const Word& expected, Date today) {
    switch (stored.type()) {
        case ValueType::Integer:
        case ValueType::Float:
            return FieldType::Float;
        case ValueType::Boolean:
            return FieldType::Boolean;
        case ValueType::Date:
            return FieldType::Date;
        case ValueType::Text:
            if (looksLikeIsoDate(stored.asString()) && !isNullWord(expected)) {
                try {
                    parseScenarioDate(expected.text, today);
                    return FieldType::Date;
                } catch (const std::invalid_argument&) {
                    return FieldType::Text;
                }
            }
            return FieldType::Text;
        default:
            return FieldType::Text;
    }
}

bool sameValue(const Value& actual, const Value& expected) {
    if (actual.isNull() || expected.isNull()) return actual.isNull() == expected.isNull();
    try {
        switch (expected.type()) {
            case ValueType::Float:
            case ValueType::Integer: {
                double a = actual.asFloat(), e = expected.asFloat();
                double scale = std::max({1.0, std::fabs(a), std::fabs(e)});
                return std::fabs(a - e) <= 1e-9 * scale;
            }
            case ValueType::Date:
                return actual.asDate() == expected.asDate();
            case ValueType::Boolean:
                return actual.asBool() == expected.asBool();
            case ValueType::Blob:
                return actual.type() == ValueType::Blob
                           ? actual.asBlob() == expected.asBlob()
                           : actual.asString() == expected.asBlob().bytes;
            default:
                return actual.asString() == expected.asString();
        }
    } catch (const std::invalid_argument&) {
        return false;  // a value of another kind: the user would not read it as equal
    }
}

std::string showValue(const Value& v) {
    if (v.isNull()) return "null";
    try {
        return "\"" + v.asString() + "\"";
    } catch (const std::invalid_argument&) {
        return v.debugString();
    }
}

RowCriteria rowCriteria(ClientDataSet& data, std::string_view criteria, Date today) {
    RowCriteria c;
    for (const auto& [field, text] : parseCriteria(criteria)) {
        Field& f = data.FieldByName(field);
        c.fields += (c.fields.empty() ? "" : ";") + field;
        c.values.push_back(scriptValue(f.DataType(), Word{text, false}, today));
    }
    return c;
}

}  // namespace pag::scenario
