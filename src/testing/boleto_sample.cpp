#include "testing/boleto_sample.h"

#include <cstdio>
#include <random>
#include <string>

#include "contracts/screen_records.h"

namespace pag {

namespace {
std::string digits(uint64_t n, int width) {
    std::string s = std::to_string(n);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
    return s;
}
}  // namespace

PacketPtr MakeSampleBoletos(int n, uint32_t seed) {
    std::vector<PacketField> pf;
    for (const FieldDef& d : BoletoFieldDefs())
        pf.push_back({d.name, d.type, d.size});
    auto p = std::make_shared<Packet>(pf);
    p->rows.reserve(static_cast<size_t>(n));
    std::mt19937 rng(seed);
    static const char* kNames[] = {"ALFA DISTRIBUIDORA LTDA",   "BETA COMERCIO DE PAPEIS SA",
                                   "GAMA SERVICOS TECNICOS",    "DELTA TRANSPORTES EIRELI",
                                   "EPSILON INDUSTRIA QUIMICA", "ZETA ENERGIA SA"};
    static const char* kTipos[] = {"CODIGO DE BARRAS", "PIX CHAVE", "CREDITO EM CONTA",
                                   "TED OUTRO BANCO", "DARF"};
    Date base = Date::fromYmd(2026, 12, 1);
    std::vector<Value> v(pf.size());
    auto set = [&](const char* name, Value x) { v[static_cast<size_t>(p->fieldIndex(name))] = x; };
    for (int i = 0; i < n; ++i) {
        std::fill(v.begin(), v.end(), Value());
        uint32_t r = rng();
        int forn = static_cast<int>(r % 600);
        double valor = static_cast<double>(rng() % 5000000) / 100.0;
        Date venc = base.addDays(static_cast<int32_t>(rng() % 90));
        set("NRPARCBOLPAGVISU", "00");
        set("NRPARCBOLPAGNUM", static_cast<double>(i % 7));
        set("DTATUAVENBOLPAG", venc);
        set("CDFILIAL", "0001");
        set("NRLANBOLPAG", digits(static_cast<uint64_t>(i + 1), 10));
        set("CDFORNECED", digits(static_cast<uint64_t>(forn), 6));
        set("NMFANTFORN", std::string(kNames[forn % 6]).substr(0, 12));
        set("NMRAZSOCFORN", kNames[forn % 6]);
        set("CDEMPRESA", "01");
        set("NRPARCBOLPAG", "00");
        set("VRBOLPAG", valor);
        set("VRPEMULBPAG", 2.0);
        set("VRMULTABPAG", 0.0);
        set("DTENTRSAID", venc.addDays(-30));
        set("VRPEMORBPAG", 0.033);
        set("VRFINALBPAG", valor);
        set("DTVENBOLPAG", venc);
        set("IDHABIBPAG", (r >> 8) % 3 == 0 ? "S" : "N");
        set("IDBAIXAUTILP", "B");
        set("CDTPBAIXAPAG", digits((r >> 12) % 5 + 1, 2));
        set("NMTPBAIXAPAG", kTipos[(r >> 12) % 5]);
        set("IDSTATBPAG", "A");
        set("IDBPAGREAL", "N");
        set("CDREDUCONT", "001");
        set("NRINSJURFORN", digits(11222333000181ULL + static_cast<uint64_t>(forn), 14));
        set("IDTPIJURFORN", "J");
        set("CDBANCO", "237");
        set("CDAGENCIA", "3381");
        set("CDCONTCORR", "0012345");
        set("DSCONTCORR", "CONTA MOVIMENTO");
        set("CDBARRAPAG", "2379" + digits(static_cast<uint64_t>(r), 40).substr(0, 40));
        set("IDMARCADO", "N");
        set("DTEMISSAO", venc.addDays(-35));
        set("NRLANCAMENTO", digits(static_cast<uint64_t>(i + 1), 10));
        set("IDSITUCNABP", "00");
        set("IDTPCTPAGAR", "1");
        set("NRNOTAFISC", digits(static_cast<uint64_t>(rng() % 999999), 6));
        p->rows.push_back(p->layout.encode(v));
    }
    return p;
}

}  // namespace pag
