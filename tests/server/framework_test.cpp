// The server's frame: migrations, access, one transaction per call, the change-log helper.
#include "boleto_change_log.h"
#include "server/access_rules.h"
#include "server/change_log.h"
#include "server/migrations.h"
#include "server/refusal.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

TEST(Migrations, FreshFileGetsEverySchemaStepOnceAndReopensUnchanged) {
    TempDatabase file;
    {
        auto db = openServerDatabase(file.path());
        EXPECT_EQ(schemaVersion(*db), latestSchemaVersion());
        EXPECT_GE(latestSchemaVersion(), 2);
        Statement steps = db->prepare("SELECT COUNT(*) FROM SCHEMAVERSION");
        steps.step();
        EXPECT_EQ(steps.column(0).asInteger(), static_cast<int64_t>(Migrations().size()));
        db->exec("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('01', 'UM')");
    }
    auto again = openServerDatabase(file.path());  // nothing re-applied, data kept
    EXPECT_EQ(schemaVersion(*again), latestSchemaVersion());
    Statement st = again->prepare("SELECT NMEMPRESA FROM EMPRESA");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.column(0).asString(), "UM");
    Database empty;
    EXPECT_EQ(schemaVersion(empty), 0);
}

TEST(Migrations, ForeignKeysAndChecksAreEnforced) {
    Database db;
    applyMigrations(db);
    EXPECT_THROW(db.exec("INSERT INTO FILIAL (CDFILIAL, NMFILIAL, CDEMPRESA) VALUES "
                         "('0001', 'X', '99')"),
                 DatabaseError);
    db.exec("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('01', 'UM')");
    db.exec("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES ('0001', 'M')");
    EXPECT_THROW(db.exec("INSERT INTO TIPOAJPAGAR VALUES ('0001', 'X', 'Q', 'N')"), DatabaseError);
}

class ModuleFrame : public ServerFixture {};

