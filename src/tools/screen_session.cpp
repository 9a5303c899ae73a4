#include "tools/screen_session.h"

#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "server/rdm_hab_conta.h"

namespace pag::tools {

ScreenSession::ScreenSession(const std::string& path, const std::string& empresa,
                             const std::string& filial, ServerFactory server)
    : db_(path) {
    services_.ui = &ui;
    services_.login.EmprProc = empresa;
    services_.login.FiliProc = filial;
    services_.login.Operador = "ADMIN";
    services_.login.DatabaseFile = path;
    services_.db = &db_;
    services_.embeddedServer =
        server ? std::move(server)
               : ServerFactory([path] { return std::make_unique<server::RdmHabConta>(path); });
    SetSuite(&services_);
    Initialize();
}

ScreenSession::~ScreenSession() {
    ui.Detach();
    Finalize();
    SetSuite(nullptr);
}

TfrmHabConta& ScreenSession::tela() {
    if (!frmHabConta) throw std::runtime_error("a tela de boletos não abriu");
    return *frmHabConta;
}

}  // namespace pag::tools
