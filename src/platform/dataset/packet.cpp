#include "platform/dataset/packet.h"

#include <cctype>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/dataset/base64.h"
#include "platform/dataset/row_data.h"

namespace pag {

using nlohmann::json;

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

namespace {
std::vector<FieldType> typesOf(const std::vector<PacketField>& f) {
    std::vector<FieldType> t;
    t.reserve(f.size());
    for (const auto& x : f)
        t.push_back(x.type);
    return t;
}

json rowToJson(const RowLayout& layout, const std::string& row) {
    json a = json::array();
    for (size_t i = 0; i < layout.size(); ++i)
        a.push_back(valueToJson(layout.get(row, i)));
    return a;
}

std::string rowFromJson(const RowLayout& layout, const json& a) {
    if (!a.is_array() || a.size() != layout.size())
        throw std::invalid_argument("Linha do pacote com quantidade de valores incorreta.");
    std::vector<Value> vals;
    vals.reserve(a.size());
    for (const auto& v : a)
        vals.push_back(valueFromJson(v));
    return layout.encode(vals);
}
}  // namespace

Packet::Packet(std::vector<PacketField> f) : fields(std::move(f)), layout(typesOf(fields)) {}

int Packet::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (equalsIgnoreCase(fields[i].name, name)) return static_cast<int>(i);
    return -1;
}

Value Packet::value(size_t row, std::string_view field) const {
    int i = fieldIndex(field);
    if (i < 0)
        throw std::invalid_argument("Campo '" + std::string(field) + "' não existe no pacote.");
    return layout.get(rows.at(row), static_cast<size_t>(i));
}

Packet packetFromJsonChecked(const json& j);

json valueToJson(const Value& v) {
    switch (v.type()) {
        case ValueType::Null:
            return nullptr;
        case ValueType::Text:
            return v.asString();
        case ValueType::Float:
            return v.asFloat();
        case ValueType::Integer:
            return v.asInteger();
        case ValueType::Boolean:
            return v.asBool();
        case ValueType::Date: {
            Date d = v.asDate();
            return json{{"date", d.isEmpty() ? json(nullptr) : json(d.toIso())}};
        }
        case ValueType::Blob:
            return json{{"blob", base64Encode(v.asBlob().bytes)}};
        case ValueType::Packet:
            return json{{"packet", packetToJson(*v.asPacket())}};
        case ValueType::Array: {
            json a = json::array();
            for (const Value& x : v.asArray())
                a.push_back(valueToJson(x));
            return a;
        }
    }
    return nullptr;
}

Value valueFromJson(const json& j) {
    switch (j.type()) {
        case json::value_t::null:
            return Value();
        case json::value_t::string:
            return Value(j.get<std::string>());
        case json::value_t::boolean:
            return Value(j.get<bool>());
        case json::value_t::number_integer:
            return Value(j.get<int64_t>());
        case json::value_t::number_unsigned: {
            uint64_t u = j.get<uint64_t>();
            if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
                throw std::invalid_argument("Número inteiro grande demais no pacote: " +
                                            std::to_string(u));
            return Value(static_cast<int64_t>(u));
        }
        case json::value_t::number_float:
            return Value(j.get<double>());
        case json::value_t::array: {
            ValueArray a;
            a.reserve(j.size());
            for (const auto& x : j)
                a.push_back(valueFromJson(x));
            return Value(std::move(a));
        }
        case json::value_t::object: {
            if (j.size() == 1 && j.contains("date")) {
                const json& d = j["date"];
                if (d.is_null()) return Value(Date());
                if (!d.is_string()) break;
                return Value(Date::parseIso(d.get<std::string>()));
            }
            if (j.size() == 1 && j.contains("blob") && j["blob"].is_string())
                return Value(Blob{base64Decode(j["blob"].get<std::string>())});
            if (j.size() == 1 && j.contains("packet"))
                return Value(std::make_shared<Packet>(packetFromJson(j["packet"])));
            break;
        }
        default:
            break;
    }
    throw std::invalid_argument("Valor não reconhecido no pacote: " + j.dump().substr(0, 80));
}

