#pragma once

#include <vector>

#include "platform/dataset/packet.h"

namespace pag::server {

// The fields of the packets the server sends, exactly as the screen's datasets
// define them (name, type, size), in their defined order: a packet built with these
// loads into its dataset unchanged.

std::vector<PacketField> boletoFields();        // cdsBoletos
std::vector<PacketField> cntPagarFields();      // cdsCntPagar (calculated fields left out)
std::vector<PacketField> ajBolPagFields();      // cdsAjBolPag
std::vector<PacketField> parcelasFields();      // cdsParcelas
std::vector<PacketField> paramGeralFields();    // cdsParamGeral
std::vector<PacketField> geralPagFields();      // cdsGeralPag
std::vector<PacketField> paramFilialFields();   // cdsParamFilial
std::vector<PacketField> cCorFornFields();      // cdsCCorForn
std::vector<PacketField> chavePixFields();      // cdsChavePix
std::vector<PacketField> vdBarraPagFields();    // cdsVd_BarraPag
std::vector<PacketField> verifAjustFields();    // cdsVerifAjust
std::vector<PacketField> sitCnabFields();       // cdsSitCNAB
std::vector<PacketField> adiantamentoFields();  // qryAdiantamento (advances available)
std::vector<PacketField> devolucaoFields();     // qryDevolucao (return notes available)
std::vector<PacketField> paramCCFields();       // cdsParamCC of the automatic enabling

}  // namespace pag::server
