// Hostile HTTP clients are answered by the head check or their own deadline, never by the
// service's timeouts (long here), while the others are still served.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <tuple>
#include <vector>

#include "contracts/transport_httplib.h"
#include "raw_http.h"
#include "server/http_service.h"
#include "testing/fake_server.h"

namespace pag::server::testing {
namespace {

class HostileHttp : public ::testing::Test {
protected:
    void start(HttpServiceOptions options = patient()) {
        fake_.always("Eco", [](const CallContext&, std::vector<Value>& args) {
            return CallResult::success(args.empty() ? Value() : args[0]);
        });
        service_ = std::make_unique<HttpService>(fake_, options);
        port_ = service_->start();
    }
    static HttpServiceOptions patient() {
        HttpServiceOptions o;
        o.headTimeout = std::chrono::seconds(60);
        o.readTimeout = std::chrono::seconds(60);
        o.requestTimeout = std::chrono::seconds(60);
        o.maxBodyBytes = 1024 * 1024;
        return o;
    }
    // Sends the bytes, keeps the connection open, and returns the answer.
    std::string answerTo(const std::string& bytes) {
        RawClient c(port_);
        EXPECT_TRUE(c.connected());
        c.send(bytes);
        return c.readAll(std::chrono::seconds(10));
    }
    // The status a well-behaved client gets for GET /health, or for a call when `body` is given.
    int status(const std::string& body = {}) {
        httplib::Client c("127.0.0.1", port_);
        c.set_connection_timeout(5, 0);
        c.set_read_timeout(10, 0);
        auto res = body.empty() ? c.Get("/health") : c.Post("/call", body, "application/json");
        return res ? res->status : 0;
    }

