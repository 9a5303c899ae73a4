// SetBoletos: payment data stored in one transaction, stale rows refused, guards enforced.
#include <map>

#include "grouping_fixture.h"
#include "server/boleto_query.h"
#include "server/dataset_fields.h"

namespace pag::server::testing {
namespace {

class SetBoletos : public GroupingFixture {
protected:
    void SetUp() override {
        GroupingFixture::SetUp();
        addBoleto("0000000001", {{"DTENTRSAID", today.addDays(-20)},
                                 {"DTEMISSAO", today.addDays(-25)},
                                 {"VRPEMULBPAG", 2.0}});
        addBoleto("0000000002", {{"VRBOLPAG", 250.0}, {"VRFINALBPAG", 250.0}});
    }

    // The boleto as the screen holds it after loading the list.
    std::vector<Value> listed(const std::string& lancamento) {
        SqlConditions where;
        where.add("B.NRLANBOLPAG = :L", "L", Value(lancamento));
        Packet p = selectBoletos(*db, where);
        EXPECT_EQ(p.rowCount(), 1u) << lancamento;
        return p.layout.decode(p.rows.at(0));
    }

    // A modified row: the boleto as listed, with `changes` applied.
    PacketChange modify(const std::string& lancamento, const Fields& changes) {
        return modifiedRow(listed(lancamento), changes);
    }

    CallResult save(std::vector<PacketChange> changes, const CallContext& ctx = context()) {
        return call("SetBoletos", {boletoChangeLog(std::move(changes))}, ctx);
    }

    Value stored(const std::string& lancamento, const std::string& columnName) {
        return scalar("SELECT " + columnName + " FROM BOLETPAGAR WHERE NRLANBOLPAG = '" +
                      lancamento + "'");
    }

