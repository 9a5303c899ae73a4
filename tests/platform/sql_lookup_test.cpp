// The lookup SQL texts of the screens, run unchanged on a small copy of the suite's
// tables: full lists, single-code checks, empty results, codes holding quotes.
#include <gtest/gtest.h>

#include "Cli_pag12000/habconta_sql.h"
#include "Cli_pag12001/abatimento_sql.h"
#include "Cli_pag12100/filtro_hab_sql.h"
#include "platform/sql/query.h"
#include "sql_backends.h"

namespace pag {
namespace {

constexpr const char* kSchema = R"(
CREATE TABLE EMPRESA (CDEMPRESA VARCHAR(2) PRIMARY KEY, NMEMPRESA VARCHAR(40));
CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30));
CREATE TABLE BANCO (CDBANCO VARCHAR(3) PRIMARY KEY, NMBANCO VARCHAR(30),
                    CDPICTCONT VARCHAR(20), CDPICTAGEN VARCHAR(10), CDBANCCNAB VARCHAR(3));
CREATE TABLE CONTCORR (CDEMPRESA VARCHAR(2) NOT NULL REFERENCES EMPRESA,
                       CDREDUCONT VARCHAR(3) NOT NULL, CDBANCO VARCHAR(3) REFERENCES BANCO,
                       CDAGENCIA VARCHAR(5), CDCONTCORR VARCHAR(10), DSCONTCORR VARCHAR(20),
                       PRIMARY KEY (CDEMPRESA, CDREDUCONT));
CREATE TABLE TIPOBAIXAPAG (CDTPBAIXAPAG VARCHAR(2) PRIMARY KEY, NMTPBAIXAPAG VARCHAR(50),
                           IDBAIXAUTILP VARCHAR(1), VRMAXDOCCNAB NUMERIC(15,2));
CREATE TABLE TIPOAJPAGAR (CDAJUCTPAG VARCHAR(4) PRIMARY KEY, DSAJUCTPAG VARCHAR(40),
                          IDAJUCTPAG VARCHAR(1), IDTPAJPAGAR VARCHAR(1));
CREATE TABLE MOTIVOPARC (CDMOTIPARC VARCHAR(2) PRIMARY KEY, DSMOTIPARC VARCHAR(40));
CREATE TABLE MOTIVOPROR (CDMOTIPROR VARCHAR(2) PRIMARY KEY, DSMOTIPROR VARCHAR(40));
CREATE TABLE GRUPFORN (CDGRUPFORN VARCHAR(12) PRIMARY KEY, NMGRUPFORN VARCHAR(50));
CREATE TABLE TIPOCTPAGAR (CDTPCTPAGAR VARCHAR(6) PRIMARY KEY, DSTPCTPAGAR VARCHAR(40));
CREATE TABLE FORNECEDOR (CDFORNECED VARCHAR(21) PRIMARY KEY, NMRAZSOCFORN VARCHAR(40),
                         NMFANTFORN VARCHAR(40), IDTPIJURFORN VARCHAR(1),
                         NRINSJURFORN VARCHAR(20), CDGRUPFORN VARCHAR(12) REFERENCES GRUPFORN,
                         IDTPDESCFORN VARCHAR(1), VRPEDESCFORN NUMERIC(15,2));

INSERT INTO EMPRESA VALUES ('10', 'D''AVILA LTDA'), ('01', 'EMPRESA UM'), ('02', 'EMPRESA DOIS');
INSERT INTO FILIAL VALUES ('0002', 'FILIAL SUL'), ('0001', 'MATRIZ');
INSERT INTO BANCO VALUES ('001', 'BANCO UM', '99999999-9', '9999-a', '001'),
                         ('237', 'BANCO DOIS', '9999999-9', '9999-9', '237'),
                         ('756', 'COOPERATIVA', '999999', '9999', '748'),
                         ('341', 'BANCO TRES', '99999-9', '9999', '341');
INSERT INTO CONTCORR VALUES ('01', '002', '237', '12345', '0012345', 'CONTA DOIS'),
                            ('01', '001', '001', '3456X', '0098765', 'CONTA UM'),
                            ('01', '003', '756', '0001', '0000001', 'CONTA COOP'),
                            ('02', '004', '341', '7777', '0011111', 'OUTRA EMPRESA');
