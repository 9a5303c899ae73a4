// Each way a scenario file fails stops it at the line to blame, saying what was seen.
#include "scenario_runner/runner_fixture.h"

namespace pag::scenario::testing {
namespace {

TEST_F(RunnerTest, AFailingCheckReportsItsLineAndWhatWasSeen) {
    auto r =
        run("type edtNome ANA\n"
            "expect text edtNome ANA\n"
            "expect text edtNome BIA\n"
            "expect text edtNome ANA\n");
    expectFailure(r, lineOf("BIA"), "esperado \"BIA\", mostra \"ANA\"");
    EXPECT_EQ(r.passed, 1);
    EXPECT_EQ(r.report("teste.scn"), "teste.scn:6: " + r.message);
}

TEST_F(RunnerTest, DatasetChecksNameTheFieldAndTheRow) {
    expectFailure(
        run("expect field cdsItens.VALOR = 1.234,56\n"), 4,
        "cdsItens.VALOR: esperado 1.234,56, encontrado \"1234,5\" (mostrado \"1.234,50\")");
    expectFailure(run("expect field cdsItens.NOME = null\n"), 4, "encontrado \"PARAFUSO\"");
    expectFailure(run("expect each cdsItens.VALOR = 1.234,50\n"), 4, "na linha 2");
    expectFailure(run("expect count cdsItens > 3\n"), 4, "esperado > 3 linha(s), há 3");
    expectFailure(run("expect state cdsItens insert\n"), 4, "esperado insert, está browse");
    expectFailure(run("goto cdsItens NOME=PREGO\n"), 4, "nenhuma linha de cdsItens com NOME=PREGO");
    expectFailure(run("goto cdsItens PRECO=1\n"), 4, "PRECO");
    expectFailure(run("row cdsItens 4\n"), 4, "de 1 a 3");
    expectFailure(run("expect field cdsNada.NOME = X\n"), 4, "cdsNada não existe");
}

TEST_F(RunnerTest, ControlChecksAndInputOnControlsTheUserCannotReach) {
    expectFailure(run("expect enabled btnInativo\n"), 4,
                  "esperado enabled btnInativo, está disabled (por causa de panInativo)");
    expectFailure(run("click btnInativo\n"), 4, "desabilitado ou oculto");
    expectFailure(run("type btnAviso X\n"), 4, "não é possível digitar em btnAviso");
    expectFailure(run("click btnNada\n"), 4, "btnNada não existe no formulário frmTeste");
    expectFailure(run("choose cbxTipo Outro\n"), 4, "itens: Normal, Urgente");
    expectFailure(run("expect page tshDetalhe\n"), 4, "a página mostrada é tshLista");
    expectFailure(run("expect focus edtNome\n"), 4, "está em nenhum controle");
    expectFailure(run("expect form TestDialog\n"), 4, "é TestScreen (frmTeste)");
    expectFailure(run("exit edtNome\n"), 4, "o foco não está em edtNome");
    expectFailure(run("expect checked edtNome\n"), 4, "não é caixa de marcação");
}

TEST_F(RunnerTest, MessagesAreCheckedInOrderAndNoneIsLeftUnchecked) {
    auto wrong = run("click btnAviso\nexpect message NomeVazio\n");
    expectFailure(wrong, 5,
                  "mensagem esperada NomeVazio (\"Nome deve ser informado.\"), "
                  "mostrada \"Aviso de teste.\" (na linha 4)");
    expectFailure(run("expect message Aviso\n"), 4, "nenhuma mensagem a conferir");
    expectFailure(run("click btnAviso\nexpect message Avisso\n"), 5,
                  "a chave de mensagem 'Avisso' não existe");
    expectFailure(run("click btnAviso\nexpect no-message\n"), 5,
                  "mensagem não conferida: \"Aviso de teste.\" (mostrada na linha 4)");
    // Left unchecked at the end: blamed on the line that showed it.
    auto left = run("click btnAviso\nexpect focus btnAviso\n");
    expectFailure(left, 4, "mensagem não conferida: \"Aviso de teste.\"");
    EXPECT_EQ(left.passed, 1);
}

TEST_F(RunnerTest, QuestionsNeedTheirAnswerAndAnswersTheirQuestion) {
    expectFailure(run("click btnPergunta\n"), 4,
                  "pergunta inesperada: \"Deseja marcar como ativo?\"");
    auto unused = run("answer yes\nclick btnAviso\nexpect message Aviso\n");
    expectFailure(unused, 4, "'answer yes' não foi usada pela ação da linha 5");
    expectFailure(run("type edtNome A\npick 1\n"), 5, "'pick 1' não foi usada até o fim");
    expectFailure(run("answer yes Aviso\nclick btnPergunta\n"), 5,
                  "a pergunta feita foi \"Deseja marcar como ativo?\", não a esperada por "
                  "'answer yes Aviso' (linha 4)");
    expectFailure(run("click btnEscolher\n"), 4, "lista inesperada: \"Itens\"");
    expectFailure(run("pick 9\nclick btnEscolher\n"), 5, "a linha 9 não existe (há 3)");
    expectFailure(run("click btnProcurar\n"), 4, "procura inesperada em cdsItens");
    expectFailure(run("pick CODIGO=2\npickmany 1,7\nclick btnEscolher\n"), 6, "não há CODIGO = 7");
}

TEST_F(RunnerTest, ModalDialogFailures) {
    // A check inside the dialog stops the file there, and the dialog is closed again.
    auto inside = run("click btnDialogo\nexpect text edtValor X\nclick btnOk\n");
    expectFailure(inside, 5, "edtValor: esperado \"X\"");
    expectFailure(run("click btnDialogo\ntype edtValor X\n"), 4,
                  "o arquivo terminou com o formulário dlgValor aberto");
    // The answer is queued inside the dialog but the dialog closes without asking.
    expectFailure(run("click btnDialogo\nanswer yes\nclose\n"), 5,
                  "'answer yes' não foi usada pela ação da linha 4");
    // Controls of the main screen are out of reach while the dialog is on top.
    expectFailure(run("click btnDialogo\nclick btnAviso\n"), 5,
                  "btnAviso não existe no formulário dlgValor");
}

TEST_F(RunnerTest, MistakesInTheFileStopItBeforeAnythingRuns) {
    auto typo = run("expect form TestScreen\nclik btnAviso\n");
    expectFailure(typo, 5, "comando desconhecido 'clik btnAviso'");
    EXPECT_EQ(typo.passed, 0);
    expectFailure(run("type edtNome\n"), 4, "uso: type CONTROLE TEXTO");
    expectFailure(run("expect colour edtNome red\n"), 4, "comando desconhecido");
    expectFailure(run("key edtNome enterr\n"), 4, "tecla desconhecida 'enterr'");
    expectFailure(runRaw("db empty\nexpect message \"sem fim\n"), 2, "aspas sem fechamento");
}

TEST_F(RunnerTest, SetUpIsCheckedInOrder) {
    expectFailure(runRaw("sql \"DELETE FROM EMPRESA\"\n"), 1, "use db antes de sql");
    expectFailure(runRaw("db empty\nopen 01 today\n"), 2, "use login antes de open");
    expectFailure(runRaw("db empty\nlogin empresa=01 filial=0001\n"), 2, "uso: login");
    expectFailure(runRaw("db empty\nlogin empresa=01 filial=0001 operador=ADMIN cor=azul\n"), 2,
                  "'cor=azul'");
    expectFailure(runRaw("db empty\ndb empty\n"), 2, "use db uma única vez");
    expectFailure(runRaw("db empty\nclick btnAviso\n"), 2, "nenhuma tela aberta (use open)");
    expectFailure(run("open 01 32/12/2026\n"), 4, "");
}

TEST_F(RunnerTest, WithoutARegisteredModuleOpenSaysTheScreenIsNotThereYet) {
    if (findScenarioHost(kDefaultScenarioHost)) GTEST_SKIP() << "a tela Boleto já existe";
    ScenarioOptions o = options();
    o.hostFactory = nullptr;
    auto r = runScenario(kOpen, o);
    expectFailure(r, 3, "a tela Boleto ainda não está disponível");
    // Once registered, the same file opens it.
    registerScenarioHost("TesteRegistrado", o.hostFactory = options().hostFactory);
    o.hostFactory = nullptr;
    o.hostName = "TesteRegistrado";
    expectPassed(runScenario(std::string(kOpen) + "expect form TestScreen\n", o), 1);
}

}  // namespace
}  // namespace pag::scenario::testing
