#include "contracts/client/base_screens/frm_roti_geral.h"

namespace pag {

TfrmRotiGeral::TfrmRotiGeral(std::string name, std::string caption)
    : Form(std::move(name), std::move(caption)),
      grbDadosRel(Add<GroupBox>("grbDadosRel")),
      panMenu(Add<Panel>("panMenu")),
      panBotoes(Add<Panel>("panBotoes", &panMenu)),
      sbtConfirma(Add<SpeedButton>("sbtConfirma", &panBotoes)),
      sbtCancel(Add<SpeedButton>("sbtCancel", &panBotoes)) {
    sbtConfirma.SetHint("Confirmar");
    sbtCancel.SetHint("Cancelar");
    SetDefaultButton(&sbtConfirma);
    OnCreate = [this] { FormCreate(); };
    OnClose = [this](CloseAction& action) { FormClose(action); };
    sbtConfirma.OnClick = [this] { sbtConfirmaClick(); };
    sbtCancel.OnClick = [this] { sbtCancelClick(); };
}

void TfrmRotiGeral::FormCreate() {
    grbDadosRel.SetEnabled(true);
    sbtConfirma.SetEnabled(true);
    sbtCancel.SetEnabled(true);
}

void TfrmRotiGeral::FormClose(CloseAction& action) {
    action = CloseAction::Free;
}

void TfrmRotiGeral::sbtCancelClick() {
    if (IsModal())
        SetModalResult(ModalResult::Cancel);
    else
        Close();
}

}  // namespace pag
