#include "platform/sql/column_types.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/sql/database_error.h"

namespace pag {

namespace {

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool has(const std::string& s, const char* part) {
    return s.find(part) != std::string::npos;
}

[[noreturn]] void refuse(const Value& stored, const char* what, std::string_view column) {
    throw DatabaseError("O valor " + stored.debugString() + " da coluna " + std::string(column) +
                        " não é " + what + ".");
}

// Numbers in the database are written the C way ("1234.5"); the pt-BR reading of
// Value would take "1.234" for a thousand.
double plainNumber(const Value& stored, std::string_view column) {
    const std::string& s = stored.asString();
    size_t b = s.find_first_not_of(' ');
    size_t e = s.find_last_not_of(' ');
    double d = 0;
    if (b == std::string::npos) refuse(stored, "um número", column);
    const char* first = s.data() + b;
    const char* last = s.data() + e + 1;
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, d);
    if (ec != std::errc() || ptr != last || !std::isfinite(d)) refuse(stored, "um número", column);
    return d;
}

std::string plainText(const Value& stored) {
    if (stored.type() != ValueType::Float) return stored.asString();
    // Shortest text that reads back as the same double, as SQLite itself writes it.
    char buf[32];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, stored.asFloat());
    return ec == std::errc() ? std::string(buf, ptr) : stored.asString();
}

// "YYYY-MM-DD", optionally followed by a time part (" 10:30:00" or "T10:30:00").
Value isoDate(const Value& stored, std::string_view column) {
    const char* what = "uma data (AAAA-MM-DD)";
    if (stored.type() != ValueType::Text) refuse(stored, what, column);
    const std::string& s = stored.asString();
    if (s.find_first_not_of(' ') == std::string::npos) return Value();  // the empty date
    if (s.size() < 10 || (s.size() > 10 && s[10] != ' ' && s[10] != 'T'))
        refuse(stored, what, column);
    try {
        return Value(Date::parseIso(std::string_view(s).substr(0, 10)));
    } catch (const std::invalid_argument&) {
        refuse(stored, what, column);
    }
}

}  // namespace

std::optional<FieldType> fieldTypeOfDeclared(std::string_view declared) {
    std::string d = upper(declared);
    if (d.empty()) return std::nullopt;
    if (has(d, "DATE") || has(d, "TIMESTAMP")) return FieldType::Date;
    if (has(d, "BOOL")) return FieldType::Boolean;
    if (has(d, "INT")) return FieldType::Integer;
    if (has(d, "CHAR") || has(d, "TEXT") || has(d, "CLOB")) return FieldType::Text;
    if (has(d, "BLOB") || has(d, "BYTEA")) return FieldType::Blob;
    if (has(d, "REAL") || has(d, "FLOA") || has(d, "DOUB") || has(d, "NUMERIC") ||
        has(d, "DECIMAL") || has(d, "NUMBER") || has(d, "MONEY"))
        return FieldType::Float;
    return std::nullopt;
}

int sizeOfDeclared(std::string_view declared) {
    std::optional<FieldType> t = fieldTypeOfDeclared(declared);
    if (t != FieldType::Text) return 0;
    size_t open = declared.find('(');
    if (open == std::string_view::npos) return 0;
    int n = 0;
    auto [ptr, ec] =
        std::from_chars(declared.data() + open + 1, declared.data() + declared.size(), n);
    return ec == std::errc() && n > 0 ? n : 0;
}

FieldType fieldTypeOfStored(const Value& stored) {
    switch (stored.type()) {
        case ValueType::Integer:
            return FieldType::Integer;
        case ValueType::Float:
            return FieldType::Float;
        case ValueType::Blob:
            return FieldType::Blob;
        default:
            return FieldType::Text;
    }
}

Value convertStored(const Value& stored, FieldType type, std::string_view column) {
    if (stored.isNull()) return Value();
    const bool isText = stored.type() == ValueType::Text;
    switch (type) {
        case FieldType::Text:
            return Value(plainText(stored));
        case FieldType::Blob:
            return Value(Blob{stored.asString()});
        case FieldType::Float:
            if (stored.type() == ValueType::Blob) refuse(stored, "um número", column);
            return Value(isText ? plainNumber(stored, column) : stored.asFloat());
        case FieldType::Integer: {
            if (stored.type() == ValueType::Integer) return stored;
            if (stored.type() == ValueType::Blob) refuse(stored, "um número", column);
            double d = isText ? plainNumber(stored, column) : stored.asFloat();
            if (d != std::floor(d) || std::fabs(d) > 9.0e18) refuse(stored, "um inteiro", column);
            return Value(static_cast<int64_t>(d));
        }
        case FieldType::Boolean:
            if (stored.type() == ValueType::Blob) refuse(stored, "um valor lógico", column);
            try {
                return Value(stored.asBool());
            } catch (const std::invalid_argument&) {
                refuse(stored, "um valor lógico", column);
            }
        case FieldType::Date:
            return isoDate(stored, column);
    }
    return stored;
}

}  // namespace pag
