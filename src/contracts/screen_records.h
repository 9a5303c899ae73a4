#pragma once

#include <string_view>
#include <vector>

#include "platform/dataset/field.h"
#include "platform/dataset/packet.h"

namespace pag {

// The records the main screen and the server exchange.
//
// The declared fields of a dataset or lookup query of the main screen, by its
// component name ("cdsBoletos", "cdsCntPagar", "qryContCorr"...). Datasets that take
// their fields from the packet (cdsContProrVenc, cdsGrupoOperador) have none: asking
// for them, or for an unknown name, throws std::invalid_argument.
std::vector<FieldDef> HabContaFieldDefs(std::string_view dataset);

// Field definitions of cdsBoletos: one row per open boleto of the chosen company.
std::vector<FieldDef> BoletoFieldDefs();

// The fields a server packet for that dataset carries: the declared ones less the
// calculated ones, with name, type and size. Server and screens share this one
// table, so a packet always loads into its dataset unchanged.
std::vector<PacketField> RecordPacketFields(std::string_view dataset);

}  // namespace pag