json packetToJson(const Packet& p) {
    json fields = json::array();
    for (const auto& f : p.fields)
        fields.push_back({{"name", f.name}, {"type", fieldTypeName(f.type)}, {"size", f.size}});
    json j{{"fields", fields}};
    if (!p.isDelta) {
        json rows = json::array();
        for (const auto& r : p.rows)
            rows.push_back(rowToJson(p.layout, r));
        j["rows"] = std::move(rows);
    } else {
        json changes = json::array();
        for (const auto& c : p.changes) {
            json o;
            o["op"] = c.op == ChangeOp::Insert   ? "insert"
                      : c.op == ChangeOp::Modify ? "modify"
                                                 : "delete";
            if (c.op != ChangeOp::Delete) o["values"] = rowToJson(p.layout, c.values);
            if (c.op != ChangeOp::Insert) o["original"] = rowToJson(p.layout, c.original);
            changes.push_back(std::move(o));
        }
        j["changes"] = std::move(changes);
    }
    return j;
}

Packet packetFromJson(const json& j) {
    // A part of the wrong JSON kind is as bad as a missing one: one error type for both.
    try {
        return packetFromJsonChecked(j);
    } catch (const json::exception& e) {
        throw std::invalid_argument(std::string("Pacote de dados malformado: ") + e.what());
    }
}

Packet packetFromJsonChecked(const json& j) {
    if (!j.is_object() || !j.contains("fields") || !j["fields"].is_array())
        throw std::invalid_argument("Pacote de dados sem a lista de campos.");
    std::vector<PacketField> fields;
    for (const auto& f : j["fields"]) {
        if (!f.is_object() || !f.contains("name") || !f["name"].is_string())
            throw std::invalid_argument("Campo do pacote sem nome.");
        PacketField pf;
        pf.name = f["name"].get<std::string>();
        pf.type = fieldTypeFromName(f.value("type", std::string("text")));
        pf.size = f.value("size", 0);
        fields.push_back(std::move(pf));
    }
    Packet p(std::move(fields));
    if (j.contains("rows") && j.contains("rowdata"))
        throw std::invalid_argument(
            "Pacote com \"rows\" e \"rowdata\" ao mesmo tempo: as linhas vêm numa forma só.");
    if (j.contains("rows")) {
        if (!j["rows"].is_array()) throw std::invalid_argument("Linhas do pacote inválidas.");
        p.rows.reserve(j["rows"].size());
        for (const auto& r : j["rows"])
            p.rows.push_back(rowFromJson(p.layout, r));
    }
    if (j.contains("rowdata")) {
        const auto text = rowDataText(j["rowdata"]);
        if (!text)
            throw std::invalid_argument(
                "Linhas compactadas do pacote inválidas: \"rowdata\" deve ser texto.");
        // Decoded where the text lies: the text of a long list is not copied.
        p.rows = readRowData(*text, p.layout);
    }
    if (j.contains("changes")) {
        if (!j["changes"].is_array())
            throw std::invalid_argument("Alterações do pacote inválidas.");
        p.isDelta = true;
        for (const auto& c : j["changes"]) {
            std::string op = c.value("op", std::string());
            PacketChange pc;
            if (op == "insert")
                pc.op = ChangeOp::Insert;
            else if (op == "modify")
                pc.op = ChangeOp::Modify;
            else if (op == "delete")
                pc.op = ChangeOp::Delete;
            else
                throw std::invalid_argument("Operação desconhecida no pacote: '" + op + "'.");
            if (pc.op != ChangeOp::Delete) pc.values = rowFromJson(p.layout, c.at("values"));
            if (pc.op != ChangeOp::Insert) pc.original = rowFromJson(p.layout, c.at("original"));
            p.changes.push_back(std::move(pc));
        }
    }
    return p;
}

std::shared_ptr<Packet> soleHolder(const PacketPtr& p) {
    return p.use_count() == 1 ? std::const_pointer_cast<Packet>(p) : nullptr;
}

}  // namespace pag
