// The tax guide command: the guide dialog for a boleto that pays a tax, and the list
// read again, on the same boleto, once a guide was confirmed.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12003/cadguiaimp.h"

namespace pag {

void TfrmHabConta::CadGuiaImp() {
    const std::string oper =
        temBoletoAtual() ? cdsBoletos.FieldByName("IDBAIXAUTILP").AsString() : std::string();
    if (!codigoGuia(oper)) MensErro(Ui(), msgPadrao.Msg("DISP_TRIB"));
    if (CriaCadGuiaImp(oper)) Filtro_Locate();
    Habilita();
}

void TfrmHabConta::sbtCadGuiaImpClick() {
    CadGuiaImp();
}

void TfrmHabConta::mnuCadGuiaTribClick() {
    CadGuiaImp();
}

}  // namespace pag
