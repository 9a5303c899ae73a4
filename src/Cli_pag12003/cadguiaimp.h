#pragma once

#include <string>
#include <vector>

#include "contracts/client/base_screens/frm_roti_geral.h"
#include "platform/date.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/edit.h"
#include "platform/ui/number_edit.h"
#include "platform/ui/page_control.h"

namespace pag {

// The tax guide dialog ("PAG12003", "Cadastro de Guia de Tributo "): the data of the
// tax payment guide a boleto pays (DARF Normal, GPS, FGTS, DARF Simples, DARJ, GARE),
// one page per kind. It loads what the boleto carries, checks what is typed and stores
// it on the server. Created by CriaCadGuiaImp for one use, shown modally and destroyed
// when it closes; it reads the boleto through frmHabConta.
class TfrmCadGuiaImp : public TfrmRotiGeral {
public:
    TfrmCadGuiaImp();
    ~TfrmCadGuiaImp() override;

    Label& lblCodTela;
    PageControl& ntbCadGuiaImp;
    // DARF Normal
    MaskEdit& medCdReceitaDarf;
    DateEdit& depApuracDarf;
    MaskEdit& medNrRefDarf;
    NumberEdit& nedVrRecBrutDarf;
    NumberEdit& nedVrPercentDarf;
    // GPS
    MaskEdit& medCdPagGPS;
    DateEdit& depCompetGPS;
    NumberEdit& nedVrOutrEnt;
    // FGTS
    MaskEdit& medCdReceitaFGTS;
    MaskEdit& medIdFGTS;
    MaskEdit& medLacreConFGTS;
    MaskEdit& medDigConFGTS;
    // DARF Simples
    MaskEdit& medCdReceDS;
    DateEdit& depApuracDS;
    NumberEdit& nedVrRecBrutDS;
    NumberEdit& nedVrPercent;
    MaskEdit& medNrRefDS;
    // DARJ
    MaskEdit& medCdReceDARJ;
    DateEdit& depRefDARJ;
    // GARE
    MaskEdit& medCdReceGARE;
    DateEdit& depApuGARE;
    NumberEdit& nedVrReceBrutGARE;
    MaskEdit& medDividaAtvGARE;
    MaskEdit& medNotificGARE;

    // True when the dialog was closed by its confirm button.
    bool Confirmado() const { return confirmado_; }

    // ---- checks, one per guide kind; each shows its message, focusing the edit, and
    // abandons the confirmation
    void Vd_DARF();
    void Vd_GPS();
    void Vd_FGTS();
    void Vd_DARF_Simples();
    void Vd_DARJ();
    void Vd_GARE();

    // Stores the guide on the boleto (SetTribBol); a refusal propagates.
    void InsereTributo(const std::string& codigo, const std::string& referencia,
                       const std::string& lacre, const std::string& digitoLacre,
                       const std::string& notificacao, Date data, double valor, double percentual);

    // ---- events (public so the views and tests can run them)
    void FormCreate() override;
    void FormClose(CloseAction& action) override;
    void sbtConfirmaClick() override;
    void sbtCancelClick() override;

    // The edits a clerk fills in for one kind (by its operation code); none for a
    // code without a page of its own.
    std::vector<CustomEdit*> EditsDoTipo(char tipo);
    // The dialog opens on the first value of its page.
    void FocaPrimeiroCampo();

private:
    void carregaMensagens();
    void ligaEventos();
    // The boleto's stored guide into the kind's edits.
    void carregaGuia(char tipo);
    // Shows the key's message and abandons, the focus on c first.
    [[noreturn]] void erro(const char* chave, Control& c);
    // Checks shared by the kinds.
    void exigeCodigo(MaskEdit& e, const char* chaveVazio, const char* chaveLargura);
    Date exigeData(DateEdit& e, const char* chave);
    double valorAte(NumberEdit& e, const char* chave);
    void percentualValido(NumberEdit& e);

    bool confirmado_ = false;
};

// ---- module variables of the unit
namespace Cli_pag12003 {
// The settlement operation code the dialog was last opened for.
extern std::string stTpPag;
extern TfrmCadGuiaImp* frmCadGuiaImp;
}  // namespace Cli_pag12003

// Opens the tax guide dialog for the current boleto of the main screen, on the page of
// the operation code; true when it was closed by its confirm button.
bool CriaCadGuiaImp(const std::string& codigo);
// The unit's finalization: a dialog still open goes.
void Cli_pag12003_Finalize();

}  // namespace pag
