#include "platform/ui/scripted_user_interface.h"

#include "platform/dataset/client_dataset.h"
#include "platform/ui/form.h"

namespace pag {

std::optional<ScriptedUserInterface::Message> ScriptedUserInterface::TakeMessage() {
    if (taken_ >= messages_.size()) return std::nullopt;
    return messages_[taken_++];
}

std::vector<std::string> ScriptedUserInterface::Problems() const {
    std::vector<std::string> out = failures_;
    auto left = [&out](size_t n, const char* what) {
        if (n) out.push_back(std::to_string(n) + " " + what + " não usada(s)");
    };
    left(answers_.size(), "resposta(s) sim/não");
    left(picks_.size(), "escolha(s) de lista");
    left(pickMany_.size(), "escolha(s) múltipla(s)");
    left(finds_.size(), "resposta(s) de procura");
    if (busyDepth_ != 0) out.push_back("animação de espera ainda visível");
    return out;
}

void ScriptedUserInterface::fail(const std::string& text) {
    failures_.push_back(text);
    throw UnexpectedInteraction(text);
}

void ScriptedUserInterface::showMessage(MessageKind kind, const std::string& text) {
    messages_.push_back({kind, text});
}

bool ScriptedUserInterface::ask(const std::string& text) {
    questions_.push_back(text);
    if (answers_.empty()) fail("pergunta inesperada: \"" + text + "\"");
    bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

bool ScriptedUserInterface::applyPick(ClientDataSet& data, const PickAnswer& a,
                                      const std::string& what) {
    switch (a.kind) {
        case PickAnswer::Kind::Nothing:
            return false;
        case PickAnswer::Kind::Row:
            if (a.row < 1 || a.row > data.RecordCount())
                fail(what + ": linha " + std::to_string(a.row) + " não existe (há " +
                     std::to_string(data.RecordCount()) + ")");
            data.SetRecNo(a.row);
            return true;
        case PickAnswer::Kind::Where: {
            std::string fields;
            std::vector<Value> values;
            size_t start = 0;
            while (start <= a.criteria.size()) {
                size_t end = a.criteria.find(';', start);
                if (end == std::string::npos) end = a.criteria.size();
                std::string part = a.criteria.substr(start, end - start);
                size_t eq = part.find('=');
                if (eq == std::string::npos) fail(what + ": critério inválido \"" + part + "\"");
                fields += (fields.empty() ? "" : ";") + part.substr(0, eq);
                values.emplace_back(part.substr(eq + 1));
                start = end + 1;
            }
            if (!data.Locate(fields, values)) fail(what + ": nenhuma linha com " + a.criteria);
            return true;
        }
    }
    return false;
}

bool ScriptedUserInterface::pickOne(ClientDataSet& data, const std::string& title,
                                    const std::string& emptyText) {
    pickTitles_.push_back(title);
    if (data.IsEmpty()) {
        // The real list shows the empty-list text instead of an empty list.
        showMessage(MessageKind::Information, emptyText);
        return false;
    }
    if (picks_.empty()) fail("lista inesperada: \"" + title + "\"");
    PickAnswer a = picks_.front();
    picks_.pop_front();
    return applyPick(data, a, "lista \"" + title + "\"");
}

std::vector<std::string> ScriptedUserInterface::pickMany(ClientDataSet& data,
                                                         const std::string& keyField,
                                                         const std::string& title) {
    pickTitles_.push_back(title);
    if (pickMany_.empty()) fail("lista múltipla inesperada: \"" + title + "\"");
    std::vector<std::string> chosen = pickMany_.front();
    pickMany_.pop_front();
    Field& key = data.FieldByName(keyField);
    if (key.DataType() == FieldType::Text)
        for (const std::string& v : chosen)
            if (data.Lookup(keyField, {Value(v)}, keyField).isNull())
                fail("lista múltipla \"" + title + "\": não há " + keyField + " = " + v);
    return chosen;
}

bool ScriptedUserInterface::find(ClientDataSet& data) {
    if (finds_.empty()) fail("procura inesperada em " + data.Name());
    PickAnswer a = finds_.front();
    finds_.pop_front();
    return applyPick(data, a, "procura em " + data.Name());
}

ModalResult ScriptedUserInterface::showModal(Form& form) {
    modalForms_.push_back(form.Name());
    if (!ModalHandler) fail("formulário modal inesperado: " + form.Name());
    ModalResult r = ModalHandler(form);
    if (form.IsModal() && form.Visible()) {
        form.SetModalResult(r == ModalResult::None ? ModalResult::Cancel : r);
        if (form.Visible()) fail("o formulário " + form.Name() + " não fechou");
    }
    return form.GetModalResult();
}

void ScriptedUserInterface::busy(bool on, int kind) {
    if (on) {
        ++busyDepth_;
        ++busyShown_;
        busyKinds_.push_back(kind);
    } else if (busyDepth_ == 0) {
        failures_.push_back("animação de espera escondida sem estar visível");
    } else {
        --busyDepth_;
    }
}

void ScriptedUserInterface::showHelp(int helpContext) {
    help_.push_back(helpContext);
}

}  // namespace pag
