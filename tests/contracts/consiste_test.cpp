#include "contracts/consiste.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/dataset/client_dataset.h"

namespace pag {
namespace {

TEST(ConsisteTest, BlankTextAndTrimming) {
    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString(" \t\r\n"));
    EXPECT_FALSE(EmptyString(" x "));
    EXPECT_EQ(AllTrim("  01 \t"), "01");
    EXPECT_EQ(AllTrim("   "), "");
}

TEST(ConsisteTest, RightCountsCharactersNotBytes) {
    EXPECT_EQ(Right("0000123456", 4), "3456");
    EXPECT_EQ(Right("Terça", 2), "ça");
    EXPECT_EQ(Right("Sábado", 5), "ábado");
    EXPECT_EQ(Right("abc", 10), "abc");
    EXPECT_EQ(Right("abc", 0), "");
    EXPECT_EQ(Right("abc", -1), "");
}

TEST(ConsisteTest, AjustaPadsCodesAndNeverCutsData) {
    EXPECT_EQ(Ajusta("1", 2), "01");
    EXPECT_EQ(Ajusta(" 7 ", 4), "0007");
    EXPECT_EQ(Ajusta("AB", 4), "00AB");
    EXPECT_EQ(Ajusta("01", 2), "01");
    EXPECT_EQ(Ajusta("", 3), "");
    EXPECT_EQ(Ajusta("   ", 3), "");
    EXPECT_EQ(Ajusta(" 12345 ", 3), "12345");
    EXPECT_EQ(Ajusta("5", 0), "5");
    // Both bounds of a range normalised alike compare as the numbers they stand for.
    EXPECT_LT(Ajusta("5", 10), Ajusta("12", 10));
    EXPECT_EQ(Ajusta("  42", 10), Ajusta("42  ", 10));
}

TEST(ConsisteTest, MaxNumberDiscardsDigitsBeyondTheLimits) {
    // 9 integer digits and 2 decimals, as the main screen's number edits.
    EXPECT_EQ(MaxNumber("123456789", 9, 2, '0', 9, 0), '\0');
    EXPECT_EQ(MaxNumber("12345678", 9, 2, '9', 8, 0), '9');
    EXPECT_EQ(MaxNumber("123456789", 9, 2, '0', 3, 1), '0');  // replaces the selected digit
    EXPECT_EQ(MaxNumber("123456789", 9, 2, '5', 0, 9), '5');  // replaces everything
    EXPECT_EQ(MaxNumber("12,34", 9, 2, '5', 5, 0), '\0');
    EXPECT_EQ(MaxNumber("12,34", 9, 2, '5', 4, 1), '5');
    EXPECT_EQ(MaxNumber("12,34", 9, 2, '5', 0, 0), '5');
    EXPECT_EQ(MaxNumber("123456789,5", 9, 2, '1', 0, 0), '\0');
    EXPECT_EQ(MaxNumber("1.234,5", 4, 2, '6', 7, 0), '6');  // grouping dots are not digits
}

TEST(ConsisteTest, MaxNumberDecimalSeparatorAndSign) {
    EXPECT_EQ(MaxNumber("12", 9, 2, ',', 2, 0), ',');
    EXPECT_EQ(MaxNumber("12", 9, 2, '.', 2, 0), ',');
    EXPECT_EQ(MaxNumber("12,3", 9, 2, ',', 4, 0), '\0');
    EXPECT_EQ(MaxNumber("12,3", 9, 2, ',', 2, 1), ',');    // replaces the selected ","
    EXPECT_EQ(MaxNumber("12345", 9, 2, ',', 1, 0), '\0');  // would leave 4 decimals
    EXPECT_EQ(MaxNumber("12", 9, 0, ',', 2, 0), '\0');
    EXPECT_EQ(MaxNumber("12", 9, 2, '-', 0, 0), '-');
    EXPECT_EQ(MaxNumber("12", 9, 2, '-', 1, 0), '\0');
    EXPECT_EQ(MaxNumber("-12", 9, 2, '-', 0, 0), '\0');
    EXPECT_EQ(MaxNumber("-12", 9, 2, '-', 0, 1), '-');
    EXPECT_EQ(MaxNumber("-12", 9, 2, '5', 0, 0), '\0');  // nothing before the sign
}

TEST(ConsisteTest, MaxNumberLetsControlKeysPassAndRefusesOtherCharacters) {
    EXPECT_EQ(MaxNumber("123456789,99", 9, 2, '\b', 12, 0), '\b');
    EXPECT_EQ(MaxNumber("1", 9, 2, '\r', 1, 0), '\r');
    EXPECT_EQ(MaxNumber("1", 9, 2, 'a', 1, 0), '\0');
    EXPECT_EQ(MaxNumber("1", 9, 2, ' ', 1, 0), '\0');
    // A selection past the end of the text is clamped, not a crash.
    EXPECT_EQ(MaxNumber("1", 9, 2, '2', 7, 9), '2');
}

TEST(ConsisteTest, NomeSemanaNamesEveryWeekday) {
    const char* expected[] = {"Sábado", "Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta"};
    Date saturday = Date::fromYmd(2025, 2, 22);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(NomeSemana(saturday.addDays(i)), expected[i]);
    EXPECT_EQ(NomeSemana(Date()), "");
}

TEST(ConsisteTest, PictPessGivesTheMaskOfThePersonType) {
    EXPECT_EQ(PictPess("J"), "99.999.999/9999-99");
    EXPECT_EQ(PictPess("F"), "999.999.999-99");
    EXPECT_EQ(PictPess(" f "), "999.999.999-99");
    EXPECT_EQ(PictPess("O"), "");
    EXPECT_EQ(PictPess("I"), "");
    EXPECT_EQ(PictPess(""), "");
}

TEST(ConsisteTest, PersonDocumentIsShownThroughTheMask) {
    EXPECT_EQ(formatPersonDocument("J", "12345678000195"), "12.345.678/0001-95");
    EXPECT_EQ(formatPersonDocument("F", "12345678901"), "123.456.789-01");
    EXPECT_EQ(formatPersonDocument("F", "1234567890"), "012.345.678-90");  // lost zero
    EXPECT_EQ(formatPersonDocument("J", "12.345.678/0001-95"), "12.345.678/0001-95");
    EXPECT_EQ(formatPersonDocument("J", ""), "");
    EXPECT_EQ(formatPersonDocument("F", "   "), "");
    EXPECT_EQ(formatPersonDocument("O", "AB123"), "AB123");
    EXPECT_EQ(formatPersonDocument("F", "123456789012"), "123456789012");  // does not fit
    EXPECT_EQ(formatPersonDocument("J", "12X45"), "12X45");
}

class DateSetTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        FieldDef def;
        def.name = "DTVENBOLPAG";
        def.type = FieldType::Date;
        ds.SetFieldDefs({def});
        ds.CreateDataSet();
        ds.Append();
    }
    Field& field() { return ds.FieldByName("DTVENBOLPAG"); }
    ClientDataSet ds{"cdsParcelas"};
};

