// GetBoletos: the 24 criteria of the filter, blank ones restricting nothing, codes literal.
#include <functional>
#include <set>

#include "server/dataset_fields.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

using Codes = std::set<std::string>;

// The filter dialog's arguments, defaults meaning "no restriction" (due dates aside).
struct Filter {
    std::string empresa = "01", forn, filiOrig, filiLanc, tipoPag, boleto;
    double vrIni = 0, vrFin = 0;
    Date vencIni, vencFin;
    std::string docIni, docFin, bancBenef, tpConta, situacao = " ", remessa, retorno, statLib;
    std::string pessoa = "T";
    Date emissIni, emissFin;
    std::string grForn, orcaIni, orcaFin;

    std::vector<Value> args() const {
        return {empresa, forn,    filiOrig, filiLanc, tipoPag,   boleto,  vrIni,    vrFin,
                vencIni, vencFin, docIni,   docFin,   bancBenef, tpConta, situacao, remessa,
                retorno, statLib, pessoa,   emissIni, emissFin,  grForn,  orcaIni,  orcaFin};
    }
};

class GetBoletos : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        addBoleto("A", {{"CDFORNECED", demoSupplierCode(1)},
                        {"VRFINALBPAG", 50.0},
                        {"NRNOTAFISC", "0000100"},
                        {"IDHABIBPAG", "S"},
                        {"DTEMISSAO", today.addDays(-30)},
                        {"CDBANCBOLP", "341"},
                        {"NRORCAEVENTO", "0000000010"}});
        addBoleto("B", {{"CDFORNECED", demoSupplierCode(6)},
                        {"VRFINALBPAG", 150.0},
                        {"NRNOTAFISC", "0000200"},
                        {"IDSITUCNABP", "10"},
                        {"NRCNABPAGREM", "0000000012"},
                        {"CDTPBAIXAPAG", "10"},
                        {"DTEMISSAO", today.addDays(-10)},
                        {"CDBANCBOLP", "237"}});
        addBoleto("C", {{"CDFILIAL", "0002"},
                        {"CDFORNECED", demoSupplierCode(10)},
                        {"VRFINALBPAG", 250.0},
                        {"NRNOTAFISC", "0000300"},
                        {"IDSITUCNABP", "20"},
                        {"NRCNABPAGRET", "0000000034"},
                        {"IDBLOQNFFIN", "B"},
                        {"DTVENBOLPAG", today.addDays(5)},
                        {"NRORCAEVENTO", "0000000020"}});
        addBoleto("D", {{"CDFORNECED", demoSupplierCode(11)},
                        {"IDSITUCNABP", "01"},
                        {"DTVENBOLPAG", today.addDays(-5)}});
        addBoleto("SETTLED", {{"IDSTATBPAG", "B"}});
        addBoleto("OTHERCO", {{"CDFILIAL", "0003"}, {"CDEMPRESA", "02"}});
        db->exec(
            "INSERT INTO CNTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDEMPRESA,"
            " CDFORNECED, CDFILIBPAG, NRLANBOLPAG, CDTPCTPAGAR) VALUES"
            " ('0002', 'NF1', '01', '01', '01', '000000000000000000001', '0001', 'A', '000004'),"
            " ('0001', 'NF2', '01', '01', '01', '000000000000000000006', '0001', 'B', '000001')");
    }
    Codes load(const Filter& f) {
        CallResult r = call("GetBoletos", f.args());
        EXPECT_TRUE(r.ok) << r.message;
        if (!r.ok) return {};
        auto v = column(r.result, "NRLANBOLPAG");
        return Codes(v.begin(), v.end());
    }
};

