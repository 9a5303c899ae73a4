#include "contracts/suite_access.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "base_screens_suite_db.h"
#include "platform/dataset/client_dataset.h"

namespace pag {
namespace {

class SuiteAccessTest : public ::testing::Test {
protected:
    SuiteAccessTest() : db(test::openSuiteDatabase()) {
        db->exec("INSERT INTO OPEREMPRESA (CDOPERADOR, CDEMPRESA) VALUES ('ANA', '01');");
    }

    // The general parameters as the screen holds them (cdsParamGeral's content).
    static Packet params(std::initializer_list<const char*> switches) {
        Packet p(std::vector<PacketField>{{"CDPARGERAL", FieldType::Text, 4},
                                          {"IDUTILDTPROC", FieldType::Text, 1}});
        for (const char* s : switches)
            p.addRow({Value("0001"), Value(s)});
        return p;
    }
    void lock(const char* oper, const char* isoDate, const char* sistema = "Pag") {
        Statement st = db->prepare(
            "INSERT INTO DTPROCSIST (CDSISTEMA, CDOPERADOR, DTPROCLIB) VALUES (:S, :O, :D)");
        st.bind("S", Value(sistema));
        st.bind("O", Value(oper));
        st.bind("D", Value(isoDate));
        st.execute();
    }
    bool blocked(const char* oper, Date date, const Packet& p) {
        return DtProcBloq(*db, "Pag", oper, date, p);
    }

    std::unique_ptr<Database> db;
    const Packet on = params({"S"});
    const Date may31 = Date::fromYmd(2024, 5, 31);
    const Date jun1 = Date::fromYmd(2024, 6, 1);
    const Date jun10 = Date::fromYmd(2024, 6, 10);
};

TEST_F(SuiteAccessTest, OperatorCompanyRelation) {
    EXPECT_TRUE(AcessoOperEmpresa(*db, "01", "ANA"));
    EXPECT_FALSE(AcessoOperEmpresa(*db, "02", "ANA"));
    EXPECT_FALSE(AcessoOperEmpresa(*db, "01", "BETO"));
    EXPECT_FALSE(AcessoOperEmpresa(*db, "1", "ANA"));  // codes as stored, not normalised
    EXPECT_FALSE(AcessoOperEmpresa(*db, "", "ANA"));
    EXPECT_FALSE(AcessoOperEmpresa(*db, "01", ""));
}

TEST_F(SuiteAccessTest, OwnRowGivesTheFirstAllowedDate) {
    lock("ANA", "2024-06-01");
    EXPECT_TRUE(blocked("ANA", may31, on));
    EXPECT_FALSE(blocked("ANA", jun1, on));  // the first allowed date itself is free
    EXPECT_FALSE(blocked("ANA", jun10, on));
    EXPECT_FALSE(blocked("ANA", Date(), on));  // an empty date is never blocked
}

TEST_F(SuiteAccessTest, OwnRowWinsOverTheRowOfEveryOperator) {
    lock("*", "2024-06-10");
    lock("ANA", "2024-06-01");
    EXPECT_FALSE(blocked("ANA", jun1, on));  // '*' alone would block it
    EXPECT_TRUE(blocked("BETO", jun1, on));  // no own row: the '*' row applies
    EXPECT_FALSE(blocked("BETO", jun10, on));
    EXPECT_EQ(firstAllowedProcessingDate(*db, "Pag", "BETO"), jun10);
}

TEST_F(SuiteAccessTest, NoRowOrSwitchOffMeansNoLock) {
    lock("ANA", "2024-06-01", "Rec");  // another system's lock does not count
    EXPECT_FALSE(blocked("ANA", may31, on));
    EXPECT_EQ(firstAllowedProcessingDate(*db, "Pag", "ANA"), std::nullopt);

    lock("ANA", "2024-06-01");
    EXPECT_FALSE(blocked("ANA", may31, params({"N"})));
    EXPECT_FALSE(blocked("ANA", may31, params({})));
    EXPECT_FALSE(blocked("ANA", may31, params({"s"})));      // the switch is "S" exactly
    EXPECT_TRUE(blocked("ANA", may31, params({"N", "S"})));  // any parameter row, as the server
}

TEST_F(SuiteAccessTest, ServerSwitchReadsTheParameterTable) {
    EXPECT_FALSE(processingDateLockInForce(*db));
    db->exec("INSERT INTO PARAMGERAL (CDPARGERAL, IDUTILDTPROC) VALUES ('0001', 'N')");
    EXPECT_FALSE(processingDateLockInForce(*db));
    db->exec("INSERT INTO PARAMGERAL (CDPARGERAL, IDUTILDTPROC) VALUES ('0002', 'S')");
    EXPECT_TRUE(processingDateLockInForce(*db));
}

TEST_F(SuiteAccessTest, ReadsTheSwitchFromTheScreensParameterDataset) {
    lock("ANA", "2024-06-01");
    ClientDataSet cdsParamGeral("cdsParamGeral");
    EXPECT_THROW(DtProcBloq(*db, "Pag", "ANA", may31, cdsParamGeral), std::logic_error);
    cdsParamGeral.SetData(std::make_shared<Packet>(on));
    EXPECT_TRUE(DtProcBloq(*db, "Pag", "ANA", may31, cdsParamGeral));

    Packet other(std::vector<PacketField>{{"CDPARGERAL", FieldType::Text, 4}});
    other.addRow({Value("0001")});
    EXPECT_THROW(blocked("ANA", may31, other), std::invalid_argument);
}

}  // namespace
}  // namespace pag
