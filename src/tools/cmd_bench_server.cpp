// pag12000 bench server: one writer's saves over HTTP while many readers load the boleto
// list at the same time, on a fresh demo database (figures printed, not asserted).
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
#include "platform/dataset/client_dataset.h"
#include "server/http_service.h"
#include "server/rdm_hab_conta.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"
#include "tools/commands.h"

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

// GetBoletos of company 01 without criteria: the list every screen loads first.
CallResult loadList(SocketConnection& net) {
    const Date none;
    std::vector<Value> args = {"01", "", "",  "", "", "", 0.0, 0.0,  none, none, "", "",
                               "",   "", " ", "", "", "", "T", none, none, "",   "", ""};
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

}  // namespace

int runBenchServer(int argc, char** argv) {
    int readers = 64, saves = 200;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--readers" || a == "--saves") && i + 1 < argc) {
            (a == "--readers" ? readers : saves) = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "uso: pag12000 bench server [--readers 64] [--saves 200]\n");
            return 2;
        }
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
    for (const char* s : {"", "-wal", "-shm"})
        std::filesystem::remove(path + s);
    return status;
}

}  // namespace pag::tools

namespace pag::tools {

bool BenchGoToChangeable(ClientDataSet& cds) {
    return goToChangeable(cds);
}

}  // namespace pag::tools
