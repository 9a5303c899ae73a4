#pragma once

#include <string>

#include "platform/date.h"
#include "platform/ui/edit.h"

namespace pag {

// The mask of the date edits: dd/mm/yyyy with the slashes kept in the text.
inline constexpr const char* kDateEditMask = "99/99/9999;1; ";
// The mask of a period edit: mm/yyyy.
inline constexpr const char* kMonthEditMask = "99/9999;1; ";

// A date edit: typed as dd/mm/yyyy through the date mask; an impossible date is
// refused with a pt-BR message when the user leaves it. A blank edit is the empty date.
class DateEdit : public CustomEdit {
public:
    DateEdit(std::string name, Container* parent);

    // Throws the pt-BR message of an invalid date.
    Date GetDate() const;
    void SetDate(Date d);
    void CheckValidDate() const { GetDate(); }
    // A period (a month of competence or reference) is typed and shown as mm/yyyy and
    // read as the first day of that month.
    void SetMonthYear(bool on);
    bool MonthYear() const { return monthYear_; }

protected:
    void ValidateEdit() override;

private:
    bool monthYear_ = false;
};

// A data-aware date edit bound to a date field.
class DBDateEdit : public DateEdit {
public:
    DBDateEdit(std::string name, Container* parent, DataSource* source = nullptr,
               std::string fieldName = {});
};

}  // namespace pag
