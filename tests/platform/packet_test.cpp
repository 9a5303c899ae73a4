// Packets survive JSON exactly: nulls, empty text, dates, doubles, change logs.
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
    p->addRow({"", 0.1, int64_t{-7}, true, Date::fromYmd(2024, 2, 29), Blob{std::string("\0\xff", 2)}});
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

TEST(Packet, ChangeLogRoundTrips) {
    ClientDataSet ds("cds");
    test::loadThree(ds);
    ds.Edit();
    ds.FieldByName("VRBOLPAG").SetAsFloat(2.675);
    ds.Post();
    ds.Next();
    ds.Delete();
    ds.Append();
    ds.FieldByName("NRLANBOLPAG").SetAsString("0000000005");
    ds.Post();
    auto delta = ds.Delta();
    nlohmann::json j = packetToJson(*delta);
    EXPECT_EQ(j["changes"].size(), 3u);
    EXPECT_EQ(j["changes"][0]["op"], "modify");
    Packet back = packetFromJson(nlohmann::json::parse(j.dump()));
    EXPECT_EQ(back, *delta);
}

TEST(Packet, BadJsonIsRefusedWithAClearMessage) {
    using nlohmann::json;
    EXPECT_THROW(packetFromJson(json::parse(R"({"rows": []})")), std::invalid_argument);
    EXPECT_THROW(packetFromJson(json::parse(R"({"fields":[{"name":"A","type":"xyz"}]})")),
                 std::invalid_argument);
    EXPECT_THROW(packetFromJson(json::parse(R"({"fields":[{"name":"A"}],"rows":[[1,2]]})")),
                 std::invalid_argument);
    EXPECT_THROW(packetFromJson(json::parse(
                     R"({"fields":[{"name":"D","type":"date"}],"rows":[[{"date":"2026-02-30"}]]})")),
                 std::invalid_argument);
    EXPECT_THROW(valueFromJson(json::parse(R"({"what": 1})")), std::invalid_argument);
}

TEST(Packet, ValuesOfEveryKindRoundTrip) {
    auto inner = std::make_shared<Packet>(std::vector<PacketField>{{"A", FieldType::Text, 1}});
    inner->addRow({"S"});
    Value arr(ValueArray{Value(), Value("x"), Value(3.5), Value(int64_t{4}), Value(true),
                         Value(Date::fromYmd(2026, 12, 6)), Value(Date()), Value(Blob{"ab"}),
                         Value(PacketPtr(inner)), Value(ValueArray{Value(1)})});
    Value back = valueFromJson(nlohmann::json::parse(valueToJson(arr).dump()));
    EXPECT_EQ(back, arr);
}

}  // namespace
}  // namespace pag
