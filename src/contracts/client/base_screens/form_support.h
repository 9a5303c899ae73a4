#pragma once

#include <vector>

#include "contracts/client/messages.h"
#include "platform/dataset/field.h"
#include "platform/ui/form.h"
#include "platform/ui/number_edit.h"

namespace pag {

// A screen whose message tables can be searched by key (every base screen is one), so
// that whoever shows a screen can turn a key into the text the screen shows.
class HasMessageTables {
public:
    virtual ~HasMessageTables() = default;
    virtual std::vector<const TMessages*> MessageTables() const = 0;
};

// The user interface a base screen talks through; a screen that was given none is a
// programming error (std::logic_error naming the screen).
UserInterface& formUserInterface(const Form& form);

// The colour of the fields a user must fill in.
inline constexpr Colour kCorObrigatorio = Colour::rgb(255, 255, 160);

// A field of a dialog's own dataset or lookup; money (floating-point) fields show as
// "#,##0.00", right-aligned.
FieldDef campoDialogo(const char* name, FieldType type, int size, const char* label = "");

// Moves the focus to a failing check's control. A control that has it already, or
// cannot take it now, or another edit refusing to be left, keeps the focus where it
// is: the check's own message is what the user must see.
void focaFalha(Control& c);

// The key guard of a value edit: a minus sign is dropped (the values typed here are never
// negative) and every other key goes through MaxNumber with the edit's text and
// selection, which also takes the keypad's "." as the decimal comma.
void guardaValor(NumberEdit& e, int intDigits, int decimals);

}  // namespace pag
