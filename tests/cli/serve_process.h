#pragma once

// `pag12000 serve --db DB` as a process of its own on a free loopback port, stopped
// (TERM, then KILL) when the object goes. Waits are bounded.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace pag::testing {

class ServeProcess {
public:
    ServeProcess(const std::string& binary, const std::string& database) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            execl(binary.c_str(), binary.c_str(), "serve", "--db", database.c_str(), "--port", "0",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(out[1]);
        readFirstLine(out[0]);
        ::close(out[0]);
        const size_t at = line_.find("127.0.0.1:");
        if (at != std::string::npos) port_ = std::atoi(line_.c_str() + at + 10);
    }
    ~ServeProcess() { stop(); }
    ServeProcess(const ServeProcess&) = delete;
    ServeProcess& operator=(const ServeProcess&) = delete;

    // 0 when the server did not say where it listens.
    int port() const { return port_; }
    // "Servidor ... em http://127.0.0.1:PORT (banco ...)".
    const std::string& banner() const { return line_; }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    // The banner comes once the database is open and the port bound: 30 s at most.
    void readFirstLine(int fd) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        char c = 0;
        pollfd p{fd, POLLIN, 0};
        while (line_.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline && poll(&p, 1, 1000) >= 0) {
            if (!(p.revents & (POLLIN | POLLHUP))) continue;
            if (::read(fd, &c, 1) != 1) break;
            line_ += c;
        }
    }

    pid_t pid_ = -1;
    int port_ = 0;
    std::string line_;
};

}  // namespace pag::testing
