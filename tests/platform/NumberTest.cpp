#include "platform/Currency.h"
#include "platform/NumberFormat.h"
#include "platform/NumberParse.h"
#include "platform/Rounding.h"

#include <QString>

#include <gtest/gtest.h>

#include <limits>

TEST(Currency, FromDoubleAndParseRoundHalvesToEvenTextAndArithmeticAreChecked)
{
    EXPECT_EQ(Currency::fromDouble(239.76220000)->raw(), 2397622);
    EXPECT_EQ(Currency::fromDouble(0.00025)->raw(), 2);   // 2.5 ten-thousandths -> 2
    EXPECT_EQ(Currency::fromDouble(0.00035)->raw(), 4);   // 3.5 -> 4
    EXPECT_EQ(Currency::fromDouble(-0.00025)->raw(), -2);
    EXPECT_FALSE(Currency::fromDouble(1e15));             // beyond 922,337,203,685,477
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::infinity()));

    // Parsing is exact and strict.
    EXPECT_EQ(Currency::parse(u" 250 ")->raw(), 2500000);
    EXPECT_EQ(Currency::parse(u"1.00005")->raw(), 10000);  // half to even at the fifth digit
    EXPECT_EQ(Currency::parse(u"1.00015")->raw(), 10002);
    EXPECT_EQ(Currency::parse(u"1.000051")->raw(), 10001);
    EXPECT_EQ(Currency::parse(u"-0.5")->raw(), -5000);
    EXPECT_EQ(Currency::parse(u"1e3")->raw(), 10000000);
    EXPECT_EQ(Currency::parse(u"922337203685477.5807")->raw(), std::numeric_limits<int64_t>::max());
    EXPECT_FALSE(Currency::parse(u"922337203685477.5808"));
    for (const char16_t* bad : {u"", u" ", u"12a", u"1.2.3", u".", u"1e", u"-", u"{250}"})
        EXPECT_FALSE(Currency::parse(bad)) << QString::fromUtf16(bad).toStdString();

    // Text, and arithmetic that reports overflow.
    EXPECT_EQ(Currency::fromRaw(10000000).toString(), "1000.0000");
    EXPECT_EQ(Currency::fromRaw(-5).toString(), "-0.0005");
    EXPECT_EQ(Currency::fromRaw(std::numeric_limits<int64_t>::min()).toString(),
              "-922337203685477.5808");
    const Currency max = Currency::fromRaw(std::numeric_limits<int64_t>::max());
    EXPECT_FALSE(max.plus(Currency::fromRaw(1)));
    const Currency min = Currency::fromRaw(std::numeric_limits<int64_t>::min());
    EXPECT_FALSE(min.minus(Currency::fromRaw(1)));
    EXPECT_FALSE(Currency::fromInteger(1'000'000'000)->times(1'000'000));
    EXPECT_EQ(Currency::fromInteger(3)->minus(*Currency::fromInteger(5))->raw(), -20000);
}

TEST(Rounding, HalfToEvenWithOverflowReportedAndShortestDecimals)
{
    EXPECT_EQ(RoundToInt32(1.5), 2);
    EXPECT_EQ(RoundToInt32(2.5), 2);
    EXPECT_EQ(RoundToInt32(-2.5), -2);
    EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(RoundToInt32(2147483647.5));
    EXPECT_EQ(RoundToInt32(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_FALSE(RoundToInt32(std::numeric_limits<double>::quiet_NaN()));

    // The shortest decimal that reads back as the number.
    EXPECT_EQ(ShortestDecimal(25.0), "25");
    EXPECT_EQ(ShortestDecimal(23.976), "23.976");
    EXPECT_EQ(ShortestDecimal(-0.5), "-0.5");
}

TEST(NumberParse, LenientReadsTheLeadingNumberStrictTheWholeText)
{
    EXPECT_EQ(ParseLenient(u"  100}{250}"), 100.0);
    EXPECT_EQ(ParseLenient(u" 1 0 0"), 100.0);
    EXPECT_EQ(ParseLenient(u" 1 0 0", InnerBlanks::Stop), 1.0);
    EXPECT_EQ(ParseLenient(u"-12.5abc"), -12.5);
    EXPECT_EQ(ParseLenient(u"1e3x"), 1000.0);
    EXPECT_EQ(ParseLenient(u"1d2"), 100.0);
    EXPECT_EQ(ParseLenient(u"7e"), 7.0);          // an exponent needs a digit
    EXPECT_EQ(ParseLenient(u".5"), 0.5);
    EXPECT_EQ(ParseLenient(u"1.2.3"), 1.2);
    EXPECT_EQ(ParseLenient(u"abc"), 0.0);
    EXPECT_EQ(ParseLenient(u""), 0.0);
    EXPECT_EQ(ParseLenient(u"-"), 0.0);
    EXPECT_EQ(ParseLenient(u"1e-400"), 0.0);      // underflow is zero
    EXPECT_FALSE(ParseLenient(u"1e400"));         // overflow is reported

    // Strict: the whole text must be a number.
    EXPECT_EQ(ParseStrict(u" 01.50 "), 1.5);
    EXPECT_EQ(ParseStrict(u"+7"), 7.0);
    EXPECT_EQ(ParseStrict(u"5."), 5.0);
    EXPECT_EQ(ParseStrict(u"-2E2"), -200.0);
    for (const char16_t* bad : {u"", u"  ", u"1 0", u"12a", u"a12", u"1e", u"+", u"..", u"1,5"})
        EXPECT_FALSE(ParseStrict(bad)) << QString::fromUtf16(bad).toStdString();
}

