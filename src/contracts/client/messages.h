#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/user_interface.h"

namespace pag {

// A screen's table of keyed messages: lines "KEY|text". Texts may hold "%s"
// placeholders that the caller fills (fillMessage).
class TMessages {
public:
    TMessages() = default;
    explicit TMessages(std::string name) : name_(std::move(name)) {}
    TMessages(std::string name, std::initializer_list<std::pair<std::string, std::string>> lines);

    const std::string& Name() const { return name_; }
    void Add(std::string key, std::string text);
    // Adds "KEY|text" lines.
    void AddLines(const std::vector<std::string>& lines);
    bool Has(std::string_view key) const;
    // The text of a key (exact key first, then case-insensitive); an unknown key
    // throws std::out_of_range naming it, so a typo never shows an empty box.
    const std::string& Msg(std::string_view key) const;
    // Shows the text; for MessageKind::Confirmation asks Yes/No and returns
    // ModalResult::Yes or ::No, otherwise ModalResult::Ok.
    ModalResult ShowMsg(UserInterface& ui, std::string_view key, MessageKind kind,
                        int helpContext = 0) const;
    const std::vector<std::pair<std::string, std::string>>& Lines() const { return lines_; }

private:
    std::string name_;
    std::vector<std::pair<std::string, std::string>> lines_;
};

// Replaces each "%s" in order with the next argument.
std::string fillMessage(std::string_view text, std::initializer_list<std::string_view> args);

// Shows text as an error message and abandons the running operation (SilentAbort).
[[noreturn]] void MensErro(UserInterface& ui, const std::string& text);

}  // namespace pag
