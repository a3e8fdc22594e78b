#include "Conversions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EngineError.h"
#include "EngineSupport.h"
#include "Variant.h"

using namespace platform;

TEST(DateToText, ClassicFormWithTwelveHourClockReadsBack) {
    struct Case {
        DateTime d;
        const char* text;
    } cases[] = {
        {{2004, 3, 4, 0, 0, 0}, "3/4/2004"},
        {{2004, 3, 4, 10, 30, 0}, "3/4/2004 10:30:00 AM"},
        {{2003, 12, 31, 12, 0, 0}, "12/31/2003 12:00:00 PM"},
        {{2003, 12, 31, 0, 0, 1}, "12/31/2003 12:00:01 AM"},
        {{2004, 3, 4, 14, 5, 9}, "3/4/2004 2:05:09 PM"},
        {{2004, 3, 4, 23, 59, 59}, "3/4/2004 11:59:59 PM"},
        {{632, 1, 1, 0, 0, 0}, "1/1/0632"},  // as an Access file may hold it
        {{100, 12, 9, 8, 0, 0}, "12/9/0100 8:00:00 AM"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateToText(c.d), c.text);
        EXPECT_EQ(TextToDate(c.text), c.d) << c.text;
    }
}

TEST(TextToDate, ReadsTwentyFourHourAndStoredForms) {
    struct Case {
        const char* text;
        DateTime d;
    } cases[] = {
        {"12/31/2003 12:00:00 AM", {2003, 12, 31, 0, 0, 0}},
        {"3/4/2004 14:05:00", {2004, 3, 4, 14, 5, 0}},
        {"3/4/2004 2:05 PM", {2004, 3, 4, 14, 5, 0}},
        {"3/4/2004 2:05pm", {2004, 3, 4, 14, 5, 0}},
        {" 03/04/2004 ", {2004, 3, 4, 0, 0, 0}},
        {"2004-03-04 14:05:00", {2004, 3, 4, 14, 5, 0}},
        {"2004-03-04", {2004, 3, 4, 0, 0, 0}},
        {"2/29/2004", {2004, 2, 29, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToDate(c.text), c.d) << c.text;
    for (const char* bad : {"", "2004", "13/1/2004", "2/30/2004", "2/29/2003", "3/4/04",
                            "3/4/2004 25:00:00", "3/4/2004 13:00 PM", "3/4/2004 0:30 AM",
                            "3/4/2004 10:30 XM", "3/4/2004x", "2004-3-4", "abc"}) {
        EXPECT_FALSE(TextToDate(bad)) << bad;
        EXPECT_FALSE(IsDate(bad)) << bad;
    }
}

TEST(DateTimeTest, DayNumbersAndStoredForm) {
    EXPECT_EQ((DateTime{1970, 1, 1}.dayNumber()), 0);
    EXPECT_EQ((DateTime{2000, 3, 1}.dayNumber()), 11017);
    EXPECT_EQ((DateTime{1899, 12, 30}.dayNumber()), -25569);
    for (long long n : {-25569LL, -1LL, 0LL, 59LL, 11016LL, 12477LL, 2932896LL})
        EXPECT_EQ(DateTime::fromDayNumber(n).dayNumber(), n);
    EXPECT_EQ((DateTime{2004, 2, 28, 23, 0, 0}.addSeconds(3600)), (DateTime{2004, 2, 29}));
    EXPECT_EQ((DateTime{2004, 3, 1}.addDays(-1)), (DateTime{2004, 2, 29}));
    EXPECT_EQ((DateTime{1969, 12, 31, 23, 59, 59}.serialSeconds()), -1);
    EXPECT_EQ((DateTime{2004, 3, 4, 9, 5, 0}.toStored()), "2004-03-04 09:05:00");
    EXPECT_EQ(DateTime::fromStored("2004-03-04 09:05:00"), (DateTime{2004, 3, 4, 9, 5, 0}));
    EXPECT_EQ(DateTime::fromStored("2004-03-04T09:05"), (DateTime{2004, 3, 4, 9, 5, 0}));
    EXPECT_FALSE(DateTime::fromStored("2004-02-30 00:00:00"));
    EXPECT_FALSE(DateTime::fromStored("3/4/2004"));
}

// Plain digits up to fifteen significant; the whole-number shortcut ends at 1e15, rounding
// carries into a new digit, exponents reach three digits.
TEST(NumberToText, FifteenSignificantDigitsAndTheirEdges) {
    struct Case {
        double v;
        const char* text;
    } cases[] = {
        {2.5, "2.5"},
        {1000.0, "1000"},
        {-3.25, "-3.25"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {1e15, "1E+15"},
        {1e20, "1E+20"},
        {-1.5e-7, "-1.5E-07"},
        {-0.0, "0"},
        {999999999999999.0, "999999999999999"},
        {-999999999999999.0, "-999999999999999"},
        {1000000000000005.0, "1E+15"},  // a tie rounds to even
        {1234567890123456.0, "1.23456789012346E+15"},
        {123456789012345.67, "123456789012346"},
        {9.9999999999999999, "10"},
        {99999.99999999999, "100000"},
        {0.000123456789012345678, "0.000123456789012346"},
        {1e100, "1E+100"},
        {-2.5e-300, "-2.5E-300"},
        {5e-324, "4.94065645841247E-324"},
        {1.7976931348623157e308, "1.79769313486232E+308"},
        {4.35, "4.35"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberToText(c.v), c.text) << c.v;
    EXPECT_EQ(NumberToText(-9223372036854775807LL - 1), "-9223372036854775808");
    EXPECT_EQ(NumberToText(9007199254740993LL), "9007199254740993");
}

TEST(IsNumeric, ClassicNumericText) {
    for (const char* yes : {"0", " 12 ", "-.5", "+3.", "1e3", "1E-3", "2.5", "  -7", "007"})
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    // Thousands separators are rejected: "1,000" must never stand unquoted in SQL.
    for (const char* no : {"", " ", "1,000", "12abc", "1e", "e3", "<5", ".", "-", "+-1", "1 2",
                           "1e400", "\t5", "0x10", "1.2.3"})
        EXPECT_FALSE(IsNumeric(no)) << no;
    EXPECT_DOUBLE_EQ(*ParseNumber(" -.5 "), -0.5);
    EXPECT_DOUBLE_EQ(*ParseNumber("+3."), 3.0);
    EXPECT_DOUBLE_EQ(*ParseNumber("1e3"), 1000.0);
}

TEST(IsWholeNumber, DigitsWithOptionalSignAndBlanks) {
    for (const char* yes : {"0", " 12 ", "-5", "+32767"}) EXPECT_TRUE(IsWholeNumber(yes)) << yes;
    for (const char* no : {"", " ", "-", "1.0", "1e3", "12a", "1 2"})
        EXPECT_FALSE(IsWholeNumber(no)) << no;
}

TEST(TextHelpers, TrimLookupAndCodes) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");  // spaces only, as the classic Trim
    EXPECT_EQ(Trim("   "), "");

    EXPECT_EQ(LookupCode("P1-Baseline"), "P1");
    EXPECT_EQ(LookupCode("12-North-Fork"), "12");
    EXPECT_EQ(LookupCode("CHEM-"), "CHEM");
    EXPECT_EQ(LookupCode("-only"), "");
    EXPECT_EQ(LookupCode("nodash"), std::nullopt);
    EXPECT_EQ(LookupEntry("1203", "Creek"), "1203-Creek");
    EXPECT_EQ(LookupEntry("CHEM", ""), "CHEM-");

    // Codes typed as text: what no 64-bit code can be is no code.
    EXPECT_EQ(WholeNumberOf(" +007 "), 7);
    EXPECT_EQ(WholeNumberOf("-3"), -3);
    EXPECT_EQ(WholeNumberOf("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(WholeNumberOf("9223372036854775808"), std::nullopt);
    EXPECT_EQ(WholeNumberOf("1.0"), std::nullopt);
    EXPECT_EQ(WholeNumberOf(""), std::nullopt);
}

TEST(VariantTest, ClassicTextConversion) {
    EXPECT_EQ(Variant().toText(), "");
    EXPECT_EQ(Variant(42).toText(), "42");
    EXPECT_EQ(Variant(3.0).toText(), "3");
    EXPECT_EQ(Variant("x").toText(), "x");
    EXPECT_EQ(Variant(DateTime{2004, 3, 4, 10, 30, 0}).toText(), "3/4/2004 10:30:00 AM");
    EXPECT_EQ(Variant::fromBool(false).toText(), "False");
    EXPECT_EQ(Variant(DateTime{987, 1, 2, 0, 0, 0}).toText(), "1/2/0987");

    // A temporary gives up its text; a named value keeps it.
    const std::string long_text(100, 'x');
    Variant kept(long_text);
    EXPECT_EQ(kept.toText(), long_text);
    EXPECT_EQ(kept.toText(), long_text);
}

TEST(VariantTest, NumericAndDateConversions) {
    EXPECT_EQ(Variant("2.5").toInteger(), 2);  // half to even
    EXPECT_EQ(Variant(3.5).toInteger(), 4);
    EXPECT_EQ(Variant(" 17 ").toInteger(), 17);
    EXPECT_DOUBLE_EQ(Variant("1e3").toReal(), 1000.0);
    EXPECT_EQ(Variant("3/4/2004").toDate(), (DateTime{2004, 3, 4}));
    EXPECT_EQ(Variant(38050.5).toDate(), (DateTime{2004, 3, 4, 12, 0, 0}));
    EXPECT_DOUBLE_EQ(Variant(DateTime{2004, 3, 4, 12, 0, 0}).toReal(), 38050.5);
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant(0).toBool());

    struct Bad {
        Variant v;
        int number;
    } bad[] = {{Variant("abc"), err::TypeMismatch},
               {Variant(""), err::TypeMismatch},
               {Variant(), err::InvalidUseOfNull},
               {Variant(1e30), err::Overflow}};
    for (const auto& b : bad)
        EXPECT_EQ(testing_support::ErrorNumber([&] { b.v.toInteger(); }), b.number) << b.v.toText();
    EXPECT_THROW(Variant("31/31/2004").toDate(), EngineError);
}