TEST_F(ModuleFrame, OperatorMustBeRelatedToTheCompany) {
    CallResult ok = call("GetGeral", {"0001"}, context("01", "OPER01"));
    EXPECT_TRUE(ok.ok) << ok.message;
    CallResult refused = call("GetGeral", {"0001"}, context("02", "OPER01"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "Empresa 02 não relacionada ao operador OPER01.");
    EXPECT_FALSE(call("GetGeral", {"0001"}, context("01", "")).ok);
    EXPECT_FALSE(call("GetGeral", {"0001"}, context("01", "NINGUEM")).ok);
    // A company named in the arguments is checked too.
    std::vector<Value> args(24, Value(""));
    args[0] = "02";
    CallResult other = call("GetBoletos", args, context("01", "OPER01"));
    EXPECT_FALSE(other.ok);
    EXPECT_NE(other.message.find("Empresa 02"), std::string::npos) << other.message;
}

TEST_F(ModuleFrame, ProcessingDateLockFollowsTheGeneralParameter) {
    // Demo locks: every operator before today - 60, OPER01 before today - 15.
    EXPECT_TRUE(isProcessingDateBlocked(*db, "Pag", "OPER01", today.addDays(-16)));
    EXPECT_FALSE(isProcessingDateBlocked(*db, "Pag", "OPER01", today.addDays(-15)));
    EXPECT_FALSE(isProcessingDateBlocked(*db, "Pag", "ADMIN", today.addDays(-59)));
    EXPECT_TRUE(isProcessingDateBlocked(*db, "Pag", "ADMIN", today.addDays(-61)));
    EXPECT_FALSE(isProcessingDateBlocked(*db, "Pag", "ADMIN", Date()));
    EXPECT_FALSE(isProcessingDateBlocked(*db, "Rec", "ADMIN", today.addDays(-61)));
    db->exec("UPDATE PARAMGERAL SET IDUTILDTPROC = 'N'");
    EXPECT_FALSE(isProcessingDateBlocked(*db, "Pag", "OPER01", today.addDays(-400)));
}

TEST_F(ModuleFrame, UnknownOperationAndMissingArgumentsAreClearFailures) {
    CallResult r = call("GetNadaDisso", {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Operação 'GetNadaDisso' não existe no servidor pag12000.rdmHabConta.");
    CallResult few = call("GetCntPagar", {"0001"});
    EXPECT_FALSE(few.ok);
    EXPECT_NE(few.message.find("argumento 2 não informado"), std::string::npos) << few.message;
}

// A saving operation written for these tests: applies a change log to CCORFORN and
// answers the number of rows changed; by-reference argument 1 gets "feito".
OperationRegistry testRegistry() {
    OperationRegistry r;
    registerAllOperations(r);
    r.add("TestSetCCorForn", Access::Write, [](OperationCall& c) {
        ChangeLogTable t{"CCORFORN",
                         {"CDFORNECED", "CDBANCFORN", "CDAGENFORN", "CDCCORFORN"},
                         {"CDFORNECED", "CDBANCFORN", "CDAGENFORN", "CDCCORFORN", "IDTPICNABFOR",
                          "NRINSCNABFOR"},
                         {}};
        ChangeLogCounts n = applyChangeLog(c.db, c.packet(0), t);
        if (c.args.size() > 1) c.args[1] = "feito";
        return Value(n.inserted + n.modified + n.deleted);
    });
    return r;
}

const std::vector<PacketField> kAccountFields = {
    {"CDBANCFORN", FieldType::Text, 3},   {"CDAGENFORN", FieldType::Text, 5},
    {"CDCCORFORN", FieldType::Text, 16},  {"CDFORNECED", FieldType::Text, 21},
    {"IDTPICNABFOR", FieldType::Text, 1}, {"NRINSCNABFOR", FieldType::Text, 20},
    {"NMBANCO", FieldType::Text, 30}};

Value delta(const std::vector<RowChange>& changes) {
    return changeLog(kAccountFields, changes);
}

TEST(ChangeLogPlaceholders, MinusOneAndLoneBlankAreNoValue) {
    EXPECT_TRUE(withoutPlaceholder(Value(-1.0)).isNull());
    EXPECT_TRUE(withoutPlaceholder(Value(int64_t{-1})).isNull());
    EXPECT_TRUE(withoutPlaceholder(Value(" ")).isNull());
    EXPECT_EQ(withoutPlaceholder(Value(-1.5)), Value(-1.5));
    EXPECT_EQ(withoutPlaceholder(Value("  ")), Value("  "));
    EXPECT_EQ(withoutPlaceholder(Value("-1")), Value("-1"));
    EXPECT_EQ(withoutPlaceholder(Value(0.0)), Value(0.0));
}

class ChangeLogSaving : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        module = std::make_unique<RdmHabConta>(file.path(), testRegistry());
        forn = demoSupplierCode(3);
    }
    std::vector<Value> row(const char* conta, Value tipo, Value insc) {
        return {"341", "1234", conta, forn, tipo, insc, "NOME QUE NAO E COLUNA"};
    }
    int64_t accounts(const std::string& where = "1 = 1") {
        return scalar("SELECT COUNT(*) FROM CCORFORN WHERE CDFORNECED = '" + forn + "' AND " +
                      where)
            .asInteger();
    }
    std::string forn;
};

TEST_F(ChangeLogSaving, InsertModifyDeleteWithPlaceholdersAsNull) {
    const int64_t before = accounts();
    CallResult r =
        call("TestSetCCorForn",
             {delta({inserted(row("111", " ", " ")), inserted(row("222", "J", "123"))})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asInteger(), 2);
    EXPECT_EQ(accounts(), before + 2);
    EXPECT_EQ(accounts("CDCCORFORN = '111' AND IDTPICNABFOR IS NULL AND NRINSCNABFOR IS NULL"), 1);
    r = call("TestSetCCorForn", {delta({modified(row("222", "F", "999"), row("222", "J", "123")),
                                        deleted(row("111", " ", " "))})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(accounts("CDCCORFORN = '222' AND IDTPICNABFOR = 'F'"), 1);
    EXPECT_EQ(accounts("CDCCORFORN = '111'"), 0);
}

TEST_F(ChangeLogSaving, RowChangedByAnotherUserRefusesTheWholeCall) {
    ASSERT_TRUE(call("TestSetCCorForn",
                     {delta({inserted(row("333", "J", "1")), inserted(row("444", "J", "2"))})})
                    .ok);
    // Another user changes account 444 after this client read it.
    db->exec("UPDATE CCORFORN SET NRINSCNABFOR = '77' WHERE CDCCORFORN = '444'");
    CallResult r =
        call("TestSetCCorForn", {delta({inserted(row("555", "J", "3")),
                                        modified(row("333", "J", "8"), row("333", "J", "1")),
                                        modified(row("444", "J", "9"), row("444", "J", "2"))})});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("alterado ou excluído por outro usuário"), std::string::npos)
        << r.message;
    // Nothing of the refused call is stored: neither the insert nor the first modify.
    EXPECT_EQ(accounts("CDCCORFORN = '555'"), 0);
    EXPECT_EQ(accounts("CDCCORFORN = '333' AND NRINSCNABFOR = '1'"), 1);
    EXPECT_EQ(accounts("CDCCORFORN = '444' AND NRINSCNABFOR = '77'"), 1);
    // A row deleted meanwhile refuses a delete as well; null originals compare with IS.
    db->exec("DELETE FROM CCORFORN WHERE CDCCORFORN = '333'");
    EXPECT_FALSE(call("TestSetCCorForn", {delta({deleted(row("333", "J", "1"))})}).ok);
    ASSERT_TRUE(call("TestSetCCorForn", {delta({inserted(row("666", Value(), Value()))})}).ok);
    EXPECT_TRUE(call("TestSetCCorForn",
                     {delta({modified(row("666", "F", Value()), row("666", Value(), Value()))})})
                    .ok);
}

TEST_F(ChangeLogSaving, RepeatedRequestIdAnswersTheStoredAnswerWithoutApplyingTwice) {
    CallContext ctx = context();
    ctx.requestId = "req-0001";
    std::vector<Value> args = {delta({inserted(row("777", "J", "1"))}), ""};
    CallResult first = module->call(ctx, "TestSetCCorForn", args);
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_EQ(args[1].asString(), "feito");
    std::vector<Value> retry = {delta({inserted(row("777", "J", "1"))}), ""};
    CallResult second = module->call(ctx, "TestSetCCorForn", retry);
    ASSERT_TRUE(second.ok) << second.message;  // a second insert would break the key
    EXPECT_EQ(second.result.asInteger(), 1);
    EXPECT_EQ(retry[1].asString(), "feito");
    EXPECT_EQ(accounts("CDCCORFORN = '777'"), 1);
    // A refused call stores nothing: its retry runs again.
    ctx.requestId = "req-0002";
    db->exec("UPDATE CCORFORN SET NRINSCNABFOR = '5' WHERE CDCCORFORN = '777'");
    std::vector<Value> stale = {delta({deleted(row("777", "J", "1"))}), ""};
    EXPECT_FALSE(module->call(ctx, "TestSetCCorForn", stale).ok);
    db->exec("UPDATE CCORFORN SET NRINSCNABFOR = '1' WHERE CDCCORFORN = '777'");
    EXPECT_TRUE(module->call(ctx, "TestSetCCorForn", stale).ok);
    EXPECT_EQ(accounts("CDCCORFORN = '777'"), 0);
}

}  // namespace
}  // namespace pag::server::testing
