#include "contracts/client/base_screens/frm_filtro_padrao.h"

#include <stdexcept>

#include "contracts/client/base_screens/control_state.h"
#include "platform/ui/abort.h"

namespace pag {

TfrmFiltroPadrao::TfrmFiltroPadrao(std::string name, std::string caption, std::string screenCode)
    : Form(std::move(name), std::move(caption)),
      msgPadrao("msgPadrao", {{"OpcGravadas", "Opções do filtro gravadas."},
                              {"OpcNaoHa", "Não há opções de filtro gravadas."}}),
      grbFiltroPadrao(Add<GroupBox>("grbFiltroPadrao")),
      panMenu(Add<Panel>("panMenu")),
      panHelp(Add<Panel>("panHelp", &panMenu)),
      sbtHelp(Add<SpeedButton>("sbtHelp", &panHelp)),
      panBotoes(Add<Panel>("panBotoes", &panMenu)),
      sbtConfirma(Add<SpeedButton>("sbtConfirma", &panBotoes)),
      btfSaveOpc(Add<SpeedButton>("btfSaveOpc", &panBotoes)),
      btfLoadOpc(Add<SpeedButton>("btfLoadOpc", &panBotoes)),
      codTela_(std::move(screenCode)) {
    sbtHelp.SetHint("Ajuda");
    sbtConfirma.SetHint("Confirmar");
    btfSaveOpc.SetHint("Salvar Opções");
    btfLoadOpc.SetHint("Carregar Opções");
    btfSaveOpc.SetEnabled(false);
    btfLoadOpc.SetEnabled(false);
    SetDefaultButton(&sbtConfirma);
    OnCreate = [this] { FormCreate(); };
    sbtHelp.OnClick = [this] { sbtHelpClick(); };
    sbtConfirma.OnClick = [this] { sbtConfirmaClick(); };
    btfSaveOpc.OnClick = [this] { btfSaveOpcClick(); };
    btfLoadOpc.OnClick = [this] { btfLoadOpcClick(); };
}

void TfrmFiltroPadrao::SetOptionStore(Database* db, std::string operador) {
    db_ = db;
    operador_ = std::move(operador);
}

void TfrmFiltroPadrao::FormCreate() {
    sbtHelp.SetEnabled(HelpContext() != 0);
    const bool store = db_ != nullptr;
    btfSaveOpc.SetEnabled(store);
    btfLoadOpc.SetEnabled(store);
}

void TfrmFiltroPadrao::sbtHelpClick() {
    Ui().showHelp(HelpContext());
}

void TfrmFiltroPadrao::btfSaveOpcClick() {
    store().Save({opcoes_, CaptureControlState(*this)});
    msgPadrao.ShowMsg(Ui(), "OpcGravadas", MessageKind::Information);
}

void TfrmFiltroPadrao::btfLoadOpcClick() {
    std::optional<SavedFilter> saved = store().Load();
    if (!saved) {
        msgPadrao.ShowMsg(Ui(), "OpcNaoHa", MessageKind::Information);
        throw SilentAbort();
    }
    RestoreControlState(*this, saved->controls);
    opcoes_ = std::move(saved->options);
}

SavedOptions TfrmFiltroPadrao::store() const {
    if (!db_)
        throw std::logic_error("O filtro " + Name() +
                               " não tem onde gravar as opções (banco de dados da suíte).");
    return SavedOptions(*db_, operador_, codTela_);
}

}  // namespace pag
