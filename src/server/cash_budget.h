#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "platform/date.h"
#include "platform/sql/database.h"

namespace pag::server {

// Money as whole cents, the unit every server sum and comparison uses.
int64_t toCents(double value);
double fromCents(int64_t cents);

// What a change does to the monthly cash-flow budget (ORCAFINA): per company and
// month of the due date, the cents the open boletos of that month take in addition
// (or give back, negative). A month without an ORCAFINA row is not controlled.
class BudgetChanges {
public:
    // A boleto of `value` starts (positive) or stops (negative) counting in the month
    // of `due`. The empty date belongs to no month.
    void add(const std::string& empresa, Date due, int64_t cents);

    // True when a controlled month would take more than its budget after the change.
    // Only months the change makes heavier count: a change that frees or keeps a month's
    // total is never refused, even in a month already over its budget.
    bool exceeds(Database& db) const;

    // Brings VRUTILIZADO of the controlled months up to date.
    void apply(Database& db) const;

private:
    std::map<std::tuple<std::string, int, int>, int64_t> cents_;
};

}  // namespace pag::server