INSERT INTO TIPOBAIXAPAG VALUES ('02', 'DOC/TED', 'D', 5000.5), ('01', 'BOLETO', 'B', NULL),
                                ('03', 'CHEQUE', 'C', NULL);
INSERT INTO TIPOAJPAGAR VALUES ('0005', 'MULTA', 'A', 'N'), ('0001', 'JUROS', 'A', 'N'),
                               ('0002', 'DESCONTO COMERCIAL', 'D', 'N'),
                               ('0003', 'ABATIMENTO ADIANTAMENTO', 'D', 'A'),
                               ('0004', 'ABATIMENTO DEVOLUCAO', 'D', 'D');
INSERT INTO MOTIVOPARC VALUES ('02', 'RENEGOCIACAO'), ('01', 'ACORDO');
INSERT INTO MOTIVOPROR VALUES ('03', 'FERIADO'), ('01', 'ATRASO NA ENTREGA'),
                              ('02', 'PEDIDO DO FORNECEDOR');
INSERT INTO GRUPFORN VALUES ('G2', 'SERVICOS'), ('G1', 'MATERIAIS'), ('G3', 'OUTROS');
INSERT INTO TIPOCTPAGAR VALUES ('000002', 'ADIANTAMENTO'), ('000001', 'FORNECEDORES');
INSERT INTO FORNECEDOR VALUES
  ('000000000000000000005', 'ZETA SERVICOS SA', 'ZETA', 'J', '98765432000110', 'G2', NULL, NULL),
  ('000000000000000000001', 'ALFA MATERIAIS LTDA', 'ALFA', 'J', '12345678000190', 'G1', 'P', 2.5),
  ('000000000000000000003', 'CONSORCIO OBRA', 'OBRA', 'O', NULL, 'G3', 'V', 10),
  ('000000000000000000002', 'BRUNO SILVA', 'BRUNO', 'F', '12345678901', 'G2', NULL, NULL),
  ('000000000000000000004', 'INSTITUTO X', 'INSTX', 'I', '99', 'G1', NULL, NULL);
)";

// The screens' SQL texts, as the screens run them. The filter dialog's supplier list runs
// with its parameters used directly, the form that needs no PARAM() table function.
using namespace habconta_sql;
using namespace filtro_sql;

using Params = std::vector<std::pair<std::string, Value>>;
using Codes = std::vector<std::string>;

template <typename Param>
class LookupBase : public BackendTestBase<Param> {
protected:
    void SetUp() override {
        BackendTestBase<Param>::SetUp();
        if (this->IsSkipped()) return;
        this->db().exec(kSchema);
        query.SetDatabase(&this->db());
    }

    // Opening a lookup is always: close, set the parameters by name, open.
    Query& open(const char* sql, const Params& params = {}) {
        query.Close();
        query.SetSQL(sql);
        for (const auto& [name, value] : params)
            query.ParamByName(name).SetValue(value);
        query.Open();
        return query;
    }

    // The values of one field over all rows, in order.
    Codes column(const char* sql, const Params& params, const char* field) {
        open(sql, params);
        Codes out;
        for (query.First(); !query.Eof(); query.Next())
            out.push_back(query.FieldByName(field).AsString());
        return out;
    }

    Query query{"qryLookup"};
};

class LookupQueries : public LookupBase<Backend> {};
PAG_ON_BOTH_BACKENDS(LookupQueries);

// Queries that are a full list when the all-codes parameter is 'T' and a single-code
// check otherwise.
struct AllCodesCase {
    const char* name;
    const char* sql;
    std::string codeField;  // its parameters: P_ and P_T before the field's name
    Codes all;
    std::string one;
    Params fixed;  // parameters that do not take part (the company of an account)
};

class AllCodesLookup : public LookupBase<std::tuple<AllCodesCase, Backend>> {
protected:
    Codes run(Value code, Value all) {
        const AllCodesCase& c = std::get<0>(GetParam());
        Params p = c.fixed;
        p.emplace_back("P_" + c.codeField, std::move(code));
        p.emplace_back("P_T" + c.codeField, std::move(all));
        return column(c.sql, p, c.codeField.c_str());
    }
};

