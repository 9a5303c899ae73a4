#include "contracts/client/login_context.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pag {

namespace {

const char* const kKeys[] = {"empresa", "filial",   "operador", "date", "db",      "server",
                             "token",   "orcafina", "config",   "ca",   "insecure"};

bool isKey(std::string_view key) {
    return std::find(std::begin(kKeys), std::end(kKeys), key) != std::end(kKeys);
}

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(b, e - b));
}

[[noreturn]] void bad(const std::string& why) {
    throw std::invalid_argument(why);
}

// A code or name that travels in every call: not blank, no blanks or control
// characters inside.
std::string word(const std::string& value, const char* what) {
    if (value.empty()) bad(std::string("informe ") + what + ".");
    for (char c : value)
        if (std::isspace(static_cast<unsigned char>(c)) ||
            std::iscntrl(static_cast<unsigned char>(c)))
            bad(std::string(what) + " não pode conter espaços: \"" + value + "\".");
    return value;
}

int parsePort(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        bad("porta inválida: \"" + text + "\" (use um número de 1 a 65535).");
    int port = std::stoi(text);
    if (port < 1 || port > 65535) bad("porta inválida: " + text + " (use um número de 1 a 65535).");
    return port;
}

void setServer(LoginContext& ctx, std::string value) {
    if (value == "local") {
        ctx.WebURL = "local";
        ctx.WebPort = 0;
        return;
    }
    std::string scheme;
    for (const char* prefix : {"https://", "http://"})
        if (value.starts_with(prefix)) {
            scheme = std::string(prefix).substr(0, std::string(prefix).size() - 3);
            value = value.substr(scheme.size() + 3);
        }
    if (!value.empty() && value.back() == '/') value.pop_back();
    std::string host, port;
    if (value.starts_with("[")) {  // [::1]:8212
        size_t close = value.find("]:");
        if (close == std::string::npos)
            bad("servidor inválido: \"" + value + "\" (use host:porta).");
        host = value.substr(1, close - 1);
        port = value.substr(close + 2);
    } else {
        size_t colon = value.rfind(':');
        if (colon == std::string::npos || value.find(':') != colon)
            bad("servidor inválido: \"" + value + "\" (use host:porta ou local).");
        host = value.substr(0, colon);
        port = value.substr(colon + 1);
    }
    if (host.empty()) bad("servidor inválido: \"" + value + "\" (falta o host).");
    word(host, "o host do servidor");
    ctx.WebPort = parsePort(port);
    ctx.WebURL = host;
    ctx.WebScheme = scheme;
}

bool yesNo(const std::string& value) {
    std::string v = value;
    std::transform(v.begin(), v.end(), v.begin(), [](unsigned char c) { return std::toupper(c); });
    if (v != "S" && v != "N") bad("use S ou N, não \"" + value + "\".");
    return v == "S";
}

void setOption(LoginContext& ctx, const std::string& key, const std::string& value) {
    if (key == "empresa")
        ctx.EmprProc = word(value, "a empresa");
    else if (key == "filial")
        ctx.FiliProc = word(value, "a filial");
    else if (key == "operador")
        ctx.Operador = word(value, "o operador");
    else if (key == "date") {
        if (value.empty()) bad("informe a data (dd/mm/aaaa).");
        ctx.ProcessingDate = Date::parse(value);
    } else if (key == "db") {
        if (value.empty()) bad("informe o arquivo do banco de dados.");
        ctx.DatabaseFile = value;
    } else if (key == "server") {
        setServer(ctx, value);
    } else if (key == "token") {
        ctx.Token = word(value, "o token de acesso");
    } else if (key == "orcafina") {
        ctx.UtilizaOrcaFina = yesNo(value);
    } else if (key == "insecure") {
        ctx.Insecure = yesNo(value);
    } else if (key == "ca") {
        if (value.empty()) bad("informe o arquivo da autoridade certificadora.");
        ctx.CaFile = value;
    } else if (key == "config") {
        if (value.empty()) bad("informe o arquivo de configuração.");
        loadLoginConfig(ctx, value);
    }
}

}  // namespace

void parseLoginArgs(LoginContext& ctx, const std::vector<std::string>& args,
                    std::vector<std::string>* rest) {
    LoginContext next = ctx;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string key, value;
        bool inlineValue = false;
        if (arg.starts_with("--")) {
            size_t eq = arg.find('=');
            key = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                inlineValue = true;
            }
        }
        if (!isKey(key)) {
            if (rest) {
                rest->push_back(arg);
                continue;
            }
            if (arg.starts_with("--")) bad("Opção desconhecida: " + arg + ".");
            bad("Argumento inesperado: \"" + arg + "\".");
        }
        if (!inlineValue && key == "insecure") {
            value = "S";  // a switch on the command line
        } else if (!inlineValue) {
            if (i + 1 >= args.size()) bad("A opção --" + key + " precisa de um valor.");
            value = args[++i];
        }
        try {
            setOption(next, key, value);
        } catch (const std::invalid_argument& e) {
            bad("Opção --" + key + ": " + e.what());
        }
    }
    ctx = std::move(next);
}

void parseLoginConfig(LoginContext& ctx, std::string_view text, const std::string& source) {
    LoginContext next = ctx;
    std::istringstream in{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = "Linha " + std::to_string(number) + " de " + source + ": ";
        std::string t = trim(line);
        if (t.empty() || t[0] == '#') continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos) bad(where + "esperava chave=valor, encontrou \"" + t + "\".");
        std::string key = trim(std::string_view(t).substr(0, eq));
        std::string value = trim(std::string_view(t).substr(eq + 1));
        if (!isKey(key) || key == "config") bad(where + "chave desconhecida \"" + key + "\".");
        try {
            setOption(next, key, value);
        } catch (const std::invalid_argument& e) {
            bad(where + key + ": " + e.what());
        }
    }
    ctx = std::move(next);
}

void loadLoginConfig(LoginContext& ctx, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) bad("Não foi possível ler o arquivo de configuração " + path + ".");
    std::ostringstream text;
    text << in.rdbuf();
    parseLoginConfig(ctx, text.str(), path);
}

void requireCompleteLogin(const LoginContext& ctx) {
    std::vector<std::string> missing;
    if (ctx.EmprProc.empty()) missing.push_back("a empresa (--empresa)");
    if (ctx.FiliProc.empty()) missing.push_back("a filial (--filial)");
    if (ctx.Operador.empty()) missing.push_back("o operador (--operador)");
    if (!ctx.isLocal() && ctx.WebPort <= 0) missing.push_back("a porta do servidor (--server)");
    if (missing.empty()) return;
    std::string text = "Informe ";
    for (size_t i = 0; i < missing.size(); ++i)
        text += (i == 0 ? "" : i + 1 == missing.size() ? " e " : ", ") + missing[i];
    bad(text + ".");
}

}  // namespace pag
