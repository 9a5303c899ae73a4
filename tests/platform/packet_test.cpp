// Packets survive JSON exactly: nulls, empty text, dates, doubles. Every kind of value and
// a change log crossing the wire whole is the protocol's round trip, on the same encoder.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "dataset_fixture.h"

namespace pag {
namespace {

TEST(Packet, FullContentRoundTripsExactly) {
    auto p = std::make_shared<Packet>(test::everyTypeFields());
    p->addRow(
        {"", 0.1, int64_t{-7}, true, Date::fromYmd(2024, 2, 29), Blob{std::string("\0\xff", 2)}});
    p->addRow({Value(), 1e-300, Value(), false, Value(), Value()});
    p->addRow({"ção 'x'", 1234567.89, int64_t{1} << 40, Value(), Date::fromYmd(1, 1, 1), Blob{}});
    std::string text = packetToJson(*p).dump();
    Packet back = packetFromJson(nlohmann::json::parse(text));
    EXPECT_EQ(back, *p);
    EXPECT_TRUE(back.layout.get(back.rows[0], 0).asString().empty());
    EXPECT_FALSE(back.layout.get(back.rows[0], 0).isNull());  // empty text is not null
    EXPECT_TRUE(back.layout.get(back.rows[1], 0).isNull());
    EXPECT_EQ(back.layout.get(back.rows[0], 1).asFloat(), 0.1);
}

TEST(Packet, BadJsonIsRefusedWithAClearMessage) {
    using nlohmann::json;
    EXPECT_THROW(packetFromJson(json::parse(R"({"rows": []})")), std::invalid_argument);
    EXPECT_THROW(packetFromJson(json::parse(R"({"fields":[{"name":"A","type":"xyz"}]})")),
                 std::invalid_argument);
    EXPECT_THROW(packetFromJson(json::parse(R"({"fields":[{"name":"A"}],"rows":[[1,2]]})")),
                 std::invalid_argument);
    EXPECT_THROW(
        packetFromJson(json::parse(
            R"({"fields":[{"name":"D","type":"date"}],"rows":[[{"date":"2026-02-30"}]]})")),
        std::invalid_argument);
    EXPECT_THROW(valueFromJson(json::parse(R"({"what": 1})")), std::invalid_argument);
}

// Setting one cell keeps every other cell, whatever lies between the text fields.
TEST(RowLayout, SetReplacesOneCellAndKeepsTheOthers) {
    const RowLayout layout(
        {FieldType::Text, FieldType::Float, FieldType::Text, FieldType::Date, FieldType::Blob});
    const std::vector<Value> start{"abc", 1.5, Value(), Date::fromYmd(2026, 12, 7),
                                   Blob{std::string("\0z", 2)}};
    std::string row = layout.encode(start);
    std::vector<Value> expected = start;
    const std::pair<size_t, Value> steps[] = {{0, Value("longer text")},
                                              {2, Value("x")},
                                              {0, Value()},
                                              {1, Value("2,25")},
                                              {3, Value()},
                                              {2, Value("")},
                                              {4, Value()},
                                              {0, Value("ç")}};
    for (const auto& [field, value] : steps) {
        layout.set(row, field, value);
        expected[field] = RowLayout::convert(layout.type(field), value);
        EXPECT_EQ(layout.decode(row), expected) << "campo " << field;
        EXPECT_EQ(row, layout.encode(expected)) << "campo " << field;
        EXPECT_TRUE(layout.wellFormed(row));
    }
    EXPECT_THROW(layout.set(row, 1, Value("abc")), std::invalid_argument);
}

TEST(RowLayout, RowsFromOutsideAreCheckedBeforeUse) {
    const RowLayout layout({FieldType::Text, FieldType::Boolean, FieldType::Text});
    const std::string good = layout.encode({"ab", true, "cd"});
    EXPECT_TRUE(layout.wellFormed(good));
    EXPECT_TRUE(layout.wellFormed(layout.blank()));
    EXPECT_FALSE(layout.wellFormed(good.substr(0, 4)));  // shorter than its slots
    std::string past = good;
    past[1] = static_cast<char>(100);  // first text starts past the end
    EXPECT_FALSE(layout.wellFormed(past));
    std::string backwards = good;
    std::swap(backwards[1], backwards[6]);  // second text starts before the first
    EXPECT_FALSE(layout.wellFormed(backwards));
    std::string boolean = good;
    boolean[5] = 7;
    EXPECT_FALSE(layout.wellFormed(boolean));
    std::string spare = good;
    spare[0] = static_cast<char>(spare[0] | 0x80);  // a null bit past the last field
    EXPECT_FALSE(layout.wellFormed(spare));
}

}  // namespace
}  // namespace pag
