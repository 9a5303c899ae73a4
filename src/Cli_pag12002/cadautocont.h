#pragma once

#include <string>
#include <string_view>

#include "contracts/client/base_screens/frm_roti_geral.h"
#include "platform/dataset/client_dataset.h"
#include "platform/sql/query.h"
#include "platform/ui/buttons.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/edit.h"

namespace pag {

// The automatic enabling dialog ("PAG11004", "Habilitação Automática"): one due date,
// extension reason and paying account for every boleto marked on the main screen; the
// server enables them grouped by supplier. Created by CriaHabAuto for one use, shown
// modally and destroyed when it closes; it reads the main screen's boletos, accounts,
// general parameters and company through frmHabConta.
class TfrmCadAutoCont : public TfrmRotiGeral {
public:
    TfrmCadAutoCont();
    ~TfrmCadAutoCont() override;

    // ---- the dialog's own datasets and lookup
    ClientDataSet cdsFornecedor{"cdsFornecedor"};
    ClientDataSet cdsParamCC{"cdsParamCC"};
    ClientDataSet cdsBoletosMarcados{"cdsBoletosMarcados"};
    Query qryMotivoPror{"qryMotivoPror"};
    DataSource dtsMotivoPror{"dtsMotivoPror", &qryMotivoPror};

    // ---- controls
    Label& lblCodTela;
    DateEdit& depVencimento;
    MaskEdit& medTpProrroga;
    LookupButton& btpMotivoPror;
    Edit& edtNmProrroga;
    MaskEdit& medReduCont;
    LookupButton& btnContCorr;
    Edit& edtCdBanco;
    Edit& edtCdAgencia;
    Edit& edtCdContCorr;
    Edit& edtDsContCorr;

    // A dataset of the dialog by its name; null when there is none.
    ClientDataSet* FindDataSet(std::string_view name);

    // ---- checks; each shows its message and abandons (confirmando: a blank value is
    // refused only then)
    void Vd_MotiPror(bool confirmando);
    void Vd_CdReduCont(bool confirmando);
    // Abandons with "DtVen<DtSis" when the due date is blocked for the operator.
    void Verifica_Acesso_Sistema();

    // ---- events (public so the views and tests can run them)
    void FormCreate() override;
    void FormClose(CloseAction& action) override;
    void sbtConfirmaClick() override;
    void sbtCancelClick() override;
    void depVencimentoExit();
    void medTpProrrogaChange();
    void medTpProrrogaExit();
    void btpMotivoProrBeforePesq();
    void btpMotivoProrAfterPesq();
    void medReduContChange();
    void medReduContExit();
    void btnContCorrBeforePesq();
    void btnContCorrAfterPesq();

private:
    // Construction, split over the unit's files.
    void criaDataSets();      // cadautocont_layout.cpp
    void ligaEventos();       // cadautocont_layout.cpp
    void carregaMensagens();  // cadautocont_messages.cpp

    // The main screen's account lookup run for one code, or for every account ("T").
    void abreContas(const std::string& codigo, const std::string& todos);
    // The five account edits from the row the account lookup is on.
    void mostraConta();
    // Shows the key's message and abandons, the focus on c first.
    [[noreturn]] void erro(const char* chave, Control* c);

    // Confirmation steps (cadautocont_confirm.cpp).
    void preparaDataSets();
    void verificaVencimento();
    void leParametrosConta();
    void juntaBoletosMarcados();
    void verificaEntradas();
    // The server call and its answer (cadautocont_agrupa.cpp).
    void AgrupaFornecedores();
};

// ---- module variables, named by their unit: the deductions unit has a boStCriado of
// its own.
namespace Cli_pag12002 {
extern TfrmCadAutoCont* frmCadAutoCont;
extern bool boStCriado;
}  // namespace Cli_pag12002

// Opens the automatic enabling dialog over the main screen's marked boletos. The dialog
// ends with the modal result Ok after an enabling and Cancel otherwise.
void CriaHabAuto();
// Destroys a dialog still open (the package finalizing).
void DestroiHabAuto();
// The unit's finalization.
void Cli_pag12002_Finalize();

}  // namespace pag
