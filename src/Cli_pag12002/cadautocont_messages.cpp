// The automatic enabling dialog's message table: the texts of its checks and of the
// enabling done.
#include "Cli_pag12002/cadautocont.h"

namespace pag {

void TfrmCadAutoCont::carregaMensagens() {
    msgPadrao.AddLines({
        "DtVen<DtSis|Vencimento não pode ser anterior à data de processamento.",
        "Motpr_ni|Motivo de prorrogação deve ser informado.",
        "Motpr_nc|Motivo de Prorrogação não cadastrado.",
        "ReduCont_ni|Conta Corrente para pagamento deve ser informada.",
        "ReduCont_nc|Código reduzido da conta não cadastrado.",
        "Venc_ni|Data de vencimento deve ser informada.",
        "Bol_Hab|Os boletos selecionados foram habilitados.",
        "TpBx_ni|Tipo de Baixa para transferência eletrônica não parametrizado.",
        "VrLimDoc_ni|Valor limite de DOC não informado para conta corrente informada.",
    });
}

}  // namespace pag
