#pragma once

// What the deductions dialog's source files share.

#include "Cli_pag12000/habconta.h"
#include "platform/ui/control.h"

namespace pag {

// The main screen the dialog works on; a programming error when there is none.
TfrmHabConta& telaBoletos();

// The main screen's detail of the deduction being confirmed: both emptied, so each
// confirmation sends only the advances or notes it chose itself.
void esvaziaDetalhes(TfrmHabConta& tela);

}  // namespace pag
