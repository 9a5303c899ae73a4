#include "server/dataset_fields.h"

namespace pag::server {

namespace {
PacketField T(const char* name, int size) {
    return {name, FieldType::Text, size};
}
PacketField F(const char* name) {
    return {name, FieldType::Float, 0};
}
PacketField D(const char* name) {
    return {name, FieldType::Date, 0};
}
}  // namespace

std::vector<PacketField> boletoFields() {
    return {T("NRPARCBOLPAGVISU", 4), F("NRPARCBOLPAGNUM"),    D("DTATUAVENBOLPAG"),
            T("CDFILIAL", 4),         T("NRLANBOLPAG", 10),    T("CDFORNECED", 21),
            T("NMFANTFORN", 40),      T("NMRAZSOCFORN", 40),   T("CDEMPRESA", 2),
            T("NRPARCBOLPAG", 2),     F("VRBOLPAG"),           F("VRPEMULBPAG"),
            F("VRMULTABPAG"),         D("DTENTRSAID"),         F("VRPEMORBPAG"),
            F("VRFINALBPAG"),         D("DTVENBOLPAG"),        T("IDHABIBPAG", 1),
            T("IDBAIXAUTILP", 1),     T("CDTPBAIXAPAG", 2),    T("NMTPBAIXAPAG", 50),
            T("IDSTATBPAG", 1),       F("VRMORDIABPAG"),       T("IDBPAGREAL", 1),
            T("CDBANCBOLP", 3),       T("CDAGENBOLP", 5),      T("CDCCORBOLP", 16),
            T("CDREDUCONT", 3),       T("NRINSJURFORN", 20),   T("IDTPIJURFORN", 1),
            T("CDBANCO", 3),          T("CDAGENCIA", 5),       T("CDCONTCORR", 10),
            T("DSCONTCORR", 20),      T("CDBARRAPAG", 44),     T("CDMOTIPARC", 2),
            T("DSLINHBARPAG", 55),    T("NRORIGBOLPAG", 10),   T("IDMARCADO", 1),
            T("CDMOTIPROR", 2),       T("DSMOTIPROR", 40),     D("DTEMISSAO"),
            T("NRLANCAMENTO", 10),    T("IDTPICNABBOP", 1),    T("NRINSCNABBOP", 20),
            T("IDSITUCNABP", 2),      T("IDTPCTPAGAR", 1),     T("NRLANCANTECIPA", 10),
            T("NRCNABPAGREM", 10),    T("NRCNABPAGRET", 10),   T("CDBANCCNAB", 3),
            T("IDBLOQNFFIN", 1),      T("NRNOTAFISC", 20),     T("CDRECEITAGUIA", 4),
            D("DTAPURACGUIA"),        T("NRREFEGUIA", 20),     T("NRORCAEVENTO", 10),
            T("NRSEQORCAEVE", 2),     T("NF_ORCAMENTO", 4),    F("VROUTRENTGUIA"),
            T("IDCHAVEPIX", 2),       T("CHAVEPIX", 100),      T("DSCHAVEPIX", 100),
            T("CODEQRPIX", 100),      T("NRLACRCONECTSOC", 9), T("NRDIGICONECTSOC", 2),
            F("VRPERCENTTRIB"),       T("NRPARCELNOTIFIC", 13)};
}

std::vector<PacketField> cntPagarFields() {
    return {T("NRSEQVENPAG", 2),  D("DTATUAVENPAG"),    F("VRORIGPAG"),       F("VRATUAPAG"),
            T("CDFILIAL", 4),     T("NRLANCTONF", 10),  T("NRPARCELAPAG", 2), T("DSCONTAPAG", 100),
            T("NRLANBOLPAG", 10), T("CDFIMOVFLPAG", 4), D("DTORIGVENPAG"),    T("CDEMPRESA", 2),
            D("DTMOVFLUXO"),      T("IDMOVFLUXO", 1),   T("CDCLASSFINA", 6),  T("CDFILIBPAG", 4),
            T("CDSERIEENTR", 5),  T("CDMOTIPROR", 2),   F("QTDIASVENPAG"),    T("CDTPCTPAGAR", 6),
            T("IDSTATPAG", 1),    T("NRNOTAFISC", 20),  T("IDTPCTPAGAR", 1)};
}

std::vector<PacketField> ajBolPagFields() {
    return {T("CDAJUCTPAG", 4), T("CDFILIAL", 4), T("NRLANBOLPAG", 10), T("DSAJUCTPAG", 40),
            T("IDAJUCTPAG", 1), F("VRAJBOLPAG"),  T("IDORIGAJBPAG", 1)};
}

std::vector<PacketField> parcelasFields() {
    return {T("NRPARCBOLPAGVISU", 4), F("NRPARCBOLPAGNUM"),    T("CDFILIAL", 4),
            T("NRLANBOLPAG", 10),     T("CDFORNECED", 21),     T("NRPARCBOLPAG", 2),
            D("DTVENBOLPAG"),         T("CDEMPRESA", 2),       F("VRFINALBPAG"),
            T("CDMOTIPARC", 2),       T("IDSTATBPAG", 1),      F("VRBOLPAG"),
            T("NRORIGBOLPAG", 10),    T("DSMOTIPARC", 40),     F("VRPEMULBPAG"),
            F("VRMULTABPAG"),         F("VRPEMORBPAG"),        T("IDHABIBPAG", 1),
            F("VRMORDIABPAG"),        T("IDBPAGREAL", 1),      T("CDBANCBOLP", 3),
            T("CDAGENBOLP", 5),       T("CDCCORBOLP", 16),     T("CDREDUCONT", 3),
            T("CDBARRAPAG", 44),      T("NRCNABPAGREM", 10),   T("DSLINHBARPAG", 55),
            T("NRCNABPAGRET", 10),    T("NRLANCANTECIPA", 10), T("IDSITUCNABP", 2)};
}

std::vector<PacketField> paramGeralFields() {
    return {T("CDPICTPROD", 20),  T("CDPICTPRAT", 20),
            T("CDPICTREFE", 20),  T("CDPICTCCTB", 20),
            T("CDPICTCFIN", 20),  T("CDPICTDIET", 20),
            T("CDPICTSERV", 20),  T("CDPICTRECE", 20),
            T("CDPICTCFIS", 20),  {"FGLOGOTIPO", FieldType::Blob, 0},
            T("CDFILIAL", 4),     T("CDPARGERAL", 4),
            T("IDUTILDTPROC", 1), T("IDUTCTRLACES", 1),
            T("CDINDICEMF", 4),   T("CDIDIOMA", 20),
            T("CDPICTSGRU", 20),  T("CDPICTESTAGI", 20),
            T("CDPICTETAPA", 20), T("CDPICTINSPEC", 20),
            T("DSPROVNAME", 6),   T("CDPICTATIVCL", 20),
            T("IDUTLPROCPAG", 1), T("IDUTLPROCREC", 1),
            T("IDUTLPROCBCO", 1), T("CDPICTPROCES", 20),
            T("IDCONSORCFIN", 1), T("IDEXIBDADORC", 0)};
}

std::vector<PacketField> geralPagFields() {
    return {T("CDGERALPAG", 1), F("QTDIAANTBOLP"),    F("QTDIAAPOBOLP"),
            T("IDHABIBOLE", 1), T("IDUTLNFDEVOL", 1), T("IDUTCTRLCANREMP", 1)};
}

std::vector<PacketField> paramFilialFields() {
    return {F("NRTAMNUMNFUT")};
}

std::vector<PacketField> cCorFornFields() {
    return {T("CDBANCFORN", 3),  T("CDAGENFORN", 5),   T("CDCCORFORN", 16),
            T("CDFORNECED", 21), T("IDTPICNABFOR", 1), T("NRINSCNABFOR", 20)};
}

std::vector<PacketField> chavePixFields() {
    return {T("CDFORNECED", 20), T("IDCHAVEPIX", 2), T("CDCHAVEPIX", 100), T("DSCHAVEPIX", 100),
            T("IDCHAVEPIXPREF", 1)};
}

std::vector<PacketField> vdBarraPagFields() {
    return {T("CDFILIAL", 4), T("NRLANBOLPAG", 10),  F("VRFINALBPAG"),
            D("DTVENBOLPAG"), T("NMRAZSOCFORN", 40), T("IDANTECIPA", 1)};
}

std::vector<PacketField> verifAjustFields() {
    return {T("CDAJUCTPAG", 4), T("CDFILIAL", 4), T("NRLANBOLPAG", 10), F("VRAJBOLPAG"),
            T("IDAJUCTPAG", 1)};
}

std::vector<PacketField> sitCnabFields() {
    return {T("IDSITUCNABP", 2)};
}

std::vector<PacketField> adiantamentoFields() {
    return {F("VRTOTADIA"),       F("VRDISPONIVEL"),     T("NRLANCTONF", 10),
            T("NRSEQVENPAG", 2),  T("NRPARCELAPAG", 2),  T("CDFILIAL", 4),
            F("VRORIGINAL"),      T("IDMARCADO", 1),     F("VRDESCONTO"),
            T("IDTPIJURFORN", 1), T("NMRAZSOCFORN", 40), T("NRINSJURFORN", 20),
            D("DTATUAVENPAG")};
}

std::vector<PacketField> devolucaoFields() {
    return {T("IDMARCADO", 1),    T("DOCUMENTO", 26),    T("FILIDEVO", 4),
            T("NRNFDEVO", 10),    D("DTEMISSAO"),        F("VRDISPONIVEL"),
            F("VRDESCONTO"),      F("VRNFDEVOL"),        T("NRINSJURFORN", 20),
            T("IDTPIJURFORN", 1), T("NMRAZSOCFORN", 40), T("DOCUMENTOORI", 26)};
}

std::vector<PacketField> paramCCFields() {
    return {T("CDTPBXCREDCONT", 2), T("CDTPBAIXADOC", 2), T("CDTPBAIXATED", 2), F("VRLIMITEDOC")};
}

}  // namespace pag::server
