// The CSV a pt-BR spreadsheet opens: read back through an RFC 4180 reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/date.h"
#include "platform/export/csv_writer.h"
#include "testing/csv_reader.h"

namespace pag {
namespace {

namespace fs = std::filesystem;

class CsvWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("csv_writer_test_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    // The names in the folder: a temporary left behind would show here.
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path dir_;
};

TEST_F(CsvWriterTest, RoundTripKeepsEveryValueAsTheSpreadsheetShouldSeeIt) {
    const std::string file = path("lista.csv");
    // A file that merely looks like a temporary of this export is someone else's.
    std::ofstream(file + ".tmp") << "alheio";
    {
        CsvWriter csv(file);
        csv.WriteRow({CsvCell::Text("Fornecedor"), CsvCell::Text("Código"),
                      CsvCell::Text("Vencimento"), CsvCell::Text("Valor")});
        csv.WriteRow({CsvCell::Text("Açúcar & Café Ltda"), CsvCell::Text("0001"),
                      CsvCell::Day(Date::fromYmd(2025, 3, 5).toString()),
                      CsvCell::Number(CsvNumber(1234567.891, 2))});
        csv.WriteRow({CsvCell::Text("=HYPERLINK(\"http://x\")"), CsvCell::Text("+55"),
                      CsvCell::Text("@SOMA(A1)"), CsvCell::Number(CsvNumber(-12.5, 2))});
        csv.WriteRow({CsvCell::Text("Silva; \"Filhos\"\nLinha 2"), CsvCell::Text("-10"),
                      CsvCell::Text("\tTab"), CsvCell::Number(CsvNumber(0.005, 2))});
        csv.WriteRow(
            {CsvCell::Text(""), CsvCell::Text("\rCR"), CsvCell::Day(""), CsvCell::Number("")});
        EXPECT_FALSE(fs::exists(file)) << "nothing under the final name before the end";
        csv.Commit();
        EXPECT_EQ(csv.Rows(), 5);
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"lista.csv", "lista.csv.tmp"}));
    const CsvFile read = ReadCsvFile(file);
    EXPECT_TRUE(read.bom);
    ASSERT_EQ(read.rows.size(), 5u);
    using Row = std::vector<std::string>;
    EXPECT_EQ(read.rows[1], (Row{"Açúcar & Café Ltda", "0001", "05/03/2025", "1234567,89"}));
    // Text that a spreadsheet would run as a formula starts with an apostrophe; a
    // negative number stays a number.
    EXPECT_EQ(read.rows[2], (Row{"'=HYPERLINK(\"http://x\")", "'+55", "'@SOMA(A1)", "-12,50"}));
    EXPECT_EQ(read.rows[3], (Row{"Silva; \"Filhos\"\nLinha 2", "'-10", "'\tTab", "0,01"}));
    EXPECT_EQ(read.rows[4], (Row{"", "'\rCR", "", ""}));
    // Text always quoted (codes stay text); numbers and dates never.
    EXPECT_EQ(read.quoted[1], (std::vector<bool>{true, true, false, false}));
    std::ifstream raw(file, std::ios::binary);
    std::string first;
    std::getline(raw, first);
    EXPECT_EQ(first, "\xEF\xBB\xBF\"Fornecedor\";\"Código\";\"Vencimento\";\"Valor\"\r");
}

TEST_F(CsvWriterTest, FailuresSayWhyAndLeaveNoFile) {
    const std::string nowhere = path("nao_existe/lista.csv");
    try {
        CsvWriter csv(nowhere);
        FAIL() << "a file in a missing folder was opened";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Não foi possível gravar o arquivo " + nowhere + ": a pasta não existe.");
    }
    // An export given up half-way (an error while reading the rows) leaves nothing.
    const std::string file = path("abandonada.csv");
    {
        CsvWriter csv(file);
        csv.WriteRow({CsvCell::Text("x")});
    }
    EXPECT_TRUE(files().empty());
    // A file already there stays as it was until the new one is complete.
    {
        std::ofstream(file) << "antigo";
        CsvWriter csv(file);
        csv.WriteRow({CsvCell::Text("novo")});
        std::ifstream still(file);
        std::string content;
        std::getline(still, content);
        EXPECT_EQ(content, "antigo");
        csv.Commit();
    }
    EXPECT_EQ(ReadCsvFile(file).rows.at(0).at(0), "novo");
}

}  // namespace
}  // namespace pag
