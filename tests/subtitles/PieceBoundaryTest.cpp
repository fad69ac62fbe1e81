// Files are read in pieces: whatever a piece boundary cuts (a CR LF, a UTF-8 sequence, a long
// line) must come out as if the bytes had arrived whole.
#include "subtitles/LineSplitter.h"
#include "subtitles/Utf8Check.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

namespace {

QList<QByteArray> splitInPieces(const QByteArray& text, const QList<qsizetype>& cuts,
                                qsizetype maxLength)
{
    QList<QByteArray> lines;
    ByteLineSplitter splitter(maxLength);
    auto collect = [&](const char* line, qsizetype length) {
        lines.append(QByteArray(line, length));
    };
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        splitter.feed(text.constData() + from, cut - from, collect);
        from = cut;
    }
    splitter.feed(text.constData() + from, text.size() - from, collect);
    splitter.finish(collect);
    return lines;
}

} // namespace

TEST(PieceBoundaries, LinesComeOutAsFromWholeBytesLongOnesCut)
{
    const QByteArray text = "one\r\ntwo\rthree\n\r\n\nfour\r\r\nlast";
    const QList<QByteArray> whole = splitInPieces(text, {}, 100);
    EXPECT_EQ(whole, (QList<QByteArray>{"one", "two", "three", "", "", "four", "", "last"}));
    for (qsizetype a = 0; a <= text.size(); ++a) {
        for (qsizetype b = a; b <= text.size(); ++b)
            ASSERT_EQ(splitInPieces(text, {a, b}, 100), whole) << "cuts at " << a << ", " << b;
    }
    // A line end at the very end adds no line, wherever the pieces fall.
    EXPECT_EQ(splitInPieces("a\r", {1}, 100), QList<QByteArray>{"a"});
    EXPECT_EQ(splitInPieces("a\r\n", {2}, 100), QList<QByteArray>{"a"});

    // Long lines are cut and the rest skipped.
    const QByteArray longText = "0123456789abcdef\r\nshort\r\n" + QByteArray(50, 'x');
    const QList<QByteArray> cutLines{"01234567", "short", "xxxxxxxx"};
    for (qsizetype cut = 0; cut <= longText.size(); ++cut)
        ASSERT_EQ(splitInPieces(longText, {cut}, 8), cutLines) << "cut at " << cut;
}

TEST(PieceBoundaries, Utf8CheckHoldsCutSequences)
{
    struct Case { QByteArray bytes; bool valid; };
    const Case cases[] = {
        {"abcdefgh\xC3\xA9" "b\xE2\x82\xAC" "c\xF0\x9F\x8E\xB5", true},
        {"a\xC3\xA9" "b\xE2\x82" "c\xF0\x9F\x8E\xB5", false},   // euro sign cut short
        {"abcdefgh\xF0\x9F\x8E", false},                       // cut by the end
        {"a\xC0\xAF", false},                                   // overlong
        {"a\xED\xA0\x80", false},                               // surrogate
        {"a\xF4\x90\x80\x80", false},                           // beyond U+10FFFF
    };
    for (const Case& c : cases) {
        for (qsizetype a = 0; a <= c.bytes.size(); ++a) {
            for (qsizetype b = a; b <= c.bytes.size(); ++b) {
                Utf8Check check;
                check.feed(QByteArrayView(c.bytes).first(a));
                check.feed(QByteArrayView(c.bytes).sliced(a, b - a));
                check.feed(QByteArrayView(c.bytes).sliced(b));
                ASSERT_EQ(check.valid(), c.valid)
                    << c.bytes.toHex().toStdString() << " cut at " << a << ", " << b;
            }
        }
    }
}
