// The boleto list as it stands, exported to CSV and laid out for printing, from the
// screen opened on the demo database.
#include <filesystem>

#include "Cli_pag12100/filtro_hab.h"
#include "habconta/screen_fixture.h"
#include "platform/format.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/menu.h"
#include "testing/csv_reader.h"

namespace pag {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNomeFormula = "=2+3 \"Silva\"; Cia";

class ListExport : public testing_screen::ScreenTest {
protected:
    void PrepareDatabase(scenario::ScenarioDatabase& db) override {
        // The supplier of boleto 0001/0000000033 has a name that looks like a formula
        // and holds the separator and quotes.
        db.exec(std::string("UPDATE FORNECEDOR SET NMRAZSOCFORN = '") + kNomeFormula +
                "' WHERE CDFORNECED = (SELECT CDFORNECED FROM BOLETPAGAR WHERE CDFILIAL = "
                "'0001' AND NRLANBOLPAG = '0000000033')");
    }
    void SetUp() override {
        ScreenTest::SetUp();
        dir_ = fs::temp_directory_path() / ("habconta_export_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        // Every boleto of ten years each way, as the clerk's filter would list them.
        usuario([&] {
            frmFiltroHab->Get<DateEdit>("depDataIni").SetDate(Date::today().addDays(-3653));
            frmFiltroHab->Get<DateEdit>("depDataFin").SetDate(Date::today().addDays(3653));
            frmFiltroHab->Confirma();
        });
        ASSERT_GT(tela().cdsBoletos.RecordCount(), 20);
    }
    void TearDown() override {
        fs::remove_all(dir_);
        ScreenTest::TearDown();
    }
    void clica(const char* item) {
        usuario([&] { tela().Get<MenuItem>(item).Click(); });
    }
    std::string arquivo(const char* nome) const { return (dir_ / nome).string(); }
    fs::path dir_;
};

TEST_F(ListExport, CsvHoldsTheGridsColumnsAndRowsInItsOrder) {
    Grid& g = tela().dbgPadrao;
    ClientDataSet& cds = tela().cdsBoletos;
    vaiPara("0001", "0000000033");
    usuario([&] { tela().MarcaBoleto(); });
    usuario([&] { g.ClickTitle(IndiceCol(g, "NMRAZSOCFORN")); });
    ASSERT_EQ(cds.IndexFieldNames(), "NMRAZSOCFORN");
    const std::string file = arquivo("lista.csv");
    ui_.QueueSaveFile(file);
    clica("mnuExportaCsv");
    ASSERT_EQ(ui_.Messages().size(), 0u) << ui_.Messages().front().text;
    EXPECT_EQ(ui_.BusyDepth(), 0);
    EXPECT_GT(ui_.BusyTimesShown(), 0);

    const CsvFile csv = ReadCsvFile(file);
    EXPECT_TRUE(csv.bom);
    ASSERT_EQ(csv.rows.size(), static_cast<size_t>(cds.RecordCount()) + 1);
    std::vector<std::string> titulos;
    for (int c = 0; c < g.ColumnCount(); ++c)
        if (g.Columns()[static_cast<size_t>(c)].visible)
            titulos.push_back(c == 0 ? "Marcado" : g.ColumnTitle(c));
    EXPECT_EQ(csv.rows[0], titulos);
    EXPECT_EQ(csv.rows[0].at(0), "Marcado");
    const auto col = [&](const char* campo) { return static_cast<size_t>(IndiceCol(g, campo)); };
    EXPECT_EQ(csv.rows[0].at(col("VRFINALBPAG")), "Valor Líquido");
    EXPECT_EQ(csv.rows[0].at(col("IDSITUCNABP")), "Situação CNAB");

    // Rows in the grid's order (by supplier name), each value as the grid holds it.
    const size_t forn = col("NMRAZSOCFORN"), valor = col("VRFINALBPAG"), venc = col("DTVENBOLPAG");
    int marcados = 0;
    for (int r = 1; r <= cds.RecordCount(); ++r) {
        const auto& linha = csv.rows[static_cast<size_t>(r)];
        DisplayRecordScope reg(cds, r);
        const std::string nome = cds.FieldByName("NMRAZSOCFORN").AsString();
        EXPECT_EQ(linha.at(forn), nome == kNomeFormula ? "'" + nome : nome);
        EXPECT_EQ(parseNumber(linha.at(valor)).value_or(-1),
                  roundDecimal(cds.FieldByName("VRFINALBPAG").AsFloat(), 2));
        EXPECT_EQ(linha.at(valor).find('.'), std::string::npos) << linha.at(valor);
        EXPECT_EQ(linha.at(venc), cds.FieldByName("DTVENBOLPAG").AsDateTime().toString());
        EXPECT_FALSE(csv.quoted[static_cast<size_t>(r)].at(valor));
        marcados += linha.at(0) == "Sim";
    }
    EXPECT_EQ(marcados, 1);
    // The formula-looking name kept its text behind an apostrophe.
    bool achou = false;
    for (const auto& linha : csv.rows)
        achou |= linha.at(forn) == std::string("'") + kNomeFormula;
    EXPECT_TRUE(achou);

    // A view showing the columns in another order (the clerk moved the mark column to
    // the end): the file follows what the clerk sees.
    std::vector<int> ordem = g.ShownColumns();
    std::rotate(ordem.begin(), ordem.begin() + 1, ordem.end());
    g.SetShownOrder(ordem);
    ui_.QueueSaveFile(file);
    clica("mnuExportaCsv");
    std::vector<std::string> girados(titulos.begin() + 1, titulos.end());
    girados.push_back("Marcado");
    const CsvFile girado = ReadCsvFile(file);
    EXPECT_EQ(girado.rows.at(0), girados);
    EXPECT_EQ(girado.rows.at(1).back(), csv.rows.at(1).front());
    // An order that no longer names the visible columns is not used.
    g.SetShownOrder({0});
    ui_.QueueSaveFile(file);
    clica("mnuExportaCsv");
    EXPECT_EQ(ReadCsvFile(file).rows.at(0), titulos);
}

TEST_F(ListExport, CancelledChooserAndEditInProgressWriteNothing) {
    ui_.QueueSaveFile(std::nullopt);
    clica("mnuExportaCsv");
    EXPECT_EQ(ui_.SaveDialogsShown().size(), 1u);
    EXPECT_TRUE(fs::is_empty(dir_));
    EXPECT_EQ(ui_.Messages().size(), 0u);

    // A file that cannot be written is reported; nothing is left behind.
    ui_.QueueSaveFile(arquivo("falta/lista.csv"));
    clica("mnuExportaCsv");
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_EQ(ui_.Messages()[0].text, "Não foi possível gravar o arquivo " +
                                          arquivo("falta/lista.csv") + ": a pasta não existe.");
    EXPECT_EQ(ui_.BusyDepth(), 0);
    EXPECT_TRUE(fs::is_empty(dir_));

    vaiPara("0001", "0000000033");
    usuario([&] { tela().cdsBoletos.Edit(); });
    ASSERT_EQ(tela().cdsBoletos.State(), DataSetState::Edit);
    clica("mnuSalvaPdf");
    ASSERT_EQ(ui_.Messages().size(), 2u);
    EXPECT_EQ(ui_.Messages()[1].text,
              "Confirme ou cancele a alteração do boleto antes de exportar a lista.");
    EXPECT_EQ(ui_.SaveDialogsShown().size(), 2u);
    tela().cdsBoletos.Cancel();
}

TEST_F(ListExport, PrintedListTakesTheMarkedOrAllByDueDateWithTotals) {
    ClientDataSet& cds = tela().cdsBoletos;
    clica("mnuImprimeLista");
    ASSERT_EQ(ui_.ReportsPrinted().size(), 1u);
    const auto& todos = ui_.ReportsPrinted()[0];
    EXPECT_EQ(todos.where, ReportDestination::Printer);
    ASSERT_EQ(todos.report.rows.size(), static_cast<size_t>(cds.RecordCount()));
    EXPECT_EQ(todos.report.header.back(), "Nenhum boleto marcado: todos os " +
                                              std::to_string(cds.RecordCount()) +
                                              " boletos listados");
    EXPECT_EQ(todos.report.header.at(0).rfind("Empresa: 01 - ", 0), 0u);
    EXPECT_NE(
        todos.report.header.at(1).find("Vencimento de " + Date::today().addDays(-3653).toString()),
        std::string::npos);
    // Grouped by due date, each total the sum of its rows, the overall one of all.
    int64_t soma = 0;
    for (size_t i = 1; i < todos.report.rows.size(); ++i)
        EXPECT_LE(Date::parse(todos.report.rows[i - 1].group).serial(),
                  Date::parse(todos.report.rows[i].group).serial());
    for (int r = 1; r <= cds.RecordCount(); ++r) {
        DisplayRecordScope reg(cds, r);
        soma += roundToCents(cds.FieldByName("VRFINALBPAG").AsFloat());
    }
    const auto pages = PaginateReport(todos.report, 1000000);
    EXPECT_EQ(pages.back().lines.back().cents, soma);

    // With a boleto marked, only the marked ones; the CNPJ or CPF goes masked.
    vaiPara("0001", "0000000033");
    usuario([&] { tela().MarcaBoleto(); });
    const std::string pdf = arquivo("lista.pdf");
    ui_.QueueSaveFile(pdf);
    clica("mnuSalvaPdf");
    ASSERT_EQ(ui_.ReportsPrinted().size(), 2u);
    const auto& marcados = ui_.ReportsPrinted()[1];
    EXPECT_EQ(marcados.where, ReportDestination::PdfFile);
    EXPECT_EQ(marcados.file, pdf);
    ASSERT_EQ(marcados.report.rows.size(), 1u);
    EXPECT_EQ(marcados.report.header.back(), "Boletos marcados: 1");
    const auto& cells = marcados.report.rows[0].cells;
    EXPECT_EQ(cells.at(0), kNomeFormula);
    EXPECT_NE(cells.at(1).find_first_of("./-"), std::string::npos) << cells.at(1);
    EXPECT_EQ(cells.at(5), formatFloat("#,##0.00", cds.FieldByName("VRFINALBPAG").AsFloat()));
}

}  // namespace
}  // namespace pag
