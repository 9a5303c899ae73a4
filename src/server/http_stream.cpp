#include "server/http_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace pag::server {

namespace {
using AddressOf = int (*)(int, sockaddr*, socklen_t*);

void addressOf(int fd, AddressOf get, std::string& ip, int& port) {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    ip.clear();
    port = -1;
    if (get(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return;
    char text[INET6_ADDRSTRLEN] = {};
    if (addr.ss_family == AF_INET6) {
        const auto* a = reinterpret_cast<const sockaddr_in6*>(&addr);
        inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
        port = ntohs(a->sin6_port);
    } else {
        const auto* a = reinterpret_cast<const sockaddr_in*>(&addr);
        inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
        port = ntohs(a->sin_port);
    }
    ip = text;
}
}  // namespace

ConnectionStream::ConnectionStream(Connection& connection, std::string received,
                                   SteadyClock::time_point requestDeadline,
                                   std::chrono::milliseconds readTimeout,
                                   std::chrono::milliseconds writeTimeout)
    : connection_(connection),
      pending_(std::move(received)),
      deadline_(requestDeadline),
      readTimeout_(readTimeout),
      writeTimeout_(writeTimeout) {}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
    if (position_ < pending_.size()) {
        const size_t n = std::min(size, pending_.size() - position_);
        std::memcpy(ptr, pending_.data() + position_, n);
        position_ += n;
        return static_cast<ssize_t>(n);
    }
    const auto until = std::min(SteadyClock::now() + readTimeout_, deadline_);
    return connection_.read(ptr, size, until);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
    if (!connection_.writeAll(ptr, size, SteadyClock::now() + writeTimeout_)) return -1;
    return static_cast<ssize_t>(size);
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    addressOf(connection_.fd(), getpeername, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
    addressOf(connection_.fd(), getsockname, ip, port);
}

}  // namespace pag::server
