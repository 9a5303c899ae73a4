// The demo and scale data: every shape the screens need, valid documents and codes,
// and the screens' lookup SQL running on it.
#include <cmath>

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
        file = new TempFile;
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

    static TempFile* file;
    std::unique_ptr<Database> db;
};
TempFile* DemoSeed::file = nullptr;

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
        EXPECT_EQ(count(std::string("SELECT COUNT(*) FROM TIPOBAIXAPAG WHERE IDBAIXAUTILP = '") +
                        code + "'") > 0,
                  true)
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

TEST_F(DemoSeed, TheScreensLookupSqlRunsOnIt) {
    struct Lookup {
        const char* sql;
        std::vector<std::pair<const char*, Value>> params;
    };
    const Lookup lookups[] = {
        {"SELECT CDEMPRESA, NMEMPRESA\n  FROM EMPRESA\n WHERE CDEMPRESA = :P_CDEMPRESA\n"
         "ORDER BY CDEMPRESA",
         {{"P_CDEMPRESA", "01"}}},
        {"SELECT\n   CC.CDREDUCONT,\n   CC.CDBANCO,\n   CC.CDAGENCIA,\n   CC.CDCONTCORR,\n"
         "   CC.DSCONTCORR,\n   BC.CDPICTCONT,\n   BC.CDPICTAGEN,\n   BC.CDBANCCNAB\nFROM\n"
         "   BANCO    BC,\n   CONTCORR CC\nWHERE\n   (CC.CDEMPRESA  = :P_CDEMPRESA) AND\n"
         "   (BC.CDBANCO    = CC.CDBANCO)   AND\n"
         "   ((CC.CDREDUCONT = :P_CDREDUCONT) OR (:P_TCDREDUCONT = 'T'))\nORDER BY\n"
         "   CC.CDREDUCONT",
         {{"P_CDEMPRESA", "01"}, {"P_CDREDUCONT", Value()}, {"P_TCDREDUCONT", "T"}}},
        {"SELECT\n   CDPICTCONT, CDPICTAGEN\nFROM\n   BANCO\nWHERE\n   (CDBANCCNAB = :P_CDBANCO)",
         {{"P_CDBANCO", "341"}}},
        {"SELECT\n   CDTPBAIXAPAG,\n   NMTPBAIXAPAG,\n   IDBAIXAUTILP,\n   VRMAXDOCCNAB\nFROM\n"
         "   TIPOBAIXAPAG\nWHERE\n   CDTPBAIXAPAG = :CDTPBAIXAPAG\nORDER BY CDTPBAIXAPAG",
         {{"CDTPBAIXAPAG", "03"}}},
        {"SELECT\n   T.CDAJUCTPAG,\n   T.DSAJUCTPAG,\n   T.IDAJUCTPAG\nFROM\n   TIPOAJPAGAR T\n"
         "WHERE\n   ((T.CDAJUCTPAG = :P_CDAJUCTPAG) OR\n    (:P_TCDAJUCTPAG = 'T'))\n"
         "    AND IDTPAJPAGAR = 'N'\nORDER BY\n   T.CDAJUCTPAG",
         {{"P_CDAJUCTPAG", Value()}, {"P_TCDAJUCTPAG", "T"}}},
        {"SELECT\n   CDMOTIPARC,\n   DSMOTIPARC\nFROM\n   MOTIVOPARC\nWHERE\n"
         "   (CDMOTIPARC = :P_CDMOTIPARC OR :P_TCDMOTIPARC = 'T')\nORDER BY\n   CDMOTIPARC",
         {{"P_CDMOTIPARC", "01"}, {"P_TCDMOTIPARC", ""}}},
        {"SELECT CDMOTIPROR, DSMOTIPROR\n  FROM MOTIVOPROR\n"
         " WHERE (CDMOTIPROR = :P_CDMOTIPROR OR :P_TCDMOTIPROR = 'T')\nORDER BY CDMOTIPROR",
         {{"P_CDMOTIPROR", Value()}, {"P_TCDMOTIPROR", "T"}}},
        {"SELECT IDTPDESCFORN, VRPEDESCFORN\n  FROM FORNECEDOR\n WHERE CDFORNECED = :CDFORNECED",
         {{"CDFORNECED", demoSupplierCode(2)}}},
        {"SELECT CDFORNECED  , NMRAZSOCFORN, NMFANTFORN, IDTPIJURFORN,\n       NRINSJURFORN\n"
         "FROM FORNECEDOR\nWHERE\n"
         "    (:P_TIDTPIJURFORN = 'T' OR  (INSTR(:P_IDTPIJURFORN, IDTPIJURFORN) > 0)) AND\n"
         "    (:P_TCDGRUPFORN = 'T' OR (INSTR(:P_CDGRUPFORN, CDGRUPFORN) > 0))\n"
         "ORDER BY NMRAZSOCFORN",
         {{"P_TIDTPIJURFORN", ""},
          {"P_IDTPIJURFORN", "_O_I"},
          {"P_TCDGRUPFORN", "T"},
          {"P_CDGRUPFORN", ""}}},
        {"SELECT\n  CDFILIAL,\n  NMFILIAL\nFROM\n  FILIAL\nORDER BY\n   CDFILIAL", {}},
        {"SELECT\n   CDBANCO,\n   NMBANCO\nFROM\n   BANCO\nORDER BY\n   CDBANCO", {}},
        {"SELECT CDTPCTPAGAR, DSTPCTPAGAR\nFROM TIPOCTPAGAR\nORDER BY CDTPCTPAGAR", {}},
        {"SELECT CDGRUPFORN, NMGRUPFORN\nFROM GRUPFORN\nORDER BY CDGRUPFORN", {}},
        {"SELECT\n   CDAJUCTPAG,\n   DSAJUCTPAG\nFROM\n   TIPOAJPAGAR\nWHERE\n"
         "   IDAJUCTPAG = 'D' AND\n   CDAJUCTPAG = NVL(:P_CDAJUCTPAG, CDAJUCTPAG)\n"
         "   AND IDTPAJPAGAR = :P_IDTPAJPAGAR\nORDER BY\n  CDAJUCTPAG",
         {{"P_CDAJUCTPAG", Value()}, {"P_IDTPAJPAGAR", "A"}}},
    };
    for (const Lookup& l : lookups) {
        Query q("qryLookup", db.get(), l.sql);
        for (const auto& [name, value] : l.params)
            q.ParamByName(name).SetValue(value);
        q.Open();
        EXPECT_FALSE(q.IsEmpty()) << l.sql;
    }
}

TEST_F(DemoSeed, DefaultFilterOfTheDayShowsBoletosDueToday) {
    RdmHabConta module(file->path());
    std::vector<Value> args = {"01",          "",     "",     "", "", "",  0.0, 0.0, Date::today(),
                               Date::today(), "",     "",     "", "", " ", "",  "",  "",
                               "T",           Date(), Date(), "", "", ""};
    CallResult r = module.call(context(), "GetBoletos", args);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_GT(r.result.asPacket()->rowCount(), 3u);
    for (const std::string& due : column(r.result, "DTVENBOLPAG"))
        EXPECT_EQ(due, Date::today().toString());
}

TEST(ScaleSeed, SameShapesAtAnyCount) {
    TempFile file;
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
