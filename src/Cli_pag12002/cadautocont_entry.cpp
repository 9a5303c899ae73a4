// The automatic enabling unit's variables, its entry that shows the dialog for one use
// and destroys it when it closes, the dialog's cancel and close steps, and the unit's
// finalization.
#include <memory>
#include <stdexcept>

#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12002/cadautocont_internal.h"

namespace pag {

namespace Cli_pag12002 {
TfrmCadAutoCont* frmCadAutoCont = nullptr;
bool boStCriado = false;
}  // namespace Cli_pag12002

using Cli_pag12002::boStCriado;
using Cli_pag12002::frmCadAutoCont;

namespace {

// The hourglass shown while the dialog is built (the busy kind of the screens' entries).
constexpr int kCursorAmpulheta = 0;

std::unique_ptr<TfrmCadAutoCont> gDialogo;

void liberaDialogo() {
    frmCadAutoCont = nullptr;
    boStCriado = false;
    gDialogo.reset();
}

}  // namespace

TfrmHabConta& telaHabConta() {
    if (!frmHabConta)
        throw std::logic_error("A habilitação automática precisa da tela de boletos já criada.");
    return *frmHabConta;
}

void TfrmCadAutoCont::FormCreate() {
    TfrmRotiGeral::FormCreate();
    btnContCorr.SetList(&telaHabConta().dtsContCorr);
    // The dialog opens on its first value.
    if (depVencimento.CanFocus()) depVencimento.SetFocus();
}

void TfrmCadAutoCont::sbtCancelClick() {
    // The base step ends the dialog with the modal result Cancel.
    TfrmRotiGeral::sbtCancelClick();
}

void TfrmCadAutoCont::FormClose(CloseAction& action) {
    boStCriado = false;
    TfrmRotiGeral::FormClose(action);
}

void CriaHabAuto() {
    telaHabConta();
    UserInterface& ui = *Suite().ui;
    {
        // Only while it is built: the user then works in the dialog with the usual cursor.
        BusyScope ampulheta(ui, kCursorAmpulheta);
        if (!boStCriado || !gDialogo) {
            gDialogo = std::make_unique<TfrmCadAutoCont>();
            frmCadAutoCont = gDialogo.get();
            frmCadAutoCont->SetUserInterface(&ui);
            frmCadAutoCont->DoCreate();
        }
        boStCriado = true;
    }
    // Created for this use only: whatever way the dialog ends, it goes.
    struct Libera {
        ~Libera() { liberaDialogo(); }
    } libera;
    frmCadAutoCont->ShowModal(ui);
}

void DestroiHabAuto() {
    liberaDialogo();
}

void Cli_pag12002_Finalize() {
    DestroiHabAuto();
}

}  // namespace pag
