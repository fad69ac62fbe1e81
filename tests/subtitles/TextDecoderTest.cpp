#include "subtitles/SubtitleReader.h"
#include "subtitles/IconvDecoder.h"

#include "EntryList.h"
#include "TempFiles.h"

#include <QStringEncoder>
#include <QStringList>

#include <gtest/gtest.h>

const QByteArray Timing1 = "1\r\n00:00:01,000 --> 00:00:02,000\r\n";
const QByteArray Timing2 = "\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\n";

TEST(TextDecoder, EachEncodingShowsItsLetters)
{
    const QString japanese = QStringLiteral("00:00:01,000 --> 00:00:02,000\r\n日本語\r\n\r\n"
                                            "00:00:03,000 --> 00:00:04,000\r\nB\r\n");
    const QStringList inJapanese{"1000 2000 日本語", "3000 4000 B"};
    struct Case { QByteArray bytes; const char* encoding; QStringList entries; };
    const Case cases[] = {
        // š, ž and ť are 0x9A, 0x9E and 0x9D in Windows-1250, which ISO-8859-2 does not have.
        {Timing1 + "P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd k\xf9\xf2" + Timing2
             + "\xcf\xe1\x62\x65lsk\xe9 \xf3\x64y",
         "WINDOWS-1250", {"1000 2000 Příliš žluťoučký kůň", "3000 4000 Ďábelské ódy"}},
        {Timing1 + "\xcf\xf0\xe8\xe2\xe5\xf2, \xea\xe0\xea \xe4\xe5\xeb\xe0?" + Timing2
             + "\xc2\xf1\xb8 \xf5\xee\xf0\xee\xf8\xee, \xf1\xef\xe0\xf1\xe8\xe1\xee.",
         "WINDOWS-1251", {"1000 2000 Привет, как дела?", "3000 4000 Всё хорошо, спасибо."}},
        // A byte-order mark must not end up in front of the first timing line.
        {"\xEF\xBB\xBF" + japanese.toUtf8(), "UTF-8 (BOM)", inJapanese},
        {"\xFF\xFE" + QStringEncoder(QStringEncoder::Utf16LE).encode(japanese), "UTF-16LE",
         inJapanese},
        {japanese.toUtf8(), "UTF-8", inJapanese},
    };
    TempFiles files;
    SubtitleReader reader;
    for (const Case& c : cases) {
        ASSERT_TRUE(reader.Load(files.write("encoded.srt", c.bytes))) << c.encoding;
        EXPECT_EQ(reader.Encoding(), c.encoding);
        EXPECT_EQ(EntryList(reader.Entries()), c.entries);
    }
    // Mostly UTF-8 with one stray Latin-1 byte: the file is not UTF-8, and every byte still
    // becomes a character, so the timing lines survive.
    ASSERT_TRUE(reader.LoadBytes(Timing1 + "caf\xc3\xa9 and na\xefve" + Timing2 + "end", "m.srt"));
    EXPECT_NE(reader.Encoding(), "UTF-8");
    ASSERT_EQ(reader.Count(), 2);
    EXPECT_EQ(reader.Entry(2)->Text, "end");
}

TEST(TextDecoder, UndefinedBytesBecomeReplacementCharacters)
{
    // Bytes a code page does not define become U+FFFD, one each.
    EXPECT_EQ(DecodeWithIconv(QByteArray("a\x81" "b\x80", 4), "WINDOWS-1252"),
              QStringLiteral("a\uFFFDb€"));
    // Multi-byte code pages go through iconv as a stream; a cut character ends as U+FFFD.
    EXPECT_EQ(DecodeWithIconv(QByteArray("\x93\xfa\x96\x7b\x8c", 5), "SHIFT_JIS"),
              QStringLiteral("日本\uFFFD"));
    EXPECT_FALSE(DecodeWithIconv("abc", "NO-SUCH-CODE-PAGE"));
}

TEST(TextDecoder, FilesReadInPiecesMatchWholeBytes)
{
    // Over a megabyte, with multi-byte characters and line ends at every offset, in UTF-8 and in
    // a single-byte code page: reading the file in pieces gives what the whole bytes give.
    QByteArray utf8, cp1250;
    for (int i = 0; cp1250.size() < 1600000; ++i) {
        const QByteArray stamp = QString::asprintf("%02d:%02d:%02d,%03d --> %02d:%02d:%02d,%03d",
            i / 3600, i / 60 % 60, i % 60, i % 1000, i / 3600, i / 60 % 60, i % 60, i % 1000 + 1)
                                     .toLatin1();
        const QByteArray pad(i % 7, '.');
        utf8 += stamp + "\r\nKůň " + pad + " é\r\n\r\n";
        cp1250 += stamp + "\r\nK\xf9\xf2 " + pad + " \x9a\r\n\r\n";
    }
    // UTF-8 for more than the first megabyte, then one byte of a code page: read as UTF-8 until
    // that byte, then again from the start, without an entry twice.
    const QByteArray lateByte = utf8 + "99:00:00,000 --> 99:00:01,000\r\nna\xefve\r\n";
    // GB18030 is decoded a line at a time from a file, whole from bytes.
    QByteArray gb;
    for (int i = 0; i < 200; ++i)
        gb += QString::asprintf("0:00:%02d,000 --> 0:00:%02d,500\r\n", i % 60, i % 60).toLatin1()
            + "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\xA1\xA3\xCE\xD2\xC3\xC7\xBD\xF1\xCC\xEC"
              "\xC8\xA5\xB9\xAB\xD4\xB0\xC9\xA2\xB2\xBD\xB0\xC9\r\n\r\n";
    TempFiles files;
    SubtitleReader fromFile, fromBytes;
    for (const QByteArray& bytes : {utf8, cp1250, lateByte, gb}) {
        ASSERT_TRUE(fromFile.Load(files.write("big.srt", bytes)));
        ASSERT_TRUE(fromBytes.LoadBytes(bytes, "big.srt"));
        EXPECT_EQ(fromFile.Encoding(), fromBytes.Encoding());
        EXPECT_EQ(EntryList(fromFile.Entries()), EntryList(fromBytes.Entries()));
    }
    EXPECT_EQ(fromBytes.Encoding(), QStringLiteral("GB18030"));
    ASSERT_EQ(fromBytes.Count(), 200);
    EXPECT_EQ(fromBytes.Entry(1)->Text, QStringLiteral("你好，世界。我们今天去公园散步吧"));
}
