// The deductions dialog's message table: the texts of its checks, questions and the
// names of the two kinds of deduction.
#include "Cli_pag12001/abatimento.h"

namespace pag {

void TfrmAbatimento::carregaMensagens() {
    msgPadrao.AddLines({
        "CdAjDeve|Tipo de ajuste deve ser informado.",
        "TipoAjuste_NaoCad|Tipo de ajuste não cadastrado.",
        "vrDesc_n_inf|Valor a descontar deve ser informado.",
        "VrADesc_dv<doPag|Valor a descontar deve ser menor ou igual ao valor do boleto.",
        "VrADesc_dv<nedT|Valor a descontar deve ser menor que valor adiantado.",
        "vrDesc_<_vrdisp|Valor do desconto deve ser menor ou igual que o valor disponível.",
        "vrDesc_inf|Valor do desconto deve ser informado.",
        "vrDesc<0|Valor total a descontar deve ser maior que zero.",
        "vrDesc_<_vrbol|Valor total do desconto deve ser menor ou igual ao valor do boleto.",
        "Adiantamento|Adiantamento",
        "Devolucao|Devolução",
        "CONF_DESMARC|Deseja desmarcar todas as notas de devolução?",
        "CONF_MARC|Deseja marcar todas as notas de devolução?",
        "CONF_MARC_ADI|Deseja marcar todas as notas de adiantamento?",
        "CONF_DESMARC_ADI|Deseja desmarcar todas as notas de adiantamento?",
    });
}

}  // namespace pag
