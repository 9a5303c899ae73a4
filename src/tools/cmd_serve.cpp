// pag12000 serve: the application server over HTTP for several users.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "server/http_service.h"
#include "server/rdm_hab_conta.h"
#include "tools/commands.h"
#include "tools/database_target.h"

namespace pag::tools {

namespace {
int usage() {
    return printUsage(
        "uso: pag12000 serve --db BANCO [--bind 127.0.0.1] [--port 8412] [--token T]\n"
        "       [--cert ARQUIVO --key ARQUIVO] [--insecure]\n"
        "  BANCO: um arquivo SQLite ou postgresql://... (vários servidores podem\n"
        "  atender o mesmo banco PostgreSQL).\n"
        "  Fora do endereço local o serviço exige --token e HTTPS (--cert e --key);\n"
        "  HTTP sem criptografia fora dele só com --insecure.\n");
}
}  // namespace

int runServe(int argc, char** argv) {
    std::string db;
    server::HttpServiceOptions opt;
    opt.port = 8412;
    for (int i = 0; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (a == "--db")
            db = value();
        else if (a == "--bind")
            opt.host = value();
        else if (a == "--token")
            opt.token = value();
        else if (a == "--cert")
            opt.certFile = value();
        else if (a == "--key")
            opt.keyFile = value();
        else if (a == "--insecure")
            opt.insecure = true;
        else if (a == "--port") {
            std::string p = value();
            char* end = nullptr;
            long port = std::strtol(p.c_str(), &end, 10);
            if (p.empty() || *end || port < 0 || port > 65535) {
                std::fprintf(stderr, "pag12000 serve: porta inválida '%s'.\n", p.c_str());
                return 2;
            }
            opt.port = static_cast<int>(port);
        } else {
            return usage();
        }
    }
    if (db.empty()) return usage();
    if (opt.token.empty())
        if (const char* t = std::getenv("PAG12000_TOKEN")) opt.token = t;

    // Stop cleanly on Ctrl+C or a service manager's TERM: block both before any
    // thread starts so that only the wait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        server::RdmHabConta module(db);
        server::HttpService service(module, opt);
        int port = service.start();
        std::printf("Servidor %s em %s://%s:%d (banco %s)%s\n", server::kServerName,
                    service.secure() ? "https" : "http", opt.host.c_str(), port,
                    describeDatabase(db).c_str(), opt.token.empty() ? "" : ", com token de acesso");
        std::fflush(stdout);
        int sig = 0;
        sigwait(&stopSignals, &sig);
        std::printf("Encerrando o servidor...\n");
        service.stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 serve: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace pag::tools
