#include "subtitles/SubtitleReader.h"

#include "EntryList.h"
#include "TempFiles.h"

#include <gtest/gtest.h>

namespace {

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
    for (const Case& c : cases) {
        EXPECT_EQ(SubtitleReader::ParseTime(c.text).raw(), c.raw)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST_F(SubtitleReaderFile, EachKindOfLineReadsToItsEntries)
{
    const QByteArray longLine = "y" + QByteArray(1000000, 'x');
    struct Case { const char* name; QByteArray bytes; QStringList entries; };
    const Case cases[] = {
        {"a.srt", "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n<i>there</i>\r\n\r\n"
                  "2\r\n00:00:03,000 --> 00:00:04,000\r\nBye\r\n",
         {"1000 2500 i Hello\r\nthere", "3000 4000 Bye"}},
        // Without blank lines the next counter joins the previous entry, a one-digit one as "#".
        {"b.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n7\r\n"
                  "00:00:03,000 --> 00:00:04,000\r\nTwo\r\n",
         {"1000 2000 One\r\n#", "3000 4000 Two"}},
        // Whatever follows the SubRip end time is ignored.
        {"pos.srt", "1\r\n00:00:01,000 --> 00:00:02,500  X1:100 X2:600 Y1:50 Y2:100\r\nA\r\n\r\n"
                    "2\r\n00:00:03.250 --> 00:00:06.250 X1:1\r\nB\r\n\r\n"
                    "3\r\n00:00:07,000 --> 0:00:08 , 500\tsomething\r\nC\r\n",
         {"1000 2500 A", "3250 6250 B", "7000 8500 C"}},
        // Lone LF and lone CR end lines too; a final line without an end still counts.
        {"lf.srt", "00:00:01,000 --> 00:00:02,000\nA\n\nignored\r00:00:03,000 --> 00:00:04,000\rB",
         {"1000 2000 A", "3000 4000 B"}},
        {"long.srt", "00:00:01,000 --> 00:00:02,000\r\n" + longLine
                         + "\r\n\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n",
         {"1000 2000 y" + QString(1023, u'x'), "3000 4000 B"}},
        // An entry with nothing after the braces stays current for the next line; the end is
        // read between the first "}" and the next one, whatever lies there.
        {"a.sub", "{100}{250}Hello|World\r\n{ 1 0 0}{250}x\r\n{100}{}Hi\r\n{100}{250}\r\n"
                  "more text\r\n{300}{ 400 }{y:i}Slanted\r\n{500}x}{7}rest\r\n{700}}{9}odd\r\n",
         {"100 250 Hello\r\nWorld", "100 250 x", "100 0 Hi", "100 250 more text",
          "300 400 i Slanted", "500 0 {7}rest", "700 0 {9}odd"}},
        // A sentence that looks like "time,time" starts an entry of its own, timed 0 to 0, which
        // comes first in order of start.
        {"a.txt", "0:00:01.00,0:00:02.00\r\nFirst\r\nAt 10:30, not 11:45\r\n"
                  "0:00:03.00,0:00:04.00\r\nThird\r\n",
         {"0 0 ", "1000 2000 First", "3000 4000 Third"}},
        // In order of start, equal starts in file order.
        {"order.srt", "00:00:05,000 --> 00:00:06,000\r\nLate\r\n\r\n"
                      "00:00:01,000 --> 00:00:02,000\r\n<i>Early</i>\r\n\r\n"
                      "00:00:05,000 --> 00:00:09,000\r\nLate too\r\n\r\n"
                      "00:00:03,000 --> 00:00:04,000\r\n\r\n",
         {"1000 2000 i Early", "3000 4000 ", "5000 6000 Late", "5000 9000 Late too"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(reader.Load(files.write(c.name, c.bytes)));
        EXPECT_EQ(reader.Frames, QByteArray(c.name).endsWith(".sub"));
        EXPECT_EQ(EntryList(reader.Entries()), c.entries);
    }

    // Frame-based times that are not whole frames keep their fraction.
    ASSERT_TRUE(reader.LoadBytes("{2.5}{3}b\r\n{1.25}{99999999999}a\r\n", "f.sub"));
    EXPECT_EQ(reader.Entry(1)->Time1.raw(), 12500);
    EXPECT_EQ(reader.Entry(1)->Time2.raw(), 999999999990000);
    EXPECT_EQ(reader.Entry(2)->Time1.raw(), 25000);
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
