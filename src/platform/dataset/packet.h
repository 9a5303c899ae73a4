#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "platform/dataset/row_layout.h"
#include "platform/value.h"

namespace pag {

struct PacketField {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;
    bool operator==(const PacketField&) const = default;
};

enum class ChangeOp { Insert, Modify, Delete };

// One row of a change log: an insert carries its values, a modify its values and
// the original values read at the last merge, a delete the original values.
struct PacketChange {
    ChangeOp op = ChangeOp::Insert;
    std::string values;    // encoded with the packet's layout; empty for a delete
    std::string original;  // empty for an insert
    bool operator==(const PacketChange&) const = default;
};

// A data packet: the full content of a dataset (fields + rows) or its change log
// (fields + changes). Rows are kept in the compact row encoding, so handing a
// packet to a dataset in process costs no conversion.
struct Packet {
    Packet() = default;
    explicit Packet(std::vector<PacketField> f);

    std::vector<PacketField> fields;
    RowLayout layout;
    std::vector<std::string> rows;
    std::vector<PacketChange> changes;
    bool isDelta = false;

    // Index of a field by name (case-insensitive), or -1.
    int fieldIndex(std::string_view name) const;
    void addRow(const std::vector<Value>& values) { rows.push_back(layout.encode(values)); }
    Value value(size_t row, std::string_view field) const;
    size_t rowCount() const { return rows.size(); }

    bool operator==(const Packet& o) const {
        return fields == o.fields && rows == o.rows && changes == o.changes && isDelta == o.isDelta;
    }
};

using PacketPtr = std::shared_ptr<const Packet>;

// The packet ready to be changed when p is its only holder, else null. Packets are
// always made non-const, so the last holder may change one instead of copying it.
std::shared_ptr<Packet> soleHolder(const PacketPtr& p);

// JSON form used over HTTP and in files:
// {"fields":[{"name","type","size"}], "rows":[[...]], "changes":[{"op","values","original"}]}
// packetToJson writes the readable "rows"; packetFromJson also reads the compact
// "rowdata" the HTTP transport writes (platform/dataset/row_data.h), never both.
nlohmann::json packetToJson(const Packet& p);
Packet packetFromJson(const nlohmann::json& j);  // throws std::invalid_argument

// A single value: null, string, number, boolean, {"date": "YYYY-MM-DD"|null},
// {"blob": base64}, {"packet": PACKET}, or an array for a variant array.
nlohmann::json valueToJson(const Value& v);
Value valueFromJson(const nlohmann::json& j);  // throws std::invalid_argument

bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace pag
