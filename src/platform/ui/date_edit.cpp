#include "platform/ui/date_edit.h"

namespace pag {

DateEdit::DateEdit(std::string name, Container* parent) : CustomEdit(std::move(name), parent) {
    SetEditMask(kDateEditMask);
}

Date DateEdit::GetDate() const {
    return Date::parse(Text());
}

void DateEdit::SetDate(Date d) {
    SetText(d.toString());
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
