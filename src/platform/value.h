#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/date.h"

namespace pag {

struct Packet;
class Value;

enum class ValueType { Null, Text, Float, Integer, Boolean, Date, Blob, Packet, Array };

// Binary content (a logo, a file): kept apart from text so that packets and the
// database never mistake one for the other.
struct Blob {
    std::string bytes;
    bool operator==(const Blob&) const = default;
};

using ValueArray = std::vector<Value>;

// One value as it travels between screen, datasets, server and database: the
// variant of the server contract.
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(double d) : v_(d) {}
    Value(int i) : v_(static_cast<int64_t>(i)) {}
    Value(int64_t i) : v_(i) {}
    Value(bool b) : v_(b) {}
    Value(Date d) : v_(d) {}
    Value(Blob b) : v_(std::move(b)) {}
    Value(std::shared_ptr<const Packet> p);
    Value(ValueArray a);

    ValueType type() const { return static_cast<ValueType>(v_.index()); }
    bool isNull() const { return v_.index() == 0; }

    // Conversions follow what a user of the screen would expect: null reads as
    // empty text, 0, false or the empty date; text holding a pt-BR or plain number
    // converts to a number. An impossible conversion throws std::invalid_argument.
    std::string asString() const;
    double asFloat() const;
    int64_t asInteger() const;
    bool asBool() const;
    Date asDate() const;
    const Blob& asBlob() const;
    // The text itself, without a copy, when the value is text; null otherwise.
    const std::string* ifText() const { return std::get_if<std::string>(&v_); }
    std::shared_ptr<const Packet> asPacket() const;
    // The packet's pointer itself, without a copy (its holders counted as they are),
    // when the value is a packet; null otherwise.
    const std::shared_ptr<const Packet>* ifPacket() const {
        return std::get_if<std::shared_ptr<const Packet>>(&v_);
    }
    const ValueArray& asArray() const;

    // Same kind and same content; null equals null. A float and an integer of the
    // same number are equal.
    bool operator==(const Value& other) const;

    std::string debugString() const;

private:
    std::variant<std::monostate, std::string, double, int64_t, bool, Date, Blob,
                 std::shared_ptr<const Packet>, std::shared_ptr<const ValueArray>>
        v_;
};

const char* valueTypeName(ValueType t);

}  // namespace pag
