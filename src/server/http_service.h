#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "contracts/connection_contract.h"
#include "contracts/transport_protocol.h"

namespace pag::server {

struct HttpServiceOptions {
    std::string host = "127.0.0.1";
    int port = 0;  // 0: any free port, read back with port()
    // Required from callers when not empty; required to exist when host is not a
    // loopback address.
    std::string token;
    // HTTPS with this certificate chain and key (PEM); required off loopback unless
    // insecure is set.
    std::string certFile;
    std::string keyFile;
    bool insecure = false;  // plain HTTP off loopback, by explicit choice
    size_t maxBodyBytes = 64u * 1024u * 1024u;
    int maxJsonDepth = 64;
    // The head of a request must arrive within headTimeout; each read of its body may
    // wait readTimeout; the whole request must arrive within requestTimeout; each
    // write of the answer may wait writeTimeout.
    std::chrono::milliseconds headTimeout{5000};
    std::chrono::milliseconds readTimeout{10000};
    std::chrono::milliseconds requestTimeout{30000};
    std::chrono::milliseconds writeTimeout{10000};
    size_t maxConnections = 512;
    // Reads (ServerModule::readsOnly) decoded, run and encoded at once; more wait their
    // turn. Saves never wait here. 0: one per processor (at least 2).
    unsigned maxConcurrentReads = 0;
};

// Serves a ServerModule over HTTP or HTTPS: POST /call and GET /health
// (docs/protocol.md). Each connection is served on a thread of its own and calls
// reach the module concurrently, so the module must be thread-safe (RdmHabConta is:
// reads run side by side, writes are serialised by the database). Reads run at most
// maxConcurrentReads at a time, so that many readers never crowd out a save. A bad request gets
// a 4xx answer with a pt-BR message; nothing a client sends stops the service or
// holds it up for the others.
class HttpService {
public:
    HttpService(ServerModule& module, HttpServiceOptions options = {});
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds the address and serves on a background thread; returns the port. Throws
    // std::runtime_error (pt-BR) when the address cannot be bound, when it is not a
    // loopback address and no token is set or neither HTTPS nor insecure is chosen,
    // or when the certificate or key cannot be used.
    int start();
    // Stops accepting, drops requests still arriving, lets the calls in progress
    // finish, and returns.
    void stop();
    // Blocks until the service stops (from stop() on another thread).
    void wait();
    bool running() const;
    int port() const;
    bool secure() const;

    struct Reply {
        int status = 200;
        std::string body;
        // A successful call's answer, written row by row to the response instead of
        // into body (body is then empty).
        std::shared_ptr<const CallReply> streamed;
    };
    // The answer to one POST /call, apart from HTTP framing.
    Reply handleCall(std::string_view body, std::string_view authorization);
    bool authorized(std::string_view authorization) const;

private:
    struct Impl;
    void checkAddress() const;
    ServerModule& module_;
    HttpServiceOptions options_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pag::server
