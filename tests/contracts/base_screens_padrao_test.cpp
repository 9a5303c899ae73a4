#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "contracts/client/base_screens/frm_padrao.h"
#include "platform/ui/abort.h"
#include "platform/ui/dispatch.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

// A maintenance screen as a module builds one: its own dataset, its refresh, and its
// change handler running the base change as one step.
class TfrmTeste : public TfrmPadrao {
public:
    TfrmTeste() : TfrmPadrao("frmTeste", "Teste", "PAG99999", "NRLANBOLPAG") {
        std::vector<FieldDef> defs(2);
        defs[0].name = "NRLANBOLPAG", defs[0].size = 10;
        defs[1].name = "NMFANTFORN", defs[1].size = 40;
        cdsBoletos.SetFieldDefs(defs);
        cdsBoletos.CreateDataSet();
        for (const char* nr : {"0000000001", "0000000002", "0000000003"}) {
            cdsBoletos.Append();
            cdsBoletos.FieldByName("NRLANBOLPAG").SetAsString(nr);
            cdsBoletos.FieldByName("NMFANTFORN").SetAsString("ALFA");
            cdsBoletos.Post();
        }
        cdsBoletos.MergeChangeLog();
        cdsBoletos.First();
        dtsPadrao.SetDataSet(&cdsBoletos);
    }
    ~TfrmTeste() override {
        DestroyControls();
        dtsPadrao.SetDataSet(nullptr);
    }

    ClientDataSet cdsBoletos{"cdsBoletos"};
    int refreshes = 0, changes = 0;

protected:
    void sbtVerificarClick() override { ++refreshes; }
    void sbtAlterarClick() override {
        ++changes;
        TfrmPadrao::sbtAlterarClick();
        MostraPagina(tshFormulario);
    }
};

class FrmPadraoTest : public ::testing::Test {
protected:
    FrmPadraoTest() {
        frm.SetUserInterface(&ui);
        frm.OnRelease = [this](Form&) { released = true; };
        frm.DoCreate();
        frm.Show();
    }
    ~FrmPadraoTest() override { EXPECT_TRUE(ui.Problems().empty()); }

    bool run(Control& c) {
        return dispatchUserAction(ui, [&] { c.Click(); });
    }
    std::string nome() { return frm.cdsBoletos.FieldByName("NMFANTFORN").AsString(); }

    ScriptedUserInterface ui;
    TfrmTeste frm;
    bool released = false;
};

TEST_F(FrmPadraoTest, HasTheStandardControlsAndMessages) {
    for (const char* name :
         {"panMenu", "sbtIncluir", "sbtAlterar", "sbtExcluir", "sbtProcurar", "sbtVerificar",
          "sbtConfirmar", "sbtCancelar", "sbtImprimir", "sbtAjuda", "sbtFechar", "scbFolhaDados",
          "panDbgPadrao", "scbFormulario", "panFormulario", "panNavigator", "mnuListagem",
          "mnuConfigImpressora", "pmnNavegar"})
        EXPECT_NE(frm.Find(name), nullptr) << name;
    EXPECT_EQ(frm.lblCodTela.Caption(), "PAG99999");
    EXPECT_EQ(frm.tshFolhaDados.Owner(), &frm.pgcPadrao);
    EXPECT_EQ(frm.tshFormulario.Owner(), &frm.pgcPadrao);
    EXPECT_EQ(frm.dbgPadrao.GetDataSource(), &frm.dtsPadrao);
    EXPECT_EQ(frm.dbtNome.Text(), "0000000001");
    EXPECT_EQ(frm.mnuProcurar.Parent(), &frm.mnuManutencao);
    EXPECT_EQ(frm.mnuProcurar.Caption(), "&Procurar");
    EXPECT_EQ(frm.msgMensagensPadroes.Msg("Canc"), "Deseja cancelar as alterações?");
    EXPECT_EQ(frm.msgMensagensPadroes.Msg("Excl"), "Confirma a exclusão do registro?");
    EXPECT_EQ(frm.MessageTables().size(), 2u);

    // Every maintenance item has its own shortcut, none of those the module's screens
    // give their own items (Ctrl+L, B, A, R, T, D).
    std::set<std::string> shortcuts{"Ctrl+L", "Ctrl+B", "Ctrl+A", "Ctrl+R", "Ctrl+T", "Ctrl+D"};
    for (MenuItem* item : frm.mnuManutencao.Items()) {
        EXPECT_TRUE(item->Caption().find('&') != std::string::npos) << item->Name();
        EXPECT_TRUE(shortcuts.insert(item->ShortCut()).second) << item->ShortCut();
    }
}

TEST_F(FrmPadraoTest, AvailabilityFollowsTheDatasetState) {
    EXPECT_TRUE(frm.sbtAlterar.Enabled());
    EXPECT_FALSE(frm.sbtConfirmar.Enabled());
    EXPECT_FALSE(frm.mnuCancelar.Enabled());
    EXPECT_FALSE(frm.sbtImprimir.Enabled());
    frm.cdsBoletos.Edit();
    EXPECT_TRUE(frm.sbtConfirmar.Enabled());
    EXPECT_TRUE(frm.mnuCancelar.Enabled());
    EXPECT_FALSE(frm.sbtAlterar.Enabled());
    EXPECT_FALSE(frm.sbtProcurar.Enabled());
    EXPECT_FALSE(frm.dbnPadrao.ButtonEnabled(NavigateButton::Next));
}

