// pag12000 bench dataset: figures for the boleto dataset alone at scale (printed, not
// asserted).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "contracts/screen_records.h"
#include "platform/dataset/client_dataset.h"
#include "testing/boleto_sample.h"
#include "tools/commands.h"

namespace pag::tools {

namespace {
double residentMiB() {
    std::ifstream f("/proc/self/statm");
    long pages = 0, resident = 0;
    f >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

double peakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

template <typename F>
double millis(F&& f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}
}  // namespace

int runBenchDataset(int argc, char** argv) {
    int rows = 100000;
    for (int i = 0; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--rows" && i + 1 < argc) {
            rows = std::atoi(argv[++i]);
        } else {
            return printUsage("uso: pag12000 bench dataset [--rows N]\n");
        }
    }
    if (rows <= 0) {
        std::fprintf(stderr, "pag12000 bench dataset: --rows deve ser um número positivo.\n");
        return 2;
    }
    std::printf("Conjunto de boletos: %d linhas de %zu campos\n", rows, BoletoFieldDefs().size());
    double before = residentMiB();
    PacketPtr packet;
    double gen = millis([&] { packet = MakeSampleBoletos(rows); });
    double withPacket = residentMiB();
    ClientDataSet ds("cdsBoletos");
    ds.SetFieldDefs(BoletoFieldDefs());
    double load = millis([&] { ds.SetData(packet); });
    packet.reset();
    double dataset = residentMiB() - (withPacket - before);
    std::printf("  gerar pacote            %9.1f ms\n", gen);
    std::printf("  carregar (SetData)      %9.1f ms\n", load);
    double sort = millis([&] { ds.SetIndexFieldNames("NMRAZSOCFORN;DTVENBOLPAG"); });
    std::printf("  ordenar por 2 campos    %9.1f ms\n", sort);
    double sortNum = millis([&] { ds.SetIndexFieldNames("VRFINALBPAG"); });
    std::printf("  ordenar por valor       %9.1f ms\n", sortNum);
    ds.SetIndexFieldNames("");
    std::string last = std::to_string(rows);
    last.insert(0, 10 - last.size(), '0');
    bool found = false;
    double locate = millis([&] {
        found = ds.Locate("CDFILIAL;NRLANBOLPAG", {Value("0001"), Value(last)});
    });
    std::printf("  localizar a última      %9.1f ms (%s)\n", locate, found ? "achou" : "não achou");
    int filtered = 0;
    double filter = millis([&] {
        ds.SetFilter("IDHABIBPAG = 'S' and VRFINALBPAG > 1000");
        ds.SetFiltered(true);
        filtered = ds.RecordCount();
    });
    std::printf("  filtrar                 %9.1f ms (%d linhas)\n", filter, filtered);
    ds.SetFiltered(false);
    double walk = millis([&] {
        double total = 0;
        for (ds.First(); !ds.Eof(); ds.Next())
            total += ds.FieldByName("VRFINALBPAG").AsFloat();
        if (total < 0) std::printf("?");
    });
    std::printf("  percorrer somando       %9.1f ms\n", walk);
    std::printf("  memória do conjunto     %9.1f MiB (residente, aprox.)\n", dataset - before);
    std::printf("  pico de memória         %9.1f MiB\n", peakMiB());
    return 0;
}

}  // namespace pag::tools
