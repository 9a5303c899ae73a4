#pragma once

// Shared by the reliability suite: how long to run, the save both kinds of test repeat
// (one boleto's fine percentage raised by one, as a screen's change log does), and the
// demo boletos a test may change.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "boleto_change_log.h"
#include "platform/dataset/packet.h"
#include "platform/sql/database.h"
#include "server/dataset_fields.h"

namespace pag::server::testing {

// PAG_RELIABILITY_LONG=1 runs the big counts (1,000 interleavings, 100 kills); the
// default is a quick pass for every build.
inline bool longReliabilityRun() {
    const char* v = std::getenv("PAG_RELIABILITY_LONG");
    return v && *v && std::string(v) != "0";
}

inline int reliabilityCount(int quick, int full) {
    return longReliabilityRun() ? full : quick;
}

// SetBoletos' change log of one boleto whose VRPEMULBPAG goes from `from` to `to`.
inline Value fineChange(const std::string& filial, const std::string& lancamento, double from,
                        double to) {
    return changeLog({{"CDFILIAL", FieldType::Text, 4},
                      {"NRLANBOLPAG", FieldType::Text, 10},
                      {"VRPEMULBPAG", FieldType::Float, 0}},
                     {modified({filial, lancamento, to}, {filial, lancamento, from})});
}

// The demo boletos of branch 0001 any operator of company 01 may change: open, not sent,
// not grouped, not split, no anticipation, no blocked invoice, due today or later; and
// meeting `also` (a condition over BOLETPAGAR) when given.
inline std::vector<std::string> changeableBoletos(Database& db, const std::string& also = {}) {
    Statement st = db.prepare(
        "SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE CDEMPRESA = '01' AND CDFILIAL = '0001'"
        " AND IDSTATBPAG = 'A' AND IDSITUCNABP = '00' AND IDBPAGREAL = 'N'"
        " AND NRLANBOLREAL IS NULL AND NRLANCANTECIPA IS NULL AND NRPARCBOLPAG = '00'"
        " AND IDBLOQNFFIN IS DISTINCT FROM 'B' AND DTVENBOLPAG >= :HOJE" +
        (also.empty() ? std::string() : " AND " + also) + " ORDER BY NRLANBOLPAG");
    st.bind("HOJE", Value(Date::today()));
    std::vector<std::string> out;
    while (st.step())
        out.push_back(st.column(0).asString());
    return out;
}

inline std::string changeableBoleto(Database& db) {
    const std::vector<std::string> all = changeableBoletos(db);
    return all.empty() ? std::string() : all.front();
}

inline double storedFine(Database& db, const std::string& lancamento) {
    Statement st = db.prepare(
        "SELECT COALESCE(VRPEMULBPAG, 0) FROM BOLETPAGAR WHERE CDFILIAL = '0001'"
        " AND NRLANBOLPAG = :L");
    st.bind("L", Value(lancamento));
    return st.step() ? st.column(0).asFloat() : -1;
}

}  // namespace pag::server::testing
