#pragma once

#include <string>
#include <string_view>

namespace pag {

// The character rules of edits and masks. Text is kept as UTF-8 everywhere else;
// edits work on code points so that "ç" or "ã" is one position of a mask.
std::u32string toCodePoints(std::string_view utf8);
std::string toUtf8(std::u32string_view text);
std::string toUtf8(char32_t c);

bool isDigitChar(char32_t c);
// Letters of the Latin alphabets the screens are typed in (ASCII and Latin-1/Extended-A).
bool isLetterChar(char32_t c);
char32_t toUpperChar(char32_t c);
char32_t toLowerChar(char32_t c);
std::string toUpperText(std::string_view utf8);

// "&Boletos" -> "Boletos"; "&&" stands for one "&".
std::string stripAccelerator(std::string_view caption);

}  // namespace pag
