// The main screen's connection: lazy opening, transports, by-reference arguments, failures.
#include <gtest/gtest.h>

#include <stdexcept>

#include "contracts/client/connection.h"
#include "platform/dataset/packet.h"
#include "server/http_service.h"
#include "testing/fake_server.h"

namespace pag {
namespace {

using server::HttpService;
using server::HttpServiceOptions;

// A fake reached through the embedded transport (owned elsewhere, handed over).
class Forward final : public ServerModule {
public:
    explicit Forward(ServerModule& target) : target_(target) {}
    CallResult call(const CallContext& ctx, const std::string& operation,
                    std::vector<Value>& args) override {
        return target_.call(ctx, operation, args);
    }

private:
    ServerModule& target_;
};

// Scripts Incl_Parcela_Bol_Pag the way the server answers it: the last installment
// number comes back by reference; the branch passed by value is also overwritten
// (which the caller must not see).
void scriptInstallment(FakeServer& fake) {
    fake.answer("Incl_Parcela_Bol_Pag", Value(), {{1, Value("9999")}, {4, Value("03")}});
}

std::vector<Value> installmentArgs() {
    return {Value(), Value("0001"), Value("0000000010"), Value("0000000009"), Value("02")};
}

class ConnectionTest : public ::testing::Test {
protected:
    void useEmbedded(SocketConnection& c) {
        c.EmbeddedServer = [this] { return std::make_unique<Forward>(fake_); };
    }
    FakeServer fake_;
};

TEST_F(ConnectionTest, BeforeConnectSetsTheAddressAtOpeningAndNothingIsContacted) {
    SocketConnection net;
    int openings = 0;
    net.BeforeConnect = [&](SocketConnection& c) {
        ++openings;
        c.Host = "127.0.0.1";
        c.Port = 1;  // nothing listens there: opening must not care
    };
    EXPECT_EQ(net.ServerName, "pag12000.rdmHabConta");
    EXPECT_FALSE(net.Connected());
    net.Open();
    net.Open();
    EXPECT_TRUE(net.Connected());
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(net.Describe(), "127.0.0.1:1");
    net.Close();
    EXPECT_FALSE(net.Connected());
    net.Open();
    EXPECT_EQ(openings, 2);
}

TEST_F(ConnectionTest, EmbeddedServerWritesBackOnlyByReferenceArguments) {
    SocketConnection net;
    net.BeforeConnect = [](SocketConnection& c) { c.Host = "local"; };
    useEmbedded(net);
    net.Context = {"01", "0001", "ADMIN", std::nullopt};
    scriptInstallment(fake_);
    std::vector<Value> args = installmentArgs();

    CallResult r = net.Call("Incl_Parcela_Bol_Pag", args, {4});

    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(net.Describe(), "servidor embutido");
    EXPECT_EQ(args[1], Value("0001"));
    EXPECT_EQ(args[4], Value("03"));
    auto calls = fake_.callsTo("Incl_Parcela_Bol_Pag");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[4], Value("02"));  // recorded as sent
    EXPECT_EQ(calls[0].context.operador, "ADMIN");
}

// Counts the holders of the packet the server receives as its first argument.
class PacketHolders final : public ServerModule {
public:
    long seen = 0;
    CallResult call(const CallContext&, const std::string&, std::vector<Value>& args) override {
        seen = args.at(0).ifPacket()->use_count();
        return CallResult::success();
    }
};

TEST_F(ConnectionTest, ArgumentsGivenAwayReachTheEmbeddedServerWithoutACopy) {
    PacketHolders holders;
    SocketConnection net;
    net.EmbeddedServer = [&] { return std::make_unique<Forward>(holders); };
    std::vector<Value> kept{Value(PacketPtr(std::make_shared<Packet>()))};
    ASSERT_TRUE(net.Call("GetMarcaTBoletos", kept).ok);
    EXPECT_EQ(holders.seen, 2);  // the caller still holds it: the server must not change it
    EXPECT_EQ(kept[0].ifPacket()->use_count(), 1);

    std::vector<Value> given;
    given.push_back(Value(PacketPtr(std::make_shared<Packet>())));
    ASSERT_TRUE(net.Call("GetMarcaTBoletos", std::move(given)).ok);
    EXPECT_EQ(holders.seen, 1);
}

TEST_F(ConnectionTest, NothingListeningFailsTheFirstCallWithTheAddress) {
    int port = 0;
    {
        HttpService probe(fake_);
        port = probe.start();  // a port that was free a moment ago, closed again
    }
    SocketConnection net;
    net.Host = "127.0.0.1";
    net.Port = port;
    net.ConnectTimeout = std::chrono::milliseconds(2000);
    EXPECT_NO_THROW(net.Open());

    std::vector<Value> args{Value("01")};
    CallResult r = net.Call("GetGeral", args);

    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.rfind("Não foi possível conectar ao servidor de aplicação em 127.0.0.1:" +
                                  std::to_string(port) + ": ",
                              0),
              0u)
        << r.message;
    EXPECT_EQ(args[0], Value("01"));
}

