#pragma once

// A small screen module for the runner's tests: one main form with the kinds of
// controls the real screens have, a modal dialog and a grid over a dataset.

#include <memory>
#include <string>
#include <vector>

#include "contracts/client/base_screens/form_support.h"
#include "contracts/client/messages.h"
#include "platform/dataset/client_dataset.h"
#include "platform/ui/buttons.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"
#include "scenario/scenario_host.h"

namespace pag::scenario::testing {

class TestDialog : public Form {
public:
    TestDialog();
    Edit& edtValor;
    Button& btnOk;
    Button& btnCancelar;
};

class TestScreen : public Form, public HasMessageTables {
public:
    explicit TestScreen(UserInterface& ui);
    ~TestScreen() override;

    std::vector<const TMessages*> MessageTables() const override { return {&msgTeste}; }

    TMessages msgTeste;
    ClientDataSet cdsItens{"cdsItens"};
    DataSource dtsItens{"dtsItens", &cdsItens};

    Label& lblAbertura;
    Edit& edtNome;
    MaskEdit& medCep;
    CheckBox& chkAtivo;
    Button& btnAviso;
    Button& btnPergunta;
    Button& btnDialogo;
    Button& btnEscolher;
    Button& btnProcurar;
    ComboBox& cbxTipo;
    RadioGroup& rdgOrdem;
    Panel& panInativo;
    Button& btnInativo;
    PageControl& pgcPaginas;
    Page& tshLista;
    Page& tshDetalhe;
    Grid& grdItens;
    MenuItem& mnuGravar;

    int opened = 0;

private:
    void fillItems();
    UserInterface& ui_;
};

// The module: open shows the screen (once created) and tells, in lblAbertura, what it
// was opened with.
class TestHost : public ScenarioHost {
public:
    TestHost(const LoginContext& login, UserInterface& ui) : login_(login), ui_(ui) {}
    void open(const Value& company, const Value& date) override;
    Form* mainForm() override;
    ClientDataSet* findDataSet(std::string_view name) override;
    std::vector<const TMessages*> messageTables() override;

private:
    LoginContext login_;
    UserInterface& ui_;
    std::unique_ptr<TestScreen> screen_;
};

}  // namespace pag::scenario::testing
