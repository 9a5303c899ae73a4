#include "platform/dataset/json_writer.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "platform/dataset/base64.h"
#include "platform/dataset/packet.h"
#include "platform/dataset/row_data.h"
#include "platform/dataset/utf8.h"

namespace pag {

namespace {

void appendNumber(std::string& out, double d) {
    // NaN and infinity have no JSON form.
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, d).ptr;
    out.append(text, end);
    // A whole float keeps a fraction so that it reads back as a float.
    if (std::string_view(text, static_cast<size_t>(end - text)).find_first_of(".e") ==
        std::string_view::npos)
        out += ".0";
}

void appendInteger(std::string& out, int64_t i) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, i).ptr;
    out.append(text, end);
}

void appendDate(std::string& out, Date d) {
    out += "{\"date\":";
    if (d.isEmpty()) {
        out += "null}";
        return;
    }
    out += '"';
    out += d.toIso();
    out += "\"}";
}

// The text cells of one row; blobs are bytes and need no check.
void requireUtf8Cells(const RowLayout& layout, std::string_view row) {
    for (size_t i = 0; i < layout.size(); ++i)
        if (layout.type(i) == FieldType::Text && !layout.isNull(row, i))
            requireUtf8(layout.text(row, i));
}

const char* changeName(ChangeOp op) {
    return op == ChangeOp::Insert ? "insert" : op == ChangeOp::Modify ? "modify" : "delete";
}

}  // namespace

JsonWriter::JsonWriter(Sink sink, size_t chunk) : sink_(std::move(sink)), chunk_(chunk) {
    buffer_.reserve(chunk_ + chunk_ / 4);
}

void JsonWriter::spill() {
    if (sink_ && buffer_.size() >= chunk_) flush();
}

void JsonWriter::flush() {
    if (!sink_ || buffer_.empty()) return;
    sink_(buffer_);
    buffer_.clear();
}

JsonWriter& JsonWriter::raw(std::string_view text) {
    buffer_ += text;
    spill();
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    buffer_ += '"';
    size_t plain = 0;  // start of the run of bytes copied as they are
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            const size_t n = utf8Length(s, i);
            if (n == 0) notUtf8();
            i += n;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        buffer_.append(s.data() + plain, i - plain);
        switch (c) {
            case '"':
                buffer_ += "\\\"";
                break;
            case '\\':
                buffer_ += "\\\\";
                break;
            case '\b':
                buffer_ += "\\b";
                break;
            case '\f':
                buffer_ += "\\f";
                break;
            case '\n':
                buffer_ += "\\n";
                break;
            case '\r':
                buffer_ += "\\r";
                break;
            case '\t':
                buffer_ += "\\t";
                break;
            default:
                buffer_ += "\\u00";
                buffer_ += hex[c >> 4];
                buffer_ += hex[c & 15];
        }
        plain = ++i;
    }
    buffer_.append(s.data() + plain, s.size() - plain);
    buffer_ += '"';
    return *this;
}

JsonWriter& JsonWriter::value(const Value& v) {
    switch (v.type()) {
        case ValueType::Null:
            buffer_ += "null";
            break;
        case ValueType::Text:
            string(v.asString());
            break;
        case ValueType::Float:
            appendNumber(buffer_, v.asFloat());
            break;
        case ValueType::Integer:
            appendInteger(buffer_, v.asInteger());
            break;
        case ValueType::Boolean:
            buffer_ += v.asBool() ? "true" : "false";
            break;
        case ValueType::Date:
            appendDate(buffer_, v.asDate());
            break;
        case ValueType::Blob:
            buffer_ += "{\"blob\":\"";
            buffer_ += base64Encode(v.asBlob().bytes);
            buffer_ += "\"}";
            break;
        case ValueType::Packet:
            buffer_ += "{\"packet\":";
            packet(*v.asPacket());
            buffer_ += '}';
            break;
        case ValueType::Array: {
            buffer_ += '[';
            bool first = true;
            for (const Value& x : v.asArray()) {
                if (!first) buffer_ += ',';
                first = false;
                value(x);
            }
            buffer_ += ']';
            break;
        }
    }
    spill();
    return *this;
}

void JsonWriter::packet(const Packet& p) {
    buffer_ += "{\"fields\":[";
    for (size_t i = 0; i < p.fields.size(); ++i) {
        buffer_ += i ? ",{\"name\":" : "{\"name\":";
        string(p.fields[i].name);
        buffer_ += ",\"size\":";
        appendInteger(buffer_, p.fields[i].size);
        buffer_ += ",\"type\":\"";
        buffer_ += fieldTypeName(p.fields[i].type);
        buffer_ += "\"}";
    }
    if (!p.isDelta && compactRows_) {
        rowData(p);
        buffer_ += '}';
        return;
    }
    if (!p.isDelta) {
        buffer_ += "],\"rows\":[";
        for (size_t r = 0; r < p.rows.size(); ++r) {
            if (r) buffer_ += ',';
            row(p, p.rows[r]);
            spill();
        }
    } else {
        buffer_ += "],\"changes\":[";
        for (size_t c = 0; c < p.changes.size(); ++c) {
            const PacketChange& change = p.changes[c];
            buffer_ += c ? ",{\"op\":\"" : "{\"op\":\"";
            buffer_ += changeName(change.op);
            buffer_ += '"';
            if (change.op != ChangeOp::Insert) {
                buffer_ += ",\"original\":";
                row(p, change.original);
            }
            if (change.op != ChangeOp::Delete) {
                buffer_ += ",\"values\":";
                row(p, change.values);
            }
            buffer_ += '}';
            spill();
        }
    }
    buffer_ += "]}";
}

void JsonWriter::rowData(const Packet& p) {
    buffer_ += "],\"rowdata\":\"";
    Base64Encoder encoder;
    for (const std::string& r : p.rows) {
        // Not escaped on the way out, so checked here as string() checks the arrays' text.
        requireUtf8Cells(p.layout, r);
        appendRowData(encoder, r, buffer_);
        spill();
    }
    encoder.finish(buffer_);
    buffer_ += '"';
}

void JsonWriter::row(const Packet& p, std::string_view encoded) {
    const RowLayout& layout = p.layout;
    buffer_ += '[';
    for (size_t i = 0; i < layout.size(); ++i) {
        if (i) buffer_ += ',';
        if (layout.isNull(encoded, i)) {
            buffer_ += "null";
        } else if (layout.type(i) == FieldType::Text) {
            // Read in place: a text cell costs no copy on its way out.
            string(layout.text(encoded, i));
        } else {
            value(layout.get(encoded, i));
        }
    }
    buffer_ += ']';
}

void JsonWriter::checkUtf8(const Value& v) {
    switch (v.type()) {
        case ValueType::Text:
            requireUtf8(v.asString());
            break;
        case ValueType::Array:
            for (const Value& x : v.asArray())
                checkUtf8(x);
            break;
        case ValueType::Packet: {
            const Packet& p = *v.asPacket();
            for (const PacketField& f : p.fields)
                requireUtf8(f.name);
            for (const std::string& r : p.rows)
                requireUtf8Cells(p.layout, r);
            for (const PacketChange& c : p.changes) {
                if (c.op != ChangeOp::Insert) requireUtf8Cells(p.layout, c.original);
                if (c.op != ChangeOp::Delete) requireUtf8Cells(p.layout, c.values);
            }
            break;
        }
        default:
            break;
    }
}

std::string valueJsonText(const Value& v) {
    JsonWriter w;
    w.value(v);
    return w.text();
}

}  // namespace pag
