#include "gui/desktop_host.h"

#include <filesystem>
#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "platform/ui/dispatch.h"
#include "server/rdm_hab_conta.h"
#include "server/seed/demo_seed.h"
#include "server/server_database.h"

namespace pag::gui {

DesktopOptions parseDesktopArgs(const std::vector<std::string>& args) {
    DesktopOptions options;
    options.login.EmprProc = "01";
    options.login.FiliProc = "0001";
    options.login.Operador = "ADMIN";
    options.login.DatabaseFile = "demo.db";
    std::vector<std::string> rest;
    parseLoginArgs(options.login, args, &rest);
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--screenshot" && i + 1 < rest.size()) {
            options.screenshotDir = rest[++i];
        } else if (rest[i].starts_with("--screenshot=")) {
            options.screenshotDir = rest[i].substr(13);
        } else {
            throw std::invalid_argument("Opção desconhecida: " + rest[i] + ".");
        }
    }
    if (options.login.ProcessingDate.isEmpty()) options.login.ProcessingDate = Date::today();
    requireCompleteLogin(options.login);
    return options;
}

void prepareDatabase(const std::string& path, Date today) {
    bool fresh = !std::filesystem::exists(path);
    std::unique_ptr<Database> db = server::openServerDatabase(path);
    if (fresh) server::seedDemo(*db, today);
}

DesktopHost::DesktopHost(const LoginContext& login) {
    if (login.isLocal()) prepareDatabase(login.DatabaseFile, login.ProcessingDate);
    db_ = std::make_unique<Database>(login.DatabaseFile);
    services_.ui = &ui_;
    services_.login = login;
    services_.db = db_.get();
    const std::string path = login.DatabaseFile;
    services_.embeddedServer = [path] { return std::make_unique<server::RdmHabConta>(path); };
    SetSuite(&services_);
    window_ = std::make_unique<MainWindow>(ui_);
    ui_.setParentWidget(window_.get());
    Initialize();
}

DesktopHost::~DesktopHost() {
    window_.reset();
    Finalize();
    SetSuite(nullptr);
}

bool DesktopHost::open() {
    const LoginContext& login = services_.login;
    bool ok = dispatchUserAction(ui_, [&] {
        IniProc(Value(ValueArray{Value(login.EmprProc), Value(login.ProcessingDate)}));
    });
    if (!ok || !frmHabConta) return false;
    window_->openForm(*frmHabConta);
    return true;
}

Form* DesktopHost::screen() const {
    return frmHabConta;
}

FormView* DesktopHost::screenView() const {
    return frmHabConta ? window_->viewOf(*frmHabConta) : nullptr;
}

}  // namespace pag::gui
