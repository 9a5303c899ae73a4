#include "server/http_listener.h"

#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "server/http_answers.h"

namespace pag::server {

Listener::Listener(ListenerOptions options, AcceptedRequestHandler handler)
    : options_(std::move(options)), handler_(std::move(handler)) {
    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) throw std::runtime_error("Não foi possível preparar o serviço HTTP.");
}

Listener::~Listener() {
    if (listenFd_ >= 0) ::close(listenFd_);
    ::close(stopFd_);
}

int Listener::bind() {
    const std::string failure =
        "Não foi possível atender em " + options_.host + ":" + std::to_string(options_.port) + ": ";
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    std::string host = options_.host;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (getaddrinfo(host.c_str(), std::to_string(options_.port).c_str(), &hints, &found) != 0)
        throw std::runtime_error(failure + "endereço inválido.");
    for (addrinfo* a = found; a && listenFd_ < 0; a = a->ai_next) {
        const int fd =
            socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) continue;
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && listen(fd, 256) == 0)
            listenFd_ = fd;
        else
            ::close(fd);
    }
    freeaddrinfo(found);
    if (listenFd_ < 0) throw std::runtime_error(failure + "endereço inválido ou porta em uso.");
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    if (addr.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
}

void Listener::run() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents & POLLIN) break;
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            spawn(fd);
        } else if (errno == EMFILE || errno == ENFILE) {
            // Out of descriptors: let connections end before accepting again.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return active_ == 0; });
}

void Listener::stop() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t rc = ::write(stopFd_, &one, sizeof one);
}

void Listener::refuseBusy(int fd) const {
    const std::string answer = refusalResponse(503, statusMessage(503, 0));
    [[maybe_unused]] const ssize_t rc = ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    ::close(fd);
}

void Listener::spawn(int fd) {
    {
        std::lock_guard lock(mutex_);
        if (active_ >= options_.maxConnections) {
            refuseBusy(fd);
            return;
        }
        ++active_;
    }
    auto finished = [this] {
        std::lock_guard lock(mutex_);
        if (--active_ == 0) idle_.notify_all();
    };
    try {
        std::thread([this, fd, finished] {
            serve(fd);
            finished();
        }).detach();
    } catch (const std::system_error&) {
        finished();
        refuseBusy(fd);
    }
}

void Listener::serve(int fd) {
    Connection connection(fd, stopFd_);
    const auto start = SteadyClock::now();
    const auto headDeadline = start + options_.headTimeout;
    const auto requestDeadline = start + options_.requestTimeout;
    auto refuse = [&](int status, const std::string& message) {
        const std::string answer = refusalResponse(status, message);
        connection.writeAll(answer.data(), answer.size(),
                            SteadyClock::now() + options_.writeTimeout);
    };
    if (options_.tls && !connection.acceptTls(options_.tls, headDeadline)) return;
    std::string received;
    char buffer[8192];
    for (;;) {
        const HeadVerdict verdict = checkRequestHead(received, options_.head);
        if (verdict.state == HeadVerdict::State::Refused)
            return refuse(verdict.status, verdict.message);
        if (verdict.state == HeadVerdict::State::Complete) break;
        const long n = connection.read(buffer, sizeof buffer, headDeadline);
        if (n <= 0) {
            if (connection.timedOut()) refuse(408, statusMessage(408, 0));
            return;
        }
        received.append(buffer, static_cast<size_t>(n));
    }
    try {
        handler_(connection, std::move(received), requestDeadline);
    } catch (...) {
        // Nothing a request does may end the service; the router answers its own errors.
    }
}

}  // namespace pag::server
