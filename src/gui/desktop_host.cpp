#include "gui/desktop_host.h"

#include <filesystem>
#include <stdexcept>

#include "gui/grid_settings.h"
#include "gui/qt_text.h"
#include "platform/sql/pg_connection.h"
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
        } else if (rest[i] == "--package" && i + 1 < rest.size()) {
            options.packageFile = rest[++i];
        } else if (rest[i].starts_with("--package=")) {
            options.packageFile = rest[i].substr(10);
        } else {
            throw std::invalid_argument("Opção desconhecida: " + rest[i] + ".");
        }
    }
    if (options.login.ProcessingDate.isEmpty()) options.login.ProcessingDate = Date::today();
    requireCompleteLogin(options.login);
    // Against a remote server the lookups read the suite's database: a missing file
    // would only be an empty one, with every lookup failing. (A PostgreSQL database
    // says itself, when connected, whether it is there.)
    if (!options.login.isLocal() && !isPostgresUri(options.login.DatabaseFile) &&
        !std::filesystem::exists(options.login.DatabaseFile))
        throw std::invalid_argument("Banco de dados da suíte não encontrado: " +
                                    options.login.DatabaseFile + " (informe --db ARQUIVO).");
    return options;
}

void prepareDatabase(const std::string& path, Date today) {
    // A new file gets the demo data; a PostgreSQL database is only brought up to date
    // (`pag12000 seed demo URI` fills one).
    bool fresh = !isPostgresUri(path) && !std::filesystem::exists(path);
    std::unique_ptr<Database> db = server::openServerDatabase(path);
    if (fresh) server::seedDemo(*db, today);
}

DesktopHost::DesktopHost(const LoginContext& login, const std::string& packageFile) {
    const QString library = findPackageLibrary(toQ(packageFile));
    if (!packageFile.empty() && library.isEmpty())
        throw std::invalid_argument("Pacote não encontrado: " + packageFile + ".");
    package_ = library.isEmpty() ? linkedPackage() : loadPackageLibrary(library);
    if (login.isLocal()) prepareDatabase(login.DatabaseFile, login.ProcessingDate);
    db_ = std::make_unique<Database>(login.DatabaseFile);
    services_.ui = &ui_;
    services_.login = login;
    services_.db = db_.get();
    const std::string path = login.DatabaseFile;
    services_.embeddedServer = [path] { return std::make_unique<server::RdmHabConta>(path); };
    // The host's own copy of the suite library and the package's (one and the same
    // when the package is linked in).
    SetSuite(&services_);
    package_.setSuite(&services_);
    window_ = std::make_unique<MainWindow>(ui_);
    ui_.setParentWidget(window_.get());
    ui_.onBusy = [w = window_.get()](bool on) { w->setBusy(on); };
    ui_.onStatus = [w = window_.get()](const QString& text) { w->showNote(text); };
    setGridSettingsOwner(toQ(login.Operador));
    package_.initialize();
}

DesktopHost::~DesktopHost() {
    ui_.onBusy = nullptr;
    ui_.onStatus = nullptr;
    window_.reset();
    package_.finalize();
    package_.setSuite(nullptr);
    SetSuite(nullptr);
}

bool DesktopHost::open() {
    const LoginContext& login = services_.login;
    bool ok = dispatchUserAction(ui_, [&] {
        const Value parametros(ValueArray{Value(login.EmprProc), Value(login.ProcessingDate)});
        package_.iniProc(&parametros);
    });
    Form* form = screen();
    if (!ok || !form) return false;
    window_->openForm(*form);
    return true;
}

Form* DesktopHost::screen() const {
    return package_.mainScreen ? package_.mainScreen() : nullptr;
}

FormView* DesktopHost::screenView() const {
    Form* form = screen();
    return form ? window_->viewOf(*form) : nullptr;
}

}  // namespace pag::gui
