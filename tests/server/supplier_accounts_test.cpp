// The supplier's payee accounts and PIX keys: the pick lists and their registration.
#include "boleto_change_log.h"
#include "server/dataset_fields.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

class SupplierRegistry : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        forn = demoSupplierCode(4);
        db->exec("DELETE FROM CCORFORN WHERE CDFORNECED = '" + forn +
                 "';"
                 "INSERT INTO CCORFORN VALUES ('" +
                 forn + "', '341', '0912', '0045871', NULL, NULL), ('" + forn +
                 "', '341', '0100', '0000017', 'J', '11222333000181'), ('" + forn +
                 "', '237', '0912', '0045871', NULL, NULL);");
    }

    std::vector<Value> account(const char* banco, const char* agencia, const char* conta,
                               Value tipo = Value(), Value insc = Value()) {
        return {banco, agencia, conta, forn, tipo, insc};
    }
    std::vector<Value> key(const char* tipo, const char* chave, const char* pref = "N") {
        return {forn, tipo, chave, "DESCRICAO", pref};
    }

    std::vector<std::string> accounts(std::vector<Value> args) {
        args.insert(args.begin(), Value(forn));
        CallResult r = call("GetCCorForn", args);
        EXPECT_TRUE(r.ok) << r.message;
        std::vector<std::string> out;
        const Packet& p = *r.result.asPacket();
        for (size_t i = 0; i < p.rowCount(); ++i)
            out.push_back(p.value(i, "CDBANCFORN").asString() + "/" +
                          p.value(i, "CDAGENFORN").asString() + "/" +
                          p.value(i, "CDCCORFORN").asString());
        return out;
    }

    int64_t count(const std::string& table, const std::string& where) {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE CDFORNECED = '" + forn + "' AND " +
                      where)
            .asInteger();
    }

    // `op` with a valid first row and then `bad` is refused with `text`: the valid row,
    // found in `table` by `stored`, is not kept either.
    void expectRefused(const char* op, const std::vector<PacketField>& fields, RowChange valid,
                       RowChange bad, const std::string& text, const std::string& table,
                       const std::string& stored) {
        CallResult r = call(op, {changeLog(fields, {std::move(valid), std::move(bad)})});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, text);
        EXPECT_EQ(count(table, stored), 0) << text;
    }

    std::string forn;
};

using Strings = std::vector<std::string>;

TEST_F(SupplierRegistry, AccountListAllOrEqualPerColumn) {
    EXPECT_EQ(accounts({"", "T", "", "T", "", "T", "T"}),
              (Strings{"237/0912/0045871", "341/0100/0000017", "341/0912/0045871"}));
    EXPECT_EQ(accounts({"341", "", "0912", "", "0045871", "", "T"}), Strings{"341/0912/0045871"});
    EXPECT_EQ(accounts({"341", "", "", "T", "", "T", "T"}),
              (Strings{"341/0100/0000017", "341/0912/0045871"}));
    EXPECT_EQ(accounts({"", "T", "0912", "", "0045871", "", "T"}),
              (Strings{"237/0912/0045871", "341/0912/0045871"}));
    EXPECT_TRUE(accounts({"341", "", "0912", "", "9999999", "", "T"}).empty());
    // A code holding SQL is a code that matches nothing.
    EXPECT_TRUE(accounts({"341' OR '1'='1", "", "", "T", "", "T", "T"}).empty());
    CallResult r = call("GetCCorForn", {forn, "", "T", "", "T", "", "T", "T"});
    EXPECT_EQ(r.result.asPacket()->fields, cCorFornFields());
    EXPECT_FALSE(call("GetCCorForn", {"", "", "T", "", "T", "", "T", "T"}).ok);
}

