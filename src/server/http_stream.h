#pragma once

#include <chrono>
#include <string>

#include "contracts/transport_httplib.h"
#include "server/http_connection.h"

namespace pag::server {

// The request of one connection as the HTTP library's router reads it: first the
// bytes the listener already read (the head), then the socket. Each read waits at
// most readTimeout and never past the request's deadline; each write at most
// writeTimeout.
class ConnectionStream final : public httplib::Stream {
public:
    ConnectionStream(Connection& connection, std::string received,
                     SteadyClock::time_point requestDeadline, std::chrono::milliseconds readTimeout,
                     std::chrono::milliseconds writeTimeout);

    bool is_readable() const override { return true; }
    bool is_writable() const override { return true; }
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return connection_.fd(); }

private:
    Connection& connection_;
    std::string pending_;
    size_t position_ = 0;
    SteadyClock::time_point deadline_;
    std::chrono::milliseconds readTimeout_;
    std::chrono::milliseconds writeTimeout_;
};

}  // namespace pag::server
