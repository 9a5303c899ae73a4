#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace pag {

// Who is working and where the application server is: what the suite's login hands
// to the module. Filled from the host's command line or a configuration file.
struct LoginContext {
    std::string EmprProc;  // processing company
    std::string FiliProc;  // processing branch
    std::string Operador;  // logged operator
    std::string WebURL;    // application-server host; empty or "local": embedded server
    int WebPort = 0;       // application-server port
    // "https", "http", or empty: HTTPS to another machine, HTTP on this one.
    std::string WebScheme;
    std::string CaFile;            // authority that signed the server's certificate
    bool Insecure = false;         // plain HTTP to another machine, by explicit choice
    bool UtilizaOrcaFina = false;  // cash-flow budget control in use
    std::string DatabaseFile;      // database of the embedded server
    std::string Token;             // access token of the HTTP service
    Date ProcessingDate;           // date the module opens with; empty: today

    bool isLocal() const { return WebURL.empty() || WebURL == "local"; }
};

// Reads options into ctx, in order (a later one wins):
//   --empresa 01 --filial 0001 --operador ADMIN --date dd/mm/yyyy --db FILE
//   --server [https://|http://]host:port|local --token T --orcafina S|N --config FILE
//   --ca FILE --insecure
// Each option also takes the form --name=value. Arguments that are not these options
// go to rest when it is given, and are refused otherwise. Bad input throws
// std::invalid_argument with a pt-BR message that names the option; ctx is changed
// only when everything was read.
void parseLoginArgs(LoginContext& ctx, const std::vector<std::string>& args,
                    std::vector<std::string>* rest = nullptr);

// Reads "key=value" lines (keys as the options without "--"; "#" starts a comment
// line; blanks around keys and values are ignored). Errors name the file and line.
void parseLoginConfig(LoginContext& ctx, std::string_view text,
                      const std::string& source = "configuração");
void loadLoginConfig(LoginContext& ctx, const std::string& path);

// Refuses a context without company, branch or operator, naming what is missing.
void requireCompleteLogin(const LoginContext& ctx);

}  // namespace pag
