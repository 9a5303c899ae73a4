// SetTribBol: the tax guide data of a boleto paid by a tax guide.
#include "grouping_fixture.h"

namespace pag::server::testing {
namespace {

class TaxGuide : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        addBoleto("0000000001", {{"CDTPBAIXAPAG", "13"}});  // GPS
    }
    // SetTribBol's ten arguments, with the ones a case changes.
    CallResult store(std::map<size_t, Value> changes = {}) {
        std::vector<Value> args = {"0000000001", "0001", "0000002100", Date::fromYmd(2024, 4, 1),
                                   "",           12.5,   "",           "",
                                   0.0,          ""};
        for (auto& [i, v] : changes)
            args[i] = v;
        return call("SetTribBol", args);
    }
    std::vector<std::string> guide() {
        return rows(
            "SELECT CDRECEITAGUIA, DTAPURACGUIA, NRREFEGUIA, VROUTRENTGUIA, NRLACRCONECTSOC,"
            " NRDIGICONECTSOC, VRPERCENTTRIB, NRPARCELNOTIFIC FROM BOLETPAGAR");
    }
    void expectRefused(std::map<size_t, Value> changes, const std::string& text) {
        const std::vector<std::string> before = guide();
        CallResult r = store(std::move(changes));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.message.find(text), std::string::npos) << r.message;
        EXPECT_EQ(guide(), before);
    }
};

TEST_F(TaxGuide, StoresTheGuideFields) {
    CallResult r = store();
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(guide(), std::vector<std::string>{"2100|2024-04-01|∅|12,5|∅|∅|0|∅"});
    // An FGTS guide: no date of its own, identifier, seal and its digits.
    db->exec("UPDATE BOLETPAGAR SET CDTPBAIXAPAG = '14'");
    r = store({{2, "0000000115"},
               {3, Date()},
               {4, "00001234567890123456"},
               {5, 0.0},
               {6, "123456789"},
               {7, "07"}});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(guide(), std::vector<std::string>{"0115|∅|00001234567890123456|0|123456789|07|0|∅"});
}

TEST_F(TaxGuide, Refusals) {
    expectRefused({{2, "0000012345"}}, "deve ter no máximo 4 dígitos");
    expectRefused({{2, " "}}, "Código da receita deve ser informado.");
    expectRefused({{6, "1234567890"}}, "Lacre de conectividade social deve ter no máximo 9");
    expectRefused({{5, -1.0}}, "Valor não pode ser negativo.");
    expectRefused({{0, "0000000009"}}, "não encontrado");
    db->exec("UPDATE BOLETPAGAR SET IDSITUCNABP = '01'");
    expectRefused({}, "Boleto enviado ao banco (via CNAB) não pode ser alterado.");
    db->exec("UPDATE BOLETPAGAR SET IDSITUCNABP = '00', CDTPBAIXAPAG = '01'");
    expectRefused({}, "Operação disponível apenas para boletos com tipo de baixa");
}

}  // namespace
}  // namespace pag::server::testing
