// pag12000 bench server: one writer's saves over HTTP while many readers load the boleto
// list at the same time, on a fresh demo database; with --db, what the answers of the
// boleto list cost on a filled database (figures printed, not asserted).
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "contracts/client/connection.h"
#include "contracts/transport_protocol.h"
#include "platform/dataset/client_dataset.h"
#include "platform/dataset/packet.h"
#include "platform/sql/pg_connection.h"
#include "server/boleto_query.h"
#include "server/http_service.h"
#include "server/rdm_hab_conta.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"
#include "tools/commands.h"
#include "tools/database_target.h"

namespace pag::tools {

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<SocketConnection> connect(int port, const std::string& operador) {
    auto c = std::make_unique<SocketConnection>();
    c->Host = "127.0.0.1";
    c->Port = port;
    c->Context = {"01", "0001", operador, std::nullopt};
    return c;
}

// GetBoletos of company 01 due from `from` to `to` (empty: no bound); without
// bounds, the list every screen loads first.
CallResult loadList(SocketConnection& net, Date from = Date(), Date to = Date()) {
    const Date none;
    std::vector<Value> args = {"01", "", "",  "", "", "", 0.0, 0.0,  from, to, "", "",
                               "",   "", " ", "", "", "", "T", none, none, "", "", ""};
    return net.Call("GetBoletos", args);
}

// Moves to a boleto a save may change: open, not sent, not grouped or split, free of
// anticipations and blocks, not due in the past.
bool goToChangeable(ClientDataSet& cds) {
    const Date today = Date::today();
    for (cds.First(); !cds.Eof(); cds.Next())
        if (cds.FieldByName("IDSITUCNABP").AsString() == "00" &&
            cds.FieldByName("IDBPAGREAL").AsString() == "N" &&
            cds.FieldByName("NRPARCBOLPAG").AsString() == "00" &&
            cds.FieldByName("NRLANCANTECIPA").AsString().empty() &&
            cds.FieldByName("IDBLOQNFFIN").AsString() != "B" &&
            cds.FieldByName("DTVENBOLPAG").AsDateTime() >= today)
            return true;
    return false;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

struct Round {
    std::vector<double> saves;  // ms
    long reads = 0;
    double seconds = 0;
};

Round measure(int port, int readers, int saves) {
    std::atomic<bool> stop{false};
    std::atomic<long> reads{0};
    std::vector<std::thread> pool;
    for (int i = 0; i < readers; ++i)
        pool.emplace_back([&, port] {
            auto net = connect(port, "OPER01");
            while (!stop)
                if (loadList(*net).ok) ++reads;
        });
    Round round;
    auto writer = connect(port, "ADMIN");
    ClientDataSet cds("cdsBoletos");
    const auto start = Clock::now();
    CallResult list = loadList(*writer);
    if (list.ok) {
        cds.SetData(list.result.asPacket());
        if (goToChangeable(cds)) {
            for (int i = 0; i < saves; ++i) {
                cds.Edit();
                cds.FieldByName("VRPEMULBPAG")
                    .SetAsFloat(cds.FieldByName("VRPEMULBPAG").AsFloat() + 0.01);
                cds.Post();
                std::vector<Value> args{Value(cds.Delta())};
                const auto t0 = Clock::now();
                CallResult r = writer->Call("SetBoletos", args);
                round.saves.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
                if (!r.ok) {
                    std::fprintf(stderr, "  gravação recusada: %s\n", r.message.c_str());
                    break;
                }
                cds.MergeChangeLog();
            }
        }
    }
    round.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stop = true;
    for (auto& t : pool)
        t.join();
    round.reads = reads;
    return round;
}

void print(const char* title, const Round& r) {
    std::printf("%s\n", title);
    std::printf("  gravações (SetBoletos)  %6zu em %.1f s\n", r.saves.size(), r.seconds);
    std::printf("  gravação p50            %9.1f ms\n", percentile(r.saves, 0.5));
    std::printf("  gravação p90            %9.1f ms\n", percentile(r.saves, 0.9));
    std::printf("  gravação p99            %9.1f ms\n", percentile(r.saves, 0.99));
    std::printf("  leituras da lista       %6ld (%.0f por segundo)\n", r.reads,
                r.seconds > 0 ? static_cast<double>(r.reads) / r.seconds : 0.0);
}

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// A figure of /proc/PID/status ("VmHWM", "VmRSS") in MiB.
double statusMiB(pid_t pid, const std::string& key) {
    FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!f) return 0;
    char line[256];
    double kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::string(line).starts_with(key + ":")) kb = std::atof(line + key.size() + 1);
    std::fclose(f);
    return kb / 1024.0;
}

// The list's SELECT as SQLite alone runs it: every column of every row read as text.
double rawSelectMs(const std::string& dbPath, const std::string& where, long& rows) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    const std::string sql = server::boletoSelectSql(where);
    double ms = -1;
    if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        const auto t0 = Clock::now();
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                sqlite3_column_text(st, i);
                sqlite3_column_bytes(st, i);
            }
        }
        ms = msSince(t0);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ms;
}

