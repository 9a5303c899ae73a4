// The filter dialog's message table: titles of its pick lists and the texts of its checks.
#include "Cli_pag12100/filtro_hab_impl.h"

namespace pag {

void FiltroHabImpl::carregaMensagens() {
    static const std::pair<const char*, const char*> kLinhas[] = {
        {"Forn", "Fornecedor"},
        {"FormaPag", "Tipo de Baixa"},
        {"Fil_or", "Filial"},
        {"Fil_Lanc", "Filial"},
        {"Forn_inf", "Fornecedor deve ser informado."},
        {"NumeIni_inf", "Número inicial deve ser finormado."},
        {"NumeIni_menor", "Número inicial deve ser menor ou igual ao número final."},
        {"NumeFin_inf", "Número final deve ser informado."},
        {"FiliOrig_inf", "Filial de origem deve ser informada."},
        {"FiliLanc_inf", "Filial de lançamento deve ser informada."},
        {"DtVencIni_inf", "Data de vencimento inicial deve ser informada."},
        {"DtVencIni_menor",
         "Data de vencimento inicial deve ser menor ou igual a data de vencimento final."},
        {"DtVencFin_inf", "Data de vencimento final deve ser informada."},
        {"FormPag_inf", "Tipo de baixa deve ser informada."},
        {"VrLiqu_menor", "Valor líquido inicial deve ser menor ou igual ao valor líquido final."},
        {"Fornec_Nao_Ha", "Não há fornecedor cadastrado."},
        {"Filial_Nao_Ha", "Não há filial cadastrada."},
        {"tIPO_Nao_Ha", "Não tipo de baixa cadastrada."},
        {"Banco_Nao_Ha", "Não há banco cadastrado"},
        {"Banco", "Banco"},
        {"BancBenef_inf", "Banco beneficiário deve ser informado."},
        {"TipoCt_Cad", "Não há tipo de conta a pagar cadastrado."},
        {"Tipo_Conta", "Tipo de Conta a Pagar"},
        {"TipoConta_inf", "Tipo de conta deve ser informada."},
        {"DtEmissIni_inf", "Data de emissão inicial deve ser informada."},
        {"DtEmissIni_menor",
         "Data de emissão inicial deve ser menor ou igual a data de emissão final."},
        {"DtEmissFim_inf", "Data de emissão final deve ser informada."},
        {"GrForn_inf", "Grupo de Fornecedores deve ser informado."},
        {"Grupo_Fornecedor", "Grupo de Fornecedores"},
        {"GrForn_Cad", "Não há Grupo de Fornecedores cadastrado."},
        {"NrOrcaDe_inf", "Orçamento inicial deve ser informado."},
        {"NrOrcaAte_inf", "Orçamento final deve ser informado."},
        {"NrOrca_menor", "Orçamento inicial deve ser menor ou igual ao orçamento final."},
    };
    for (const auto& [chave, texto] : kLinhas)
        f.msgPadrao.Add(chave, texto);
}

}  // namespace pag
