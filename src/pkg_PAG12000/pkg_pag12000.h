#pragma once

#include <string>
#include <vector>

#include "platform/value.h"

namespace pag {

// The package of the boleto module: the units it holds, in the order they are
// initialized, and the entries the host calls.
struct PackageUnit {
    std::string name;
    void (*initialize)();
    void (*finalize)();
};

// The unit table: the units the module's units use, then the module's five units.
const std::vector<PackageUnit>& GetPackageInfoTable();

// Loads the package: initializes every unit of the table in order (once).
void Initialize();
// Unloads it: finalizes the units in reverse order.
void Finalize();

// The host's entry by name: null opens the screen without company or date; otherwise
// [company code, processing date].
void IniProc(const Value& parametros);

}  // namespace pag
