#pragma once

#include <string>
#include <vector>

#include "contracts/client/base_screens/form_support.h"
#include "contracts/client/messages.h"
#include "platform/ui/buttons.h"
#include "platform/ui/form.h"

namespace pag {

// The suite's routine dialog: the data group, the toolbar with confirm and cancel, and
// the message table. A dialog derives from it, is created for one use, shown modally
// and destroyed when it closes; it runs the base behaviours as steps of its own
// handlers (TfrmRotiGeral::FormCreate() inside its FormCreate...).
class TfrmRotiGeral : public Form, public HasMessageTables {
public:
    TfrmRotiGeral(std::string name, std::string caption);

    TMessages msgPadrao{"msgPadrao"};

    GroupBox& grbDadosRel;
    Panel& panMenu;
    Panel& panBotoes;
    SpeedButton& sbtConfirma;
    SpeedButton& sbtCancel;

    std::vector<const TMessages*> MessageTables() const override { return {&msgPadrao}; }

protected:
    // Creation: the data group, confirm and cancel are available.
    virtual void FormCreate();
    // Closing, by any way: the dialog is destroyed (action Free).
    virtual void FormClose(CloseAction& action);
    virtual void sbtConfirmaClick() = 0;
    // Cancel: closes the dialog with the modal result Cancel.
    virtual void sbtCancelClick();

    UserInterface& Ui() const { return formUserInterface(*this); }
};

}  // namespace pag