    void expectRefused(const CallResult& r, const std::string& text) {
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, text);
    }
};

TEST_F(SetBoletos, StoresPaymentDataWithPlaceholdersAsNullAndIgnoresEverythingElse) {
    // A post from the payment-data page: nulls became -1 and a single blank.
    std::vector<Value> original = listed("0000000001");
    Fields changes;
    for (const PacketField& f : boletoFields()) {
        if (!original[boletoFieldIndex(f.name)].isNull()) continue;
        if (f.type == FieldType::Float) changes[f.name] = -1.0;
        if (f.type == FieldType::Text) changes[f.name] = " ";
    }
    const Fields payment = {
        {"IDHABIBPAG", "S"},       {"CDTPBAIXAPAG", "02"},         {"CDREDUCONT", "002"},
        {"CDBANCBOLP", "341"},     {"CDAGENBOLP", "0912"},         {"CDCCORBOLP", "00450001"},
        {"VRMORDIABPAG", 0.35},    {"VRPEMULBPAG", 0.0},           {"IDSITUCNABP", "00"},
        {"IDMARCADO", "S"},        {"NMRAZSOCFORN", "OUTRO NOME"}, {"NMTPBAIXAPAG", "OUTRO TIPO"},
        {"CDRECEITAGUIA", "5952"}, {"VROUTRENTGUIA", 9.0}};
    for (const auto& [f, v] : payment)
        changes[f] = v;
    CallResult r =
        save({modifiedRow(original, changes), modify("0000000002", {{"IDMARCADO", "S"}})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asInteger(), 1);  // the mark-only row stores nothing

    // -1 and " " are no value; tax guide data is stored by its own dialog, names by their
    // own tables.
    EXPECT_EQ(rows("SELECT IDHABIBPAG, CDTPBAIXAPAG, CDREDUCONT, CDCCORBOLP, VRMORDIABPAG,"
                   " VRPEMULBPAG, VRMULTABPAG, DSLINHBARPAG, CDBARRAPAG, CDRECEITAGUIA,"
                   " VROUTRENTGUIA FROM BOLETPAGAR WHERE NRLANBOLPAG = '0000000001'"),
              std::vector<std::string>{"S|02|002|00450001|0,35|0|∅|∅|∅|∅|∅"});
    EXPECT_EQ(scalar("SELECT NMRAZSOCFORN FROM FORNECEDOR WHERE CDFORNECED = '" +
                     demoSupplierCode(1) + "'")
                  .asString(),
              "ATACADAO DISTRIBUIDORA DE ALIMENTOS LTDA");
    EXPECT_EQ(scalar("SELECT NMTPBAIXAPAG FROM TIPOBAIXAPAG WHERE CDTPBAIXAPAG = '02'").asString(),
              "CNAB CREDITO EM CONTA");
    EXPECT_EQ(stored("0000000002", "IDHABIBPAG").asString(), "N");
}

TEST_F(SetBoletos, SecondSessionChangingTheSameBoletoIsRefusedAndStoresNothing) {
    RdmHabConta first(file.path()), second(file.path());
    CallContext admin = context(), oper = context("01", "OPER01");
    // Both screens loaded the list; the second also changes another boleto.
    const PacketChange byFirst = modify("0000000001", {{"IDHABIBPAG", "S"}});
    const PacketChange bySecond = modify("0000000001", {{"CDTPBAIXAPAG", "10"}});
    const PacketChange otherBySecond = modify("0000000002", {{"IDHABIBPAG", "S"}});

    std::vector<Value> a = {boletoChangeLog({byFirst})};
    CallResult r = first.call(admin, "SetBoletos", a);
    ASSERT_TRUE(r.ok) << r.message;
    std::vector<Value> b = {boletoChangeLog({otherBySecond, bySecond})};
    expectRefused(second.call(oper, "SetBoletos", b),
                  "Boleto alterado por outro usuário. Atualize a lista de boletos e repita a "
                  "operação.");
    EXPECT_EQ(stored("0000000001", "IDHABIBPAG").asString(), "S");
    EXPECT_EQ(stored("0000000001", "CDTPBAIXAPAG").asString(), "01");
    EXPECT_EQ(stored("0000000002", "IDHABIBPAG").asString(), "N");
}

TEST_F(SetBoletos, StaleRowsNameWhatHappenedMeanwhile) {
    const PacketChange enable = modify("0000000001", {{"IDHABIBPAG", "S"}});
    db->exec("UPDATE BOLETPAGAR SET VRFINALBPAG = 99.0 WHERE NRLANBOLPAG = '0000000001'");
    expectRefused(save({enable}), "Valor de uma conta foi alterado por outro usuário.");
    // A difference below the cent is no change.
    db->exec("UPDATE BOLETPAGAR SET VRFINALBPAG = 100.001 WHERE NRLANBOLPAG = '0000000001'");
    EXPECT_TRUE(save({enable}).ok);

    const PacketChange mark = modify("0000000002", {{"IDMARCADO", "S"}});
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'B' WHERE NRLANBOLPAG = '0000000002'");
    expectRefused(save({mark}), "Boleto já baixado por outro usuário.");
    db->exec("UPDATE BOLETPAGAR SET IDSTATBPAG = 'A' WHERE NRLANBOLPAG = '0000000002'");

    addBoleto("0000000003");
    const PacketChange gone = modify("0000000003", {{"IDHABIBPAG", "S"}});
    db->exec(
        "UPDATE BOLETPAGAR SET CDFILIREAL = '0001', NRLANBOLREAL = '0000000002'"
        " WHERE NRLANBOLPAG = '0000000003'");
    const std::string excluded =
        "Boleto excluído ou associado por outro usuário. Atualize a lista de boletos.";
    expectRefused(save({gone}), excluded);
    db->exec("DELETE FROM BOLETPAGAR WHERE NRLANBOLPAG = '0000000003'");
    expectRefused(save({gone}), excluded);
}

TEST_F(SetBoletos, NetValueTheScreenAlreadyLoweredAfterADeductionIsNoConflict) {
    // The deductions dialog lowered the net value on the server and in the row (marked).
    const PacketChange deducted =
        modify("0000000002", {{"IDMARCADO", "S"}, {"VRFINALBPAG", 230.0}});
    db->exec("UPDATE BOLETPAGAR SET VRFINALBPAG = 230.0 WHERE NRLANBOLPAG = '0000000002'");
    CallResult r = save({deducted, modify("0000000001", {{"IDHABIBPAG", "S"}})});
    ASSERT_TRUE(r.ok) << r.message;
    // A net value only the client changed is never stored.
    r = save({modify("0000000001", {{"VRFINALBPAG", 1.0}, {"VRBOLPAG", 1.0}})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asInteger(), 0);
    EXPECT_DOUBLE_EQ(stored("0000000001", "VRFINALBPAG").asFloat(), 100.0);
}

TEST_F(SetBoletos, GuardsOfTheScreenHoldOnTheServer) {
    addBoleto("0000000010", {{"IDBLOQNFFIN", "B"}});
    expectRefused(save({modify("0000000010", {{"IDHABIBPAG", "S"}})}),
                  "Operação bloqueada! Boleto está ligado a uma nota bloqueada.");
    db->exec("INSERT INTO ANTECIPACAO VALUES ('0001', 'A1', '01', '" + demoSupplierCode(1) +
             "', 100, NULL, NULL)");
    addBoleto("0000000011", {{"NRLANCANTECIPA", "A1"}});
    expectRefused(save({modify("0000000011", {{"CDTPBAIXAPAG", "02"}})}),
                  "Operação bloqueada! Boleto associado a uma antecipação de fornecedor não pode "
                  "ser alterado.");
    // Marks alone store nothing, so they pass on such boletos.
    EXPECT_TRUE(save({modify("0000000010", {{"IDMARCADO", "S"}})}).ok);

    addBoleto("0000000012", {{"DTVENBOLPAG", today.addDays(-20)}});
    expectRefused(save({modify("0000000012", {{"IDHABIBPAG", "S"}})}, context("01", "OPER01")),
                  "Boleto anterior à data de processamento não pode ser alterado.");
    EXPECT_TRUE(save({modify("0000000012", {{"IDHABIBPAG", "S"}})}).ok);  // ADMIN: today - 60

    addBoleto("0000000013", {{"CDFILIAL", "0003"}, {"CDEMPRESA", "02"}});
    CallResult other = save({modify("0000000013", {{"IDHABIBPAG", "S"}})}, context("01", "OPER01"));
    EXPECT_FALSE(other.ok);
    EXPECT_EQ(other.message, "Empresa 02 não relacionada ao operador OPER01.");

    addBoleto("0000000014", {{"VRBOLPAG", 0.0}, {"VRFINALBPAG", 0.0}});
    expectRefused(save({modify("0000000014", {{"IDHABIBPAG", "S"}})}),
                  "Boleto com valor zerado não pode ser habilitado.");
    EXPECT_EQ(stored("0000000012", "IDHABIBPAG").asString(), "S");
}

TEST_F(SetBoletos, NewValuesAreCheckedBeforeAnythingIsStored) {
    const auto refusedWith = [&](const Fields& changes, const std::string& text) {
        // The first boleto is valid: a refusal of the second keeps it unstored too.
        expectRefused(
            save({modify("0000000002", {{"IDHABIBPAG", "S"}}), modify("0000000001", changes)}),
            text);
        EXPECT_EQ(stored("0000000002", "IDHABIBPAG").asString(), "N") << text;
    };
    refusedWith({{"VRPEMULBPAG", -0.01}}, "Multa (%) deve ser maior ou igual a zero.");
    refusedWith({{"VRMULTABPAG", -5.0}}, "Multa (Valor) deve ser maior ou igual a zero.");
    refusedWith({{"VRPEMORBPAG", -0.5}}, "Mora diária (%) deve ser maior ou igual a zero.");
    refusedWith({{"VRMORDIABPAG", -2.0}}, "Mora Diária (Valor) deve ser maior ou igual a zero.");
    refusedWith({{"CDTPBAIXAPAG", "99"}}, "Tipo de baixa não cadastrada.");
    refusedWith({{"CDREDUCONT", "009"}}, "Conta corrente não cadastrada.");
    refusedWith({{"IDCHAVEPIX", "07"}}, "Tipo de chave Pix deve ser 01, 02, 03 ou 04.");
    refusedWith({{"IDHABIBPAG", "X"}}, "Indicador de habilitação do boleto deve ser S ou N.");
    refusedWith({{"IDSITUCNABP", "20"}},
                "A situação CNAB do boleto só pode voltar a \"Não Enviado\".");
    refusedWith({{"NRCNABPAGREM", "0000000777"}},
                "O número da remessa CNAB do boleto não pode ser alterado.");
    refusedWith({{"CDBARRAPAG", "123"}}, "Código de barras deve ter 44 dígitos.");
    refusedWith({{"CHAVEPIX", std::string(101, 'x')}},
                "Campo CHAVEPIX do boleto excede 100 caracteres.");
    refusedWith({{"NRLANBOLPAG", "0000000099"}},
                "A filial e o lançamento de um boleto não podem ser alterados.");
    refusedWith({{"DTVENBOLPAG", Value()}}, "Data do vencimento deve ser informada.");
    refusedWith({{"DTVENBOLPAG", today.addDays(-21)}},
                "Data de vencimento deve ser maior que a data de entrada do documento.");
    db->exec("UPDATE BOLETPAGAR SET DTENTRSAID = NULL WHERE NRLANBOLPAG = '0000000001'");
    refusedWith({{"DTVENBOLPAG", today.addDays(-26)}},
                "Data de vencimento do boleto não pode ser  inferior a data de emissão.");
}

TEST_F(SetBoletos, BarcodeCarriedByAnotherBoletoOrAnAnticipationIsRefused) {
    const std::string barra(44, '3'), outra(44, '4');
    db->exec("UPDATE BOLETPAGAR SET CDBARRAPAG = '" + barra + "' WHERE NRLANBOLPAG = '0000000002'");
    expectRefused(save({modify("0000000001", {{"CDBARRAPAG", barra}})}),
                  "Código de barras já cadastrado para outro boleto com valor de 250,00 do "
                  "fornecedor ATACADAO DISTRIBUIDORA DE ALIMENTOS LTDA, com vencimento em " +
                      today.toString() + ".");
    db->exec("INSERT INTO ANTECIPACAO VALUES ('0001', 'A9', '01', '" + demoSupplierCode(2) +
             "', 1234.5, '2024-06-01', '" + outra + "')");
    expectRefused(save({modify("0000000001", {{"CDBARRAPAG", outra}})}),
                  "Código de barras já cadastrado para uma antecipação com valor de 1.234,50 do "
                  "fornecedor EMBALAGENS SANTA RITA LTDA, com vencimento em 01/06/2024.");
    // A barcode of another company is free.
    db->exec(
        "UPDATE BOLETPAGAR SET CDEMPRESA = '02', CDFILIAL = '0003'"
        " WHERE NRLANBOLPAG = '0000000002'");
    CallResult r = save({modify("0000000001", {{"CDBARRAPAG", barra}})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(save({modify("0000000001", {{"DSLINHBARPAG", "34191.79001"}})}).ok);
}

TEST_F(SetBoletos, BoletoSentToTheBankChangesOnlyWhenItLeavesTheRemittanceAndItIsAllowed) {
    db->exec(
        "UPDATE BOLETPAGAR SET IDSITUCNABP = '10', NRCNABPAGREM = '0000001200'"
        " WHERE NRLANBOLPAG = '0000000001'");
    const std::string sent = "Boleto enviado ao banco (via CNAB) não pode ser alterado.";
    // The payment-data page sets the situation back to "not sent".
    const PacketChange retake =
        modify("0000000001", {{"CDTPBAIXAPAG", "02"}, {"IDSITUCNABP", "00"}});
    expectRefused(save({retake}), sent);  // demo parameter IDUTCTRLCANREMP = "S"
    db->exec("UPDATE GERALPAG SET IDUTCTRLCANREMP = 'N'");
    expectRefused(save({modify("0000000001", {{"IDHABIBPAG", "S"}})}), sent);
    // A situation returned with error is free.
    db->exec("UPDATE BOLETPAGAR SET IDSITUCNABP = '01' WHERE NRLANBOLPAG = '0000000002'");
    EXPECT_TRUE(save({modify("0000000002", {{"IDHABIBPAG", "S"}})}).ok);
    CallResult r = save({retake});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(stored("0000000001", "IDSITUCNABP").asString(), "00");
    EXPECT_TRUE(stored("0000000001", "NRCNABPAGREM").isNull());  // out of the remittance file
    EXPECT_EQ(stored("0000000001", "CDTPBAIXAPAG").asString(), "02");
}

TEST_F(SetBoletos, ExtensionAndSingleBoletoAssociationStoreTheirFields) {
    const Date novo = today.addDays(10);
    CallResult r = save({modify("0000000001", {{"DTATUAVENBOLPAG", today},
                                               {"DTVENBOLPAG", novo},
                                               {"IDSITUCNABP", "00"},
                                               {"NRCNABPAGREM", " "}}),
                         modify("0000000002", {{"IDBPAGREAL", "S"}, {"IDHABIBPAG", "S"}})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asInteger(), 2);
    EXPECT_EQ(stored("0000000001", "DTVENBOLPAG").asString(), novo.toIso());
    EXPECT_EQ(stored("0000000001", "DTATUAVENBOLPAG").asString(), today.toIso());
    EXPECT_EQ(stored("0000000002", "IDBPAGREAL").asString(), "S");
    // A real boleto is undone only by cancelling it.
    expectRefused(save({modify("0000000002", {{"IDBPAGREAL", "N"}})}),
                  "Boleto real só pode ser desfeito pelo comando Cancelar Boleto Real.");
}

TEST_F(SetBoletos, InsertsDeletesAndFullContentAreRefused) {
    const RowLayout layout = Packet(boletoFields()).layout;
    const std::string row = layout.encode(listed("0000000001"));
    expectRefused(save({{ChangeOp::Insert, row, {}}}),
                  "Boleto novo só é gravado pela associação de boletos. Atualize a lista de "
                  "boletos.");
    expectRefused(save({{ChangeOp::Delete, {}, row}}), "Boletos não podem ser excluídos.");
    auto full = std::make_shared<Packet>(boletoFields());
    full->rows.push_back(row);
    CallResult r = call("SetBoletos", {Value(std::shared_ptr<const Packet>(full))});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM BOLETPAGAR").asInteger(), 2);
}

TEST_F(SetBoletos, NewDueDateMovesTheValueBetweenBudgetMonths) {
    const Date to = today.addDays(40);
    addBudget(today, 100000, 250.0);
    addBudget(to, 100000, 0.0);
    CallResult r = save({modify("0000000002", {{"DTVENBOLPAG", Value(to)}})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_DOUBLE_EQ(utilizado(today), 0.0);
    EXPECT_DOUBLE_EQ(utilizado(to), 250.0);
}

}  // namespace
}  // namespace pag::server::testing
