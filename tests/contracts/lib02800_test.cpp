#include "contracts/lib02800.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "contracts/barcode_reference.h"
#include "contracts/client/vd_codigo_barras.h"
#include "platform/ui/abort.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

namespace ref = testref;

// A published sample of a bank slip (bank 001, factor 3737, R$ 1,00).
const std::string kSampleBarcode = "00193373700000001000500940144816060680935031";
const std::string kSampleLine = "00190.50095 40144.816069 06809.350314 3 37370000000100";

const Date kToday = Date::fromYmd(2025, 6, 1);

const std::string kFree = "1234567890123456789012345";

// Deterministic digit strings for comparing the library with the reference rules.
std::vector<std::string> sampleDigitStrings() {
    std::vector<std::string> out;
    uint32_t seed = 12345;
    for (int n = 0; n < 400; ++n) {
        std::string s;
        size_t length = 1 + static_cast<size_t>(n % 47);
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            s += static_cast<char>('0' + (seed >> 16) % 10);
        }
        out.push_back(s);
    }
    return out;
}

TEST(Lib02800Test, CheckDigitsFollowThePublishedRules) {
    EXPECT_EQ(Mod10("001905009"), '5');  // fields of the published sample
    EXPECT_EQ(Mod10("4014481606"), '9');
    EXPECT_EQ(Mod10("0680935031"), '4');
    EXPECT_EQ(Mod11("5555555555", Mod11Rule::Collection), '8');
    EXPECT_EQ(Mod10("0019.05009"), '5');  // separators are skipped
    for (const std::string& s : sampleDigitStrings()) {
        ASSERT_EQ(Mod10(s), ref::mod10(s)) << s;
        ASSERT_EQ(Mod11(s, Mod11Rule::Bank), ref::bankMod11(s)) << s;
        ASSERT_EQ(Mod11(s, Mod11Rule::Collection), ref::collectionMod11(s)) << s;
    }
}

TEST(Lib02800Test, Mod11LimitCasesOfEachLayout) {
    // Remainder 0 and 1 (and 10 for collection slips) do not fit one digit.
    bool seen[11] = {};
    for (const std::string& s : sampleDigitStrings()) {
        int remainder = ref::weightedSum11(s) % 11;
        seen[remainder] = true;
        if (remainder <= 1) {
            EXPECT_EQ(Mod11(s, Mod11Rule::Bank), '1') << s;
            EXPECT_EQ(Mod11(s, Mod11Rule::Collection), '0') << s;
        } else if (remainder == 10) {
            EXPECT_EQ(Mod11(s, Mod11Rule::Collection), '1') << s;
        }
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[10]);
}

TEST(Lib02800Test, NrCodigoKeepsTheDigits) {
    EXPECT_EQ(Nr_Codigo(kSampleLine), "00190500954014481606906809350314337370000000100");
    EXPECT_EQ(Nr_Codigo(" a-b. "), "");
}

TEST(Lib02800Test, BankBarcodeAndLineConvertBothWays) {
    EXPECT_EQ(TransformaBarraLinhaDigi(kSampleBarcode), kSampleLine);
    EXPECT_EQ(CodigoBarras(kSampleLine, kLinhaPorTamanho), kSampleBarcode);
    std::string built = ref::bankBarcode("237", "9999", "0000012345", kFree);
    std::string line = ref::bankLine(built);
    EXPECT_EQ(TransformaBarraLinhaDigi(built), line);
    EXPECT_EQ(CodigoBarras(line, kLinhaPorTamanho), built);
    EXPECT_EQ(CodigoBarras(ref::digitsOf(line), kLinhaBancaria), built);
    EXPECT_EQ(TransformaBarraLinhaDigi(built.substr(1)), "");
    // A line of another length stays as its digits, for the check to report.
    EXPECT_EQ(CodigoBarras("123.45", kLinhaPorTamanho), "12345");
}

TEST(Lib02800Test, CollectionBarcodeAndLineConvertBothWays) {
    for (char type : {'6', '7', '8', '9'}) {
        std::string b = ref::collectionBarcode('2', type, "00000012345", "0001" + kFree);
        std::string line = ref::collectionLine(b);
        EXPECT_EQ(TransformaBarraLinhaDigi(b), line) << type;
        EXPECT_EQ(CodigoBarras(line, kLinhaPorTamanho), b) << type;
        EXPECT_EQ(CodigoBarras(line, kLinhaArrecadacao), b) << type;
    }
}