// The whole answer of a call as the protocol writes it, counted and dropped.
size_t answerBytes(CallResult& r) {
    size_t bytes = 0;
    JsonWriter out([&bytes](std::string_view piece) { bytes += piece.size(); });
    writeCallReply({r.ok, r.result, r.message, {}}, out);
    out.flush();
    return bytes;
}

struct InProcessFigures {
    double listMs = -1, dueTodayMs = -1, answerMiB = 0, peakMiB = 0;
};

// Both calls in process, as `pag12000 call --db` makes them, in a child process so that
// the peak memory is the call's own.
InProcessFigures inProcess(const std::string& dbPath) {
    InProcessFigures figures;
    int fds[2];
    if (pipe(fds) != 0) return figures;
    const pid_t child = fork();
    if (child == 0) {
        ::close(fds[0]);
        SocketConnection net;
        net.Context = {"01", "0001", "ADMIN", std::nullopt};
        net.EmbeddedServer = [dbPath] { return std::make_unique<server::RdmHabConta>(dbPath); };
        const Date today = Date::today();
        auto t0 = Clock::now();
        CallResult r = loadList(net, today, today);
        if (r.ok) answerBytes(r);
        figures.dueTodayMs = r.ok ? msSince(t0) : -1;
        r = CallResult();
        const double before = statusMiB(getpid(), "VmRSS");
        t0 = Clock::now();
        r = loadList(net);
        const size_t bytes = r.ok ? answerBytes(r) : 0;
        figures.listMs = r.ok ? msSince(t0) : -1;
        figures.answerMiB = static_cast<double>(bytes) / (1024.0 * 1024.0);
        figures.peakMiB = statusMiB(getpid(), "VmHWM") - before;
        const bool sent = write(fds[1], &figures, sizeof figures) == sizeof figures;
        _exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    if (child > 0) {
        if (read(fds[0], &figures, sizeof figures) != sizeof figures) figures = {};
        waitpid(child, nullptr, 0);
    }
    ::close(fds[0]);
    return figures;
}

// The HTTP service on the database in a child process: its port comes through the
// pipe, and it stops when the pipe closes.
struct ServedChild {
    pid_t pid = -1;
    int port = 0;
    int control = -1;  // closing it stops the child
};

ServedChild serve(const std::string& dbPath) {
    ServedChild served;
    int up[2], down[2];
    if (pipe(up) != 0) return served;
    if (pipe(down) != 0) {
        ::close(up[0]);
        ::close(up[1]);
        return served;
    }
    served.pid = fork();
    if (served.pid == 0) {
        ::close(up[0]);
        ::close(down[1]);
        int port = 0;
        try {
            server::RdmHabConta module(dbPath);
            server::HttpService service(module);
            port = service.start();
            if (write(up[1], &port, sizeof port) != sizeof port) _exit(1);
            char c;
            while (read(down[0], &c, 1) > 0) {
            }
            service.stop();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "pag12000 bench server: %s\n", e.what());
            if (port == 0 && write(up[1], &port, sizeof port) != sizeof port) _exit(1);
        }
        _exit(0);
    }
    ::close(up[1]);
    ::close(down[0]);
    served.control = down[1];
    if (served.pid < 0 || read(up[0], &served.port, sizeof served.port) != sizeof served.port)
        served.port = 0;
    ::close(up[0]);
    return served;
}

// p50 of every call of `clients` clients calling `rounds` times at once; rows of the
// last answer.
double httpP50(int port, int clients, int rounds, Date from, Date to, long& rows) {
    std::vector<std::vector<double>> times(static_cast<size_t>(clients));
    std::atomic<long> lastRows{-1};
    std::vector<std::thread> pool;
    for (int c = 0; c < clients; ++c)
        pool.emplace_back([&, c] {
            auto net = connect(port, "OPER01");
            for (int i = 0; i < rounds; ++i) {
                const auto t0 = Clock::now();
                CallResult r = loadList(*net, from, to);
                if (!r.ok) {
                    std::fprintf(stderr, "  GetBoletos falhou: %s\n", r.message.c_str());
                    return;
                }
                times[static_cast<size_t>(c)].push_back(msSince(t0));
                lastRows = static_cast<long>(r.result.asPacket()->rowCount());
            }
        });
    for (auto& t : pool)
        t.join();
    std::vector<double> all;
    for (const auto& t : times)
        all.insert(all.end(), t.begin(), t.end());
    rows = lastRows;
    return all.empty() ? -1 : percentile(all, 0.5);
}

