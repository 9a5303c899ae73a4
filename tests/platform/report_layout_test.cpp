// The printable list split over pages, each due date closed by its total.
#include <gtest/gtest.h>

#include "platform/export/report_layout.h"

namespace pag {
namespace {

PrintableReport lista(const std::vector<std::pair<std::string, int64_t>>& linhas) {
    PrintableReport r;
    r.columns = {{"Fornecedor", 10, false}, {"Valor", 5, true}};
    for (const auto& [grupo, centavos] : linhas)
        r.rows.push_back({{"F", std::to_string(centavos)}, grupo, centavos});
    return r;
}

using Kind = ReportLine::Kind;

TEST(ReportLayout, GroupsCloseWithTheirTotalsAndTheGrandTotalEnds) {
    const PrintableReport r =
        lista({{"01/03/2025", 1000}, {"01/03/2025", 250}, {"02/03/2025", -50}, {"03/03/2025", 7}});
    const auto pages = PaginateReport(r, 3);
    // 4 rows + 3 group totals + the overall total = 8 lines over pages of 3.
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].lines.size(), 3u);
    EXPECT_EQ(pages[2].lines.size(), 2u);
    std::vector<ReportLine> all;
    for (const auto& p : pages)
        all.insert(all.end(), p.lines.begin(), p.lines.end());
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[2].kind, Kind::GroupTotal);
    EXPECT_EQ(TotalText(all[2]), "Total de 01/03/2025 (2 boletos): 12,50");
    EXPECT_EQ(TotalText(all[4]), "Total de 02/03/2025 (1 boleto): -0,50");
    EXPECT_EQ(all[5].kind, Kind::Row);
    EXPECT_EQ(all[5].row, 3u);
    EXPECT_EQ(all[7].kind, Kind::GrandTotal);
    EXPECT_EQ(TotalText(all[7]), "Total geral (4 boletos): 12,07");
    EXPECT_EQ(PageFooter(2, 3), "Página 2 de 3");
}

TEST(ReportLayout, EmptyListAndPagesTooSmall) {
    const auto pages = PaginateReport(lista({}), 40);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].lines.size(), 1u);
    EXPECT_EQ(TotalText(pages[0].lines[0]), "Total geral (0 boletos): 0,00");
    EXPECT_THROW(PaginateReport(lista({{"a", 1}}), 0), std::invalid_argument);
    // Exactly full pages add no blank page.
    EXPECT_EQ(PaginateReport(lista({{"a", 1}}), 3).size(), 1u);
    EXPECT_EQ(PaginateReport(lista({{"a", 1}}), 1).size(), 3u);
}

}  // namespace
}  // namespace pag
