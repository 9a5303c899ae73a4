#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "base_screens_suite_db.h"
#include "contracts/client/base_screens/frm_filtro_padrao.h"
#include "contracts/client/base_screens/frm_roti_geral.h"
#include "contracts/client/base_screens/saved_options.h"
#include "platform/ui/dispatch.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

SavedFilter filter(std::initializer_list<std::pair<const char*, const char*>> options) {
    SavedFilter f;
    for (auto [k, v] : options)
        f.options.SetValue(k, v);
    return f;
}

class SavedOptionsTest : public ::testing::Test {
protected:
    std::unique_ptr<Database> db = test::openSuiteDatabase();
    SavedOptions ana{*db, "ANA", "PAG12100"};
    SavedOptions beto{*db, "BETO", "PAG12100"};
};

TEST_F(SavedOptionsTest, EachOperatorKeepsTheirOwnEntries) {
    EXPECT_EQ(ana.Load(), std::nullopt);
    SavedFilter saved = filter({{"stForneced", "'F1','F2'"}, {"stFiliOrig", ""}});
    saved.controls.SetValue("rbtListaForn", "S");
    ana.Save(saved);
    beto.Save(filter({{"stForneced", "'F9'"}}));

    auto loaded = ana.Load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->options, saved.options);  // in the order saved, blank values kept
    EXPECT_EQ(loaded->controls, saved.controls);
    EXPECT_EQ(beto.Load()->options.Value("stForneced"), "'F9'");
    EXPECT_EQ(SavedOptions(*db, "ANA", "PAG99999").Load(), std::nullopt);  // per screen
}

TEST_F(SavedOptionsTest, SavingAgainReplacesEverything) {
    ana.Save(filter({{"stForneced", "'F1'"}, {"stGrForn", "'G1'"}}));
    ana.Save(filter({{"stForneced", "'F2'"}}));
    auto loaded = ana.Load();
    EXPECT_EQ(loaded->options.Value("stForneced"), "'F2'");
    EXPECT_FALSE(loaded->options.Has("stGrForn"));
}

TEST_F(SavedOptionsTest, RefusedSavesChangeNothing) {
    ana.Save(filter({{"stForneced", "'F1'"}}));
    EXPECT_THROW(ana.Save(filter({{"stForneced", "'F2'"}, {"", "x"}})), std::invalid_argument);
    EXPECT_EQ(ana.Load()->options.Value("stForneced"), "'F1'");
    EXPECT_THROW(SavedOptions(*db, "ZECA", "PAG12100").Save(filter({})), std::invalid_argument);
    EXPECT_THROW(SavedOptions(*db, "", "PAG12100"), std::invalid_argument);
}

// A filter dialog as a module builds one: a supplier list kept in the option list. Saving
// and loading the options back through a module's dialog is played by the filter's
// scenario of saved options.
class TfrmFiltroTeste : public TfrmFiltroPadrao {
public:
    TfrmFiltroTeste() : TfrmFiltroPadrao("frmFiltroTeste", "Filtro", "PAG12100") {}
    std::string stForneced;
    int confirmations = 0, listsRead = 0;

protected:
    void sbtConfirmaClick() override { ++confirmations; }
    void btfLoadOpcClick() override {
        TfrmFiltroPadrao::btfLoadOpcClick();
        stForneced = Opcoes().Value("stForneced");
        ++listsRead;
    }
};

class FrmFiltroTest : public ::testing::Test {
protected:
    FrmFiltroTest() {
        dlg.SetUserInterface(&ui);
        dlg.SetOptionStore(db.get(), "ANA");
        dlg.DoCreate();
        dlg.Show();
    }
    ~FrmFiltroTest() override { EXPECT_TRUE(ui.Problems().empty()); }
    bool run(Control& c) {
        return dispatchUserAction(ui, [&] { c.Click(); });
    }

    std::unique_ptr<Database> db = test::openSuiteDatabase();
    ScriptedUserInterface ui;
    TfrmFiltroTeste dlg;
};

TEST_F(FrmFiltroTest, LoadingWithNothingSavedKeepsTheCriteria) {
    dlg.stForneced = "'F7'";
    EXPECT_FALSE(run(dlg.btfLoadOpc));
    EXPECT_EQ(ui.TakeMessage()->text, "Não há opções de filtro gravadas.");
    EXPECT_EQ(dlg.listsRead, 0);
    EXPECT_EQ(dlg.stForneced, "'F7'");
}

TEST(FrmFiltroWithoutStore, SaveAndLoadStayDisabled) {
    TfrmFiltroTeste dlg;
    dlg.DoCreate();
    dlg.Show();
    EXPECT_FALSE(dlg.btfSaveOpc.Click());
    EXPECT_FALSE(dlg.btfLoadOpc.Enabled());
    EXPECT_FALSE(dlg.sbtHelp.Enabled());  // no help context
    EXPECT_TRUE(dlg.sbtConfirma.Click());
    EXPECT_EQ(dlg.confirmations, 1);
}

class TfrmRotiTeste : public TfrmRotiGeral {
public:
    TfrmRotiTeste() : TfrmRotiGeral("frmRotiTeste", "Rotina") {}
    int confirmations = 0;

protected:
    void sbtConfirmaClick() override {
        ++confirmations;
        SetModalResult(ModalResult::Ok);
    }
};

TEST(FrmRotiGeral, CancelClosesTheModalDialogForGood) {
    ScriptedUserInterface ui;
    TfrmRotiTeste dlg;
    bool released = false;
    dlg.OnRelease = [&](Form&) { released = true; };
    dlg.DoCreate();
    EXPECT_NE(dlg.Find("grbDadosRel"), nullptr);
    ui.ModalHandler = [](Form& f) {
        f.Get<SpeedButton>("sbtCancel").Click();
        return ModalResult::None;
    };
    EXPECT_EQ(dlg.ShowModal(ui), ModalResult::Cancel);
    EXPECT_TRUE(released);
    EXPECT_EQ(dlg.confirmations, 0);
}

}  // namespace
}  // namespace pag
