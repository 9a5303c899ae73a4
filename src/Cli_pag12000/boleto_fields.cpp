#include "Cli_pag12000/boleto_fields.h"

namespace pag {

namespace {
struct Row {
    const char* name;
    FieldType type;
    int size;
    const char* label;
    const char* displayFormat;
    const char* editFormat;
    const char* editMask;
    bool visible;
};

// The boleto record in its defined order; only the fields listed as visible are
// shown by default, the grid's own column list decides the rest.
const Row kBoleto[] = {
    {"NRPARCBOLPAGVISU", FieldType::Text, 4, "Parc.", "", "", "", false},
    {"NRPARCBOLPAGNUM", FieldType::Float, 0, "", "", "", "", false},
    {"DTATUAVENBOLPAG", FieldType::Date, 0, "", "", "", "", true},
    {"CDFILIAL", FieldType::Text, 4, "", "", "", "", false},
    {"NRLANBOLPAG", FieldType::Text, 10, "Lançamento", "", "", "", false},
    {"CDFORNECED", FieldType::Text, 21, "", "", "", "", false},
    {"NMFANTFORN", FieldType::Text, 40, "Fornecedor", "", "", "", false},
    {"NMRAZSOCFORN", FieldType::Text, 40, "Fornecedor", "", "", "", true},
    {"CDEMPRESA", FieldType::Text, 2, "", "", "", "", false},
    {"NRPARCBOLPAG", FieldType::Text, 2, "Parc.", "", "", "", true},
    {"VRBOLPAG", FieldType::Float, 0, "Valor Boleto", "#,##0.00", "", "", false},
    {"VRPEMULBPAG", FieldType::Float, 0, "Multa (%)", "#,##0.00", "#,##0.00", "", false},
    {"VRMULTABPAG", FieldType::Float, 0, "Multa (Valor)", "#,##0.00", "#,##0.00", "", false},
    {"DTENTRSAID", FieldType::Date, 0, "", "", "", "", false},
    {"VRPEMORBPAG", FieldType::Float, 0, "Mora Diária (%)", "#,##0.00", "#,##0.00", "", false},
    {"VRFINALBPAG", FieldType::Float, 0, "Valor Líquido", "#,##0.00", "", "", true},
    {"DTVENBOLPAG", FieldType::Date, 0, "Vencimento", "", "", "", true},
    {"IDHABIBPAG", FieldType::Text, 1, "Hab.", "", "", "", false},
    {"IDBAIXAUTILP", FieldType::Text, 1, "", "", "", "", false},
    {"CDTPBAIXAPAG", FieldType::Text, 2, "", "", "", "", false},
    {"NMTPBAIXAPAG", FieldType::Text, 50, "Tipo de Baixa", "", "", "", true},
    {"IDSTATBPAG", FieldType::Text, 1, "", "", "", "", false},
    {"VRMORDIABPAG", FieldType::Float, 0, "Mora Diária (Valor)", "#,##0.00", "#,##0.00", "", false},
    {"IDBPAGREAL", FieldType::Text, 1, "Bol. Real", "", "", "", false},
    {"CDBANCBOLP", FieldType::Text, 3, "", "", "", "", false},
    {"CDAGENBOLP", FieldType::Text, 5, "", "", "", "", false},
    {"CDCCORBOLP", FieldType::Text, 16, "", "", "", "", false},
    {"CDREDUCONT", FieldType::Text, 3, "", "", "", ">aaa;0; ", false},
    {"NRINSJURFORN", FieldType::Text, 20, "", "", "", "", false},
    {"IDTPIJURFORN", FieldType::Text, 1, "", "", "", "", false},
    {"CDBANCO", FieldType::Text, 3, "", "", "", "", false},
    {"CDAGENCIA", FieldType::Text, 5, "", "", "", "9999-a;0; ", false},
    {"CDCONTCORR", FieldType::Text, 10, "", "", "", "", false},
    {"DSCONTCORR", FieldType::Text, 20, "", "", "", "", false},
    {"CDBARRAPAG", FieldType::Text, 44, "", "", "",
     "99999999999999999999999999999999999999999999;0; ", false},
    {"CDMOTIPARC", FieldType::Text, 2, "", "", "", "", false},
    {"DSLINHBARPAG", FieldType::Text, 55, "", "", "", "", false},
    {"NRORIGBOLPAG", FieldType::Text, 10, "", "", "", "", false},
    {"IDMARCADO", FieldType::Text, 1, "Bol.", "", "", "", false},
    {"CDMOTIPROR", FieldType::Text, 2, "", "", "", "", false},
    {"DSMOTIPROR", FieldType::Text, 40, "", "", "", "", false},
    {"DTEMISSAO", FieldType::Date, 0, "", "", "", "", false},
    {"NRLANCAMENTO", FieldType::Text, 10, "", "", "", "", false},
    {"IDTPICNABBOP", FieldType::Text, 1, "", "", "", "", false},
    {"NRINSCNABBOP", FieldType::Text, 20, "", "", "", "", false},
    {"IDSITUCNABP", FieldType::Text, 2, "", "", "", "", false},
    {"IDTPCTPAGAR", FieldType::Text, 1, "", "", "", "", false},
    {"NRLANCANTECIPA", FieldType::Text, 10, "Antecipação", "", "", "", true},
    {"NRCNABPAGREM", FieldType::Text, 10, "Nro. Remessa", "", "", "", true},
    {"NRCNABPAGRET", FieldType::Text, 10, "Nro. Retorno", "", "", "", true},
    {"CDBANCCNAB", FieldType::Text, 3, "", "", "", "", false},
    {"IDBLOQNFFIN", FieldType::Text, 1, "", "", "", "", false},
    {"NRNOTAFISC", FieldType::Text, 20, "Nota Fiscal", "", "", "", true},
    {"CDRECEITAGUIA", FieldType::Text, 4, "", "", "", "", false},
    {"DTAPURACGUIA", FieldType::Date, 0, "", "", "", "", false},
    {"NRREFEGUIA", FieldType::Text, 20, "", "", "", "", false},
    {"NRORCAEVENTO", FieldType::Text, 10, "", "", "", "", false},
    {"NRSEQORCAEVE", FieldType::Text, 2, "", "", "", "", false},
    {"NF_ORCAMENTO", FieldType::Text, 4, "", "", "", "", false},
    {"VROUTRENTGUIA", FieldType::Float, 0, "", "", "", "", false},
    {"IDCHAVEPIX", FieldType::Text, 2, "", "", "", "", false},
    {"CHAVEPIX", FieldType::Text, 100, "", "", "", "", false},
    {"DSCHAVEPIX", FieldType::Text, 100, "", "", "", "", false},
    {"CODEQRPIX", FieldType::Text, 100, "", "", "", "", false},
    {"NRLACRCONECTSOC", FieldType::Text, 9, "", "", "", "", false},
    {"NRDIGICONECTSOC", FieldType::Text, 2, "", "", "", "", false},
    {"VRPERCENTTRIB", FieldType::Float, 0, "", "", "", "", false},
    {"NRPARCELNOTIFIC", FieldType::Text, 13, "", "", "", "", false},
};
}  // namespace

std::vector<FieldDef> BoletoFieldDefs() {
    std::vector<FieldDef> defs;
    defs.reserve(std::size(kBoleto));
    for (const Row& r : kBoleto) {
        FieldDef d;
        d.name = r.name;
        d.type = r.type;
        d.size = r.size;
        d.label = r.label;
        d.displayFormat = r.displayFormat;
        d.editFormat = r.editFormat;
        d.editMask = r.editMask;
        d.visible = r.visible;
        if (d.type == FieldType::Float) d.alignment = Alignment::Right;
        defs.push_back(std::move(d));
    }
    return defs;
}

}  // namespace pag
