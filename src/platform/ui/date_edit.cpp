#include "platform/ui/date_edit.h"

#include <cstdio>
#include <stdexcept>

namespace pag {

DateEdit::DateEdit(std::string name, Container* parent) : CustomEdit(std::move(name), parent) {
    SetEditMask(kDateEditMask);
}

Date DateEdit::GetDate() const {
    if (!monthYear_) return Date::parse(Text());
    const std::string t = Text();
    if (t.find_first_not_of(" /") == std::string::npos) return Date();
    try {
        return Date::parse("01/" + t);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument("'" + t +
                                    "' não é um mês válido: informe mês e ano (mm/aaaa).");
    }
}

void DateEdit::SetDate(Date d) {
    if (!monthYear_ || d.isEmpty()) {
        SetText(d.toString());
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%04d", d.month(), d.year());
    SetText(text);
}

void DateEdit::SetMonthYear(bool on) {
    const Date d = GetDate();
    monthYear_ = on;
    SetEditMask(on ? kMonthEditMask : kDateEditMask);
    SetDate(d);
}

void DateEdit::ValidateEdit() {
    CustomEdit::ValidateEdit();
    CheckValidDate();
}

DBDateEdit::DBDateEdit(std::string name, Container* parent, DataSource* source,
                       std::string fieldName)
    : DateEdit(std::move(name), parent) {
    Bind(source, std::move(fieldName));
}

}  // namespace pag
