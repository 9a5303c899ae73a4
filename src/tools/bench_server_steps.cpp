#include "tools/bench_server_steps.h"
#include "tools/proc_status.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <latch>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "contracts/client/connection.h"
#include "platform/dataset/packet.h"
#include "server/rdm_hab_conta.h"

extern char** environ;

namespace pag::tools {

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Starts this same program with the given arguments; its standard output goes to
// outFd (or nowhere when -1), its errors nowhere.
pid_t spawnSelf(const std::vector<std::string>& args, int outFd) {
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&fa, outFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&fa, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) throw std::runtime_error("não foi possível iniciar " + exe);
    return pid;
}

// Waits up to `seconds` for the child to end, then kills it.
int reap(pid_t pid, int seconds) {
    int status = 0;
    for (int i = 0; i < seconds * 20; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return status;
}

std::string writeArgs(const std::vector<Value>& args, const std::string& name) {
    nlohmann::json j = nlohmann::json::array();
    for (const Value& v : args)
        j.push_back(valueToJson(v));
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("pag12000_bench_" + std::to_string(::getpid()) + "_" + name))
                                 .string();
    std::ofstream(path) << j.dump();
    return path;
}

std::vector<Value> readArgs(const std::string& path) {
    std::ifstream f(path);
    const nlohmann::json j = nlohmann::json::parse(f);
    std::vector<Value> out;
    for (const auto& v : j)
        out.push_back(valueFromJson(v));
    return out;
}

void setUp(SocketConnection& net, const std::string& host, int port) {
    net.Host = host;
    net.Port = port;
    net.Context = {"01", "0001", "ADMIN", std::nullopt};
}

long rowsOf(const CallResult& r) {
    const auto p = r.result.asPacket();
    return p ? static_cast<long>(p->rows.size()) : 0;
}

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    if (port == 0) throw std::runtime_error("nenhuma porta livre no endereço local");
    return port;
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

int RunCallChild(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string db = argv[0];
    SocketConnection net;
    setUp(net, "", 0);
    net.EmbeddedServer = [db] { return std::make_unique<server::RdmHabConta>(db); };
    {
        std::vector<Value> warm = readArgs(argv[1]);
        if (!net.Call("GetBoletos", warm).ok) return 1;
    }
    std::vector<Value> args = readArgs(argv[2]);
    // The peak from here on: the call's own.
    const bool reset = static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5");
    const long base = statusKiB("self", "VmRSS:");
    const auto t0 = Clock::now();
    CallResult r = net.Call("GetBoletos", args);
    const double ms = since(t0);
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const long peak = reset ? statusKiB("self", "VmHWM:") : u.ru_maxrss;
    if (!r.ok) return 1;
    size_t bytes = 0;
    if (auto p = r.result.asPacket())
        for (const std::string& row : p->rows)
            bytes += row.size();
    std::printf("%.3f %ld %ld %zu %ld\n", ms, base, peak, bytes, rowsOf(r));
    return 0;
}

CallFigures RunInProcessCall(const std::string& path, const std::vector<Value>& warmArgs,
                             const std::vector<Value>& args) {
    CallFigures f;
    const std::string warm = writeArgs(warmArgs, "warm.json");
    const std::string main = writeArgs(args, "args.json");
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t pid = spawnSelf({"bench", "call-child", path, warm, main}, fds[1]);
    ::close(fds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    const int status = reap(pid, 600);
    std::filesystem::remove(warm);
    std::filesystem::remove(main);
    long base = 0, peak = 0, rows = 0;
    size_t bytes = 0;
    std::istringstream in(out);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        !(in >> f.ms >> base >> peak >> bytes >> rows)) {
        f.failure = "a chamada GetBoletos falhou";
        return f;
    }
    f.peakMiB = static_cast<double>(peak - base) / 1024.0;
    f.answerMiB = static_cast<double>(bytes) / (1024.0 * 1024.0);
    f.rows = rows;
    return f;
}

ServeFigures RunServe(const std::string& path, const std::vector<Value>& args, int clients,
                      int calls) {
    ServeFigures f;
    const int port = freePort();
    const pid_t pid = spawnSelf({"serve", "--db", path, "--port", std::to_string(port)}, -1);
    bool up = false;
    for (int i = 0; i < 200 && !up; ++i) {
        up = accepts(port);
        if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::vector<double> times;
    std::mutex m;
    if (up) {
        std::latch start(clients);
        std::vector<std::thread> pool;
        for (int c = 0; c < clients; ++c)
            pool.emplace_back([&] {
                SocketConnection net;
                setUp(net, "127.0.0.1", port);
                start.arrive_and_wait();
                for (int i = 0; i < calls; ++i) {
                    std::vector<Value> a = args;
                    const auto t0 = Clock::now();
                    CallResult r = net.Call("GetBoletos", a);
                    const double ms = since(t0);
                    std::lock_guard<std::mutex> lock(m);
                    if (!r.ok) {
                        f.failure = r.message;
                        return;
                    }
                    times.push_back(ms);
                    f.rows = rowsOf(r);
                }
            });
        for (auto& t : pool)
            t.join();
        f.serverMiB = static_cast<double>(statusKiB(std::to_string(pid), "VmHWM:")) / 1024.0;
    } else {
        f.failure = "o serviço não atendeu";
    }
    kill(pid, SIGTERM);
    reap(pid, 10);
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        f.p50 = times[(times.size() - 1) / 2];
    }
    return f;
}

}  // namespace pag::tools
