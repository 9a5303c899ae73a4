#pragma once

#include "server/operation_registry.h"

namespace pag::server {

// One registration function per concern file; registerAllOperations (operations.cpp)
// calls each of them. A new concern file adds its function here and one line there.

void registerGeralOperations(OperationRegistry& r);  // GetGeral
void registerLoadOperations(OperationRegistry& r);   // GetBoletos, GetCntPagar, GetAjBolPag,
                                                     // GetParcelas
// PrxBoletoPag, SetAgrupaBoleto, SetSeparaBoleto
void registerGroupingOperations(OperationRegistry& r);
// GetParamCC, SetAgrupaFornecedores
void registerAutoEnableOperations(OperationRegistry& r);
// GetVerifAjust, Vd_OrcaFinaAjusBol, SetAjBolPag
void registerAdjustmentOperations(OperationRegistry& r);
// SetProrrogacao
void registerExtensionOperations(OperationRegistry& r);
// SetTribBol
void registerTaxGuideOperations(OperationRegistry& r);
// Incl_Parcela_Bol_Pag, Excl_Parcela_Bol_Pag, VdNovoValorContas
void registerInstallmentOperations(OperationRegistry& r);
// SetBoletos
void registerBoletoSaveOperations(OperationRegistry& r);
// GetMarcaTBoletos
void registerBoletoMarkOperations(OperationRegistry& r);
// GetSitCNAB, GetSitCNABBoletos, GetVdBolCompensado, GetVdTBolCompensado, GetVd_BarraPag,
// GetContProrVenc
void registerCheckOperations(OperationRegistry& r);
// GetDescontos
void registerDiscountOperations(OperationRegistry& r);
// GetCCorForn, SetCCorForn, GetChavePix, SetChavePix
void registerSupplierAccountOperations(OperationRegistry& r);

}  // namespace pag::server
