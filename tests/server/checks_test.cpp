// The screen's fresh checks, the discounts still available, and "mark all".
#include <map>

#include "server/boleto_query.h"
#include "server/dataset_fields.h"
#include "server/packet_builder.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class Checks : public ServerFixture {
protected:
    // cdsChaveBol holding these launch numbers of branch 0001.
    static Value chaveBol(const std::vector<std::string>& lancamentos) {
        Packet p({{"CDFILIAL", FieldType::Text, 4}, {"NRLANBOLPAG", FieldType::Text, 10}});
        for (const std::string& l : lancamentos)
            p.addRow({"0001", l});
        return packetValue(std::move(p));
    }

    void compensate(const std::string& numero, const std::string& lancamento,
                    const std::string& status) {
        db->exec("INSERT INTO COMPENSACAO VALUES ('" + numero + "', '01', '2024-05-01', '" +
                 status + "') ON CONFLICT DO NOTHING");
        db->exec("INSERT INTO COMPENSABOL VALUES ('" + numero + "', '0001', '" + lancamento + "')");
    }

    std::string text(const CallResult& r) {
        EXPECT_TRUE(r.ok) << r.message;
        return r.result.asString();
    }
};

TEST_F(Checks, CompensationOfOneBoletoAndOfAList) {
    for (const char* l : {"0000000001", "0000000002", "0000000003", "0000000004"})
        addBoleto(l);
    compensate("C1", "0000000003", "A");
    compensate("C2", "0000000002", "C");  // cancelled: frees the boleto
    EXPECT_EQ(text(call("GetVdBolCompensado", {"0001", "0000000003"})), "TRUE");
    EXPECT_EQ(text(call("GetVdBolCompensado", {"0001", "0000000002"})), "FALSE");
    EXPECT_EQ(text(call("GetVdBolCompensado", {"0001", "0000000099"})), "FALSE");

    EXPECT_EQ(text(call("GetVdTBolCompensado", {chaveBol({"0000000001", "0000000002"})})), "");
    compensate("C3", "0000000004", "A");
    // Branch and launch number of the first in the list's order.
    EXPECT_EQ(text(call("GetVdTBolCompensado",
                        {chaveBol({"0000000001", "0000000002", "0000000004", "0000000003"})})),
              "00010000000004");
    EXPECT_EQ(text(call("GetVdTBolCompensado", {chaveBol({})})), "");
}

// A walk's situations in one call: what GetSitCNAB answers for each stored boleto of the
// list, whichever way the list is read.
TEST_F(Checks, RemittanceSituationsOfAList) {
    addBoleto("0000000001", {{"IDSITUCNABP", "20"}});
    addBoleto("0000000002");
    const Value lista = chaveBol({"0000000002", "0000000099", "0000000001"});
    const auto situacoes = [&] {
        CallResult r = call("GetSitCNABBoletos", {lista});
        EXPECT_TRUE(r.ok) << r.message;
        std::map<std::string, std::string> out;
        const auto lanc = column(r.result, "NRLANBOLPAG");
        const auto sit = column(r.result, "IDSITUCNABP");
        for (size_t i = 0; i < lanc.size(); ++i)
            out[lanc[i]] = sit[i];
        return out;
    };
    const std::map<std::string, std::string> esperado{{"0000000001", "20"}, {"0000000002", "00"}};
    EXPECT_EQ(situacoes(), esperado);  // the list is most of the table: read at once
    for (int i = 10; i < 40; ++i)
        addBoleto("00000000" + std::to_string(i));
    EXPECT_EQ(situacoes(), esperado);  // a small part of it: one by one
    // A boleto of a company the operator does not work for is refused, as one by one.
    addBoleto("0000000003", {{"CDEMPRESA", "02"}});
    EXPECT_TRUE(call("GetSitCNABBoletos", {chaveBol({"0000000002"})}, context("01", "OPER01")).ok);
    EXPECT_FALSE(call("GetSitCNABBoletos", {chaveBol({"0000000003"})}, context("01", "OPER01")).ok);
    EXPECT_FALSE(call("GetSitCNAB", {"0000000003", "0001"}, context("01", "OPER01")).ok);
}

