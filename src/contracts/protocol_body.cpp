#include "contracts/protocol_body.h"

#include <cstring>
#include <iterator>
#include <vector>

#include "contracts/transport_protocol.h"
#include "platform/dataset/row_data.h"

namespace pag {

using nlohmann::json;

namespace {

// The text of one "rowdata" string value in the body: where it starts, its length and
// whether it can be read where it lies (no escapes in it).
struct RowDataSpan {
    size_t start = 0;
    size_t size = 0;
    bool plain = true;
};

struct BodyScan {
    bool tooDeep = false;
    std::vector<RowDataSpan> rowData;  // in the order of the body
};

// Index of the quote that closes the string whose text starts at `from`, or npos.
size_t closingQuote(std::string_view s, size_t from) {
    for (size_t at = from;;) {
        const size_t quote = s.find('"', at);
        if (quote == std::string_view::npos) return quote;
        size_t backslashes = 0;
        while (quote - backslashes > from && s[quote - backslashes - 1] == '\\')
            ++backslashes;
        if (backslashes % 2 == 0) return quote;
        at = quote + 1;
    }
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One pass over the raw text, before any parsing: the nesting depth, so that a hostile
// body cannot exhaust a parser, and the "rowdata" strings, found by their key. A key
// written with escapes could spell "rowdata" unseen here, so then none is taken.
BodyScan scanBody(std::string_view s, int maxDepth) {
    BodyScan scan;
    int depth = 0;
    bool afterRowDataKey = false;
    bool escapedKey = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            const size_t end = closingQuote(s, i + 1);
            if (end == std::string_view::npos) break;
            const std::string_view text = s.substr(i + 1, end - i - 1);
            const bool escaped = text.find('\\') != std::string_view::npos;
            size_t next = end + 1;
            while (next < s.size() && blank(s[next]))
                ++next;
            if (next < s.size() && s[next] == ':') {
                escapedKey = escapedKey || escaped;
                afterRowDataKey = text == "rowdata";
                i = next;
                continue;
            }
            if (afterRowDataKey) scan.rowData.push_back({i + 1, text.size(), !escaped});
            afterRowDataKey = false;
            i = end;
            continue;
        }
        if (blank(c)) continue;
        afterRowDataKey = false;
        if (c == '[' || c == '{') {
            if (++depth > maxDepth) {
                scan.tooDeep = true;
                return scan;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    if (escapedKey) scan.rowData.clear();
    return scan;
}

// The body as the parser reads it: the text of each plain "rowdata" string is passed
// over, so the parser sees an empty string there and never copies the long text.
class SkippingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    SkippingIterator(std::string_view body, size_t at, const std::vector<RowDataSpan>* spans)
        : body_(body), at_(at), spans_(spans) {}
    reference operator*() const { return body_[at_]; }
    SkippingIterator& operator++() {
        ++at_;
        while (next_ < spans_->size() && (*spans_)[next_].start <= at_) {
            const RowDataSpan& span = (*spans_)[next_++];
            if (span.plain && span.start == at_) at_ += span.size;
        }
        return *this;
    }
    SkippingIterator operator++(int) {
        SkippingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const SkippingIterator& o) const { return at_ == o.at_; }
    bool operator!=(const SkippingIterator& o) const { return at_ != o.at_; }

private:
    std::string_view body_;
    size_t at_ = 0;
    const std::vector<RowDataSpan>* spans_ = nullptr;
    size_t next_ = 0;  // first span not yet reached
};

// Builds the document from the parser's events as its own document builder does,
// but takes each string over instead of copying it, and puts a reference to the body
// where a "rowdata" text was passed over.
class MovingDocumentBuilder {
public:
    MovingDocumentBuilder(json& root, const std::string& what, std::string_view body,
                          const std::vector<RowDataSpan>& spans)
        : root_(root), what_(what), body_(body), spans_(spans) {}

    bool null() { return place(json(nullptr)); }
    bool boolean(bool b) { return place(json(b)); }
    bool number_integer(json::number_integer_t n) { return place(json(n)); }
    bool number_unsigned(json::number_unsigned_t n) { return place(json(n)); }
    bool number_float(json::number_float_t n, const std::string&) { return place(json(n)); }
    bool string(std::string& s) {
        // Strings follow the body's order, so the next span is this one.
        if (!open_.empty() && open_.back()->is_object() && key_ == "rowdata" &&
            nextSpan_ < spans_.size()) {
            const RowDataSpan& span = spans_[nextSpan_++];
            if (span.plain) return place(rowDataInBody(body_.substr(span.start, span.size)));
        }
        return place(json(std::move(s)));
    }
    bool binary(json::binary_t& b) { return place(json::binary(std::move(b))); }
    bool key(std::string& k) {
        key_ = std::move(k);
        return true;
    }
    bool start_object(std::size_t) { return open(json::object()); }
    bool start_array(std::size_t) { return open(json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    template <typename Exception>
    bool parse_error(std::size_t read, const std::string&, const Exception&) {
        throw ProtocolError(what_ + ": JSON malformado perto do byte " +
                            std::to_string(bodyOffset(read)) + ".");
    }

private:
    // Where in the body the parser stood after reading `read` characters.
    size_t bodyOffset(size_t read) const {
        size_t passed = 0;
        for (const RowDataSpan& span : spans_)
            if (span.plain && span.start <= read + passed) passed += span.size;
        return read + passed;
    }
    json* add(json v) {
        if (open_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(v));
            return &parent.back();
        }
        // A repeated key keeps its last value, as the library's own parser does.
        json& slot = parent[key_];
        slot = std::move(v);
        return &slot;
    }
    bool place(json v) {
        add(std::move(v));
        return true;
    }
    bool open(json container) {
        open_.push_back(add(std::move(container)));
        return true;
    }
    bool close() {
        open_.pop_back();
        return true;
    }

    json& root_;
    const std::string& what_;
    std::string_view body_;
    const std::vector<RowDataSpan>& spans_;
    size_t nextSpan_ = 0;
    std::vector<json*> open_;  // the arrays and objects not yet closed, innermost last
    std::string key_;
};

}  // namespace

bool exceedsJsonDepth(std::string_view text, int maxDepth) {
    return scanBody(text, maxDepth).tooDeep;
}

json parseProtocolBody(std::string_view body, int maxDepth, const std::string& what) {
    const BodyScan scan = scanBody(body, maxDepth);
    if (scan.tooDeep)
        throw ProtocolError(what + ": aninhamento acima do limite de " + std::to_string(maxDepth) +
                            " níveis.");
    json root;
    MovingDocumentBuilder builder(root, what, body, scan.rowData);
    json::sax_parse(SkippingIterator(body, 0, &scan.rowData),
                    SkippingIterator(body, body.size(), &scan.rowData), &builder);
    return root;
}

}  // namespace pag
