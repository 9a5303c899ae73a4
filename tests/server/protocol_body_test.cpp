// A body's compact rows are read where they lie; whatever the body's form, it decodes
// as the library's parser would read it, and a fault is placed in the body's own bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "contracts/transport_protocol.h"
#include "platform/dataset/json_writer.h"
#include "platform/dataset/packet.h"

namespace pag {
namespace {

PacketPtr twoRows() {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{{"NMFORN", FieldType::Text, 40},
                                                               {"VRFINAL", FieldType::Float, 0}});
    p->addRow({"Ação", 10.5});
    p->addRow({Value(), Value()});
    return p;
}

std::string compactReply(const Value& result) {
    JsonWriter out;
    out.compactRows();
    writeCallReply({true, result, {}, {}}, out);
    return out.text();
}

std::string failureOf(const std::string& body) {
    try {
        decodeCallReply(body);
    } catch (const ProtocolError& e) {
        return e.what();
    }
    return "aceita";
}

TEST(ProtocolBody, CompactRowsDecodeWhereverTheyStandAndHoweverTheyAreWritten) {
    const PacketPtr p = twoRows();
    const std::string one = compactReply(Value(p));
    const std::string data = one.substr(one.find("\"rowdata\":\"") + 11);
    const std::string text = data.substr(0, data.find('"'));
    // Two packets, blanks around the colon, and a key written with an escape, which
    // sends the whole body through the parser's own strings.
    // The rows' first character written as \u00XX: the text is then the parser's.
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(text[0]));
    const std::string fields = packetToJson(*p)["fields"].dump();
    const auto reply = [&](const std::string& rows) {
        return "{\"ok\":true,\"result\":{\"packet\":{\"fields\":" + fields + "," + rows + "}}}";
    };
    const std::string bodies[] = {
        compactReply(Value(ValueArray{Value(p), Value("rowdata"), Value(p)})),
        reply("\"rowdata\" : \"" + text + "\""),
        reply("\"rowd\\u0061ta\":\"" + text + "\""),
        reply("\"rowdata\":\"" + std::string(escaped) + text.substr(1) + "\""),
    };
    for (const std::string& body : bodies) {
        const CallReply r = decodeCallReply(body);
        const Value& result = r.result;
        const Value& first = result.type() == ValueType::Array ? result.asArray()[0] : result;
        ASSERT_EQ(first.type(), ValueType::Packet) << body;
        EXPECT_TRUE(*first.asPacket() == *p) << body;
        if (result.type() == ValueType::Array) {
            EXPECT_EQ(result.asArray()[1], Value("rowdata"));
            EXPECT_TRUE(*result.asArray()[2].asPacket() == *p);
        }
    }
}

TEST(ProtocolBody, FaultsAreToldInTheBodysOwnBytes) {
    const std::string body = compactReply(Value(twoRows()));
    // A stray character after the rows' text: its place counts the text passed over.
    std::string broken = body;
    const size_t at = broken.rfind('"') + 1;
    broken.insert(at, "x");
    EXPECT_NE(failureOf(broken).find("perto do byte " + std::to_string(at + 1)), std::string::npos)
        << failureOf(broken);

    std::string badRows = body;
    badRows[badRows.find("\"rowdata\":\"") + 11] = '!';
    EXPECT_NE(failureOf(badRows).find("resultado: Linhas compactadas do pacote inválidas"),
              std::string::npos)
        << failureOf(badRows);
    EXPECT_TRUE(exceedsJsonDepth("[[[\"rowdata\"]]]", 2));
    EXPECT_FALSE(exceedsJsonDepth("{\"rowdata\":\"[[[[\"}", 1));
}

}  // namespace
}  // namespace pag
