#include "scenario/scenario_ui.h"

#include "platform/dataset/client_dataset.h"
#include "scenario/scenario_values.h"

namespace pag::scenario {

void ScenarioUserInterface::fail(const std::string& text) {
    driver_.Fail(text);
    throw ScenarioStop();  // Fail has thrown it already: this keeps the promise visible
}

void ScenarioUserInterface::ExpectQuestion(Answer& answer, Word expected) {
    answer.question = [this, expected = std::move(expected)](const std::string& shown) {
        return driver_.TextMatches(expected, shown);
    };
}

std::string ScenarioUserInterface::howToAnswer(Answer::Kind kind) const {
    // In the order of Answer::Kind.
    static constexpr const char* kCommands[] = {
        " (coloque answer yes|no antes da ação)",
        " (coloque pick N|CAMPO=VALOR|none antes da ação)",
        " (coloque pickmany VALOR,VALOR|none antes da ação)",
        " (coloque find CAMPO=VALOR|none antes da ação)",
    };
    return kCommands[static_cast<size_t>(kind)];
}

Value ScenarioUserInterface::criterionValue(const Field& field, const std::string& text) {
    return scriptValue(field.DataType(), Word{text, false}, driver_.Today());
}

std::optional<Value> ScenarioUserInterface::keyValue(const Field& key, const std::string& chosen) {
    return scriptValue(key.DataType(), Word{chosen, true}, driver_.Today());
}

}  // namespace pag::scenario
