#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/client/login_context.h"
#include "contracts/client/messages.h"
#include "platform/dataset/client_dataset.h"
#include "platform/ui/form.h"
#include "platform/ui/user_interface.h"
#include "platform/value.h"

namespace pag::scenario {

// What a screen module offers to scenario files: its entry (`open`), its main form,
// its datasets by name and the message tables of its open forms. The module creates
// its forms with the user interface it was built with, so every message, question and
// modal dialog reaches the scenario.
class ScenarioHost {
public:
    virtual ~ScenarioHost() = default;

    // The module's entry with a company code and a processing date, as the suite
    // calls it; either may be null (`open - -`).
    virtual void open(const Value& company, const Value& date) = 0;
    // The module's main form; null before open and after the user closed it.
    virtual Form* mainForm() = 0;
    // A dataset of any open form of the module; null when there is none of that name.
    virtual ClientDataSet* findDataSet(std::string_view name) = 0;
    // The message tables of the open forms, for `expect message KEY`.
    virtual std::vector<const TMessages*> messageTables() = 0;
};

// Builds a module's host for one scenario file, with the file's login and the
// scenario's user interface (which must outlive the host).
using ScenarioHostFactory =
    std::function<std::unique_ptr<ScenarioHost>(const LoginContext& login, UserInterface& ui)>;

// The module `pag12000 scenario` drives when no other is named.
inline constexpr const char* kDefaultScenarioHost = "Boleto";

// Makes a module available to scenario files by name (a later registration of the
// same name replaces the earlier one).
void registerScenarioHost(const std::string& name, ScenarioHostFactory factory);
// The factory registered under name; empty when there is none.
ScenarioHostFactory findScenarioHost(std::string_view name);
std::vector<std::string> registeredScenarioHosts();

}  // namespace pag::scenario