TEST_F(DateSetTextTest, StoresTypedDates) {
    DateSetText(field(), "05/03/2025");
    EXPECT_EQ(field().AsDateTime(), Date::fromYmd(2025, 3, 5));
    DateSetText(field(), "5/3/26");
    EXPECT_EQ(field().AsDateTime(), Date::fromYmd(2026, 3, 5));
    DateSetText(field(), "29/02/2024");
    EXPECT_EQ(field().AsDateTime(), Date::fromYmd(2024, 2, 29));
}

TEST_F(DateSetTextTest, BlankOrUntypedMaskStoresNull) {
    for (const char* blank : {"", "   ", "__/__/____", "  /  /    "}) {
        DateSetText(field(), "01/01/2025");
        DateSetText(field(), blank);
        EXPECT_TRUE(field().IsNull()) << '"' << blank << '"';
    }
}

TEST_F(DateSetTextTest, InvalidDateThrowsAndKeepsTheValue) {
    DateSetText(field(), "10/10/2025");
    for (const char* bad : {"31/02/2025", "12/__/____", "1a/02/2025", "32/01/2025"}) {
        EXPECT_THROW(DateSetText(field(), bad), std::invalid_argument) << bad;
        EXPECT_EQ(field().AsDateTime(), Date::fromYmd(2025, 10, 10));
    }
    try {
        DateSetText(field(), "31/02/2025");
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "'31/02/2025' não é uma data válida.");
    }
}

}  // namespace
}  // namespace pag
