#pragma once

// What a test reads back from the database to show what an operation stored, or that a
// refused one stored nothing.
#include <string>
#include <utility>
#include <vector>

#include "platform/sql/database.h"

namespace pag::server::testing {

// Every row of a query, each as its values joined by "|" (null as "∅").
inline std::vector<std::string> storedRows(Database& db, const std::string& sql) {
    std::vector<std::string> out;
    Statement st = db.prepare(sql);
    while (st.step()) {
        std::string line;
        for (int i = 0; i < st.columnCount(); ++i)
            line += (i ? "|" : "") + (st.column(i).isNull() ? "∅" : st.column(i).asString());
        out.push_back(line);
    }
    return out;
}

// The business state grouping, separating and saving boletos may touch.
inline std::vector<std::string> boletoSnapshot(Database& db) {
    std::vector<std::string> all;
    for (const char* sql : {"SELECT * FROM BOLETPAGAR ORDER BY CDFILIAL, NRLANBOLPAG",
                            "SELECT * FROM CNTPAGAR"
                            " ORDER BY CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG",
                            "SELECT * FROM ORCAFINA ORDER BY CDEMPRESA, NRANO, NRMES",
                            "SELECT * FROM HISTPRORBOL ORDER BY NRHISTPROR"})
        for (std::string& r : storedRows(db, sql))
            all.push_back(std::move(r));
    return all;
}

}  // namespace pag::server::testing
