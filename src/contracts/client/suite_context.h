#pragma once

#include <functional>
#include <memory>

#include "contracts/client/login_context.h"
#include "contracts/connection_contract.h"
#include "platform/sql/database.h"
#include "platform/ui/user_interface.h"

namespace pag {

// What the host suite lends a loaded package: the person in front of the screen,
// the login context, the suite's shared database connection (for the lookup SQL)
// and, for the embedded default, the factory of the in-process application server.
// The host fills it before calling the package's entry and keeps it alive while the
// package is loaded.
struct SuiteServices {
    UserInterface* ui = nullptr;
    LoginContext login;
    Database* db = nullptr;
    std::function<std::unique_ptr<ServerModule>()> embeddedServer;
};

// The services of the loaded package. Throws std::logic_error (pt-BR) naming what is
// missing when the host did not provide them.
SuiteServices& Suite();
// Called by the host (desktop program, scenario runner, tests); null detaches.
void SetSuite(SuiteServices* services);

}  // namespace pag