TEST_F(Checks, BarcodeCarriersAnticipationsFirstThenSettledThenOpen) {
    const std::string barra(44, '7');
    addBoleto("0000000005", {{"CDBARRAPAG", barra}, {"VRFINALBPAG", 80.5}});
    addBoleto("0000000004", {{"CDBARRAPAG", barra}, {"IDSTATBPAG", "B"}});
    addBoleto("0000000006", {{"CDBARRAPAG", barra}, {"CDFILIAL", "0003"}, {"CDEMPRESA", "02"}});
    CallResult r = call("GetVd_BarraPag", {"01", barra});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asPacket()->fields, vdBarraPagFields());
    EXPECT_EQ(column(r.result, "NRLANBOLPAG"),
              (std::vector<std::string>{"0000000004", "0000000005"}));
    db->exec("INSERT INTO ANTECIPACAO VALUES ('0002', 'ANT1', '01', '" + demoSupplierCode(3) +
             "', 500, '2024-06-10', '" + barra + "')");
    r = call("GetVd_BarraPag", {"01", barra});
    EXPECT_EQ(column(r.result, "IDANTECIPA"), (std::vector<std::string>{"1", "0", "0"}));
    const Packet& p = *r.result.asPacket();
    EXPECT_EQ(p.value(0, "NRLANBOLPAG").asString(), "ANT1");
    EXPECT_EQ(p.value(0, "NMRAZSOCFORN").asString(), "TRANSPORTADORA RODOSUL S.A.");
    EXPECT_EQ(p.value(0, "DTVENBOLPAG").asDate(), Date::fromYmd(2024, 6, 10));
    EXPECT_DOUBLE_EQ(p.value(2, "VRFINALBPAG").asFloat(), 80.5);
    EXPECT_EQ(call("GetVd_BarraPag", {"01", std::string(44, '1')}).result.asPacket()->rowCount(),
              0u);
    EXPECT_FALSE(call("GetVd_BarraPag", {"02", barra}, context("01", "OPER01")).ok);
}

TEST_F(Checks, ExtensionControlOfTheCompanyAndTheOperatorsGroups) {
    const auto parts = [&](const CallContext& ctx) {
        CallResult r = call("GetContProrVenc", {ctx.operador}, ctx);
        EXPECT_TRUE(r.ok) << r.message;
        const ValueArray& a = r.result.asArray();
        return std::make_pair(a.at(0).asPacket()->rowCount(), a.at(1).asPacket()->rowCount());
    };
    // Company "01" is controlled; ADMIN and OPER01 belong to the allowed group.
    EXPECT_EQ(parts(context("01", "OPER01")), std::make_pair(size_t{1}, size_t{1}));
    EXPECT_EQ(parts(context("01", "OPER02")), std::make_pair(size_t{1}, size_t{0}));
    EXPECT_EQ(parts(context("02", "ADMIN")), std::make_pair(size_t{0}, size_t{1}));
    db->exec("UPDATE CONTPRORVENC SET IDCONTROLA = 'N'");
    EXPECT_EQ(parts(context("01", "OPER02")), std::make_pair(size_t{0}, size_t{0}));
    db->exec("UPDATE CONTPRORVENC SET IDCONTROLA = 'S', DTINICIO = '2999-01-01'");
    EXPECT_EQ(parts(context("01", "OPER02")).first, 0u);  // not in force yet

    CallResult other = call("GetContProrVenc", {"ADMIN"}, context("01", "OPER02"));
    EXPECT_FALSE(other.ok);
    EXPECT_EQ(other.message, "Operador ADMIN difere do operador conectado OPER02.");
}

