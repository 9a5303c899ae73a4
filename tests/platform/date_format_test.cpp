// pt-BR dates and numbers as users type and read them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/date.h"
#include "platform/format.h"
#include "platform/value.h"

namespace pag {
namespace {

TEST(DateText, BothWaysAndRefusals) {
    Date d = Date::parse("06/12/2026");
    EXPECT_EQ(d.toString(), "06/12/2026");
    EXPECT_EQ(d.toIso(), "2026-12-06");
    EXPECT_EQ(d.weekday(), 0);  // a Sunday
    EXPECT_EQ(Date::parse("6/1/26"), Date::fromYmd(2026, 1, 6));
    EXPECT_EQ(Date::parse("29/02/2024").addDays(1), Date::fromYmd(2024, 3, 1));
    EXPECT_TRUE(Date::parse("").isEmpty());
    EXPECT_TRUE(Date::parse("  /  /    ").isEmpty());
    EXPECT_EQ(Date().toString(), "");
    for (const char* bad : {"29/02/2025", "32/01/2026", "1/13/2026", "aa/bb/cccc", "01-01-2026",
                            "01/01/20261", "00/01/2026"}) {
        EXPECT_THROW(Date::parse(bad), std::invalid_argument) << bad;
    }
    try {
        Date::parse("31/04/2026");
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "'31/04/2026' não é uma data válida.");
    }
    EXPECT_LT(Date::parse("31/12/2025"), Date::parse("01/01/2026"));
    EXPECT_EQ(Date::parse("01/03/2026") - Date::parse("01/02/2026"), 28);
}

TEST(NumberText, FormatsAndParsesLikeAPtBrScreen) {
    EXPECT_EQ(formatFloat("#,##0.00", 1234.56), "1.234,56");
    EXPECT_EQ(formatFloat("#,##0.00", 1234567.891), "1.234.567,89");
    EXPECT_EQ(formatFloat("#,##0.00", 0), "0,00");
    EXPECT_EQ(formatFloat("#,##0.00", -0.001), "0,00");
    EXPECT_EQ(formatFloat("#,##0.00", -5.5), "-5,50");
    EXPECT_EQ(formatFloat("#,##0.00", 2.675), "2,68");
    EXPECT_EQ(formatFloat("#,###,##0.00", 999.999), "1.000,00");
    EXPECT_EQ(formatFloat("0", 12.5), "13");
    EXPECT_EQ(parseNumber("1.234,56"), 1234.56);
    EXPECT_EQ(parseNumber("-0,5"), -0.5);
    EXPECT_EQ(parseNumber("1234.56"), 1234.56);
    EXPECT_FALSE(parseNumber("12,3,4"));
    EXPECT_FALSE(parseNumber("abc"));
    EXPECT_FALSE(parseNumber("  "));
}

// Half away from zero on the decimal value the user sees, never on its binary neighbour.
TEST(NumberText, RoundingSeesTheDecimalValue) {
    const struct {
        double value;
        int decimals;
        double rounded;
    } cases[] = {
        {1.005, 2, 1.01},
        {2.675, 2, 2.68},
        {-2.675, 2, -2.68},
        {-0.005, 2, -0.01},
        {0.125, 2, 0.13},
        {1.0049999, 2, 1.0},
        {0.1 + 0.2, 2, 0.3},
        {9.995, 2, 10.0},
        {99999999.995, 2, 100000000.0},
        {123456789.125, 2, 123456789.13},
        {1e-20, 2, 0.0},
        {1e20, 2, 1e20},
        {12.5, 0, 13.0},
        {-2.5, 0, -3.0},
        {1000000000000000.5, 0, 1000000000000001.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundDecimal(c.value, c.decimals), c.rounded) << c.value << " " << c.decimals;
}

// Cents by arithmetic agree with rounding the decimal text, near half cents as well.
TEST(NumberText, CentsAgreeWithTheDecimalRounding) {
    std::vector<double> values{1.005, 2.675, -2.675, 0.285, 1234.565, 0.004, 0.0049999, 1e13};
    for (int cents = -100000; cents <= 100000; cents += 7)
        for (double extra : {0.0, 0.4, 0.5, 0.5000001, 0.6})
            values.push_back((cents + extra) / 100.0);
    for (double v : values)
        EXPECT_EQ(roundToCents(v), std::llround(roundDecimal(v, 2) * 100.0)) << v;
}

TEST(ValueConversion, WhatUsersExpect) {
    EXPECT_EQ(Value("12,50").asFloat(), 12.5);
    EXPECT_EQ(Value().asString(), "");
    EXPECT_EQ(Value(3.0), Value(3));
    EXPECT_FALSE(Value("") == Value());
    EXPECT_THROW(Value("doze").asFloat(), std::invalid_argument);
    EXPECT_EQ(Value("2026-12-06").asDate(), Date::fromYmd(2026, 12, 6));
    EXPECT_TRUE(Value("S").asBool());
}

}  // namespace
}  // namespace pag
