// The two bank accounts of a boleto on the payment page: the company's paying account,
// chosen by its short code, and the payee's bank, agency and account, typed or picked
// from the accounts registered for the supplier; a payee account typed by hand is
// offered for registration when the boleto is saved. Also the helpers the payee and
// PIX checks share: the supplier of the payment data, the lookup that offers to
// register what it did not find, and the save of a supplier register.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

// The payee fields in the order of the remembered key's characters.
constexpr const char* kCamposFavorecido[] = {"dbeCdBancBolP", "dbeCdAgenBolP", "dbeCdCCorForn"};

// The paying account's columns copied into the boleto, the short code first (its change
// handler clears the others).
constexpr const char* kCamposContaPagamento[] = {"CDREDUCONT", "CDBANCO",    "CDBANCCNAB",
                                                 "CDAGENCIA",  "CDCONTCORR", "DSCONTCORR"};

// The edit mask a bank's picture gives a payee field: none when the bank has no
// picture or the value already holds its separator.
std::string mascaraBanco(const std::string& pictura, const std::string& valor) {
    if (pictura.empty() || valor.find('-') != std::string::npos) return {};
    return pictura + ";0; ";
}

}  // namespace

// ---- helpers shared by the payment data checks

std::string TfrmHabConta::fornecedorDadosPag() {
    if (cdsBoletos.State() == DataSetState::Insert) return FornecedorLembrado();
    return cdsBoletos.FieldByName("CDFORNECED").AsString();
}

void TfrmHabConta::focaSeParar(const char* control, const std::function<void()>& passos) {
    try {
        passos();
    } catch (const SilentAbort&) {
        Get<Control>(control).SetFocus();
        throw;
    }
}

void TfrmHabConta::consultaOuCadastra(ClientDataSet& ds, const char* operation,
                                      std::vector<Value> args, const char* pergunta,
                                      const std::function<void()>& registra) {
    BusyScope avi(Ui(), kAviProcessando);
    // The supplier code travels as a variable, as the server's lookups take it.
    ds.SetData(PayloadPacket(CheckResultServ(Ui(), netHabConta.Call(operation, args, {0}))));
    if (!ds.IsEmpty()) return;
    avi.Pause();
    if (msgPadrao.ShowMsg(Ui(), pergunta, MessageKind::Confirmation) == ModalResult::Yes) {
        try {
            registra();
        } catch (...) {
            // A row that could not be filled is not left half made.
            if (editando(ds)) ds.Cancel();
            throw;
        }
    }
    avi.Resume();
}

void TfrmHabConta::gravaCadastroFornecedor(ClientDataSet& ds, const char* operation) {
    if (ds.ChangeCount() == 0) return;
    try {
        std::vector<Value> args{Value(ds.Delta())};
        BusyScope avi(Ui(), kAviProcessando);
        CheckResultServ(Ui(), netHabConta.Call(operation, args));
    } catch (...) {
        // What the server refused is not kept: the register stays as it was stored.
        ds.CancelUpdates();
        throw;
    }
    if (ds.LogChanges()) ds.MergeChangeLog();
}

// ---- paying account

void TfrmHabConta::btnContCorrBeforePesq() {
    qryContCorr.Close();
    qryContCorr.ParamByName("P_CDEMPRESA").SetAsString(medEmpresa.Text());
    qryContCorr.ParamByName("P_CDREDUCONT").SetAsString("");
    qryContCorr.ParamByName("P_TCDREDUCONT").SetAsString("T");
    qryContCorr.Open();
}

void TfrmHabConta::btnContCorrAfterPesq() {
    if (!editando(cdsBoletos)) cdsBoletos.Edit();
    for (const char* campo : kCamposContaPagamento)
        cdsBoletos.FieldByName(campo).SetAsString(qryContCorr.FieldByName(campo).AsString());
}

void TfrmHabConta::dbeReduContChange() {
    if (!editando(cdsBoletos)) return;
    // The bank code of the remittance stays until the new code is validated.
    for (const char* campo : {"CDBANCO", "CDAGENCIA", "CDCONTCORR", "DSCONTCORR"})
        cdsBoletos.FieldByName(campo).Clear();
}

void TfrmHabConta::Vd_CdReduCont() {
    if (!editando(cdsBoletos)) return;
    auto& codigo = Get<DBEdit>("dbeReduCont");
    focaSeParar("dbeReduCont", [&] {
        const std::string reduzido = Ajusta(codigo.Text(), 3);
        cdsBoletos.FieldByName("CDREDUCONT").SetAsString(reduzido);
        if (reduzido.empty()) return;
        qryContCorr.Close();
        qryContCorr.ParamByName("P_CDEMPRESA").SetAsString(medEmpresa.Text());
        qryContCorr.ParamByName("P_CDREDUCONT").SetAsString(reduzido);
        qryContCorr.ParamByName("P_TCDREDUCONT").SetAsString("");
        qryContCorr.Open();
        if (qryContCorr.IsEmpty()) MensErro(Ui(), msgPadrao.Msg("CDREDU_NC"));
        for (const char* campo : kCamposContaPagamento)
            cdsBoletos.FieldByName(campo).SetAsString(qryContCorr.FieldByName(campo).AsString());
    });
}

// ---- payee account

void TfrmHabConta::dbeCdBancBolPKeyPress(KeyChar& key) {
    const bool digito = key >= U'0' && key <= U'9';
    if (!digito && key != static_cast<KeyChar>(Key::Backspace) &&
        key != static_cast<KeyChar>(Key::Enter))
        key = 0;
}

void TfrmHabConta::dbeContaFavorecidoKeyDown(int& key) {
    if (key == Key::F9) Get<LookupButton>("btnContCFor").Click();
}

