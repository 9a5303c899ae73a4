#include "server/operations.h"

namespace pag::server {

void registerAllOperations(OperationRegistry& registry) {
    registerGeralOperations(registry);
    registerLoadOperations(registry);
}

}  // namespace pag::server
