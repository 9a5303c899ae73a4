#include "scenario/scenario_keys.h"

#include <array>
#include <stdexcept>
#include <string>

#include "platform/ui/text_chars.h"

namespace pag::scenario {

namespace {

struct NamedKey {
    const char* name;
    int key;
    KeyChar ch;  // what the key types as well (Enter types #13, Space a blank...)
};

constexpr std::array kNamedKeys{
    NamedKey{"space", Key::Space, U' '},
    NamedKey{"enter", Key::Enter, U'\r'},
    NamedKey{"escape", Key::Escape, 27},
    NamedKey{"esc", Key::Escape, 27},
    NamedKey{"backspace", Key::Backspace, 8},
    NamedKey{"tab", Key::Tab, 0},
    NamedKey{"delete", Key::Delete, 0},
    NamedKey{"del", Key::Delete, 0},
    NamedKey{"insert", Key::Insert, 0},
    NamedKey{"ins", Key::Insert, 0},
    NamedKey{"up", Key::Up, 0},
    NamedKey{"down", Key::Down, 0},
    NamedKey{"left", Key::Left, 0},
    NamedKey{"right", Key::Right, 0},
    NamedKey{"home", Key::Home, 0},
    NamedKey{"end", Key::End, 0},
    NamedKey{"pageup", Key::PageUp, 0},
    NamedKey{"pagedown", Key::PageDown, 0},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

[[noreturn]] void unknownKey(std::string_view text) {
    throw std::invalid_argument(
        "tecla desconhecida '" + std::string(text) +
        "': use space, enter, escape, backspace, tab, delete, insert, up, down, left, right, "
        "home, end, pageup, pagedown, f1..f12, um caractere, ou ctrl+/shift+/alt+ antes");
}

// Takes the modifiers off the front of text ("ctrl+shift+delete" -> "delete").
std::string_view takeModifiers(std::string_view text, ShiftState& shift) {
    for (;;) {
        std::string head = lower(text.substr(0, text.find('+') + 1));
        if (text.size() <= head.size()) return text;  // "+" itself is a character
        if (head == "ctrl+")
            shift.ctrl = true;
        else if (head == "shift+")
            shift.shift = true;
        else if (head == "alt+")
            shift.alt = true;
        else
            return text;
        text.remove_prefix(head.size());
    }
}

}  // namespace

ScriptKey parseScriptKey(std::string_view text) {
    ScriptKey k;
    std::string_view name = takeModifiers(text, k.shift);
    std::string low = lower(name);
    bool modified = k.shift.ctrl || k.shift.alt || k.shift.shift;
    for (const NamedKey& n : kNamedKeys) {
        if (low != n.name) continue;
        k.key = n.key;
        if (!k.shift.ctrl && !k.shift.alt) k.ch = n.ch;
        return k;
    }
    if (low.size() >= 2 && low[0] == 'f' &&
        low.find_first_not_of("0123456789", 1) == std::string::npos) {
        int n = std::stoi(low.substr(1));
        if (n < 1 || n > 12) unknownKey(text);
        k.key = Key::F1 + n - 1;
        return k;
    }
    std::u32string cps = toCodePoints(name);
    if (cps.size() != 1) unknownKey(text);
    if (!modified) {
        k.ch = cps[0];
        return k;
    }
    // A letter or digit with modifiers is a key-down of its key (menu shortcuts).
    KeyChar c = toUpperChar(cps[0]);
    if (!((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'))) unknownKey(text);
    k.key = static_cast<int>(c);
    return k;
}

}  // namespace pag::scenario
