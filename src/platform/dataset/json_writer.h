#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/value.h"

namespace pag {

// Writes values in their JSON form (the same as valueToJson, compact) straight from
// the packet's row encoding, without building a JSON document first: a list of
// 60,000 boletos costs its bytes, not a tree of a few million nodes. The text is
// handed to the sink in pieces of about `chunk` bytes, so an answer can go to a
// socket or a file row by row; without a sink everything stays in text().
//
// Text that is not valid UTF-8 has no JSON form: value() then throws
// std::invalid_argument (pt-BR). checkUtf8() finds it before anything is written.
class JsonWriter {
public:
    using Sink = std::function<void(std::string_view)>;

    JsonWriter() = default;
    explicit JsonWriter(Sink sink, size_t chunk = 64 * 1024);

    // With compact rows on, a full packet's rows are written as "rowdata" (one base64
    // text of their row encoding, platform/dataset/row_data.h) instead of "rows"
    // arrays: the HTTP transport's form. Off by default, so files and printed output
    // stay readable. Rows still go to the sink one after the other.
    JsonWriter& compactRows(bool on = true) {
        compactRows_ = on;
        return *this;
    }

    JsonWriter& raw(std::string_view text);
    JsonWriter& string(std::string_view text);
    JsonWriter& value(const Value& v);
    // Hands what is left to the sink.
    void flush();
    const std::string& text() const { return buffer_; }

    // Throws std::invalid_argument when some text in v (also inside packets and
    // lists) is not valid UTF-8.
    static void checkUtf8(const Value& v);

private:
    void packet(const Packet& p);
    void row(const Packet& p, std::string_view encoded);
    void rowData(const Packet& p);
    void spill();

    Sink sink_;
    size_t chunk_ = 0;
    bool compactRows_ = false;
    std::string buffer_;
};

// The whole JSON text of one value.
std::string valueJsonText(const Value& v);

}  // namespace pag
