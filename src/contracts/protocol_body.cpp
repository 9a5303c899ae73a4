#include "contracts/protocol_body.h"

#include <vector>

#include "contracts/transport_protocol.h"

namespace pag {

using nlohmann::json;

namespace {

// Builds the document from the parser's events as its own document builder does,
// but takes each string over instead of copying it.
class MovingDocumentBuilder {
public:
    MovingDocumentBuilder(json& root, const std::string& what) : root_(root), what_(what) {}

    bool null() { return place(json(nullptr)); }
    bool boolean(bool b) { return place(json(b)); }
    bool number_integer(json::number_integer_t n) { return place(json(n)); }
    bool number_unsigned(json::number_unsigned_t n) { return place(json(n)); }
    bool number_float(json::number_float_t n, const std::string&) { return place(json(n)); }
    bool string(std::string& s) { return place(json(std::move(s))); }
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
    bool parse_error(std::size_t byte, const std::string&, const Exception&) {
        throw ProtocolError(what_ + ": JSON malformado perto do byte " + std::to_string(byte) +
                            ".");
    }

private:
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
    std::vector<json*> open_;  // the arrays and objects not yet closed, innermost last
    std::string key_;
};

}  // namespace

json parseProtocolBody(std::string_view body, int maxDepth, const std::string& what) {
    if (exceedsJsonDepth(body, maxDepth))
        throw ProtocolError(what + ": aninhamento acima do limite de " + std::to_string(maxDepth) +
                            " níveis.");
    json root;
    MovingDocumentBuilder builder(root, what);
    json::sax_parse(body.data(), body.data() + body.size(), &builder);
    return root;
}

}  // namespace pag