TEST(Lib02800Test, ValidBankSlipGivesValueAndDueDate) {
    std::string b = ref::bankBarcode("341", "1100", "0000150075", kFree);
    for (const std::string& code : {b, ref::digitsOf(ref::bankLine(b))}) {
        BarcodeInfo info = analyseBarcode(code, kToday);
        ASSERT_TRUE(info.valid) << info.message;
        EXPECT_EQ(info.kind, BarcodeKind::Bank);
        EXPECT_EQ(info.barcode, b);
        EXPECT_EQ(info.line, ref::bankLine(b));
        EXPECT_EQ(info.valueCents, 150075);
        EXPECT_EQ(info.due, Date::fromYmd(2025, 6, 2));  // 22/02/2025 is factor 1000 again
        EXPECT_EQ(info.message, "");
    }
    BarcodeInfo sample = analyseBarcode(kSampleBarcode, Date::fromYmd(2008, 1, 10));
    ASSERT_TRUE(sample.valid);
    EXPECT_EQ(sample.due, Date::fromYmd(2007, 12, 31));
    EXPECT_EQ(sample.valueCents, 100);
}

TEST(Lib02800Test, ZeroFactorAndZeroValueMeanNone) {
    BarcodeInfo info = analyseBarcode(ref::bankBarcode("001", "0000", "0000000000", kFree));
    ASSERT_TRUE(info.valid) << info.message;
    EXPECT_TRUE(info.due.isEmpty());
    EXPECT_FALSE(info.valueCents.has_value());
}

TEST(Lib02800Test, DueDateFactorTakesTheCycleNearestToday) {
    const Date base = Date::fromYmd(1997, 10, 7);
    EXPECT_TRUE(dueDateFromFactor(0, kToday).isEmpty());
    EXPECT_EQ(dueDateFromFactor(1000, Date::fromYmd(2010, 1, 1)), Date::fromYmd(2000, 7, 3));
    EXPECT_EQ(dueDateFromFactor(9999, kToday), Date::fromYmd(2025, 2, 21));
    EXPECT_EQ(dueDateFromFactor(1000, kToday), Date::fromYmd(2025, 2, 22));
    EXPECT_EQ(dueDateFromFactor(1001, Date::fromYmd(2024, 12, 1)), Date::fromYmd(2025, 2, 23));
    EXPECT_EQ(dueDateFromFactor(9000, Date::fromYmd(2024, 12, 1)), Date::fromYmd(2022, 5, 29));
    EXPECT_EQ(dueDateFromFactor(500, kToday), base.addDays(500));  // first cycle only
    // Next restart, far ahead: factor 1000 once more 9000 days after 22/02/2025.
    Date later = Date::fromYmd(2025, 2, 22).addDays(9000);
    EXPECT_EQ(dueDateFromFactor(1000, later.addDays(-30)), later);
    for (int factor : {1000, 4321, 9999}) {
        Date due = dueDateFromFactor(factor, kToday);
        EXPECT_LE(std::abs(due - kToday), 4500) << factor;
        EXPECT_EQ((due - base - factor) % 9000, 0) << factor;
    }
}

TEST(Lib02800Test, ValidCollectionSlipValueByValueType) {
    std::string effective = ref::collectionBarcode('1', '8', "00000098765", "0001" + kFree);
    BarcodeInfo info = analyseBarcode(ref::digitsOf(ref::collectionLine(effective)), kToday);
    ASSERT_TRUE(info.valid) << info.message;
    EXPECT_EQ(info.kind, BarcodeKind::Collection);
    EXPECT_EQ(info.barcode, effective);
    EXPECT_EQ(info.valueCents, 98765);
    EXPECT_TRUE(info.due.isEmpty());
    std::string reference = ref::collectionBarcode('1', '7', "00000098765", "0001" + kFree);
    info = analyseBarcode(reference, kToday);
    ASSERT_TRUE(info.valid) << info.message;
    EXPECT_FALSE(info.valueCents.has_value());
}

std::string withDigit(std::string s, size_t pos) {
    s[pos] = static_cast<char>('0' + (s[pos] - '0' + 1) % 10);
    return s;
}

