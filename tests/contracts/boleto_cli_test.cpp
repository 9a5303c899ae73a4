// The answer of "pag12000 boleto check": what people paste and the exact JSON they get.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "contracts/barcode_reference.h"
#include "contracts/lib02800.h"

namespace pag {
namespace {

const Date kToday = Date::fromYmd(2025, 6, 1);

std::string check(const std::string& pasted, Date today = kToday) {
    return barcodeInfoJson(analyseBarcode(stripSeparators(pasted), today));
}

const char* const kSampleLine = "00190.50095 40144.816069 06809.350314 3 37370000000100";

TEST(BoletoCheckTest, BankLineAsPrintedGivesTheWholeAnswer) {
    EXPECT_EQ(
        check(kSampleLine, Date::fromYmd(2008, 1, 10)),
        R"({"valid":true,"kind":"bank","barcode":"00193373700000001000500940144816060680935031",)"
        R"("line":"00190.50095 40144.816069 06809.350314 3 37370000000100",)"
        R"("value_cents":100,"due":"31/12/2007","message":null})");
}

TEST(BoletoCheckTest, SeparatorsAndLineBreaksArePasteNoise) {
    std::string b = testref::bankBarcode("104", "1100", "0000250000", "0000000000000000000000001");
    std::string expected = check(b);
    std::string line = testref::bankLine(b);
    EXPECT_EQ(check(line), expected);
    EXPECT_EQ(check(testref::digitsOf(line)), expected);
    EXPECT_EQ(check("\t" + line + "\r\n"), expected);
    std::string hyphenated = line;
    for (char& c : hyphenated)
        if (c == ' ') c = '-';
    EXPECT_EQ(check(hyphenated), expected);
    auto j = nlohmann::json::parse(expected);
    EXPECT_EQ(j["due"], "02/06/2025");
    EXPECT_EQ(j["value_cents"], 250000);
}

TEST(BoletoCheckTest, PublishedCollectionSlipLine) {
    EXPECT_EQ(check("83640000001-1 33120138000-2 81288462711-6 08013618155-1"),
              R"({"valid":true,"kind":"collection",)"
              R"("barcode":"83640000001331201380008128846271108013618155",)"
              R"("line":"83640000001-1 33120138000-2 81288462711-6 08013618155-1",)"
              R"("value_cents":13312,"due":null,"message":null})");
}

TEST(BoletoCheckTest, RefusalNamesTheReasonAndNothingElse) {
    EXPECT_EQ(check("00190.50095 40144.816069 06809.350314 4 37370000000100"),
              R"({"valid":false,"kind":null,"barcode":null,"line":null,"value_cents":null,)"
              R"("due":null,"message":"Código de barras inválido. Dígito verificador geral )"
              R"(inconsistente."})");
    auto j = nlohmann::json::parse(check("0019O.50095 40144.816069 06809.350314 3 3737000000010"));
    EXPECT_EQ(j["valid"], false);
    EXPECT_EQ(j["message"], "Código de barras inválido: informe somente dígitos.");
    j = nlohmann::json::parse(check("   "));
    EXPECT_EQ(j["message"], "Código de barras não informado.");
}

}  // namespace
}  // namespace pag
