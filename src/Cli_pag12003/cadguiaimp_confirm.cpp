// The tax guide dialog's checks, one per guide kind, and its confirmation: the guide
// stored on the boleto through the server, the dialog closed only when it was.
#include <stdexcept>

#include "Cli_pag12003/cadguiaimp.h"
#include "Cli_pag12003/cadguiaimp_internal.h"
#include "contracts/client/busy.h"
#include "contracts/client/check_result.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

// The significant digits of a revenue or payment code the guides carry.
constexpr size_t kDigitosCodigo = 4;

std::string texto(const CustomEdit& e) {
    return AllTrim(e.Text());
}

}  // namespace

void TfrmCadGuiaImp::erro(const char* chave, Control& c) {
    focaFalha(c);
    MensErro(Ui(), msgPadrao.Msg(chave));
}

void TfrmCadGuiaImp::exigeCodigo(MaskEdit& e, const char* chaveVazio, const char* chaveLargura) {
    // Leaving the edit puts zeros on the left: a code of zeros is no code.
    const std::string codigo = texto(e);
    const size_t inicio = codigo.find_first_not_of('0');
    if (inicio == std::string::npos) erro(chaveVazio, e);
    if (codigo.size() - inicio > kDigitosCodigo) erro(chaveLargura, e);
}

Date TfrmCadGuiaImp::exigeData(DateEdit& e, const char* chave) {
    Date d;
    try {
        d = e.GetDate();
    } catch (const std::invalid_argument& x) {
        focaFalha(e);
        MensErro(Ui(), x.what());
    }
    if (d.isEmpty()) erro(chave, e);
    return d;
}

double TfrmCadGuiaImp::valorAte(NumberEdit& e, const char* chave) {
    double v = 0;
    try {
        v = e.GetNumber();
    } catch (const std::invalid_argument& x) {
        focaFalha(e);
        MensErro(Ui(), x.what());
    }
    // Equal to the boleto's value passes; compared in cents as the user reads them.
    if (chave && v != 0 &&
        RoundDec(v, 2) > RoundDec(telaGuia().cdsBoletos.FieldByName("VRFINALBPAG").AsFloat(), 2))
        erro(chave, e);
    return v;
}

void TfrmCadGuiaImp::percentualValido(NumberEdit& e) {
    if (valorAte(e, nullptr) > 100) erro("PERCENT>100", e);
}

void TfrmCadGuiaImp::Vd_DARF() {
    exigeCodigo(medCdReceitaDarf, "RECEGUIA_NINF", "RECEGUIA_LARG");
    exigeData(depApuracDarf, "DTAPURAC_NINF");
    valorAte(nedVrRecBrutDarf, nullptr);
    percentualValido(nedVrPercentDarf);
}

void TfrmCadGuiaImp::Vd_GPS() {
    exigeCodigo(medCdPagGPS, "CDPAGGPS_NINF", "CDPAGGPS_LARG");
    exigeData(depCompetGPS, "DTCOMPETGPS_NINF");
    valorAte(nedVrOutrEnt, "VROUTRENT>VRFINBOL");
}

void TfrmCadGuiaImp::Vd_FGTS() {
    // The identifier, the seal and its digits may stay blank.
    exigeCodigo(medCdReceitaFGTS, "RECEGUIA_NINF", "RECEGUIA_LARG");
}

void TfrmCadGuiaImp::Vd_DARF_Simples() {
    exigeCodigo(medCdReceDS, "RECEGUIA_NINF", "RECEGUIA_LARG");
    exigeData(depApuracDS, "DTAPURAC_NINF");
    const double receita = valorAte(nedVrRecBrutDS, "VRRECEBRUT>VRFINBOL");
    if (receita == 0) erro("VrReceBrut_NINF", nedVrRecBrutDS);
    const double percentual = valorAte(nedVrPercent, nullptr);
    if (percentual == 0) erro("VrPercent_NINF", nedVrPercent);
    // The percent as it is typed, not divided by 100.
    if (RoundDec(receita * percentual, 2) >
        RoundDec(telaGuia().cdsBoletos.FieldByName("VRFINALBPAG").AsFloat(), 2))
        erro("MULTI_RECEBRUT_PERCENT>VRFINBOL", nedVrPercent);
    percentualValido(nedVrPercent);
}

