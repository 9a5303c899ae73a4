// Every kind of value crosses real HTTP on loopback, both ways, unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

#include "contracts/client/transport_http.h"
#include "contracts/transport_httplib.h"
#include "contracts/transport_protocol.h"
#include "platform/dataset/packet.h"
#include "server/http_service.h"
#include "testing/fake_server.h"

namespace pag {
namespace {

using server::HttpService;
using server::HttpServiceOptions;

PacketPtr fullPacket() {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{{"CDFILIAL", FieldType::Text, 4},
                                                               {"VRFINALBPAG", FieldType::Float, 0},
                                                               {"NRPARC", FieldType::Integer, 0},
                                                               {"IDMARCADO", FieldType::Boolean, 0},
                                                               {"DTVENBOLPAG", FieldType::Date, 0},
                                                               {"IMLOGO", FieldType::Blob, 0}});
    p->addRow(
        {"0001", 1234.56, 3, true, Date::fromYmd(2024, 3, 15), Blob{std::string("\0\xff", 2)}});
    p->addRow({"Ação", 0.1, -7, false, Date(), Blob{}});
    p->addRow({Value(), Value(), Value(), Value(), Value(), Value()});
    return p;
}

PacketPtr changeLog() {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{
        {"NRLANBOLPAG", FieldType::Text, 10}, {"VRFINALBPAG", FieldType::Float, 0}});
    p->isDelta = true;
    p->changes.push_back({ChangeOp::Insert, p->layout.encode({"0000000010", 50.0}), {}});
    p->changes.push_back({ChangeOp::Modify, p->layout.encode({"0000000011", 99.99}),
                          p->layout.encode({"0000000011", 100.0})});
    p->changes.push_back({ChangeOp::Delete, {}, p->layout.encode({"0000000012", Value()})});
    return p;
}

std::vector<Value> everyKind() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return {Value(),
            Value(""),
            Value("Habilitação: çãõé € 😀 \"aspas\" \\ barra\nlinha\t"),
            Value(0.1),
            Value(1e-300),
            Value(-1234.56),
            Value(2.0),
            Value(int64_t{0}),
            Value(int64_t{-42}),
            Value(std::numeric_limits<int64_t>::max()),
            Value(true),
            Value(false),
            Value(Date::fromYmd(2024, 2, 29)),
            Value(Date()),
            Value(Blob{bytes}),
            Value(fullPacket()),
            Value(changeLog()),
            Value(ValueArray{Value(1), Value(ValueArray{Value(2.5), Value("x"), Value()}),
                             Value(ValueArray{})})};
}

// Same kind at every level, not only an equal number.
void expectIdentical(const Value& expected, const Value& actual, const std::string& where) {
    ASSERT_EQ(expected.type(), actual.type()) << where << ": " << actual.debugString();
    if (expected.type() == ValueType::Array) {
        ASSERT_EQ(expected.asArray().size(), actual.asArray().size()) << where;
        for (size_t i = 0; i < expected.asArray().size(); ++i)
            expectIdentical(expected.asArray()[i], actual.asArray()[i],
                            where + "[" + std::to_string(i) + "]");
    } else if (expected.type() == ValueType::Packet) {
        EXPECT_TRUE(*expected.asPacket() == *actual.asPacket()) << where;
    } else if (expected.type() == ValueType::Float) {
        EXPECT_EQ(expected.asFloat(), actual.asFloat()) << where;  // bit-exact, not near
    } else {
        EXPECT_TRUE(expected == actual) << where << ": " << actual.debugString();
    }
}

class ProtocolRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        port_ = service_.start();
        options_.connectTimeout = std::chrono::milliseconds(2000);
        options_.readTimeout = std::chrono::milliseconds(5000);
    }
    FakeServer fake_;
    HttpService service_{fake_, HttpServiceOptions{}};
    HttpClientOptions options_;
    int port_ = 0;
};

TEST_F(ProtocolRoundTrip, EveryValueKindTravelsBothWaysUnchanged) {
    const std::vector<Value> sent = everyKind();
    fake_.answerWith("Eco", [](const CallContext&, std::vector<Value>& args) {
        return CallResult::success(Value(ValueArray(args)));
    });
    HttpTransport http("127.0.0.1", port_, options_);
    std::vector<Value> args = sent;
    CallContext ctx{"01", "0001", "ADMIN", std::string("req-7")};

    CallResult r = http.call(ctx, "Eco", args, {});

    ASSERT_TRUE(r.ok) << r.message;
    auto received = fake_.callsTo("Eco");
    ASSERT_EQ(received.size(), 1u);
    expectIdentical(Value(ValueArray(sent)), Value(ValueArray(received[0].args)), "pedido");
    expectIdentical(Value(ValueArray(sent)), r.result, "resposta");
    EXPECT_EQ(received[0].context.empresa, "01");
    EXPECT_EQ(received[0].context.filial, "0001");
    EXPECT_EQ(received[0].context.operador, "ADMIN");
    EXPECT_EQ(received[0].context.requestId, std::optional<std::string>("req-7"));
    EXPECT_EQ(fake_.verify(), "");
}