TEST_P(AllCodesLookup, FullListIgnoresTheCodeAndSingleCodeFindsOnlyIt) {
    const AllCodesCase& c = std::get<0>(GetParam());
    EXPECT_EQ(run(c.one, "T"), c.all);
    EXPECT_EQ(run(Value(), "T"), c.all);
    EXPECT_EQ(run("", "T"), c.all);
    for (const Value& notAll : {Value(), Value(""), Value("N"), Value("t")})
        EXPECT_EQ(run(c.one, notAll), Codes{c.one}) << notAll.debugString();
    EXPECT_EQ(run("99", Value()), Codes{});
    EXPECT_TRUE(query.IsEmpty());
    EXPECT_EQ(run(Value(), Value()), Codes{});
    EXPECT_EQ(run(c.one + "' OR '1'='1", Value()), Codes{});
    EXPECT_EQ(run("x", "T' OR 'T'='T"), Codes{});
}

const AllCodesCase kAllCodesCases[] = {
    {"qryContCorr",
     kSqlContCorr,
     "CDREDUCONT",
     {"001", "002", "003"},
     "002",
     {{"P_CDEMPRESA", "01"}}},
    {"qryTipoAjPagar",
     habconta_sql::kSqlTipoAjPagar,
     "CDAJUCTPAG",
     {"0001", "0002", "0005"},
     "0002",
     {}},
    {"qryMotivoParc", kSqlMotivoParc, "CDMOTIPARC", {"01", "02"}, "02", {}},
    {"qryMotivoPro", kSqlMotivoPro, "CDMOTIPROR", {"01", "02", "03"}, "02", {}}};

INSTANTIATE_TEST_SUITE_P(Screens, AllCodesLookup,
                         ::testing::Combine(::testing::ValuesIn(kAllCodesCases),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    backendName(std::get<1>(info.param));
                         });

TEST_P(LookupQueries, AccountsAreThoseOfTheCompanyWithTheirBanksMasks) {
    Params p{{"P_CDEMPRESA", "02"}, {"P_CDREDUCONT", Value()}, {"P_TCDREDUCONT", "T"}};
    EXPECT_EQ(column(kSqlContCorr, p, "CDREDUCONT"), Codes{"004"});
    p[0].second = "01";
    p[1].second = "003";
    p[2].second = "";
    open(kSqlContCorr, p);
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.FieldCount(), 8u);
    EXPECT_EQ(query.FieldByName("CDAGENCIA").AsString(), "0001");
    EXPECT_EQ(query.FieldByName("CDPICTCONT").AsString(), "999999");
    EXPECT_EQ(query.FieldByName("CDBANCCNAB").AsString(), "748");
    p[1].second = "004";  // an account of another company
    EXPECT_EQ(column(kSqlContCorr, p, "CDREDUCONT"), Codes{});
}

TEST_P(LookupQueries, CompaniesAllOrOneByCode) {
    EXPECT_EQ(column(kSqlEmpresa, {}, "CDEMPRESA"), (Codes{"01", "02", "10"}));
    EXPECT_EQ(column(kSqlVdEmpresa, {{"P_CDEMPRESA", "10"}}, "NMEMPRESA"), Codes{"D'AVILA LTDA"});
    for (const Value& none : {Value("1"), Value(), Value("01' OR '1'='1"), Value("01'--")})
        EXPECT_EQ(column(kSqlVdEmpresa, {{"P_CDEMPRESA", none}}, "CDEMPRESA"), Codes{})
            << none.debugString();
    db().exec("DELETE FROM CONTCORR; DELETE FROM EMPRESA");
    open(kSqlEmpresa);
    EXPECT_TRUE(query.Active());
    EXPECT_TRUE(query.IsEmpty());
}

