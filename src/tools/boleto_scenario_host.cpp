// The boleto module as scenario files drive it: the suite's services lent to the
// package (the scenario's user interface, the login, the file's database and the
// embedded server over it), the package loaded for the file, and its entry.
#include <memory>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12003/cadguiaimp.h"
#include "Cli_pag12100/filtro_hab.h"
#include "contracts/client/suite_context.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "scenario/scenario_host.h"
#include "server/rdm_hab_conta.h"
#include "tools/boleto_scenario_host.h"

namespace pag {

namespace {

class BoletoScenarioHost final : public scenario::ScenarioHost {
public:
    BoletoScenarioHost(const LoginContext& login, UserInterface& ui) : db_(login.DatabaseFile) {
        services_.ui = &ui;
        services_.login = login;
        services_.db = &db_;
        const std::string path = login.DatabaseFile;
        services_.embeddedServer = [path] { return std::make_unique<server::RdmHabConta>(path); };
        SetSuite(&services_);
        Initialize();
    }

    ~BoletoScenarioHost() override {
        Finalize();
        SetSuite(nullptr);
    }

    void open(const Value& company, const Value& date) override {
        if (company.isNull() && date.isNull()) {
            IniProc(Value());
            return;
        }
        IniProc(Value(ValueArray{company.isNull() ? Value(std::string()) : company, date}));
    }

    Form* mainForm() override { return frmHabConta; }

    ClientDataSet* findDataSet(std::string_view name) override {
        // The dialogs' own datasets, while they are open.
        if (frmAbatimento)
            if (ClientDataSet* ds = frmAbatimento->FindDataSet(name)) return ds;
        if (Cli_pag12002::frmCadAutoCont)
            if (ClientDataSet* ds = Cli_pag12002::frmCadAutoCont->FindDataSet(name)) return ds;
        return frmHabConta ? frmHabConta->FindDataSet(name) : nullptr;
    }

    std::vector<const TMessages*> messageTables() override {
        std::vector<const TMessages*> tables;
        if (frmHabConta) tables = frmHabConta->MessageTables();
        if (frmFiltroHab)
            for (const TMessages* t : frmFiltroHab->MessageTables())
                tables.push_back(t);
        if (frmAbatimento)
            for (const TMessages* t : frmAbatimento->MessageTables())
                tables.push_back(t);
        if (Cli_pag12002::frmCadAutoCont)
            for (const TMessages* t : Cli_pag12002::frmCadAutoCont->MessageTables())
                tables.push_back(t);
        if (Cli_pag12003::frmCadGuiaImp)
            for (const TMessages* t : Cli_pag12003::frmCadGuiaImp->MessageTables())
                tables.push_back(t);
        return tables;
    }

private:
    Database db_;
    SuiteServices services_;
};

}  // namespace

void RegisterBoletoScenarioHost() {
    scenario::registerScenarioHost(scenario::kDefaultScenarioHost,
                                   [](const LoginContext& login, UserInterface& ui) {
                                       return std::make_unique<BoletoScenarioHost>(login, ui);
                                   });
}

}  // namespace pag
