// GetGeral and the detail loads of the current boleto.
#include "server/dataset_fields.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class LoadOperations : public ServerFixture {};

TEST_F(LoadOperations, GetGeralAnswersTheThreeParameterPackets) {
    CallResult r = call("GetGeral", {"0002"});
    ASSERT_TRUE(r.ok) << r.message;
    const ValueArray& parts = r.result.asArray();
    ASSERT_EQ(parts.size(), 3u);
    const Packet& geral = *parts[0].asPacket();
    const Packet& pag = *parts[1].asPacket();
    const Packet& filial = *parts[2].asPacket();
    EXPECT_EQ(geral.fields, paramGeralFields());
    EXPECT_EQ(pag.fields, geralPagFields());
    EXPECT_EQ(filial.fields, paramFilialFields());
    ASSERT_EQ(geral.rowCount(), 1u);
    EXPECT_EQ(geral.value(0, "IDEXIBDADORC").asString(), "S");
    EXPECT_EQ(geral.value(0, "IDUTILDTPROC").asString(), "S");
    EXPECT_EQ(pag.value(0, "QTDIAANTBOLP").asFloat(), 5.0);
    EXPECT_EQ(pag.value(0, "IDHABIBOLE").asString(), "S");
    EXPECT_EQ(filial.value(0, "NRTAMNUMNFUT").asFloat(), 7.0);
    // A branch's own parameter set wins over the general one.
    db->exec(
        "INSERT INTO PARAMGERAL (CDPARGERAL, CDFILIAL, IDUTILDTPROC, IDEXIBDADORC) "
        "VALUES ('0002', '0002', 'N', 'N')");
    r = call("GetGeral", {"0002"});
    EXPECT_EQ(r.result.asArray()[0].asPacket()->value(0, "IDEXIBDADORC").asString(), "N");
    r = call("GetGeral", {"0001"});
    EXPECT_EQ(r.result.asArray()[0].asPacket()->value(0, "IDEXIBDADORC").asString(), "S");
    db->exec("DELETE FROM PARAMGERAL");
    r = call("GetGeral", {"0001"});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Parâmetros gerais não cadastrados.");
}

TEST_F(LoadOperations, PayablesAndAdjustmentsOfOneBoleto) {
    addBoleto("0000000001");
    addBoleto("0000000002");
    db->exec(
        "INSERT INTO CNTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDEMPRESA,"
        " CDFORNECED, CDFILIBPAG, NRLANBOLPAG, CDTPCTPAGAR, VRORIGPAG, VRATUAPAG, CDSERIEENTR)"
        " VALUES ('0001', 'NF1', '01', '02', '01', '000000000000000000001', '0001',"
        " '0000000001', '000002', 100, 90, '1'),"
        " ('0001', 'NF2', '01', '01', '01', '000000000000000000001', '0001', '0000000002',"
        " '000001', 10, 10, NULL);"
        "INSERT INTO AJBOLPAG VALUES ('0001', '0000000001', '0010', 10, 'M');");
    CallResult r = call("GetCntPagar", {"0001", "0000000001"});
    ASSERT_TRUE(r.ok) << r.message;
    const Packet& p = *r.result.asPacket();
    EXPECT_EQ(p.fields, cntPagarFields());
    ASSERT_EQ(p.rowCount(), 1u);
    EXPECT_EQ(p.value(0, "NRPARCELAPAG").asString(), "02");
    EXPECT_EQ(p.value(0, "IDTPCTPAGAR").asString(), "2");
    EXPECT_EQ(p.value(0, "VRATUAPAG").asFloat(), 90.0);
    r = call("GetAjBolPag", {"0001", "0000000001"});
    ASSERT_TRUE(r.ok) << r.message;
    const Packet& a = *r.result.asPacket();
    EXPECT_EQ(a.fields, ajBolPagFields());
    ASSERT_EQ(a.rowCount(), 1u);
    EXPECT_EQ(a.value(0, "IDAJUCTPAG").asString(), "D");
    EXPECT_EQ(a.value(0, "DSAJUCTPAG").asString(), "DESCONTO COMERCIAL");
    EXPECT_EQ(column(call("GetAjBolPag", {"0001", "0000000002"}).result, "CDAJUCTPAG").size(), 0u);
    // A boleto of a company the operator may not see.
    addBoleto("0000000003", {{"CDFILIAL", "0003"}, {"CDEMPRESA", "02"}});
    EXPECT_FALSE(call("GetCntPagar", {"0003", "0000000003"}, context("01", "OPER01")).ok);
}

TEST_F(LoadOperations, InstallmentsOfASplitSetOrAloneBoleto) {
    addBoleto("0000000010",
              {{"NRPARCBOLPAG", "01"}, {"NRORIGBOLPAG", "0000000010"}, {"CDMOTIPARC", "01"}});
    addBoleto("0000000012", {{"NRPARCBOLPAG", "03"}, {"NRORIGBOLPAG", "0000000010"}});
    addBoleto("0000000011", {{"NRPARCBOLPAG", "02"}, {"NRORIGBOLPAG", "0000000010"}});
    addBoleto("0000000020");
    CallResult r = call("GetParcelas", {"0001", "0000000011", "0000000010", "01"});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asPacket()->fields, parcelasFields());
    EXPECT_EQ(column(r.result, "NRPARCBOLPAGVISU"), (std::vector<std::string>{"01", "02", "03"}));
    EXPECT_EQ(r.result.asPacket()->value(2, "NRPARCBOLPAGNUM").asFloat(), 3.0);
    EXPECT_EQ(r.result.asPacket()->value(0, "DSMOTIPARC").asString(),
              "RENEGOCIACAO COM FORNECEDOR");
    r = call("GetParcelas", {"0001", "0000000020", "", "01"});
    EXPECT_EQ(column(r.result, "NRLANBOLPAG"), std::vector<std::string>{"0000000020"});
    EXPECT_FALSE(call("GetParcelas", {"0001", "0000000020", "", "02"}, context("01", "OPER01")).ok);
}

}  // namespace
}  // namespace pag::server::testing
