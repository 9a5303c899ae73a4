#include "platform/value.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "platform/dataset/packet.h"
#include "platform/format.h"

namespace pag {

Value::Value(std::shared_ptr<const Packet> p) : v_(std::move(p)) {
    if (!std::get<std::shared_ptr<const Packet>>(v_)) v_ = std::monostate{};
}

Value::Value(ValueArray a) : v_(std::make_shared<const ValueArray>(std::move(a))) {}

const char* valueTypeName(ValueType t) {
    switch (t) {
        case ValueType::Null:
            return "nulo";
        case ValueType::Text:
            return "texto";
        case ValueType::Float:
            return "número";
        case ValueType::Integer:
            return "inteiro";
        case ValueType::Boolean:
            return "lógico";
        case ValueType::Date:
            return "data";
        case ValueType::Blob:
            return "binário";
        case ValueType::Packet:
            return "pacote de dados";
        case ValueType::Array:
            return "lista de valores";
    }
    return "?";
}

namespace {
[[noreturn]] void badConversion(ValueType from, const char* to) {
    throw std::invalid_argument(std::string("Não é possível converter ") + valueTypeName(from) +
                                " em " + to + ".");
}

std::string numberText(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", d);
        return buf;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    if (std::strtod(buf, nullptr) != d) std::snprintf(buf, sizeof buf, "%.17g", d);
    std::string s = buf;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}
}  // namespace

std::string Value::asString() const {
    switch (type()) {
        case ValueType::Null:
            return {};
        case ValueType::Text:
            return std::get<std::string>(v_);
        case ValueType::Float:
            return numberText(std::get<double>(v_));
        case ValueType::Integer:
            return std::to_string(std::get<int64_t>(v_));
        case ValueType::Boolean:
            return std::get<bool>(v_) ? "True" : "False";
        case ValueType::Date:
            return std::get<Date>(v_).toString();
        case ValueType::Blob:
            return std::get<Blob>(v_).bytes;
        default:
            badConversion(type(), "texto");
    }
}

double Value::asFloat() const {
    switch (type()) {
        case ValueType::Null:
            return 0.0;
        case ValueType::Float:
            return std::get<double>(v_);
        case ValueType::Integer:
            return static_cast<double>(std::get<int64_t>(v_));
        case ValueType::Boolean:
            return std::get<bool>(v_) ? 1.0 : 0.0;
        case ValueType::Date:
            return static_cast<double>(std::get<Date>(v_).serial());
        case ValueType::Text: {
            const std::string& s = std::get<std::string>(v_);
            if (s.find_first_not_of(' ') == std::string::npos) return 0.0;
            if (auto d = parseNumber(s)) return *d;
            throw std::invalid_argument("'" + s + "' não é um número válido.");
        }
        default:
            badConversion(type(), "número");
    }
}

int64_t Value::asInteger() const {
    if (type() == ValueType::Integer) return std::get<int64_t>(v_);
    double d = asFloat();
    return static_cast<int64_t>(std::llround(d));
}

bool Value::asBool() const {
    switch (type()) {
        case ValueType::Null:
            return false;
        case ValueType::Boolean:
            return std::get<bool>(v_);
        case ValueType::Integer:
            return std::get<int64_t>(v_) != 0;
        case ValueType::Float:
            return std::get<double>(v_) != 0.0;
        case ValueType::Text: {
            const std::string& s = std::get<std::string>(v_);
            if (s == "S" || s == "True" || s == "true" || s == "1") return true;
            if (s == "N" || s == "False" || s == "false" || s == "0" || s.empty()) return false;
            throw std::invalid_argument("'" + s + "' não é um valor lógico válido.");
        }
        default:
            badConversion(type(), "lógico");
    }
}

Date Value::asDate() const {
    switch (type()) {
        case ValueType::Null:
            return Date();
        case ValueType::Date:
            return std::get<Date>(v_);
        case ValueType::Integer:
        case ValueType::Float: {
            // A serial day number; one no calendar can hold is refused, not wrapped.
            const double serial = std::floor(asFloat());
            if (!std::isfinite(serial) || serial < -693593.0 || serial > 2958465.0)
                throw std::invalid_argument("'" + asString() + "' não é uma data válida.");
            return Date::fromSerial(static_cast<int32_t>(serial));
        }
        case ValueType::Text: {
            const std::string& s = std::get<std::string>(v_);
            if (s.size() >= 10 && s[4] == '-') return Date::parseIso(s.substr(0, 10));
            return Date::parse(s);
        }
        default:
            badConversion(type(), "data");
    }
}

const Blob& Value::asBlob() const {
    if (type() != ValueType::Blob) badConversion(type(), "binário");
    return std::get<Blob>(v_);
}

std::shared_ptr<const Packet> Value::asPacket() const {
    if (type() != ValueType::Packet) badConversion(type(), "pacote de dados");
    return std::get<std::shared_ptr<const Packet>>(v_);
}

const ValueArray& Value::asArray() const {
    if (type() != ValueType::Array) badConversion(type(), "lista de valores");
    return *std::get<std::shared_ptr<const ValueArray>>(v_);
}

bool Value::operator==(const Value& other) const {
    ValueType a = type(), b = other.type();
    bool aNum = a == ValueType::Float || a == ValueType::Integer;
    bool bNum = b == ValueType::Float || b == ValueType::Integer;
    if (aNum && bNum) {
        if (a == ValueType::Integer && b == ValueType::Integer)
            return std::get<int64_t>(v_) == std::get<int64_t>(other.v_);
        return asFloat() == other.asFloat();
    }
    if (a != b) return false;
    switch (a) {
        case ValueType::Packet:
            return *asPacket() == *other.asPacket();
        case ValueType::Array:
            return asArray() == other.asArray();
        default:
            return v_ == other.v_;
    }
}

std::string Value::debugString() const {
    switch (type()) {
        case ValueType::Null:
            return "null";
        case ValueType::Text:
            return "'" + asString() + "'";
        case ValueType::Packet:
            return "<pacote>";
        case ValueType::Array: {
            std::string s = "[";
            for (const Value& v : asArray())
                s += (s.size() > 1 ? ", " : "") + v.debugString();
            return s + "]";
        }
        default:
            return asString();
    }
}

}  // namespace pag
