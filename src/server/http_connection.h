#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include <openssl/ssl.h>

namespace pag::server {

using SteadyClock = std::chrono::steady_clock;

// One accepted TCP connection, plain or TLS, whose every wait is bounded: each read
// and write waits at most until the deadline it is given, and reads also give up as
// soon as the service is stopping (stopFd becomes readable). The socket is
// non-blocking; nothing here blocks past a deadline, whatever the peer does.
class Connection {
public:
    Connection(int fd, int stopFd);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // TLS handshake on this connection (before any read); false when it fails or
    // does not finish by the deadline.
    bool acceptTls(SSL_CTX* ctx, SteadyClock::time_point until);

    // Up to size bytes; 0 at the peer's end of stream, -1 on error, timeout or stop.
    long read(char* buffer, size_t size, SteadyClock::time_point until);
    // The whole buffer, or false.
    bool writeAll(const char* data, size_t size, SteadyClock::time_point until);

    // Ends the connection politely: the answer already written is flushed, what the
    // client still sends is drained for a moment, so the peer reads the answer
    // instead of a reset, and the socket is closed.
    void close();

    int fd() const { return fd_; }
    bool timedOut() const { return timedOut_; }

private:
    enum class Wait { Ready, Timeout, Stop, Error };
    Wait waitFor(short events, SteadyClock::time_point until, bool stoppable);

    int fd_;
    int stopFd_;
    SSL* ssl_ = nullptr;
    bool timedOut_ = false;
};

}  // namespace pag::server
