// Queries as datasets: parameters, fields from the result and from declarations,
// read-only rows, failures that leave the query closed.
#include <gtest/gtest.h>

#include "platform/sql/query.h"
#include "sql_backends.h"

namespace pag {
namespace {

class QueryTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        db().exec(R"(CREATE TABLE BOLETO (NRLANBOLPAG VARCHAR(10) PRIMARY KEY,
                                        VRBOLPAG NUMERIC(15,2), QTPARC INTEGER,
                                        DTVENBOLPAG DATE, NMFORN VARCHAR(40));
                   INSERT INTO BOLETO VALUES ('0000000001', 100.5, 1, '2024-05-31', 'ALFA');
                   INSERT INTO BOLETO VALUES ('0000000002', 200, 2, NULL, 'BETA');)");
    }
};
PAG_ON_BOTH_BACKENDS(QueryTest);

FieldDef def(std::string name, FieldType type, std::string label, bool visible = true) {
    FieldDef d;
    d.name = std::move(name);
    d.type = type;
    d.label = std::move(label);
    d.visible = visible;
    return d;
}

TEST_P(QueryTest, ParametersAreFoundInTheTextAndBoundByName) {
    Query q("qryTeste", &db(),
            "SELECT :P_A AS A, :p_a AS B, ':P_LITERAL' AS C, :P_DATA AS D, :P_NADA IS NULL AS E"
            " -- :P_COMENTARIO\n");
    ASSERT_EQ(q.ParamCount(), 3u);
    EXPECT_EQ(q.Params(0).Name(), "P_A");
    EXPECT_EQ(q.Params(2).Name(), "P_NADA");
    q.ParamByName("p_A").SetAsString("x' OR '1'='1");
    q.ParamByName("P_DATA").SetAsDate(Date::fromYmd(2024, 2, 29));
    q.Open();
    EXPECT_EQ(q.FieldByName("A").AsString(), "x' OR '1'='1");  // plain text, never SQL
    EXPECT_EQ(q.FieldByName("B").AsString(), "x' OR '1'='1");  // one value, each place
    EXPECT_EQ(q.FieldByName("C").AsString(), ":P_LITERAL");
    EXPECT_EQ(q.FieldByName("D").AsString(), "2024-02-29");
    EXPECT_EQ(q.FieldByName("E").AsInteger(), 1);  // never set: null

    EXPECT_EQ(errorOf<std::exception>([&] { q.ParamByName("P_COMENTARIO"); }),
              "Consulta qryTeste: o parâmetro P_COMENTARIO não existe no comando SQL.");
    q.ParamByName("P_NADA").SetAsFloat(1.5);
    q.ParamByName("P_NADA").Clear();
    q.Open();
    EXPECT_EQ(q.FieldByName("E").AsInteger(), 1);

    q.SetSQL("SELECT :P_OUTRO AS A");
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.FindParam("P_A"), nullptr);
    q.Open();
    EXPECT_TRUE(q.FieldByName("A").IsNull());  // a fresh text starts with unset parameters
}

TEST_P(QueryTest, UndeclaredFieldsTakeTheirTypesFromTheColumns) {
    Query q("qryBoleto", &db(),
            "SELECT B.*, count(*) OVER () AS QT, VRBOLPAG / 2 AS METADE, NULL AS NADA"
            "  FROM BOLETO B ORDER BY NRLANBOLPAG");
    q.Open();
    EXPECT_EQ(q.FieldByName("NRLANBOLPAG").DataType(), FieldType::Text);
    EXPECT_EQ(q.FieldByName("NRLANBOLPAG").Size(), 10);
    EXPECT_EQ(q.FieldByName("VRBOLPAG").DataType(), FieldType::Float);
    EXPECT_EQ(q.FieldByName("QTPARC").DataType(), FieldType::Integer);
    EXPECT_EQ(q.FieldByName("DTVENBOLPAG").DataType(), FieldType::Date);
    EXPECT_EQ(q.FieldByName("QT").DataType(), FieldType::Integer);
    EXPECT_EQ(q.FieldByName("METADE").DataType(), FieldType::Float);
    EXPECT_EQ(q.FieldByName("NADA").DataType(), FieldType::Text);
    EXPECT_TRUE(q.FieldByName("NMFORN").Visible());

    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName("DTVENBOLPAG").AsDateTime(), Date::fromYmd(2024, 5, 31));
    q.Next();
    EXPECT_EQ(q.FieldByName("VRBOLPAG").AsFloat(), 200.0);
    EXPECT_TRUE(q.FieldByName("DTVENBOLPAG").IsNull());
    EXPECT_EQ(q.FieldByName("METADE").AsFloat(), 100.0);
    EXPECT_TRUE(q.Locate("NMFORN", Value("alfa")));
    EXPECT_EQ(q.RecNo(), 1);
}

