// The package of the boleto module: its unit table, loading and unloading in unit
// order, and the entry the host calls by name.
#include "pkg_PAG12000/pkg_pag12000.h"

#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12001/abatimento.h"
#include "Cli_pag12002/cadautocont.h"
#include "Cli_pag12003/cadguiaimp.h"
#include "Cli_pag12100/filtro_hab.h"

namespace pag {

namespace {

void finalizaFiltro() {
    DestroiFiltroHabConta();
}

bool gCarregado = false;

}  // namespace

const std::vector<PackageUnit>& GetPackageInfoTable() {
    // The dialogs come before the main screen, which uses them all. The units without
    // a step of their own at loading keep it empty.
    static const std::vector<PackageUnit> units = {
        {"Cli_pag12100", nullptr, finalizaFiltro},
        {"Cli_pag12001", nullptr, Cli_pag12001_Finalize},
        {"Cli_pag12002", nullptr, Cli_pag12002_Finalize},
        {"Cli_pag12003", nullptr, Cli_pag12003_Finalize},
        {"Cli_pag12000", Cli_pag12000_Initialize, Cli_pag12000_Finalize},
    };
    return units;
}

void Initialize() {
    if (gCarregado) return;
    for (const PackageUnit& unit : GetPackageInfoTable())
        if (unit.initialize) unit.initialize();
    gCarregado = true;
}

void Finalize() {
    if (!gCarregado) return;
    const auto& units = GetPackageInfoTable();
    for (auto it = units.rbegin(); it != units.rend(); ++it)
        if (it->finalize) it->finalize();
    gCarregado = false;
}

void IniProc(const Value& parametros) {
    if (parametros.isNull()) {
        CriaHabConta({}, Date());
        return;
    }
    if (parametros.type() != ValueType::Array || parametros.asArray().size() < 2)
        throw std::invalid_argument(
            "Parâmetros de entrada do módulo inválidos: informe a empresa e a data de "
            "processamento.");
    const ValueArray& p = parametros.asArray();
    CriaHabConta(p[0].asString(), p[1].asDate());
}

}  // namespace pag
