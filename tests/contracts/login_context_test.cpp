// Filling the login context from the host's command line and configuration file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "contracts/client/login_context.h"

namespace pag {
namespace {

std::string refusal(LoginContext& ctx, const std::vector<std::string>& args) {
    try {
        parseLoginArgs(ctx, args);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "aceito";
}

TEST(LoginContext, CommandLineFillsEveryEntry) {
    LoginContext ctx;
    parseLoginArgs(ctx, {"--empresa", "01", "--filial", "0001", "--operador", "ADMIN", "--date",
                         "15/03/2024", "--db", "/tmp/pag.db", "--server", "srv.local:8212",
                         "--token=abc", "--orcafina", "s"});
    EXPECT_EQ(ctx.EmprProc, "01");
    EXPECT_EQ(ctx.FiliProc, "0001");
    EXPECT_EQ(ctx.Operador, "ADMIN");
    EXPECT_EQ(ctx.ProcessingDate, Date::fromYmd(2024, 3, 15));
    EXPECT_EQ(ctx.DatabaseFile, "/tmp/pag.db");
    EXPECT_EQ(ctx.WebURL, "srv.local");
    EXPECT_EQ(ctx.WebPort, 8212);
    EXPECT_EQ(ctx.Token, "abc");
    EXPECT_TRUE(ctx.UtilizaOrcaFina);
    EXPECT_FALSE(ctx.isLocal());
    EXPECT_NO_THROW(requireCompleteLogin(ctx));
}

TEST(LoginContext, ServerForms) {
    LoginContext ctx;
    EXPECT_TRUE(ctx.isLocal());
    parseLoginArgs(ctx, {"--server", "http://[::1]:9000/"});
    EXPECT_EQ(ctx.WebURL, "::1");
    EXPECT_EQ(ctx.WebPort, 9000);
    parseLoginArgs(ctx, {"--server=local"});
    EXPECT_EQ(ctx.WebURL, "local");
    EXPECT_TRUE(ctx.isLocal());
}

TEST(LoginContext, BadInputIsRefusedByNameAndChangesNothing) {
    LoginContext ctx;
    ctx.EmprProc = "01";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--empresa", "02", "--date", "31/02/2024"}, "Opção --date: "},
        {{"--server", "srv"},
         "Opção --server: servidor inválido: \"srv\" (use host:porta ou local)."},
        {{"--server", "srv:0"}, "porta inválida: 0"},
        {{"--server", "srv:80a"}, "porta inválida: \"80a\""},
        {{"--orcafina", "talvez"}, "Opção --orcafina: use S ou N, não \"talvez\"."},
        {{"--operador", "JOSE SILVA"}, "o operador não pode conter espaços"},
        {{"--filial", ""}, "Opção --filial: informe a filial."},
        {{"--empresa"}, "A opção --empresa precisa de um valor."},
        {{"--porta", "1"}, "Opção desconhecida: --porta."},
        {{"solto"}, "Argumento inesperado: \"solto\"."},
        {{"--config", "/nao/existe.cfg"}, "Não foi possível ler o arquivo de configuração"},
    };
    for (const auto& [args, expected] : cases) {
        std::string got = refusal(ctx, args);
        EXPECT_NE(got.find(expected), std::string::npos) << got;
    }
    EXPECT_EQ(ctx.EmprProc, "01");  // the valid "--empresa 02" before the bad date was not kept
}

TEST(LoginContext, OtherArgumentsCanBeLeftToTheHost) {
    LoginContext ctx;
    std::vector<std::string> rest;
    parseLoginArgs(ctx, {"serve", "--empresa", "01", "--port", "8212"}, &rest);
    EXPECT_EQ(ctx.EmprProc, "01");
    EXPECT_EQ(rest, (std::vector<std::string>{"serve", "--port", "8212"}));
}

TEST(LoginContext, ConfigFileAndCommandLineInOrder) {
    const std::string path = ::testing::TempDir() + "login_context_test.cfg";
    {
        std::ofstream out(path);
        out << "# suite\n empresa = 03 \nfilial=0002\r\n\noperador=MARIA\nserver=local\n"
               "orcafina=N\n";
    }
    LoginContext ctx;
    parseLoginArgs(ctx, {"--config", path, "--filial", "0009"});
    std::remove(path.c_str());
    EXPECT_EQ(ctx.EmprProc, "03");
    EXPECT_EQ(ctx.FiliProc, "0009");
    EXPECT_EQ(ctx.Operador, "MARIA");
    EXPECT_TRUE(ctx.isLocal());
    EXPECT_FALSE(ctx.UtilizaOrcaFina);
}

TEST(LoginContext, ConfigErrorsNameTheLine) {
    LoginContext ctx;
    auto error = [&](const std::string& text) {
        try {
            parseLoginConfig(ctx, text, "pag.cfg");
        } catch (const std::invalid_argument& e) {
            return std::string(e.what());
        }
        return std::string("aceito");
    };
    EXPECT_EQ(error("empresa=01\nfilial\n"),
              "Linha 2 de pag.cfg: esperava chave=valor, encontrou \"filial\".");
    EXPECT_EQ(error("porta=1"), "Linha 1 de pag.cfg: chave desconhecida \"porta\".");
    EXPECT_EQ(error("config=outro.cfg"), "Linha 1 de pag.cfg: chave desconhecida \"config\".");
    EXPECT_NE(error("\ndate=99/99/2024").find("Linha 2 de pag.cfg: date: "), std::string::npos);
    EXPECT_TRUE(ctx.EmprProc.empty());
}

TEST(LoginContext, IncompleteLoginNamesWhatIsMissing) {
    LoginContext ctx;
    ctx.EmprProc = "01";
    try {
        requireCompleteLogin(ctx);
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Informe a filial (--filial) e o operador (--operador).");
    }
}

}  // namespace
}  // namespace pag
