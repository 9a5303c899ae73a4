#pragma once

// What the deductions dialog's source files share.

#include "Cli_pag12000/habconta.h"
#include "platform/ui/control.h"

namespace pag {

// The main screen the dialog works on; a programming error when there is none.
TfrmHabConta& telaBoletos();

// Moves the focus to a failing check's control. A control that has it already, or
// cannot take it now, or another edit refusing to be left, keeps the focus where it
// is: the check's own message is what the user must see.
void focaFalha(Control& c);

// The main screen's detail of the deduction being confirmed: both emptied, so each
// confirmation sends only the advances or notes it chose itself.
void esvaziaDetalhes(TfrmHabConta& tela);

}  // namespace pag
