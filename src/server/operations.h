#pragma once

#include "server/operation_registry.h"

namespace pag::server {

// One registration function per concern file; registerAllOperations (operations.cpp)
// calls each of them. A new concern file adds its function here and one line there.

void registerGeralOperations(OperationRegistry& r);  // GetGeral
void registerLoadOperations(OperationRegistry& r);   // GetBoletos, GetCntPagar, GetAjBolPag,
                                                     // GetParcelas

}  // namespace pag::server