TEST_F(Checks, DiscountsListWhatIsStillAvailableForTheSupplier) {
    const std::string forn = demoSupplierCode(2), outro = demoSupplierCode(3);
    // Supplier 2 (forn) and 3 (outro).
    db->exec(
        "INSERT INTO ADIANTFORN VALUES"
        " ('0001', 'AD1', '01', '01', '01', '000000000000000000002', '2024-05-01', 300, 120.5),"
        " ('0001', 'AD2', '01', '01', '01', '000000000000000000002', '2024-04-01', 200, 0.004),"
        " ('0002', 'AD3', '01', '02', '01', '000000000000000000002', '2024-03-01', 50.25, 50.25),"
        " ('0001', 'AD4', '01', '01', '01', '000000000000000000003', '2024-03-01', 70, 70),"
        " ('0003', 'AD5', '01', '01', '02', '000000000000000000002', '2024-03-01', 70, 70);"
        "INSERT INTO NFDEVOLUCAO VALUES ('0001', 'DV1', '1', '0001', 'NF77', '2', '01',"
        " '000000000000000000002', '2024-05-02', 90, 40), ('0001', 'DV2', NULL, NULL, NULL,"
        " NULL, '01', '000000000000000000002', '2024-05-03', 60, 0);");
    CallResult r = call("GetDescontos", {"01", forn, ""});
    ASSERT_TRUE(r.ok) << r.message;
    const ValueArray& parts = r.result.asArray();
    ASSERT_EQ(parts.size(), 2u);
    const Packet& dev = *parts[0].asPacket();
    const Packet& adi = *parts[1].asPacket();
    EXPECT_EQ(dev.fields, devolucaoFields());
    EXPECT_EQ(adi.fields, adiantamentoFields());
    EXPECT_EQ(column(parts[1], "NRLANCTONF"), (std::vector<std::string>{"AD3", "AD1"}));
    EXPECT_DOUBLE_EQ(adi.value(0, "VRTOTADIA").asFloat(), 350.25);
    EXPECT_EQ(adi.value(1, "IDMARCADO").asString(), "N");
    EXPECT_DOUBLE_EQ(adi.value(1, "VRDESCONTO").asFloat(), 0.0);
    EXPECT_EQ(adi.value(1, "NMRAZSOCFORN").asString(), "EMBALAGENS SANTA RITA LTDA");
    EXPECT_EQ(adi.value(1, "DTATUAVENPAG").asDate(), Date::fromYmd(2024, 5, 1));
    ASSERT_EQ(dev.rowCount(), 1u);
    EXPECT_EQ(dev.value(0, "DOCUMENTO").asString(), "DV1/1");
    EXPECT_EQ(dev.value(0, "DOCUMENTOORI").asString(), "NF77/2");
    EXPECT_EQ(dev.value(0, "FILIDEVO").asString(), "0001");
    EXPECT_DOUBLE_EQ(dev.value(0, "VRDISPONIVEL").asFloat(), 40.0);
    EXPECT_DOUBLE_EQ(dev.value(0, "VRNFDEVOL").asFloat(), 90.0);

    // Another code registered under the same tax number is the same supplier.
    db->exec(
        "UPDATE FORNECEDOR SET NRINSJURFORN = (SELECT NRINSJURFORN FROM FORNECEDOR"
        " WHERE CDFORNECED = '" +
        forn + "') WHERE CDFORNECED = '" + outro + "'");
    const std::string insc =
        scalar("SELECT NRINSJURFORN FROM FORNECEDOR WHERE CDFORNECED = '" + forn + "'").asString();
    r = call("GetDescontos", {"01", forn, insc});
    EXPECT_EQ(column(r.result.asArray()[1], "NRLANCTONF"),
              (std::vector<std::string>{"AD4", "AD3", "AD1"}));
    EXPECT_FALSE(call("GetDescontos", {"02", forn, ""}, context("01", "OPER01")).ok);
}

class MarkAll : public Checks {
protected:
    Packet list() {
        SqlConditions where;
        where.add("B.CDEMPRESA = '01'");
        return selectBoletos(*db, where);
    }
};

