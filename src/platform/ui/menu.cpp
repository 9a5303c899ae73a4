#include "platform/ui/menu.h"

#include <stdexcept>

#include "platform/ui/text_chars.h"

namespace pag {

namespace {

int namedKey(const std::string& upper) {
    static const std::pair<const char*, int> names[] = {
        {"DEL", Key::Delete},     {"DELETE", Key::Delete}, {"INS", Key::Insert},
        {"INSERT", Key::Insert},  {"ENTER", Key::Enter},   {"ESC", Key::Escape},
        {"BKSP", Key::Backspace}, {"TAB", Key::Tab},       {"SPACE", Key::Space},
        {"HOME", Key::Home},      {"END", Key::End},       {"LEFT", Key::Left},
        {"RIGHT", Key::Right},    {"UP", Key::Up},         {"DOWN", Key::Down},
        {"PGUP", Key::PageUp},    {"PGDN", Key::PageDown}};
    for (auto& [name, key] : names)
        if (upper == name) return key;
    if (upper.size() == 1 && (isDigitChar(upper[0]) || isLetterChar(upper[0]))) return upper[0];
    if (upper.size() >= 2 && upper[0] == 'F') {
        int n = 0;
        for (size_t i = 1; i < upper.size(); ++i) {
            if (!isDigitChar(upper[i])) return 0;
            n = n * 10 + (upper[i] - '0');
        }
        if (n >= 1 && n <= 12) return Key::F1 + n - 1;
    }
    return 0;
}

}  // namespace

void parseShortCut(const std::string& text, int& key, ShiftState& shift) {
    key = 0;
    shift = {};
    if (text.empty()) return;
    std::string rest = toUpperText(text);
    for (;;) {
        size_t plus = rest.find('+', 1);
        if (plus == std::string::npos) break;
        std::string mod = rest.substr(0, plus);
        if (mod == "CTRL")
            shift.ctrl = true;
        else if (mod == "SHIFT")
            shift.shift = true;
        else if (mod == "ALT")
            shift.alt = true;
        else
            throw std::invalid_argument("Tecla de atalho inválida: \"" + text + "\".");
        rest = rest.substr(plus + 1);
    }
    key = namedKey(rest);
    if (key == 0) throw std::invalid_argument("Tecla de atalho inválida: \"" + text + "\".");
}

MenuItem::MenuItem(std::string name, Container* parent, std::string caption, std::string shortcut)
    : Container(std::move(name), parent) {
    SetCaption(std::move(caption));
    SetShortCut(std::move(shortcut));
}

std::vector<MenuItem*> MenuItem::Items() const {
    std::vector<MenuItem*> items;
    for (Control* c : Children())
        if (auto* m = dynamic_cast<MenuItem*>(c)) items.push_back(m);
    return items;
}

void MenuItem::SetShortCut(std::string text) {
    parseShortCut(text, key_, shift_);
    shortcut_ = std::move(text);
    changed();
}

bool MenuItem::MatchesShortCut(int key, ShiftState shift) const {
    return key_ != 0 && key == key_ && shift == shift_;
}

void MenuItem::SetChecked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    changed();
}

bool MenuItem::Click() {
    if (!IsUsable() || IsSeparator()) return false;
    if (autoCheck_) SetChecked(!checked_);
    if (OnClick) OnClick();
    return true;
}

}  // namespace pag
