#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/abort.h"
#include "platform/ui/buttons.h"
#include "platform/ui/dispatch.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

// The company list of the top panel: code and name.
class LookupTest : public ::testing::Test {
protected:
    LookupTest() {
        std::vector<FieldDef> defs(2);
        defs[0].name = "CDEMPRESA", defs[0].size = 2;
        defs[1].name = "NMEMPRESA", defs[1].size = 40;
        qryEmpresa.SetFieldDefs(defs);
        form.SetUserInterface(&ui);
        btp = &form.Add<LookupButton>("btpEmpresa", nullptr, "Empresa", &dtsEmpresa,
                                      "Não há empresa cadastrada.");
        nome = &form.Add<Edit>("edtNmEmpresa");
        // btpEmpresaBeforePesq / AfterPesq
        btp->BeforePesq = [this](bool& proceed) {
            ++befores;
            if (refuse) proceed = false;
            qryEmpresa.Close();
            qryEmpresa.CreateDataSet();
            for (auto [cd, nm] : rows) {
                qryEmpresa.Append();
                qryEmpresa.FieldByName("CDEMPRESA").SetAsString(cd);
                qryEmpresa.FieldByName("NMEMPRESA").SetAsString(nm);
                qryEmpresa.Post();
            }
            qryEmpresa.First();
        };
        btp->AfterPesq = [this] { nome->SetText(qryEmpresa.FieldByName("NMEMPRESA").AsString()); };
    }

    std::vector<std::pair<const char*, const char*>> rows{{"01", "MATRIZ"}, {"02", "FILIAL SUL"}};
    bool refuse = false;
    int befores = 0;
    ClientDataSet qryEmpresa{"qryEmpresa"};
    DataSource dtsEmpresa{"dtsEmpresa", &qryEmpresa};
    ScriptedUserInterface ui;
    Form form{"frmHabConta"};
    LookupButton* btp;
    Edit* nome;
};

