#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pag {

// A printable list, free of any drawing: what each page holds is decided here, so the
// front end only paints lines and the split over pages is tested without a printer.
struct ReportColumn {
    std::string title;
    int width = 10;  // relative: the painter shares the page's width in this proportion
    bool rightAligned = false;
};

struct ReportRow {
    std::vector<std::string> cells;  // as printed, one per column
    std::string group;               // rows of one group follow each other
    int64_t cents = 0;               // what the row adds to its group's and the overall total
};

struct PrintableReport {
    std::string title;
    std::vector<std::string> header;  // lines under the title on every page
    std::vector<ReportColumn> columns;
    std::vector<ReportRow> rows;
    std::string groupTotalLabel = "Total";  // followed by the group ("Total de 10/05/2025")
    std::string grandTotalLabel = "Total geral";
};

struct ReportLine {
    enum class Kind { Row, GroupTotal, GrandTotal };
    Kind kind = Kind::Row;
    size_t row = 0;     // the row printed (Kind::Row)
    std::string label;  // the total's caption
    int64_t cents = 0;  // the total
    long count = 0;     // how many boletos the total covers
};

struct ReportPage {
    std::vector<ReportLine> lines;
};

// Splits the rows over pages of linesPerPage lines each: the rows in their order, each
// group closed by its total, the overall total last. A list without rows still gives
// one page (with the overall total of zero). Throws std::invalid_argument when not even
// one line fits a page.
std::vector<ReportPage> PaginateReport(const PrintableReport& report, int linesPerPage);

// "Página 2 de 7".
std::string PageFooter(int page, int pages);

// The text of a total: "Total de 10/05/2025 (3 boletos): 1.234,56".
std::string TotalText(const ReportLine& line);

}  // namespace pag
