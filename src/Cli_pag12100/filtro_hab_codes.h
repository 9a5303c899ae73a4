#pragma once

#include <string>
#include <vector>

namespace pag {

// How the filter dialog encodes its choices for the server's GetBoletos.

// rgpBoleto: "Habilitados" "S", "Não Habilitados" "N", "Todos" (or none) empty.
std::string CodificaBoleto(int itemIndex);
// rgpStatLibNF: "Liberado" "L", "Bloqueado" "B", "Ambos" (or none) empty.
std::string CodificaStatLibNF(int itemIndex);
// The CNAB situations ticked: a lone blank when none; "_00" replaces the blank for "Não
// Enviado"; "_01", "_10", "_20" follow, in that order, for the other three boxes.
std::string CodificaSituacao(bool naoEnviado, bool retornoErro, bool semRetorno, bool retornoOk);
// rdgPessoa while every supplier is chosen: "T", "J", "F", "_O_I"; with a supplier list the
// list decides and the person type is "T".
std::string CodificaPessoa(bool todosFornecedores, int itemIndex);
// The person types the supplier pick list offers (P_IDTPIJURFORN): empty for "Todas",
// "J", "F", "_O_I" (codes O and I) for the others.
std::string TiposPessoaFornecedor(int itemIndex);
// The codes picked in a list lookup, in the server's list form: "001,237".
std::string JuntaCodigos(const std::vector<std::string>& codigos);

}  // namespace pag
