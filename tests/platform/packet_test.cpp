// Packets survive JSON exactly: nulls, empty text, dates, doubles. Every kind of value and
// a change log crossing the wire whole is the protocol's round trip, on the same encoder.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "dataset_fixture.h"

namespace pag {
namespace {

TEST(Packet, FullContentRoundTripsExactly) {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{{"T", FieldType::Text, 10},
                                                               {"F", FieldType::Float, 0},
                                                               {"I", FieldType::Integer, 0},
                                                               {"B", FieldType::Boolean, 0},
                                                               {"D", FieldType::Date, 0},
                                                               {"L", FieldType::Blob, 0}});
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

}  // namespace
}  // namespace pag