void printAnswers(const ServerBenchFigures& f) {
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("Respostas de GetBoletos (empresa 01)\n");
    std::printf("  lista completa: %ld boletos, resposta de %.1f MiB\n", f.listRows,
                f.listAnswerMiB);
    std::printf("    SQLite (mesmo SELECT)     %9.1f ms\n", f.listRawMs);
    std::printf(
        "    chamada no processo       %9.1f ms (%.2fx SQLite), pico %.1f MiB "
        "(%.2fx a resposta)\n",
        f.listInProcessMs, ratio(f.listInProcessMs, f.listRawMs), f.listInProcessPeakMiB,
        ratio(f.listInProcessPeakMiB, f.listAnswerMiB));
    std::printf("    HTTP, %2d clientes, p50    %9.1f ms\n", f.listClients, f.listHttpP50Ms);
    std::printf("  vencendo hoje: %ld boletos\n", f.dueTodayRows);
    std::printf("    SQLite (mesmo SELECT)     %9.1f ms\n", f.dueTodayRawMs);
    std::printf("    chamada no processo       %9.1f ms (%.2fx SQLite)\n", f.dueTodayInProcessMs,
                ratio(f.dueTodayInProcessMs, f.dueTodayRawMs));
    std::printf("    HTTP, %2d clientes, p50    %9.1f ms\n", f.dueTodayClients,
                f.dueTodayHttpP50Ms);
    std::printf("  memória do servidor (pico)  %9.1f MiB\n", f.serverPeakRssMiB);
}

}  // namespace

ServerBenchFigures benchServerAnswers(const std::string& dbPath, int listClients,
                                      int dueTodayClients, int rounds) {
    ServerBenchFigures f;
    f.listClients = listClients;
    f.dueTodayClients = dueTodayClients;
    const std::string today = Date::today().toIso();
    const std::string company = "B.CDEMPRESA = '01'";
    f.listRawMs = rawSelectMs(dbPath, company, f.listRows);
    f.dueTodayRawMs = rawSelectMs(
        dbPath,
        company + " AND B.DTVENBOLPAG >= '" + today + "' AND B.DTVENBOLPAG <= '" + today + "'",
        f.dueTodayRows);
    const InProcessFigures local = inProcess(dbPath);
    f.listInProcessMs = local.listMs;
    f.dueTodayInProcessMs = local.dueTodayMs;
    f.listAnswerMiB = local.answerMiB;
    f.listInProcessPeakMiB = local.peakMiB;

    ServedChild served = serve(dbPath);
    if (served.port > 0) {
        long rows = 0;
        f.listHttpP50Ms = httpP50(served.port, listClients, rounds, Date(), Date(), rows);
        const Date day = Date::today();
        f.dueTodayHttpP50Ms = httpP50(served.port, dueTodayClients, rounds, day, day, rows);
        f.serverPeakRssMiB = statusMiB(served.pid, "VmHWM");
    }
    if (served.control >= 0) ::close(served.control);
    if (served.pid > 0) waitpid(served.pid, nullptr, 0);
    return f;
}

int runBenchServer(int argc, char** argv) {
    int readers = 64, saves = 200;
    std::string answersDb;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--readers" || a == "--saves") && i + 1 < argc) {
            (a == "--readers" ? readers : saves) = std::atoi(argv[++i]);
        } else if (a == "--db" && i + 1 < argc) {
            answersDb = argv[++i];
        } else {
            std::fprintf(stderr,
                         "uso: pag12000 bench server [--readers 64] [--saves 200] | bench server "
                         "--db ARQUIVO\n");
            return 2;
        }
    }
    if (!answersDb.empty()) {
        // The answers are set next to SQLite running the same SELECT on the same file.
        if (isPostgresUri(answersDb)) {
            std::fprintf(stderr,
                         "pag12000 bench server: --db aceita só um arquivo SQLite; para "
                         "PostgreSQL use pag12000 bench --pg URI.\n");
            return 2;
        }
        if (!databaseFileExists(answersDb)) {
            std::fprintf(stderr, "pag12000 bench server: o banco %s não existe.\n",
                         answersDb.c_str());
            return 2;
        }
        printAnswers(benchServerAnswers(answersDb));
        return 0;
    }
    if (readers < 0 || saves <= 0) {
        std::fprintf(stderr, "pag12000 bench server: use --readers >= 0 e --saves > 0.\n");
        return 2;
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("pag12000_bench_" + std::to_string(::getpid()) + ".db"))
                                 .string();
    {
        auto db = server::openServerDatabase(path);
        server::seedDemo(*db, Date::today());
    }
    int status = 0;
    try {
        server::RdmHabConta module(path);
        server::HttpService service(module);
        const int port = service.start();
        std::printf("Servidor HTTP em 127.0.0.1:%d, banco de demonstração\n", port);
        print("Sem leitores:", measure(port, 0, saves));
        const std::string title = "Com " + std::to_string(readers) + " leitores da lista:";
        print(title.c_str(), measure(port, readers, saves));
        service.stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 bench server: %s\n", e.what());
        status = 1;
    }
    removeDatabase(path);
    return status;
}

}  // namespace pag::tools

namespace pag::tools {

bool BenchGoToChangeable(ClientDataSet& cds) {
    return goToChangeable(cds);
}

}  // namespace pag::tools