TEST_F(SupplierRegistry, AccountsInsertedChangedAndDeletedWithConflictsAndDuplicates) {
    const auto fields = cCorFornFields();
    CallResult r =
        call("SetCCorForn",
             {changeLog(fields, {inserted(account("001", "3064X", "0012345", "J", " ")),
                                 modified(account("341", "0100", "0000017", "F", "123"),
                                          account("341", "0100", "0000017", "J", "11222333000181")),
                                 deleted(account("237", "0912", "0045871"))})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(count("CCORFORN", "CDBANCFORN = '001' AND NRINSCNABFOR IS NULL"), 1);
    EXPECT_EQ(count("CCORFORN", "CDCCORFORN = '0000017' AND IDTPICNABFOR = 'F'"), 1);
    EXPECT_EQ(count("CCORFORN", "CDBANCFORN = '237'"), 0);

    const auto refused = [&](RowChange bad, const std::string& text) {
        expectRefused("SetCCorForn", fields, inserted(account("104", "1644", "1")), bad, text,
                      "CCORFORN", "CDBANCFORN = '104'");
    };
    refused(inserted(account("341", "0912", "0045871")),
            "Conta corrente 341/0912/0045871 já cadastrada para o fornecedor " + forn + ".");
    refused(modified(account("341", "0912", "0045871", "F", "123"),
                     account("341", "0100", "0000017", "F", "123")),
            "Conta corrente 341/0912/0045871 já cadastrada para o fornecedor " + forn + ".");
    refused(inserted(account("341", " ", "77")),
            "Banco, agência e conta corrente do favorecido devem ser informados.");
    refused(inserted(account("341", "1", "77", "X")),
            "Tipo de inscrição da conta do favorecido deve ser J, F, O ou I.");
    refused(inserted(account("3410", "1", "77")), "Campo CDBANCFORN excede 3 caracteres.");
    refused(inserted({"341", "1", "77", "999", Value(), Value()}),
            "Fornecedor 999 não cadastrado.");
    // Another user changed the account after it was read.
    db->exec("UPDATE CCORFORN SET NRINSCNABFOR = '9' WHERE CDCCORFORN = '0000017'");
    refused(deleted(account("341", "0100", "0000017", "F", "123")),
            "A conta corrente 341/0100/0000017 do fornecedor " + forn +
                " foi alterada ou excluída por outro usuário. Atualize os dados e repita a "
                "operação.");
    // Deleting an account and registering it again in the same log is no duplicate.
    r = call("SetCCorForn",
             {changeLog(fields, {deleted(account("341", "0912", "0045871")),
                                 inserted(account("341", "0912", "0045871", "J"))})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(count("CCORFORN", "CDCCORFORN = '0045871' AND IDTPICNABFOR = 'J'"), 1);
}

TEST_F(SupplierRegistry, PixKeysListedPreferredFirstAndFilteredByKeyAndType) {
    db->exec("INSERT INTO CHAVEPIXFORN VALUES ('" + forn + "', '02', 'a@b.com', 'X', 'N'), ('" +
             forn + "', '04', 'evp-1', 'Y', 'S'), ('" + forn + "', '01', '+5511', 'Z', 'N')");
    CallResult r = call("GetChavePix", {forn, "", ""});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result.asPacket()->fields, chavePixFields());
    EXPECT_EQ(column(r.result, "CDCHAVEPIX"), (Strings{"evp-1", "+5511", "a@b.com"}));
    EXPECT_EQ(column(call("GetChavePix", {forn, "a@b.com", "02"}).result, "DSCHAVEPIX"),
              Strings{"X"});
    EXPECT_TRUE(column(call("GetChavePix", {forn, "a@b.com", "01"}).result, "CDCHAVEPIX").empty());
    EXPECT_EQ(column(call("GetChavePix", {forn, "", "01"}).result, "CDCHAVEPIX"), Strings{"+5511"});
}

TEST_F(SupplierRegistry, PixKeysRegisteredWithOnePreferredKeyAtMost) {
    const auto fields = chavePixFields();
    std::vector<Value> novo = key("02", "novo@forn.com.br");
    CallResult r = call("SetChavePix",
                        {changeLog(fields, {inserted(novo), inserted(key("04", "evp-9", "S"))})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(count("CHAVEPIXFORN", "CDCHAVEPIX = 'novo@forn.com.br' AND IDCHAVEPIXPREF = 'N'"), 1);

    const auto refused = [&](RowChange bad, const std::string& text) {
        expectRefused("SetChavePix", fields, inserted(key("03", "123")), bad, text, "CHAVEPIXFORN",
                      "CDCHAVEPIX = '123'");
    };
    refused(inserted(key("04", "evp-10", "S")),
            "O fornecedor " + forn +
                " já possui uma chave Pix principal. Só uma chave pode ser a principal.");
    refused(modified(key("02", "novo@forn.com.br", "S"), novo),
            "O fornecedor " + forn +
                " já possui uma chave Pix principal. Só uma chave pode ser a principal.");
    refused(inserted(key("04", "evp-9")),
            "Chave Pix evp-9 já cadastrada para o fornecedor " + forn + ".");
    refused(inserted(key("05", "x")), "Tipo de chave Pix deve ser 01, 02, 03 ou 04.");
    refused(inserted(key("01", " ")), "Chave Pix deve ser informada.");
    refused(inserted(key("01", "+551133", " ")),
            "Indicador de chave Pix principal deve ser S ou N.");
    refused(modified(key("02", "novo@forn.com.br", " "), novo),
            "Indicador de chave Pix principal deve ser S ou N.");
    // Moving the preference from one key to another in one log is fine.
    r = call("SetChavePix",
             {changeLog(fields, {modified(key("04", "evp-9", "N"), key("04", "evp-9", "S")),
                                 modified(key("02", "novo@forn.com.br", "S"), novo)})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(count("CHAVEPIXFORN", "IDCHAVEPIXPREF = 'S' AND IDCHAVEPIX = '02'"), 1);
    r = call("SetChavePix", {changeLog(fields, {deleted(key("04", "evp-9", "N"))})});
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(count("CHAVEPIXFORN", "CDCHAVEPIX = 'evp-9'"), 0);
}

}  // namespace
}  // namespace pag::server::testing
