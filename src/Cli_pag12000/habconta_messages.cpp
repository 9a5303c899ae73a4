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
        // grid, marking and enabling
        "Bol_Antecipa|Operação bloqueada! Boleto associado a uma antecipação de fornecedor não "
        "pode ser marcado.",
        "NFBLOQ|Operação bloqueada! Boleto está ligado a uma nota bloqueada.",
        "Bol_Zero|Não é possível associar boletos com valor zerado.",
        "CONF_MARC|Deseja marcar todos os boletos?",
        "CONF_DESMARC|Deseja desmarcar todos os boletos?",
        "S|Sim",
        "N|Não",
        // edit life of a boleto
        "Bol_Ant_NAlt|Operação bloqueada! Boleto associado a uma antecipação de fornecedor não "
        "pode ser alterado.",
        "CODBAR_N_BOLETBANC|Código de barras não pode ser informado para boleto com tipo de baixa "
        "diferente de CNAB.",
        "For_Adi|Fornecedor possui adiantamento! Deseja utilizá-lo?",
        "NF_DEV|Fornecedor possui nota de devolução! Deseja utilizá-la",
        // settlement type, fine and interest
        "TPBX_INF|Tipo de baixa deve ser informada.",
        "TPBX_N_CAD|Tipo de baixa não cadastrada.",
        "TPBX_N_CC|Tipo de baixa não permitida! O banco para pagamento deve ser igual ao banco do "
        "favorecido.",
        "TPBX_N_DOC|Tipo de baixa não permitida! O banco para pagamento deve ser diferente do "
        "banco do favorecido.",
        "DOC_N_TP|Tipo de baixa não permitida! O valor do boleto deve ser menor que %s.",
        "P_MU_NEGA|Multa (%) deve ser maior ou igual a zero.",
        "V_MU_NEGA|Multa (Valor) deve ser maior ou igual a zero.",
        "P_MO_NEGA|Mora diária (%) deve ser maior ou igual a zero.",
        "V_MO_NEGA|Mora Diária (Valor) deve ser maior ou igual a zero.",
        // display names of operation codes
        "A|Emitir Cheque",
        "M|Utilizar Cheque",
        "L|Normal",
        "D|CNAB DOC",
        "T|CNAB TED CIP",
        "R|CNAB TED STR",
        "C|CNAB Crédito em Conta",
        "B|CNAB Boleto Bancário",
        // remittance guards
        "CONF_CANC_BOL_CNAB|O boleto será excluído da remessa. Confirma cancelamento?",
        "BOL_CNAB|Boleto enviado ao banco (via CNAB) não pode ser alterado.",
        "SEPBOLCOMP|Não é possível cancelar boleto ligado a uma compensação.",
        "BOL_N_DESAGRU|Operação bloqueada. Este boleto está parcelado.",
        // adjustments
        "CdAjDeve|Código deve ser informado.",
        "CdAj_Nao_cad|Ajuste não cadastrado.",
        "CdAj_Ja_cad|Ajuste já cadastrado.",
        "Vr_Deve|Valor deve ser informado.",
        "MaiorZero|Valor deve ser maior do que zero.",
        "VrAjus>Vrbol|Valor do Ajuste deve ser menor do que o valor do boleto.",
        "AJ_SUP_ORCAFINA|Ajuste não pode ser incluído por ter superado o valor o orçamento de "
        "fluxo de caixa.",
        "Bo_notAju|Operação bloqueada. Não é possível incluir ajustes para conta do tipo "
        "\"Adiantamento\".",
        "Bol_Negativo|Exclusão não permitida! Boleto ficará com valor negativo.",
        "AJEMPLEASING|Não é possível excluir ajustes originados de empréstimo ou leasing.",
        "AJBOLCOMP|Operação bloqueada! Ajuste originado de uma compensação não pode ser excluído.",
        "N_ha_TipoAjPag|Não há tipo de ajuste de conta a pagar cadastrado.",
        "TpAjContPag|Tipo de Ajuste de Conta a Pagar",
        "Desconto|Desconto",
        "Acrescimo|Acréscimo",
        // extension of the due date
        "CDPROR_INF|Motivo da prorrogação deve ser informado.",
        "CDPROR_N_CAD|Motivo de prorrogação não cadastrado.",
        "DTVENC_INF|Data do vencimento deve ser informada.",
        "DtVenc<DtEntr|Data de vencimento deve ser maior que a data de entrada do documento.",
        "DtVen<DtEmi|Data de vencimento do boleto não pode ser  inferior a data de emissão.",
        // installments
        "ParcBaixada|Parcelamento não permitido! Parcela já foi baixada.",
        "PARCBOLCOMP|Operação bloqueada! Parcelamento de boleto ligado a uma compensação não "
        "pode ser alterado.",
        "BOLPOSAJ|Parcelamento bloqueado. Boleto possui ajuste.",
        "SumParcValTot|Soma do(s) valore(s) do parcelamento igual ao valor liquído do boleto.",
        "ValParc>0|Valor da parcela deve ser maior que zero.",
        "SomaParcIgualBolOrig|Soma das parcelas deve ser igual ao valor original do boleto.",
        "DtVenc_Emi|Data de vencimento deve ser maior ou igual à data de emissão.",
        "Motiparc_ni|Motivo do parcelamento deve ser informado.",
        "Motiparc_nc|Motivo do parcelamento não cadastrado.",
        "Moti_Deve|Motivo do parcelamento deve ser informado.",
        "Motivo|Motivo",
        "VrMinPermitido|Operação bloqueada! Valor da conta poderá ficar negativo. Valor mínimo "
        "pemitido a este boleto : %s.",
        "ParcOrigNaoExc|Parcela original não pode ser excluída.",
        "Excl_Parc|Deseja excluir a última parcela?",
        "UltParcBaix|Exclusão não permitida! Última parcela anterior já foi baixada.",
        "ParcBaix|Exclusão não permitida! Parcela anterior já foi baixada.",
        // grouping and separating boletos
        "Bo_notAgrup|Operação bloqueada. Não é possível agrupar boletos de tipo de conta  "
        "\"Adiantamento\" com boletos de tipo de conta \"Normal\" .",
        "BoEmp_notAgrup|Operação bloqueada. Não é possível agrupar boletos de tipo de conta "
        "\"Empréstimo\".",
        "Forn_dif|Não é possível associar boletos de fornecedores diferentes",
        "VENBOL_DIF|Boletos selecionados possuem vencimentos diferentes. Deve ser informado um "
        "vencimento para todos os boletos. Deseja continuar?",
        "N_pode_agrup|Total de boletos a pagar do mês supera o valor do orçamento. Boletos não "
        "podem ser agrupados.",
        // answers of the automatic enabling about what other users changed meanwhile
        "2BOL_EXC|Um dos boletos selecionados foi excluído ou associado por outro usuário.",
        "2BOL_BAIXADO|Um dos boletos selecionados foi baixado por outro usuário.",
        "2CNT_PREV|Tipo do documento de um dos boletos selecionados foi alterado por outro "
        "usuário. Conta de documento previsto não pode ser associada.",
        "2CNT_PROR|Uma conta foi prorrogada por outro usuário. Contas com vencimento diferente "
        "não podem ser associadas.",
        "VRBOL_DIF|Valor de uma conta foi alterado por outro usuário.",
        "VRBOLF_DIF|Valor do boleto foi alterado por outro usuário.",
        // the tax guide command on a boleto that pays no tax
        "DISP_TRIB|Operação disponível apenas para boletos com tipo de baixa: Darf Simples, "
        "Darf Normal, FGTS, GPS, IPVA, DPVAT, DARJ",
    });
}

}  // namespace pag
