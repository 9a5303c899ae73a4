#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/buttons.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/menu.h"
#include "platform/ui/page_control.h"
#include "platform/ui/text_chars.h"

namespace pag {
namespace {

class FocusTest : public ::testing::Test {
protected:
    FocusTest() {
        pan = &form.Add<Panel>("panFiltro");
        med = &form.Add<MaskEdit>("medEmpresa", pan, "99;0; ");
        grb = &form.Add<GroupBox>("grbDados");
        dbe = &form.Add<Edit>("dbeReduCont", grb);
        edt = &form.Add<Edit>("edtCdBarra", grb);
        for (Control* c : std::vector<Control*>{pan, med, grb, dbe, edt}) {
            c->OnEnter = [this, c] { log.push_back("enter " + c->Name()); };
            c->OnExit = [this, c] { log.push_back("exit " + c->Name()); };
        }
    }
    Form form{"frmHabConta"};
    Panel* pan;
    MaskEdit* med;
    GroupBox* grb;
    Edit* dbe;
    Edit* edt;
    std::vector<std::string> log;
};

TEST_F(FocusTest, MovingAcrossContainersRunsExitsInnerFirstAndEntersOuterFirst) {
    ASSERT_TRUE(med->SetFocus());
    EXPECT_EQ(log, (std::vector<std::string>{"enter panFiltro", "enter medEmpresa"}));
    log.clear();
    ASSERT_TRUE(dbe->SetFocus());
    EXPECT_EQ(log, (std::vector<std::string>{"exit medEmpresa", "exit panFiltro", "enter grbDados",
                                             "enter dbeReduCont"}));
    log.clear();
    ASSERT_TRUE(edt->SetFocus());  // same group box: it is neither left nor entered
    EXPECT_EQ(log, (std::vector<std::string>{"exit dbeReduCont", "enter edtCdBarra"}));
    EXPECT_EQ(form.ActiveControl(), edt);
    EXPECT_TRUE(edt->Focused());
}

TEST_F(FocusTest, APanelThatHeldTheFocusIsNotLeftForOneOfItsOwnControls) {
    ASSERT_TRUE(pan->SetFocus());
    log.clear();
    ASSERT_TRUE(med->SetFocus());
    EXPECT_EQ(log, (std::vector<std::string>{"enter medEmpresa"}));
    log.clear();
    ASSERT_TRUE(dbe->SetFocus());
    EXPECT_EQ(log, (std::vector<std::string>{"exit medEmpresa", "exit panFiltro", "enter grbDados",
                                             "enter dbeReduCont"}));
}

TEST_F(FocusTest, AnExitThatThrowsKeepsTheFocus) {
    ASSERT_TRUE(dbe->SetFocus());
    dbe->OnExit = [] { throw std::runtime_error("Conta corrente não cadastrada."); };
    EXPECT_THROW(med->SetFocus(), std::runtime_error);
    EXPECT_TRUE(dbe->Focused());
    dbe->OnExit = nullptr;
    EXPECT_TRUE(med->SetFocus());
}

TEST_F(FocusTest, AHandlerThatMovesTheFocusWins) {
    ASSERT_TRUE(med->SetFocus());
    // The failing check puts the focus on the control to correct, then stops.
    med->OnExit = [this] {
        edt->SetFocus();
        throw std::runtime_error("FAV_NINF");
    };
    EXPECT_THROW(dbe->SetFocus(), std::runtime_error);
    EXPECT_TRUE(edt->Focused());

    // A control that focuses itself in its exit refuses to be left without an error.
    edt->OnExit = [this] { edt->SetFocus(); };
    EXPECT_FALSE(dbe->SetFocus());
    EXPECT_TRUE(edt->Focused());
}

TEST_F(FocusTest, DisabledOrHiddenControlsCannotTakeTheFocus) {
    grb->SetEnabled(false);
    EXPECT_FALSE(dbe->CanFocus());
    EXPECT_FALSE(dbe->SetFocus());
    grb->SetEnabled(true);
    dbe->SetVisible(false);
    EXPECT_FALSE(dbe->SetFocus());
    EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST_F(FocusTest, TabFollowsCreationOrderSkippingWhatCannotTakeFocus) {
    dbe->SetEnabled(false);
    ASSERT_TRUE(med->SetFocus());
    med->KeyDown(Key::Tab);
    EXPECT_TRUE(edt->Focused());
    edt->KeyDown(Key::Tab);
    EXPECT_TRUE(med->Focused());
    med->KeyDown(Key::Tab, {.shift = true});
    EXPECT_TRUE(edt->Focused());
}

TEST_F(FocusTest, KeyPreviewSeesKeysFirstAndMaySwallowThem) {
    form.SetKeyPreview(true);
    form.OnKeyPress = [](KeyChar& k) {
        if (k == U'x') k = 0;
    };
    ASSERT_TRUE(dbe->SetFocus());
    dbe->TypeText("axb");
    EXPECT_EQ(dbe->Text(), "ab");
}

TEST(SetChildEnabledTest, ReachesEveryDepthAndLeavesTheContainerAsItWas) {
    Form form{"frm"};
    auto& grbPix = form.Add<GroupBox>("grbPix");
    auto& pan = form.Add<Panel>("panChave", &grbPix);
    auto& inner = form.Add<Edit>("dbeChavePix", &pan);
    auto& direct = form.Add<Edit>("dbeChaveQrPix", &grbPix);
    auto& outside = form.Add<Edit>("edtCdBarra");

    SetChildEnabled(grbPix, false);
    EXPECT_TRUE(grbPix.Enabled());
    EXPECT_FALSE(pan.Enabled());
    EXPECT_FALSE(inner.Enabled());
    EXPECT_FALSE(direct.Enabled());
    EXPECT_TRUE(outside.Enabled());

    SetChildEnabled(grbPix, true);
    EXPECT_TRUE(inner.Enabled());
    EXPECT_TRUE(direct.Enabled());

    // A disabled container makes its children unusable without changing their state.
    grbPix.SetEnabled(false);
    EXPECT_TRUE(inner.Enabled());
    EXPECT_FALSE(inner.IsUsable());
}

TEST(FormTest, ControlsByNameAndKind) {
    Form form{"frmHabConta", "Boleto"};
    form.Add<Edit>("edtCdBarra");
    EXPECT_NE(form.Find("edtCdBarra"), nullptr);
    EXPECT_EQ(form.Find("naoExiste"), nullptr);
    EXPECT_NO_THROW(form.Get<CustomEdit>("edtCdBarra"));
    try {
        form.Get<Edit>("naoExiste");
        FAIL();
    } catch (const std::logic_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Controle naoExiste não encontrado no formulário frmHabConta.");
    }
    EXPECT_THROW(form.Get<Button>("edtCdBarra"), std::logic_error);
    EXPECT_THROW(form.Add<Edit>("edtCdBarra"), std::logic_error);
    // The failed add left nothing behind.
    EXPECT_EQ(form.Controls().size(), 1u);
    EXPECT_EQ(form.Children().size(), 1u);
}

TEST(ButtonsTest, CheckBoxAndRadioButtonsRunOnClickWhenTheirStateChanges) {
    Form form{"frmFiltro"};
    auto& grb = form.Add<GroupBox>("grbTipoBaixa");
    auto& todas = form.Add<RadioButton>("rbtTodosFormPag", &grb, "Todas");
    auto& lista = form.Add<RadioButton>("rbtFPag", &grb, "Lista");
    auto& other = form.Add<RadioButton>("rbtOutroGrupo", nullptr, "Outro");
    std::vector<std::string> clicks;
    todas.OnClick = [&] { clicks.push_back("todas"); };
    lista.OnClick = [&] { clicks.push_back("lista"); };

    other.SetChecked(true);
    todas.SetChecked(true);
    EXPECT_TRUE(lista.Click());
    EXPECT_TRUE(lista.Checked());
    EXPECT_FALSE(todas.Checked());
    EXPECT_TRUE(other.Checked());  // another container, another group
    lista.SetChecked(true);        // no change, no click
    EXPECT_EQ(clicks, (std::vector<std::string>{"todas", "lista"}));

    auto& chb = form.Add<CheckBox>("chbNaoEnviado", nullptr, "Não Enviado");
    int n = 0;
    chb.OnClick = [&] { ++n; };
    chb.SetChecked(true);
    chb.SetChecked(true);
    EXPECT_TRUE(chb.Click());
    EXPECT_FALSE(chb.Checked());
    chb.SetEnabled(false);
    EXPECT_FALSE(chb.Click());
    EXPECT_EQ(n, 2);
}

TEST(ButtonsTest, RadioGroupComboBoxAndDisabledButtons) {
    Form form{"frmFiltro"};
    auto& rgp =
        form.Add<RadioGroup>("rgpBoleto", nullptr, "Boleto",
                             std::vector<std::string>{"Habilitados", "Não Habilitados", "Todos"});
    int clicks = 0;
    rgp.OnClick = [&] { ++clicks; };
    rgp.SetItemIndex(2);
    rgp.SetItemIndex(2);
    EXPECT_FALSE(rgp.UserSelect(5));
    EXPECT_EQ(clicks, 1);

    auto& cbo = form.Add<ComboBox>("dbcIdChavePix", nullptr,
                                   std::vector<std::string>{"", "TeleFone", "E-mail"});
    int changes = 0;
    cbo.OnChange = [&] { ++changes; };
    cbo.SetItemIndex(1);  // the program: no handler
    EXPECT_EQ(cbo.Text(), "TeleFone");
    EXPECT_TRUE(cbo.UserSelectText("E-mail"));
    EXPECT_EQ(cbo.ItemIndex(), 2);
    EXPECT_FALSE(cbo.UserSelectText("CPF"));
    cbo.SetText("outro");
    EXPECT_EQ(cbo.ItemIndex(), -1);
    EXPECT_EQ(changes, 1);

    auto& pan = form.Add<Panel>("panMenu");
    auto& sbt = form.Add<SpeedButton>("sbtAgrupa", &pan);
    sbt.SetHint("Associar Boleto");
    int runs = 0;
    sbt.OnClick = [&] { ++runs; };
    pan.SetEnabled(false);
    EXPECT_FALSE(form.ClickControl(sbt));
    pan.SetEnabled(true);
    EXPECT_TRUE(form.ClickControl(sbt));
    EXPECT_EQ(runs, 1);
}

TEST(ButtonsTest, ClickingAFocusableButtonRunsTheExitOfTheEditFirst) {
    Form form{"frm"};
    auto& edt = form.Add<Edit>("edtCdMotiPro");
    auto& btn = form.Add<Button>("btnOk", nullptr, "OK");
    auto& sbt = form.Add<SpeedButton>("sbtConfirmar");
    std::vector<std::string> log;
    edt.OnExit = [&] { log.push_back("exit"); };
    btn.OnClick = [&] { log.push_back("btn"); };
    sbt.OnClick = [&] { log.push_back("sbt"); };
    ASSERT_TRUE(edt.SetFocus());
    EXPECT_TRUE(form.ClickControl(sbt));  // a toolbar button leaves the focus alone
    EXPECT_TRUE(edt.Focused());
    EXPECT_TRUE(form.ClickControl(btn));
    EXPECT_EQ(log, (std::vector<std::string>{"sbt", "exit", "btn"}));
}

TEST(PageControlTest, UserChoiceRunsChangingAndChangeAndRespectsDisabledPages) {
    Form form{"frmHabConta"};
    auto& pgc = form.Add<PageControl>("pgcPadrao");
    auto& dados = form.Add<Page>("tshFolhaDados", &pgc, "Boletos");
    auto& pag = form.Add<Page>("tshDadosPag", &pgc, "Dados para Pagamento");
    auto& edt = form.Add<Edit>("edtCdBarra", &pag);
    EXPECT_EQ(pgc.ActivePage(), &dados);
    EXPECT_FALSE(edt.CanFocus());  // its page is not showing

    int changes = 0;
    bool allow = false;
    pgc.OnChanging = [&](bool& ok) { ok = allow; };
    pgc.OnChange = [&] { ++changes; };
    EXPECT_FALSE(pag.Click());
    EXPECT_EQ(pgc.ActivePage(), &dados);
    allow = true;
    EXPECT_TRUE(pag.Click());
    EXPECT_EQ(pgc.ActivePageIndex(), 1);
    EXPECT_TRUE(edt.CanFocus());
    EXPECT_EQ(changes, 1);

    dados.SetEnabled(false);
    EXPECT_FALSE(dados.Click());
    pgc.SetActivePage(&dados);  // the program may; no handlers run
    EXPECT_EQ(pgc.ActivePage(), &dados);
    EXPECT_EQ(changes, 1);
}

TEST(PageControlTest, NextPageSkipsWhatTheUserCannotChooseAndGoesRound) {
    Form form{"frmHabConta"};
    auto& pgc = form.Add<PageControl>("pgcPadrao");
    auto& dados = form.Add<Page>("tshFolhaDados", &pgc, "Boletos");
    auto& oculta = form.Add<Page>("tshFormulario", &pgc, "Formulário");
    auto& pag = form.Add<Page>("tshDadosPag", &pgc, "Dados para Pagamento");
    auto& ajuste = form.Add<Page>("tshAjustes", &pgc, "Ajuste");
    oculta.SetTabVisible(false);
    ajuste.SetEnabled(false);
    EXPECT_TRUE(pgc.SelectNextPage(true));
    EXPECT_EQ(pgc.ActivePage(), &pag);
    EXPECT_TRUE(pgc.SelectNextPage(true));  // past the end, round to the first
    EXPECT_EQ(pgc.ActivePage(), &dados);
    EXPECT_TRUE(pgc.SelectNextPage(false));
    EXPECT_EQ(pgc.ActivePage(), &pag);
    pgc.OnChanging = [](bool& ok) { ok = false; };
    EXPECT_FALSE(pgc.SelectNextPage(true));
    EXPECT_EQ(pgc.ActivePage(), &pag);
}

TEST(MenuTest, ShortcutsCaptionsAndDisabledParents) {
    Form form{"frmHabConta"};
    auto& root = form.Add<MenuItem>("mnuMenu");
    auto& manut = form.Add<MenuItem>("mnuManutencao", &root, "&Manutenção");
    auto& filtro = form.Add<MenuItem>("mnuFiltro", &manut, "&Filtrar", "Ctrl+L");
    auto& sep = form.Add<MenuItem>("N1", &manut, "-");
    int runs = 0;
    filtro.OnClick = [&] { ++runs; };
    EXPECT_EQ(stripAccelerator(filtro.Caption()), "Filtrar");
    EXPECT_EQ(stripAccelerator("Parcela&mento && Cia"), "Parcelamento & Cia");
    EXPECT_TRUE(sep.IsSeparator());
    EXPECT_FALSE(sep.Click());
    EXPECT_EQ(manut.Items().size(), 2u);

    EXPECT_TRUE(form.DispatchShortCut('L', {.ctrl = true}));
    EXPECT_FALSE(form.DispatchShortCut('L', {}));
    manut.SetEnabled(false);
    EXPECT_FALSE(form.DispatchShortCut('L', {.ctrl = true}));
    EXPECT_FALSE(filtro.Click());
    EXPECT_EQ(runs, 1);

    int key;
    ShiftState shift;
    parseShortCut("Shift+Ctrl+Del", key, shift);
    EXPECT_EQ(key, Key::Delete);
    EXPECT_TRUE(shift.ctrl && shift.shift && !shift.alt);
    parseShortCut("F9", key, shift);
    EXPECT_EQ(key, Key::F9);
    EXPECT_THROW(parseShortCut("Ctrl+", key, shift), std::invalid_argument);
    EXPECT_THROW(parseShortCut("Hyper+L", key, shift), std::invalid_argument);
}

TEST(TextCharsTest, Utf8RoundTripAndStrayBytes) {
    EXPECT_EQ(toCodePoints("Não").size(), 3u);
    EXPECT_EQ(toUtf8(toCodePoints("Habilitação Automática")), "Habilitação Automática");
    std::string stray = "a\xE9z";  // a Latin-1 byte in UTF-8 text is kept as that letter
    EXPECT_EQ(toUtf8(toCodePoints(stray)), "aéz");
    EXPECT_EQ(toUpperText("ação"), "AÇÃO");
}

}  // namespace
}  // namespace pag
