#pragma once

// What the automatic enabling dialog's source files share.

#include "Cli_pag12000/habconta.h"

namespace pag {

// The main screen the dialog works on; a programming error when there is none.
TfrmHabConta& telaHabConta();

// The text the dialog shows for a refusal of the automatic enabling: the main screen's
// message for the keys it knows ("CNT_PROR" its "2CNT_PROR", "VRBOL_DIF" its own),
// any other answer as it stands.
std::string TextoRespostaAgrupamento(const TMessages& tela, const std::string& resposta);

}  // namespace pag