TEST_F(ProtocolRoundTrip, ByReferenceArgumentsComeBackOnlyWhereAsked) {
    fake_.answer("VdNovoValorContas", Value(ValueArray{Value(0.0)}),
                 {{0, Value("0002")}, {1, Value(changeLog())}, {2, Value(150.25)}});
    HttpTransport http("127.0.0.1", port_, options_);
    std::vector<Value> args{Value("0001"), Value("0000000001"), Value(100.0)};

    CallResult r = http.call({}, "VdNovoValorContas", args, {1, 2});

    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(args[0], Value("0001"));  // written by the server, but passed by value
    expectIdentical(Value(changeLog()), args[1], "ref 1");
    expectIdentical(Value(150.25), args[2], "ref 2");
}

TEST_F(ProtocolRoundTrip, RefusalCarriesTheServerMessageAndWritesNothingBack) {
    fake_.answerWith("SetBoletos", [](const CallContext&, std::vector<Value>& args) {
        args[0] = Value("alterado");
        return CallResult::failure("VRBOL_DIF");
    });
    HttpTransport http("127.0.0.1", port_, options_);
    std::vector<Value> args{Value("original")};

    CallResult r = http.call({}, "SetBoletos", args, {0});

    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "VRBOL_DIF");
    EXPECT_EQ(args[0], Value("original"));
}

TEST_F(ProtocolRoundTrip, TextThatIsNotUtf8IsRefusedBeforeSending) {
    HttpTransport http("127.0.0.1", port_, options_);
    std::vector<Value> args{Value(std::string("A\xe7\xe3o"))};  // Latin-1 bytes

    CallResult r = http.call({}, "GetBoletos", args, {});

    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("UTF-8"), std::string::npos) << r.message;
    EXPECT_TRUE(fake_.calls().empty());
}

TEST_F(ProtocolRoundTrip, ALongListArrivesWholeThoughWrittenRowByRow) {
    auto list = std::make_shared<Packet>(fullPacket()->fields);
    for (int i = 0; i < 20000; ++i)
        list->addRow({std::to_string(i), i / 100.0, i, i % 2 == 0, Date::fromYmd(2024, 3, 15),
                      Blob{std::string(3, static_cast<char>(i))}});
    fake_.answer("GetBoletos", Value(PacketPtr(list)));
    HttpTransport http("127.0.0.1", port_, options_);
    std::vector<Value> args;

    CallResult r = http.call({}, "GetBoletos", args, {});

    ASSERT_TRUE(r.ok) << r.message;
    expectIdentical(Value(PacketPtr(list)), r.result, "lista");
}

// On the wire a packet's rows travel as "rowdata" both ways; readers still take the
// readable arrays, as `pag12000 call` prints them and older peers send them.
TEST_F(ProtocolRoundTrip, PacketsTravelAsCompactRowsAndArraysAreStillRead) {
    const auto echo = [](const CallContext&, std::vector<Value>& args) {
        return CallResult::success(args[0]);
    };
    fake_.answerWith("Eco", echo);
    const Value list(fullPacket());
    const std::string request = encodeCallRequest({"Eco", {list}, {}, {}});
    EXPECT_NE(request.find("\"rowdata\""), std::string::npos);
    EXPECT_EQ(request.find("\"rows\""), std::string::npos);

    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(5, 0);
    auto res = client.Post("/call", request, "application/json");
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200) << res->body;
    EXPECT_NE(res->body.find("\"rowdata\""), std::string::npos);
    expectIdentical(list, decodeCallReply(res->body).result, "resposta");
    ASSERT_EQ(fake_.callsTo("Eco").size(), 1u);
    expectIdentical(list, fake_.callsTo("Eco")[0].args[0], "pedido");

    JsonWriter readable;
    writeCallReply({true, list, {}, {}}, readable);
    EXPECT_NE(readable.text().find("\"rows\""), std::string::npos);
    expectIdentical(list, decodeCallReply(readable.text()).result, "linhas legíveis");
    fake_.answerWith("Eco", echo);
    auto arrays =
        client.Post("/call", "{\"operation\":\"Eco\",\"args\":[" + valueJsonText(list) + "]}",
                    "application/json");
    ASSERT_TRUE(arrays);
    ASSERT_EQ(arrays->status, 200) << arrays->body;
    expectIdentical(list, fake_.callsTo("Eco")[1].args[0], "pedido legível");
}

TEST_F(ProtocolRoundTrip, AnAnswerThatCannotBeSentFailsWholeWithItsReason) {
    auto list = std::make_shared<Packet>(fullPacket()->fields);
    list->addRow({"0001", 1.0, 1, true, Date(), Blob{}});
    list->addRow({std::string("A\xe7\xe3o"), 2.0, 2, false, Date(), Blob{}});  // Latin-1
    fake_.answer("GetBoletos", Value(PacketPtr(list)));
    HttpTransport http("127.0.0.1", port_, options_);
    std::vector<Value> args;

    CallResult r = http.call({}, "GetBoletos", args, {});

    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("A resposta da operação GetBoletos não pôde ser enviada"),
              std::string::npos)
        << r.message;
    EXPECT_NE(r.message.find("UTF-8"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace pag