std::string refusal(const std::string& code) {
    BarcodeInfo info = analyseBarcode(code, kToday);
    EXPECT_FALSE(info.valid) << code;
    EXPECT_EQ(info.kind, BarcodeKind::None);
    return info.message;
}

TEST(Lib02800Test, RefusesWrongLengthAndNonDigits) {
    EXPECT_EQ(refusal(""), "Código de barras não informado.");
    EXPECT_EQ(refusal(kSampleBarcode.substr(1)),
              "Código de barras inválido: o código de barras tem 44 dígitos e a linha digitável "
              "47 (boleto bancário) ou 48 (arrecadação); foram informados 43 dígitos.");
    EXPECT_NE(refusal(kSampleBarcode + "12").find("foram informados 46"), std::string::npos);
    EXPECT_EQ(refusal(kSampleBarcode.substr(0, 43) + "A"),
              "Código de barras inválido: informe somente dígitos.");
    EXPECT_EQ(refusal(kSampleLine), "Código de barras inválido: informe somente dígitos.");
}

TEST(Lib02800Test, RefusesWrongGeneralCheckDigit) {
    const std::string general =
        "Código de barras inválido. Dígito verificador geral inconsistente.";
    EXPECT_EQ(refusal(withDigit(kSampleBarcode, 4)), general);   // the digit itself
    EXPECT_EQ(refusal(withDigit(kSampleBarcode, 12)), general);  // the value changed
    std::string line = ref::digitsOf(kSampleLine);
    EXPECT_EQ(refusal(withDigit(line, 32)), general);  // field 4
    EXPECT_EQ(refusal(withDigit(line, 40)), general);  // field 5 carries no digit of its own
    std::string collection = ref::collectionBarcode('1', '6', "00000012345", "0001" + kFree);
    EXPECT_EQ(refusal(withDigit(collection, 3)), general);
    EXPECT_EQ(refusal(withDigit(collection, 20)), general);
}

TEST(Lib02800Test, RefusesWrongFieldCheckDigitsInFieldOrder) {
    std::string line = ref::digitsOf(kSampleLine);
    const std::string tail = " campo inválido. Dígito verificador inconsistente.";
    EXPECT_EQ(refusal(withDigit(line, 9)), "Primeiro" + tail);
    EXPECT_EQ(refusal(withDigit(line, 2)), "Primeiro" + tail);
    EXPECT_EQ(refusal(withDigit(line, 20)), "Segundo" + tail);
    EXPECT_EQ(refusal(withDigit(line, 25)), "Terceiro" + tail);
    EXPECT_EQ(refusal(withDigit(withDigit(line, 31), 9)), "Primeiro" + tail);
}

TEST(Lib02800Test, RefusesBadCollectionLines) {
    std::string b = ref::collectionBarcode('5', '9', "00000012345", "0001" + kFree);
    std::string line = ref::digitsOf(ref::collectionLine(b));
    ASSERT_TRUE(analyseBarcode(line, kToday).valid);
    const std::string tail = " bloco inválido. Dígito verificador inconsistente.";
    EXPECT_EQ(refusal(withDigit(line, 11)), "Primeiro" + tail);
    EXPECT_EQ(refusal(withDigit(line, 15)), "Segundo" + tail);
    EXPECT_EQ(refusal(withDigit(line, 35)), "Terceiro" + tail);
    EXPECT_EQ(refusal(withDigit(line, 47)), "Quarto" + tail);
    std::string notCollection = line;
    notCollection[0] = '1';
    EXPECT_EQ(refusal(notCollection),
              "Linha digitável inválida: a de 48 dígitos é de arrecadação e começa com 8.");
    std::string badType = b;
    badType[2] = '5';
    EXPECT_NE(refusal(badType).find("deve ser 6, 7, 8 ou 9"), std::string::npos);
}

TEST(Lib02800Test, VdCodigoBarrasShowsTheReasonThenAbandons) {
    ScriptedUserInterface ui;
    EXPECT_NO_THROW(Vd_CodigoBarras(ui, kSampleBarcode));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_THROW(Vd_CodigoBarras(ui, withDigit(kSampleBarcode, 4)), SilentAbort);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.Messages()[0].text,
              "Código de barras inválido. Dígito verificador geral inconsistente.");
}

}  // namespace
}  // namespace pag
