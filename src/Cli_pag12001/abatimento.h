#pragma once

#include <string>
#include <string_view>

#include "contracts/client/base_screens/frm_roti_geral.h"
#include "platform/dataset/client_dataset.h"
#include "platform/sql/query.h"
#include "platform/ui/buttons.h"
#include "platform/ui/edit.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/number_edit.h"
#include "platform/ui/page_control.h"

namespace pag {

// The deductions dialog ("Pag12001", "Descontar " + kind): the supplier's advances
// (page "Adiantamento", grid dbgPadrao over cdsContaAd) or return notes (page
// "Devolucao", grid dbgDevolucao over cdsCompra) to deduct from the boleto being
// marked, as one discount adjustment of the chosen type. Created by CriaAbatimento for
// one use, shown modally and destroyed when it closes; it works on the main screen's
// datasets through frmHabConta.
class TfrmAbatimento : public TfrmRotiGeral {
public:
    TfrmAbatimento();
    ~TfrmAbatimento() override;

    // ---- the dialog's own datasets and lookup
    ClientDataSet cdsContaAd{"cdsContaAd"};
    ClientDataSet cdsCompra{"cdsCompra"};
    DataSource dtsContaAd{"dtsContaAd", &cdsContaAd};
    DataSource dtsCompra{"dtsCompra", &cdsCompra};
    Query qryTipoAjPagar{"qryTipoAjPagar"};
    DataSource dtsTipoAjPagar{"dtsTipoAjPagar", &qryTipoAjPagar};

    // ---- controls
    Panel& panFornecedor;
    DBEdit& dbeInscFor;
    DBEdit& dbeNmFornecedor;
    MaskEdit& medAjDescPag;
    LookupButton& btnDesconto;
    Edit& edtAjDescPag;
    PageControl& ntbConsulta;
    Page& tshAdiantamento;
    Page& tshDevolucao;
    Grid& dbgPadrao;
    Grid& dbgDevolucao;
    Label& lblTotal;
    NumberEdit& nedAbatimento;
    Label& lblVrADesc;
    NumberEdit& nedVrADesc;
    MenuItem& pmnHotKey;
    MenuItem& mnuConfirma;

    // A dataset of the dialog by its name; null when there is none.
    ClientDataSet* FindDataSet(std::string_view name);

    // Fills the dialog for a boleto (steps of CriaAbatimento before it shows): kind
    // "0" advances from qryAdiantamento, any other kind return notes from qryDevolucao.
    void Prepara(double valorBoleto, const std::string& kind);
    // True while the advances page shows.
    bool Adiantamentos() const { return ntbConsulta.ActivePageIndex() == 0; }

    // ---- checks; each shows its message and abandons
    void Vd_CdAjDescPag(bool confirmando);
    void Vd_VrADescontar();
    void Vd_AjusteBol();

    // ---- events (public so the views and tests can run them)
    void FormActivate();
    void FormCreate() override;
    void FormClose(CloseAction& action) override;
    void sbtConfirmaClick() override;
    void sbtCancelClick() override;
    void medAjDescPagChange();
    void medAjDescPagExit();
    void btnDescontoBeforePesq();
    void btnDescontoAfterPesq();
    // Both grids: the grid and its dataset are those of the page showing.
    void GridDblClick(Grid& grid);
    void GridKeyDown(Grid& grid, int& key, ShiftState shift);
    void GridKeyPress(Grid& grid, KeyChar& key);
    void GridTitleClick(Grid& grid, GridColumn& col);
    void GridColExit(Grid& grid);
    void GridDrawColumnCell(Grid& grid, GridCanvas& canvas, GridColumn& col);
    // Row checks and the running amount of both datasets.
    void LinhaBeforeEdit(ClientDataSet& ds);
    void LinhaBeforePost(ClientDataSet& ds);
    void LinhaAfterPost(ClientDataSet& ds);

private:
    // Construction, split over the unit's files.
    void criaDataSets();  // abatimento_layout.cpp
    void ligaEventos();   // abatimento_layout.cpp
    void ligaGrade(Grid& grid);
    void carregaMensagens();  // abatimento_messages.cpp

    Grid& gradeAtual() { return Adiantamentos() ? dbgPadrao : dbgDevolucao; }
    ClientDataSet& dadosAtuais() { return Adiantamentos() ? cdsContaAd : cdsCompra; }
    // The marked-row counter of a dataset (stContaAdi or stContaDev).
    double& contador(const ClientDataSet& ds);
    // Toggles the mark of the current row and posts it.
    void alternaMarca(ClientDataSet& ds);
    // Marks ("S", deduction = available) or unmarks ("N", deduction 0) the current row
    // and posts it.
    void marcaLinha(ClientDataSet& ds, bool marcar);
    // Editing in a grid: only the deduction of a marked row.
    void ajustaEdicao(Grid& grid);
    // Shows the key's message and abandons, the focus on c first.
    [[noreturn]] void erro(const char* chave, Control* c);

    // Confirmation steps (abatimento_confirm.cpp).
    void copiaAdiantamentos(const std::string& tipo);
    void copiaDevolucoes(const std::string& tipo);
    void gravaAjuste(const std::string& tipo);
    // Marks the main screen's boleto after the dialog: its final value lowered by
    // desconto, nedTotal and nedCont kept.
    void marcaBoleto(double desconto);

    // A row is being posted by the dialog itself: leaving a column must not post again.
    bool postando_ = false;
};

// ---- module variables
extern TfrmAbatimento* frmAbatimento;
extern bool boStCriado;
extern bool boAjusteIncluido;
extern std::string stCodForn;
extern std::string stFilial;
extern std::string stNrlanBol;
extern double doPagar;
extern double doVrDevol;
extern double doAdia;
extern double Total;
extern double stContaAdi;
extern double stContaDev;

// Opens the deductions dialog for the main screen's boleto (its final value, supplier,
// branch and launch number): kind "0" advances, "1" return notes. The main screen
// loads qryAdiantamento and qryDevolucao before. boAjusteIncluido tells afterwards
// whether a deduction was recorded.
void CriaAbatimento(double valorBoleto, const std::string& fornecedor, const std::string& filial,
                    const std::string& lancamento, const std::string& kind);
// Destroys a dialog still open (the package finalizing).
void DestroiAbatimento();
// The unit's finalization.
void Cli_pag12001_Finalize();

}  // namespace pag
