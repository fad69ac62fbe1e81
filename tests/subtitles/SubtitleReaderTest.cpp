#include "subtitles/SubtitleReader.h"

#include "TempFiles.h"

#include <gtest/gtest.h>

namespace {

QString textOf(const SubtitleReader& reader, int n) { return reader.Entry(n)->Text; }
int64_t ms(Currency c) { return c.raw() / Currency::Scale; }

struct SubtitleReaderFile : ::testing::Test
{
    TempFiles files;
    SubtitleReader reader;
};

} // namespace

TEST(ParseTime, FieldsAndTheirArithmetic)
{
    struct Case { const char16_t* text; int64_t raw; };
    const Case cases[] = {
        {u"00:01:02,500", 625000000}, {u" 01:02:03,7 ", 37230070000},
        // Seconds with a decimal point count to the millisecond; a comma keeps counting the
        // last field as written.
        {u"00:00:01.50", 15000000},   {u"0:00:03.50", 35000000},    {u"00:00:06.250", 62500000},
        {u"00:00:01.500", 15000000},  {u"00:00:02.499", 24990000},  {u"0:0:1.5", 15000000},
        {u"00:00:01.0005", 10000000}, {u"00:00:01.0015", 10020000}, // tenths of ms: half to even
        {u" 0 : 0 : 1.25 ", 12500000}, {u"0:00:01.5,3", 15030000},  {u"0:0:1e0", 10000000},
        {u"99:59:59,999", 3599999990000}, {u"1:2:3,4", 37230040000},
        {u"1:02", 0},                 {u"", 0},
        {u"00:00:02,abc", 20000000},  // unreadable milliseconds add nothing
        {u"00:00:02,000 X1:100", 20000000}, {u"0:00:2147484.000", 0},
        {u"00:xx:02,000", 0},         {u"00::02", 0},
        {u"596:00:00,000", 21456000000000}, {u"600:00:00,000", 0},  // 32-bit millisecond sum
        {u"-0:00:01,000", 10000000},  {u"0:-1:00,0", -600000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SubtitleReader::ParseTime(c.text).raw(), c.raw) << QString::fromUtf16(c.text).toStdString();
}

TEST_F(SubtitleReaderFile, SubRipFile)
{
    ASSERT_TRUE(reader.Load(files.write("a.srt",
        "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n<i>there</i>\r\n\r\n"
        "2\r\n00:00:03,000 --> 00:00:04,000\r\nBye\r\n")));
    EXPECT_FALSE(reader.Frames);
    EXPECT_EQ(reader.Filename(), files.path("a.srt"));
    ASSERT_EQ(reader.Count(), 2);
    EXPECT_EQ(ms(reader.Entry(1)->Time1), 1000);
    EXPECT_EQ(ms(reader.Entry(1)->Time2), 2500);
    EXPECT_EQ(textOf(reader, 1), "Hello\r\nthere");
    EXPECT_TRUE(reader.Entry(1)->Italic);
    EXPECT_EQ(textOf(reader, 2), "Bye");

    // Without blank lines the next counter joins the previous entry, a one-digit one as "#".
    ASSERT_TRUE(reader.Load(files.write("b.srt",
        "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n7\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\n")));
    EXPECT_EQ(textOf(reader, 1), "One\r\n#");
}

TEST_F(SubtitleReaderFile, WhatFollowsTheSubRipEndTimeIsIgnored)
{
    ASSERT_TRUE(reader.Load(files.write("pos.srt",
        "1\r\n00:00:01,000 --> 00:00:02,500  X1:100 X2:600 Y1:50 Y2:100\r\nA\r\n\r\n"
        "2\r\n00:00:03.250 --> 00:00:06.250 X1:1\r\nB\r\n\r\n"
        "3\r\n00:00:07,000 --> 0:00:08 , 500\tsomething\r\nC\r\n")));
    ASSERT_EQ(reader.Count(), 3);
    EXPECT_EQ(ms(reader.Entry(1)->Time2), 2500);
    EXPECT_EQ(ms(reader.Entry(2)->Time1), 3250);
    EXPECT_EQ(ms(reader.Entry(2)->Time2), 6250);
    EXPECT_EQ(ms(reader.Entry(3)->Time2), 8500);
}

TEST_F(SubtitleReaderFile, LineEndsAndLongLines)
{
    // Lone LF and lone CR end lines too; a final line without an end still counts.
    ASSERT_TRUE(reader.Load(files.write("lf.srt",
        "00:00:01,000 --> 00:00:02,000\nA\n\nignored\r00:00:03,000 --> 00:00:04,000\rB")));
    ASSERT_EQ(reader.Count(), 2);
    EXPECT_EQ(textOf(reader, 1), "A");
    EXPECT_EQ(textOf(reader, 2), "B");

    QByteArray longLine(1000000, 'x');
    longLine.prepend("y");
    ASSERT_TRUE(reader.Load(files.write("long.srt",
        "00:00:01,000 --> 00:00:02,000\r\n" + longLine + "\r\n\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n")));
    EXPECT_EQ(textOf(reader, 1).size(), 1024);
}

TEST_F(SubtitleReaderFile, MicroDvdLines)
{
    ASSERT_TRUE(reader.Load(files.write("a.sub",
        "{100}{250}Hello|World\r\n{ 1 0 0}{250}x\r\n{100}{}Hi\r\n{100}{250}\r\nmore text\r\n"
        "{300}{ 400 }{y:i}Slanted\r\n{500}x}{7}rest\r\n{700}}{9}odd\r\n")));
    EXPECT_TRUE(reader.Frames);
    auto e = [&](int i) { return reader.Entry(i + 1); };
    ASSERT_EQ(reader.Count(), 7);
    EXPECT_EQ(ms(e(0)->Time1), 100);
    EXPECT_EQ(ms(e(0)->Time2), 250);
    EXPECT_EQ(e(0)->Text, "Hello\r\nWorld");
    EXPECT_EQ(ms(e(1)->Time1), 100);
    EXPECT_EQ(ms(e(2)->Time2), 0);
    // Nothing after the braces: the entry stays empty, and it stays current for the next line.
    EXPECT_EQ(e(3)->Text, "more text");
    EXPECT_EQ(ms(e(4)->Time2), 400);
    EXPECT_TRUE(e(4)->Italic);
    // The end is read between the first "}" and the next one, whatever lies there.
    EXPECT_EQ(ms(e(5)->Time1), 500);
    EXPECT_EQ(ms(e(5)->Time2), 0);
    EXPECT_EQ(e(5)->Text, "{7}rest");
    EXPECT_EQ(ms(e(6)->Time2), 0);
    EXPECT_EQ(e(6)->Text, "{9}odd");
}

TEST_F(SubtitleReaderFile, CommaTimingAndWhatItCatches)
{
    ASSERT_TRUE(reader.Load(files.write("a.txt",
        "0:00:01.00,0:00:02.00\r\nFirst\r\nAt 10:30, not 11:45\r\n0:00:03.00,0:00:04.00\r\nThird\r\n")));
    ASSERT_EQ(reader.Count(), 3);
    // A sentence that looks like "time,time" starts an entry of its own, timed 0 to 0, which
    // comes first in order of start.
    EXPECT_EQ(reader.Entry(1)->Time1.raw(), 0);
    EXPECT_EQ(reader.Entry(1)->Time2.raw(), 0);
    EXPECT_EQ(reader.Entry(1)->Text, "");
    EXPECT_EQ(ms(reader.Entry(2)->Time1), 1000);
    EXPECT_EQ(ms(reader.Entry(2)->Time2), 2000);
    EXPECT_EQ(reader.Entry(2)->Text, "First");
    EXPECT_EQ(reader.Entry(3)->Text, "Third");
}

TEST_F(SubtitleReaderFile, FailuresLeaveAnEmptyReader)
{
    reader.FPS = 23.976;
    ASSERT_TRUE(reader.Load(files.write("two.srt",
        "00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n")));
    reader.delay = 500;
    EXPECT_FALSE(reader.Load(files.write("one.srt", "00:00:01,000 --> 00:00:02,000\r\nA\r\n")));
    EXPECT_TRUE(reader.Count() == 0);
    EXPECT_EQ(reader.Filename(), "");
    EXPECT_EQ(reader.delay, 0);
    EXPECT_EQ(reader.FPS, 23.976);   // the override belongs to the viewer, not the file

    // A frame line that failed to make a file keeps the frame flag it set.
    EXPECT_FALSE(reader.Load(files.write("one.sub", "{1}{2}x\r\n")));
    EXPECT_TRUE(reader.Frames);
    reader.Destroy();
    EXPECT_FALSE(reader.Frames);

    for (const QByteArray& bytes : {QByteArray(), QByteArray("\0\0\xff\xfe garbage \x01\x02", 16),
                                    QByteArray(5000, '\n'), QByteArray("--> -->")})
        EXPECT_FALSE(reader.Load(files.write("bad", bytes)));
    EXPECT_FALSE(reader.Load(files.path("missing.srt")));
    EXPECT_FALSE(reader.Load(files.path("")));   // the folder itself
}

TEST_F(SubtitleReaderFile, EntriesAreOrderedByStartEqualStartsInFileOrder)
{
    ASSERT_TRUE(reader.Load(files.write("order.srt",
        "00:00:05,000 --> 00:00:06,000\r\nLate\r\n\r\n"
        "00:00:01,000 --> 00:00:02,000\r\n<i>Early</i>\r\n\r\n"
        "00:00:05,000 --> 00:00:09,000\r\nLate too\r\n\r\n"
        "00:00:03,000 --> 00:00:04,000\r\n\r\n")));
    ASSERT_EQ(reader.Count(), 4);
    EXPECT_EQ(textOf(reader, 1), "Early");
    EXPECT_TRUE(reader.Entry(1)->Italic);
    EXPECT_EQ(textOf(reader, 2), "");
    EXPECT_FALSE(reader.Entry(2)->Italic);
    EXPECT_EQ(textOf(reader, 3), "Late");
    EXPECT_EQ(textOf(reader, 4), "Late too");
    // Placed after a later-starting entry, "Early" is still found, from any position.
    EXPECT_EQ(reader.GetSubtitle(*Currency::fromInteger(5500), 0)->Text, "Late");
    EXPECT_EQ(reader.GetSubtitle(*Currency::fromInteger(1500), 0)->Text, "Early");
    EXPECT_EQ(reader.GetSubtitle(*Currency::fromInteger(6500), 0)->Text, "Late too");

    // Frame-based times that are not whole frames keep their fraction.
    ASSERT_TRUE(reader.LoadBytes("{2.5}{3}b\r\n{1.25}{99999999999}a\r\n", "f.sub"));
    EXPECT_EQ(reader.Entry(1)->Time1.raw(), 12500);
    EXPECT_EQ(ms(reader.Entry(1)->Time2), 99999999999);
    EXPECT_EQ(reader.Entry(2)->Time1.raw(), 25000);
}
