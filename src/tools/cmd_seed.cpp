// pag12000 seed demo DB | seed scale --boletos N DB  [--force]; DB is a file or a
// PostgreSQL URI (an empty database or schema: the command line never drops one).
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sql/pg_connection.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"
#include "tools/commands.h"
#include "tools/database_target.h"

namespace pag::tools {

namespace {

struct SeedOptions {
    std::string kind;
    std::string file;
    long long boletos = 0;
    bool force = false;
};

int usage(const char* problem) {
    std::fprintf(stderr,
                 "pag12000 seed: %s\n"
                 "uso: pag12000 seed demo BANCO [--force]\n"
                 "     pag12000 seed scale --boletos N BANCO [--force]\n"
                 "  BANCO: um arquivo SQLite ou postgresql://... (um banco ou esquema vazio;\n"
                 "  --force substitui só um arquivo)\n",
                 problem);
    return 2;
}

bool parseCount(const std::string& text, long long& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    if (text.size() > 9) return false;
    out = std::stoll(text);
    return out > 0;
}

}  // namespace

int runSeed(int argc, char** argv) {
    if (argc < 1) return usage("informe 'demo' ou 'scale'.");
    SeedOptions o;
    o.kind = argv[0];
    if (o.kind != "demo" && o.kind != "scale")
        return usage(("tipo de carga desconhecido '" + o.kind + "'.").c_str());
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--force") {
            o.force = true;
        } else if (a == "--boletos") {
            if (i + 1 >= argc || !parseCount(argv[i + 1], o.boletos))
                return usage("--boletos exige um número inteiro positivo (até 999.999.999).");
            ++i;
        } else if (!a.empty() && a[0] == '-') {
            return usage(("opção desconhecida '" + a + "'.").c_str());
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            return usage("informe um único arquivo.");
        }
    }
    if (o.file.empty()) return usage("informe o banco de dados (arquivo ou postgresql://...).");
    if (o.kind == "scale" && o.boletos == 0) return usage("informe --boletos N.");
    if (o.kind == "demo" && o.boletos != 0) return usage("--boletos só vale para 'scale'.");
    const std::string name = describeDatabase(o.file);
    if (isPostgresUri(o.file) && o.force) {
        std::fprintf(stderr,
                     "pag12000 seed: --force não apaga um banco PostgreSQL (%s); use um "
                     "banco ou esquema vazio.\n",
                     name.c_str());
        return 2;
    }
    if (databaseFileExists(o.file)) {
        if (!o.force) {
            std::fprintf(stderr,
                         "pag12000 seed: o arquivo '%s' já existe; use --force para "
                         "substituí-lo.\n",
                         name.c_str());
            return 1;
        }
        removeDatabase(o.file);
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        auto db = server::openServerDatabase(o.file);
        if (o.kind == "demo")
            server::seedDemo(*db, Date::today());
        else
            server::seedScale(*db, static_cast<int>(o.boletos), Date::today());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Statement count = db->prepare("SELECT COUNT(*) FROM BOLETPAGAR");
        count.step();
        std::printf("Banco '%s' criado com %lld boletos em %.1f s.\n", name.c_str(),
                    static_cast<long long>(count.column(0).asInteger()), seconds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 seed: falha ao criar '%s': %s\n", name.c_str(), e.what());
        // A file half made goes; on a server the seed's transaction rolled its rows back.
        if (!isPostgresUri(o.file)) removeDatabase(o.file);
        return 1;
    }
}

}  // namespace pag::tools