TEST_F(LookupTest, PickedRowReachesAfterPesq) {
    ui.QueuePick(ScriptedUserInterface::PickAnswer::AtRow(2));
    EXPECT_TRUE(btp->Click());
    EXPECT_EQ(nome->Text(), "FILIAL SUL");
    ui.QueuePick(ScriptedUserInterface::PickAnswer::Where("CDEMPRESA=01"));
    EXPECT_TRUE(form.ClickControl(*btp));
    EXPECT_EQ(nome->Text(), "MATRIZ");
    EXPECT_EQ(ui.PickListsShown(), (std::vector<std::string>{"Empresa", "Empresa"}));
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(LookupTest, NothingPickedRefusedOrEmptyListSkipsAfterPesq) {
    ui.QueuePick(ScriptedUserInterface::PickAnswer::None());
    EXPECT_FALSE(btp->Click(ui));
    refuse = true;
    EXPECT_FALSE(btp->Click(ui));
    EXPECT_EQ(ui.PickListsShown().size(), 1u);  // the refused lookup showed no list
    refuse = false;
    rows.clear();
    EXPECT_FALSE(btp->Click(ui));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Não há empresa cadastrada.");
    EXPECT_EQ(nome->Text(), "");
    EXPECT_EQ(befores, 3);
    btp->SetEnabled(false);
    EXPECT_FALSE(btp->Click(ui));
    EXPECT_EQ(befores, 3);
}

TEST_F(LookupTest, ABeforePesqFailureReachesTheUserThroughTheBoundary) {
    btp->BeforePesq = [](bool&) { throw std::runtime_error("Empresa inválida."); };
    EXPECT_FALSE(dispatchUserAction(ui, [&] { btp->Click(ui); }));
    ASSERT_TRUE(ui.HasUntakenMessages());
    auto m = ui.TakeMessage();
    EXPECT_EQ(m->kind, MessageKind::Error);
    EXPECT_EQ(m->text, "Empresa inválida.");
    EXPECT_FALSE(ui.HasUntakenMessages());
}

TEST(DispatchTest, SilentAbortIsSwallowedOtherErrorsAreShown) {
    ScriptedUserInterface ui;
    bool ran = false;
    EXPECT_TRUE(dispatchUserAction(ui, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(dispatchUserAction(ui, [&] {
        ui.showMessage(MessageKind::Error, "Conta corrente não cadastrada.");
        throw SilentAbort();
    }));
    EXPECT_FALSE(dispatchUserAction(ui, [] { throw std::invalid_argument("'x' não é válido."); }));
    EXPECT_FALSE(dispatchUserAction(ui, [] { throw 42; }));
    ASSERT_EQ(ui.Messages().size(), 3u);
    EXPECT_EQ(ui.Messages()[0].text, "Conta corrente não cadastrada.");
    EXPECT_EQ(ui.Messages()[1].text, "'x' não é válido.");
    EXPECT_EQ(ui.Messages()[2].text, "Erro inesperado.");
}

TEST(DispatchTest, BusyAnimationIsHiddenAgainWhenAnErrorPasses) {
    ScriptedUserInterface ui;
    dispatchUserAction(ui, [&] {
        BusyScope busy(ui, 6);
        busy.Pause();  // hidden around a question...
        ui.AnswerYes();
        ui.ask("Deseja gravar a conta do favorecido?");
        busy.Resume();  // ...and shown again
        throw std::runtime_error("falha no servidor");
    });
    EXPECT_EQ(ui.BusyDepth(), 0);
    EXPECT_EQ(ui.BusyTimesShown(), 2);
    EXPECT_EQ(ui.BusyKinds(), (std::vector<int>{6, 6}));
    EXPECT_TRUE(ui.Problems().empty());
}

TEST(ScriptedUserInterfaceTest, AnswersComeFromQueuesInOrder) {
    ScriptedUserInterface ui;
    ui.AnswerYes();
    ui.AnswerNo();
    EXPECT_TRUE(ui.ask("CONF_MARC"));
    EXPECT_FALSE(ui.ask("CONF_DESMARC"));
    EXPECT_EQ(ui.Questions(), (std::vector<std::string>{"CONF_MARC", "CONF_DESMARC"}));
    EXPECT_TRUE(ui.Messages().empty());  // questions are not messages
}

TEST(ScriptedUserInterfaceTest, UnforeseenQuestionsFailEvenBehindTheBoundary) {
    ScriptedUserInterface ui;
    EXPECT_FALSE(dispatchUserAction(ui, [&] { ui.ask("Deseja desmarcar todos os boletos?"); }));
    ASSERT_EQ(ui.Problems().size(), 1u);
    EXPECT_EQ(ui.Problems()[0], "pergunta inesperada: \"Deseja desmarcar todos os boletos?\"");

    ScriptedUserInterface spare;
    spare.AnswerYes();
    spare.QueuePickMany({"01"});
    spare.busy(true, 6);
    EXPECT_EQ(spare.Problems().size(), 3u);  // two unused answers, animation still on
}

TEST(ScriptedUserInterfaceTest, PickManyAndFindAnswerFromTheirQueues) {
    ClientDataSet qry{"qryFilial"};
    std::vector<FieldDef> defs(1);
    defs[0].name = "CDFILIAL", defs[0].size = 4;
    qry.SetFieldDefs(defs);
    qry.CreateDataSet();
    for (const char* f : {"0001", "0002", "0003"}) {
        qry.Append();
        qry.FieldByName("CDFILIAL").SetAsString(f);
        qry.Post();
    }
    ScriptedUserInterface ui;
    ui.QueuePickMany({"0001", "0003"});
    ui.QueuePickMany({"0009"});
    EXPECT_EQ(ui.pickMany(qry, "CDFILIAL", "Filial"), (std::vector<std::string>{"0001", "0003"}));
    EXPECT_THROW(ui.pickMany(qry, "CDFILIAL", "Filial"), UnexpectedInteraction);

    ui.QueueFind(ScriptedUserInterface::PickAnswer::Where("CDFILIAL=0002"));
    ui.QueueFind(ScriptedUserInterface::PickAnswer::AtRow(7));
    EXPECT_TRUE(ui.find(qry));
    EXPECT_EQ(qry.FieldByName("CDFILIAL").AsString(), "0002");
    EXPECT_THROW(ui.find(qry), UnexpectedInteraction);
    EXPECT_EQ(ui.Problems().size(), 2u);
}

class ModalTest : public ::testing::Test {
protected:
    ModalTest() {
        ok = &dlg.Add<Button>("sbtConfirma", nullptr, "OK");
        ok->SetModalResult(ModalResult::Ok);
        dlg.OnClose = [this](CloseAction& a) {
            log.push_back("close");
            a = CloseAction::Free;
        };
        dlg.OnShow = [this] { log.push_back("show"); };
        dlg.OnActivate = [this] { log.push_back("activate"); };
        dlg.OnRelease = [this](Form&) { log.push_back("release"); };
    }
    ScriptedUserInterface ui;
    Form dlg{"frmHabAuto", "Habilitação Automática"};
    Button* ok;
    std::vector<std::string> log;
};

TEST_F(ModalTest, AButtonWithAModalResultClosesTheDialog) {
    ui.ModalHandler = [this](Form& f) {
        EXPECT_EQ(&f, &dlg);
        EXPECT_TRUE(f.IsModal());
        EXPECT_TRUE(f.Visible());
        f.ClickControl(*ok);
        return ModalResult::None;
    };
    EXPECT_EQ(dlg.ShowModal(ui), ModalResult::Ok);
    EXPECT_FALSE(dlg.Visible());
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_EQ(log, (std::vector<std::string>{"show", "activate", "close", "release"}));
    EXPECT_EQ(ui.ModalFormsShown(), (std::vector<std::string>{"frmHabAuto"}));
}

TEST_F(ModalTest, TheHandlersResultClosesADialogLeftOpen) {
    ui.ModalHandler = [](Form&) { return ModalResult::None; };
    EXPECT_EQ(dlg.ShowModal(ui), ModalResult::Cancel);
    EXPECT_EQ(log.back(), "release");
}

TEST_F(ModalTest, CloseQueryMayKeepTheDialogOpen) {
    bool canClose = false;
    dlg.OnCloseQuery = [&](bool& c) { c = canClose; };
    ui.ModalHandler = [&](Form& f) {
        f.SetModalResult(ModalResult::Ok);
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(f.GetModalResult(), ModalResult::None);
        canClose = true;
        return ModalResult::Ok;
    };
    EXPECT_EQ(dlg.ShowModal(ui), ModalResult::Ok);
}

TEST_F(ModalTest, AModalFormWithoutAHandlerFails) {
    EXPECT_THROW(dlg.ShowModal(ui), UnexpectedInteraction);
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_FALSE(dlg.Visible());
}

TEST(FormLifeTest, CreateOnceShowHideAndCloseActions) {
    Form form{"frmFiltroHabConta"};
    int creates = 0, activations = 0, closed = 0;
    form.OnCreate = [&] { ++creates; };
    form.OnActivate = [&] { ++activations; };
    auto conn = form.Closed.connect([&] { ++closed; });
    form.DoCreate();
    form.DoCreate();
    EXPECT_EQ(creates, 1);
    form.SetSize(769, 515);
    form.Show();
    form.Show();
    EXPECT_EQ(activations, 2);
    form.OnClose = [](CloseAction& a) { a = CloseAction::None; };
    EXPECT_FALSE(form.Close());
    EXPECT_TRUE(form.Visible());
    form.OnClose = nullptr;  // the default hides
    EXPECT_TRUE(form.Close());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form.Width(), 769);
}

}  // namespace
}  // namespace pag
