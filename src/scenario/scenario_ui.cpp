#include "scenario/scenario_ui.h"

#include "platform/dataset/client_dataset.h"
#include "platform/ui/form.h"
#include "scenario/scenario_values.h"

namespace pag::scenario {

void ScenarioUserInterface::Queue(Answer a) {
    queueOf(a.kind).push_back(std::move(a));
}

std::deque<ScenarioUserInterface::Answer>& ScenarioUserInterface::queueOf(Answer::Kind kind) {
    switch (kind) {
        case Answer::Kind::Pick:
            return picks_;
        case Answer::Kind::PickMany:
            return pickMany_;
        case Answer::Kind::Find:
            return finds_;
        case Answer::Kind::YesNo:
            break;
    }
    return yesNo_;
}

const ScenarioUserInterface::Answer* ScenarioUserInterface::UnusedFrom(int depth) const {
    const Answer* first = nullptr;
    for (const auto* q : {&yesNo_, &picks_, &pickMany_, &finds_})
        for (const Answer& a : *q)
            if (a.depth >= depth && (!first || a.line < first->line)) first = &a;
    return first;
}

const ScenarioUserInterface::Message* ScenarioUserInterface::OldestUnchecked() const {
    return checked_ < messages_.size() ? &messages_[checked_] : nullptr;
}

void ScenarioUserInterface::checkRunning() const {
    // A screen that caught the stop and carried on must not get further answers.
    if (driver_.Stopped()) throw ScenarioStop();
}

ScenarioUserInterface::Answer ScenarioUserInterface::take(Answer::Kind kind,
                                                          const std::string& unexpected) {
    checkRunning();
    std::deque<Answer>& q = queueOf(kind);
    if (q.empty()) driver_.Fail(unexpected);
    Answer a = std::move(q.front());
    q.pop_front();
    return a;
}

void ScenarioUserInterface::showMessage(MessageKind kind, const std::string& text) {
    if (detached_ || driver_.Stopped()) return;
    messages_.push_back({kind, text, driver_.CurrentLine()});
}

bool ScenarioUserInterface::ask(const std::string& text) {
    if (detached_) return false;
    Answer a = take(Answer::Kind::YesNo,
                    "pergunta inesperada: \"" + text + "\" (coloque answer yes|no antes da ação)");
    if (a.question && !driver_.TextMatches(*a.question, text))
        driver_.Fail("a pergunta feita foi \"" + text + "\", não a esperada por '" + a.written +
                     "' (linha " + std::to_string(a.line) + ")");
    return a.yes;
}

bool ScenarioUserInterface::applyRow(ClientDataSet& data, const Answer& a,
                                     const std::string& what) {
    if (a.none) return false;
    if (a.row > 0) {
        if (a.row > data.RecordCount())
            driver_.Fail(what + ": a linha " + std::to_string(a.row) + " não existe (há " +
                         std::to_string(data.RecordCount()) + ")");
        data.SetRecNo(a.row);
        return true;
    }
    RowCriteria c;
    try {
        c = rowCriteria(data, a.criteria, driver_.Today());
    } catch (const std::exception& e) {
        driver_.Fail(what + ": " + e.what());
    }
    if (!data.Locate(c.fields, c.values)) driver_.Fail(what + ": nenhuma linha com " + a.criteria);
    return true;
}

bool ScenarioUserInterface::pickOne(ClientDataSet& data, const std::string& title,
                                    const std::string& emptyText) {
    if (detached_) return false;
    checkRunning();
    if (data.IsEmpty()) {
        // The list shows its empty-list text instead of opening.
        showMessage(MessageKind::Information, emptyText);
        return false;
    }
    Answer a = take(Answer::Kind::Pick, "lista inesperada: \"" + title +
                                            "\" (coloque pick N|CAMPO=VALOR|none antes da ação)");
    return applyRow(data, a, "lista \"" + title + "\"");
}

std::vector<std::string> ScenarioUserInterface::pickMany(ClientDataSet& data,
                                                         const std::string& keyField,
                                                         const std::string& title) {
    if (detached_) return {};
    Answer a =
        take(Answer::Kind::PickMany, "lista múltipla inesperada: \"" + title +
                                         "\" (coloque pickmany VALOR,VALOR|none antes da ação)");
    if (a.none) return {};
    Field* key = data.FindField(keyField);
    if (!key) driver_.Fail("lista múltipla \"" + title + "\": não há o campo " + keyField);
    for (const std::string& v : a.values) {
        Value want;
        try {
            want = scriptValue(key->DataType(), Word{v, true}, driver_.Today());
        } catch (const std::exception& e) {
            driver_.Fail("lista múltipla \"" + title + "\": " + e.what());
        }
        if (data.Lookup(keyField, {want}, keyField).isNull())
            driver_.Fail("lista múltipla \"" + title + "\": não há " + keyField + " = " + v);
    }
    return a.values;
}

bool ScenarioUserInterface::find(ClientDataSet& data) {
    if (detached_) return false;
    Answer a = take(Answer::Kind::Find, "procura inesperada em " + data.Name() +
                                            " (coloque find CAMPO=VALOR|none antes da ação)");
    return applyRow(data, a, "procura em " + data.Name());
}

ModalResult ScenarioUserInterface::showModal(Form& form) {
    if (detached_) return ModalResult::Cancel;
    checkRunning();
    return driver_.RunModal(form);
}

void ScenarioUserInterface::busy(bool on, int /*kind*/) {
    if (detached_) return;
    if (on) {
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        --busyDepth_;
    } else {
        driver_.Note("a animação de espera foi escondida sem estar visível");
    }
}

void ScenarioUserInterface::showHelp(int helpContext) {
    help_.push_back(helpContext);
}

}  // namespace pag::scenario
