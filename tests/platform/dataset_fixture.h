#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dataset/client_dataset.h"

namespace pag::test {

// A small boleto-like dataset: key, supplier, value, due date.
inline std::vector<FieldDef> boletoDefs() {
    std::vector<FieldDef> d(5);
    d[0].name = "NRLANBOLPAG";
    d[0].size = 10;
    d[1].name = "NMFANTFORN";
    d[1].size = 40;
    d[2].name = "VRBOLPAG";
    d[2].type = FieldType::Float;
    d[2].displayFormat = "#,##0.00";
    d[3].name = "DTVENBOLPAG";
    d[3].type = FieldType::Date;
    d[4].name = "IDHABIBPAG";
    d[4].size = 1;
    return d;
}

// One field of every type, in the order text, float, integer, boolean, date, blob.
inline std::vector<PacketField> everyTypeFields() {
    return {{"T", FieldType::Text, 10},   {"F", FieldType::Float, 0}, {"I", FieldType::Integer, 0},
            {"B", FieldType::Boolean, 0}, {"D", FieldType::Date, 0},  {"L", FieldType::Blob, 0}};
}

inline PacketPtr boletoPacket(const std::vector<std::vector<Value>>& rows) {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{{"NRLANBOLPAG", FieldType::Text, 10},
                                                               {"NMFANTFORN", FieldType::Text, 40},
                                                               {"VRBOLPAG", FieldType::Float, 0},
                                                               {"DTVENBOLPAG", FieldType::Date, 0},
                                                               {"IDHABIBPAG", FieldType::Text, 1}});
    for (const auto& r : rows)
        p->addRow(r);
    return p;
}

// Three rows, loaded and merged.
inline void loadThree(ClientDataSet& ds) {
    if (ds.FieldDefs().empty()) ds.SetFieldDefs(boletoDefs());
    ds.SetData(boletoPacket({{"0000000003", "GAMA", 300.0, Date::fromYmd(2026, 12, 10), "N"},
                             {"0000000001", "alfa", 100.5, Date::fromYmd(2026, 12, 8), "S"},
                             {"0000000002", "BETA", 200.0, Date(), "N"}}));
}

// A row edited as a screen does it: Edit, one field, Post.
inline void editAndPost(ClientDataSet& ds, const std::string& field, const Value& v) {
    ds.Edit();
    ds.FieldByName(field).SetValue(v);
    ds.Post();
}

// A row appended with its launch number only.
inline void appendRow(ClientDataSet& ds, const std::string& lancamento) {
    ds.Append();
    ds.FieldByName("NRLANBOLPAG").SetAsString(lancamento);
    ds.Post();
}

// Tests on a dataset named `cds` holding loadThree's rows.
class ThreeRows : public ::testing::Test {
protected:
    ThreeRows() { loadThree(ds); }
    ClientDataSet ds{"cds"};
};

}  // namespace pag::test
