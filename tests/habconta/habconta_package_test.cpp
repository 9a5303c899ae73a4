// The package of the boleto module: unit order, loading and unloading, and the entry's
// refusal of parameters it cannot read.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "pkg_PAG12000/pkg_pag12000.h"

namespace pag {
namespace {

TEST(HabContaPackage, UnitsAreTheDialogsThenTheMainScreen) {
    std::vector<std::string> names;
    for (const PackageUnit& u : GetPackageInfoTable())
        names.push_back(u.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Cli_pag12100", "Cli_pag12001", "Cli_pag12002",
                                               "Cli_pag12003", "Cli_pag12000"}));
}

TEST(HabContaPackage, LoadingSetsTheModuleVariablesAndUnloadingClearsTheTexts) {
    Finalize();
    boAtualizaBoletos = false;
    boParcelamento = true;
    boIdCriado = true;
    stNrUltParc = "03";
    StParcela = "X";
    Initialize();
    EXPECT_TRUE(boAtualizaBoletos);
    EXPECT_FALSE(boParcelamento);
    EXPECT_FALSE(boIdCriado);
    EXPECT_EQ(frmHabConta, nullptr);
    Finalize();
    EXPECT_EQ(stNrUltParc, "");
    EXPECT_EQ(StParcela, "");
}

TEST(HabContaPackage, EntryRefusesParametersWithoutCompanyAndDate) {
    EXPECT_THROW(IniProc(Value("01")), std::invalid_argument);
    EXPECT_THROW(IniProc(Value(ValueArray{Value("01")})), std::invalid_argument);
    EXPECT_EQ(frmHabConta, nullptr);
}

}  // namespace
}  // namespace pag
