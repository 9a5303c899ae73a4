#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

#include <openssl/ssl.h>

#include "server/http_connection.h"
#include "server/http_request_head.h"

namespace pag::server {

struct ListenerOptions {
    std::string host = "127.0.0.1";
    int port = 0;            // 0: any free port
    SSL_CTX* tls = nullptr;  // HTTPS when set (owned by the caller)
    HeadLimits head;
    // The head (and TLS handshake) must arrive whole within headTimeout; each read of
    // the body may wait readTimeout; the whole request must arrive within
    // requestTimeout of the connection, however the client trickles it.
    std::chrono::milliseconds headTimeout{5000};
    std::chrono::milliseconds readTimeout{10000};
    std::chrono::milliseconds requestTimeout{30000};
    std::chrono::milliseconds writeTimeout{10000};
    // Connections served at once, each on a thread of its own; one more is answered
    // 503 at once.
    size_t maxConnections = 512;
};

// Receives a connection whose head was accepted: everything read so far (the head
// and perhaps the start of the body) and the moment by which the request must have
// arrived.
using AcceptedRequestHandler =
    std::function<void(Connection&, std::string received, SteadyClock::time_point requestDeadline)>;

// The accept loop. A slow or stalled client holds only its own thread, and never
// longer than the deadlines above, so it cannot starve the others; a malformed head
// or an announced body over the limit is answered at once, before any body is read.
class Listener {
public:
    Listener(ListenerOptions options, AcceptedRequestHandler handler);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Binds and listens; returns the port. Throws std::runtime_error (pt-BR).
    int bind();
    // Accepts until stop(); returns once every connection has ended.
    void run();
    // Wakes run() and every connection still reading its request; answers already
    // being computed or written are finished.
    void stop();

private:
    void spawn(int fd);
    void serve(int fd);
    void refuseBusy(int fd) const;

    ListenerOptions options_;
    AcceptedRequestHandler handler_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    std::mutex mutex_;
    std::condition_variable idle_;
    size_t active_ = 0;
};

}  // namespace pag::server