TEST_P(QueryTest, DeclaredFieldsKeepTheirDefinitionsAndHandlersAcrossOpens) {
    Query q("qryBoleto", &db(), "SELECT NRLANBOLPAG, QTPARC, NMFORN FROM BOLETO ORDER BY 1");
    FieldDef valor = def("QTPARC", FieldType::Float, "Parcelas");
    valor.displayFormat = "#,##0.00";
    q.SetFieldDefs({def("NRLANBOLPAG", FieldType::Text, "Lançamento"), valor});
    q.Open();
    ASSERT_EQ(q.FieldCount(), 3u);  // declared ones first, the rest hidden
    EXPECT_EQ(q.Fields(0).DisplayLabel(), "Lançamento");
    EXPECT_EQ(q.FieldByName("QTPARC").DataType(), FieldType::Float);
    EXPECT_EQ(q.FieldByName("QTPARC").DisplayText(), "1,00");
    EXPECT_FALSE(q.FieldByName("NMFORN").Visible());
    EXPECT_EQ(q.FieldByName("NMFORN").AsString(), "ALFA");

    Field* field = &q.FieldByName("NRLANBOLPAG");
    field->OnGetText = [](Field& f, bool) { return "Nº " + f.AsString(); };
    q.FieldByName("NMFORN").SetVisible(true);
    db().exec("INSERT INTO BOLETO VALUES ('0000000000', 5, 1, NULL, 'ZETA')");
    q.Close();
    q.Open();
    EXPECT_EQ(&q.FieldByName("NRLANBOLPAG"), field);
    EXPECT_EQ(q.RecordCount(), 3);
    EXPECT_EQ(q.FieldByName("NRLANBOLPAG").DisplayText(), "Nº 0000000000");
    EXPECT_TRUE(q.FieldByName("NMFORN").Visible());

    // New declarations replace the old ones at the next open.
    q.Close();
    q.SetFieldDefs({def("NMFORN", FieldType::Text, "Fornecedor")});
    q.Open();
    EXPECT_EQ(q.Fields(0).FieldName(), "NMFORN");
    EXPECT_FALSE(q.FieldByName("NRLANBOLPAG").Visible());
}

TEST_P(QueryTest, RowsCannotBeEdited) {
    Query q("qryBoleto", &db(), "SELECT NRLANBOLPAG FROM BOLETO ORDER BY 1");
    q.Open();
    EXPECT_NE(errorOf<std::exception>([&] { q.Edit(); }).find("somente leitura"),
              std::string::npos);
    EXPECT_THROW(q.Append(), std::exception);
    EXPECT_THROW(q.Delete(), std::exception);
    EXPECT_EQ(q.State(), DataSetState::Browse);
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName("NRLANBOLPAG").AsString(), "0000000001");
}

TEST_P(QueryTest, FailuresNameTheQueryAndLeaveItClosed) {
    auto failure = [&](const std::string& sql, std::vector<FieldDef> defs = {}) {
        Query q("qryX", &db(), sql);
        if (!defs.empty()) q.SetFieldDefs(std::move(defs));
        std::string msg = errorOf<std::exception>([&] { q.Open(); });
        EXPECT_FALSE(q.Active()) << sql;
        return msg;
    };
    EXPECT_EQ(failure("SELECT * FROM NADA"),
              pg() ? "Consulta qryX: Erro no comando SQL (relation \"nada\" does not exist)."
                   : "Consulta qryX: Erro no comando SQL (no such table: NADA).");
    EXPECT_EQ(failure("DELETE FROM BOLETO"),
              "Consulta qryX: uma consulta só lê dados, e este comando SQL altera o banco.");
    EXPECT_EQ(failure("SELECT NMFORN FROM BOLETO WHERE NRLANBOLPAG = ?"),
              "Consulta qryX: use parâmetros com nome (:NOME) em vez de '?' no comando SQL.");
    EXPECT_EQ(failure("SELECT NMFORN FROM BOLETO", {def("NMFANTFORN", FieldType::Text, "")}),
              "Consulta qryX: o campo NMFANTFORN não está no resultado do comando SQL.");
    EXPECT_EQ(failure("SELECT '31/05/2024' AS DT", {def("DT", FieldType::Date, "")}),
              "Consulta qryX: O valor '31/05/2024' da coluna DT não é uma data (AAAA-MM-DD).");
    EXPECT_EQ(errorOf([] { Query("qryX", nullptr, "SELECT 1").Open(); }),
              "Consulta qryX: a consulta não está ligada a um banco de dados.");
    EXPECT_EQ(failure("SELECT count(*) FROM BOLETO WHERE 0 = 1; DELETE FROM BOLETO")
                  .find("Consulta qryX: O comando SQL tem mais de uma instrução"),
              0u);

    Database other;
    Query q("qryX", &db(), "SELECT count(*) AS N FROM BOLETO");
    q.Open();
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 2);
    q.SetDatabase(&other);
    EXPECT_FALSE(q.Active());
    EXPECT_NE(errorOf<std::exception>([&] { q.Open(); }).find("no such table: BOLETO"),
              std::string::npos);
}

}  // namespace
}  // namespace pag