TEST_F(GetBoletos, EachCriterionRestrictsAloneAndBlankOnesNothing) {
    struct Case {
        std::function<void(Filter&)> set;
        Codes expected;
    };
    const Date t = today;
    const Case cases[] = {
        {[](Filter&) {}, {"A", "B", "C", "D"}},
        {[](Filter& f) { f.forn = " ", f.situacao = "", f.remessa = "   "; }, {"A", "B", "C", "D"}},
        {[](Filter& f) { f.forn = demoSupplierCode(1) + ", " + demoSupplierCode(10); }, {"A", "C"}},
        {[](Filter& f) { f.filiLanc = "0002"; }, {"C"}},
        {[](Filter& f) { f.filiOrig = "0002"; }, {"A"}},  // the branch of the payables
        {[](Filter& f) { f.tipoPag = "10;01"; }, {"A", "B", "C", "D"}},
        {[](Filter& f) { f.tipoPag = "10"; }, {"B"}},
        {[](Filter& f) { f.bancBenef = "341,237"; }, {"A", "B"}},
        {[](Filter& f) { f.tpConta = "000004"; }, {"A"}},
        {[](Filter& f) { f.grForn = "OBR,OUT"; }, {"C", "D"}},  // suppliers 10 and 11
        {[](Filter& f) { f.boleto = "S"; }, {"A"}},
        {[](Filter& f) { f.boleto = "N"; }, {"B", "C", "D"}},
        {[](Filter& f) { f.statLib = "B"; }, {"C"}},
        {[](Filter& f) { f.statLib = "L"; }, {"A", "B", "D"}},
        {[](Filter& f) { f.situacao = "_00"; }, {"A"}},
        {[](Filter& f) { f.situacao = " _01_20"; }, {"C", "D"}},
        {[](Filter& f) { f.situacao = "_00_01_10_20"; }, {"A", "B", "C", "D"}},
        {[](Filter& f) { f.pessoa = "J"; }, {"A"}},
        {[](Filter& f) { f.pessoa = "F"; }, {"B"}},
        {[](Filter& f) { f.pessoa = "_O_I"; }, {"C", "D"}},
        {[](Filter& f) { f.vrIni = 100, f.vrFin = 200; }, {"B", "D"}},
        {[](Filter& f) { f.vrFin = 100; }, {"A", "D"}},  // the default 100,00: limits included
        {[t](Filter& f) { f.vencIni = t, f.vencFin = t; }, {"A", "B"}},
        {[t](Filter& f) { f.vencIni = t; }, {"A", "B", "C"}},
        {[t](Filter& f) { f.emissIni = t.addDays(-20), f.emissFin = t; }, {"B"}},
        {[](Filter& f) { f.docIni = "0000150", f.docFin = "0000300"; }, {"B", "C"}},
        {[](Filter& f) { f.remessa = "0000000012"; }, {"B"}},
        {[](Filter& f) { f.retorno = "0000000034"; }, {"C"}},
        {[](Filter& f) { f.orcaIni = "0000000015", f.orcaFin = "0000000099"; }, {"C"}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("caso " + std::to_string(i));
        Filter f;
        cases[i].set(f);
        EXPECT_EQ(load(f), cases[i].expected);
    }
}

TEST_F(GetBoletos, CodesHoldingQuotesAndSqlAreJustCodes) {
    Filter f;
    f.forn = "' OR '1'='1";
    EXPECT_EQ(load(f), Codes{});
    f.forn = demoSupplierCode(1) + "') OR 1=1 --";
    EXPECT_EQ(load(f), Codes{});
    f = {};
    f.situacao = "_00_') OR ('1'='1";
    EXPECT_EQ(load(f), Codes{"A"});  // "00" and a code that matches nothing
    f = {};
    f.empresa = "01' OR '1'='1";
    EXPECT_FALSE(call("GetBoletos", f.args()).ok);  // not a company of the operator
    // A supplier whose code itself holds a quote is found by it.
    db->exec(
        "INSERT INTO FORNECEDOR (CDFORNECED, NMRAZSOCFORN, IDTPIJURFORN) VALUES "
        "('D''ORO', 'D''ORO LTDA', 'J')");
    addBoleto("Q", {{"CDFORNECED", "D'ORO"}});
    f = {};
    f.forn = "D'ORO";
    EXPECT_EQ(load(f), Codes{"Q"});
    f.boleto = "X";
    CallResult bad = call("GetBoletos", f.args());
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.message.find("habilitação"), std::string::npos) << bad.message;
}

TEST_F(GetBoletos, RowsCarryTheWholeBoletoRecord) {
    db->exec("UPDATE BOLETPAGAR SET CDREDUCONT = '002', CDMOTIPROR = '01' WHERE NRLANBOLPAG = 'A'");
    CallResult r = call("GetBoletos", Filter{}.args());
    ASSERT_TRUE(r.ok) << r.message;
    const Packet& p = *r.result.asPacket();
    EXPECT_EQ(p.fields, boletoFields());
    size_t a = 0;
    while (p.value(a, "NRLANBOLPAG").asString() != "A")
        ++a;
    EXPECT_EQ(p.value(a, "NMFANTFORN").asString(), "ATACADAO DIST");
    EXPECT_EQ(p.value(a, "NMTPBAIXAPAG").asString(), "CNAB BOLETO BANCARIO");
    EXPECT_EQ(p.value(a, "IDBAIXAUTILP").asString(), "B");
    EXPECT_EQ(p.value(a, "CDBANCO").asString(), "341");
    EXPECT_EQ(p.value(a, "CDCONTCORR").asString(), "0458732");
    EXPECT_EQ(p.value(a, "CDBANCCNAB").asString(), "341");
    EXPECT_EQ(p.value(a, "DSMOTIPROR").asString(), "ATRASO NA ENTREGA");
    EXPECT_EQ(p.value(a, "IDMARCADO").asString(), "N");
    EXPECT_EQ(p.value(a, "NRPARCBOLPAGVISU").asString(), "00");
    EXPECT_EQ(p.value(a, "DTVENBOLPAG").asDate(), today);
    EXPECT_EQ(p.value(a, "VRFINALBPAG").type(), ValueType::Float);
    // NRPARCBOLPAGNUM keeps the server's order: due date first.
    EXPECT_EQ(p.value(0, "NRPARCBOLPAGNUM").asFloat(), 1.0);
    EXPECT_EQ(p.value(0, "NRLANBOLPAG").asString(), "D");
}

}  // namespace
}  // namespace pag::server::testing
