#pragma once

#include <string>

#include "platform/date.h"
#include "platform/ui/edit.h"

namespace pag {

// The mask of the date edits: dd/mm/yyyy with the slashes kept in the text.
inline constexpr const char* kDateEditMask = "99/99/9999;1; ";

// A date edit: typed as dd/mm/yyyy through the date mask; an impossible date is
// refused with a pt-BR message when the user leaves it. A blank edit is the empty date.
class DateEdit : public CustomEdit {
public:
    DateEdit(std::string name, Container* parent);

    // Throws the pt-BR message of an invalid date.
    Date GetDate() const;
    void SetDate(Date d);
    void CheckValidDate() const { GetDate(); }

protected:
    void ValidateEdit() override;
};

// A data-aware date edit bound to a date field.
class DBDateEdit : public DateEdit {
public:
    DBDateEdit(std::string name, Container* parent, DataSource* source = nullptr,
               std::string fieldName = {});
};

}  // namespace pag
