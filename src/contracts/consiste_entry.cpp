// What a user types into number and date edits: the key guard and the date setter.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "contracts/consiste.h"
#include "platform/dataset/field.h"

namespace pag {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether the text would still be a number within the limits: an optional "-" first,
// at most one "," and the digit counts on each side of it. Grouping dots and blanks
// are not digits and do not count.
bool fitsNumber(std::string_view s, int intDigits, int decimals) {
    int commas = 0, intCount = 0, decCount = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '-') {
            if (i != 0) return false;
        } else if (c == ',') {
            if (++commas > 1) return false;
        } else if (isDigit(c)) {
            ++(commas > 0 ? decCount : intCount);
        }
    }
    if (commas > 0 && decimals <= 0) return false;
    return intCount <= intDigits && decCount <= decimals;
}

}  // namespace

char MaxNumber(std::string_view text, int intDigits, int decimals, char key, int selStart,
               int selLength) {
    auto code = static_cast<unsigned char>(key);
    if (code < 0x20 || code == 0x7f) return key;  // backspace, enter, tab, ctrl+...
    if (key == '.') key = ',';
    if (!isDigit(key) && key != ',' && key != '-') return '\0';
    size_t start = std::min(static_cast<size_t>(std::max(selStart, 0)), text.size());
    size_t length = std::min(static_cast<size_t>(std::max(selLength, 0)), text.size() - start);
    std::string result(text.substr(0, start));
    result += key;
    result += text.substr(start + length);
    return fitsNumber(result, intDigits, decimals) ? key : '\0';
}

std::string DateMask() {
    return "!99/99/9999;1;_";
}

void DateSetText(Field& field, const std::string& text) {
    // The mask's placeholder "_" is a position not typed yet.
    std::string typed = text;
    std::replace(typed.begin(), typed.end(), '_', ' ');
    bool onlyLiterals = std::all_of(typed.begin(), typed.end(),
                                    [](char c) { return c == '/' || c == ' ' || c == '\t'; });
    if (onlyLiterals) {
        field.Clear();
        return;
    }
    Date date;
    try {
        date = Date::parse(typed);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument("'" + AllTrim(text) + "' não é uma data válida.");
    }
    field.SetAsDateTime(date);
}

}  // namespace pag