void TfrmCadGuiaImp::Vd_DARJ() {
    exigeCodigo(medCdReceDARJ, "RECEGUIA_NINF", "RECEGUIA_LARG");
    exigeData(depRefDARJ, "DTAPURAC_NINF");
}

void TfrmCadGuiaImp::Vd_GARE() {
    exigeCodigo(medCdReceGARE, "RECEGUIA_NINF", "RECEGUIA_LARG");
    exigeData(depApuGARE, "DTAPURAC_NINF");
    if (valorAte(nedVrReceBrutGARE, nullptr) == 0) erro("VrReceBrut_NINF", nedVrReceBrutGARE);
}

void TfrmCadGuiaImp::InsereTributo(const std::string& codigo, const std::string& referencia,
                                   const std::string& lacre, const std::string& digitoLacre,
                                   const std::string& notificacao, Date data, double valor,
                                   double percentual) {
    TfrmHabConta& tela = telaGuia();
    ClientDataSet& boleto = tela.cdsBoletos;
    std::vector<Value> args{boleto.FieldByName("NRLANBOLPAG").AsValue(),
                            boleto.FieldByName("CDFILIAL").AsValue(),
                            Value(codigo),
                            data.isEmpty() ? Value() : Value(data),
                            Value(referencia),
                            Value(valor),
                            Value(lacre),
                            Value(digitoLacre),
                            Value(percentual),
                            Value(notificacao)};
    BusyScope avi(Ui(), kAviProcessando);
    CheckResultServ(Ui(), tela.netHabConta.Call("SetTribBol", args, {2, 3, 4, 5, 6, 7, 8, 9}));
}

void TfrmCadGuiaImp::sbtConfirmaClick() {
    switch (tipoAtual()) {
        case 'G':
            Vd_GPS();
            InsereTributo(texto(medCdPagGPS), "", "", "", "", depCompetGPS.GetDate(),
                          nedVrOutrEnt.GetNumber(), 0);
            break;
        case 'H':
            Vd_DARF_Simples();
            InsereTributo(texto(medCdReceDS), Ajusta(medNrRefDS.Text(), 20), "", "", "",
                          depApuracDS.GetDate(), nedVrRecBrutDS.GetNumber(),
                          nedVrPercent.GetNumber());
            break;
        case 'I':
            Vd_DARF();
            InsereTributo(texto(medCdReceitaDarf), Ajusta(medNrRefDarf.Text(), 20), "", "", "",
                          depApuracDarf.GetDate(), nedVrRecBrutDarf.GetNumber(),
                          nedVrPercentDarf.GetNumber());
            break;
        case 'J':
            Vd_DARJ();
            InsereTributo(texto(medCdReceDARJ), "", "", "", "", depRefDARJ.GetDate(), 0, 0);
            break;
        case 'U':
            // The FGTS guide has no period: none is sent.
            Vd_FGTS();
            InsereTributo(texto(medCdReceitaFGTS), Ajusta(medIdFGTS.Text(), 20),
                          texto(medLacreConFGTS), texto(medDigConFGTS), "", Date(), 0, 0);
            break;
        case 'X':
            Vd_GARE();
            InsereTributo(texto(medCdReceGARE), Ajusta(medDividaAtvGARE.Text(), 20), "", "",
                          texto(medNotificGARE), depApuGARE.GetDate(),
                          nedVrReceBrutGARE.GetNumber(), 0);
            break;
        default:
            // "K", "V" and the others have no guide of their own to store.
            break;
    }
    confirmado_ = true;
    if (IsModal())
        SetModalResult(ModalResult::Ok);
    else
        Close();
}

}  // namespace pag
