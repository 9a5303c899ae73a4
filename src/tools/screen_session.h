#pragma once

// The boleto screen's package loaded headless over one database, as the command line's
// commands drive it: a scripted user, the suite's database and the embedded server.
#include <functional>
#include <memory>
#include <string>

#include "contracts/client/suite_context.h"
#include "platform/sql/database.h"
#include "testing/scripted_user_interface.h"

namespace pag {
class TfrmHabConta;
}

namespace pag::tools {

class ScreenSession {
public:
    using ServerFactory = std::function<std::unique_ptr<ServerModule>()>;
    // An empty factory gives the plain embedded server over path.
    ScreenSession(const std::string& path, const std::string& empresa, const std::string& filial,
                  ServerFactory server = {});
    ~ScreenSession();
    ScreenSession(const ScreenSession&) = delete;
    ScreenSession& operator=(const ScreenSession&) = delete;

    // The screen IniProc opened; throws std::runtime_error (pt-BR) when it did not open.
    TfrmHabConta& tela();
    ScriptedUserInterface ui;

private:
    Database db_;
    SuiteServices services_;
};

}  // namespace pag::tools