TEST_F(MarkAll, MarksWhatTheGridWouldLetMarkAndTotalsToTheCent) {
    addBoleto("0000000001", {{"VRFINALBPAG", 0.1}});
    addBoleto("0000000002", {{"VRFINALBPAG", 0.2}});
    addBoleto("0000000003", {{"VRFINALBPAG", 1234.565}});
    addBoleto("0000000004", {{"VRFINALBPAG", 0.0}});
    addBoleto("0000000005", {{"IDBLOQNFFIN", "B"}});
    db->exec("INSERT INTO ANTECIPACAO VALUES ('0001', 'A1', '01', '" + demoSupplierCode(1) +
             "', 100, NULL, NULL)");
    addBoleto("0000000006", {{"NRLANCANTECIPA", "A1"}});
    addBoleto("0000000007", {{"IDSITUCNABP", "20"}});
    addBoleto("0000000008", {{"IDSITUCNABP", "01"}, {"VRFINALBPAG", 10.0}});
    addBoleto("0000000009", {{"VRFINALBPAG", 5.0}});
    const Packet shown = list();
    // Settled by another user after the list was loaded.
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'B' WHERE NRLANBOLPAG = '0000000009'");

    CallResult r = call("GetMarcaTBoletos", {packetValue(shown)});
    ASSERT_TRUE(r.ok) << r.message;
    const ValueArray& parts = r.result.asArray();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].asPacket()->fields, shown.fields);
    const std::vector<std::string> lanc = column(parts[0], "NRLANBOLPAG");
    const std::vector<std::string> marks = column(parts[0], "IDMARCADO");
    std::vector<std::string> marked;
    for (size_t i = 0; i < lanc.size(); ++i)
        if (marks[i] == "S") marked.push_back(lanc[i]);
    EXPECT_EQ(marked,
              (std::vector<std::string>{"0000000001", "0000000002", "0000000003", "0000000008"}));
    EXPECT_EQ(parts[1].asInteger(), 4);
    EXPECT_DOUBLE_EQ(parts[2].asFloat(), 1244.87);  // 0,10 + 0,20 + 1.234,57 + 10,00

    // Sent boletos may be marked when the parameters do not control remittances.
    db->exec("UPDATE GERALPAG SET IDUTCTRLCANREMP = 'N'");
    r = call("GetMarcaTBoletos", {packetValue(shown)});
    EXPECT_EQ(r.result.asArray()[1].asInteger(), 5);
    const std::vector<std::string> uncontrolled = column(r.result.asArray()[0], "IDMARCADO");
    // A list that is a small part of the table reads its boletos one by one instead of
    // the whole table: the same answer.
    for (int i = 10; i < 90; ++i)
        addBoleto("00000000" + std::to_string(i), {{"IDSTATBPAG", "B"}});
    r = call("GetMarcaTBoletos", {packetValue(shown)});
    EXPECT_EQ(column(r.result.asArray()[0], "IDMARCADO"), uncontrolled);
    EXPECT_FALSE(
        call("GetMarcaTBoletos", {packetValue(Packet(boletoFields()))}, context("01", "")).ok);
}

// A list the caller gave away gets its marks in place; one the caller still holds is
// left as it was; one given away and refused goes back to the caller whole.
TEST_F(MarkAll, ChangesOnlyAListNoOneElseHolds) {
    addBoleto("0000000001");
    if (!module) module = std::make_unique<RdmHabConta>(file.path());
    auto marks = [](const Value& v) { return column(v, "IDMARCADO"); };

    const PacketPtr kept = std::make_shared<Packet>(list());
    std::vector<Value> args{Value(kept)};
    CallResult r = module->call(context(), "GetMarcaTBoletos", args);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(marks(r.result.asArray()[0]), std::vector<std::string>{"S"});
    EXPECT_EQ(marks(Value(kept)), std::vector<std::string>{"N"});

    std::vector<Value> given;
    given.push_back(Value(PacketPtr(std::make_shared<Packet>(list()))));
    const Packet* sent = given[0].ifPacket()->get();
    r = module->call(context(), "GetMarcaTBoletos", given);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asArray()[0].ifPacket()->get(), sent);
    EXPECT_EQ(marks(r.result.asArray()[0]), std::vector<std::string>{"S"});

    auto delta = std::make_shared<Packet>(list());
    delta->isDelta = true;
    std::vector<Value> refused;
    refused.push_back(Value(PacketPtr(delta)));
    sent = delta.get();
    delta.reset();
    EXPECT_FALSE(module->call(context(), "GetMarcaTBoletos", refused).ok);
    ASSERT_TRUE(refused[0].ifPacket());
    EXPECT_EQ(refused[0].ifPacket()->get(), sent);
}

}  // namespace
}  // namespace pag::server::testing
