#include "platform/dataset/row_layout.h"

#include <cstring>
#include <stdexcept>

namespace pag {

const char* fieldTypeName(FieldType t) {
    switch (t) {
        case FieldType::Text:
            return "text";
        case FieldType::Float:
            return "float";
        case FieldType::Integer:
            return "integer";
        case FieldType::Boolean:
            return "boolean";
        case FieldType::Date:
            return "date";
        case FieldType::Blob:
            return "blob";
    }
    return "text";
}

FieldType fieldTypeFromName(std::string_view n) {
    if (n == "text") return FieldType::Text;
    if (n == "float") return FieldType::Float;
    if (n == "integer") return FieldType::Integer;
    if (n == "boolean") return FieldType::Boolean;
    if (n == "date") return FieldType::Date;
    if (n == "blob") return FieldType::Blob;
    throw std::invalid_argument("Tipo de campo desconhecido: '" + std::string(n) + "'.");
}

namespace {
uint32_t slotSize(FieldType t) {
    switch (t) {
        case FieldType::Float:
        case FieldType::Integer:
            return 8;
        case FieldType::Boolean:
            return 1;
        case FieldType::Date:
        case FieldType::Text:
        case FieldType::Blob:
            return 4;
    }
    return 4;
}
bool isVar(FieldType t) {
    return t == FieldType::Text || t == FieldType::Blob;
}

template <typename T>
T load(std::string_view row, uint32_t at) {
    T v;
    std::memcpy(&v, row.data() + at, sizeof v);
    return v;
}
template <typename T>
void store(std::string& row, uint32_t at, T v) {
    std::memcpy(row.data() + at, &v, sizeof v);
}
}  // namespace

RowLayout::RowLayout(std::vector<FieldType> types) : types_(std::move(types)) {
    uint32_t at = static_cast<uint32_t>(nullBytes());
    slot_.resize(types_.size());
    nextVar_.assign(types_.size(), -1);
    for (size_t i = 0; i < types_.size(); ++i) {
        slot_[i] = at;
        at += slotSize(types_[i]);
    }
    fixedSize_ = at;
    int32_t next = -1;
    for (size_t i = types_.size(); i-- > 0;) {
        nextVar_[i] = next;
        if (isVar(types_[i])) next = static_cast<int32_t>(i);
    }
}

std::string RowLayout::blank() const {
    std::string row(fixedSize_, '\0');
    for (size_t i = 0; i < types_.size(); ++i) {
        row[i / 8] = static_cast<char>(row[i / 8] | (1 << (i % 8)));
        if (isVar(types_[i])) store<uint32_t>(row, slot_[i], fixedSize_);
    }
    return row;
}

Value RowLayout::convert(FieldType type, const Value& v) {
    if (v.isNull()) return v;
    switch (type) {
        case FieldType::Text:
            return v.type() == ValueType::Text ? v : Value(v.asString());
        case FieldType::Float:
            return v.type() == ValueType::Float ? v : Value(v.asFloat());
        case FieldType::Integer:
            return v.type() == ValueType::Integer ? v : Value(v.asInteger());
        case FieldType::Boolean:
            return v.type() == ValueType::Boolean ? v : Value(v.asBool());
        case FieldType::Date: {
            if (v.type() == ValueType::Date) return v.asDate().isEmpty() ? Value() : v;
            if (v.type() == ValueType::Text &&
                v.asString().find_first_not_of(" /") == std::string::npos)
                return Value();
            Date d = v.asDate();
            return d.isEmpty() ? Value() : Value(d);
        }
        case FieldType::Blob:
            return v.type() == ValueType::Blob ? v : Value(Blob{v.asString()});
    }
    return v;
}

std::string RowLayout::encode(const std::vector<Value>& values) const {
    if (values.size() != types_.size())
        throw std::invalid_argument("Quantidade de valores diferente da de campos.");
    RowWriter w(*this);
    for (const Value& v : values)
        w.value(v);
    return w.finish();
}

void RowWriter::start() {
    row_.assign(layout_.fixedSize_, '\0');
    at_ = 0;
}

void RowWriter::null() {
    row_[at_ / 8] = static_cast<char>(row_[at_ / 8] | (1 << (at_ % 8)));
    if (isVar(layout_.types_[at_]))
        store<uint32_t>(row_, layout_.slot_[at_], static_cast<uint32_t>(row_.size()));
    ++at_;
}

void RowWriter::text(std::string_view bytes) {
    store<uint32_t>(row_, layout_.slot_[at_], static_cast<uint32_t>(row_.size()));
    row_ += bytes;
    ++at_;
}

template <typename T>
void RowWriter::fixed(T v) {
    store<T>(row_, layout_.slot_[at_], v);
    ++at_;
}

void RowWriter::floating(double v) {
    fixed(v);
}
void RowWriter::integer(int64_t v) {
    fixed(v);
}
void RowWriter::boolean(bool v) {
    fixed(static_cast<char>(v ? 1 : 0));
}
void RowWriter::date(int32_t serial) {
    fixed(serial);
}

void RowWriter::value(const Value& value) {
    const FieldType type = layout_.types_[at_];
    if (const std::string* s = value.ifText(); s && type == FieldType::Text) return text(*s);
    const Value v = RowLayout::convert(type, value);
    if (v.isNull()) return null();
    if (type == FieldType::Text) return text(v.asString());
    if (type == FieldType::Blob) return text(v.asBlob().bytes);
    layout_.storeFixed(row_, at_++, v);
}

std::string RowWriter::finish() {
    if (at_ != layout_.types_.size()) throw std::logic_error("Linha com campos por escrever.");
    std::string row = std::move(row_);
    start();
    return row;
}

bool RowLayout::isNull(std::string_view row, size_t i) const {
    return (static_cast<unsigned char>(row[i / 8]) >> (i % 8)) & 1;
}

std::string_view RowLayout::text(std::string_view row, size_t i) const {
    uint32_t start = load<uint32_t>(row, slot_[i]);
    uint32_t end = nextVar_[i] < 0 ? static_cast<uint32_t>(row.size())
                                   : load<uint32_t>(row, slot_[static_cast<size_t>(nextVar_[i])]);
    return row.substr(start, end - start);
}

double RowLayout::number(std::string_view row, size_t i) const {
    if (isNull(row, i)) return 0.0;
    switch (types_[i]) {
        case FieldType::Float:
            return load<double>(row, slot_[i]);
        case FieldType::Integer:
            return static_cast<double>(load<int64_t>(row, slot_[i]));
        case FieldType::Date:
            return load<int32_t>(row, slot_[i]);
        case FieldType::Boolean:
            return row[slot_[i]] ? 1.0 : 0.0;
        default:
            return get(row, i).asFloat();
    }
}

Value RowLayout::get(std::string_view row, size_t i) const {
    if (isNull(row, i)) return Value();
    switch (types_[i]) {
        case FieldType::Text:
            return Value(std::string(text(row, i)));
        case FieldType::Blob:
            return Value(Blob{std::string(text(row, i))});
        case FieldType::Float:
            return Value(load<double>(row, slot_[i]));
        case FieldType::Integer:
            return Value(load<int64_t>(row, slot_[i]));
        case FieldType::Boolean:
            return Value(row[slot_[i]] != 0);
        case FieldType::Date:
            return Value(Date::fromSerial(load<int32_t>(row, slot_[i])));
    }
    return Value();
}

std::vector<Value> RowLayout::decode(std::string_view row) const {
    std::vector<Value> out;
    out.reserve(types_.size());
    for (size_t i = 0; i < types_.size(); ++i)
        out.push_back(get(row, i));
    return out;
}

void RowLayout::storeFixed(std::string& row, size_t i, const Value& v) const {
    switch (types_[i]) {
        case FieldType::Float:
            store<double>(row, slot_[i], v.asFloat());
            break;
        case FieldType::Integer:
            store<int64_t>(row, slot_[i], v.asInteger());
            break;
        case FieldType::Boolean:
            row[slot_[i]] = v.asBool() ? 1 : 0;
            break;
        case FieldType::Date:
            store<int32_t>(row, slot_[i], v.asDate().serial());
            break;
        default:
            break;
    }
}

void RowLayout::set(std::string& row, size_t i, const Value& v) const {
    const Value c = convert(types_[i], v);
    const char mask = static_cast<char>(1 << (i % 8));
    row[i / 8] = static_cast<char>(c.isNull() ? (row[i / 8] | mask) : (row[i / 8] & ~mask));
    if (!isVar(types_[i])) {
        // A null keeps a zero slot, as the encoder writes it: equal rows are equal bytes.
        if (c.isNull()) {
            std::memset(row.data() + slot_[i], 0, slotSize(types_[i]));
            return;
        }
        storeFixed(row, i, c);
        return;
    }
    // Only this field's bytes are replaced; the text fields after it move by the
    // difference, so setting one cell costs its own size, not the row's.
    const uint32_t start = load<uint32_t>(row, slot_[i]);
    const uint32_t end = nextVar_[i] < 0
                             ? static_cast<uint32_t>(row.size())
                             : load<uint32_t>(row, slot_[static_cast<size_t>(nextVar_[i])]);
    const std::string bytes = c.isNull()                     ? std::string()
                              : types_[i] == FieldType::Blob ? c.asBlob().bytes
                                                             : c.asString();
    row.replace(start, end - start, bytes);
    const int64_t shift = static_cast<int64_t>(bytes.size()) - static_cast<int64_t>(end - start);
    if (shift == 0) return;
    for (int32_t j = nextVar_[i]; j >= 0; j = nextVar_[static_cast<size_t>(j)]) {
        const uint32_t at = slot_[static_cast<size_t>(j)];
        store<uint32_t>(row, at, static_cast<uint32_t>(load<uint32_t>(row, at) + shift));
    }
}

bool RowLayout::wellFormed(std::string_view row) const {
    if (row.size() < fixedSize_ || row.size() > UINT32_MAX) return false;
    uint32_t previous = fixedSize_;
    for (size_t i = 0; i < types_.size(); ++i) {
        if (!isVar(types_[i])) {
            // A null keeps a zero slot, as every encoder writes it.
            if (isNull(row, i)) {
                for (uint32_t k = 0; k < slotSize(types_[i]); ++k)
                    if (row[slot_[i] + k] != '\0') return false;
            } else if (types_[i] == FieldType::Boolean &&
                       static_cast<unsigned char>(row[slot_[i]]) > 1) {
                return false;
            }
            continue;
        }
        const uint32_t at = load<uint32_t>(row, slot_[i]);
        if (at < previous || at > row.size()) return false;
        previous = at;
    }
    // A null text or blob has no bytes; checked once every offset is known to be in order.
    for (size_t i = 0; i < types_.size(); ++i)
        if (isVar(types_[i]) && isNull(row, i) && !text(row, i).empty()) return false;
    // Bits past the last field are never set by an encoder.
    for (size_t i = types_.size(); i < nullBytes() * 8; ++i)
        if (isNull(row, i)) return false;
    return true;
}

}  // namespace pag
