#pragma once

#include <string_view>

#include "platform/ui/keys.h"

namespace pag::scenario {

// A key as `key CONTROL KEY` writes it: a name (space enter delete backspace insert
// escape tab up down left right home end pageup pagedown f1..f12), optionally after
// ctrl+, shift+ and alt+, or one character.
struct ScriptKey {
    int key = 0;         // key-down code; 0 for a plain character
    ShiftState shift{};  // modifiers of the key-down
    KeyChar ch = 0;      // the character it types (0: none)
};

// Throws std::invalid_argument (pt-BR) naming the keys it knows.
ScriptKey parseScriptKey(std::string_view text);

}  // namespace pag::scenario
