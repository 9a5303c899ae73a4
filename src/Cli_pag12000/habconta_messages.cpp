// The messages of the boleto screen (msgPadrao), by key.
#include "Cli_pag12000/habconta.h"

namespace pag {

void TfrmHabConta::carregaMensagens() {
    msgPadrao.AddLines({
        // company of the top panel
        "Empresa_ni|Empresa deve ser informada.",
        "emp_nc|Empresa não cadastrada.",
        "Emp_Nr|Empresa não relacionada ao operador logado.",
        // processing-date lock
        "DtBol<DtSis|Boleto anterior à data de processamento não pode ser alterado.",
        // remittance situation of a boleto (the key is the code)
        "00|Não Enviado",
        "01|Enviado (Retorno com Erro)",
        "10|Enviado (Sem Retorno)",
        "20|Enviado (Retorno OK)",
        // a command of a later version of this screen
        "Func_ND|%s ainda não disponível nesta versão.",
    });
}

}  // namespace pag
