#pragma once

// A raw TCP client for hostile requests: it sends exactly the bytes given (lying
// lengths, broken lines, half bodies) and reads what comes back. Every wait is bounded.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace pag::server::testing {

class RawClient {
public:
    explicit RawClient(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~RawClient() {
        if (fd_ >= 0) ::close(fd_);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return fd_ >= 0; }

    bool send(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    // What arrives until the peer closes or `limit` passes.
    std::string readAll(std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
        std::string out;
        const auto until = std::chrono::steady_clock::now() + limit;
        char buffer[4096];
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            out.append(buffer, static_cast<size_t>(n));
        }
        timedOut_ = std::chrono::steady_clock::now() >= until;
        return out;
    }

    // True when the last readAll gave up waiting instead of seeing the end.
    bool timedOut() const { return timedOut_; }

    // The status of the first answer line ("HTTP/1.1 413 ..." -> 413), 0 without one.
    static int status(const std::string& answer) {
        if (!answer.starts_with("HTTP/1.")) return 0;
        const size_t sp = answer.find(' ');
        return sp == std::string::npos ? 0 : std::atoi(answer.c_str() + sp + 1);
    }
    static std::string body(const std::string& answer) {
        const size_t at = answer.find("\r\n\r\n");
        return at == std::string::npos ? std::string() : answer.substr(at + 4);
    }

private:
    int fd_ = -1;
    bool timedOut_ = false;
};

// A request head for POST /call with the given extra header lines.
inline std::string callHead(const std::string& headers) {
    return "POST /call HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

}  // namespace pag::server::testing
