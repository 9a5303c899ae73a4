#pragma once

// Change logs of cdsBoletos as a screen sends them: rows of the list as it read them,
// with the fields the user changed (marks, payment data).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/dataset/packet.h"
#include "server/dataset_fields.h"
#include "server/packet_builder.h"

namespace pag::server::testing {

using Fields = std::map<std::string, Value>;

// Where a field stands in a row of the boleto list.
inline size_t boletoFieldIndex(const std::string& field) {
    static const Packet shape(boletoFields());
    const int i = shape.fieldIndex(field);
    EXPECT_GE(i, 0) << field;
    return static_cast<size_t>(i);
}

// The row of the boleto in a list the screen loaded; empty, with a failure, when the
// list does not hold it. Launch numbers repeat across branches.
inline std::vector<Value> listedRow(const Packet& list, const std::string& lancamento,
                                    const std::string& filial = "0001") {
    for (size_t r = 0; r < list.rowCount(); ++r)
        if (list.value(r, "NRLANBOLPAG").asString() == lancamento &&
            list.value(r, "CDFILIAL").asString() == filial)
            return list.layout.decode(list.rows[r]);
    ADD_FAILURE() << "boleto " << filial << "/" << lancamento << " não listado";
    return {};
}

// A modified row: the boleto as read, with `changes` applied.
inline PacketChange modifiedRow(const std::vector<Value>& original, const Fields& changes) {
    std::vector<Value> now = original;
    for (const auto& [f, v] : changes)
        now.at(boletoFieldIndex(f)) = v;
    const RowLayout layout = Packet(boletoFields()).layout;
    return {ChangeOp::Modify, layout.encode(now), layout.encode(original)};
}

// One change of a change log: the row now (empty for a delete) and as read (empty for an
// insert).
struct RowChange {
    ChangeOp op;
    std::vector<Value> values, original;
};

inline RowChange inserted(std::vector<Value> row) {
    return {ChangeOp::Insert, std::move(row), {}};
}
inline RowChange modified(std::vector<Value> now, std::vector<Value> before) {
    return {ChangeOp::Modify, std::move(now), std::move(before)};
}
inline RowChange deleted(std::vector<Value> row) {
    return {ChangeOp::Delete, {}, std::move(row)};
}

// The change log of a dataset with `fields` holding `changes`.
inline Value changeLog(const std::vector<PacketField>& fields,
                       const std::vector<RowChange>& changes) {
    Packet p(fields);
    p.isDelta = true;
    for (const auto& [op, values, original] : changes)
        p.changes.push_back({op, values.empty() ? "" : p.layout.encode(values),
                             original.empty() ? "" : p.layout.encode(original)});
    return packetValue(std::move(p));
}

// The change log holding `changes`, as SetBoletos and SetAgrupaBoleto receive it.
inline Value boletoChangeLog(std::vector<PacketChange> changes) {
    Packet p(boletoFields());
    p.isDelta = true;
    p.changes = std::move(changes);
    return packetValue(std::move(p));
}

}  // namespace pag::server::testing
