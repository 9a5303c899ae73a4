#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value.h"

namespace pag {

enum class FieldType { Text, Float, Integer, Boolean, Date, Blob };

const char* fieldTypeName(FieldType t);              // "text", "float", ... (packet encoding)
FieldType fieldTypeFromName(std::string_view name);  // throws std::invalid_argument

// Compact encoding of one row: a null bitmap, one fixed slot per field and the
// text bytes after them, all in one string. A dataset of 100,000 boletos keeps one
// heap block per row instead of one object per cell.
class RowLayout {
public:
    RowLayout() = default;
    explicit RowLayout(std::vector<FieldType> types);

    size_t size() const { return types_.size(); }
    FieldType type(size_t i) const { return types_[i]; }
    const std::vector<FieldType>& types() const { return types_; }

    // A row of nulls.
    std::string blank() const;
    // Values are converted to each field's type (text "12,5" into a float field is
    // 12.5); an impossible conversion throws std::invalid_argument.
    std::string encode(const std::vector<Value>& values) const;
    std::vector<Value> decode(std::string_view row) const;
    Value get(std::string_view row, size_t i) const;
    bool isNull(std::string_view row, size_t i) const;
    std::string_view text(std::string_view row, size_t i) const;  // text and blob fields
    double number(std::string_view row, size_t i) const;          // float and integer
    void set(std::string& row, size_t i, const Value& v) const;
    // True when the bytes can be read with this layout without reading outside them,
    // and are what an encoder writes (a null cell has no bytes): a row that came from
    // outside the process is checked before it is kept.
    bool wellFormed(std::string_view row) const;

    static Value convert(FieldType type, const Value& v);

private:
    friend class RowWriter;
    size_t nullBytes() const { return (types_.size() + 7) / 8; }
    // The slot of a float, integer, boolean or date field, from a converted value.
    void storeFixed(std::string& row, size_t i, const Value& v) const;
    std::vector<FieldType> types_;
    std::vector<uint32_t> slot_;    // byte offset of each field's slot
    std::vector<int32_t> nextVar_;  // next text/blob field after i, or -1
    uint32_t fixedSize_ = 0;        // null bitmap + slots
};

// Builds one row field after field, in field order, with no Value per cell: a loader
// writes what it reads straight into the encoding. Each call writes the next field.
class RowWriter {
public:
    explicit RowWriter(const RowLayout& layout) : layout_(layout) { start(); }
    void start();                         // a new row
    size_t field() const { return at_; }  // the field the next call writes
    FieldType type() const { return layout_.types_[at_]; }
    void null();
    void text(std::string_view bytes);  // a text or blob field
    void floating(double v);            // a float field
    void integer(int64_t v);            // an integer field
    void boolean(bool v);
    void date(int32_t serial);  // a date field (Date::serial)
    // Converted to the field's type, as RowLayout::encode does.
    void value(const Value& v);
    // The row, once every field was written; the writer starts a new one.
    std::string finish();

private:
    template <typename T>
    void fixed(T v);
    const RowLayout& layout_;
    std::string row_;
    size_t at_ = 0;
};

}  // namespace pag
