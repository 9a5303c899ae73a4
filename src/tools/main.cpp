#include <cstdio>
#include <cstring>
#include <string>

#include "tools/commands.h"

namespace pag::tools {

int printUsage(const char* text) {
    std::fputs(text, stderr);
    return 2;
}

}  // namespace pag::tools

namespace {
void usage() {
    std::fprintf(
        stderr,
        "uso: pag12000 <comando> [argumentos]\n"
        "  boleto check CODIGO   valida um código de barras ou linha digitável\n"
        "  bench [--db10k ARQUIVO] [--db100k ARQUIVO] [--pg URI]   tela e servidor a 10 e\n"
        "        100 mil (com --pg, GetBoletos também em PostgreSQL)\n"
        "  bench dataset [--rows N]   mede carga, ordenação, localização e filtro\n"
        "  bench server [--readers 64] [--saves 200]   gravações sob leitores\n"
        "  seed demo BANCO       cria o banco de demonstração\n"
        "  seed scale --boletos N BANCO   cria um banco com N boletos\n"
        "  serve --db BANCO [--bind H] [--port P] [--token T]   serviço HTTP(S)\n"
        "        [--cert ARQUIVO --key ARQUIVO] [--insecure]\n"
        "  call OPERACAO ARG... (--db BANCO | --server H:P)     chama uma operação\n"
        "  scenario [--host NOME] [--pg URI] ARQUIVO...   executa arquivos de cenário\n"
        "  export --db BANCO --empresa 01 [--de D] [--ate D] [--fornecedor C]\n"
        "         --out ARQUIVO.csv   exporta a lista de boletos em CSV\n"
        "BANCO: um arquivo SQLite ou um banco PostgreSQL (postgresql://...).\n");
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage();
        return 2;
    }
    std::string cmd = argv[1];
    if (cmd == "boleto") return pag::tools::runBoleto(argc - 2, argv + 2);
    if (cmd == "bench") return pag::tools::runBench(argc - 2, argv + 2);
    if (cmd == "seed") return pag::tools::runSeed(argc - 2, argv + 2);
    if (cmd == "serve") return pag::tools::runServe(argc - 2, argv + 2);
    if (cmd == "call") return pag::tools::runCall(argc - 2, argv + 2);
    if (cmd == "scenario") return pag::tools::runScenario(argc - 2, argv + 2);
    if (cmd == "export") return pag::tools::runExport(argc - 2, argv + 2);
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        usage();
        return 0;
    }
    std::fprintf(stderr, "pag12000: comando desconhecido '%s'\n", cmd.c_str());
    usage();
    return 2;
}
