// The entries of the package as the host finds them by name in the shared library.
#include <cstdint>

#include "Cli_pag12000/habconta.h"
#include "contracts/client/suite_context.h"
#include "pkg_PAG12000/pkg_pag12000.h"

extern "C" {

// The host lends its services to the package's own copy of the suite library before
// any other entry.
void pkg_PAG12000_SetSuite(pag::SuiteServices* services) {
    pag::SetSuite(services);
}

void pkg_PAG12000_Initialize() {
    pag::Initialize();
}

void pkg_PAG12000_Finalize() {
    pag::Finalize();
}

const std::vector<pag::PackageUnit>* pkg_PAG12000_GetPackageInfoTable() {
    return &pag::GetPackageInfoTable();
}

// parametros: null for the entry without company and date.
void pkg_PAG12000_IniProc(const pag::Value* parametros) {
    pag::IniProc(parametros ? *parametros : pag::Value());
}

// data: the processing date as a day count (0 = none).
void pkg_PAG12000_CriaHabConta(const char* empresa, int32_t data) {
    pag::CriaHabConta(empresa ? empresa : "", pag::Date::fromSerial(data));
}

// The main screen while it exists (null before the first entry and once closed): the
// host's views draw it.
pag::Form* pkg_PAG12000_TelaPrincipal() {
    return pag::frmHabConta;
}

}  // extern "C"
