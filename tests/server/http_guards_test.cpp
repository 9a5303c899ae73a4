// The HTTP service's guards: token, size, nesting, malformed bodies, internal errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "contracts/client/transport_http.h"
#include "contracts/transport_httplib.h"
#include "contracts/transport_protocol.h"
#include "server/http_service.h"
#include "testing/fake_server.h"

namespace pag {
namespace {

using server::HttpService;
using server::HttpServiceOptions;

using nlohmann::json;

class HttpServiceGuards : public ::testing::Test {
protected:
    void start(HttpServiceOptions options = {}) {
        service_ = std::make_unique<HttpService>(fake_, options);
        port_ = service_->start();
    }
    httplib::Client client() {
        httplib::Client c("127.0.0.1", port_);
        c.set_connection_timeout(2, 0);
        c.set_read_timeout(5, 0);
        return c;
    }
    // Status and decoded body of a raw POST /call.
    std::pair<int, json> post(const std::string& body, const std::string& token = {}) {
        auto c = client();
        if (!token.empty()) c.set_bearer_token_auth(token);
        auto res = c.Post("/call", body, "application/json");
        if (!res) throw std::runtime_error("sem resposta: " + httplib::to_string(res.error()));
        return {res->status, json::parse(res->body)};
    }
    void expectHealthy() {
        auto res = client().Get("/health");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200);
        EXPECT_EQ(json::parse(res->body), json({{"ok", true}}));
    }
    static std::string echoCall(const std::string& arg = "\"x\"") {
        return R"({"operation":"Eco","args":[)" + arg + "]}";
    }
    void answerEcho() {
        fake_.always("Eco", [](const CallContext&, std::vector<Value>& args) {
            return CallResult::success(args.empty() ? Value() : args[0]);
        });
    }

    FakeServer fake_;
    std::unique_ptr<HttpService> service_;
    int port_ = 0;
};

TEST_F(HttpServiceGuards, TokenIsRequiredWhenSet) {
    HttpServiceOptions options;
    options.token = "s3gr3d0";
    start(options);
    answerEcho();

    auto [noToken, noTokenBody] = post(echoCall());
    EXPECT_EQ(noToken, 401);
    EXPECT_EQ(noTokenBody["ok"], false);
    EXPECT_NE(noTokenBody["message"].get<std::string>().find("Acesso negado"), std::string::npos);
    EXPECT_EQ(post(echoCall(), "errado").first, 401);
    EXPECT_EQ(post(echoCall(), "s3gr3d0"),
              std::make_pair(200, json({{"ok", true}, {"result", "x"}, {"refs", json::object()}})));
    EXPECT_EQ(fake_.callCount("Eco"), 1u);  // refused calls never reach the server

    HttpClientOptions good, bad;
    good.token = "s3gr3d0";
    bad.token = "s3gr3d1";
    std::vector<Value> args{Value("y")};
    EXPECT_TRUE(HttpTransport("127.0.0.1", port_, good).call({}, "Eco", args, {}).ok);
    CallResult refused = HttpTransport("127.0.0.1", port_, bad).call({}, "Eco", args, {});
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("token"), std::string::npos) << refused.message;
}

