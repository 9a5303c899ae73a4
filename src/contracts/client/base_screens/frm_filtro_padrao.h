#pragma once

#include <string>
#include <vector>

#include "contracts/client/base_screens/form_support.h"
#include "contracts/client/base_screens/saved_options.h"
#include "contracts/client/messages.h"
#include "platform/sql/database.h"
#include "platform/ui/buttons.h"
#include "platform/ui/form.h"

namespace pag {

// The suite's filter dialog: the criteria group, the toolbar with help, confirm and the
// commands that save and load the operator's filter options. A dialog derives from it,
// puts its criteria in grbFiltroPadrao and runs the base behaviours as steps of its own
// handlers (TfrmFiltroPadrao::btfSaveOpcClick() inside its btfSaveOpcClick...).
//
// Saved options: the option list (Opcoes, name=value entries the dialog fills, one per
// criterion list) and the state of the dialog's criteria controls, per operator and
// screen code, in the suite database (SavedOptions).
class TfrmFiltroPadrao : public Form, public HasMessageTables {
public:
    // screenCode keys the saved options ("PAG12100").
    TfrmFiltroPadrao(std::string name, std::string caption, std::string screenCode);

    // Where the options are saved: the suite database and the logged operator. Without
    // it the save and load commands stay disabled.
    void SetOptionStore(Database* db, std::string operador);
    const std::string& CodTela() const { return codTela_; }
    // The option list: the dialog writes its criterion lists here before the base save
    // and reads them back after the base load.
    OptionList& Opcoes() { return opcoes_; }

    TMessages msgPadrao;

    GroupBox& grbFiltroPadrao;
    Panel& panMenu;
    Panel& panHelp;
    SpeedButton& sbtHelp;
    Panel& panBotoes;
    SpeedButton& sbtConfirma;
    SpeedButton& btfSaveOpc;
    SpeedButton& btfLoadOpc;

    std::vector<const TMessages*> MessageTables() const override { return {&msgPadrao}; }

protected:
    // Creation: help is offered when the dialog has a help context; saving and loading
    // when an option store was given.
    virtual void FormCreate();
    // The dialog's own confirmation.
    virtual void sbtConfirmaClick() = 0;
    virtual void sbtHelpClick();
    // Save: replaces the operator's saved options with the option list and the state of
    // the criteria controls, then says so.
    virtual void btfSaveOpcClick();
    // Load: puts the saved control state back and replaces the option list. With
    // nothing saved it says so and abandons the command, so the dialog keeps its
    // criteria (the dialog's own step after the base load does not run).
    virtual void btfLoadOpcClick();

    UserInterface& Ui() const { return formUserInterface(*this); }

private:
    SavedOptions store() const;

    std::string codTela_;
    OptionList opcoes_;
    Database* db_ = nullptr;
    std::string operador_;
};

}  // namespace pag