TEST_F(ConnectionTest, EmbeddedServerThatCannotStartFailsEachCallUntilItStarts) {
    SocketConnection net;
    int attempts = 0;
    net.EmbeddedServer = [&]() -> std::unique_ptr<ServerModule> {
        if (++attempts == 1) throw std::runtime_error("arquivo dados.db não encontrado");
        return std::make_unique<Forward>(fake_);
    };
    net.Open();
    EXPECT_EQ(attempts, 0);  // created on the first call, not at opening
    fake_.answer("GetGeral", Value("ok"));

    CallResult first = net.Call("GetGeral", {});
    CallResult second = net.Call("GetGeral", {});

    EXPECT_FALSE(first.ok);
    EXPECT_EQ(first.message,
              "Não foi possível iniciar o servidor de aplicação embutido: arquivo dados.db não "
              "encontrado");
    ASSERT_TRUE(second.ok) << second.message;
    EXPECT_EQ(second.result, Value("ok"));
}

TEST_F(ConnectionTest, NoServerConfiguredIsAFailedCallNotACrash) {
    SocketConnection net;
    CallResult r = net.Call("GetGeral", {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("Nenhum servidor de aplicação configurado"), std::string::npos);
}

TEST_F(ConnectionTest, UnexpectedOperationIsLoudOnEveryChannel) {
    SocketConnection net;
    useEmbedded(net);
    std::string reported;
    fake_.OnUnexpected = [&](const std::string& m) { reported = m; };

    CallResult r = net.Call("GetBoletos", {Value("01")});

    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("GetBoletos"), std::string::npos) << r.message;
    EXPECT_NE(reported.find("GetBoletos"), std::string::npos);
    EXPECT_NE(fake_.verify().find("GetBoletos"), std::string::npos);
}

TEST_F(ConnectionTest, ScriptAnswersInOrderAndReportsWhatWasLeft) {
    SocketConnection net;
    useEmbedded(net);
    fake_.answer("PrxBoletoPag", Value("0000000001"))
        .fail("PrxBoletoPag", "1BOL_BAIXADO")
        .answer("SetAgrupaBoleto", Value("OK"));

    EXPECT_EQ(net.Call("PrxBoletoPag", {}).result, Value("0000000001"));
    CallResult second = net.Call("PrxBoletoPag", {});
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(second.message, "1BOL_BAIXADO");
    EXPECT_EQ(fake_.verify(),
              "FakeServer: 1 resposta(s) programada(s) de SetAgrupaBoleto não foram usadas.\n");
}

TEST_F(ConnectionTest, ByReferenceIndexOutsideTheArgumentsIsAProgrammingError) {
    SocketConnection net;
    useEmbedded(net);
    std::vector<Value> args{Value("a")};
    EXPECT_THROW(net.Call("SetBoletos", args, {1}), std::invalid_argument);
    EXPECT_THROW(net.Call("SetBoletos", args, {0, 0}), std::invalid_argument);
    EXPECT_TRUE(fake_.calls().empty());
}

}  // namespace
}  // namespace pag
