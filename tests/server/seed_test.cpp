// The demo and scale data: every shape the screens need, valid codes, the lookups running.
#include <cmath>

#include "Cli_pag12000/habconta_sql.h"
#include "Cli_pag12001/abatimento_sql.h"
#include "Cli_pag12100/filtro_hab_sql.h"
#include "contracts/lib02800.h"
#include "platform/sql/query.h"
#include "server/seed/seed_barcodes.h"
#include "server/seed/tax_numbers.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

TEST(TaxNumbers, CheckDigitsOfKnownNumbers) {
    EXPECT_EQ(cpfFromBase("111444777"), "11144477735");
    EXPECT_EQ(cnpjFromBase("112223330001"), "11222333000181");
    EXPECT_TRUE(validCnpj("11222333000181"));
    EXPECT_FALSE(validCnpj("11222333000182"));
    EXPECT_FALSE(validCpf("11144477736"));
    EXPECT_THROW(cpfFromBase("12345"), std::invalid_argument);
}

TEST(SeedBarcodes, DueDateFactorRestartsAfter9999) {
    EXPECT_EQ(dueDateFactor(Date::fromYmd(2000, 7, 3)), 1000);
    EXPECT_EQ(dueDateFactor(Date::fromYmd(2025, 2, 21)), 9999);
    EXPECT_EQ(dueDateFactor(Date::fromYmd(2025, 2, 22)), 1000);
}

class DemoSeed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        file = new TempDatabase;
        auto db = openServerDatabase(file->path());
        seedDemo(*db, Date::today());
    }
    static void TearDownTestSuite() {
        delete file;
        file = nullptr;
    }
    void SetUp() override { db = std::make_unique<Database>(file->path()); }

    int64_t count(const std::string& sql) {
        Statement st = db->prepare(sql);
        st.step();
        return st.column(0).asInteger();
    }

    static TempDatabase* file;
    std::unique_ptr<Database> db;
};
TempDatabase* DemoSeed::file = nullptr;

