#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contracts/client/base_screens/db_navigator.h"
#include "contracts/client/base_screens/form_support.h"
#include "contracts/client/messages.h"
#include "platform/dataset/client_dataset.h"
#include "platform/ui/buttons.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"

namespace pag {

// The suite's maintenance screen: toolbar, list page with its grid, form page,
// navigator bar, operations and maintenance menus and the standard messages. A screen
// derives from it, sets the dataset of dtsPadrao, and runs the base behaviours below as
// one step of its own handlers (calling TfrmPadrao::sbtAlterarClick() inside its
// sbtAlterarClick, and so on). The controls' events call the virtual handlers, so an
// override is what the toolbar, the menus and the page control run.
//
// Toolbar buttons and their menu twins run the same handler. Standard availability
// (HabilitaPadrao) follows dtsPadrao's state; a screen with its own rules overrides
// dtsPadraoStateChange.
class TfrmPadrao : public Form, public HasMessageTables {
public:
    // screenCode is shown by lblCodTela ("PAG12000"); nameField is the field of
    // dtsPadrao's dataset whose display text the navigator bar shows (dbtNome).
    TfrmPadrao(std::string name, std::string caption, std::string screenCode,
               std::string nameField = {});
    ~TfrmPadrao() override;

    // The screen's data for the grid, the navigator and the base behaviours.
    DataSource dtsPadrao{"dtsPadrao"};
    // The screen's own messages, and the standard ones every maintenance screen shares
    // ("Canc", "Excl", ...).
    TMessages msgPadrao{"msgPadrao"};
    TMessages msgMensagensPadroes;

    Label& lblCodTela;
    Panel& panMenu;
    SpeedButton& sbtIncluir;
    SpeedButton& sbtAlterar;
    SpeedButton& sbtExcluir;
    SpeedButton& sbtProcurar;
    SpeedButton& sbtVerificar;
    SpeedButton& sbtConfirmar;
    SpeedButton& sbtCancelar;
    SpeedButton& sbtImprimir;
    SpeedButton& sbtAjuda;
    SpeedButton& sbtFechar;

    PageControl& pgcPadrao;
    Page& tshFolhaDados;
    ScrollBox& scbFolhaDados;
    Panel& panDbgPadrao;
    Grid& dbgPadrao;
    Page& tshFormulario;
    ScrollBox& scbFormulario;
    Panel& panFormulario;

    Panel& panNavigator;
    DBText& dbtNome;
    DBNavigator& dbnPadrao;

    MenuItem& mnuMenu;
    MenuItem& mnuOperacao;
    MenuItem& mnuFolhaDados;
    MenuItem& mnuFormulario;
    MenuItem& mnuListagem;
    MenuItem& mnuConfigImpressora;
    MenuItem& mnuManutencao;
    MenuItem& mnuIncluir;
    MenuItem& mnuAlterar;
    MenuItem& mnuExcluir;
    MenuItem& mnuProcurar;
    MenuItem& mnuVerificar;
    MenuItem& mnuCancelar;
    MenuItem& mnuConfirmar;

    // The grid's popup: moves the cursor like the navigator.
    MenuItem& pmnNavegar;
    MenuItem& mnuPrimeiro;
    MenuItem& mnuAnterior;
    MenuItem& mnuProximo;
    MenuItem& mnuUltimo;

    std::vector<const TMessages*> MessageTables() const override;

protected:
    // ---- base behaviours, each a step of the screen's handler of the same name
    // Creation: the list page shows (its menu item ticked) and the standard
    // availability is computed.
    virtual void FormCreate();
    // Closing with a row being edited or inserted asks "Canc": No keeps the screen open
    // with the edit; Yes cancels the edit and lets the close go on.
    virtual void FormCloseQuery(bool& canClose);
    // The close releases the screen (action Free); an edit still pending is cancelled.
    virtual void FormClose(CloseAction& action);
    // Ticks the operations-menu item of the page showing.
    virtual void pgcPadraoChange();
    virtual void dtsPadraoStateChange();

    // Include: a new row in dtsPadrao's dataset.
    virtual void sbtIncluirClick();
    // Change: the current row goes into edit (the dataset's before-edit checks run).
    virtual void sbtAlterarClick();
    // Delete: asks "Excl"; Yes deletes the current row.
    virtual void sbtExcluirClick();
    // Search: the find dialog over dtsPadrao's dataset.
    virtual void sbtProcurarClick();
    // Refresh: only the screen knows how to reload its data.
    virtual void sbtVerificarClick() = 0;
    // Confirm: posts the row being edited or inserted.
    virtual void sbtConfirmarClick();
    // Cancel: with a row being edited or inserted, asks "Canc"; Yes cancels it.
    virtual void sbtCancelarClick();
    virtual void sbtAjudaClick();
    virtual void sbtFecharClick();
    // The page items show their page and run the page change (nothing when it shows).
    virtual void mnuFolhaDadosClick();
    virtual void mnuFormularioClick();

    // ---- helpers for the screens
    // dtsPadrao's dataset (null when none is set).
    ClientDataSet* DataSetPadrao() const { return dtsPadrao.DataSet(); }
    // dtsPadrao's dataset is editing or inserting a row.
    bool EditandoPadrao() const;
    // Asks a standard confirmation by key ("Canc", "Excl"): true on Yes.
    bool ConfirmaPadrao(std::string_view key);
    // Shows a standard message as an error and abandons the running operation.
    [[noreturn]] void ErroPadrao(std::string_view key);
    // Shows a page and runs the page change, unless it already shows.
    void MostraPagina(Page& page);
    // The standard availability of the maintenance commands for dtsPadrao's state:
    // the menu item decides and its button follows.
    void HabilitaPadrao();
    // Enables a maintenance command: the menu item and its twin button.
    static void HabilitaComando(MenuItem& item, SpeedButton& button, bool enabled);
    UserInterface& Ui() const { return formUserInterface(*this); }

private:
    void wireEvents();
    // The dataset for a command that needs rows: abandons with "SemReg" when there are
    // none and with "EmEdicao" when a row is being edited.
    ClientDataSet& rowsForCommand();
};

}  // namespace pag
