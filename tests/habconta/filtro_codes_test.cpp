// The filter dialog's encoding of its choices for the server.
#include <gtest/gtest.h>

#include "Cli_pag12100/filtro_hab_codes.h"

namespace pag {
namespace {

TEST(FiltroCodes, BoletoAndReleaseStatusFollowTheChosenItem) {
    EXPECT_EQ(CodificaBoleto(0), "S");
    EXPECT_EQ(CodificaBoleto(1), "N");
    EXPECT_EQ(CodificaBoleto(2), "");
    EXPECT_EQ(CodificaBoleto(-1), "");
    EXPECT_EQ(CodificaStatLibNF(0), "L");
    EXPECT_EQ(CodificaStatLibNF(1), "B");
    EXPECT_EQ(CodificaStatLibNF(2), "");
}

TEST(FiltroCodes, SituationStartsBlankAndAppendsInBoxOrder) {
    EXPECT_EQ(CodificaSituacao(false, false, false, false), " ");
    EXPECT_EQ(CodificaSituacao(true, false, false, false), "_00");
    EXPECT_EQ(CodificaSituacao(true, true, true, true), "_00_01_10_20");
    // Without "Não Enviado" the blank stays in front.
    EXPECT_EQ(CodificaSituacao(false, true, false, true), " _01_20");
    EXPECT_EQ(CodificaSituacao(false, false, false, true), " _20");
    EXPECT_EQ(CodificaSituacao(true, false, true, false), "_00_10");
}

TEST(FiltroCodes, PersonTypeOnlyWhenEverySupplierIsChosen) {
    EXPECT_EQ(CodificaPessoa(true, 0), "T");
    EXPECT_EQ(CodificaPessoa(true, 1), "J");
    EXPECT_EQ(CodificaPessoa(true, 2), "F");
    EXPECT_EQ(CodificaPessoa(true, 3), "_O_I");
    // A supplier list decides by itself.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CodificaPessoa(false, i), "T") << i;
}

TEST(FiltroCodes, SupplierPickListPersonTypes) {
    EXPECT_EQ(TiposPessoaFornecedor(0), "");
    EXPECT_EQ(TiposPessoaFornecedor(1), "J");
    EXPECT_EQ(TiposPessoaFornecedor(2), "F");
    EXPECT_EQ(TiposPessoaFornecedor(3), "_O_I");
}

TEST(FiltroCodes, PickedCodesJoinWithCommas) {
    EXPECT_EQ(JuntaCodigos({}), "");
    EXPECT_EQ(JuntaCodigos({"001"}), "001");
    EXPECT_EQ(JuntaCodigos({"001", "237", "341"}), "001,237,341");
}

}  // namespace
}  // namespace pag
