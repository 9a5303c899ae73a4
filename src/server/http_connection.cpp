#include "server/http_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace pag::server {

namespace {
int millisecondsUntil(SteadyClock::time_point until) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - SteadyClock::now()).count();
    if (left <= 0) return 0;
    return left > 60'000 ? 60'000 : static_cast<int>(left);
}
}  // namespace

Connection::Connection(int fd, int stopFd) : fd_(fd), stopFd_(stopFd) {}

Connection::~Connection() {
    close();
}

Connection::Wait Connection::waitFor(short events, SteadyClock::time_point until, bool stoppable) {
    for (;;) {
        pollfd fds[2] = {{fd_, events, 0}, {stopFd_, POLLIN, 0}};
        const int n = poll(fds, stoppable ? 2 : 1, millisecondsUntil(until));
        if (n < 0) {
            if (errno == EINTR) continue;
            return Wait::Error;
        }
        if (stoppable && (fds[1].revents & POLLIN)) return Wait::Stop;
        if (fds[0].revents & (events | POLLHUP | POLLERR)) return Wait::Ready;
        if (SteadyClock::now() >= until) {
            timedOut_ = true;
            return Wait::Timeout;
        }
    }
}

bool Connection::acceptTls(SSL_CTX* ctx, SteadyClock::time_point until) {
    ssl_ = SSL_new(ctx);
    if (!ssl_ || SSL_set_fd(ssl_, fd_) != 1) return false;
    for (;;) {
        const int rc = SSL_accept(ssl_);
        if (rc == 1) return true;
        const int err = SSL_get_error(ssl_, rc);
        short events = 0;
        if (err == SSL_ERROR_WANT_READ)
            events = POLLIN;
        else if (err == SSL_ERROR_WANT_WRITE)
            events = POLLOUT;
        else
            return false;
        if (waitFor(events, until, true) != Wait::Ready) return false;
    }
}

long Connection::read(char* buffer, size_t size, SteadyClock::time_point until) {
    if (fd_ < 0) return -1;
    for (;;) {
        short events = POLLIN;
        if (ssl_) {
            const int rc = SSL_read(ssl_, buffer, static_cast<int>(size > 65536 ? 65536 : size));
            if (rc > 0) return rc;
            const int err = SSL_get_error(ssl_, rc);
            if (err == SSL_ERROR_ZERO_RETURN) return 0;
            if (err == SSL_ERROR_WANT_WRITE)
                events = POLLOUT;
            else if (err != SSL_ERROR_WANT_READ)
                return -1;
        } else {
            const ssize_t rc = ::recv(fd_, buffer, size, 0);
            if (rc >= 0) return rc;
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
        }
        if (waitFor(events, until, true) != Wait::Ready) return -1;
    }
}

bool Connection::writeAll(const char* data, size_t size, SteadyClock::time_point until) {
    if (fd_ < 0) return false;
    while (size > 0) {
        short events = POLLOUT;
        if (ssl_) {
            const int chunk = static_cast<int>(size > 65536 ? 65536 : size);
            const int rc = SSL_write(ssl_, data, chunk);
            if (rc > 0) {
                data += rc;
                size -= static_cast<size_t>(rc);
                continue;
            }
            const int err = SSL_get_error(ssl_, rc);
            if (err == SSL_ERROR_WANT_READ)
                events = POLLIN;
            else if (err != SSL_ERROR_WANT_WRITE)
                return false;
        } else {
            const ssize_t rc = ::send(fd_, data, size, MSG_NOSIGNAL);
            if (rc > 0) {
                data += rc;
                size -= static_cast<size_t>(rc);
                continue;
            }
            if (rc < 0 && errno == EINTR) continue;
            if (rc < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        }
        // A stopping service still delivers answers already being written.
        if (waitFor(events, until, false) != Wait::Ready) return false;
    }
    return true;
}

void Connection::close() {
    if (fd_ < 0) return;
    if (ssl_) {
        SSL_shutdown(ssl_);  // one attempt: a peer that does not answer is not awaited
        SSL_free(ssl_);
        ssl_ = nullptr;
    }
    ::shutdown(fd_, SHUT_WR);
    // Whatever the client still sends (an unread body) is drained briefly: closing with
    // unread data would reset the connection and could destroy the answer in flight.
    const auto until = SteadyClock::now() + std::chrono::milliseconds(500);
    char sink[4096];
    size_t drained = 0;
    while (drained < (1u << 20)) {
        const ssize_t rc = ::recv(fd_, sink, sizeof sink, 0);
        if (rc == 0) break;
        if (rc < 0) {
            if (errno == EINTR) continue;
            if ((errno != EAGAIN && errno != EWOULDBLOCK) ||
                waitFor(POLLIN, until, true) != Wait::Ready)
                break;
            continue;
        }
        drained += static_cast<size_t>(rc);
    }
    ::close(fd_);
    fd_ = -1;
}

}  // namespace pag::server
