#pragma once

// What the tax guide dialog's source files share.

#include "Cli_pag12000/habconta.h"

namespace pag {

// A guide kind with a page of its own: the first character of its operation code, its
// page of the notebook, the name after the dialog's caption and the dialog's size.
struct TipoGuia {
    char codigo;
    int pagina;
    const char* nome;
    int largura;
    int altura;
};

// The kind of an operation code; null for the codes without a page ("K", "V", ...).
const TipoGuia* tipoGuia(char codigo);
// The first character of the code the dialog was opened for.
char tipoAtual();
// The main screen the dialog reads the boleto from; a programming error when there is
// none.
TfrmHabConta& telaGuia();

}  // namespace pag