TEST_F(DemoSeed, HoldsEveryShapeOfBoleto) {
    EXPECT_GE(count("SELECT COUNT(*) FROM BOLETPAGAR"), 300);
    for (const char* situ : {"00", "01", "10", "20"})
        EXPECT_GT(count(std::string("SELECT COUNT(*) FROM BOLETPAGAR WHERE IDSITUCNABP = '") +
                        situ + "'"),
                  0)
            << situ;
    const char* shapes[] = {
        "IDBLOQNFFIN = 'B'",
        "NRLANCANTECIPA IS NOT NULL",
        "VRFINALBPAG = 0",
        "IDTPCTPAGAR NOT IN ('1', '2')",
        "IDTPCTPAGAR = '2'",
        "IDBPAGREAL = 'S'",
        "NRLANBOLREAL IS NOT NULL",
        "NRPARCBOLPAG = '03'",
        "IDSTATBPAG = 'B'",
        "IDHABIBPAG = 'S'",
        "CDRECEITAGUIA IS NOT NULL",
        "CHAVEPIX IS NOT NULL",
        "CODEQRPIX IS NOT NULL",
        "CDBANCBOLP IS NOT NULL",
        "CDREDUCONT IS NULL",
        "NRORCAEVENTO IS NOT NULL",
        "CDEMPRESA = '02'",
        "CDFILIAL = '0002'",
        "EXISTS (SELECT 1 FROM COMPENSABOL C WHERE C.NRLANBOLPAG = BOLETPAGAR.NRLANBOLPAG)",
        "EXISTS (SELECT 1 FROM AJBOLPAG A WHERE A.NRLANBOLPAG = BOLETPAGAR.NRLANBOLPAG)",
        "DTVENBOLPAG = date('now', 'localtime') AND IDSTATBPAG = 'A' AND CDEMPRESA = '01'",
    };
    for (const char* where : shapes)
        EXPECT_GT(count(std::string("SELECT COUNT(*) FROM BOLETPAGAR WHERE ") + where), 0) << where;
    EXPECT_GT(count("SELECT COUNT(*) FROM ADIANTFORN WHERE VRDISPONIVEL > 0"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM NFDEVOLUCAO WHERE VRDISPONIVEL > 0"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM ORCAFINA"), 0);
    for (const char* code : {"B", "R", "H", "J", "K", "N", "Q", "U", "V", "X", "I",
                             "G", "P", "F", "Z", "C", "D", "T", "S", "A", "M", "L"})
        EXPECT_GT(count(std::string("SELECT COUNT(*) FROM TIPOBAIXAPAG WHERE IDBAIXAUTILP = '") +
                        code + "'"),
                  0)
            << code;
    EXPECT_GT(count("SELECT COUNT(*) FROM TIPOAJPAGAR WHERE IDAJUCTPAG = 'A'"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM TIPOAJPAGAR WHERE IDAJUCTPAG = 'D'"), 0);
}

TEST_F(DemoSeed, DocumentsBarcodesAndValuesAreConsistent) {
    Statement f = db->prepare("SELECT IDTPIJURFORN, NRINSJURFORN FROM FORNECEDOR");
    while (f.step()) {
        const std::string type = f.column(0).asString(), doc = f.column(1).asString();
        if (type == "J") {
            EXPECT_TRUE(validCnpj(doc)) << doc;
        } else if (type == "F") {
            EXPECT_TRUE(validCpf(doc)) << doc;
        }
    }
    Statement b = db->prepare(
        "SELECT CDBARRAPAG, DSLINHBARPAG, VRBOLPAG FROM BOLETPAGAR "
        "WHERE CDBARRAPAG IS NOT NULL");
    int barcodes = 0;
    while (b.step()) {
        ++barcodes;
        const std::string code = b.column(0).asString();
        BarcodeInfo info = analyseBarcode(code);
        ASSERT_TRUE(info.valid) << code << ": " << info.message;
        EXPECT_EQ(analyseBarcode(stripSeparators(b.column(1).asString())).barcode, code);
        ASSERT_TRUE(info.valueCents.has_value()) << code;
        EXPECT_EQ(*info.valueCents, std::llround(b.column(2).asFloat() * 100)) << code;
    }
    EXPECT_GT(barcodes, 100);
    // Every boleto that pays payables is worth exactly what they add up to.
    EXPECT_EQ(count("SELECT COUNT(*) FROM BOLETPAGAR B WHERE ROUND(B.VRFINALBPAG, 2) <> "
                    "(SELECT ROUND(SUM(C.VRATUAPAG), 2) FROM CNTPAGAR C WHERE C.CDFILIBPAG = "
                    "B.CDFILIAL AND C.NRLANBOLPAG = B.NRLANBOLPAG)"),
              0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM BOLETPAGAR B WHERE B.NRLANBOLREAL IS NULL AND NOT "
                    "EXISTS (SELECT 1 FROM CNTPAGAR C WHERE C.CDFILIBPAG = B.CDFILIAL AND "
                    "C.NRLANBOLPAG = B.NRLANBOLPAG)"),
              0);
    EXPECT_EQ(
        count("SELECT MIN(NRULTLANC) FROM SEQLANBOLPAG"),
        count("SELECT MIN(M) FROM (SELECT MAX(CAST(NRLANBOLPAG AS INTEGER)) M FROM BOLETPAGAR "
              "GROUP BY CDFILIAL)"));
    EXPECT_THROW(seedDemo(*db, Date::today()), std::runtime_error);  // not on a filled file
}

// The screens' own lookup texts, so that a change of theirs is what runs here.
TEST_F(DemoSeed, TheScreensLookupSqlRunsOnIt) {
    using namespace habconta_sql;
    using namespace filtro_sql;
    const std::pair<const char*, std::vector<std::pair<const char*, Value>>> lookups[] = {
        {kSqlEmpresa, {}},
        {kSqlVdEmpresa, {{"P_CDEMPRESA", "01"}}},
        {kSqlContCorr, {{"P_CDEMPRESA", "01"}, {"P_CDREDUCONT", Value()}, {"P_TCDREDUCONT", "T"}}},
        {kSqlBanco, {{"P_CDBANCO", "341"}}},
        {kSqlVdTipoBaixa, {{"CDTPBAIXAPAG", "03"}}},
        {kSqlPesqTbBaixa, {}},
        {kSqlFormaPag, {}},
        {habconta_sql::kSqlTipoAjPagar, {{"P_CDAJUCTPAG", Value()}, {"P_TCDAJUCTPAG", "T"}}},
        {kSqlMotivoParc, {{"P_CDMOTIPARC", "01"}, {"P_TCDMOTIPARC", ""}}},
        {kSqlMotivoPro, {{"P_CDMOTIPROR", Value()}, {"P_TCDMOTIPROR", "T"}}},
        {kSqlPesqBoniForn, {{"CDFORNECED", demoSupplierCode(2)}}},
        {kSqlFornecedor,
         {{"P_TIDTPIJURFORN", ""},
          {"P_IDTPIJURFORN", "_O_I"},
          {"P_TCDGRUPFORN", "T"},
          {"P_CDGRUPFORN", ""}}},
        {kSqlFilial, {}},
        {kSqlPesqBanco, {}},
        {kSqlTipoCtPagar, {}},
        {kSqlGrForn, {}},
        {abatimento_sql::kSqlTipoAjPagar, {{"P_CDAJUCTPAG", Value()}, {"P_IDTPAJPAGAR", "A"}}},
    };
    for (const auto& [sql, params] : lookups) {
        Query q("qryLookup", db.get(), sql);
        for (const auto& [name, value] : params)
            q.ParamByName(name).SetValue(value);
        q.Open();
        EXPECT_FALSE(q.IsEmpty()) << sql;
    }
}

TEST(ScaleSeed, SameShapesAtAnyCount) {
    TempDatabase file;
    auto db = openServerDatabase(file.path());
    seedScale(*db, 2000, Date::today());
    Statement st = db->prepare(
        "SELECT COUNT(*), COUNT(DISTINCT IDSITUCNABP), SUM(IDBPAGREAL = 'S') FROM BOLETPAGAR");
    st.step();
    EXPECT_GE(st.column(0).asInteger(), 2000);
    EXPECT_LT(st.column(0).asInteger(), 2010);
    EXPECT_EQ(st.column(1).asInteger(), 4);
    EXPECT_GT(st.column(2).asInteger(), 50);
    Database other;
    applyMigrations(other);
    EXPECT_THROW(seedScale(other, 0, Date::today()), std::invalid_argument);
}

}  // namespace
}  // namespace pag::server::testing
