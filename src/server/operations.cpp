#include "server/operations.h"

namespace pag::server {

void registerAllOperations(OperationRegistry& registry) {
    registerGeralOperations(registry);
    registerLoadOperations(registry);
    registerGroupingOperations(registry);
    registerAutoEnableOperations(registry);
    registerAdjustmentOperations(registry);
    registerExtensionOperations(registry);
    registerTaxGuideOperations(registry);
    registerInstallmentOperations(registry);
    registerBoletoSaveOperations(registry);
    registerBoletoMarkOperations(registry);
    registerCheckOperations(registry);
    registerDiscountOperations(registry);
    registerSupplierAccountOperations(registry);
}

}  // namespace pag::server
