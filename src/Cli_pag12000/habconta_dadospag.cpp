// The payment page's data checks (digitable line and barcode, paying and payee
// accounts, PIX): their messages and the events of their controls and datasets.
#include "Cli_pag12000/habconta.h"
#include "platform/ui/db_controls.h"

namespace pag {

void TfrmHabConta::carregaMensagensDadosPag() {
    msgPadrao.AddLines({
        // digitable line and barcode
        "LINHA_INVALIDA|Representação numérica inválida.",
        "DAC_1|Primeiro campo inválido. Dígito verificador inconsistente.",
        "DAC_2|Segundo campo inválido. Dígito verificador inconsistente.",
        "DAC_3|Terceiro campo inválido. Dígito verificador inconsistente.",
        "LINHA_INV|Representação numérica incompleta.",
        "DVGERAL_INV|Dígito verificador geral inconsistente.",
        "Vd_BarraPag|Código de barras já cadastrado para outro boleto com valor de %s do "
        "fornecedor %s, com vencimento em %s.",
        "Vd_BarraPagAnt|Código de barras já cadastrado para uma antecipação com valor de %s do "
        "fornecedor %s, com vencimento em %s.",
        "Alert_VrBolBar<>VrBolSis|O valor informado no código de barras (%s) para o título é "
        "diferente do valor final (%s) e valor original (%s) do boleto no sistema. Confirma "
        "Operação?",
        "Bloq_VrBolBar<>VrBolSis|Operação Bloqueada. O valor informado no código de barras (%s) "
        "para o título é diferente do valor final (%s) e valor original (%s) do boleto no "
        "sistema.",
        // paying and payee accounts
        "CDREDU_NC|Conta corrente não cadastrada.",
        "Conta_deve|Banco do favorecido deve ser igual ao banco do código de barra.",
        "FAV_NINF|Banco, agência e conta corrente do favorecido devem ser informados.",
        "GRAVA|Deseja gravar a conta do favorecido?",
        "Conta Corrente|Conta Corrente",
        "EmptyContCorr|Não há conta corrente cadastrada.",
        // PIX
        "CODE_QR_inf|QR Code deve ser informado.",
        "CHAVE_PIX_INF|Chave Pix dever ser informado.",
        "GRAVA_PIX|Deseja gravar a Chave Pix do Fornecedor?",
        "Chave_PIX|Chave Pix",
        "Chave_Pix_IsEmpty|Não há Chave Pix  Cadastrada para o Fornecedor.",
        "PIX_01|Telefone",
        "PIX_02|E-mail",
        "PIX_03|CPF/CNPJ",
        "PIX_04|EVP",
    });
}

void TfrmHabConta::ligaEventosDadosPag() {
    // ---- digitable line and barcode
    Get<DBEdit>("dbeLinhBarPag").OnExit = [this] { dbeLinhBarPagExit(); };
    auto& barra = Get<Edit>("edtCdBarra");
    barra.OnExit = [this] { edtCdBarraExit(); };
    barra.OnKeyPress = [this](KeyChar& key) { edtCdBarraKeyPress(key); };

    // ---- paying account
    auto& reduzido = Get<DBEdit>("dbeReduCont");
    reduzido.OnChange = [this] { dbeReduContChange(); };
    reduzido.OnExit = [this] { Vd_CdReduCont(); };
    auto& contaPagamento = Get<LookupButton>("btnContCorr");
    contaPagamento.BeforePesq = [this](bool&) { btnContCorrBeforePesq(); };
    contaPagamento.AfterPesq = [this] { btnContCorrAfterPesq(); };

    // ---- payee account
    auto& banco = Get<DBEdit>("dbeCdBancBolP");
    banco.OnKeyPress = [this](KeyChar& key) { dbeCdBancBolPKeyPress(key); };
    banco.OnExit = [this] { dbeCdBancBolPExit(); };
    auto& agencia = Get<DBEdit>("dbeCdAgenBolP");
    agencia.OnKeyDown = [this](int& key, ShiftState) { dbeContaFavorecidoKeyDown(key); };
    agencia.OnExit = [this] { dbeCdAgenBolPExit(); };
    auto& conta = Get<DBEdit>("dbeCdCCorForn");
    conta.OnKeyDown = [this](int& key, ShiftState) { dbeContaFavorecidoKeyDown(key); };
    conta.OnExit = [this] { dbeCdCCorFornExit(); };
    auto& contasFornecedor = Get<LookupButton>("btnContCFor");
    contasFornecedor.SetList(&dtsCCorForn);
    contasFornecedor.SetTitle(msgPadrao.Msg("Conta Corrente"));
    contasFornecedor.SetEmptyText(msgPadrao.Msg("EmptyContCorr"));
    contasFornecedor.BeforePesq = [this](bool&) { btnContCForBeforePesq(); };
    contasFornecedor.AfterPesq = [this] { btnContCForAfterPesq(); };
    cdsCCorForn.AfterPost = [this](ClientDataSet&) { cdsCCorFornAfterPost(); };
    cdsCCorForn.AfterDelete = [this](ClientDataSet&) { cdsCCorFornAfterPost(); };

    // ---- PIX
    Field& tipoChave = cdsBoletos.FieldByName("IDCHAVEPIX");
    tipoChave.OnGetText = [this](Field& f, bool) { return cdsBoletosIDCHAVEPIXGetText(f); };
    tipoChave.OnSetText = [this](Field& f, const std::string& text) {
        cdsBoletosIDCHAVEPIXSetText(f, text);
    };
    Get<DBComboBox>("dbcIdChavePix").OnChange = [this] { dbcIdChavePixChange(); };
    auto& chaves = Get<LookupButton>("btnPesqChavePix");
    chaves.SetTitle(msgPadrao.Msg("Chave_PIX"));
    chaves.SetEmptyText(msgPadrao.Msg("Chave_Pix_IsEmpty"));
    chaves.BeforePesq = [this](bool&) { btnPesqChavePixBeforePesq(); };
    chaves.AfterPesq = [this] { btnPesqChavePixAfterPesq(); };
    cdsChavePix.FieldByName("IDCHAVEPIX").OnGetText = [this](Field& f, bool) {
        return cdsChavePixIDCHAVEPIXGetText(f);
    };
    cdsChavePix.FieldByName("IDCHAVEPIXPREF").OnGetText = [this](Field& f, bool) {
        return cdsChavePixIDCHAVEPIXPREFGetText(f);
    };
    cdsChavePix.OnNewRecord = [this](ClientDataSet&) { cdsChavePixNewRecord(); };
    cdsChavePix.AfterPost = [this](ClientDataSet&) { cdsChavePixAfterPost(); };
    cdsChavePix.AfterDelete = [this](ClientDataSet&) { cdsChavePixAfterPost(); };
}

}  // namespace pag
