#include "contracts/client/suite_context.h"

#include <stdexcept>

namespace pag {

namespace {
SuiteServices* gSuite = nullptr;
}

SuiteServices& Suite() {
    if (!gSuite || !gSuite->ui || !gSuite->db)
        throw std::logic_error(
            "O módulo foi chamado sem o ambiente do sistema (interface, contexto de login e "
            "banco de dados).");
    return *gSuite;
}

void SetSuite(SuiteServices* services) {
    gSuite = services;
}

}  // namespace pag
