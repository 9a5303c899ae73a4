#pragma once

#include <cstddef>
#include <string_view>

namespace pag {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not one (overlong
// forms, surrogates and code points past U+10FFFF included).
size_t utf8Length(std::string_view s, size_t i);

// Characters of a UTF-8 text: its bytes that do not continue a sequence.
size_t utf8Chars(std::string_view s);

// Throws std::invalid_argument (pt-BR) when s is not valid UTF-8: such text has no
// JSON form, so it can neither be sent nor accepted.
void requireUtf8(std::string_view s);
[[noreturn]] void notUtf8();

}  // namespace pag
