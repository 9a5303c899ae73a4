// The PIX data of a boleto on the payment page: the key type shown by its name, the
// pick list of the keys registered for the supplier, the check on save, and the
// registration of a key typed by hand into the supplier's key list.
#include <string>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/ui/db_controls.h"

namespace pag {

namespace {

// Key types "01" to "04" are the items 1 to 4 of the type combo box (item 0 is blank).
constexpr int kTiposChave = 4;

// The position of a key type code, or 0 when it is none of them.
int posicaoTipo(const std::string& code) {
    for (int i = 1; i <= kTiposChave; ++i)
        if (code == Ajusta(std::to_string(i), 2)) return i;
    return 0;
}

std::string codigoTipo(int posicao) {
    return Ajusta(std::to_string(posicao), 2);
}

}  // namespace

std::string TfrmHabConta::cdsBoletosIDCHAVEPIXGetText(Field& field) {
    const auto& itens = Get<DBComboBox>("dbcIdChavePix").Items();
    const std::string code = field.AsString();
    if (EmptyString(code)) return itens.at(0);
    const int posicao = posicaoTipo(code);
    return posicao > 0 ? itens.at(static_cast<size_t>(posicao)) : std::string();
}

void TfrmHabConta::cdsBoletosIDCHAVEPIXSetText(Field& field, const std::string& text) {
    const auto& itens = Get<DBComboBox>("dbcIdChavePix").Items();
    // The blank item, or a text that is no item, keeps the stored type.
    for (int i = 1; i <= kTiposChave && static_cast<size_t>(i) < itens.size(); ++i)
        if (itens[static_cast<size_t>(i)] == text) field.SetAsString(codigoTipo(i));
}

void TfrmHabConta::dbcIdChavePixChange() {
    if (!editando(cdsBoletos)) return;
    for (const char* campo : {"CHAVEPIX", "DSCHAVEPIX"})
        cdsBoletos.FieldByName(campo).Clear();
    // The chosen type is stored at once: clearing the type would show the box blank
    // again and lose the choice.
    gravaTipoChavePix();
}

void TfrmHabConta::gravaTipoChavePix() {
    const int posicao = Get<DBComboBox>("dbcIdChavePix").ItemIndex();
    Field& tipo = cdsBoletos.FieldByName("IDCHAVEPIX");
    if (posicao >= 1 && posicao <= kTiposChave)
        tipo.SetAsString(codigoTipo(posicao));
    else
        tipo.Clear();
}

void TfrmHabConta::btnPesqChavePixBeforePesq() {
    VdNFBloqueada(true);
    std::vector<Value> args{Value(fornecedorDadosPag()), Value(""), Value("")};
    carregaDoServidor(cdsChavePix, "GetChavePix", args, {0});
}

void TfrmHabConta::btnPesqChavePixAfterPesq() {
    if (cdsBoletos.State() == DataSetState::Browse) cdsBoletos.Edit();
    const std::pair<const char*, const char*> copia[] = {
        {"CHAVEPIX", "CDCHAVEPIX"}, {"IDCHAVEPIX", "IDCHAVEPIX"}, {"DSCHAVEPIX", "DSCHAVEPIX"}};
    for (auto [boleto, chave] : copia)
        cdsBoletos.FieldByName(boleto).SetAsString(cdsChavePix.FieldByName(chave).AsString());
}

void TfrmHabConta::Vd_CHAVEPIX(const std::string& supplier, const std::string& code,
                               bool payeeBankEmpty) {
    const bool semTipo = EmptyString(cdsBoletos.FieldByName("IDCHAVEPIX").AsString());
    if (code == "Z" && EmptyString(cdsBoletos.FieldByName("CODEQRPIX").AsString())) {
        Get<DBEdit>("dbeChaveQrPix").SetFocus();
        MensErro(Ui(), msgPadrao.Msg("CODE_QR_inf"));
    }
    if (code != "F") return;
    // Without a payee account the key is the only way to pay.
    if (payeeBankEmpty && (EmptyString(cdsBoletos.FieldByName("CHAVEPIX").AsString()) || semTipo)) {
        MostraPagina(Get<Page>("tshDadosPag"));
        Get<DBComboBox>("dbcIdChavePix").SetFocus();
        MensErro(Ui(), msgPadrao.Msg("CHAVE_PIX_INF"));
    }
    if (semTipo) return;
    auto& tipoChave = Get<DBComboBox>("dbcIdChavePix");
    const std::string chave = Get<DBEdit>("dbeChavePix").Text();
    if (EmptyString(chave)) {
        tipoChave.SetItemIndex(0);
        cdsBoletos.FieldByName("IDCHAVEPIX").Clear();
        return;
    }
    const std::string tipo = codigoTipo(tipoChave.ItemIndex());
    const std::string descricao = Get<DBEdit>("dbeDsChavePix").Text();
    consultaOuCadastra(cdsChavePix, "GetChavePix", {Value(supplier), Value(chave), Value(tipo)},
                       "GRAVA_PIX", [&] {
                           cdsChavePix.Insert();
                           cdsChavePix.FieldByName("CDFORNECED").SetAsString(supplier);
                           cdsChavePix.FieldByName("IDCHAVEPIX").SetAsString(tipo);
                           cdsChavePix.FieldByName("CDCHAVEPIX").SetAsString(chave);
                           cdsChavePix.FieldByName("DSCHAVEPIX").SetAsString(descricao);
                           cdsChavePix.Post();
                       });
}

std::string TfrmHabConta::cdsChavePixIDCHAVEPIXGetText(Field& field) {
    const int posicao = posicaoTipo(field.AsString());
    return posicao > 0 ? msgPadrao.Msg("PIX_" + codigoTipo(posicao)) : std::string();
}

std::string TfrmHabConta::cdsChavePixIDCHAVEPIXPREFGetText(Field& field) {
    return msgPadrao.Msg(field.AsString() == "N" ? "N" : "S");
}

void TfrmHabConta::cdsChavePixNewRecord() {
    cdsChavePix.FieldByName("IDCHAVEPIXPREF").SetAsString("N");
}

void TfrmHabConta::cdsChavePixAfterPost() {
    gravaCadastroFornecedor(cdsChavePix, "SetChavePix");
}

}  // namespace pag
