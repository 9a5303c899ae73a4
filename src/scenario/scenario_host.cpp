#include "scenario/scenario_host.h"

#include <map>
#include <mutex>

namespace pag::scenario {

namespace {
struct Registry {
    std::mutex mutex;
    std::map<std::string, ScenarioHostFactory, std::less<>> factories;
};

// Built on first use, so modules may register from their own initialisation.
Registry& registry() {
    static Registry r;
    return r;
}
}  // namespace

void registerScenarioHost(const std::string& name, ScenarioHostFactory factory) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.factories[name] = std::move(factory);
}

ScenarioHostFactory findScenarioHost(std::string_view name) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.factories.find(name);
    return it == r.factories.end() ? ScenarioHostFactory() : it->second;
}

std::vector<std::string> registeredScenarioHosts() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::vector<std::string> names;
    for (const auto& [name, factory] : r.factories)
        names.push_back(name);
    return names;
}

}  // namespace pag::scenario
