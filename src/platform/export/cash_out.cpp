#include "platform/export/cash_out.h"

#include <algorithm>

#include "platform/format.h"

namespace pag {

size_t CashOut::StartFor(Date from, size_t shown) const {
    const auto it = std::lower_bound(days.begin(), days.end(), from,
                                     [](const CashOutDay& d, Date f) { return d.day < f; });
    const size_t at = static_cast<size_t>(it - days.begin());
    const size_t last = days.size() > shown ? days.size() - shown : 0;
    return std::min(at, last);
}

size_t CashOut::Busiest(size_t first, size_t shown) const {
    size_t best = first;
    long most = -1;
    for (size_t i = first; i < std::min(first + shown, days.size()); ++i) {
        const long n = days[i].enabledCount + days[i].otherCount;
        if (n > most) most = n, best = i;
    }
    return best;
}

void CashOutBuilder::Add(Date due, bool enabled, double value) {
    CashOutDay& d = days_[due.serial()];
    d.day = due;
    const int64_t cents = roundToCents(value);
    (enabled ? d.enabledCents : d.otherCents) += cents;
    ++(enabled ? d.enabledCount : d.otherCount);
}

CashOut CashOutBuilder::Take() {
    CashOut out;
    out.days.reserve(days_.size());
    for (auto& [serial, day] : days_)
        out.days.push_back(day);
    days_.clear();
    return out;
}

std::string CashOutMoney(int64_t cents) {
    return formatFloat("#,##0.00", static_cast<double>(cents) / 100.0);
}

std::string CashOutDayText(Date day) {
    return day.isEmpty() ? "sem vencimento" : day.toString();
}

std::string CashOutTooltip(const CashOutDay& day) {
    return "Vencimento: " + CashOutDayText(day.day) +
           "\nHabilitados: " + CashOutMoney(day.enabledCents) +
           "\nNão habilitados: " + CashOutMoney(day.otherCents) +
           "\nTotal do dia: " + CashOutMoney(day.totalCents());
}

std::string CashOutWindowNote(size_t first, size_t shown, size_t total) {
    if (total <= shown) return {};
    const size_t last = std::min(first + shown, total);
    return "Dias " + formatFloat("#,##0", static_cast<double>(first + 1)) + " a " +
           formatFloat("#,##0", static_cast<double>(last)) + " de " +
           formatFloat("#,##0", static_cast<double>(total)) +
           " com vencimento: role a barra para ver os demais";
}

}  // namespace pag
