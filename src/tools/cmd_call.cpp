// pag12000 call: one operation of the application server, for scripts and support.
#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "contracts/client/connection.h"
#include "contracts/client/login_context.h"
#include "contracts/transport_protocol.h"
#include "platform/dataset/packet.h"
#include "server/rdm_hab_conta.h"
#include "tools/commands.h"

namespace pag::tools {

namespace {
int usage() {
    return printUsage(
        "uso: pag12000 call OPERACAO [ARG...] (--db BANCO | --server [https://]HOST:PORTA "
        "[--token T] [--ca ARQUIVO] [--insecure])\n"
        "     [--empresa 01] [--filial 0001] [--operador ADMIN] [--ref N]...\n"
        "  BANCO: um arquivo SQLite ou postgresql://...\n"
        "  Cada ARG é um valor JSON (\"texto\", 12.5, null, {\"date\":\"2026-12-06\"}, "
        "{\"packet\":...});\n  o que não for JSON válido é tomado como texto.\n");
}
}  // namespace

int runCall(int argc, char** argv) {
    std::vector<std::string> rest;
    std::vector<int> byRef;
    LoginContext login;
    login.EmprProc = "01";
    login.FiliProc = "0001";
    login.Operador = "ADMIN";
    try {
        std::vector<std::string> args;
        for (int i = 0; i < argc; ++i) {
            std::string a = argv[i];
            if (a == "--ref" && i + 1 < argc) {
                byRef.push_back(std::stoi(argv[++i]));
                continue;
            }
            args.push_back(a);
        }
        parseLoginArgs(login, args, &rest);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 call: %s\n", e.what());
        return 2;
    }
    if (rest.empty()) return usage();
    if (login.isLocal() && login.DatabaseFile.empty()) {
        std::fprintf(stderr, "pag12000 call: informe --db BANCO ou --server HOST:PORTA.\n");
        return 2;
    }
    std::string operation = rest[0];
    std::vector<Value> values;
    try {
        for (size_t i = 1; i < rest.size(); ++i) {
            nlohmann::json j = nlohmann::json::parse(rest[i], nullptr, false);
            values.push_back(j.is_discarded() ? Value(rest[i]) : valueFromJson(j));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000 call: argumento inválido: %s\n", e.what());
        return 2;
    }

    SocketConnection net;
    net.Host = login.WebURL;
    net.Port = login.WebPort;
    net.Token = login.Token;
    net.Scheme = login.WebScheme;
    net.CaFile = login.CaFile;
    net.Insecure = login.Insecure;
    net.Context = {login.EmprProc, login.FiliProc, login.Operador, std::nullopt};
    std::string db = login.DatabaseFile;
    net.EmbeddedServer = [db] { return std::make_unique<server::RdmHabConta>(db); };
    CallResult r;
    try {
        r = net.Call(operation, values, byRef);
    } catch (const std::exception& e) {
        r = CallResult::failure(e.what());
    }
    // The answer goes out as it is written: a list of many thousand boletos is never
    // held as a whole text.
    CallReply reply{r.ok, std::move(r.result), std::move(r.message), {}};
    if (r.ok)
        for (int i : byRef)
            reply.refs[i] = values[static_cast<size_t>(i)];
    try {
        checkCallReply(reply);
    } catch (const ProtocolError& e) {
        std::fprintf(stderr, "pag12000 call: a resposta não pode ser mostrada: %s\n", e.what());
        return 1;
    }
    JsonWriter out(
        [](std::string_view piece) { std::fwrite(piece.data(), 1, piece.size(), stdout); });
    writeCallReply(reply, out);
    out.raw("\n").flush();
    return r.ok ? 0 : 1;
}

}  // namespace pag::tools
