// kill -9 of the server process (pag12000 serve) while it writes: every call all or nothing.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include "contracts/client/transport_http.h"
#include "reliability.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

// `pag12000 serve` on a free loopback port, killed with SIGKILL when asked or dropped.
class ServerProcess {
public:
    ServerProcess(const std::string& binary, const std::string& database) {
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
        // "Servidor ... em http://127.0.0.1:PORT (banco ...)": the first line says where.
        std::string line;
        char c = 0;
        pollfd p{out[0], POLLIN, 0};
        while (line.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0 &&
               ::read(out[0], &c, 1) == 1)
            line += c;
        ::close(out[0]);
        const size_t at = line.find("127.0.0.1:");
        if (at != std::string::npos) port_ = std::atoi(line.c_str() + at + 10);
    }
    ~ServerProcess() { kill(); }
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    int port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

struct PendingCall {
    std::string id;
    std::string operation;
    std::vector<Value> args;
};

class KillDuringWrites : public ::testing::Test {
protected:
    void SetUp() override {
        if (onPostgres())
            GTEST_SKIP() << "mata o processo e verifica a integridade do arquivo SQLite "
                            "(PRAGMA integrity_check): só se aplica ao SQLite";
        binary = PAG12000_BIN;
        auto db = openServerDatabase(file.path());
        seedDemo(*db, Date::today());
        lancamento = changeableBoleto(*db);
        db->exec(
            "UPDATE BOLETPAGAR SET VRPEMULBPAG = 2 WHERE CDFILIAL = '0001' AND NRLANBOLPAG = '" +
            lancamento + "'");
        fine = storedFine(*db, lancamento);
        firstNumber = lastNumber(*db);
    }

    static int64_t lastNumber(Database& db) {
        Statement st = db.prepare("SELECT NRULTLANC FROM SEQLANBOLPAG WHERE CDFILIAL = '0001'");
        return st.step() ? st.column(0).asInteger() : 0;
    }

    CallResult send(int port, const PendingCall& c) {
        HttpClientOptions options;
        options.connectTimeout = std::chrono::milliseconds(2000);
        options.readTimeout = std::chrono::milliseconds(10000);
        CallContext ctx = context("01", "ADMIN");
        ctx.requestId = c.id;
        std::vector<Value> args = c.args;
        return HttpTransport("127.0.0.1", port, options).call(ctx, c.operation, args, {});
    }

    // The next call: a reservation or a save raising the fine by one from what the
    // client last knew.
    PendingCall next(int n) {
        const std::string id = "k" + std::to_string(n);
        if (n % 2 == 0) return {id, "PrxBoletoPag", {"0001", 1}};
        return {id, "SetBoletos", {fineChange("0001", lancamento, fine, fine + 1)}};
    }
    void acknowledged(const PendingCall& c, const CallResult& r) {
        ASSERT_TRUE(r.ok) << c.id << " " << c.operation << ": " << r.message;
        if (c.operation == "PrxBoletoPag") {
            EXPECT_TRUE(numbers.insert(r.result.asString()).second) << r.result.asString();
            ++reservations;
        } else {
            fine += 1;
            ++saves;
        }
    }

    void checkInvariants() {
        auto db = openServerDatabase(file.path());
        Statement integrity = db->prepare("PRAGMA integrity_check");
        ASSERT_TRUE(integrity.step());
        EXPECT_EQ(integrity.column(0).asString(), "ok");
        Statement foreign = db->prepare("PRAGMA foreign_key_check");
        EXPECT_FALSE(foreign.step());
        auto stored = [&](const std::string& op) {
            Statement st = db->prepare("SELECT COUNT(*) FROM REQUISICAO WHERE NMOPERACAO = :O");
            st.bind("O", Value(op));
            st.step();
            return st.column(0).asInteger();
        };
        // All or nothing: each reservation and each save is there with its answer.
        EXPECT_EQ(lastNumber(*db) - firstNumber, stored("PrxBoletoPag"));
        EXPECT_DOUBLE_EQ(storedFine(*db, lancamento) - initialFine,
                         static_cast<double>(stored("SetBoletos")));
    }

    TempDatabase file;
    std::string binary, lancamento;
    double fine = 0, initialFine = 0;
    int64_t firstNumber = 0;
    std::set<std::string> numbers;
    int reservations = 0, saves = 0;
};

TEST_F(KillDuringWrites, EveryCallIsAllOrNothingAndRetriedIdsAnswerOnce) {
    ASSERT_FALSE(lancamento.empty());
    initialFine = fine;
    const int kills = reliabilityCount(3, 100);
    std::mt19937 random(20240515);
    int n = 0;
    std::optional<PendingCall> pending;
    for (int round = 0; round < kills; ++round) {
        auto server = std::make_unique<ServerProcess>(binary, file.path());
        ASSERT_GT(server->port(), 0) << "o servidor não iniciou";
        const int port = server->port();
        // The call the last kill interrupted: its outcome is unknown, so it is sent again
        // with the same id and must be answered exactly once.
        if (pending) {
            acknowledged(*pending, send(port, *pending));
            pending.reset();
        }
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            while (!stop) {
                PendingCall c = next(n++);
                CallResult r = send(port, c);
                if (!r.ok && r.message.find("servidor de aplicação em") != std::string::npos) {
                    pending = c;  // no answer: the server died under it
                    return;
                }
                acknowledged(c, r);
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 250));
        server->kill();
        stop = true;
        writer.join();
        checkInvariants();
        if (::testing::Test::HasFailure()) return;
    }
    // The last interrupted call, and the list, after one more restart.
    ServerProcess server(binary, file.path());
    ASSERT_GT(server.port(), 0);
    if (pending) acknowledged(*pending, send(server.port(), *pending));
    // A retry of an id already answered gets the same answer and applies nothing.
    const PendingCall first = next(0);
    HttpClientOptions options;
    CallContext ctx = context("01", "ADMIN");
    ctx.requestId = first.id;
    std::vector<Value> args = first.args;
    CallResult again =
        HttpTransport("127.0.0.1", server.port(), options).call(ctx, first.operation, args, {});
    ASSERT_TRUE(again.ok) << again.message;
    EXPECT_EQ(numbers.count(again.result.asString()), 1u);
    server.kill();
    checkInvariants();
    auto db = openServerDatabase(file.path());
    EXPECT_EQ(lastNumber(*db) - firstNumber, reservations);
    EXPECT_DOUBLE_EQ(storedFine(*db, lancamento), initialFine + saves);
    RdmHabConta module(file.path());
    std::vector<Value> filter = allBoletosFilter();
    CallResult list = module.call(context(), "GetBoletos", filter);
    ASSERT_TRUE(list.ok) << list.message;
    EXPECT_GT(list.result.asPacket()->rowCount(), 100u);
}

}  // namespace
}  // namespace pag::server::testing