void TfrmHabConta::dbeCdBancBolPExit() {
    if (!editando(cdsBoletos)) return;
    const std::string banco = Ajusta(Get<DBEdit>("dbeCdBancBolP").Text(), 3);
    cdsBoletos.FieldByName("CDBANCBOLP").SetAsString(banco);
    // Agency and account take only text typed and not yet stored: an edit whose value
    // does not fit the bank's picture shows it cut, and must not cut the stored value.
    const std::pair<const char*, const char*> pendentes[] = {{"CDCCORBOLP", "dbeCdCCorForn"},
                                                             {"CDAGENBOLP", "dbeCdAgenBolP"}};
    for (auto [campo, controle] : pendentes) {
        auto& edit = Get<DBEdit>(controle);
        if (edit.Modified()) cdsBoletos.FieldByName(campo).SetAsString(edit.Text());
    }
    stContaBenef_[0] = banco.empty() ? '0' : '1';
    Field& agencia = cdsBoletos.FieldByName("CDAGENBOLP");
    Field& conta = cdsBoletos.FieldByName("CDCCORBOLP");
    agencia.SetEditMask({});
    conta.SetEditMask({});
    if (banco.empty()) return;
    // The payee of a slip is the bank that issued it (the first three digits).
    for (const char* codigo : {"dbeLinhBarPag", "edtCdBarra"}) {
        const std::string texto = Get<CustomEdit>(codigo).Text();
        if (!EmptyString(texto) && texto.substr(0, 3) != banco) {
            Get<DBEdit>("dbeCdBancBolP").SetFocus();
            MensErro(Ui(), msgPadrao.Msg("Conta_deve"));
        }
    }
    qryBanco.Close();
    qryBanco.ParamByName("P_CDBANCO").SetAsString(banco);
    qryBanco.Open();
    const bool temBanco = !qryBanco.IsEmpty();
    agencia.SetEditMask(mascaraBanco(temBanco ? qryBanco.FieldByName("CDPICTAGEN").AsString() : "",
                                     agencia.AsString()));
    conta.SetEditMask(mascaraBanco(temBanco ? qryBanco.FieldByName("CDPICTCONT").AsString() : "",
                                   conta.AsString()));
}

void TfrmHabConta::dbeCdAgenBolPExit() {
    if (!editando(cdsBoletos)) return;
    stContaBenef_[1] = EmptyString(Get<DBEdit>("dbeCdAgenBolP").Text()) ? '0' : '1';
}

void TfrmHabConta::dbeCdCCorFornExit() {
    if (!editando(cdsBoletos)) return;
    stContaBenef_[2] = EmptyString(Get<DBEdit>("dbeCdCCorForn").Text()) ? '0' : '1';
}

void TfrmHabConta::btnContCForBeforePesq() {
    VdNFBloqueada(true);
    std::vector<Value> args{Value(fornecedorDadosPag()),
                            Value(""),
                            Value("T"),
                            Value(""),
                            Value("T"),
                            Value(""),
                            Value("T"),
                            Value("T")};
    carregaDoServidor(cdsCCorForn, "GetCCorForn", args, {0});
}

void TfrmHabConta::btnContCForAfterPesq() {
    if (cdsBoletos.State() == DataSetState::Browse) cdsBoletos.Edit();
    const std::pair<const char*, const char*> copia[] = {
        {"CDBANCBOLP", "CDBANCFORN"}, {"CDAGENBOLP", "CDAGENFORN"}, {"CDCCORBOLP", "CDCCORFORN"}};
    for (auto [boleto, conta] : copia)
        cdsBoletos.FieldByName(boleto).SetAsString(cdsCCorForn.FieldByName(conta).AsString());
    stContaBenef_ = "111";
}

void TfrmHabConta::Vd_Favorecido(const std::string& supplier) {
    if (stContaBenef_ != "000" && stContaBenef_ != "111") {
        for (size_t i = 0; i < 3; ++i) {
            if (stContaBenef_[i] != '0') continue;
            Get<DBEdit>(kCamposFavorecido[i]).SetFocus();
            break;
        }
        MensErro(Ui(), msgPadrao.Msg("FAV_NINF"));
    }
    if (stContaBenef_ == "000") {
        // No payee account: an account looked up earlier (maybe of another boleto) must
        // not give the boleto its remittance registration.
        cdsCCorForn.Close();
        return;
    }
    // The stored values, which the edits may show cut by the bank's picture.
    const std::string banco = cdsBoletos.FieldByName("CDBANCBOLP").AsString();
    const std::string agencia = cdsBoletos.FieldByName("CDAGENBOLP").AsString();
    const std::string conta = cdsBoletos.FieldByName("CDCCORBOLP").AsString();
    consultaOuCadastra(cdsCCorForn, "GetCCorForn",
                       {Value(supplier), Value(banco), Value(""), Value(agencia), Value(""),
                        Value(conta), Value(""), Value("T")},
                       "GRAVA", [&] {
                           cdsCCorForn.Insert();
                           const std::pair<const char*, std::string> valores[] = {
                               {"CDFORNECED", supplier},
                               {"CDBANCFORN", banco},
                               {"CDAGENFORN", agencia},
                               {"CDCCORFORN", conta},
                               {"IDTPICNABFOR", cdsBoletos.FieldByName("IDTPIJURFORN").AsString()},
                               {"NRINSCNABFOR", cdsBoletos.FieldByName("NRINSJURFORN").AsString()}};
                           for (const auto& [campo, valor] : valores)
                               cdsCCorForn.FieldByName(campo).SetAsString(valor);
                           cdsCCorForn.Post();
                       });
}

void TfrmHabConta::cdsCCorFornAfterPost() {
    gravaCadastroFornecedor(cdsCCorForn, "SetCCorForn");
}

}  // namespace pag
