#include "server/cash_budget.h"

#include <cmath>

#include "platform/format.h"

namespace pag::server {

int64_t toCents(double value) {
    return std::llround(roundDecimal(value, 2) * 100.0);
}

double fromCents(int64_t cents) {
    return static_cast<double>(cents) / 100.0;
}

void BudgetChanges::add(const std::string& empresa, Date due, int64_t cents) {
    if (due.isEmpty() || cents == 0) return;
    cents_[{empresa, due.year(), due.month()}] += cents;
}

bool BudgetChanges::exceeds(Database& db) const {
    Statement st = db.prepare(
        "SELECT VRORCADO, VRUTILIZADO FROM ORCAFINA"
        " WHERE CDEMPRESA = :E AND NRANO = :A AND NRMES = :M");
    for (const auto& [month, cents] : cents_) {
        if (cents <= 0) continue;
        st.reset();
        st.bind("E", Value(std::get<0>(month)));
        st.bind("A", Value(std::get<1>(month)));
        st.bind("M", Value(std::get<2>(month)));
        if (!st.step()) continue;
        if (toCents(st.column(1).asFloat()) + cents > toCents(st.column(0).asFloat())) return true;
    }
    return false;
}

void BudgetChanges::apply(Database& db) const {
    Statement st = db.prepare(
        "UPDATE ORCAFINA SET VRUTILIZADO = ROUND(VRUTILIZADO + :V, 2)"
        " WHERE CDEMPRESA = :E AND NRANO = :A AND NRMES = :M");
    for (const auto& [month, cents] : cents_) {
        if (cents == 0) continue;
        st.reset();
        st.bind("V", Value(fromCents(cents)));
        st.bind("E", Value(std::get<0>(month)));
        st.bind("A", Value(std::get<1>(month)));
        st.bind("M", Value(std::get<2>(month)));
        st.execute();
    }
}

}  // namespace pag::server
