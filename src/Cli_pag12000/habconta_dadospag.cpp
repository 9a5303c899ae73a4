// TEMPORARY skeleton: replaced by the payment-data checks.
#include "Cli_pag12000/habconta.h"

namespace pag {

void TfrmHabConta::carregaMensagensDadosPag() {}
void TfrmHabConta::ligaEventosDadosPag() {}
void TfrmHabConta::dbeLinhBarPagExit() {}
void TfrmHabConta::edtCdBarraExit() {}
void TfrmHabConta::Vd_BarraPag() {}
void TfrmHabConta::Vd_ValorBolImp(const std::string&, const std::string&) {}
void TfrmHabConta::Vd_CdReduCont() {}
void TfrmHabConta::dbeCdBancBolPExit() {}
void TfrmHabConta::dbeCdAgenBolPExit() {}
void TfrmHabConta::dbeCdCCorFornExit() {}
void TfrmHabConta::Vd_Favorecido(const std::string&) {}
void TfrmHabConta::Vd_CHAVEPIX(const std::string&, const std::string&, bool) {}
void TfrmHabConta::cdsCCorFornAfterPost() {}
void TfrmHabConta::cdsChavePixAfterPost() {}

}  // namespace pag
