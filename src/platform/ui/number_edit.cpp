#include "platform/ui/number_edit.h"

#include <stdexcept>

#include "platform/format.h"
#include "platform/ui/text_chars.h"

namespace pag {

NumberEdit::NumberEdit(std::string name, Container* parent, std::string displayFormat)
    : CustomEdit(std::move(name), parent), format_(std::move(displayFormat)) {
    SetNumber(0);
}

void NumberEdit::SetDisplayFormat(std::string format) {
    double value = GetNumber();
    format_ = std::move(format);
    SetNumber(value);
}

double NumberEdit::GetNumber() const {
    std::string text = Text();
    if (text.find_first_not_of(' ') == std::string::npos) return 0;
    auto value = parseNumber(text);
    if (!value) throw std::invalid_argument("'" + text + "' não é um número válido.");
    return *value;
}

void NumberEdit::SetNumber(double value) {
    SetText(formatFloat(format_, value));
}

bool NumberEdit::AcceptsChar(KeyChar c) const {
    return isDigitChar(c) || c == U',' || c == U'.' || c == U'-' || c == U'+';
}

void NumberEdit::ValidateEdit() {
    CustomEdit::ValidateEdit();
    GetNumber();
}

void NumberEdit::Normalize() {
    SetNumber(GetNumber());
}

}  // namespace pag
