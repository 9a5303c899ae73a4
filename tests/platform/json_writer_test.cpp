// The streamed JSON of values: the same document as the tree form, whatever the pieces.
#include "platform/dataset/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "platform/dataset/packet.h"

namespace pag {
namespace {

PacketPtr boletos(int rows) {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{{"NMFORN", FieldType::Text, 40},
                                                               {"VRFINAL", FieldType::Float, 0},
                                                               {"NRSEQ", FieldType::Integer, 0},
                                                               {"IDHAB", FieldType::Boolean, 0},
                                                               {"DTVENC", FieldType::Date, 0},
                                                               {"IMDOC", FieldType::Blob, 0}});
    for (int i = 0; i < rows; ++i)
        p->addRow({"Fornecedor \"Ação\" nº " + std::to_string(i) + "\t\x01", i + 0.25,
                   int64_t{i} * 1'000'000'007, i % 2 == 0, Date::fromYmd(2024, 1 + i % 12, 28),
                   Blob{std::string("\0\xff", 2) + std::to_string(i)}});
    p->addRow({Value(), Value(), Value(), Value(), Value(), Value()});
    return p;
}

TEST(JsonWriter, WritesTheSameDocumentAsTheTreeForm) {
    auto delta = std::make_shared<Packet>(boletos(0)->fields);
    delta->isDelta = true;
    delta->changes.push_back({ChangeOp::Insert, boletos(1)->rows[0], {}});
    delta->changes.push_back({ChangeOp::Modify, boletos(2)->rows[1], boletos(2)->rows[0]});
    delta->changes.push_back({ChangeOp::Delete, {}, boletos(1)->rows[0]});
    const Value values[] = {
        Value(boletos(3)),
        Value(delta),
        Value(ValueArray{Value(2.0), Value(0.1), Value(1e-300), Value(-1e300), Value(1e21),
                         Value(std::numeric_limits<int64_t>::min()), Value("€ 😀 \x7f"),
                         Value(ValueArray{}), Value(Date()), Value(Blob{})}),
    };
    for (const Value& v : values) {
        const std::string text = valueJsonText(v);
        EXPECT_EQ(nlohmann::json::parse(text), valueToJson(v)) << text;
        // Read back through the tree form: same value, a whole float still a float.
        EXPECT_TRUE(valueFromJson(nlohmann::json::parse(text)) == v) << text;
    }
    EXPECT_EQ(valueJsonText(Value(2.0)), "2.0");
    EXPECT_EQ(valueJsonText(Value(std::nan(""))), "null");
    EXPECT_EQ(valueJsonText(Value(std::numeric_limits<double>::infinity())), "null");
}

TEST(JsonWriter, PiecesHandedToTheSinkMakeTheWholeText) {
    const Value list(boletos(500));
    std::string joined;
    size_t pieces = 0;
    JsonWriter out(
        [&](std::string_view piece) {
            joined += piece;
            ++pieces;
        },
        1024);
    out.raw("{\"result\":").value(list).raw("}");
    out.flush();
    EXPECT_EQ(joined, "{\"result\":" + valueJsonText(list) + "}");
    EXPECT_GT(pieces, 20u);  // row by row, not the whole text at the end
    EXPECT_TRUE(out.text().empty());
}

TEST(JsonWriter, TextThatIsNotUtf8HasNoJsonForm) {
    const std::string bad[] = {
        "A\xe7\xe3o",        // Latin-1
        "\xc0\xaf",          // overlong "/"
        "\xed\xa0\x80",      // surrogate half
        "\xf4\x90\x80\x80",  // past U+10FFFF
        "abc\xe2\x82",       // cut short at the end
    };
    for (const std::string& text : bad) {
        EXPECT_THROW(valueJsonText(Value(text)), std::invalid_argument) << text;
        EXPECT_THROW(JsonWriter::checkUtf8(Value(ValueArray{Value(1), Value(text)})),
                     std::invalid_argument)
            << text;
        auto p = std::make_shared<Packet>(std::vector<PacketField>{{"NM", FieldType::Text, 0}});
        p->addRow({Value("ok")});
        p->addRow({Value(text)});
        EXPECT_THROW(JsonWriter::checkUtf8(Value(PacketPtr(p))), std::invalid_argument) << text;
    }
    EXPECT_NO_THROW(JsonWriter::checkUtf8(Value(boletos(3))));
    EXPECT_NO_THROW(JsonWriter::checkUtf8(Value("ção € 😀")));
}

}  // namespace
}  // namespace pag
