#include "server/dataset_fields.h"

#include "contracts/screen_records.h"

namespace pag::server {

// The screens' records are the one table of field names, types and sizes.
std::vector<PacketField> boletoFields() {
    return RecordPacketFields("cdsBoletos");
}
std::vector<PacketField> cntPagarFields() {
    return RecordPacketFields("cdsCntPagar");
}
std::vector<PacketField> ajBolPagFields() {
    return RecordPacketFields("cdsAjBolPag");
}
std::vector<PacketField> parcelasFields() {
    return RecordPacketFields("cdsParcelas");
}
std::vector<PacketField> paramGeralFields() {
    return RecordPacketFields("cdsParamGeral");
}
std::vector<PacketField> geralPagFields() {
    return RecordPacketFields("cdsGeralPag");
}
std::vector<PacketField> paramFilialFields() {
    return RecordPacketFields("cdsParamFilial");
}
std::vector<PacketField> cCorFornFields() {
    return RecordPacketFields("cdsCCorForn");
}
std::vector<PacketField> chavePixFields() {
    return RecordPacketFields("cdsChavePix");
}
std::vector<PacketField> vdBarraPagFields() {
    return RecordPacketFields("cdsVd_BarraPag");
}
std::vector<PacketField> verifAjustFields() {
    return RecordPacketFields("cdsVerifAjust");
}
std::vector<PacketField> sitCnabFields() {
    return RecordPacketFields("cdsSitCNAB");
}
std::vector<PacketField> adiantamentoFields() {
    return RecordPacketFields("qryAdiantamento");
}
std::vector<PacketField> devolucaoFields() {
    return RecordPacketFields("qryDevolucao");
}

std::vector<PacketField> paramCCFields() {
    // The automatic-enabling dialog's own dataset, not one of the main screen's.
    return {{"CDTPBXCREDCONT", FieldType::Text, 2},
            {"CDTPBAIXADOC", FieldType::Text, 2},
            {"CDTPBAIXATED", FieldType::Text, 2},
            {"VRLIMITEDOC", FieldType::Float, 0}};
}

}  // namespace pag::server
