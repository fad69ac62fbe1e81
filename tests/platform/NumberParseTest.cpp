#include "platform/NumberParse.h"

#include <QString>

#include <gtest/gtest.h>

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

