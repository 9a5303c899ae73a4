#pragma once

#include <string>

#include "platform/ui/edit.h"

namespace pag {

// A numeric edit: holds a double shown with a pt-BR display format ("#,##0.00" gives
// "1.234,56"; "0" no decimals). The user types digits, "," "." and a sign; leaving the
// edit shows the number formatted again, and text that is not a number is refused
// with a message. A blank edit reads as 0.
class NumberEdit : public CustomEdit {
public:
    NumberEdit(std::string name, Container* parent, std::string displayFormat = "#,##0.00");

    const std::string& DisplayFormat() const { return format_; }
    void SetDisplayFormat(std::string format);
    // Throws a pt-BR message when the text is not a number.
    double GetNumber() const;
    void SetNumber(double value);

protected:
    bool AcceptsChar(KeyChar c) const override;
    void ValidateEdit() override;
    void Normalize() override;

private:
    std::string format_;
};

}  // namespace pag
