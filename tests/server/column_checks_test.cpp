// Values outside their column refuse the call naming the field; a bad stored row is skipped.
#include <cmath>

#include "boleto_change_log.h"
#include "server/boleto_query.h"
#include "server/column_rules.h"
#include "server/dataset_fields.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class ColumnChecks : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        addBoleto("0000000001", {{"DTEMISSAO", today.addDays(-10)}});
        addBoleto("0000000002");
    }

    // A change log of BOLETPAGAR modifying boleto 0000000001: the key plus one field of
    // the given type, from null to value.
    static Value changeOf(const std::string& field, FieldType type, Value value,
                          Value original = Value()) {
        return changeLog({{"CDFILIAL", FieldType::Text, 4},
                          {"NRLANBOLPAG", FieldType::Text, 10},
                          {field, type, type == FieldType::Text ? 200 : 0}},
                         {modified({"0001", "0000000001", std::move(value)},
                                   {"0001", "0000000001", std::move(original)})});
    }

    std::string boletoRow(const std::string& lancamento) {
        Statement st = db->prepare("SELECT * FROM BOLETPAGAR WHERE NRLANBOLPAG = :L");
        st.bind("L", Value(lancamento));
        std::string row;
        if (st.step())
            for (int i = 0; i < st.columnCount(); ++i)
                row += st.column(i).debugString() + "|";
        return row;
    }

    size_t listedCount() {
        SqlConditions where;
        where.add("B.CDEMPRESA = :E", "E", Value("01"));
        return selectBoletos(*db, where).rowCount();
    }
};

TEST_F(ColumnChecks, AChangeLogValueOutsideItsColumnRefusesTheCallNamingTheField) {
    struct Case {
        std::string field;
        FieldType type;
        Value value;
        Value original = Value();
        std::string expected = {};  // when not "campo FIELD"; "*" any refusal
    };
    const Case cases[] = {
        {"DTVENBOLPAG", FieldType::Integer, Value(int64_t{2147483647}), Value(today), "*"},
        {"DTVENBOLPAG", FieldType::Date, Value(Date::fromYmd(3000, 1, 1)), Value(today)},
        {"DTATUAVENBOLPAG", FieldType::Integer, Value(int64_t{2147483647})},
        {"DTATUAVENBOLPAG", FieldType::Float, Value(1e308)},
        {"DTATUAVENBOLPAG", FieldType::Float, Value(3000000000.0)},
        {"DTATUAVENBOLPAG", FieldType::Float, Value(-700000.0)},
        {"DTATUAVENBOLPAG", FieldType::Text, Value("0000-12-31")},
        {"DTATUAVENBOLPAG", FieldType::Date, Value(Date::fromYmd(3000, 1, 1))},
        {"DTATUAVENBOLPAG", FieldType::Date, Value(Date::fromYmd(1899, 12, 31))},
        {"VRPEMULBPAG", FieldType::Float, Value(1e300)},
        {"VRPEMULBPAG", FieldType::Text, Value("muito"), Value(), "não é um número"},
        {"CDBARRAPAG", FieldType::Text, Value(std::string(45, '1')), Value(), "CDBARRAPAG"},
        {"IDHABIBPAG", FieldType::Text, Value("X"), Value("N"), "S ou N"},
        {"IDCHAVEPIX", FieldType::Text, Value("09"), Value(), "01, 02, 03 ou 04"},
    };
    const std::string before = boletoRow("0000000001");
    for (const Case& c : cases) {
        std::vector<Value> args{changeOf(c.field, c.type, c.value, c.original)};
        CallResult r = call("SetBoletos", args);
        EXPECT_FALSE(r.ok) << c.field << " " << c.value.debugString();
        const std::string expected = c.expected.empty() ? "campo " + c.field : c.expected;
        if (expected != "*") {
            EXPECT_NE(r.message.find(expected), std::string::npos)
                << c.field << " " << c.value.debugString() << ": " << r.message;
        }
        EXPECT_EQ(boletoRow("0000000001"), before) << c.field;
    }
    EXPECT_EQ(listedCount(), 2u);
}

TEST_F(ColumnChecks, ADateArgumentOutsideTheStoredRangeIsRefusedBeforeAnythingRuns) {
    const std::string before = boletoRow("0000000001");
    for (const Value& date : {Value(int64_t{4000000}), Value(1e308), Value(-700000.0),
                              Value(Date::fromYmd(3001, 1, 1))}) {
        CallResult r = call("SetProrrogacao", {"0001", "0000000001", "01", date, "01", "0001"});
        EXPECT_FALSE(r.ok) << date.debugString();
        EXPECT_NE(r.message.find("argumento 4"), std::string::npos) << r.message;
    }
    EXPECT_EQ(boletoRow("0000000001"), before);
    EXPECT_EQ(listedCount(), 2u);
}

TEST_F(ColumnChecks, AStoredRowThatCannotBeReadIsReportedAndTheOthersLoad) {
    db->exec(
        "UPDATE BOLETPAGAR SET DTATUAVENBOLPAG = '0000-12-31' WHERE NRLANBOLPAG = '0000000001'");
    SqlConditions where;
    where.add("B.CDEMPRESA = :E", "E", Value("01"));
    std::vector<std::string> unreadable;
    Packet p = selectBoletos(*db, where, &unreadable);
    ASSERT_EQ(p.rowCount(), 1u);
    EXPECT_EQ(p.value(0, "NRLANBOLPAG"), Value("0000000002"));
    ASSERT_EQ(unreadable.size(), 1u);
    EXPECT_NE(unreadable[0].find("Boleto 0001/0000000001"), std::string::npos) << unreadable[0];
    EXPECT_NE(unreadable[0].find("DTATUAVENBOLPAG"), std::string::npos) << unreadable[0];
}

TEST(ColumnRulesOfTheSchema, ReadTheDeclarations) {
    TempDatabase file;
    auto db = openServerDatabase(file.path());
    ColumnRules rules(*db);
    const ColumnRule* due = rules.find("BOLETPAGAR", "DTVENBOLPAG");
    ASSERT_NE(due, nullptr);
    EXPECT_EQ(due->kind, ColumnRule::Kind::Date);
    const ColumnRule* barcode = rules.find("boletpagar", "cdbarrapag");
    ASSERT_NE(barcode, nullptr);
    EXPECT_EQ(barcode->maxLength, 44u);
    const ColumnRule* flag = rules.find("BOLETPAGAR", "IDSITUCNABP");
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->domain, (std::vector<std::string>{"00", "01", "10", "20"}));
    EXPECT_EQ(rules.keyColumns("BOLETPAGAR"),
              (std::vector<std::string>{"CDFILIAL", "NRLANBOLPAG"}));
    EXPECT_FALSE(rules.violation("BOLETPAGAR", "DTVENBOLPAG", Value("2999-12-31")));
    EXPECT_TRUE(rules.violation("BOLETPAGAR", "DTVENBOLPAG", Value("2024-02-30")));
    EXPECT_FALSE(rules.violation("BOLETPAGAR", "VRBOLPAG", Value(999999999999.99)));
    EXPECT_TRUE(rules.violation("BOLETPAGAR", "VRBOLPAG", Value(std::nan(""))));
    EXPECT_FALSE(rules.violation("BOLETPAGAR", "NMNADA", Value("x")));
}

}  // namespace
}  // namespace pag::server::testing
