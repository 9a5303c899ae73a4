#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/date.h"

namespace pag {

// The cash a list of boletos takes out of the bank on one due date, in cents: the
// enabled boletos and the ones not enabled yet, side by side.
struct CashOutDay {
    Date day;  // the empty date gathers the boletos without a due date
    int64_t enabledCents = 0;
    int64_t otherCents = 0;
    long enabledCount = 0;
    long otherCount = 0;
    int64_t totalCents() const { return enabledCents + otherCents; }
    bool operator==(const CashOutDay&) const = default;
};

// The days of a list, by due date, ascending; only days that have boletos.
struct CashOut {
    std::vector<CashOutDay> days;
    // The first day a treasurer looks at: the first due date on or after `from` (the
    // last days when every date lies before it).
    size_t StartFor(Date from, size_t shown) const;
    // The day with the most boletos among `shown` days from `first` (the earliest of
    // equals); `first` when there are none.
    size_t Busiest(size_t first, size_t shown) const;
};

// Adds boletos up, one at a time, in any order.
class CashOutBuilder {
public:
    void Add(Date due, bool enabled, double value);
    CashOut Take();

private:
    std::map<int32_t, CashOutDay> days_;
};

// How many days the chart shows at once: more days scroll, so that 7,000 due dates
// over twenty years stay as readable, and as quick to hover and click, as a month.
inline constexpr size_t kCashOutDaysShown = 31;

// pt-BR money from cents: "1.234,56", "-0,50".
std::string CashOutMoney(int64_t cents);
// "10/05/2025", or "sem vencimento" for the empty date.
std::string CashOutDayText(Date day);
// What hovering a day's bars tells: the day, each side's total and the day's total.
std::string CashOutTooltip(const CashOutDay& day);
// "Dias 1 a 31 de 7.000 com vencimento" when the list has more days than are shown.
std::string CashOutWindowNote(size_t first, size_t shown, size_t total);

// What the chart asks of the screen that opened it. Each call is a user action of its
// own; the screen reports its errors itself.
struct CashOutActions {
    // A day clicked: the list shows only that due date; the same day again shows all.
    std::function<void(Date)> chooseDay;
    // The whole list again.
    std::function<void()> showAll;
    // The due date the list is narrowed to, if any.
    std::function<std::optional<Date>()> dayShown;
    // The chart went away: the list shows all again.
    std::function<void()> closed;
};

}  // namespace pag
