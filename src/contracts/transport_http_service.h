#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "contracts/connection_contract.h"

namespace pag {

struct HttpServiceOptions {
    std::string host = "127.0.0.1";
    int port = 0;  // 0: any free port, read back with port()
    // Required from callers when not empty; required to exist when host is not a
    // loopback address.
    std::string token;
    size_t maxBodyBytes = 64u * 1024u * 1024u;
    int maxJsonDepth = 64;
    std::chrono::seconds readTimeout{30};
    std::chrono::seconds writeTimeout{30};
};

// True for 127.x.x.x, ::1 and "localhost".
bool isLoopbackAddress(std::string_view host);

// Serves a ServerModule over HTTP: POST /call and GET /health (docs/protocol.md).
// Calls reach the module one at a time, whatever the number of clients, since a
// module works on one database connection. A bad request gets a 4xx answer with a
// pt-BR message; nothing a client sends stops the service.
class HttpService {
public:
    HttpService(ServerModule& module, HttpServiceOptions options = {});
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds the address and serves on a background thread; returns the port. Throws
    // std::runtime_error (pt-BR) when the address cannot be bound, or when it is not
    // a loopback address and no token is set.
    int start();
    // Stops accepting, lets the calls in progress finish, and returns.
    void stop();
    // Blocks until the service stops (from stop() on another thread).
    void wait();
    bool running() const;
    int port() const;

    struct Reply {
        int status = 200;
        std::string body;
    };
    // The answer to one POST /call, apart from HTTP framing.
    Reply handleCall(std::string_view body, std::string_view authorization);
    bool authorized(std::string_view authorization) const;

private:
    struct Impl;
    ServerModule& module_;
    HttpServiceOptions options_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pag
