// The automatic enabling's confirmation: the three values checked, the paying account's
// transfer parameters read from the server, the eligible marked boletos and their
// distinct suppliers gathered from the main screen, every boleto's entry date checked
// against the new due date, then the server call; an enabling done closes the dialog.
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12002/cadautocont_internal.h"

namespace pag {

namespace {

// What the server needs of each boleto, copied from the main screen's row.
constexpr const char* kCamposBoleto[] = {
    "CDFILIAL",     "NRLANBOLPAG", "VRBOLPAG",    "DTVENBOLPAG", "CDFORNECED",  "DTENTRSAID",
    "CDTPBAIXAPAG", "VRFINALBPAG", "IDTPCTPAGAR", "CDREDUCONT",  "IDBAIXAUTILP"};

// Only boletos not sent to the bank (or sent and returned with an error) that are not
// real boletos themselves are enabled automatically.
bool elegivel(ClientDataSet& boletos) {
    const std::string situacao = boletos.FieldByName("IDSITUCNABP").AsString();
    return (situacao == "00" || situacao == "01") &&
           boletos.FieldByName("IDBPAGREAL").AsString() != "S";
}

bool semValor(Field& f) {
    return f.IsNull() || EmptyString(f.AsString());
}

// The main screen's marks only, for the walk; the whole list again afterwards, also
// when the walk fails.
class SoMarcados {
public:
    explicit SoMarcados(ClientDataSet& ds) : ds_(ds) {
        ds_.SetFilter("IDMARCADO = 'S'");
        ds_.SetFiltered(true);
    }
    ~SoMarcados() { ds_.SetFiltered(false); }
    SoMarcados(const SoMarcados&) = delete;
    SoMarcados& operator=(const SoMarcados&) = delete;

private:
    ClientDataSet& ds_;
};

}  // namespace

void TfrmCadAutoCont::preparaDataSets() {
    for (ClientDataSet* ds : {&cdsFornecedor, &cdsBoletosMarcados})
        if (ds->Active())
            ds->EmptyDataSet();
        else
            ds->CreateDataSet();
}

void TfrmCadAutoCont::verificaVencimento() {
    Date vencimento;
    try {
        // A blank edit is the empty date; only an impossible one is refused here.
        vencimento = depVencimento.GetDate();
    } catch (...) {
        focaFalha(depVencimento);
        throw;
    }
    if (vencimento.isEmpty()) erro("Venc_ni", &depVencimento);
    // A date typed and confirmed at once never left its edit: the lock still holds.
    Verifica_Acesso_Sistema();
}

void TfrmCadAutoCont::leParametrosConta() {
    TfrmHabConta& tela = telaHabConta();
    cdsParamCC.SetData(PayloadPacket(
        CheckResultServ(Ui(), tela.netHabConta.Call("GetParamCC", {Value(medReduCont.Text())}))));
    for (const char* tipo : {"CDTPBXCREDCONT", "CDTPBAIXADOC", "CDTPBAIXATED"})
        if (cdsParamCC.IsEmpty() || semValor(cdsParamCC.FieldByName(tipo)))
            erro("TpBx_ni", &depVencimento);
    if (RoundDec(cdsParamCC.FieldByName("VRLIMITEDOC").AsFloat(), 2) <= 0)
        erro("VrLimDoc_ni", &depVencimento);
}

void TfrmCadAutoCont::juntaBoletosMarcados() {
    ClientDataSet& boletos = telaHabConta().cdsBoletos;
    if (!boletos.Active()) return;
    // Undone in reverse order: the filter goes, the scroll reaction comes back, then the
    // grid redraws once.
    ControlsDisabled congelada(boletos);
    DetachEvent semRolagem(boletos.AfterScroll);
    SoMarcados marcados(boletos);
    for (boletos.First(); !boletos.Eof(); boletos.Next()) {
        if (!elegivel(boletos)) continue;
        cdsBoletosMarcados.Append();
        for (const char* campo : kCamposBoleto)
            cdsBoletosMarcados.FieldByName(campo).SetValue(boletos.FieldByName(campo).AsValue());
        cdsBoletosMarcados.Post();
        const Value fornecedor = boletos.FieldByName("CDFORNECED").AsValue();
        // One row per supplier: codes differing only in letter case are one supplier.
        if (!cdsFornecedor.Locate("CDFORNECED", fornecedor, LocateOptions{true, false})) {
            cdsFornecedor.Append();
            cdsFornecedor.FieldByName("CDFORNECED").SetValue(fornecedor);
            cdsFornecedor.Post();
        }
    }
}

void TfrmCadAutoCont::verificaEntradas() {
    const Date vencimento = depVencimento.GetDate();
    for (cdsBoletosMarcados.First(); !cdsBoletosMarcados.Eof(); cdsBoletosMarcados.Next()) {
        Field& entrada = cdsBoletosMarcados.FieldByName("DTENTRSAID");
        if (entrada.IsNull() || vencimento >= entrada.AsDateTime()) continue;
        focaFalha(depVencimento);
        MensErro(Ui(), telaHabConta().msgPadrao.Msg("DtVenc<DtEntr"));
    }
}

void TfrmCadAutoCont::sbtConfirmaClick() {
    preparaDataSets();
    verificaVencimento();
    Vd_MotiPror(true);
    Vd_CdReduCont(true);
    leParametrosConta();
    juntaBoletosMarcados();
    verificaEntradas();
    AgrupaFornecedores();
    msgPadrao.ShowMsg(Ui(), "Bol_Hab", MessageKind::Information);
    if (IsModal())
        SetModalResult(ModalResult::Ok);
    else
        Close();
}

}  // namespace pag
