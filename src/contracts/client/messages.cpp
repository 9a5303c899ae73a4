#include "contracts/client/messages.h"

#include <stdexcept>

#include "platform/dataset/packet.h"
#include "platform/ui/abort.h"

namespace pag {

TMessages::TMessages(std::string name,
                     std::initializer_list<std::pair<std::string, std::string>> lines)
    : name_(std::move(name)), lines_(lines) {}

void TMessages::Add(std::string key, std::string text) {
    lines_.emplace_back(std::move(key), std::move(text));
}

void TMessages::AddLines(const std::vector<std::string>& lines) {
    for (const auto& l : lines) {
        size_t bar = l.find('|');
        if (bar == std::string::npos)
            Add(l, "");
        else
            Add(l.substr(0, bar), l.substr(bar + 1));
    }
}

bool TMessages::Has(std::string_view key) const {
    for (const auto& [k, t] : lines_)
        if (equalsIgnoreCase(k, key)) return true;
    return false;
}

const std::string& TMessages::Msg(std::string_view key) const {
    for (const auto& [k, t] : lines_)
        if (k == key) return t;
    for (const auto& [k, t] : lines_)
        if (equalsIgnoreCase(k, key)) return t;
    throw std::out_of_range("Mensagem '" + std::string(key) + "' não existe na tabela " + name_ +
                            ".");
}

ModalResult TMessages::ShowMsg(UserInterface& ui, std::string_view key, MessageKind kind,
                               int /*helpContext*/) const {
    const std::string& text = Msg(key);
    if (kind == MessageKind::Confirmation) return ui.ask(text) ? ModalResult::Yes : ModalResult::No;
    ui.showMessage(kind, text);
    return ModalResult::Ok;
}

std::string fillMessage(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    auto it = args.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && it != args.end()) {
            out += *it++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void MensErro(UserInterface& ui, const std::string& text) {
    ui.showMessage(MessageKind::Error, text);
    throw SilentAbort();
}

}  // namespace pag
