// Compact packet rows ("rowdata"): base64 in pieces, the same packets as the arrays,
// and rows from outside refused with a reason before anything is kept.
#include "platform/dataset/row_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "dataset_fixture.h"
#include "platform/dataset/json_writer.h"
#include "platform/dataset/packet.h"

namespace pag {
namespace {

using nlohmann::json;

TEST(Base64, KnownTextsAndEveryByteRoundTrip) {
    const std::pair<std::string, std::string> known[] = {
        {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, text] : known) {
        EXPECT_EQ(base64Encode(plain), text);
        EXPECT_EQ(base64Decode(text), plain);
    }
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes);
}

TEST(Base64, PiecesOfAnySizeGiveTheTextOfTheWhole) {
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += static_cast<char>(i * 37);
    const std::string whole = base64Encode(bytes);
    for (size_t piece = 1; piece <= 7; ++piece) {
        Base64Encoder encoder;
        std::string text;
        for (size_t at = 0; at < bytes.size(); at += piece)
            encoder.add(std::string_view(bytes).substr(at, piece), text);
        encoder.finish(text);
        EXPECT_EQ(text, whole) << piece;

        Base64Reader reader(whole);
        std::string back;
        for (size_t at = 0; at < bytes.size(); at += piece) {
            std::string part(std::min(piece, bytes.size() - at), '\0');
            ASSERT_TRUE(reader.read(part.data(), part.size()));
            back += part;
        }
        EXPECT_EQ(back, bytes) << piece;
        char extra;
        EXPECT_FALSE(reader.read(&extra, 1));
    }
}

TEST(Base64, MalformedTextIsRefused) {
    for (const char* text : {"Zm9", "Zm=v", "Zg=a", "Z===", "====", "Zm9v!A==", "Zm9v\nYg=="})
        EXPECT_THROW(base64Decode(text), std::invalid_argument) << text;
}

PacketPtr everyType() {
    auto p = std::make_shared<Packet>(test::everyTypeFields());
    p->addRow(
        {"", 0.1, int64_t{-7}, true, Date::fromYmd(2024, 2, 29), Blob{std::string("\0\xff\0", 3)}});
    p->addRow({Value(), Value(), Value(), Value(), Value(), Value()});
    p->addRow({"ção \"x\" 😀", -1e300, std::numeric_limits<int64_t>::min(), false,
               Date::fromYmd(9999, 12, 31), Blob{}});
    // Texts of 0 to 5 bytes: the rows' lengths leave 0, 1 and 2 bytes over for the next.
    for (int n = 0; n < 6; ++n)
        p->addRow({std::string(static_cast<size_t>(n), 'a'), n * 1.5, n, n % 2 == 0,
                   Date::fromYmd(1, 1, 1), Blob{std::string(static_cast<size_t>(n), '\0')}});
    return p;
}

std::string compactText(const Value& v, size_t chunk = 0) {
    std::string pieces;
    JsonWriter out([&](std::string_view piece) { pieces += piece; }, chunk ? chunk : 64 * 1024);
    out.compactRows().value(v);
    out.flush();
    return pieces;
}

TEST(RowData, CompactAndArrayFormsReadBackAsTheSamePacket) {
    const PacketPtr p = everyType();
    std::set<size_t> carried;
    size_t written = 0;
    for (const std::string& r : p->rows) {
        written += 4 + r.size();
        carried.insert(written % 3);
    }
    ASSERT_EQ(carried.size(), 3u) << "rows must leave 0, 1 and 2 bytes over";

    const std::string compact = compactText(Value(p));
    EXPECT_NE(compact.find("\"rowdata\":\""), std::string::npos);
    EXPECT_EQ(compact.find("\"rows\""), std::string::npos);
    const Value fromCompact = valueFromJson(json::parse(compact));
    const Value fromArrays = valueFromJson(json::parse(valueJsonText(Value(p))));
    EXPECT_TRUE(*fromCompact.asPacket() == *p);
    EXPECT_TRUE(*fromArrays.asPacket() == *p);
    // Written in pieces of a few bytes, the rows still make the same text.
    EXPECT_EQ(compactText(Value(p), 5), compact);

    const auto empty = std::make_shared<Packet>(p->fields);
    const std::string none = compactText(Value(PacketPtr(empty)));
    EXPECT_NE(none.find("\"rowdata\":\"\""), std::string::npos);
    EXPECT_TRUE(*valueFromJson(json::parse(none)).asPacket() == *empty);
}

TEST(RowData, ChangeLogsAndFilesKeepTheReadableArrays) {
    auto delta = std::make_shared<Packet>(everyType()->fields);
    delta->isDelta = true;
    delta->changes.push_back({ChangeOp::Insert, everyType()->rows[0], {}});
    const std::string compact = compactText(Value(PacketPtr(delta)));
    EXPECT_EQ(compact.find("rowdata"), std::string::npos);
    EXPECT_TRUE(*valueFromJson(json::parse(compact)).asPacket() == *delta);
    EXPECT_EQ(packetToJson(*everyType()).dump().find("rowdata"), std::string::npos);
    EXPECT_EQ(valueJsonText(Value(everyType())).find("rowdata"), std::string::npos);
}

// A packet of one text, one float and one date field whose "rowdata" is the given rows.
json packetWithRows(const std::vector<std::string>& rows) {
    Base64Encoder encoder;
    std::string text;
    for (const std::string& r : rows)
        appendRowData(encoder, r, text);
    encoder.finish(text);
    return json{{"fields",
                 {{{"name", "T"}, {"type", "text"}},
                  {{"name", "F"}, {"type", "float"}},
                  {{"name", "D"}, {"type", "date"}}}},
                {"rowdata", text}};
}

const RowLayout kLayout({FieldType::Text, FieldType::Float, FieldType::Date});

std::string refusal(const json& packet) {
    try {
        packetFromJson(packet);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "aceito";
}

TEST(RowData, RowsFromOutsideAreRefusedWithTheirReason) {
    const std::string good = kLayout.encode({"abc", 1.5, Date::fromYmd(2024, 1, 2)});
    std::string lengthOnly = base64Encode(std::string("\x10\0\0\0abc", 7));  // says 16 bytes
    std::string badOffset = good;
    badOffset[1] = 100;  // the text starts past the row
    std::string latin1 = kLayout.encode({std::string("A\xe7\xe3o"), 1.0, Value()});
    std::string farDate = kLayout.encode({"x", 1.0, Date::fromYmd(2024, 1, 2)});
    const int32_t never = std::numeric_limits<int32_t>::max();
    std::memcpy(farDate.data() + 1 + 4 + 8, &never, 4);

    const std::pair<json, std::string> cases[] = {
        {json{{"fields", json::array()}, {"rowdata", "@@@@"}}, "base64"},
        {json{{"fields", json::array()}, {"rowdata", base64Encode("\x01\x02")}}, "meio do tamanho"},
        {json{{"fields", json::array()}, {"rowdata", lengthOnly}}, "termina depois do fim"},
        {packetWithRows({good, badOffset}), "linha 2 não corresponde aos campos"},
        {packetWithRows({latin1}), "UTF-8"},
        {packetWithRows({farDate}), "data fora do calendário"},
        {json{{"fields", json::array()}, {"rowdata", 5}}, "deve ser texto"},
        {json{{"fields", json::array()}, {"rows", json::array()}, {"rowdata", ""}},
         "ao mesmo tempo"},
    };
    for (const auto& [packet, expected] : cases)
        EXPECT_NE(refusal(packet).find(expected), std::string::npos)
            << packet.dump().substr(0, 120) << " -> " << refusal(packet);
    EXPECT_EQ(refusal(packetWithRows({good, good})), "aceito");
}

TEST(RowData, AFloatWithNoJsonFormArrivesNullAsInTheArrays) {
    const Value nan = Value(std::numeric_limits<double>::quiet_NaN());
    const std::string row = kLayout.encode({"x", nan, Value()});
    const Packet p = packetFromJson(packetWithRows({row}));
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_TRUE(p.layout.isNull(p.rows[0], 1));
    EXPECT_EQ(p.rows[0], kLayout.encode({"x", Value(), Value()}));
}

}  // namespace
}  // namespace pag
