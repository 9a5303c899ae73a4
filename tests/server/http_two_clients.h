#pragma once

// Two screens on one demo database through the HTTP service on loopback: each has a
// connection of its own, as two desktops would. Requests are few and bounded by short
// timeouts.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "contracts/client/connection.h"
#include "platform/dataset/client_dataset.h"
#include "server/http_service.h"
#include "server_fixture.h"

namespace pag::server::testing {

class HttpTwoClients : public ::testing::Test {
protected:
    void SetUp() override {
        seedDemo(*database(), today);
        module = std::make_unique<RdmHabConta>(file.path());
        HttpServiceOptions options;
        options.readTimeout = std::chrono::seconds(5);
        options.writeTimeout = std::chrono::seconds(5);
        service = std::make_unique<HttpService>(*module, options);
        port = service->start();
    }
    void TearDown() override { service->stop(); }

    // A screen's connection: HTTP to the service, short timeouts.
    std::unique_ptr<SocketConnection> client(const std::string& operador) {
        auto c = std::make_unique<SocketConnection>();
        c->Host = "127.0.0.1";
        c->Port = port;
        c->ConnectTimeout = std::chrono::milliseconds(2000);
        c->ReadTimeout = std::chrono::milliseconds(10000);
        c->Context = context("01", operador);
        return c;
    }

    // GetBoletos without criteria, loaded into the screen's dataset.
    void load(SocketConnection& net, ClientDataSet& cds) {
        std::vector<Value> args = allBoletosFilter();
        CallResult r = net.Call("GetBoletos", args);
        ASSERT_TRUE(r.ok) << r.message;
        cds.SetData(r.result.asPacket());
    }

    // Moves to the boleto, which must be listed.
    static void go(ClientDataSet& cds, const std::string& lancamento) {
        for (cds.First(); !cds.Eof(); cds.Next())
            if (cds.FieldByName("NRLANBOLPAG").AsString() == lancamento) return;
        FAIL() << "boleto " << lancamento << " não listado";
    }

    // A connection of the test's own, to set up and to look at what was stored.
    std::unique_ptr<Database> database() { return openServerDatabase(file.path()); }

    TempDatabase file;
    Date today = Date::today();
    std::unique_ptr<RdmHabConta> module;
    std::unique_ptr<HttpService> service;
    int port = 0;
};

}  // namespace pag::server::testing