TEST_F(FrmPadraoTest, ChangeRunsThroughTheScreensHandlerAndConfirmPosts) {
    // The menu twin and the shortcut run the screen's handler, which runs the base step.
    EXPECT_TRUE(frm.DispatchShortCut('E', {.ctrl = true}));
    EXPECT_EQ(frm.changes, 1);
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Edit);
    EXPECT_EQ(frm.pgcPadrao.ActivePage(), &frm.tshFormulario);
    EXPECT_TRUE(frm.mnuFormulario.Checked());
    EXPECT_FALSE(frm.mnuFolhaDados.Checked());

    frm.cdsBoletos.FieldByName("NMFANTFORN").SetAsString("BETA");
    EXPECT_TRUE(run(frm.mnuConfirmar));
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Browse);
    EXPECT_EQ(nome(), "BETA");
}

TEST_F(FrmPadraoTest, ARefusedEditLeavesTheRowAlone) {
    frm.cdsBoletos.BeforeEdit = [this](ClientDataSet&) {
        MensErro(ui, "Boleto anterior à data de processamento não pode ser alterado.");
    };
    EXPECT_FALSE(run(frm.sbtAlterar));
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Browse);
    EXPECT_EQ(ui.TakeMessage()->text,
              "Boleto anterior à data de processamento não pode ser alterado.");
}

TEST_F(FrmPadraoTest, CancelAsksAndNoKeepsTheEdit) {
    frm.cdsBoletos.Edit();
    frm.cdsBoletos.FieldByName("NMFANTFORN").SetAsString("BETA");
    ui.AnswerNo();
    EXPECT_TRUE(run(frm.mnuCancelar));
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Edit);
    EXPECT_EQ(nome(), "BETA");
    ui.AnswerYes();
    EXPECT_TRUE(run(frm.sbtCancelar));
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Browse);
    EXPECT_EQ(nome(), "ALFA");
    EXPECT_EQ(ui.Questions(), std::vector<std::string>(2, "Deseja cancelar as alterações?"));
}

TEST_F(FrmPadraoTest, DeleteAsksExcl) {
    ui.AnswerNo();
    EXPECT_TRUE(run(frm.sbtExcluir));
    EXPECT_EQ(frm.cdsBoletos.RecordCount(), 3);
    ui.AnswerYes();
    EXPECT_TRUE(run(frm.sbtExcluir));
    EXPECT_EQ(frm.cdsBoletos.RecordCount(), 2);
    EXPECT_EQ(ui.Questions().back(), "Confirma a exclusão do registro?");
}

TEST_F(FrmPadraoTest, SearchShowsTheFindDialogOverTheData) {
    ui.QueueFind(ScriptedUserInterface::PickAnswer::Where("NRLANBOLPAG=0000000003"));
    EXPECT_TRUE(run(frm.sbtProcurar));
    EXPECT_EQ(frm.cdsBoletos.RecNo(), 3);

    frm.cdsBoletos.EmptyDataSet();
    EXPECT_FALSE(run(frm.mnuProcurar));  // nothing to search: said, no dialog
    EXPECT_EQ(ui.TakeMessage()->text, "Não há registros.");
}

TEST_F(FrmPadraoTest, ClosingWithAPendingEditAsksFirst) {
    frm.cdsBoletos.Edit();
    frm.cdsBoletos.FieldByName("NMFANTFORN").SetAsString("BETA");
    ui.AnswerNo();
    EXPECT_FALSE(frm.Close());
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Edit);
    EXPECT_FALSE(released);
    ui.AnswerYes();
    EXPECT_TRUE(run(frm.sbtFechar));
    EXPECT_TRUE(released);
    EXPECT_EQ(nome(), "ALFA");
}

TEST_F(FrmPadraoTest, NavigatorAndPopupMoveOnlyWhileBrowsing) {
    EXPECT_FALSE(frm.dbnPadrao.Press(NavigateButton::Prior));  // already first
    EXPECT_TRUE(frm.dbnPadrao.Press(NavigateButton::Last));
    EXPECT_EQ(frm.cdsBoletos.RecNo(), 3);
    EXPECT_TRUE(frm.mnuPrimeiro.Click());
    EXPECT_EQ(frm.cdsBoletos.RecNo(), 1);
    EXPECT_EQ(frm.dbtNome.Text(), "0000000001");
    frm.cdsBoletos.Edit();
    EXPECT_FALSE(frm.mnuProximo.Click());
    EXPECT_EQ(frm.cdsBoletos.RecNo(), 1);
    EXPECT_EQ(frm.cdsBoletos.State(), DataSetState::Edit);
}

}  // namespace
}  // namespace pag
