// pag12000 bench: the boleto screen and the server at 10,000 and 100,000 boletos, in
// one run: each step's time at both sizes, next to SQLite alone running the same
// SELECT, and how the time grows from one size to the other (printed, not asserted).
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/format.h"
#include "platform/sql/pg_connection.h"
#include "platform/sql/scratch_schema.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"
#include "tools/bench_screen.h"
#include "tools/bench_server_steps.h"
#include "tools/bench_sql.h"
#include "tools/commands.h"
#include "tools/database_target.h"

namespace pag::tools {

namespace {

constexpr int kSizes[] = {10000, 100000};

struct SizeRun {
    int boletos = 0;
    bool measured = false;
    ScreenRun screen;
    RawSelect rawAll, rawToday;
    CallFigures call;
    ServeFigures serveAll, serveToday;
};

std::string fmt(const char* f, double a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, f, a);
    return buf;
}

std::string ms(double v) {
    return v >= 1000 ? fmt("%.2f s", v / 1000) : fmt("%.1f ms", v);
}

std::string vsRaw(double v, double raw) {
    return raw > 0 ? " (" + fmt("%.2f", v / raw) + "x SQLite)" : "";
}

// One line of the table: the step's text at each size, and the exponent of its time.
struct Line {
    std::string step;
    std::string cell[2];
    double t[2] = {0, 0};
    std::string target;
};

size_t width(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

std::string pad(const std::string& s, size_t w) {
    return s + std::string(w > width(s) ? w - width(s) : 0, ' ');
}

void printTable(const std::vector<Line>& lines) {
    const std::string head[] = {"passo", "10.000 boletos", "100.000 boletos", "expoente", "meta"};
    size_t w[4] = {width(head[0]), width(head[1]), width(head[2]), width(head[3])};
    for (const Line& l : lines) {
        w[0] = std::max(w[0], width(l.step));
        w[1] = std::max(w[1], width(l.cell[0]));
        w[2] = std::max(w[2], width(l.cell[1]));
    }
    auto row = [&](const std::string& a, const std::string& b, const std::string& c,
                   const std::string& d, const std::string& e) {
        std::printf("%s | %s | %s | %s | %s\n", pad(a, w[0]).c_str(), pad(b, w[1]).c_str(),
                    pad(c, w[2]).c_str(), pad(d, w[3]).c_str(), e.c_str());
    };
    row(head[0], head[1], head[2], head[3], head[4]);
    row(std::string(w[0], '-'), std::string(w[1], '-'), std::string(w[2], '-'),
        std::string(w[3], '-'), "----");
    for (const Line& l : lines) {
        const bool both = l.t[0] > 0 && l.t[1] > 0;
        row(l.step, l.cell[0], l.cell[1], both ? fmt("%.2f", std::log10(l.t[1] / l.t[0])) : "-",
            l.target);
    }
}

// The server's three GetBoletos figures of one run, as the table shows them.
struct ServerCells {
    std::string text[3];
};

ServerCells serverCells(const SizeRun& s) {
    ServerCells c;
    c.text[0] = s.call.failure.empty() ? ms(s.call.ms) + vsRaw(s.call.ms, s.rawAll.ms) + ", pico " +
                                             fmt("%.0f MiB", s.call.peakMiB) + " (resposta " +
                                             fmt("%.0f MiB", s.call.answerMiB) + ")"
                                       : "falhou: " + s.call.failure;
    c.text[1] = s.serveAll.failure.empty()
                    ? "p50 " + ms(s.serveAll.p50) + ", RSS " + fmt("%.0f MiB", s.serveAll.serverMiB)
                    : "falhou: " + s.serveAll.failure;
    c.text[2] = s.serveToday.failure.empty()
                    ? "p50 " + ms(s.serveToday.p50) + vsRaw(s.serveToday.p50, s.rawToday.ms) +
                          ", " + std::to_string(s.serveToday.rows) + " linhas"
                    : "falhou: " + s.serveToday.failure;
    return c;
}

std::vector<Line> tableOf(const SizeRun (&r)[2]) {
    std::vector<Line> lines(10);
    lines[0] = {"carga da tela (confirma do filtro, ±10 anos)", {}, {}, "≤ 1,2x SQLite"};
    lines[1] = {"marcar todos", {}, {}, "≤ 300 ms"};
    lines[2] = {"desmarcar todos (CONF_DESMARC)", {}, {}, "≤ 300 ms, linear"};
    lines[3] = {"uma habilitação gravada (SetBoletos)", {}, {}, "≤ 5 ms, qualquer tamanho"};
    lines[4] = {"ordenar pelo nome do fornecedor", {}, {}, "≤ 50 ms, N log N"};
    lines[5] = {"call GetBoletos no processo", {}, {}, "≤ 1,5x SQLite, memória ≤ 2x resposta"};
    lines[6] = {
        "serve: GetBoletos de todas as linhas, 4 clientes", {}, {}, "p50 ≤ 2 s, RSS ≤ 300 MB"};
    lines[7] = {"serve: os que vencem hoje, 16 clientes", {}, {}, "p50 ≤ 1 s"};
    lines[8] = {"exportar a lista em CSV", {}, {}, "≤ 2 s (100 mil)"};
    lines[9] = {"lista para impressão (todas as linhas, paginada)", {}, {}, "-"};
    for (int i = 0; i < 2; ++i) {
        const SizeRun& s = r[i];
        if (!s.measured) {
            for (Line& l : lines)
                l.cell[i] = "-";
            continue;
        }
        const ScreenRun& t = s.screen;
        auto set = [&](size_t n, double v, std::string text) {
            lines[n].t[i] = v;
            lines[n].cell[i] = std::move(text);
        };
        if (t.failure.empty()) {
            set(0, t.load.ms,
                ms(t.load.ms) + vsRaw(t.load.ms, s.rawAll.ms) + " (servidor " +
                    ms(t.load.serverMs) + "), " + std::to_string(t.listed) + " linhas");
            set(1, t.markAll.ms, ms(t.markAll.ms) + " (servidor " + ms(t.markAll.serverMs) + ")");
            set(2, t.unmarkAll.ms,
                ms(t.unmarkAll.ms) + " (servidor " + ms(t.unmarkAll.serverMs) + ")");
            set(3, t.save.ms, ms(t.save.ms) + " (servidor " + ms(t.save.serverMs) + ")");
            set(4, t.sort.ms, ms(t.sort.ms));
            set(8, t.csv.ms,
                ms(t.csv.ms) + ", pico +" + fmt("%.0f MiB", t.csvPeakMiB) + ", " +
                    std::to_string(t.csvRows) + " linhas");
            set(9, t.report.ms,
                ms(t.report.ms) + ", pico +" + fmt("%.0f MiB", t.reportPeakMiB) + ", " +
                    std::to_string(t.reportPages) + " páginas");
        } else {
            for (size_t n : {0, 1, 2, 3, 4, 8, 9})
                lines[n].cell[i] = "falhou: " + t.failure;
        }
        const ServerCells c = serverCells(s);
        set(5, s.call.ms, c.text[0]);
        set(6, s.serveAll.p50, c.text[1]);
        set(7, s.serveToday.p50, c.text[2]);
    }
    return lines;
}

// GetBoletos with the screen's own arguments: in process, then through `serve`.
void measureServer(SizeRun& s, const std::string& path) {
    s.call = RunInProcessCall(path, s.screen.todayArgs, s.screen.allArgs);
    s.serveAll = RunServe(path, s.screen.allArgs, 4, 2);
    s.serveToday = RunServe(path, s.screen.todayArgs, 16, 2);
}

void measure(SizeRun& s, const std::string& path) {
    s.measured = true;
    std::fprintf(stderr, "  %d boletos: tela...\n", s.boletos);
    s.screen = RunScreen(path);
    if (!s.screen.allSql.empty()) s.rawAll = TimeRawSelect(path, s.screen.allSql);
    if (!s.screen.todaySql.empty()) s.rawToday = TimeRawSelect(path, s.screen.todaySql);
    if (s.screen.allArgs.empty() || s.screen.todayArgs.empty()) {
        s.call.failure = s.serveAll.failure = s.serveToday.failure = "a tela não carregou a lista";
        return;
    }
    std::fprintf(stderr, "  %d boletos: servidor...\n", s.boletos);
    measureServer(s, path);
}

void seedInto(const std::string& connection, int boletos) {
    std::fprintf(stderr, "  criando banco de %d boletos em %s...\n", boletos,
                 describeDatabase(connection).c_str());
    auto db = server::openServerDatabase(connection);
    server::seedScale(*db, boletos, Date::today());
}

std::string seeded(const std::filesystem::path& dir, int boletos) {
    const std::string path = (dir / ("boletos_" + std::to_string(boletos) + ".db")).string();
    seedInto(path, boletos);
    return path;
}

// GetBoletos at 100,000 boletos on the PostgreSQL server too, in a schema of its own
// dropped afterwards, with the arguments the screen sent on SQLite (the filter does not
// depend on the backend).
SizeRun measurePostgres(const std::string& server, const SizeRun (&runs)[2]) {
    SizeRun pg;
    pg.boletos = kSizes[1];
    pg.measured = true;
    const SizeRun* from = nullptr;
    for (const SizeRun& s : runs)
        if (s.measured && !s.screen.allArgs.empty() && !s.screen.todayArgs.empty()) from = &s;
    if (!from) {
        pg.call.failure = pg.serveAll.failure = pg.serveToday.failure =
            "a tela não carregou a lista no SQLite";
        return pg;
    }
    pg.screen.todayArgs = from->screen.todayArgs;
    pg.screen.allArgs = from->screen.allArgs;
    ScratchSchema schema(server, "bench");
    seedInto(schema.connectionString(), pg.boletos);
    std::fprintf(stderr, "  %d boletos: servidor em PostgreSQL...\n", pg.boletos);
    measureServer(pg, schema.connectionString());
    return pg;
}

void printBackends(const SizeRun& sqlite, const SizeRun& pg, const std::string& server) {
    const ServerCells a = sqlite.measured ? serverCells(sqlite) : ServerCells{{"-", "-", "-"}};
    const ServerCells b = serverCells(pg);
    const std::string steps[] = {"call GetBoletos no processo",
                                 "serve: GetBoletos de todas as linhas, 4 clientes",
                                 "serve: os que vencem hoje, 16 clientes"};
    size_t w[2] = {width("passo"), width("SQLite")};
    for (int i = 0; i < 3; ++i) {
        w[0] = std::max(w[0], width(steps[i]));
        w[1] = std::max(w[1], width(a.text[i]));
    }
    std::printf("\nGetBoletos, %s boletos, nos dois bancos (%s)\n",
                formatFloat("#,##0", pg.boletos).c_str(), describeDatabase(server).c_str());
    std::printf("%s | %s | PostgreSQL\n", pad("passo", w[0]).c_str(), pad("SQLite", w[1]).c_str());
    std::printf("%s | %s | ----------\n", std::string(w[0], '-').c_str(),
                std::string(w[1], '-').c_str());
    for (int i = 0; i < 3; ++i)
        std::printf("%s | %s | %s\n", pad(steps[i], w[0]).c_str(), pad(a.text[i], w[1]).c_str(),
                    b.text[i].c_str());
}

}  // namespace

int runBench(int argc, char** argv) {
    if (argc > 0 && std::string(argv[0]) == "server") return runBenchServer(argc - 1, argv + 1);
    if (argc > 0 && std::string(argv[0]) == "dataset") return runBenchDataset(argc - 1, argv + 1);
    if (argc > 0 && std::string(argv[0]) == "call-child") return RunCallChild(argc - 1, argv + 1);
    std::string given[2];
    std::string pgServer;
    bool wanted[2] = {true, true};
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--pg" && i + 1 < argc && isPostgresUri(argv[i + 1]))
            pgServer = argv[++i];
        else if ((a == "--db10k" || a == "--db100k") && i + 1 < argc && !isPostgresUri(argv[i + 1]))
            given[a == "--db10k" ? 0 : 1] = argv[++i];
        else if (a == "--only" && i + 1 < argc &&
                 (argv[i + 1] == std::string("10000") || argv[i + 1] == std::string("100000")))
            wanted[argv[++i] == std::string("10000") ? 1 : 0] = false;
        else
            return printUsage(
                "uso: pag12000 bench [--db10k ARQUIVO] [--db100k ARQUIVO] [--only 10000|100000]\n"
                "                     [--pg postgresql://...]\n"
                "       (arquivos SQLite de 'pag12000 seed scale'; criados numa pasta temporária\n"
                "        quando não informados. Com --pg, GetBoletos a 100 mil boletos também\n"
                "        nesse servidor PostgreSQL, num esquema temporário)\n"
                "     pag12000 bench dataset [--rows N]\n"
                "     pag12000 bench server [--readers 64] [--saves 200]\n");
    }
    for (const std::string& g : given)
        if (!g.empty() && !databaseFileExists(g)) {
            std::fprintf(stderr, "pag12000 bench: o banco '%s' não existe.\n", g.c_str());
            return 2;
        }
    CatchBoletoSelects(false);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pag12000_bench_" + std::to_string(::getpid()));
    SizeRun runs[2];
    int status = 0;
    try {
        for (int i = 0; i < 2; ++i) {
            runs[i].boletos = kSizes[i];
            if (!wanted[i]) continue;
            if (given[i].empty()) std::filesystem::create_directories(dir);
            const std::string path = given[i].empty() ? seeded(dir, kSizes[i]) : given[i];
            measure(runs[i], path);
        }
        std::printf("Tela de boletos e servidor, empresa 01, %u processadores\n",
                    std::thread::hardware_concurrency());
        printTable(tableOf(runs));
        for (const SizeRun& s : runs)
            if (s.measured)
                std::printf(
                    "SQLite sozinho, %d boletos: ±10 anos %s (%ld linhas); hoje %s (%ld "
                    "linhas)\n",
                    s.boletos, ms(s.rawAll.ms).c_str(), s.rawAll.rows, ms(s.rawToday.ms).c_str(),
                    s.rawToday.rows);
        if (!pgServer.empty()) printBackends(runs[1], measurePostgres(pgServer, runs), pgServer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 bench: %s\n", e.what());
        status = 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return status;
}

}  // namespace pag::tools
