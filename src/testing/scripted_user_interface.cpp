#include "testing/scripted_user_interface.h"

#include "platform/dataset/client_dataset.h"
#include "platform/ui/form.h"
#include "testing/row_criteria.h"

namespace pag {

// ---------------------------------------------------------------- the script's side

ScriptedUserInterface::Answer ScriptedUserInterface::Answer::AtRow(int row) {
    Answer a;
    a.kind = Kind::Pick;
    a.row = row;
    return a;
}

ScriptedUserInterface::Answer ScriptedUserInterface::Answer::Where(std::string criteria) {
    Answer a;
    a.kind = Kind::Pick;
    a.criteria = std::move(criteria);
    return a;
}

ScriptedUserInterface::Answer ScriptedUserInterface::Answer::None() {
    Answer a;
    a.kind = Kind::Pick;
    a.none = true;
    return a;
}

void ScriptedUserInterface::Queue(Answer a) {
    queueOf(a.kind).push_back(std::move(a));
}

void ScriptedUserInterface::QueueAnswer(bool yes) {
    Answer a;
    a.yes = yes;
    Queue(std::move(a));
}

void ScriptedUserInterface::QueuePick(Answer a) {
    a.kind = Answer::Kind::Pick;
    Queue(std::move(a));
}

void ScriptedUserInterface::QueuePickMany(std::vector<std::string> values) {
    Answer a;
    a.kind = Answer::Kind::PickMany;
    a.values = std::move(values);
    Queue(std::move(a));
}

void ScriptedUserInterface::QueueFind(Answer a) {
    a.kind = Answer::Kind::Find;
    Queue(std::move(a));
}

std::deque<ScriptedUserInterface::Answer>& ScriptedUserInterface::queueOf(Answer::Kind kind) {
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

const ScriptedUserInterface::Message* ScriptedUserInterface::OldestUnchecked() const {
    return taken_ < messages_.size() ? &messages_[taken_] : nullptr;
}

std::optional<ScriptedUserInterface::Message> ScriptedUserInterface::TakeMessage() {
    if (taken_ >= messages_.size()) return std::nullopt;
    return messages_[taken_++];
}

const ScriptedUserInterface::Answer* ScriptedUserInterface::UnusedFrom(int depth) const {
    const Answer* first = nullptr;
    for (const auto* q : {&yesNo_, &picks_, &pickMany_, &finds_})
        for (const Answer& a : *q)
            if (a.depth >= depth && (!first || a.line < first->line)) first = &a;
    return first;
}

std::vector<std::string> ScriptedUserInterface::Problems() const {
    std::vector<std::string> out = failures_;
    auto left = [&out](size_t n, const char* what) {
        if (n) out.push_back(std::to_string(n) + " " + what + " não usada(s)");
    };
    left(yesNo_.size(), "resposta(s) sim/não");
    left(picks_.size(), "escolha(s) de lista");
    left(pickMany_.size(), "escolha(s) múltipla(s)");
    left(finds_.size(), "resposta(s) de procura");
    left(saveFiles_.size(), "escolha(s) de arquivo");
    if (busyDepth_ != 0) out.push_back("animação de espera ainda visível");
    return out;
}

// ---------------------------------------------------------------- unit-test defaults

void ScriptedUserInterface::fail(const std::string& text) {
    failures_.push_back(text);
    throw UnexpectedInteraction(text);
}

Value ScriptedUserInterface::criterionValue(const Field&, const std::string& text) {
    return Value(text);
}

std::optional<Value> ScriptedUserInterface::keyValue(const Field& key, const std::string& chosen) {
    if (key.DataType() != FieldType::Text) return std::nullopt;
    return Value(chosen);
}

ModalResult ScriptedUserInterface::runModal(Form& form) {
    if (!ModalHandler) fail("formulário modal inesperado: " + form.Name());
    ModalResult r = ModalHandler(form);
    if (form.IsModal() && form.Visible()) {
        form.SetModalResult(r == ModalResult::None ? ModalResult::Cancel : r);
        if (form.Visible()) fail("o formulário " + form.Name() + " não fechou");
    }
    return form.GetModalResult();
}

// ---------------------------------------------------------------- UserInterface

ScriptedUserInterface::Answer ScriptedUserInterface::take(Answer::Kind kind,
                                                          const std::string& unexpected) {
    checkRunning();
    std::deque<Answer>& q = queueOf(kind);
    if (q.empty()) fail(unexpected + howToAnswer(kind));
    Answer a = std::move(q.front());
    q.pop_front();
    return a;
}

void ScriptedUserInterface::locate(ClientDataSet& data, const std::string& criteria,
                                   const std::string& what) {
    std::string fields;
    std::vector<Value> values;
    try {
        for (const auto& [name, text] : parseCriteria(criteria)) {
            fields += (fields.empty() ? "" : ";") + name;
            values.push_back(criterionValue(data.FieldByName(name), text));
        }
    } catch (const std::exception& e) {
        fail(what + ": " + e.what());
    }
    if (!data.Locate(fields, values)) fail(what + ": nenhuma linha com " + criteria);
}

bool ScriptedUserInterface::applyRow(ClientDataSet& data, const Answer& a,
                                     const std::string& what) {
    if (a.none) return false;
    if (a.row > 0) {
        if (a.row > data.RecordCount())
            fail(what + ": a linha " + std::to_string(a.row) + " não existe (há " +
                 std::to_string(data.RecordCount()) + ")");
        data.SetRecNo(a.row);
        return true;
    }
    locate(data, a.criteria, what);
    return true;
}

void ScriptedUserInterface::showMessage(MessageKind kind, const std::string& text) {
    if (detached_ || stopped()) return;
    messages_.push_back({kind, text, currentLine()});
}

bool ScriptedUserInterface::ask(const std::string& text) {
    if (detached_) return false;
    questions_.push_back(text);
    Answer a = take(Answer::Kind::YesNo, "pergunta inesperada: \"" + text + "\"");
    if (a.question && !a.question(text))
        fail("a pergunta feita foi \"" + text + "\", não a esperada por '" + a.written +
             "' (linha " + std::to_string(a.line) + ")");
    return a.yes;
}

bool ScriptedUserInterface::pickOne(ClientDataSet& data, const std::string& title,
                                    const std::string& emptyText) {
    if (detached_) return false;
    checkRunning();
    pickTitles_.push_back(title);
    if (data.IsEmpty()) {
        // The list shows its empty-list text instead of opening.
        showMessage(MessageKind::Information, emptyText);
        return false;
    }
    Answer a = take(Answer::Kind::Pick, "lista inesperada: \"" + title + "\"");
    return applyRow(data, a, "lista \"" + title + "\"");
}

std::vector<std::string> ScriptedUserInterface::pickMany(ClientDataSet& data,
                                                         const std::string& keyField,
                                                         const std::string& title) {
    if (detached_) return {};
    pickTitles_.push_back(title);
    Answer a = take(Answer::Kind::PickMany, "lista múltipla inesperada: \"" + title + "\"");
    if (a.none) return {};
    Field* key = data.FindField(keyField);
    if (!key) fail("lista múltipla \"" + title + "\": não há o campo " + keyField);
    for (const std::string& v : a.values) {
        std::optional<Value> want;
        try {
            want = keyValue(*key, v);
        } catch (const std::exception& e) {
            fail("lista múltipla \"" + title + "\": " + e.what());
        }
        if (want && data.Lookup(keyField, {*want}, keyField).isNull())
            fail("lista múltipla \"" + title + "\": não há " + keyField + " = " + v);
    }
    return a.values;
}

bool ScriptedUserInterface::find(ClientDataSet& data) {
    if (detached_) return false;
    Answer a = take(Answer::Kind::Find, "procura inesperada em " + data.Name());
    return applyRow(data, a, "procura em " + data.Name());
}

ModalResult ScriptedUserInterface::showModal(Form& form) {
    if (detached_) return ModalResult::Cancel;
    checkRunning();
    modalForms_.push_back(form.Name());
    return runModal(form);
}

void ScriptedUserInterface::busy(bool on, int kind) {
    if (detached_) return;
    if (on) {
        ++busyDepth_;
        ++busyShown_;
        busyKinds_.push_back(kind);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
    } else {
        note("a animação de espera foi escondida sem estar visível");
    }
}

void ScriptedUserInterface::showHelp(int helpContext) {
    help_.push_back(helpContext);
}

std::optional<std::string> ScriptedUserInterface::chooseSaveFile(const std::string& title,
                                                                 const std::string&,
                                                                 const std::string&) {
    if (detached_) return std::nullopt;
    checkRunning();
    saveTitles_.push_back(title);
    if (saveFiles_.empty()) fail("escolha de arquivo inesperada: \"" + title + "\"");
    std::optional<std::string> file = std::move(saveFiles_.front());
    saveFiles_.pop_front();
    return file;
}

bool ScriptedUserInterface::printReport(const PrintableReport& report, ReportDestination where,
                                        const std::string& file) {
    if (detached_) return false;
    printed_.push_back({where, file, report});
    return true;
}

void ScriptedUserInterface::showCashOut(const CashOut& data, size_t firstShown,
                                        const CashOutActions& actions) {
    if (detached_) return;
    charts_.push_back({data, firstShown, actions});
}

}  // namespace pag
