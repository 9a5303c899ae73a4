// Whatever an operation writes, a date or number that does not fit its column refuses
// the call before it commits, on either backend, naming the field and the record.
#include "server/operation_registry.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

// Operations that write straight SQL, as a careless operation would: argument 0 the
// SET clause for boleto 0001/0000000001, argument 1 (optional) a second statement run
// after it.
OperationRegistry auditRegistry() {
    OperationRegistry r;
    registerAllOperations(r);
    r.add("TestGravaDireto", Access::Write, [](OperationCall& c) {
        c.db.exec("UPDATE BOLETPAGAR SET " + c.text(0) +
                  " WHERE CDFILIAL = '0001' AND NRLANBOLPAG = '0000000001'");
        if (c.args.size() > 1) c.db.exec(c.text(1));
        return Value("OK");
    });
    return r;
}

class WriteAuditCalls : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        if (IsSkipped()) return;
        addBoleto("0000000001");
        module = std::make_unique<RdmHabConta>(file.path(), auditRegistry());
    }
    Value stored(const std::string& column) {
        return scalar("SELECT " + column +
                      " FROM BOLETPAGAR WHERE CDFILIAL = '0001' AND NRLANBOLPAG = '0000000001'");
    }
    std::string due() { return stored("DTVENBOLPAG").asString(); }
    double fine() { return stored("COALESCE(VRPEMULBPAG, 0)").asFloat(); }
};

TEST_F(WriteAuditCalls, AValueOutOfItsColumnRefusesTheCallAndNothingIsStored) {
    struct Case {
        std::string set, field, reason;
    };
    const Case cases[] = {
        {"DTVENBOLPAG = '1899-12-31'", "DTVENBOLPAG",
         "não é uma data entre 01/01/1900 e 31/12/2999."},
        {"VRPEMULBPAG = 1000000000000000", "VRPEMULBPAG",
         "está fora do limite de 999.999.999.999,99."},
        {"DTVENBOLPAG = '2024-06-01', VRMULTABPAG = -1000000000000000", "VRMULTABPAG",
         "está fora do limite de 999.999.999.999,99."},
    };
    for (const Case& c : cases) {
        CallResult r = call("TestGravaDireto", {c.set});
        EXPECT_FALSE(r.ok) << c.set;
        const std::string head =
            "Valor inválido no campo " + c.field + " (BOLETPAGAR 0001/0000000001): ";
        EXPECT_EQ(r.message.substr(0, head.size()), head) << r.message;
        EXPECT_NE(r.message.find(c.reason), std::string::npos) << r.message;
        EXPECT_EQ(due(), "2024-05-15") << c.set;
        EXPECT_EQ(fine(), 0.0) << c.set;
    }
    // The connection carries on: the next good call is stored.
    CallResult ok = call("TestGravaDireto", {"DTVENBOLPAG = '2024-06-03'"});
    EXPECT_TRUE(ok.ok) << ok.message;
    EXPECT_EQ(due(), "2024-06-03");
}

TEST_F(WriteAuditCalls, RowsAreJudgedAsTheCallLeavesThem) {
    // Put right later in the same call: accepted.
    CallResult fixed = call("TestGravaDireto", {"DTVENBOLPAG = '1800-01-01'",
                                                "UPDATE BOLETPAGAR SET DTVENBOLPAG = '2024-07-01'"
                                                " WHERE NRLANBOLPAG = '0000000001'"});
    EXPECT_TRUE(fixed.ok) << fixed.message;
    EXPECT_EQ(due(), "2024-07-01");
    // Inserted and removed again in the same call: nothing left to judge.
    CallResult gone =
        call("TestGravaDireto",
             {"VRPEMULBPAG = 2",
              "INSERT INTO HISTPRORBOL (CDFILIAL, NRLANBOLPAG, DTVENNOVA, CDMOTIPROR, CDOPERADOR)"
              " SELECT B.CDFILIAL, B.NRLANBOLPAG, '1700-01-01', MIN(M.CDMOTIPROR), 'ADMIN'"
              " FROM BOLETPAGAR B, MOTIVOPROR M WHERE B.NRLANBOLPAG = '0000000001'"
              " GROUP BY B.CDFILIAL, B.NRLANBOLPAG;"
              "DELETE FROM HISTPRORBOL"});
    EXPECT_TRUE(gone.ok) << gone.message;
    EXPECT_EQ(fine(), 2.0);
    // Inserted and left: refused, naming the new record by its key.
    CallResult kept =
        call("TestGravaDireto",
             {"VRPEMULBPAG = 3",
              "INSERT INTO HISTPRORBOL (CDFILIAL, NRLANBOLPAG, DTVENNOVA, CDMOTIPROR, CDOPERADOR)"
              " SELECT B.CDFILIAL, B.NRLANBOLPAG, '1700-01-01', MIN(M.CDMOTIPROR), 'ADMIN'"
              " FROM BOLETPAGAR B, MOTIVOPROR M WHERE B.NRLANBOLPAG = '0000000001'"
              " GROUP BY B.CDFILIAL, B.NRLANBOLPAG"});
    EXPECT_FALSE(kept.ok);
    EXPECT_NE(kept.message.find("campo DTVENNOVA (HISTPRORBOL "), std::string::npos)
        << kept.message;
    EXPECT_EQ(fine(), 2.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM HISTPRORBOL").asInteger(), 0);
}

}  // namespace
}  // namespace pag::server::testing
