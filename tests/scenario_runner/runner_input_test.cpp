// Scripts that drive the test screen to the end: each check in them can fail, and the
// failure tests beside these show that it does.
#include "scenario_runner/runner_fixture.h"

namespace pag::scenario::testing {
namespace {

TEST_F(RunnerTest, OpenPassesCompanyDateAndLoginToTheModule) {
    expectPassed(run("expect form TestScreen\n"
                     "expect text lblAbertura \"01 06/12/2026 ADMIN\"\n"
                     "open - -\n"
                     "expect text lblAbertura \"- - ADMIN\"\n"
                     "open 02 today+1\n"
                     "expect text lblAbertura \"02 07/12/2026 ADMIN\"\n"),
                 4);
}

TEST_F(RunnerTest, TypingClicksMessagesAndQuestions) {
    auto r =
        run("type edtNome \"JOSE DA SILVA\"\n"
            "expect focus edtNome\n"
            "expect text edtNome \"JOSE DA SILVA\"\n"
            "# the mask places the digits around its literal\n"
            "type medCep 12345678\n"
            "expect text medCep 12345-678\n"
            "click chkAtivo\n"
            "expect checked chkAtivo\n"
            "expect focus chkAtivo\n"
            "click btnAviso\n"
            "expect message Aviso\n"
            "expect no-message\n"
            "click chkAtivo\n"
            "answer no Pergunta\n"
            "click btnPergunta\n"
            "expect unchecked chkAtivo\n"
            "answer yes \"Deseja marcar como ativo?\"\n"
            "click btnPergunta\n"
            "expect checked chkAtivo\n"
            "key edtNome ctrl+g\n"
            "expect message Gravado\n"
            "key frmTeste ctrl+g\n"
            "expect message \"Registro JOSE DA SILVA gravado.\"\n"
            "expect disabled btnInativo\n"
            "expect enabled btnAviso\n"
            "expect visible btnAviso\n"
            "choose cbxTipo Urgente\n"
            "expect text cbxTipo Urgente\n"
            "expect text chkAtivo Ativo\n");
    expectPassed(r, 16);
}

TEST_F(RunnerTest, FocusMovesAndAnExitThatRefusesKeepsIt) {
    expectPassed(run("type edtNome \"\"\n"
                     "exit edtNome\n"
                     "expect message NomeVazio\n"
                     "expect focus edtNome\n"
                     "type edtNome ANA\n"
                     "exit edtNome\n"
                     "expect focus medCep\n"
                     "enter edtNome\n"
                     "key edtNome tab\n"
                     "expect focus medCep\n"
                     "# typing replaces the whole text, key by key\n"
                     "type edtNome BIA\n"
                     "key edtNome backspace\n"
                     "key edtNome I\n"
                     "expect text edtNome BII\n"),
                 5);
}

TEST_F(RunnerTest, ModalDialogTakesTheFollowingLinesUntilItCloses) {
    expectPassed(run("type edtNome ANA\n"
                     "click btnDialogo\n"
                     "expect form TestDialog\n"
                     "expect text edtValor ANA\n"
                     "type edtValor BEATRIZ\n"
                     "# asked after the dialog closed, by the action that opened it\n"
                     "answer yes \"Aplicar o valor?\"\n"
                     "click btnOk\n"
                     "expect form TestScreen\n"
                     "expect text edtNome BEATRIZ\n"
                     "answer no\n"
                     "click btnDialogo\n"
                     "type edtValor CARLA\n"
                     "click btnOk\n"
                     "expect text edtNome BEATRIZ\n"
                     "click btnDialogo\n"
                     "type edtValor DIANA\n"
                     "close\n"
                     "expect form frmTeste\n"
                     "expect text edtNome BEATRIZ\n"),
                 7);
}

TEST_F(RunnerTest, GridAndDatasetRows) {
    expectPassed(run("expect count cdsItens = 3\n"
                     "expect count cdsItens > 2\n"
                     "expect count cdsItens < 4\n"
                     "expect field cdsItens.NOME = PARAFUSO\n"
                     "expect field cdsItens.VALOR = 1.234,50\n"
                     "expect each cdsItens.DATA = today\n"
                     "title grdItens NOME\n"
                     "row cdsItens first\n"
                     "expect field cdsItens.NOME = ARRUELA\n"
                     "goto cdsItens NOME=porca\n"
                     "expect field cdsItens.VALOR = 0,3\n"
                     "expect field cdsItens.CODIGO = 2\n"
                     "row cdsItens 2\n"
                     "cellclick grdItens VALOR\n"
                     "expect focus grdItens\n"
                     "expect text grdItens 1.234,50\n"
                     "type grdItens 99,9\n"
                     "key grdItens enter\n"
                     "expect state cdsItens edit\n"
                     "expect field cdsItens.VALOR = 99,9\n"
                     "row cdsItens prior\n"
                     "expect state cdsItens browse\n"
                     "dblclick grdItens\n"
                     "expect message \"Item ARRUELA\"\n"
                     "choose rdgOrdem Código\n"
                     "row cdsItens last\n"
                     "expect field cdsItens.NOME = PARAFUSO\n"
                     "expect text rdgOrdem Código\n"),
                 17);
}

TEST_F(RunnerTest, PickListsAnswerFromTheQueue) {
    expectPassed(run("pick NOME=PORCA\n"
                     "pickmany 1,3\n"
                     "click btnEscolher\n"
                     "expect text edtNome PORCA\n"
                     "expect text lblAbertura \"2 código(s)\"\n"
                     "expect field cdsItens.CODIGO = 2\n"
                     "pick none\n"
                     "click btnEscolher\n"
                     "expect field cdsItens.CODIGO = 2\n"
                     "pick 1\n"
                     "pickmany none\n"
                     "click btnEscolher\n"
                     "expect text edtNome PARAFUSO\n"
                     "expect text lblAbertura \"0 código(s)\"\n"
                     "find NOME=arruela\n"
                     "click btnProcurar\n"
                     "expect text edtNome ARRUELA\n"),
                 7);
}

}  // namespace
}  // namespace pag::scenario::testing
