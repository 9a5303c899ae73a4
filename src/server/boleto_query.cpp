#include "server/boleto_query.h"

#include <cstdio>

#include "server/boleto_key.h"
#include "server/dataset_fields.h"
#include "server/packet_builder.h"

namespace pag::server {

namespace {

constexpr const char* kOrder =
    "B.DTVENBOLPAG, F.NMRAZSOCFORN, B.CDFILIAL, COALESCE(B.NRORIGBOLPAG, B.NRLANBOLPAG), "
    "B.NRPARCBOLPAG, B.NRLANBOLPAG";

constexpr const char* kSelect = R"(SELECT
  B.NRPARCBOLPAG AS NRPARCBOLPAGVISU,
  B.DTATUAVENBOLPAG, B.CDFILIAL, B.NRLANBOLPAG, B.CDFORNECED, F.NMFANTFORN, F.NMRAZSOCFORN,
  B.CDEMPRESA, B.NRPARCBOLPAG, B.VRBOLPAG, B.VRPEMULBPAG, B.VRMULTABPAG, B.DTENTRSAID,
  B.VRPEMORBPAG, B.VRFINALBPAG, B.DTVENBOLPAG, B.IDHABIBPAG, TB.IDBAIXAUTILP, B.CDTPBAIXAPAG,
  TB.NMTPBAIXAPAG, B.IDSTATBPAG, B.VRMORDIABPAG, B.IDBPAGREAL, B.CDBANCBOLP, B.CDAGENBOLP,
  B.CDCCORBOLP, B.CDREDUCONT, F.NRINSJURFORN, F.IDTPIJURFORN, CC.CDBANCO, CC.CDAGENCIA,
  CC.CDCONTCORR, CC.DSCONTCORR, B.CDBARRAPAG, B.CDMOTIPARC, B.DSLINHBARPAG, B.NRORIGBOLPAG,
  'N' AS IDMARCADO, B.CDMOTIPROR, MP.DSMOTIPROR, B.DTEMISSAO, B.NRLANCAMENTO, B.IDTPICNABBOP,
  B.NRINSCNABBOP, B.IDSITUCNABP, B.IDTPCTPAGAR, B.NRLANCANTECIPA, B.NRCNABPAGREM,
  B.NRCNABPAGRET, BC.CDBANCCNAB, B.IDBLOQNFFIN, B.NRNOTAFISC, B.CDRECEITAGUIA,
  B.DTAPURACGUIA, B.NRREFEGUIA, B.NRORCAEVENTO, B.NRSEQORCAEVE, B.NF_ORCAMENTO,
  B.VROUTRENTGUIA, B.IDCHAVEPIX, B.CHAVEPIX, B.DSCHAVEPIX, B.CODEQRPIX, B.NRLACRCONECTSOC,
  B.NRDIGICONECTSOC, B.VRPERCENTTRIB, B.NRPARCELNOTIFIC
FROM BOLETPAGAR B
JOIN FORNECEDOR F ON F.CDFORNECED = B.CDFORNECED
LEFT JOIN TIPOBAIXAPAG TB ON TB.CDTPBAIXAPAG = B.CDTPBAIXAPAG
LEFT JOIN CONTCORR CC ON CC.CDEMPRESA = B.CDEMPRESA AND CC.CDREDUCONT = B.CDREDUCONT
LEFT JOIN BANCO BC ON BC.CDBANCO = CC.CDBANCO
LEFT JOIN MOTIVOPROR MP ON MP.CDMOTIPROR = B.CDMOTIPROR
WHERE B.IDSTATBPAG = 'A' AND B.NRLANBOLREAL IS NULL AND )";

}  // namespace

std::string boletoSelectSql(const std::string& where) {
    return kSelect + where + " ORDER BY " + kOrder;
}

Packet selectBoletos(Database& db, const SqlConditions& where,
                     std::vector<std::string>* unreadable) {
    Statement st = db.prepare(boletoSelectSql(where.sql()));
    where.bindTo(st);
    UnreadableRows bad{"Boleto", {"CDFILIAL", "NRLANBOLPAG"}, {}};
    Packet packet = packetFromStatement(st, boletoFields(), bad, "NRPARCBOLPAGNUM");
    for (std::string& message : bad.messages) {
        if (unreadable)
            unreadable->push_back(std::move(message));
        else
            std::fprintf(stderr, "pag12000.rdmHabConta: %s\n", message.c_str());
    }
    return packet;
}

Value boletoColumn(Database& db, const std::string& filial, const std::string& lancamento,
                   const std::string& column) {
    // The column name comes from the server's own code, never from a caller.
    Statement st =
        db.prepare("SELECT " + column + " FROM BOLETPAGAR WHERE " + boletoKeyCondition());
    bindBoletoKey(st, filial, lancamento);
    return st.step() ? st.column(0) : Value();
}

}  // namespace pag::server
