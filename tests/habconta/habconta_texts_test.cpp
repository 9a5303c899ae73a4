// The texts the boleto screen derives from a boleto and its payables.
#include <gtest/gtest.h>

#include "Cli_pag12000/habconta_internal.h"

namespace pag {
namespace {

TEST(HabContaTexts, NavigatorTextJoinsDueDateTradeNameAndNetValue) {
    EXPECT_EQ(TextoNavegadorBoleto(Date::fromYmd(2030, 1, 5), "JOSE CARLOS", 1234567.891),
              "05/01/2030 JOSE CARLOS 1.234.567,89");
    EXPECT_EQ(TextoNavegadorBoleto(Date::fromYmd(2030, 1, 5), "RFB", 0), "05/01/2030 RFB 0,00");
    // Rounded as the user reads the value, not as it is stored.
    EXPECT_EQ(TextoNavegadorBoleto(Date::fromYmd(2030, 1, 5), "X", 2.675), "05/01/2030 X 2,68");
}

TEST(HabContaTexts, NavigatorTextIsEmptyWithoutDueDate) {
    EXPECT_EQ(TextoNavegadorBoleto(Date(), "JOSE CARLOS", 10), "");
}

TEST(HabContaTexts, DocumentCarriesTheSeriesOnlyWhenThereIsOne) {
    EXPECT_EQ(DocumentoConta("123", "1"), "123/1");
    EXPECT_EQ(DocumentoConta("123", ""), "123");
    EXPECT_EQ(DocumentoConta("123", "  "), "123");
    EXPECT_EQ(DocumentoConta("", "1"), "/1");
}

TEST(HabContaTexts, AdjustmentIsTheDifferenceInCents) {
    EXPECT_DOUBLE_EQ(AjusteConta(110.50, 100.00), 10.50);
    EXPECT_DOUBLE_EQ(AjusteConta(90.00, 100.00), -10.00);
    // Each value is rounded to cents before the difference: 100.005 counts as 100.01.
    EXPECT_NEAR(AjusteConta(100.005, 100.0), 0.01, 1e-9);
    EXPECT_NEAR(AjusteConta(100.004, 100.0), 0.0, 1e-9);
}

TEST(HabContaTexts, PayableIdentificationIsSequenceDotInstallment) {
    EXPECT_EQ(IdentificacaoConta("01", "02"), "01.02");
    EXPECT_EQ(IdentificacaoConta("01", ""), "01.");
}

}  // namespace
}  // namespace pag