TEST_P(LookupQueries, BankMasksAreFoundByTheRemittanceCode) {
    open(kSqlBanco, {{"P_CDBANCO", "748"}});
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.FieldByName("CDPICTCONT").AsString(), "999999");
    EXPECT_EQ(query.FieldByName("CDPICTAGEN").AsString(), "9999");
    EXPECT_EQ(column(kSqlBanco, {{"P_CDBANCO", "756"}}, "CDPICTCONT"), Codes{});  // a bank code
}

TEST_P(LookupQueries, SettlementTypesListAndCheck) {
    EXPECT_EQ(column(kSqlPesqTbBaixa, {}, "CDTPBAIXAPAG"), (Codes{"01", "02", "03"}));
    EXPECT_EQ(query.FieldCount(), 3u);
    open(kSqlVdTipoBaixa, {{"CDTPBAIXAPAG", "02"}});
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.FieldByName("IDBAIXAUTILP").AsString(), "D");
    EXPECT_EQ(query.FieldByName("VRMAXDOCCNAB").DataType(), FieldType::Float);
    EXPECT_EQ(query.FieldByName("VRMAXDOCCNAB").AsFloat(), 5000.5);
    open(kSqlVdTipoBaixa, {{"CDTPBAIXAPAG", "01"}});
    EXPECT_TRUE(query.FieldByName("VRMAXDOCCNAB").IsNull());
    EXPECT_EQ(column(kSqlVdTipoBaixa, {{"CDTPBAIXAPAG", "04"}}, "CDTPBAIXAPAG"), Codes{});
}

TEST_P(LookupQueries, FilterDialogLists) {
    EXPECT_EQ(column(kSqlFilial, {}, "CDFILIAL"), (Codes{"0001", "0002"}));
    EXPECT_EQ(column(kSqlFormaPag, {}, "CDTPBAIXAPAG"), (Codes{"01", "02", "03"}));
    EXPECT_EQ(column(kSqlPesqBanco, {}, "CDBANCO"), (Codes{"001", "237", "341", "756"}));
    EXPECT_EQ(column(kSqlTipoCtPagar, {}, "CDTPCTPAGAR"), (Codes{"000001", "000002"}));
    EXPECT_EQ(column(kSqlGrForn, {}, "CDGRUPFORN"), (Codes{"G1", "G2", "G3"}));
}

TEST_P(LookupQueries, SuppliersOfTheChosenPersonTypesAndGroups) {
    auto suppliers = [&](Value allTypes, Value types, Value allGroups, Value groups) {
        return column(kSqlFornecedor,
                      {{"P_TIDTPIJURFORN", allTypes},
                       {"P_IDTPIJURFORN", types},
                       {"P_TCDGRUPFORN", allGroups},
                       {"P_CDGRUPFORN", groups}},
                      "NMFANTFORN");
    };
    EXPECT_EQ(suppliers("T", "", "T", ""), (Codes{"ALFA", "BRUNO", "OBRA", "INSTX", "ZETA"}));
    EXPECT_EQ(suppliers("", "J", "T", ""), (Codes{"ALFA", "ZETA"}));
    EXPECT_EQ(suppliers("", "_O_I", "T", ""), (Codes{"OBRA", "INSTX"}));
    EXPECT_EQ(suppliers("T", "", "", "G1,G3"), (Codes{"ALFA", "OBRA", "INSTX"}));
    EXPECT_EQ(suppliers("", "F", "", "G1"), Codes{});
}

TEST_P(LookupQueries, DeductionAdjustmentTypesOfOneKind) {
    auto types = [&](Value code, Value kind) {
        return column(abatimento_sql::kSqlTipoAjPagar,
                      {{"P_CDAJUCTPAG", code}, {"P_IDTPAJPAGAR", kind}}, "CDAJUCTPAG");
    };
    EXPECT_EQ(types(Value(), "A"), Codes{"0003"});
    EXPECT_EQ(types(Value(), "D"), Codes{"0004"});
    EXPECT_EQ(types("0004", "D"), Codes{"0004"});
    EXPECT_EQ(types("0004", "A"), Codes{});
    EXPECT_EQ(types("0002", "N"), Codes{"0002"});
    EXPECT_EQ(types("0001", "N"), Codes{});  // an addition, not a deduction
}

}  // namespace
}  // namespace pag