    FakeServer fake_;
    std::unique_ptr<HttpService> service_;
    int port_ = 0;
};

TEST_F(HostileHttp, OverLimitOrInvalidLengthsAreRefusedWithoutReadingTheBody) {
    start();
    const std::tuple<std::string, std::string, int> requests[] = {
        {"Content-Length: 107374182400\r\n", "{", 413},          // 100 GB
        {"Content-Length: 18446744073709551617\r\n", "{", 413},  // 2^64 + 1
        {"Content-Length: 99999999999999999999999999999999\r\n", "{", 413},
        {"Content-Length: -1\r\n", "{", 400},
        {"Content-Length: 12abc\r\n", "{", 400},
        {"Content-Length: 1, 2\r\n", "{", 400},
        {"Content-Length: \r\n", "{", 400},
        {"Content-Length: 2\r\nContent-Length: 3\r\n", "{}", 400},
        {"Content-Length: 2\r\nTransfer-Encoding: chunked\r\n", "{}", 400},
        {"", "", 411},
    };
    for (const auto& [headers, body, expected] : requests) {
        const std::string answer = answerTo(callHead(headers) + body);
        EXPECT_EQ(RawClient::status(answer), expected) << headers << " -> " << answer;
        EXPECT_NE(RawClient::body(answer).find("\"ok\":false"), std::string::npos) << answer;
    }
    EXPECT_TRUE(fake_.calls().empty());
    EXPECT_EQ(status(), 200);
}

TEST_F(HostileHttp, ExpectContinueOverTheLimitIsRefusedWithoutContinue) {
    start();
    const std::string answer =
        answerTo(callHead("Content-Length: 1073741824\r\nExpect: 100-continue\r\n"));
    EXPECT_EQ(RawClient::status(answer), 413) << answer;
    EXPECT_EQ(answer.find("100 Continue"), std::string::npos) << answer;
    EXPECT_NE(answer.find("o limite é de 1 MiB"), std::string::npos) << answer;

    // Within the limit the client is told to go on, and the call is served.
    const std::string body = R"({"operation":"Eco","args":["x"]})";
    RawClient ok(port_);
    ok.send(callHead("Content-Length: " + std::to_string(body.size()) +
                     "\r\nExpect: 100-continue\r\n"));
    const std::string goOn = ok.readAll(std::chrono::milliseconds(1000));
    EXPECT_EQ(RawClient::status(goOn), 100) << goOn;
    ok.send(body);
    EXPECT_NE(ok.readAll().find("200 OK"), std::string::npos);
}

TEST_F(HostileHttp, MalformedHeadLinesAreRefusedAsSoonAsTheyArrive) {
    start();
    // None of these heads is finished: the refusal cannot wait for the rest.
    const std::pair<std::string, std::string> heads[] = {
        {"POST /call HTTP/1.1\r\nHost: x\r\nSemDoisPontos\r\n", "sem ':'"},
        {"POST /call HTTP/1.1\r\nHost: x\r\n continuação\r\n", "continuada"},
        {"POST /call HTTP/1.1\r\nNome Ruim: x\r\n", "nome de cabeçalho"},
        {"POST /call HTTP/1.1\r\nX: a\x01"
         "b\r\n",
         "controle"},
        {"POST /call HTTP/1.1\nHost: x\n", "CR LF"},
        {"POST /call HTTP/9.9\r\n", "versão"},
        {"post /call HTTP/1.1\r\n", "método"},
        {"POST call HTTP/1.1\r\n", "endereço"},
        {"\r\n", "vazia"},
    };
    for (const auto& [head, expected] : heads) {
        const std::string answer = answerTo(head);
        EXPECT_EQ(RawClient::status(answer), 400) << head;
        EXPECT_NE(answer.find(expected), std::string::npos) << head << " -> " << answer;
    }
    EXPECT_EQ(RawClient::status(answerTo("GET /" + std::string(3000, 'a') + " HTTP/1.1\r\n")), 414);
    std::string many = "GET /health HTTP/1.1\r\n";
    for (int i = 0; i < 150; ++i)
        many += "X-" + std::to_string(i) + ": a\r\n";
    EXPECT_EQ(RawClient::status(answerTo(many)), 431);
    EXPECT_EQ(status(), 200);
}

TEST_F(HostileHttp, StalledClientsDoNotStarveTheOthers) {
    start();
    std::vector<std::unique_ptr<RawClient>> stalled;
    for (int i = 0; i < 64; ++i) {
        stalled.push_back(std::make_unique<RawClient>(port_));
        // Headers and half a body, and then nothing.
        stalled.back()->send(callHead("Content-Length: 1000\r\n") + "{\"operation\":");
    }
    for (int i = 0; i < 8; ++i)
        stalled.push_back(std::make_unique<RawClient>(port_));  // not even a head
    EXPECT_EQ(status(), 200);
    EXPECT_EQ(status(R"({"operation":"Eco","args":["x"]})"), 200);
    EXPECT_EQ(fake_.callCount("Eco"), 1u);
}

TEST_F(HostileHttp, ATricklingClientIsCutOffAtItsRequestDeadline) {
    HttpServiceOptions options = patient();
    options.requestTimeout = std::chrono::milliseconds(800);
    start(options);
    RawClient slow(port_);
    slow.send(callHead("Content-Length: 200\r\n"));
    bool cut = false;
    // One byte every 100 ms would take 20 s; each byte comes well within the read
    // timeout, so only the request's own deadline can end it.
    for (int i = 0; i < 200 && !cut; ++i) {
        if (!slow.send("[")) cut = true;
        const std::string answer = slow.readAll(std::chrono::milliseconds(100));
        if (!answer.empty() || !slow.timedOut()) cut = true;
    }
    EXPECT_TRUE(cut);
    EXPECT_TRUE(fake_.calls().empty());
    EXPECT_EQ(status(), 200);
}

TEST_F(HostileHttp, ConnectionsBeyondTheLimitAreTurnedAwayAtOnce) {
    HttpServiceOptions options = patient();
    options.maxConnections = 4;
    start(options);
    std::vector<std::unique_ptr<RawClient>> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(std::make_unique<RawClient>(port_));
        held.back()->send("GET /health HTTP/1.1\r\n");  // a head never finished
    }
    // The accept loop counts a connection as soon as it takes it; give it the four.
    std::string answer;
    for (int attempt = 0; attempt < 50 && RawClient::status(answer) != 503; ++attempt) {
        RawClient extra(port_);
        answer = extra.readAll(std::chrono::milliseconds(200));
    }
    EXPECT_EQ(RawClient::status(answer), 503) << answer;
    EXPECT_NE(answer.find("Servidor ocupado"), std::string::npos);
    held.clear();
    int health = 0;
    for (int attempt = 0; attempt < 50 && health != 200; ++attempt)
        health = status();
    EXPECT_EQ(health, 200);
}

}  // namespace
}  // namespace pag::server::testing
