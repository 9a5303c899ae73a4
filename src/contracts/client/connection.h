#pragma once

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "contracts/client/transport.h"
#include "contracts/connection_contract.h"

namespace pag {

// The connection of a screen to the application server (`netHabConta` on the main
// screen). Opening only fixes where calls go: nothing is contacted until the first
// call, so a screen can open its connection while it is being created and a
// server that cannot be reached fails that first call with a clear message.
class SocketConnection {
public:
    static constexpr const char* kServerName = "pag12000.rdmHabConta";

    // Host empty or "local": the embedded server (EmbeddedServer); otherwise HTTP.
    std::string Host;
    int Port = 0;
    std::string ServerName = kServerName;
    std::string Token;
    // "https", "http", or empty: HTTPS to another machine, HTTP on this one. Plain
    // HTTP to another machine only with Insecure; CaFile names a private authority.
    std::string Scheme;
    std::string CaFile;
    bool Insecure = false;
    std::chrono::milliseconds ConnectTimeout{5000};
    std::chrono::milliseconds ReadTimeout{120000};
    // Who calls; sent with every call.
    CallContext Context;

    // Runs at each opening, before the transport is chosen; the screen sets Host and
    // Port here from the login context.
    std::function<void(SocketConnection&)> BeforeConnect;
    // Creates the embedded server on its first call.
    std::function<std::unique_ptr<ServerModule>()> EmbeddedServer;
    // Replaces the choice of transport (tests). Receives the connection as set up by
    // BeforeConnect.
    std::function<std::unique_ptr<Transport>(const SocketConnection&)> TransportFactory;

    SocketConnection() = default;
    SocketConnection(const SocketConnection&) = delete;
    SocketConnection& operator=(const SocketConnection&) = delete;

    // Runs BeforeConnect and chooses the transport; does nothing when already open.
    // Exceptions from BeforeConnect propagate.
    void Open();
    void Close();
    bool Connected() const { return transport_ != nullptr; }

    // Calls an operation of the server, opening the connection when needed. The
    // arguments named in byRef receive what the server wrote back (after success
    // only). Failures of the connection and of the server come back as a failed
    // result; a byRef index outside args throws std::invalid_argument.
    CallResult Call(const std::string& operation, std::vector<Value>& args,
                    const std::vector<int>& byRef = {});
    // For calls without by-reference arguments.
    CallResult Call(const std::string& operation, std::initializer_list<Value> args);
    // The same for arguments given away: the embedded server receives them without a
    // copy (a packet no one else holds may then be changed in place by the server).
    CallResult Call(const std::string& operation, std::vector<Value>&& args);

    // "servidor embutido" or "HOST:PORTA"; empty while closed.
    std::string Describe() const;
    bool IsLocal() const { return Host.empty() || Host == "local"; }

private:
    std::unique_ptr<Transport> makeTransport() const;

    std::unique_ptr<Transport> transport_;
};

}  // namespace pag
