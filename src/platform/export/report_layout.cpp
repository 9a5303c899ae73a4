#include "platform/export/report_layout.h"

#include <stdexcept>

#include "platform/format.h"

namespace pag {

namespace {

class Pager {
public:
    explicit Pager(int capacity) : capacity_(static_cast<size_t>(capacity)) {
        pages_.emplace_back();
    }
    void add(ReportLine line) {
        if (pages_.back().lines.size() == capacity_) pages_.emplace_back();
        pages_.back().lines.push_back(std::move(line));
    }
    std::vector<ReportPage> take() { return std::move(pages_); }

private:
    size_t capacity_;
    std::vector<ReportPage> pages_;
};

}  // namespace

std::vector<ReportPage> PaginateReport(const PrintableReport& report, int linesPerPage) {
    if (linesPerPage < 1)
        throw std::invalid_argument("A página não comporta nenhuma linha do relatório.");
    Pager pager(linesPerPage);
    int64_t groupCents = 0, allCents = 0;
    long groupCount = 0;
    auto closeGroup = [&](const std::string& group) {
        pager.add({ReportLine::Kind::GroupTotal, 0, report.groupTotalLabel + " de " + group,
                   groupCents, groupCount});
        groupCents = 0;
        groupCount = 0;
    };
    for (size_t i = 0; i < report.rows.size(); ++i) {
        const ReportRow& row = report.rows[i];
        if (i > 0 && row.group != report.rows[i - 1].group) closeGroup(report.rows[i - 1].group);
        pager.add({ReportLine::Kind::Row, i, {}, row.cents, 1});
        groupCents += row.cents;
        allCents += row.cents;
        ++groupCount;
    }
    if (!report.rows.empty()) closeGroup(report.rows.back().group);
    pager.add({ReportLine::Kind::GrandTotal, 0, report.grandTotalLabel, allCents,
               static_cast<long>(report.rows.size())});
    return pager.take();
}

std::string PageFooter(int page, int pages) {
    return "Página " + std::to_string(page) + " de " + std::to_string(pages);
}

std::string TotalText(const ReportLine& line) {
    return line.label + " (" + std::to_string(line.count) +
           (line.count == 1 ? " boleto" : " boletos") +
           "): " + formatFloat("#,##0.00", static_cast<double>(line.cents) / 100.0);
}

}  // namespace pag