TEST_F(HttpServiceGuards, OtherAddressThanLoopbackNeedsAToken) {
    HttpServiceOptions everywhere;
    everywhere.host = "0.0.0.0";
    HttpService open(fake_, everywhere);
    try {
        open.start();
        FAIL() << "iniciou sem token";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("token"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(open.running());
    EXPECT_TRUE(isLoopbackAddress("127.0.0.1"));
    EXPECT_TRUE(isLoopbackAddress("localhost"));
    EXPECT_TRUE(isLoopbackAddress("::1"));
    EXPECT_FALSE(isLoopbackAddress("0.0.0.0"));
    EXPECT_FALSE(isLoopbackAddress("192.168.0.10"));
}

TEST_F(HttpServiceGuards, OversizedBodyIsRefusedAndTheServiceGoesOn) {
    HttpServiceOptions options;
    options.maxBodyBytes = 1024;
    start(options);
    answerEcho();

    auto [status, body] = post(echoCall("\"" + std::string(4096, 'a') + "\""));
    EXPECT_EQ(status, 413);
    EXPECT_NE(body["message"].get<std::string>().find("1024 bytes"), std::string::npos);

    // Without a declared length (chunked) the limit holds all the same.
    std::string big = echoCall("\"" + std::string(4096, 'b') + "\"");
    auto chunked = client().Post(
        "/call",
        [&](size_t offset, httplib::DataSink& sink) {
            if (offset < big.size())
                sink.write(big.data() + offset, std::min<size_t>(512, big.size() - offset));
            else
                sink.done();
            return true;
        },
        "application/json");
    // The service stops reading at the limit and answers at once; a client still
    // sending may see the connection dropped before it reads the answer.
    if (chunked) {
        EXPECT_EQ(chunked->status, 413);
    }

    HttpClientOptions client;
    client.readTimeout = std::chrono::milliseconds(5000);
    std::vector<Value> args{Value(std::string(2048, 'c'))};
    CallResult r = HttpTransport("127.0.0.1", port_, client).call({}, "Eco", args, {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("grande demais"), std::string::npos) << r.message;

    expectHealthy();
    EXPECT_EQ(post(echoCall()).first, 200);
    EXPECT_EQ(fake_.callCount("Eco"), 1u);
}

TEST_F(HttpServiceGuards, NestingBeyondTheLimitIsRefused) {
    start();
    answerEcho();
    auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };

    auto [status, body] = post(echoCall(nested(200000)));  // would exhaust a recursive parser
    EXPECT_EQ(status, 400);
    EXPECT_NE(body["message"].get<std::string>().find("aninhamento"), std::string::npos);
    EXPECT_EQ(post(echoCall(nested(65))).first, 400);
    EXPECT_EQ(post(echoCall(nested(62))).first, 200);  // 62 + object + args = 64
    EXPECT_EQ(fake_.callCount("Eco"), 1u);
    expectHealthy();
}

TEST_F(HttpServiceGuards, MalformedRequestsGetAClearRefusal) {
    start();
    answerEcho();
    const std::pair<std::string, std::string> cases[] = {
        {R"({"operation": "Eco", "args": [)", "JSON malformado"},
        {R"(["Eco"])", "objeto JSON"},
        {R"({"args": []})", "\"operation\""},
        {R"({"operation": "Eco", "args": {}})", "\"args\""},
        {R"({"operation": "Eco", "args": [{"date": "2024-13-45"}]})", "argumento 0"},
        {R"({"operation": "Eco", "args": [{"packet": {"fields": [], "changes": [5]}}]})",
         "argumento 0"},
        {R"({"operation": "Eco", "args": [1], "by_ref": [1]})", "referência 1"},
        {R"({"operation": "Eco", "args": [1], "context": {"empresa": 1}})", "context.empresa"},
        {std::string("{\"operation\": \"Eco\", \"args\": [\"\xe7\"]}"), "JSON malformado"},
        {R"({"operation": "Eco", "args": [{"packet": {"fields": [], "rowdata": "@@@@"}}]})",
         "argumento 0: Linhas compactadas do pacote inválidas"},
        {R"({"operation": "Eco", "args": [{"packet": {"fields": [{"name": "A"}],
            "rowdata": "AQAAAAA="}}]})",
         "a linha 1 não corresponde aos campos"},
    };
    for (const auto& [request, expected] : cases) {
        auto [status, body] = post(request);
        EXPECT_EQ(status, 400) << request;
        EXPECT_EQ(body["ok"], false) << request;
        EXPECT_NE(body["message"].get<std::string>().find(expected), std::string::npos)
            << request << " -> " << body["message"];
    }
    EXPECT_TRUE(fake_.calls().empty());
    auto notFound = client().Get("/nada");
    ASSERT_TRUE(notFound);
    EXPECT_EQ(notFound->status, 404);
    EXPECT_EQ(json::parse(notFound->body)["ok"], false);
    expectHealthy();
}

TEST_F(HttpServiceGuards, ServerErrorsAnswerInTheProtocolsForm) {
    start();
    fake_.answerWith("GetGeral", [](const CallContext&, std::vector<Value>&) -> CallResult {
        throw std::runtime_error("banco indisponível");
    });
    fake_.fail("SetBoletos", "");

    auto [status, body] = post(R"({"operation":"GetGeral","args":[]})");
    EXPECT_EQ(status, 500);
    EXPECT_EQ(body["ok"], false);
    EXPECT_NE(body["message"].get<std::string>().find("banco indisponível"), std::string::npos);

    auto [refusal, refusalBody] = post(R"({"operation":"SetBoletos","args":[]})");
    EXPECT_EQ(refusal, 200);
    EXPECT_NE(refusalBody["message"].get<std::string>().find("SetBoletos"), std::string::npos);

    auto [unexpected, unexpectedBody] = post(R"({"operation":"GetNada","args":[]})");
    EXPECT_EQ(unexpected, 500);
    EXPECT_NE(unexpectedBody["message"].get<std::string>().find("GetNada"), std::string::npos);
    EXPECT_NE(fake_.verify().find("GetNada"), std::string::npos);
}

TEST(ProtocolDepth, CountsOnlyStructureOutsideStrings) {
    EXPECT_FALSE(exceedsJsonDepth(R"({"a":[1,{"b":"[[[[[["}]})", 3));
    EXPECT_TRUE(exceedsJsonDepth(R"({"a":[1,{"b":[]}]})", 3));
    EXPECT_FALSE(exceedsJsonDepth(R"(["\"[[[["])", 1));
}

}  // namespace
}  // namespace pag
