// When the filter dialog brings its controls back to the last confirmed criteria.
#include <gtest/gtest.h>

#include <memory>

#include "Cli_pag12100/filtro_hab.h"
#include "contracts/client/suite_context.h"
#include "platform/ui/buttons.h"
#include "platform/ui/date_edit.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

class FiltroRestauracao : public ::testing::Test {
protected:
    void SetUp() override {
        suite.ui = &ui;
        suite.db = &db;
        SetSuite(&suite);
        Filtro = TFiltro{};
        Filtro.DtVencIni = Date::today();
        Filtro.DtVencFin = Date::today();
        dialogo = std::make_unique<TfrmFiltroHab>();
        dialogo->SetUserInterface(&ui);
    }
    void TearDown() override {
        dialogo.reset();
        Filtro = TFiltro{};
        SetSuite(nullptr);
    }

    RadioButton& radio(const char* name) { return dialogo->Get<RadioButton>(name); }
    LookupButton& botao(const char* name) { return dialogo->Get<LookupButton>(name); }

    ScriptedUserInterface ui;
    Database db;
    SuiteServices suite;
    std::unique_ptr<TfrmFiltroHab> dialogo;
};

TEST_F(FiltroRestauracao, ChoicesMadeWhileOpenSurviveActivationChanges) {
    dialogo->Show();
    ASSERT_TRUE(radio("rbtTodosForn").Checked());
    radio("rbtListaForn").Click();
    dialogo->stForneced = "000000000000000000001";  // what the lookup writes
    // A pick list or a message box takes the activation away and gives it back.
    dialogo->Deactivate();
    dialogo->Activate();
    dialogo->Activate();
    EXPECT_TRUE(radio("rbtListaForn").Checked());
    EXPECT_TRUE(botao("btnListForn").Enabled());
    EXPECT_EQ(dialogo->stForneced, "000000000000000000001");
}

TEST_F(FiltroRestauracao, ClosingWithoutConfirmingBringsFiltroBack) {
    dialogo->Show();
    radio("rbtListaBancBenef").Click();
    dialogo->stBancBenef = "237";
    dialogo->Get<RadioGroup>("rgpBoleto").SetItemIndex(0);
    ASSERT_TRUE(dialogo->Close());
    EXPECT_TRUE(radio("rbtTodosBancBenef").Checked());
    EXPECT_FALSE(botao("btnBancBenef").Enabled());
    EXPECT_EQ(dialogo->stBancBenef, "");
    EXPECT_EQ(dialogo->Get<RadioGroup>("rgpBoleto").ItemIndex(), 2);
}

TEST_F(FiltroRestauracao, ConfirmedListSurvivesClearingAndClosing) {
    Filtro.boTodosForn = false;
    Filtro.stForneced = "000000000000000000008";
    Filtro.boTodosTipoCont = false;
    Filtro.stTpConta = "000004";
    dialogo->Show();
    EXPECT_TRUE(radio("rbtListaForn").Checked());
    EXPECT_EQ(dialogo->stForneced, "000000000000000000008");
    dialogo->sbtLimpaClick();
    EXPECT_TRUE(radio("rbtTodosForn").Checked());
    EXPECT_EQ(dialogo->stForneced, "");
    EXPECT_EQ(dialogo->stTpConta, "");
    // Abandoned: the list comes back with its "Lista" choice, not emptied by the radio.
    dialogo->Close();
    EXPECT_TRUE(radio("rbtListaForn").Checked());
    EXPECT_TRUE(botao("btnListForn").Enabled());
    EXPECT_EQ(dialogo->stForneced, "000000000000000000008");
    EXPECT_TRUE(radio("rbtTipoContLista").Checked());
    EXPECT_EQ(dialogo->stTpConta, "000004");
}

TEST_F(FiltroRestauracao, ShowingAgainRestoresOnce) {
    dialogo->Show();
    dialogo->Close();
    Filtro.inPessoa = 2;
    Filtro.DtVencIni = Date::today().addDays(-3);
    dialogo->Show();
    EXPECT_EQ(dialogo->Get<RadioGroup>("rdgPessoa").ItemIndex(), 2);
    EXPECT_EQ(dialogo->Get<DateEdit>("depDataIni").GetDate(), Date::today().addDays(-3));
    dialogo->Get<RadioGroup>("rdgPessoa").SetItemIndex(1);
    dialogo->Activate();
    EXPECT_EQ(dialogo->Get<RadioGroup>("rdgPessoa").ItemIndex(), 1);
}

}  // namespace
}  // namespace pag
